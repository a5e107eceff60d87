// Writes a picture of every window of the program into a folder:
//   tarvelo_screenshots <folder>
// scripts/screenshots runs it on Qt's offscreen platform for docs/screens. The windows are
// driven as a user would: an example is opened, verified, its section drawn, and so on.
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest/QTest>

#include <cstdio>
#include <cstdlib>

#include "about_window.h"
#include "cases_table.h"
#include "chart_window.h"
#include "envelope_window.h"
#include "help_window.h"
#include "loads_window.h"
#include "main_window.h"
#include "message_presenter.h"
#include "procedures/column_file.h"
#include "procedures/load_cases.h"
#include "progress_window.h"
#include "report_render.h"
#include "report_window.h"
#include "section_drawing.h"
#include "section_window.h"
#include "startup_windows.h"

namespace tarvelo::ui {
namespace {

// No message box belongs in the pictures: one that shows up is printed and fails the run
// instead of waiting for a click.
class UnexpectedBoxes : public MessagePresenter {
  public:
    int count = 0;
    void Warning(QWidget*, const QString&, const QString& text) override { Print(text); }
    bool Question(QWidget*, const QString&, const QString& text, bool) override {
        Print(text);
        return false;
    }
    void Information(QWidget*, const QString&, const QString& text) override { Print(text); }
    SaveAnswer AskSave(QWidget*, const QString&, const QString& text) override {
        Print(text);
        return SaveAnswer::Cancel;
    }

  private:
    void Print(const QString& text) {
        ++count;
        std::fprintf(stderr, "mensagem inesperada: %s\n", qPrintable(text));
    }
};

class Pictures {
  public:
    explicit Pictures(const QString& dir) : dir_(dir) {}
    QString Path(const QString& name) const { return dir_ + QLatin1Char('/') + name; }
    void Save(QWidget* window, const char* name, int waitMs = 30) {
        window->show();
        QTest::qWait(waitMs);
        if (!window->grab().save(Path(QString::fromLatin1(name) + QStringLiteral(".png")))) {
            std::fprintf(stderr, "não foi possível gravar %s\n", name);
            ++failures;
        }
    }
    int failures = 0;

