// Near-standard records as real recorders write them: one fixture per quirk,
// named after it, each built by the test.

#include <gtest/gtest.h>

#include "readers/comtrade/ComtradeTestSupport.h"
#include "readers/comtrade/ComtradeText.h"

namespace kov {
namespace {

using test::BinaryRecords;
using test::LoadComtrade;
using test::TempDir;
using test::WriteFile;

// Two analog channels and one digital channel, 1000 Hz, three samples.
std::string BaseCfg() {
    return "SUB,7,1999\n"
           "3,2A,1D\n"
           "1,Va,A,,kV,1,0,0,-32767,32767,1,1,P\n"
           "2,Vb,B,,kV,1,0,0,-32767,32767,1,1,P\n"
           "1,Trip,,,0\n"
           "50\n"
           "1\n"
           "1000,3\n"
           "01/01/2021,12:00:00.000000\n"
           "01/01/2021,12:00:00.000000\n"
           "ASCII\n"
           "1\n";
}

const char* const kBaseDat = "1,0,1,2,0\n2,1000,3,4,1\n3,2000,5,6,0\n";

// Loads cfg + dat from a fresh folder and checks the three standard samples.
void ExpectBaseValues(const std::string& cfg, const std::string& dat,
                      const std::string& name = "q") {
    TempDir dir;
    WriteFile(dir / (name + ".cfg"), cfg);
    WriteFile(dir / (name + ".dat"), dat);
    auto load = LoadComtrade(dir / (name + ".cfg"));
    ASSERT_TRUE(load->headerOk);
    ASSERT_TRUE(load->loaded);
    EXPECT_TRUE(load->ui.messages.empty()) << load->ui.LastText();
    ASSERT_EQ(load->stack.size(), 3u);
    EXPECT_EQ(load->Y(0), (std::vector<float>{1, 3, 5}));
    EXPECT_EQ(load->Y(1), (std::vector<float>{2, 4, 6}));
    EXPECT_EQ(load->Y(2), (std::vector<float>{0, 1, 0}));
    const auto x = load->X(0);
    ASSERT_EQ(x.size(), 3u);
    EXPECT_NEAR(x[2], 0.002, 1e-7);
}

TEST(ComtradeQuirks, cfg_ctrl_z_padding) {
    ExpectBaseValues(BaseCfg() + std::string(40, '\x1A'), kBaseDat);
    // Padding right after the last field, without a line end.
    std::string cfg = BaseCfg();
    cfg.pop_back();
    ExpectBaseValues(cfg + "\x1A\x1A\x1A", kBaseDat);
}

TEST(ComtradeQuirks, cfg_nul_padding) {
    ExpectBaseValues(BaseCfg() + std::string(512, '\0'), kBaseDat);
}

TEST(ComtradeQuirks, dat_ctrl_z_padding) {
    ExpectBaseValues(BaseCfg(), std::string(kBaseDat) + "\x1A\x1A");
}

TEST(ComtradeQuirks, cfg_empty_skew_min_max) {
    std::string cfg = BaseCfg();
    cfg.replace(cfg.find("1,Va,A,,kV,1,0,0,-32767,32767"), 29, "1,Va,A,,kV,1,0,,,");
    ExpectBaseValues(cfg, kBaseDat);
}

TEST(ComtradeQuirks, cfg_floats_where_integers_belong) {
    std::string cfg = BaseCfg();
    cfg.replace(cfg.find("3,2A,1D"), 7, "3.0,2.0A,1.0D");
    cfg.replace(cfg.find("\n1\n1000,3"), 9, "\n1.0\n1000.000000,3.000000");
    cfg.replace(cfg.find("1,Va"), 4, "1.0,Va");
    ExpectBaseValues(cfg, kBaseDat);
}

TEST(ComtradeQuirks, dat_floats_where_integers_belong) {
    ExpectBaseValues(BaseCfg(), "1,0.0,1.0,2,0\n2,1000.0,3,4.0e0,1\n3,2000,5.0,6,0.0\n");
}

TEST(ComtradeQuirks, cfg_timestamps_without_decimal_point) {
    std::string cfg = BaseCfg();
    cfg.replace(cfg.find("12:00:00.000000"), 15, "12:00:00");
    TempDir dir;
    WriteFile(dir / "q.cfg", cfg);
    auto reader = test::OpenComtrade(dir / "q.cfg");
    EXPECT_EQ(reader->StartTimeText(), "01/01/2021 12:00:00");
    ExpectBaseValues(cfg, kBaseDat);
}

TEST(ComtradeQuirks, cfg_missing_stamp_fields) {
    std::string cfg = BaseCfg();
    cfg.replace(cfg.find("01/01/2021,12:00:00.000000"), 26, "");
    TempDir dir;
    WriteFile(dir / "q.cfg", cfg);
    auto reader = test::OpenComtrade(dir / "q.cfg");
    ASSERT_TRUE(reader->usable());
    EXPECT_EQ(reader->StartTimeText(), "Invalid Date Invalid Time");
    EXPECT_EQ(reader->TriggerTimeText(), "01/01/2021 12:00:00.000000");
    cfg = BaseCfg();
    cfg.replace(cfg.find("01/01/2021,12:00:00.000000"), 26, ",");
    WriteFile(dir / "q.cfg", cfg);
    reader = test::OpenComtrade(dir / "q.cfg");
    EXPECT_EQ(reader->StartTimeText(), " ");
    cfg = BaseCfg();
    cfg.replace(cfg.find("01/01/2021,12:00:00.000000"), 26, "01/01/2021");
    WriteFile(dir / "q.cfg", cfg);
    reader = test::OpenComtrade(dir / "q.cfg");
    EXPECT_EQ(reader->StartTimeText(), "01/01/2021 Invalid Time");
}

std::string BinaryBase() {
    BinaryRecords r;
    const int v[3][3] = {{1, 2, 0}, {3, 4, 1}, {5, 6, 0}};
    for (std::uint32_t k = 0; k < 3; ++k) {
        r.U32(k + 1), r.U32(k * 1000);
        r.I16(static_cast<std::int16_t>(v[k][0])), r.I16(static_cast<std::int16_t>(v[k][1]));
        r.U16(static_cast<std::uint16_t>(v[k][2]));
    }
    return r.bytes();
}

std::string BinaryCfg() {
    std::string cfg = BaseCfg();
    return cfg.replace(cfg.find("ASCII"), 5, "BINARY");
}

TEST(ComtradeQuirks, dat_extra_bytes_at_end) {
    ExpectBaseValues(BinaryCfg(), BinaryBase() + "\x1A\x1A\x1A\x1A\x1A\x1A\x1A\x1A");
    ExpectBaseValues(BinaryCfg(), BinaryBase() + "xyz");
}

TEST(ComtradeQuirks, dat_more_samples_than_endsamp) {
    ExpectBaseValues(BaseCfg(), std::string(kBaseDat) + "4,3000,7,8,1\n5,4000,9,9,1\n");
    BinaryRecords more;
    more.U32(4), more.U32(3000), more.I16(7), more.I16(8), more.U16(1);
    ExpectBaseValues(BinaryCfg(), BinaryBase() + more.bytes());
}

TEST(ComtradeQuirks, cfg_only_digital_channels) {
    TempDir dir;
    WriteFile(dir / "d.cfg",
              "SUB,7,1999\n2,0A,2D\n1,Breaker,,,0\n2,Trip,,,1\n60\n1\n1000,2\n"
              "01/01/2021,12:00:00\n01/01/2021,12:00:00\nBINARY\n1\n");
    BinaryRecords r;
    r.U32(1), r.U32(0), r.U16(0b01);
    r.U32(2), r.U32(1000), r.U16(0b10);
    WriteFile(dir / "d.dat", r.bytes());
    auto load = LoadComtrade(dir / "d.cfg");
    ASSERT_TRUE(load->loaded);
    ASSERT_EQ(load->stack.size(), 2u);
    EXPECT_EQ(load->Y(0), (std::vector<float>{1, 0}));
    EXPECT_EQ(load->Y(1), (std::vector<float>{0, 1}));
    EXPECT_EQ(load->reader->config().channels[1].normalState, 1);
}

TEST(ComtradeQuirks, mixed_line_ends) {
    std::string cfg = BaseCfg();
    // CR LF, CR and LF line ends in one file.
    std::string mixed;
    int n = 0;
    for (char c : cfg) {
        if (c != '\n') {
            mixed += c;
            continue;
        }
        mixed += (n % 3 == 0) ? "\r\n" : (n % 3 == 1) ? "\r" : "\n";
        ++n;
    }
    ExpectBaseValues(mixed, "1,0,1,2,0\r2,1000,3,4,1\r\n3,2000,5,6,0\n");
}

TEST(ComtradeQuirks, dat_only_cr_line_ends) {
    ExpectBaseValues(BaseCfg(), "1,0,1,2,0\r2,1000,3,4,1\r3,2000,5,6,0\r");
}

TEST(ComtradeQuirks, dat_blank_lines_between_rows) {
    ExpectBaseValues(BaseCfg(), "1,0,1,2,0\n\n2,1000,3,4,1\r\n\r\n3,2000,5,6,0\n\n");
}

TEST(ComtradeQuirks, dat_last_line_without_line_end) {
    std::string dat = kBaseDat;
    dat.pop_back();
    ExpectBaseValues(BaseCfg(), dat);
}

TEST(ComtradeQuirks, dat_last_line_cut_short) {
    TempDir dir;
    WriteFile(dir / "q.cfg", BaseCfg());
    WriteFile(dir / "q.dat", "1,0,1,2,0\n2,1000,3,4,1\n3,2000,5");
    auto load = LoadComtrade(dir / "q.cfg");
    ASSERT_TRUE(load->loaded);
    // The cut row is not a sample; the load asks question 2037.
    EXPECT_EQ(load->Item(0).pointCount(), 2u);
    EXPECT_EQ(load->ui.messages.size(), 1u);
}

TEST(ComtradeQuirks, dat_row_with_missing_values) {
    TempDir dir;
    WriteFile(dir / "q.cfg", BaseCfg());
    WriteFile(dir / "q.dat", "1,0,1\n2,1000,3,,1\n3,2000,5,6,0\n");
    auto load = LoadComtrade(dir / "q.cfg");
    ASSERT_TRUE(load->loaded);
    EXPECT_EQ(load->Y(1), (std::vector<float>{0, 0, 6}));
    EXPECT_EQ(load->Y(2), (std::vector<float>{0, 1, 0}));
}

TEST(ComtradeQuirks, cfg_blanks_after_commas) {
    std::string cfg = BaseCfg();
    cfg.replace(cfg.find("1,Va,A,,kV,1,0,0"), 16, "1, Va, A, , kV, 1, 0, 0");
    TempDir dir;
    WriteFile(dir / "q.cfg", cfg);
    WriteFile(dir / "q.dat", kBaseDat);
    auto load = LoadComtrade(dir / "q.cfg");
    ASSERT_TRUE(load->loaded);
    EXPECT_EQ(load->Item(0).namePart1(), "1_A");
    EXPECT_EQ(load->Item(0).namePart2(), "Va");
    EXPECT_EQ(load->Y(0), (std::vector<float>{1, 3, 5}));
}

TEST(ComtradeQuirks, cfg_lower_case_side_flag_and_empty_ratios) {
    std::string cfg = BaseCfg();
    cfg.replace(cfg.find("-32767,32767,1,1,P"), 18, "-32767,32767,,,s");
    ComtradeConfig c;
    ASSERT_TRUE(ParseComtradeConfigText(cfg, c));
    EXPECT_EQ(c.channels[0].side, 'S');
    EXPECT_EQ(c.channels[0].primary, 1.0);
    EXPECT_EQ(c.channels[0].secondary, 1.0);
}

TEST(ComtradeQuirks, cfg_windows1252_names) {
    std::string cfg = BaseCfg();
    cfg.replace(cfg.find("SUB,7"), 5, "Subesta\xE7\xE3o \x80,7");
    cfg.replace(cfg.find("Va,A"), 2, "Tens\xE3o");
    TempDir dir;
    WriteFile(dir / "q.cfg", cfg);
    WriteFile(dir / "q.dat", kBaseDat);
    auto load = LoadComtrade(dir / "q.cfg");
    ASSERT_TRUE(load->loaded);
    EXPECT_EQ(load->reader->StationText(), "Subesta\xC3\xA7\xC3\xA3o \xE2\x82\xAC, 7");
    EXPECT_EQ(load->Item(0).namePart2(), "Tens\xC3\xA3o");
    EXPECT_EQ(load->Item(0).notes[0], "Subesta\xC3\xA7\xC3\xA3o \xE2\x82\xAC");
}

TEST(ComtradeQuirks, cfg_utf8_names) {
    std::string cfg = BaseCfg();
    cfg.replace(cfg.find("Va,A"), 2, "\xED\x95\x9C\xEA\xB8\x80");  // Hangul
    TempDir dir;
    WriteFile(dir / "q.cfg", cfg);
    WriteFile(dir / "q.dat", kBaseDat);
    auto load = LoadComtrade(dir / "q.cfg");
    ASSERT_TRUE(load->loaded);
    EXPECT_EQ(load->Item(0).namePart2(), "\xED\x95\x9C\xEA\xB8\x80");
}

TEST(ComtradeQuirks, cfg_cp1251_names_with_encoding_option) {
    std::string cfg = BaseCfg();
    cfg.replace(cfg.find("Va,A"), 2, "\xD4\xE0\xE7\xE0");  // "Фаза" in CP1251
    TempDir dir;
    WriteFile(dir / "q.cfg", cfg);
    WriteFile(dir / "q.dat", kBaseDat);
    if (!comtrade::IsKnownEncoding("CP1251")) GTEST_SKIP() << "iconv has no CP1251";
    auto load = LoadComtrade(dir / "q.cfg", {0}, {{"encoding", "CP1251"}});
    ASSERT_TRUE(load->loaded);
    EXPECT_EQ(load->Item(0).namePart2(), "\xD0\xA4\xD0\xB0\xD0\xB7\xD0\xB0");
    EXPECT_EQ(load->reader->Catalogue()[0].line, "1 A \xD0\xA4\xD0\xB0\xD0\xB7\xD0\xB0");
}

TEST(ComtradeQuirks, cfg_gbk_names_with_encoding_option) {
    std::string cfg = BaseCfg();
    cfg.replace(cfg.find("Va,A"), 2, "\xC4\xB8\xCF\xDF");  // "母线" in GBK
    TempDir dir;
    WriteFile(dir / "q.cfg", cfg);
    if (!comtrade::IsKnownEncoding("GBK")) GTEST_SKIP() << "iconv has no GBK";
    auto reader = test::OpenComtrade(dir / "q.cfg");
    ASSERT_TRUE(reader->SetEncoding("GBK"));
    EXPECT_EQ(reader->ChannelIdentity(0).nameParts[1], "\xE6\xAF\x8D\xE7\xBA\xBF");
}

TEST(ComtradeQuirks, cfg_long_lines_and_long_names) {
    std::string cfg = BaseCfg();
    const std::string longId(300, 'n');
    cfg.replace(cfg.find("Va,A"), 2, longId);
    TempDir dir;
    WriteFile(dir / "q.cfg", cfg);
    WriteFile(dir / "q.dat", kBaseDat);
    auto load = LoadComtrade(dir / "q.cfg");
    ASSERT_TRUE(load->loaded);
    // The whole line is read (the units after the long id are right); the
    // name part keeps at most 63 bytes, as the stack key does.
    EXPECT_EQ(load->reader->config().channels[0].units, "kV");
    EXPECT_EQ(load->reader->ChannelIdentity(0).nameParts[1], std::string(63, 'n'));
}

TEST(ComtradeQuirks, cfg_utf8_byte_order_mark) {
    ExpectBaseValues("\xEF\xBB\xBF" + BaseCfg(), kBaseDat);
}

TEST(ComtradeQuirks, cfg_2013_lines_after_the_time_multiplier) {
    ExpectBaseValues(BaseCfg() + "-5h30,-5h30\nB,3\n", kBaseDat);
}

TEST(ComtradeQuirks, cfg_dots_in_the_file_name) {
    ExpectBaseValues(BaseCfg(), kBaseDat, "Record.cfg.comtrade.1991");
    TempDir dir;
    WriteFile(dir / "a.b.cfg", BaseCfg());
    auto reader = test::OpenComtrade(dir / "a.b.cfg");
    EXPECT_EQ(reader->ChannelIdentity(0).caseName, "a.b");
}

TEST(ComtradeQuirks, dat_sample_numbers_from_zero) {
    ExpectBaseValues(BaseCfg(), "0,0,1,2,0\n1,1000,3,4,1\n2,2000,5,6,0\n");
}

}  // namespace
}  // namespace kov
