#include "envelope_window.h"

#include <QApplication>
#include <QChart>
#include <QChartView>
#include <QComboBox>
#include <QCoreApplication>
#include <QFileInfo>
#include <QGraphicsLayout>
#include <QGraphicsSimpleTextItem>
#include <QHBoxLayout>
#include <QLabel>
#include <QLegendMarker>
#include <QLineSeries>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QScatterSeries>
#include <QTabWidget>
#include <QVBoxLayout>
#include <QValueAxis>
#include <algorithm>
#include <cmath>
#include <numbers>

#include "chart_window.h"
#include "file_chooser.h"
#include "message_presenter.h"
#include "points_csv.h"
#include "procedures/recording_host.h"
#include "ui_common.h"

namespace tarvelo::ui {
namespace {

constexpr int kRays = 72;
constexpr int kCurvePoints = 81;
const QSize kViewSize(720, 620);  // each view's own size, pixels
const char* kShortTerm = "resistência de curta duração (coeficiente de fluência = 0)";

QString Number(double value, int decimals = 1) {
    return QString::number(value, 'f', decimals);
}

QValueAxis* AddAxis(QChart* chart, Qt::Alignment side, const QString& title) {
    auto* axis = new QValueAxis;
    axis->setTitleText(title);
    axis->setLabelFormat(QStringLiteral("%.0f"));
    chart->addAxis(axis, side);
    return axis;
}

template <class Series>
Series* AddSeries(QChart* chart, const QString& name, const QList<QPointF>& points) {
    auto* series = new Series;
    series->setName(name);
    series->replace(points);
    chart->addSeries(series);
    return series;
}

QLineSeries* AddLine(QChart* chart, const QString& name, const QList<QPointF>& points,
                     const QColor& color, Qt::PenStyle style = Qt::SolidLine) {
    auto* series = AddSeries<QLineSeries>(chart, name, points);
    QPen pen(color);
    pen.setWidthF(2.0);
    pen.setStyle(style);
    series->setPen(pen);
    return series;
}

QScatterSeries* AddPoints(QChart* chart, const QString& name, const QList<QPointF>& points,
                          const QColor& color, QScatterSeries::MarkerShape shape) {
    auto* series = AddSeries<QScatterSeries>(chart, name, points);
    series->setColor(color);
    series->setBorderColor(color);
    series->setMarkerShape(shape);
    series->setMarkerSize(10);
    return series;
}

QChart* NewChart() {
    auto* chart = new QChart;
    QFont font = chart->titleFont();
    font.setPointSize(11);
    font.setBold(true);
    chart->setTitleFont(font);
    chart->setBackgroundRoundness(0);
    chart->legend()->setAlignment(Qt::AlignBottom);
    chart->resize(kViewSize);
    return chart;
}

// Empties a chart for a new drawing: its series, axes and written labels.
void ClearChart(QChart* chart) {
    chart->removeAllSeries();
    for (QAbstractAxis* axis : chart->axes())
        chart->removeAxis(axis);
    for (QGraphicsItem* item : chart->childItems()) {
        if (item->data(0).toBool()) delete item;
    }
}

// Every chart says once that its resistance is the short-term one.
void AddShortTermNote(QChart* chart) {
    auto* note = new QGraphicsSimpleTextItem(QString::fromUtf8(kShortTerm), chart);
    note->setData(0, true);
}

// The written labels follow the plot: one tied to a point of the values beside it, the note in
// the plot's top left corner.
void PlaceLabels(QChart* chart) {
    const QRectF plot = chart->plotArea();
    for (QGraphicsItem* item : chart->childItems()) {
        if (!item->data(0).toBool()) continue;
        const QVariant at = item->data(1);
        if (at.isValid() && !chart->series().isEmpty()) {
            item->setPos(chart->mapToPosition(at.toPointF(), chart->series().back()) +
                         QPointF(8, -20));
        } else {
            item->setPos(plot.left() + 6, plot.top() + 4);
        }
    }
}

// A round step (1, 2 or 5 times a power of ten) giving about `count` intervals over `span`.
double RoundStep(double span, int count) {
    const double raw = span / count;
    const double power = std::pow(10.0, std::floor(std::log10(raw)));
    const double f = raw / power;
    return (f < 1.5 ? 1.0 : f < 3.5 ? 2.0 : f < 7.5 ? 5.0 : 10.0) * power;
}

void SetRange(QValueAxis* axis, double lo, double hi, int intervals) {
    const double step = RoundStep(hi - lo, intervals);
    axis->setRange(std::floor(lo / step) * step, std::ceil(hi / step) * step);
    axis->setTickType(QValueAxis::TicksDynamic);
    axis->setTickAnchor(0.0);
    axis->setTickInterval(step);
}

}  // namespace

EnvelopeWindow::EnvelopeWindow(QWidget* parent) : QWidget(parent) {
    setWindowFlag(Qt::Window);
    setObjectName(QStringLiteral("envelopeWindow"));
    setWindowTitle(QString::fromUtf8(" TARVELO - Envoltória resistente"));

    cases_ = new QComboBox(this);
    cases_->setObjectName(QStringLiteral("envelopeCases"));
    connect(cases_, &QComboBox::currentIndexChanged, this, [this](int i) { DrawCase(i); });

    contourChart_ = NewChart();
    contourView_ = new QChartView(contourChart_);
    curveChart_ = NewChart();
    curveView_ = new QChartView(curveChart_);
    for (QChartView* view : {contourView_, curveView_}) {
        view->setRenderHint(QPainter::Antialiasing);
        view->setMinimumSize(360, 340);
        view->setMouseTracking(true);
        view->viewport()->installEventFilter(this);
    }
    connect(contourChart_, &QChart::plotAreaChanged, this, [this] { KeepEqualScales(); });
    connect(curveChart_, &QChart::plotAreaChanged, this, [this] { PlaceLabels(curveChart_); });
    tabs_ = new QTabWidget(this);
    tabs_->addTab(contourView_, QString::fromUtf8("Mx–My"));
    tabs_->addTab(curveView_, QString::fromUtf8("N–M"));

    pointer_ = new QLabel(this);
    pointer_->setObjectName(QStringLiteral("envelopePointer"));
    auto* saveChart = new QPushButton(QString::fromUtf8("Salvar gráfico"), this);
    saveChart->setToolTip(QString::fromUtf8("Salva o gráfico em arquivo"));
    auto* savePoints = new QPushButton(QString::fromUtf8("Salvar pontos"), this);
    savePoints->setToolTip(QString::fromUtf8("Salvar os pontos do gráfico em arquivo"));
    connect(saveChart, &QPushButton::clicked, this, [this] {
        QString path = Files().SaveFileName(
            this, QString::fromUtf8("Salvar gráfico"),
            QString::fromUtf8("Imagem PNG (*.png);;Imagem SVG (*.svg);;Documento PDF (*.pdf)"),
            QStringLiteral("envoltoria.png"));
        if (path.isEmpty()) return;
        if (QFileInfo(path).suffix().isEmpty()) path += QStringLiteral(".png");
        QString error;
        if (!SaveChart(path, error)) {
            Presenter().Warning(this, QStringLiteral("TARVELO"),
                                QString::fromUtf8("Não foi possível salvar o gráfico em\n%1\n\n%2")
                                    .arg(path, error));
        }
    });
    connect(savePoints, &QPushButton::clicked, this, [this] {
        AskAndSavePoints(this, QStringLiteral("envoltoria.csv"),
                         [this](const QString& path, PointsFormat format, QString& error) {
                             return SavePoints(path, error, format);
                         });
    });

    auto* top = new QHBoxLayout;
    top->addWidget(new QLabel(QString::fromUtf8("Combinação:"), this));
    top->addWidget(cases_, 1);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(pointer_, 1);
    bottom->addWidget(saveChart);
    bottom->addWidget(savePoints);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(tabs_, 1);
    layout->addLayout(bottom);
    resize(kViewSize + QSize(40, 130));
}

EnvelopeWindow::~EnvelopeWindow() = default;

bool EnvelopeWindow::Prepare(const ColumnData& data, EnvelopeSource source) {
    RecordingHost quiet;
    return Prepare(data, source, quiet);
}

bool EnvelopeWindow::Prepare(const ColumnData& data, EnvelopeSource source, RecordingHost& quiet) {
    // The column has just been through its run, with its messages: this one is quiet.
    run_ = RunEnvelope(CasesOf(data), source, quiet);
    if (!run_->completed || run_->cases.empty()) return false;
    const QSignalBlocker block(cases_);
    cases_->clear();
    for (const EnvelopeCaseResult& c : run_->cases)
        cases_->addItem(QString::fromStdString(c.name));
    cases_->setCurrentIndex(run_->governing);
    DrawCase(run_->governing);
    return true;
}

bool EnvelopeWindow::ShowEnvelope(const ColumnData& data, EnvelopeSource source) {
    RecordingHost quiet;
    if (!Prepare(data, source, quiet)) {
        // The data changed since the run and a rule now ends it: the old drawing goes away and
        // the user reads why.
        hide();
        QString text = QString::fromUtf8("Não foi possível calcular a envoltória resistente.");
        for (const std::string& message : quiet.Messages())
            text += QStringLiteral("\n\n") + QString::fromStdString(message);
        Presenter().Warning(QApplication::activeWindow(), QStringLiteral("TARVELO"), text);
        return false;
    }
    if (!placed_) {
        placed_ = true;
        CentreOnScreen(this);
    }
    show();
    raise();
    activateWindow();
    return true;
}

void EnvelopeWindow::DrawCase(int index) {
    if (!run_ || index < 0 || index >= static_cast<int>(run_->cases.size())) return;
    DrawContour(run_->cases[index]);
    DrawCurve(run_->cases[index]);
}

void EnvelopeWindow::DrawContour(const EnvelopeCaseResult& c) {
    QChart* chart = contourChart_;
    ClearChart(chart);
    contourAxial_ = c.Nd;
    contour_ = run_->envelope->Contour(c.Nd, kRays);
    chart->setTitle(QString::fromUtf8("Envoltória Mx–My em N = %1 kN — %2")
                        .arg(Number(c.Nd), QString::fromStdString(c.name)));
    QValueAxis* axisX = AddAxis(chart, Qt::AlignBottom, QString::fromUtf8("Mx (kN·cm)"));
    QValueAxis* axisY = AddAxis(chart, Qt::AlignLeft, QString::fromUtf8("My (kN·cm)"));

    double reach = 0.0;
    const auto extend = [&reach](const QPointF& p) {
        reach = std::max({reach, std::fabs(p.x()), std::fabs(p.y())});
    };
    QList<QPointF> contour;
    for (const ContourRay& ray : contour_) {
        if (!ray.moment) continue;
        const SectionForces p = ContourPoint(ray, c.Nd);
        contour.append(QPointF(p.Mx, p.My));
        extend(contour.back());
    }
    if (!contour.isEmpty()) contour.append(contour.front());
    AddLine(chart, QString::fromUtf8("Resistente"), contour, QColor(0, 0, 160));

    QList<QPointF> ellipse;
    for (int i = 0; i <= kRays; ++i) {
        const double a = 2 * std::numbers::pi * i / kRays;
        ellipse.append(
            QPointF(c.minimum.semiAxisX * std::cos(a), c.minimum.semiAxisY * std::sin(a)));
        extend(ellipse.back());
    }
    AddLine(chart,
            QString::fromUtf8("Mínima (%1)")
                .arg(c.minimum.inside ? QString::fromUtf8("atendida")
                                      : QString::fromUtf8("não atendida")),
            ellipse, QColor(200, 120, 0), Qt::DashLine);

    const QList<QPointF> ends{QPointF(c.topMoment.Mx, c.topMoment.My),
                              QPointF(c.baseMoment.Mx, c.baseMoment.My)};
    for (const QPointF& p : ends)
        extend(p);
    AddPoints(chart, QString::fromUtf8("1ª ordem: topo, base"), ends, QColor(0, 140, 0),
              QScatterSeries::MarkerShapeRectangle);

    QString etaText;
    QScatterSeries* critical = nullptr;
    if (c.designLoadReached) {
        const QPointF p(c.criticalForces.Mx, c.criticalForces.My);
        extend(p);
        critical = AddPoints(chart, QString::fromUtf8("Seção crítica"), {p}, QColor(200, 0, 0),
                             QScatterSeries::MarkerShapeCircle);
        etaText = c.utilisation ? QString::fromUtf8("η = %1").arg(Number(*c.utilisation, 3))
                                : QString::fromUtf8("fora da envoltória");
        if (c.loadFactor != 1.0) etaText += QString::fromUtf8(" (%1 Fd)").arg(c.loadFactor);
    } else {
        chart->setTitle(chart->title() + QString::fromUtf8(": ") +
                        QString::fromUtf8(kFailsBeforeDesignLoad));
    }
    contourReach_ = reach > 0 ? 1.1 * reach : 1.0;
    const double step = RoundStep(2 * contourReach_, 6);
    for (QValueAxis* axis : {axisX, axisY}) {
        axis->setTickType(QValueAxis::TicksDynamic);
        axis->setTickAnchor(0.0);
        axis->setTickInterval(step);
    }
    for (QAbstractSeries* series : chart->series()) {
        series->attachAxis(axisX);
        series->attachAxis(axisY);
    }
    if (critical != nullptr) {
        auto* label = new QGraphicsSimpleTextItem(etaText, chart);
        label->setData(0, true);
        label->setData(1, QPointF(c.criticalForces.Mx, c.criticalForces.My));
        QFont font = label->font();
        font.setBold(true);
        label->setFont(font);
        label->setBrush(QColor(200, 0, 0));
    }
    AddShortTermNote(chart);
    KeepEqualScales();
}

void EnvelopeWindow::KeepEqualScales() {
    // One kNcm is as long along Mx as along My: the longer side of the plot gets the wider range.
    // The ranges move the tick labels a little, and with them the plot area: the adjustment
    // settles in a pass or two and is not repeated for changes below a thousandth.
    QChart* chart = contourChart_;
    const QRectF plot = chart->plotArea();
    const QList<QAbstractAxis*> x = chart->axes(Qt::Horizontal);
    const QList<QAbstractAxis*> y = chart->axes(Qt::Vertical);
    if (adjusting_ || plot.isEmpty() || x.isEmpty() || y.isEmpty()) return;
    adjusting_ = true;
    const double aspect = plot.width() / plot.height();
    const double rx = contourReach_ * std::max(1.0, aspect);
    const double ry = contourReach_ * std::max(1.0, 1.0 / aspect);
    auto* axisX = static_cast<QValueAxis*>(x.front());
    auto* axisY = static_cast<QValueAxis*>(y.front());
    if (std::fabs(axisX->max() - rx) > 1e-3 * rx) axisX->setRange(-rx, rx);
    if (std::fabs(axisY->max() - ry) > 1e-3 * ry) axisY->setRange(-ry, ry);
    PlaceLabels(chart);
    adjusting_ = false;
}

void EnvelopeWindow::DrawCurve(const EnvelopeCaseResult& c) {
    QChart* chart = curveChart_;
    ClearChart(chart);
    // The direction of the critical moment (of the first-order top moment without one).
    const SectionForces& d = c.designLoadReached ? c.criticalForces : c.topMoment;
    curveAngle_ = d.Mx == 0 && d.My == 0 ? 0.0 : std::atan2(d.My, d.Mx) * 180 / std::numbers::pi;
    curve_ = run_->envelope->InteractionCurve(curveAngle_, kCurvePoints);
    const std::vector<CurvePoint> opposite =
        run_->envelope->InteractionCurve(curveAngle_ + 180, kCurvePoints);
    chart->setTitle(QString::fromUtf8("Curva N–M na direção θ = %1° — %2")
                        .arg(Number(curveAngle_), QString::fromStdString(c.name)));
    QValueAxis* axisX =
        AddAxis(chart, Qt::AlignBottom, QString::fromUtf8("M na direção θ (kN·cm)"));
    QValueAxis* axisY = AddAxis(chart, Qt::AlignLeft, QString::fromUtf8("N (kN)"));

    QList<QPointF> points;
    for (const CurvePoint& p : curve_) {
        if (p.moment) points.append(QPointF(*p.moment, p.N));
    }
    for (auto it = opposite.rbegin(); it != opposite.rend(); ++it) {
        if (it->moment) points.append(QPointF(-*it->moment, it->N));
    }
    if (!points.isEmpty()) points.append(points.front());
    AddLine(chart, QString::fromUtf8("M_Rd(N)"), points, QColor(0, 0, 160));
    double reach = 1.0;
    for (const QPointF& p : points)
        reach = std::max(reach, std::fabs(p.x()));
    if (c.designLoadReached) {
        AddPoints(chart, QString::fromUtf8("(Nd, Md) da seção crítica"),
                  {QPointF(std::hypot(d.Mx, d.My), d.N)}, QColor(200, 0, 0),
                  QScatterSeries::MarkerShapeCircle);
    }
    SetRange(axisX, -1.1 * reach, 1.1 * reach, 6);
    const double span = run_->envelope->squash() - run_->envelope->tension();
    SetRange(axisY, run_->envelope->tension() - 0.05 * span, run_->envelope->squash() + 0.05 * span,
             6);
    for (QAbstractSeries* series : chart->series()) {
        series->attachAxis(axisX);
        series->attachAxis(axisY);
    }
    AddShortTermNote(chart);
    PlaceLabels(chart);
}

bool EnvelopeWindow::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseMove) {
        const bool contour = watched == contourView_->viewport();
        QChartView* view = contour ? contourView_ : curveView_;
        if (contour || watched == curveView_->viewport()) {
            QChart* chart = view->chart();
            const QPoint pos = static_cast<QMouseEvent*>(event)->position().toPoint();
            const QPointF scene = view->mapToScene(pos);
            if (!chart->series().isEmpty() &&
                chart->plotArea().contains(chart->mapFromScene(scene))) {
                const QPointF v = chart->mapToValue(chart->mapFromScene(scene));
                pointer_->setText(contour ? QString::fromUtf8("Mx = %1 kN·cm, My = %2 kN·cm")
                                                .arg(Number(v.x()), Number(v.y()))
                                          : QString::fromUtf8("M = %1 kN·cm, N = %2 kN")
                                                .arg(Number(v.x()), Number(v.y())));
            } else {
                pointer_->clear();
            }
        }
    }
    return QWidget::eventFilter(watched, event);
}

