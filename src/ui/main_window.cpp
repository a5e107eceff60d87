#include "main_window.h"

#include <QAction>
#include <QCloseEvent>
#include <QComboBox>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QToolBar>
#include <QVBoxLayout>

#include "about_window.h"
#include "case_runs.h"
#include "chart_window.h"
#include "coordinate_grid.h"
#include "envelope_window.h"
#include "field_set.h"
#include "file_chooser.h"
#include "help_window.h"
#include "key_filters.h"
#include "loads_window.h"
#include "message_presenter.h"
#include "model/bar_area.h"
#include "procedures/column_file.h"
#include "procedures/load_cases.h"
#include "procedures/procedures.h"
#include "progress_window.h"
#include "report/report_conclusion.h"
#include "report_window.h"
#include "section_drawing.h"
#include "section_window.h"
#include "ui_common.h"

namespace tarvelo::ui {
namespace {

const QString kTitle = QStringLiteral("TARVELO");
const QString kCaption = QStringLiteral(" TARVELO");
const QString kFileFilter = QStringLiteral("Pilar TARVELO (*.json)");
const QString kUntitled = QStringLiteral("Sem título");

constexpr int kFieldWidth = 50;  // pixels

QLineEdit* MakeResultField(const QString& name) {
    auto* field = new QLineEdit;
    field->setObjectName(name);
    SetUpResultField(field);
    field->setFixedWidth(58);
    return field;
}

// "Combinação crítica: 3 — Vento +x" under a result; a long case name wraps.
QLabel* GoverningLabel(const QString& name) {
    auto* label = new QLabel;
    label->setObjectName(name);
    label->setWordWrap(true);
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return label;
}

QLabel* RightLabel(const QString& text) {
    auto* label = new QLabel(text);
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return label;
}

// Group boxes of the main window are packed a little tighter than the style's default.
void Compact(QLayout* layout) {
    layout->setContentsMargins(6, 4, 6, 6);
    layout->setSpacing(4);
}

QPushButton* CalculationButton(const QString& name, const QString& caption, const QString& tip) {
    QPushButton* button = CommandButton(name, caption, tip);
    QFont font = button->font();
    font.setBold(true);
    button->setFont(font);
    return button;
}

}  // namespace

// --- The procedures' view of the windows -----------------------------------------------------

class MainWindow::Host final : public ProcedureHost {
  public:
    Host(MainWindow& window, QWidget* boxParent) : window_(window), boxParent_(boxParent) {}

    void ShowWarning(std::string_view title, std::string_view text) override {
        Presenter().Warning(BoxParent(), ToQ(title), ToQ(text));
    }
    bool AskYesNo(std::string_view title, std::string_view text) override {
        return Presenter().Question(BoxParent(), ToQ(title), ToQ(text), false);
    }
    void SetFocus(FocusTarget target) override { window_.FocusOn(target); }
    void ProgressLine(std::string_view line) override { window_.progress_->PrintLine(ToQ(line)); }
    void ShowProgressWindow(bool visible) override {
        if (visible) {
            window_.progress_->ShowNow();
        } else {
            window_.progress_->Finish();
        }
    }
    void ClearProgress() override { window_.progress_->Clear(); }
    void ReplaceProgress(const std::vector<std::string>& lines) override {
        QStringList text;
        for (const std::string& line : lines)
            text.append(ToQ(line));
        window_.progress_->ShowLines(text);
    }
    void KeepResponsive() override { window_.progress_->KeepResponsive(); }
    void SetResultText(ResultField field, const std::string& text) override {
        QLineEdit* target = nullptr;
        switch (field) {
            case ResultField::TotalSteelArea:
                target = (*window_.fields_)[FieldId::TotalSteelArea];
                break;
            case ResultField::SafetyCoefficient:
                target = window_.safetyField_;
                break;
            case ResultField::RequiredSteel:
                target = window_.requiredSteelField_;
                break;
            case ResultField::MinimumSteel:
                target = window_.minimumSteelField_;
                break;
            case ResultField::RefinedSafetyCoefficient:
                target = window_.refinedSafetyField_;
                break;
            case ResultField::RefinedRequiredSteel:
                target = window_.refinedRequiredField_;
                break;
        }
        target->setText(ToQ(text));
        // The governing case's name goes with the value it was named for.
        Workflow& w = window_.workflow_;
        if (field == ResultField::SafetyCoefficient) w.governingBesideS = false;
        if (field == ResultField::RequiredSteel) w.governingBesideArea = false;
        window_.ShowWorkflow();
    }
    // The procedures name controls; the window turns each into a step of its workflow.
    void SetEnabled(Control control, bool enabled) override {
        Workflow& w = window_.workflow_;
        switch (control) {
            case Control::MainWindow:
                window_.HoldInput(enabled ? Workflow::Holder::None : Workflow::Holder::Analysis);
                return;
            case Control::LoadCurve:
                w.curveReady = enabled;
                break;
            case Control::ToolbarSave:
            case Control::ToolbarPrint:
                w.verified = enabled;
                break;
            case Control::ToolbarHelp:
                return;  // "Ajuda" is always enabled
        }
        window_.ShowWorkflow();
    }
    void HideDrawingAndChart() override {
        window_.drawing_->hide();
        if (window_.chart_) window_.chart_->hide();
        if (window_.envelope_) window_.envelope_->hide();
    }

