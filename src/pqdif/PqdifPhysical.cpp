#include "pqdif/PqdifPhysical.h"

#include <zlib.h>

#include <algorithm>
#include <cstring>
#include <limits>

namespace kov::pqdif {

std::uint32_t Adler32(std::uint32_t start, const std::uint8_t* bytes, std::size_t count) {
    uLong sum = start;
    while (count > 0) {
        const auto step = static_cast<uInt>(std::min<std::size_t>(count, 1u << 30));
        sum = adler32(sum, bytes, step);
        bytes += step;
        count -= step;
    }
    return static_cast<std::uint32_t>(sum);
}

// ---- Processors ----

bool CPQDIF_SP_Nothing::Encode() {
    if (!stream_) return false;
    const std::uint8_t* in = nullptr;
    std::size_t available = 0;
    if (!stream_->GetInput(in, available)) return true;  // nothing to copy
    std::uint8_t* out = stream_->GetOutput(available);
    std::memcpy(out, in, available);
    checksum_ = Adler32(checksum_, out, available);
    stream_->ConsumeInput(available);
    return stream_->CommitOutput(available);
}

bool CPQDIF_SP_ZLIB::Encode() {
    if (!stream_) return false;
    const std::uint8_t* in = nullptr;
    std::size_t available = 0;
    stream_->GetInput(in, available);
    if (available > std::numeric_limits<uInt>::max()) return false;
    z_stream z{};
    if (deflateInit(&z, 9) != Z_OK) return false;
    const uLong room = deflateBound(&z, static_cast<uLong>(available));
    std::uint8_t* out = stream_->GetOutput(room);
    z.next_in = const_cast<Bytef*>(in);
    z.avail_in = static_cast<uInt>(available);
    z.next_out = out;
    z.avail_out = static_cast<uInt>(room);
    const int rc = deflate(&z, Z_FINISH);
    const std::size_t produced = z.total_out;
    const bool ended = deflateEnd(&z) == Z_OK;
    if (rc != Z_STREAM_END || !ended) return false;
    stream_->ConsumeInput(available);
    if (produced != 0) {
        checksum_ = Adler32(checksum_, out, produced);
        return stream_->CommitOutput(produced);
    }
    return true;
}

bool CPQDIF_SP_ZLIB::Decode() {
    if (!stream_) return false;
    const std::uint8_t* in = nullptr;
    std::size_t available = 0;
    stream_->GetInput(in, available);
    if (available > std::numeric_limits<uInt>::max()) return false;
    z_stream z{};
    if (inflateInit(&z) != Z_OK) return false;
    z.next_in = const_cast<Bytef*>(in);
    z.avail_in = static_cast<uInt>(available);
    const std::size_t chunk = std::max<std::size_t>(4 * available, 32768);
    const std::size_t limit = std::min<std::size_t>(kMaxInflated, available * 1100 + 65536);
    // zlib errors are not told apart from the end of the stream: the body is
    // whatever was inflated up to that point.
    for (;;) {
        const std::size_t room = std::min(chunk, limit - stream_->GetOutputLength());
        if (room == 0) break;
        std::uint8_t* out = stream_->GetOutput(room);
        z.next_out = out;
        z.avail_out = static_cast<uInt>(room);
        const int rc = inflate(&z, Z_NO_FLUSH);
        const std::size_t produced = room - z.avail_out;
        if (!stream_->CommitOutput(produced)) break;
        if (rc != Z_OK) break;
    }
    stream_->ConsumeInput(available - z.avail_in);
    return inflateEnd(&z) == Z_OK;
}

std::unique_ptr<CPQDIF_StreamProcessor> CreateProcessor(std::uint32_t algorithm) {
    switch (algorithm) {
        case 0:
            return std::make_unique<CPQDIF_SP_Nothing>();
        case 1:
            return std::make_unique<CPQDIF_SP_ZLIB>();
        default:
            return nullptr;
    }
}

// ---- Stream ----

const std::uint8_t* CPQDIF_StreamIO::ReadBlock(std::size_t count, std::size_t& length) {
    length = 0;
    input_.clear();
    inputPos_ = 0;
    outputFill_ = 0;
    if (!ReadRaw(count)) return nullptr;
    if (!Decode()) return nullptr;
    length = outputFill_;
    return output_.get();
}

void CPQDIF_StreamIO::ResetInput() {
    input_.clear();
    inputPos_ = 0;
}

void CPQDIF_StreamIO::AppendInput(const std::uint8_t* bytes, std::size_t count) {
    if (bytes && count) input_.insert(input_.end(), bytes, bytes + count);
}

bool CPQDIF_StreamIO::WriteBlock(std::size_t& length) {
    length = 0;
    outputFill_ = 0;
    if (!Encode()) return false;
    length = outputFill_;
    return WriteRaw();
}

bool CPQDIF_StreamIO::GetInput(const std::uint8_t*& pointer, std::size_t& available) const {
    pointer = input_.data() + inputPos_;
    available = input_.size() - inputPos_;
    return available > 0;
}

void CPQDIF_StreamIO::ConsumeInput(std::size_t count) {
    inputPos_ = std::min(input_.size(), inputPos_ + count);
}

std::uint8_t* CPQDIF_StreamIO::GetOutput(std::size_t count) {
    if (outputCapacity_ - outputFill_ < count) {
        // Grow geometrically so that repeated reservations stay linear.
        const std::size_t need = outputFill_ + count;
        const std::size_t capacity = std::max(need, outputCapacity_ + outputCapacity_ / 2);
        auto grown = std::make_unique_for_overwrite<std::uint8_t[]>(capacity);
        if (outputFill_) std::memcpy(grown.get(), output_.get(), outputFill_);
        output_ = std::move(grown);
        outputCapacity_ = capacity;
    }
    return output_.get() + outputFill_;
}

bool CPQDIF_StreamIO::CommitOutput(std::size_t count) {
    if (outputCapacity_ - outputFill_ < count) return false;
    outputFill_ += count;
    return true;
}

bool CPQDIF_StreamIO::Encode() {
    if (!processor_) return false;
    processor_->Attach(this);
    return processor_->Encode();
}

bool CPQDIF_StreamIO::Decode() {
    if (!processor_) return false;
    processor_->Attach(this);
    return processor_->Decode();
}

// ---- Flat file ----

CPQDIF_S_FlatFile::~CPQDIF_S_FlatFile() {
    if (file_) std::fclose(file_);
}

bool CPQDIF_S_FlatFile::Open(const std::string& path, bool readOnly) {
    if (file_) return false;
    file_ = std::fopen(path.c_str(), readOnly ? "rb" : "r+b");
    if (!file_) return false;
    readFlag_ = updateFlag_ = !readOnly;
    if (std::fseek(file_, 0, SEEK_END) == 0) {
        const long end = std::ftell(file_);
        size_ = end > 0 ? static_cast<std::uint64_t>(end) : 0;
    }
    std::fseek(file_, 0, SEEK_SET);
    return true;
}

bool CPQDIF_S_FlatFile::Seek(std::uint64_t position) {
    if (!file_ || position > static_cast<std::uint64_t>(std::numeric_limits<long>::max()))
        return false;
    return std::fseek(file_, static_cast<long>(position), SEEK_SET) == 0;
}

bool CPQDIF_S_FlatFile::Tell(std::uint64_t& position) const {
    position = 0;
    if (!file_) return false;
    const long at = std::ftell(file_);
    if (at < 0) return false;
    position = static_cast<std::uint64_t>(at);
    return true;
}

bool CPQDIF_S_FlatFile::SeekToEnd() {
    return file_ && std::fseek(file_, 0, SEEK_END) == 0;
}

bool CPQDIF_S_FlatFile::Flush() {
    return file_ && std::fflush(file_) == 0;
}

bool CPQDIF_S_FlatFile::ReadRaw(std::size_t count) {
    std::uint64_t at = 0;
    if (!file_ || !Tell(at) || at >= size_) return false;
    // Never ask for more than the file holds, whatever a header claims.
    const auto n = static_cast<std::size_t>(std::min<std::uint64_t>(count, size_ - at));
    input_.resize(n);
    const std::size_t got = std::fread(input_.data(), 1, n, file_);
    input_.resize(got);
    return got >= 1;
}

bool CPQDIF_S_FlatFile::WriteRaw() {
    if (!file_) return false;
    const std::size_t put = outputFill_ ? std::fwrite(output_.get(), 1, outputFill_, file_) : 0;
    std::uint64_t at = 0;
    if (Tell(at)) size_ = std::max(size_, at);
    return put == outputFill_;
}

// ---- Chunk ----

bool CPQDIF_S_Chunk::Attach(const std::uint8_t* block, std::size_t length) {
    if (!block || length < 1) {
        block_ = nullptr;
        length_ = 0;
        return false;
    }
    block_ = block;
    length_ = length;
    position_ = 0;
    readFlag_ = updateFlag_ = false;
    return true;
}

void CPQDIF_S_Chunk::OpenForWrite() {
    block_ = nullptr;
    length_ = 0;
    written_.clear();
    position_ = 0;
    readFlag_ = updateFlag_ = true;
}

bool CPQDIF_S_Chunk::Seek(std::uint64_t position) {
    position_ = position;
    return true;
}

bool CPQDIF_S_Chunk::Tell(std::uint64_t& position) const {
    position = position_;
    return true;
}

bool CPQDIF_S_Chunk::SeekToEnd() {
    position_ = block_ ? length_ : written_.size();
    return true;
}

bool CPQDIF_S_Chunk::ReadRaw(std::size_t count) {
    if (!block_ || length_ < 1 || position_ >= length_) return false;
    const auto n = static_cast<std::size_t>(std::min<std::uint64_t>(count, length_ - position_));
    if (n < 1) return false;
    input_.assign(block_ + position_, block_ + position_ + n);
    position_ += n;
    return true;
}

bool CPQDIF_S_Chunk::WriteRaw() {
    if (position_ > std::numeric_limits<std::uint32_t>::max()) return false;
    const auto at = static_cast<std::size_t>(position_);
    if (written_.size() < at + outputFill_) written_.resize(at + outputFill_, 0);
    if (outputFill_) std::memcpy(written_.data() + at, output_.get(), outputFill_);
    position_ = at + outputFill_;
    return true;
}

std::unique_ptr<CPQDIF_StreamIO> CreateStream(int kind) {
    switch (kind) {
        case 0:
            return std::make_unique<CPQDIF_S_FlatFile>();
        case 1:
            return std::make_unique<CPQDIF_S_Chunk>();
        default:
            return nullptr;
    }
}

}  // namespace kov::pqdif
