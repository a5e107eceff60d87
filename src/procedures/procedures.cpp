#include "procedures/procedures.h"

#include <cmath>
#include <cstdio>
#include <string_view>

#include "engine/material.h"
#include "model/number_reading.h"
#include "model/section_checks.h"
#include "model/section_generators.h"

namespace tarvelo {
namespace {

constexpr int kStepsPerDesignLoad = 50;
constexpr int kGeometricNonlinearity = 1;
constexpr int kMaxTrials = 100;

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
bool RejectNonFinite(ProcedureHost& host, double value, std::string_view label, FocusTarget focus) {
    if (std::isfinite(value)) return false;
    std::string text = "O valor do campo \"";
    text += label;
    text += "\" está fora do intervalo numérico aceito. Revise os dados.";
    host.ShowWarning(kProgramTitle, text);
    if (focus != FocusTarget::None) host.SetFocus(focus);
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

// Everything a run has checked and built before its first analysis.
struct PreparedColumn {
    Materials materials;
    SectionGeometry section;
    double centringArea = 0.0;
    int barCount = 0;
    Loads loads;
};

// The loads window's own checks. A column normally reaches the procedures only after them, but a
// column opened from a file has not been through that window.
bool LoadsRejected(const ColumnData& data, ProcedureHost& host) {
    if (ReadNumber(data.L) == 0.0) return Apply(host, RuleId::HeightZero);
    if (ReadNumber(data.Fd) == 0.0) return Apply(host, RuleId::AxialForceZero);
    if (data.baseSupport == SupportCondition::Pinned && data.topSupport == SupportCondition::Free) {
        return Apply(host, RuleId::Hypostatic);
    }
    return false;
}

// Material checks: returns false when the run ends.
bool ReadMaterials(const ColumnData& data, ProcedureHost& host, Materials& out) {
    double fck = ReadNumber(data.fck);
    if (fck < 20 && Apply(host, RuleId::FckBelow20)) return false;
    if (fck > 90) return !Apply(host, RuleId::FckAbove90);
    // A zero or negative fck accepted at the question above would divide by zero in the
    // concrete law.
    if (fck <= 0 || std::isnan(fck)) return !Apply(host, RuleId::FckNotPositive);
    ComputeConcreteParameters(fck, out.params);
    out.fck = fck / 10;

    double fyk = ReadNumber(data.fyk);
    if (fyk <= 0) return !Apply(host, RuleId::FykNotPositive);
    if (RejectNonFinite(host, fyk, "fyk (MPa)", FocusTarget::Fyk)) return false;
    out.fyk = fyk / 10;
    double es = ReadNumber(data.Es) * 100;
    if (es <= 0) return !Apply(host, RuleId::EsNotPositive);
    if (RejectNonFinite(host, es, "Es (GPa)", FocusTarget::Es)) return false;
    out.Es = es;
    if (out.fyk != 50 && out.fyk != 60 && Apply(host, RuleId::FykNotStandard)) return false;
    if (out.Es != 20000 && out.Es != 21000 && Apply(host, RuleId::EsNotStandard)) return false;

    out.creep = ReadNumber(data.creepCoefficient);
    if (out.creep > 5 && Apply(host, RuleId::CreepTooHigh)) return false;
    if (RejectNonFinite(host, out.creep, "Coef. de fluência", FocusTarget::CreepCoefficient)) {
        return false;
    }
    // The creep stretch (1 + 0.57 * coefficient) must stay positive, or the peak strain of the
    // concrete law is zero or negative and the law divides by it.
    if (1 + 0.57 * out.creep <= 0) return !Apply(host, RuleId::CreepMakesNoStrain);

    out.gamac = ReadNumber(data.Gamac);
    if (out.gamac < 1) return !Apply(host, RuleId::GamacBelowOne);
    if (RejectNonFinite(host, out.gamac, "Coeficiente parcial do concreto", FocusTarget::Gamac)) {
        return false;
    }
    out.gamas = ReadNumber(data.Gamas);
    if (out.gamas < 1) return !Apply(host, RuleId::GamasBelowOne);
    if (RejectNonFinite(host, out.gamas, "Coeficiente parcial do aço", FocusTarget::Gamas)) {
        return false;
    }
    return true;
}

// Bar-count checks; returns RuleId::None when the count is usable.
RuleId CheckBarCount(const ColumnData& data, int& barCount) {
    const CountValue count = ReadCount(data.barCount);
    if (count.overflow) return RuleId::BarCountOverflow;
    barCount = count.value;
    if (barCount <= 0) return RuleId::BarCountNotPositive;
    if (barCount > kMaxBars) return RuleId::BarCountAbove299;
    switch (data.sectionType) {
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
bool BuildSection(const ColumnData& data, ProcedureHost& host, PreparedColumn& out) {
    if (RuleId id = CheckBarCount(data, out.barCount); id != RuleId::None) {
        return !Apply(host, id);
    }
    if (RuleId id = GenerateSection(data, out.barCount, out.section); id != RuleId::None) {
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
    const bool circular = data.sectionType == SectionType::CircularSolid ||
                          data.sectionType == SectionType::CircularHollow;
    const EdgeCrossing crossing = data.sectionType == SectionType::Polygonal
                                      ? FindCrossingEdges(out.section)
                                      : EdgeCrossing{};
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
    if (HasCoincidentBars(out.section)) return !Apply(host, RuleId::CoincidentBars);
    if (barOutside != 0) {
        return !Apply(host, RuleId::BarOutsideConcrete, BarOutsideMessage(barOutside));
    }
    return true;
}

bool ReadLoads(const ColumnData& data, ProcedureHost& host, Loads& out) {
    struct Field {
        const std::string& text;
        double& value;
        std::string_view label;
    };
    ColumnLoads& c = out.column;
    const Field fields[] = {
        {data.L, out.L, "Altura do pilar L"},
        {data.Fd, c.Fd, "Fd,t"},
        {data.Hxd_t, c.Hxd_t, "Hxd,t"},
        {data.Hyd_t, c.Hyd_t, "Hyd,t"},
        {data.Mxd_t, c.Mxd_t, "Mxd,t"},
        {data.Myd_t, c.Myd_t, "Myd,t"},
        {data.Mxd_b, c.Mxd_b, "Mxd,b"},
        {data.Myd_b, c.Myd_b, "Myd,b"},
        {data.pxd, c.pxd, "pxd"},
        {data.pyd, c.pyd, "pyd"},
    };
    for (const Field& f : fields) {
        f.value = ReadNumber(f.text);
        if (RejectNonFinite(host, f.value, f.label, FocusTarget::Loads)) return false;
    }
    // A free top doubles the height into the buckling length, which must stay a number too.
    const double le = EffectiveLength(out.L, data.baseSupport, data.topSupport);
    return !RejectNonFinite(host, le, "Altura do pilar L", FocusTarget::Loads);
}

// Steps shared by both procedures up to the coincident-bar check (the design skips the steel
// area field).
bool PrepareUpToBars(const ColumnData& data, ProcedureHost& host, PreparedColumn& out) {
    if (LoadsRejected(data, host)) return false;
    if (!ReadMaterials(data, host, out.materials)) return false;
    return BuildSection(data, host, out);
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

// One analysis of the column with the given total steel area: model set-up, optional
// slenderness warning, supports and factorisation, load steps. Returns false on a singular
// matrix (after its message).
struct TrialOutcome {
    bool singular = false;
    LoadStepResult steps;
};

class Analysis {
  public:
    Analysis(const PreparedColumn& column, const ColumnData& data, ProcedureHost& host,
             const ProcedureOptions& options, AnalysisResult& result)
        : column_(column), data_(data), host_(host), options_(options), result_(result) {}

    // Builds the model for the steel area; with keepConstants the section constants and the
    // slenderness are taken for the report and the short-column warning is given.
    bool Build(double steelArea, bool keepConstants) {
        model_ = std::make_unique<ColumnModel>();
        const double barArea = steelArea / column_.barCount;
        SectionConstants constants =
            model_->Assemble(column_.section, barArea, column_.loads.L, column_.materials.params,
                             column_.loads.column);
        if (keepConstants) {
            ComputeSlenderness(constants, column_.loads.L, data_.baseSupport, data_.topSupport);
            result_.sectionConstants = constants;
            result_.hasSectionConstants = true;
            if (constants.slendernessX < 3 || constants.slendernessY < 3) {
                Apply(host_, RuleId::ShortColumn);
            }
        }
        if (model_->ApplySupportsAndFactor(data_.baseSupport, data_.topSupport) != 0) {
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

  private:
    const PreparedColumn& column_;
    const ColumnData& data_;
    ProcedureHost& host_;
    const ProcedureOptions& options_;
    AnalysisResult& result_;
    std::unique_ptr<ColumnModel> model_;
};

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

std::string IterationLine(int trial) {
    char line[48];
    std::snprintf(line, sizeof line, "  Iteração =  %d", trial);
    return line;
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
    return !LoadsRejected(data, host);
}

bool CheckSectionWindowCounts(const ColumnData& data, ProcedureHost& host, int& vertexCount,
                              int& barCount) {
    vertexCount = 0;
    if (data.sectionType == SectionType::Polygonal) {
        const CountValue nv = ReadCount(data.vertexCount);
        if (nv.overflow) return !Apply(host, RuleId::VertexCountOverflow);
        if (nv.value < 3) return !Apply(host, RuleId::VertexCountBelow3);
        if (nv.value > kMaxVertices) return !Apply(host, RuleId::VertexCountAbove299);
        vertexCount = nv.value;
    }
    const CountValue nb = ReadCount(data.barCount);
    if (nb.overflow) return !Apply(host, RuleId::BarCountOverflow);
    barCount = nb.value;
    if (barCount < 1) return !Apply(host, RuleId::BarCountNotPositive);
    if (barCount > kMaxBars) return !Apply(host, RuleId::BarCountAbove299);
    const bool rectangular = data.sectionType == SectionType::RectangularSolid ||
                             data.sectionType == SectionType::RectangularHollow;
    const bool circular = data.sectionType == SectionType::CircularSolid ||
                          data.sectionType == SectionType::CircularHollow;
    if (rectangular && barCount < 4) return !Apply(host, RuleId::RectangleBarsBelow4);
    if (circular && barCount < 6) return !Apply(host, RuleId::CircleBarsBelow6);
    return true;
}

bool BuildSectionForDrawing(const ColumnData& data, ProcedureHost& host, SectionGeometry& out) {
    host.HideDrawingAndChart();
    PreparedColumn column;
    if (!BuildSection(data, host, column)) return false;
    out = column.section;
    return true;
}

std::unique_ptr<AnalysisResult> Verify(const ColumnData& data, ProcedureHost& host,
                                       const ProcedureOptions& options) {
    auto result = std::make_unique<AnalysisResult>();
    host.HideDrawingAndChart();
    result->curve.Clear();
    host.SetResultText(ResultField::SafetyCoefficient, " ");

    auto column = std::make_unique<PreparedColumn>();
    PreparedColumn& p = *column;
    if (!PrepareUpToBars(data, host, p)) return result;
    const double steelArea = ReadNumber(data.totalSteelArea);
    if (RejectNonFinite(host, steelArea, "Área total de aço", FocusTarget::None)) return result;
    if (!CheckDimensionsAndArea(host, p)) return result;
    host.SetResultText(ResultField::RequiredSteel, "");
    host.SetResultText(ResultField::MinimumSteel, " ");
    CompleteMaterials(p.materials);
    if (!ReadLoads(data, host, p.loads)) return result;

    Analysis analysis(p, data, host, options, *result);
    if (!analysis.Build(steelArea, true)) return result;

    host.SetEnabled(Control::MainWindow, false);
    host.ShowProgressWindow(true);
    const LoadStepResult steps = analysis.Run();
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
    host.SetEnabled(Control::MainWindow, true);
    host.ShowProgressWindow(false);
    host.ClearProgress();

    result->safetyCoefficient = static_cast<double>(steps.reachedStep) / kStepsPerDesignLoad;
    result->safetyText = FormatSafetyCoefficient(steps.reachedStep);
    host.SetResultText(ResultField::SafetyCoefficient, result->safetyText);
    host.SetEnabled(Control::LoadCurve, true);
    host.SetEnabled(Control::ToolbarSave, true);
    host.SetEnabled(Control::ToolbarPrint, true);
    result->completed = true;
    return result;
}

std::unique_ptr<AnalysisResult> Design(const ColumnData& data, ProcedureHost& host,
                                       const ProcedureOptions& options) {
    auto result = std::make_unique<AnalysisResult>();
    host.HideDrawingAndChart();
    host.SetEnabled(Control::LoadCurve, false);
    result->curve.Clear();
    host.SetResultText(ResultField::SafetyCoefficient, " ");

    auto column = std::make_unique<PreparedColumn>();
    PreparedColumn& p = *column;
    if (!PrepareUpToBars(data, host, p)) return result;
    if (!CheckDimensionsAndArea(host, p)) return result;
    CompleteMaterials(p.materials);
    if (!ReadLoads(data, host, p.loads)) return result;
    host.SetResultText(ResultField::TotalSteelArea, "");

    // Every way out from here enables the main window and hides the progress window.
    host.ShowProgressWindow(true);
    host.SetEnabled(Control::MainWindow, false);
    auto leave = [&host] {
        host.SetEnabled(Control::MainWindow, true);
        host.ShowProgressWindow(false);
    };
    auto emptyResults = [&host] {
        host.SetResultText(ResultField::RequiredSteel, "");
        host.SetResultText(ResultField::MinimumSteel, "");
    };

    Analysis analysis(p, data, host, options, *result);
    // Residual of a trial: the safety coefficient minus one.
    auto residual = [](const LoadStepResult& r) {
        return static_cast<double>(r.reachedStep - kStepsPerDesignLoad) / kStepsPerDesignLoad;
    };

    int trial = 1;
    host.ProgressLine(IterationLine(trial));
    if (!analysis.Build(0.0, true)) {
        leave();
        return result;
    }
    double fa = residual(analysis.Run());
    result->trials = 1;
    double a = 0.0;
    const double area = result->sectionConstants.area;
    double required = 0.0;

    if (fa < 0) {
        ++trial;
        host.ProgressLine(IterationLine(trial));
        double b = 0.08 * area;
        if (!analysis.Build(b, false)) {
            leave();
            return result;
        }
        double fb = residual(analysis.Run());
        result->trials = 2;
        if (fa * fb > 0) {
            host.ShowWarning(kProgramTitle,
                             "A taxa de armadura é maior que 8%. Aumente as dimensões da seção do "
                             "pilar.");
            leave();
            emptyResults();
            return result;
        }
        double fc = 1.0;
        double width = 1.0;
        double c = 0.0;
        while (true) {
            if (std::fabs(fc) <= 0.01 || width <= 0.001) {
                required = c;
                break;
            }
            c = (a * fb - b * fa) / (fb - fa);
            ++trial;
            host.ProgressLine(IterationLine(trial));
            if (trial > kMaxTrials) {
                host.ShowWarning(kProgramTitle,
                                 "Não convergiu. Não foi possível realizar o dimensionamento. "
                                 "Muitas vezes, uma pequena modificação do carregamento é "
                                 "suficiente para se alcançar a convergência do método não "
                                 "linear.");
                leave();
                emptyResults();
                return result;
            }
            if (!analysis.Build(c, false)) {
                leave();
                return result;
            }
            fc = residual(analysis.Run());
            result->trials = trial;
            if (fc * fa < 0) {
                b = c;
                fb = fc;
            } else {
                a = c;
                fa = fc;
            }
            width = (b - a) / c;
        }
    }

    leave();
    host.ClearProgress();
    result->requiredSteelArea = required;
    const double rho = 100 * required / area;
    // The search never goes beyond 8 % of the area, but 100 * (0.08 * area) / area can come out
    // a few ulps above 8: compare with a relative tolerance.
    if (rho > 8 * (1 + 1e-9)) {
        host.ShowWarning(kProgramTitle,
                         "A taxa de armadura é superior a 8%. Aumente as dimensões da seção do "
                         "pilar.");
        return result;
    }
    if (rho > 4) {
        host.ShowWarning(kProgramTitle,
                         "A taxa de armadura é superior a 4%. Verifique se a taxa de armadura não "
                         "será superior a 8%, na região das emendas por traspasse.");
    }
    result->requiredText = FormatDisplayValue(required);
    host.SetResultText(ResultField::RequiredSteel, result->requiredText);

    const MaterialParameters& m = p.materials.params;
    const double nu = p.loads.column.Fd / (area * m.fcd);
    double rhoMin = 0.15 * nu * m.fcd / m.fyd;
    if (rhoMin < 0.004) rhoMin = 0.004;
    result->minimumSteelArea = rhoMin * area;
    result->minimumText = FormatDisplayValue(result->minimumSteelArea);
    host.SetResultText(ResultField::MinimumSteel, result->minimumText);
    host.SetEnabled(Control::ToolbarHelp, true);
    result->completed = true;
    return result;
}

}  // namespace tarvelo