  private:
    QString dir_;
};

// Buttons are found by their object names; a name that is gone ends the run.
void Click(QWidget* window, const char* name) {
    QPushButton* button = window->findChild<QPushButton*>(QString::fromLatin1(name));
    if (button == nullptr) {
        std::fprintf(stderr, "botão %s não encontrado\n", name);
        std::exit(1);
    }
    button->click();
}

QString Example(const char* name) {
    return QStringLiteral(TARVELO_EXAMPLES "/%1").arg(QString::fromLatin1(name));
}

// The chart, the report dialog and its preview, and two pages of the PDF of a verification.
void SaveReportPictures(const ReportSnapshot& s, Pictures& pictures) {
    ChartWindow chart;
    LoadDeflectionCurve curve = s.runs.curve;
    chart.DrawCurve(curve, s.runs.reachedStep, s.TopFree());
    pictures.Save(&chart, "chart-window", 50);

    ReportWindow report;
    report.Open([&] { return s; }, true);  // after a completed verification
    pictures.Save(&report, "report-dialog", 50);
    Click(&report, "previewButton");
    pictures.Save(&report, "report-preview", 50);

    QTemporaryDir tmp;
    const QString pdf = tmp.filePath(QStringLiteral("relatorio.pdf"));
    QString error;
    if (!WriteReportPdf(s, pdf, error)) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        ++pictures.failures;
        return;
    }
    const QString lastPage = QString::number(PrintedReport(s).Pages().size());
    for (const auto& [first, name] : {std::pair{QStringLiteral("1"), "report-pdf-page1"},
                                      std::pair{lastPage, "report-pdf-chart-page"}}) {
        QProcess::execute(QStringLiteral("pdftoppm"),
                          {QStringLiteral("-png"), QStringLiteral("-r"), QStringLiteral("70"),
                           QStringLiteral("-f"), first, QStringLiteral("-singlefile"), pdf,
                           pictures.Path(QString::fromLatin1(name))});
    }
}

// The envelope windows of three examples (the last with its case selector), and the table of
// the load cases with two rows pasted from a spreadsheet.
void SaveCasePictures(Pictures& pictures) {
    auto read = [&pictures](const char* name) {
        ColumnData data;
        std::string error;
        if (!ReadColumnFile(Example(name).toStdString(), data, error)) {
            std::fprintf(stderr, "%s\n", error.c_str());
            ++pictures.failures;
        }
        return data;
    };
    for (const auto& [file, name] :
         {std::pair{"retangular-esbelto-biaxial.json", "envelope-rectangular"},
          std::pair{"poligonal-L.json", "envelope-L"},
          std::pair{"combinacoes-retangular.json", "envelope-cases"}}) {
        EnvelopeWindow envelope;
        pictures.failures += !envelope.ShowEnvelope(read(file), EnvelopeSource::Verification);
        pictures.Save(&envelope, name, 100);
    }

    CasesTableWindow table;
    table.SetCases(Cases(read("combinacoes-retangular.json")));
    table.Grid()->setCurrentCell(4, 0);
    table.Paste(QStringLiteral("Vento -y\t1010\t\t-3,1\t2100\nSísmica\t990,5\t\t\t-1200\n"));
    pictures.Save(&table, "cases-table");
}

int Run(const QString& dir) {
    QDir().mkpath(dir);
    UnexpectedBoxes boxes;
    SetPresenter(&boxes);
    Pictures pictures(dir);
    {
        MainWindow start;
        pictures.Save(&start, "main-window-start");
    }

    MainWindow window;
    window.show();
    window.OpenColumnFile(Example("retangular-esbelto-biaxial.json"));
    Click(&window, "verifyButton");
    pictures.Save(&window, "main-window");
    SaveReportPictures(window.Snapshot(), pictures);

    SectionWindow* section = window.Section();
    Click(&window, "sectionDataButton");
    pictures.Save(section, "section-rectangular");
    Click(section, "okButton");
    Click(&window, "drawSectionButton");
    pictures.Save(window.Drawing(), "section-drawing");
    window.Drawing()->hide();
    Click(&window, "loadsButton");
    pictures.Save(window.Loads(), "loads");
    Click(window.Loads(), "okButton");

    const std::pair<const char*, const char*> kinds[] = {
        {"retangular-vazado-balanco.json", "section-rectangular-hollow"},
        {"circular-macico.json", "section-circular"},
        {"circular-vazado.json", "section-circular-hollow"},
        {"poligonal-L.json", "section-polygonal"}};
    for (const auto& [example, name] : kinds) {
        window.OpenColumnFile(Example(example));
        Click(&window, "sectionDataButton");
        pictures.Save(section, name);
        Click(section, "okButton");
    }
    Click(&window, "drawSectionButton");
    pictures.Save(window.Drawing(), "section-drawing-polygonal");

    // A column of several load cases: the governing case named under S, and its curve with the
    // selector of the others.
    window.OpenColumnFile(Example("combinacoes-retangular.json"));
    Click(&window, "verifyButton");
    pictures.Save(&window, "main-window-cases");
    Click(&window, "loadCurveButton");
    pictures.Save(window.Chart(), "chart-window-cases", 50);
    // Its design with the minimum moments (45 cases): the running cases in the progress window.
    Click(&window, "loadsButton");
    window.Loads()->findChild<QCheckBox*>(QStringLiteral("minimumMomentsOption"))->setChecked(true);
    Click(window.Loads(), "okButton");
    // The picture is taken while two cases run, each with its last line, if the machine runs
    // two at once; otherwise with one.
    QTimer watch;
    const QString progressPath = pictures.Path(QStringLiteral("progress-cases.png"));
    bool progressSaved = false;
    QObject::connect(&watch, &QTimer::timeout, [&] {
        const qsizetype lines = window.Progress()->Lines().size();
        if (!window.Progress()->isVisible() || lines < 2) return;
        progressSaved = window.Progress()->grab().save(progressPath);
        if (lines >= 4) watch.stop();
    });
    watch.start(40);
    Click(&window, "designButton");
    watch.stop();
    pictures.failures += !progressSaved;

    ProgressWindow progress;
    progress.PrintLine(QStringLiteral("  Iteração =  3"));
    for (int k = 1; k <= 12; ++k)
        progress.PrintLine(QStringLiteral("  Etapa de carga =  %1").arg(k));
    pictures.Save(&progress, "progress");

    pictures.Save(window.About(), "about");
    window.Help()->ShowHelp();
    pictures.Save(window.Help(), "help");
    SplashWindow splash;
    pictures.Save(&splash, "splash");
    BackgroundWindow background;
    background.resize(640, 400);
    pictures.failures += !background.grab().save(pictures.Path(QStringLiteral("background.png")));

    SaveCasePictures(pictures);

    SetPresenter(nullptr);
    return pictures.failures + boxes.count == 0 ? 0 : 1;
}

}  // namespace
}  // namespace tarvelo::ui

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "uso: tarvelo_screenshots <pasta>\n");
        return 2;
    }
    return tarvelo::ui::Run(QString::fromLocal8Bit(argv[1]));
}
