#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <vector>

#include "PqdifTestFiles.h"
#include "pqdif/PqdifElement.h"
#include "pqdif/PqdifIdentifiers.h"
#include "pqdif/PqdifRecord.h"

namespace kov::pqdif {
namespace {

using testfiles::AddReal8;
using testfiles::AddUInt4;

Guid TagWithFirstByte(std::uint8_t first, std::uint8_t last = 0) {
    Guid g;
    g.bytes[0] = first;
    g.bytes[15] = last;
    return g;
}

// Little body writer for hand-made (and hostile) layouts.
struct Body {
    std::vector<std::uint8_t> bytes;
    std::size_t U32(std::uint32_t v) {
        const std::size_t at = bytes.size();
        bytes.resize(at + 4);
        WriteU32(&bytes[at], v);
        return at;
    }
    std::size_t Header(const Guid& tag, int type, int phys, int embedded, std::uint32_t link,
                       std::uint32_t size) {
        const std::size_t at = bytes.size();
        bytes.insert(bytes.end(), tag.bytes.begin(), tag.bytes.end());
        bytes.push_back(static_cast<std::uint8_t>(type));
        bytes.push_back(static_cast<std::uint8_t>(phys));
        bytes.push_back(static_cast<std::uint8_t>(embedded));
        bytes.push_back(0);
        U32(link);
        U32(size);
        return at;
    }
};

bool Parse(const std::vector<std::uint8_t>& b, CPQDIF_E_Collection& root) {
    PQController builder;
    return builder.ParseBody(b.data(), b.size(), &root);
}

TEST(PqdifElement, CollectionKeepsTagByteOrderAndInsertionOrderForEqualTags) {
    CPQDIF_E_Collection c;
    AddUInt4(&c, TagWithFirstByte(0x80), 1);
    AddUInt4(&c, TagWithFirstByte(0x10), 2);
    AddUInt4(&c, TagWithFirstByte(0x80), 3);  // same tag as the first: after it
    AddUInt4(&c, TagWithFirstByte(0x10, 0xFF), 4);
    ASSERT_EQ(c.GetCount(), 4);
    std::uint32_t v[4];
    for (int i = 0; i < 4; ++i) static_cast<CPQDIF_E_Scalar*>(c.GetChild(i))->GetUInt4(v[i]);
    EXPECT_EQ(v[0], 2u);
    EXPECT_EQ(v[1], 4u);
    EXPECT_EQ(v[2], 1u);
    EXPECT_EQ(v[3], 3u);
    EXPECT_EQ(c.GetChild(4), nullptr);
    EXPECT_EQ(c.GetChild(-1), nullptr);

    // Find gives the first of equal tags, and respects the kind.
    std::uint32_t found = 0;
    c.FindScalar(TagWithFirstByte(0x80))->GetUInt4(found);
    EXPECT_EQ(found, 1u);
    EXPECT_EQ(c.FindVector(TagWithFirstByte(0x80)), nullptr);
    EXPECT_EQ(c.Find(TagWithFirstByte(0x80), -1), c.GetChild(2));

    // Replace swaps the first child of that tag.
    auto s = std::make_unique<CPQDIF_E_Scalar>();
    s->SetTag(TagWithFirstByte(0x80));
    s->SetUInt4(9);
    c.Replace(std::move(s));
    ASSERT_EQ(c.GetCount(), 4);
    c.FindScalar(TagWithFirstByte(0x80))->GetUInt4(found);
    EXPECT_EQ(found, 9u);
}

TEST(PqdifElement, ChangesMarkTheOwningRecordModified) {
    auto record = testfiles::NewRecord(2);
    record->SetModified(false);
    CPQDIF_E_Collection* sub = record->GetRoot()->AddCollection(tagChannelDefns);
    EXPECT_TRUE(record->IsModified());
    record->SetModified(false);
    AddUInt4(sub, tagPhaseID, 1);  // a grandchild change reaches the record too
    EXPECT_TRUE(record->IsModified());
    EXPECT_EQ(sub->GetChild(0)->GetOwner(), record.get());
}

TEST(PqdifElement, TypedGettersRequireTheExactType) {
    CPQDIF_E_Collection c;
    CPQDIF_E_Scalar* s = AddReal8(&c, tagSeriesScale, 2.5);
    double d = -1;
    std::uint32_t u = 7;
    bool b = true;
    Guid g = tagContainer;
    PqdifTimestamp t{5, 5.0};
    EXPECT_TRUE(s->GetReal8(d));
    EXPECT_EQ(d, 2.5);
    EXPECT_FALSE(s->GetUInt4(u));
    EXPECT_EQ(u, 0u);
    EXPECT_FALSE(s->GetBool4(b));
    EXPECT_FALSE(b);
    EXPECT_FALSE(s->GetGuid(g));
    EXPECT_TRUE(g.IsNull());
    EXPECT_FALSE(s->GetTimestamp(t));
    EXPECT_EQ(t, PqdifTimestamp{});
    EXPECT_EQ(c.GetTyped(tagSeriesScale, ID_PHYS_TYPE_REAL8), s);
    EXPECT_EQ(c.GetTyped(tagSeriesScale, ID_PHYS_TYPE_REAL4), nullptr);

    CPQDIF_E_Scalar empty;
    int code = 1;
    std::uint8_t raw[16];
    EXPECT_FALSE(empty.GetRaw(code, raw));
}

TEST(PqdifElement, ConversionsToDouble) {
    struct Case {
        int code;
        std::vector<std::uint8_t> bytes;
        double expected;
        bool ok;
    };
    const std::vector<Case> cases = {
        {ID_PHYS_TYPE_BOOLEAN1, {0xFF}, -1.0, true},
        {ID_PHYS_TYPE_CHAR1, {0x41}, 65.0, true},
        {ID_PHYS_TYPE_INTEGER1, {0x80}, -128.0, true},
        {ID_PHYS_TYPE_UNS_INTEGER1, {0x80}, 128.0, true},
        {ID_PHYS_TYPE_INTEGER2, {0xFE, 0xFF}, -2.0, true},
        {ID_PHYS_TYPE_UNS_INTEGER2, {0xFE, 0xFF}, 65534.0, true},
        {ID_PHYS_TYPE_INTEGER4, {0xFF, 0xFF, 0xFF, 0xFF}, -1.0, true},
        {ID_PHYS_TYPE_UNS_INTEGER4, {0xFF, 0xFF, 0xFF, 0xFF}, 4294967295.0, true},
        {ID_PHYS_TYPE_REAL4, {0x00, 0x00, 0xC0, 0x3F}, 1.5, true},
        {ID_PHYS_TYPE_GUID, std::vector<std::uint8_t>(16, 0x33), 0.0, true},
        {ID_PHYS_TYPE_COMPLEX8, std::vector<std::uint8_t>(8, 0x33), 0.0, true},
        {99, {0x05}, 0.0, false},
    };
    for (const auto& c : cases) {
        std::uint8_t b[16] = {};
        std::memcpy(b, c.bytes.data(), c.bytes.size());
        double v = 123;
        EXPECT_EQ(ConvertToDouble(c.code, b, v), c.ok) << c.code;
        EXPECT_EQ(v, c.expected) << c.code;
    }
    // Timestamp: day count plus the fraction of the day.
    std::uint8_t ts[12];
    WriteU32(ts, 25569);
    WriteF64(ts + 4, 43200.0);
    double v = 0;
    ASSERT_TRUE(ConvertToDouble(ID_PHYS_TYPE_TIMESTAMPPQDIF, ts, v));
    EXPECT_DOUBLE_EQ(v, 25569.5);
}

TEST(PqdifElement, DisplayVariants) {
    std::uint8_t b[16] = {};
    PqdifVariant v;
    b[0] = 1;
    ASSERT_TRUE(ConvertToVariant(ID_PHYS_TYPE_BOOLEAN4, b, v));
    EXPECT_EQ(v.ToString(), "TRUE");
    b[0] = 0xFE;
    b[1] = 0xFF;
    ASSERT_TRUE(ConvertToVariant(ID_PHYS_TYPE_UNS_INTEGER2, b, v));
    EXPECT_EQ(v.kind, PqdifVariant::Kind::I2);
    EXPECT_EQ(v.ToString(), "-2");
    float re = 1.5f, im = -0.25f;
    std::memcpy(b, &re, 4);
    std::memcpy(b + 4, &im, 4);
    ASSERT_TRUE(ConvertToVariant(ID_PHYS_TYPE_COMPLEX8, b, v));
    EXPECT_EQ(v.ToString(), "1.5 -0.25");
    WriteU32(b, 2);
    WriteF64(b + 4, 86400.0 / 4);
    ASSERT_TRUE(ConvertToVariant(ID_PHYS_TYPE_TIMESTAMPPQDIF, b, v));
    EXPECT_EQ(v.kind, PqdifVariant::Kind::Date);
    EXPECT_NEAR(v.real, 2.25, 1e-12);
    ASSERT_TRUE(ConvertToVariant(ID_PHYS_TYPE_GUID, tagContainer.bytes.data(), v));
    EXPECT_EQ(v.words[0], static_cast<std::int32_t>(0x89738606));
    EXPECT_FALSE(ConvertToVariant(12, b, v));
    EXPECT_EQ(v.kind, PqdifVariant::Kind::Empty);
}

TEST(PqdifElement, VectorsKeepTheirCountAcrossTypeChangesAndHoldStrings) {
    CPQDIF_E_Vector v;
    const std::uint32_t values[3] = {7, 8, 4000000000u};
    v.SetUInt4Array(values, 3);
    EXPECT_EQ(v.GetCount(), 3);
    std::uint32_t out[5] = {};
    EXPECT_EQ(v.GetUInt4Array(out, 5), 3);
    EXPECT_EQ(out[2], 4000000000u);
    EXPECT_EQ(v.GetUInt4Array(out, 2), 2);
    double d = 0;
    EXPECT_TRUE(v.GetAsDouble(2, d));
    EXPECT_EQ(d, 4e9);
    EXPECT_FALSE(v.GetAsDouble(3, d));
    EXPECT_FALSE(v.GetReal8(0, d));

    v.SetPhysicalType(ID_PHYS_TYPE_REAL8);
    EXPECT_EQ(v.GetCount(), 3);
    EXPECT_EQ(v.GetByteSize(), 24u);
    EXPECT_EQ(v.GetUInt4Array(out, 5), -1);
    EXPECT_TRUE(v.SetReal8(1, -2.5));
    EXPECT_TRUE(v.GetReal8(1, d));
    EXPECT_EQ(d, -2.5);
    EXPECT_FALSE(v.SetReal8(3, 1.0));

    std::string text;
    EXPECT_FALSE(v.SetString("x"));
    EXPECT_FALSE(v.GetString(text));

    CPQDIF_E_Vector s1;
    s1.SetPhysicalType(ID_PHYS_TYPE_CHAR1);
    ASSERT_TRUE(s1.SetString("Va"));
    EXPECT_EQ(s1.GetCount(), 3);
    ASSERT_TRUE(s1.GetString(text));
    EXPECT_EQ(text, "Va");

    CPQDIF_E_Vector s2;
    s2.SetPhysicalType(ID_PHYS_TYPE_CHAR2);
    ASSERT_TRUE(s2.SetString("Ib"));
    EXPECT_EQ(s2.GetCount(), 3);  // two characters and the terminating zero
    EXPECT_EQ(s2.GetRawPointer()[2], 'b');
    ASSERT_TRUE(s2.GetString(text));
    EXPECT_EQ(text, "Ib");
    std::uint16_t raw = 0;
    EXPECT_TRUE(s2.GetRaw(0, &raw));
    EXPECT_EQ(raw, 'I');
    EXPECT_FALSE(s2.GetRaw(3, &raw));

    CPQDIF_E_Vector none;  // an empty CHAR2 vector has no characters, not -1 of them
    none.SetPhysicalType(ID_PHYS_TYPE_CHAR2);
    EXPECT_TRUE(none.GetString(text));
    EXPECT_EQ(text, "");
}

TEST(PqdifElement, SerialisedLayoutOfScalarsAndVectors) {
    CPQDIF_E_Collection root;
    AddReal8(&root, TagWithFirstByte(1), 1.25);
    root.AddTimestamp(TagWithFirstByte(2), 44000, 12.5);
    auto v = std::make_unique<CPQDIF_E_Vector>();
    v->SetTag(TagWithFirstByte(3));
    const std::int16_t shorts[3] = {1, -2, 3};
    v->SetValues(ID_PHYS_TYPE_INTEGER2, shorts, 3);
    root.Insert(std::move(v));
    AddUInt4(&root, TagWithFirstByte(4), 77);

    const std::vector<std::uint8_t> b = SerializeBody(root);
    ASSERT_EQ(ReadU32(b.data()), 4u);
    const std::uint8_t* h = b.data() + 4;
    // REAL8: embedded, its 8 bytes fill link and size.
    EXPECT_EQ(h[16], kElementScalar);
    EXPECT_EQ(h[17], ID_PHYS_TYPE_REAL8);
    EXPECT_EQ(h[18], 1);
    EXPECT_EQ(ReadF64(h + 20), 1.25);
    // Timestamp: 12 bytes in a block of its own.
    h += 28;
    EXPECT_EQ(h[18], 0);
    EXPECT_EQ(ReadU32(h + 24), 12u);
    EXPECT_EQ(ReadU32(h + 20), 4u + 4 * 28);
    EXPECT_EQ(ReadU32(b.data() + ReadU32(h + 20)), 44000u);
    // Vector of 3 INTEGER2: count, 6 value bytes, 2 zero bytes.
    h += 28;
    EXPECT_EQ(ReadU32(h + 24), 12u);
    const std::uint8_t* block = b.data() + ReadU32(h + 20);
    EXPECT_EQ(ReadU32(block), 3u);
    EXPECT_EQ(static_cast<std::int16_t>(ReadU16(block + 6)), -2);
    EXPECT_EQ(block[10], 0);
    EXPECT_EQ(block[11], 0);
    // UNS_INTEGER4: embedded, size 0.
    h += 28;
    EXPECT_EQ(h[18], 1);
    EXPECT_EQ(ReadU32(h + 20), 77u);
    EXPECT_EQ(ReadU32(h + 24), 0u);
    EXPECT_EQ(b.size(), 4u + 4 * 28 + 12 + 12);
}

TEST(PqdifElement, ParseRoundTripKeepsTreeAndValues) {
    auto records = testfiles::SmallFileRecords(5);
    CPQDIF_E_Collection* original = records[1]->GetRoot();
    const std::vector<std::uint8_t> body = SerializeBody(*original);
    CPQDIF_E_Collection parsed;
    ASSERT_TRUE(Parse(body, parsed));
    // Serialising the parsed tree again gives the same bytes.
    EXPECT_EQ(SerializeBody(parsed), body);
    const CPQDIF_E_Collection* defs = parsed.FindCollection(tagChannelDefns);
    ASSERT_NE(defs, nullptr);
    ASSERT_EQ(defs->GetCount(), 1);
    std::string name;
    static_cast<CPQDIF_E_Collection*>(defs->GetChild(0))
        ->FindVector(tagChannelName)
        ->GetString(name);
    EXPECT_EQ(name, "V AN");
}

TEST(PqdifElement, EdgeCasesOfParsing) {
    CPQDIF_E_Collection root;
    EXPECT_FALSE(Parse({0, 0, 0, 0}, root));  // a root with no children
    EXPECT_EQ(root.GetCount(), 0);
    EXPECT_FALSE(Parse({0xFF, 0xFF, 0xFF, 0xFF}, root));  // -1 children
    EXPECT_FALSE(Parse({1, 0}, root));                    // too short for the count

    // Two children with the same tag are both kept, in file order; unknown kinds skipped.
    Body b;
    b.U32(3);
    b.Header(tagPhaseID, kElementScalar, ID_PHYS_TYPE_UNS_INTEGER4, 1, 5, 0);
    b.Header(tagPhaseID, 9, ID_PHYS_TYPE_UNS_INTEGER4, 1, 6, 0);
    b.Header(tagPhaseID, kElementScalar, ID_PHYS_TYPE_UNS_INTEGER4, 1, 7, 0);
    CPQDIF_E_Collection r2;
    EXPECT_TRUE(Parse(b.bytes, r2));
    ASSERT_EQ(r2.GetCount(), 2);
    std::uint32_t v = 0;
    r2.FindScalar(tagPhaseID)->GetUInt4(v);
    EXPECT_EQ(v, 5u);
    static_cast<CPQDIF_E_Scalar*>(r2.GetChild(1))->GetUInt4(v);
    EXPECT_EQ(v, 7u);
}

TEST(PqdifElement, HostileBodiesEndTheLevelAndKeepWhatWasRead) {
    // A vector whose count runs past the body.
    {
        Body b;
        b.U32(2);
        b.Header(tagPhaseID, kElementScalar, ID_PHYS_TYPE_UNS_INTEGER4, 1, 1, 0);
        b.Header(tagSeriesValues, kElementVector, ID_PHYS_TYPE_REAL8, 0, 4 + 2 * 28, 0);
        b.U32(0x10000000);  // 268 million doubles announced, none there
        b.U32(0);
        CPQDIF_E_Collection root;
        EXPECT_FALSE(Parse(b.bytes, root));
        EXPECT_EQ(root.GetCount(), 1);
        EXPECT_EQ(root.FindVector(tagSeriesValues), nullptr);
    }
    // A collection count larger than the headers present, and links outside the body.
    {
        Body b;
        b.U32(1000);
        b.Header(tagPhaseID, kElementScalar, ID_PHYS_TYPE_UNS_INTEGER4, 1, 3, 0);
        b.Header(tagSeriesScale, kElementScalar, ID_PHYS_TYPE_TIMESTAMPPQDIF, 0, 999999, 12);
        CPQDIF_E_Collection root;
        EXPECT_FALSE(Parse(b.bytes, root));
        EXPECT_EQ(root.GetCount(), 1);
    }
    // A collection that links back to the root and one that links to itself.
    {
        Body b;
        b.U32(2);
        b.Header(tagChannelDefns, kElementCollection, 0, 0, 0, 0);
        b.Header(tagChannelInstances, kElementCollection, 0, 0, 4 + 2 * 28, 0);
        b.U32(1);
        b.Header(tagOneChannelInst, kElementCollection, 0, 0, 4 + 2 * 28, 0);
        CPQDIF_E_Collection root;
        EXPECT_FALSE(Parse(b.bytes, root));
        ASSERT_NE(root.FindCollection(tagChannelDefns), nullptr);
        EXPECT_EQ(root.FindCollection(tagChannelDefns)->GetCount(), 0);
    }
    // Nesting far deeper than any real file: each level links to the next block.
    {
        Body b;
        const int levels = 500;
        for (int i = 0; i < levels; ++i) {
            const std::uint32_t next = static_cast<std::uint32_t>((i + 1) * 32);
            b.U32(1);
            b.Header(tagChannelDefns, kElementCollection, 0, 0, next, 32);
        }
        b.U32(1);
        b.Header(tagPhaseID, kElementScalar, ID_PHYS_TYPE_UNS_INTEGER4, 1, 1, 0);
        CPQDIF_E_Collection root;
        EXPECT_FALSE(Parse(b.bytes, root));
        int depth = 0;
        const CPQDIF_E_Collection* c = &root;
        while ((c = c->FindCollection(tagChannelDefns))) ++depth;
        EXPECT_LE(depth, PQController::kMaxDepth + 1);
    }
    // Many vector headers sharing one large data block cannot multiply it in memory.
    {
        Body b;
        const int headers = 200;
        b.U32(headers);
        const std::uint32_t block = 4 + headers * 28;
        for (int i = 0; i < headers; ++i)
            b.Header(tagSeriesValues, kElementVector, ID_PHYS_TYPE_REAL8, 0, block, 0);
        b.U32(4096);
        b.bytes.resize(b.bytes.size() + 4096 * 8, 0);
        CPQDIF_E_Collection root;
        EXPECT_FALSE(Parse(b.bytes, root));
        std::size_t copied = 0;
        for (int i = 0; i < root.GetCount(); ++i)
            copied += static_cast<CPQDIF_E_Vector*>(root.GetChild(i))->GetByteSize();
        EXPECT_LE(copied, 2 * b.bytes.size() + 65536);
        EXPECT_GT(root.GetCount(), 0);
    }
    // Collection headers that each link to a different offset inside the same
    // header block: every block overlaps the others. The body has room for at
    // most length / 28 headers, and no more elements are made than that.
    {
        Body b;
        const int headers = 300;
        b.U32(headers);
        // Each header links to its own size field, which then reads as the child
        // count of a block whose headers are the headers that follow.
        for (int i = 0; i < headers; ++i)
            b.Header(tagChannelDefns, kElementCollection, 0, 0,
                     static_cast<std::uint32_t>(28 * i + 28), headers);
        CPQDIF_E_Collection root;
        Parse(b.bytes, root);
        std::function<std::size_t(const CPQDIF_E_Collection&)> count =
            [&](const CPQDIF_E_Collection& c) {
                std::size_t n = static_cast<std::size_t>(c.GetCount());
                for (int i = 0; i < c.GetCount(); ++i)
                    if (c.GetChild(i)->GetElementType() == kElementCollection)
                        n += count(static_cast<const CPQDIF_E_Collection&>(*c.GetChild(i)));
                return n;
            };
        EXPECT_LE(count(root), b.bytes.size() / 28 + 1);
    }
    // Headers in falling tag order come out sorted, equal tags in file order.
    {
        Body b;
        const int headers = 2000;
        b.U32(headers);
        for (int i = 0; i < headers; ++i)
            b.Header(TagWithFirstByte(static_cast<std::uint8_t>(255 - i / 10)), kElementScalar,
                     ID_PHYS_TYPE_UNS_INTEGER4, 1, static_cast<std::uint32_t>(i), 0);
        CPQDIF_E_Collection root;
        EXPECT_TRUE(Parse(b.bytes, root));
        ASSERT_EQ(root.GetCount(), headers);
        for (int i = 1; i < headers; ++i) {
            const auto* a = static_cast<CPQDIF_E_Scalar*>(root.GetChild(i - 1));
            const auto* c = static_cast<CPQDIF_E_Scalar*>(root.GetChild(i));
            std::uint32_t va = 0, vc = 0;
            a->GetUInt4(va);
            c->GetUInt4(vc);
            if (a->GetTag() == c->GetTag())
                EXPECT_LT(va, vc);
            else
                EXPECT_LT(a->GetTag(), c->GetTag());
        }
    }
    // An embedded GUID (wider than the 8 header bytes) reads only those 8 bytes.
    {
        Body b;
        b.U32(1);
        b.Header(tagValueTypeID, kElementScalar, ID_PHYS_TYPE_GUID, 1, 0x11111111, 0x22222222);
        CPQDIF_E_Collection root;
        EXPECT_TRUE(Parse(b.bytes, root));
        Guid g;
        ASSERT_TRUE(root.FindScalar(tagValueTypeID)->GetGuid(g));
        EXPECT_EQ(g.bytes[7], 0x22);
        EXPECT_EQ(g.bytes[8], 0);
    }
}

TEST(PqdifElement, FactoryMakesTheThreeKinds) {
    EXPECT_EQ(CreateElement(1)->GetElementType(), kElementCollection);
    EXPECT_EQ(CreateElement(2)->GetElementType(), kElementScalar);
    EXPECT_EQ(CreateElement(3)->GetElementType(), kElementVector);
    EXPECT_EQ(CreateElement(0), nullptr);
    EXPECT_EQ(CreateElement(4), nullptr);
    EXPECT_EQ(PhysicalTypeWidth(ID_PHYS_TYPE_TIMESTAMPPQDIF), 12);
    EXPECT_EQ(PhysicalTypeWidth(ID_PHYS_TYPE_COMPLEX16), 16);
    EXPECT_EQ(PhysicalTypeWidth(70), 1);
    EXPECT_EQ(PhysicalTypeWidth(-5), 1);
}

}  // namespace
}  // namespace kov::pqdif
