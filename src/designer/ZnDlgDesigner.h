// ZnDlgDesigner: the dialog designer (template 227), the modal editor in which a user draws a
// designed-dialog layout over its background picture: selection with the mouse, moving and sizing,
// the property panel of one control, the tool buttons, and open and save. The editing itself is
// Kx_DlgDesignerData's in designer mode; this dialog owns the layout and hands it the mouse.
#pragma once

#include "core/CButtonST.h"
#include "core/CResizer.h"
#include "core/Kx_String.h"
#include "designer/Kx_DlgDesignerData.h"
#include "platform/win/Dialog.h"

#include <array>
#include <memory>

class ZnDlgDesigner : public CDialog {
public:
    static constexpr int kTemplateId = 227;
    static constexpr const char* kSizeKey = "DLG_DLGDESIGNER";
    // Tool buttons.
    static constexpr int kOpen = 1299;
    static constexpr int kSaveAs = 1302;
    static constexpr int kAdd = 1300;
    static constexpr int kRemove = 1301;
    static constexpr int kWidth = 1306;
    static constexpr int kHeight = 1307;
    static constexpr int kAlignBottoms = 1200;
    static constexpr int kStickRight = 1201;
    static constexpr int kCopy = 1199;
    static constexpr int kPicture = 1303;
    static constexpr int kUndo = 1640;
    static constexpr int kRedo = 1641;
    static constexpr int kArrange = 1642;   // a pop-up menu of the commands below
    static constexpr int kGrid = 1643;
    static constexpr int kTabOrder = 1644;  // a push-like check box: the tab-order view
    static constexpr int kPreview = 1645;
    // The arrange menu's commands.
    static constexpr int kAlignLeft = 1650;
    static constexpr int kAlignRight = 1651;
    static constexpr int kAlignTop = 1652;
    static constexpr int kAlignBottom = 1653;
    static constexpr int kCentresAcross = 1654;
    static constexpr int kCentresDown = 1655;
    static constexpr int kSameWidth = 1656;
    static constexpr int kSameHeight = 1657;
    static constexpr int kSameSize = 1658;
    static constexpr int kDistributeAcross = 1659;
    static constexpr int kDistributeDown = 1660;
    // The snap grid's step is kept under the dialog's size key (see kxcore::kDialogSizesKey), as a
    // REG_DWORD of this name. Without one there is no grid (the mouse moves freely, as it always
    // did), and Shift+arrow moves by kShiftNudge pixels.
    static constexpr const char* kGridStepValue = "GRID_STEP";
    static constexpr int kDefaultGridStep = 0;
    static constexpr int kShiftNudge = 10;
    // The property panel.
    static constexpr int kType = 1005;
    static constexpr int kDescription = 1016;
    static constexpr int kContents = 1304;
    static constexpr int kHint = 1017;
    static constexpr int kComboList = 1305;
    static constexpr int kPanel = 1015;

    // `path`: the layout to open (a path under the layout folder or a layout name); empty, or a
    // file that does not exist, opens an empty editor.
    explicit ZnDlgDesigner(const Kx_String& path);
    ~ZnDlgDesigner() override;

    Kx_DlgDesignerData& layout() { return *m_layout; }
    bool isModified() const { return m_modified; }

    // The snap grid step kept in the registry; kDefaultGridStep when none or a damaged value.
    static int storedGridStep();
    // False when the registry refused.
    static bool storeGridStep(int pixels);

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;
    void OnDestroy() override;
    BOOL OnEraseBkgnd(HDC dc) override;
    void OnPaint() override;
    void OnLButtonDown(UINT flags, POINT point) override;
    void OnMouseMove(UINT flags, POINT point) override;
    void OnLButtonUp(UINT flags, POINT point) override;
    BOOL OnSetCursor(HWND hwnd, UINT hitTest, UINT message) override;
    BOOL PreTranslateMessage(const MSG& msg) override;

private:
    // Initialises a layout in designer mode with this dialog as its host.
    void initializeLayout(Kx_DlgDesignerData& layout);
    void setTitle();
    // The folder the file dialogs start in: the current layout's, or the layout root.
    Kx_String currentFolder() const;
    // Asks whether to save a modified layout. False when the user cancelled, or when the save
    // failed (it said so): the caller stops.
    bool saveQuestion();
    // Writes the layout under `path` and clears the modified flag; on failure tells the user and
    // keeps the flag. True when saved.
    bool saveTo(const Kx_String& path);
    bool saveAs();
    void open();
    void loadPicture();
    void add();
    void remove();
    void copy();
    void changeSize(bool horizontal);
    void alignBottoms();
    void stickRight();
    void propertyChanged();
    void undo();
    void redo();
    // After an undo or redo that `moved` the layout: the panel, the buttons and the modified flag.
    void travel(bool moved);
    void arrange();
    // Runs one command of the arrange menu.
    void arrangeCommand(int command);
    void chooseGridStep();
    void toggleTabOrder();
    void preview();
    // The arrow keys: move by a pixel, with Shift by the grid step, with Ctrl resize. True when the
    // key was one of them and was taken.
    bool nudge(int key);
    // After any command: the modified flag and the undo and redo buttons.
    void afterEdit(bool changed);
    void updateUndoButtons();
    void warn(int text, const Kx_String& detail = Kx_String());

    Kx_String m_path;
    std::unique_ptr<Kx_DlgDesignerData> m_layout;
    bool m_modified = false;
    SIZE m_minimum{};
    ZnResizer m_resizer;
    std::array<CButtonST, 10> m_buttons;
    std::array<CButtonST, 6> m_toolButtons;
};
