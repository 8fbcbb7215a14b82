#pragma once
// The preview of a text document ("Visualizar Relatório"): the current page
// on continuous form paper with its light bands, at 97 % when it opens; page
// navigation with the page number shown; zoom; printing through the printer
// dialog; draft printing on a text-mode printer ("Rascunho"); saving the
// document as text or PDF and loading a saved one in its place. Messages go
// through the Messages seam, file names through FilePicker and the printer
// dialog through Modal, so tests drive every button the way a person would.
//
// Pages are counted from 1, as in the document. preview() runs the window
// modally (maximised on the work area) and returns when it closes.

#include "textprint/TextDocument.h"

#include <QDialog>
#include <QImage>

class QLabel;
class QPushButton;
class QScrollArea;

namespace TextPrint {

class Preview : public QDialog
{
    Q_OBJECT
public:
    static constexpr double InitialZoom = 0.97;

    explicit Preview(Document document, QWidget *parent = nullptr);
    ~Preview() override;

    const Document &document() const { return m_document; }
    int currentPage() const { return m_page; }
    int pageCount() const { return m_document.pageCount(); }
    double zoom() const { return m_zoom; } // 1.0 = 100 %
    QString pageCaption() const;           // "Página 1 de 3"
    QString zoomCaption() const;           // "97 %"
    // The current page as shown.
    QImage pageImage() const { return m_image; }
    QPushButton *button(const QString &objectName) const;

    // Writes the document to path: PDF for ".pdf", its plain-text form
    // otherwise. Says what went wrong in a box; true when written.
    bool saveTo(const QString &path);
    // Replaces the document with the one saved at path; on any failure the
    // document shown stays and a box says why.
    bool loadFrom(const QString &path);

public slots:
    void firstPage();
    void priorPage();
    void nextPage();
    void lastPage();
    void goToPage(int page);
    void zoomIn();
    void zoomOut();
    void setZoom(double zoom);
    void print();      // printer dialog, through Modal::exec
    void printDraft(); // "Rascunho": the text-mode printer
    void save();       // file name through FilePicker
    void load();       // file name through FilePicker

private:
    void refresh();

    Document m_document;
    int m_page = 1;
    double m_zoom = InitialZoom;
    QImage m_image;
    QScrollArea *m_scroll = nullptr;
    QLabel *m_pageView = nullptr;
    QLabel *m_pageLabel = nullptr;
    QLabel *m_zoomLabel = nullptr;
};

// Shows the document in the preview, modally; returns when it closes.
void preview(const Document &document, QWidget *parent = nullptr);

} // namespace TextPrint
