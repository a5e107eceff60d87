#include "main_window.h"

#include <QAction>
#include <QCloseEvent>
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
#include "chart_window.h"
#include "file_chooser.h"
#include "help_window.h"
#include "key_filters.h"
#include "loads_window.h"
#include "message_presenter.h"
#include "procedures/column_file.h"
#include "procedures/procedures.h"
#include "progress_window.h"
#include "report_window.h"
#include "section_drawing.h"
#include "section_window.h"
#include "ui_common.h"

namespace tarvelo::ui {
namespace {

const QString kTitle = QStringLiteral("TARVELO");
const QString kCaption = QStringLiteral(" TARVELO");
const QString kFileFilter = QStringLiteral("Pilar TARVELO (*.json)");

QLineEdit* Field(const QString& name, const QString& text, int maxLength, KeyFilterKind filter) {
    auto* field = new QLineEdit(text);
    field->setObjectName(name);
    SetUpField(field, maxLength);
    InstallKeyFilter(field, filter);
    field->setFixedWidth(50);
    return field;
}

QLineEdit* MakeResultField(const QString& name) {
    auto* field = new QLineEdit;
    field->setObjectName(name);
    SetUpResultField(field);
    field->setFixedWidth(58);
    return field;
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
            window_.progress_->hide();
        }
    }
    void ClearProgress() override { window_.progress_->Clear(); }
    void SetResultText(ResultField field, const std::string& text) override {
        QLineEdit* target = nullptr;
        switch (field) {
            case ResultField::TotalSteelArea:
                target = window_.text6_;
                break;
            case ResultField::SafetyCoefficient:
                target = window_.text11_;
                break;
            case ResultField::RequiredSteel:
                target = window_.text12_;
                break;
            case ResultField::MinimumSteel:
                target = window_.text13_;
                break;
        }
        target->setText(ToQ(text));
    }
    void SetEnabled(Control control, bool enabled) override {
        switch (control) {
            case Control::MainWindow:
                window_.SetMainEnabled(enabled);
                break;
            case Control::LoadCurve:
                window_.command8_->setEnabled(enabled);
                break;
            case Control::ToolbarSave:
                window_.buttons_[2]->setEnabled(enabled);
                break;
            case Control::ToolbarPrint:
                window_.buttons_[3]->setEnabled(enabled);
                break;
            case Control::ToolbarHelp:
                window_.buttons_[4]->setEnabled(enabled);
                break;
        }
    }
    void HideDrawingAndChart() override {
        window_.drawing_->hide();
        if (window_.chart_) window_.chart_->hide();
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
    setObjectName(QStringLiteral("Form17"));
    setWindowTitle(kCaption);

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

    // Start-up state: the section window's tables hold their heading row only, every button
    // after "Dados da seção" waits for the step before it, the vertex count only shows for
    // polygons, and "Salvar" and "Imprimir" wait for a verification.
    command5_->setEnabled(false);
    command1_->setEnabled(false);
    command4_->setEnabled(false);
    command8_->setEnabled(false);
    command12_->setEnabled(false);
    text4_->hide();
    label17_->hide();
    buttons_[2]->setEnabled(false);
    buttons_[3]->setEnabled(false);
    buttons_[5]->setEnabled(false);

    SetClientSize(this, 10185, 5955);
    CentreOnScreen(this);
}

MainWindow::~MainWindow() {
    if (report_) delete report_.data();
}

void MainWindow::BuildFields() {
    text1_ = Field(QStringLiteral("Text1"), QStringLiteral("20"), 2, KeyFilterKind::Decimal);
    text15_ = Field(QStringLiteral("Text15"), QStringLiteral("2.5"), 3, KeyFilterKind::Decimal);
    text2_ = Field(QStringLiteral("Text2"), QStringLiteral("500"), 3, KeyFilterKind::Decimal);
    text3_ = Field(QStringLiteral("Text3"), QStringLiteral("200"), 3, KeyFilterKind::Decimal);
    text10_ = Field(QStringLiteral("Text10"), QStringLiteral("1.4"), 4, KeyFilterKind::Decimal);
    text14_ = Field(QStringLiteral("Text14"), QStringLiteral("1.15"), 4, KeyFilterKind::Decimal);
    text4_ = Field(QStringLiteral("Text4"), QString(), 3, KeyFilterKind::Digit);
    text5_ = Field(QStringLiteral("Text5"), QString(), 3, KeyFilterKind::Digit);
    text6_ = Field(QStringLiteral("Text6"), QString(), 5, KeyFilterKind::Decimal);
    text11_ = MakeResultField(QStringLiteral("Text11"));
    text12_ = MakeResultField(QStringLiteral("Text12"));
    text13_ = MakeResultField(QStringLiteral("Text13"));
    label17_ = RightLabel(QStringLiteral("Número de vértices="));
    label17_->setObjectName(QStringLiteral("Label17"));
    // The vertex count comes and goes with the polygonal kind; the layout keeps its place.
    for (QWidget* w : {static_cast<QWidget*>(text4_), static_cast<QWidget*>(label17_)}) {
        QSizePolicy policy = w->sizePolicy();
        policy.setRetainSizeWhenHidden(true);
        w->setSizePolicy(policy);
    }

    command3_ =
        CommandButton(QStringLiteral("Command3"), QStringLiteral("Dados da seção"),
                      QStringLiteral("Fornecer dimensões da seção e posição das barras de aço"));
    command5_ = CommandButton(QStringLiteral("Command5"), QStringLiteral("Ver seção"),
                              QStringLiteral("Ver um desenho da seção com as armaduras"));
    command1_ =
        CommandButton(QStringLiteral("Command1"), QStringLiteral("Carregamento"),
                      QStringLiteral("Fornecer dados do carregamento e condições de contorno"));
    command4_ = CalculationButton(QStringLiteral("Command4"), QStringLiteral("VERIFICAR"),
                                  QStringLiteral("Determinar o coeficiente global de segurança"));
    command12_ = CalculationButton(QStringLiteral("Command12"), QStringLiteral("DIMENSIONAR"),
                                   QStringLiteral("Calcular a área de aço necessária no pilar"));
    command8_ = CommandButton(QStringLiteral("Command8"), QStringLiteral("Curva carga-flecha"),
                              QStringLiteral("Ver o gráfico carga-flecha"));
}

QWidget* MainWindow::BuildCentralWidget() {
    // Materials.
    auto* concrete = new QGroupBox(QStringLiteral("Concreto"));
    auto* concreteGrid = new QGridLayout(concrete);
    concreteGrid->addWidget(RightLabel(QStringLiteral("fck (MPa)=")), 0, 0, 1, 2);
    concreteGrid->addWidget(text1_, 0, 2);
    concreteGrid->addWidget(RightLabel(QStringLiteral("Coef. de fluência:")), 1, 0);
    concreteGrid->addWidget(RightLabel(QStringLiteral("φ=")), 1, 1);
    concreteGrid->addWidget(text15_, 1, 2);
    concreteGrid->setColumnStretch(0, 1);
    Compact(concreteGrid);

    auto* steel = new QGroupBox(QStringLiteral("Aço"));
    auto* steelGrid = new QGridLayout(steel);
    steelGrid->addWidget(RightLabel(QStringLiteral("fyk (MPa)=")), 0, 0);
    steelGrid->addWidget(text2_, 0, 1);
    steelGrid->addWidget(RightLabel(QStringLiteral("Es (GPa)=")), 1, 0);
    steelGrid->addWidget(text3_, 1, 1);
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
    factorsGrid->addWidget(text10_, 0, 2);
    factorsGrid->addWidget(RightLabel(QStringLiteral("Aço:")), 1, 0);
    factorsGrid->addWidget(gammaS, 1, 1);
    factorsGrid->addWidget(text14_, 1, 2);
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
    const QString kindCaptions[6] = {QString(),
                                     QStringLiteral("Retangular maciça"),
                                     QStringLiteral("Retangular vazada"),
                                     QStringLiteral("Circular maciça"),
                                     QStringLiteral("Circular vazada"),
                                     QStringLiteral("Poligonal")};
    for (int i = 1; i <= 5; ++i) {
        option_[i] = new QRadioButton(kindCaptions[i]);
        option_[i]->setObjectName(QStringLiteral("Option%1").arg(i));
        kindsLayout->addWidget(option_[i]);
        connect(option_[i], &QRadioButton::clicked, this, &MainWindow::SectionKindChosen);
    }
    option_[1]->setChecked(true);

    auto* section = new QGroupBox(QStringLiteral("Dados da seção"));
    auto* sectionLayout = new QVBoxLayout(section);
    sectionLayout->addWidget(kinds);
    auto* counts = new QGridLayout;
    counts->addWidget(label17_, 0, 0);
    counts->addWidget(text4_, 0, 1);
    counts->addWidget(RightLabel(QStringLiteral("Número de barras de aço=")), 1, 0);
    counts->addWidget(text5_, 1, 1);
    counts->setColumnStretch(0, 1);
    sectionLayout->addLayout(counts);
    sectionLayout->addWidget(command3_);
    sectionLayout->addWidget(command5_);
    sectionLayout->addStretch(1);
    Compact(sectionLayout);

    auto* sectionColumn = new QVBoxLayout;
    sectionColumn->addWidget(section, 1);
    sectionColumn->addWidget(command1_);

    // Verification and design.
    auto* verification = new QGroupBox(QStringLiteral("Verificação"));
    auto* verificationGrid = new QGridLayout(verification);
    verificationGrid->addWidget(RightLabel(QStringLiteral("Área total de aço (cm2):")), 0, 0);
    verificationGrid->addWidget(text6_, 0, 1, Qt::AlignLeft);
    verificationGrid->addWidget(command4_, 1, 0, 1, 2);
    verificationGrid->addWidget(RightLabel(QStringLiteral("Coeficiente de segurança S=")), 2, 0);
    verificationGrid->addWidget(text11_, 2, 1);
    verificationGrid->addWidget(command8_, 3, 0, 1, 2);
    verificationGrid->setColumnStretch(0, 1);
    Compact(verificationGrid);

    auto* design = new QGroupBox(QStringLiteral("Dimensionamento"));
    auto* designGrid = new QGridLayout(design);
    designGrid->addWidget(command12_, 0, 0, 1, 2);
    designGrid->addWidget(RightLabel(QStringLiteral("Armadura calculada (cm2)=")), 1, 0);
    designGrid->addWidget(text12_, 1, 1);
    designGrid->addWidget(RightLabel(QStringLiteral("Armadura mínima (cm2)=")), 2, 0);
    designGrid->addWidget(text13_, 2, 1);
    designGrid->setColumnStretch(0, 1);
    Compact(designGrid);

    auto* results = new QVBoxLayout;
    results->addWidget(verification);
    results->addWidget(design);
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
    toolbar_ = new QToolBar(QStringLiteral("Toolbar1"), this);
    toolbar_->setObjectName(QStringLiteral("Toolbar1"));
    toolbar_->setMovable(false);
    toolbar_->setFloatable(false);
    toolbar_->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    toolbar_->setIconSize(QSize(24, 24));
    toolbar_->toggleViewAction()->setVisible(false);
    toolbar_->setContextMenuPolicy(Qt::PreventContextMenu);
    addToolBar(Qt::TopToolBarArea, toolbar_);

    struct Spec {
        const char* name;
        const char* caption;
        const char* tip;
        const char* icon;
    };
    const Spec specs[8] = {
        {},
        {"Abrir", "Abrir", "Ler dados de arquivo", ":/icons/abrir.svg"},
        {"Salvar", "Salvar", "Salvar dados em arquivo", ":/icons/salvar.svg"},
        {"Imprimir", "Imprimir", "Imprimir relatório", ":/icons/imprimir.svg"},
        {"Ajuda", "Ajuda", "Abrir a ajuda do programa", ":/icons/ajuda.svg"},
        {"Botao5", "", "", ":/icons/curva.svg"},
        {"TARVELO", "TARVELO", "Sobre o programa", ":/icons/tarvelo.svg"},
        {"Sair", "Sair", "Sair do programa", ":/icons/sair.svg"},
    };
    for (int i = 1; i <= 7; ++i) {
        const Spec& s = specs[i];
        auto* action =
            new QAction(QIcon(QString::fromLatin1(s.icon)), QString::fromUtf8(s.caption), this);
        action->setObjectName(QString::fromLatin1(s.name));
        action->setToolTip(QString::fromUtf8(s.tip));
        if (i == 5) action->setIconText(QString());
        toolbar_->addAction(action);
        buttons_[i] = action;
    }
    connect(buttons_[1], &QAction::triggered, this, &MainWindow::OpenFile);
    connect(buttons_[2], &QAction::triggered, this, &MainWindow::SaveFile);
    connect(buttons_[3], &QAction::triggered, this, &MainWindow::OpenReport);
    connect(buttons_[4], &QAction::triggered, this, &MainWindow::ShowHelp);
    connect(buttons_[6], &QAction::triggered, this, &MainWindow::ShowAbout);
    connect(buttons_[7], &QAction::triggered, this, &MainWindow::AskExit);
}

void MainWindow::ConnectWindows() {
    connect(command3_, &QPushButton::clicked, this, &MainWindow::OpenSectionWindow);
    connect(command5_, &QPushButton::clicked, this, &MainWindow::DrawSection);
    connect(command1_, &QPushButton::clicked, this, &MainWindow::OpenLoadsWindow);
    connect(command4_, &QPushButton::clicked, this, &MainWindow::Verify);
    connect(command12_, &QPushButton::clicked, this, &MainWindow::Design);
    connect(command8_, &QPushButton::clicked, this, &MainWindow::ShowCurve);

    connect(section_.get(), &SectionWindow::closed, this, [this](bool confirmed) {
        SetMainEnabled(true);
        if (confirmed) help_->hide();
    });
    connect(section_.get(), &SectionWindow::helpRequested, this, &MainWindow::ShowHelp);
    connect(section_.get(), &SectionWindow::vertexCountChanged, this,
            [this](int count) { text4_->setText(QString::number(count)); });
    connect(section_.get(), &SectionWindow::barCountChanged, this,
            [this](int count) { text5_->setText(QString::number(count)); });

    connect(loads_.get(), &LoadsWindow::confirmRequested, this, &MainWindow::ConfirmLoads);
    connect(loads_.get(), &LoadsWindow::helpRequested, this, &MainWindow::ShowHelp);
    connect(loads_.get(), &LoadsWindow::closedWithoutConfirming, this,
            [this] { SetMainEnabled(true); });
}

ChartWindow* MainWindow::Chart() {
    if (!chart_) chart_ = std::make_unique<ChartWindow>();
    return chart_.get();
}

ReportWindow* MainWindow::Report() const {
    return report_.data();
}

QAction* MainWindow::ToolbarButton(int position) const {
    if (position < 1 || position > 7) return nullptr;
    return buttons_[position];
}

// --- Data ------------------------------------------------------------------------------------

ColumnData MainWindow::CollectColumnData() const {
    ColumnData data;
    data.title = title_;
    data.fck = FromQ(text1_->text());
    data.creepCoefficient = FromQ(text15_->text());
    data.fyk = FromQ(text2_->text());
    data.Es = FromQ(text3_->text());
    data.Gamac = FromQ(text10_->text());
    data.Gamas = FromQ(text14_->text());
    data.sectionType = SectionType::RectangularSolid;
    for (int i = 1; i <= 5; ++i) {
        if (option_[i]->isChecked()) data.sectionType = static_cast<SectionType>(i - 1);
    }
    data.vertexCount = FromQ(text4_->text());
    data.barCount = FromQ(text5_->text());
    data.totalSteelArea = FromQ(text6_->text());
    section_->Collect(data);
    loads_->Collect(data);
    return data;
}

void MainWindow::ApplyColumnData(const ColumnData& data) {
    title_ = data.title;
    text1_->setText(ToQ(data.fck));
    text15_->setText(ToQ(data.creepCoefficient));
    text2_->setText(ToQ(data.fyk));
    text3_->setText(ToQ(data.Es));
    text10_->setText(ToQ(data.Gamac));
    text14_->setText(ToQ(data.Gamas));
    option_[static_cast<int>(data.sectionType) + 1]->setChecked(true);
    SectionKindChosen();
    text4_->setText(ToQ(data.vertexCount));
    text5_->setText(ToQ(data.barCount));
    text6_->setText(ToQ(data.totalSteelArea));
    section_->Apply(data);
    loads_->Apply(data);
}

// A text longer than its field accepts would be cut by the field; such a file is refused
// rather than changed behind the user's back.
QString MainWindow::FitsTheWindows(const ColumnData& d) const {
    struct Check {
        const std::string& text;
        const QLineEdit* field;
        const char* label;
    };
    const SectionWindow& s = *section_;
    const LoadsWindow& l = *loads_;
    const Check checks[] = {
        {d.fck, text1_, "fck (MPa)="},
        {d.creepCoefficient, text15_, "Coef. de fluência"},
        {d.fyk, text2_, "fyk (MPa)="},
        {d.Es, text3_, "Es (GPa)="},
        {d.Gamac, text10_, "Coeficiente parcial do concreto"},
        {d.Gamas, text14_, "Coeficiente parcial do aço"},
        {d.vertexCount, text4_, "Número de vértices="},
        {d.barCount, text5_, "Número de barras de aço="},
        {d.totalSteelArea, text6_, "Área total de aço (cm2):"},
        {d.rectHx, s.Field(1), "hx"},
        {d.rectHy, s.Field(2), "hy"},
        {d.hollowHx, s.Field(3), "hx"},
        {d.hollowHy, s.Field(4), "hy"},
        {d.hollowBxo, s.Field(5), "bx"},
        {d.hollowByo, s.Field(6), "by"},
        {d.circleDiameter, s.Field(7), "D"},
        {d.circleCover, s.Field(8), "d'"},
        {d.hollowCircleDe, s.Field(9), "De"},
        {d.hollowCircleDi, s.Field(10), "Di"},
        {d.hollowCircleCover, s.Field(11), "d'"},
        {d.L, l.Field(1), "Altura do pilar L  (cm) ="},
        {d.Fd, l.Field(7), "Fd,t (kN)="},
        {d.Hxd_t, l.Field(8), "Hxd,t (kN) ="},
        {d.Hyd_t, l.Field(9), "Hyd,t (kN) ="},
        {d.Mxd_t, l.Field(10), "Mxd,t (kN cm) ="},
        {d.Myd_t, l.Field(11), "Myd,t (kN cm) ="},
        {d.Mxd_b, l.Field(5), "Mxd,b (kN cm) ="},
        {d.Myd_b, l.Field(6), "Myd,b (kN cm) ="},
        {d.pxd, l.Field(2), "pxd (kN/cm) ="},
        {d.pyd, l.Field(3), "pyd (kN/cm) ="},
    };
    for (const Check& c : checks) {
        const QString text = ToQ(c.text);
        if (text.size() > c.field->maxLength()) {
            return QStringLiteral("O valor \"%1\" do campo \"%2\" tem mais de %3 caracteres.")
                .arg(text, QString::fromUtf8(c.label))
                .arg(c.field->maxLength());
        }
        if (text.contains(QLatin1Char('\n')) || text.contains(QLatin1Char('\r'))) {
            return QStringLiteral("O valor do campo \"%1\" tem mais de uma linha.")
                .arg(QString::fromUtf8(c.label));
        }
    }
    if (d.vertices.size() > kMaxGridRows || d.bars.size() > kMaxGridRows) {
        return QStringLiteral("As tabelas de coordenadas têm no máximo 299 linhas.");
    }
    return {};
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
    if (const QString problem = FitsTheWindows(data); !problem.isEmpty()) {
        Presenter().Warning(this, kTitle,
                            QStringLiteral("Não foi possível ler o arquivo \"%1\".\n\n%2\n\nOs "
                                           "dados não foram alterados.")
                                .arg(name, problem));
        return false;
    }
    HideAuxiliaryWindows();
    ApplyColumnData(data);
    // The results on the screen belong to the previous column.
    text11_->clear();
    text12_->clear();
    text13_->clear();
    command8_->setEnabled(false);
    hasCurve_ = false;
    hasSectionConstants_ = false;
    // A complete column can be calculated at once; the procedures check everything anyway.
    command5_->setEnabled(true);
    command1_->setEnabled(true);
    command4_->setEnabled(true);
    command12_->setEnabled(true);
    filePath_ = path;
    setWindowTitle(kCaption + QStringLiteral(" - ") + name);
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
    filePath_ = path;
    setWindowTitle(kCaption + QStringLiteral(" - ") + QFileInfo(path).fileName());
    return true;
}

ReportSnapshot MainWindow::Snapshot() const {
    ReportSnapshot s;
    s.data = CollectColumnData();
    s.safetyText = FromQ(text11_->text());
    s.requiredText = FromQ(text12_->text());
    s.minimumText = FromQ(text13_->text());
    s.hasSectionConstants = hasSectionConstants_;
    s.sectionConstants = sectionConstants_;
    s.hasCurve = hasCurve_;
    s.curve = curve_;
    s.curvePoints = lastReachedStep_;
    s.topFree = loads_->TopIsFree();
    return s;
}

// --- Buttons ---------------------------------------------------------------------------------

void MainWindow::SectionKindChosen() {
    const bool polygonal = option_[5]->isChecked();
    text4_->setVisible(polygonal);
    label17_->setVisible(polygonal);
}

void MainWindow::HideAuxiliaryWindows() {
    drawing_->hide();
    if (chart_) chart_->hide();
    help_->hide();
}

void MainWindow::SetMainEnabled(bool enabled) {
    setEnabled(enabled);
    if (enabled && isVisible()) {
        raise();
        activateWindow();
    }
}

QWidget* MainWindow::FocusWidget(FocusTarget target) const {
    switch (target) {
        case FocusTarget::None:
            return nullptr;
        case FocusTarget::Fck:
            return text1_;
        case FocusTarget::CreepCoefficient:
            return text15_;
        case FocusTarget::Fyk:
            return text2_;
        case FocusTarget::Es:
            return text3_;
        case FocusTarget::Gamac:
            return text10_;
        case FocusTarget::Gamas:
            return text14_;
        case FocusTarget::VertexCount:
            return text4_;
        case FocusTarget::BarCount:
            return text5_;
        case FocusTarget::SectionData:
        case FocusTarget::SectionVertexGrid:
        case FocusTarget::SectionBarGrid:
            return command3_;
        case FocusTarget::Loads:
            return command1_;
        case FocusTarget::LoadsHeight:
            return loads_->Field(1);
        case FocusTarget::LoadsAxialForce:
            return loads_->Field(7);
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
    SetMainEnabled(false);
    section_->Prepare(data.sectionType, vertexCount, barCount);
    CentreOnFirstShow(section_.get());
    ShowInFront(section_.get(), this);
    command5_->setEnabled(true);
}

void MainWindow::DrawSection() {
    HideAuxiliaryWindows();
    const ColumnData data = CollectColumnData();
    Host host(*this, this);
    SectionGeometry geometry;
    if (!BuildSectionForDrawing(data, host, geometry)) return;
    drawing_->Draw(geometry);
    CentreOnFirstShow(drawing_.get());
    ShowInFront(drawing_.get(), this);
    command1_->setEnabled(true);
}

void MainWindow::OpenLoadsWindow() {
    HideAuxiliaryWindows();
    CentreOnFirstShow(loads_.get());
    SetMainEnabled(false);
    ShowInFront(loads_.get(), this);
}

void MainWindow::ConfirmLoads() {
    const ColumnData data = CollectColumnData();
    Host host(*this, loads_.get());
    if (!CheckLoadsWindow(data, host)) return;
    SetMainEnabled(true);
    loads_->hide();
    help_->hide();
    command4_->setEnabled(true);
    command12_->setEnabled(true);
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
    const ColumnData data = CollectColumnData();
    Host host(*this, this);
    std::unique_ptr<AnalysisResult> result =
        design ? tarvelo::Design(data, host) : tarvelo::Verify(data, host);
    running_ = false;
    // Every way out of a run leaves the main window usable and the progress window hidden.
    if (!isEnabled()) SetMainEnabled(true);
    progress_->hide();
    if (!result) return;

    curve_ = result->curve;
    if (result->reachedStep > 0) lastReachedStep_ = result->reachedStep;
    if (result->hasSectionConstants) {
        hasSectionConstants_ = true;
        sectionConstants_ = result->sectionConstants;
    }
    hasCurve_ = !design && result->completed;
    if (!design && result->completed) command8_->setFocus(Qt::OtherFocusReason);
}

void MainWindow::ShowCurve() {
    HideAuxiliaryWindows();
    if (Chart()->DrawCurve(curve_, lastReachedStep_, loads_->TopIsFree())) {
        buttons_[5]->setEnabled(true);
    }
}

// --- Toolbar ---------------------------------------------------------------------------------

void MainWindow::OpenFile() {
    const QString path = Files().OpenFileName(this, QStringLiteral("Abrir"), kFileFilter);
    if (!path.isEmpty()) OpenColumnFile(path);
}

void MainWindow::SaveFile() {
    const QString suggested = filePath_.isEmpty() ? QStringLiteral("pilar.json") : filePath_;
    QString path = Files().SaveFileName(this, QStringLiteral("Salvar"), kFileFilter, suggested);
    if (path.isEmpty()) return;
    if (QFileInfo(path).suffix().isEmpty()) path += QStringLiteral(".json");
    SaveColumnFile(path);
}

void MainWindow::OpenReport() {
    if (!report_) {
        report_ = new ReportWindow;
        connect(report_.data(), &ReportWindow::closed, this, [this] { SetMainEnabled(true); });
    }
    SetMainEnabled(false);
    report_->Open([this] { return Snapshot(); });
}

void MainWindow::ShowHelp() {
    help_->ShowHelp();
}

void MainWindow::ShowAbout() {
    CentreOnScreen(about_.get());
    about_->show();
    about_->raise();
    about_->activateWindow();
}

void MainWindow::AskExit() {
    if (Presenter().Question(this, kTitle, QStringLiteral("Deseja sair do programa?"), true)) {
        if (exitHandler_) exitHandler_();
    }
}

void MainWindow::closeEvent(QCloseEvent* event) {
    // An analysis in progress cannot be abandoned halfway.
    if (running_) {
        event->ignore();
        return;
    }
    event->accept();
    if (exitHandler_) exitHandler_();
}

}  // namespace tarvelo::ui
