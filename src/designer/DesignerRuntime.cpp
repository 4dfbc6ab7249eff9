// Kx_DlgDesignerData at run time: placing the layout's controls as child windows of a host dialog,
// their values by resource id, read-only switching, focus and the Tab key, painting the picture, and
// taking positions back from the windows. Flex buttons are in DesignerFlexButtons.cpp.
#include "designer/Kx_DlgDesignerData.h"

#include "core/NumberLists.h"
#include "core/TextTables.h"
#include "designer/DesignerState.h"
#include "platform/win/DrawingContext.h"
#include "platform/win/Window.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <iterator>

namespace {

// The text of a check box's third state, shared with the core's "values differ" marker.
constexpr int kIndeterminateText = 695;
// The five fixed items of a cut-mode list (type 28).
constexpr int kCutModeTexts[] = {1395, 1396, 1397, 1398, 695};
// The dialog face the designer paints under the picture.
constexpr COLORREF kDialogFace = RGB(240, 240, 240);
constexpr COLORREF kTransparent = RGB(255, 255, 255);

struct WindowSpec {
    const char* className;
    DWORD style;
    DWORD exStyle;
};

WindowSpec windowSpecOf(Kx_WindowKind kind)
{
    switch (kind) {
    case Kx_WindowKind::Static:
        return {"Static", SS_LEFT, 0};
    case Kx_WindowKind::GroupFrame:
        return {"Button", BS_GROUPBOX, 0};
    case Kx_WindowKind::Edit:
        return {"Edit", ES_LEFT | ES_AUTOHSCROLL | WS_TABSTOP, WS_EX_CLIENTEDGE};
    case Kx_WindowKind::MultiLineEdit:
        return {"Edit", ES_LEFT | ES_MULTILINE | ES_AUTOVSCROLL | WS_TABSTOP, WS_EX_CLIENTEDGE};
    case Kx_WindowKind::DropDownList:
        return {"ComboBox", CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, 0};
    case Kx_WindowKind::DropDownCombo:
        return {"ComboBox", CBS_DROPDOWN | CBS_AUTOHSCROLL | WS_VSCROLL | WS_TABSTOP, 0};
    case Kx_WindowKind::PushButton:
        return {"Button", BS_PUSHBUTTON | WS_TABSTOP, 0};
    case Kx_WindowKind::CheckBox:
        return {"Button", BS_AUTOCHECKBOX | WS_TABSTOP, 0};
    case Kx_WindowKind::FlexButton:
        return {"Button", BS_AUTOCHECKBOX | BS_PUSHLIKE | BS_ICON | BS_VCENTER | WS_TABSTOP, 0};
    }
    return {"Static", SS_LEFT, 0};
}

bool takesPartInTabOrder(const Kx_DesignerControl& ctrl)
{
    const Kx_ControlType type = ctrl.getType();
    return !ctrl.isReadOnly() && isKnownControlType(type) && type != Kx_ControlType::Label
        && type != Kx_ControlType::Frame;
}

bool canTakeFocus(HWND hwnd)
{
    return IsWindow(hwnd) && IsWindowVisible(hwnd) && IsWindowEnabled(hwnd);
}

void focusWindow(HWND hwnd)
{
    SetFocus(hwnd);
    if (GetClassName(hwnd) == "Edit") {
        SendMessage(hwnd, EM_SETSEL, 0, -1);
        SendMessage(hwnd, EM_SCROLLCARET);
    }
}

Kx_String readCheckValue(HWND hwnd)
{
    switch (SendMessage(hwnd, BM_GETCHECK)) {
    case BST_CHECKED:
        return "1";
    case BST_INDETERMINATE:
        return dialString(kIndeterminateText);
    default:
        return "0";
    }
}

void writeCheckValue(HWND hwnd, const Kx_String& value)
{
    if (value.equal(dialString(kIndeterminateText), /*exact=*/false)) {
        SendMessage(hwnd, BM_SETSTYLE, BS_AUTO3STATE, TRUE);
        SendMessage(hwnd, BM_SETCHECK, BST_INDETERMINATE);
        return;
    }
    double number = 0;
    const bool checked = value.toDouble(number) && number > 0;
    SendMessage(hwnd, BM_SETSTYLE, BS_AUTOCHECKBOX, TRUE);
    SendMessage(hwnd, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED);
}

void addComboItem(HWND combo, const Kx_String& text)
{
    SendMessage(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

// A top-left coordinate plus a size, kept within the coordinate range.
LONG extend(LONG from, LONG by)
{
    return static_cast<LONG>(std::min<long long>(static_cast<long long>(from) + by, kMaxDesignerCoordinate));
}

// Stacks the drawn windows in their keyboard order, the others after them in list order. A host
// that leaves Tab to the dialog (as a macro page does) then moves through the layout in the same
// order as handleTabKey, because the dialog walks its controls in stacking order.
void stackInTabOrder(const Kx_DlgDesignerData::State& s)
{
    if (s.drawn.size() != s.controls.size() || s.drawn.empty())
        return;
    std::vector<size_t> order(s.controls.size());
    for (size_t k = 0; k < order.size(); ++k)
        order[k] = k;
    const auto place = [&s](size_t k) {
        const int t = s.controls[k].getTabOrder();
        return takesPartInTabOrder(s.controls[k]) && t > 0 ? t : std::numeric_limits<int>::max();
    };
    std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) { return place(a) < place(b); });
    // The block stays where its first window was among the host's other children.
    const std::vector<HWND> siblings = GetChildWindows(s.host);
    HWND after = nullptr;
    for (HWND w : siblings) {
        const bool ours = std::any_of(s.drawn.begin(), s.drawn.end(),
                                      [w](const kxdesigner::DrawnWindow& d) { return d.hwnd == w; });
        if (ours)
            break;
        after = w;
    }
    for (size_t k : order) {
        HWND hwnd = s.drawn[k].hwnd;
        if (!IsWindow(hwnd))
            continue;
        SetWindowPos(hwnd, after, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_NOREDRAW);
        after = hwnd;
    }
}

} // namespace

