#include "pqdif/PqdifRecord.h"

#include <algorithm>
#include <cstring>
#include <limits>

#include "pqdif/PqdifIdentifiers.h"

namespace kov::pqdif {

namespace {

Guid GuidAt(const std::uint8_t* p) {
    Guid g;
    std::memcpy(g.bytes.data(), p, 16);
    return g;
}

}  // namespace

// ---- Record ----

CPQDIF_R_General::CPQDIF_R_General() : signature_(guidRecordSignaturePQDIF), tag_(tagBlank) {}

void CPQDIF_R_General::SetRoot(std::unique_ptr<CPQDIF_E_Collection> root) {
    root_ = std::move(root);
    if (root_) root_->SetOwner(this);
}

std::array<std::uint8_t, 64> CPQDIF_R_General::HeaderBytes() const {
    std::array<std::uint8_t, 64> h{};
    std::memcpy(h.data(), signature_.bytes.data(), 16);
    std::memcpy(h.data() + 16, tag_.bytes.data(), 16);
    WriteU32(h.data() + 32, headerSize_);
    WriteU32(h.data() + 36, bodySize_);
    WriteU32(h.data() + 40, nextLink_);
    WriteU32(h.data() + 44, checksum_);
    for (int i = 0; i < 4; ++i) WriteU32(h.data() + 48 + 4 * i, reserved_[i]);
    return h;
}

bool CPQDIF_R_General::ReadHeader(CPQDIF_StreamIO& stream) {
    signature_ = Guid{};
    tag_ = Guid{};
    headerSize_ = bodySize_ = nextLink_ = checksum_ = 0;
    reserved_ = {};
    std::uint64_t at = 0;
    if (!stream.Tell(at) || at > std::numeric_limits<std::uint32_t>::max()) return false;
    position_ = static_cast<std::uint32_t>(at);
    std::size_t length = 0;
    const std::uint8_t* h = stream.ReadBlock(kRecordHeaderSize, length);
    if (!h || length < kRecordHeaderSize) return false;
    signature_ = GuidAt(h);
    tag_ = GuidAt(h + 16);
    headerSize_ = ReadU32(h + 32);
    bodySize_ = ReadU32(h + 36);
    nextLink_ = ReadU32(h + 40);
    checksum_ = ReadU32(h + 44);
    for (int i = 0; i < 4; ++i) reserved_[i] = ReadU32(h + 48 + 4 * i);
    return signature_ == guidRecordSignaturePQDIF;
}

bool CPQDIF_R_General::ReadBody(CPQDIF_StreamIO& stream) {
    if (root_) return true;
    const std::uint64_t start = std::uint64_t{position_} + headerSize_;
    if (start >= stream.Size() || !stream.Seek(start)) return false;
    // A body never reaches into the record that follows: bodies of the records
    // in a chain cannot overlap, so no stored byte is decoded twice whatever the
    // header sizes claim.
    std::uint64_t count = bodySize_;
    if (nextLink_ > position_) {
        if (start >= nextLink_) return false;
        count = std::min<std::uint64_t>(count, nextLink_ - start);
    }
    std::size_t length = 0;
    const std::uint8_t* body = stream.ReadBlock(static_cast<std::size_t>(count), length);
    if (!body || length < 1) return false;
    auto root = std::make_unique<CPQDIF_E_Collection>();
    root->SetTag(tag_);
    // The parse result does not decide: a body whose tree ends early still counts
    // as read, with every element that could be read.
    PQController builder;
    builder.ParseBody(body, length, root.get());
    SetRoot(std::move(root));
    modified_ = false;
    return true;
}

bool CPQDIF_R_General::WriteHeader(CPQDIF_StreamIO& stream) {
    if (!stream.Seek(position_)) return false;
    const auto h = HeaderBytes();
    stream.ResetInput();
    stream.AppendInput(h.data(), h.size());
    std::size_t written = 0;
    return stream.WriteBlock(written) && written == h.size();
}

bool CPQDIF_R_General::WriteBody(CPQDIF_StreamIO& stream) {
    if (!root_) return false;
    stream.ResetChecksum();
    if (!stream.Seek(std::uint64_t{position_} + headerSize_)) return false;
    const std::vector<std::uint8_t> bytes = SerializeBody(*root_);
    if (bytes.empty()) return false;
    stream.ResetInput();
    stream.AppendInput(bytes.data(), bytes.size());
    std::size_t written = 0;
    if (!stream.WriteBlock(written) || written == 0) return false;
    const std::uint64_t next = std::uint64_t{position_} + headerSize_ + written;
    if (next > std::numeric_limits<std::uint32_t>::max()) return false;
    bodySize_ = static_cast<std::uint32_t>(written);
    nextLink_ = static_cast<std::uint32_t>(next);
    checksum_ = stream.GetChecksum();
    return true;
}

std::unique_ptr<CPQDIFRecord> CreateRecord(int kind) {
    static const Guid kTags[] = {tagBlank, tagContainer, tagRecDataSource, tagRecMonitorSettings,
                                 tagRecObservation};
    if (kind < 0 || kind > 4) return nullptr;
    auto record = std::make_unique<CPQDIF_R_General>();
    record->SetTag(kTags[kind]);
    return record;
}

// ---- Controller ----

CPQDIFRecord* CPQDIF_PC_FlatFile::GetRecord(int index) const {
    if (index < 0 || index >= GetCount()) return nullptr;
    return records_[static_cast<std::size_t>(index)].get();
}

CPQDIFRecord* CPQDIF_PC_FlatFile::GetRecordLoaded(int index) {
    CPQDIFRecord* record = GetRecord(index);
    if (!record) return nullptr;
    if (record->GetRoot()) return record;
    if (!stream_ || !bodyProcessor_) return nullptr;
    stream_->SetProcessor(bodyProcessor_.get());
    return record->ReadBody(*stream_) ? record : nullptr;
}

bool CPQDIF_PC_FlatFile::InsertRecord(std::unique_ptr<CPQDIFRecord> record, int index) {
    if (!record || index < 0 || index > GetCount()) return false;
    records_.insert(records_.begin() + index, std::move(record));
    return true;
}

std::unique_ptr<CPQDIFRecord> CPQDIF_PC_FlatFile::RemoveRecord(int index) {
    if (index < 0 || index >= GetCount()) return nullptr;
    auto record = std::move(records_[static_cast<std::size_t>(index)]);
    records_.erase(records_.begin() + index);
    return record;
}

bool CPQDIF_PC_FlatFile::CreateContainer(const std::string& fileName,
                                         const PqdifTimestamp& creation,
                                         const std::array<std::uint32_t, 4>& version) {
    auto record = CreateRecord(1);
    record->SetRoot(std::make_unique<CPQDIF_E_Collection>());
    CPQDIF_E_Collection* root = record->GetRoot();
    root->SetTag(tagContainer);
    root->AddString(tagFileName, fileName.c_str(), true);
    root->AddTimestamp(tagCreation, creation.days, creation.seconds, true);
    root->AddUInt4Vector(tagVersionInfo, version.data(), 4, true);
    if (records_.empty())
        records_.push_back(std::move(record));
    else
        records_[0] = std::move(record);
    return true;
}

bool CPQDIF_PC_FlatFile::CreateContainerInfo(const std::array<const char*, 13>& texts) {
    static const Guid kTags[13] = {tagLanguage, tagTitle,    tagSubject,     tagAuthor,
                                   tagKeywords, tagComments, tagLastSavedBy, tagApplication,
                                   tagSecurity, tagOwner,    tagCopyright,   tagTrademarks,
                                   tagNotes};
    // The texts join the container that is there, so the file name, creation
    // time and version of CreateContainer are kept.
    CPQDIFRecord* container = GetRecord(0);
    if (!container || container->Tag() != tagContainer || !container->GetRoot()) {
        auto record = CreateRecord(1);
        record->SetRoot(std::make_unique<CPQDIF_E_Collection>());
        record->GetRoot()->SetTag(tagContainer);
        if (records_.empty())
            records_.push_back(std::move(record));
        else
            records_[0] = std::move(record);
        container = records_[0].get();
    }
    for (int i = 0; i < 13; ++i)
        if (texts[static_cast<std::size_t>(i)])
            container->GetRoot()->AddString(kTags[i], texts[static_cast<std::size_t>(i)], true);
    return true;
}

bool CPQDIF_PC_FlatFile::Load() {
    stream_.reset();
    records_.clear();
    compressionStyle_ = compressionAlgorithm_ = 0;
    const bool memory = block_ != nullptr;
    stream_ = CreateStream(memory ? 1 : 0);
    headerProcessor_ = CreateProcessor(0);
    bodyProcessor_ = CreateProcessor(0);
    if (memory) {
        if (!static_cast<CPQDIF_S_Chunk&>(*stream_).Attach(block_, blockLength_)) return false;
    } else if (!static_cast<CPQDIF_S_FlatFile&>(*stream_).Open(fileName_, true)) {
        return false;
    }
    const std::uint64_t size = stream_->Size();

    stream_->SetProcessor(headerProcessor_.get());
    std::unique_ptr<CPQDIFRecord> record = CreateRecord(0);
    if (!record->ReadHeader(*stream_)) return false;
    stream_->SetProcessor(bodyProcessor_.get());
    if (!record->ReadBody(*stream_)) return false;

    if (record->Tag() == tagContainer) {
        const CPQDIF_E_Collection* root = record->GetRoot();
        const CPQDIF_E_Scalar* style =
            root->GetTyped(tagCompressionStyleID, ID_PHYS_TYPE_UNS_INTEGER4);
        const CPQDIF_E_Scalar* algorithm =
            root->GetTyped(tagCompressionAlgorithmID, ID_PHYS_TYPE_UNS_INTEGER4);
        if (style && algorithm) {
            style->GetUInt4(compressionStyle_);
            algorithm->GetUInt4(compressionAlgorithm_);
            if (compressionStyle_ == static_cast<std::uint32_t>(ID_COMP_STYLE_TOTALFILE))
                return false;
            if (compressionStyle_ == static_cast<std::uint32_t>(ID_COMP_STYLE_RECORDLEVEL)) {
                bodyProcessor_ = CreateProcessor(compressionAlgorithm_);
                if (!bodyProcessor_) return false;
            }
        }
    }

    for (;;) {
        std::uint32_t position = 0, link = 0;
        record->GetPosition(position);
        record->GetNextLink(link);
        records_.push_back(std::move(record));
        // Some writers end the chain with a link equal to the file length instead of 0.
        if (link == 0 || link == size) {
            if (memory)
                for (int i = 0; i < GetCount(); ++i) GetRecordLoaded(i);
            return true;
        }
        // A link must lead forward past this record's header and stay inside the
        // data; anything else (a loop, a link beyond the end) ends the walk.
        if (link < std::uint64_t{position} + kRecordHeaderSize || link >= size) return false;
        if (!stream_->Seek(link)) return false;
        stream_->SetProcessor(headerProcessor_.get());
        record = CreateRecord(0);
        if (!record->ReadHeader(*stream_)) return false;
    }
}

std::unique_ptr<CPQDIF_PC_FlatFile> CreateController(int kind) {
    if (kind != 0) return nullptr;
    return std::make_unique<CPQDIF_PC_FlatFile>();
}

std::vector<std::uint8_t> WriteRecords(const std::vector<CPQDIFRecord*>& records,
                                       std::uint32_t algorithm) {
    auto body = CreateProcessor(algorithm);
    CPQDIF_SP_Nothing copy;
    if (!body || records.empty()) return {};
    if (algorithm != 0 && records[0]->Tag() == tagContainer && records[0]->GetRoot()) {
        CPQDIF_E_Collection* root = records[0]->GetRoot();
        std::uint8_t style[4], alg[4];
        WriteU32(style, static_cast<std::uint32_t>(ID_COMP_STYLE_RECORDLEVEL));
        WriteU32(alg, algorithm);
        root->AddScalar(tagCompressionStyleID, ID_PHYS_TYPE_UNS_INTEGER4, style, true);
        root->AddScalar(tagCompressionAlgorithmID, ID_PHYS_TYPE_UNS_INTEGER4, alg, true);
    }
    CPQDIF_S_Chunk stream;
    stream.OpenForWrite();
    std::uint32_t position = 0;
    for (std::size_t i = 0; i < records.size(); ++i) {
        CPQDIFRecord* r = records[i];
        r->SetPosition(position);
        std::uint32_t headerSize = 0, bodySize = 0;
        r->GetSizes(headerSize, bodySize);
        r->SetSizes(kRecordHeaderSize, bodySize);
        stream.SetProcessor(i == 0 ? static_cast<CPQDIF_StreamProcessor*>(&copy) : body.get());
        if (!r->WriteBody(stream)) return {};
        r->GetNextLink(position);
        if (i + 1 == records.size()) r->SetNextLink(0);
        stream.SetProcessor(&copy);
        if (!r->WriteHeader(stream)) return {};
    }
    return stream.Written();
}

}  // namespace kov::pqdif
