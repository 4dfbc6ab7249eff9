// The find and replace dialog: the search order over the grid, the wrap question, replace and
// replace all, and the grid options it holds while open. How a cell is searched or written is the
// grid wrapper's (FindReplaceTarget), not this file's.
#include "sheetedit/ZnDlgFindReplace.h"

#include "core/DialogFunctions.h"
#include "core/TextTables.h"
#include "core/ZnTempResourceOverride.h"
#include "platform/grid/Spread.h"
#include "platform/win/Backend.h"
#include "platform/win/Messages.h"
#include "sheetedit/FindReplaceTarget.h"

#include <algorithm>
#include <utility>

namespace {

// Texts of the dialog and its messages.
constexpr int kTitleText = 1136;
constexpr int kFindLabelText = 1137;
constexpr int kReplaceLabelText = 1138;
constexpr int kFindNextText = 1139;
constexpr int kReplaceText = 1140;
constexpr int kReplaceAllText = 1141;
constexpr int kEndReachedText = 1142;
constexpr int kContinueText = 1143;
constexpr int kWrapTitle = 1144;
constexpr int kNotFoundText = 1145;
constexpr int kNotFoundTitle = 1146;
constexpr int kReplacedInText = 1147;
constexpr int kCellsText = 1148;
constexpr int kReplaceAllTitle = 1149;
constexpr int kCloseText = 285;
constexpr int kSearchFormulasText = 11080;

// True when (col, row) lies at or after (fromCol, fromRow) in row order. A target that answered a
// cell before the start would make the search loops go round for ever.
bool atOrAfter(int col, int row, int fromCol, int fromRow)
{
    return row > fromRow || (row == fromRow && col >= fromCol);
}

} // namespace

ZnDlgFindReplace::ZnDlgFindReplace(HWND grid, FindReplaceTarget& target, std::function<void()> onClosed)
    : CDialog(kTemplateId), m_grid(grid), m_target(target), m_onClosed(std::move(onClosed))
{
}

ZnDlgFindReplace::~ZnDlgFindReplace()
{
    // The owner is deleting us: it needs no word that we closed, and OnDestroy must still run while
    // this class is whole (the base destructor would only see a CWnd).
    m_onClosed = nullptr;
    if (m_hWnd != nullptr && IsWindow(m_hWnd))
        ::DestroyWindow(m_hWnd);
}

bool ZnDlgFindReplace::open(HWND parent)
{
    if (m_hWnd != nullptr)
        return true;
    if (!gridAlive())
        return false;
    ZnTempResourceOverride resources;
    if (!Create(kTemplateId, parent))
        return false;
    ShowWindow(SW_SHOW);
    return true;
}

BOOL ZnDlgFindReplace::OnInitDialog()
{
    CDialog::OnInitDialog();
    SetWindowText(dialString(kTitleText).str());
    SetDlgItemText(kFindLabel, dialString(kFindLabelText).str());
    SetDlgItemText(kReplaceLabel, dialString(kReplaceLabelText).str());
    SetDlgItemText(kFindNextButton, dialString(kFindNextText).str());
    SetDlgItemText(kReplaceButton, dialString(kReplaceText).str());
    SetDlgItemText(kReplaceAllButton, dialString(kReplaceAllText).str());
    SetDlgItemText(kCloseButton, dialString(kCloseText).str());
    SetDlgItemText(kSearchFormulasCheck, dialString(kSearchFormulasText).str());
    CheckDlgButton(kSearchFormulasCheck, m_target.searchesInFormulas() ? BST_CHECKED : BST_UNCHECKED);

    ::SetWindowPos(m_hWnd, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);

    // While the dialog is open the grid keeps Enter and Tab to itself, and entering a cell must not
    // select its whole text (the found characters are selected instead).
    if (gridAlive()) {
        m_previousOption13 = SSGetBool(m_grid, SSB_PROCESSTAB) != FALSE;
        SSSetBool(m_grid, SSB_PROCESSTAB, TRUE);
        SSSetBool(m_grid, SSB_EDITMODEREPLACE, FALSE);
        m_optionsTaken = true;
    }
    ChangeDlgSize(this, kSizeKey, /*sizeOnly=*/false);
    return TRUE;
}

