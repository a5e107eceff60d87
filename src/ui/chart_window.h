// Form17c: the load-deflection chart of the last verification.
#pragma once

#include <QWidget>

#include "engine/column_model.h"

class QPainter;
class QRectF;

namespace tarvelo::ui {

class ChartWindow : public QWidget {
    Q_OBJECT
public:
    explicit ChartWindow(QWidget* parent = nullptr);

    // The "Curva carga-flecha" click from step 2 on: with n the last load step reached, mirrors
    // the rows out and back (the table is changed), sets ranges and titles and shows the window.
    // Returns false after the "Número de pontos insuficiente" message when n < 2.
    bool DrawCurve(LoadDeflectionCurve& curve, int n, bool topFree);

    // Paints the current chart into a rectangle of a painter (printer, PDF, image).
    void RenderChart(QPainter& painter, const QRectF& target);
};

}  // namespace tarvelo::ui
