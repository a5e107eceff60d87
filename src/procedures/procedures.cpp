#include "procedures/procedures.h"

#include <cmath>
#include <cstdio>
#include <optional>
#include <string_view>

#include "engine/material.h"
#include "model/column_numbers.h"
#include "model/field_table.h"
#include "model/section_checks.h"
#include "model/section_generators.h"
#include "procedures/refinement.h"
#include "procedures/steel_search.h"

namespace tarvelo {
namespace {

constexpr int kStepsPerDesignLoad = 50;
constexpr int kGeometricNonlinearity = 1;

// Shows the box of a rule, with its own message or, for the rules that name what they refuse,
// the message given. Returns true when the run must stop: an End rule, or a question answered
// Yes. The focus moves only when the run stops.
bool Apply(ProcedureHost& host, RuleId id, std::string_view message = {}) {
    const RuleInfo& rule = Rule(id);
    if (message.empty()) message = rule.message;
    bool stop = false;
    if (rule.box == BoxKind::Question) {
        stop = host.AskYesNo(rule.title, message);
    } else {
        host.ShowWarning(rule.title, message);
        stop = rule.outcome == RuleOutcome::End;
    }
    if (stop && rule.focus != FocusTarget::None) host.SetFocus(rule.focus);
    return stop;
}

// A field whose text reads as a number too large for the computation (such as 1e400) cannot be
// analysed; the run ends naming the field.
bool RejectNonFinite(ProcedureHost& host, double value, FieldId id) {
    if (std::isfinite(value)) return false;
    const FieldInfo& field = Field(id);
    std::string text = "O valor do campo \"";
    text += field.rangeLabel;
    text += "\" está fora do intervalo numérico aceito. Revise os dados.";
    host.ShowWarning(kProgramTitle, text);
    if (field.focus != FocusTarget::None) host.SetFocus(field.focus);
    return true;
}

bool SectionIsFinite(const SectionGeometry& s) {
    for (int i = 0; i <= s.nv; ++i) {
        if (!std::isfinite(s.vertices[i].x) || !std::isfinite(s.vertices[i].y)) return false;
    }
    for (int j = 0; j < s.nb; ++j) {
        if (!std::isfinite(s.bars[j].x) || !std::isfinite(s.bars[j].y)) return false;
    }
    return std::isfinite(s.bmin);
}

struct Materials {
    double fck = 0.0;  // kN/cm2
    double fyk = 0.0;  // kN/cm2
    double Es = 0.0;   // kN/cm2
    double creep = 0.0;
    double gamac = 0.0;
    double gamas = 0.0;
    MaterialParameters params;
};

struct Loads {
    double L = 0.0;
    ColumnLoads column;
};

// Everything a run has read, checked and built before its first analysis.
struct PreparedColumn {
    ColumnNumbers numbers;
    Materials materials;
    SectionGeometry section;
    double centringArea = 0.0;
    double concreteArea = 0.0;  // of the centred polygon, as the analyses compute it
    int barCount = 0;
    Loads loads;
};

// The loads window's own checks. A column normally reaches the procedures only after them, but a
// column opened from a file has not been through that window.
bool LoadsRejected(const ColumnNumbers& n, ProcedureHost& host) {
    if (n[FieldId::L] == 0.0) return Apply(host, RuleId::HeightZero);
    if (n[FieldId::Fd] == 0.0) return Apply(host, RuleId::AxialForceZero);
    if (n.baseSupport == SupportCondition::Pinned && n.topSupport == SupportCondition::Free) {
        return Apply(host, RuleId::Hypostatic);
    }
    return false;
}

// Material checks: returns false when the run ends.
bool CheckMaterials(const ColumnNumbers& n, ProcedureHost& host, Materials& out) {
    const double fck = n[FieldId::Fck];
    if (fck < 20 && Apply(host, RuleId::FckBelow20)) return false;
    if (fck > 90) return !Apply(host, RuleId::FckAbove90);
    // A zero or negative fck accepted at the question above would divide by zero in the
    // concrete law.
    if (fck <= 0 || std::isnan(fck)) return !Apply(host, RuleId::FckNotPositive);
    ComputeConcreteParameters(fck, out.params);
    out.fck = fck / 10;

    const double fyk = n[FieldId::Fyk];
    if (fyk <= 0) return !Apply(host, RuleId::FykNotPositive);
    if (RejectNonFinite(host, fyk, FieldId::Fyk)) return false;
    out.fyk = fyk / 10;
    const double es = n[FieldId::Es] * 100;
    if (es <= 0) return !Apply(host, RuleId::EsNotPositive);
    if (RejectNonFinite(host, es, FieldId::Es)) return false;
    out.Es = es;
    if (out.fyk != 50 && out.fyk != 60 && Apply(host, RuleId::FykNotStandard)) return false;
    if (out.Es != 20000 && out.Es != 21000 && Apply(host, RuleId::EsNotStandard)) return false;

    out.creep = n[FieldId::CreepCoefficient];
    if (out.creep > 5 && Apply(host, RuleId::CreepTooHigh)) return false;
    if (RejectNonFinite(host, out.creep, FieldId::CreepCoefficient)) return false;
    // The creep stretch (1 + 0.57 * coefficient) must stay positive, or the peak strain of the
    // concrete law is zero or negative and the law divides by it.
    if (1 + 0.57 * out.creep <= 0) return !Apply(host, RuleId::CreepMakesNoStrain);

    out.gamac = n[FieldId::Gamac];
    if (out.gamac < 1) return !Apply(host, RuleId::GamacBelowOne);
    if (RejectNonFinite(host, out.gamac, FieldId::Gamac)) return false;
    out.gamas = n[FieldId::Gamas];
    if (out.gamas < 1) return !Apply(host, RuleId::GamasBelowOne);
    return !RejectNonFinite(host, out.gamas, FieldId::Gamas);
}

// Bar-count checks; returns RuleId::None when the count is usable.
RuleId CheckBarCount(const ColumnNumbers& n, int& barCount) {
    if (n.barCount.overflow) return RuleId::BarCountOverflow;
    barCount = n.barCount.value;
    if (barCount <= 0) return RuleId::BarCountNotPositive;
    if (barCount > kMaxBars) return RuleId::BarCountAbove299;
    switch (n.sectionType) {
        case SectionType::Polygonal:
            if (barCount < 4) return RuleId::PolygonBarsBelow4;
            break;
        case SectionType::RectangularSolid:
        case SectionType::RectangularHollow:
            if (barCount < 4) return RuleId::RectangleBarsBelow4;
            break;
        case SectionType::CircularSolid:
        case SectionType::CircularHollow:
            if (barCount < 6) return RuleId::CircleBarsBelow6;
            break;
    }
    return RuleId::None;
}

// Bar count, section generation with its checks, centring and coincident bars.
bool BuildSection(ProcedureHost& host, PreparedColumn& out) {
    if (RuleId id = CheckBarCount(out.numbers, out.barCount); id != RuleId::None) {
        return !Apply(host, id);
    }
    if (RuleId id = GenerateSection(out.numbers, out.barCount, out.section); id != RuleId::None) {
        return !Apply(host, id);
    }
    // Dimensions or coordinates such as 1e300 overflow the section's integrals.
    auto outOfRange = [&host] {
        host.ShowWarning(kProgramTitle,
                         "As coordenadas ou dimensões da seção estão fora do intervalo numérico "
                         "aceito. Revise os dados.");
        host.SetFocus(FocusTarget::SectionData);
        return false;
    };
    if (!SectionIsFinite(out.section)) return outOfRange();
    // A typed contour that crosses itself and typed bars outside the concrete are found on the
    // coordinates as typed (centring rounds them); their rules come after the orientation and the
    // coincident-bar checks. The circular kinds place their own bars inside the circle.
    const SectionType kind = out.numbers.sectionType;
    const bool circular = kind == SectionType::CircularSolid || kind == SectionType::CircularHollow;
    const EdgeCrossing crossing =
        kind == SectionType::Polygonal ? FindCrossingEdges(out.section) : EdgeCrossing{};
    const int barOutside = circular ? 0 : FindBarOutsideConcrete(out.section);
    if (!CentreSection(out.section, out.centringArea)) {
        if (!std::isfinite(out.centringArea)) return outOfRange();
        return !Apply(host, RuleId::PolygonOrientation);
    }
    if (crossing.found()) {
        return !Apply(host, RuleId::SelfCrossingPolygon,
                      CrossingEdgesMessage(crossing.first, crossing.second, out.section.nv));
    }
    if (!std::isfinite(out.centringArea) || !SectionIsFinite(out.section)) return outOfRange();
    // The stiffness and the report need the second moments, which overflow long before the
    // area does (coordinates beyond about 1e77 cm).
    const SectionConstants moments =
        ComputeSectionProperties(out.section.vertices.data(), out.section.nv);
    if (!std::isfinite(moments.inertiaX) || !std::isfinite(moments.inertiaY) ||
        !std::isfinite(moments.productOfInertia)) {
        return outOfRange();
    }
    out.concreteArea = moments.area;
    if (HasCoincidentBars(out.section)) return !Apply(host, RuleId::CoincidentBars);
    if (barOutside != 0) {
        return !Apply(host, RuleId::BarOutsideConcrete, BarOutsideMessage(barOutside));
    }
    return true;
}

// Every load must be a finite number, in the order of the loads window's fields.
bool CheckLoads(const ColumnNumbers& n, ProcedureHost& host, Loads& out) {
    for (const FieldInfo& field : Fields()) {
        if (field.window == FieldWindow::Loads && RejectNonFinite(host, n[field.id], field.id)) {
            return false;
        }
    }
    out.L = n[FieldId::L];
    ColumnLoads& c = out.column;
    c.Fd = n[FieldId::Fd];
    c.Hxd_t = n[FieldId::Hxd_t];
    c.Hyd_t = n[FieldId::Hyd_t];
    c.Mxd_t = n[FieldId::Mxd_t];
    c.Myd_t = n[FieldId::Myd_t];
    c.Mxd_b = n[FieldId::Mxd_b];
    c.Myd_b = n[FieldId::Myd_b];
    c.pxd = n[FieldId::pxd];
    c.pyd = n[FieldId::pyd];
    // A free top doubles the height into the buckling length, which must stay a number too.
    const double le = EffectiveLength(out.L, n.baseSupport, n.topSupport);
    return !RejectNonFinite(host, le, FieldId::L);
}

// bmin checks, then fcd and fyd, then the area warning.
bool CheckDimensionsAndArea(ProcedureHost& host, PreparedColumn& p) {
    const double bmin = p.section.bmin;
    if (bmin < 14) return !Apply(host, RuleId::BminBelow14);
    if (bmin < 19 && Apply(host, RuleId::BminBelow19)) return false;
    Materials& m = p.materials;
    m.params.fcd = m.fck / m.gamac;
    m.params.fyd = m.fyk / m.gamas;
    if (p.centringArea < 360) Apply(host, RuleId::AreaBelow360);
    return true;
}

void CompleteMaterials(Materials& m) {
    CompleteMaterialParameters(m.creep, m.params);
    m.params.Es = m.Es;
}

enum class RunKind { Verify, Design };

// The preparation both runs share: the previous results are cleared, the texts are read into
// numbers once, and the input rules are applied in their fixed order. Only the verification
// reads the steel area; the design empties it. False when a rule ended the run.
bool PrepareRun(const ColumnData& data, RunKind kind, ProcedureHost& host, AnalysisResult& result,
                PreparedColumn& p) {
    host.HideDrawingAndChart();
    if (kind == RunKind::Design) host.SetEnabled(Control::LoadCurve, false);
    result.curve.Clear();
    host.SetResultText(ResultField::SafetyCoefficient, " ");
    host.SetResultText(ResultField::RefinedSafetyCoefficient, "");
    if (kind == RunKind::Design) host.SetResultText(ResultField::RefinedRequiredSteel, "");

    p.numbers = ReadColumnNumbers(data);
    if (LoadsRejected(p.numbers, host)) return false;
    if (!CheckMaterials(p.numbers, host, p.materials)) return false;
    if (!BuildSection(host, p)) return false;
    if (kind == RunKind::Verify &&
        RejectNonFinite(host, p.numbers[FieldId::TotalSteelArea], FieldId::TotalSteelArea)) {
        return false;
    }
    if (!CheckDimensionsAndArea(host, p)) return false;
    if (kind == RunKind::Verify) {
        host.SetResultText(ResultField::RequiredSteel, "");
        host.SetResultText(ResultField::RefinedRequiredSteel, "");
        host.SetResultText(ResultField::MinimumSteel, " ");
    }
    CompleteMaterials(p.materials);
    if (!CheckLoads(p.numbers, host, p.loads)) return false;
    if (kind == RunKind::Design) host.SetResultText(ResultField::TotalSteelArea, "");
    return true;
}

// While the analyses run the main window is disabled and the progress window shows their lines;
// every way out of the scope enables the window again and hides the progress window. The
// verification disables the window first, the design shows the progress window first.
class BusyScope {
  public:
    enum class Opening { DisableFirst, ShowFirst };

