#include "report/ReportPreview.h"

#include "report/ReportExport.h"
#include "report/ReportRender.h"
#include "report/ReportRunner.h"
#include "shell/RawPrinter.h"
#include "widgets/FilePicker.h"
#include "widgets/Messages.h"
#include "widgets/Modal.h"
#include "widgets/WindowFit.h"

#include <QFile>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QPixmap>
#include <QPrintDialog>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QStandardPaths>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

namespace Report {

namespace {
constexpr double kScreenDpi = 96;
constexpr double kMinZoom = 0.1;
constexpr double kMaxZoom = 8;
} // namespace

ReportPreview::ReportPreview(PreparedReport report, QWidget *parent)
    : QDialog(parent), m_report(std::move(report))
{
    setWindowTitle(m_report.title.isEmpty() ? QStringLiteral("Visualização do Relatório")
                                            : m_report.title);
    setWindowFlags(windowFlags() | Qt::WindowMinMaxButtonsHint);
    resize(1100, 760);

    auto *layout = new QVBoxLayout(this);
    auto *bar = new QHBoxLayout;
    auto add = [&](const char *name, const QString &caption, auto slot) {
        auto *b = new QPushButton(caption, this);
        b->setObjectName(QLatin1String(name));
        b->setAutoDefault(false);
        connect(b, &QPushButton::clicked, this, slot);
        bar->addWidget(b);
        return b;
    };
    add("btnPrimeira", QStringLiteral("Primeira"), &ReportPreview::firstPage);
    add("btnAnterior", QStringLiteral("Anterior"), &ReportPreview::priorPage);
    m_pageLabel = new QLabel(this);
    m_pageLabel->setObjectName(QStringLiteral("lblPagina"));
    m_pageLabel->setAlignment(Qt::AlignCenter);
    m_pageLabel->setMinimumWidth(
        m_pageLabel->fontMetrics().horizontalAdvance(QStringLiteral("Página 0000 de 0000")) + 8);
    bar->addWidget(m_pageLabel);
    add("btnProxima", QStringLiteral("Próxima"), &ReportPreview::nextPage);
    add("btnUltima", QStringLiteral("Última"), &ReportPreview::lastPage);
    bar->addSpacing(12);
    add("btnZoomMais", QStringLiteral("Aumentar"), &ReportPreview::zoomIn);
    add("btnZoomMenos", QStringLiteral("Diminuir"), &ReportPreview::zoomOut);
    add("btnLarguraPagina", QStringLiteral("Largura da Página"), &ReportPreview::zoomPageWidth);
    add("btnPaginaInteira", QStringLiteral("Página Inteira"), &ReportPreview::zoomWholePage);
    bar->addSpacing(12);
    add("btnImprimir", QStringLiteral("Imprimir"), &ReportPreview::print);
    add("btnSalvar", QStringLiteral("Salvar"), &ReportPreview::save);
    add("btnRascunho", QStringLiteral("Rascunho"), &ReportPreview::printDraft);
    add("btnFechar", QStringLiteral("Fechar"), &QDialog::close);
    bar->addStretch();
    layout->addLayout(bar);

    m_scroll = new QScrollArea(this);
    m_scroll->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    m_scroll->setBackgroundRole(QPalette::Dark);
    m_pageView = new QLabel;
    m_pageView->setObjectName(QStringLiteral("pagina"));
    m_scroll->setWidget(m_pageView);
    layout->addWidget(m_scroll, 1);

    refresh();
}

ReportPreview::~ReportPreview() = default;

QPushButton *ReportPreview::button(const QString &objectName) const
{
    return findChild<QPushButton *>(objectName);
}

QString ReportPreview::pageCaption() const
{
    return QStringLiteral("Página %1 de %2").arg(m_page + 1).arg(pageCount());
}

void ReportPreview::goToPage(int page)
{
    page = std::clamp(page, 0, std::max(0, pageCount() - 1));
    if (page == m_page && !m_image.isNull())
        return;
    m_page = page;
    refresh();
    m_scroll->verticalScrollBar()->setValue(0);
}

void ReportPreview::firstPage()
{
    goToPage(0);
}

void ReportPreview::priorPage()
{
    goToPage(m_page - 1);
}

void ReportPreview::nextPage()
{
    goToPage(m_page + 1);
}

void ReportPreview::lastPage()
{
    goToPage(pageCount() - 1);
}

void ReportPreview::setZoom(double zoom)
{
    m_fit = Fit::None;
    m_zoom = std::clamp(zoom, kMinZoom, kMaxZoom);
    refresh();
}

void ReportPreview::zoomIn()
{
    setZoom(m_zoom * 1.25);
}

void ReportPreview::zoomOut()
{
    setZoom(m_zoom / 1.25);
}

void ReportPreview::zoomPageWidth()
{
    m_fit = Fit::PageWidth;
    applyFit();
}

void ReportPreview::zoomWholePage()
{
    m_fit = Fit::WholePage;
    applyFit();
}

void ReportPreview::applyFit()
{
    if (m_fit == Fit::None)
        return;
    const QSize view = m_scroll->viewport()->size();
    const double pageW = m_report.pageSize.width() / 25.4 * kScreenDpi;
    const double pageH = m_report.pageSize.height() / 25.4 * kScreenDpi;
    const int scrollBar = m_scroll->verticalScrollBar()->sizeHint().width();
    double z = (view.width() - scrollBar - 8) / pageW;
    if (m_fit == Fit::WholePage)
        z = std::min((view.width() - 8) / pageW, (view.height() - 8) / pageH);
    m_zoom = std::clamp(z, kMinZoom, kMaxZoom);
    refresh();
}

void ReportPreview::refresh()
{
    m_pageLabel->setText(pageCaption());
    m_image = renderPage(m_report, m_page, kScreenDpi * m_zoom);
    m_pageView->setPixmap(QPixmap::fromImage(m_image));
    m_pageView->resize(m_image.size());
    button(QStringLiteral("btnPrimeira"))->setEnabled(m_page > 0);
    button(QStringLiteral("btnAnterior"))->setEnabled(m_page > 0);
    button(QStringLiteral("btnProxima"))->setEnabled(m_page + 1 < pageCount());
    button(QStringLiteral("btnUltima"))->setEnabled(m_page + 1 < pageCount());
}

void ReportPreview::resizeEvent(QResizeEvent *event)
{
    QDialog::resizeEvent(event);
    applyFit();
}

void ReportPreview::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    applyFit();
}

