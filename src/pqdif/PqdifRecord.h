#pragma once
// PQDIF records and the persistence controller that walks a file's record
// chain.
//
// Record header (64 bytes, little-endian): signature GUID, record type tag,
// header size, body size (as stored), absolute link to the next record (0 for
// the last), checksum, 16 reserved bytes. The container record comes first;
// its compression tags choose how every later body is stored.

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "pqdif/PqdifElement.h"
#include "pqdif/PqdifPhysical.h"
#include "stack/Acquisition.h"

namespace kov::pqdif {

inline constexpr std::uint32_t kRecordHeaderSize = 64;

class CPQDIFRecord {
public:
    virtual ~CPQDIFRecord() = default;
    virtual bool ReadHeader(CPQDIF_StreamIO& stream) = 0;
    virtual bool ReadBody(CPQDIF_StreamIO& stream) = 0;
    virtual bool WriteHeader(CPQDIF_StreamIO& stream) = 0;
    virtual bool WriteBody(CPQDIF_StreamIO& stream) = 0;
    virtual bool GetPosition(std::uint32_t& position) const = 0;
    virtual bool SetPosition(std::uint32_t position) = 0;
    virtual bool GetTag(Guid& tag) const = 0;
    virtual bool SetTag(const Guid& tag) = 0;
    virtual bool GetSizes(std::uint32_t& headerSize, std::uint32_t& bodySize) const = 0;
    virtual bool SetSizes(std::uint32_t headerSize, std::uint32_t bodySize) = 0;
    virtual bool GetChecksum(std::uint32_t& value) const = 0;
    virtual bool SetChecksum(std::uint32_t value) = 0;
    virtual bool GetNextLink(std::uint32_t& link) const = 0;
    virtual bool SetNextLink(std::uint32_t link) = 0;
    virtual CPQDIF_E_Collection* GetRoot() const = 0;
    // Destroys the old root; takes ownership of a new one and becomes the owner of its tree.
    virtual void SetRoot(std::unique_ptr<CPQDIF_E_Collection> root) = 0;
    virtual bool IsModified() const = 0;
    virtual void SetModified(bool flag) = 0;

    // Convenience: the record type tag.
    Guid Tag() const {
        Guid g;
        GetTag(g);
        return g;
    }
};

class CPQDIF_R_General : public CPQDIFRecord {
public:
    CPQDIF_R_General();
    // Reads 64 header bytes at the current stream position through the stream's
    // processor; fails on a short read or a wrong signature.
    bool ReadHeader(CPQDIF_StreamIO& stream) override;
    // Reads and parses the body once. Fails when the body lies outside the stream
    // or decodes to nothing; the record then keeps no root, so a later call tries again.
    bool ReadBody(CPQDIF_StreamIO& stream) override;
    bool WriteHeader(CPQDIF_StreamIO& stream) override;
    // Serialises the tree as one block after the header; sets body size, checksum
    // and next link (position + header size + body size).
    bool WriteBody(CPQDIF_StreamIO& stream) override;
    bool GetPosition(std::uint32_t& position) const override {
        position = position_;
        return true;
    }
    bool SetPosition(std::uint32_t position) override {
        position_ = position;
        return true;
    }
    bool GetTag(Guid& tag) const override {
        tag = tag_;
        return true;
    }
    bool SetTag(const Guid& tag) override {
        tag_ = tag;
        return true;
    }
    bool GetSizes(std::uint32_t& headerSize, std::uint32_t& bodySize) const override {
        headerSize = headerSize_;
        bodySize = bodySize_;
        return true;
    }
    bool SetSizes(std::uint32_t headerSize, std::uint32_t bodySize) override {
        headerSize_ = headerSize;
        bodySize_ = bodySize;
        return true;
    }
    bool GetChecksum(std::uint32_t& value) const override {
        value = checksum_;
        return true;
    }
    bool SetChecksum(std::uint32_t value) override {
        checksum_ = value;
        return true;
    }
    bool GetNextLink(std::uint32_t& link) const override {
        link = nextLink_;
        return true;
    }
    bool SetNextLink(std::uint32_t link) override {
        nextLink_ = link;
        return true;
    }
    CPQDIF_E_Collection* GetRoot() const override { return root_.get(); }
    void SetRoot(std::unique_ptr<CPQDIF_E_Collection> root) override;
    bool IsModified() const override { return modified_; }
    void SetModified(bool flag) override { modified_ = flag; }

