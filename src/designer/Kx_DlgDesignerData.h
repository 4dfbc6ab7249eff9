// Kx_DlgDesignerData: a designed-dialog layout (its controls over a background picture, read from and
// written to the layout files under getDesignerRootFolder) and the live child windows it places in a
// host dialog, whose values the host then reads and writes by resource id. The designer's editing
// commands (selection, property panel, alignment) build on this class and live beside it.
//
// Nothing here throws: failures are false, null or 0 as each operation says, and leave the layout
// as it was. Main thread only, inside the host dialog's message handling.
#pragma once

#include "core/Kx_Array.h"
#include "core/Kx_String.h"
#include "core/Kx_StringArray.h"
#include "designer/Kx_ControlType.h"
#include "designer/Kx_DesignerControl.h"
#include "frame/KxSsExport.h"
#include "platform/win/WinTypes.h"

#include <memory>
#include <string>
#include <string_view>
#include <vector>

// What handleTabKey tells the host.
enum class Kx_TabMsgHandle : int {
    Handled = 0,        // the focus moved to another designed control
    NotHandled = 1,     // the host does its normal processing (also for keys other than Tab)
    LeaveForward = 2,   // Tab on the last control: focus what follows the designed controls
    LeaveBackward = 3,  // Shift+Tab on the first control: focus what precedes them
};

// The resource ids the macro dialogs give a layout's controls, and the range a layout uses until
// initialize sets another (so a layout read on its own numbers its controls as a page would).
inline constexpr int kDesignerFirstResourceId = 33000;
inline constexpr int kDesignerLastResourceId = 33099;

// The designer's history keeps this many steps.
inline constexpr int kMaxUndoSteps = 200;
// The largest snap grid step in pixels.
inline constexpr int kMaxGridStep = 200;

// In runtime mode a combo window is made at least this high: the height of its opened list.
inline constexpr int kDesignerDropDownHeight = 200;

// The module's icon resource shown on every flex button (type 30).
inline constexpr int kFlexButtonIconId = 239;

// How a layout file was read, for callers that report more than true or false.
struct KXSS_API Kx_LayoutReadReport {
    enum class Status {
        Read,          // the file was read whole
        Salvaged,      // damaged: the lines that could be read were used (see message)
        Unreadable,    // the file exists but nothing in it could be read (see message)
        NotFound,      // no such file
        OutsideRoot,   // the path does not lie under the layout root folder
    };
    Status status = Status::NotFound;
    std::string message;         // the reason, for every status but Read
    int skippedLines = 0;        // damaged lines left out (Salvaged)
    bool pictureAttached = false;
    std::string picturePath;     // the picture looked for (with withPicture)
};

class KXSS_API Kx_DlgDesignerData {
public:
    Kx_DlgDesignerData();
    virtual ~Kx_DlgDesignerData();
    // A copy is an empty layout, and assigning does nothing: drawn windows, picture and icon belong
    // to the one host dialog the layout was placed in.
    Kx_DlgDesignerData(const Kx_DlgDesignerData& other);
    Kx_DlgDesignerData& operator=(const Kx_DlgDesignerData& other);

    // --- The model -------------------------------------------------------------------------------

    // The layout's name: its file path relative to the root folder, without extension, with '\'
    // between folders ("sub\frame"). Empty for a layout never read or written.
    const Kx_String& getName() const;

    int getNrControls() const;
    // The control at index i; null outside 0..count-1. Not owning: valid until the control is
    // removed or the layout read again.
    const Kx_DesignerControl* getControl(int i) const;
    Kx_DesignerControl* getControlWrite(int i);
    // The control with resource id `id`; null when none (ids below 1 are never found).
    const Kx_DesignerControl* getControlFromRes(int id) const;
    Kx_DesignerControl* getControlFromRes(int id);
    bool findCtrlFromResource(int id, int& i) const;
    bool getDynControlType(int id, Kx_ControlType& type) const;
    // True for the bolt-count edits (types 4 and 5).
    bool isTypeBoltCount(int id) const;
    // The contents of every variable edit (type 2), in list order.
    void getAllCtrlNames(Kx_StringArray& names) const;
    // The first control of type 2 or 3 whose contents equals name, ignoring case.
    bool findEditCtrlWithContents(const Kx_String& name, int& i) const;

