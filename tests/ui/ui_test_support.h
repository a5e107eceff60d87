// Test doubles for the windows: a presenter that records every box and answers questions from
// a script, a file chooser that names files, and a beep counter.
#pragma once

#include <gtest/gtest.h>

#include <deque>
#include <vector>

#include <QApplication>
#include <QString>

#include "file_chooser.h"
#include "key_filters.h"
#include "message_presenter.h"

namespace tarvelo::ui::testing {

struct RecordedBox {
    enum Kind { Warning, Question, Information, AskSave };
    Kind kind;
    QString title;
    QString text;
    bool defaultNo = false;
    QWidget* parent = nullptr;
};

class ScriptedPresenter : public MessagePresenter {
  public:
    std::vector<RecordedBox> boxes;
    std::deque<bool> answers;            // for the questions, in order; No when the script runs out
    std::deque<SaveAnswer> saveAnswers;  // for AskSave; Cancel when the script runs out

    void Warning(QWidget* parent, const QString& title, const QString& text) override {
        boxes.push_back({RecordedBox::Warning, title, text, false, parent});
    }
    bool Question(QWidget* parent, const QString& title, const QString& text,
                  bool defaultNo) override {
        boxes.push_back({RecordedBox::Question, title, text, defaultNo, parent});
        if (answers.empty()) return false;
        const bool answer = answers.front();
        answers.pop_front();
        return answer;
    }
    void Information(QWidget* parent, const QString& title, const QString& text) override {
        boxes.push_back({RecordedBox::Information, title, text, false, parent});
    }
    SaveAnswer AskSave(QWidget* parent, const QString& title, const QString& text) override {
        boxes.push_back({RecordedBox::AskSave, title, text, false, parent});
        if (saveAnswers.empty()) return SaveAnswer::Cancel;
        const SaveAnswer answer = saveAnswers.front();
        saveAnswers.pop_front();
        return answer;
    }
    QStringList Texts() const {
        QStringList texts;
        for (const RecordedBox& b : boxes)
            texts << b.text;
        return texts;
    }
};

class ScriptedFiles : public FileChooser {
  public:
    QString openName;
    QString saveName;
    int asked = 0;
    QString OpenFileName(QWidget*, const QString&, const QString&) override {
        ++asked;
        return openName;
    }
    QString SaveFileName(QWidget*, const QString&, const QString&, const QString&) override {
        ++asked;
        return saveName;
    }
};

// Installs the doubles for every test of a fixture.
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
    }

    ScriptedPresenter presenter;
    ScriptedFiles files;
    int beeps = 0;
};

}  // namespace tarvelo::ui::testing
