// Kx_Array<T>: the core module's ordered list. Bad indices are reported on the command line and the
// call does nothing, as the add-on's modules expect; they never throw or crash.
#pragma once

#include "platform/host/CommandLine.h"

#include <algorithm>
#include <initializer_list>
#include <utility>
#include <vector>

template <typename T>
class Kx_Array {
public:
    Kx_Array() = default;
    Kx_Array(std::initializer_list<T> items) : m_items(items) {}
    explicit Kx_Array(std::vector<T> items) : m_items(std::move(items)) {}

    int length() const { return static_cast<int>(m_items.size()); }
    int logicalLength() const { return length(); }
    bool isEmpty() const { return m_items.empty(); }

    Kx_Array& append(const T& item) { m_items.push_back(item); return *this; }
    Kx_Array& append(T&& item) { m_items.push_back(std::move(item)); return *this; }

    // Inserts before index; index == length() appends. Anything else prints the insert error.
    Kx_Array& insertAt(int index, const T& item)
    {
        if (index < 0 || index > length()) {
            acutPrintf("*Error* Invalid index passed to insert.\n");
            return *this;
        }
        m_items.insert(m_items.begin() + index, item);
        return *this;
    }

    Kx_Array& removeAt(int index)
    {
        if (index < 0 || index >= length()) {
            acutPrintf("*Error* Invalid index passed to remove.\n");
            return *this;
        }
        m_items.erase(m_items.begin() + index);
        return *this;
    }

    // Index must be in range: callers check length() first (a programmer's mistake otherwise). A bad
    // index throws std::out_of_range, which the module boundary turns into a failure, rather than
    // reading or writing outside the list. decltype(auto) so that Kx_Array<bool> works too.
    decltype(auto) operator[](int index) { return m_items.at(static_cast<size_t>(index)); }
    decltype(auto) operator[](int index) const { return m_items.at(static_cast<size_t>(index)); }
    decltype(auto) at(int index) { return (*this)[index]; }
    decltype(auto) at(int index) const { return (*this)[index]; }
    // On an empty list these throw like a bad index.
    decltype(auto) first() { return (*this)[0]; }
    decltype(auto) last() { return (*this)[length() - 1]; }
    decltype(auto) first() const { return (*this)[0]; }
    decltype(auto) last() const { return (*this)[length() - 1]; }

    // Grows with default values or shrinks; a negative length counts as 0.
    Kx_Array& setLogicalLength(int n)
    {
        m_items.resize(static_cast<size_t>(std::max(n, 0)));
        return *this;
    }
    // 0 frees the storage (and empties the list); other values reserve at least that much, and a
    // value below the length cuts the list down to it.
    Kx_Array& setPhysicalLength(int n)
    {
        if (n <= 0) {
            std::vector<T>().swap(m_items);
        } else {
            if (static_cast<size_t>(n) < m_items.size())
                m_items.resize(static_cast<size_t>(n));
            m_items.reserve(static_cast<size_t>(n));
        }
        return *this;
    }
    void removeAll() { m_items.clear(); }

    // Index of the first element equal to item at or after start; false when there is none.
    bool find(const T& item, int& index, int start = 0) const
    {
        for (int i = std::max(start, 0); i < length(); ++i) {
            if (m_items[static_cast<size_t>(i)] == item) {
                index = i;
                return true;
            }
        }
        return false;
    }
    bool contains(const T& item) const
    {
        int unused = 0;
        return find(item, unused);
    }

    auto begin() { return m_items.begin(); }
    auto end() { return m_items.end(); }
    auto begin() const { return m_items.begin(); }
    auto end() const { return m_items.end(); }
    std::vector<T>& items() { return m_items; }
    const std::vector<T>& items() const { return m_items; }

    friend bool operator==(const Kx_Array& a, const Kx_Array& b) { return a.m_items == b.m_items; }

private:
    std::vector<T> m_items;
};

// Makes out a list of n copies of value (n < 0 counts as 0), replacing what it held. Works with every
// list type of the add-on that has setLogicalLength and append (Kx_Array, Kx_StringArray, AcArray),
// e.g. an "all enabled" list of the same length as another: fillArr(enabled, names.length(), true).
template <typename List, typename T>
void fillArr(List& out, int n, const T& value)
{
    out.setLogicalLength(0);
    for (int i = 0; i < n; ++i)
        out.append(value);
}
