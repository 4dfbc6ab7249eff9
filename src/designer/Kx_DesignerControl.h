// Kx_DesignerControl: one control of a designed-dialog layout, as stored in its layout file, with the
// extended combo-list encoding and the way to its live window in a host dialog. Positions are
// factors of the layout's picture; turning them into pixels needs the picture and lives in
// Kx_DlgDesignerData.
#pragma once

#include "core/Kx_PropertiesList.h"
#include "core/Kx_String.h"
#include "core/Kx_StringArray.h"
#include "designer/Kx_ControlType.h"
#include "frame/KxSsExport.h"
#include "platform/win/WinTypes.h"

class KXSS_API Kx_DesignerControl {
public:
    Kx_DesignerControl() = default;
    virtual ~Kx_DesignerControl();
    // Copies every field, the resource id and tab order included.
    Kx_DesignerControl(const Kx_DesignerControl& other) = default;
    Kx_DesignerControl& operator=(const Kx_DesignerControl& other) = default;

    Kx_ControlType getType() const { return m_type; }
    void setType(Kx_ControlType type) { m_type = type; }

    // Set: the control is shown disabled, has no place in the tab order and is not editable. Never
    // stored in the file; it starts clear and only a caller sets it.
    bool isReadOnly() const { return m_readOnly; }
    void setReadOnly(bool readOnly) { m_readOnly = readOnly; }

    // The child-window id in the host dialog, given by Kx_DlgDesignerData::append; 0 when the
    // layout's id range was used up (such a control cannot be found by id).
    int getResourceId() const { return m_resourceId; }
    void setResourceId(int id) { m_resourceId = id; }

    // 1-based place in the keyboard order (Kx_DlgDesignerData::sortAllControls); 0 when none.
    int getTabOrder() const { return m_tabOrder; }
    void setTabOrder(int order) { m_tabOrder = order; }

    // The rectangle as factors: x as fractions of the picture's width, y of its height. Stored as
    // read; a factor outside 0..1 places the control beyond the picture's edge.
    double topLeftX() const { return m_topLeftX; }
    double topLeftY() const { return m_topLeftY; }
    double bottomRightX() const { return m_bottomRightX; }
    double bottomRightY() const { return m_bottomRightY; }
    void setTopLeftX(double f) { m_topLeftX = f; }
    void setTopLeftY(double f) { m_topLeftY = f; }
    void setBottomRightX(double f) { m_bottomRightX = f; }
    void setBottomRightY(double f) { m_bottomRightY = f; }
    void setFactors(double topLeftX, double topLeftY, double bottomRightX, double bottomRightY);

    // The text shown when the window is made: a variable name for type 2, the selected item's text
    // for combos, the selected index for type 28.
    const Kx_String& getContents() const { return m_contents; }
    void setContents(const Kx_String& contents) { m_contents = contents; }

    // Combos: the file with the items. Type 29: the initial check value. Types 25 and 26: the fifth
    // part of the extended list.
    const Kx_String& getComboList() const { return m_comboList; }
    void setComboList(const Kx_String& comboList) { m_comboList = comboList; }

    // Part k (1 to 4) of the type-30 list (A; A1 is the flex-button group) and of the type-25/26
    // list (B). Other k give the empty text and set nothing.
    Kx_String getExtA(int k) const;
    void setExtA(int k, const Kx_String& text);
    Kx_String getExtB(int k) const;
    void setExtB(int k, const Kx_String& text);

    // Items given by a caller; when empty, combos take theirs from the comboList file.
    const Kx_StringArray& getItems() const { return m_items; }
    void setItems(const Kx_StringArray& items) { m_items = items; }

    // The comboList property as stored: "A1;A2;A3;A4" for type 30, "B1;B2;B3;B4;comboList" for
    // types 25 and 26, comboList itself for the others. Parts are not escaped, so a part holding
    // ';' does not read back the same.
    Kx_String getMergedExtComboList() const;
    // The reverse: cuts text at every ';'. Types 30, 25 and 26 clear all their parts first, take
    // the parts there are and drop any beyond; other types take the whole text as comboList and
    // clear B2. Returns true.
    bool setSplitExtComboList(const Kx_String& text);

    // Reads the seven properties of control i ("type"i, the four factors, "contents"i and
    // "comboList"i). A property that is absent leaves its field as it was, except the type, which
    // becomes 0 (Label). Factors and the type are also taken from a property stored as another
    // type when it holds a number ("int topLeftX0 = 1", "text type0 = \"4\"").
    void getFromPropList(const Kx_PropertiesList& list, int i);
    // Writes the seven properties of control i.
    void setToPropList(Kx_PropertiesList& list, int i) const;

    // The lines of the comboList file into items (replacing them) when comboList names an
    // existing file inside the library folder: a relative name is taken from the library folder,
    // an absolute one must lie inside it. Otherwise, or when the file cannot be read (the reason
    // is printed on the command line), items are left as they were. True when items were read.
    bool getComboItemsFromFile(Kx_StringArray& items) const;

    // The control's live window in a host dialog: the child with the control's resource id. The
    // typed forms give it only for types whose window is an edit (getEditPtr), a button
    // (getButtonPtr: push buttons, check box and flex buttons, not the group frame), or a combo of
    // type 3, 13, 15 or 16 (getComboPtr). Null otherwise, and for an id of 0 or a missing child.
    HWND getCtrlPtr(HWND dialog) const;
    HWND getEditPtr(HWND dialog) const;
    HWND getButtonPtr(HWND dialog) const;
    HWND getComboPtr(HWND dialog) const;

private:
    Kx_ControlType m_type = Kx_ControlType::Label;
    bool m_readOnly = false;
    int m_resourceId = 0;
    int m_tabOrder = 0;
    double m_topLeftX = 0;
    double m_topLeftY = 0;
    double m_bottomRightX = 0;
    double m_bottomRightY = 0;
    Kx_String m_contents;
    Kx_String m_comboList;
    Kx_String m_extA[4];
    Kx_String m_extB[4];
    Kx_StringArray m_items;
};
