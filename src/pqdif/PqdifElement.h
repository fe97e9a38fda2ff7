#pragma once
// The element tree of a PQDIF record body: collections that hold elements,
// scalars that hold one typed value and vectors that hold a counted array of
// typed values; the parser that builds a tree from body bytes and the
// serialiser that lays a tree out as body bytes.
//
// Body layout: the root collection is a 32-bit child count followed by 28-byte
// element headers (tag GUID, element type, physical type, embedded flag,
// reserved byte, 32-bit link, 32-bit size). Links are offsets from the start
// of the body; collection and vector blocks start with a 32-bit count. All
// integers are little-endian.

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "stack/Acquisition.h"

namespace kov::pqdif {

class CPQDIFRecord;

// Element kinds as stored in element headers.
inline constexpr int kElementCollection = 1;
inline constexpr int kElementScalar = 2;
inline constexpr int kElementVector = 3;

// Width in bytes of one value of a physical type; codes without a width count as 1 byte.
int PhysicalTypeWidth(int code);

// Converts one stored value to double: booleans, characters and integers by
// their signedness, reals as they are, timestamps as day count + seconds/86400;
// complex numbers and GUIDs give 0.0 and succeed; other codes fail with 0.0.
bool ConvertToDouble(int code, const std::uint8_t* bytes, double& value);

// Little-endian helpers over raw bytes.
std::uint16_t ReadU16(const std::uint8_t* p);
std::uint32_t ReadU32(const std::uint8_t* p);
double ReadF64(const std::uint8_t* p);
float ReadF32(const std::uint8_t* p);
void WriteU32(std::uint8_t* p, std::uint32_t v);
void WriteF64(std::uint8_t* p, double v);

// A value prepared for display: the typed value of one element as the
// platform's variant type would hold it.
struct PqdifVariant {
    enum class Kind { Empty, Bool, I1, I2, I4, R4, R8, Text, Date, GuidWords };
    Kind kind = Kind::Empty;
    std::int64_t integer = 0;             // Bool (0 or 1), I1, I2, I4
    double real = 0.0;                    // R4, R8, Date (days since 1899-12-30 with fraction)
    std::string text;                     // Text
    std::array<std::int32_t, 4> words{};  // GuidWords: the 16 GUID bytes as four 32-bit words

    // The value as text ("TRUE"/"FALSE", integers, "%.8g" for R4, "%.16g" for R8 and Date,
    // the four words as hexadecimal for GUIDs, "" for Empty).
    std::string ToString() const;
};

// Converts one stored value for display; false (Empty) for codes without a conversion.
bool ConvertToVariant(int code, const std::uint8_t* bytes, PqdifVariant& out);

class CPQDIF_Element {
public:
    virtual ~CPQDIF_Element() = default;
    // -1 for the base, 1 collection, 2 scalar, 3 vector.
    virtual int GetElementType() const { return -1; }
    virtual void SetOwner(CPQDIFRecord* owner) { owner_ = owner; }
    virtual bool SetPhysicalType(int code);

    const Guid& GetTag() const { return tag_; }
    void SetTag(const Guid& tag) { tag_ = tag; }
    int GetPhysicalType() const { return physicalType_; }
    CPQDIFRecord* GetOwner() const { return owner_; }

protected:
    // Tells the owning record that its body changed.
    void MarkModified();

    Guid tag_;
    int physicalType_ = 0;
    CPQDIFRecord* owner_ = nullptr;
};

class CPQDIF_E_Scalar;
class CPQDIF_E_Vector;

class CPQDIF_E_Collection : public CPQDIF_Element {
public:
    CPQDIF_E_Collection() { children_.reserve(32); }
    int GetElementType() const override { return kElementCollection; }
    void SetOwner(CPQDIFRecord* owner) override;
    bool SetPhysicalType(int) override { return false; }

    int GetCount() const { return static_cast<int>(children_.size()); }
    CPQDIF_Element* GetChild(int index) const;

    // Places the element after every child whose tag bytes are lower or equal, so
    // children with equal tags keep their insertion order. Returns the element.
    CPQDIF_Element* Insert(std::unique_ptr<CPQDIF_Element> element);
    // Takes the place of the first child with the same tag (which is destroyed), or inserts.
    CPQDIF_Element* Replace(std::unique_ptr<CPQDIF_Element> element);
    // Appends without keeping the order; SortChildren() restores it. The parser
    // adds a whole level this way, which keeps it O(n log n) in the child count.
    CPQDIF_Element* Append(std::unique_ptr<CPQDIF_Element> element);
    // Stable sort by tag bytes: the order Insert would have given.
    void SortChildren();
    // Removes and returns the child at index (null outside the range).
    std::unique_ptr<CPQDIF_Element> Remove(int index);

    // First child with the tag whose element type is kind (-1 accepts any kind).
    CPQDIF_Element* Find(const Guid& tag, int kind = -1) const;
    CPQDIF_E_Collection* FindCollection(const Guid& tag) const;
    CPQDIF_E_Scalar* FindScalar(const Guid& tag) const;
    CPQDIF_E_Vector* FindVector(const Guid& tag) const;
    // The scalar with the tag when its physical type is exactly expectedCode.
    CPQDIF_E_Scalar* GetTyped(const Guid& tag, int expectedCode) const;

