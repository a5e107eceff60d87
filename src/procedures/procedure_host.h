// What the procedures need from whoever runs them (the windows, the command line, the tests):
// message boxes, the focus, the progress window, the result fields and enabled states.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "engine/column_model.h"
#include "model/input_rules.h"

namespace tarvelo {

// Result fields of the main window.
enum class ResultField {
    TotalSteelArea,     // "Área total de aço (cm2):" (emptied by the design)
    SafetyCoefficient,  // "Coeficiente de segurança S="
    RequiredSteel,      // "Armadura calculada (cm2)="
    MinimumSteel,       // "Armadura mínima (cm2)="
    // The refined results, beside S and the calculated area.
    RefinedSafetyCoefficient,  // "S refinado ="
    RefinedRequiredSteel,      // "Armadura refinada (cm2) ="
};

// Controls whose enabled state the procedures change.
enum class Control {
    MainWindow,    // the main window as a whole (disabled while an analysis runs)
    LoadCurve,     // the "Curva carga-flecha" button
    ToolbarSave,   // the toolbar's "Salvar"
    ToolbarPrint,  // the toolbar's "Imprimir"
    ToolbarHelp,   // the toolbar's "Ajuda"
};

class ProcedureHost : public ProgressSink {
  public:
    // A modal warning box (exclamation icon, OK).
    virtual void ShowWarning(std::string_view title, std::string_view text) = 0;
    // A modal question box (question icon, Yes and No); true for Yes.
    virtual bool AskYesNo(std::string_view title, std::string_view text) = 0;
    // The control that receives the focus after a box that ended the run.
    virtual void SetFocus(FocusTarget /*target*/) {}
    // A progress line ("  Iteração =  1", "  Etapa de carga =  12") for the progress window.
    void ProgressLine(std::string_view /*line*/) override {}
    virtual void ShowProgressWindow(bool /*visible*/) {}
    virtual void ClearProgress() {}
    // The progress window's whole text at once, replacing what it shows (the cases of a run that
    // go side by side).
    virtual void ReplaceProgress(const std::vector<std::string>& lines) {
        ClearProgress();
        for (const std::string& line : lines)
            ProgressLine(line);
    }
    // Work that prints no progress line is running (the refinement's trials): a window gets its
    // chance to repaint and to show its progress window.
    virtual void KeepResponsive() {}
    virtual void SetResultText(ResultField /*field*/, const std::string& /*text*/) {}
    virtual void SetEnabled(Control /*control*/, bool /*enabled*/) {}
    // Hide the section drawing and chart windows (start of every run).
    virtual void HideDrawingAndChart() {}
};

}  // namespace tarvelo
