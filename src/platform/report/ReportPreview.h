#pragma once
// The preview window of a prepared report: zoom, page navigation, printing
// (with the printer dialog) and saving in any registered format. Every button
// is a public slot so tests press them the way a person would.
//
// Modal flavour: Report::preview() runs the window through Modal::exec,
// maximised and zoomed to the page width, and returns when it closes.
// Independent flavour: the window is shown without blocking, owns its own
// copy of the pages, has no parent (it outlives the dialog that opened it)
// and deletes itself when closed. Opened while a modal window runs (the
// option dialog over the payables screen), it takes clicks and keys all the
// same: the modal chain owns it (WindowFit::showModeless), and when the
// dialog that opened it closes, the screen under it becomes its owner. The
// clerk can go back to that screen with the preview open.

#include "report/PreparedReport.h"
#include "report/ReportDefinition.h"

#include <QDialog>

class QLabel;
class QScrollArea;
class QPushButton;
class RecordSet;

namespace Report {

class ReportPreview : public QDialog
{
    Q_OBJECT
public:
    enum class Fit { None, PageWidth, WholePage };

    explicit ReportPreview(PreparedReport report, QWidget *parent = nullptr);
    ~ReportPreview() override;

    const PreparedReport &report() const { return m_report; }
    int currentPage() const { return m_page; } // 0-based
    int pageCount() const { return m_report.pageCount(); }
    double zoom() const { return m_zoom; } // 1.0 = 100 %
    Fit fit() const { return m_fit; }
    QString pageCaption() const; // "Página 1 de 3"
    // The current page as shown (for tests and the screen).
    QImage pageImage() const { return m_image; }
    QPushButton *button(const QString &objectName) const;

public slots:
    void firstPage();
    void priorPage();
    void nextPage();
    void lastPage();
    void goToPage(int page);
    void zoomIn();
    void zoomOut();
    void setZoom(double zoom);
    void zoomPageWidth();
    void zoomWholePage();
    void print(); // printer dialog, through Modal::exec
    void save();  // file name through FilePicker; format by extension
    // Draft printing on a text-mode printer: the pages as plain text, sent
    // raw to the printer ("lp -o raw"), or to the device or file named in
    // CP_IMPRESSORA_TEXTO (for instance /dev/usb/lp0).
    void printDraft();

protected:
    void resizeEvent(QResizeEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    void applyFit();
    void refresh();

    PreparedReport m_report;
    int m_page = 0;
    double m_zoom = 1.0;
    Fit m_fit = Fit::None;
    QImage m_image;
    QScrollArea *m_scroll = nullptr;
    QLabel *m_pageView = nullptr;
    QLabel *m_pageLabel = nullptr;
};

// Runs the definition over the rows and shows the preview of its flavour.
// Modal: returns nullptr once the window has closed. Independent: returns the
// window, already shown.
ReportPreview *preview(const ReportDefinition &definition, const RecordSet &rows,
                       QWidget *parent = nullptr);
ReportPreview *preview(PreparedReport report, QWidget *parent = nullptr);

} // namespace Report
