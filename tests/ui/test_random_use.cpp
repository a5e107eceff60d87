// A user who types and clicks at random: random key sequences into every editable field and
// coordinate table, clicks on every enabled button, option and toolbar button in random order,
// windows closed by their title bar, message boxes and file dialogs answered at random (files
// saved, reopened, and hostile ones offered). After every action the program must be idle and
// consistent by each of the rules checked below.
//
// TARVELO_RANDOM_SEED and TARVELO_RANDOM_STEPS change the seed and the number of actions.
#include <QAbstractButton>
#include <QPrinter>
#include <algorithm>
#include <random>

#include "coordinate_grid.h"
#include "loads_window.h"
#include "progress_window.h"
#include "section_window.h"
#include "ui_test_support.h"

namespace tarvelo::ui {
namespace {

class Dice {
  public:
    explicit Dice(unsigned seed) : engine_(seed) {}
    int Below(int n) { return std::uniform_int_distribution<int>(0, n - 1)(engine_); }
    bool Chance(int percent) { return Below(100) < percent; }
    template <typename T>
    T& Pick(std::vector<T>& items) {
        return items[static_cast<std::size_t>(Below(static_cast<int>(items.size())))];
    }

  private:
    std::mt19937 engine_;
};

// The files a dialog may name: saved earlier, missing, or hostile; those without contents are
// not written. In the order the dice know them.
std::vector<QString> WriteTestFiles(const QString& folder) {
    const QByteArray head = "{\"format\":\"tarvelo-column\",\"version\":1,";
    QByteArray rows, many;
    for (int i = 0; i < 400; ++i) {
        if (i < 300) rows += QByteArray(i ? "," : "") + "[\"1\",\"2\"]";
        many += QByteArray::number(i) + " 1\n";
    }
    const std::pair<const char*, QByteArray> files[] = {
        {"lixo.json", head + "\"main\":"},
        {"latin1.json", "{\"title\":\"t\xe9rreo\"}"},
        {"grande.json", QByteArray(int(kMaxColumnFileBytes) + 10, ' ')},
        {"coordenadas.txt", "0 0\n60 0\n60 20\n20 20\n20 60\n0 60\n"},
        {"barras.txt", "4;4\n56;4\n56;16\n16;16\n16;56\n4;56\n"},
        {"ruim.txt", "1 2 3\n\xff\xfe\n"},
        {"muitas.txt", many},
        {"salvo.json", {}},
        {"nao-existe.json", {}},
        {"relatorio.txt", {}},
        {"curva.png", {}},
        {"pontos.txt", {}},
        {"aninhado.json", head + QByteArray(3000, '[') + QByteArray(3000, ']') + "}"},
        {"infinito.json", head + "\"main\":{\"fck\":1e400}}"},
        {"nan.json", head + "\"main\":{\"fck\":\"NaN\",\"Es\":\"-0\"}}"},
        {"negativo.json", head + "\"section\":{\"RectangularSolid\":{\"hx\":\"-20\",\"hy\":\"0\"}},"
                                 "\"main\":{\"barCount\":\"4\"}}"},
        {"linhas.json", head + "\"section\":{\"vertices\":[" + rows + "]}}"},
        {"exemplo.json", {}}};
    std::vector<QString> paths;
    for (const auto& [name, bytes] : files) {
        QFile f(folder + QLatin1Char('/') + name);
        if (!bytes.isEmpty() && f.open(QIODevice::WriteOnly)) f.write(bytes);
        paths.push_back(f.fileName());
    }
    QFile::copy(testing::ExamplePath("poligonal-L.json"), paths.back());
    return paths;
}

// Buttons whose enabled state only ever goes from off to on.
const char* const kOneWayButtons[] = {"drawSectionButton", "loadsButton", "verifyButton",
                                      "designButton"};

bool HasNumberOnly(const QString& text) {
    const QString t = text.trimmed();
    if (t.isEmpty()) return true;
    bool ok = false;
    const double value = t.toDouble(&ok);
    return ok && std::isfinite(value);
}

using RandomUse = testing::MainWindowTest;

TEST_F(RandomUse, ProgramStaysConsistentWhateverIsTypedOrClicked) {
    const auto setting = [](const char* name, int otherwise) {
        return qEnvironmentVariableIsSet(name) ? qEnvironmentVariableIntValue(name) : otherwise;
    };
    const auto seed = static_cast<unsigned>(setting("TARVELO_RANDOM_SEED", 6118));
    const int steps = setting("TARVELO_RANDOM_STEPS", 1500);
    SCOPED_TRACE("seed " + std::to_string(seed));
    Dice dice(seed);
    // Questions answered Yes or No, file dialogs cancelled or naming a test file, at random.
    presenter.randomYes = [&dice] { return dice.Chance(50); };
    presenter.randomSave = [&dice] { return static_cast<SaveAnswer>(dice.Below(3)); };
    std::vector<QString> paths = WriteTestFiles(dir.path());
    files.randomName = [&] { return dice.Chance(30) ? QString() : dice.Pick(paths); };
    // The print dialog: cancelled, or printing into a PDF of the test folder.
    const QString pdf = dir.filePath(QStringLiteral("impresso.pdf"));
    ReportWindow::SetPrintDialogHook([&dice, pdf](QPrinter& printer, QWidget*) {
        if (dice.Chance(80)) return false;
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdf);
        return true;
    });