    // Adds a copy of ctrl at the end with the smallest id of the layout's range that no control
    // uses, and returns that id: 0 when the range is used up or empty (the control is still added),
    // and when memory runs out (then nothing is added).
    int append(const Kx_DesignerControl& ctrl);
    // Deletes control i; the later ones move down. Drawn windows are not touched. False outside
    // 0..count-1.
    bool removeControl(int i);
    // Deletes every control (drawn windows are not touched).
    void removeAllControls();

    // --- Files (getDesignerRootFolder) -----------------------------------------------------------

    // Reads a layout. `path` is a file path that must lie under the root folder, or a layout name
    // relative to it ("sub\frame", with or without ".txt"). False, the layout unchanged, when the
    // file does not exist or lies outside the root (after resolving "..", links and absolute
    // names), and when the file cannot be read at all (unreadable, over 16 MiB, UTF-16 text; the
    // reason is printed on the command line). Otherwise sets the name, reads the controls (each
    // given its id by append) and, with withPicture, attaches the picture beside the file, and
    // returns true. A damaged file gives what could be read: its readable lines (the first problem
    // is printed), at most as many controls as the file really describes (and at most 10,000),
    // none for a missing count. The report says which of these happened.
    bool readFromFile(const Kx_String& path, bool withPicture);
    bool readFromFile(const Kx_String& path, bool withPicture, Kx_LayoutReadReport& report);
    // The controls from layout text already in memory, as readFromFile takes them from the file;
    // the name and picture stay. sourceName names the text in messages. False, the layout
    // unchanged, only for text that is not UTF-8 at all (UTF-16). The number of damaged lines left
    // out goes to skippedLines when given.
    bool readFromText(std::string_view text, std::string_view sourceName, int* skippedLines = nullptr);
    // The layout file's text for the controls as they are now.
    std::string toText() const;

    // Saves the layout as `path` (a path or name as readFromFile takes) and its picture beside it,
    // taken from the picture file of the layout's current name (saving under the same name leaves
    // the picture as it is). When every control is drawn, the factors are first taken from the
    // windows. The picture is written before the text, so that a layout file never names a picture
    // that is missing or part-written; when the text then fails to save, the picture that was
    // there before is put back. False, nothing written and the name unchanged, when the path lies
    // outside the root folder or a save failed (the reason is printed on the command line).
    bool writeToFile(const Kx_String& path);

    // Loads the picture file and takes W and H from it; white is its transparent colour. When the
    // file is missing or no picture (too big, damaged, of size 0), nothing changes and false is
    // returned: the layout keeps the picture it had (a damaged one is reported on the command line).
    bool attachBitmap(const Kx_String& path);
    // The picture and its transparency mask (white where the picture is white, made on first use);
    // null when there is no picture. Owned by the layout.
    HBITMAP getPicture() const;
    HBITMAP getPictureMask() const;

    // --- Factors and pixels ------------------------------------------------------------------------
    //
    // A factor turns into pixels by the picture's width W (x) or height H (y). A layout without a
    // picture has W = H = 0: every factor is 0 pixels, and pixels cannot become factors, so the
    // setters and getSizeFromControl leave factors as they are rather than divide by zero. A
    // factor that is not a finite number counts as 0. Factors outside 0..1 are kept: the control
    // lies beyond the picture's edge. Drawn rectangles are kept within +-kMaxDesignerCoordinate.

    // W and H, or 0 and 0 before initialize.
    void getImageSize(int& w, int& h) const;
    // f x W (horizontal) or f x H; no rounding.
    double factorToPixels(bool horizontal, double f) const;
    // p / W or p / H; 0 when that size is 0 or p is not a finite number.
    double pixelsToFactor(bool horizontal, double p) const;

