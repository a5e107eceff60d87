// FormImprimir: the report dialog, its page-by-page preview and the printed report.
#pragma once

#include <functional>
#include <string>

#include <QWidget>

#include "engine/column_model.h"
#include "model/column_data.h"
#include "model/section_geometry.h"

namespace tarvelo::ui {

// What the report reads at the moment it is produced: the input texts, the result field
// texts, the section constants kept by the last run and the curve of the last verification.
struct ReportSnapshot {
    ColumnData data;
    std::string safetyText;    // Form17 Text11
    std::string requiredText;  // Form17 Text12
    std::string minimumText;   // Form17 Text13
    bool hasSectionConstants = false;
    SectionConstants sectionConstants;
    bool hasCurve = false;  // a completed verification left a curve
    LoadDeflectionCurve curve;
    int curvePoints = 0;  // n, the last load step reached
    bool topFree = false;
};

class ReportWindow : public QWidget {
    Q_OBJECT
public:
    explicit ReportWindow(QWidget* parent = nullptr);

    // Opens the dialog; the snapshot function is called whenever the report is produced.
    void Open(std::function<ReportSnapshot()> snapshot);

signals:
    // Emitted when the window closes (the main window enables itself again).
    void closed();
};

}  // namespace tarvelo::ui
