// What the procedures need from whoever runs them (the windows, the command line, the tests):
// message boxes, the focus, the progress window, the result fields and enabled states.
#pragma once

#include <string>
#include <string_view>

#include "engine/column_model.h"
#include "model/input_rules.h"

namespace tarvelo {

// Result fields of the main window.
enum class ResultField {
    TotalSteelArea,     // Text6 "Área total de aço (cm2):" (emptied by the design)
    SafetyCoefficient,  // Text11 "Coeficiente de segurança S="
    RequiredSteel,      // Text12 "Armadura calculada (cm2)="
    MinimumSteel,       // Text13 "Armadura mínima (cm2)="
};

// Controls whose enabled state the procedures change.
enum class Control {
    MainWindow,    // Form17 as a whole (disabled while an analysis runs)
    LoadCurve,     // Command8 "Curva carga-flecha"
    ToolbarSave,   // toolbar button 2 "Salvar"
    ToolbarPrint,  // toolbar button 3 "Imprimir"
    ToolbarHelp,   // toolbar button 4 "Ajuda"
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
    virtual void SetResultText(ResultField /*field*/, const std::string& /*text*/) {}
    virtual void SetEnabled(Control /*control*/, bool /*enabled*/) {}
    // Hide the section drawing and chart windows (start of every run).
    virtual void HideDrawingAndChart() {}
};

}  // namespace tarvelo
