#include <gtest/gtest.h>

#include <QFile>
#include <QLineEdit>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest/QTest>
#include <vector>

#include "report_window.h"
#include "ui_test_support.h"

namespace tarvelo::ui {
namespace {

ReportSnapshot Snapshot() {
    ReportSnapshot s;
    s.data.title = "Pilar P1";
    s.data.barCount = "4";
    s.data.totalSteelArea = "8";
    s.data.bars = {{"4", "4"}, {"16", "4"}, {"16", "36"}, {"4", "36"}};
    s.data.Fd = "800";
    s.results.safety = "1.34";
    s.runs.hasSectionConstants = true;
    s.runs.sectionConstants.area = 800;
    s.runs.hasCurve = true;
    s.runs.curve.Clear();
    for (int i = 0; i < 5; ++i)
        s.runs.curve.rows[i] = {1.5 * i * i, 100.0 * i};
    s.runs.reachedStep = 5;
    return s;
}

// Page count of a PDF by poppler's pdfinfo; -1 when it cannot tell.
int PdfPages(const QString& path) {
    QProcess p;
    p.start(QStringLiteral("pdfinfo"), {path});
    if (!p.waitForFinished(20000) || p.exitCode() != 0) return -1;
    for (const QString& line : QString::fromUtf8(p.readAllStandardOutput()).split('\n')) {
        if (line.startsWith(QStringLiteral("Pages:"))) return line.mid(6).trimmed().toInt();
    }
    return -1;
}

bool HavePdfInfo() {
    QProcess p;
    p.start(QStringLiteral("pdfinfo"), {QStringLiteral("-v")});
    return p.waitForFinished(5000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
}

class ReportWindowTest : public testing::WindowTest {
  protected:
    void SetUp() override {
        WindowTest::SetUp();
        window.Open([this] { return snapshot; });
    }
    void TearDown() override {
        WindowTest::TearDown();
        ReportWindow::SetPrintDialogHook(nullptr);
    }
    QPushButton* Button(const char* name) {
        return window.findChild<QPushButton*>(QString::fromLatin1(name));
    }
    QLineEdit* Field(const char* name) {
        return window.findChild<QLineEdit*>(QString::fromLatin1(name));
    }
    void Click(const char* name) { QTest::mouseClick(Button(name), Qt::LeftButton); }

    ReportSnapshot snapshot = Snapshot();
    ReportWindow window;
};

TEST_F(ReportWindowTest, PreviewPagesForwardAndBack) {
    Click("previewButton");  // Visualizar
    // 44 counted body lines after the first, lines 8..51: two pages.
    EXPECT_EQ(window.PageTotal(), 2);
    std::vector<std::string> page = window.PreviewTexts();
    EXPECT_EQ(page.size(), 39u);

    Click("forwardButton");  // Avançar
    EXPECT_EQ(window.PageToShow(), 2);
    EXPECT_EQ(Field("pageField")->text(), QStringLiteral("2"));
    page = window.PreviewTexts();
    EXPECT_EQ(page.back(), "Armadura mínima As,min=  cm2");
    Click("forwardButton");  // on the last page: nothing changes
    EXPECT_EQ(window.PageToShow(), 2);
    EXPECT_EQ(window.PreviewTexts(), page);

    Click("backButton");  // Voltar
    const std::vector<std::string> first = window.PreviewTexts();
    Click("backButton");  // on page 1: nothing changes
    EXPECT_EQ(window.PageToShow(), 1);
    EXPECT_EQ(window.PreviewTexts(), first);

    // The preview's "Imprimir" prints; the dialog comes back after it.
    QTemporaryDir dir;
    int printed = 0;
    ReportWindow::SetPrintDialogHook([&](QPrinter& printer, QWidget*) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(dir.filePath(QStringLiteral("impresso.pdf")));
        return ++printed > 1;  // the first print dialog is cancelled: the preview stays
    });
    Click("returnButton");
    EXPECT_TRUE(Button("forwardButton")->isVisible());
    Click("returnButton");
    EXPECT_EQ(printed, 2);
    EXPECT_TRUE(QFile::exists(dir.filePath(QStringLiteral("impresso.pdf"))));
    EXPECT_TRUE(window.PreviewTexts().empty());
}

TEST_F(ReportWindowTest, TypedTitleAndCurrentFieldsReachThePreview) {
    Field("titleField")->setText(QString());
    QTest::keyClicks(Field("titleField"), QStringLiteral("Exemplo 2"));
    snapshot.results.safety = "0.98";  // the report reads the fields when it is produced
    Click("previewButton");
    const std::vector<std::string> p1 = window.PreviewTexts();
    EXPECT_EQ(p1[4], "Denominação: Exemplo 2");
    Click("forwardButton");
    const std::vector<std::string> p2 = window.PreviewTexts();
    EXPECT_NE(std::find(p2.begin(), p2.end(), "As= 8 cm2     Coeficiente de segurança S= 0.98"),
              p2.end());
}

TEST_F(ReportWindowTest, PrintsTheCopiesWithTheChartPage) {
    if (!HavePdfInfo()) GTEST_SKIP() << "pdfinfo not installed";
    QTemporaryDir dir;
    const QString out = dir.filePath(QStringLiteral("impresso.pdf"));
    int askedCopies = 0;
    ReportWindow::SetPrintDialogHook([&](QPrinter& printer, QWidget*) {
        askedCopies = printer.copyCount();
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(out);
        return true;
    });
    Field("copiesField")->setText(QStringLiteral("2"));
    Click("printButton");
    EXPECT_EQ(askedCopies, 2);
    EXPECT_TRUE(presenter.Texts().empty());
    // One sheet of text and the chart sheet, twice.
    EXPECT_EQ(PdfPages(out), 4);

    // Without a curve of the last verification there is no chart sheet.
    snapshot.runs.hasCurve = false;
    Field("copiesField")->setText(QStringLiteral("1"));
    Click("printButton");
    EXPECT_EQ(PdfPages(out), 1);

    // A cancelled dialog prints nothing.
    QFile::remove(out);
    ReportWindow::SetPrintDialogHook([](QPrinter&, QWidget*) { return false; });
    Click("printButton");
    EXPECT_FALSE(QFile::exists(out));
}

TEST_F(ReportWindowTest, SavesPdfAndTextAndShowsWriteErrors) {
    QTemporaryDir dir;
    files.saveName = dir.filePath(QStringLiteral("relatorio.pdf"));
    Click("savePdfButton");
    EXPECT_TRUE(QFile::exists(files.saveName));
    files.saveName = dir.filePath(QStringLiteral("relatorio"));  // the extension is added
    Click("saveTextButton");
    QFile text(files.saveName + QStringLiteral(".txt"));
    ASSERT_TRUE(text.open(QIODevice::ReadOnly));
    const QByteArray bytes = text.readAll();
    EXPECT_TRUE(bytes.contains("Área da seção de concreto= 800  cm2\n"));  // the sheet's label
    EXPECT_FALSE(bytes.contains('\f'));  // one sheet of text; the chart is not in the text
    EXPECT_TRUE(presenter.Texts().empty());

    files.saveName = QStringLiteral("/nonexistent-folder/relatorio.pdf");
    Click("savePdfButton");
    files.saveName = QStringLiteral("/nonexistent-folder/relatorio.txt");
    Click("saveTextButton");
    ASSERT_EQ(presenter.Texts().size(), 2u);
    EXPECT_TRUE(presenter.Texts()[1].contains(QStringLiteral("/nonexistent-folder/")));
}

TEST_F(ReportWindowTest, CancelClosesOnceAndReopens) {
    QSignalSpy closed(&window, &ReportWindow::closed);
    Click("cancelButton");
    window.close();
    EXPECT_EQ(closed.count(), 1);
    window.Open([this] { return snapshot; });
    Click("previewButton");
    window.close();  // the window's own close button, from the preview
    EXPECT_EQ(closed.count(), 2);
}

}  // namespace
}  // namespace tarvelo::ui
