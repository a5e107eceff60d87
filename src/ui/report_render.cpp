#include "report_render.h"

#include <QApplication>
#include <QBuffer>
#include <QFontMetricsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>
#include <algorithm>
#include <cstdio>

#include "chart_window.h"
#include "envelope_window.h"
#include "procedures/procedures.h"
#include "procedures/recording_host.h"
#include "report/report_envelope.h"
#include "section_drawing.h"
#include "ui_common.h"

namespace tarvelo::ui {
namespace {

// Positions on the sheet, in centimetres from the paper's corner.
constexpr double kLeftCm = 2.0;
constexpr double kFirstLineCm = 2.0;
constexpr double kPageNumberXCm = 10.0;
constexpr double kPageNumberYCm = 1.0;
constexpr double kBottomMarginCm = 1.2;
constexpr double kA4WidthCm = 21.0;
constexpr double kA4HeightCm = 29.7;
constexpr double kBodyPoints = 12.0;
constexpr double kPageNumberPoints = 10.0;
constexpr double kScreenDpi = 96.0;
// The section figure: a caption line, then the drawing window's picture area (329 x 201 pixels)
// at 12 cm wide, which takes about 15 line positions of the sheet.
constexpr int kSectionFigureLines = 16;
constexpr double kSectionFigureWidthCm = 12.0;
constexpr int kCanvasWidth = 329;
constexpr int kCanvasHeight = 201;

// The command line writes PDFs without a screen: widgets need an application object.
bool EnsureApplication(QString& error) {
    if (qobject_cast<QApplication*>(QCoreApplication::instance()) != nullptr) return true;
    if (QCoreApplication::instance() != nullptr) {
        error = QString::fromUtf8("O relatório em PDF precisa de uma QApplication.");
        return false;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // Without a screen Qt's notes about it are noise; real errors still reach the terminal.
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& text) {
        if (type == QtCriticalMsg || type == QtFatalMsg) {
            std::fprintf(stderr, "%s\n", text.toLocal8Bit().constData());
        }
    });
    static int argc = 1;
    static char name[] = "tarvelo";
    static char* argv[] = {name, nullptr};
    static QApplication* application = new QApplication(argc, argv);  // lives to the end
    (void)application;
    return true;
}

// The envelope of the run the report follows: a design's has the designed steel.
EnvelopeSource SnapshotEnvelopeSource(const ReportSnapshot& snapshot) {
    return snapshot.runs.hasCurve ? EnvelopeSource::Verification : EnvelopeSource::Design;
}

}  // namespace

QFont ReportFont(double pointSize, bool bold) {
    QFont font;
    font.setFamilies({QStringLiteral("Arial"), QStringLiteral("Liberation Sans"),
                      QStringLiteral("DejaVu Sans")});
    // No ligatures: "fi" and "fl" stay letters, so text copied from the PDF reads as typed.
    font.setStyleHint(QFont::SansSerif, QFont::PreferNoShaping);
    font.setPointSizeF(pointSize);
    font.setBold(bold);
    return font;
}

double DrawReportLine(QPainter& painter, const report::ReportLine& line, double left, double top,
                      double pointSize) {
    const QFont font = ReportFont(pointSize, line.bold);
    painter.setFont(font);
    const QFontMetricsF metrics(font, painter.device());
    const double column = metrics.averageCharWidth();
    const double baseline = top + metrics.ascent();
    double x = left;
    for (const report::ReportSegment& segment : line.segments) {
        if (segment.column > 0) {
            const double target = left + (segment.column - 1) * column;
            x = x < target ? target : x + metrics.horizontalAdvance(QLatin1Char(' '));
        }
        const QString text =
            QString::fromUtf8(segment.text.data(), static_cast<qsizetype>(segment.text.size()));
        painter.drawText(QPointF(x, baseline), text);
        x += metrics.horizontalAdvance(text);
    }
    return metrics.lineSpacing();
}

report::ReportContent SnapshotContent(const ReportSnapshot& snapshot,
                                      report::ReportVariant variant) {
    SectionConstants kept =
        snapshot.runs.hasSectionConstants ? snapshot.runs.sectionConstants : SectionConstants{};
    return report::BuildReportContent(snapshot.data, snapshot.results, kept, variant);
}