bool Kx_DlgDesignerData::initialize(HWND host, int firstId, int lastId, int typeComboId, int descriptionId,
                                    int contentsId, int hintId, int comboListId, bool designerMode)
{
    if (host == nullptr || !IsWindow(host))
        return false;
    State& s = *m_state;
    s.host = host;
    s.firstId = firstId;
    s.lastId = lastId;
    s.designerMode = designerMode;
    s.initialized = true;
    if (!designerMode)
        return true;

    s.typeComboId = typeComboId;
    s.descriptionId = descriptionId;
    s.contentsId = contentsId;
    s.hintId = hintId;
    s.comboListId = comboListId;
    s.trackers.clear();
    s.selection.clear();
    if (HWND types = GetDlgItem(host, typeComboId)) {
        SendMessage(types, CB_RESETCONTENT);
        for (int code = 0; code < kControlTypeCount; ++code)
            addComboItem(types, controlTypeName(static_cast<Kx_ControlType>(code)));
    }
    // Nothing is selected yet: the property controls are empty and disabled.
    for (int id : {typeComboId, descriptionId, contentsId, hintId, comboListId}) {
        if (HWND control = GetDlgItem(host, id)) {
            if (GetClassName(control) == "ComboBox")
                SendMessage(control, CB_SETCURSEL, static_cast<WPARAM>(-1));
            else
                SetWindowText(control, "");
            EnableWindow(control, FALSE);
        }
    }
    return true;
}

bool Kx_DlgDesignerData::isInitialized() const
{
    return m_state->initialized;
}

bool Kx_DlgDesignerData::isDesignerMode() const
{
    return m_state->designerMode;
}

HWND Kx_DlgDesignerData::getDlgPtr() const
{
    return m_state->host;
}

