// Fixed-column text pages: placement on the grid, money masks, plain
// letters, the plain-text form and its reading, the PDF read back by a real
// reader with its geometry, draft printing, the preview driven as a clerk
// would, and a failed save that keeps the old file.

#include "FileSizeLimit.h"
#include "TestMain.h"
#include "textprint/TextDocument.h"
#include "textprint/TextPreview.h"
#include "textprint/TextRender.h"
#include "widgets/FilePicker.h"
#include "widgets/Messages.h"
#include "widgets/Modal.h"

#include <QDir>
#include <QLabel>
#include <QPrintDialog>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

using TextPrint::Document;

namespace {

struct Put
{
    int line;
    int column;
    QString text;
};

QString run(const QString &program, const QStringList &args)
{
    QProcess p;
    p.start(program, args);
    if (!p.waitForFinished(30000) || p.exitCode() != 0)
        return QStringLiteral("<%1 failed: %2>")
            .arg(program, QString::fromUtf8(p.readAllStandardError()));
    return QString::fromUtf8(p.readAllStandardOutput());
}

QByteArray readBytes(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
}

bool writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

// Two full-size pages: a 95-column rule on line 1, a text on line 66.
Document twoPages()
{
    Document doc;
    doc.put(1, 1, QString("1234567890").repeated(9) + "12345");
    doc.put(3, 2, "Relatório de Conferência");
    doc.putValue(3, 72, -1234.5);
    doc.put(66, 1, "LINHA66");
    doc.put(66, 89, "FIM-P01");
    doc.newPage();
    doc.put(1, 1, "SEGUNDA PAGINA");
    doc.put(66, 1, "LINHA66-P02");
    return doc;
}

} // namespace

class TstTextPrint : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        m_boxes.clear();
        Messages::setHandler([this](const MessageBoxRequest &r) {
            m_boxes << r;
            return QMessageBox::Ok;
        });
    }
    void cleanup()
    {
        Messages::setHandler({});
        FilePicker::setHandler({});
        qunsetenv("CP_IMPRESSORA_TEXTO");
    }

    void placement_data();
    void placement();
    void moneyMask_data();
    void moneyMask();
    void plainLetters();
    void pages();
    void plainTextRoundTrip();
    void reading_data();
    void reading();
    void pdfLayout();
    void draftPrinting();
    void previewNavigation();
    void previewPrintsSavesAndLoads();
    void failedSaveKeepsOldFile_data();
    void failedSaveKeepsOldFile();

private:
    QList<MessageBoxRequest> m_boxes;
};

void TstTextPrint::placement_data()
{
    QTest::addColumn<QList<Put>>("puts");
    QTest::addColumn<int>("line");
    QTest::addColumn<QString>("expected"); // the whole line, trailing blanks dropped

    QTest::newRow("first column") << QList<Put>{{2, 1, "ABC"}} << 2 << "ABC";
    QTest::newRow("later column") << QList<Put>{{2, 5, "ABC"}} << 2 << "    ABC";
    QTest::newRow("overwrite middle")
        << QList<Put>{{4, 1, "ABCDEFGH"}, {4, 3, "xy"}} << 4 << "ABxyEFGH";
    QTest::newRow("blanks overwrite too")
        << QList<Put>{{4, 1, "ABCDEFGH"}, {4, 2, "  "}} << 4 << "A  DEFGH";
    QTest::newRow("overwrite runs past")
        << QList<Put>{{4, 1, "ABC"}, {4, 3, "WXYZ"}} << 4 << "ABWXYZ";
    QTest::newRow("cut at the right edge")
        << QList<Put>{{5, 90, "ABCDEFGH"}} << 5 << QString(89, ' ') + "ABCDEF";
    QTest::newRow("last column") << QList<Put>{{5, 95, "ZQ"}} << 5 << QString(94, ' ') + "Z";
    QTest::newRow("past the last column") << QList<Put>{{5, 96, "Z"}} << 5 << "";
    QTest::newRow("left of column 1 is cut") << QList<Put>{{5, -1, "ABCD"}} << 5 << "CD";
    QTest::newRow("controls become blanks")
        << QList<Put>{{6, 1, "A\tB\nC\fD\rE"}} << 6 << "A B C D E";
    QTest::newRow("decomposed accent takes one column")
        << QList<Put>{{6, 1, QString::fromUtf8("Sa\xcc\x83o|")}} << 6
        << QString::fromUtf8("S\xc3\xa3o|");
    QTest::newRow("outside the basic plane")
        << QList<Put>{{6, 1, QString::fromUcs4(U"A\U0001F600B")}} << 6 << "A?B";
    QTest::newRow("line 66") << QList<Put>{{66, 2, "fim"}} << 66 << " fim";
    QTest::newRow("line past the page is ignored")
        << QList<Put>{{67, 1, "X"}, {0, 1, "Y"}} << 1 << "";
}

