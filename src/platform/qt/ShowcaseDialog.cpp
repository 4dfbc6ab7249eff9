// The sample dialog with every control kind, and the small self-painting control it shows.
#include "platform/qt/ShowcaseDialog.h"

#include "platform/qt/QtBackend.h"
#include "platform/win/CommCtrl.h"
#include "platform/win/DrawingContext.h"
#include "platform/win/Resources.h"
#include "platform/win/Window.h"

namespace kxqt {

namespace {

constexpr const char* kSwatchClass = "KxShowcaseSwatch";

// A window of a class of its own that paints itself: what the mirror replays.
LRESULT swatchProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message != WM_PAINT)
        return DefWindowProc(hwnd, message, wParam, lParam);
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(hwnd, &paint);
    RECT r;
    GetClientRect(hwnd, r);
    kxwin::fillSolidRect(dc, r, RGB(0x2E, 0x6D, 0xB4));
    HBRUSH frame = CreateSolidBrush(RGB(0, 0, 0));
    FrameRect(dc, &r, frame);
    DeleteObject(frame);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, RGB(255, 255, 255));
    DrawText(dc, "Paint", &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    EndPaint(hwnd, &paint);
    return 0;
}

void addStrings(HWND hwnd, UINT message, std::initializer_list<const char*> texts)
{
    for (const char* text : texts)
        SendMessage(hwnd, message, 0, reinterpret_cast<LPARAM>(text));
}

} // namespace

ShowcaseResources::ShowcaseResources() : m_previous(AfxGetResourceHandle())
{
    AfxSetResourceHandle(kxwin::resourceModule("kxqt"));
    if (!IsWindowClassRegistered(kSwatchClass))
        RegisterWindowClass(kSwatchClass, swatchProc);
}

ShowcaseResources::~ShowcaseResources()
{
    AfxSetResourceHandle(m_previous);
}

ShowcaseDialog::ShowcaseDialog(HWND parent) : CDialog(kShowcaseDialogId, parent) {}

bool ShowcaseDialog::createModeless(HWND parent)
{
    ShowcaseResources resources;
    return Create(kShowcaseDialogId, parent);
}

BOOL ShowcaseDialog::OnInitDialog()
{
    SendDlgItemMessage(m_hWnd, kShowcaseNotes, WM_SETTEXT, 0,
                       reinterpret_cast<LPARAM>("Two rows of bolts\r\nat 70 mm"));
    CheckDlgButton(kShowcaseGalvanised, BST_CHECKED);
    CheckDlgButton(kShowcaseWelded, BST_INDETERMINATE);
    CheckDlgButton(kShowcaseLeft, BST_CHECKED);
    addStrings(GetDlgItem(kShowcaseProfile), CB_ADDSTRING, {"HEA 200", "HEB 300", "IPE 240"});
    SendDlgItemMessage(m_hWnd, kShowcaseProfile, CB_SETCURSEL, 1);
    addStrings(GetDlgItem(kShowcaseGrade), CB_ADDSTRING, {"S235", "S355", "S460"});
    SendDlgItemMessage(m_hWnd, kShowcaseGrade, CB_SETCURSEL, 1);
    addStrings(GetDlgItem(kShowcaseList), LB_ADDSTRING, {"Plate", "Bolt", "Weld", "Stiffener"});
    SendDlgItemMessage(m_hWnd, kShowcaseList, LB_SETCURSEL, 0);

    HWND tabs = GetDlgItem(kShowcaseTabs);
    for (const char* text : {"Report", "Icons"}) {
        TCITEM tab;
        tab.mask = TCIF_TEXT;
        tab.pszText = const_cast<char*>(text);
        ::SendMessage(tabs, TCM_INSERTITEM, static_cast<WPARAM>(::SendMessage(tabs, TCM_GETITEMCOUNT)),
                    reinterpret_cast<LPARAM>(&tab));
    }
    HWND report = GetDlgItem(kShowcaseReport);
    const char* headers[] = {"Part", "Count", "Length"};
    const int widths[] = {120, 60, 80};
    for (int c = 0; c < 3; ++c) {
        LVCOLUMN column;
        column.mask = LVCF_TEXT | LVCF_WIDTH;
        column.pszText = const_cast<char*>(headers[c]);
        column.cx = widths[c];
        ::SendMessage(report, LVM_INSERTCOLUMN, static_cast<WPARAM>(c), reinterpret_cast<LPARAM>(&column));
    }
    const char* rows[][3] = {{"Base plate", "2", "300"}, {"Stiffener", "4", "180"}, {"Cleat", "1", "90"}};
    HWND icons = GetDlgItem(kShowcaseIcons);
    for (int r = 0; r < 3; ++r) {
        LVITEM item;
        item.mask = LVIF_TEXT;
        item.iItem = r;
        item.pszText = const_cast<char*>(rows[r][0]);
        ::SendMessage(report, LVM_INSERTITEM, 0, reinterpret_cast<LPARAM>(&item));
        ::SendMessage(icons, LVM_INSERTITEM, 0, reinterpret_cast<LPARAM>(&item));
        for (int c = 1; c < 3; ++c) {
            LVITEM sub;
            sub.iSubItem = c;
            sub.pszText = const_cast<char*>(rows[r][c]);
            ::SendMessage(report, LVM_SETITEMTEXT, static_cast<WPARAM>(r), reinterpret_cast<LPARAM>(&sub));
        }
    }
    SendDlgItemMessage(m_hWnd, kShowcaseRich, WM_SETTEXT, 0,
                       reinterpret_cast<LPARAM>("Read-only rich text: the connection report."));
    return CDialog::OnInitDialog();
}

BOOL ShowcaseDialog::OnCommand(WPARAM wParam, LPARAM lParam)
{
    commands.emplace_back(LOWORD(wParam), HIWORD(wParam));
    return CDialog::OnCommand(wParam, lParam);
}

BOOL ShowcaseDialog::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    const auto* header = reinterpret_cast<const NMHDR*>(lParam);
    if (header != nullptr) {
        notifications.emplace_back(static_cast<int>(header->idFrom), header->code);
        if (static_cast<int>(header->idFrom) == kShowcaseTabs && header->code == TCN_SELCHANGE) {
            const bool report = ::SendMessage(header->hwndFrom, TCM_GETCURSEL) == 0;
            ::ShowWindow(GetDlgItem(kShowcaseReport), report ? SW_SHOW : SW_HIDE);
            ::ShowWindow(GetDlgItem(kShowcaseIcons), report ? SW_HIDE : SW_SHOW);
        }
    }
    return CDialog::OnNotify(wParam, lParam, result);
}

INT_PTR runShowcaseDialog(HWND owner)
{
    ShowcaseResources resources;
    ShowcaseDialog dialog(owner);
    return dialog.DoModal();
}

} // namespace kxqt