void Kx_DlgDesignerData::redrawAllControls()
{
    try {
        State& s = *m_state;
        if (s.designerMode)
            s.selection.clear();
        else
            sortAllControls();
        removeAllDrawnCtrls();
        for (const Kx_DesignerControl& ctrl : s.controls)
            drawControl(ctrl);
        if (s.designerMode && s.tabOrderView)
            setTabOrderView(true);
        if (!s.designerMode)
            stackInTabOrder(s);
    } catch (...) {
        // Out of memory: the windows drawn so far stay.
    }
}

bool Kx_DlgDesignerData::drawControl(const Kx_DesignerControl& ctrl)
{
    try {
        State& s = *m_state;
        if (!s.initialized || !IsWindow(s.host))
            return false;
        const Kx_WindowKind kind = windowKindOf(ctrl.getType());
        RECT r = getDrawnRect(ctrl);
        if (!s.designerMode && isComboKind(kind))
            r.bottom = std::max(r.bottom, extend(r.top, kDesignerDropDownHeight));
        const WindowSpec shape = windowSpecOf(kind);
        HWND hwnd = CreateWindowEx(shape.exStyle, shape.className, ctrl.getContents().str(),
                                   WS_CHILD | WS_VISIBLE | shape.style, r.left, r.top, std::max<LONG>(0, r.width()),
                                   std::max<LONG>(0, r.height()), s.host, ctrl.getResourceId());
        if (hwnd == nullptr)
            return false;
        SendMessage(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(GetWindowFont(s.host)), FALSE);
        // In the designer every window but a label is disabled, so that clicks reach the selection.
        if (ctrl.isReadOnly() || (s.designerMode && kind != Kx_WindowKind::Static))
            EnableWindow(hwnd, FALSE);
        s.drawn.push_back({hwnd, ctrl.getResourceId(), GetWindowRectInParent(hwnd)});
        if (s.designerMode)
            s.trackers.push_back({hwnd, false});

        if (ctrl.getType() == Kx_ControlType::CutModeList) {
            for (int text : kCutModeTexts)
                addComboItem(hwnd, dialString(text));
            int index = -1;
            if (ctrl.getContents().toInt(index) && index >= 0 && index < static_cast<int>(std::size(kCutModeTexts)))
                SendMessage(hwnd, CB_SETCURSEL, static_cast<WPARAM>(index));
        } else if (isComboKind(kind)) {
            Kx_StringArray items = ctrl.getItems();
            if (items.isEmpty())
                ctrl.getComboItemsFromFile(items);
            if (!items.isEmpty()) {
                for (const Kx_String& item : items)
                    addComboItem(hwnd, item);
                int match = -1;
                if (items.find(ctrl.getContents(), match, /*exact=*/false))
                    SendMessage(hwnd, CB_SETCURSEL, static_cast<WPARAM>(match));
                else
                    SetWindowText(hwnd, ctrl.getContents().str());
            }
        } else if (kind == Kx_WindowKind::CheckBox) {
            writeCheckValue(hwnd, ctrl.getComboList());
        } else if (kind == Kx_WindowKind::FlexButton) {
            // One icon per layout, shared by all its flex buttons and freed with the layout.
            if (!s.flexIconLoaded) {
                s.flexIconLoaded = true;
                s.flexIcon.reset(LoadIcon(kFlexButtonIconId));
            }
            if (s.flexIcon.get() != nullptr)
                SendMessage(hwnd, BM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(s.flexIcon.get()));
        }
        return true;
    } catch (...) {
        return false;
    }
}

void Kx_DlgDesignerData::removeAllDrawnCtrls()
{
    State& s = *m_state;
    // The records go first, so that nothing reached from a window's destruction sees a dead one.
    std::vector<kxdesigner::DrawnWindow> drawn;
    drawn.swap(s.drawn);
    s.trackers.clear();
    s.selection.clear();
    for (const kxdesigner::DrawnWindow& d : drawn) {
        if (IsWindow(d.hwnd) && GetParent(d.hwnd) == s.host)
            DestroyWindow(d.hwnd);
    }
}

