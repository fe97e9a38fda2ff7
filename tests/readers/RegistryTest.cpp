// The format registry, its filter list and the choice of reader.

#include <gtest/gtest.h>

#include <cstdio>

#include "readers/FileTypeRegistry.h"
#include "readers/ReaderFactory.h"
#include "support/TestSupport.h"

namespace kov {
namespace {

TEST(FileTypeRegistry, FifteenEntriesInFilterOrder) {
    const FileTypeRegistry registry;
    ASSERT_EQ(registry.entries().size(), 15u);
    std::vector<std::uint32_t> ids;
    for (const auto& e : registry.entries()) ids.push_back(e.typeId);
    EXPECT_EQ(ids, (std::vector<std::uint32_t>{1000, 1011, 2013, 1004, 2011, 1008, 1003, 1006, 2012,
                                               1007, 1012, 1001, 1005, 1013, 1002}));
    const auto filters = registry.FilterList();
    ASSERT_GE(filters.size(), 20u);
    EXPECT_EQ(filters[0].label, "ASCII Text");
    EXPECT_TRUE(filters[0].viewAsText);
    EXPECT_EQ(filters[4].pattern, "*.SOS");
    EXPECT_EQ(filters[4].subtypeId, 2007u);
    EXPECT_EQ(filters[11].label, "Harmflo Text Output");
    EXPECT_EQ(filters.back().label, "VHarm Output");
    EXPECT_EQ(registry.FindFilterIndex(1004, 2007), 4u);
    EXPECT_EQ(registry.FindFilterIndex(1004, 99), FileTypeRegistry::kNotFound);
    EXPECT_EQ(registry.FindEntry(4242), FileTypeRegistry::kNotFound);
    EXPECT_TRUE(registry.ViewAsText(1003, 2004));
    EXPECT_FALSE(registry.ViewAsText(1003, 2001));
    EXPECT_FALSE(registry.ViewAsText(4242, 1));
    for (const auto& f : filters) EXPECT_LE(f.pattern.size(), 7u) << f.pattern;
    for (const auto& f : filters) EXPECT_LE(f.label.size(), 31u) << f.label;
}

TEST(FileTypeRegistry, FilterStringIsDoubleNulSeparated) {
    const std::string s = FileTypeRegistry().FilterString();
    const std::string head("ASCII Text\0*.*\0Dranetz 65x\0*.drz\0", 33);
    EXPECT_EQ(s.substr(0, head.size()), head);
    EXPECT_EQ(s.substr(s.size() - 2), std::string("\0\0", 2));
}

TEST(FileTypeRegistry, ExtensionMatchingIgnoresCaseAndTakesTheFirstPattern) {
    const FileTypeRegistry registry;
    const auto filters = registry.FilterList();
    auto typeOf = [&](const char* path) {
        const std::size_t i = registry.MatchExtension(path);
        return i == FileTypeRegistry::kNotFound ? 0u : filters[i].typeId;
    };
    EXPECT_EQ(typeOf("/x/fault.CFG"), 1006u);
    EXPECT_EQ(typeOf("run.pl4"), 1004u);
    EXPECT_EQ(typeOf("a.b/run.Dat"), 1012u);
    EXPECT_EQ(typeOf("macro.km"), 1013u);
    EXPECT_EQ(typeOf("noext"), 0u);
    EXPECT_EQ(typeOf("x.xyz"), 0u);
    // "*.*" has no extension of its own to match.
    EXPECT_EQ(typeOf("x."), 0u);
}

class Pl4Sniff : public ::testing::Test {
protected:
    ReaderSelection Sniff(const std::string& bytes) {
        const auto path = dir_ / "f.pl4";
        test::WriteFile(path, bytes);
        std::FILE* f = std::fopen(path.c_str(), "rb");
        const ReaderSelection s = SelectReader(1004, 2005, f);
        EXPECT_EQ(std::ftell(f), 0);  // the file is left at its start
        std::fclose(f);
        return s;
    }
    test::TempDir dir_;
};

TEST_F(Pl4Sniff, TellsTheVariantsApartByContent) {
    auto s = Sniff("K" + std::string(20, 'x'));
    EXPECT_EQ(s.readerClass, ReaderClass::EpriPl4);
    EXPECT_EQ(s.variant, 101);
    s = Sniff(std::string(1, '\xFC') + std::string(20, ' '));
    EXPECT_EQ(s.readerClass, ReaderClass::None);
    EXPECT_EQ(s.status, 2);
    s = Sniff("012345678  rest");
    EXPECT_EQ(s.readerClass, ReaderClass::AtpPl4);
    EXPECT_EQ(s.variant, 103);
    s = Sniff("012345678 xrest");
    EXPECT_EQ(s.readerClass, ReaderClass::EpriPl4);
    EXPECT_EQ(s.variant, 100);
    s = Sniff("short");
    EXPECT_EQ(s.readerClass, ReaderClass::EpriPl4);
    EXPECT_EQ(s.variant, 100);
}

TEST(SelectReader, DispatchByTypeAndSubtype) {
    EXPECT_EQ(SelectReader(1006, 1, nullptr).readerClass, ReaderClass::Comtrade);
    EXPECT_EQ(SelectReader(2011, 1, nullptr).readerClass, ReaderClass::Quillon);
    EXPECT_EQ(SelectReader(1005, 1, nullptr).readerClass, ReaderClass::Quillon);
    EXPECT_EQ(SelectReader(1003, 2002, nullptr).readerClass, ReaderClass::HarmfloSpec);
    EXPECT_EQ(SelectReader(1004, 2007, nullptr).readerClass, ReaderClass::Statistic);
    EXPECT_EQ(SelectReader(1008, 2010, nullptr).readerClass, ReaderClass::FlukeCurve);
    EXPECT_EQ(SelectReader(2012, 1, nullptr).readerClass, ReaderClass::Pqdif);
    // Not read, nothing reported.
    for (auto [type, sub] : {std::pair{1003u, 2003u}, {1003u, 2004u}, {1013u, 1u}}) {
        const auto s = SelectReader(type, sub, nullptr);
        EXPECT_EQ(s.readerClass, ReaderClass::None);
        EXPECT_EQ(s.status, 0);
    }
    // Unknown types and subtypes: wrong type.
    for (auto [type, sub] :
         {std::pair{1000u, 1u}, {1003u, 7u}, {1008u, 1u}, {1004u, 9u}, {9u, 1u}}) {
        const auto s = SelectReader(type, sub, nullptr);
        EXPECT_EQ(s.readerClass, ReaderClass::None);
        EXPECT_EQ(s.status, 2) << type << ":" << sub;
    }
}

}  // namespace
}  // namespace kov
