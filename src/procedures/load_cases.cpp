#include "procedures/load_cases.h"

#include <algorithm>
#include <array>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <utility>

#ifndef __EMSCRIPTEN__
#include <condition_variable>
#include <thread>
#endif

#include "model/number_reading.h"
#include "model/section_geometry.h"

namespace tarvelo {
namespace {

// The first case lives in the column's own load fields.
LoadCase FirstCase(const ColumnData& data) {
    LoadCase first;
    static_cast<DesignLoads&>(first) = data;
    first.name = data.firstCaseName;
    return first;
}

// A load as a field's text: the shortest decimal that reads back as the same double.
std::string LoadText(double value) {
    if (value == 0) return "0";
    char text[32];
    for (int digits = 1; digits <= 17; ++digits) {
        std::snprintf(text, sizeof text, "%.*g", digits, value);
        if (std::strtod(text, nullptr) == value) break;
    }
    return text;
}

// Which cases are running and the last progress line of each: written by the cases' threads,
// read by the caller's. The lines are copied into fixed buffers, so that the load steps allocate
// nothing.
class RunningCases {
  public:
    explicit RunningCases(int count) : slots_(static_cast<std::size_t>(count)) {}

    void Start(int i) {
        std::lock_guard lock(mutex_);
        slots_[static_cast<std::size_t>(i)].running = true;
    }
    void Line(int i, std::string_view line) {
        std::lock_guard lock(mutex_);
        Slot& slot = slots_[static_cast<std::size_t>(i)];
        slot.length = std::min(line.size(), slot.text.size());
        std::memcpy(slot.text.data(), line.data(), slot.length);
    }
    void Finish(int i) {
        std::lock_guard lock(mutex_);
        slots_[static_cast<std::size_t>(i)].running = false;
    }
    // The progress window's text: every running case, in case order, as "Combinação k de n"
    // above its last line.
    std::vector<std::string> Lines() const {
        std::lock_guard lock(mutex_);
        std::vector<std::string> lines;
        const std::string of = " de " + std::to_string(slots_.size());
        for (std::size_t i = 0; i < slots_.size(); ++i) {
            if (!slots_[i].running) continue;
            lines.push_back("Combinação " + std::to_string(i + 1) + of);
            if (slots_[i].length > 0) lines.emplace_back(slots_[i].text.data(), slots_[i].length);
        }
        return lines;
    }

  private:
    struct Slot {
        bool running = false;
        std::array<char, 48> text{};
        std::size_t length = 0;
    };
    mutable std::mutex mutex_;
    std::vector<Slot> slots_;
};

// Replays, in a case's run, the boxes the column's checks already showed through the caller's
// host, with the caller's answers, and records everything after them as the case's own. Its
// progress lines go to `running`.
class CaseHost final : public ProcedureHost {
  public:
    CaseHost(const std::vector<RecordingHost::Box>& column, RecordingHost& own,
             RunningCases& running, int index)
        : column_(column), own_(own), running_(running), index_(index) {}

    void ShowWarning(std::string_view title, std::string_view text) override {
        if (!Replayed(title, text)) own_.ShowWarning(title, text);
    }
    bool AskYesNo(std::string_view title, std::string_view text) override {
        if (Replayed(title, text)) return column_[next_ - 1].answer;
        return own_.AskYesNo(title, text);
    }
    void SetResultText(ResultField field, const std::string& text) override {
        own_.SetResultText(field, text);
    }
    void ProgressLine(std::string_view line) override { running_.Line(index_, line); }

  private:
    bool Replayed(std::string_view title, std::string_view text) {
        replaying_ = replaying_ && next_ < column_.size() && column_[next_].title == title &&
                     column_[next_].text == text;
        if (replaying_) ++next_;
        return replaying_;
    }

    const std::vector<RecordingHost::Box>& column_;
    RecordingHost& own_;
    RunningCases& running_;
    int index_;
    std::size_t next_ = 0;
    bool replaying_ = true;
};

// Passes a case's checks to the caller's host with the case named in each message.
class NamingHost final : public ProcedureHost {
  public:
    NamingHost(ProcedureHost& host, std::string label) : host_(host), label_(std::move(label)) {}

    void ShowWarning(std::string_view title, std::string_view text) override {
        host_.ShowWarning(title, label_ + ": " + std::string(text));
    }
    bool AskYesNo(std::string_view title, std::string_view text) override {
        return host_.AskYesNo(title, label_ + ": " + std::string(text));
    }
    void SetFocus(FocusTarget target) override { host_.SetFocus(target); }