int Kx_DlgDesignerData::getNrDrawnControls() const
{
    return static_cast<int>(m_state->drawn.size());
}

HWND Kx_DlgDesignerData::getDrawnWindow(int k) const
{
    const auto& drawn = m_state->drawn;
    return (k >= 0 && k < static_cast<int>(drawn.size())) ? drawn[static_cast<size_t>(k)].hwnd : nullptr;
}

// Rows from the top, left to right within a row. The candidates are taken in the order of their
// tops (ties in list order), so the highest remaining candidate is always the next one, and the
// candidates whose top is not below its bottom follow it directly: each row is one run of that
// order, and the whole sort is n log n however many controls a file holds. A candidate always
// joins its own row, also when its rectangle is upside down, so that every pass makes progress.
void Kx_DlgDesignerData::sortAllControls()
{
    try {
        std::vector<Kx_DesignerControl>& controls = m_state->controls;
        // The edges are copied out once: sorting then reads a compact array instead of the controls
        // themselves, which a layout of thousands of controls would spread over megabytes.
        struct Candidate {
            double top;  // a top that is not a number sorts after every other
            double bottom;
            double left;
            int index;
        };
        std::vector<Candidate> candidates;
        for (size_t i = 0; i < controls.size(); ++i) {
            const Kx_DesignerControl& c = controls[i];
            if (!takesPartInTabOrder(c))
                continue;
            const double top = std::isnan(c.topLeftY()) ? std::numeric_limits<double>::infinity() : c.topLeftY();
            candidates.push_back({top, c.bottomRightY(), c.topLeftX(), static_cast<int>(i)});
        }
        std::stable_sort(candidates.begin(), candidates.end(),
                         [](const Candidate& a, const Candidate& b) { return a.top < b.top; });

        int order = 1;
        size_t next = 0;
        Kx_Array<double> lefts;
        Kx_Array<int> indices;
        while (next < candidates.size()) {
            const double bottom = candidates[next].bottom;
            size_t end = next + 1;
            while (end < candidates.size() && candidates[end].top <= bottom)
                ++end;
            // The row in list order, then by left edge; the core's sort keeps list order among equals.
            std::sort(candidates.begin() + static_cast<long>(next), candidates.begin() + static_cast<long>(end),
                      [](const Candidate& a, const Candidate& b) { return a.index < b.index; });
            lefts.removeAll();
            indices.removeAll();
            for (size_t k = next; k < end; ++k) {
                lefts.append(candidates[k].left);
                indices.append(candidates[k].index);
            }
            ObjectExportSort(lefts, indices, indices.length());
            for (int i : indices)
                controls[static_cast<size_t>(i)].setTabOrder(order++);
            next = end;
        }
    } catch (...) {
        // Out of memory: the controls numbered so far keep their places.
    }
}

bool Kx_DlgDesignerData::getCtrlValue(int id, Kx_String& value) const
{
    const Kx_DesignerControl* ctrl = getControlFromRes(id);
    HWND hwnd = m_state->drawnWindowOf(id);
    if (ctrl == nullptr || hwnd == nullptr)
        return false;
    switch (ctrl->getType()) {
    case Kx_ControlType::CheckBox:
        value = readCheckValue(hwnd);
        return true;
    case Kx_ControlType::CutModeList:
        value = Kx_String(static_cast<int>(SendMessage(hwnd, CB_GETCURSEL)));
        return true;
    default:
        value = Kx_String(GetWindowText(hwnd));
        return true;
    }
}

