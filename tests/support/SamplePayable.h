#pragma once
// The payable the settlement tests start from: the second of three open
// instalments of note 4711, with a value in every column the settlements
// read or copy.

#include <QDate>
#include <QList>
#include <QPair>
#include <QString>
#include <QVariant>

inline QList<QPair<QString, QVariant>> samplePayableColumns()
{
    return {{"Nota", "4711"},
            {"notacontrole", "4711/2"},
            {"condicao", "2º PARCELA"},
            {"Nome", "FORNECEDOR X"},
            {"nomefornecedor", "FORNECEDOR X"},
            {"CodigoFornecedor", 12.0},
            {"Valor", 100.0},
            {"total", 300.0},
            {"parcelas", 3.0},
            {"Dataemissao", QDate(2024, 1, 10)},
            {"Datavenc", QDate(2024, 3, 10)},
            {"pago", "N"},
            {"Codigofilial", 5.0},
            {"filial", "FILIAL ANTIGA"},
            {"nomefilial", "LOJA NORTE"},
            {"codigogerencial", 4.0},
            {"gerencial", "ALUGUEL"},
            {"gerenial", "ALUGUEL LOJA"},
            {"codigotipo", 2.0},
            {"tipo", "BOLETO"},
            {"codigodespesa", 8.0},
            {"despesa", "ENERGIA"},
            {"codigonota", 321.0},
            {"controles", "C-9"},
            {"chavenota", "CHAVE-1"},
            {"codigoparcela", 2.0},
            {"descparcela", "SEGUNDA"},
            {"aplicacao", "REVENDA"},
            {"usuario", "QUEM LANCOU"},
            {"Obs", "nota de luz"}};
}
