// Kx_DlgDesignerData in designer mode: the history of editing steps behind undo and redo, and the
// saved-state mark behind the editor's modified flag. The steps themselves are recorded by the
// commands (DesignerSelection.cpp, DesignerEditing.cpp).
//
// A step keeps whole copies of the controls rather than the command that made it: a copy is a few
// hundred bytes a control, a page holds at most 100 addressable controls, and putting back a copy
// gives the layout bit for bit as it was, which replaying inverse commands over pixel-rounded
// windows would not.
#include "designer/Kx_DlgDesignerData.h"

#include "core/FileIO.h"
#include "designer/DesignerState.h"
#include "designer/LayoutFiles.h"
#include "platform/win/Bitmap.h"
#include "platform/win/SaveFile.h"
#include "platform/win/Window.h"

#include <bit>
#include <cstdint>
#include <span>

namespace kxdesigner {

namespace {

bool sameFactor(double a, double b)
{
    return std::bit_cast<std::uint64_t>(a) == std::bit_cast<std::uint64_t>(b);
}

bool sameControl(const Kx_DesignerControl& a, const Kx_DesignerControl& b)
{
    if (a.getType() != b.getType() || a.isReadOnly() != b.isReadOnly() || a.getResourceId() != b.getResourceId()
        || a.getTabOrder() != b.getTabOrder() || !sameFactor(a.topLeftX(), b.topLeftX())
        || !sameFactor(a.topLeftY(), b.topLeftY()) || !sameFactor(a.bottomRightX(), b.bottomRightX())
        || !sameFactor(a.bottomRightY(), b.bottomRightY()) || a.getContents().str() != b.getContents().str()
        || a.getComboList().str() != b.getComboList().str() || a.getItems().length() != b.getItems().length())
        return false;
    for (int k = 1; k <= 4; ++k) {
        if (a.getExtA(k).str() != b.getExtA(k).str() || a.getExtB(k).str() != b.getExtB(k).str())
            return false;
    }
    for (int k = 0; k < a.getItems().length(); ++k) {
        if (a.getItems()[k].str() != b.getItems()[k].str())
            return false;
    }
    return true;
}

} // namespace

bool sameControls(const std::vector<Kx_DesignerControl>& a, const std::vector<Kx_DesignerControl>& b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (!sameControl(a[i], b[i]))
            return false;
    }
    return true;
}

} // namespace kxdesigner

using kxdesigner::Snapshot;

kxdesigner::Snapshot Kx_DlgDesignerData::State::snapshot() const
{
    return Snapshot{controls, selection, pictureBytes};
}

void Kx_DlgDesignerData::State::recordStep(Snapshot before, const std::string& mergeKey)
{
    if (kxdesigner::sameControls(before.controls, controls) && before.picture == pictureBytes)
        return;
    kxdesigner::History& h = history;
    h.redo.clear();
    const std::uint64_t state = h.next++;
    if (!mergeKey.empty() && mergeKey == h.lastMergeKey && !h.undo.empty()) {
        // The step joins the one just taken: its "before" stays, the layout moves on.
    } else {
        h.undo.push_back({std::move(before), h.current, mergeKey});
        while (h.undo.size() > static_cast<size_t>(kMaxUndoSteps))
            h.undo.pop_front();
    }
    h.current = state;
    h.lastMergeKey = mergeKey;
}

namespace {

using State = Kx_DlgDesignerData::State;

// Writes the picture file of the layout's name and attaches it; false when it cannot.
bool putPicture(Kx_DlgDesignerData& layout, const std::string& bytes)
{
    const auto file = kxdesigner::resolveLayoutFile(layout.getName());
    if (!file)
        return false;
    std::string error;
    if (!kxwin::saveFileAtomically(file->picture, bytes, error))
        return false;
    return layout.attachBitmap(Kx_String(file->picture));
}

} // namespace

bool Kx_DlgDesignerData::canUndo() const
{
    return !m_state->history.undo.empty();
}

bool Kx_DlgDesignerData::canRedo() const
{
    return !m_state->history.redo.empty();
}

int Kx_DlgDesignerData::undoCount() const
{
    return static_cast<int>(m_state->history.undo.size());
}

void Kx_DlgDesignerData::clearHistory()
{
    kxdesigner::History& h = m_state->history;
    h.undo.clear();
    h.redo.clear();
    h.lastMergeKey.clear();
    h.current = h.next++;
    h.saved = h.current;
}

void Kx_DlgDesignerData::markSaved()
{
    m_state->history.saved = m_state->history.current;
    m_state->history.lastMergeKey.clear();
}

bool Kx_DlgDesignerData::isAtSavedState() const
{
    return m_state->history.current == m_state->history.saved;
}

namespace {

// Puts the layout into the snapshot and draws it again; the picture file only when the snapshot's
// differs from the one shown.
void restore(Kx_DlgDesignerData& layout, State& s, const Snapshot& snap)
{
    if (snap.picture && snap.picture != s.pictureBytes && putPicture(layout, *snap.picture))
        s.pictureBytes = snap.picture;
    s.controls = snap.controls;
    s.drag = kxdesigner::DragMode::None;
    if (s.initialized && IsWindow(s.host)) {
        layout.redrawAllControls();
        layout.setSelection(snap.selection);
    } else {
        s.selection.clear();
    }
}

// Takes the newest entry of `from`, puts the layout as it stands on `to`, and goes to the entry's
// layout: undo goes from the undo list to the redo list, redo the other way.
bool travel(Kx_DlgDesignerData& layout, State& s, std::deque<kxdesigner::HistoryEntry>& from,
            std::deque<kxdesigner::HistoryEntry>& to)
{
    try {
        kxdesigner::History& h = s.history;
        if (from.empty())
            return false;
        kxdesigner::HistoryEntry entry = std::move(from.back());
        from.pop_back();
        to.push_back({s.snapshot(), h.current, entry.mergeKey});
        restore(layout, s, entry.snapshot);
        h.current = entry.state;
        h.lastMergeKey.clear();
        return true;
    } catch (...) {
        return false;
    }
}

} // namespace

bool Kx_DlgDesignerData::undo()
{
    return travel(*this, *m_state, m_state->history.undo, m_state->history.redo);
}

bool Kx_DlgDesignerData::redo()
{
    return travel(*this, *m_state, m_state->history.redo, m_state->history.undo);
}

bool Kx_DlgDesignerData::replacePicture(const std::string& bytes)
{
    try {
        State& s = *m_state;
        const auto file = kxdesigner::resolveLayoutFile(s.name);
        if (s.name.isEmpty() || !file)
            return false;
        {
            const std::span<const BYTE> view(reinterpret_cast<const BYTE*>(bytes.data()), bytes.size());
            CBitmap trial;
            if (!trial.Attach(kxwin::decodeBitmap(view)) || trial.size().cx <= 0 || trial.size().cy <= 0)
                return false;
        }
        Snapshot before = s.snapshot();
        if (!before.picture) {
            // The picture shown so far, as its file holds it, so that undo can put it back.
            std::string old;
            std::string error;
            constexpr size_t kMaxPictureFileBytes = size_t{80} << 20;
            kx::readFileBytes(file->picture, kMaxPictureFileBytes, old, error);
            before.picture = std::make_shared<const std::string>(std::move(old));
        }
        // The controls keep their places in pixels of the old picture as factors.
        getSizeFromAllControls();
        if (!putPicture(*this, bytes))
            return false;
        s.pictureBytes = std::make_shared<const std::string>(bytes);
        redrawAllControls();
        s.recordStep(std::move(before));
        return true;
    } catch (...) {
        return false;
    }
}