void TstTextPrint::placement()
{
    QFETCH(QList<Put>, puts);
    QFETCH(int, line);
    QFETCH(QString, expected);
    Document doc;
    for (const Put &p : puts) {
        if (p.line < 1 || p.line > 66)
            QTest::ignoreMessage(QtWarningMsg, QRegularExpression("outside the page"));
        doc.put(p.line, p.column, p.text);
    }
    const QStringList lines = doc.pageLines(1);
    QCOMPARE(lines.size(), 66);
    QCOMPARE(lines.at(line - 1), expected);
    QCOMPARE(doc.textAt(1, line, 1, 95), expected.leftJustified(95, ' '));
    QVERIFY(lines.join("").size() == expected.size()); // nothing anywhere else
    QCOMPARE(doc.pageCount(), 1);
}

void TstTextPrint::moneyMask_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("mask");
    QTest::addColumn<QString>("expected"); // columns 10 to 25 over a row of "*"

    const QString m = "###,##0.00";
    QTest::newRow("thousands") << 1234.56 << m << "  1.234,56******";
    QTest::newRow("zero") << 0.0 << m << "      0,00******";
    QTest::newRow("small") << 7.5 << m << "      7,50******";
    QTest::newRow("negative keeps its sign") << -1234.5 << m << " -1.234,50******";
    QTest::newRow("negative small") << -0.4 << m << "     -0,40******";
    QTest::newRow("fills the mask") << 123456.78 << m << "123.456,78******";
    QTest::newRow("wider than the mask runs right") << 1234567.89 << m << "1.234.567,89****";
    QTest::newRow("rounds to zero without a sign") << (0.3 - 0.1 - 0.2) << m << "      0,00******";
    QTest::newRow("whole numbers") << 2.5 << "###,##0"
                                   << "      3*********";
    QTest::newRow("shorter mask") << 5.0 << "#,##0.00"
                                  << "    5,00********";
}

void TstTextPrint::moneyMask()
{
    QFETCH(double, value);
    QFETCH(QString, mask);
    QFETCH(QString, expected);
    Document doc;
    doc.put(1, 1, QString(30, '*'));
    doc.putValue(1, 10, value, mask);
    QCOMPARE(doc.textAt(1, 1, 10, 16), expected);
    QCOMPARE(doc.textAt(1, 1, 1, 9), "*********");
}

void TstTextPrint::plainLetters()
{
    const QString accented = QString::fromUtf8("Ação Nº 1, Nª, N° ÇÁÉÍÓÚÀÂÊÔÃÕÜ çáéíóúàâêôãõü ñ ½");
    const QString plain = QString::fromUtf8("Acao No 1, Na, No CAEIOUAAEOAOU caeiouaaeoaou n ½");
    Document doc;
    doc.put(1, 1, accented);
    QCOMPARE(doc.pageLines(1).at(0), accented); // off: as given
    doc.setPlainLetters(true);                  // on: what is there already...
    QCOMPARE(doc.pageLines(1).at(0), plain);
    doc.put(2, 3, accented); // ...and what comes later
    QCOMPARE(doc.textAt(1, 2, 3, plain.size()), plain);
    doc.put(3, 1, QString::fromUtf8("Sa\xcc\x83o Jose\xcc\x81"));
    QCOMPARE(doc.pageLines(1).at(2), "Sao Jose");
}

