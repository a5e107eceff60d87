// A host without windows: records every message, answer, field and progress line. The command
// line and the tests run the procedures through it.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "procedures/procedure_host.h"

namespace tarvelo {

class RecordingHost : public ProcedureHost {
  public:
    struct Box {
        std::string title;
        std::string text;
        bool question = false;
        bool answer = false;  // Yes for a question
    };

    // Questions are answered with this (No goes on with the run).
    bool answerYes = false;
    // Keep progress lines (a design prints thousands); off by default.
    bool keepProgress = false;

    std::vector<Box> boxes;
    std::vector<std::string> progress;
    long progressLines = 0;
    std::map<ResultField, std::string> fields;
    std::map<Control, bool> enabled;
    FocusTarget focus = FocusTarget::None;

    void ShowWarning(std::string_view title, std::string_view text) override {
        boxes.push_back({std::string(title), std::string(text), false, false});
    }
    bool AskYesNo(std::string_view title, std::string_view text) override {
        boxes.push_back({std::string(title), std::string(text), true, answerYes});
        return answerYes;
    }
    void SetFocus(FocusTarget target) override { focus = target; }
    void ProgressLine(std::string_view line) override {
        ++progressLines;
        if (keepProgress) progress.emplace_back(line);
    }
    void SetResultText(ResultField field, const std::string& text) override {
        fields[field] = text;
    }
    void SetEnabled(Control control, bool on) override { enabled[control] = on; }

    std::vector<std::string> Messages() const {
        std::vector<std::string> texts;
        for (const Box& b : boxes)
            texts.push_back(b.text);
        return texts;
    }
};

}  // namespace tarvelo