    QApplication::processEvents();

    std::map<std::string, bool> everEnabled;

    // Keys a user may press in a field or a cell: characters the filters accept and reject,
    // editing and moving keys.
    const std::vector<int> keys = {Qt::Key_0,     Qt::Key_1,         Qt::Key_2,      Qt::Key_5,
                                   Qt::Key_9,     Qt::Key_Period,    Qt::Key_Comma,  Qt::Key_Minus,
                                   Qt::Key_Slash, Qt::Key_E,         Qt::Key_D,      Qt::Key_A,
                                   Qt::Key_Space, Qt::Key_Backspace, Qt::Key_Delete, Qt::Key_Left,
                                   Qt::Key_Right, Qt::Key_Home,      Qt::Key_End,    Qt::Key_Up,
                                   Qt::Key_Down,  Qt::Key_Return,    Qt::Key_Escape, Qt::Key_Tab};
    for (int step = 0; step < steps; ++step) {
        // What a user could reach now: visible, enabled widgets of the visible windows.
        std::vector<QWidget*> fields;
        std::vector<QAbstractButton*> buttons;
        std::vector<QWidget*> windows;
        // In a fixed order, so that a seed replays the same session.
        QWidgetList tops = QApplication::topLevelWidgets();
        std::stable_sort(tops.begin(), tops.end(), [](QWidget* a, QWidget* b) {
            return std::make_pair(QString(a->metaObject()->className()), a->objectName()) <
                   std::make_pair(QString(b->metaObject()->className()), b->objectName());
        });
        for (QWidget* top : tops) {
            if (!top->isVisible()) continue;
            if (top != window.get()) windows.push_back(top);
            for (QLineEdit* e : top->findChildren<QLineEdit*>())
                if (e->isVisible() && e->isEnabled() && !e->isReadOnly()) fields.push_back(e);
            for (CoordinateGrid* g : top->findChildren<CoordinateGrid*>())
                if (g->isVisible() && g->isEnabled() && g->rowCount() > 0) fields.push_back(g);
            for (QAbstractButton* b : top->findChildren<QAbstractButton*>())
                if (b->isVisible() && b->isEnabled()) buttons.push_back(b);
        }

        const ColumnData before = window->CollectColumnData();
        const std::size_t boxesBefore = presenter.boxes.size();
        const int what = dice.Below(100);
        std::string action;
        if (what < 45 && !fields.empty()) {
            QWidget* target = dice.Pick(fields);
            action = "type into " + target->objectName().toStdString();
            target->setFocus();
            if (auto* grid = qobject_cast<CoordinateGrid*>(target))
                grid->setCurrentCell(dice.Below(grid->rowCount()), 1 + dice.Below(2));
            const int count = 1 + dice.Below(6);
            for (int k = 0; k < count && target->isVisible() && target->isEnabled(); ++k)
                QTest::keyClick(target, static_cast<Qt::Key>(keys[dice.Below(int(keys.size()))]));
        } else if (what < 90 && !buttons.empty()) {
            QAbstractButton* target = dice.Pick(buttons);
            action = "click " + target->objectName().toStdString() + " \"" +
                     target->text().toStdString() + "\"";
            QTest::mouseClick(target, Qt::LeftButton);
        } else if (what < 97 && !windows.empty()) {
            QWidget* target = dice.Pick(windows);
            action = "close " + target->objectName().toStdString();
            target->close();
        } else {
            action = "wait";
        }
        QApplication::processEvents();
        SCOPED_TRACE("step " + std::to_string(step) + ": " + action);

        // A file that could not be read changed nothing.
        for (std::size_t b = boxesBefore; b < presenter.boxes.size(); ++b) {
            const QString& text = presenter.boxes[b].text;
            if (text.contains(QString::fromUtf8("não foram alterados")) ||
                text.contains(QString::fromUtf8("Nenhuma coordenada foi alterada"))) {
                ASSERT_TRUE(window->CollectColumnData() == before) << text.toStdString();
            }
        }

        // Idle and responsive: no run in progress, no progress window left behind.
        ASSERT_FALSE(window->IsRunning());
        ASSERT_FALSE(window->Progress()->isVisible());

        // The main window is disabled exactly while a window that owns the input is open.
        const bool ownerOpen = window->Section()->isVisible() || window->Loads()->isVisible() ||
                               (window->Report() != nullptr && window->Report()->isVisible());
        ASSERT_EQ(window->isEnabled(), !ownerOpen);

        // Buttons in their order: each step needs the previous one.
        ASSERT_TRUE(Enabled("sectionDataButton"));
        ASSERT_TRUE(!Enabled("loadsButton") || Enabled("drawSectionButton"));
        ASSERT_EQ(Enabled("verifyButton"), Enabled("designButton"));
        ASSERT_TRUE(!Enabled("verifyButton") || Enabled("loadsButton"));
        ASSERT_TRUE(!Enabled("loadCurveButton") || Enabled("verifyButton"));
        // A stopped run leaves no curve to offer: the button goes with the curve itself.
        ASSERT_TRUE(!Enabled("loadCurveButton") || window->Snapshot().runs.hasCurve);
        const bool print = window->Actions().print->isEnabled();
        ASSERT_TRUE(!print || Enabled("verifyButton"));
        for (const char* name : kOneWayButtons) {
            ASSERT_TRUE(!everEnabled[name] || Enabled(name)) << name << " was disabled again";
            everEnabled[name] = everEnabled[name] || Enabled(name);
        }
        ASSERT_TRUE(!everEnabled["Imprimir"] || print) << "Imprimir was disabled again";
        everEnabled["Imprimir"] = everEnabled["Imprimir"] || print;
        // "Salvar" too: a typed column can be saved before any run.
        ASSERT_TRUE(window->Actions().open->isEnabled());
        ASSERT_TRUE(window->Actions().save->isEnabled());
        ASSERT_TRUE(window->Actions().exit->isEnabled());

        // Results are numbers or blank, never NaN or infinity.
        for (const char* name : {"safetyField", "requiredSteelField", "minimumSteelField"}) {
            const QString text = Text(name);
            ASSERT_TRUE(HasNumberOnly(text)) << name << ": " << text.toStdString();
        }
        if (window->Runs().hasSectionConstants) {
            const SectionConstants& c = window->Runs().sectionConstants;
            ASSERT_TRUE(std::isfinite(c.area) && std::isfinite(c.inertiaX) &&
                        std::isfinite(c.inertiaY) && std::isfinite(c.slendernessX) &&
                        std::isfinite(c.slendernessY));
        }
    }

    // Still responsive: after closing whatever is open, "Dados da seção" answers.
    for (QWidget* top : QApplication::topLevelWidgets())
        if (top != window.get() && top->isVisible()) top->close();
    QApplication::processEvents();
    EXPECT_TRUE(window->isEnabled());
    const std::size_t boxesBefore = presenter.boxes.size();
    Click("sectionDataButton");
    QApplication::processEvents();
    EXPECT_TRUE(window->Section()->isVisible() || presenter.boxes.size() > boxesBefore);
}

}  // namespace
}  // namespace tarvelo::ui
