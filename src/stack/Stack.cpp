#include "stack/Stack.h"

#include <algorithm>

#include "platform/Strings.h"
#include "platform/Text.h"
#include "platform/Ui.h"

namespace kov {

Stack::~Stack() {
    for (auto& item : items_) Release(item);
}

std::string Stack::Fold(std::string_view key) {
    return ToLower(key);
}

void Stack::Release(std::unique_ptr<StackObject>& item) {
    if (item && item->inUse != 0 && observer_) observer_->ItemRemoving(*item);
    item.reset();
}

bool Stack::Add(std::unique_ptr<StackObject> item, bool notify) {
    if (!item) return false;
    const std::string folded = Fold(item->stackKey());
    if (byKey_.count(folded) != 0) {
        if (!conflictReported_) {
            ui_.MessageBox(str::kNameConflict, str::kLongProductName, Icon::Exclamation);
            conflictReported_ = true;
        }
        return false;
    }
    StackObject* raw = item.get();
    items_.push_back(std::move(item));
    byKey_.emplace(folded, raw);
    // Finish has already summarised a finished item; an item pushed without
    // a summary gets its summary here.
    if (notify && !raw->summary()) raw->ComputeSummary();
    return true;
}

StackObject* Stack::FindByKey(const std::string& key) const {
    const auto it = byKey_.find(Fold(key));
    return it == byKey_.end() ? nullptr : it->second;
}

std::string Stack::MakeKey(std::string_view caseName, std::string_view namePart1,
                           std::string_view namePart2, std::string_view namePart3,
                           std::string_view namePart4, std::string_view typeTag) {
    return Cut(BuildStackKey(caseName, namePart1, namePart2, namePart3, namePart4, typeTag),
               StackObject::kFieldLimit);
}

std::vector<StackObject*> Stack::GetAll() const {
    std::vector<StackObject*> all;
    all.reserve(items_.size());
    for (const auto& item : items_) all.push_back(item.get());
    return all;
}

bool Stack::Remove(const StackObject* item) {
    const auto it = std::find_if(items_.begin(), items_.end(),
                                 [item](const auto& p) { return p.get() == item; });
    if (it == items_.end()) return false;
    std::unique_ptr<StackObject> removed = std::move(*it);
    items_.erase(it);
    byKey_.erase(Fold(removed->stackKey()));
    Release(removed);
    return true;
}

bool Stack::CheckNewName(const std::string (&nameParts)[4], std::string_view typeTag) const {
    constexpr std::size_t kPartLimit = 63, kTagLimit = 5;
    std::string parts[4];
    for (int i = 0; i < 4; ++i) parts[i] = Cut(nameParts[i], kPartLimit);
    const std::string tag = Cut(typeTag, kTagLimit);
    if (parts[0].empty() && parts[1].empty()) {
        ui_.MessageBox(str::kInvalidStackName, str::kShortProductName, Icon::Exclamation);
        return false;
    }
    const std::string key = MakeKey("DERIVED", parts[0], parts[1], parts[2], parts[3], tag);
    if (FindByKey(key)) {
        ui_.MessageBox(Format(str::kNameExists, key.c_str()), str::kShortProductName,
                       Icon::Exclamation);
        return false;
    }
    return true;
}

}  // namespace kov