    // Convenience adders; `replace` chooses Replace over Insert.
    CPQDIF_E_Vector* AddString(const Guid& tag, const char* text, bool replace = false);
    CPQDIF_E_Vector* AddUInt4Vector(const Guid& tag, const std::uint32_t* values, int count,
                                    bool replace = false);
    CPQDIF_E_Scalar* AddTimestamp(const Guid& tag, std::uint32_t days, double seconds,
                                  bool replace = false);
    CPQDIF_E_Scalar* AddScalar(const Guid& tag, int code, const void* bytes, bool replace = false);
    CPQDIF_E_Collection* AddCollection(const Guid& tag, bool replace = false);

private:
    std::vector<std::unique_ptr<CPQDIF_Element>> children_;
};

class CPQDIF_E_Scalar : public CPQDIF_Element {
public:
    int GetElementType() const override { return kElementScalar; }

    // Stores the code and copies width(code) bytes (at most 16).
    void SetValue(int code, const void* bytes);
    // Raw code and the 16-byte value area; fails when the code is 0.
    bool GetRaw(int& code, std::uint8_t bytes[16]) const;
    const std::uint8_t* GetValueBytes() const { return value_.data(); }

    bool GetUInt4(std::uint32_t& value) const;
    bool GetBool4(bool& value) const;
    bool GetReal8(double& value) const;
    bool GetGuid(Guid& value) const;
    bool GetTimestamp(PqdifTimestamp& value) const;
    bool GetAsDouble(double& value) const;
    bool GetVariant(PqdifVariant& value) const;

    void SetUInt4(std::uint32_t value);
    void SetBool4(bool value);
    void SetReal8(double value);
    void SetGuid(const Guid& value);
    void SetTimestamp(std::uint32_t days, double seconds);

private:
    std::array<std::uint8_t, 16> value_{};
};

class CPQDIF_E_Vector : public CPQDIF_Element {
public:
    int GetElementType() const override { return kElementVector; }
    // Keeps the element count: the buffer becomes count × new width (bytes are not converted).
    bool SetPhysicalType(int code) override;

    int GetCount() const;
    void SetCount(int count);
    const std::uint8_t* GetRawPointer() const { return data_.data(); }
    std::size_t GetByteSize() const { return data_.size(); }
    // Sets type, count and copies count × width bytes.
    void SetValues(int code, const void* bytes, std::size_t count);

    bool GetRaw(int index, void* out) const;
    bool GetAsDouble(int index, double& value) const;
    bool GetVariant(int index, PqdifVariant& value) const;

    void SetUInt4Array(const std::uint32_t* values, int count);
    // Copies min(max, count) values of a UNS_INTEGER4 vector; -1 for other types.
    int GetUInt4Array(std::uint32_t* out, int max) const;
    bool SetReal8(int index, double value);
    bool GetReal8(int index, double& value) const;
    // CHAR1: the bytes and a terminating zero; CHAR2: each character sign-extended
    // to 16 bits, then a zero. Other codes fail.
    bool SetString(const std::string& text);
    // CHAR1: bytes up to the first zero; CHAR2: the low byte of each character before
    // the terminating one (and before any zero). Other codes fail.
    bool GetString(std::string& text) const;

private:
    std::vector<std::uint8_t> data_;
};

// Factory: 1 collection, 2 scalar, 3 vector; null for anything else.
std::unique_ptr<CPQDIF_Element> CreateElement(int kind);

// Builds element trees from body bytes. Every link, count and size read from
// the body is checked against the body before use; collection blocks are
// visited at most once, nesting is bounded, and a body yields no more elements
// than it has room for headers (length / 28) and no more vector data than twice
// its length, so hostile bodies cannot loop, recurse without end or multiply
// the data they hold.
class PQController {
public:
    virtual ~PQController() = default;
    // Parses a body into root. False when a level ended early (a count below 1, a
    // link or block outside the body); what was read before stays in the tree.
    virtual bool ParseBody(const std::uint8_t* bytes, std::size_t length,
                           CPQDIF_E_Collection* root);

    virtual CPQDIF_E_Collection* AddCollection(CPQDIF_E_Collection* parent, int index,
                                               const std::uint8_t* header);
    virtual CPQDIF_E_Scalar* AddScalar(CPQDIF_E_Collection* parent, int index,
                                       const std::uint8_t* header, int physicalType,
                                       const std::uint8_t* valueBytes);
    virtual CPQDIF_E_Vector* AddVector(CPQDIF_E_Collection* parent, int index,
                                       const std::uint8_t* header, int physicalType,
                                       std::uint32_t& count, const std::uint8_t* dataBytes);

    // Deepest collection nesting accepted below the root.
    static constexpr int kMaxDepth = 64;
};

// Lays a tree out as body bytes: the root block, then every other block in
// pre-order, each zero-padded to a multiple of 4 bytes.
std::vector<std::uint8_t> SerializeBody(const CPQDIF_E_Collection& root);

}  // namespace kov::pqdif