bool Kx_DlgDesignerData::setCtrlValue(int id, const Kx_String& value)
{
    const Kx_DesignerControl* ctrl = getControlFromRes(id);
    HWND hwnd = m_state->drawnWindowOf(id);
    if (ctrl == nullptr || hwnd == nullptr)
        return false;
    switch (ctrl->getType()) {
    case Kx_ControlType::DimensionButton:
    case Kx_ControlType::DimensionButtonTwoValues:
        return true;
    case Kx_ControlType::CheckBox:
        writeCheckValue(hwnd, value);
        return true;
    case Kx_ControlType::CutModeList: {
        int index = 0;
        const int count = static_cast<int>(SendMessage(hwnd, CB_GETCOUNT));
        if (!value.toInt(index) || index < -1 || index >= count)
            return false;
        SendMessage(hwnd, CB_SETCURSEL, static_cast<WPARAM>(static_cast<std::intptr_t>(index)));
        return true;
    }
    default:
        // A drop-down list shows only its items: the value selects the item of that text, ignoring
        // case; a text that is no item leaves the selection and says so.
        if (GetClassName(hwnd) == "ComboBox" && (GetWindowLong(hwnd, GWL_STYLE) & 0x3) == CBS_DROPDOWNLIST) {
            const LRESULT found = SendMessage(hwnd, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                              reinterpret_cast<LPARAM>(value.c_str()));
            if (found == CB_ERR)
                return false;
            SendMessage(hwnd, CB_SETCURSEL, static_cast<WPARAM>(found));
            return true;
        }
        SetWindowText(hwnd, value.str());
        return true;
    }
}

bool Kx_DlgDesignerData::setCtrlReadOnly(int id, bool readOnly)
{
    const Kx_DesignerControl* ctrl = getControlFromRes(id);
    HWND hwnd = m_state->drawnWindowOf(id);
    if (ctrl == nullptr || hwnd == nullptr)
        return false;
    if (ctrl->getType() != Kx_ControlType::VariableEdit && ctrl->getType() != Kx_ControlType::VariableCombo)
        return false;
    const bool enabled = IsWindowEnabled(hwnd) != FALSE;
    if (enabled == readOnly)
        EnableWindow(hwnd, readOnly ? FALSE : TRUE);
    return true;
}

namespace {

// Of the controls whose tab order lies strictly between `after` and `before` and whose window can
// take the focus, the one nearest `after` (forward) or nearest `before` (backward). Null when none.
HWND nextInTabOrder(const Kx_DlgDesignerData::State& s, int after, int before, bool forward)
{
    HWND best = nullptr;
    int bestOrder = 0;
    for (const Kx_DesignerControl& ctrl : s.controls) {
        const int order = ctrl.getTabOrder();
        if (order <= after || order >= before || !takesPartInTabOrder(ctrl))
            continue;
        if (best != nullptr && (forward ? order >= bestOrder : order <= bestOrder))
            continue;
        HWND hwnd = s.drawnWindowOf(ctrl.getResourceId());
        if (hwnd == nullptr || !canTakeFocus(hwnd))
            continue;
        best = hwnd;
        bestOrder = order;
    }
    return best;
}

} // namespace

bool Kx_DlgDesignerData::setFocusToCtrl(bool first)
{
    const State& s = *m_state;
    if (!s.initialized || !containsEditableCtrls())
        return false;
    HWND target = nextInTabOrder(s, 0, std::numeric_limits<int>::max(), first);
    if (target == nullptr)
        return false;
    focusWindow(target);
    return true;
}

bool Kx_DlgDesignerData::getFocusedDynControl(int& id) const
{
    HWND focus = GetFocus();
    if (focus == nullptr) {
        id = 0;
        return false;
    }
    // A drop-down combo keeps the focus in its inner edit: that is the combo's focus.
    const auto isDrawn = [this](HWND hwnd) {
        return std::any_of(m_state->drawn.begin(), m_state->drawn.end(),
                           [hwnd](const kxdesigner::DrawnWindow& d) { return d.hwnd == hwnd; });
    };
    if (!isDrawn(focus) && isDrawn(GetParent(focus)))
        focus = GetParent(focus);
    id = GetDlgCtrlID(focus);
    return isDrawn(focus);
}

bool Kx_DlgDesignerData::isADynControl(int id) const
{
    return m_state->drawnWindowOf(id) != nullptr;
}

