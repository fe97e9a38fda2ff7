#include "pqdif/PqdifDump.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <vector>

#include "platform/Text.h"
#include "pqdif/PqdifObservation.h"
#include "pqdif/PqdifRecord.h"
#include "pqdif/PqdifTags.h"

namespace kov::pqdif {

namespace {

constexpr int kShownVectorValues = 8;  // a longer vector shows this many, then "..."
constexpr int kShownSeriesValues = 5;

std::string Number(double v) {
    if (!std::isfinite(v)) return std::isnan(v) ? "nan" : (v > 0 ? "inf" : "-inf");
    return Format("%.10g", v);
}

std::string JsonNumber(double v) {
    return std::isfinite(v) ? Format("%.17g", v) : "null";
}

// JSON string literal; bytes of 0x80 and above are taken as Latin-1 so that
// the output stays valid whatever code page the file's texts use.
std::string JsonString(const std::string& s) {
    std::string out = "\"";
    for (unsigned char c : s) {
        if (c == '"' || c == '\\') {
            out += '\\';
            out += static_cast<char>(c);
        } else if (c < 0x20 || c >= 0x7F) {
            out += Format("\\u%04x", c);
        } else {
            out += static_cast<char>(c);
        }
    }
    return out + "\"";
}

std::string TimestampText(const PqdifTimestamp& t) {
    if (!std::isfinite(t.seconds)) return Format("day %u", t.days);
    const double unixSeconds = (static_cast<double>(t.days) - 25569.0) * 86400.0 + t.seconds;
    if (std::fabs(unixSeconds) > 1e13)
        return Format("day %u, %s s", t.days, Number(t.seconds).c_str());
    const auto whole = static_cast<std::time_t>(std::floor(unixSeconds));
    std::tm tm{};
    gmtime_r(&whole, &tm);
    const double frac = unixSeconds - std::floor(unixSeconds);
    return Format("%04d-%02d-%02d %02d:%02d:%06.3f", tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday,
                  tm.tm_hour, tm.tm_min, tm.tm_sec + frac);
}

const char* PhysName(int code) {
    const char* name = GetPhysicalTypeName(code);
    return name == kUnrecognized ? "?" : name + 13;  // drop "ID_PHYS_TYPE_"
}

// One value of an element as display text: identifier names for GUIDs and for
// integers whose tag names its values.
std::string ValueText(const Guid& tag, int code, const std::uint8_t* bytes) {
    if (code == ID_PHYS_TYPE_GUID) {
        Guid g;
        std::copy(bytes, bytes + 16, g.bytes.begin());
        const char* name = GetIdName(g);
        return GuidToString(g) + (name != kUnrecognized ? std::string(" ") + name : "");
    }
    if (code == ID_PHYS_TYPE_TIMESTAMPPQDIF) {
        PqdifTimestamp t{ReadU32(bytes), ReadF64(bytes + 4)};
        return TimestampText(t);
    }
    PqdifVariant v;
    if (!ConvertToVariant(code, bytes, v)) return Format("0x%02X", bytes[0]);
    std::string text = v.ToString();
    if (v.kind == PqdifVariant::Kind::I1 || v.kind == PqdifVariant::Kind::I2 ||
        v.kind == PqdifVariant::Kind::I4) {
        double d = 0.0;
        ConvertToDouble(code, bytes, d);
        const char* name = GetIntIdName(tag, static_cast<std::int32_t>(d));
        if (name != kUnrecognized) text += std::string(" ") + name;
    }
    return text;
}

std::string TagText(const Guid& tag) {
    const char* name = GetTagName(tag);
    return name != kUnrecognized ? name : GuidToString(tag);
}

void TextTree(const CPQDIF_E_Collection& c, int depth, std::ostream& out) {
    const std::string indent(static_cast<std::size_t>(2 * depth), ' ');
    for (int i = 0; i < c.GetCount(); ++i) {
        const CPQDIF_Element* e = c.GetChild(i);
        out << indent << TagText(e->GetTag());
        if (e->GetElementType() == kElementCollection) {
            const auto& sub = static_cast<const CPQDIF_E_Collection&>(*e);
            out << "  collection (" << sub.GetCount() << ")\n";
            TextTree(sub, depth + 1, out);
        } else if (e->GetElementType() == kElementScalar) {
            const auto& s = static_cast<const CPQDIF_E_Scalar&>(*e);
            out << "  " << PhysName(s.GetPhysicalType()) << " = "
                << ValueText(e->GetTag(), s.GetPhysicalType(), s.GetValueBytes()) << "\n";
        } else {
            const auto& v = static_cast<const CPQDIF_E_Vector&>(*e);
            const int code = v.GetPhysicalType();
            out << "  " << PhysName(code) << "[" << v.GetCount() << "]";
            std::string text;
            if ((code == ID_PHYS_TYPE_CHAR1 || code == ID_PHYS_TYPE_CHAR2) && v.GetString(text)) {
                out << " = \"" << text << "\"\n";
                continue;
            }
            const int width = PhysicalTypeWidth(code);
            const int shown = std::min(v.GetCount(), kShownVectorValues);
            out << " =";
            for (int k = 0; k < shown; ++k)
                out << " " << ValueText(e->GetTag(), code, v.GetRawPointer() + k * width);
            if (shown < v.GetCount()) out << " ...";
            out << "\n";
        }
    }
}

void JsonTree(const CPQDIF_E_Collection& c, std::ostream& out) {
    out << "[";
    for (int i = 0; i < c.GetCount(); ++i) {
        const CPQDIF_Element* e = c.GetChild(i);
        if (i) out << ",";
        out << "{\"tag\":" << JsonString(TagText(e->GetTag()))
            << ",\"guid\":" << JsonString(GuidToString(e->GetTag()));
        if (e->GetElementType() == kElementCollection) {
            out << ",\"kind\":\"collection\",\"children\":";
            JsonTree(static_cast<const CPQDIF_E_Collection&>(*e), out);
        } else if (e->GetElementType() == kElementScalar) {
            const auto& s = static_cast<const CPQDIF_E_Scalar&>(*e);
            out << ",\"kind\":\"scalar\",\"type\":" << JsonString(PhysName(s.GetPhysicalType()))
                << ",\"value\":"
                << JsonString(ValueText(e->GetTag(), s.GetPhysicalType(), s.GetValueBytes()));
        } else {
            const auto& v = static_cast<const CPQDIF_E_Vector&>(*e);
            const int code = v.GetPhysicalType();
            out << ",\"kind\":\"vector\",\"type\":" << JsonString(PhysName(code))
                << ",\"count\":" << v.GetCount();
            std::string text;
            if ((code == ID_PHYS_TYPE_CHAR1 || code == ID_PHYS_TYPE_CHAR2) && v.GetString(text)) {
                out << ",\"text\":" << JsonString(text);
            } else {
                const int width = PhysicalTypeWidth(code);
                const int shown = std::min(v.GetCount(), kShownVectorValues);
                out << ",\"values\":[";
                for (int k = 0; k < shown; ++k)
                    out << (k ? "," : "")
                        << JsonString(ValueText(e->GetTag(), code, v.GetRawPointer() + k * width));
                out << "],\"abbreviated\":" << (shown < v.GetCount() ? "true" : "false");
            }
        }
        out << "}";
    }
    out << "]";
}

struct SeriesSummary {
    int channel = 0, series = 0;
    std::uint32_t definition = 0;
    std::string valueType;
    bool decoded = false;
    std::vector<double> first;
    std::size_t count = 0;
    double min = 0.0, max = 0.0;
};

std::vector<SeriesSummary> Summaries(CPQDIF_R_Observation& obs) {
    std::vector<SeriesSummary> list;
    const int channels = obs.GetChannelInstanceCount();
    for (int c = 0; c < channels; ++c) {
        const int series = obs.GetSeriesInstanceCount(c);
        for (int s = 0; s < series; ++s) {
            SeriesSummary sum;
            sum.channel = c;
            sum.series = s;
            obs.GetChannelDefinitionIndex(c, sum.definition);
            SeriesDefinition def;
            sum.valueType = obs.GetSeriesDefinitionFor(c, s, def) ? GetIdName(def.valueType) : "";
            if (auto values = obs.GetSeriesValues(c, s)) {
                sum.decoded = true;
                sum.count = values->size();
                sum.first.assign(
                    values->begin(),
                    values->begin() + static_cast<std::ptrdiff_t>(std::min<std::size_t>(
                                          values->size(), kShownSeriesValues)));
                if (!values->empty()) {
                    const auto [lo, hi] = std::minmax_element(values->begin(), values->end());
                    sum.min = *lo;
                    sum.max = *hi;
                }
            }
            list.push_back(std::move(sum));
        }
    }
    return list;
}

}  // namespace

int DumpPqdif(const std::string& path, bool json, std::ostream& out, std::ostream& err) {
    CPQDIF_PC_FlatFile controller;
    controller.SetFileName(path);
    const bool complete = controller.Load();
    if (controller.GetCount() == 0) {
        err << "Cannot read " << path << " as a PQDIF file\n";
        return 3;
    }
    if (json)
        out << "{\"file\":" << JsonString(path) << ",\"size\":" << controller.StreamSize()
            << ",\"chainComplete\":" << (complete ? "true" : "false")
            << ",\"compressionStyle\":" << controller.CompressionStyle()
            << ",\"compressionAlgorithm\":" << controller.CompressionAlgorithm()
            << ",\"records\":[";
    else
        out << "File: " << path << "\nSize: " << controller.StreamSize()
            << " bytes\nCompression: " << controller.CompressionStyle() << " "
            << GetIntIdName(tagCompressionStyleID,
                            static_cast<std::int32_t>(controller.CompressionStyle()))
            << ", algorithm " << controller.CompressionAlgorithm() << " "
            << GetIntIdName(tagCompressionAlgorithmID,
                            static_cast<std::int32_t>(controller.CompressionAlgorithm()))
            << "\nRecords: " << controller.GetCount()
            << (complete ? "" : " (the record chain breaks after the last one)") << "\n";

    CPQDIFRecord* dataSource = nullptr;
    CPQDIFRecord* settings = nullptr;
    std::string observationsJson;
    for (int i = 0; i < controller.GetCount(); ++i) {
        CPQDIFRecord* loaded = controller.GetRecordLoaded(i);
        CPQDIFRecord* record = loaded ? loaded : controller.GetRecord(i);
        std::uint32_t position = 0, headerSize = 0, bodySize = 0, link = 0, checksum = 0;
        record->GetPosition(position);
        record->GetSizes(headerSize, bodySize);
        record->GetNextLink(link);
        record->GetChecksum(checksum);
        const Guid tag = record->Tag();
        const bool compressed = i > 0 && controller.CompressionStyle() == 2;
        if (json) {
            out << (i ? "," : "") << "{\"index\":" << i << ",\"type\":" << JsonString(TagText(tag))
                << ",\"position\":" << position << ",\"headerSize\":" << headerSize
                << ",\"bodySize\":" << bodySize << ",\"nextLink\":" << link
                << ",\"checksum\":" << checksum
                << ",\"compressed\":" << (compressed ? "true" : "false")
                << ",\"bodyRead\":" << (loaded ? "true" : "false") << ",\"elements\":";
            if (loaded)
                JsonTree(*loaded->GetRoot(), out);
            else
                out << "[]";
            out << "}";
        } else {
            out << "\nRecord " << i << ": " << TagText(tag) << "  position " << position
                << "  header " << headerSize << "  body " << bodySize << "  next " << link
                << Format("  checksum 0x%08X", checksum) << (compressed ? "  zlib" : "") << "\n";
            if (loaded)
                TextTree(*loaded->GetRoot(), 1, out);
            else
                out << "  (body cannot be read)\n";
        }

        if (tag == tagRecDataSource) {
            dataSource = record;
            settings = nullptr;
        } else if (tag == tagRecMonitorSettings) {
            settings = record;
        } else if (tag == tagRecObservation && loaded) {
            CPQDIF_R_Observation obs(record, dataSource, settings);
            ObservationInfo info;
            obs.GetObservationInfo(info);
            const auto list = Summaries(obs);
            if (json) {
                if (!observationsJson.empty()) observationsJson += ',';
                observationsJson += "{\"record\":";
                observationsJson += std::to_string(i);
                observationsJson += ",\"name\":";
                observationsJson += JsonString(info.name);
                observationsJson += ",\"series\":[";
                for (std::size_t k = 0; k < list.size(); ++k) {
                    const auto& s = list[k];
                    if (k) observationsJson += ',';
                    observationsJson += Format(
                        "{\"channel\":%d,\"series\":%d,\"channelDefinition\":%u,\"valueType\":%s,"
                        "\"decoded\":%s",
                        s.channel, s.series, s.definition, JsonString(s.valueType).c_str(),
                        s.decoded ? "true" : "false");
                    if (s.decoded) {
                        observationsJson += ",\"count\":";
                        observationsJson += std::to_string(s.count);
                        observationsJson += ",\"first\":[";
                        for (std::size_t f = 0; f < s.first.size(); ++f) {
                            if (f) observationsJson += ',';
                            observationsJson += JsonNumber(s.first[f]);
                        }
                        observationsJson += "],\"min\":";
                        observationsJson += JsonNumber(s.min);
                        observationsJson += ",\"max\":";
                        observationsJson += JsonNumber(s.max);
                    }
                    observationsJson += "}";
                }
                observationsJson += "]}";
            } else {
                out << "  Observation \"" << info.name << "\": decoded series\n";
                for (const auto& s : list) {
                    out << "    channel " << s.channel << " (definition " << s.definition
                        << ") series " << s.series << " " << s.valueType << ": ";
                    if (!s.decoded) {
                        out << "no values\n";
                        continue;
                    }
                    out << "count " << s.count << ", first";
                    for (double v : s.first) out << " " << Number(v);
                    if (s.count > s.first.size()) out << " ...";
                    out << ", min " << Number(s.min) << ", max " << Number(s.max) << "\n";
                }
            }
        }
    }
    if (json) out << "],\"observations\":[" << observationsJson << "]}\n";
    return 0;
}

}  // namespace kov::pqdif
