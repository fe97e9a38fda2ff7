#pragma once
// Harmonic indices of a line spectrum.
//
// Every routine takes the line frequencies f (Hz) and magnitudes m of one
// spectrum, line by line, and where named the fundamental frequency F (Hz)
// and the fundamental value A. Magnitudes are used as signed values; sums are
// accumulated in double precision.
//
// A line is a harmonic line when fmod(f, F) < 0.1 Hz: exact multiples of F and
// lines up to 0.1 Hz above one count, a line just below a multiple does not,
// and the DC line (f = 0) is a harmonic line. With F = 0 no line can be
// classified, so every value that needs the harmonic lines is 0.
//
//   LineSum                  sum of m over all lines (the arithmetic sum, "ASUM")
//   HarmonicRms              sqrt(sum of m^2 over the harmonic lines): the
//                            fundamental with its harmonics, DC included
//   TotalRms                 sqrt(sum of m^2 over all lines)
//   HarmonicOnlyRms          sqrt(HarmonicRms^2 - A^2): harmonics without the
//                            fundamental (DC included)
//   InterharmonicRms         sqrt(TotalRms^2 - HarmonicRms^2)
//   TotalDistortion          sqrt(TotalRms^2 - A^2) / A x 100 (percent, "TD")
//   HarmonicDistortion       sqrt(HarmonicRms^2 - A^2) / A x 100 (percent, "THD")
//   InterharmonicDistortion  sqrt(TD^2 - THD^2) (percent, "TID")
//   WeightedRms              sqrt(sum of (m x TifWeight(f))^2): the I-T product
//   TifRatio                 WeightedRms / TotalRms: the telephone influence
//                            factor, unitless
//
// A difference of squares that is not positive gives 0, and so does a
// distortion whose fundamental value A is 0.

#include <span>

namespace kov {

// True when the line at f is a harmonic of F.
bool IsHarmonicLine(double f, double fundamental);

double LineSum(std::span<const double> f, std::span<const double> m, double fundamental);
double HarmonicRms(std::span<const double> f, std::span<const double> m, double fundamental);
double TotalRms(std::span<const double> m);
double HarmonicOnlyRms(std::span<const double> f, std::span<const double> m, double fundamental,
                       double fundamentalValue);
double InterharmonicRms(std::span<const double> f, std::span<const double> m, double fundamental);
double TotalDistortion(std::span<const double> m, double fundamentalValue);
double HarmonicDistortion(std::span<const double> f, std::span<const double> m, double fundamental,
                          double fundamentalValue);
double InterharmonicDistortion(std::span<const double> f, std::span<const double> m,
                               double fundamental, double fundamentalValue);
double WeightedRms(std::span<const double> f, std::span<const double> m, double fundamental);
double TifRatio(std::span<const double> f, std::span<const double> m, double fundamental);

// Telephone influence weight of a frequency in Hz:
//   f < 180:          30 - (180 - f) x 0.2125, not below 0 (4.5 at 60 Hz)
//   180 <= f <= 4380: linear in the 40-point weighting table (kTifTable)
//                     between the last point below f and the first at or above
//   f > 4380:         2190 - (f - 4380) x 2.1774193548387095, not below 0
//                     (the slope from 4380 Hz to (5000 Hz, 840))
double TifWeight(double f);

struct TifPoint {
    double hz;
    double weight;
};
// The telephone influence weighting table. Its 60 Hz point is only the left
// end of the first interpolation segment, used at exactly 180 Hz.
extern const std::span<const TifPoint> kTifTable;

}  // namespace kov
