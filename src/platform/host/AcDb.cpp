// Transactions of the host stand-in over its simulated drawing, and the names of the statuses.
#include "platform/host/AcDb.h"

#include "platform/host/SimulatedDrawing.h"

#include <map>
#include <string>

const char* acadErrorStatusText(Acad::ErrorStatus status)
{
    switch (status) {
    case Acad::eOk: return "eOk";
    case Acad::eNotImplementedYet: return "eNotImplementedYet";
    case Acad::eNotApplicable: return "eNotApplicable";
    case Acad::eInvalidInput: return "eInvalidInput";
    case Acad::eAmbiguousInput: return "eAmbiguousInput";
    case Acad::eAmbiguousOutput: return "eAmbiguousOutput";
    case Acad::eOutOfMemory: return "eOutOfMemory";
    case Acad::eBufferTooSmall: return "eBufferTooSmall";
    case Acad::eInvalidOpenState: return "eInvalidOpenState";
    case Acad::eEntityInUse: return "eEntityInUse";
    case Acad::eKeyNotFound: return "eKeyNotFound";
    case Acad::eDuplicateKey: return "eDuplicateKey";
    case Acad::eInvalidIndex: return "eInvalidIndex";
    case Acad::eNullObjectId: return "eNullObjectId";
    case Acad::eWasErased: return "eWasErased";
    case Acad::eNoDatabase: return "eNoDatabase";
    case Acad::eInvalidDxfCode: return "eInvalidDxfCode";
    case Acad::eFileNotFound: return "eFileNotFound";
    case Acad::eFileAccessErr: return "eFileAccessErr";
    case Acad::eNotInDatabase: return "eNotInDatabase";
    }
    return "unknown status";
}

// The copies of the objects opened for write, by id; std::map keeps the pointers handed out stable
// while more objects are opened.
struct AcTransaction::Changes {
    std::map<AcDbObjectId, kxhost::DrawingObject> written;

    std::vector<AcDbObjectId> ids() const
    {
        std::vector<AcDbObjectId> out;
        for (const auto& [id, object] : written)
            out.push_back(id);
        return out;
    }
};

AcTransaction::AcTransaction() : AcTransaction(kxhost::activeDrawing()) {}

AcTransaction::AcTransaction(kxhost::SimulatedDrawing& drawing)
    : m_drawing(&drawing), m_changes(std::make_unique<Changes>())
{
}

AcTransaction::~AcTransaction()
{
    // A transaction left open (an early return, an exception) must not half-apply its edits.
    if (m_open)
        abort();
}

namespace {

const char* modeText(AcDb::OpenMode mode)
{
    switch (mode) {
    case AcDb::kForRead: return "for read";
    case AcDb::kForWrite: return "for write";
    case AcDb::kForNotify: return "for notify";
    }
    return "in an unknown mode";
}

} // namespace

Acad::ErrorStatus AcTransaction::getObject(const kxhost::DrawingObject*& object, AcDbObjectId id,
                                           AcDb::OpenMode mode)
{
    object = nullptr;
    Acad::ErrorStatus status = Acad::eOk;
    if (!m_open || (mode != AcDb::kForRead && mode != AcDb::kForNotify && mode != AcDb::kForWrite))
        status = Acad::eInvalidOpenState;
    else if (id.isNull())
        status = Acad::eNullObjectId;
    else if (m_drawing->wasErased(id))
        status = Acad::eWasErased;
    else if (auto pending = m_changes->written.find(id); pending != m_changes->written.end())
        object = &pending->second;
    else if ((object = m_drawing->object(id)) == nullptr)
        status = Acad::eNotInDatabase;
    m_drawing->logRequest(std::string("open ") + modeText(mode), {id}, acadErrorStatusText(status));
    return status;
}

Acad::ErrorStatus AcTransaction::getObject(kxhost::DrawingObject*& object, AcDbObjectId id, AcDb::OpenMode mode)
{
    object = nullptr;
    Acad::ErrorStatus status = Acad::eOk;
    const kxhost::DrawingObject* current = nullptr;
    if (!m_open || mode != AcDb::kForWrite)
        status = Acad::eInvalidOpenState;
    else if (id.isNull())
        status = Acad::eNullObjectId;
    else if (m_drawing->wasErased(id))
        status = Acad::eWasErased;
    else if (auto pending = m_changes->written.find(id); pending != m_changes->written.end())
        object = &pending->second;
    else if ((current = m_drawing->object(id)) == nullptr)
        status = Acad::eNotInDatabase;
    else
        object = &m_changes->written.emplace(id, *current).first->second;
    m_drawing->logRequest(std::string("open ") + modeText(mode), {id}, acadErrorStatusText(status));
    return status;
}

bool AcTransaction::end()
{
    if (!m_open)
        return false;
    m_open = false;
    int written = 0;
    int lost = 0;
    for (const auto& [id, copy] : m_changes->written) {
        kxhost::DrawingObject object = copy;
        object.id = id;  // the copy's id is not the caller's to change
        if (m_drawing->replaceObject(object))
            ++written;
        else
            ++lost;
    }
    std::string answer = std::to_string(written) + (written == 1 ? " object written" : " objects written");
    if (lost > 0)
        answer += ", " + std::to_string(lost) + " erased meanwhile";
    m_drawing->logRequest("commit transaction", m_changes->ids(), answer);
    m_changes->written.clear();
    return true;
}

bool AcTransaction::abort()
{
    if (!m_open)
        return false;
    m_open = false;
    m_drawing->logRequest("abort transaction", m_changes->ids(),
                          m_changes->written.empty() ? "nothing to drop" : "changes dropped");
    m_changes->written.clear();
    return true;
}
