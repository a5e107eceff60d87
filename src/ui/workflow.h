// How far the user has come with the column and what holds the input. The main window keeps one
// of these and derives every enabled control from it in MainWindow::ShowWorkflow.
#pragma once

namespace tarvelo::ui {

struct Workflow {
    // The input steps in their order. Each one enables the button of the next; a step once
    // reached is never lost, and opening a column file reaches them all.
    enum class Step {
        Start,           // only "Dados da seção"
        SectionSized,    // the section window opened with valid counts: "Ver seção"
        SectionDrawn,    // the section was drawn: "Carregamento"
        LoadsConfirmed,  // the loads passed their checks: "VERIFICAR" and "DIMENSIONAR"
    };
    // What holds the input; the main window is disabled while anything does.
    enum class Holder { None, SectionWindow, LoadsWindow, ReportWindow, Analysis };

    Step step = Step::Start;
    Holder holder = Holder::None;
    bool verified = false;       // a verification completed once: "Imprimir" ("Salvar" always is)
    bool curveReady = false;     // the last verification left its curve: "Curva carga-flecha"
    bool curveShown = false;     // a curve was drawn: the toolbar's curve button
    bool envelopeReady = false;  // the last run completed: "Envoltória resistente"
    // A run of several load cases named its governing case beside the value it gave: beside S
    // for a verification, beside the calculated area for a design. Each goes with its field.
    bool governingBesideS = false;
    bool governingBesideArea = false;

    void Reach(Step reached) {
        if (reached > step) step = reached;
    }
};

}  // namespace tarvelo::ui
