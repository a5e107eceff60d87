// The chart window: the load-deflection chart of the last verification.
#pragma once

#include <QSize>
#include <QString>
#include <QWidget>
#include <functional>
#include <vector>

#include "engine/column_model.h"
#include "points_csv.h"

class QPainter;
class QRectF;
class QChart;
class QChartView;
class QComboBox;
class QLabel;
class QLineSeries;
class QPushButton;
class QValueAxis;

namespace tarvelo::ui {

// "Salvar gráfico" of every chart window: the picture `render` paints at its own size `own`
// (pixels), as PNG, SVG or PDF by the extension of the path, written atomically.
bool SaveChartPicture(const QString& path, const QSize& own, const QString& title,
                      const std::function<void(QPainter&, const QRectF&)>& render, QString& error);

// The curve of one load case of a run of several.
struct CaseCurve {
    QString name;  // as the results window names the case: "2 — Vento +x"
    LoadDeflectionCurve curve;
    int points = 0;  // the last load step reached
};

class ChartWindow : public QWidget {
    Q_OBJECT
  public:
    explicit ChartWindow(QWidget* parent = nullptr);

    // The "Curva carga-flecha" click from step 2 on: with n the last load step reached, mirrors
    // the rows out and back (the table is changed), sets ranges and titles and shows the window.
    // Returns false after the "Número de pontos insuficiente" message when n < 2.
    bool DrawCurve(LoadDeflectionCurve& curve, int n, bool topFree);

    // The same for a run of several load cases: the case selector lists `cases` and the curve of
    // cases[shown] (the governing case) is drawn first; DrawCurve hides the selector again.
    bool DrawCaseCurves(const std::vector<CaseCurve>& cases, int shown, bool topFree);
    QComboBox* CaseSelector() const { return caseSelector_; }

    // Paints the current chart into a rectangle of a painter (printer, PDF, image).
    void RenderChart(QPainter& painter, const QRectF& target);

    // DrawCurve without the message and without showing the window (the printed report builds
    // its chart this way). False when n < 2.
    bool PrepareCurve(LoadDeflectionCurve& curve, int n, bool topFree);

    // The chart's own size on the screen, in pixels.
    QSize ChartPixelSize() const;

    // "Salvar gráfico": PNG, SVG or PDF by the extension of the path.
    bool SaveChart(const QString& path, QString& error);
    using PointsFormat = ui::PointsFormat;  // the two CSV forms (points_csv.h)
    // "Salvar pontos": the rows 1..n as CSV (deflection in mm, force in kN).
    bool SavePoints(const QString& path, PointsFormat format, QString& error);

    QChart* Chart() const { return chart_; }
    QValueAxis* AxisX() const { return axisX_; }
    QValueAxis* AxisY() const { return axisY_; }
    QLineSeries* Series() const { return series_; }

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    void SaveChartClicked();
    void SavePointsClicked();
    void ShowCase(int index);  // the selector's choice
    void ShowCaseSelector(bool visible);

    QChart* chart_ = nullptr;
    QChartView* view_ = nullptr;
    QLineSeries* series_ = nullptr;
    QValueAxis* axisX_ = nullptr;
    QValueAxis* axisY_ = nullptr;
    QPushButton* saveChartButton_ = nullptr;
    QPushButton* savePointsButton_ = nullptr;
    QLabel* caseSelectorLabel_ = nullptr;
    QComboBox* caseSelector_ = nullptr;
    std::vector<CaseCurve> cases_;  // of a run of several cases; empty for one case
    LoadDeflectionCurve rows_{};    // the table as last drawn
    int points_ = 0;                // n of the last drawing
    bool topFree_ = false;
    bool placed_ = false;
};

}  // namespace tarvelo::ui