void TstTextPrint::pages()
{
    Document doc(5, 20);
    QCOMPARE(doc.pageCount(), 1);
    doc.put(1, 1, "um");
    doc.newPage();
    doc.newPage();
    doc.put(5, 19, "tres");
    QCOMPARE(doc.pageCount(), 3);
    QCOMPARE(doc.currentPage(), 3);
    QCOMPARE(doc.pageLines(1), (QStringList{"um", "", "", "", ""}));
    QCOMPARE(doc.pageLines(2), (QStringList{"", "", "", "", ""}));
    QCOMPARE(doc.pageLines(3), (QStringList{"", "", "", "", QString(18, ' ') + "tr"}));
    QVERIFY(doc.pageLines(0).isEmpty());
    QVERIFY(doc.pageLines(4).isEmpty());
    QCOMPARE(doc.textAt(4, 1, 1, 3), "   ");
}

void TstTextPrint::plainTextRoundTrip()
{
    Document doc(3, 10);
    doc.put(1, 1, "AB   ");
    doc.put(3, 4, "Zé");
    doc.newPage(); // an empty page in the middle survives
    doc.newPage();
    doc.put(2, 10, "!");
    const QString expected = QString::fromUtf8("AB\n\n   Zé\n"
                                               "\f\n\n\n"
                                               "\f\n         !\n\n");
    QCOMPARE(doc.toPlainText(), expected);

    QString error;
    const std::optional<Document> back = Document::fromPlainText(expected, &error, 3, 10);
    QVERIFY2(back, qPrintable(error));
    QVERIFY(*back == doc);
    QCOMPARE(back->pageCount(), 3);
    QCOMPARE(back->toPlainText(), expected);

    // Through a file, TXT export and save being the same form.
    QTemporaryDir dir;
    const QString path = dir.filePath("extrato.txt");
    QVERIFY2(TextPrint::writeText(doc, path, &error), qPrintable(error));
    QCOMPARE(readBytes(path), expected.toUtf8());
    const std::optional<Document> loaded = Document::load(path, &error, 3, 10);
    QVERIFY2(loaded, qPrintable(error));
    QVERIFY(*loaded == doc);

    // The full-size pages come back with their size and every line.
    const Document big = twoPages();
    QVERIFY2(big.save(path, &error), qPrintable(error));
    const std::optional<Document> bigBack = Document::load(path, &error);
    QVERIFY2(bigBack, qPrintable(error));
    QVERIFY(*bigBack == big);
    QCOMPARE(bigBack->lineCount(), 66);
    QCOMPARE(bigBack->columnCount(), 95);
    QCOMPARE(bigBack->pageLines(1).at(65), QString("LINHA66") + QString(81, ' ') + "FIM-P01");
}

void TstTextPrint::reading_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("pages");
    QTest::addColumn<QStringList>("firstPage"); // its first lines; empty when refused
    QTest::addColumn<QString>("error");

    QTest::newRow("printer capture, Latin-1")
        << QByteArray("AB\r\n\r\n   Z\xe9\r\f\r\f") << 2
        << QStringList{"AB", "", QString::fromUtf8("   Zé"), ""} << "";
    QTest::newRow("tabs") << QByteArray("a\tb\n12345678\tc\n") << 1
                          << QStringList{"a       b", "12345678        c", ""} << "";
    QTest::newRow("no final line end") << QByteArray("x\fy") << 2 << QStringList{"x", ""} << "";
    QTest::newRow("binary") << QByteArray("PK\x03\x04\x00\x01", 6) << 0 << QStringList{}
                            << "não contém um relatório em texto";
    QTest::newRow("stray carriage return")
        << QByteArray("a\rb\n") << 0 << QStringList{} << "não contém um relatório em texto";
    QTest::newRow("line too long")
        << QByteArray(1000, 'x') << 0 << QStringList{} << "maiores que 999 linhas por 999 colunas";
    QTest::newRow("page too long")
        << QByteArray(1000, '\n') << 0 << QStringList{} << "maiores que 999 linhas por 999 colunas";
}

