// Kx_DlgDesignerData: the layout model (its controls and their resource ids), the picture, and the
// conversions between factors and pixels. Files live in LayoutFiles.cpp, the live windows in
// DesignerRuntime.cpp and DesignerFlexButtons.cpp.
#include "designer/Kx_DlgDesignerData.h"

#include "core/NumberLists.h"
#include "designer/DesignerState.h"
#include "platform/win/Window.h"

#include <algorithm>
#include <cmath>

namespace {

bool isVariableType(Kx_ControlType type)
{
    return type == Kx_ControlType::VariableEdit || type == Kx_ControlType::VariableCombo;
}

// Pixels as a window coordinate: rounded to the nearest pixel, kept within the range a window
// rectangle can hold, 0 for a value that is not a number.
LONG toCoordinate(double pixels)
{
    if (!std::isfinite(pixels))
        return pixels > 0 ? kMaxDesignerCoordinate : (pixels < 0 ? -kMaxDesignerCoordinate : 0);
    const double rounded = ObjectExportRoundTo(pixels, 1.0);
    return static_cast<LONG>(std::clamp(rounded, double{-kMaxDesignerCoordinate}, double{kMaxDesignerCoordinate}));
}

} // namespace

HWND Kx_DlgDesignerData::State::drawnWindowOf(int id) const
{
    if (id < 1)
        return nullptr;
    for (const kxdesigner::DrawnWindow& d : drawn) {
        if (d.id == id && IsWindow(d.hwnd))
            return d.hwnd;
    }
    return nullptr;
}

int Kx_DlgDesignerData::State::indexOf(int id) const
{
    if (id < 1)
        return -1;
    for (size_t i = 0; i < controls.size(); ++i) {
        if (controls[i].getResourceId() == id)
            return static_cast<int>(i);
    }
    return -1;
}

Kx_DlgDesignerData::Kx_DlgDesignerData() : m_state(std::make_unique<State>()) {}

Kx_DlgDesignerData::~Kx_DlgDesignerData() = default;

Kx_DlgDesignerData::Kx_DlgDesignerData(const Kx_DlgDesignerData&) : m_state(std::make_unique<State>()) {}

Kx_DlgDesignerData& Kx_DlgDesignerData::operator=(const Kx_DlgDesignerData&)
{
    return *this;
}

// --- Model -------------------------------------------------------------------------------------------

const Kx_String& Kx_DlgDesignerData::getName() const
{
    return m_state->name;
}

int Kx_DlgDesignerData::getNrControls() const
{
    return static_cast<int>(m_state->controls.size());
}

const Kx_DesignerControl* Kx_DlgDesignerData::getControl(int i) const
{
    return (i >= 0 && i < getNrControls()) ? &m_state->controls[static_cast<size_t>(i)] : nullptr;
}

Kx_DesignerControl* Kx_DlgDesignerData::getControlWrite(int i)
{
    return (i >= 0 && i < getNrControls()) ? &m_state->controls[static_cast<size_t>(i)] : nullptr;
}

const Kx_DesignerControl* Kx_DlgDesignerData::getControlFromRes(int id) const
{
    return getControl(m_state->indexOf(id));
}

Kx_DesignerControl* Kx_DlgDesignerData::getControlFromRes(int id)
{
    return getControlWrite(m_state->indexOf(id));
}

bool Kx_DlgDesignerData::findCtrlFromResource(int id, int& i) const
{
    const int found = m_state->indexOf(id);
    if (found < 0)
        return false;
    i = found;
    return true;
}

bool Kx_DlgDesignerData::getDynControlType(int id, Kx_ControlType& type) const
{
    const Kx_DesignerControl* ctrl = getControlFromRes(id);
    if (!ctrl)
        return false;
    type = ctrl->getType();
    return true;
}

bool Kx_DlgDesignerData::isTypeBoltCount(int id) const
{
    const Kx_DesignerControl* ctrl = getControlFromRes(id);
    return ctrl && (ctrl->getType() == Kx_ControlType::PatternValueEdit
                    || ctrl->getType() == Kx_ControlType::PatternCountEdit);
}

void Kx_DlgDesignerData::getAllCtrlNames(Kx_StringArray& names) const
{
    names.removeAll();
    for (const Kx_DesignerControl& ctrl : m_state->controls) {
        if (ctrl.getType() == Kx_ControlType::VariableEdit)
            names.append(ctrl.getContents());
    }
}

bool Kx_DlgDesignerData::findEditCtrlWithContents(const Kx_String& name, int& i) const
{
    for (size_t k = 0; k < m_state->controls.size(); ++k) {
        const Kx_DesignerControl& ctrl = m_state->controls[k];
        if (isVariableType(ctrl.getType()) && ctrl.getContents().equal(name, /*exact=*/false)) {
            i = static_cast<int>(k);
            return true;
        }
    }
    return false;
}

