// Kx_DlgDesignerData: flex buttons (type 30), the push-like check buttons a macro uses to mark its
// parts flexible or fixed. Each belongs to the group named by its part A1 and is named by its
// contents; groups and names are compared ignoring case.
#include "designer/Kx_DlgDesignerData.h"

#include "designer/DesignerState.h"
#include "platform/win/Window.h"

namespace {

bool isFlexButton(const Kx_DesignerControl& ctrl)
{
    return ctrl.getType() == Kx_ControlType::FlexButton;
}

bool inGroup(const Kx_DesignerControl& ctrl, const Kx_String& group)
{
    return isFlexButton(ctrl) && ctrl.getExtA(1).equal(group, /*exact=*/false);
}

} // namespace

void Kx_DlgDesignerData::getFlexBtnsGroups(Kx_StringArray& groups) const
{
    groups.removeAll();
    for (const Kx_DesignerControl& ctrl : m_state->controls) {
        if (isFlexButton(ctrl) && !groups.contains(ctrl.getExtA(1), /*exact=*/false))
            groups.append(ctrl.getExtA(1));
    }
}

bool Kx_DlgDesignerData::getFlexBtnsInGroup(const Kx_String& group, Kx_Array<int>& all, Kx_Array<int>& withA3) const
{
    all.removeAll();
    withA3.removeAll();
    if (group.isEmpty())
        return true;
    for (int i = 0; i < getNrControls(); ++i) {
        const Kx_DesignerControl& ctrl = m_state->controls[static_cast<size_t>(i)];
        if (!inGroup(ctrl, group))
            continue;
        all.append(i);
        if (!ctrl.getExtA(3).isEmpty())
            withA3.append(i);
    }
    return true;
}

void Kx_DlgDesignerData::getAllFlexVarsOfGroup(const Kx_String& group, Kx_StringArray& names) const
{
    names.removeAll();
    for (const Kx_DesignerControl& ctrl : m_state->controls) {
        if (inGroup(ctrl, group))
            names.append(ctrl.getContents());
    }
}

bool Kx_DlgDesignerData::findFlexButton(const Kx_String& group, const Kx_String& name, int& i) const
{
    for (int k = 0; k < getNrControls(); ++k) {
        const Kx_DesignerControl& ctrl = m_state->controls[static_cast<size_t>(k)];
        if (inGroup(ctrl, group) && ctrl.getContents().equal(name, /*exact=*/false)) {
            i = k;
            return true;
        }
    }
    return false;
}

bool Kx_DlgDesignerData::getSetFlexBtnStatus(bool set, int i, int& status)
{
    const Kx_DesignerControl* ctrl = getControl(i);
    if (ctrl == nullptr || !isFlexButton(*ctrl))
        return false;
    HWND hwnd = m_state->drawnWindowOf(ctrl->getResourceId());
    if (hwnd == nullptr)
        return false;
    if (!set) {
        status = static_cast<int>(SendMessage(hwnd, BM_GETCHECK));
        return true;
    }
    // A flex button is flexible or fixed, never in between.
    const int state = status == BST_CHECKED ? BST_CHECKED : BST_UNCHECKED;
    SendMessage(hwnd, BM_SETCHECK, static_cast<WPARAM>(state));
    return true;
}

bool Kx_DlgDesignerData::getFlexBtnStatus(int i, int& status)
{
    return getSetFlexBtnStatus(/*set=*/false, i, status);
}

bool Kx_DlgDesignerData::setFlexBtnStatus(const Kx_String& group, const Kx_String& name, int status)
{
    int i = -1;
    return findFlexButton(group, name, i) && getSetFlexBtnStatus(/*set=*/true, i, status);
}

bool Kx_DlgDesignerData::getFlexBtnGroupName(int id, Kx_String& group, Kx_String& name) const
{
    const Kx_DesignerControl* ctrl = getControlFromRes(id);
    if (ctrl == nullptr || !isFlexButton(*ctrl))
        return false;
    group = ctrl->getExtA(1);
    name = ctrl->getContents();
    return true;
}

void Kx_DlgDesignerData::hideAllFlexBtns(const Kx_String& group)
{
    for (const Kx_DesignerControl& ctrl : m_state->controls) {
        if (!inGroup(ctrl, group))
            continue;
        if (HWND hwnd = m_state->drawnWindowOf(ctrl.getResourceId()))
            ShowWindow(hwnd, SW_HIDE);
    }
}
