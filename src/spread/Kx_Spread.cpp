// Kx_Spread: creation, ownership and the window's own behaviour (resize, right-click menu, keys,
// commands), plus the settings record it shares with the sheet. Cell and structure operations live
// in the other Kx_Spread*.cpp files.
#include "spread/Kx_Spread.h"

#include "core/TextTables.h"
#include "core/ZnTempResourceOverride.h"
#include "platform/grid/Spread.h"
#include "platform/win/Bitmap.h"
#include "sheetedit/PopupMenuBuilder.h"
#include "sheetedit/SheetPreparation.h"
#include "sheetedit/SheetSettings.h"
#include "sheetedit/ZnDlgFindReplace.h"
#include "spread/SheetFiles.h"

#include <vector>

namespace {

// Captions of the right-click menu's entry kinds (kind 1 is a separator).
int captionOf(int kind)
{
    switch (kind) {
    case Kx_Spread::kMenuCopy: return 1154;
    case Kx_Spread::kMenuPaste: return 1155;
    case Kx_Spread::kMenuInsertRow: return 774;
    case Kx_Spread::kMenuDeleteRow: return 775;
    case Kx_Spread::kMenuInsertColumn: return 1156;
    case Kx_Spread::kMenuDeleteColumn: return 1157;
    case Kx_Spread::kMenuCheckAll: return 1400;
    case Kx_Spread::kMenuUncheckAll: return 1401;
    default: return 0;
    }
}

constexpr int kPopupSeparator = 5;
constexpr int kPopupPlain = 1;

} // namespace

Kx_Spread::Kx_Spread() = default;

Kx_Spread::~Kx_Spread()
{
    // The find dialog goes first: it reads this grid while its window lives. Its close callback
    // sees the wrapper going (m_alive) and does nothing.
    m_alive.reset();
    if (ZnDlgFindReplace* dialog = m_findDialog.release()) {
        if (dialog->m_hWnd != nullptr)
            dialog->DestroyWindow();
        dialog->deleteWhenIdle();
    }
    m_menuBuilder.reset();
    // The grid window goes before the pictures its cells show.
    if (m_hWnd != nullptr)
        DestroyWindow();
    m_checkPicture1.reset();
    m_checkPicture2.reset();
    for (HBITMAP bitmap : m_resourceBitmaps)
        DeleteObject(bitmap);
    for (HICON icon : m_resourceIcons)
        DestroyIcon(icon);
}

// --- Creation ------------------------------------------------------------------------------------

bool Kx_Spread::attach(CWnd* owner, int controlId, bool exactRect)
{
    return attach(owner != nullptr ? owner->m_hWnd : nullptr, controlId, exactRect);
}

bool Kx_Spread::attach(HWND owner, int controlId, bool exactRect)
{
    // A second attach would leave the first grid window orphaned under this object.
    if (m_attached || m_hWnd != nullptr)
        return false;
    if (owner == nullptr || !IsWindow(owner))
        return false;
    HWND placeholder = ::GetDlgItem(owner, controlId);
    if (placeholder == nullptr)
        return false;

    RECT placeholderRect;
    RECT ownerRect;
    ::GetWindowRect(placeholder, placeholderRect);
    ::GetWindowRect(owner, ownerRect);
    RECT rect = placeholderRect;
    rect.left -= ownerRect.left;
    rect.right -= ownerRect.left;
    rect.top -= ownerRect.top;
    rect.bottom -= ownerRect.top;
    if (!exactRect) {
        // The owner's window rectangle includes its frame and caption; the placeholder's position
        // is meant in client pixels.
        rect.left -= 5;
        rect.right -= 5;
        rect.top -= 20;
        rect.bottom -= 20;
    }
    const DWORD tabStop = static_cast<DWORD>(::GetWindowLong(placeholder, GWL_STYLE)) & WS_TABSTOP;
    ::DestroyWindow(placeholder);
    if (!Create(kGridClassName, "", WS_CHILD | WS_VISIBLE | tabStop, rect, owner, controlId))
        return false;

    SSSetMaxRows(m_hWnd, 0);
    SSSetMaxCols(m_hWnd, 0);
    m_attached = true;
    m_owner = owner;
    m_controlId = controlId;
    SSSetAppearance(m_hWnd, 1);
    for (int action = 0; action <= 2; ++action)
        SSSetActionKey(m_hWnd, action, FALSE, FALSE, 0);
    // Every grid of the module knows the table lookup, so a formula behaves the same in each.
    kxss::registerFromTable(m_hWnd);
    return true;
}

void Kx_Spread::show()
{
    if (m_attached)
        ShowWindow(SW_SHOW);
}

