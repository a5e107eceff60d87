#include "engine/column_model.h"

#include <algorithm>
#include <cmath>

namespace tarvelo {

SectionConstants ColumnModel::Assemble(const SectionGeometry& section, double barArea, double L,
                                       const MaterialParameters& m, const ColumnLoads& loads) {
    ne_ = kElements;
    for (int e = 1; e <= ne_; ++e)
        length_[e - 1] = L / ne_;
    connectivity_.fill(0);
    for (int e = 1; e <= ne_; ++e) {
        connectivity_[2 * e - 2] = e;
        connectivity_[2 * e - 1] = e + 1;
    }
    SetSection(section, barArea, m);

    F_.fill(0.0);
    Fint_.fill(0.0);
    U_.fill(0.0);
    kb_.Clear();
    ke_.Clear();
    nRestraints_ = 0;
    restrained_.fill(false);
    factorised_ = false;
    runReached_ = 0;

    SectionConstants last{};
    for (int e = 1; e <= ne_; ++e) {
        props_ = ComputeSectionProperties(section_.vertices.data(), section_.nv);
        last = props_;
        BuildElementStiffness(e, m.initialModulus, m.Es);
        AssembleElement(kb_, ke_, connectivity_, kDofsPerNode, e, kNodesPerElement);
    }

    // The axial force compresses the top; base moments act as entered, top moments reversed.
    AddNodalLoads(1, 0.0, 0.0, loads.Myd_b, 0.0, loads.Mxd_b);
    AddNodalLoads(ne_ + 1, -loads.Fd, loads.Hyd_t, -loads.Myd_t, loads.Hxd_t, -loads.Mxd_t);
    for (int e = 1; e <= ne_; ++e) {
        AddDistributedLoads(e, 0.0, loads.pxd, loads.pyd, length_[e - 1]);
    }
    P0_ = F_;
    assembled_ = true;
    return last;
}

int ColumnModel::ApplySupportsAndFactor(SupportCondition base, SupportCondition top) {
    // The supports modify the assembled matrix in place: they apply once per assembly.
    if (!assembled_) return 1;
    assembled_ = false;
    factorised_ = false;
    runReached_ = 0;
    top_ = top;

    nRestraints_ = 0;
    restrained_.fill(false);
    const auto restrain = [this](int node, int dof) {
        restraintNode_[nRestraints_] = node;
        restraintDof_[nRestraints_] = dof;
        ++nRestraints_;
        restrained_[kDofsPerNode * (node - 1) + dof - 1] = true;
    };
    const int topNode = ne_ + 1;
    if (base == SupportCondition::Fixed) {
        for (int dof = 1; dof <= 5; ++dof)
            restrain(1, dof);
    } else if (base == SupportCondition::Pinned) {
        restrain(1, 1);
        restrain(1, 2);
        restrain(1, 4);
    }
    // The axial DOF of the top is never restrained, so the axial load always acts.
    if (top == SupportCondition::Fixed) {
        for (int dof = 2; dof <= 5; ++dof)
            restrain(topNode, dof);
    } else if (top == SupportCondition::Pinned) {
        restrain(topNode, 2);
        restrain(topNode, 4);
    }

    const int n = equationCount();
    ApplySupports(kb_, F_, restraintNode_, restraintDof_, kDofsPerNode, n, nRestraints_, kBand);
    Fsupp_ = F_;
    const int flag = FactorBand(kb_, n, kBand);
    factorised_ = flag == 0;
    return flag;
}

void ColumnModel::SetSection(const SectionGeometry& section, double barArea,
                             const MaterialParameters& m) {
    section_ = section;
    section_.nv = std::clamp(section.nv, 0, kMaxVertices);
    section_.nb = std::clamp(section.nb, 0, kMaxBars);
    for (int i = 0; i < section_.nb; ++i)
        section_.bars[i].area = barArea;
    material_ = m;
    props_ = ComputeSectionProperties(section_.vertices.data(), section_.nv);
    SetGaussRule(gauss_, 3);
}

void ColumnModel::AddNodalLoads(int node, double c1, double c2, double c3, double c4, double c5) {
    if (node < 1 || node > kMaxDofs / kDofsPerNode) return;
    const int i = kDofsPerNode * (node - 1);
    F_[i] = c1;
    F_[i + 1] = c2;
    F_[i + 2] = c3;
    F_[i + 3] = c4;
    F_[i + 4] = c5;
}

void ColumnModel::AddDistributedLoads(int element, double pAxial, double px, double py, double Le) {
    if (element < 1 || element > kMaxElements) return;
    const int i = kDofsPerNode * (element - 1);  // F(i + 1) is the axial DOF of the first node
    F_[i] += pAxial * Le / 2;
    F_[i + 5] += pAxial * Le / 2;
    F_[i + 1] += py * Le / 2;
    F_[i + 2] += py * Le * Le / 12;
    F_[i + 6] += py * Le / 2;
    F_[i + 7] -= py * Le * Le / 12;
    F_[i + 3] += px * Le / 2;
    F_[i + 4] += px * Le * Le / 12;
    F_[i + 8] += px * Le / 2;
    F_[i + 9] -= px * Le * Le / 12;
}

const ElementMatrix& ColumnModel::BuildElementStiffness(int element, double Ec, double Es) {
    ke_.Clear();
    if (element < 1 || element > kMaxElements) return ke_;
    const double Le = length_[element - 1];

    double sumAs = 0.0, sumAsX = 0.0, sumAsY = 0.0, sumAsXX = 0.0, sumAsYY = 0.0, sumAsXY = 0.0;
    for (int i = 0; i < section_.nb; ++i) {
        const Bar& bar = section_.bars[i];
        sumAs += bar.area;
        sumAsX += bar.area * bar.x;
        sumAsY += bar.area * bar.y;
        sumAsXX += bar.area * bar.x * bar.x;
        sumAsYY += bar.area * bar.y * bar.y;
        sumAsXY += bar.area * bar.x * bar.y;
    }
    const double EA = Ec * props_.area + Es * sumAs;
    double ESx = Ec * props_.firstMomentX + Es * sumAsX;
    double ESy = Ec * props_.firstMomentY + Es * sumAsY;
    const double EIxx = Ec * props_.inertiaX + Es * sumAsXX;
    const double EIyy = Ec * props_.inertiaY + Es * sumAsYY;
    double EIxy = Ec * props_.productOfInertia + Es * sumAsXY;
    if (ESx < 1e-10) ESx = 0.0;
    if (ESy < 1e-10) ESy = 0.0;
    if (EIxy < 1e-10) EIxy = 0.0;

    // Bending pattern over (displacement, slope) of both nodes: the integral of Hi'' * Hj''.
    const auto bending = [Le](double EI, int i, int j) {
        const double k12 = 12 * EI / (Le * Le * Le);
        const double k6 = 6 * EI / (Le * Le);
        const double k4 = 4 * EI / Le;
        const double k2 = 2 * EI / Le;
        const double pattern[4][4] = {
            {k12, k6, -k12, k6}, {k6, k4, -k6, k2}, {-k12, -k6, k12, -k6}, {k6, k2, -k6, k4}};
        return pattern[i][j];
    };
    // Element DOFs: 1 u, 2 y, 3 y', 4 x, 5 x' of the first node, 6..10 of the second.
    constexpr int yDofs[4] = {2, 3, 7, 8};
    constexpr int xDofs[4] = {4, 5, 9, 10};

    ke_(1, 1) = EA / Le;
    ke_(1, 6) = -(EA / Le);
    ke_(6, 1) = -(EA / Le);
    ke_(6, 6) = EA / Le;
    for (int i = 0; i < 4; ++i) {
        for (int j = 0; j < 4; ++j) {
            ke_(yDofs[i], yDofs[j]) = bending(EIyy, i, j);
            ke_(xDofs[i], xDofs[j]) = bending(EIxx, i, j);
            ke_(yDofs[i], xDofs[j]) = bending(EIxy, i, j);
            ke_(xDofs[j], yDofs[i]) = bending(EIxy, i, j);
        }
    }
    // Axial strain against curvature: (-1/Le, +1/Le) times the integrals of the Hermite second
    // derivatives (0, -1, 0, +1) over the element.
    const auto axialSlope = [&](double ES, int slope1, int slope2) {
        const double k = ES / Le;
        ke_(1, slope1) = k;
        ke_(slope1, 1) = k;
        ke_(1, slope2) = -k;
        ke_(slope2, 1) = -k;
        ke_(6, slope1) = -k;
        ke_(slope1, 6) = -k;
        ke_(6, slope2) = k;
        ke_(slope2, 6) = k;
    };
    axialSlope(ESy, 3, 8);
    axialSlope(ESx, 5, 10);
    return ke_;
}

void ColumnModel::RecordFailure(int sectionFailure, int element, int gaussPoint, double z) {
    FailureSite& site = failureSite_;
    site.cause = static_cast<SectionFailure>(sectionFailure);
    site.element = element;
    site.gaussPoint = gaussPoint + 1;
    site.height = z;
    for (int e = 1; e < element; ++e)
        site.height += length_[e - 1];
    switch (site.cause) {
        case SectionFailure::SteelElongation:
            site.limit = 10.0;  // the steel elongation limit of the section check
            break;
        case SectionFailure::ConcreteUltimate:
            site.limit = material_.epsCu;
            break;
        case SectionFailure::FullCompression:
            site.limit = material_.epsC2;
            break;
        default:
            site.limit = 0.0;
            break;
    }
}

int ColumnModel::ComputeInternalForces(const DofVector& U, int geometricNonlinearity) {
    Fint_.fill(0.0);
    const double gnl = geometricNonlinearity;
    for (int e = 1; e <= ne_; ++e) {
        const double Le = length_[e - 1];
        const int i0 = kDofsPerNode * (e - 1);
        const double u1 = U[i0], v1 = U[i0 + 1], sv1 = U[i0 + 2], w1 = U[i0 + 3], sw1 = U[i0 + 4];
        const double u2 = U[i0 + 5], v2 = U[i0 + 6], sv2 = U[i0 + 7], w2 = U[i0 + 8],
                     sw2 = U[i0 + 9];
        double fe[kElementDofs] = {};
        for (int g = 0; g < gauss_.count; ++g) {
            const double t = gauss_.abscissa[g];
            const double w = gauss_.weight[g];
            const double z = (t + 1) * Le / 2;
            // Hermite first and second derivatives over (displacement, slope) of both nodes.
            const double H1d = -6 * z / (Le * Le) + 6 * z * z / (Le * Le * Le);
            const double H2d = 1 - 4 * z / Le + 3 * z * z / (Le * Le);
            const double H3d = -H1d;
            const double H4d = -2 * z / Le + 3 * z * z / (Le * Le);
            const double H1dd = (12 * z / Le - 6) / (Le * Le);
            const double H2dd = (6 * z / Le - 4) / Le;
            const double H3dd = -H1dd;
            const double H4dd = H2dd + 2 / Le;

            const double yd = (H1d * v1 + H2d * sv1 + H3d * v2 + H4d * sv2) * gnl;
            const double xd = (H1d * w1 + H2d * sw1 + H3d * w2 + H4d * sw2) * gnl;
            SectionStrain strain;
            strain.axialStrain = (u2 - u1) / Le + 0.5 * (yd * yd + xd * xd);
            strain.curvatureY = H1dd * v1 + H2dd * sv1 + H3dd * v2 + H4dd * sv2;
            strain.curvatureX = H1dd * w1 + H2dd * sw1 + H3dd * w2 + H4dd * sw2;

            int sectionFailure = 0;
            const SectionResultants r =
                response_ != nullptr
                    ? response_->Resultants(strain, sectionFailure)
                    : integrator_.IntegrateSection(strain, section_.vertices.data(), section_.nv,
                                                   section_.bars.data(), section_.nb, props_.area,
                                                   material_, sectionFailure);
            if (sectionFailure != 0) {
                RecordFailure(sectionFailure, e, g, z);
                return 1;
            }

            const double factor = Le / 2 * w;
            const double N = r.N;
            fe[0] += -N / Le * factor;
            fe[5] += N / Le * factor;
            fe[1] += (N * yd * H1d - r.momentY * H1dd) * factor;
            fe[2] += (N * yd * H2d - r.momentY * H2dd) * factor;
            fe[6] += (N * yd * H3d - r.momentY * H3dd) * factor;
            fe[7] += (N * yd * H4d - r.momentY * H4dd) * factor;
            fe[3] += (N * xd * H1d - r.momentX * H1dd) * factor;
            fe[4] += (N * xd * H2d - r.momentX * H2dd) * factor;
            fe[8] += (N * xd * H3d - r.momentX * H3dd) * factor;
            fe[9] += (N * xd * H4d - r.momentX * H4dd) * factor;
        }
        for (int a = 0; a < kElementDofs; ++a)
            Fint_[i0 + a] += fe[a];
    }
    for (double& f : Fint_) {
        if (std::abs(f) < 1e-9) f = 0.0;
    }
    return 0;
}

}  // namespace tarvelo
