// Harmonic indices and column statistics against the values that
// reference_indices.py computes independently (standard-library Python,
// full precision). Relative tolerance 1e-12: only the order of summation
// differs.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Near.h"
#include "analysis/SpectrumStackObject.h"
#include "analysis/Statistics.h"

namespace kov {
namespace {

using test::NearRel;

TEST(IndexReference, TenLineSpectrum) {
    const float freq[] = {0, 60, 120, 180, 185, 300, 420, 660, 1000, 2700};
    const float mag[] = {2.5f, 100, 3, 12, 1.5f, 8, 5, 2.25f, 0.75f, 0.5f};
    SpectrumStackObject s(10, kUnitCurrent);
    std::copy(std::begin(freq), std::end(freq), s.xValues.MutableValues().begin());
    std::copy(std::begin(mag), std::end(mag), s.yValues.MutableValues().begin());
    s.perUnitBase[kAxisX].value = 60.0;
    s.Finish();
    const auto* sum = dynamic_cast<const SpectrumSummaryData*>(s.summary());
    ASSERT_NE(sum, nullptr);
    EXPECT_EQ(sum->freq, 60.0);
    EXPECT_EQ(sum->fund, 100.0);
    const std::pair<std::string, double> expected[] = {
        {"thd", 15.923645939294238},  {"td", 16.011714461605973},
        {"tid", 1.6770509831248337},  {"rmsh", 15.923645939294236},
        {"rmsi", 1.6770509831248424}, {"rmsfh", 101.2598760615477},
        {"rms", 101.27376264363836},  {"asum", 135.5},
        {"tif", 88.93727825289089},   {"it", 9007.012807954492},
    };
    const double actual[] = {sum->thd,   sum->td,  sum->tid,  sum->rmsh, sum->rmsi,
                             sum->rmsfh, sum->rms, sum->asum, sum->tif,  sum->it};
    for (std::size_t i = 0; i < std::size(expected); ++i)
        EXPECT_TRUE(NearRel(actual[i], expected[i].second, 1e-12)) << expected[i].first;
}

TEST(IndexReference, TenValueColumn) {
    const std::vector<double> column{3.2, -1.5, 7.25, 0.0, 2.5, 9.75, -4.0, 6.5, 1.25, 5.0};
    const ColumnStats s = ColumnStatistics(column);
    EXPECT_TRUE(NearRel(s.mean, 2.995, 1e-12));
    EXPECT_TRUE(NearRel(s.variance, 17.941916666666668, 1e-12));
    EXPECT_TRUE(NearRel(s.stdDev, 4.235789969612123, 1e-12));
    EXPECT_TRUE(NearRel(s.stdErr, 1.3394743994069713, 1e-12));
    EXPECT_EQ(s.median, 2.85);
    EXPECT_EQ(s.min, -4.0);
    EXPECT_EQ(s.max, 9.75);
    EXPECT_EQ(s.range, 13.75);
}

}  // namespace
}  // namespace kov
