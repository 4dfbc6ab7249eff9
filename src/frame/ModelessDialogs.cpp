// The table of open macro dialogs with its deferred close, the constraint editor instance and the
// shared button bitmaps. Module globals, empty at load and emptied at unload.
#include "frame/ModelessDialogs.h"

#include "core/Kx_Array.h"

#include <algorithm>
#include <vector>
#include "core/ZnTempResourceOverride.h"
#include "platform/host/CommandLine.h"
#include "platform/win/Bitmap.h"

namespace {

// A close deferred because the macro was busy: the timer that retries it and the slot.
struct DelayedClose {
    UINT_PTR timer = 0;
    int slot = -1;
    friend bool operator==(const DelayedClose&, const DelayedClose&) = default;
};

// The table owns its dialogs as raw pointers because the dialogs are window objects that may have
// to outlive the call that closes them (deleteWhenIdle); nothing else deletes them.
Kx_Array<KxMacroDialogHandle*>& table()
{
    static Kx_Array<KxMacroDialogHandle*> t;
    return t;
}

Kx_Array<DelayedClose>& delayedCloses()
{
    static Kx_Array<DelayedClose> d;
    return d;
}

CWnd*& editorInstance()
{
    static CWnd* editor = nullptr;
    return editor;
}

// Plain handles, freed at unload: a destructor running at process exit could outlive the bitmap
// table of the window layer.
struct SharedBitmaps {
    HBITMAP first = nullptr;   // 8134
    HBITMAP second = nullptr;  // 8136
};

SharedBitmaps& bitmaps()
{
    static SharedBitmaps b;
    return b;
}

constexpr UINT kRetryMs = 50;

int findDelayedClose(UINT_PTR timer)
{
    for (int i = 0; i < delayedCloses().length(); ++i) {
        if (delayedCloses()[i].timer == timer)
            return i;
    }
    return -1;
}

bool hasDelayedClose(int slot)
{
    for (const DelayedClose& d : delayedCloses())
        if (d.slot == slot)
            return true;
    return false;
}

// A slot that is emptied takes its pending closes with it, so a timer can never close a newer
// dialog that takes the same slot later.
void dropDelayedCloses(int slot)
{
    for (int i = delayedCloses().length() - 1; i >= 0; --i) {
        if (delayedCloses()[i].slot == slot) {
            KillTimer(nullptr, delayedCloses()[i].timer);
            delayedCloses().removeAt(i);
        }
    }
}

void delayedCloseTimer(HWND, UINT, UINT_PTR timer, DWORD)
{
    acutPrintf("Delayed timer called.\n");
    // The timer fires once: whatever happens next starts a new one if needed.
    KillTimer(nullptr, timer);
    const int entry = findDelayedClose(timer);
    if (entry < 0)
        return;
    const int slot = delayedCloses()[entry].slot;
    delayedCloses().removeAt(entry);
    // May defer again (and append a new entry) while the macro is still busy.
    EndDlgMacroModeless(slot);
}

} // namespace

