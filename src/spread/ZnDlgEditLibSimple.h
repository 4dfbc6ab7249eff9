// ZnDlgEditLibSimple: the simple library editor (template 226), which makes one new entry of a
// profile table from the selected one: a name made from the dimensions or typed in, and up to
// eight property values labelled by the section type (core/SectionCatalogue.h). It works on its own
// copy of the table; StartDlgEditLibSimple (ProfLaunchers.h) copies it back on OK.
#pragma once

#include "core/CButtonST.h"
#include "core/CResizer.h"
#include "core/Kx_String.h"
#include "core/Kx_StringArray.h"
#include "core/SectionCatalogue.h"
#include "platform/win/Dialog.h"
#include "spread/Kx_ProfValuesTable.h"

#include <optional>

class ZnDlgEditLibSimple : public CDialog {
public:
    static constexpr int kTemplateId = 226;
    static constexpr int kPicture = 1294;
    static constexpr int kNameGroup = 1360;
    static constexpr int kAutoName = 1358;
    static constexpr int kTypedName = 1359;
    static constexpr int kNameLabel = 1123;
    static constexpr int kName = 1000;
    static constexpr int kFirstLabel = 1299;
    static constexpr int kFirstValue = 1300;
    static constexpr int kFieldCount = 8;
    static constexpr int kFirstValueColumn = 5;
    static constexpr const char* kSizeKey = "DLG_EDITLIBSIMPLE";

    // typeName is the table's type name (its section type number); selected the entry the new one
    // is made from.
    ZnDlgEditLibSimple(const Kx_String& typeName, const Kx_ProfValuesTable& table, int selected);

    // The table with the new entry after OK; as given before.
    const Kx_ProfValuesTable& table() const { return m_table; }
    // The new entry's position after OK.
    int selected() const { return m_selected; }

    // The name made from the values as the fields hold them now.
    Kx_String automaticName() const;

    // The value edit of field i and its label.
    static int valueId(int field) { return kFirstValue + 2 * field; }
    static int labelId(int field) { return kFirstLabel + 2 * field; }

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnDestroy() override;

private:
    void updateNameMode();
    void valueChanged();
    // The entry OK would add, or no value (with the user told why) when it cannot be added.
    std::optional<Kx_StringArray> buildEntry(Kx_String& name);
    bool passesDrawingCheck(const Kx_StringArray& entry) const;
    int insertPosition(const Kx_String& name) const;

    Kx_String m_typeName;
    Kx_ProfValuesTable m_table;
    int m_selected;
    std::optional<SectionType> m_type;
    int m_visibleFields = 0;
    Kx_StringArray m_sourceRow;
    CButtonST m_picture;
    ZnResizer m_resizer;
};
