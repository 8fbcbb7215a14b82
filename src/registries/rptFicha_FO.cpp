#include "registries/rptFicha_FO.h"

#include "app/DM.h"
#include "report/ReportPreview.h"

#include <QFont>

using namespace Report;

namespace {

// Labels in bold Tahoma and values in Arial, both 14 points; positions in mm
// from the band's corner. Where Tahoma is missing, Liberation Sans (Arial's
// metrics) takes its place, so the captions keep fitting their boxes.
constexpr double kRow = 6.5;

QFont face(const QString &family)
{
    QFont f;
    f.setFamilies({family, QStringLiteral("Liberation Sans")});
    return f;
}

Element caption(double left, double top, double width, const QString &text)
{
    QFont f = face(QStringLiteral("Tahoma"));
    f.setPointSizeF(14);
    f.setBold(true);
    return label({left, top, width, kRow}, text).withFont(f);
}

QFont valueFont()
{
    QFont f = face(QStringLiteral("Arial"));
    f.setPointSizeF(14);
    return f;
}

Element value(double left, double top, double width, const QString &column)
{
    return field({left, top, width, kRow}, column).withFont(valueFont());
}

} // namespace

ReportDefinition rptFicha_FO::definition(const QString &title)
{
    ReportDefinition d;
    d.title = title;
    d.flavour = Flavour::Modal;
    d.paper = Paper::A4;
    d.orientation = Orientation::Portrait;
    d.margins = QMarginsF(10, 10, 10, 10);

    d.detail.height = 275.5;
    QFont titleFont = face(QStringLiteral("Tahoma"));
    titleFont.setPointSizeF(28);
    titleFont.setBold(true);
    titleFont.setItalic(true);
    titleFont.setUnderline(true);
    // The box was drawn for "Ficha de Fornecedores" (110.7 mm from 39.7);
    // the title printed is longer, so it is centred on the same middle across
    // the whole band instead of being cut.
    d.detail << label({0, 8.7, 190, 12}, title).withFont(titleFont).center();

    d.detail << caption(4.2, 40.8, 34, QStringLiteral("Fornecedor: "))
             << value(38.6, 40.8, 21, QStringLiteral("CodigoFornecedor"))
             << value(59.7, 40.8, 130, QStringLiteral("Nome"));
    d.detail << caption(4.2, 52.2, 29.5, QStringLiteral("Endereço: "))
             << value(34.0, 52.2, 155, QStringLiteral("Endereco"));
    d.detail << caption(4.2, 63.5, 22, QStringLiteral("Bairro: "))
             << value(26.5, 63.5, 160, QStringLiteral("Bairro"));
    d.detail << caption(4.2, 73.3, 22, QStringLiteral("Cidade: "))
             << value(26.5, 73.3, 82, QStringLiteral("Cidade"))
             << caption(109.6, 73.3, 21.5, QStringLiteral("Estado: "))
             << value(131.5, 73.3, 14, QStringLiteral("Estado"))
             << caption(145.9, 73.3, 15, QStringLiteral("CEP: "))
             << value(161.0, 73.3, 29, QStringLiteral("Cep"));
    // A telephone such as "(41) 1111-1111" is wider than the 29 mm the second
    // one used to leave it: the second starts where the first can end.
    d.detail << caption(4.2, 84.3, 28, QStringLiteral("Telefones:"))
             << value(32.5, 84.3, 42, QStringLiteral("Telefone1"))
             << value(75.0, 84.3, 60, QStringLiteral("Telefone2"));
    d.detail << caption(4.2, 94.9, 15.5, QStringLiteral("Tipo:"))
             << value(20.0, 94.9, 14, QStringLiteral("Tipo"))
             << caption(34.0, 94.9, 26.5, QStringLiteral("CGC/CPF:"))
             << value(60.9, 94.9, 90, QStringLiteral("Cgccpf"));
    d.detail << caption(4.2, 108.1, 20, QStringLiteral("OBS:"))
             << memo({45.0, 108.1, 145, kRow}, QStringLiteral("Obs")).withFont(valueFont());
    return d;
}

void rptFicha_FO::previewByName(QWidget *parent)
{
    RecordSet *suppliers = DM::instance()->tbFornecedor;
    // The table is closed again however the preview ends.
    struct Closer
    {
        RecordSet *rs;
        ~Closer() { rs->close(); }
    } closer{suppliers};
    suppliers->open();
    Report::preview(definition(ByNameTitle), *suppliers, parent);
}