void TstTextPrint::reading()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, pages);
    QFETCH(QStringList, firstPage);
    QFETCH(QString, error);
    QTemporaryDir dir;
    const QString path = dir.filePath("lido.txt");
    QVERIFY(writeBytes(path, bytes));
    QString why;
    const std::optional<Document> doc = Document::load(path, &why);
    if (pages == 0) {
        QVERIFY(!doc);
        QVERIFY2(why.contains(error) && why.contains("lido.txt"), qPrintable(why));
        return;
    }
    QVERIFY2(doc, qPrintable(why));
    QCOMPARE(doc->pageCount(), pages);
    QCOMPARE(doc->lineCount(), 66); // a short page is a page of the usual size
    QCOMPARE(doc->pageLines(1).mid(0, firstPage.size()), firstPage);
}

void TstTextPrint::pdfLayout()
{
    QCOMPARE(TextPrint::monospaceFamily(), "Liberation Mono");
    QTemporaryDir dir;
    const QString path = dir.filePath("extrato.pdf");
    QString error;
    QVERIFY2(TextPrint::writePdf(twoPages(), path, &error), qPrintable(error));

    const QString text = run("pdftotext", {"-layout", path, "-"});
    const QStringList pageTexts = text.split('\f');
    QCOMPARE(pageTexts.size(), 3); // two pages, each ended by a form feed
    QStringList first = pageTexts.at(0).split('\n');
    while (!first.isEmpty() && first.last().trimmed().isEmpty())
        first.removeLast();
    QCOMPARE(first.first().trimmed(), QString("1234567890").repeated(9) + "12345");
    QVERIFY2(first.last().contains(QRegularExpression("^ *LINHA66 +FIM-P01$")),
             qPrintable(first.last()));
    QVERIFY2(pageTexts.at(0).contains(QRegularExpression("Relatório de Conferência +-1.234,50")),
             qPrintable(pageTexts.at(0)));
    QVERIFY(pageTexts.at(1).contains("SEGUNDA PAGINA"));
    QVERIFY(pageTexts.at(1).contains("LINHA66-P02"));

    // 12 characters and 6 lines to the inch, centred on A4 (595.3 x 841.9
    // points): 95 columns are 570 points wide, lines 1 to 66 are 65 x 12
    // points apart.
    const QString boxes = run("pdftotext", {"-bbox", "-f", "1", "-l", "1", path, "-"});
    auto box = [&](const QString &word) {
        const QRegularExpression re(
            QString(
                "xMin=\"([0-9.]+)\" yMin=\"([0-9.]+)\" xMax=\"([0-9.]+)\" yMax=\"([0-9.]+)\">%1<")
                .arg(QRegularExpression::escape(word)));
        const QRegularExpressionMatch m = re.match(boxes);
        return m.hasMatch() ? QRectF(QPointF(m.captured(1).toDouble(), m.captured(2).toDouble()),
                                     QPointF(m.captured(3).toDouble(), m.captured(4).toDouble()))
                            : QRectF();
    };
    const QRectF rule = box(QString("1234567890").repeated(9) + "12345");
    const QRectF last = box("LINHA66");
    const QRectF corner = box("FIM-P01");
    QVERIFY2(rule.isValid() && last.isValid() && corner.isValid(), qPrintable(boxes));
    QVERIFY2(qAbs(rule.width() - 570) < 1, qPrintable(QString::number(rule.width())));
    QVERIFY2(qAbs(rule.left() - 12.6) < 1, qPrintable(QString::number(rule.left())));
    QVERIFY2(qAbs(last.top() - rule.top() - 780) < 1, qPrintable(QString::number(last.top())));
    QVERIFY2(qAbs(corner.right() - rule.right()) < 1, qPrintable(QString::number(corner.right())));
    QVERIFY(run("pdffonts", {path}).contains("LiberationMono"));

    // A page taller than the paper (a loaded file of 132 lines, 1584 points)
    // shrinks as a whole to the paper's 841.9 points rather than losing its
    // last lines: to 0.5315, so 95 columns take 303 points.
    Document tall(132, 95);
    tall.put(1, 1, QString(95, '='));
    tall.put(132, 1, "ULTIMA");
    QVERIFY2(TextPrint::writePdf(tall, path, &error), qPrintable(error));
    const QString tallText = run("pdftotext", {"-bbox", path, "-"});
    const QRegularExpressionMatch rule2 =
        QRegularExpression(
            "xMin=\"([0-9.]+)\" yMin=\"[0-9.]+\" xMax=\"([0-9.]+)\" yMax=\"[0-9.]+\">=+<")
            .match(tallText);
    const QRegularExpressionMatch last2 =
        QRegularExpression("yMax=\"([0-9.]+)\">ULTIMA<").match(tallText);
    QVERIFY2(rule2.hasMatch() && last2.hasMatch(), qPrintable(tallText));
    QVERIFY(qAbs(rule2.captured(2).toDouble() - rule2.captured(1).toDouble() - 303) < 1);
    QVERIFY2(last2.captured(1).toDouble() < 841.9, qPrintable(last2.captured(1)));
}

