// Design laws of concrete and reinforcing steel.
#include "engine/material.h"

#include <cmath>

#include "engine/portable_math.h"

namespace tarvelo {

void ComputeConcreteParameters(double fckMPa, MaterialParameters& m) {
    const double fck = fckMPa;
    if (fck <= 50.0) {
        m.epsC2 = 2.0;
        m.epsCu = 3.5;
    } else {
        // High-strength concrete: the parabola peaks later and the ultimate strain drops.
        m.epsC2 = 2.0 + 0.085 * PortablePow(fck - 50.0, 0.53);
        m.epsCu = 2.6 + 35.0 * PortablePow((90.0 - fck) / 100.0, 4.0);
    }
    if (m.epsC2 > 0.999 * m.epsCu) m.epsC2 = 0.999 * m.epsCu;

    // Secant modulus from the mean strength fcm = fck + 8 MPa (GPa), reduced to Ec.
    const double Eci = 21.5 * PortablePow((fck + 8.0) / 10.0, 1.0 / 3.0);
    const double Ec = Eci / 1.2;
    // GPa times per mille gives MPa; 1.4 and 1.1 are fixed numbers here, not the user's Gamac.
    m.n = 1.4 * Ec * m.epsC2 / (1.1 * fck);
    if (m.n > 2.0) m.n = 2.0;
}

void CompleteMaterialParameters(double creepCoefficient, MaterialParameters& m) {
    m.peakFactor = 1.1;
    m.plateauFactor = 0.85;
    m.effectiveCreep = 0.57 * creepCoefficient;
    // Creep stretches the strain axis of the curve; the stresses are unchanged.
    m.peakStrain = (1.0 + m.effectiveCreep) * m.epsC2 / 1000.0;
    // Where the stiffened parabola (peak 1.1 fcd) reaches the plateau 0.85 fcd.
    m.plateauStrain = m.peakStrain * (1.0 - PortablePow(1.0 - 0.85 / 1.1, 1.0 / m.n));
    m.initialModulus = m.n * 1.1 * m.fcd / m.peakStrain;
}

double ConcreteStress(const MaterialParameters& m, double strain) {
    if (strain >= 0.0) return 0.0;  // no tensile strength
    const double e0 = m.peakStrain;
    const double el = m.plateauStrain;
    if (-el < strain) {
        return -m.peakFactor * m.fcd * (1.0 - PortablePow(1.0 - strain / (-e0), m.n));
    }
    return -m.plateauFactor * m.fcd;  // the boundary strain -el belongs to the plateau
}

double SteelStress(const MaterialParameters& m, double strain) {
    const double eyd = m.fyd / m.Es;
    const double magnitude = std::fabs(strain) < eyd ? m.Es * std::fabs(strain) : m.fyd;
    return strain < 0.0 ? -magnitude : magnitude;
}

}  // namespace tarvelo
