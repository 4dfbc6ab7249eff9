// The records of the small detailing dialogs the core hands out: a profile feature
// (DlgProfFeaturesData), the building levels of the model (ZnLevelsDlgData) and the settings of a
// cladding profile (ZnCladdingDlgData). What the values mean in the model is the core's; the dialogs
// only show and edit them.
#pragma once

#include "core/KxCoreExport.h"
#include "core/Kx_Array.h"
#include "core/Kx_String.h"
#include "core/Kx_StringArray.h"

#include <cstdint>

// A profile and up to four labelled values of one feature, all given by the caller. A field with an
// empty label is not shown and not read back. Field 3 has an alternative label and value, shown while
// the switch is on.
class KXCORE_API DlgProfFeaturesData {
public:
    DlgProfFeaturesData() = default;
    DlgProfFeaturesData(const DlgProfFeaturesData&) = default;
    DlgProfFeaturesData& operator=(const DlgProfFeaturesData&) = default;
    virtual ~DlgProfFeaturesData() = default;

    Kx_String title;
    Kx_String profileName;
    Kx_String field1Label;
    Kx_String field1Value;
    Kx_String field2Label;
    Kx_String field2Value;
    Kx_String field3Label;
    Kx_String field3AltLabel;
    Kx_String field3Value;
    Kx_String field3AltValue;
    // Not 0: field 3 is chosen from the list of choices instead of typed.
    int field3IsList = 0;
    Kx_String field4Label;
    Kx_String field4Value;
    Kx_String switchLabel;
    bool switchOn = false;
    // The entries of field 1's list and of field 3's when it is a list.
    Kx_StringArray choices;

    friend bool operator==(const DlgProfFeaturesData&, const DlgProfFeaturesData&) = default;
};

// The named building levels of the model, in order. Each level has a name, a kind (its second text,
// one of kinds()), an elevation and a storey height in millimetres. Of these the dialog may change the
// elevation and the kind; names are given when a level is added.
class KXCORE_API ZnLevelsDlgData {
public:
    struct Level {
        Kx_String name;
        Kx_String kind;
        double elevation = 0;
        double height = 0;
        friend bool operator==(const Level&, const Level&) = default;
    };

    ZnLevelsDlgData() = default;
    ZnLevelsDlgData(const ZnLevelsDlgData&) = default;
    ZnLevelsDlgData& operator=(const ZnLevelsDlgData&) = default;
    virtual ~ZnLevelsDlgData() = default;

    bool getNames(Kx_StringArray& names) const;
    // False, the outputs unchanged, for an index outside the list.
    bool getLevelData(int index, Kx_String& name, Kx_String& kind, double& elevation, double& height) const;
    // The elevation, or the kind; false for an index outside the list (and for a kind that is not
    // one of kinds(), when that list is not empty).
    bool updateLevel(int index, double elevation);
    bool updateLevel(int index, const Kx_String& kind);
    // Adds a level above the highest one (its elevation plus its storey height, the same height and
    // kind) and returns its index; -1 for a name that is empty or already used (case ignored).
    int addLevel(const Kx_String& name);
    // False for an index outside the list.
    bool deleteLevel(int index);

    // The kinds a level can have, in the order a list offers them.
    const Kx_StringArray& kinds() const { return m_kinds; }
    void setKinds(const Kx_StringArray& kinds) { m_kinds = kinds; }
    // The levels as they stand (tests, callers that read them all).
    const Kx_Array<Level>& levels() const { return m_levels; }
    void setLevels(const Kx_Array<Level>& levels) { m_levels = levels; }

    friend bool operator==(const ZnLevelsDlgData&, const ZnLevelsDlgData&) = default;

private:
    Kx_Array<Level> m_levels;
    Kx_StringArray m_kinds;
};

// The settings of a cladding profile.
class KXCORE_API ZnCladdingDlgData {
public:
    ZnCladdingDlgData() = default;
    ZnCladdingDlgData(const ZnCladdingDlgData&) = default;
    ZnCladdingDlgData& operator=(const ZnCladdingDlgData&) = default;
    virtual ~ZnCladdingDlgData() = default;

    // The cladding profile ("User Sections\..." or a table profile such as "Z-200").
    Kx_String profileName;
    // 0 horizontal, 1 vertical, 2 sloped.
    std::int32_t direction = 0;
    // Turn the profile over.
    bool turned = false;
    // 0 none, 1 at every purlin, 2 at every second purlin, 3 fixed spacing, 4 maximum spacing.
    std::int32_t fixing = 0;
    // The spacing of fixings 3 and 4, as typed.
    Kx_String spacing;
    // The profile names behind the entries of the dialog's profile list, in list order.
    Kx_StringArray profiles;

    friend bool operator==(const ZnCladdingDlgData&, const ZnCladdingDlgData&) = default;
};

namespace kxcore {

// Sample data for the workbench and the snapshots.
KXCORE_API ZnLevelsDlgData sampleLevelsData();
KXCORE_API DlgProfFeaturesData sampleProfFeaturesData();
KXCORE_API ZnCladdingDlgData sampleCladdingData();

} // namespace kxcore
