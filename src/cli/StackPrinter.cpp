#include "cli/StackPrinter.h"

#include <nlohmann/json.hpp>
#include <ostream>

#include "stack/PlotableStackObject.h"
#include "stack/Stack.h"

namespace kov::cli {

// Keys keep the order they are written in, as the output contract lists them.
using json = nlohmann::ordered_json;

void PrintStackPlain(const Stack& stack, std::ostream& out) {
    for (const StackObject* item : stack.GetAll()) {
        const auto* plotable = dynamic_cast<const PlotableStackObject*>(item);
        out << item->stackKey() << '\t' << KindTag(item->kind()) << '\t'
            << (plotable ? plotable->pointCount() : 0) << '\n';
    }
}

namespace {

template <class Array>
json AxisJson(const StackObject& item, const PlotableStackObject& p, Axis axis,
              const Array& values) {
    const UnitRecord& unit = item.axisUnits[axis];
    const PerUnitBase& base = item.perUnitBase[axis];
    json a;
    a["unitId"] = unit.unitId;
    a["unitText"] = UnitText(unit.unitId);
    a["prefix"] = unit.prefix;
    a["multiplier"] = unit.multiplier;
    a["perUnit"] = base.set;
    a["base"] = base.value;
    a["factor"] = base.factor;
    a["scale"] = p.scale(axis);
    a["min"] = values.min();
    a["max"] = values.max();
    a["first"] = values.empty() ? json(nullptr) : json(values.front());
    a["last"] = values.empty() ? json(nullptr) : json(values.back());
    return a;
}

template <class Array>
json Values(const Array& values) {
    json list = json::array();
    for (auto v : values.values()) list.push_back(v);
    return list;
}

json ItemJson(const StackObject& item, bool withSamples) {
    json j;
    j["key"] = item.stackKey();
    j["caseName"] = item.caseName();
    j["nameParts"] = {item.namePart1(), item.namePart2(), item.namePart3(), item.namePart4()};
    j["typeTag"] = item.typeTag();
    j["kind"] = item.kind();
    j["kindTag"] = KindTag(item.kind());
    const auto* p = dynamic_cast<const PlotableStackObject*>(&item);
    j["pointCount"] = p ? p->pointCount() : 0;
    json axes = json::array();
    j["xExact"] = nullptr;
    if (p) {
        if (p->xValues) axes.push_back(AxisJson(item, *p, kAxisX, p->xValues));
        if (p->yValues) axes.push_back(AxisJson(item, *p, kAxisY, p->yValues));
        if (p->y2Values) axes.push_back(AxisJson(item, *p, kAxisAngle, p->y2Values));
        if (p->xExact && !p->xExact.empty())
            j["xExact"] = {{"first", p->xExact.front()}, {"last", p->xExact.back()}};
    }
    j["axes"] = axes;
    j["notes"] = item.notes;
    json summary = json::array();
    if (const SummaryData* s = item.summary()) {
        const TextTable& t = s->table;
        for (std::size_t r = 0; r < t.rows(); ++r) {
            if (t.columns() == 0) break;
            std::string value;
            for (std::size_t c = 1; c < t.columns(); ++c) {
                if (c > 1) value += '\t';
                value += t.Cell(r, c);
            }
            summary.push_back({{"label", t.Cell(r, 0)}, {"value", value}});
        }
    }
    j["summary"] = summary;
    if (withSamples) {
        // Arrays the item does not have are null.
        j["x"] = p && p->xValues ? Values(p->xValues) : json(nullptr);
        j["y"] = p && p->yValues ? Values(p->yValues) : json(nullptr);
        j["y2"] = p && p->y2Values ? Values(p->y2Values) : json(nullptr);
        j["xExact"] = p && p->xExact ? Values(p->xExact) : json(nullptr);
    }
    return j;
}

}  // namespace

void PrintStackJson(const Stack& stack, bool withSamples, std::ostream& out) {
    json all = json::array();
    for (const StackObject* item : stack.GetAll()) all.push_back(ItemJson(*item, withSamples));
    // Texts from files are not always valid UTF-8: replace what is not.
    out << all.dump(2, ' ', false, json::error_handler_t::replace) << '\n';
}

}  // namespace kov::cli
