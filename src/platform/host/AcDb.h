// Drawing object ids, the host's array template, transactions and error statuses: the small value
// types the module passes between the host and its callers without looking inside.
#pragma once

#include "platform/host/KxHostExport.h"

#include <algorithm>
#include <compare>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

namespace Acad {

// Results of host operations. Values as the host numbers them, so they survive a round trip
// through callers that store them as ints.
enum ErrorStatus : int {
    eOk = 0,
    eNotImplementedYet = 1,
    eNotApplicable = 2,
    eInvalidInput = 3,
    eAmbiguousInput = 4,
    eAmbiguousOutput = 5,
    eOutOfMemory = 6,
    eBufferTooSmall = 7,
    eInvalidOpenState = 8,
    eEntityInUse = 9,
    eKeyNotFound = 10,
    eDuplicateKey = 11,
    eInvalidIndex = 12,
    eNullObjectId = 20,
    eWasErased = 21,
    eNoDatabase = 66,
    eInvalidDxfCode = 91,
    eFileNotFound = 140,
    eFileAccessErr = 141,
    eNotInDatabase = 337,
};

} // namespace Acad

// Identifies one object of the drawing; the null id (0) names nothing.
class AcDbObjectId {
public:
    constexpr AcDbObjectId() = default;
    constexpr explicit AcDbObjectId(std::int64_t handle) : m_handle(handle) {}

    static const AcDbObjectId kNull;

    constexpr bool isNull() const { return m_handle == 0; }
    constexpr std::int64_t handle() const { return m_handle; }
    constexpr void setNull() { m_handle = 0; }

    friend constexpr auto operator<=>(const AcDbObjectId&, const AcDbObjectId&) = default;

private:
    std::int64_t m_handle = 0;
};

inline constexpr AcDbObjectId AcDbObjectId::kNull{};

// The host's growable array: logical length, append, index access, find.
template <typename T>
class AcArray {
public:
    AcArray() = default;
    AcArray(std::initializer_list<T> items) : m_items(items) {}

    int length() const { return static_cast<int>(m_items.size()); }
    int logicalLength() const { return length(); }
    bool isEmpty() const { return m_items.empty(); }

    int append(const T& item)
    {
        m_items.push_back(item);
        return length() - 1;
    }
    // Index must be valid: the host treats a bad index as a programming error, as callers check.
    T& operator[](int i) { return m_items.at(static_cast<size_t>(i)); }
    const T& operator[](int i) const { return m_items.at(static_cast<size_t>(i)); }
    T& at(int i) { return (*this)[i]; }
    const T& at(int i) const { return (*this)[i]; }

    AcArray& removeAt(int i)
    {
        if (i >= 0 && i < length())
            m_items.erase(m_items.begin() + i);
        return *this;
    }
    AcArray& setLogicalLength(int n)
    {
        m_items.resize(static_cast<size_t>(std::max(n, 0)));
        return *this;
    }
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

    auto begin() const { return m_items.begin(); }
    auto end() const { return m_items.end(); }

    friend bool operator==(const AcArray&, const AcArray&) = default;

private:
    std::vector<T> m_items;
};

using AcDbObjectIdArray = AcArray<AcDbObjectId>;

namespace kxhost {
class SimulatedDrawing;
struct DrawingObject;
} // namespace kxhost

namespace AcDb {

enum OpenMode : int {
    kForRead = 0,
    kForWrite = 1,
    kForNotify = 2,
};

} // namespace AcDb

// The status's name as the host spells it ("eOk", "eWasErased"); "unknown status" for other values.
KXHOST_API const char* acadErrorStatusText(Acad::ErrorStatus status);

// A unit of reading and changing the drawing. Objects opened for write are copies until the
// transaction ends: end() writes them into the drawing, abort() (and a transaction destroyed while
// still open) drops them, so a failed edit leaves the drawing as it was. Every open, commit and
// abort is logged in the drawing's request log.
class KXHOST_API AcTransaction {
public:
    // On the host's open drawing (kxhost::activeDrawing()).
    AcTransaction();
    // On `drawing`, which must outlive the transaction.
    explicit AcTransaction(kxhost::SimulatedDrawing& drawing);
    virtual ~AcTransaction();
    AcTransaction(const AcTransaction&) = delete;
    AcTransaction& operator=(const AcTransaction&) = delete;

    bool isOpen() const { return m_open; }
    // Opens an object for reading (kForRead or kForNotify). `object` is null unless eOk; the pointer
    // lives until the drawing's objects change. A transaction's own pending writes are what it reads.
    // eNullObjectId, eWasErased, eNotInDatabase for an unknown id, eInvalidOpenState once ended.
    Acad::ErrorStatus getObject(const kxhost::DrawingObject*& object, AcDbObjectId id,
                                AcDb::OpenMode mode = AcDb::kForRead);
    // Opens an object for writing: `object` is the transaction's copy, valid until it ends. The
    // same statuses as for reading, and eInvalidOpenState for a mode other than kForWrite.
    Acad::ErrorStatus getObject(kxhost::DrawingObject*& object, AcDbObjectId id,
                                AcDb::OpenMode mode = AcDb::kForWrite);
    // Writes what was opened for write into the drawing and ends the transaction; false when it had
    // already ended. An object erased meanwhile is not brought back.
    bool end();
    // Drops what was opened for write and ends the transaction; false when it had already ended.
    bool abort();

private:
    struct Changes;
    kxhost::SimulatedDrawing* m_drawing;
    std::unique_ptr<Changes> m_changes;
    bool m_open = true;
};
