// Design laws of concrete (parabola-rectangle with creep) and steel (elastic-perfectly plastic).
// Strains dimensionless, compression negative; stresses and moduli in kN/cm2.
#pragma once

namespace tarvelo {

struct MaterialParameters {
    double fcd = 0.0;    // kN/cm2
    double fyd = 0.0;    // kN/cm2
    double Es = 0.0;     // kN/cm2
    double epsC2 = 0.0;  // per mille, strain at the peak of the parabola
    double epsCu = 0.0;  // per mille, ultimate strain in bending
    double n = 0.0;      // exponent of the parabola
    double peakFactor = 1.1;
    double plateauFactor = 0.85;
    double effectiveCreep = 0.0;  // 0.57 times the creep coefficient typed
    double peakStrain = 0.0;      // (1 + effectiveCreep) * epsC2 / 1000, positive magnitude
    double plateauStrain = 0.0;   // positive magnitude
    double initialModulus = 0.0;  // kN/cm2, initial slope of the concrete curve
};

// epsC2, epsCu and n from fck in MPa.
void ComputeConcreteParameters(double fckMPa, MaterialParameters& m);

// peakFactor, plateauFactor, effectiveCreep = 0.57 * creepCoefficient, peakStrain, plateauStrain
// and initialModulus, in that order. Needs fcd, epsC2 and n.
void CompleteMaterialParameters(double creepCoefficient, MaterialParameters& m);

// Concrete stress for a strain (no tension, parabola, plateau at -0.85 fcd).
double ConcreteStress(const MaterialParameters& m, double strain);

// Steel stress for a bar strain (same law in tension and compression).
double SteelStress(const MaterialParameters& m, double strain);

}  // namespace tarvelo
