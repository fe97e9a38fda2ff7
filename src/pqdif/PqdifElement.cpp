#include "pqdif/PqdifElement.h"

#include <algorithm>
#include <cinttypes>
#include <cstdio>
#include <cstring>
#include <unordered_set>

#include "pqdif/PqdifIdentifiers.h"
#include "pqdif/PqdifRecord.h"

namespace kov::pqdif {

namespace {

constexpr std::size_t kHeaderSize = 28;

std::size_t Pad4(std::size_t n) {
    return (n + 3) & ~static_cast<std::size_t>(3);
}

template <typename T>
T Load(const std::uint8_t* p) {
    T v;
    std::memcpy(&v, p, sizeof v);
    return v;
}

}  // namespace

std::uint16_t ReadU16(const std::uint8_t* p) {
    return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}
std::uint32_t ReadU32(const std::uint8_t* p) {
    return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
           (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}
double ReadF64(const std::uint8_t* p) {
    std::uint64_t bits = ReadU32(p) | (static_cast<std::uint64_t>(ReadU32(p + 4)) << 32);
    double v;
    std::memcpy(&v, &bits, sizeof v);
    return v;
}
float ReadF32(const std::uint8_t* p) {
    std::uint32_t bits = ReadU32(p);
    float v;
    std::memcpy(&v, &bits, sizeof v);
    return v;
}
void WriteU32(std::uint8_t* p, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) p[i] = static_cast<std::uint8_t>(v >> (8 * i));
}
void WriteF64(std::uint8_t* p, double v) {
    std::uint64_t bits;
    std::memcpy(&bits, &v, sizeof v);
    for (int i = 0; i < 8; ++i) p[i] = static_cast<std::uint8_t>(bits >> (8 * i));
}

int PhysicalTypeWidth(int code) {
    switch (code) {
        case ID_PHYS_TYPE_BOOLEAN2:
        case ID_PHYS_TYPE_CHAR2:
        case ID_PHYS_TYPE_INTEGER2:
        case ID_PHYS_TYPE_UNS_INTEGER2:
            return 2;
        case ID_PHYS_TYPE_BOOLEAN4:
        case ID_PHYS_TYPE_INTEGER4:
        case ID_PHYS_TYPE_UNS_INTEGER4:
        case ID_PHYS_TYPE_REAL4:
            return 4;
        case ID_PHYS_TYPE_REAL8:
        case ID_PHYS_TYPE_COMPLEX8:
            return 8;
        case ID_PHYS_TYPE_TIMESTAMPPQDIF:
            return 12;
        case ID_PHYS_TYPE_COMPLEX16:
        case ID_PHYS_TYPE_GUID:
            return 16;
        default:
            return 1;
    }
}

bool ConvertToDouble(int code, const std::uint8_t* b, double& value) {
    value = 0.0;
    switch (code) {
        case ID_PHYS_TYPE_BOOLEAN1:
        case ID_PHYS_TYPE_CHAR1:
        case ID_PHYS_TYPE_INTEGER1:
            value = static_cast<std::int8_t>(b[0]);
            return true;
        case ID_PHYS_TYPE_BOOLEAN2:
        case ID_PHYS_TYPE_CHAR2:
        case ID_PHYS_TYPE_INTEGER2:
            value = static_cast<std::int16_t>(ReadU16(b));
            return true;
        case ID_PHYS_TYPE_BOOLEAN4:
        case ID_PHYS_TYPE_INTEGER4:
            value = static_cast<std::int32_t>(ReadU32(b));
            return true;
        case ID_PHYS_TYPE_UNS_INTEGER1:
            value = b[0];
            return true;
        case ID_PHYS_TYPE_UNS_INTEGER2:
            value = ReadU16(b);
            return true;
        case ID_PHYS_TYPE_UNS_INTEGER4:
            value = ReadU32(b);
            return true;
        case ID_PHYS_TYPE_REAL4:
            value = ReadF32(b);
            return true;
        case ID_PHYS_TYPE_REAL8:
            value = ReadF64(b);
            return true;
        case ID_PHYS_TYPE_TIMESTAMPPQDIF:
            value = ReadU32(b) + ReadF64(b + 4) / 86400.0;
            return true;
        case ID_PHYS_TYPE_COMPLEX8:
        case ID_PHYS_TYPE_COMPLEX16:
        case ID_PHYS_TYPE_GUID:
            return true;
        default:
            return false;
    }
}

bool ConvertToVariant(int code, const std::uint8_t* b, PqdifVariant& out) {
    out = PqdifVariant{};
    using K = PqdifVariant::Kind;
    switch (code) {
        case ID_PHYS_TYPE_BOOLEAN1:
            out.kind = K::Bool;
            out.integer = static_cast<std::int8_t>(b[0]) != 0;
            return true;
        case ID_PHYS_TYPE_BOOLEAN2:
        case ID_PHYS_TYPE_BOOLEAN4:
            out.kind = K::Bool;
            out.integer = ReadU16(b) != 0;
            return true;
        case ID_PHYS_TYPE_CHAR1:
        case ID_PHYS_TYPE_INTEGER1:
        case ID_PHYS_TYPE_UNS_INTEGER1:
            out.kind = K::I1;
            out.integer = static_cast<std::int8_t>(b[0]);
            return true;
        case ID_PHYS_TYPE_CHAR2:
        case ID_PHYS_TYPE_INTEGER2:
        case ID_PHYS_TYPE_UNS_INTEGER2:
            out.kind = K::I2;
            out.integer = static_cast<std::int16_t>(ReadU16(b));
            return true;
        case ID_PHYS_TYPE_INTEGER4:
        case ID_PHYS_TYPE_UNS_INTEGER4:
            out.kind = K::I4;
            out.integer = static_cast<std::int32_t>(ReadU32(b));
            return true;
        case ID_PHYS_TYPE_REAL4:
            out.kind = K::R4;
            out.real = ReadF32(b);
            return true;
        case ID_PHYS_TYPE_REAL8:
            out.kind = K::R8;
            out.real = ReadF64(b);
            return true;
        case ID_PHYS_TYPE_COMPLEX8: {
            char text[64];
            std::snprintf(text, sizeof text, "%.8g %.8g", static_cast<double>(ReadF32(b)),
                          static_cast<double>(ReadF32(b + 4)));
            out.kind = K::Text;
            out.text = text;
            return true;
        }
        case ID_PHYS_TYPE_COMPLEX16: {
            char text[80];
            std::snprintf(text, sizeof text, "%.16g %.16g", ReadF64(b), ReadF64(b + 8));
            out.kind = K::Text;
            out.text = text;
            return true;
        }
        case ID_PHYS_TYPE_TIMESTAMPPQDIF:
            out.kind = K::Date;
            out.real = ReadU32(b) + ReadF64(b + 4) * 1.1574074074074073e-5;
            return true;
        case ID_PHYS_TYPE_GUID:
            out.kind = K::GuidWords;
            for (int i = 0; i < 4; ++i)
                out.words[i] = static_cast<std::int32_t>(ReadU32(b + 4 * i));
            return true;
        default:
            return false;
    }
}

std::string PqdifVariant::ToString() const {
    char text[80];
    switch (kind) {
        case Kind::Empty:
            return "";
        case Kind::Bool:
            return integer ? "TRUE" : "FALSE";
        case Kind::I1:
        case Kind::I2:
        case Kind::I4:
            std::snprintf(text, sizeof text, "%" PRId64, integer);
            return text;
        case Kind::R4:
            std::snprintf(text, sizeof text, "%.8g", real);
            return text;
        case Kind::R8:
        case Kind::Date:
            std::snprintf(text, sizeof text, "%.16g", real);
            return text;
        case Kind::Text:
            return this->text;
        case Kind::GuidWords:
            std::snprintf(text, sizeof text, "%08X %08X %08X %08X", static_cast<unsigned>(words[0]),
                          static_cast<unsigned>(words[1]), static_cast<unsigned>(words[2]),
                          static_cast<unsigned>(words[3]));
            return text;
    }
    return "";
}

// ---- Element ----

void CPQDIF_Element::MarkModified() {
    if (owner_) owner_->SetModified(true);
}

bool CPQDIF_Element::SetPhysicalType(int code) {
    physicalType_ = code;
    MarkModified();
    return true;
}

// ---- Collection ----

void CPQDIF_E_Collection::SetOwner(CPQDIFRecord* owner) {
    owner_ = owner;
    for (auto& child : children_) child->SetOwner(owner);
}

CPQDIF_Element* CPQDIF_E_Collection::GetChild(int index) const {
    if (index < 0 || index >= GetCount()) return nullptr;
    return children_[static_cast<std::size_t>(index)].get();
}

CPQDIF_Element* CPQDIF_E_Collection::Insert(std::unique_ptr<CPQDIF_Element> element) {
    if (!element) return nullptr;
    auto at = std::upper_bound(children_.begin(), children_.end(), element->GetTag(),
                               [](const Guid& tag, const std::unique_ptr<CPQDIF_Element>& e) {
                                   return tag < e->GetTag();
                               });
    element->SetOwner(owner_);
    CPQDIF_Element* raw = element.get();
    children_.insert(at, std::move(element));
    MarkModified();
    return raw;
}

CPQDIF_Element* CPQDIF_E_Collection::Replace(std::unique_ptr<CPQDIF_Element> element) {
    if (!element) return nullptr;
    for (auto& child : children_) {
        if (child->GetTag() == element->GetTag()) {
            element->SetOwner(owner_);
            child = std::move(element);
            MarkModified();
            return child.get();
        }
    }
    return Insert(std::move(element));
}

CPQDIF_Element* CPQDIF_E_Collection::Append(std::unique_ptr<CPQDIF_Element> element) {
    if (!element) return nullptr;
    element->SetOwner(owner_);
    children_.push_back(std::move(element));
    MarkModified();
    return children_.back().get();
}

void CPQDIF_E_Collection::SortChildren() {
    std::stable_sort(
        children_.begin(), children_.end(),
        [](const std::unique_ptr<CPQDIF_Element>& a, const std::unique_ptr<CPQDIF_Element>& b) {
            return a->GetTag() < b->GetTag();
        });
}

std::unique_ptr<CPQDIF_Element> CPQDIF_E_Collection::Remove(int index) {
    if (index < 0 || index >= GetCount()) return nullptr;
    auto element = std::move(children_[static_cast<std::size_t>(index)]);
    children_.erase(children_.begin() + index);
    element->SetOwner(nullptr);
    MarkModified();
    return element;
}

CPQDIF_Element* CPQDIF_E_Collection::Find(const Guid& tag, int kind) const {
    auto it = std::lower_bound(
        children_.begin(), children_.end(), tag,
        [](const std::unique_ptr<CPQDIF_Element>& e, const Guid& t) { return e->GetTag() < t; });
    for (; it != children_.end() && (*it)->GetTag() == tag; ++it)
        if (kind == -1 || (*it)->GetElementType() == kind) return it->get();
    return nullptr;
}

CPQDIF_E_Collection* CPQDIF_E_Collection::FindCollection(const Guid& tag) const {
    return static_cast<CPQDIF_E_Collection*>(Find(tag, kElementCollection));
}
CPQDIF_E_Scalar* CPQDIF_E_Collection::FindScalar(const Guid& tag) const {
    return static_cast<CPQDIF_E_Scalar*>(Find(tag, kElementScalar));
}
CPQDIF_E_Vector* CPQDIF_E_Collection::FindVector(const Guid& tag) const {
    return static_cast<CPQDIF_E_Vector*>(Find(tag, kElementVector));
}

CPQDIF_E_Scalar* CPQDIF_E_Collection::GetTyped(const Guid& tag, int expectedCode) const {
    CPQDIF_E_Scalar* s = FindScalar(tag);
    return (s && s->GetPhysicalType() == expectedCode) ? s : nullptr;
}

CPQDIF_E_Vector* CPQDIF_E_Collection::AddString(const Guid& tag, const char* text, bool replace) {
    if (!text) return nullptr;
    auto v = std::make_unique<CPQDIF_E_Vector>();
    v->SetTag(tag);
    v->SetPhysicalType(ID_PHYS_TYPE_CHAR1);
    v->SetString(text);
    auto* raw = v.get();
    replace ? Replace(std::move(v)) : Insert(std::move(v));
    return raw;
}

CPQDIF_E_Vector* CPQDIF_E_Collection::AddUInt4Vector(const Guid& tag, const std::uint32_t* values,
                                                     int count, bool replace) {
    auto v = std::make_unique<CPQDIF_E_Vector>();
    v->SetTag(tag);
    v->SetUInt4Array(values, count);
    auto* raw = v.get();
    replace ? Replace(std::move(v)) : Insert(std::move(v));
    return raw;
}

CPQDIF_E_Scalar* CPQDIF_E_Collection::AddTimestamp(const Guid& tag, std::uint32_t days,
                                                   double seconds, bool replace) {
    auto s = std::make_unique<CPQDIF_E_Scalar>();
    s->SetTag(tag);
    s->SetTimestamp(days, seconds);
    auto* raw = s.get();
    replace ? Replace(std::move(s)) : Insert(std::move(s));
    return raw;
}

CPQDIF_E_Scalar* CPQDIF_E_Collection::AddScalar(const Guid& tag, int code, const void* bytes,
                                                bool replace) {
    auto s = std::make_unique<CPQDIF_E_Scalar>();
    s->SetTag(tag);
    s->SetValue(code, bytes);
    auto* raw = s.get();
    replace ? Replace(std::move(s)) : Insert(std::move(s));
    return raw;
}

CPQDIF_E_Collection* CPQDIF_E_Collection::AddCollection(const Guid& tag, bool replace) {
    auto c = std::make_unique<CPQDIF_E_Collection>();
    c->SetTag(tag);
    auto* raw = c.get();
    replace ? Replace(std::move(c)) : Insert(std::move(c));
    return raw;
}

// ---- Scalar ----

void CPQDIF_E_Scalar::SetValue(int code, const void* bytes) {
    physicalType_ = code;
    value_.fill(0);
    if (bytes) std::memcpy(value_.data(), bytes, static_cast<std::size_t>(PhysicalTypeWidth(code)));
    MarkModified();
}

bool CPQDIF_E_Scalar::GetRaw(int& code, std::uint8_t bytes[16]) const {
    code = physicalType_;
    std::memcpy(bytes, value_.data(), 16);
    return code != 0;
}

bool CPQDIF_E_Scalar::GetUInt4(std::uint32_t& value) const {
    value = 0;
    if (physicalType_ != ID_PHYS_TYPE_UNS_INTEGER4) return false;
    value = ReadU32(value_.data());
    return true;
}

bool CPQDIF_E_Scalar::GetBool4(bool& value) const {
    value = false;
    if (physicalType_ != ID_PHYS_TYPE_BOOLEAN4) return false;
    value = ReadU32(value_.data()) != 0;
    return true;
}

bool CPQDIF_E_Scalar::GetReal8(double& value) const {
    value = 0.0;
    if (physicalType_ != ID_PHYS_TYPE_REAL8) return false;
    value = ReadF64(value_.data());
    return true;
}

bool CPQDIF_E_Scalar::GetGuid(Guid& value) const {
    value = Guid{};
    if (physicalType_ != ID_PHYS_TYPE_GUID) return false;
    std::memcpy(value.bytes.data(), value_.data(), 16);
    return true;
}

bool CPQDIF_E_Scalar::GetTimestamp(PqdifTimestamp& value) const {
    value = PqdifTimestamp{};
    if (physicalType_ != ID_PHYS_TYPE_TIMESTAMPPQDIF) return false;
    value.days = ReadU32(value_.data());
    value.seconds = ReadF64(value_.data() + 4);
    return true;
}

bool CPQDIF_E_Scalar::GetAsDouble(double& value) const {
    return ConvertToDouble(physicalType_, value_.data(), value);
}

bool CPQDIF_E_Scalar::GetVariant(PqdifVariant& value) const {
    return ConvertToVariant(physicalType_, value_.data(), value);
}

void CPQDIF_E_Scalar::SetUInt4(std::uint32_t value) {
    std::uint8_t b[4];
    WriteU32(b, value);
    SetValue(ID_PHYS_TYPE_UNS_INTEGER4, b);
}

void CPQDIF_E_Scalar::SetBool4(bool value) {
    std::uint8_t b[4];
    WriteU32(b, value ? 1u : 0u);
    SetValue(ID_PHYS_TYPE_BOOLEAN4, b);
}

void CPQDIF_E_Scalar::SetReal8(double value) {
    std::uint8_t b[8];
    WriteF64(b, value);
    SetValue(ID_PHYS_TYPE_REAL8, b);
}

void CPQDIF_E_Scalar::SetGuid(const Guid& value) {
    SetValue(ID_PHYS_TYPE_GUID, value.bytes.data());
}

void CPQDIF_E_Scalar::SetTimestamp(std::uint32_t days, double seconds) {
    std::uint8_t b[12];
    WriteU32(b, days);
    WriteF64(b + 4, seconds);
    SetValue(ID_PHYS_TYPE_TIMESTAMPPQDIF, b);
}

// ---- Vector ----

bool CPQDIF_E_Vector::SetPhysicalType(int code) {
    if (code != physicalType_) {
        const int count = GetCount();
        physicalType_ = code;
        data_.resize(static_cast<std::size_t>(count) *
                     static_cast<std::size_t>(PhysicalTypeWidth(code)));
    }
    MarkModified();
    return true;
}

int CPQDIF_E_Vector::GetCount() const {
    return static_cast<int>(data_.size() /
                            static_cast<std::size_t>(PhysicalTypeWidth(physicalType_)));
}

void CPQDIF_E_Vector::SetCount(int count) {
    data_.resize(static_cast<std::size_t>(std::max(count, 0)) *
                 static_cast<std::size_t>(PhysicalTypeWidth(physicalType_)));
    MarkModified();
}

void CPQDIF_E_Vector::SetValues(int code, const void* bytes, std::size_t count) {
    physicalType_ = code;
    const auto* p = static_cast<const std::uint8_t*>(bytes);
    data_.assign(p, p + count * static_cast<std::size_t>(PhysicalTypeWidth(code)));
    MarkModified();
}

bool CPQDIF_E_Vector::GetRaw(int index, void* out) const {
    if (index < 0 || index >= GetCount()) return false;
    const auto width = static_cast<std::size_t>(PhysicalTypeWidth(physicalType_));
    std::memcpy(out, data_.data() + static_cast<std::size_t>(index) * width, width);
    return true;
}

bool CPQDIF_E_Vector::GetAsDouble(int index, double& value) const {
    value = 0.0;
    if (index < 0 || index >= GetCount()) return false;
    const auto width = static_cast<std::size_t>(PhysicalTypeWidth(physicalType_));
    return ConvertToDouble(physicalType_, data_.data() + static_cast<std::size_t>(index) * width,
                           value);
}

bool CPQDIF_E_Vector::GetVariant(int index, PqdifVariant& value) const {
    value = PqdifVariant{};
    if (index < 0 || index >= GetCount()) return false;
    const auto width = static_cast<std::size_t>(PhysicalTypeWidth(physicalType_));
    return ConvertToVariant(physicalType_, data_.data() + static_cast<std::size_t>(index) * width,
                            value);
}

void CPQDIF_E_Vector::SetUInt4Array(const std::uint32_t* values, int count) {
    physicalType_ = ID_PHYS_TYPE_UNS_INTEGER4;
    data_.assign(static_cast<std::size_t>(std::max(count, 0)) * 4, 0);
    for (int i = 0; i < count && values; ++i) WriteU32(data_.data() + 4 * i, values[i]);
    MarkModified();
}

int CPQDIF_E_Vector::GetUInt4Array(std::uint32_t* out, int max) const {
    if (physicalType_ != ID_PHYS_TYPE_UNS_INTEGER4) return -1;
    const int n = std::min(std::max(max, 0), GetCount());
    for (int i = 0; i < n; ++i) out[i] = ReadU32(data_.data() + 4 * i);
    return n;
}

bool CPQDIF_E_Vector::SetReal8(int index, double value) {
    if (physicalType_ != ID_PHYS_TYPE_REAL8) SetPhysicalType(ID_PHYS_TYPE_REAL8);
    if (index < 0 || index >= GetCount()) return false;
    WriteF64(data_.data() + 8 * index, value);
    MarkModified();
    return true;
}

bool CPQDIF_E_Vector::GetReal8(int index, double& value) const {
    value = 0.0;
    if (physicalType_ != ID_PHYS_TYPE_REAL8 || index < 0 || index >= GetCount()) return false;
    value = ReadF64(data_.data() + 8 * index);
    return true;
}

bool CPQDIF_E_Vector::SetString(const std::string& text) {
    if (physicalType_ == ID_PHYS_TYPE_CHAR1) {
        data_.assign(text.begin(), text.end());
        data_.push_back(0);
    } else if (physicalType_ == ID_PHYS_TYPE_CHAR2) {
        data_.clear();
        for (char c : text) {
            const auto wide = static_cast<std::uint16_t>(static_cast<std::int16_t>(c));
            data_.push_back(static_cast<std::uint8_t>(wide & 0xFF));
            data_.push_back(static_cast<std::uint8_t>(wide >> 8));
        }
        data_.push_back(0);
        data_.push_back(0);
    } else {
        return false;
    }
    MarkModified();
    return true;
}

bool CPQDIF_E_Vector::GetString(std::string& text) const {
    text.clear();
    if (physicalType_ == ID_PHYS_TYPE_CHAR1) {
        const auto end = std::find(data_.begin(), data_.end(), 0);
        text.assign(data_.begin(), end);
        return true;
    }
    if (physicalType_ == ID_PHYS_TYPE_CHAR2) {
        const int n = GetCount() - 1;
        for (int i = 0; i < n; ++i) {
            const std::uint16_t c = ReadU16(data_.data() + 2 * i);
            if (c == 0) break;
            text.push_back(static_cast<char>(c & 0xFF));
        }
        return true;
    }
    return false;
}

std::unique_ptr<CPQDIF_Element> CreateElement(int kind) {
    switch (kind) {
        case kElementCollection:
            return std::make_unique<CPQDIF_E_Collection>();
        case kElementScalar:
            return std::make_unique<CPQDIF_E_Scalar>();
        case kElementVector:
            return std::make_unique<CPQDIF_E_Vector>();
        default:
            return nullptr;
    }
}

// ---- Parser ----

namespace {

Guid HeaderTag(const std::uint8_t* header) {
    Guid g;
    std::memcpy(g.bytes.data(), header, 16);
    return g;
}

struct ParseState {
    const std::uint8_t* bytes;
    std::size_t length;
    std::unordered_set<std::uint32_t> visited;  // collection blocks already parsed
    std::size_t vectorBudget;                   // bytes that vectors may still copy
    std::size_t elementBudget;                  // elements that may still be made
};

// Puts a level's children in tag order when the level is done, however it ends.
struct SortOnExit {
    CPQDIF_E_Collection* collection;
    ~SortOnExit() { collection->SortChildren(); }
};

bool ParseLevel(PQController& builder, ParseState& st, std::size_t offset,
                CPQDIF_E_Collection* parent, int depth) {
    if (offset > st.length || st.length - offset < 4) return false;
    const auto count = static_cast<std::int32_t>(ReadU32(st.bytes + offset));
    if (count < 1) return false;
    // Only headers that lie inside the body are read.
    const std::size_t fit = (st.length - offset - 4) / kHeaderSize;
    const std::size_t n = std::min(fit, static_cast<std::size_t>(count));
    bool ok = n == static_cast<std::size_t>(count);
    SortOnExit sortOnExit{parent};
    for (std::size_t i = 0; i < n; ++i) {
        const std::uint8_t* h = st.bytes + offset + 4 + i * kHeaderSize;
        const int type = h[16];
        const int phys = h[17];
        const bool embedded = h[18] == 1;
        const std::uint32_t link = ReadU32(h + 20);
        const int index = static_cast<int>(i);
        if (type >= kElementCollection && type <= kElementVector) {
            // Overlapping blocks could otherwise make far more elements than the
            // body has room for.
            if (st.elementBudget == 0) return false;
            --st.elementBudget;
        }
        if (type == kElementCollection) {
            CPQDIF_E_Collection* child = builder.AddCollection(parent, index, h);
            if (!child) return false;
            if (link < 1 || link >= st.length) return false;
            // A block parsed before (a loop or a shared block) or nesting beyond the
            // bound ends this level: the tree stays finite and proportional to the body.
            if (depth >= PQController::kMaxDepth || !st.visited.insert(link).second) return false;
            if (!ParseLevel(builder, st, link, child, depth + 1)) ok = false;
        } else if (type == kElementScalar) {
            const int width = PhysicalTypeWidth(phys);
            std::uint8_t value[16] = {};
            if (embedded) {
                // Only the 8 header bytes 20..27 can hold an embedded value.
                std::memcpy(value, h + 20, static_cast<std::size_t>(std::min(width, 8)));
            } else {
                if (link >= st.length || st.length - link < static_cast<std::size_t>(width))
                    return false;
                std::memcpy(value, st.bytes + link, static_cast<std::size_t>(width));
            }
            if (!builder.AddScalar(parent, index, h, phys, value)) return false;
        } else if (type == kElementVector) {
            if (link >= st.length || st.length - link < 4) return false;
            std::uint32_t n32 = ReadU32(st.bytes + link);
            const std::uint64_t bytes = static_cast<std::uint64_t>(n32) *
                                        static_cast<std::uint64_t>(PhysicalTypeWidth(phys));
            if (bytes > st.length - link - 4 || bytes > st.vectorBudget) return false;
            st.vectorBudget -= static_cast<std::size_t>(bytes);
            if (!builder.AddVector(parent, index, h, phys, n32, st.bytes + link + 4)) return false;
        }
        // Other element types are skipped.
    }
    return ok;
}

}  // namespace

bool PQController::ParseBody(const std::uint8_t* bytes, std::size_t length,
                             CPQDIF_E_Collection* root) {
    if (!bytes || !root) return false;
    ParseState st{bytes, length, {}, 2 * length + 65536, length / kHeaderSize + 1};
    st.visited.insert(0);
    return ParseLevel(*this, st, 0, root, 0);
}

CPQDIF_E_Collection* PQController::AddCollection(CPQDIF_E_Collection* parent, int,
                                                 const std::uint8_t* header) {
    auto c = std::make_unique<CPQDIF_E_Collection>();
    c->SetTag(HeaderTag(header));
    return static_cast<CPQDIF_E_Collection*>(parent->Append(std::move(c)));
}

CPQDIF_E_Scalar* PQController::AddScalar(CPQDIF_E_Collection* parent, int,
                                         const std::uint8_t* header, int physicalType,
                                         const std::uint8_t* valueBytes) {
    auto s = std::make_unique<CPQDIF_E_Scalar>();
    s->SetTag(HeaderTag(header));
    s->SetValue(physicalType, valueBytes);
    return static_cast<CPQDIF_E_Scalar*>(parent->Append(std::move(s)));
}

CPQDIF_E_Vector* PQController::AddVector(CPQDIF_E_Collection* parent, int,
                                         const std::uint8_t* header, int physicalType,
                                         std::uint32_t& count, const std::uint8_t* dataBytes) {
    auto v = std::make_unique<CPQDIF_E_Vector>();
    v->SetTag(HeaderTag(header));
    v->SetValues(physicalType, dataBytes, count);
    return static_cast<CPQDIF_E_Vector*>(parent->Append(std::move(v)));
}

// ---- Serialiser ----

namespace {

class Serializer {
public:
    std::vector<std::uint8_t> out;

