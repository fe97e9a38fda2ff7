#pragma once
// The stack: the ordered collection of every loaded and derived item, unique
// by stack key (compared without regard to letter case). It owns its items.

#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "stack/StackObject.h"

namespace kov {

class Ui;

// Told before an item that windows show leaves the stack, so that every
// window showing it closes (the desktop application implements it).
class StackObserver {
public:
    virtual ~StackObserver() = default;
    virtual void ItemRemoving(const StackObject& item) = 0;
};

class Stack {
public:
    explicit Stack(Ui& ui) : ui_(ui) {}
    ~Stack();
    Stack(const Stack&) = delete;
    Stack& operator=(const Stack&) = delete;

    void SetObserver(StackObserver* observer) { observer_ = observer; }
    Ui& ui() const { return ui_; }

    // Appends the item when its key is free (then, with notify, computes its
    // summary unless Finish already did) and returns true. A taken key drops the item and, once per
    // conflict flag, says so with message 2070; returns false.
    bool Add(std::unique_ptr<StackObject> item, bool notify = true);
    StackObject* FindByKey(const std::string& key) const;
    // The key Init would build for this identity.
    static std::string MakeKey(std::string_view caseName, std::string_view namePart1,
                               std::string_view namePart2, std::string_view namePart3,
                               std::string_view namePart4, std::string_view typeTag);
    void ClearConflictFlag() { conflictReported_ = false; }
    bool conflictReported() const { return conflictReported_; }

    // The items in stack order.
    std::vector<StackObject*> GetAll() const;
    std::size_t size() const { return items_.size(); }
    bool empty() const { return items_.empty(); }
    StackObject* at(std::size_t i) const { return items_.at(i).get(); }

    // Removes and deletes the item; windows that show it close first. False
    // when the item is not on the stack.
    bool Remove(const StackObject* item);

    // Checks the name typed for a derived item: name parts 1 and 2 must not
    // both be empty (message 2061), and the key with case name "DERIVED" must
    // be free (message 2050). Shows the message and returns false otherwise.
    bool CheckNewName(const std::string (&nameParts)[4], std::string_view typeTag) const;

private:
    static std::string Fold(std::string_view key);
    void Release(std::unique_ptr<StackObject>& item);

    Ui& ui_;
    StackObserver* observer_ = nullptr;
    std::vector<std::unique_ptr<StackObject>> items_;
    std::unordered_map<std::string, StackObject*> byKey_;  // case-folded key -> item
    bool conflictReported_ = false;
};

}  // namespace kov
