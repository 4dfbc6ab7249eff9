// Kx_DesignerControl: the extended combo-list encoding, the control's properties in a layout file,
// its combo items file, and its window in a host dialog.
#include "designer/Kx_DesignerControl.h"

#include "core/FileIO.h"
#include "core/Kx_Settings.h"
#include "core/Paths.h"
#include "core/StringLists.h"
#include "platform/host/CommandLine.h"
#include "platform/win/Window.h"

#include <string>

namespace {

constexpr char kPartSeparator = ';';

Kx_String indexed(const char* key, int i)
{
    Kx_String name(key);
    name.append(i);
    return name;
}

// A number stored under name, whatever type the file gave it: a hand-edited file may write a
// factor as "int" or quote it.
bool readNumber(const Kx_PropertiesList& list, const Kx_String& name, double& value)
{
    if (list.getProperty(name, value))
        return true;
    int whole = 0;
    if (list.getProperty(name, whole)) {
        value = whole;
        return true;
    }
    Kx_String text;
    return list.getProperty(name, text) && text.toDouble(value);
}

bool readWholeNumber(const Kx_PropertiesList& list, const Kx_String& name, int& value)
{
    if (list.getProperty(name, value))
        return true;
    Kx_String text;
    return list.getProperty(name, text) && text.toInt(value);
}

// Contents may be written as a number by hand (the index of a type-28 list).
bool readText(const Kx_PropertiesList& list, const Kx_String& name, Kx_String& value)
{
    if (list.getProperty(name, value))
        return true;
    int whole = 0;
    if (!list.getProperty(name, whole))
        return false;
    value = Kx_String(whole);
    return true;
}

bool isPartIndex(int k)
{
    return k >= 1 && k <= 4;
}

bool isExtendedB(Kx_ControlType type)
{
    return type == Kx_ControlType::DimensionButton || type == Kx_ControlType::DimensionButtonTwoValues;
}

HWND childWithId(HWND dialog, int id)
{
    return (dialog != nullptr && id != 0) ? GetDlgItem(dialog, id) : nullptr;
}

} // namespace

Kx_DesignerControl::~Kx_DesignerControl() = default;

void Kx_DesignerControl::setFactors(double topLeftX, double topLeftY, double bottomRightX, double bottomRightY)
{
    m_topLeftX = topLeftX;
    m_topLeftY = topLeftY;
    m_bottomRightX = bottomRightX;
    m_bottomRightY = bottomRightY;
}

Kx_String Kx_DesignerControl::getExtA(int k) const
{
    return isPartIndex(k) ? m_extA[k - 1] : Kx_String();
}

void Kx_DesignerControl::setExtA(int k, const Kx_String& text)
{
    if (isPartIndex(k))
        m_extA[k - 1] = text;
}

Kx_String Kx_DesignerControl::getExtB(int k) const
{
    return isPartIndex(k) ? m_extB[k - 1] : Kx_String();
}

void Kx_DesignerControl::setExtB(int k, const Kx_String& text)
{
    if (isPartIndex(k))
        m_extB[k - 1] = text;
}

Kx_String Kx_DesignerControl::getMergedExtComboList() const
{
    Kx_StringArray parts;
    if (m_type == Kx_ControlType::FlexButton) {
        for (const Kx_String& part : m_extA)
            parts.append(part);
    } else if (isExtendedB(m_type)) {
        for (const Kx_String& part : m_extB)
            parts.append(part);
        parts.append(m_comboList);
    } else {
        return m_comboList;
    }
    return arrToStr(parts, kPartSeparator);
}

bool Kx_DesignerControl::setSplitExtComboList(const Kx_String& text)
{
    if (m_type == Kx_ControlType::FlexButton || isExtendedB(m_type)) {
        Kx_StringArray parts;
        strToArr(text, kPartSeparator, parts);
        const auto part = [&parts](int k) { return k < parts.length() ? parts[k] : Kx_String(); };
        if (m_type == Kx_ControlType::FlexButton) {
            for (int k = 0; k < 4; ++k)
                m_extA[k] = part(k);
        } else {
            for (int k = 0; k < 4; ++k)
                m_extB[k] = part(k);
            m_comboList = part(4);
        }
        return true;
    }
    m_comboList = text;
    m_extB[1].clear();
    return true;
}

