// A small open-addressing hash map from 64-bit keys to 32-bit values, for the engine's per-cell
// tables (formula of a cell, first dependency edge of a cell, range bucket). One flat array, no node
// allocations: the 100,000-cell sheets the engine is measured on fill it in a few milliseconds.
// Private to platform/formula.
#pragma once

#include <cstdint>
#include <vector>

namespace kxformula::detail {

class FlatMap {
public:
    static constexpr std::uint64_t kEmptyKey = ~0ull;
    static constexpr std::uint32_t kNone = 0xFFFFFFFFu;

    std::uint32_t* find(std::uint64_t key)
    {
        if (size_ == 0)
            return nullptr;
        for (std::size_t i = slot(key);; i = (i + 1) & mask_) {
            if (keys_[i] == key)
                return &values_[i];
            if (keys_[i] == kEmptyKey)
                return nullptr;
        }
    }
    const std::uint32_t* find(std::uint64_t key) const { return const_cast<FlatMap*>(this)->find(key); }

    // The value stored under key, inserted as kNone when missing. The key must not be kEmptyKey.
    std::uint32_t& operator[](std::uint64_t key)
    {
        if ((size_ + 1) * 2 > keys_.size())
            grow();
        std::size_t i = slot(key);
        for (; keys_[i] != kEmptyKey; i = (i + 1) & mask_)
            if (keys_[i] == key)
                return values_[i];
        keys_[i] = key;
        values_[i] = kNone;
        ++size_;
        return values_[i];
    }

    bool erase(std::uint64_t key)
    {
        if (size_ == 0)
            return false;
        std::size_t i = slot(key);
        while (keys_[i] != key) {
            if (keys_[i] == kEmptyKey)
                return false;
            i = (i + 1) & mask_;
        }
        // Backward-shift deletion keeps every probe chain unbroken without tombstones.
        std::size_t hole = i;
        for (std::size_t j = (i + 1) & mask_; keys_[j] != kEmptyKey; j = (j + 1) & mask_) {
            const std::size_t home = slot(keys_[j]);
            const bool movable = hole <= j ? (home <= hole || home > j) : (home <= hole && home > j);
            if (movable) {
                keys_[hole] = keys_[j];
                values_[hole] = values_[j];
                hole = j;
            }
        }
        keys_[hole] = kEmptyKey;
        --size_;
        return true;
    }

    void clear()
    {
        keys_.clear();
        values_.clear();
        mask_ = 0;
        shift_ = 64;
        size_ = 0;
    }

    std::size_t size() const { return size_; }

    template <typename F>
    void forEach(F&& f) const
    {
        for (std::size_t i = 0; i < keys_.size(); ++i)
            if (keys_[i] != kEmptyKey)
                f(keys_[i], values_[i]);
    }

private:
    std::size_t slot(std::uint64_t key) const
    {
        // Multiplicative hashing: the top bits of the product are the well-mixed ones.
        return static_cast<std::size_t>((key * 0x9E3779B97F4A7C15ull) >> shift_);
    }

    void grow()
    {
        std::vector<std::uint64_t> oldKeys = std::move(keys_);
        std::vector<std::uint32_t> oldValues = std::move(values_);
        const std::size_t capacity = oldKeys.empty() ? 16 : oldKeys.size() * 2;
        keys_.assign(capacity, kEmptyKey);
        values_.assign(capacity, kNone);
        mask_ = capacity - 1;
        shift_ = 64;
        for (std::size_t c = capacity; c > 1; c >>= 1)
            --shift_;
        size_ = 0;
        for (std::size_t i = 0; i < oldKeys.size(); ++i)
            if (oldKeys[i] != kEmptyKey)
                (*this)[oldKeys[i]] = oldValues[i];
    }

    std::vector<std::uint64_t> keys_;
    std::vector<std::uint32_t> values_;
    std::size_t mask_ = 0;
    unsigned shift_ = 64;
    std::size_t size_ = 0;
};

inline std::uint64_t cellKey(int col, int row)
{
    return (static_cast<std::uint64_t>(static_cast<std::uint32_t>(col)) << 32) | static_cast<std::uint32_t>(row);
}

} // namespace kxformula::detail