    BusyScope(ProcedureHost& host, Opening opening) : host_(host) {
        if (opening == Opening::ShowFirst) host_.ShowProgressWindow(true);
        host_.SetEnabled(Control::MainWindow, false);
        if (opening == Opening::DisableFirst) host_.ShowProgressWindow(true);
    }
    ~BusyScope() {
        host_.SetEnabled(Control::MainWindow, true);
        host_.ShowProgressWindow(false);
    }
    BusyScope(const BusyScope&) = delete;
    BusyScope& operator=(const BusyScope&) = delete;

  private:
    ProcedureHost& host_;
};

// One analysis of the column with a given total steel area: model set-up, optional slenderness
// warning, supports and factorisation, load steps.
class Analysis {
  public:
    Analysis(const PreparedColumn& column, ProcedureHost& host, const ProcedureOptions& options,
             AnalysisResult& result)
        : column_(column), host_(host), options_(options), result_(result) {}

    // Builds the model for the steel area; with keepConstants the section constants and the
    // slenderness are taken for the report and the short-column warning is given. False on a
    // singular matrix (after its message).
    bool Build(double steelArea, bool keepConstants) {
        model_ = std::make_unique<ColumnModel>();
        const ColumnNumbers& n = column_.numbers;
        const double barArea = steelArea / column_.barCount;
        SectionConstants constants =
            model_->Assemble(column_.section, barArea, column_.loads.L, column_.materials.params,
                             column_.loads.column);
        if (keepConstants) {
            ComputeSlenderness(constants, column_.loads.L, n.baseSupport, n.topSupport);
            result_.sectionConstants = constants;
            result_.hasSectionConstants = true;
            if (constants.slendernessX < 3 || constants.slendernessY < 3) {
                Apply(host_, RuleId::ShortColumn);
            }
        }
        if (model_->ApplySupportsAndFactor(n.baseSupport, n.topSupport) != 0) {
            host_.ShowWarning(kProgramTitle,
                              "A matriz de rigidez é singular. Revise todos os dados.");
            return false;
        }
        return true;
    }