void EnvelopeWindow::Render(QChart* chart, QChartView* view, QPainter& painter,
                            const QRectF& target) {
    // Laid out at its own size, then painted scaled: vector output keeps sharp lines and text.
    const QSize own = view->isVisible() ? view->viewport()->size() : kViewSize;
    const QRectF old = chart->geometry();
    chart->setGeometry(QRectF(QPointF(0, 0), QSizeF(own)));
    if (chart->layout() != nullptr) chart->layout()->activate();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
    if (chart == contourChart_) KeepEqualScales();
    chart->scene()->render(&painter, target, QRectF(QPointF(0, 0), QSizeF(own)),
                           Qt::KeepAspectRatio);
    if (view->isVisible()) {
        chart->setGeometry(old);
        if (chart == contourChart_) KeepEqualScales();
    }
}

void EnvelopeWindow::RenderContour(QPainter& painter, const QRectF& target) {
    Render(contourChart_, contourView_, painter, target);
}

bool EnvelopeWindow::SaveChart(const QString& path, QString& error) {
    const bool contour = tabs_->currentIndex() == 0;
    QChart* chart = contour ? contourChart_ : curveChart_;
    QChartView* view = contour ? contourView_ : curveView_;
    const QSize own = view->isVisible() ? view->viewport()->size() : kViewSize;
    return SaveChartPicture(
        path, own, chart->title(),
        [&](QPainter& painter, const QRectF& target) { Render(chart, view, painter, target); },
        error);
}

bool EnvelopeWindow::SavePoints(const QString& path, QString& error, PointsFormat format) {
    if (!run_) {
        error = QString::fromUtf8("Não há pontos do gráfico para salvar.");
        return false;
    }
    PointsCsv csv(format);
    if (tabs_->currentIndex() == 0) {
        csv.AddTitles({QString::fromUtf8("Ângulo (graus)"), QStringLiteral("Mx (kN.cm)"),
                       QStringLiteral("My (kN.cm)")});
        for (const ContourRay& ray : contour_) {
            const SectionForces p = ContourPoint(ray, contourAxial_);
            csv.AddRow({ray.angle, ray.moment ? std::optional(p.Mx) : std::nullopt,
                        ray.moment ? std::optional(p.My) : std::nullopt});
        }
    } else {
        csv.AddTitles(
            {QStringLiteral("N (kN)"), QString::fromUtf8("M_Rd (kN.cm) na direção %1 graus")
                                           .arg(QString::fromUtf8(csv.Number(curveAngle_)))});
        for (const CurvePoint& p : curve_)
            csv.AddRow({p.N, p.moment});
    }
    return csv.Save(path, error);
}

}  // namespace tarvelo::ui
