// Painting the calculation report: the lines in the report's fonts with their tab columns, the
// printed sheets (A4, page number at the top, chart page) on a printer or a PDF, and the files
// of "Salvar PDF" and "Salvar TXT".
#pragma once

#include <memory>
#include <vector>

#include <QFont>
#include <QString>

#include "report/report_content.h"
#include "report_window.h"

class QPagedPaintDevice;
class QPainter;

namespace tarvelo::ui {

class ChartWindow;
class EnvelopeWindow;
class SectionCanvas;

// The report's sans-serif face.
QFont ReportFont(double pointSize, bool bold);

// Draws a report line with the top of its first character at (left, top) and returns the height
// of a line in that font. Tab columns are counted in average character widths of the font.
double DrawReportLine(QPainter& painter, const report::ReportLine& line, double left, double top,
                      double pointSize);

// The report content of a snapshot (its copy of the section constants is rounded).
report::ReportContent SnapshotContent(const ReportSnapshot& snapshot,
                                      report::ReportVariant variant);

// The content the preview pages show: the report's, then the envelope's table when asked for.
report::ReportContent PreviewContent(const ReportSnapshot& snapshot);

// The printed report of a snapshot: its sheets and, when a verification left a curve of at least
// two points, the chart drawn for the chart page (directly, without the clipboard). After a
// completed run the drawing of the section with its bars follows the conclusion, below its last
// line when the sheet has room, on a sheet of its own otherwise (the text report has no drawing).
class PrintedReport {
  public:
    explicit PrintedReport(const ReportSnapshot& snapshot);
    ~PrintedReport();

    const std::vector<report::PrinterPage>& Pages() const { return pages_; }

    // Paints every sheet `passes` times on an A4 device whose coordinates start at the paper's
    // corner (QPrinter with full page, QPdfWriter without margins).
    bool Paint(QPagedPaintDevice& device, int passes, QString& error);

  private:
    void AddSectionFigure(const ReportSnapshot& snapshot);
    void PaintSectionFigure(QPainter& painter, double left, double top, double width);

    std::vector<report::PrinterPage> pages_;
    std::unique_ptr<ChartWindow> chart_;
    std::unique_ptr<EnvelopeWindow> envelope_;  // the envelope page's drawing, when asked for
    std::unique_ptr<SectionCanvas> section_;
    std::size_t sectionPage_ = 0;  // index into pages_, when section_ is set
    int sectionLine_ = 0;          // line position of its caption on that sheet
};

// "Salvar PDF": exactly the printed sheets, in a PDF file. Without a running QApplication (the
// command line) one is started on Qt's offscreen platform.
bool WriteReportPdf(const ReportSnapshot& snapshot, const QString& path, QString& error);

// "Salvar TXT": the printed sheets as UTF-8 text, a form feed between sheets, and the envelope's
// table when the snapshot asks for it (as `tarvelo-cli report --envelope` writes it).
bool WriteReportTextFile(const ReportSnapshot& snapshot, const QString& path, QString& error);

}  // namespace tarvelo::ui