void TstTextPrint::draftPrinting()
{
    Document doc(3, 10);
    doc.put(1, 1, "AB");
    doc.put(3, 4, "Zé");
    doc.newPage();
    doc.put(1, 1, "fim");
    doc.put(3, 1, "ultima");
    doc.newPage();
    QTemporaryDir dir;
    const QString device = dir.filePath("lp0");
    qputenv("CP_IMPRESSORA_TEXTO", device.toLocal8Bit());
    TextPrint::Preview preview(doc);
    QTest::mouseClick(preview.button("btnRascunho"), Qt::LeftButton);
    // Each page ends at its last written line with CR and a form feed, even
    // the last line of the form and an empty page.
    QCOMPARE(readBytes(device), QByteArray("AB\r\n\r\n   Z\xe9\r\f"
                                           "fim\r\n\r\nultima\r\f"
                                           "\r\f"));
    QVERIFY(m_boxes.isEmpty());
}

void TstTextPrint::previewNavigation()
{
    Document doc = twoPages();
    doc.newPage();
    doc.put(1, 1, "TERCEIRA");
    TextPrint::Preview preview(doc);
    preview.show();
    QVERIFY(QTest::qWaitForWindowExposed(&preview));
    QCOMPARE(preview.windowTitle(), "Visualizar Relatório");
    auto pageLabel = [&] { return preview.findChild<QLabel *>("lblPagina")->text(); };
    auto zoomLabel = [&] { return preview.findChild<QLabel *>("lblZoom")->text(); };
    auto enabled = [&] {
        QString s;
        for (const char *b : {"btnPrimeira", "btnAnterior", "btnProxima", "btnUltima"})
            s += preview.button(b)->isEnabled() ? '1' : '0';
        return s;
    };
    QCOMPARE(preview.zoom(), 0.97);
    QCOMPARE(zoomLabel(), "97 %");
    QCOMPARE(pageLabel(), "Página 1 de 3");
    QCOMPARE(enabled(), "0011");

    // A4 at 97 % of 96 dpi; the grid starts 0.345 inch from the top, the
    // bands are three lines (15.5 pixels each) deep, green first.
    const QImage page = preview.pageImage();
    QCOMPARE(page.size(), QSize(770, 1089));
    const QRgb band = qRgb(0xdf, 0xf0, 0xdc);
    QCOMPARE(page.pixel(3, 40), band);                // line 1
    QCOMPARE(page.pixel(3, 70), band);                // line 3
    QCOMPARE(page.pixel(3, 95), qRgb(255, 255, 255)); // line 5
    QCOMPARE(page.pixel(3, 20), qRgb(255, 255, 255)); // above the grid
    QCOMPARE(page.pixel(3, 130), band);               // line 7

    QTest::mouseClick(preview.button("btnProxima"), Qt::LeftButton);
    QCOMPARE(preview.currentPage(), 2);
    QCOMPARE(pageLabel(), "Página 2 de 3");
    QCOMPARE(enabled(), "1111");
    QVERIFY(preview.pageImage() != page);
    QTest::mouseClick(preview.button("btnUltima"), Qt::LeftButton);
    QCOMPARE(pageLabel(), "Página 3 de 3");
    QCOMPARE(enabled(), "1100");
    preview.nextPage(); // stays on the last page
    QCOMPARE(preview.currentPage(), 3);
    QTest::mouseClick(preview.button("btnAnterior"), Qt::LeftButton);
    QCOMPARE(preview.currentPage(), 2);
    QTest::mouseClick(preview.button("btnPrimeira"), Qt::LeftButton);
    QCOMPARE(preview.currentPage(), 1);
    QCOMPARE(preview.pageImage(), page);

    QTest::mouseClick(preview.button("btnZoomMais"), Qt::LeftButton);
    QCOMPARE(zoomLabel(), "121 %");
    QCOMPARE(preview.pageImage().width(), 962);
    QTest::mouseClick(preview.button("btnZoomMenos"), Qt::LeftButton);
    QTest::mouseClick(preview.button("btnZoomMenos"), Qt::LeftButton);
    QCOMPARE(zoomLabel(), "78 %");
    QCOMPARE(preview.currentPage(), 1);
}

