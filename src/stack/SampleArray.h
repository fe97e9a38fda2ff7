#pragma once
// Contiguous sample storage for stack items.
//
// A SampleArray is a reference-counted block of values with its extents
// (minimum and maximum, refreshed by RefreshExtents). Copying an array shares
// the block: the items read from one recording share one time array, and an
// operation that keeps its operand's X shares it too. Writing through
// MutableData() first detaches a shared block (copy on write), so a finished
// array seen by several items never changes under them. Display scales are
// not part of the array: they belong to each item.

#include <algorithm>
#include <cstddef>
#include <memory>
#include <span>
#include <vector>

namespace kov {

template <class T>
class SampleArray {
public:
    SampleArray() = default;  // absent
    explicit SampleArray(std::size_t count) : block_(std::make_shared<Block>()) {
        block_->values.resize(count);
    }
    explicit SampleArray(std::vector<T> values) : block_(std::make_shared<Block>()) {
        block_->values = std::move(values);
        RefreshExtents();
    }

    bool present() const { return block_ != nullptr; }
    explicit operator bool() const { return present(); }
    std::size_t size() const { return block_ ? block_->values.size() : 0; }
    bool empty() const { return size() == 0; }

    const T* data() const { return block_ ? block_->values.data() : nullptr; }
    std::span<const T> values() const { return {data(), size()}; }
    const T& operator[](std::size_t i) const { return block_->values[i]; }
    const T& front() const { return block_->values.front(); }
    const T& back() const { return block_->values.back(); }

    // Mutable access; detaches the block first when another array shares it.
    T* MutableData() {
        Detach();
        if (!block_) return nullptr;
        block_->extentsFresh = false;
        return block_->values.data();
    }
    std::span<T> MutableValues() { return {MutableData(), size()}; }

    // Minimum and maximum of the values, as of the last RefreshExtents (0 when empty).
    T min() const { return block_ ? block_->min : T{}; }
    T max() const { return block_ ? block_->max : T{}; }
    // Extents derive from the values alone, so refreshing them never detaches
    // a shared block: every sharer would compute the same numbers.
    // A block whose values have not been written since its extents were
    // computed is skipped, so items sharing one time array pay for it once.
    void RefreshExtents() {
        if (!block_ || block_->extentsFresh) return;
        block_->extentsFresh = true;
        const auto& v = block_->values;
        if (v.empty()) {
            block_->min = block_->max = T{};
            return;
        }
        const auto [lo, hi] = std::minmax_element(v.begin(), v.end());
        block_->min = *lo;
        block_->max = *hi;
    }

    // True when both arrays refer to the same block.
    bool SharesWith(const SampleArray& other) const { return block_ && block_ == other.block_; }

private:
    struct Block {
        std::vector<T> values;
        T min{};
        T max{};
        bool extentsFresh = false;
    };
    void Detach() {
        if (block_ && block_.use_count() > 1) block_ = std::make_shared<Block>(*block_);
    }

    std::shared_ptr<Block> block_;
};

using FloatArray = SampleArray<float>;
using DoubleArray = SampleArray<double>;

}  // namespace kov