bool Kx_DlgDesignerData::containsEditableCtrls() const
{
    return std::any_of(m_state->controls.begin(), m_state->controls.end(),
                       [](const Kx_DesignerControl& c) { return !c.isReadOnly(); });
}

bool Kx_DlgDesignerData::handleTabKey(int key, Kx_TabMsgHandle& result)
{
    result = Kx_TabMsgHandle::NotHandled;
    if (key != VK_TAB || !m_state->initialized || !containsEditableCtrls())
        return false;
    int id = 0;
    if (!getFocusedDynControl(id) || id == 0)
        return false;
    const Kx_DesignerControl* focused = getControlFromRes(id);
    if (focused == nullptr)
        return false;
    const int t = focused->getTabOrder();
    const bool back = (GetKeyState(VK_SHIFT) & 0x8000) != 0;
    HWND target = nullptr;
    if (back) {
        target = t < 2 ? nullptr : nextInTabOrder(*m_state, 0, t, /*forward=*/false);
        if (target == nullptr)
            result = Kx_TabMsgHandle::LeaveBackward;
    } else {
        target = nextInTabOrder(*m_state, t, std::numeric_limits<int>::max(), /*forward=*/true);
        if (target == nullptr)
            result = Kx_TabMsgHandle::LeaveForward;
    }
    if (target != nullptr) {
        focusWindow(target);
        result = Kx_TabMsgHandle::Handled;
    }
    return true;
}

BOOL Kx_DlgDesignerData::OnEraseBkgnd(HDC dc)
{
    const State& s = *m_state;
    if (!s.initialized)
        return 0;
    if (s.designerMode) {
        RECT client;
        GetClientRect(s.host, client);
        kxwin::fillSolidRect(dc, client, kDialogFace);
    }
    if (s.picture.GetSafeHandle() != nullptr)
        kxwin::drawBitmap(dc, s.picture, RECT{0, 0, s.width, s.height}, kTransparent);
    return 0;
}

void Kx_DlgDesignerData::OnPaint(HDC dc)
{
    const State& s = *m_state;
    if (!s.initialized || !s.designerMode)
        return;
    if (s.tabOrderView) {
        kxdesigner::paintTabOrderView(*this, s, dc);
        return;
    }
    for (int k : s.selection) {
        if (k < 0 || k >= static_cast<int>(s.trackers.size()) || !IsWindow(s.trackers[static_cast<size_t>(k)].hwnd))
            continue;
        const RECT r = GetWindowRectInParent(s.trackers[static_cast<size_t>(k)].hwnd);
        CBrush frame(RGB(0, 0, 0));
        FrameRect(dc, &r, frame);
        kxwin::drawTrackerHandles(dc, r);
    }
    if (s.drag == kxdesigner::DragMode::Band && s.band.width() > 0 && s.band.height() > 0) {
        CBrush band(RGB(96, 96, 96));
        FrameRect(dc, &s.band, band);
    }
}

bool Kx_DlgDesignerData::getSizeFromControl(int i)
{
    State& s = *m_state;
    if (i < 0 || i >= getNrControls() || s.drawn.size() != s.controls.size() || s.width <= 0 || s.height <= 0)
        return false;
    const kxdesigner::DrawnWindow& d = s.drawn[static_cast<size_t>(i)];
    Kx_DesignerControl& ctrl = s.controls[static_cast<size_t>(i)];
    if (!IsWindow(d.hwnd) || d.id != ctrl.getResourceId())
        return false;
    const RECT r = GetWindowRectInParent(d.hwnd);
    ctrl.setFactors(pixelsToFactor(true, r.left), pixelsToFactor(false, r.top), pixelsToFactor(true, r.right),
                    pixelsToFactor(false, r.bottom));
    return true;
}

bool Kx_DlgDesignerData::getSizeFromAllControls()
{
    if (m_state->drawn.size() != m_state->controls.size())
        return false;
    bool all = true;
    for (int i = 0; i < getNrControls(); ++i)
        all = getSizeFromControl(i) && all;
    return all;
}