    // The 64 header bytes as they are written.
    std::array<std::uint8_t, 64> HeaderBytes() const;

private:
    Guid signature_;
    Guid tag_;
    std::uint32_t headerSize_ = kRecordHeaderSize;
    std::uint32_t bodySize_ = 0;
    std::uint32_t nextLink_ = 0;
    std::uint32_t checksum_ = 0;
    std::array<std::uint32_t, 4> reserved_{};
    std::uint32_t position_ = 0;
    std::unique_ptr<CPQDIF_E_Collection> root_;
    bool modified_ = false;
};

// Record kinds: 0 blank, 1 container, 2 data source, 3 monitor settings, 4 observation.
std::unique_ptr<CPQDIFRecord> CreateRecord(int kind);

class CPQDIF_PersistController {
public:
    virtual ~CPQDIF_PersistController() = default;
    virtual int GetCount() const = 0;
    virtual CPQDIFRecord* GetRecord(int index) const = 0;
    // The record with its body read (on first request for files on disk); null when
    // the index is out of range or the body cannot be read.
    virtual CPQDIFRecord* GetRecordLoaded(int index) = 0;
    virtual bool InsertRecord(std::unique_ptr<CPQDIFRecord> record, int index) = 0;
    // Takes the record out of the list and hands it to the caller.
    virtual std::unique_ptr<CPQDIFRecord> RemoveRecord(int index) = 0;
    virtual bool CreateContainer(const std::string& fileName, const PqdifTimestamp& creation,
                                 const std::array<std::uint32_t, 4>& version) = 0;
    // Thirteen texts in the order tagLanguage, tagTitle, tagSubject, tagAuthor,
    // tagKeywords, tagComments, tagLastSavedBy, tagApplication, tagSecurity, tagOwner,
    // tagCopyright, tagTrademarks, tagNotes; a null text adds nothing.
    virtual bool CreateContainerInfo(const std::array<const char*, 13>& texts) = 0;
};

class CPQDIF_PC_FlatFile : public CPQDIF_PersistController {
public:
    int GetCount() const override { return static_cast<int>(records_.size()); }
    CPQDIFRecord* GetRecord(int index) const override;
    CPQDIFRecord* GetRecordLoaded(int index) override;
    bool InsertRecord(std::unique_ptr<CPQDIFRecord> record, int index) override;
    std::unique_ptr<CPQDIFRecord> RemoveRecord(int index) override;
    bool CreateContainer(const std::string& fileName, const PqdifTimestamp& creation,
                         const std::array<std::uint32_t, 4>& version) override;
    bool CreateContainerInfo(const std::array<const char*, 13>& texts) override;

    void SetFileName(const std::string& path) { fileName_ = path; }
    // A memory block (not owned) read instead of the file; it must outlive the controller.
    void SetMemoryBlock(const std::uint8_t* block, std::size_t length) {
        block_ = block;
        blockLength_ = length;
    }

    // Reads the chain of record headers and the container body (and, for a memory
    // block, every body). False when the file cannot be read as PQDIF or the chain
    // breaks; the records read before the break stay listed.
    bool Load();

    // The compression read from the container (0 when absent).
    std::uint32_t CompressionStyle() const { return compressionStyle_; }
    std::uint32_t CompressionAlgorithm() const { return compressionAlgorithm_; }
    // The size of the file or memory block being read.
    std::uint64_t StreamSize() const { return stream_ ? stream_->Size() : 0; }

private:
    std::vector<std::unique_ptr<CPQDIFRecord>> records_;
    std::string fileName_;
    const std::uint8_t* block_ = nullptr;
    std::size_t blockLength_ = 0;
    std::unique_ptr<CPQDIF_StreamIO> stream_;
    std::unique_ptr<CPQDIF_StreamProcessor> headerProcessor_;
    std::unique_ptr<CPQDIF_StreamProcessor> bodyProcessor_;
    std::uint32_t compressionStyle_ = 0;
    std::uint32_t compressionAlgorithm_ = 0;
};

// Controller kind 0 gives CPQDIF_PC_FlatFile; anything else null.
std::unique_ptr<CPQDIF_PC_FlatFile> CreateController(int kind);

// Lays records out one after another from offset 0 and returns the file bytes:
// the first record's body is stored uncompressed, every later body through the
// given algorithm (0 copying, 1 zlib); the last record links to 0. Empty on failure.
std::vector<std::uint8_t> WriteRecords(const std::vector<CPQDIFRecord*>& records,
                                       std::uint32_t algorithm);

}  // namespace kov::pqdif