    double getTopLeftX(const Kx_DesignerControl& ctrl) const;
    double getTopLeftY(const Kx_DesignerControl& ctrl) const;
    double getBottomRightX(const Kx_DesignerControl& ctrl) const;
    double getBottomRightY(const Kx_DesignerControl& ctrl) const;
    void setTopLeftX(Kx_DesignerControl& ctrl, double px) const;
    void setTopLeftY(Kx_DesignerControl& ctrl, double px) const;
    void setBottomRightX(Kx_DesignerControl& ctrl, double px) const;
    void setBottomRightY(Kx_DesignerControl& ctrl, double px) const;
    // bottomRightX - topLeftX and bottomRightY - topLeftY in pixels.
    double getWidth(const Kx_DesignerControl& ctrl) const;
    double getHeight(const Kx_DesignerControl& ctrl) const;
    // Keeps the left edge and puts the right one at left + w.
    void setWidth(Kx_DesignerControl& ctrl, double w) const;
    // Keeps the bottom edge and puts the top one at bottom - h.
    void setHeight(Kx_DesignerControl& ctrl, double h) const;
    // The rectangle the control's window gets in host pixels, each edge rounded to the nearest
    // pixel (before the runtime's drop-down height).
    RECT getDrawnRect(const Kx_DesignerControl& ctrl) const;

    // --- Runtime: placing the layout in a host dialog ------------------------------------------------

    // Stores the host, the id range and the mode; false when host is null. In designer mode the
    // five property controls are remembered, the type list is filled with the 31 type names (the
    // list index is the type code) and the property controls start empty and disabled. Runtime
    // hosts pass 0 for the five ids.
    bool initialize(HWND host, int firstId, int lastId, int typeComboId, int descriptionId, int contentsId,
                    int hintId, int comboListId, bool designerMode);
    bool isInitialized() const;
    bool isDesignerMode() const;
    // The host dialog; null before initialize.
    HWND getDlgPtr() const;

    // Runtime mode: sorts the tab order; designer mode: clears the selection. Then destroys the
    // windows drawn so far and draws every control in list order.
    void redrawAllControls();
    // Makes the control's window in the host (see Kx_WindowKind) and appends it to the drawn
    // windows. False before initialize, for a dead host, or when the window cannot be made.
    bool drawControl(const Kx_DesignerControl& ctrl);
    // Destroys every drawn window that is still alive and forgets them all.
    void removeAllDrawnCtrls();
    int getNrDrawnControls() const;
    // Drawn window k (normally control k's); null outside the list.
    HWND getDrawnWindow(int k) const;

    // Gives every editable control (read-only flag clear, not a label or frame) its place in the
    // keyboard order: rows from the top (a control joins the row of the highest remaining control
    // when its top is not below that control's bottom), left to right within a row.
    void sortAllControls();

    // Values by resource id; the control must be drawn. Type 29 reads "0", "1" or text 695 (the
    // third state); type 28 the selected index ("-1": none); the others the window's text.
    bool getCtrlValue(int id, Kx_String& value) const;
    // Types 25 and 26: nothing, true. Type 29: the check value (text 695 in any letter case shows the
    // third state; another text checks the box when it reads as a number above 0). Type 28: selects
    // the index given in decimal (-1: none); false for another text or an index beyond the list.
    // Others: the window's text.
    bool setCtrlValue(int id, const Kx_String& value);
    // Enables or disables the window of a type-2 or type-3 control; false for other types. The
    // control's read-only flag is not changed.
    bool setCtrlReadOnly(int id, bool readOnly);

    // Focuses the first (or last) control of the tab order that can take the focus, selecting an
    // edit's text. False when no control is editable or none can take the focus.
    bool setFocusToCtrl(bool first);
    // The resource id of the window with the focus (a drop-down combo's inner edit counts as its
    // combo), and whether it is one of the layout's drawn controls. id is 0 when nothing has the focus.
    bool getFocusedDynControl(int& id) const;
    bool isADynControl(int id) const;
    // True when at least one control's read-only flag is clear.
    bool containsEditableCtrls() const;
    // Moves the focus to the next (previous, with Shift held) control of the tab order, passing
    // over windows that are disabled or hidden. result says what the host must do; true when the
    // focus was on a designed control and the key was Tab.
    bool handleTabKey(int key, Kx_TabMsgHandle& result);

    // --- Flex buttons (type 30): group = part A1, name = contents, compared ignoring case ----------