void Kx_Spread::hide()
{
    if (m_attached)
        ShowWindow(SW_HIDE);
}

bool Kx_Spread::isVisible() const
{
    return m_attached && (static_cast<DWORD>(::GetWindowLong(m_hWnd, GWL_STYLE)) & WS_VISIBLE) != 0;
}

// --- The settings record kept in the sheet ---------------------------------------------------------

bool Kx_Spread::loadLook(const Kx_String& settingsName)
{
    if (!m_attached)
        return false;
    // The settings the preparation applied: the sheet's own, else the registry's default ones, else
    // the defaults. Loading the name again here would paint the defaults over a registry default.
    SheetSettings settings;
    prepareEditorSheet(m_hWnd, settingsName, /*full=*/true, &settings);
    if (!settings.defaultFont.isEmpty() && settings.defaultTextHeight > 0) {
        m_fontFace = settings.defaultFont;
        m_textHeight = settings.defaultTextHeight;
    }
    applyFonts();
    return true;
}

bool Kx_Spread::setPrintVariables(const Kx_StringArray& names, const Kx_StringArray& values)
{
    if (!m_attached)
        return false;
    SheetSettings settings;
    settings.readFromSheet(m_hWnd);
    settings.setVariables(names, values);
    return settings.writeToSheet(m_hWnd);
}

bool Kx_Spread::saveToFile(const Kx_String& path)
{
    if (!m_attached || path.isEmpty())
        return false;
    if (SSSaveToFile(m_hWnd, path.c_str(), FALSE) != TRUE)
        return false;
    SheetSettings settings;
    settings.readFromSheet(m_hWnd);
    settings.resolveHeaderFooter(path);
    settings.writeToSheet(m_hWnd);
    // Cleared last: rewriting the record is itself a change of the sheet, and the sheet was just
    // saved, so it must not look changed afterwards.
    SSSetBool(m_hWnd, SSB_CHANGEMADE, FALSE);
    return true;
}

// --- Fitting and menu configuration ----------------------------------------------------------------

void Kx_Spread::setFitMode(int mode, int param1, int param2)
{
    m_fitMode = mode;
    m_fitParam1 = param1;
    m_fitParam2 = param2;
}

void Kx_Spread::setFitColumns(int mode, const Kx_Array<int>& columns, const Kx_Array<int>& widths)
{
    m_fitMode = mode;
    m_fitColumns = columns;
    m_fitWidths = widths;
}

void Kx_Spread::setContextMenu(const Kx_Array<int>& kinds)
{
    m_menuBuilder = std::make_unique<PopupMenuBuilder>();
    m_menuEntries = kinds;
}

// --- Window behaviour ------------------------------------------------------------------------------

LRESULT Kx_Spread::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == SSM_PRIVATE_1303)
        return 0;
    return CWnd::WindowProc(message, wParam, lParam);
}

void Kx_Spread::OnSize(UINT, int, int)
{
    Default();
    fitToWindow();
}

void Kx_Spread::OnRButtonUp(UINT, POINT point)
{
    Default();
    if (m_hWnd == nullptr)
        return;
    ::ClientToScreen(m_hWnd, point);
    showContextMenu(point);
}

void Kx_Spread::showContextMenu(POINT screenPoint)
{
    if (!m_attached || !m_menuBuilder || m_menuEntries.isEmpty())
        return;
    std::vector<int> levels;
    std::vector<PopupMenuEntry> entries;
    for (int i = 0; i < m_menuEntries.length(); ++i) {
        const int kind = m_menuEntries[i];
        PopupMenuEntry entry;
        if (kind == kMenuSeparator) {
            entry.kind = kPopupSeparator;
        } else {
            const int caption = captionOf(kind);
            entry.text = caption != 0 ? dialString(caption) : Kx_String();
            entry.kind = kPopupPlain;
        }
        levels.push_back(1);
        entries.push_back(entry);
    }
    m_menuBuilder->track(TPM_LEFTALIGN | TPM_RIGHTBUTTON, screenPoint.x, screenPoint.y, m_hWnd, levels, entries);
}

void Kx_Spread::runMenuKind(int kind)
{
    if (!m_attached)
        return;
    switch (kind) {
    case kMenuCopy:
        SSClipboardCopy(m_hWnd);
        break;
    case kMenuPaste:
        if (SSClipboardPaste(m_hWnd))
            markChanged();
        break;
    case kMenuInsertRow:
        insertRow(getSelectedRow(), /*copyNext=*/false, /*askName=*/true);
        break;
    case kMenuDeleteRow:
        deleteSelectedRow();
        break;
    case kMenuInsertColumn:
        insertColumn(getSelectedColumn(), /*copyNext=*/true, /*askName=*/true);
        break;
    case kMenuDeleteColumn:
        deleteColumn(getSelectedColumn());
        break;
    case kMenuCheckAll:
        setChecksInSelection(true);
        break;
    case kMenuUncheckAll:
        setChecksInSelection(false);
        break;
    default:
        break;
    }
}