void Kx_DesignerControl::getFromPropList(const Kx_PropertiesList& list, int i)
{
    int type = 0;
    readWholeNumber(list, indexed("type", i), type);
    m_type = static_cast<Kx_ControlType>(type);
    readNumber(list, indexed("topLeftX", i), m_topLeftX);
    readNumber(list, indexed("topLeftY", i), m_topLeftY);
    readNumber(list, indexed("bottomRightX", i), m_bottomRightX);
    readNumber(list, indexed("bottomRightY", i), m_bottomRightY);
    readText(list, indexed("contents", i), m_contents);
    Kx_String merged;
    if (list.getProperty(indexed("comboList", i), merged))
        setSplitExtComboList(merged);
}

void Kx_DesignerControl::setToPropList(Kx_PropertiesList& list, int i) const
{
    list.setProperty(indexed("type", i), toInt(m_type));
    list.setProperty(indexed("topLeftX", i), m_topLeftX);
    list.setProperty(indexed("topLeftY", i), m_topLeftY);
    list.setProperty(indexed("bottomRightX", i), m_bottomRightX);
    list.setProperty(indexed("bottomRightY", i), m_bottomRightY);
    list.setProperty(indexed("contents", i), m_contents);
    list.setProperty(indexed("comboList", i), getMergedExtComboList());
}

bool Kx_DesignerControl::getComboItemsFromFile(Kx_StringArray& items) const
{
    if (m_comboList.isEmpty())
        return false;
    // The list file is named by layout data: it is read only from inside the library.
    const Kx_String library = Kx_Settings::libDir();
    // Said on the command line, so that a combo that stays empty is not a riddle.
    const auto refuse = [&] {
        acutPrintf("*Error* The list file \"%s\" lies outside the library folder \"%s\"; it is not read.\n",
                   m_comboList.c_str(), library.c_str());
        return false;
    };
    Kx_String path;
    if (const auto native = kx::toNativePath(m_comboList.view()); native && native->front() == '/') {
        if (!isPathUnderRoot(library, m_comboList))
            return refuse();
        path = m_comboList;
    } else {
        const auto resolved = kx::resolveUnderRoot(library.view(), m_comboList.view());
        if (!resolved)
            return refuse();
        path = Kx_String(*resolved);
    }
    if (!fileExists(path))
        return false;
    return ObjectExportReadFile(path, items);
}

HWND Kx_DesignerControl::getCtrlPtr(HWND dialog) const
{
    return childWithId(dialog, m_resourceId);
}

HWND Kx_DesignerControl::getEditPtr(HWND dialog) const
{
    const Kx_WindowKind kind = windowKindOf(m_type);
    const bool edit = isKnownControlType(m_type) && (kind == Kx_WindowKind::Edit || kind == Kx_WindowKind::MultiLineEdit);
    return edit ? getCtrlPtr(dialog) : nullptr;
}

HWND Kx_DesignerControl::getButtonPtr(HWND dialog) const
{
    switch (windowKindOf(m_type)) {
    case Kx_WindowKind::PushButton:
    case Kx_WindowKind::CheckBox:
    case Kx_WindowKind::FlexButton:
        return getCtrlPtr(dialog);
    default:
        return nullptr;
    }
}

HWND Kx_DesignerControl::getComboPtr(HWND dialog) const
{
    switch (m_type) {
    case Kx_ControlType::VariableCombo:
    case Kx_ControlType::ProfileList:
    case Kx_ControlType::ProfilePositionList:
    case Kx_ControlType::ProfileAngleCombo:
        return getCtrlPtr(dialog);
    default:
        return nullptr;
    }
}