void ReportPreview::print()
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(m_report.title);
    printer.setFullPage(true);
    printer.setPageLayout(pageLayout(m_report));
    QPrintDialog dialog(&printer, this);
    dialog.setWindowTitle(QStringLiteral("Imprimir"));
    dialog.setMinMax(1, std::max(1, pageCount()));
    if (Modal::exec(&dialog) != QDialog::Accepted)
        return;
    if (!Report::print(m_report, printer))
        Messages::error(QStringLiteral("Atenção"),
                        QStringLiteral("Não foi possível imprimir o relatório."));
}

void ReportPreview::printDraft()
{
    RawPrinter::print([this](QIODevice &device) { return Report::printDraft(m_report, device); });
}

void ReportPreview::save()
{
    QString suggested = m_report.title.isEmpty() ? QStringLiteral("relatorio") : m_report.title;
    suggested.replace(QLatin1Char('/'), QLatin1Char('-'));
    const QString chosen = FilePicker::saveFile(this, QStringLiteral("Salvar Relatório"),
                                                exportFilter(), suggested + QStringLiteral(".pdf"));
    if (chosen.isEmpty())
        return;
    QString path = chosen;
    if (!formatForPath(path))
        path += QStringLiteral(".pdf");
    QString error;
    if (!exportTo(m_report, path, &error))
        Messages::error(QStringLiteral("Atenção"), error);
}

ReportPreview *preview(PreparedReport report, QWidget *parent)
{
    if (report.flavour == Flavour::Modal) {
        ReportPreview window(std::move(report), parent);
        window.setWindowState(window.windowState() | Qt::WindowMaximized);
        window.zoomPageWidth();
        Modal::exec(&window);
        return nullptr;
    }
    // No parent: the preview outlives the dialog that opened it. Its owner
    // for the window system is the modal window that runs now, so that the
    // modal chain does not block it (see WindowFit).
    auto *window = new ReportPreview(std::move(report), nullptr);
    window->setModal(false);
    window->zoomPageWidth();
    WindowFit::showModeless(window);
    return window;
}

ReportPreview *preview(const ReportDefinition &definition, const RecordSet &rows, QWidget *parent)
{
    return preview(run(definition, rows), parent);
}

} // namespace Report