void Kx_Spread::followCheckGuard()
{
    // Keeps the guarded cell of the active row in step with its check box.
    if (!m_attached || m_checkColumn <= 0)
        return;
    int col = 0;
    int row = 0;
    getActiveCell(col, row);
    if (col == m_checkColumn) {
        applyCheckGuard(row);
        SSSetActiveCell(m_hWnd, col, row);
    }
}

BOOL Kx_Spread::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    // The grid tells its owner about changes and clicks; the wrapper looks first, so the check guard
    // follows the user without the owner's help, and the owner still hears every notification.
    const WORD code = HIWORD(wParam);
    if (message == WM_COMMAND && reinterpret_cast<HWND>(lParam) == m_hWnd &&
        (code == SSN_CELLCHANGED || code == SSN_BUTTONCLICKED))
        followCheckGuard();
    return CWnd::OnChildNotify(message, wParam, lParam, result);
}

BOOL Kx_Spread::OnCommand(WPARAM wParam, LPARAM lParam)
{
    const UINT id = LOWORD(wParam);
    const WORD code = HIWORD(wParam);

    // The grid's change and click notifications, when an owner hands them on as well.
    if (lParam != 0 && reinterpret_cast<HWND>(lParam) == m_hWnd &&
        (code == SSN_CELLCHANGED || code == SSN_BUTTONCLICKED)) {
        followCheckGuard();
        return TRUE;
    }

    if (lParam == 0 && !m_menuEntries.isEmpty()) {
        const int position = PopupMenuBuilder::poolPosition(id);
        if (position >= 0) {
            // The pool numbers only the entries that are not separators.
            int seen = 0;
            for (int i = 0; i < m_menuEntries.length(); ++i) {
                if (m_menuEntries[i] == kMenuSeparator)
                    continue;
                if (seen == position) {
                    runMenuKind(m_menuEntries[i]);
                    return TRUE;
                }
                ++seen;
            }
            return TRUE;
        }
    }
    return CWnd::OnCommand(wParam, lParam);
}

BOOL Kx_Spread::PreTranslateMessage(const MSG& msg)
{
    if (msg.message == WM_KEYDOWN && m_attached) {
        switch (msg.wParam) {
        case VK_F3:
            if (openFindDialog() && m_findDialog)
                m_findDialog->findNext();
            return TRUE;
        case VK_F5:
            if (openFindDialog() && m_findDialog)
                m_findDialog->replace();
            return TRUE;
        case VK_F8:
            if (m_f8Toggles) {
                SSSetBool(m_hWnd, SSB_PROCESSTAB, SSGetBool(m_hWnd, SSB_PROCESSTAB) ? FALSE : TRUE);
                return TRUE;
            }
            break;
        default:
            break;
        }
    }
    return CWnd::PreTranslateMessage(msg);
}

// --- Find dialog -----------------------------------------------------------------------------------

bool Kx_Spread::openFindDialog()
{
    if (!m_attached)
        return false;
    if (m_findDialog) {
        if (m_findDialog->m_hWnd != nullptr) {
            m_findDialog->ShowWindow(SW_SHOW);
            return true;
        }
        // A window that went without telling us: start afresh.
        m_findDialog.release()->deleteWhenIdle();
    }
    std::weak_ptr<int> alive = m_alive;
    auto dialog = std::make_unique<ZnDlgFindReplace>(m_hWnd, *this, [this, alive] {
        if (!alive.expired())
            onFindDialogClosed();
    });
    HWND parent = m_owner != nullptr ? m_owner : m_hWnd;
    m_findDialog = std::move(dialog);
    if (!m_findDialog->open(parent)) {
        // The callback may already have released it when the window failed half-way.
        if (ZnDlgFindReplace* failed = m_findDialog.release())
            failed->deleteWhenIdle();
        return false;
    }
    return m_findDialog != nullptr;
}

void Kx_Spread::onFindDialogClosed()
{
    // Called from the dialog's own close handling: never delete it here, only once it is idle.
    if (ZnDlgFindReplace* dialog = m_findDialog.release())
        dialog->deleteWhenIdle();
}

void Kx_Spread::markChanged()
{
    if (m_attached)
        SSSetBool(m_hWnd, SSB_CHANGEMADE, TRUE);
}
