// Incremental-iterative solution: equal load steps, each balanced by quasi-Newton iterations
// (BFGS updates in inverse form) on the linear stiffness factorised once; and the bisection of
// the failing step with the same step iteration.
#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>

#include "engine/column_model.h"

namespace tarvelo {

namespace {

constexpr int kCycles = 10;   // restarts from the linear matrix per load step
constexpr int kUpdates = 10;  // solutions per cycle, the first one without update
constexpr double kTolerance = 0.01;

double Dot(const ColumnModel::DofVector& a, const ColumnModel::DofVector& b, int n) {
    double sum = 0.0;
    for (int i = 0; i < n; ++i)
        sum += a[i] * b[i];
    return sum;
}

double Norm(const ColumnModel::DofVector& a, int n) {
    return std::sqrt(Dot(a, a, n));
}

// |num| / |den| with 0/0 = 0 and x/0 = infinity, so a zero reference never yields NaN.
double Ratio(double num, double den) {
    if (den == 0.0) return num == 0.0 ? 0.0 : std::numeric_limits<double>::infinity();
    return num / den;
}

void ReportStep(ProgressSink* progress, int k) {
    if (progress == nullptr) return;
    // The step number is printed with the blank that stands for the sign of a positive number.
    char line[48] = "  Etapa de carga =  ";
    constexpr int kPrefix = 20;
    const auto end = std::to_chars(line + kPrefix, line + sizeof line, k).ptr;
    progress->ProgressLine(std::string_view(line, static_cast<std::size_t>(end - line)));
}

}  // namespace

bool ColumnModel::EvaluateResidual(int geometricNonlinearity, LoadStepResult& result) {
    const int n = equationCount();
    ++result.internalForceEvaluations;
    if (ComputeInternalForces(U_, geometricNonlinearity) != 0) {
        result.sectionFailure = 1;
        result.failure = failureSite_;
        return false;
    }
    double check = 0.0;
    for (int i = 0; i < n; ++i) {
        R_[i] = restrained_[i] ? 0.0 : Pk_[i] - Fint_[i];
        check += R_[i] * R_[i] + U_[i] * U_[i];
    }
    if (!std::isfinite(check)) {
        // The iteration has diverged: no equilibrium exists at this load as far as the
        // analysis can tell, so the column counts as failed here, and the run is reported as
        // not converged.
        result.sectionFailure = 1;
        result.notConverged = 1;
        result.failure = FailureSite{};
        result.failure.cause = SectionFailure::Diverged;
        return false;
    }
    return true;
}

ColumnModel::StepEnd ColumnModel::SolveLoadStep(double factor, double fraction, double normDF,
                                                int geometricNonlinearity, LoadStepResult& work) {
    const int n = equationCount();
    for (int i = 0; i < n; ++i) {
        F_[i] = factor * dF_[i];
        Pk_[i] = factor * dP_[i];
        Rprev_[i] = fraction * dF_[i];
    }
    Ustart_ = U_;
    b_ = Rprev_;

    // s of the BFGS update: the curvature condition; zero, negative or undefined asks for a
    // restart from the linear matrix.
    const auto updateScale = [&](double& bDotDiff) {
        bDotDiff = 0.0;
        double bDotPrev = 0.0;
        for (int i = 0; i < n; ++i) {
            bDotDiff += b_[i] * (Rprev_[i] - R_[i]);
            bDotPrev += b_[i] * Rprev_[i];
        }
        if (bDotPrev == 0.0) return -1.0;
        const double s = bDotDiff / bDotPrev;
        return std::isfinite(s) && s > 0.0 ? s : -1.0;
    };
    const auto storeUpdate = [&](int j, double s, double bDotDiff) {
        const double a = std::sqrt(s);
        for (int i = 0; i < n; ++i) {
            V_[j][i] = R_[i] - (1 + a) * Rprev_[i];
            W_[j][i] = b_[i] / bDotDiff;
        }
    };

    for (int cycle = 1; cycle <= kCycles; ++cycle) {
        SolveBand(kb_, b_, n, kBand);
        ++work.solutions;
        for (int i = 0; i < n; ++i)
            U_[i] = Ustart_[i] + b_[i];
        if (!EvaluateResidual(geometricNonlinearity, work)) return StepEnd::SectionFailure;

        double bDotDiff = 0.0;
        double s = updateScale(bDotDiff);
        if (s > 0.0) {
            storeUpdate(1, s, bDotDiff);
            for (int j = 2; j <= kUpdates; ++j) {
                Rprev_ = R_;
                for (int m = j - 1; m >= 1; --m) {
                    const double c = Dot(W_[m], R_, n);
                    for (int i = 0; i < n; ++i)
                        R_[i] = R_[i] + c * V_[m][i];
                }
                b_ = R_;
                SolveBand(kb_, b_, n, kBand);
                ++work.solutions;
                for (int m = 1; m <= j - 1; ++m) {
                    const double c = Dot(V_[m], b_, n);
                    for (int i = 0; i < n; ++i)
                        b_[i] = b_[i] + c * W_[m][i];
                }
                for (int i = 0; i < n; ++i)
                    U_[i] = U_[i] + b_[i];
                if (!EvaluateResidual(geometricNonlinearity, work)) return StepEnd::SectionFailure;

                if (Ratio(Norm(R_, n), normDF) < kTolerance &&
                    Ratio(Norm(b_, n), Norm(U_, n)) < kTolerance) {
                    return StepEnd::Converged;
                }
                s = updateScale(bDotDiff);
                if (!(s > 0.0)) break;
                storeUpdate(j, s, bDotDiff);
            }
        }
        // Restart from the linear matrix; the update vectors are discarded.
        Ustart_ = U_;
        Rprev_ = R_;
        b_ = R_;
    }
    return StepEnd::NotConverged;
}

LoadStepResult ColumnModel::RunLoadSteps(int nSteps, int geometricNonlinearity,
                                         LoadDeflectionCurve& curve, ProgressSink* progress,
                                         int stepLimit) {
    LoadStepResult result;
    runReached_ = 0;
    runFailed_ = false;
    if (!factorised_ || nSteps < 1) return result;
    const int n = equationCount();
    int maxSteps = nSteps > std::numeric_limits<int>::max() / 10 ? std::numeric_limits<int>::max()
                                                                 : 10 * nSteps;
    if (stepLimit > 0) maxSteps = std::min(maxSteps, stepLimit);

    for (int i = 0; i < n; ++i) {
        dF_[i] = Fsupp_[i] / nSteps;
        dP_[i] = P0_[i] / nSteps;
        U_[i] = 0.0;
    }
    const double normDF = Norm(dF_, n);
    runSteps_ = nSteps;
    curve.rows[0] = {0.0, 0.0};
    // Deflection followed: the free end of a cantilever, otherwise mid-height.
    const int topNode = ne_ + 1;
    const int midNode = static_cast<int>(std::nearbyint(ne_ / 2.0 + 1.0));
    const int curveNode = top_ == SupportCondition::Free ? topNode : midNode;
    const int yDof = kDofsPerNode * (curveNode - 1) + 1;
    const int xDof = kDofsPerNode * (curveNode - 1) + 3;
    const int axialTop = kDofsPerNode * ne_;
    // The design loads are those of step nSteps: their deflections at the top and mid-height.
    const int topY = kDofsPerNode * (topNode - 1) + 1;
    const int midY = kDofsPerNode * (midNode - 1) + 1;

    for (int k = 1; k <= maxSteps; ++k) {
        ReportStep(progress, k);
        result.reachedStep = k;
        runReached_ = k;
        Ucarried_ = U_;
        const StepEnd end = SolveLoadStep(k, 1.0, normDF, geometricNonlinearity, result);
        if (end == StepEnd::SectionFailure) {
            runFailed_ = true;
            return result;
        }
        if (end == StepEnd::NotConverged) result.notConverged = 1;

        if (k < LoadDeflectionCurve::kRows) {
            const double uy = U_[yDof];
            const double ux = U_[xDof];
            curve.rows[k] = {10 * std::sqrt(uy * uy + ux * ux), -Pk_[axialTop]};
        }
        if (k == nSteps) {
            result.designLoad = {true, 10 * U_[topY + 2], 10 * U_[topY], 10 * U_[midY + 2],
                                 10 * U_[midY]};
        }
    }
    return result;
}

FailureLoadRefinement ColumnModel::RefineFailureLoad(int geometricNonlinearity) {
    FailureLoadRefinement refinement;
    if (runReached_ < 1) return refinement;
    if (!runFailed_) {
        refinement.carriedFactor = static_cast<double>(runReached_) / runSteps_;
        return refinement;
    }
    const int n = equationCount();
    // What the run leaves for its callers stays as it was.
    const DofVector U = U_, F = F_, Fint = Fint_;
    // The tolerance of a whole step: a partial step is balanced as closely as a load step is.
    const double normDF = Norm(dF_, n);

    // Bracket in load steps: step k - 1 was carried, step k failed. Both ends, and every
    // midpoint, are exact binary fractions of a step.
    const double first = runReached_ - 1;
    double carried = first;
    double failed = runReached_;
    LoadStepResult work;
    while ((failed - carried) / runSteps_ >= kRefinementWidth) {
        const double trial = 0.5 * (carried + failed);
        U_ = Ucarried_;
        ++refinement.trials;
        if (SolveLoadStep(trial, trial - first, normDF, geometricNonlinearity, work) ==
            StepEnd::Converged) {
            carried = trial;
        } else {
            failed = trial;
        }
    }
    U_ = U;
    F_ = F;
    Fint_ = Fint;

    refinement.refined = true;
    refinement.carriedFactor = carried / runSteps_;
    refinement.failedFactor = failed / runSteps_;
    refinement.solutions = work.solutions;
    refinement.internalForceEvaluations = work.internalForceEvaluations;
    return refinement;
}

}  // namespace tarvelo
