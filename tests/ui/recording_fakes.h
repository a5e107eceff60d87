// Fakes for the chart and report window tests: a presenter that records warnings and answers
// No, and a file chooser that returns one fixed name.
#pragma once

#include <QString>
#include <vector>

#include "file_chooser.h"
#include "message_presenter.h"

namespace tarvelo::ui {

class RecordingPresenter : public MessagePresenter {
  public:
    std::vector<QString> warnings;
    void Warning(QWidget*, const QString&, const QString& text) override {
        warnings.push_back(text);
    }
    bool Question(QWidget*, const QString&, const QString&, bool) override { return false; }
    void Information(QWidget*, const QString&, const QString&) override {}
    SaveAnswer AskSave(QWidget*, const QString&, const QString&) override {
        return SaveAnswer::Cancel;
    }
};

class FixedChooser : public FileChooser {
  public:
    QString name;
    QString OpenFileName(QWidget*, const QString&, const QString&) override { return name; }
    QString SaveFileName(QWidget*, const QString&, const QString&, const QString&) override {
        return name;
    }
};

}  // namespace tarvelo::ui