namespace kxss {

void attachModule()
{
    if (ZnTempResourceOverride::defaultResource() == nullptr)
        ZnTempResourceOverride::SaveDefaultResource(kxwin::resourceModule("kestra_ss"));
}

int pickMacroDialogSlot()
{
    Kx_Array<KxMacroDialogHandle*>& t = table();
    for (int i = t.length() - 1; i >= 0; --i) {
        if (t[i] == nullptr)
            return i;
    }
    // Storage grows eight slots at a time.
    if (t.length() % 8 == 0)
        t.setPhysicalLength(t.length() + 8);
    t.append(nullptr);
    return t.length() - 1;
}

void storeMacroDialog(int slot, KxMacroDialogHandle* dialog)
{
    if (slot < 0 || slot >= table().length()) {
        acutPrintf("*Error* Invalid index passed to insert.\n");
        return;
    }
    table()[slot] = dialog;
}

KxMacroDialogHandle* macroDialogInSlot(int slot)
{
    if (slot < 0 || slot >= table().length())
        return nullptr;
    return table()[slot];
}

int macroDialogSlotCount()
{
    return table().length();
}

void destroyAllMacroDialogsAtUnload()
{
    while (delayedCloses().length() > 0) {
        KillTimer(nullptr, delayedCloses().last().timer);
        delayedCloses().removeAt(delayedCloses().length() - 1);
    }
    for (int slot = table().length() - 1; slot >= 0; --slot) {
        KxMacroDialogHandle* dialog = table()[slot];
        if (dialog == nullptr)
            continue;
        dialog->cancelNested();
        // The core is unloading too: a busy flag no longer protects anything.
        dialog->macroData().setBusy(false);
        CWnd& window = dialog->dialogWindow();
        if (window.m_hWnd != nullptr)
            window.DestroyWindow();
        table()[slot] = nullptr;
        window.deleteWhenIdle();
    }
    table().setLogicalLength(0);
}

int pendingMacroDialogCloses()
{
    return delayedCloses().length();
}

CWnd* constraintEditor()
{
    return editorInstance();
}

void setConstraintEditor(CWnd* editor)
{
    editorInstance() = editor;
}

namespace {

std::vector<void (*)()>& unloadSteps()
{
    static std::vector<void (*)()> steps;
    return steps;
}

} // namespace

void addUnloadStep(void (*step)())
{
    auto& steps = unloadSteps();
    if (step != nullptr && std::find(steps.begin(), steps.end(), step) == steps.end())
        steps.push_back(step);
}

void runUnloadSteps()
{
    for (auto step : unloadSteps())
        step();
}

HBITMAP sharedButtonBitmap(int resourceId)
{
    if (resourceId == 8134)
        return bitmaps().first;
    if (resourceId == 8136)
        return bitmaps().second;
    return nullptr;
}

void loadSharedBitmaps()
{
    ZnTempResourceOverride resources;
    if (bitmaps().first == nullptr)
        bitmaps().first = LoadBitmap(8134);
    if (bitmaps().second == nullptr)
        bitmaps().second = LoadBitmap(8136);
    if (bitmaps().first == nullptr || bitmaps().second == nullptr)
        acutPrintf("*Error* The button pictures could not be loaded: %s\n", kxwin::lastPictureError().c_str());
}

void freeSharedBitmaps()
{
    DeleteObject(bitmaps().first);
    DeleteObject(bitmaps().second);
    bitmaps() = SharedBitmaps{};
}

} // namespace kxss

bool EndDlgMacroModeless(int slot)
{
    KxMacroDialogHandle* dialog = kxss::macroDialogInSlot(slot);
    if (dialog == nullptr)
        return false;
    // A busy macro, or a dialog that is running a sub-dialog, a message box or a pick on its own
    // stack, is closed later: destroying it now would pull the window from under that loop.
    if (dialog->macroData().isBusy() || dialog->isRunningNested()) {
        if (hasDelayedClose(slot))
            return true; // one pending close per slot
        const UINT_PTR timer = SetTimer(nullptr, 0, kRetryMs, delayedCloseTimer);
        delayedCloses().insertAt(delayedCloses().length(), DelayedClose{timer, slot});
        return true;
    }
    CWnd& window = dialog->dialogWindow();
    if (window.m_hWnd != nullptr && !window.DestroyWindow())
        return false;
    table()[slot] = nullptr;
    dropDelayedCloses(slot);
    // The close may come from the dialog's own button: the object goes once its handler returns.
    window.deleteWhenIdle();
    if (slot == table().length() - 1) {
        int length = table().length();
        while (length > 0 && table()[length - 1] == nullptr)
            --length;
        table().setLogicalLength(length);
    }
    acedPostCommandPrompt();
    return true;
}

bool GetDlgMacroData(int slot, MacroData& data)
{
    KxMacroDialogHandle* dialog = kxss::macroDialogInSlot(slot);
    if (dialog == nullptr)
        return false;
    data = dialog->macroData();
    return true;
}

void DestroyAllMacroDlgs()
{
    for (int slot = table().length() - 1; slot >= 0; --slot)
        EndDlgMacroModeless(slot);
}

namespace {

void destroyConstraintEditor(CWnd* editor)
{
    editorInstance() = nullptr;
    if (editor->m_hWnd == nullptr || !editor->DestroyWindow())
        acutPrintf("Erase window failed\n");
    editor->deleteWhenIdle();
    acedPostCommandPrompt();
}

} // namespace

void EndDlgEditConstraints()
{
    CWnd* editor = editorInstance();
    if (editor == nullptr)
        return;
    if (auto* nested = dynamic_cast<KxNestedCloseHandler*>(editor); nested != nullptr && nested->deferClose())
        return;
    destroyConstraintEditor(editor);
}

void kxss::endConstraintEditorAtUnload()
{
    CWnd* editor = editorInstance();
    if (editor == nullptr)
        return;
    if (auto* nested = dynamic_cast<KxNestedCloseHandler*>(editor))
        nested->cancelNested();
    destroyConstraintEditor(editor);
}
