#include "report_window.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QFileInfo>
#include <QGridLayout>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>
#include <algorithm>

#include "file_chooser.h"
#include "key_filters.h"
#include "message_presenter.h"
#include "report_render.h"
#include "ui_common.h"

namespace tarvelo::ui {

// The white preview area, one page of the report in 8 points.
class ReportPreviewArea : public QWidget {
  public:
    explicit ReportPreviewArea(QWidget* parent) : QWidget(parent) {
        setObjectName(QStringLiteral("previewArea"));
        setAutoFillBackground(true);
        QPalette p = palette();
        p.setColor(QPalette::Window, Qt::white);
        setPalette(p);
    }
    void SetLines(std::vector<report::ReportLine> lines) {
        lines_ = std::move(lines);
        update();
    }
    void Clear() { SetLines({}); }
    const std::vector<report::ReportLine>& Lines() const { return lines_; }

  protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.fillRect(rect(), Qt::white);
        painter.setPen(Qt::black);
        // 560 units of a scale 1 % narrower than the area, from its left edge.
        const double left = 560.0 / 0.99 / kTwipsPerPixel;
        double top = 0.0;
        for (const report::ReportLine& line : lines_) {
            top += DrawReportLine(painter, line, left, top, kPreviewPoints);
        }
    }

  private:
    static constexpr double kPreviewPoints = 8.0;
    std::vector<report::ReportLine> lines_;
};

namespace {

// Pixels.
constexpr int kDialogWidth = 471;
constexpr int kDialogHeight = 220;
constexpr int kPreviewLeft = 248;

ReportWindow::PrintDialogHook& PrintHook() {
    static ReportWindow::PrintDialogHook hook;
    return hook;
}

QPushButton* MakeButton(QWidget* parent, const char* name, const char* caption,
                        const char* tip = nullptr) {
    auto* button = new QPushButton(QString::fromUtf8(caption), parent);
    button->setObjectName(QString::fromLatin1(name));
    if (tip != nullptr) button->setToolTip(QString::fromUtf8(tip));
    return button;
}

QLineEdit* MakeHiddenField(QWidget* parent, const char* name) {
    auto* field = new QLineEdit(parent);
    field->setObjectName(QString::fromLatin1(name));
    field->setReadOnly(true);
    field->hide();
    return field;
}

QRect ScreenArea(const QWidget* window) {
    QScreen* screen =
        window->screen() != nullptr ? window->screen() : QGuiApplication::primaryScreen();
    return screen != nullptr ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
}

}  // namespace

void ReportWindow::SetPrintDialogHook(PrintDialogHook hook) {
    PrintHook() = std::move(hook);
}