    LoadStepResult Run() {
        return model_->RunLoadSteps(kStepsPerDesignLoad, kGeometricNonlinearity, result_.curve,
                                    &host_, options_.stepLimit);
    }

    // The failure load of the last Run, bisected within its failing step. It leaves the run's
    // results, curve and state as they were.
    FailureLoadRefinement Refine() { return model_->RefineFailureLoad(kGeometricNonlinearity); }

    // The refined S of a verification with this total steel area, for the refined design area.
    // It runs silently (no message, no progress line) and leaves the result's curve alone;
    // nothing when the stiffness matrix is singular.
    std::optional<double> RefinedSafetyOf(double steelArea) {
        model_ = std::make_unique<ColumnModel>();
        model_->Assemble(column_.section, steelArea / column_.barCount, column_.loads.L,
                         column_.materials.params, column_.loads.column);
        if (model_->ApplySupportsAndFactor(column_.numbers.baseSupport,
                                           column_.numbers.topSupport) != 0) {
            return std::nullopt;
        }
        if (!scratchCurve_) scratchCurve_ = std::make_unique<LoadDeflectionCurve>();
        model_->RunLoadSteps(kStepsPerDesignLoad, kGeometricNonlinearity, *scratchCurve_, nullptr,
                             options_.stepLimit);
        return Refine().carriedFactor;
    }

