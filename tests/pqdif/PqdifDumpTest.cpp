#include <gtest/gtest.h>

#include <cctype>
#include <sstream>
#include <string>

#include "PqdifTestFiles.h"
#include "pqdif/PqdifDump.h"
#include "support/TestSupport.h"

namespace kov::pqdif {
namespace {

// A strict JSON syntax check (RFC 8259 grammar, no extensions).
class JsonChecker {
public:
    explicit JsonChecker(const std::string& t) : t_(t) {}
    bool Valid() {
        Ws();
        if (!Value()) return false;
        Ws();
        return i_ == t_.size();
    }

private:
    const std::string& t_;
    std::size_t i_ = 0;
    void Ws() {
        while (i_ < t_.size() && std::isspace(static_cast<unsigned char>(t_[i_]))) ++i_;
    }
    bool Eat(char c) {
        Ws();
        if (i_ < t_.size() && t_[i_] == c) {
            ++i_;
            return true;
        }
        return false;
    }
    bool Literal(const char* word) {
        const std::string w(word);
        if (t_.compare(i_, w.size(), w) != 0) return false;
        i_ += w.size();
        return true;
    }
    bool String() {
        if (!Eat('"')) return false;
        while (i_ < t_.size() && t_[i_] != '"') {
            const auto c = static_cast<unsigned char>(t_[i_]);
            if (c < 0x20) return false;
            if (c == '\\') {
                ++i_;
                if (i_ >= t_.size()) return false;
                if (t_[i_] == 'u') {
                    for (int k = 1; k <= 4; ++k)
                        if (i_ + k >= t_.size() ||
                            !std::isxdigit(static_cast<unsigned char>(t_[i_ + k])))
                            return false;
                    i_ += 4;
                } else if (std::string("\"\\/bfnrt").find(t_[i_]) == std::string::npos) {
                    return false;
                }
            }
            ++i_;
        }
        return Eat('"');
    }
    bool Number() {
        const std::size_t start = i_;
        if (i_ < t_.size() && t_[i_] == '-') ++i_;
        while (i_ < t_.size() &&
               (std::isdigit(static_cast<unsigned char>(t_[i_])) || t_[i_] == '.' ||
                t_[i_] == 'e' || t_[i_] == 'E' || t_[i_] == '+' || t_[i_] == '-'))
            ++i_;
        return i_ > start && std::isdigit(static_cast<unsigned char>(t_[i_ - 1]));
    }
    bool Value() {
        Ws();
        if (i_ >= t_.size()) return false;
        const char c = t_[i_];
        if (c == '{') {
            ++i_;
            if (Eat('}')) return true;
            do {
                Ws();
                if (!String() || !Eat(':') || !Value()) return false;
            } while (Eat(','));
            return Eat('}');
        }
        if (c == '[') {
            ++i_;
            if (Eat(']')) return true;
            do {
                if (!Value()) return false;
            } while (Eat(','));
            return Eat(']');
        }
        if (c == '"') return String();
        if (c == 't') return Literal("true");
        if (c == 'f') return Literal("false");
        if (c == 'n') return Literal("null");
        return Number();
    }
};

struct Dumped {
    int status = -1;
    std::string out, err;
    Dumped(const std::string& path, bool json) {
        std::ostringstream o, e;
        status = DumpPqdif(path, json, o, e);
        out = o.str();
        err = e.str();
    }
};

std::string WriteSample(const test::TempDir& dir, const std::vector<std::uint8_t>& bytes) {
    const auto path = dir / "sample.pqd";
    test::WriteFile(path, std::string(bytes.begin(), bytes.end()));
    return path.string();
}

TEST(PqdifDump, TextShowsRecordsTreeAndDecodedSeries) {
    test::TempDir dir;
    const std::string path = WriteSample(dir, testfiles::SmallFile(1, 20));
    Dumped d(path, false);
    ASSERT_EQ(d.status, 0) << d.err;
    EXPECT_TRUE(d.err.empty());
    const std::string& o = d.out;
    EXPECT_NE(o.find("Compression: 2 ID_COMP_STYLE_RECORDLEVEL, algorithm 1 ID_COMP_ALG_ZLIB"),
              std::string::npos);
    EXPECT_NE(o.find("Record 0: tagContainer  position 0  header 64"), std::string::npos);
    EXPECT_NE(o.find("Record 3: tagRecObservation"), std::string::npos);
    EXPECT_NE(o.find("tagChannelName  CHAR1[5] = \"V AN\""), std::string::npos);
    EXPECT_NE(o.find("tagPhaseID  UNS_INTEGER4 = 1 ID_PHASE_AN"), std::string::npos);
    EXPECT_NE(o.find("ID_VENDOR_MARVANE"), std::string::npos);
    // Twenty stored values: the first eight, then an ellipsis.
    EXPECT_NE(
        o.find("tagSeriesValues  REAL8[20] = 0 0.001 0.002 0.003 0.004 0.005 0.006 0.007 ...\n"),
        std::string::npos)
        << o;
    EXPECT_NE(o.find("series 1 ID_SERIES_VALUE_TYPE_VAL: count 20, first -300 -200 -100 0 100 ..., "
                     "min -300, max 300"),
              std::string::npos)
        << o;
    EXPECT_NE(o.find("tagTimeStart  TIMESTAMPPQDIF = 2023-03-15 00:00:10.000"), std::string::npos);
}

TEST(PqdifDump, JsonIsValidAndHoldsTheSameFacts) {
    test::TempDir dir;
    const std::string path = WriteSample(dir, testfiles::SmallFile(0, 12));
    Dumped d(path, true);
    ASSERT_EQ(d.status, 0);
    EXPECT_TRUE(JsonChecker(d.out).Valid()) << d.out;
    EXPECT_NE(d.out.find("\"type\":\"tagRecDataSource\""), std::string::npos);
    EXPECT_NE(d.out.find("\"text\":\"V AN\""), std::string::npos);
    EXPECT_NE(d.out.find("\"count\":12"), std::string::npos);
    EXPECT_NE(d.out.find("\"chainComplete\":true"), std::string::npos);
    // The checker itself rejects broken text.
    EXPECT_FALSE(JsonChecker("{\"a\":[1,2}").Valid());
    EXPECT_FALSE(JsonChecker("{\"a\":\"\x01\"}").Valid());
}

TEST(PqdifDump, BrokenAndForeignFiles) {
    test::TempDir dir;
    auto bytes = testfiles::SmallFile(1);
    // Break the chain after the second record, and put non-ASCII text in a name.
    const std::uint32_t second = ReadU32(&bytes[40]);
    WriteU32(&bytes[second + 40], 7);
    const std::string path = WriteSample(dir, bytes);
    Dumped text(path, false);
    EXPECT_EQ(text.status, 0);
    EXPECT_NE(text.out.find("Records: 2 (the record chain breaks after the last one)"),
              std::string::npos);
    Dumped json(path, true);
    EXPECT_TRUE(JsonChecker(json.out).Valid());
    EXPECT_NE(json.out.find("\"chainComplete\":false"), std::string::npos);

    const auto other = dir / "other.pqd";
    test::WriteFile(other, "This is not a PQDIF file at all, just text that is long enough.");
    Dumped foreign(other.string(), false);
    EXPECT_EQ(foreign.status, 3);
    EXPECT_TRUE(foreign.out.empty());
    EXPECT_NE(foreign.err.find("Cannot read"), std::string::npos);
    EXPECT_EQ(Dumped((dir / "missing.pqd").string(), true).status, 3);
}

TEST(PqdifDump, NonAsciiTextStaysValidJson) {
    test::TempDir dir;
    auto records = testfiles::SmallFileRecords(3);
    records[1]->GetRoot()->AddString(tagLocationDS, "\xD6\xD0\xB9\xFA \"quoted\"\n", true);
    const std::string path = WriteSample(dir, WriteRecords(testfiles::Pointers(records), 0));
    Dumped json(path, true);
    ASSERT_EQ(json.status, 0);
    EXPECT_TRUE(JsonChecker(json.out).Valid());
    EXPECT_NE(json.out.find("\\u00d6\\u00d0\\u00b9\\u00fa \\\"quoted\\\"\\u000a"),
              std::string::npos);
}

TEST(PqdifDump, EverySampleFileDumpsAsValidJson) {
    KOV_REQUIRE_TESTDATA("pqdif");
    for (const auto& e :
         std::filesystem::recursive_directory_iterator(test::TestDataDir() / "pqdif")) {
        if (e.path().extension() != ".pqd") continue;
        SCOPED_TRACE(e.path().filename().string());
        Dumped json(e.path().string(), true);
        EXPECT_EQ(json.status, 0);
        EXPECT_TRUE(JsonChecker(json.out).Valid());
    }
}

}  // namespace
}  // namespace kov::pqdif
