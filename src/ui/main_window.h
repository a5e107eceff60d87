// The main window. Holds the materials, the section kind and counts, the steel area and
// the results; its buttons open the other windows and run the procedures in their order.
#pragma once

#include <array>
#include <functional>
#include <memory>
#include <vector>

#include <QMainWindow>
#include <QPointer>

#include "chart_window.h"
#include "engine/column_model.h"
#include "model/column_data.h"
#include "model/field_table.h"
#include "model/input_rules.h"
#include "model/section_geometry.h"
#include "procedures/procedure_host.h"
#include "report/report_snapshot.h"
#include "workflow.h"

class QAction;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QToolBar;

namespace tarvelo::ui {

class AboutWindow;
class ChartWindow;
class EnvelopeWindow;
class FieldSet;
class HelpWindow;
class LoadsWindow;
class ProgressWindow;
class ReportWindow;
class SectionDrawingWindow;
class SectionWindow;
using report::ReportSnapshot;

class MainWindow : public QMainWindow {
    Q_OBJECT
  public:
    explicit MainWindow(QWidget* parent = nullptr);
    ~MainWindow() override;

    // The column as the three windows hold it, and the way back (one place for both).
    ColumnData CollectColumnData() const;
    void ApplyColumnData(const ColumnData& data);

    // "Abrir" and "Salvar" once a file is chosen. False after a message; a failed read leaves
    // every field as it was.
    bool OpenColumnFile(const QString& path);
    bool SaveColumnFile(const QString& path);

    // Before the column on the screen is replaced or the program ends: with unsaved changes,
    // asks "Salvar as alterações em …?" and saves on Yes. True when the column may go.
    bool MayDiscardChanges();

    // What the report reads when it is produced.
    ReportSnapshot Snapshot() const;

    // Called on "Sair" (after Yes) and when the window is closed; the program shows its exit
    // window there.
    void SetExitHandler(std::function<void()> handler) { exitHandler_ = std::move(handler); }

    // The toolbar's actions, left to right.
    struct ToolbarActions {
        QAction* open = nullptr;
        QAction* save = nullptr;
        QAction* print = nullptr;
        QAction* help = nullptr;
        QAction* curve = nullptr;  // the curve icon: enabled once a curve was drawn
        QAction* about = nullptr;
        QAction* exit = nullptr;
    };
    const ToolbarActions& Actions() const { return actions_; }
    QToolBar* Toolbar() const { return toolbar_; }

    SectionWindow* Section() const { return section_.get(); }
    LoadsWindow* Loads() const { return loads_.get(); }
    SectionDrawingWindow* Drawing() const { return drawing_.get(); }
    ProgressWindow* Progress() const { return progress_.get(); }
    HelpWindow* Help() const { return help_.get(); }
    AboutWindow* About() const { return about_.get(); }
    ChartWindow* Chart();
    EnvelopeWindow* Envelope();
    ReportWindow* Report() const;

    // State kept from the last run for the chart and the report.
    const report::RunRecord& Runs() const { return runs_; }
    bool IsRunning() const { return running_; }

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    class Host;
    friend class Host;

    void BuildFields();
    QWidget* BuildCentralWidget();
    void BuildToolbar();
    void ConnectWindows();

    // Buttons.
    void OpenSectionWindow();
    void DrawSection();
    void OpenLoadsWindow();
    void Verify();
    void Design();
    void ShowCurve();
    void ShowEnvelope();
    void ConfirmLoads();  // "OK" of the loads window
    // Toolbar.
    void OpenFile();
    bool SaveFile();  // true when the column was saved
    void OpenReport();
    void ShowHelp(const QWidget* owner);
    void FillSteelAreaFromBars();  // the bar diameter chooser
    void ShowAbout();
    void AskExit();

    void RunProcedure(bool design);
    void SectionKindChosen();
    void HideAuxiliaryWindows();  // drawing, chart and help
    // Every input widget of the three windows marks the column changed.
    void WatchChanges();
    // The title's "*": whether the column differs from what was last opened, saved or started.
    void ShowModified();
    void MarkSaved(const QString& path);
    QWidget* DialogParent();  // this window, or none while it is disabled
    // Gives the input to `holder` (None gives it back to this window) and shows the result.
    void HoldInput(Workflow::Holder holder);
    // Every enabled state of this window's controls, from workflow_.
    void ShowWorkflow();
    void FocusOn(FocusTarget target);
    QWidget* FocusWidget(FocusTarget target) const;

    std::unique_ptr<FieldSet> fields_;  // the input fields of this window
    QLabel* vertexCountLabel_ = nullptr;
    QLineEdit* safetyField_ = nullptr;            // "Coeficiente de segurança S="
    QLineEdit* requiredSteelField_ = nullptr;     // "Armadura calculada (cm2)="
    QLineEdit* minimumSteelField_ = nullptr;      // "Armadura mínima (cm2)="
    QLineEdit* refinedSafetyField_ = nullptr;     // "S refinado ="
    QLineEdit* refinedRequiredField_ = nullptr;   // "Armadura refinada (cm2) ="
    QLabel* governingSLabel_ = nullptr;           // "Combinação crítica: …" under S
    QLabel* governingAreaLabel_ = nullptr;        // the same under the calculated area
    std::array<QRadioButton*, 5> kindOptions_{};  // by SectionType
    QComboBox* barDiameterChooser_ = nullptr;     // fills the steel area from the bar count
    QPushButton* sectionDataButton_ = nullptr;
    QPushButton* drawSectionButton_ = nullptr;
    QPushButton* loadsButton_ = nullptr;
    QPushButton* verifyButton_ = nullptr;
    QPushButton* designButton_ = nullptr;
    QPushButton* loadCurveButton_ = nullptr;
    QPushButton* envelopeButton_ = nullptr;
    QToolBar* toolbar_ = nullptr;
    ToolbarActions actions_;

    std::unique_ptr<SectionWindow> section_;
    std::unique_ptr<LoadsWindow> loads_;
    std::unique_ptr<SectionDrawingWindow> drawing_;
    std::unique_ptr<ProgressWindow> progress_;
    std::unique_ptr<HelpWindow> help_;
    std::unique_ptr<AboutWindow> about_;
    std::unique_ptr<ChartWindow> chart_;
    std::unique_ptr<EnvelopeWindow> envelope_;
    QPointer<ReportWindow> report_;

    std::function<void()> exitHandler_;
    std::string title_;  // example title of the column file
    QString filePath_;
    ColumnData savedData_;       // as last opened, saved or started
    bool applyingData_ = false;  // ApplyColumnData is filling the widgets
    bool running_ = false;
    Workflow workflow_;

    // Kept from the last run.
    report::RunRecord runs_;  // curve, load step, section constants, conclusion, for the report
    std::vector<report::ReportCase> reportCases_;  // the last run of several load cases
    std::vector<CaseCurve> caseCurves_;            // its curves, for the chart's case selector
    int governingCurve_ = -1;                      // the governing case's among them
    bool envelopeFromDesign_ = false;              // the envelope has the designed steel
};

}  // namespace tarvelo::ui
