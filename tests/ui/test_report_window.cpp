// The report window: its preview reads the fields when it is produced, and its printed, PDF and
// text outputs have their pages.
#include <QPrinter>
#include <QProcess>
#include <QStandardPaths>
#include <functional>

#include "ui_test_support.h"

namespace tarvelo::ui {
namespace {

// Page count of a PDF by poppler's pdfinfo; -1 when it cannot tell.
int PdfPages(const QString& path) {
    QProcess p;
    p.start(QStringLiteral("pdfinfo"), {path});
    if (!p.waitForFinished(20000) || p.exitCode() != 0) return -1;
    for (const QString& line : QString::fromUtf8(p.readAllStandardOutput()).split('\n'))
        if (line.startsWith(QStringLiteral("Pages:"))) return line.mid(6).trimmed().toInt();
    return -1;
}

class ReportWindowTest : public testing::WindowTest {
  protected:
    void SetUp() override {
        WindowTest::SetUp();
        snapshot.data.title = "Pilar P1";
        snapshot.data.barCount = "4";
        snapshot.data.totalSteelArea = "8";
        snapshot.data.bars = {{"4", "4"}, {"16", "4"}, {"16", "36"}, {"4", "36"}};
        snapshot.data.Fd = "800";
        snapshot.results.safety = "1.34";
        snapshot.runs.hasSectionConstants = true;
        snapshot.runs.sectionConstants.area = 800;
        snapshot.runs.hasCurve = true;
        snapshot.runs.curve.Clear();
        for (int i = 0; i < 5; ++i)
            snapshot.runs.curve.rows[i] = {1.5 * i * i, 100.0 * i};
        snapshot.runs.reachedStep = 5;
        window.Open([this] { return snapshot; });
    }
    QLineEdit* Field(const char* name) { return window.findChild<QLineEdit*>(name); }
    void Click(const char* name) { testing::Click(&window, name); }
    // The print dialog answered by `answer`, printing into `pdf`; the copies it was asked for.
    void PrintInto(
        const QString& pdf, std::function<bool()> answer = [] { return true; }) {
        ReportWindow::SetPrintDialogHook([this, pdf, answer](QPrinter& printer, QWidget*) {
            askedCopies = printer.copyCount();
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(pdf);
            return answer();
        });
    }

    ReportSnapshot snapshot;
    ReportWindow window;
    int askedCopies = 0;
};

// The typed title and the fields as they are when "Visualizar" is clicked; the pages turn up
// to the last and back to the first; the preview's "Imprimir" prints, and a cancelled print
// dialog leaves the preview.
TEST_F(ReportWindowTest, PreviewReadsTheCurrentFieldsAndPages) {
    Field("titleField")->clear();
    QTest::keyClicks(Field("titleField"), "Exemplo 2");
    snapshot.results.safety = "0.98";
    Click("previewButton");
    EXPECT_EQ(window.PageTotal(), 2);  // 44 counted body lines after the first, lines 8..51
    const std::vector<std::string> first = window.PreviewTexts();
    EXPECT_EQ(first[4], "Denominação: Exemplo 2");
    for (const char* button : {"forwardButton", "forwardButton"})
        Click(button);
    EXPECT_EQ(window.PageToShow(), 2);
    EXPECT_EQ(Field("pageField")->text(), "2");
    const std::vector<std::string> last = window.PreviewTexts();
    EXPECT_NE(std::find(last.begin(), last.end(), "As= 8 cm2     Coeficiente de segurança S= 0.98"),
              last.end());
    for (const char* button : {"backButton", "backButton"})
        Click(button);
    EXPECT_EQ(window.PageToShow(), 1);
    EXPECT_EQ(window.PreviewTexts(), first);

    int dialogs = 0;
    PrintInto(dir.filePath("impresso.pdf"), [&dialogs] { return ++dialogs > 1; });
    Click("returnButton");
    EXPECT_TRUE(window.findChild<QPushButton*>("forwardButton")->isVisible());
    Click("returnButton");
    EXPECT_EQ(dialogs, 2);
    EXPECT_TRUE(QFile::exists(dir.filePath("impresso.pdf")));
    EXPECT_TRUE(window.PreviewTexts().empty());
}

// Printed: the sheet of text and the chart sheet, once per copy, and no chart sheet without a
// curve. PDF: the same two pages. Text: one sheet, no chart. Write errors name the file.
TEST_F(ReportWindowTest, PrintPdfAndTextPages) {
    if (QStandardPaths::findExecutable("pdfinfo").isEmpty()) GTEST_SKIP() << "no pdfinfo";
    const QString printed = dir.filePath("impresso.pdf");
    PrintInto(printed);
    Field("copiesField")->setText("2");
    Click("printButton");
    EXPECT_EQ(askedCopies, 2);
    EXPECT_EQ(PdfPages(printed), 4);

    files.saveName = dir.filePath("relatorio.pdf");
    Click("savePdfButton");
    EXPECT_EQ(PdfPages(files.saveName), 2);
    files.saveName = dir.filePath("relatorio");  // ".txt" is added
    Click("saveTextButton");
    const QByteArray bytes = Saved(files.saveName + ".txt");
    EXPECT_TRUE(bytes.contains("Área da seção de concreto= 800  cm2\n"));
    EXPECT_FALSE(bytes.contains('\f'));
    EXPECT_TRUE(presenter.Texts().empty());

    snapshot.runs.hasCurve = false;
    Field("copiesField")->setText("1");
    Click("printButton");
    EXPECT_EQ(PdfPages(printed), 1);
    QFile::remove(printed);
    PrintInto(printed, [] { return false; });  // a cancelled dialog prints nothing
    Click("printButton");
    EXPECT_FALSE(QFile::exists(printed));

    files.saveName = "/nonexistent-folder/relatorio";
    for (const char* name : {"savePdfButton", "saveTextButton"})
        Click(name);
    ASSERT_EQ(presenter.Texts().size(), 2u);
    EXPECT_TRUE(presenter.Texts()[1].contains("/nonexistent-folder/relatorio"));
}

}  // namespace
}  // namespace tarvelo::ui