ReportWindow::ReportWindow(QWidget* parent) : QWidget(parent) {
    setWindowFlag(Qt::Window);
    setObjectName(QStringLiteral("reportWindow"));
    setWindowTitle(QStringLiteral("  Imprimir"));

    // Dialog layout.
    dialogPanel_ = new QWidget(this);
    titleLabel_ = new QLabel(QString::fromUtf8("Título do exemplo"), dialogPanel_);
    titleLabel_->setObjectName(QStringLiteral("titleLabel"));
    titleField_ = new QLineEdit(dialogPanel_);
    titleField_->setObjectName(QStringLiteral("titleField"));
    titleField_->setMaxLength(50);
    titleLabel_->setBuddy(titleField_);
    copiesLabel_ = new QLabel(QString::fromUtf8("Número de cópias"), dialogPanel_);
    copiesLabel_->setObjectName(QStringLiteral("copiesLabel"));
    copiesField_ = new QLineEdit(QStringLiteral("1"), dialogPanel_);
    copiesField_->setObjectName(QStringLiteral("copiesField"));
    SetUpField(copiesField_, 2);
    copiesField_->setFixedWidth(48);
    InstallKeyFilter(copiesField_, KeyFilterKind::Digit);
    copiesLabel_->setBuddy(copiesField_);

    envelopeBox_ = new QCheckBox(QString::fromUtf8("Incluir envoltória resistente"), dialogPanel_);
    envelopeBox_->setObjectName(QStringLiteral("envelopeBox"));
    envelopeBox_->setToolTip(QString::fromUtf8(
        "Acrescentar ao relatório impresso a página da envoltória resistente (Mx–My e tabela)"));

    previewButton_ = MakeButton(dialogPanel_, "previewButton", "Visualizar",
                                "Visualizar o relatório antes da impressão");
    printButton_ =
        MakeButton(dialogPanel_, "printButton", "Im&primir", "Imprimir o relatório de cálculo");
    cancelButton_ = MakeButton(dialogPanel_, "cancelButton", "&Cancelar");
    saveTextButton_ = MakeButton(dialogPanel_, "saveTextButton", "Salvar TXT",
                                 "Salvar o relatório em arquivo de texto");
    savePdfButton_ = MakeButton(dialogPanel_, "savePdfButton", "Salvar PDF",
                                "Salvar o relatório em arquivo PDF");
    originField_ = MakeHiddenField(dialogPanel_, "originField");

    auto* grid = new QGridLayout(dialogPanel_);
    grid->setContentsMargins(16, 12, 16, 12);
    grid->setVerticalSpacing(8);
    grid->addWidget(titleLabel_, 0, 0, 1, 3);
    grid->addWidget(titleField_, 1, 0, 1, 3);
    auto* copiesRow = new QHBoxLayout;
    copiesRow->addWidget(copiesLabel_);
    copiesRow->addSpacing(12);
    copiesRow->addWidget(copiesField_);
    copiesRow->addStretch();
    grid->addLayout(copiesRow, 2, 0, 1, 3);
    grid->addWidget(envelopeBox_, 3, 0, 1, 3);
    grid->setRowMinimumHeight(4, 4);
    grid->addWidget(previewButton_, 5, 0);
    grid->addWidget(printButton_, 5, 1);
    grid->addWidget(cancelButton_, 5, 2);
    grid->addWidget(saveTextButton_, 6, 0);
    grid->addWidget(savePdfButton_, 6, 1);
    grid->setRowStretch(7, 1);

    // Preview layout: the three buttons in the strip left of the white page.
    backButton_ = MakeButton(this, "backButton", "Voltar");
    forwardButton_ = MakeButton(this, "forwardButton", "Avançar");
    returnButton_ = MakeButton(this, "returnButton", "Imprimir");
    const int strip = kPreviewLeft;
    int y = 24;
    for (QPushButton* b : {backButton_, forwardButton_, returnButton_}) {
        b->setGeometry(24, y, strip - 48, 32);
        y += 44;
    }
    // The page fields are hidden; the reader still sees where he is.
    pageLabel_ = new QLabel(this);
    pageLabel_->setObjectName(QStringLiteral("pageLabel"));
    pageLabel_->setAlignment(Qt::AlignCenter);
    pageLabel_->setGeometry(24, y, strip - 48, 24);
    previewArea_ = new ReportPreviewArea(this);
    pageField_ = MakeHiddenField(this, "pageField");
    pageTotalField_ = MakeHiddenField(this, "pageTotalField");

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(dialogPanel_);

    connect(previewButton_, &QPushButton::clicked, this, [this] { PreviewClicked(); });
    connect(printButton_, &QPushButton::clicked, this, [this] { PrintClicked(); });
    connect(cancelButton_, &QPushButton::clicked, this, [this] { CancelClicked(); });
    connect(saveTextButton_, &QPushButton::clicked, this, [this] { SaveTextClicked(); });
    connect(savePdfButton_, &QPushButton::clicked, this, [this] { SavePdfClicked(); });
    connect(backButton_, &QPushButton::clicked, this, [this] { BackClicked(); });
    connect(forwardButton_, &QPushButton::clicked, this, [this] { ForwardClicked(); });
    connect(returnButton_, &QPushButton::clicked, this, [this] { ReturnClicked(); });
    connect(titleField_, &QLineEdit::textEdited, this, &ReportWindow::titleEdited);

    ShowDialogLayout();
    dialogSize_ = QSize(kDialogWidth, kDialogHeight).expandedTo(layout->minimumSize());
    resize(dialogSize_);
}

void ReportWindow::Open(std::function<ReportSnapshot()> snapshot, bool envelopeReady) {
    snapshot_ = std::move(snapshot);
    // Without a completed run there is no envelope to draw; otherwise the last choice stays.
    envelopeBox_->setEnabled(envelopeReady);
    if (!envelopeReady) envelopeBox_->setChecked(false);
    closedSent_ = false;
    titleField_->setText(snapshot_ ? QString::fromStdString(snapshot_().data.title) : QString());
    originField_->setText(QStringLiteral("mainWindow"));
    ShowDialogLayout();
    setMinimumSize(0, 0);
    setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    resize(dialogSize_);
    show();
    CentreOnScreen(this);
    raise();
    activateWindow();
}

// The state of a freshly loaded window: the dialog controls, the preview hidden, page 1.
void ReportWindow::ShowDialogLayout() {
    dialogPanel_->show();
    titleField_->setReadOnly(false);
    copiesField_->setReadOnly(false);
    for (QPushButton* b : {previewButton_, printButton_, cancelButton_})
        b->setEnabled(true);
    for (QPushButton* b : {backButton_, forwardButton_, returnButton_}) {
        b->setEnabled(false);
        b->hide();
    }
    previewArea_->hide();
    previewContent_.reset();
    previewArea_->Clear();
    pageLabel_->hide();
    pageField_->hide();
    pageTotalField_->hide();
    pageToShow_ = 1;
    pageField_->setText(QStringLiteral("1"));
}

std::vector<std::string> ReportWindow::PreviewTexts() const {
    std::vector<std::string> texts;
    for (const report::ReportLine& line : previewArea_->Lines())
        texts.push_back(line.PlainText());
    return texts;
}

ReportSnapshot ReportWindow::TakeSnapshot() const {
    ReportSnapshot s = snapshot_ ? snapshot_() : ReportSnapshot{};
    s.data.title = FromQ(titleField_->text());
    s.withEnvelope = envelopeBox_->isChecked();
    return s;
}

