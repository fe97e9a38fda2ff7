#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "pqdif/PqdifIdentifiers.h"
#include "pqdif/PqdifTags.h"
#include "support/TestSupport.h"

namespace kov::pqdif {
namespace {

TEST(PqdifTags, HoldsAtLeastTheStandardTables) {
    // 137 tags, 351 GUID identifiers and 166 integer identifiers are the minimum;
    // later additions of the standard come on top.
    EXPECT_GE(TagNameCount(), 137u);
    EXPECT_GE(IdNameCount(), 351u);
    EXPECT_GE(IntIdNameCount(), 166u);
}

TEST(PqdifTags, EveryEntryIsFoundByItsOwnKey) {
    // Checks that sorting and searching agree on the byte order of GUIDs for
    // every entry; aliases (two names for one key) give the first listed name.
    for (std::size_t i = 0; i < detail::kTagEntryCount; ++i) {
        const auto& e = detail::kTagEntries[i];
        EXPECT_STREQ(GetTagName(e.tag), e.name) << GuidToString(e.tag);
    }
    for (std::size_t i = 0; i < detail::kIdEntryCount; ++i) {
        const auto& e = detail::kIdEntries[i];
        const char* found = GetIdName(e.id);
        ASSERT_STRNE(found, kUnrecognized) << e.name;
        if (std::strcmp(found, e.name) != 0) {
            bool earlierAlias = false;
            for (std::size_t j = 0; j < i; ++j)
                earlierAlias |= detail::kIdEntries[j].id == e.id &&
                                std::strcmp(detail::kIdEntries[j].name, found) == 0;
            EXPECT_TRUE(earlierAlias) << e.name << " found as " << found;
        }
    }
    for (std::size_t i = 0; i < detail::kIntIdEntryCount; ++i) {
        const auto& e = detail::kIntIdEntries[i];
        EXPECT_STRNE(GetIntIdName(e.owner, e.value), kUnrecognized) << e.name;
    }
}

TEST(PqdifTags, CheckedInTableMatchesTheIdentifierList) {
    // The list the table is generated from sits beside the sample folder.
    const auto csv = test::TestDataDir().empty()
                         ? std::filesystem::path()
                         : test::TestDataDir().parent_path() / "pqdif-identifiers.csv";
    if (csv.empty() || !std::filesystem::exists(csv))
        GTEST_SKIP() << "identifier list not found; table check skipped";
    std::ifstream in(csv);
    std::string line;
    std::getline(in, line);  // column names
    int rows = 0;
    while (std::getline(in, line)) {
        std::vector<std::string> f;
        std::stringstream ss(line);
        for (std::string cell; std::getline(ss, cell, ',');) f.push_back(cell);
        f.resize(5);
        const std::string& table = f[0];
        const std::string& name = f[1];
        ++rows;
        if (table == "signature") continue;
        if (table == "tag") {
            const auto g = ParseGuid(f[2]);
            ASSERT_TRUE(g) << line;
            EXPECT_STREQ(GetTagName(*g), name == "tagBlank" ? "< Blank >" : name.c_str());
        } else if (!f[2].empty()) {
            const auto g = ParseGuid(f[2]);
            ASSERT_TRUE(g) << line;
            EXPECT_STRNE(GetIdName(*g), kUnrecognized) << line;
        } else {
            const auto owner = [&]() -> Guid {
                for (std::size_t i = 0; i < detail::kTagEntryCount; ++i)
                    if (f[3] == detail::kTagEntries[i].name) return detail::kTagEntries[i].tag;
                return Guid{};
            }();
            ASSERT_FALSE(owner.IsNull()) << line;
            EXPECT_STRNE(GetIntIdName(owner, std::stoi(f[4])), kUnrecognized) << line;
        }
    }
    EXPECT_EQ(static_cast<std::size_t>(rows),
              1 + detail::kTagEntryCount + detail::kIdEntryCount + detail::kIntIdEntryCount);
}

TEST(PqdifTags, IntegerIdentifiersAreScopedByTheirTag) {
    EXPECT_STREQ(GetIntIdName(tagPhaseID, 1), "ID_PHASE_AN");
    EXPECT_STREQ(GetIntIdName(tagQuantityUnitsID, 1), "ID_QU_TIMESTAMP");
    EXPECT_STREQ(GetIntIdName(tagPhaseID, 10), kUnrecognized);  // 10..12 are not defined
    EXPECT_STREQ(GetIntIdName(tagPhaseID, 13), "ID_PHASE_TOTAL");
    EXPECT_STREQ(GetIntIdName(tagCompressionAlgorithmID, 64), "ID_COMP_ALG_PKZIPCL");
    EXPECT_STREQ(GetIntIdName(tagStorageMethodID, 4), "ID_SERIES_METHOD_INCREMENT");
    // Two names for unit 16: the first listed one is shown.
    EXPECT_STREQ(GetIntIdName(tagQuantityUnitsID, 16), "ID_QU_CELCIUS");
    EXPECT_STREQ(GetIntIdName(tagPhaseID, -1), kUnrecognized);
}

TEST(PqdifTags, GuidIdentifiersAndTagsByName) {
    EXPECT_STREQ(GetIdName(ID_QT_WAVEFORM), "ID_QT_WAVEFORM");
    EXPECT_STREQ(GetIdName(ID_VENDOR_MARVANE), "ID_VENDOR_MARVANE");
    EXPECT_STREQ(GetIdName(ID_EQUIP_MRV_KOV), "ID_EQUIP_MRV_KOV");
    EXPECT_STREQ(GetTagName(tagBlank), "< Blank >");
    EXPECT_STREQ(GetTagName(tagContainer), "tagContainer");
    EXPECT_STREQ(GetTagName(tagSeriesValues), "tagSeriesValues");
    // A private tag and a GUID with garbage after a valid first field.
    EXPECT_STREQ(GetTagName(*ParseGuid("{12345678-9ABC-DEF0-1234-56789ABCDEF0}")), kUnrecognized);
    EXPECT_STREQ(GetIdName(*ParseGuid("{C690E862-001B-0000-1F00-0000C72E70A3}")), kUnrecognized);
    EXPECT_STREQ(GetIdName(Guid{}), kUnrecognized);
}

TEST(PqdifTags, GuidsReadInTheWindowsLayout) {
    // The text form of the characteristics the reader tests.
    EXPECT_EQ(GuidToString(ID_QC_FREQUENCY), "{07EF68AF-9FF5-11D2-B30B-006008B37183}");
    EXPECT_EQ(GuidToString(ID_QC_RMS), "{A6B31AE5-B451-11D1-AE17-0060083A2628}");
    EXPECT_EQ(GuidToString(ID_QC_SPECTRA), "{A6B31AE9-B451-11D1-AE17-0060083A2628}");
    // First field little-endian in memory.
    EXPECT_EQ(tagContainer.bytes[0], 0x06);
    EXPECT_EQ(tagContainer.bytes[3], 0x89);
    EXPECT_EQ(tagContainer.bytes[4], 0xC3);
    EXPECT_EQ(tagContainer.bytes[8], 0x9D);

    const auto parsed = ParseGuid("89738606-f1c3-11cf-9d89-0080c72e70a3");
    ASSERT_TRUE(parsed);
    EXPECT_EQ(*parsed, tagContainer);
    EXPECT_FALSE(ParseGuid("{89738606-F1C3-11CF-9D89-0080C72E70A}"));
    EXPECT_FALSE(ParseGuid("{89738606-F1C3-11CF+9D89-0080C72E70A3}"));
    EXPECT_FALSE(ParseGuid("{89738606-F1C3-11CF-9D89-0080C72E70AZ}"));
    EXPECT_FALSE(ParseGuid(""));
}

TEST(PqdifTags, PrefixStripping) {
    EXPECT_EQ(StripIdPrefix("ID_QT_WAVEFORM"), "WAVEFORM");
    EXPECT_EQ(StripIdPrefix("ID_SERIES_VALUE_TYPE_MAX"), "MAX");
    EXPECT_EQ(StripIdPrefix("ID_DISTURB_1159_LONGDUR_SAG"), "LONGDUR_SAG");
    EXPECT_EQ(StripIdPrefix("ID_EQUIP_MRV_KOV"), "MRV_KOV");
    EXPECT_EQ(StripIdPrefix("ID_GREEK_KILO"), "ID_GREEK_KILO");
    EXPECT_EQ(StripIdPrefix(kUnrecognized), kUnrecognized);
}

TEST(PqdifTags, PhysicalTypeNames) {
    EXPECT_STREQ(GetPhysicalTypeName(41), "ID_PHYS_TYPE_REAL8");
    EXPECT_STREQ(GetPhysicalTypeName(60), "ID_PHYS_TYPE_GUID");
    EXPECT_STREQ(GetPhysicalTypeName(5), kUnrecognized);
    EXPECT_EQ(detail::kPhysTypeEntryCount, 17u);
}

}  // namespace
}  // namespace kov::pqdif
