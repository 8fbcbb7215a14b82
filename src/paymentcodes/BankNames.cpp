#include "BankNames.h"

#include <QHash>

namespace BankNames {

QString name(const QString &code)
{
    static const QHash<QString, QString> names = {
        {"001", "Banco do Brasil"},
        {"003", "Banco da Amazônia"},
        {"004", "Banco do Nordeste"},
        {"021", "Banestes"},
        {"033", "Santander"},
        {"037", "Banpará"},
        {"041", "Banrisul"},
        {"047", "Banese"},
        {"070", "BRB"},
        {"077", "Banco Inter"},
        {"085", "Ailos"},
        {"104", "Caixa Econômica Federal"},
        {"133", "Cresol"},
        {"136", "Unicred"},
        {"197", "Stone"},
        {"208", "BTG Pactual"},
        {"212", "Banco Original"},
        {"237", "Bradesco"},
        {"260", "Nu Pagamentos"},
        {"290", "PagSeguro"},
        {"318", "Banco BMG"},
        {"323", "Mercado Pago"},
        {"336", "C6 Bank"},
        {"341", "Itaú Unibanco"},
        {"364", "Efí (Gerencianet)"},
        {"380", "PicPay"},
        {"389", "Mercantil do Brasil"},
        {"403", "Cora"},
        {"422", "Safra"},
        {"623", "Banco Pan"},
        {"633", "Rendimento"},
        {"655", "Banco BV"},
        {"707", "Daycoval"},
        {"745", "Citibank"},
        {"748", "Sicredi"},
        {"756", "Sicoob"},
    };
    return names.value(code);
}

} // namespace BankNames
