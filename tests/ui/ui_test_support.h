// Test doubles for the windows (a presenter that records every box and answers questions from
// a script, a file chooser that names files, a beep counter) and the setup the tests share.
#pragma once

#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QDropEvent>
#include <QFile>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QString>
#include <QTemporaryDir>
#include <QToolBar>
#include <QtTest/QTest>

#include "file_chooser.h"
#include "key_filters.h"
#include "main_window.h"
#include "message_presenter.h"
#include "procedures/column_file.h"
#include "report_window.h"

namespace tarvelo::ui::testing {

struct RecordedBox {
    enum Kind { Warning, Question, Information, AskSave };
    Kind kind;
    QString text;
    bool defaultNo = false;
};

// Questions answered from the scripts in order (No, Cancel when a script runs out), or by the
// random answers when they are set.
class ScriptedPresenter : public MessagePresenter {
  public:
    std::vector<RecordedBox> boxes;
    std::deque<bool> answers;
    std::deque<SaveAnswer> saveAnswers;
    std::function<bool()> randomYes;
    std::function<SaveAnswer()> randomSave;

    void Warning(QWidget*, const QString&, const QString& text) override {
        boxes.push_back({RecordedBox::Warning, text});
    }
    bool Question(QWidget*, const QString&, const QString& text, bool defaultNo) override {
        boxes.push_back({RecordedBox::Question, text, defaultNo});
        if (randomYes) return randomYes();
        return !answers.empty() && Next(answers);
    }
    void Information(QWidget*, const QString&, const QString& text) override {
        boxes.push_back({RecordedBox::Information, text});
    }
    SaveAnswer AskSave(QWidget*, const QString&, const QString& text) override {
        boxes.push_back({RecordedBox::AskSave, text});
        if (randomSave) return randomSave();
        return saveAnswers.empty() ? SaveAnswer::Cancel : Next(saveAnswers);
    }
    QStringList Texts() const {
        QStringList texts;
        for (const RecordedBox& b : boxes)
            texts << b.text;
        return texts;
    }

  private:
    template <typename T>
    static T Next(std::deque<T>& script) {
        const T answer = script.front();
        script.pop_front();
        return answer;
    }
};

// Names the files of the script, or those the random choice gives when it is set.
class ScriptedFiles : public FileChooser {
  public:
    QString openName;
    QString saveName;
    int asked = 0;
    std::function<QString()> randomName;
    QString OpenFileName(QWidget*, const QString&, const QString&) override {
        ++asked;
        return randomName ? randomName() : openName;
    }
    QString SaveFileName(QWidget*, const QString&, const QString&, const QString&) override {
        ++asked;
        return randomName ? randomName() : saveName;
    }
};

// Installs the doubles for every test of a fixture, and gives it a folder for its files.
class WindowTest : public ::testing::Test {
  protected:
    void SetUp() override {
        SetPresenter(&presenter);
        SetFileChooser(&files);
        SetBeepHandler([this] { ++beeps; });
    }
    void TearDown() override {
        SetPresenter(nullptr);
        SetFileChooser(nullptr);
        SetBeepHandler(nullptr);
        ReportWindow::SetPrintDialogHook(nullptr);
    }
    // A file of the test folder holding `bytes`; its path.
    QString Write(const QString& name, const QByteArray& bytes) {
        QFile file(dir.filePath(name));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly)) << name.toStdString();
        file.write(bytes);
        return file.fileName();
    }
    // What a file (of the test folder, or anywhere when absolute) holds; empty when unreadable.
    QByteArray Saved(const QString& name) const {
        QFile file(QDir(dir.path()).filePath(name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    ScriptedPresenter presenter;
    ScriptedFiles files;
    QTemporaryDir dir;
    int beeps = 0;
};

inline QString ExamplePath(const char* name) {
    return QStringLiteral(TARVELO_EXAMPLES "/") + QString::fromLatin1(name);
}

// A column of examples/ as the file reader gives it.
inline ColumnData ReadExample(const char* name) {
    ColumnData data;
    std::string error;
    EXPECT_TRUE(ReadColumnFile(ExamplePath(name).toStdString(), data, error)) << error;
    return data;
}

// A mouse click on the push button of that object name.
inline void Click(QWidget* window, const char* name) {
    auto* button = window->findChild<QPushButton*>(QString::fromLatin1(name));
    ASSERT_NE(button, nullptr) << name;
    QTest::mouseClick(button, Qt::LeftButton);
}

// A drag that enters `target` and drops `text` at `at`.
inline void Drop(QWidget* target, QPoint at, const QString& text) {
    QMimeData data;
    data.setText(text);
    QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &enter);
    QDropEvent drop(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &drop);
}

// A shown main window whose "Sair" only counts.
class MainWindowTest : public WindowTest {
  protected:
    void SetUp() override {
        WindowTest::SetUp();
        window = std::make_unique<MainWindow>();
        window->SetExitHandler([this] { ++exits; });
        window->show();
    }
    void TearDown() override {
        window.reset();
        WindowTest::TearDown();
    }
    QLineEdit* Field(const char* name) const {
        return window->findChild<QLineEdit*>(QString::fromLatin1(name));
    }
    QString Text(const char* name) const { return Field(name)->text(); }
    void Type(QLineEdit* field, const QString& text) {
        field->clear();
        QTest::keyClicks(field, text);
    }
    QString LastBox() const {
        return presenter.boxes.empty() ? QString() : presenter.boxes.back().text;
    }
    void Click(const char* name) { testing::Click(window.get(), name); }
    // Own enabled state, whether or not the window around it is disabled.
    bool Enabled(const char* name) const {
        return window->findChild<QPushButton*>(QString::fromLatin1(name))
            ->isEnabledTo(window.get());
    }
    void Trigger(QAction* action) {
        QTest::mouseClick(window->Toolbar()->widgetForAction(action), Qt::LeftButton);
    }
    // "Abrir" of an example; no box expected.
    void OpenExample(const char* name) {
        files.openName = ExamplePath(name);
        Trigger(window->Actions().open);
        EXPECT_TRUE(presenter.boxes.empty()) << presenter.Texts().join("\n").toStdString();
    }

    std::unique_ptr<MainWindow> window;
    int exits = 0;
};

}  // namespace tarvelo::ui::testing
