#include "chart_window.h"

#include <QBuffer>
#include <QChart>
#include <QChartView>
#include <QComboBox>
#include <QCoreApplication>
#include <QFileInfo>
#include <QGraphicsLayout>
#include <QHBoxLayout>
#include <QImage>
#include <QLabel>
#include <QLineSeries>
#include <QPainter>
#include <QPdfWriter>
#include <QPushButton>
#include <QSvgGenerator>
#include <QVBoxLayout>
#include <QValueAxis>
#include <algorithm>
#include <cmath>

#include "file_chooser.h"
#include "message_presenter.h"
#include "points_csv.h"
#include "ui_common.h"

namespace tarvelo::ui {
namespace {

constexpr int kMaxDrawnSteps = 500;  // 2n - 1 rows must fit the table
const QSize kChartSize(640, 440);    // the chart's own size, pixels
constexpr double kScreenDpi = 96.0;

const char* kTitle = "Curva Carga-flecha";
const char* kForceTitle = "Força normal (kN)";
const char* kTopTitle = "Flecha no topo (mm)";
const char* kCentreTitle = "Flecha no centro (mm)";

struct Range {
    double min = 0.0;
    double max = 0.0;
};

// min - 5 % and max + 5 % of the spread. Equal values (a column under axial load alone has no
// deflection at all) would give an empty axis: it is opened by 5 % of the value around it, or
// by 1 around zero.
Range AxisRange(double lo, double hi) {
    const double spread = hi - lo;
    Range r{lo - 0.05 * spread, hi + 0.05 * spread};
    if (!(r.max > r.min) || !std::isfinite(r.min) || !std::isfinite(r.max)) {
        const double half = std::isfinite(lo) && lo != 0.0 ? 0.05 * std::fabs(lo) : 1.0;
        const double centre = std::isfinite(lo) ? lo : 0.0;
        r = {centre - half, centre + half};
    }
    return r;
}

// Grid lines at round values (1, 2 or 5 times a power of ten), about five over the range; the
// range itself stays as computed.
void SetRoundTicks(QValueAxis* axis, const Range& r) {
    const double raw = (r.max - r.min) / 5.0;
    const double power = std::pow(10.0, std::floor(std::log10(raw)));
    const double f = raw / power;
    const double step = (f < 1.5 ? 1.0 : f < 3.5 ? 2.0 : f < 7.5 ? 5.0 : 10.0) * power;
    axis->setRange(r.min, r.max);
    axis->setTickType(QValueAxis::TicksDynamic);
    axis->setTickAnchor(0.0);
    axis->setTickInterval(step);
    const int decimals = step >= 1.0 ? 0 : static_cast<int>(std::ceil(-std::log10(step) - 1e-9));
    axis->setLabelFormat(QStringLiteral("%.%1f").arg(decimals));
}

}  // namespace

ChartWindow::ChartWindow(QWidget* parent) : QWidget(parent) {
    setWindowFlag(Qt::Window);
    setObjectName(QStringLiteral("chartWindow"));
    setWindowTitle(QStringLiteral(" TARVELO"));

    chart_ = new QChart;
    chart_->setTitle(QString::fromUtf8(kTitle));
    QFont titleFont = chart_->titleFont();
    titleFont.setPointSize(12);
    titleFont.setBold(true);
    chart_->setTitleFont(titleFont);
    chart_->legend()->hide();
    chart_->setBackgroundRoundness(0);
    series_ = new QLineSeries;
    QPen pen(QColor(0, 0, 160));
    pen.setWidthF(2.0);
    series_->setPen(pen);
    chart_->addSeries(series_);
    axisX_ = new QValueAxis;
    axisX_->setTitleText(QString::fromUtf8(kCentreTitle));
    axisY_ = new QValueAxis;
    axisY_->setTitleText(QString::fromUtf8(kForceTitle));
    chart_->addAxis(axisX_, Qt::AlignBottom);
    chart_->addAxis(axisY_, Qt::AlignLeft);
    series_->attachAxis(axisX_);
    series_->attachAxis(axisY_);
    chart_->resize(kChartSize);

    view_ = new QChartView(chart_, this);
    view_->setObjectName(QStringLiteral("chartView"));
    view_->setRenderHint(QPainter::Antialiasing);
    view_->setMinimumSize(320, 240);

    saveChartButton_ = new QPushButton(QString::fromUtf8("Salvar gráfico"), this);
    saveChartButton_->setObjectName(QStringLiteral("saveChartButton"));
    saveChartButton_->setToolTip(QString::fromUtf8("Salva o gráfico em arquivo"));
    savePointsButton_ = new QPushButton(QString::fromUtf8("Salvar pontos"), this);
    savePointsButton_->setObjectName(QStringLiteral("savePointsButton"));
    savePointsButton_->setToolTip(QString::fromUtf8("Salvar os pontos do gráfico em arquivo"));
    connect(saveChartButton_, &QPushButton::clicked, this, [this] { SaveChartClicked(); });
    connect(savePointsButton_, &QPushButton::clicked, this, [this] { SavePointsClicked(); });
    caseSelectorLabel_ = new QLabel(QString::fromUtf8("Combinação:"), this);
    caseSelector_ = new QComboBox(this);
    caseSelector_->setObjectName(QStringLiteral("chartCaseSelector"));
    caseSelector_->setToolTip(QString::fromUtf8("Ver a curva de outra combinação"));
    caseSelectorLabel_->setBuddy(caseSelector_);
    connect(caseSelector_, &QComboBox::activated, this, &ChartWindow::ShowCase);
    ShowCaseSelector(false);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(caseSelectorLabel_);
    buttons->addWidget(caseSelector_);
    buttons->addStretch();
    buttons->addWidget(saveChartButton_);
    buttons->addWidget(savePointsButton_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(view_, 1);
    layout->addLayout(buttons);
    view_->resize(kChartSize);
    resize(kChartSize + QSize(24, 64));
}

bool ChartWindow::DrawCurve(LoadDeflectionCurve& curve, int n, bool topFree) {
    hide();
    if (n < 2) {
        Presenter().Warning(
            parentWidget(), QStringLiteral("TARVELO"),
            QString::fromUtf8("Impossível plotar o gráfico. Número de pontos insuficiente."));
        return false;
    }
    cases_.clear();
    ShowCaseSelector(false);
    chart_->setTitle(QString::fromUtf8(kTitle));
    PrepareCurve(curve, n, topFree);
    show();
    raise();
    activateWindow();
    return true;
}

bool ChartWindow::DrawCaseCurves(const std::vector<CaseCurve>& cases, int shown, bool topFree) {
    const CaseCurve& first = cases[static_cast<std::size_t>(shown)];
    LoadDeflectionCurve curve = first.curve;
    if (!DrawCurve(curve, first.points, topFree)) return false;
    cases_ = cases;
    caseSelector_->clear();
    for (const CaseCurve& c : cases_)
        caseSelector_->addItem(c.name);
    caseSelector_->setCurrentIndex(shown);
    ShowCaseSelector(true);
    ShowCase(shown);
    return true;
}

// A case that failed at its first load step has no curve to draw: the chart is left empty.
void ChartWindow::ShowCase(int index) {
    CaseCurve& c = cases_[static_cast<std::size_t>(index)];
    chart_->setTitle(QString::fromUtf8(kTitle) + QString::fromUtf8(" — ") + c.name);
    if (!PrepareCurve(c.curve, c.points, topFree_)) {
        series_->clear();
        points_ = 0;
    }
}

void ChartWindow::ShowCaseSelector(bool visible) {
    caseSelectorLabel_->setVisible(visible);
    caseSelector_->setVisible(visible);
}

bool ChartWindow::PrepareCurve(LoadDeflectionCurve& curve, int n, bool topFree) {
    if (n < 2) return false;
    n = std::min(n, kMaxDrawnSteps);
    auto& rows = curve.rows;  // rows[0] is row 1

    // Out along the curve and back to the origin: row n + j = row n - j.
    for (int j = 1; j <= n - 1; ++j)
        rows[n + j - 1] = rows[n - j - 1];

    // Ranges over the rows 1..n only.
    double xmin = rows[0][0], xmax = rows[0][0];
    double ymin = rows[0][1], ymax = rows[0][1];
    for (int i = 1; i < n; ++i) {
        if (rows[i][0] < xmin) xmin = rows[i][0];
        if (rows[i][0] > xmax) xmax = rows[i][0];
        if (rows[i][1] < ymin) ymin = rows[i][1];
        if (rows[i][1] > ymax) ymax = rows[i][1];
    }
    SetRoundTicks(axisX_, AxisRange(xmin, xmax));
    SetRoundTicks(axisY_, AxisRange(ymin, ymax));
    axisX_->setTitleText(QString::fromUtf8(topFree ? kTopTitle : kCentreTitle));

    // The whole table: after row 2n - 1 the rows are (0, 0) and the line rests at the origin.
    QList<QPointF> points;
    points.reserve(LoadDeflectionCurve::kRows);
    for (const auto& row : rows)
        points.append(QPointF(row[0], row[1]));
    series_->replace(points);

    rows_ = curve;
    points_ = n;
    topFree_ = topFree;
    return true;
}

QSize ChartWindow::ChartPixelSize() const {
    return view_->isVisible() ? view_->viewport()->size() : kChartSize;
}

void ChartWindow::RenderChart(QPainter& painter, const QRectF& target) {
    // Lay the chart out at its own size, then paint it scaled into the target: the chart is
    // vector graphics, so a printer or PDF gets sharp lines and text.
    const QSize own = ChartPixelSize();
    const QRectF old = chart_->geometry();
    chart_->setGeometry(QRectF(QPointF(0, 0), QSizeF(own)));
    if (chart_->layout() != nullptr) chart_->layout()->activate();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
    chart_->scene()->render(&painter, target, QRectF(QPointF(0, 0), QSizeF(own)),
                            Qt::KeepAspectRatio);
    if (view_->isVisible()) chart_->setGeometry(old);
}

bool SaveChartPicture(const QString& path, const QSize& own, const QString& title,
                      const std::function<void(QPainter&, const QRectF&)>& render, QString& error) {
    const QString suffix = QFileInfo(path).suffix().toLower();
    QByteArray bytes;
    if (suffix == QLatin1String("png")) {
        QImage image(own * 2, QImage::Format_ARGB32);
        image.setDotsPerMeterX(static_cast<int>(2 * kScreenDpi / 0.0254));
        image.setDotsPerMeterY(static_cast<int>(2 * kScreenDpi / 0.0254));
        image.fill(Qt::white);
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        render(painter, QRectF(QPointF(0, 0), QSizeF(image.size())));
        painter.end();
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        if (!image.save(&buffer, "PNG")) {
            error = QString::fromUtf8("Falha ao codificar a imagem PNG.");
            return false;
        }
    } else if (suffix == QLatin1String("svg")) {
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        QSvgGenerator svg;
        svg.setOutputDevice(&buffer);
        svg.setSize(own);
        svg.setViewBox(QRect(QPoint(0, 0), own));
        svg.setTitle(title);
        QPainter painter;
        if (!painter.begin(&svg)) {
            error = QString::fromUtf8("Falha ao gerar o SVG.");
            return false;
        }
        render(painter, QRectF(QPointF(0, 0), QSizeF(own)));
        painter.end();
    } else if (suffix == QLatin1String("pdf")) {
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        QPdfWriter pdf(&buffer);
        pdf.setTitle(title);
        pdf.setCreator(QStringLiteral("TARVELO"));
        pdf.setResolution(300);
        const QSizeF inches(own.width() / kScreenDpi, own.height() / kScreenDpi);
        pdf.setPageSize(QPageSize(inches, QPageSize::Inch));
        pdf.setPageMargins(QMarginsF(0, 0, 0, 0));
        QPainter painter;
        if (!painter.begin(&pdf)) {
            error = QString::fromUtf8("Falha ao gerar o PDF.");
            return false;
        }
        render(painter, QRectF(0, 0, pdf.width(), pdf.height()));
        painter.end();
    } else {
        error = QString::fromUtf8("Extensão de arquivo não reconhecida: use .png, .svg ou .pdf.");
        return false;
    }
    return SaveFileAtomically(path, bytes, error);
}

bool ChartWindow::SaveChart(const QString& path, QString& error) {
    return SaveChartPicture(
        path, ChartPixelSize(), QString::fromUtf8(kTitle),
        [this](QPainter& painter, const QRectF& target) { RenderChart(painter, target); }, error);
}

bool ChartWindow::SavePoints(const QString& path, PointsFormat format, QString& error) {
    if (points_ < 2) {
        error = QString::fromUtf8("Não há pontos do gráfico para salvar.");
        return false;
    }
    PointsCsv csv(format);
    csv.AddTitles(
        {QString::fromUtf8(topFree_ ? kTopTitle : kCentreTitle), QString::fromUtf8(kForceTitle)});
    for (int i = 0; i < points_; ++i)
        csv.AddRow({rows_.rows[i][0], rows_.rows[i][1]});
    return csv.Save(path, error);
}

void ChartWindow::SaveChartClicked() {
    QString path = Files().SaveFileName(
        this, QString::fromUtf8("Salvar gráfico"),
        QString::fromUtf8("Imagem PNG (*.png);;Imagem SVG (*.svg);;Documento PDF (*.pdf)"),
        QStringLiteral("curva-carga-flecha.png"));
    if (path.isEmpty()) return;
    if (QFileInfo(path).suffix().isEmpty()) path += QStringLiteral(".png");
    QString error;
    if (!SaveChart(path, error)) {
        Presenter().Warning(
            this, QStringLiteral("TARVELO"),
            QString::fromUtf8("Não foi possível salvar o gráfico em\n%1\n\n%2").arg(path, error));
    }
}

void ChartWindow::SavePointsClicked() {
    AskAndSavePoints(this, QStringLiteral("curva-carga-flecha.csv"),
                     [this](const QString& path, PointsFormat format, QString& error) {
                         return SavePoints(path, format, error);
                     });
}

void ChartWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (!placed_) {
        placed_ = true;
        CentreOnScreen(this);
    }
}

}  // namespace tarvelo::ui
