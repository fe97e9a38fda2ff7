#include <gtest/gtest.h>

#include <zlib.h>

#include <cstring>
#include <string>
#include <vector>

#include "PqdifTestFiles.h"
#include "pqdif/PqdifIdentifiers.h"
#include "pqdif/PqdifPhysical.h"
#include "pqdif/PqdifRecord.h"
#include "support/TestSupport.h"

namespace kov::pqdif {
namespace {

using testfiles::Pointers;
using testfiles::SmallFile;
using testfiles::SmallFileRecords;

std::string AsString(const std::vector<std::uint8_t>& b) {
    return std::string(b.begin(), b.end());
}

struct Loaded {
    std::vector<std::uint8_t> bytes;
    CPQDIF_PC_FlatFile controller;
    bool ok = false;
    explicit Loaded(std::vector<std::uint8_t> b) : bytes(std::move(b)) {
        controller.SetMemoryBlock(bytes.data(), bytes.size());
        ok = controller.Load();
    }
};

// Offsets of the records of a file, following the links.
std::vector<std::uint32_t> RecordOffsets(const std::vector<std::uint8_t>& b) {
    std::vector<std::uint32_t> out;
    std::uint32_t at = 0;
    do {
        out.push_back(at);
        at = ReadU32(&b[at + 40]);
    } while (at != 0 && at < b.size());
    return out;
}

TEST(PqdifPhysical, Adler32OfKnownInputs) {
    const char* text = "Wikipedia";
    EXPECT_EQ(Adler32(1, reinterpret_cast<const std::uint8_t*>(text), 9), 0x11E60398u);
    EXPECT_EQ(Adler32(1, nullptr, 0), 1u);
    // Continuing a sum equals summing at once.
    const auto* b = reinterpret_cast<const std::uint8_t*>(text);
    EXPECT_EQ(Adler32(Adler32(1, b, 4), b + 4, 5), 0x11E60398u);
}

TEST(PqdifPhysical, FactoriesKnowTheirCodes) {
    EXPECT_NE(CreateStream(0), nullptr);
    EXPECT_NE(CreateStream(1), nullptr);
    EXPECT_EQ(CreateStream(2), nullptr);
    EXPECT_NE(CreateProcessor(0), nullptr);
    EXPECT_NE(CreateProcessor(1), nullptr);
    EXPECT_EQ(CreateProcessor(64), nullptr);
    EXPECT_EQ(CreateProcessor(2), nullptr);
    EXPECT_NE(CreateController(0), nullptr);
    EXPECT_EQ(CreateController(1), nullptr);
    EXPECT_EQ(CreateRecord(5), nullptr);
    EXPECT_EQ(CreateRecord(0)->Tag(), tagBlank);
    EXPECT_EQ(CreateRecord(3)->Tag(), tagRecMonitorSettings);
    std::uint32_t h = 0, b = 1;
    CreateRecord(4)->GetSizes(h, b);
    EXPECT_EQ(h, 64u);
    EXPECT_EQ(b, 0u);
}

TEST(PqdifPhysical, ChunkStreamRefusesAnEmptyBlock) {
    CPQDIF_S_Chunk chunk;
    const std::uint8_t byte = 1;
    EXPECT_FALSE(chunk.Attach(nullptr, 10));
    EXPECT_FALSE(chunk.Attach(&byte, 0));
    CPQDIF_SP_Nothing copy;
    chunk.SetProcessor(&copy);
    std::size_t length = 5;
    EXPECT_EQ(chunk.ReadBlock(10, length), nullptr);
    EXPECT_EQ(length, 0u);
    CPQDIF_PC_FlatFile controller;
    controller.SetMemoryBlock(nullptr, 0);
    controller.SetFileName("/nonexistent/kov/file.pqd");
    EXPECT_FALSE(controller.Load());
    EXPECT_EQ(controller.GetCount(), 0);
}

TEST(PqdifPhysical, WrittenRecordsLinkAndSumTheirStoredBytes) {
    for (std::uint32_t algorithm : {0u, 1u}) {
        auto records = SmallFileRecords(200);
        const auto bytes = WriteRecords(Pointers(records), algorithm);
        ASSERT_FALSE(bytes.empty());
        const auto offsets = RecordOffsets(bytes);
        ASSERT_EQ(offsets.size(), 4u);
        for (std::size_t i = 0; i < offsets.size(); ++i) {
            const std::uint8_t* h = &bytes[offsets[i]];
            const std::uint32_t bodySize = ReadU32(h + 36);
            const std::uint32_t link = ReadU32(h + 40);
            EXPECT_EQ(ReadU32(h + 32), 64u);
            if (i + 1 < offsets.size())
                EXPECT_EQ(link, offsets[i] + 64 + bodySize);
            else
                EXPECT_EQ(link, 0u);
            EXPECT_EQ(ReadU32(h + 44), Adler32(1, h + 64, bodySize)) << algorithm << " " << i;
        }
        // With the copying processor the stored body is the serialised tree itself.
        if (algorithm == 0) {
            const auto body = SerializeBody(*records[1]->GetRoot());
            EXPECT_EQ(std::vector<std::uint8_t>(bytes.begin() + offsets[1] + 64,
                                                bytes.begin() + offsets[1] + 64 + body.size()),
                      body);
        }
    }
}

TEST(PqdifPhysical, RecordLevelCompressionInflatesEveryBodyButTheContainer) {
    const auto plain = SmallFile(0, 500);
    const auto packed = SmallFile(1, 500);
    EXPECT_LT(packed.size(), plain.size());
    // The container body is stored as it is: its first word is the child count.
    EXPECT_LT(ReadU32(&packed[64]), 100u);
    // Every later body is one zlib stream (0x78 header byte).
    const auto offsets = RecordOffsets(packed);
    for (std::size_t i = 1; i < offsets.size(); ++i) EXPECT_EQ(packed[offsets[i] + 64], 0x78);

    Loaded a(plain), b(packed);
    ASSERT_TRUE(a.ok);
    ASSERT_TRUE(b.ok);
    EXPECT_EQ(b.controller.CompressionStyle(), 2u);
    EXPECT_EQ(b.controller.CompressionAlgorithm(), 1u);
    ASSERT_EQ(a.controller.GetCount(), 4);
    ASSERT_EQ(b.controller.GetCount(), 4);
    for (int i = 1; i < 4; ++i)
        EXPECT_EQ(SerializeBody(*a.controller.GetRecordLoaded(i)->GetRoot()),
                  SerializeBody(*b.controller.GetRecordLoaded(i)->GetRoot()));
}

// A container root with the two compression tags stored as given.
std::vector<std::uint8_t> FileWithCompressionTags(int styleType, std::uint32_t style, int algType,
                                                  std::uint32_t alg) {
    auto records = SmallFileRecords(4);
    CPQDIF_E_Collection* root = records[0]->GetRoot();
    std::uint8_t b[4];
    if (styleType) {
        WriteU32(b, style);
        root->AddScalar(tagCompressionStyleID, styleType, b, true);
    }
    if (algType) {
        WriteU32(b, alg);
        root->AddScalar(tagCompressionAlgorithmID, algType, b, true);
    }
    return WriteRecords(Pointers(records), 0);
}

TEST(PqdifPhysical, CompressionTagsChooseHowBodiesAreRead) {
    const int u4 = ID_PHYS_TYPE_UNS_INTEGER4;
    EXPECT_FALSE(Loaded(FileWithCompressionTags(u4, 1, u4, 1)).ok);   // total-file
    EXPECT_FALSE(Loaded(FileWithCompressionTags(u4, 2, u4, 64)).ok);  // PKZIP
    EXPECT_FALSE(Loaded(FileWithCompressionTags(u4, 2, u4, 7)).ok);
    // Style without algorithm, or a tag of another type: read as uncompressed.
    Loaded noAlg(FileWithCompressionTags(u4, 2, 0, 0));
    EXPECT_TRUE(noAlg.ok);
    EXPECT_EQ(noAlg.controller.GetCount(), 4);
    EXPECT_NE(noAlg.controller.GetRecord(3)->GetRoot(), nullptr);
    Loaded otherType(FileWithCompressionTags(ID_PHYS_TYPE_INTEGER4, 2, u4, 1));
    EXPECT_TRUE(otherType.ok);
    EXPECT_EQ(otherType.controller.CompressionStyle(), 0u);
    EXPECT_TRUE(Loaded(FileWithCompressionTags(u4, 0, u4, 0)).ok);
}

TEST(PqdifPhysical, SingleContainerFileLoadsWithOneRecord) {
    auto container = testfiles::Container();
    Loaded l(WriteRecords({container.get()}, 0));
    EXPECT_TRUE(l.ok);
    EXPECT_EQ(l.controller.GetCount(), 1);
    EXPECT_EQ(l.controller.GetRecord(0)->Tag(), tagContainer);
}

TEST(PqdifPhysical, ChainEndsAtZeroOrAtTheFileLength) {
    auto bytes = SmallFile(0);
    const auto offsets = RecordOffsets(bytes);
    WriteU32(&bytes[offsets.back() + 40], static_cast<std::uint32_t>(bytes.size()));
    Loaded l(bytes);
    EXPECT_TRUE(l.ok);
    EXPECT_EQ(l.controller.GetCount(), 4);
}

TEST(PqdifPhysical, BadLinksEndTheWalkAndKeepTheRecordsRead) {
    const auto good = SmallFile(1);
    const auto offsets = RecordOffsets(good);
    struct Case {
        const char* name;
        std::uint32_t link;
    };
    const Case cases[] = {
        {"back to the container", 0 + 1},
        {"to itself", offsets[2]},
        {"beyond the end", static_cast<std::uint32_t>(good.size() + 100)},
        {"inside the record header", offsets[2] + 10},
        {"huge", 0xFFFFFFF0u},
    };
    for (const auto& c : cases) {
        auto bytes = good;
        WriteU32(&bytes[offsets[2] + 40], c.link);
        Loaded l(bytes);
        EXPECT_FALSE(l.ok) << c.name;
        EXPECT_EQ(l.controller.GetCount(), 3) << c.name;
        // The records read stay usable.
        EXPECT_NE(l.controller.GetRecordLoaded(1), nullptr) << c.name;
    }
    // A wrong signature in the middle of the chain.
    auto bytes = good;
    bytes[offsets[3]] ^= 0xFF;
    Loaded l(bytes);
    EXPECT_FALSE(l.ok);
    EXPECT_EQ(l.controller.GetCount(), 3);
    // A wrong signature on the first record.
    bytes = good;
    bytes[0] ^= 1;
    EXPECT_EQ(Loaded(bytes).controller.GetCount(), 0);
}

TEST(PqdifPhysical, ChecksumsAreNeverAReasonToReject) {
    auto bytes = SmallFile(1);
    for (std::uint32_t at : RecordOffsets(bytes)) WriteU32(&bytes[at + 44], 0xDEADBEEF);
    Loaded l(bytes);
    EXPECT_TRUE(l.ok);
    EXPECT_NE(l.controller.GetRecordLoaded(3), nullptr);
}

TEST(PqdifPhysical, DiskFilesReadBodiesOnDemandAndOnlyOnce) {
    test::TempDir dir;
    const auto path = dir / "lazy.pqd";
    auto bytes = SmallFile(1, 50);
    test::WriteFile(path, AsString(bytes));
    CPQDIF_PC_FlatFile controller;
    controller.SetFileName(path.string());
    ASSERT_TRUE(controller.Load());
    ASSERT_EQ(controller.GetCount(), 4);
    EXPECT_NE(controller.GetRecord(0)->GetRoot(), nullptr);  // the container is read at once
    for (int i = 1; i < 4; ++i) EXPECT_EQ(controller.GetRecord(i)->GetRoot(), nullptr);
    CPQDIFRecord* obs = controller.GetRecordLoaded(3);
    ASSERT_NE(obs, nullptr);
    const CPQDIF_E_Collection* root = obs->GetRoot();
    ASSERT_NE(root, nullptr);
    EXPECT_EQ(controller.GetRecord(1)->GetRoot(), nullptr);

    // Spoil the file: a body once read is not read again.
    const auto offsets = RecordOffsets(bytes);
    for (std::size_t k = offsets[2] + 64; k < offsets[3]; ++k) bytes[k] = 0;
    test::WriteFile(path, AsString(bytes));
    EXPECT_EQ(controller.GetRecordLoaded(3)->GetRoot(), root);
    std::string name;
    root->FindVector(tagObservationName)->GetString(name);
    EXPECT_EQ(name, "Event 1");
    // A fresh read of the spoilt file finds the headers but not the bodies.
    CPQDIF_PC_FlatFile fresh;
    fresh.SetFileName(path.string());
    EXPECT_TRUE(fresh.Load());
    EXPECT_EQ(fresh.GetCount(), 4);
    EXPECT_EQ(fresh.GetRecordLoaded(2), nullptr);
    EXPECT_EQ(fresh.GetRecord(2)->GetRoot(), nullptr);
}

TEST(PqdifPhysical, MemoryBlocksReadEveryBodyAtLoad) {
    Loaded l(SmallFile(1));
    ASSERT_TRUE(l.ok);
    for (int i = 0; i < l.controller.GetCount(); ++i)
        EXPECT_NE(l.controller.GetRecord(i)->GetRoot(), nullptr) << i;
}

TEST(PqdifPhysical, DamagedBodiesAreReportedPerRecord) {
    const auto good = SmallFile(1, 400);
    const auto offsets = RecordOffsets(good);
    // A zlib stream cut in half inflates to what is there; one of garbage gives nothing.
    auto cut = good;
    const std::uint32_t size = ReadU32(&cut[offsets[3] + 36]);
    WriteU32(&cut[offsets[3] + 36], size / 2);
    Loaded half(cut);
    EXPECT_TRUE(half.ok);
    EXPECT_NE(half.controller.GetRecordLoaded(3), nullptr);

    auto garbage = good;
    for (std::uint32_t k = 0; k < 16; ++k) garbage[offsets[2] + 64 + k] = 0xEE;
    Loaded bad(garbage);
    EXPECT_TRUE(bad.ok);
    EXPECT_EQ(bad.controller.GetRecordLoaded(2), nullptr);
    EXPECT_NE(bad.controller.GetRecordLoaded(3), nullptr);

    // A body size far beyond the file reads what is there.
    auto big = good;
    WriteU32(&big[offsets[3] + 36], 0xFFFFFF00u);
    Loaded l(big);
    EXPECT_TRUE(l.ok);
    EXPECT_NE(l.controller.GetRecordLoaded(3), nullptr);
    // A body cannot reach into the next record: a header size that moves the body
    // onto the next record's body, or a body size that runs into it.
    const auto plain = SmallFile(0, 40);
    const auto plainOffsets = RecordOffsets(plain);
    auto moved = plain;
    WriteU32(&moved[plainOffsets[1] + 32], plainOffsets[2] + 64 - plainOffsets[1]);
    Loaded m(moved);
    EXPECT_TRUE(m.ok);
    EXPECT_EQ(m.controller.GetRecordLoaded(1), nullptr);
    EXPECT_NE(m.controller.GetRecordLoaded(2), nullptr);
    auto overlap = plain;
    WriteU32(&overlap[plainOffsets[1] + 36], 0x7FFFFFFF);
    Loaded o(overlap), p(plain);
    ASSERT_TRUE(o.ok);
    EXPECT_EQ(SerializeBody(*o.controller.GetRecordLoaded(1)->GetRoot()),
              SerializeBody(*p.controller.GetRecordLoaded(1)->GetRoot()));
    // A header size that puts the body beyond the file.
    auto far = good;
    WriteU32(&far[offsets[3] + 32], 0xFFFFFF00u);
    Loaded f(far);
    EXPECT_EQ(f.controller.GetCount(), 4);
    EXPECT_EQ(f.controller.GetRecordLoaded(3), nullptr);
}

TEST(PqdifPhysical, InflateStopsAtABoundedRatio) {
    // 64 MiB of zeros deflate to about 64 KiB; the bound (1100 × input + 64 KiB)
    // lets genuine streams through and stops anything claiming more.
    const std::size_t raw = std::size_t{64} << 20;
    std::vector<std::uint8_t> zeros(raw, 0);
    uLongf packedSize = compressBound(raw);
    std::vector<std::uint8_t> packed(packedSize);
    ASSERT_EQ(compress2(packed.data(), &packedSize, zeros.data(), raw, 9), Z_OK);
    packed.resize(packedSize);

    CPQDIF_S_Chunk chunk;
    ASSERT_TRUE(chunk.Attach(packed.data(), packed.size()));
    CPQDIF_SP_ZLIB zlib;
    chunk.SetProcessor(&zlib);
    std::size_t length = 0;
    ASSERT_NE(chunk.ReadBlock(packed.size(), length), nullptr);
    EXPECT_EQ(length, std::min(raw, packed.size() * 1100 + 65536));

    // A truncated stream gives its first part.
    chunk.Attach(packed.data(), packed.size() / 2);
    ASSERT_NE(chunk.ReadBlock(packed.size(), length), nullptr);
    EXPECT_GT(length, 0u);
    EXPECT_LT(length, raw);
}

TEST(PqdifPhysical, RecordsRewrittenOnDiskReadBackTheSame) {
    test::TempDir dir;
    const auto path = dir / "rewrite.pqd";
    test::WriteFile(path, AsString(SmallFile(0, 30)));
    // Change one value through the file stream opened for update and write the
    // record back in place (same size, so the chain stays valid).
    {
        CPQDIF_PC_FlatFile controller;
        controller.SetFileName(path.string());
        ASSERT_TRUE(controller.Load());
        CPQDIFRecord* obs = controller.GetRecordLoaded(3);
        ASSERT_NE(obs, nullptr);
        obs->GetRoot()->FindVector(tagObservationName)->SetString("Event 9");
        EXPECT_TRUE(obs->IsModified());

        CPQDIF_S_FlatFile stream;
        ASSERT_TRUE(stream.Open(path.string(), false));
        EXPECT_TRUE(stream.IsUpdateOpen());
        EXPECT_FALSE(stream.Open(path.string(), false));  // already open
        CPQDIF_SP_Nothing copy;
        stream.SetProcessor(&copy);
        ASSERT_TRUE(obs->WriteBody(stream));
        obs->SetNextLink(0);
        ASSERT_TRUE(obs->WriteHeader(stream));
        EXPECT_TRUE(stream.Flush());
    }
    CPQDIF_PC_FlatFile again;
    again.SetFileName(path.string());
    ASSERT_TRUE(again.Load());
    std::string name;
    again.GetRecordLoaded(3)->GetRoot()->FindVector(tagObservationName)->GetString(name);
    EXPECT_EQ(name, "Event 9");
    EXPECT_FALSE(again.GetRecordLoaded(3)->IsModified());
}

}  // namespace
}  // namespace kov::pqdif