void TstTextPrint::previewPrintsSavesAndLoads()
{
    QTemporaryDir dir;
    const QString printed = dir.filePath("impresso.pdf");
    const QString other = dir.filePath("outro.txt");
    Document replacement;
    replacement.put(10, 10, "CARREGADO");
    QVERIFY(replacement.save(other));
    const QString notReport = dir.filePath("planilha.txt");
    QVERIFY(writeBytes(notReport, QByteArray("\x00\x01\x02", 3)));

    QList<FilePickerRequest> requests;
    FilePicker::setAnswers(
        {dir.filePath("salvo.pdf"), dir.filePath("sem_extensao"), notReport, other, QString()},
        &requests);
    bool sawPreview = false;
    QString printTitle;
    Modal::ScopedHandler modal([&](QDialog *dlg) -> int {
        if (auto *pd = qobject_cast<QPrintDialog *>(dlg)) {
            printTitle = pd->windowTitle();
            pd->printer()->setOutputFormat(QPrinter::PdfFormat);
            pd->printer()->setOutputFileName(printed);
            pd->printer()->setPrintRange(QPrinter::PageRange);
            pd->printer()->setFromTo(2, 2);
            return QDialog::Accepted;
        }
        auto *pv = qobject_cast<TextPrint::Preview *>(dlg);
        if (!pv)
            return QDialog::Rejected;
        sawPreview = true;
        pv->show();
        [&] {
            QVERIFY(pv->windowState() & Qt::WindowMaximized);
            QCOMPARE(pv->pageCount(), 2);
            QTest::mouseClick(pv->button("btnImprimir"), Qt::LeftButton);
            pv->lastPage();
            QTest::mouseClick(pv->button("btnSalvar"), Qt::LeftButton);
            QTest::mouseClick(pv->button("btnSalvar"), Qt::LeftButton);
            QVERIFY(m_boxes.isEmpty());
            // Not a report: said so, and the document shown stays.
            QTest::mouseClick(pv->button("btnCarregar"), Qt::LeftButton);
            QCOMPARE(m_boxes.size(), 1);
            QCOMPARE(m_boxes[0].title, "Atenção");
            QVERIFY2(m_boxes[0].text.contains("planilha.txt\" não contém um relatório em texto"),
                     qPrintable(m_boxes[0].text));
            QCOMPARE(pv->pageCount(), 2);
            QCOMPARE(pv->currentPage(), 2);
            QTest::mouseClick(pv->button("btnCarregar"), Qt::LeftButton);
            QCOMPARE(pv->pageCount(), 1);
            QCOMPARE(pv->currentPage(), 1);
            QCOMPARE(pv->document().textAt(1, 10, 10, 9), "CARREGADO");
            QCOMPARE(pv->findChild<QLabel *>("lblPagina")->text(), "Página 1 de 1");
            QTest::mouseClick(pv->button("btnCarregar"), Qt::LeftButton); // cancelled
            QCOMPARE(pv->document().textAt(1, 10, 10, 9), "CARREGADO");
        }();
        return QDialog::Accepted;
    });
    TextPrint::preview(twoPages());
    QVERIFY(sawPreview);
    QCOMPARE(m_boxes.size(), 1);
    QCOMPARE(printTitle, "Imprimir");

    // Only the page chosen in the printer dialog.
    const QString printedText = run("pdftotext", {"-layout", printed, "-"});
    QCOMPARE(printedText.count('\f'), 1);
    QVERIFY2(printedText.contains("SEGUNDA PAGINA"), qPrintable(printedText));
    QVERIFY(printedText.contains("LINHA66-P02"));
    QVERIFY(!printedText.contains("1234567890"));
    QVERIFY(run("pdftotext", {"-layout", dir.filePath("salvo.pdf"), "-"}).contains("LINHA66-P02"));
    QCOMPARE(readBytes(dir.filePath("sem_extensao.txt")), twoPages().toPlainText().toUtf8());
    QCOMPARE(requests.size(), 5);
    QCOMPARE(requests[0].kind, FilePickerRequest::Kind::Save);
    QCOMPARE(requests[0].filter, "Relatório em texto (*.txt);;Documento PDF (*.pdf)");
    QCOMPARE(requests[2].kind, FilePickerRequest::Kind::Open);
}