  private:
    const PreparedColumn& column_;
    ProcedureHost& host_;
    const ProcedureOptions& options_;
    AnalysisResult& result_;
    std::unique_ptr<ColumnModel> model_;
    std::unique_ptr<LoadDeflectionCurve> scratchCurve_;
};

std::string IterationLine(int trial) {
    char line[48];
    std::snprintf(line, sizeof line, "  Iteração =  %d", trial);
    return line;
}

// The design's trials: each announces itself in the progress window and analyses the column
// with one steel area; the first (plain concrete) also keeps the section constants. With
// refinement on they also keep the bracket the refined area is searched in: the largest area
// that failed within the design loads (S <= 1) with its refined S, and the smallest that
// carried at least one step more (S >= 1.02), its refined S estimated half a step below.
class DesignTrials final : public SteelTrials {
  public:
    DesignTrials(Analysis& analysis, ProcedureHost& host, bool refine)
        : analysis_(analysis), host_(host), refine_(refine) {}

    void Begin(int trial) override {
        host_.ProgressLine(IterationLine(trial));
        first_ = trial == 1;
    }
    std::optional<double> Residual(double steelArea) override {
        if (!analysis_.Build(steelArea, first_)) return std::nullopt;
        const LoadStepResult steps = analysis_.Run();
        if (refine_) KeepBracketEnd(steelArea, steps.reachedStep);
        return static_cast<double>(steps.reachedStep - kStepsPerDesignLoad) / kStepsPerDesignLoad;
    }