    void getFlexBtnsGroups(Kx_StringArray& groups) const;
    // Indices of the group's buttons, and of those whose A3 is not empty. Returns true.
    bool getFlexBtnsInGroup(const Kx_String& group, Kx_Array<int>& all, Kx_Array<int>& withA3) const;
    void getAllFlexVarsOfGroup(const Kx_String& group, Kx_StringArray& names) const;
    bool findFlexButton(const Kx_String& group, const Kx_String& name, int& i) const;
    // Control i's check state (0, 1; a flex button never shows 2: writing 2 writes 0). False when i
    // is not a drawn flex button.
    bool getSetFlexBtnStatus(bool set, int i, int& status);
    bool getFlexBtnStatus(int i, int& status);
    bool setFlexBtnStatus(const Kx_String& group, const Kx_String& name, int status);
    bool getFlexBtnGroupName(int id, Kx_String& group, Kx_String& name) const;
    void hideAllFlexBtns(const Kx_String& group);

    // --- Designer mode: the selection and the editing commands (DesignerSelection.cpp) ------------
    //
    // Everything here works on the drawn windows of a layout initialised in designer mode, whose
    // drawn windows run parallel to its controls; it does nothing otherwise. Positions change in
    // the windows while the user drags; the commands that compute with them first take the factors
    // back from the windows (getSizeFromAllControls). Commands that need pixels (add, copy, sizes,
    // alignment) need a picture: without one they do nothing and return false.

    // The index of the one selected control; false when none or several are selected.
    bool getCurSel(int& i) const;
    // The selected control indices, in the order they were selected.
    std::vector<int> getSelection() const;
    // Selects exactly these controls, in this order (indices that are not drawn are left out).
    void setSelection(const std::vector<int>& indices);
    // Adds a control of the type: contents text 171, top-left at factors (0.2, 0.2), 30 x 18 pixels,
    // with the next free id, and draws it. False without a picture or when no id of the range is free.
    bool addNewControl(Kx_ControlType type);
    // Destroys the windows of the selected controls and removes them from the layout, from the
    // highest index down so that nothing shifts under the removal.
    void removeCurControls();
    // Copies every selected control 20 pixels right and down, with a new id; the copies become the
    // selection. False, nothing copied, without a selection or a picture, or when there are fewer
    // free ids than selected controls.
    bool copyCurCtrls();
    // Align bottoms: every selected control keeps its height and moves so that its bottom is the
    // bottom of the selected control with the smallest left edge (the first in selection order
    // among equals).
    bool outlineCurCtrls();
    // Exactly two selected: the one to the right keeps its width and is placed against the right
    // edge of the other, at its top and bottom.
    bool stickRightCurCtrls();
    // Asks for the width (horizontal) or height in pixels with the prompt dialog and gives it to
    // every selected control. A value that is not a positive finite number is refused with a
    // message and nothing changes. False when cancelled, refused or there is nothing to size.
    bool changeCtrlSize(bool horizontal);
    // Control i's right edge to left + pixels (horizontal), or its bottom to top + pixels. False
    // for an unknown index, without a picture, or for pixels that are not positive and finite.
    bool changeCtrlSize(int i, bool horizontal, double pixels);
    // Fills the host's five property controls from the one selected control (empty and disabled
    // when not exactly one is selected). Notifications they send meanwhile are ignored.
    void updatePropsOfCurSel();
    // The user changed the type, contents or combo list in the panel: they go into the selected
    // control; a new type redraws the layout and selects the control again.
    void propsOfCurSelUpdated();
    // The mouse in the host's client pixels (flags: MK_CONTROL, MK_SHIFT). A press selects and
    // starts moving the selection, resizing the control under a handle, or a rubber band over
    // empty space; the host hands on the moves and the release.
    void OnLButtonDown(UINT flags, POINT point);
    void OnMouseMove(UINT flags, POINT point);
    void OnLButtonUp(UINT flags, POINT point);
    // Sets the size cursor over a selected control's handles and the move cursor inside it; TRUE
    // when it set one.
    BOOL OnSetCursor(POINT point);
    // The rectangle of the rubber band being dragged; empty when none.
    RECT getRubberBand() const;