  private:
    ProcedureHost& host_;
    std::string label_;
};

// Passes the column's checks through to the caller's host and keeps its boxes and answers.
class ColumnCheckHost final : public ProcedureHost {
  public:
    explicit ColumnCheckHost(ProcedureHost& host) : host_(host) {}
    std::vector<RecordingHost::Box> boxes;

    void ShowWarning(std::string_view title, std::string_view text) override {
        host_.ShowWarning(title, text);
        boxes.push_back({std::string(title), std::string(text), false, false});
    }
    bool AskYesNo(std::string_view title, std::string_view text) override {
        const bool yes = host_.AskYesNo(title, text);
        boxes.push_back({std::string(title), std::string(text), true, yes});
        return yes;
    }
    void SetFocus(FocusTarget target) override { host_.SetFocus(target); }
    void SetResultText(ResultField field, const std::string& text) override {
        host_.SetResultText(field, text);
    }
    void SetEnabled(Control control, bool enabled) override { host_.SetEnabled(control, enabled); }
    void HideDrawingAndChart() override { host_.HideDrawingAndChart(); }

  private:
    ProcedureHost& host_;
};

// The runs in case order: each user case, then its minimum-moment cases when they are on.
std::vector<CaseRun> PlanCases(const ColumnData& data, double hx, double hy) {
    std::vector<CaseRun> plan;
    const std::vector<LoadCase> cases = Cases(data);
    for (std::size_t i = 0; i < cases.size(); ++i) {
        plan.emplace_back();
        plan.back().name = cases[i].name;
        plan.back().position = static_cast<int>(i) + 1;
        if (!data.minimumMoments) continue;
        for (const LoadCase& generated : MinimumMomentCases(cases[i], hx, hy)) {
            plan.emplace_back();
            plan.back().name = generated.name;
            plan.back().position = static_cast<int>(i) + 1;
            plan.back().generated = true;
        }
    }
    return plan;
}

std::vector<LoadCase> PlannedLoads(const ColumnData& data, double hx, double hy) {
    std::vector<LoadCase> loads;
    for (const LoadCase& c : Cases(data)) {
        loads.push_back(c);
        if (!data.minimumMoments) continue;
        for (LoadCase& generated : MinimumMomentCases(c, hx, hy))
            loads.push_back(std::move(generated));
    }
    return loads;
}

// Runs run(i) for i in 0..count-1 on `threads` threads and calls show() on the calling thread
// after every finished run and every 30 ms between them, so that the caller's host is only ever
// used from its own thread. The browser edition has no threads: it runs the cases in turn.
template <class Run, class Show>
void RunAll(int count, int threads, Run run, Show show) {
#ifdef __EMSCRIPTEN__
    (void)threads;
    for (int i = 0; i < count; ++i) {
        run(i);
        show();
    }
#else
    constexpr std::chrono::milliseconds kShowInterval{30};
    if (threads <= 0) threads = static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
    threads = std::min(threads, count);
    std::mutex mutex;
    std::condition_variable finished;
    int next = 0;
    int completed = 0;
    auto worker = [&] {
        while (true) {
            int i = 0;
            {
                std::lock_guard lock(mutex);
                if (next == count) return;
                i = next++;
            }
            run(i);
            {
                std::lock_guard lock(mutex);
                ++completed;
            }
            finished.notify_one();
        }
    };
    std::vector<std::thread> pool;
    for (int t = 0; t < threads; ++t)
        pool.emplace_back(worker);
    int reported = 0;
    while (reported < count) {
        std::unique_lock lock(mutex);
        finished.wait_for(lock, kShowInterval, [&] { return completed > reported; });
        reported = completed;
        lock.unlock();
        show();
    }
    for (std::thread& t : pool)
        t.join();
#endif
}

}  // namespace

std::vector<LoadCase> Cases(const ColumnData& data) {
    std::vector<LoadCase> cases{FirstCase(data)};
    cases.insert(cases.end(), data.otherCases.begin(), data.otherCases.end());
    return cases;
}

void SetCases(ColumnData& data, std::vector<LoadCase> cases) {
    const LoadCase& first = cases.front();
    data.firstCaseName = first.name;
    static_cast<DesignLoads&>(data) = first;
    data.otherCases.assign(std::make_move_iterator(cases.begin() + 1),
                           std::make_move_iterator(cases.end()));
}

int CheckLoadsWindowCases(const ColumnData& data, ProcedureHost& host) {
    if (data.otherCases.empty()) {
        return CheckLoadsWindow(data, host) ? -1 : 0;
    }
    const std::vector<LoadCase> cases = Cases(data);
    for (std::size_t i = 0; i < cases.size(); ++i) {
        NamingHost named(host, "Combinação " + std::to_string(i + 1));
        const bool nameTaken =
            std::any_of(cases.begin(), cases.begin() + i,
                        [&](const LoadCase& c) { return c.name == cases[i].name; });
        if (cases[i].name.empty() || nameTaken) {
            named.ShowWarning(kProgramTitle, "Dê à combinação um nome que nenhuma outra tenha.");
            return static_cast<int>(i);
        }
        if (!CheckLoadsWindow(ColumnForCase(data, cases[i]), named)) return static_cast<int>(i);
    }
    return -1;
}

ColumnData ColumnForCase(const ColumnData& data, const LoadCase& loadCase) {
    ColumnData one = data;
    SetCases(one, {loadCase});
    one.firstCaseName = "1";
    one.minimumMoments = false;
    return one;
}

bool RunsByCase(const ColumnData& data) {
    return !data.otherCases.empty() || data.minimumMoments;
}

double MinimumFirstOrderMoment(double Fd, double h) {
    return Fd * (1.5 + 0.03 * h);
}

std::vector<LoadCase> MinimumMomentCases(const LoadCase& loadCase, double hx, double hy) {
    // cos and sin of k·45°, exact where they are 0 or ±1.
    const double r = std::sqrt(0.5);
    constexpr int kAngles = 8;
    const double cosines[kAngles] = {1, r, 0, -r, -1, -r, 0, r};
    const double sines[kAngles] = {0, r, 1, r, 0, -r, -1, -r};
    const double Fd = ReadNumber(loadCase.Fd);
    const double mx = MinimumFirstOrderMoment(Fd, hx);
    const double my = MinimumFirstOrderMoment(Fd, hy);
    std::vector<LoadCase> cases;
    for (int k = 0; k < kAngles; ++k) {
        LoadCase c;
        c.name = "Mín. " + std::to_string(45 * k) + "° — " + loadCase.name;
        c.Fd = loadCase.Fd;
        c.Mxd_t = c.Mxd_b = LoadText(mx * cosines[k]);
        c.Myd_t = c.Myd_b = LoadText(my * sines[k]);
        cases.push_back(std::move(c));
    }
    return cases;
}

bool MinimumMomentExtents(const ColumnData& data, double& hx, double& hy) {
    RecordingHost quiet;
    auto section = std::make_unique<SectionGeometry>();
    if (!BuildSectionForDrawing(data, quiet, *section)) return false;
    double minX = section->vertices[0].x, maxX = minX;
    double minY = section->vertices[0].y, maxY = minY;
    for (int i = 1; i < section->nv; ++i) {
        minX = std::min(minX, section->vertices[i].x);
        maxX = std::max(maxX, section->vertices[i].x);
        minY = std::min(minY, section->vertices[i].y);
        maxY = std::max(maxY, section->vertices[i].y);
    }
    hx = maxX - minX;
    hy = maxY - minY;
    if (data.sectionType == SectionType::CircularSolid ||
        data.sectionType == SectionType::CircularHollow) {
        hy = hx;
    }
    return true;
}

std::string CaseRun::Label() const {
    std::string label = "Combinação " + std::to_string(position);
    if (generated) label += ", " + name.substr(0, name.find(" — "));
    return label;
}

std::string CaseRun::EndingMessage() const {
    if (result == nullptr || result->completed || host.boxes.empty()) return {};
    return Label() + ": " + host.boxes.back().text;
}

bool CasesRun::AllCompleted() const {
    if (columnEnded) return false;
    return std::all_of(cases.begin(), cases.end(),
                       [](const CaseRun& c) { return c.result && c.result->completed; });
}

std::string CasesRun::GoverningLabel() const {
    if (governing < 0) return {};
    const CaseRun& c = cases[static_cast<std::size_t>(governing)];
    return "Combinação crítica: " + std::to_string(c.position) + " — " + c.name;
}

int GoverningCase(RunKind kind, const std::vector<CaseRun>& cases) {
    // The order of two completed cases. Equal S is decided by the refined S (the load factor
    // carried within the failing step), equal areas by the refined area; what is still equal
    // keeps the earlier case.
    auto governs = [kind](const AnalysisResult& a, const AnalysisResult& b) {
        if (kind == RunKind::Verify) {
            if (a.reachedStep != b.reachedStep) return a.reachedStep < b.reachedStep;
            return a.refinedSafety < b.refinedSafety;
        }
        if (a.requiredSteelArea != b.requiredSteelArea) {
            return a.requiredSteelArea > b.requiredSteelArea;
        }
        return a.refinedRequiredSteelArea > b.refinedRequiredSteelArea;
    };
    int best = -1;
    for (std::size_t i = 0; i < cases.size(); ++i) {
        const AnalysisResult* r = cases[i].result.get();
        if (r == nullptr || !r->completed) continue;
        if (best < 0 || governs(*r, *cases[static_cast<std::size_t>(best)].result)) {
            best = static_cast<int>(i);
        }
    }
    return best;
}

int LargestMinimumCase(const std::vector<CaseRun>& cases) {
    int largest = -1;
    for (std::size_t i = 0; i < cases.size(); ++i) {
        const AnalysisResult* r = cases[i].result.get();
        if (r == nullptr || !r->completed) continue;
        if (largest < 0 || r->minimumSteelArea >
                               cases[static_cast<std::size_t>(largest)].result->minimumSteelArea) {
            largest = static_cast<int>(i);
        }
    }
    return largest;
}

CasesRun RunCases(RunKind kind, const ColumnData& data, ProcedureHost& host,
                  const CaseRunOptions& options) {
    CasesRun run;
    const bool design = kind == RunKind::Design;

    // The column's own rules, once, through the caller's host.
    ColumnCheckHost columnHost(host);
    run.columnResult = std::make_unique<AnalysisResult>();
    if (!CheckColumnOfCases(data, design, columnHost, *run.columnResult)) {
        run.columnEnded = true;
        return run;
    }
    double hx = 0.0;
    double hy = 0.0;
    if (data.minimumMoments) MinimumMomentExtents(data, hx, hy);
    run.cases = PlanCases(data, hx, hy);
    const std::vector<LoadCase> loads = PlannedLoads(data, hx, hy);

    // Every case on its own model and host. The cases run side by side, so the progress window
    // shows each running case's "Combinação k de n" above its last progress line.
    const int count = static_cast<int>(run.cases.size());
    RunningCases running(count);
    host.SetEnabled(Control::MainWindow, false);
    host.ShowProgressWindow(true);
    RunAll(
        count, options.threads,
        [&](int i) {
            running.Start(i);
            CaseRun& c = run.cases[static_cast<std::size_t>(i)];
            CaseHost caseHost(columnHost.boxes, c.host, running, i);
            const ColumnData column = ColumnForCase(data, loads[static_cast<std::size_t>(i)]);
            c.result = design ? Design(column, caseHost, options.procedure)
                              : Verify(column, caseHost, options.procedure);
            running.Finish(i);
        },
        [&] { host.ReplaceProgress(running.Lines()); });
    host.SetEnabled(Control::MainWindow, true);
    host.ShowProgressWindow(false);
    host.ClearProgress();

    // The governing case's results go to the caller's fields.
    run.governing = GoverningCase(kind, run.cases);
    if (design) run.largestMinimum = LargestMinimumCase(run.cases);
    if (run.governing < 0) return run;
    const AnalysisResult& g = *run.cases[static_cast<std::size_t>(run.governing)].result;
    if (design) {
        host.SetResultText(ResultField::RequiredSteel, g.requiredText);
        host.SetResultText(ResultField::RefinedRequiredSteel, g.refinedRequiredText);
        host.SetResultText(
            ResultField::MinimumSteel,
            run.cases[static_cast<std::size_t>(run.largestMinimum)].result->minimumText);
        host.SetEnabled(Control::ToolbarHelp, true);
    } else {
        host.SetResultText(ResultField::SafetyCoefficient, g.safetyText);
        host.SetResultText(ResultField::RefinedSafetyCoefficient, g.refinedSafetyText);
        host.SetEnabled(Control::LoadCurve, true);
        host.SetEnabled(Control::ToolbarSave, true);
        host.SetEnabled(Control::ToolbarPrint, true);
    }
    return run;
}

}  // namespace tarvelo
