// The resistance envelope window: the section's Mx-My contour at the design axial force with the
// load case's design points and the minimum-moment ellipse, and the N-M curve in the direction of
// the critical moment. Short-term resistance: creep coefficient 0.
#pragma once

#include <QWidget>
#include <memory>

#include "points_csv.h"
#include "procedures/envelope_run.h"

class QChart;
class QChartView;
class QComboBox;
class QLabel;
class QPainter;
class QRectF;
class QTabWidget;
class QValueAxis;

namespace tarvelo {
class RecordingHost;
}

namespace tarvelo::ui {

class EnvelopeWindow : public QWidget {
    Q_OBJECT
  public:
    explicit EnvelopeWindow(QWidget* parent = nullptr);
    ~EnvelopeWindow() override;

    // Runs the envelope of the column (after a verification, or a design for the designed
    // steel) without messages and draws its governing case. False when the run ended.
    bool Prepare(const ColumnData& data, EnvelopeSource source);
    // Prepare, then show the window; when the run ends, says why.
    bool ShowEnvelope(const ColumnData& data, EnvelopeSource source);

    // Paints the Mx-My view into a rectangle of a painter (the report's page, a file).
    void RenderContour(QPainter& painter, const QRectF& target);

    // "Salvar gráfico" (PNG, SVG, PDF by the extension) and "Salvar pontos" (CSV, in the form
    // the dialog offers first unless told) of the view on show.
    bool SaveChart(const QString& path, QString& error);
    bool SavePoints(const QString& path, QString& error,
                    PointsFormat format = PointsFormat::SemicolonDecimalComma);

    const EnvelopeRun* Run() const { return run_.get(); }
    QTabWidget* Views() const { return tabs_; }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    bool Prepare(const ColumnData& data, EnvelopeSource source, RecordingHost& quiet);
    void DrawCase(int index);
    void DrawContour(const EnvelopeCaseResult& c);
    void DrawCurve(const EnvelopeCaseResult& c);
    void KeepEqualScales();
    void Render(QChart* chart, QChartView* view, QPainter& painter, const QRectF& target);

    std::unique_ptr<EnvelopeRun> run_;
    std::vector<ContourRay> contour_;
    std::vector<CurvePoint> curve_;
    double contourAxial_ = 0.0;
    double contourReach_ = 1.0;  // kNcm, the half range the contour's view needs
    bool adjusting_ = false;
    double curveAngle_ = 0.0;

    QComboBox* cases_ = nullptr;
    QTabWidget* tabs_ = nullptr;
    QChart* contourChart_ = nullptr;
    QChartView* contourView_ = nullptr;
    QChart* curveChart_ = nullptr;
    QChartView* curveView_ = nullptr;
    QLabel* pointer_ = nullptr;
    bool placed_ = false;
};

}  // namespace tarvelo::ui