void ReportWindow::PreviewClicked() {
    backButton_->setEnabled(false);
    forwardButton_->setEnabled(false);
    titleField_->setReadOnly(true);
    copiesField_->setReadOnly(true);
    for (QPushButton* b : {previewButton_, printButton_, cancelButton_})
        b->setEnabled(false);
    dialogPanel_->hide();

    dialogSize_ = size();
    const QRect screen = ScreenArea(this);
    const QSize frame = frameGeometry().size() - size();
    setMinimumSize(0, 0);
    resize(screen.size() - frame);
    CentreOnScreen(this);

    for (QPushButton* b : {backButton_, forwardButton_, returnButton_})
        b->show();
    returnButton_->setEnabled(true);
    pageLabel_->clear();
    pageLabel_->show();
    const int left = kPreviewLeft;
    const int width = static_cast<int>(0.97 * (screen.width() - left));
    previewArea_->setGeometry(left, 0, std::max(width, 100), screen.height() - frame.height());
    previewArea_->show();
    previewArea_->raise();
    if (originField_->text() == QLatin1String("mainWindow")) ProducePreviewPage();
}

void ReportWindow::ProducePreviewPage() {
    if (!previewContent_) previewContent_ = PreviewContent(TakeSnapshot());
    report::PreviewPage page = report::ProducePreviewPage(*previewContent_, pageToShow_);
    previewArea_->SetLines(std::move(page.lines));
    pageTotal_ = page.pageTotal;
    pageTotalField_->setText(QString::number(pageTotal_));
    pageLabel_->setText(QString::fromUtf8("Página %1 de %2").arg(pageToShow_).arg(pageTotal_));
    if (pageTotal_ > 1) forwardButton_->setEnabled(true);
}

void ReportWindow::ForwardClicked() {
    const int p = pageField_->text().toInt() + 1;
    if (p > pageTotal_) return;
    pageToShow_ = p;
    pageField_->setText(QString::number(p));
    previewArea_->Clear();
    ProducePreviewPage();
    backButton_->setEnabled(true);
}

void ReportWindow::BackClicked() {
    const int p = pageField_->text().toInt() - 1;
    if (p < 1) return;
    pageToShow_ = p;
    pageField_->setText(QString::number(p));
    ProducePreviewPage();
}

void ReportWindow::ReturnClicked() {
    if (!PrintClicked()) return;  // the print dialog was cancelled: the preview stays
    ShowDialogLayout();
    resize(dialogSize_);
    CentreOnScreen(this);
    printButton_->setFocus();
}

void ReportWindow::CancelClicked() {
    close();
}

void ReportWindow::closeEvent(QCloseEvent* event) {
    QWidget::closeEvent(event);
    if (!closedSent_) {
        closedSent_ = true;
        emit closed();
    }
}

bool ReportWindow::PrintClicked() {
    const int typed = copiesField_->text().toInt();
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setFullPage(true);
    printer.setCopyCount(std::clamp(typed, 1, 99));
    printer.setDocName(QString::fromUtf8("Relatório de cálculo - TARVELO"));
    bool accepted = false;
    if (PrintHook()) {
        accepted = PrintHook()(printer, this);
    } else {
        QPrintDialog dialog(&printer, this);
        accepted = dialog.exec() == QDialog::Accepted;
    }
    if (!accepted) return false;
    printer.setFullPage(true);

    PrintedReport report(TakeSnapshot());
    // A printer that cannot make copies itself gets the report as many times as asked.
    const int passes = printer.supportsMultipleCopies() ? 1 : printer.copyCount();
    QString error;
    if (!report.Paint(printer, passes, error)) {
        Presenter().Warning(this, QStringLiteral("TARVELO"), error);
    }
    return true;
}

void ReportWindow::SaveTextClicked() {
    QString path =
        Files().SaveFileName(this, QStringLiteral("Salvar TXT"), QString::fromUtf8("Texto (*.txt)"),
                             QStringLiteral("relatorio.txt"));
    if (path.isEmpty()) return;
    if (QFileInfo(path).suffix().isEmpty()) path += QStringLiteral(".txt");
    QString error;
    if (!WriteReportTextFile(TakeSnapshot(), path, error)) {
        Presenter().Warning(
            this, QStringLiteral("TARVELO"),
            QString::fromUtf8("Não foi possível salvar o relatório em\n%1\n\n%2").arg(path, error));
    }
}

void ReportWindow::SavePdfClicked() {
    QString path = Files().SaveFileName(this, QStringLiteral("Salvar PDF"),
                                        QString::fromUtf8("Documento PDF (*.pdf)"),
                                        QStringLiteral("relatorio.pdf"));
    if (path.isEmpty()) return;
    if (QFileInfo(path).suffix().isEmpty()) path += QStringLiteral(".pdf");
    QString error;
    if (!WriteReportPdf(TakeSnapshot(), path, error)) {
        Presenter().Warning(
            this, QStringLiteral("TARVELO"),
            QString::fromUtf8("Não foi possível salvar o relatório em\n%1\n\n%2").arg(path, error));
    }
}

}  // namespace tarvelo::ui