BOOL ZnDlgFindReplace::PreTranslateMessage(const MSG& msg)
{
    if (msg.message == WM_KEYDOWN && m_hWnd != nullptr && (msg.hwnd == m_hWnd || IsChild(m_hWnd, msg.hwnd))) {
        if (msg.wParam == static_cast<WPARAM>(VK_F3)) {
            findNext();
            return TRUE;
        }
        if (msg.wParam == static_cast<WPARAM>(VK_F5)) {
            replace();
            return TRUE;
        }
    }
    return CDialog::PreTranslateMessage(msg);
}

void ZnDlgFindReplace::OnOK()
{
    findNext();
}

void ZnDlgFindReplace::OnCancel()
{
    // The owner hears of it from PostNcDestroy, once the window is gone; nothing of this object
    // may be touched after DestroyWindow.
    DestroyWindow();
}

BOOL ZnDlgFindReplace::OnCommand(WPARAM wParam, LPARAM lParam)
{
    if (HIWORD(wParam) == BN_CLICKED) {
        switch (LOWORD(wParam)) {
        case kReplaceButton:
            replace();
            return TRUE;
        case kReplaceAllButton:
            replaceAll();
            return TRUE;
        case kSearchFormulasCheck:
            m_target.setSearchInFormulas(IsDlgButtonChecked(kSearchFormulasCheck) == BST_CHECKED);
            m_last = Occurrence{};
            return TRUE;
        default:
            break;
        }
    }
    return CDialog::OnCommand(wParam, lParam);
}

void ZnDlgFindReplace::OnDestroy()
{
    // Every way out comes here (close button, Escape, close box, the owner window going, the object
    // deleted), so the size and the grid's option are put back on each of them.
    WriteDlgSize(this, kSizeKey);
    if (m_optionsTaken && !m_previousOption13 && gridAlive())
        SSSetBool(m_grid, SSB_PROCESSTAB, FALSE);
    m_optionsTaken = false;
    m_last = Occurrence{};
    CDialog::OnDestroy();
}

void ZnDlgFindReplace::PostNcDestroy()
{
    // Taken out first: the callback may hand this object to deleteWhenIdle, and it runs only once.
    std::function<void()> onClosed = std::exchange(m_onClosed, nullptr);
    if (onClosed)
        onClosed();
}

bool ZnDlgFindReplace::gridAlive() const
{
    return m_grid != nullptr && IsWindow(m_grid);
}

Kx_String ZnDlgFindReplace::findText() const
{
    return Kx_String(GetDlgItemText(kFindEdit));
}

Kx_String ZnDlgFindReplace::replaceText() const
{
    return Kx_String(GetDlgItemText(kReplaceEdit));
}

void ZnDlgFindReplace::findNext()
{
    if (m_hWnd == nullptr || !gridAlive())
        return;
    // An empty text is in every cell and at no place in any: nothing to find.
    const Kx_String text = findText();
    if (text.isEmpty())
        return;
    searchAndSelect(text);
}

void ZnDlgFindReplace::replace()
{
    if (m_hWnd == nullptr || !gridAlive())
        return;
    const Kx_String text = findText();
    if (text.isEmpty())
        return;
    const Kx_String newText = replaceText();

    // The occurrence the user was just shown is the one replaced; only when there is none does
    // Replace first look for the next one.
    if (!reselectShownOccurrence(text) && !searchAndSelect(text))
        return;
    if (!gridAlive())
        return;
    int start = 0;
    int end = 0;
    if (!m_target.getEditSelection(start, end) || start == end)
        return;
    if (!m_target.replaceSelection(newText))
        return;  // the grid refused the text: the cell keeps its text, and no message
    SSSetBool(m_grid, SSB_CHANGEMADE, TRUE);
    m_target.cellsReplaced();
    // The next search goes on after the inserted text, never into it ("a" by "aa" must not
    // find its own "a" again).
    m_last.start = std::min(start, end);
    m_last.end = m_last.start + newText.length();
    m_last.replaced = true;
}