    // --- Designer mode: undo and redo, the snap grid, nudging and arranging (DesignerEditing.cpp,
    // DesignerHistory.cpp) ----------------------------------------------------------------------------
    //
    // Every command above and below that changes the layout (add, remove, copy, sizes, alignment, a
    // drag that moved or resized, a property change, a picture change through replacePicture) is one
    // step of the history; undo puts back the controls, their order and the selection exactly as they
    // were before the step, redo as they were after it. The history keeps the last kMaxUndoSteps
    // steps; reading a layout or initialize starts it afresh.

    bool canUndo() const;
    bool canRedo() const;
    // False, nothing changed, when there is nothing to undo (redo).
    bool undo();
    bool redo();
    // The number of steps that can be undone.
    int undoCount() const;
    // Forgets every step (the layout as it is becomes the start).
    void clearHistory();
    // The layout as it is now is the saved one; isAtSavedState is true while undo and redo lead back
    // to it and no other step was taken from there.
    void markSaved();
    bool isAtSavedState() const;

    // The snap grid in pixels of the picture: moves and resizes by the mouse put the edges they move
    // on multiples of the step (Alt held: freely); 0 or 1 is no grid. Out-of-range steps are clamped
    // to 0..kMaxGridStep.
    void setGridStep(int pixels);
    int getGridStep() const;

    // Moves the selection by (dx, dy) pixels, or (resize) moves the right and bottom edges of every
    // selected control. Nothing is pushed past the picture's edges: a selection inside the picture
    // stops at its edge, one already beyond it can only come back; a control keeps at least 1 pixel.
    // False when nothing moved.
    bool nudgeCurCtrls(int dx, int dy, bool resize);

    enum class AlignEdge { Left, Right, Top, Bottom, CentresAcross, CentresDown };
    // Aligns every selected control to the first selected one (keeping sizes). CentresAcross puts
    // the centres on one vertical line, CentresDown on one horizontal line. False with fewer than
    // two selected or when nothing moved.
    bool alignCurCtrls(AlignEdge edge);
    // Gives every selected control the width and/or height of the first selected one (the left and
    // top edges stay). False with fewer than two selected or when nothing changed.
    bool sameSizeCurCtrls(bool width, bool height);
    // Spaces the selected controls evenly across (by their left edges) or down: the outermost two
    // stay, the others are placed between them with equal gaps, in whole pixels. False with fewer
    // than three selected (two have nothing between them) or when nothing moved.
    bool distributeCurCtrls(bool horizontal);

    // A new background picture: `bytes` is the picture file's content, written as the picture of the
    // layout's name and attached; undo puts the old file back. False, nothing changed, without a
    // name, for bytes that are no usable picture, or when the file cannot be written.
    bool replacePicture(const std::string& bytes);

    // --- Designer mode: the tab-order view and the preview ---------------------------------------------

    // The keyboard order each control gets when the layout is placed at run time (sortAllControls on
    // the layout as it is now, no control read-only), by control index; 0 for labels and frames.
    std::vector<int> runtimeTabOrders() const;
    // In the tab-order view the controls' windows are hidden and OnPaint draws each control's outline
    // over the picture with its place in the keyboard order; the mouse and the nudge keys do nothing.
    void setTabOrderView(bool on);
    bool isTabOrderView() const;
    // Makes this layout a copy of `other` for placing at run time: its name, controls (read-only flags
    // cleared, ids kept) and picture. False when memory runs out.
    bool copyLayoutFrom(const Kx_DlgDesignerData& other);

    // --- Painting and sizes ------------------------------------------------------------------------

    // The host's background erase: in designer mode the dialog face first, then the picture at
    // (0, 0) with white left transparent. Returns 0; nothing before initialize.
    BOOL OnEraseBkgnd(HDC dc);
    // The designer's selection: a frame and handles around each selected control.
    void OnPaint(HDC dc);
    // Drawn window i's rectangle in host pixels, divided by W and H, as control i's factors. Only
    // when every control is drawn and a picture gives W and H; false otherwise.
    bool getSizeFromControl(int i);
    bool getSizeFromAllControls();

    struct State;

private:
    std::unique_ptr<State> m_state;
};

// Drawn rectangles are clamped to this many pixels either side of the host's origin.
inline constexpr int kMaxDesignerCoordinate = 32767;