int Kx_DlgDesignerData::append(const Kx_DesignerControl& ctrl)
{
    try {
        State& s = *m_state;
        int id = 0;
        // A range of at most a few hundred ids in practice; the ids in use are marked once so that
        // filling a range stays linear in the number of controls.
        if (s.firstId >= 1 && s.lastId >= s.firstId) {
            const long long span = static_cast<long long>(s.lastId) - s.firstId + 1;
            const size_t marks = static_cast<size_t>(std::min<long long>(span, static_cast<long long>(s.controls.size()) + 1));
            std::vector<bool> used(marks, false);
            for (const Kx_DesignerControl& c : s.controls) {
                const long long offset = static_cast<long long>(c.getResourceId()) - s.firstId;
                if (c.getResourceId() >= 1 && offset >= 0 && offset < static_cast<long long>(marks))
                    used[static_cast<size_t>(offset)] = true;
            }
            const auto freeMark = std::find(used.begin(), used.end(), false);
            if (freeMark != used.end())
                id = s.firstId + static_cast<int>(freeMark - used.begin());
        }
        s.controls.push_back(ctrl);
        s.controls.back().setResourceId(id);
        return id;
    } catch (...) {
        // Out of memory: nothing was added.
        return 0;
    }
}

bool Kx_DlgDesignerData::removeControl(int i)
{
    if (i < 0 || i >= getNrControls())
        return false;
    m_state->controls.erase(m_state->controls.begin() + i);
    return true;
}

void Kx_DlgDesignerData::removeAllControls()
{
    m_state->controls.clear();
}

// --- Picture -----------------------------------------------------------------------------------------

HBITMAP Kx_DlgDesignerData::getPicture() const
{
    return m_state->picture.GetSafeHandle();
}

HBITMAP Kx_DlgDesignerData::getPictureMask() const
{
    State& s = *m_state;
    if (s.mask.GetSafeHandle() == nullptr && s.picture.GetSafeHandle() != nullptr)
        s.mask.Attach(kxwin::makeMask(s.picture, RGB(255, 255, 255)));
    return s.mask.GetSafeHandle();
}

// --- Factors and pixels --------------------------------------------------------------------------------

void Kx_DlgDesignerData::getImageSize(int& w, int& h) const
{
    w = m_state->initialized ? m_state->width : 0;
    h = m_state->initialized ? m_state->height : 0;
}

double Kx_DlgDesignerData::factorToPixels(bool horizontal, double f) const
{
    if (!std::isfinite(f))
        return 0;
    return f * (horizontal ? m_state->width : m_state->height);
}

double Kx_DlgDesignerData::pixelsToFactor(bool horizontal, double p) const
{
    const int size = horizontal ? m_state->width : m_state->height;
    if (size <= 0 || !std::isfinite(p))
        return 0;
    return p / size;
}

namespace {

// Stores px as a factor through `set` only when the layout can express it (a picture is attached
// and px is a number), so that a layout without its picture never loses its positions.
template <typename Setter>
void storePixels(const Kx_DlgDesignerData& layout, bool horizontal, double px, Setter set)
{
    if (layout.pixelsToFactor(horizontal, 1.0) == 0 || !std::isfinite(px))
        return;
    set(layout.pixelsToFactor(horizontal, px));
}

} // namespace

double Kx_DlgDesignerData::getTopLeftX(const Kx_DesignerControl& ctrl) const
{
    return factorToPixels(true, ctrl.topLeftX());
}

double Kx_DlgDesignerData::getTopLeftY(const Kx_DesignerControl& ctrl) const
{
    return factorToPixels(false, ctrl.topLeftY());
}

double Kx_DlgDesignerData::getBottomRightX(const Kx_DesignerControl& ctrl) const
{
    return factorToPixels(true, ctrl.bottomRightX());
}

double Kx_DlgDesignerData::getBottomRightY(const Kx_DesignerControl& ctrl) const
{
    return factorToPixels(false, ctrl.bottomRightY());
}

void Kx_DlgDesignerData::setTopLeftX(Kx_DesignerControl& ctrl, double px) const
{
    storePixels(*this, true, px, [&](double f) { ctrl.setTopLeftX(f); });
}

void Kx_DlgDesignerData::setTopLeftY(Kx_DesignerControl& ctrl, double px) const
{
    storePixels(*this, false, px, [&](double f) { ctrl.setTopLeftY(f); });
}

void Kx_DlgDesignerData::setBottomRightX(Kx_DesignerControl& ctrl, double px) const
{
    storePixels(*this, true, px, [&](double f) { ctrl.setBottomRightX(f); });
}

void Kx_DlgDesignerData::setBottomRightY(Kx_DesignerControl& ctrl, double px) const
{
    storePixels(*this, false, px, [&](double f) { ctrl.setBottomRightY(f); });
}

double Kx_DlgDesignerData::getWidth(const Kx_DesignerControl& ctrl) const
{
    return getBottomRightX(ctrl) - getTopLeftX(ctrl);
}

double Kx_DlgDesignerData::getHeight(const Kx_DesignerControl& ctrl) const
{
    return getBottomRightY(ctrl) - getTopLeftY(ctrl);
}

void Kx_DlgDesignerData::setWidth(Kx_DesignerControl& ctrl, double w) const
{
    setBottomRightX(ctrl, getTopLeftX(ctrl) + w);
}

void Kx_DlgDesignerData::setHeight(Kx_DesignerControl& ctrl, double h) const
{
    setTopLeftY(ctrl, getBottomRightY(ctrl) - h);
}

RECT Kx_DlgDesignerData::getDrawnRect(const Kx_DesignerControl& ctrl) const
{
    RECT r;
    r.left = toCoordinate(getTopLeftX(ctrl));
    r.top = toCoordinate(getTopLeftY(ctrl));
    r.right = toCoordinate(getBottomRightX(ctrl));
    r.bottom = toCoordinate(getBottomRightY(ctrl));
    return r;
}