void ZnDlgFindReplace::replaceAll()
{
    if (m_hWnd == nullptr || !gridAlive())
        return;
    const Kx_String text = findText();
    if (text.isEmpty())
        return;
    const Kx_String newText = replaceText();

    // An edit still open would later be committed over the replaced text.
    if (SSGetEditMode(m_grid))
        SSSetEditMode(m_grid, FALSE);
    m_last = Occurrence{};

    // Each cell is changed once and the search goes on after it, so a replacement that contains
    // the text ("a" by "aa") is never searched again and the loop ends at the last row.
    int cells = 0;
    int col = 1;
    int row = 1;
    int foundCol = 0;
    int foundRow = 0;
    while (m_target.findNext(text, col, row, foundCol, foundRow)) {
        if (!atOrAfter(foundCol, foundRow, col, row))
            break;
        if (m_target.replaceInCell(foundCol, foundRow, text, newText))
            ++cells;
        col = foundCol + 1;
        row = foundRow;
    }
    if (cells > 0 && gridAlive()) {
        SSSetBool(m_grid, SSB_CHANGEMADE, TRUE);
        m_target.cellsReplaced();
    }

    Kx_String message = dialString(kReplacedInText);
    message.append(' ').append(cells).append(' ').append(dialString(kCellsText));
    MessageBox(m_hWnd, message.str(), dialString(kReplaceAllTitle).str(), MB_OK | MB_ICONINFORMATION);
}

bool ZnDlgFindReplace::searchAndSelect(const Kx_String& text)
{
    ::SetFocus(m_grid);
    int col = 1;
    int row = 1;
    m_target.getActiveCell(col, row);

    const int from = continueInActiveCell(col, row);
    if (from >= 0 && selectInCell(text, col, row, from))
        return true;
    if (selectFirstFrom(text, col + 1, row))
        return true;

    Kx_String question = dialString(kEndReachedText);
    question.append("\n").append(dialString(kContinueText)).append("\n");
    if (MessageBox(m_hWnd, question.str(), dialString(kWrapTitle).str(), MB_YESNO | MB_ICONQUESTION) != IDYES)
        return false;
    // The answer may have taken a while; the grid can be gone by now.
    if (!gridAlive())
        return false;
    if (selectFirstFrom(text, 1, 1))
        return true;
    MessageBox(m_hWnd, dialString(kNotFoundText).str(), dialString(kNotFoundTitle).str(), MB_OK | MB_ICONINFORMATION);
    return false;
}

int ZnDlgFindReplace::continueInActiveCell(int col, int row)
{
    const bool inLastCell = m_last.valid && m_last.col == col && m_last.row == row;
    // After our own replacement the editor still holds the cell's old text: its selection no longer
    // says where the search stands.
    if (inLastCell && m_last.replaced)
        return m_last.end;
    int start = 0;
    int end = 0;
    if (m_target.getEditSelection(start, end) && start != end)
        return std::max(start, end);
    if (inLastCell)
        return m_last.end;
    return -1;
}

bool ZnDlgFindReplace::selectFirstFrom(const Kx_String& text, int col, int row)
{
    int foundCol = 0;
    int foundRow = 0;
    while (m_target.findNext(text, col, row, foundCol, foundRow) && atOrAfter(foundCol, foundRow, col, row)) {
        if (selectInCell(text, foundCol, foundRow, 0))
            return true;
        // The cell matched but the text could not be placed in it (or selected): go on after it.
        col = foundCol + 1;
        row = foundRow;
    }
    return false;
}

bool ZnDlgFindReplace::selectInCell(const Kx_String& text, int col, int row, int from)
{
    int start = 0;
    int length = 0;
    if (!m_target.findInCell(text, col, row, start, length, from) || start < from)
        return false;
    if (!m_target.findAndSelect(text, col, row, start))
        return false;
    m_last = Occurrence{true, col, row, start, start + length, false};
    return true;
}

bool ZnDlgFindReplace::reselectShownOccurrence(const Kx_String& text)
{
    if (!m_last.valid || m_last.replaced)
        return false;
    int col = 0;
    int row = 0;
    m_target.getActiveCell(col, row);
    if (col != m_last.col || row != m_last.row)
        return false;
    int start = 0;
    int length = 0;
    if (!m_target.findInCell(text, col, row, start, length, m_last.start) || start != m_last.start ||
        start + length != m_last.end)
        return false;
    return m_target.findAndSelect(text, col, row, start);
}
