// The records of the small detailing dialogs.
#include "core/DetailingDlgData.h"

bool ZnLevelsDlgData::getNames(Kx_StringArray& names) const
{
    names.setLogicalLength(0);
    for (const Level& level : m_levels)
        names.append(level.name);
    return true;
}

bool ZnLevelsDlgData::getLevelData(int index, Kx_String& name, Kx_String& kind, double& elevation,
                                   double& height) const
{
    if (index < 0 || index >= m_levels.length())
        return false;
    const Level& level = m_levels[index];
    name = level.name;
    kind = level.kind;
    elevation = level.elevation;
    height = level.height;
    return true;
}

bool ZnLevelsDlgData::updateLevel(int index, double elevation)
{
    if (index < 0 || index >= m_levels.length())
        return false;
    m_levels[index].elevation = elevation;
    return true;
}

bool ZnLevelsDlgData::updateLevel(int index, const Kx_String& kind)
{
    if (index < 0 || index >= m_levels.length())
        return false;
    if (!m_kinds.isEmpty() && !m_kinds.contains(kind))
        return false;
    m_levels[index].kind = kind;
    return true;
}

int ZnLevelsDlgData::addLevel(const Kx_String& name)
{
    const Kx_String trimmed = name.trimmed();
    if (trimmed.isEmpty())
        return -1;
    for (const Level& level : m_levels) {
        if (level.name.equal(trimmed, /*exact=*/false))
            return -1;
    }
    Level added;
    added.name = trimmed;
    added.kind = m_kinds.isEmpty() ? Kx_String() : m_kinds[0];
    added.height = 3000;
    if (!m_levels.isEmpty()) {
        const Level* top = &m_levels[0];
        for (const Level& level : m_levels) {
            if (level.elevation > top->elevation)
                top = &level;
        }
        added.elevation = top->elevation + top->height;
        added.height = top->height;
        added.kind = top->kind;
    }
    m_levels.append(added);
    return m_levels.length() - 1;
}

bool ZnLevelsDlgData::deleteLevel(int index)
{
    if (index < 0 || index >= m_levels.length())
        return false;
    m_levels.removeAt(index);
    return true;
}

namespace kxcore {

ZnLevelsDlgData sampleLevelsData()
{
    ZnLevelsDlgData data;
    Kx_StringArray kinds;
    for (const char* kind : {"Foundation", "Floor", "Mezzanine", "Roof"})
        kinds.append(kind);
    data.setKinds(kinds);
    Kx_Array<ZnLevelsDlgData::Level> levels;
    levels.append({"Foundation", "Foundation", -800, 800});
    levels.append({"Ground floor", "Floor", 0, 3000});
    levels.append({"Mezzanine", "Mezzanine", 3000, 2700});
    levels.append({"Eaves", "Roof", 5700, 0});
    data.setLevels(levels);
    return data;
}

DlgProfFeaturesData sampleProfFeaturesData()
{
    DlgProfFeaturesData data;
    data.title = "Stiffener";
    data.profileName = "HEA-200";
    data.field1Label = "Position";
    data.field1Value = "Both sides";
    data.field2Label = "Thickness";
    data.field2Value = "10";
    data.field3Label = "Distance from the start";
    data.field3AltLabel = "Distance from the end";
    data.field3Value = "150";
    data.field3AltValue = "250";
    data.field4Label = "Weld size";
    data.field4Value = "5";
    data.switchLabel = "Measure from the end";
    data.switchOn = false;
    for (const char* choice : {"Front", "Back", "Both sides"})
        data.choices.append(choice);
    return data;
}

ZnCladdingDlgData sampleCladdingData()
{
    ZnCladdingDlgData data;
    data.profileName = "UPN-100";
    data.direction = 0;
    data.fixing = 3;
    data.spacing = "1200";
    data.turned = true;
    return data;
}

} // namespace kxcore