PrintedReport::PrintedReport(const ReportSnapshot& snapshot) {
    const bool withChart = snapshot.HasChart();
    pages_ = report::PaginatePrinter(SnapshotContent(snapshot, report::ReportVariant::Printer),
                                     withChart);
    if (!snapshot.results.conclusion.empty()) AddSectionFigure(snapshot);
    if (withChart) {
        chart_ = std::make_unique<ChartWindow>();
        LoadDeflectionCurve rows = snapshot.runs.curve;
        chart_->PrepareCurve(rows, snapshot.runs.reachedStep, snapshot.TopFree());
    }
    if (snapshot.withEnvelope) {
        envelope_ = std::make_unique<EnvelopeWindow>();
        if (!envelope_->Prepare(snapshot.data, SnapshotEnvelopeSource(snapshot))) envelope_.reset();
    }
}

PrintedReport::~PrintedReport() = default;

void PrintedReport::AddSectionFigure(const ReportSnapshot& snapshot) {
    // The section as the run built it; the same checks refuse it silently if the data changed.
    RecordingHost quiet;
    SectionGeometry geometry;
    if (!BuildSectionForDrawing(snapshot.data, quiet, geometry)) return;
    section_ = std::make_unique<SectionCanvas>();
    section_->resize(kCanvasWidth, kCanvasHeight);
    section_->SetSection(geometry);

    // The last text sheet comes before the chart sheet, if there is one.
    std::size_t last = pages_.size() - 1;
    if (pages_[last].chart) --last;
    const int used = static_cast<int>(pages_[last].lines.size());
    if (used + 1 + kSectionFigureLines <= report::kPrinterLinesPerPage) {
        sectionPage_ = last;
        sectionLine_ = used + 1;
        return;
    }
    report::PrinterPage figure;
    figure.number = pages_[last].number + 1;
    pages_.insert(pages_.begin() + static_cast<std::ptrdiff_t>(last) + 1, figure);
    for (std::size_t i = last + 2; i < pages_.size(); ++i)
        ++pages_[i].number;
    sectionPage_ = last + 1;
    sectionLine_ = 0;
}

void PrintedReport::PaintSectionFigure(QPainter& painter, double left, double top, double width) {
    report::ReportLine caption;
    caption.segments.push_back({0, "Seção transversal do pilar (contorno e barras):"});
    top += DrawReportLine(painter, caption, left, top, kBodyPoints);
    painter.save();
    painter.translate(left, top);
    const double scale = width / kCanvasWidth;
    painter.scale(scale, scale);
    painter.setPen(Qt::black);
    painter.drawRect(QRectF(0, 0, kCanvasWidth, kCanvasHeight));
    section_->render(&painter, QPoint(), QRegion(), QWidget::DrawChildren);
    painter.restore();
}

