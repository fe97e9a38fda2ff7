#pragma once
// The byte streams under a PQDIF file and the stream processors that carry
// record bytes between a stream and memory: a copying processor and a zlib
// processor, each keeping a running Adler-32 of the bytes as stored.
//
// A stream reads one block at a time: the raw bytes go into its input buffer,
// the processor decodes them into its output buffer, and the caller gets the
// output. Writing goes the other way: bytes appended to the input are encoded
// and written at the current position.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

namespace kov::pqdif {

class CPQDIF_StreamIO;

// Adler-32 of bytes, continued from `start` (1 for no bytes).
std::uint32_t Adler32(std::uint32_t start, const std::uint8_t* bytes, std::size_t count);

class CPQDIF_StreamProcessor {
public:
    virtual ~CPQDIF_StreamProcessor() = default;
    std::uint32_t GetChecksum() const { return checksum_; }
    void Attach(CPQDIF_StreamIO* stream) { stream_ = stream; }
    virtual bool Encode() = 0;
    virtual bool Decode() = 0;
    void ResetChecksum() { checksum_ = 1; }

protected:
    CPQDIF_StreamIO* stream_ = nullptr;
    std::uint32_t checksum_ = 1;
};

// Copies bytes unchanged in both directions and sums what it copies.
class CPQDIF_SP_Nothing : public CPQDIF_StreamProcessor {
public:
    bool Encode() override;
    bool Decode() override { return Encode(); }
};

// Deflates (level 9) on encode and inflates on decode. The inflated size of one
// block is bounded: deflate never compresses better than about 1:1032, so
// output beyond 1100 times the input (or beyond kMaxInflated) cannot be a
// genuine stream and ends the decode with what was produced so far.
class CPQDIF_SP_ZLIB : public CPQDIF_StreamProcessor {
public:
    bool Encode() override;
    bool Decode() override;
    static constexpr std::size_t kMaxInflated = std::size_t{512} << 20;
};

class CPQDIF_StreamIO {
public:
    virtual ~CPQDIF_StreamIO() = default;
    virtual bool Seek(std::uint64_t position) = 0;
    virtual bool Tell(std::uint64_t& position) const = 0;
    virtual bool SeekToEnd() = 0;
    // Total bytes the stream can be read from (file size or memory block length).
    virtual std::uint64_t Size() const = 0;

    // Reads up to count raw bytes at the position and decodes them; the decoded
    // bytes stay valid until the next block operation. Null on failure.
    const std::uint8_t* ReadBlock(std::size_t count, std::size_t& length);
    bool IsReadOpen() const { return readFlag_; }
    bool IsUpdateOpen() const { return updateFlag_; }
    void ResetInput();
    void AppendInput(const std::uint8_t* bytes, std::size_t count);
    // Encodes the input and writes it at the position; length = bytes written.
    bool WriteBlock(std::size_t& length);
    virtual bool Flush() { return true; }
    void SetProcessor(CPQDIF_StreamProcessor* processor) { processor_ = processor; }
    CPQDIF_StreamProcessor* GetProcessor() const { return processor_; }
    std::uint32_t GetChecksum() const { return processor_ ? processor_->GetChecksum() : 1; }
    void ResetChecksum() {
        if (processor_) processor_->ResetChecksum();
    }

    // Processor side: the unread input, room in the output, committing output.
    bool GetInput(const std::uint8_t*& pointer, std::size_t& available) const;
    void ConsumeInput(std::size_t count);
    std::uint8_t* GetOutput(std::size_t count);
    bool CommitOutput(std::size_t count);
    std::size_t GetOutputLength() const { return outputFill_; }
    bool Encode();
    bool Decode();

protected:
    // Reads up to count raw bytes at the position into the input buffer.
    virtual bool ReadRaw(std::size_t count) = 0;
    // Writes the output buffer at the position.
    virtual bool WriteRaw() = 0;

    CPQDIF_StreamProcessor* processor_ = nullptr;
    bool readFlag_ = false;
    bool updateFlag_ = false;
    std::vector<std::uint8_t> input_;
    std::size_t inputPos_ = 0;
    std::unique_ptr<std::uint8_t[]> output_;
    std::size_t outputCapacity_ = 0;
    std::size_t outputFill_ = 0;
};

// A stream over a disk file.
class CPQDIF_S_FlatFile : public CPQDIF_StreamIO {
public:
    ~CPQDIF_S_FlatFile() override;
    // Fails when a file is already open; "rb" when readOnly, else "r+b".
    bool Open(const std::string& path, bool readOnly);
    bool Seek(std::uint64_t position) override;
    bool Tell(std::uint64_t& position) const override;
    bool SeekToEnd() override;
    std::uint64_t Size() const override { return size_; }
    bool Flush() override;

protected:
    bool ReadRaw(std::size_t count) override;
    bool WriteRaw() override;

private:
    std::FILE* file_ = nullptr;
    std::uint64_t size_ = 0;
};

// A stream over a caller's memory block (read) and a buffer of its own (write).
// Writes land at the current position, so headers can be rewritten in place.
class CPQDIF_S_Chunk : public CPQDIF_StreamIO {
public:
    // Fails and clears the block when the pointer is null or length < 1.
    bool Attach(const std::uint8_t* block, std::size_t length);
    // Opens the stream for writing into its own buffer.
    void OpenForWrite();
    bool Seek(std::uint64_t position) override;
    bool Tell(std::uint64_t& position) const override;
    bool SeekToEnd() override;
    std::uint64_t Size() const override { return block_ ? length_ : written_.size(); }
    const std::vector<std::uint8_t>& Written() const { return written_; }

protected:
    bool ReadRaw(std::size_t count) override;
    bool WriteRaw() override;

private:
    const std::uint8_t* block_ = nullptr;
    std::size_t length_ = 0;
    std::vector<std::uint8_t> written_;
    std::uint64_t position_ = 0;
};

// Factories: stream kind 0 file, 1 memory; processor algorithm 0 copying,
// 1 zlib (anything else, PKZIP included, gives null).
std::unique_ptr<CPQDIF_StreamIO> CreateStream(int kind);
std::unique_ptr<CPQDIF_StreamProcessor> CreateProcessor(std::uint32_t algorithm);

}  // namespace kov::pqdif