void TstTextPrint::failedSaveKeepsOldFile_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("text") << "extrato.txt";
    QTest::newRow("pdf") << "extrato.pdf";
}

void TstTextPrint::failedSaveKeepsOldFile()
{
    QFETCH(QString, name);
    QTemporaryDir dir;
    const QString path = dir.filePath(name);
    const QByteArray old = "extrato gravado ontem\n";
    QVERIFY(writeBytes(path, old));
    Document doc = twoPages();
    for (int line = 10; line <= 20; ++line)
        doc.put(line, 1, QString(95, 'x'));
    TextPrint::Preview preview(doc);
    bool written = true;
    {
        FileSizeLimit full(600);
        QVERIFY(full.ok());
        written = preview.saveTo(path);
    }
    QVERIFY(!written);
    QCOMPARE(m_boxes.size(), 1);
    QCOMPARE(m_boxes[0].title, "Atenção");
    QCOMPARE(m_boxes[0].icon, QMessageBox::Critical);
    QVERIFY2(m_boxes[0].text.contains(name) && m_boxes[0].text.contains("tamanho"),
             qPrintable(m_boxes[0].text));
    QCOMPARE(readBytes(path), old);
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{name});
    QVERIFY(preview.saveTo(path)); // without the limit it goes through
    QVERIFY(QFileInfo(path).size() > 600);
}

CP_TEST(TstTextPrint)
#include "tst_textprint.moc"
