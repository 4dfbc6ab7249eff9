// CResizer: moves and sizes a dialog's controls when the dialog is resized, from a table with one
// entry per control; ZnResizer does the same and hooks the dialog's size messages itself. Keeping
// the dialog's size between runs is DialogFunctions.h's business.
//
// Each edge of a control (left, top, right, bottom) is given as (mode, relative control, relative
// edge): the relative control is a control id of the same dialog, or 0 for the dialog itself; the
// relative edge is 1 left, 2 top, 3 right, 4 bottom. The modes:
//   1  keep the distance to the relative edge (an edge tied to the dialog's right edge moves with it);
//   2  keep the proportional position: the distance to the relative edge grows and shrinks with the
//      dialog's width (left and right edges) or height (top and bottom edges), so two controls tied
//      to the same proportional edge share the width between them;
//   3  keep the width: the edge follows the control's opposite edge (written for left and right);
//   4  keep the height: likewise (written for top and bottom).
// Modes 3 and 4 both keep the control's size along the axis of the edge they are given for; the
// relative control and edge are not used. Any other mode leaves the edge where it was.
//
// Positions are always computed from the layout recorded by attach, never from the last result, so
// resizing back and forth gives the same rectangles as one resize. A control whose reference is
// another control of the table is placed after that control, whatever their order in the table; a
// reference outside the table is taken where it is now. Entries of controls the dialog lacks are
// skipped; an edge whose reference control is missing, whose relative edge lies on the other axis
// or is not 1 to 4 stays where it was. A control never gets a negative width or height.
#pragma once

#include "core/KxCoreExport.h"
#include "platform/win/CWnd.h"

#include <initializer_list>
#include <memory>
#include <utility>
#include <vector>

// Edge numbers of the resize table.
enum class ResizeEdge : int {
    Left = 1,
    Top = 2,
    Right = 3,
    Bottom = 4,
};

// Modes of the resize table (the codes travel as ints in the tables).
enum class ResizeMode : int {
    Fixed = 0,         // the edge stays where it was
    KeepDistance = 1,
    Proportional = 2,
    KeepWidth = 3,
    KeepHeight = 4,
};

struct CResizerEdge {
    int mode = 0;
    int relativeId = 0;    // 0: the dialog
    int relativeEdge = 0;  // 1 left, 2 top, 3 right, 4 bottom
};

struct CResizerEntry {
    int id = 0;
    CResizerEdge left;
    CResizerEdge top;
    CResizerEdge right;
    CResizerEdge bottom;
};

class KXCORE_API CResizer {
public:
    CResizer() = default;
    virtual ~CResizer();
    CResizer(const CResizer&) = delete;
    CResizer& operator=(const CResizer&) = delete;

    // Attaches to the dialog with its table and records the present layout as the one the table
    // keeps; attaching again (after the dialog moved controls itself) records it anew. The minimum
    // size becomes the dialog's template size when it is a CDialog made from one, else its present
    // size. False for a null or dead dialog; the resizer then does nothing.
    virtual bool attach(CWnd* dialog, std::vector<CResizerEntry> entries);
    bool attach(CWnd* dialog, std::initializer_list<CResizerEntry> entries)
    {
        return attach(dialog, std::vector<CResizerEntry>(entries));
    }
    // Forgets the dialog and the table.
    virtual void detach();
    bool isAttached() const;

    // Lays the controls out for the dialog's present client size. Call it from the dialog's OnSize.
    void apply();
    // Raises info's minimum track size to the minimum size. Call it from OnGetMinMaxInfo.
    void getMinMaxInfo(MINMAXINFO* info) const;

    SIZE minimumSize() const { return m_minimum; }
    void setMinimumSize(SIZE size) { m_minimum = size; }
    const std::vector<CResizerEntry>& entries() const { return m_entries; }

private:
    struct Layout;
    const RECT* recorded(int id) const;
    int entryIndex(int id) const;
    void place(size_t index, Layout& layout) const;
    bool reference(int relativeId, int edge, Layout& layout, long long& now, long long& then) const;
    long long edgePosition(const CResizerEdge& edge, bool horizontal, long long original, Layout& layout,
                           bool& keepSize) const;

    HWND m_dialog = nullptr;
    std::vector<CResizerEntry> m_entries;
    // The layout recorded by attach: the dialog's client size and each control's rectangle, also of
    // controls the table only refers to.
    SIZE m_clientThen;
    std::vector<std::pair<int, RECT>> m_recorded;
    SIZE m_minimum;
    bool m_applying = false;
};

// A CResizer that routes the dialog's WM_SIZE and WM_GETMINMAXINFO to itself through the dialog's
// message map, for dialogs that have no size handling of their own (the map takes those messages
// before the dialog's OnSize and OnGetMinMaxInfo). After the resizer is destroyed or detached the
// messages get the default handling.
class KXCORE_API ZnResizer : public CResizer {
public:
    ZnResizer() = default;
    ~ZnResizer() override;

    using CResizer::attach;
    bool attach(CWnd* dialog, std::vector<CResizerEntry> entries) override;
    void detach() override;

private:
    // Shared with the dialog's message handlers, which may outlive this object.
    struct Link {
        ZnResizer* resizer = nullptr;
    };
    std::shared_ptr<Link> m_link;
};
