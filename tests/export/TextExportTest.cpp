// Tab text and comma-separated values: layout, shared time column, number
// format, quoting, date stamps and failures. Expected texts are written out
// by hand.

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "export/ExportItems.h"
#include "export/TextExport.h"
#include "support/TestSupport.h"

namespace kov {
namespace {

using test::ExportWave;

std::string Export(const std::vector<const PlotableStackObject*>& items, char separator,
                   bool dateExport = true) {
    test::TempDir dir;
    const auto path = dir / "out.txt";
    TextExportOptions options;
    options.separator = separator;
    options.dateExport = dateExport;
    EXPECT_TRUE(WriteTextExport(path.string(), items, options));
    return test::ReadFile(path);
}

// A trend of two points with exact X values, the X unit given.
std::unique_ptr<TrendStackObject> Trend(std::uint16_t xUnit, std::vector<double> times) {
    const auto n = static_cast<std::uint32_t>(times.size());
    auto t = std::make_unique<TrendStackObject>(n, xUnit, kUnitVoltage, FloatArray(),
                                                FloatArray(std::vector<float>(n, 5.0f)),
                                                DoubleArray(std::move(times)));
    t->Init("/data/log.csv", "log", "T", "", "", "", "TRND");
    t->Finish();
    return t;
}

TEST(TextExport, FirstItemSetsTheRowsAndTheTimeColumn) {
    // 3 and 5 samples: three rows, the longer item's extra samples are not written.
    const auto a = ExportWave("A", {0.0f, 0.5f, 1.0f}, {1, 2, 3});
    const auto b = ExportWave("B", {9, 9.5f, 10, 10.5f, 11}, {10, 20, 30, 40, 50});
    EXPECT_EQ(Export({a.get(), b.get()}, ','),
              "X,\"case>A\",\"case>B\"\r\n"
              "0,1,10\r\n"
              "0.5,2,20\r\n"
              "1,3,30\r\n");
    // The other way round: the shorter item leaves its column empty.
    EXPECT_EQ(Export({b.get(), a.get()}, ','),
              "X,\"case>B\",\"case>A\"\r\n"
              "9,10,1\r\n"
              "9.5,20,2\r\n"
              "10,30,3\r\n"
              "10.5,40,\r\n"
              "11,50,\r\n");
    EXPECT_EQ(Export({b.get(), a.get()}, '\t'),
              "X\tcase>B\tcase>A\r\n"
              "9\t10\t1\r\n"
              "9.5\t20\t2\r\n"
              "10\t30\t3\r\n"
              "10.5\t40\t\r\n"
              "11\t50\t\r\n");
}

TEST(TextExport, NumbersAreWrittenAsPercentPoint9g) {
    // Values worked out with printf("%.9g") of the single-precision numbers.
    const float inf = std::numeric_limits<float>::infinity();
    const auto a = ExportWave("A", {0.1f, 1e-7f, 123456.789f, -2.5e10f, 1.0f / 3.0f},
                              {1.0f / 3.0f, -0.0f, inf, -inf, 1e30f});
    EXPECT_EQ(Export({a.get()}, '\t'),
              "X\tcase>A\r\n"
              "0.100000001\t0.333333343\r\n"
              "1.00000001e-07\t-0\r\n"
              "123456.789\tinf\r\n"
              "-2.49999995e+10\t-inf\r\n"
              "0.333333343\t1.00000002e+30\r\n");
}

TEST(TextExport, TitlesStayOneField) {
    auto a = std::make_unique<WaveStackObject>();
    a->SetSamples(FloatArray(std::vector<float>{0}), FloatArray(std::vector<float>{1}));
    a->Init("/x", "c", "say \"hi\"", "tab\there", "", "", "WAVE");
    a->Finish();
    EXPECT_EQ(Export({a.get()}, ','), "X,\"c>say \"\"hi\"\"-tab\there\"\r\n0,1\r\n");
    EXPECT_EQ(Export({a.get()}, '\t'), "X\tc>say \"hi\"-tab here\r\n0\t1\r\n");
}

TEST(TextExport, DateStampsOfExactTimes) {
    // 1700000000 s is 2023-11-14 22:13:20 UTC; .6 rounds up to :21.
    const auto t = Trend(kUnitTime, {1700000000.4, 1700000000.6});
    EXPECT_EQ(Export({t.get()}, ','),
              "X,\"log>T\"\r\n"
              "\"11/14/23 22:13:20\",5\r\n"
              "\"11/14/23 22:13:21\",5\r\n");
    EXPECT_EQ(Export({t.get()}, '\t'),
              "X\tlog>T\r\n"
              "11/14/23 22:13:20\t5\r\n"
              "11/14/23 22:13:21\t5\r\n");
    // DateExport off: the exact times themselves, not the index array.
    EXPECT_EQ(Export({t.get()}, ',', false),
              "X,\"log>T\"\r\n"
              "1700000000.4,5\r\n"
              "1700000000.6,5\r\n");
    // Exact times in seconds from the start of a recording are no dates.
    const auto rel = Trend(kUnitSeconds, {0.25, 1e-6});
    EXPECT_EQ(Export({rel.get()}, ',', true),
              "X,\"log>T\"\r\n"
              "0.25,5\r\n"
              "1e-06,5\r\n");
}

TEST(TextExport, OnlyTheFirstItemsDateStampsCount) {
    const auto wave = ExportWave("A", {0.5f}, {1});
    const auto t = Trend(kUnitTime, {1700000000.0});
    EXPECT_EQ(Export({wave.get(), t.get()}, ','), "X,\"case>A\",\"log>T\"\r\n0.5,1,5\r\n");
}

TEST(TextExport, FailuresLeaveNothing) {
    test::TempDir dir;
    const auto a = ExportWave("A", {0}, {1});
    const std::vector<const PlotableStackObject*> items{a.get()};
    const auto missing = dir / "no" / "such" / "out.csv";
    EXPECT_FALSE(WriteTextExport(missing.string(), items));
    EXPECT_FALSE(std::filesystem::exists(missing));
    const auto path = dir / "empty.csv";
    EXPECT_FALSE(WriteTextExport(path.string(), {}));
    EXPECT_FALSE(std::filesystem::exists(path));
}

TEST(TextExport, ArraysShorterThanPointCountAreNotReadPast) {
    auto a = ExportWave("A", {0, 1, 2}, {1, 2, 3});
    a->yValues = FloatArray(std::vector<float>{7});  // fewer values than points
    EXPECT_EQ(Export({a.get()}, ','), "X,\"case>A\"\r\n0,7\r\n1,\r\n2,\r\n");
}

}  // namespace
}  // namespace kov
