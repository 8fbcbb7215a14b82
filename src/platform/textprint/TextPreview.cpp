#include "textprint/TextPreview.h"

#include "textprint/TextRender.h"
#include "widgets/FilePicker.h"
#include "widgets/Messages.h"
#include "widgets/Modal.h"

#include <QFileInfo>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPixmap>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

namespace TextPrint {

namespace {
constexpr double ScreenDpi = 96;
constexpr double MinZoom = 0.25;
constexpr double MaxZoom = 4;
constexpr double ZoomStep = 1.25;

const QString Attention = QStringLiteral("Atenção");
} // namespace

Preview::Preview(Document document, QWidget *parent)
    : QDialog(parent), m_document(std::move(document))
{
    setWindowTitle(QStringLiteral("Visualizar Relatório"));
    setWindowFlags(windowFlags() | Qt::WindowMinMaxButtonsHint);

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
    auto label = [&](const char *name, const QString &widest) {
        auto *l = new QLabel(this);
        l->setObjectName(QLatin1String(name));
        l->setAlignment(Qt::AlignCenter);
        l->setMinimumWidth(l->fontMetrics().horizontalAdvance(widest) + 8);
        bar->addWidget(l);
        return l;
    };
    add("btnPrimeira", QStringLiteral("Primeira"), &Preview::firstPage);
    add("btnAnterior", QStringLiteral("Anterior"), &Preview::priorPage);
    m_pageLabel = label("lblPagina", QStringLiteral("Página 0000 de 0000"));
    add("btnProxima", QStringLiteral("Próxima"), &Preview::nextPage);
    add("btnUltima", QStringLiteral("Última"), &Preview::lastPage);
    bar->addSpacing(12);
    add("btnZoomMenos", QStringLiteral("Diminuir"), &Preview::zoomOut);
    m_zoomLabel = label("lblZoom", QStringLiteral("000 %"));
    add("btnZoomMais", QStringLiteral("Aumentar"), &Preview::zoomIn);
    bar->addSpacing(12);
    add("btnImprimir", QStringLiteral("Imprimir"), &Preview::print);
    add("btnRascunho", QStringLiteral("Rascunho"), &Preview::printDraft);
    add("btnSalvar", QStringLiteral("Salvar"), &Preview::save);
    add("btnCarregar", QStringLiteral("Carregar"), &Preview::load);
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

    QSize size(1100, 760);
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        size = size.boundedTo(screen->availableGeometry().size());
    resize(size);
    refresh();
}

Preview::~Preview() = default;

QPushButton *Preview::button(const QString &objectName) const
{
    return findChild<QPushButton *>(objectName);
}

QString Preview::pageCaption() const
{
    return QStringLiteral("Página %1 de %2").arg(m_page).arg(pageCount());
}

QString Preview::zoomCaption() const
{
    return QStringLiteral("%1 %").arg(std::lround(m_zoom * 100));
}

void Preview::goToPage(int page)
{
    page = std::clamp(page, 1, pageCount());
    if (page == m_page)
        return;
    m_page = page;
    refresh();
    m_scroll->verticalScrollBar()->setValue(0);
}

void Preview::firstPage()
{
    goToPage(1);
}

void Preview::priorPage()
{
    goToPage(m_page - 1);
}

void Preview::nextPage()
{
    goToPage(m_page + 1);
}

void Preview::lastPage()
{
    goToPage(pageCount());
}

void Preview::setZoom(double zoom)
{
    m_zoom = std::clamp(zoom, MinZoom, MaxZoom);
    refresh();
}

void Preview::zoomIn()
{
    setZoom(m_zoom * ZoomStep);
}

void Preview::zoomOut()
{
    setZoom(m_zoom / ZoomStep);
}

void Preview::refresh()
{
    m_pageLabel->setText(pageCaption());
    m_zoomLabel->setText(zoomCaption());
    m_image = renderPage(m_document, m_page, ScreenDpi * m_zoom);
    m_pageView->setPixmap(QPixmap::fromImage(m_image));
    m_pageView->resize(m_image.size());
    button(QStringLiteral("btnPrimeira"))->setEnabled(m_page > 1);
    button(QStringLiteral("btnAnterior"))->setEnabled(m_page > 1);
    button(QStringLiteral("btnProxima"))->setEnabled(m_page < pageCount());
    button(QStringLiteral("btnUltima"))->setEnabled(m_page < pageCount());
    button(QStringLiteral("btnZoomMenos"))->setEnabled(m_zoom > MinZoom);
    button(QStringLiteral("btnZoomMais"))->setEnabled(m_zoom < MaxZoom);
}

void Preview::print()
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(QStringLiteral("Relatório"));
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setPageOrientation(QPageLayout::Portrait);
    QPrintDialog dialog(&printer, this);
    dialog.setWindowTitle(QStringLiteral("Imprimir"));
    dialog.setMinMax(1, pageCount());
    if (Modal::exec(&dialog) != QDialog::Accepted)
        return;
    if (!TextPrint::print(m_document, printer))
        Messages::error(Attention, QStringLiteral("Não foi possível imprimir o relatório."));
}

void Preview::printDraft()
{
    TextPrint::printDraft(m_document);
}

bool Preview::saveTo(const QString &path)
{
    QString error;
    const bool pdf =
        QFileInfo(path).suffix().compare(QLatin1String("pdf"), Qt::CaseInsensitive) == 0;
    const bool written =
        pdf ? writePdf(m_document, path, &error) : writeText(m_document, path, &error);
    if (!written)
        Messages::error(Attention, error);
    return written;
}

bool Preview::loadFrom(const QString &path)
{
    QString error;
    std::optional<Document> loaded = Document::load(path, &error);
    if (!loaded) {
        Messages::error(Attention, error);
        return false;
    }
    m_document = std::move(*loaded);
    m_page = 1;
    refresh();
    m_scroll->verticalScrollBar()->setValue(0);
    return true;
}

void Preview::save()
{
    QString path =
        FilePicker::saveFile(this, QStringLiteral("Salvar Relatório"),
                             QStringLiteral("Relatório em texto (*.txt);;Documento PDF (*.pdf)"),
                             QStringLiteral("relatorio.txt"));
    if (path.isEmpty())
        return;
    if (QFileInfo(path).suffix().isEmpty())
        path += QStringLiteral(".txt");
    saveTo(path);
}

void Preview::load()
{
    const QString path =
        FilePicker::openFile(this, QStringLiteral("Carregar Relatório"),
                             QStringLiteral("Relatório em texto (*.txt);;Todos os arquivos (*)"));
    if (!path.isEmpty())
        loadFrom(path);
}

void preview(const Document &document, QWidget *parent)
{
    Preview window(document, parent);
    window.setWindowState(window.windowState() | Qt::WindowMaximized);
    Modal::exec(&window);
}

} // namespace TextPrint
