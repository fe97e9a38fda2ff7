// Table computations: the IEEE 519 figures and checks, the value tables with
// display scales and per-unit bases, the data points made on demand, and the
// text export.

#include <gtest/gtest.h>
#include <sys/resource.h>

#include <csignal>

#include <cmath>
#include <ctime>
#include <limits>
#include <vector>

#include "Items.h"
#include "analysis/MagDurStackObject.h"
#include "analysis/StatisticItems.h"
#include "analysis/Tables.h"
#include "analysis/TrendStackObject.h"
#include "analysis/XYStackObject.h"
#include "platform/MemoryProfile.h"
#include "support/TestSupport.h"

namespace kov {
namespace {

using test::Spectrum;
using test::Wave;

// IL of the PCC settings, computed from first principles: S / (sqrt(3) V).
double LoadCurrent(double kva, double volts) {
    return kva * 1000.0 / (std::sqrt(3.0) * volts);
}

Ieee519Settings Pcc(double volts, double mva, double kva, double itLimit = 1500.0) {
    Ieee519Settings s;
    s.pccVolts = volts;
    s.pccMva = mva;
    s.maxDemandKva = kva;
    s.itLimit = itLimit;
    return s;
}

std::unique_ptr<Table> Build(TableType type, std::vector<const StackObject*> items,
                             const TableOptions& options = {}) {
    return BuildTable(type, items, options);
}

// A spectrum of harmonic lines of 60 Hz: (order, magnitude) pairs, the
// fundamental first.
std::unique_ptr<SpectrumStackObject> Harmonics(const std::vector<std::pair<int, double>>& lines,
                                               const char* name = "I1") {
    std::vector<float> f, m, p;
    for (const auto& [h, mag] : lines) {
        f.push_back(static_cast<float>(60 * h));
        m.push_back(static_cast<float>(mag));
        p.push_back(0.0f);
    }
    auto s = Spectrum(f, m, p);
    s->Init("", "CASE", name, "", "", "", "SPEC");
    return s;
}

// ---------------------------------------------------------------------------
// IEEE 519 figures.

TEST(TablesIeee519, WorkedExampleGivesRow4) {
    const Ieee519Limits l = ComputeIeee519Limits(Pcc(13800, 100, 50));
    ASSERT_TRUE(l.valid);
    // 100 MVA / (sqrt(3) x 13.8 kV) = 4183.7 A; 50 kVA / (sqrt(3) x 13.8 kV) = 2.0918 A.
    EXPECT_NEAR(l.isc, 4183.698, 0.001);
    EXPECT_NEAR(l.il, 2.091849, 1e-6);
    EXPECT_DOUBLE_EQ(l.ratio, 2000.0);
    EXPECT_EQ(l.row, 4);
    EXPECT_EQ(l.limits, (std::array<double, 6>{15.0, 7.0, 6.0, 2.5, 1.4, 20.0}));
}

TEST(TablesIeee519, RowBoundaries) {
    // Exactly 20 at 13.8 kV: 1 MVA over 50 kVA.
    EXPECT_EQ(ComputeIeee519Limits(Pcc(13800, 1, 50)).row, 0);
    EXPECT_EQ(Ieee519Row(13800, 20.0), 0);
    EXPECT_EQ(Ieee519Row(13800, 20.001), 1);
    EXPECT_EQ(Ieee519Row(13800, 50.0), 1);
    EXPECT_EQ(Ieee519Row(13800, 100.0), 2);
    EXPECT_EQ(Ieee519Row(13800, 1000.0), 3);
    EXPECT_EQ(Ieee519Row(69000, 1000.5), 4);
    EXPECT_EQ(Ieee519Row(69000.5, 10.0), 5);
    EXPECT_EQ(Ieee519Row(115000, 60.0), 7);
    EXPECT_EQ(Ieee519Row(161000, 5000.0), 9);
    // Exactly 50 above 161 kV: 5 MVA over 100 kVA.
    const Ieee519Limits high = ComputeIeee519Limits(Pcc(230000, 5, 100));
    EXPECT_DOUBLE_EQ(high.ratio, 50.0);
    EXPECT_EQ(high.row, 11);
    EXPECT_EQ(high.limits[5], 3.75);
    EXPECT_EQ(Ieee519Row(230000, 49.99), 10);
}

TEST(TablesIeee519, BandsAndTheQuarterLimitOfEvenHarmonics) {
    EXPECT_EQ(Ieee519Band(0), 5);
    for (int h : {1, 2, 10}) EXPECT_EQ(Ieee519Band(h), 0) << h;
    for (int h : {11, 16}) EXPECT_EQ(Ieee519Band(h), 1) << h;
    for (int h : {17, 22}) EXPECT_EQ(Ieee519Band(h), 2) << h;
    for (int h : {23, 34}) EXPECT_EQ(Ieee519Band(h), 3) << h;
    for (int h : {35, 128}) EXPECT_EQ(Ieee519Band(h), 4) << h;
    const Ieee519Limits l = ComputeIeee519Limits(Pcc(13800, 100, 50));  // row 4
    EXPECT_EQ(Ieee519HarmonicLimit(l, 4), 15.0 / 4);
    EXPECT_EQ(Ieee519HarmonicLimit(l, 5), 15.0);
    EXPECT_EQ(Ieee519HarmonicLimit(l, 12), 7.0 / 4);
    EXPECT_EQ(Ieee519HarmonicLimit(l, 0), 20.0);
}

TEST(TablesIeee519, SettingsThatGiveNoLoadCurrentDoNotDivideByZero) {
    for (const auto& pcc : {Pcc(0, 100, 50), Pcc(-13800, 100, 50), Pcc(13800, 100, 0),
                            Pcc(std::numeric_limits<double>::quiet_NaN(), 100, 50)}) {
        const Ieee519Limits l = ComputeIeee519Limits(pcc);
        EXPECT_FALSE(l.valid);
        EXPECT_EQ(l.il, 0.0);
        EXPECT_EQ(l.isc, 0.0);
        EXPECT_EQ(l.ratio, 0.0);
        EXPECT_GE(l.row, 0);
        EXPECT_LE(l.row, 11);
        auto s = Harmonics({{1, 2.0}, {5, 1.0}});
        TableOptions options;
        options.pcc = pcc;
        const auto t = Build(TableType::Ieee519, {s.get()}, options);
        ASSERT_EQ(t->grid(1).rows, 2u);
        EXPECT_EQ(t->Cell(1, 1, 7).text, "No IL");
        EXPECT_EQ(t->Cell(1, 1, 1).text, "");
        EXPECT_EQ(t->Cell(2, 1, 4).text, "");  // H5 in percent of IL
    }
}

TEST(TablesIeee519, SettingsLoadAndSaveTheirKeys) {
    MemoryProfile profile;
    Ieee519Settings loaded;
    loaded.Load(profile);
    EXPECT_EQ(loaded, Ieee519Settings{});
    const Ieee519Settings s = Pcc(230000, 5, 100, 900);
    s.Save(profile);
    EXPECT_EQ(profile.GetDouble("IEEE519Table", "PCCVolts", 0), 230000);
    EXPECT_EQ(profile.GetDouble("IEEE519Table", "PCCMVA", 0), 5);
    EXPECT_EQ(profile.GetDouble("IEEE519Table", "MaxDemandKVA", 0), 100);
    EXPECT_EQ(profile.GetDouble("IEEE519Table", "ITLimit", 0), 900);
    loaded.Load(profile);
    EXPECT_EQ(loaded, s);
}

// ---------------------------------------------------------------------------
// IEEE 519 table.

TEST(TablesIeee519, ViolationsListsMarksAndTdd) {
    const double il = LoadCurrent(50, 13800);
    // Percent of IL: h2 3 % (below 15/4), h4 3.76 % (above 15/4), h5 10 % (below 15),
    // h11 8 % (above 7), h13 7 % (exactly the limit: violates).
    auto s = Harmonics({{1, 2.0},
                        {2, 0.03 * il},
                        {4, 0.0376 * il},
                        {5, 0.10 * il},
                        {11, 0.08 * il},
                        {13, 0.07 * il}});
    TableOptions options;
    options.pcc = Pcc(13800, 100, 50, 1e9);
    const auto t = Build(TableType::Ieee519, {s.get()}, options);
    ASSERT_EQ(t->gridCount(), 3u);
    EXPECT_EQ(t->grid(1).caption, "Summary Table");
    EXPECT_EQ(t->grid(2).caption, "Detail Table");
    ASSERT_EQ(t->grid(1).rows, 2u);
    EXPECT_EQ(t->Cell(1, 0, 0).text, "IEEE 519 Limits");
    EXPECT_EQ(t->Cell(1, 0, 1).text, "15");
    EXPECT_EQ(t->Cell(1, 0, 5).text, "1.4");
    EXPECT_EQ(t->Cell(1, 0, 6).text, "20");
    EXPECT_EQ(t->Cell(1, 1, 0).text, "CASE>I1");
    EXPECT_EQ(t->Cell(1, 1, 1).text, "4");
    EXPECT_TRUE(t->Cell(1, 1, 1).marked);
    EXPECT_EQ(t->Cell(1, 1, 2).text, "11,13");
    EXPECT_TRUE(t->Cell(1, 1, 2).marked);
    for (std::size_t c = 3; c <= 5; ++c) {
        EXPECT_EQ(t->Cell(1, 1, c).text, "OK");
        EXPECT_FALSE(t->Cell(1, 1, c).marked);
    }
    // TDD: sqrt(3^2 + 3.76^2 + 10^2 + 8^2 + 7^2) = 15.2 % of IL, below 20.
    const double tdd = std::sqrt(9 + 3.76 * 3.76 + 100 + 64 + 49);
    EXPECT_EQ(t->Cell(1, 1, 6).text, "OK");
    EXPECT_EQ(t->Cell(1, 1, 7).text, "Exceeds");
    EXPECT_TRUE(t->Cell(1, 1, 7).marked);
    // Detail: I*T, TDD, then H3 H5 H7 H9 H11 H13 H17 ... in percent of IL.
    ASSERT_EQ(t->grid(2).columns, 15u);
    EXPECT_EQ(t->grid(2).headers[0][14], "H31");
    EXPECT_NEAR(std::stod(t->Cell(2, 1, 2).text), tdd, 1e-3);
    EXPECT_FALSE(t->Cell(2, 1, 2).marked);
    EXPECT_EQ(t->Cell(2, 1, 3).text, "");  // no 3rd harmonic line
    EXPECT_NEAR(std::stod(t->Cell(2, 1, 4).text), 10.0, 1e-4);
    EXPECT_FALSE(t->Cell(2, 1, 4).marked);
    EXPECT_NEAR(std::stod(t->Cell(2, 1, 7).text), 8.0, 1e-4);
    EXPECT_TRUE(t->Cell(2, 1, 7).marked);
    EXPECT_TRUE(t->Cell(2, 1, 8).marked);
    EXPECT_FALSE(t->Cell(2, 1, 1).marked);  // I*T far below 1e9
    // Detail limits: I*T limit, TDD, then each harmonic's limit.
    EXPECT_EQ(t->Cell(2, 0, 1).text, "1e+09");
    EXPECT_EQ(t->Cell(2, 0, 7).text, "7");
    ASSERT_NE(t->ieee519(), nullptr);
    EXPECT_EQ(t->ieee519()->row, 4);
}

TEST(TablesIeee519, TddAndItViolationsAndTheFourthHarmonicBoundary) {
    const double il = LoadCurrent(50, 13800);
    // h4 at exactly a quarter of 15 % violates; TDD 25 % (5th at 25 %) exceeds 20.
    auto s = Harmonics({{1, 2.0}, {4, 0.0375 * il}, {5, 0.25 * il}});
    TableOptions options;
    options.pcc = Pcc(13800, 100, 50, 1.0);
    const auto t = Build(TableType::Ieee519, {s.get()}, options);
    EXPECT_EQ(t->Cell(1, 1, 1).text, "4,5");
    EXPECT_EQ(t->Cell(1, 1, 6).text, "Exceeds");
    EXPECT_TRUE(t->Cell(1, 1, 6).marked);
    EXPECT_TRUE(t->Cell(2, 1, 2).marked);
    // I*T: 5th at 300 Hz alone outweighs a limit of 1.
    EXPECT_TRUE(t->Cell(2, 1, 1).marked);
}

TEST(TablesIeee519, CleanSpectrumShowsOkEverywhereAndOtherKindsAreSkipped) {
    const double il = LoadCurrent(50, 13800);
    auto s = Harmonics({{1, 2.0}, {3, 0.01 * il}, {35, 0.001 * il}});
    auto w = Wave({0, 1}, {1, 2});
    TableOptions options;
    options.pcc = Pcc(13800, 100, 50);
    const auto t = Build(TableType::Ieee519, {w.get(), s.get()}, options);
    ASSERT_EQ(t->grid(1).rows, 2u);
    for (std::size_t c = 1; c <= 7; ++c) {
        EXPECT_EQ(t->Cell(1, 1, c).text, "OK") << c;
        EXPECT_FALSE(t->Cell(1, 1, c).marked) << c;
    }
}

TEST(TablesIeee519, LongHarmonicListsEndBefore128Characters) {
    const double il = LoadCurrent(50, 13800);
    std::vector<std::pair<int, double>> lines{{1, 2.0}};
    for (int h = 35; h <= 128; ++h) lines.emplace_back(h, 0.05 * il);
    auto s = Harmonics(lines);
    TableOptions options;
    options.pcc = Pcc(13800, 100, 50);
    const auto t = Build(TableType::Ieee519, {s.get()}, options);
    // "35,36,...,N" of k two-digit numbers is 3k - 1 long: 42 numbers (35..76)
    // give 125 characters, a 43rd would make 128.
    std::string expected = "35";
    for (int h = 36; h <= 76; ++h) expected += "," + std::to_string(h);
    EXPECT_EQ(expected.size(), 125u);
    EXPECT_EQ(t->Cell(1, 1, 5).text, expected);
    EXPECT_TRUE(t->Cell(1, 1, 5).marked);
}

TEST(TablesIeee519, TextExportLines) {
    const double il = LoadCurrent(50, 13800);
    auto s = Harmonics({{1, 2.0}, {5, 0.2 * il}, {7, 0.01 * il}}, "IA");
    TableOptions options;
    options.pcc = Pcc(13800, 100, 50);
    const auto t = Build(TableType::Ieee519, {s.get()}, options);
    const std::string text = t->Text(',');
    // TDD = sqrt(20^2 + 1^2) = 20.0250 % of IL.
    const std::string expected =
        "PCC Bus Voltage,13800,Volts (L-L)\n"
        "PCC Short Circuit MVA,100,MVA\n"
        "Avg. Max Demand kVA,50,kVA\n"
        "I*T Limit,1500,\n"
        "Isc,4183.7,Amps\n"
        "IL,2.09185,Amps\n"
        "Isc/IL,2000,\n"
        "Summary Table\n"
        "Name,h<11,11<=h<17,17<=h<23,23<=h<35,h>=35,TDD,Summary\n"
        "IEEE 519 Limits,15,7,6,2.5,1.4,20\n"
        "CASE>IA,5,OK,OK,OK,OK,Exceeds,Exceeds\n"
        "Detail Table\n"
        "Name,I*T,TDD,H3,H5,H7,H9,H11,H13,H17,H19,H23,H25,H29,H31\n"
        "IEEE 519 Limits,1500,20,15,15,15,15,7,7,6,6,2.5,2.5,2.5,2.5\n";
    ASSERT_EQ(text.substr(0, expected.size()), expected) << text;
    // The item's detail line: I*T, TDD, then H3 (no line), H5, H7 and nine empty cells
    // (H9 to H31).
    const std::string last = text.substr(expected.size());
    // I*T: sqrt((2 x 4.5)^2 + (0.2 IL x 225)^2 + (0.01 IL x 650)^2) with the 60, 300 and
    // 420 Hz TIF weights: 95.535.
    EXPECT_EQ(last, "CASE>IA,95.535,20.025,,20,1,,,,,,,,,\n");
}

TEST(TablesIeee519, DisplayUnitsDoNotChangeTheVerdict) {
    // The limits are in amperes: a kA prefix or a per-unit base on the
    // magnitudes changes only what other windows show.
    const double il = LoadCurrent(50, 13800);
    auto plain = Harmonics({{1, 2.0}, {5, 0.2 * il}, {11, 0.05 * il}}, "IA");
    auto scaled = Harmonics({{1, 2.0}, {5, 0.2 * il}, {11, 0.05 * il}}, "IA");
    scaled->axisUnits[kAxisY].multiplier = 1000.0;
    scaled->perUnitBase[kAxisY] = PerUnitBase{true, 7.0, 0, kLabelYMag};
    scaled->UpdateScales();
    ASSERT_NE(scaled->scale(kAxisY), 1.0);
    TableOptions options;
    options.pcc = Pcc(13800, 100, 50, 50);
    const std::string expected = Build(TableType::Ieee519, {plain.get()}, options)->Text('\t');
    EXPECT_EQ(Build(TableType::Ieee519, {scaled.get()}, options)->Text('\t'), expected);
    EXPECT_NE(expected.find("CASE>IA\t5\tOK\tOK"), std::string::npos) << expected;
}

TEST(TablesIeee519, CommaSeparatedHarmonicListsStayOneField) {
    const double il = LoadCurrent(50, 13800);
    auto s = Harmonics({{1, 2.0}, {5, 0.2 * il}, {7, 0.2 * il}}, "IA");
    TableOptions options;
    options.pcc = Pcc(13800, 100, 50);
    const auto t = Build(TableType::Ieee519, {s.get()}, options);
    EXPECT_NE(t->Text(',').find("CASE>IA,\"5,7\",OK,"), std::string::npos);
    EXPECT_NE(t->Text('\t').find("CASE>IA\t5,7\tOK\t"), std::string::npos);
}

// ---------------------------------------------------------------------------
// Value tables.

TEST(TablesValues, MinMaxUsesTheDisplayScale) {
    auto w = Wave({0, 1, 2}, {-5000, 1000, 2000}, kUnitVoltage);
    w->Init("", "CASE", "v", "", "", "", "WAVE");
    w->axisUnits[kAxisY].multiplier = 1000.0;  // kV
    w->UpdateScales();
    const auto t = Build(TableType::MinMax, {w.get()});
    ASSERT_EQ(t->grid(0).rows, 1u);
    ASSERT_EQ(t->grid(0).columns, 6u);
    EXPECT_EQ(t->Cell(0, 0, 0).text, "CASE");
    EXPECT_EQ(t->Cell(0, 0, 1).text, "v");
    EXPECT_EQ(t->Cell(0, 0, 2).text, "-5");
    EXPECT_EQ(t->Cell(0, 0, 3).text, "2");
    EXPECT_EQ(t->Cell(0, 0, 4).text, "5");          // the larger magnitude
    EXPECT_EQ(t->Cell(0, 0, 5).text, "-0.666667");  // (-5 + 1 + 2) / 3
    EXPECT_EQ(t->Text('\t'),
              "Case\tItem\tMin\tMax\tAbs Max\tAvg\n"
              "\t\t\t\t\t\n"
              "CASE\tv\t-5\t2\t5\t-0.666667\n");
}

TEST(TablesValues, NonFiniteSamplesAndEmptyItemsDoNotBreakTheTables) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    auto w = Wave({0, 1, 2, 3}, {nan, 3, -inf, 1});
    auto empty = std::make_unique<WaveStackObject>();
    const auto t = Build(TableType::MinMax, {w.get(), empty.get()});
    ASSERT_EQ(t->grid(0).rows, 2u);
    EXPECT_EQ(t->Cell(0, 0, 2).text, "1");  // extremes over the finite samples
    EXPECT_EQ(t->Cell(0, 0, 3).text, "3");
    EXPECT_EQ(t->Cell(0, 1, 2).text, "");
    auto s = Spectrum({60, 180}, {nan, inf}, {0, 0});
    for (int type = 0; type < kTableTypeCount; ++type) {
        const auto any = Build(static_cast<TableType>(type), {w.get(), s.get(), empty.get()});
        EXPECT_FALSE(any->Text(',').empty());
    }
}

TEST(TablesValues, WaveSummaryTakesTheSevenSummaryValuesOfWaveformsOnly) {
    auto w = Wave({0, 1, 2, 3}, {2, -2, 2, -2});
    auto s = Harmonics({{1, 1.0}});
    const auto t = Build(TableType::WaveSummary, {w.get(), s.get()});
    ASSERT_EQ(t->grid(0).rows, 1u);
    const std::vector<std::string> expected{"-2", "2", "2", "2", "2", "1", "1"};
    ASSERT_EQ(t->grid(0).columns, 9u);
    for (std::size_t c = 0; c < expected.size(); ++c)
        EXPECT_EQ(t->Cell(0, 0, c + 2).text, expected[c]);
    EXPECT_EQ(t->grid(0).headers[0][8], "FF");
}

TEST(TablesValues, HarmonicTableWithZeroFundamentalUsesOne) {
    // Lines at 60 (0), 180 (3) and 300 (4); the x-axis base of 60 Hz makes the
    // 60 Hz line the fundamental although its magnitude is 0.
    auto s = std::make_unique<SpectrumStackObject>(
        3, kUnitCurrent, FloatArray(std::vector<float>{60, 180, 300}),
        FloatArray(std::vector<float>{0, 3, 4}), FloatArray(std::vector<float>{0, 0, 0}));
    s->perUnitBase[kAxisX].value = 60.0;
    s->Finish();
    TableOptions options;
    options.highestHarmonic = 7;
    options.harmonicPercent = true;
    const auto t = Build(TableType::Harmonic, {s.get()}, options);
    ASSERT_EQ(t->grid(0).rows, 1u);
    const auto& h = t->grid(0).headers[0];
    ASSERT_EQ(h.size(), 2u + 10u + 3u);  // H3, H5, H7
    EXPECT_EQ(h[2], "Freq");
    EXPECT_EQ(h[12], "%H3");
    EXPECT_EQ(h[14], "%H7");
    EXPECT_EQ(t->Cell(0, 0, 2).text, "60");
    EXPECT_EQ(t->Cell(0, 0, 3).text, "0");    // Fund as it is
    EXPECT_EQ(t->Cell(0, 0, 4).text, "0");    // no THD without a fundamental value
    EXPECT_EQ(t->Cell(0, 0, 5).text, "500");  // RMS 5 / 1.0 x 100
    EXPECT_EQ(t->Cell(0, 0, 6).text, "700");  // ASUM 7 / 1.0 x 100
    EXPECT_EQ(t->Cell(0, 0, 12).text, "300");
    EXPECT_EQ(t->Cell(0, 0, 13).text, "400");
    EXPECT_EQ(t->Cell(0, 0, 14).text, "");  // no 7th harmonic line
}

TEST(TablesValues, HarmonicColumnsFollowThePreferencesAndTheScales) {
    auto s = Harmonics({{1, 1000}, {2, 100}, {3, 200}, {4, 50}});
    s->axisUnits[kAxisY].multiplier = 1000.0;  // kA
    s->axisUnits[kAxisX].multiplier = 1000.0;  // kHz: the summary's Freq becomes 0.06
    s->UpdateScales();
    TableOptions options;
    options.highestHarmonic = 4;
    options.evenHarmonics = true;
    const auto t = Build(TableType::Harmonic, {s.get()}, options);
    const auto& h = t->grid(0).headers[0];
    ASSERT_EQ(h.size(), 15u);
    EXPECT_EQ(h[12], "H2");
    EXPECT_EQ(h[14], "H4");
    EXPECT_EQ(t->Cell(0, 0, 2).text, "60");  // below 1.01: shown unscaled
    EXPECT_EQ(t->Cell(0, 0, 3).text, "1");
    EXPECT_EQ(t->Cell(0, 0, 12).text, "0.1");
    EXPECT_EQ(t->Cell(0, 0, 13).text, "0.2");
    EXPECT_EQ(t->Cell(0, 0, 14).text, "0.05");
    // A highest harmonic below the first shows no harmonic column; a huge one is capped.
    options.highestHarmonic = 1;
    EXPECT_EQ(Build(TableType::Harmonic, {s.get()}, options)->grid(0).columns, 12u);
    options.highestHarmonic = 1 << 30;
    EXPECT_EQ(Build(TableType::Harmonic, {s.get()}, options)->grid(0).columns,
              12u + (kMaxTableHarmonic - 1));
}

TEST(TablesValues, SwitchingTableDividesByThePerUnitBaseAndScale) {
    StatisticStackObject stat(std::vector<double>{1.2, -2.5, 0.8, 2.0});
    stat.Init("", "CASE", "BUS1", "", "Type 1", "", "STAT");
    stat.perUnitBase[kAxisX] = PerUnitBase{true, 2.0, 0, kLabelXAxis};
    stat.axisUnits[kAxisX].multiplier = 0.001;  // milli: shown x 1000
    stat.detailNames = {"BRK1", "BRK2"};
    StatisticStackObject few(std::vector<double>{3.0, 1.0});
    few.Init("", "CASE", "BUS2", "", "Type 1", "", "STAT");
    few.perUnitBase[kAxisX] = PerUnitBase{true, 0.0, 0, kLabelXAxis};  // 0 counts as 1
    auto w = Wave({0, 1}, {1, 2});
    const auto t = Build(TableType::Switching, {&stat, w.get(), &few});
    ASSERT_EQ(t->grid(0).rows, 2u);
    ASSERT_EQ(t->grid(0).headers.size(), 2u);
    EXPECT_EQ(t->Cell(0, 0, 0).text, "BUS1");
    EXPECT_EQ(t->Cell(0, 0, 1).text, "BRK1, BRK2");
    EXPECT_EQ(t->Cell(0, 0, 2).text, "1250");  // 2.5 / 2 / 0.001
    EXPECT_EQ(t->Cell(0, 0, 3).text, "1000");
    EXPECT_EQ(t->Cell(0, 0, 4).text, "600");
    EXPECT_EQ(t->Cell(0, 1, 2).text, "3");
    EXPECT_EQ(t->Cell(0, 1, 4).text, "");
    EXPECT_EQ(t->Text('\t'),
              "Node Name\t\tHighest\tSecond Highest\tThird Highest\n"
              "\tSwitch\tTime Closed 1\tTime Closed 2\tTime Closed 3\n"
              "BUS1\tBRK1, BRK2\t1250\t1000\t600\n"
              "BUS2\t\t3\t1\t\n");
}

// ---------------------------------------------------------------------------
// Data points.

std::string LocalText(double seconds) {
    const std::time_t t = static_cast<std::time_t>(seconds);
    std::tm local{};
    localtime_r(&t, &local);
    char text[64];
    std::strftime(text, sizeof text, "%m/%d/%Y %H:%M:%S", &local);
    return text;
}

TEST(TablesPoints, ItemsFollowOneAnotherWithDateTimeForAbsoluteTimes) {
    const double t0 = 1767225600.0;  // 2026-01-01 00:00:00 UTC
    TrendStackObject trend(2, kUnitSeconds, kUnitVoltage, {}, FloatArray(std::vector<float>{5, 6}),
                           DoubleArray(std::vector<double>{t0, t0 + 60.25}));
    trend.Init("", "CASE", "VRMS", "", "", "", "TRND");
    trend.Finish();
    auto w = Wave({0.001f, 0.002f, 0.003f}, {0.1f, 0.2f, 0.3f});
    w->Init("", "CASE", "v", "", "", "", "WAVE");
    StatisticStackObject stat(std::vector<double>{1.0});
    WaveStackObject empty;  // no points: no rows
    const auto t = Build(TableType::TimePoints, {&trend, &stat, &empty, w.get()});
    ASSERT_EQ(t->grid(0).rows, 5u);
    EXPECT_EQ(t->grid(0).headers[0],
              (std::vector<std::string>{"Item", "Point", "Date/Time", "Value"}));
    EXPECT_EQ(t->Cell(0, 0, 2).text, LocalText(t0));
    EXPECT_TRUE(t->Cell(0, 0, 2).date);
    EXPECT_EQ(t->Cell(0, 1, 2).text, LocalText(t0 + 60) + ".250");
    EXPECT_EQ(t->Cell(0, 1, 3).text, "6");
    EXPECT_EQ(t->Cell(0, 2, 0).text, "v");
    EXPECT_EQ(t->Cell(0, 2, 1).text, "1");
    EXPECT_EQ(t->Cell(0, 4, 1).text, "3");
    EXPECT_EQ(t->Cell(0, 4, 2).text, "3");  // 0.003 s shown in ms
    EXPECT_FALSE(t->Cell(0, 4, 2).date);
    EXPECT_EQ(t->Cell(0, 4, 3).text, "0.3");
    EXPECT_EQ(t->Cell(0, 5, 0).text, "");  // past the last row
    EXPECT_EQ(t->Cell(0, 0, 4).text, "");
    const auto waveFirst = Build(TableType::TimePoints, {w.get()});
    EXPECT_EQ(waveFirst->Text('\t'),
              "Item\tPoint\tTime\tValue\n\t\t\t\nv\t1\t1\t0.1\nv\t2\t2\t0.2\nv\t3\t3\t0.3\n");
}

TEST(TablesPoints, HeadersFollowTheFirstItemsKind) {
    XYStackObject xy(2, false);
    HistogramStackObject hist(2);
    ProbabilityStackObject prob(2);
    MagDurStackObject magdur(2);
    const std::vector<std::pair<const StackObject*, std::vector<std::string>>> cases{
        {&xy, {"X", "Y"}},
        {&hist, {"Bin Midpoint", "Probability (%)"}},
        {&prob, {"Value", "Probability (%)"}},
        {&magdur, {"Duration (s)", "Magnitude (%)"}}};
    for (const auto& [item, names] : cases) {
        const auto t = Build(TableType::FreqPoints, {item});
        EXPECT_EQ(t->grid(0).headers[0][2], names[0]);
        EXPECT_EQ(t->grid(0).headers[0][3], names[1]);
        EXPECT_EQ(t->grid(0).rows, 2u);
    }
}

TEST(TablesPoints, LargeWaveformsKeepFullPrecisionAndAreNotExpandedUpFront) {
    // 2 M samples at 1 MHz: neighbouring times near 1.9 s differ in the 7th digit.
    constexpr std::size_t n = 2'000'000;
    std::vector<float> x(n), y(n, 1.0f);
    for (std::size_t i = 0; i < n; ++i) x[i] = static_cast<float>(static_cast<double>(i) * 1e-6);
    auto w = Wave(x, y);
    w->axisUnits[kAxisX] = UnitRecord{};  // seconds
    w->UpdateScales();
    const auto t = Build(TableType::TimePoints, {w.get()});
    ASSERT_EQ(t->grid(0).rows, n);
    const std::string a = t->Cell(0, n - 2, 2).text, b = t->Cell(0, n - 1, 2).text;
    EXPECT_NE(a, b);
    EXPECT_FLOAT_EQ(std::stof(b), x[n - 1]);
    EXPECT_EQ(std::stof(b), x[n - 1]);  // reads back as the stored sample
}

TEST(TablesPoints, DisplayedValuesKeepTheDigitsOfTheStoredSamples) {
    // Times in s shown in ms: 0.1 ms reads 0.1 (0.0001f x 1000 is
    // 0.099999997 in binary), samples 1 us apart near 12 s stay distinct, and
    // values in V shown in kV read as typed.
    auto w =
        Wave({0.0001f, 0.0002f, 12.000001f, 12.000002f}, {1100, 2200, 3300, 4400}, kUnitVoltage);
    w->axisUnits[kAxisY].code = kPrefixKilo;
    w->axisUnits[kAxisY].prefix = "k";
    w->axisUnits[kAxisY].multiplier = 1000.0;
    w->UpdateScales();
    const auto t = Build(TableType::TimePoints, {w.get()});
    EXPECT_EQ(t->Cell(0, 0, 2).text, "0.1");
    EXPECT_EQ(t->Cell(0, 1, 2).text, "0.2");
    EXPECT_EQ(t->Cell(0, 2, 2).text, "12000.001");
    EXPECT_EQ(t->Cell(0, 3, 2).text, "12000.002");
    EXPECT_EQ(t->Cell(0, 0, 3).text, "1.1");
    EXPECT_EQ(t->Cell(0, 3, 3).text, "4.4");
}

// ---------------------------------------------------------------------------
// Writing the text export.

TEST(TablesText, WriteTextCreatesTheFileAnewAndReportsFailure) {
    test::TempDir dir;
    auto w = Wave({0, 1}, {1, 3});
    const auto t = Build(TableType::MinMax, {w.get()});
    const auto path = dir / "t.txt";
    test::WriteFile(path, std::string(1000, 'x'));
    ASSERT_TRUE(t->WriteText(path.string(), ','));
    EXPECT_EQ(test::ReadFile(path), t->Text(','));
    EXPECT_FALSE(t->WriteText((dir / "missing" / "t.txt").string(), ','));
    EXPECT_FALSE(std::filesystem::exists(dir / "missing"));
    EXPECT_FALSE(t->WriteText(dir.path().string(), ','));  // a folder
}

TEST(TablesText, AFileThatCannotBeWrittenWholeIsRemoved) {
    test::TempDir dir;
    std::vector<float> x(10000), y(10000, 1.0f);
    for (std::size_t i = 0; i < x.size(); ++i) x[i] = static_cast<float>(i);
    auto w = Wave(x, y);
    const auto t = Build(TableType::TimePoints, {w.get()});
    // Files may grow to 1000 bytes only (as on a full disk, the writes fail).
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit old{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
    rlimit small = old;
    small.rlim_cur = 1000;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    const bool written = t->WriteText((dir / "t.txt").string(), '\t');
    setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);
    EXPECT_FALSE(written);
    EXPECT_FALSE(std::filesystem::exists(dir / "t.txt"));
    // A device that fails every write is reported and never removed.
    if (std::filesystem::exists("/dev/full")) {
        EXPECT_FALSE(t->WriteText("/dev/full", '\t'));
        EXPECT_TRUE(std::filesystem::exists("/dev/full"));
    }
}

TEST(TablesText, TypeNamesInListOrder) {
    EXPECT_STREQ(TableTypeName(TableType::MinMax), "Curve Minimum and Maximum");
    EXPECT_STREQ(TableTypeName(TableType::Switching), "Magnitude vs Switch Operation");
    EXPECT_STREQ(TableTypeName(TableType::Ieee519), "IEEE 519 Current Limits");
}

}  // namespace
}  // namespace kov
