// The control-type table: window kind and designer texts of each code.
#include "designer/Kx_ControlType.h"

#include "core/TextTables.h"

#include <array>

namespace {

struct TypeInfo {
    Kx_WindowKind kind;
    std::array<int, 4> hint;  // text numbers of the combo-list hint, 0 after the last; none: field disabled
    int description;                  // 0: none
    int name;                         // 0: built from text 803 and string 2220 (types 4 and 5)
};

using K = Kx_WindowKind;

// Indexed by the type code. Names 804 to 822 follow the codes 6 to 24 one by one.
const std::array<TypeInfo, kControlTypeCount> kTypes = {{
    {K::Static, {{1403}}, 827, 799},
    {K::GroupFrame, {{1403}}, 827, 800},
    {K::Edit, {{}}, 828, 801},
    {K::DropDownCombo, {{833}}, 828, 802},
    {K::MultiLineEdit, {{}}, 829, 0},
    {K::MultiLineEdit, {{}}, 829, 0},
    {K::PushButton, {{}}, 829, 804},
    {K::DropDownList, {{}}, 0, 805},
    {K::Edit, {{}}, 0, 806},
    {K::Edit, {{}}, 0, 807},
    {K::Edit, {{}}, 0, 808},
    {K::Edit, {{}}, 0, 809},
    {K::PushButton, {{}}, 0, 810},
    {K::DropDownList, {{}}, 830, 811},
    {K::PushButton, {{}}, 830, 812},
    {K::DropDownList, {{}}, 830, 813},
    {K::DropDownCombo, {{}}, 830, 814},
    {K::PushButton, {{}}, 830, 815},
    {K::Edit, {{}}, 831, 816},
    {K::Edit, {{}}, 831, 817},
    {K::Edit, {{}}, 831, 818},
    {K::Edit, {{}}, 831, 819},
    {K::Edit, {{}}, 831, 820},
    {K::Edit, {{834}}, 831, 821},
    {K::PushButton, {{}}, 831, 822},
    {K::PushButton, {{1316, 1317, 1318, 1319}}, 827, 823},
    {K::PushButton, {{1316, 1317, 1320, 1319}}, 827, 1315},
    {K::DropDownList, {{1342}}, 0, 1341},
    {K::DropDownList, {{}}, 1406, 1404},
    {K::CheckBox, {{828}}, 827, 1405},
    {K::FlexButton, {{705, 1430, 1431}}, 1429, 1428},
}};

const TypeInfo* infoOf(Kx_ControlType type)
{
    const int code = toInt(type);
    return (code >= 0 && code < kControlTypeCount) ? &kTypes[static_cast<size_t>(code)] : nullptr;
}

} // namespace

bool isKnownControlType(Kx_ControlType type)
{
    return infoOf(type) != nullptr;
}

Kx_WindowKind windowKindOf(Kx_ControlType type)
{
    const TypeInfo* info = infoOf(type);
    return info ? info->kind : Kx_WindowKind::Static;
}

bool isComboKind(Kx_WindowKind kind)
{
    return kind == Kx_WindowKind::DropDownList || kind == Kx_WindowKind::DropDownCombo;
}

Kx_String controlTypeName(Kx_ControlType type)
{
    const TypeInfo* info = infoOf(type);
    if (!info)
        return {};
    if (info->name != 0)
        return dialString(info->name);
    // "Pattern 1: bolt count edit" and "Pattern 2: ..." in the words of the current language.
    Kx_String name = dialString(803);
    name.append(type == Kx_ControlType::PatternValueEdit ? " 1: " : " 2: ");
    name.append(string(2220));
    return name;
}

Kx_String controlTypeDescription(Kx_ControlType type)
{
    const TypeInfo* info = infoOf(type);
    return (info && info->description != 0) ? dialString(info->description) : Kx_String();
}

Kx_String controlTypeHint(Kx_ControlType type)
{
    const TypeInfo* info = infoOf(type);
    Kx_String hint;
    if (!info)
        return hint;
    bool first = true;
    for (int number : info->hint) {
        if (number == 0)
            break;
        if (!first)
            hint.append(';');
        hint.append(dialString(number));
        first = false;
    }
    return hint;
}

bool hasComboListField(Kx_ControlType type)
{
    const TypeInfo* info = infoOf(type);
    return info && info->hint[0] != 0;
}