    std::size_t Allocate(std::size_t size) {
        const std::size_t at = out.size();
        out.resize(at + size, 0);
        return at;
    }

    void Children(const CPQDIF_E_Collection& c, std::size_t block) {
        WriteU32(&out[block], static_cast<std::uint32_t>(c.GetCount()));
        for (int i = 0; i < c.GetCount(); ++i) {
            const CPQDIF_Element* e = c.GetChild(i);
            const std::size_t h = block + 4 + static_cast<std::size_t>(i) * kHeaderSize;
            std::memcpy(&out[h], e->GetTag().bytes.data(), 16);
            out[h + 16] = static_cast<std::uint8_t>(e->GetElementType());
            out[h + 17] = static_cast<std::uint8_t>(e->GetPhysicalType());
            if (e->GetElementType() == kElementCollection) {
                const auto& sub = static_cast<const CPQDIF_E_Collection&>(*e);
                const std::size_t size = 4 + kHeaderSize * static_cast<std::size_t>(sub.GetCount());
                const std::size_t at = Allocate(size);
                WriteU32(&out[h + 20], static_cast<std::uint32_t>(at));
                WriteU32(&out[h + 24], static_cast<std::uint32_t>(size));
                Children(sub, at);
            } else if (e->GetElementType() == kElementScalar) {
                const auto& s = static_cast<const CPQDIF_E_Scalar&>(*e);
                const auto width = static_cast<std::size_t>(PhysicalTypeWidth(s.GetPhysicalType()));
                if (width > 8) {
                    const std::size_t size = Pad4(width);
                    const std::size_t at = Allocate(size);
                    std::memcpy(&out[at], s.GetValueBytes(), width);
                    WriteU32(&out[h + 20], static_cast<std::uint32_t>(at));
                    WriteU32(&out[h + 24], static_cast<std::uint32_t>(size));
                } else {
                    out[h + 18] = 1;
                    std::memcpy(&out[h + 20], s.GetValueBytes(), width);
                }
            } else if (e->GetElementType() == kElementVector) {
                const auto& v = static_cast<const CPQDIF_E_Vector&>(*e);
                const std::size_t size = 4 + Pad4(v.GetByteSize());
                const std::size_t at = Allocate(size);
                WriteU32(&out[at], static_cast<std::uint32_t>(v.GetCount()));
                if (v.GetByteSize()) std::memcpy(&out[at + 4], v.GetRawPointer(), v.GetByteSize());
                WriteU32(&out[h + 20], static_cast<std::uint32_t>(at));
                WriteU32(&out[h + 24], static_cast<std::uint32_t>(size));
            }
        }
    }
};

}  // namespace

std::vector<std::uint8_t> SerializeBody(const CPQDIF_E_Collection& root) {
    Serializer s;
    const std::size_t at = s.Allocate(4 + kHeaderSize * static_cast<std::size_t>(root.GetCount()));
    s.Children(root, at);
    return std::move(s.out);
}

}  // namespace kov::pqdif