bool PrintedReport::Paint(QPagedPaintDevice& device, int passes, QString& error) {
    QPainter painter;
    if (!painter.begin(&device)) {
        error = QString::fromUtf8("Não foi possível iniciar a impressão.");
        return false;
    }
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    const double cm = device.logicalDpiY() / 2.54;
    const double cmX = device.logicalDpiX() / 2.54;
    // 54 lines must fit between the first line and the foot of the sheet.
    const QFontMetricsF body(ReportFont(kBodyPoints, false), &device);
    const double pitch =
        std::min(body.lineSpacing(), (kA4HeightCm - kFirstLineCm - kBottomMarginCm) * cm /
                                         report::kPrinterLinesPerPage);

    bool first = true;
    for (int pass = 0; pass < std::max(1, passes); ++pass) {
        for (const report::PrinterPage& page : pages_) {
            if (!first && !device.newPage()) {
                error = QString::fromUtf8("Não foi possível começar uma nova página.");
                painter.end();
                return false;
            }
            first = false;
            report::ReportLine number;
            number.segments.push_back({0, std::to_string(page.number)});
            DrawReportLine(painter, number, kPageNumberXCm * cmX, kPageNumberYCm * cm,
                           kPageNumberPoints);
            if (page.chart && chart_ != nullptr) {
                // The chart at its own size, narrowed to the sheet's width when needed.
                const QSize own = chart_->ChartPixelSize();
                double width = own.width() / kScreenDpi * 2.54 * cmX;
                double height = own.height() / kScreenDpi * 2.54 * cm;
                const double room = (kA4WidthCm - 2 * kLeftCm) * cmX;
                if (width > room) {
                    height *= room / width;
                    width = room;
                }
                chart_->RenderChart(painter,
                                    QRectF(kLeftCm * cmX, kFirstLineCm * cm, width, height));
                continue;
            }
            double y = kFirstLineCm * cm;
            for (const report::ReportLine& line : page.lines) {
                DrawReportLine(painter, line, kLeftCm * cmX, y, kBodyPoints);
                y += pitch;
            }
            if (section_ && &page == &pages_[sectionPage_]) {
                PaintSectionFigure(painter, kLeftCm * cmX,
                                   (kFirstLineCm * cm) + sectionLine_ * pitch,
                                   kSectionFigureWidthCm * cmX);
            }
        }
        if (envelope_ != nullptr) {
            // The envelope's page: the Mx-My drawing across the sheet, its table under it.
            if (!device.newPage()) {
                error = QString::fromUtf8("Não foi possível começar uma nova página.");
                painter.end();
                return false;
            }
            const double width = (kA4WidthCm - 2 * kLeftCm) * cmX;
            const QRectF drawing(kLeftCm * cmX, kFirstLineCm * cm, width, width * 620 / 720);
            envelope_->RenderContour(painter, drawing);
            double y = drawing.bottom() + pitch;
            for (const report::ReportLine& line : report::BuildEnvelopeLines(*envelope_->Run())) {
                DrawReportLine(painter, line, kLeftCm * cmX, y, kBodyPoints);
                y += pitch;
            }
        }
    }
    if (!painter.end()) {
        error = QString::fromUtf8("Falha ao concluir a impressão.");
        return false;
    }
    return true;
}

bool WriteReportPdf(const ReportSnapshot& snapshot, const QString& path, QString& error) {
    if (!EnsureApplication(error)) return false;
    QByteArray bytes;
    {
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        QPdfWriter pdf(&buffer);
        pdf.setCreator(QStringLiteral("TARVELO"));
        pdf.setTitle(QString::fromUtf8("Relatório de cálculo - TARVELO"));
        pdf.setResolution(300);
        pdf.setPageLayout(
            QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(0, 0, 0, 0)));
        PrintedReport report(snapshot);
        if (!report.Paint(pdf, 1, error)) return false;
    }
    return SaveFileAtomically(path, bytes, error);
}

// The envelope of a snapshot that asks for it, run quietly: its messages were those of the run
// the report follows. Null when not asked for or when a message ends it.
std::unique_ptr<EnvelopeRun> SnapshotEnvelope(const ReportSnapshot& snapshot) {
    if (!snapshot.withEnvelope) return nullptr;
    RecordingHost quiet;
    auto run = RunEnvelope(CasesOf(snapshot.data), SnapshotEnvelopeSource(snapshot), quiet);
    return run->completed ? std::move(run) : nullptr;
}

report::ReportContent PreviewContent(const ReportSnapshot& snapshot) {
    report::ReportContent content = SnapshotContent(snapshot, report::ReportVariant::Preview);
    if (const auto run = SnapshotEnvelope(snapshot)) {
        content.body.emplace_back();
        for (report::ReportLine& line : report::BuildEnvelopeLines(*run))
            content.body.push_back(std::move(line));
    }
    return content;
}

bool WriteReportTextFile(const ReportSnapshot& snapshot, const QString& path, QString& error) {
    std::string text = report::RenderReportText(
        report::PaginatePrinter(SnapshotContent(snapshot, report::ReportVariant::Printer), false));
    if (const auto run = SnapshotEnvelope(snapshot)) text += report::EnvelopeText(*run);
    return SaveFileAtomically(path, QByteArray(text.data(), static_cast<qsizetype>(text.size())),
                              error);
}

}  // namespace tarvelo::ui