    std::optional<AreaEstimate> failing;  // S <= 1
    std::optional<AreaEstimate> passing;  // S >= 1.02

  private:
    void KeepBracketEnd(double steelArea, int reachedStep) {
        if (reachedStep <= kStepsPerDesignLoad) {
            if (!failing || steelArea > failing->area) {
                failing = AreaEstimate{steelArea, analysis_.Refine().carriedFactor};
            }
        } else if (!passing || steelArea < passing->area) {
            passing = AreaEstimate{steelArea, (reachedStep - 0.5) / kStepsPerDesignLoad};
        }
    }

    Analysis& analysis_;
    ProcedureHost& host_;
    bool refine_;
    bool first_ = true;
};

// The refined design area, searched between the ends the specified search left. A design that
// needs no steel is looked at once more: the plain concrete column passed with S >= 1, but if
// its refined S is below 1.000 it carries only 98 to 100 % of the design loads, and the area
// is searched from zero to 8 % of the concrete area.
RefinedAreaResult RefineDesignArea(Analysis& analysis, const DesignTrials& trials,
                                   double concreteArea, bool noSteel) {
    std::optional<AreaEstimate> failing = trials.failing;
    std::optional<AreaEstimate> passing = trials.passing;
    if (noSteel) {
        // Without a failing end the plain column carried at least step 51: its refined S is
        // above 1.
        if (!failing || ThousandthsDown(failing->safety) >= 1000) return {};
        passing = AreaEstimate{kMaxSteelRatio * concreteArea};
    }
    if (!failing || !passing) return {};
    return FindRefinedSteelArea([&analysis](double area) { return analysis.RefinedSafetyOf(area); },
                                *failing, *passing);
}

// The ratio checks of a found steel area. False when it is above 8 % (after the message).
bool SteelRatioAccepted(ProcedureHost& host, double steelArea, double concreteArea) {
    const double rho = 100 * steelArea / concreteArea;
    // The search never goes beyond 8 % of the area, but 100 * (0.08 * area) / area can come out
    // a few ulps above 8: compare with a relative tolerance.
    if (rho > 8 * (1 + 1e-9)) {
        host.ShowWarning(kProgramTitle,
                         "A taxa de armadura é superior a 8%. Aumente as dimensões da seção do "
                         "pilar.");
        return false;
    }
    if (rho > 4) {
        host.ShowWarning(kProgramTitle,
                         "A taxa de armadura é superior a 4%. Verifique se a taxa de armadura não "
                         "será superior a 8%, na região das emendas por traspasse.");
    }
    return true;
}

// The minimum steel: 0.15 Nd / fyd, and never below 0.4 % of the concrete area.
double MinimumSteelArea(double concreteArea, double Fd, const MaterialParameters& m) {
    const double nu = Fd / (concreteArea * m.fcd);
    double rhoMin = 0.15 * nu * m.fcd / m.fyd;
    if (rhoMin < 0.004) rhoMin = 0.004;
    return rhoMin * concreteArea;
}

std::string FormatHundredths(long long hundredths) {
    const bool negative = hundredths < 0;
    const unsigned long long v =
        negative ? 0ULL - static_cast<unsigned long long>(hundredths) : hundredths;
    std::string text = negative ? "-" : "";
    text += std::to_string(v / 100);
    const unsigned long long frac = v % 100;
    if (frac != 0) {
        text += '.';
        text += static_cast<char>('0' + frac / 10);
        if (frac % 10 != 0) text += static_cast<char>('0' + frac % 10);
    }
    return text;
}

}  // namespace

std::string FormatSafetyCoefficient(int reachedStep) {
    // k/50 has at most two decimals: k/50 = 2k/100.
    return FormatHundredths(2LL * reachedStep);
}

double RoundForDisplay(double value) {
    double x = 100 * value;
    if (std::fabs(x) < 32766) {
        x = std::nearbyint(x);  // default rounding mode: halves to even
    } else {
        x = std::floor(x);
    }
    return x / 100;
}

std::string FormatDisplayValue(double value) {
    if (!std::isfinite(value)) return "";
    double x = 100 * value;
    x = std::fabs(x) < 32766 ? std::nearbyint(x) : std::floor(x);
    if (std::fabs(x) < 9.0e15) return FormatHundredths(static_cast<long long>(x));
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.0f", x / 100);
    return buffer;
}

bool CheckLoadsWindow(const ColumnData& data, ProcedureHost& host) {
    return !LoadsRejected(ReadColumnNumbers(data), host);
}

bool CheckSectionWindowCounts(const ColumnData& data, ProcedureHost& host, int& vertexCount,
                              int& barCount) {
    const ColumnNumbers n = ReadColumnNumbers(data);
    vertexCount = 0;
    if (n.sectionType == SectionType::Polygonal) {
        if (RuleId id = CheckVertexCount(n.vertexCount); id != RuleId::None) {
            return !Apply(host, id);
        }
        vertexCount = n.vertexCount.value;
    }
    // The window opens for a polygon with fewer than four bars: a polygon's four-bar minimum is
    // checked when its section is built.
    const RuleId id = CheckBarCount(n, barCount);
    if (id != RuleId::None && id != RuleId::PolygonBarsBelow4) return !Apply(host, id);
    return true;
}

bool BuildSectionForDrawing(const ColumnData& data, ProcedureHost& host, SectionGeometry& out) {
    host.HideDrawingAndChart();
    auto column = std::make_unique<PreparedColumn>();
    column->numbers = ReadColumnNumbers(data);
    if (!BuildSection(host, *column)) return false;
    out = column->section;
    return true;
}

std::unique_ptr<AnalysisResult> Verify(const ColumnData& data, ProcedureHost& host,
                                       const ProcedureOptions& options) {
    auto result = std::make_unique<AnalysisResult>();
    auto column = std::make_unique<PreparedColumn>();
    if (!PrepareRun(data, RunKind::Verify, host, *result, *column)) return result;

    Analysis analysis(*column, host, options, *result);
    if (!analysis.Build(column->numbers[FieldId::TotalSteelArea], true)) return result;
    LoadStepResult steps;
    FailureLoadRefinement refinement;
    {
        BusyScope busy(host, BusyScope::Opening::DisableFirst);
        steps = analysis.Run();
        if (options.refine) refinement = analysis.Refine();
        result->trials = 1;
        result->reachedStep = steps.reachedStep;
        result->notConverged = steps.notConverged;
        result->failure = steps.failure;
        result->designLoad = steps.designLoad;
        if (steps.notConverged != 0) {
            host.ShowWarning(kProgramTitle,
                             "Não convergiu na última etapa de carga. Não se pode garantir que os "
                             "deslocamentos finais correspondam a uma posição de equilíbrio.");
        }
    }
    host.ClearProgress();

    result->safetyCoefficient = static_cast<double>(steps.reachedStep) / kStepsPerDesignLoad;
    result->safetyText = FormatSafetyCoefficient(steps.reachedStep);
    host.SetResultText(ResultField::SafetyCoefficient, result->safetyText);
    if (refinement.refined) {
        result->refinedSafety = refinement.carriedFactor;
        result->refinedSafetyText = FormatRefinedSafety(refinement.carriedFactor);
        host.SetResultText(ResultField::RefinedSafetyCoefficient, result->refinedSafetyText);
    }
    host.SetEnabled(Control::LoadCurve, true);
    host.SetEnabled(Control::ToolbarSave, true);
    host.SetEnabled(Control::ToolbarPrint, true);
    result->completed = true;
    return result;
}

std::unique_ptr<AnalysisResult> Design(const ColumnData& data, ProcedureHost& host,
                                       const ProcedureOptions& options) {
    auto result = std::make_unique<AnalysisResult>();
    auto column = std::make_unique<PreparedColumn>();
    if (!PrepareRun(data, RunKind::Design, host, *result, *column)) return result;
    const PreparedColumn& p = *column;

    Analysis analysis(p, host, options, *result);
    DesignTrials trials(analysis, host, options.refine);
    SteelSearch search;
    RefinedAreaResult refined;
    {
        BusyScope busy(host, BusyScope::Opening::ShowFirst);
        search = SearchSteelArea(p.concreteArea, trials);
        result->trials = search.trials;
        // Within the busy window, but after the search: its trials, messages and curve are
        // those of the design alone.
        if (options.refine && search.end == SteelSearchEnd::Found) {
            refined = RefineDesignArea(analysis, trials, p.concreteArea, search.trials == 1);
            result->refinementTrials = refined.trials;
        }
        if (search.end == SteelSearchEnd::AboveEightPerCent) {
            host.ShowWarning(kProgramTitle,
                             "A taxa de armadura é maior que 8%. Aumente as dimensões da seção do "
                             "pilar.");
        } else if (search.end == SteelSearchEnd::NoConvergence) {
            host.ShowWarning(kProgramTitle,
                             "Não convergiu. Não foi possível realizar o dimensionamento. "
                             "Muitas vezes, uma pequena modificação do carregamento é "
                             "suficiente para se alcançar a convergência do método não "
                             "linear.");
        }
    }
    if (search.end == SteelSearchEnd::AnalysisFailed) return result;
    if (search.end != SteelSearchEnd::Found) {
        host.SetResultText(ResultField::RequiredSteel, "");
        host.SetResultText(ResultField::MinimumSteel, "");
        return result;
    }

    host.ClearProgress();
    result->requiredSteelArea = search.steelArea;
    if (!SteelRatioAccepted(host, search.steelArea, p.concreteArea)) return result;
    result->requiredText = FormatDisplayValue(search.steelArea);
    host.SetResultText(ResultField::RequiredSteel, result->requiredText);
    if (refined.found) {
        result->refinedRequiredSteelArea = refined.area;
        result->refinedRequiredText = FormatRefinedArea(refined.area);
        host.SetResultText(ResultField::RefinedRequiredSteel, result->refinedRequiredText);
    }

    result->minimumSteelArea =
        MinimumSteelArea(p.concreteArea, p.loads.column.Fd, p.materials.params);
    result->minimumText = FormatDisplayValue(result->minimumSteelArea);
    host.SetResultText(ResultField::MinimumSteel, result->minimumText);
    host.SetEnabled(Control::ToolbarHelp, true);
    result->completed = true;
    return result;
}

}  // namespace tarvelo