  private:
    // A box must never belong to a disabled window, or it could not be answered: while an
    // analysis runs it belongs to the progress window.
    QWidget* BoxParent() const {
        if (boxParent_ != nullptr && boxParent_->isEnabled()) return boxParent_;
        if (window_.progress_->isVisible()) return window_.progress_.get();
        return window_.isEnabled() ? &window_ : nullptr;
    }

    MainWindow& window_;
    QWidget* boxParent_;
};

// --- Construction ----------------------------------------------------------------------------

MainWindow::MainWindow(QWidget* parent) : QMainWindow(parent) {
    InitResources();
    setObjectName(QStringLiteral("mainWindow"));
    setWindowTitle(kCaption + QStringLiteral("[*]"));

    // The windows this one opens; each is a window of its own (not a child), so that disabling
    // this window while they are open leaves them usable.
    section_ = std::make_unique<SectionWindow>();
    loads_ = std::make_unique<LoadsWindow>();
    drawing_ = std::make_unique<SectionDrawingWindow>();
    progress_ = std::make_unique<ProgressWindow>();
    help_ = std::make_unique<HelpWindow>();
    about_ = std::make_unique<AboutWindow>();

    BuildFields();
    setCentralWidget(BuildCentralWidget());
    BuildToolbar();
    ConnectWindows();

    // Start-up state: every button after "Dados da seção" waits for the step before it, and
    // the vertex count only shows for polygons.
    ShowWorkflow();
    SectionKindChosen();
    WatchChanges();
    savedData_ = CollectColumnData();

    SetClientSize(this, 679, 397);
    CentreOnScreen(this);
}

MainWindow::~MainWindow() {
    if (report_) delete report_.data();
}

void MainWindow::BuildFields() {
    fields_ = std::make_unique<FieldSet>(FieldWindow::Main, kFieldWidth);
    safetyField_ = MakeResultField(QStringLiteral("safetyField"));
    requiredSteelField_ = MakeResultField(QStringLiteral("requiredSteelField"));
    minimumSteelField_ = MakeResultField(QStringLiteral("minimumSteelField"));
    refinedSafetyField_ = MakeResultField(QStringLiteral("refinedSafetyField"));
    refinedRequiredField_ = MakeResultField(QStringLiteral("refinedRequiredField"));
    governingSLabel_ = GoverningLabel(QStringLiteral("governingSLabel"));
    governingAreaLabel_ = GoverningLabel(QStringLiteral("governingAreaLabel"));
    vertexCountLabel_ = RightLabel(QStringLiteral("Número de vértices="));
    vertexCountLabel_->setObjectName(QStringLiteral("vertexCountLabel"));
    // The vertex count comes and goes with the polygonal kind; the layout keeps its place.
    for (QWidget* w : {static_cast<QWidget*>((*fields_)[FieldId::VertexCount]),
                       static_cast<QWidget*>(vertexCountLabel_)}) {
        QSizePolicy policy = w->sizePolicy();
        policy.setRetainSizeWhenHidden(true);
        w->setSizePolicy(policy);
    }

    sectionDataButton_ =
        CommandButton(QStringLiteral("sectionDataButton"), QStringLiteral("Dados da seção"),
                      QStringLiteral("Fornecer dimensões da seção e posição das barras de aço"));
    drawSectionButton_ =
        CommandButton(QStringLiteral("drawSectionButton"), QStringLiteral("Ver seção"),
                      QStringLiteral("Ver um desenho da seção com as armaduras"));
    loadsButton_ =
        CommandButton(QStringLiteral("loadsButton"), QStringLiteral("Carregamento"),
                      QStringLiteral("Fornecer dados do carregamento e condições de contorno"));
    verifyButton_ =
        CalculationButton(QStringLiteral("verifyButton"), QStringLiteral("VERIFICAR"),
                          QStringLiteral("Determinar o coeficiente global de segurança"));
    designButton_ = CalculationButton(QStringLiteral("designButton"), QStringLiteral("DIMENSIONAR"),
                                      QStringLiteral("Calcular a área de aço necessária no pilar"));
    loadCurveButton_ =
        CommandButton(QStringLiteral("loadCurveButton"), QStringLiteral("Curva carga-flecha"),
                      QStringLiteral("Ver o gráfico carga-flecha"));
    envelopeButton_ = CommandButton(
        QStringLiteral("envelopeButton"), QString::fromUtf8("Envoltória resistente"),
        QString::fromUtf8("Ver a envoltória resistente da seção com os momentos de cálculo"));

    barDiameterChooser_ = new QComboBox;
    barDiameterChooser_->setObjectName(QStringLiteral("barDiameterChooser"));
    barDiameterChooser_->setToolTip(
        QStringLiteral("Preencher a área total de aço com o número de barras de aço vezes a área "
                       "de uma barra deste diâmetro"));
    barDiameterChooser_->addItem(QStringLiteral("—"));
    for (double d : kBarDiameters)
        barDiameterChooser_->addItem(QString::number(d), d);
    connect(barDiameterChooser_, &QComboBox::activated, this, &MainWindow::FillSteelAreaFromBars);
}

QWidget* MainWindow::BuildCentralWidget() {
    const FieldSet& field = *fields_;
    // Materials.
    auto* concrete = new QGroupBox(QStringLiteral("Concreto"));
    auto* concreteGrid = new QGridLayout(concrete);
    concreteGrid->addWidget(RightLabel(QStringLiteral("fck (MPa)=")), 0, 0, 1, 2);
    concreteGrid->addWidget(field[FieldId::Fck], 0, 2);
    concreteGrid->addWidget(RightLabel(QStringLiteral("Coef. de fluência:")), 1, 0);
    concreteGrid->addWidget(RightLabel(QStringLiteral("φ=")), 1, 1);
    concreteGrid->addWidget(field[FieldId::CreepCoefficient], 1, 2);
    concreteGrid->setColumnStretch(0, 1);
    Compact(concreteGrid);

    auto* steel = new QGroupBox(QStringLiteral("Aço"));
    auto* steelGrid = new QGridLayout(steel);
    steelGrid->addWidget(RightLabel(QStringLiteral("fyk (MPa)=")), 0, 0);
    steelGrid->addWidget(field[FieldId::Fyk], 0, 1);
    steelGrid->addWidget(RightLabel(QStringLiteral("Es (GPa)=")), 1, 0);
    steelGrid->addWidget(field[FieldId::Es], 1, 1);
    steelGrid->setColumnStretch(0, 1);
    Compact(steelGrid);

    auto* factors = new QGroupBox(QStringLiteral("Coeficientes parciais"));
    auto* factorsGrid = new QGridLayout(factors);
    auto* gammaC = RightLabel(QStringLiteral("γ<sub>c</sub>="));
    gammaC->setTextFormat(Qt::RichText);
    auto* gammaS = RightLabel(QStringLiteral("γ<sub>s</sub>="));
    gammaS->setTextFormat(Qt::RichText);
    factorsGrid->addWidget(RightLabel(QStringLiteral("Concreto:")), 0, 0);
    factorsGrid->addWidget(gammaC, 0, 1);
    factorsGrid->addWidget(field[FieldId::Gamac], 0, 2);
    factorsGrid->addWidget(RightLabel(QStringLiteral("Aço:")), 1, 0);
    factorsGrid->addWidget(gammaS, 1, 1);
    factorsGrid->addWidget(field[FieldId::Gamas], 1, 2);
    factorsGrid->setColumnStretch(0, 1);
    Compact(factorsGrid);

    auto* materials = new QVBoxLayout;
    materials->addWidget(concrete);
    materials->addWidget(steel);
    materials->addWidget(factors);
    materials->addStretch(1);

    // Section.
    auto* kinds = new QGroupBox;
    auto* kindsLayout = new QVBoxLayout(kinds);
    kindsLayout->setSpacing(2);
    kindsLayout->setContentsMargins(6, 4, 6, 4);
    // In the order of SectionType.
    const struct {
        const char* name;
        const char* caption;
    } kindSpecs[5] = {{"rectangularSolidOption", "Retangular maciça"},
                      {"rectangularHollowOption", "Retangular vazada"},
                      {"circularSolidOption", "Circular maciça"},
                      {"circularHollowOption", "Circular vazada"},
                      {"polygonalOption", "Poligonal"}};
    for (std::size_t i = 0; i < kindOptions_.size(); ++i) {
        auto* option = new QRadioButton(QString::fromUtf8(kindSpecs[i].caption));
        option->setObjectName(QString::fromLatin1(kindSpecs[i].name));
        kindsLayout->addWidget(option);
        connect(option, &QRadioButton::clicked, this, &MainWindow::SectionKindChosen);
        kindOptions_[i] = option;
    }
    kindOptions_[0]->setChecked(true);

    auto* section = new QGroupBox(QStringLiteral("Dados da seção"));
    auto* sectionLayout = new QVBoxLayout(section);
    sectionLayout->addWidget(kinds);
    auto* counts = new QGridLayout;
    counts->addWidget(vertexCountLabel_, 0, 0);
    counts->addWidget(field[FieldId::VertexCount], 0, 1);
    counts->addWidget(RightLabel(QStringLiteral("Número de barras de aço=")), 1, 0);
    counts->addWidget(field[FieldId::BarCount], 1, 1);
    counts->setColumnStretch(0, 1);
    sectionLayout->addLayout(counts);
    sectionLayout->addWidget(sectionDataButton_);
    sectionLayout->addWidget(drawSectionButton_);
    sectionLayout->addStretch(1);
    Compact(sectionLayout);

    auto* sectionColumn = new QVBoxLayout;
    sectionColumn->addWidget(section, 1);
    sectionColumn->addWidget(loadsButton_);

    // Verification and design.
    auto* verification = new QGroupBox(QStringLiteral("Verificação"));
    auto* verificationGrid = new QGridLayout(verification);
    verificationGrid->addWidget(RightLabel(QStringLiteral("Área total de aço (cm2):")), 0, 0);
    verificationGrid->addWidget(field[FieldId::TotalSteelArea], 0, 1, Qt::AlignLeft);
    verificationGrid->addWidget(RightLabel(QStringLiteral("Barras de Ø (mm):")), 1, 0);
    verificationGrid->addWidget(barDiameterChooser_, 1, 1, Qt::AlignLeft);
    verificationGrid->addWidget(verifyButton_, 2, 0, 1, 4);
    verificationGrid->addWidget(RightLabel(QStringLiteral("Coeficiente de segurança S=")), 3, 0);
    verificationGrid->addWidget(safetyField_, 3, 1);
    verificationGrid->addWidget(RightLabel(QStringLiteral("S refinado =")), 3, 2);
    verificationGrid->addWidget(refinedSafetyField_, 3, 3);
    verificationGrid->addWidget(governingSLabel_, 4, 0, 1, 4);
    verificationGrid->addWidget(loadCurveButton_, 5, 0, 1, 4);
    verificationGrid->setColumnStretch(0, 1);
    Compact(verificationGrid);

    auto* design = new QGroupBox(QStringLiteral("Dimensionamento"));
    auto* designGrid = new QGridLayout(design);
    designGrid->addWidget(designButton_, 0, 0, 1, 4);
    designGrid->addWidget(RightLabel(QStringLiteral("Armadura calculada (cm2)=")), 1, 0);
    designGrid->addWidget(requiredSteelField_, 1, 1);
    designGrid->addWidget(RightLabel(QStringLiteral("Armadura refinada (cm2) =")), 1, 2);
    designGrid->addWidget(refinedRequiredField_, 1, 3);
    designGrid->addWidget(governingAreaLabel_, 2, 0, 1, 4);
    designGrid->addWidget(RightLabel(QStringLiteral("Armadura mínima (cm2)=")), 3, 0);
    designGrid->addWidget(minimumSteelField_, 3, 1);
    designGrid->setColumnStretch(0, 1);
    Compact(designGrid);

    auto* results = new QVBoxLayout;
    results->addWidget(verification);
    results->addWidget(design);
    results->addWidget(envelopeButton_);
    results->addStretch(1);

    auto* central = new QWidget;
    auto* root = new QHBoxLayout(central);
    root->setContentsMargins(6, 4, 6, 6);
    root->setSpacing(6);
    root->addLayout(materials, 10);
    root->addLayout(sectionColumn, 11);
    root->addLayout(results, 13);
    return central;
}

void MainWindow::BuildToolbar() {
    toolbar_ = new QToolBar(this);
    toolbar_->setObjectName(QStringLiteral("toolbar"));
    toolbar_->setMovable(false);
    toolbar_->setFloatable(false);
    toolbar_->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    toolbar_->setIconSize(QSize(24, 24));
    toolbar_->toggleViewAction()->setVisible(false);
    toolbar_->setContextMenuPolicy(Qt::PreventContextMenu);
    addToolBar(Qt::TopToolBarArea, toolbar_);

    auto add = [this](QAction*& action, const char* name, const char* caption, const char* tip,
                      const char* icon) {
        action = new QAction(QIcon(QString::fromLatin1(icon)), QString::fromUtf8(caption), this);
        action->setObjectName(QString::fromLatin1(name));
        action->setToolTip(QString::fromUtf8(tip));
        toolbar_->addAction(action);
    };
    ToolbarActions& a = actions_;
    add(a.open, "openAction", "Abrir", "Ler dados de arquivo", ":/icons/abrir.svg");
    add(a.save, "saveAction", "Salvar", "Salvar dados em arquivo", ":/icons/salvar.svg");
    add(a.print, "printAction", "Imprimir", "Imprimir relatório", ":/icons/imprimir.svg");
    add(a.help, "helpAction", "Ajuda", "Abrir a ajuda do programa", ":/icons/ajuda.svg");
    add(a.curve, "curveAction", "", "", ":/icons/curva.svg");
    add(a.about, "aboutAction", "TARVELO", "Sobre o programa", ":/icons/tarvelo.svg");
    add(a.exit, "exitAction", "Sair", "Sair do programa", ":/icons/sair.svg");
    connect(a.open, &QAction::triggered, this, &MainWindow::OpenFile);
    connect(a.save, &QAction::triggered, this, &MainWindow::SaveFile);
    connect(a.print, &QAction::triggered, this, &MainWindow::OpenReport);
    connect(a.help, &QAction::triggered, this, [this] { ShowHelp(this); });
    connect(a.about, &QAction::triggered, this, &MainWindow::ShowAbout);
    connect(a.exit, &QAction::triggered, this, &MainWindow::AskExit);
}

void MainWindow::ConnectWindows() {
    connect(sectionDataButton_, &QPushButton::clicked, this, &MainWindow::OpenSectionWindow);
    connect(drawSectionButton_, &QPushButton::clicked, this, &MainWindow::DrawSection);
    connect(loadsButton_, &QPushButton::clicked, this, &MainWindow::OpenLoadsWindow);
    connect(verifyButton_, &QPushButton::clicked, this, &MainWindow::Verify);
    connect(designButton_, &QPushButton::clicked, this, &MainWindow::Design);
    connect(loadCurveButton_, &QPushButton::clicked, this, &MainWindow::ShowCurve);
    connect(envelopeButton_, &QPushButton::clicked, this, &MainWindow::ShowEnvelope);

    connect(section_.get(), &SectionWindow::closed, this, [this](bool confirmed) {
        HoldInput(Workflow::Holder::None);
        if (confirmed) help_->hide();
    });
    connect(section_.get(), &SectionWindow::helpRequested, this,
            [this] { ShowHelp(section_.get()); });
    connect(section_.get(), &SectionWindow::vertexCountChanged, this, [this](int count) {
        (*fields_)[FieldId::VertexCount]->setText(QString::number(count));
    });
    connect(section_.get(), &SectionWindow::barCountChanged, this,
            [this](int count) { (*fields_)[FieldId::BarCount]->setText(QString::number(count)); });

    connect(loads_.get(), &LoadsWindow::confirmRequested, this, &MainWindow::ConfirmLoads);
    connect(loads_.get(), &LoadsWindow::helpRequested, this, [this] { ShowHelp(loads_.get()); });
    connect(loads_.get(), &LoadsWindow::closedWithoutConfirming, this,
            [this] { HoldInput(Workflow::Holder::None); });
}

ChartWindow* MainWindow::Chart() {
    if (!chart_) chart_ = std::make_unique<ChartWindow>();
    return chart_.get();
}

EnvelopeWindow* MainWindow::Envelope() {
    if (!envelope_) envelope_ = std::make_unique<EnvelopeWindow>();
    return envelope_.get();
}

ReportWindow* MainWindow::Report() const {
    return report_.data();
}

// --- Data ------------------------------------------------------------------------------------

ColumnData MainWindow::CollectColumnData() const {
    ColumnData data;
    data.title = title_;
    data.sectionType = SectionType::RectangularSolid;
    for (std::size_t i = 0; i < kindOptions_.size(); ++i) {
        if (kindOptions_[i]->isChecked()) data.sectionType = static_cast<SectionType>(i);
    }
    fields_->Collect(data);
    section_->Collect(data);
    loads_->Collect(data);
    return data;
}

void MainWindow::ApplyColumnData(const ColumnData& data) {
    applyingData_ = true;
    title_ = data.title;
    kindOptions_[static_cast<std::size_t>(data.sectionType)]->setChecked(true);
    SectionKindChosen();
    fields_->Apply(data);
    section_->Apply(data);
    loads_->Apply(data);
    applyingData_ = false;
    ShowModified();
}

void MainWindow::WatchChanges() {
    for (QWidget* window : {static_cast<QWidget*>(this), static_cast<QWidget*>(section_.get()),
                            static_cast<QWidget*>(loads_.get())}) {
        for (QLineEdit* field : window->findChildren<QLineEdit*>()) {
            if (!field->isReadOnly()) {
                connect(field, &QLineEdit::textChanged, this, &MainWindow::ShowModified);
            }
        }
        for (QRadioButton* option : window->findChildren<QRadioButton*>()) {
            connect(option, &QRadioButton::toggled, this, &MainWindow::ShowModified);
        }
    }
    for (CoordinateGrid* grid : {section_->VertexGrid(), section_->BarGrid()}) {
        connect(grid, &QTableWidget::itemChanged, this, &MainWindow::ShowModified);
        connect(grid->model(), &QAbstractItemModel::rowsRemoved, this, &MainWindow::ShowModified);
        connect(grid->model(), &QAbstractItemModel::rowsInserted, this, &MainWindow::ShowModified);
    }
}

void MainWindow::ShowModified() {
    if (!applyingData_) setWindowModified(!(CollectColumnData() == savedData_));
}

void MainWindow::MarkSaved(const QString& path) {
    filePath_ = path;
    setWindowTitle(kCaption + QStringLiteral(" - ") + QFileInfo(path).fileName() +
                   QStringLiteral("[*]"));
    savedData_ = CollectColumnData();
    ShowModified();
}

// The window manager may close this window while another holds the input; a dialog of a
// disabled window could not be answered.
QWidget* MainWindow::DialogParent() {
    return isEnabled() ? this : nullptr;
}

bool MainWindow::MayDiscardChanges() {
    if (!isWindowModified()) return true;
    const QString name = filePath_.isEmpty() ? kUntitled : QFileInfo(filePath_).fileName();
    switch (Presenter().AskSave(DialogParent(), kTitle,
                                QStringLiteral("Salvar as alterações em \"%1\"?").arg(name))) {
        case SaveAnswer::Save:
            return SaveFile();
        case SaveAnswer::Discard:
            return true;
        case SaveAnswer::Cancel:
            break;
    }
    return false;
}

bool MainWindow::OpenColumnFile(const QString& path) {
    const QString name = QFileInfo(path).fileName();
    ColumnData data;
    std::string error;
    if (!ReadColumnFile(FromQ(path), data, error)) {
        Presenter().Warning(this, kTitle,
                            QStringLiteral("Não foi possível ler o arquivo \"%1\".\n\n%2\n\nOs "
                                           "dados não foram alterados.")
                                .arg(name, ToQ(error)));
        return false;
    }
    if (const QString problem = ToQ(TextThatDoesNotFit(data)); !problem.isEmpty()) {
        Presenter().Warning(this, kTitle,
                            QStringLiteral("Não foi possível ler o arquivo \"%1\".\n\n%2\n\nOs "
                                           "dados não foram alterados.")
                                .arg(name, problem));
        return false;
    }
    HideAuxiliaryWindows();
    ApplyColumnData(data);
    // The results on the screen belong to the previous column.
    safetyField_->clear();
    requiredSteelField_->clear();
    minimumSteelField_->clear();
    refinedSafetyField_->clear();
    refinedRequiredField_->clear();
    runs_ = report::RunRecord{};
    workflow_.curveReady = false;
    workflow_.envelopeReady = false;
    workflow_.governingBesideS = false;
    workflow_.governingBesideArea = false;
    reportCases_.clear();
    caseCurves_.clear();
    // A complete column can be calculated at once; the procedures check everything anyway.
    workflow_.Reach(Workflow::Step::LoadsConfirmed);
    ShowWorkflow();
    MarkSaved(path);
    return true;
}

bool MainWindow::SaveColumnFile(const QString& path) {
    std::string error;
    if (!WriteColumnFile(FromQ(path), CollectColumnData(), error)) {
        Presenter().Warning(this, kTitle,
                            QStringLiteral("Não foi possível salvar o arquivo \"%1\".\n\n%2")
                                .arg(QFileInfo(path).fileName(), ToQ(error)));
        return false;
    }
    MarkSaved(path);
    return true;
}

ReportSnapshot MainWindow::Snapshot() const {
    report::ReportResultTexts fields;
    fields.safety = FromQ(safetyField_->text());
    fields.required = FromQ(requiredSteelField_->text());
    fields.minimum = FromQ(minimumSteelField_->text());
    fields.refinedSafety = FromQ(refinedSafetyField_->text());
    fields.refinedRequired = FromQ(refinedRequiredField_->text());
    const ColumnData data = CollectColumnData();
    fields.cases = ReportCasesOf(data, reportCases_);
    return report::MakeReportSnapshot(data, std::move(fields), runs_);
}

// --- Buttons ---------------------------------------------------------------------------------

void MainWindow::SectionKindChosen() {
    const bool polygonal =
        kindOptions_[static_cast<std::size_t>(SectionType::Polygonal)]->isChecked();
    (*fields_)[FieldId::VertexCount]->setVisible(polygonal);
    vertexCountLabel_->setVisible(polygonal);
}

void MainWindow::HideAuxiliaryWindows() {
    drawing_->hide();
    if (chart_) chart_->hide();
    help_->hide();
}

void MainWindow::HoldInput(Workflow::Holder holder) {
    workflow_.holder = holder;
    ShowWorkflow();
}

void MainWindow::ShowWorkflow() {
    using Step = Workflow::Step;
    const Workflow& w = workflow_;
    drawSectionButton_->setEnabled(w.step >= Step::SectionSized);
    loadsButton_->setEnabled(w.step >= Step::SectionDrawn);
    verifyButton_->setEnabled(w.step >= Step::LoadsConfirmed);
    designButton_->setEnabled(w.step >= Step::LoadsConfirmed);
    loadCurveButton_->setEnabled(w.curveReady);
    envelopeButton_->setEnabled(w.envelopeReady);
    governingSLabel_->setVisible(w.governingBesideS);
    governingAreaLabel_->setVisible(w.governingBesideArea);
    actions_.print->setEnabled(w.verified);
    actions_.curve->setEnabled(w.curveShown);
    // The window given back to the user comes to the front.
    const bool free = w.holder == Workflow::Holder::None;
    if (free != isEnabled()) {
        setEnabled(free);
        if (free && isVisible()) {
            raise();
            activateWindow();
        }
    }
}

// The focus target of a refused value: a field of this window names itself in the table;
// the others are the buttons and fields that lead to the value.
QWidget* MainWindow::FocusWidget(FocusTarget target) const {
    switch (target) {
        case FocusTarget::None:
            return nullptr;
        case FocusTarget::SectionData:
        case FocusTarget::SectionVertexGrid:
        case FocusTarget::SectionBarGrid:
            return sectionDataButton_;
        case FocusTarget::Loads:
            return loadsButton_;
        case FocusTarget::LoadsHeight:
            return loads_->Field(FieldId::L);
        case FocusTarget::LoadsAxialForce:
            return loads_->Field(FieldId::Fd);
        default:
            break;
    }
    for (const FieldInfo& row : Fields()) {
        if (row.window == FieldWindow::Main && row.focus == target) return (*fields_)[row.id];
    }
    return nullptr;
}

void MainWindow::FocusOn(FocusTarget target) {
    QWidget* widget = FocusWidget(target);
    if (widget == nullptr) return;
    QWidget* window = widget->window();
    if (window->isVisible()) window->activateWindow();
    widget->setFocus(Qt::OtherFocusReason);
}

void MainWindow::OpenSectionWindow() {
    HideAuxiliaryWindows();
    const ColumnData data = CollectColumnData();
    Host host(*this, this);
    int vertexCount = 0;
    int barCount = 0;
    if (!CheckSectionWindowCounts(data, host, vertexCount, barCount)) return;
    HoldInput(Workflow::Holder::SectionWindow);
    section_->Prepare(data.sectionType, vertexCount, barCount);
    CentreOnFirstShow(section_.get());
    ShowInFront(section_.get(), this);
    workflow_.Reach(Workflow::Step::SectionSized);
    ShowWorkflow();
}

void MainWindow::DrawSection() {
    HideAuxiliaryWindows();
    const ColumnData data = CollectColumnData();
    Host host(*this, this);
    SectionGeometry geometry;
    if (!BuildSectionForDrawing(data, host, geometry)) return;
    drawing_->Draw(geometry);
    PlaceBeside(drawing_.get(), this);
    ShowInFront(drawing_.get(), this);
    workflow_.Reach(Workflow::Step::SectionDrawn);
    ShowWorkflow();
}

void MainWindow::OpenLoadsWindow() {
    HideAuxiliaryWindows();
    CentreOnFirstShow(loads_.get());
    HoldInput(Workflow::Holder::LoadsWindow);
    ShowInFront(loads_.get(), this);
}

void MainWindow::ConfirmLoads() {
    const ColumnData data = CollectColumnData();
    Host host(*this, loads_.get());
    // Every load case through the window's checks; the refused one is shown.
    if (const int refused = CheckLoadsWindowCases(data, host); refused >= 0) {
        if (RunsByCase(data)) loads_->SelectCase(refused);
        return;
    }
    HoldInput(Workflow::Holder::None);
    loads_->hide();
    help_->hide();
    workflow_.Reach(Workflow::Step::LoadsConfirmed);
    ShowWorkflow();
}

void MainWindow::Verify() {
    RunProcedure(false);
}

void MainWindow::Design() {
    RunProcedure(true);
}

void MainWindow::RunProcedure(bool design) {
    if (running_) return;
    running_ = true;
    // The curve on offer belongs to the last completed verification; a run that stops before
    // completing leaves none (a completed verification offers its own).
    workflow_.curveReady = false;
    ShowWorkflow();
    const ColumnData data = CollectColumnData();
    Host host(*this, this);
    std::unique_ptr<AnalysisResult> result;
    QString governing;
    caseCurves_.clear();
    if (RunsByCase(data)) {
        CasesOutcome outcome = RunCasesInWindow(design, data, host, this, reportCases_);
        result = std::move(outcome.result);
        governing = ToQ(outcome.governingLabel);
        caseCurves_ = std::move(outcome.curves);
        governingCurve_ = outcome.governingCurve;
    } else {
        reportCases_.clear();
        result = design ? tarvelo::Design(data, host) : tarvelo::Verify(data, host);
    }
    running_ = false;
    // Every way out of a run leaves the main window usable and the progress window hidden.
    HoldInput(Workflow::Holder::None);
    progress_->Finish();
    if (!result) return;

    runs_.Record(*result, design);
    workflow_.envelopeReady = result->completed;
    envelopeFromDesign_ = design;
    if (!governing.isEmpty()) {
        (design ? governingAreaLabel_ : governingSLabel_)->setText(governing);
        (design ? workflow_.governingBesideArea : workflow_.governingBesideS) = true;
    }
    ShowWorkflow();
    if (!design && result->completed) loadCurveButton_->setFocus(Qt::OtherFocusReason);
}

void MainWindow::ShowCurve() {
    HideAuxiliaryWindows();
    const bool topFree = loads_->TopIsFree();
    if (caseCurves_.empty() ? Chart()->DrawCurve(runs_.curve, runs_.reachedStep, topFree)
                            : Chart()->DrawCaseCurves(caseCurves_, governingCurve_, topFree)) {
        workflow_.curveShown = true;
        ShowWorkflow();
    }
}

void MainWindow::ShowEnvelope() {
    Envelope()->ShowEnvelope(CollectColumnData(), envelopeFromDesign_
                                                      ? EnvelopeSource::Design
                                                      : EnvelopeSource::Verification);
}

// --- Toolbar ---------------------------------------------------------------------------------

void MainWindow::OpenFile() {
    if (!MayDiscardChanges()) return;
    const QString path = Files().OpenFileName(this, QStringLiteral("Abrir"), kFileFilter);
    if (!path.isEmpty()) OpenColumnFile(path);
}

bool MainWindow::SaveFile() {
    const QString suggested = filePath_.isEmpty() ? QStringLiteral("pilar.json") : filePath_;
    QString path =
        Files().SaveFileName(DialogParent(), QStringLiteral("Salvar"), kFileFilter, suggested);
    if (path.isEmpty()) return false;
    if (QFileInfo(path).suffix().isEmpty()) path += QStringLiteral(".json");
    return SaveColumnFile(path);
}

void MainWindow::OpenReport() {
    if (!report_) {
        report_ = new ReportWindow;
        connect(report_.data(), &ReportWindow::closed, this,
                [this] { HoldInput(Workflow::Holder::None); });
    }
    HoldInput(Workflow::Holder::ReportWindow);
    report_->Open([this] { return Snapshot(); }, workflow_.envelopeReady);
}

void MainWindow::ShowHelp(const QWidget* owner) {
    help_->ShowHelp(owner);
}

void MainWindow::FillSteelAreaFromBars() {
    const QVariant diameter = barDiameterChooser_->currentData();
    if (!diameter.isValid()) return;
    QLineEdit* area = (*fields_)[FieldId::TotalSteelArea];
    const std::string text = BarAreaText(FromQ((*fields_)[FieldId::BarCount]->text()),
                                         diameter.toDouble(), area->maxLength());
    if (text.empty()) {
        Presenter().Warning(this, kTitle,
                            QStringLiteral("Informe o número de barras de aço para calcular a "
                                           "área total de aço."));
        (*fields_)[FieldId::BarCount]->setFocus(Qt::OtherFocusReason);
        return;
    }
    area->setText(ToQ(text));
}

void MainWindow::ShowAbout() {
    CentreOnScreen(about_.get());
    about_->show();
    about_->raise();
    about_->activateWindow();
}

// With unsaved changes the save question replaces "Deseja sair do programa?": one answer is
// enough to leave.
void MainWindow::AskExit() {
    if (isWindowModified()) {
        if (!MayDiscardChanges()) return;
    } else if (!Presenter().Question(this, kTitle, QStringLiteral("Deseja sair do programa?"),
                                     true)) {
        return;
    }
    if (exitHandler_) exitHandler_();
}

void MainWindow::closeEvent(QCloseEvent* event) {
    // An analysis in progress cannot be abandoned halfway.
    if (running_ || !MayDiscardChanges()) {
        event->ignore();
        return;
    }
    event->accept();
    if (exitHandler_) exitHandler_();
}

}  // namespace tarvelo::ui
