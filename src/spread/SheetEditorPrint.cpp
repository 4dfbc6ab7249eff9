// The editor's Print, Print Setup and Print Preview commands.
#include "spread/SheetEditorPrint.h"

#include "core/FileDialog.h"
#include "core/TextTables.h"
#include "platform/win/Backend.h"
#include "platform/win/Bitmap.h"
#include "platform/win/DrawingContext.h"
#include "platform/win/Messages.h"
#include "platform/win/PdfWriterHook.h"
#include "platform/win/Registry.h"
#include "platform/win/Window.h"
#include "print/PrintToPdf.h"
#include "sheetedit/EditorRegistrySettings.h"
#include "sheetedit/RegistryStore.h"
#include "sheetedit/SheetSettings.h"

#include <algorithm>
#include <charconv>
#include <map>
#include <string>

namespace {

constexpr int kTextPrintTitle = 11140;
constexpr int kTextPdfFilter = 11141;
constexpr int kTextCannotPrint = 11142;
constexpr int kTextPrintedWithout = 11143;
constexpr int kTextSetupTitle = 11144;
constexpr int kTextBadMargin = 11153;
constexpr int kTextNoRoom = 11154;
constexpr int kTextPreviewTitle = 11155;
constexpr int kTextPageOf = 11160;
constexpr int kTextSetupNotStored = 11162;
constexpr int kTextEditorName = 9400;

// The largest margin a field takes, and the least room the margins must leave on the paper.
constexpr int kMaxMarginMm = 100;
constexpr double kMinPrintableMm = 20.0;

void message(HWND owner, int text)
{
    MessageBox(owner, dialString(text).str(), dialString(kTextEditorName).str(), MB_OK | MB_ICONWARNING);
}

// The whole number of a margin field, spaces around it allowed; nothing for anything else (a
// decimal point, a sign, letters), whatever the user's locale.
std::optional<int> marginOf(const std::string& field)
{
    const std::size_t first = field.find_first_not_of(' ');
    if (first == std::string::npos)
        return std::nullopt;
    const std::size_t last = field.find_last_not_of(' ');
    const char* begin = field.data() + first;
    const char* end = field.data() + last + 1;
    int value = 0;
    const auto [stop, ec] = std::from_chars(begin, end, value);
    if (ec != std::errc() || stop != end || value < 0 || value > kMaxMarginMm)
        return std::nullopt;
    return value;
}

// --- The preview's page window ----------------------------------------------------------------

std::map<HWND, ZnDlgPrintPreview*>& previewOwners()
{
    static std::map<HWND, ZnDlgPrintPreview*> owners;
    return owners;
}

LRESULT previewPageProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_ERASEBKGND)
        return 1;  // the paint covers the whole window
    if (message == WM_PAINT) {
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(hwnd, &paint);
        const auto owner = previewOwners().find(hwnd);
        if (owner != previewOwners().end())
            owner->second->paintPage(dc, hwnd);
        EndPaint(hwnd, &paint);
        return 0;
    }
    if (message == WM_DESTROY)
        previewOwners().erase(hwnd);
    return DefWindowProc(hwnd, message, wParam, lParam);
}

// The grid registers the class with a procedure that only does the defaults; the preview's own
// procedure takes its place (windows of the class that are no preview's page get the defaults still).
void registerPreviewClass()
{
    RegisterWindowClass(kPrintPreviewClass, previewPageProc);
}

void fill(HDC dc, const RECT& rect, COLORREF color)
{
    kxwin::fillSolidRect(dc, rect, color);
}

} // namespace

// --- Page setup ---------------------------------------------------------------------------------

kxprint::PageSetup editorPageSetup(HWND grid)
{
    kxprint::PageSetup setup;
    Kx_String paper;
    if (RegistryStore::readString(HKEY_LOCAL_MACHINE, EditorRegistrySettings::kKeyPath, kPrintPaperValue, paper))
        setup.paper = kxprint::paperFromName(paper.str()).value_or(kxprint::Paper::A4);
    std::int32_t landscape = 0;
    if (RegistryStore::readInt(HKEY_LOCAL_MACHINE, EditorRegistrySettings::kKeyPath, kPrintLandscapeValue, landscape))
        setup.landscape = landscape != 0;
    SheetSettings settings;
    settings.readFromSheet(grid);
    setup.marginLeft = settings.marginLeft;
    setup.marginRight = settings.marginRight;
    setup.marginTop = settings.marginTop;
    setup.marginBottom = settings.marginBottom;
    return setup;
}

bool storeEditorPageSetup(HWND grid, const kxprint::PageSetup& setup)
{
    SheetSettings settings;
    settings.readFromSheet(grid);
    settings.marginLeft = setup.marginLeft;
    settings.marginRight = setup.marginRight;
    settings.marginTop = setup.marginTop;
    settings.marginBottom = setup.marginBottom;
    settings.writeToSheet(grid);
    const bool paper = RegistryStore::writeString(HKEY_LOCAL_MACHINE, EditorRegistrySettings::kKeyPath,
                                                  kPrintPaperValue, kxprint::paperName(setup.paper));
    const bool landscape = RegistryStore::writeInt(HKEY_LOCAL_MACHINE, EditorRegistrySettings::kKeyPath,
                                                   kPrintLandscapeValue, setup.landscape ? 1 : 0);
    return paper && landscape;
}

BOOL ZnDlgPrintSetup::OnInitDialog()
{
    CDialog::OnInitDialog();
    SetWindowText(dialString(kTextSetupTitle).str());
    for (const auto& [id, text] : std::initializer_list<std::pair<int, int>>{
             {1010, 11145}, {kPortraitRadio, 11146}, {kLandscapeRadio, 11147}, {1011, 11148},
             {1012, 11149}, {1013, 11150}, {1014, 11151}, {1015, 11152}})
        SetDlgItemText(id, dialString(text).str());
    SetDlgItemText(IDOK, dialString(1).str());
    SetDlgItemText(IDCANCEL, dialString(2).str());
    HWND combo = GetDlgItem(kPaperCombo);
    for (const kxprint::Paper paper : {kxprint::Paper::A4, kxprint::Paper::Letter}) {
        const std::string name = kxprint::paperName(paper);
        ::SendMessage(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name.c_str()));
    }
    ::SendMessage(combo, CB_SETCURSEL, m_setup.paper == kxprint::Paper::Letter ? 1 : 0);
    CheckRadioButton(m_hWnd, kPortraitRadio, kLandscapeRadio, m_setup.landscape ? kLandscapeRadio : kPortraitRadio);
    SetDlgItemText(kLeftEdit, std::to_string(m_setup.marginLeft));
    SetDlgItemText(kRightEdit, std::to_string(m_setup.marginRight));
    SetDlgItemText(kTopEdit, std::to_string(m_setup.marginTop));
    SetDlgItemText(kBottomEdit, std::to_string(m_setup.marginBottom));
    return TRUE;
}

void ZnDlgPrintSetup::OnOK()
{
    kxprint::PageSetup setup = m_setup;
    setup.paper = ::SendMessage(GetDlgItem(kPaperCombo), CB_GETCURSEL) == 1 ? kxprint::Paper::Letter
                                                                         : kxprint::Paper::A4;
    setup.landscape = IsDlgButtonChecked(kLandscapeRadio) == BST_CHECKED;
    for (const auto& [field, margin] : std::initializer_list<std::pair<int, int*>>{
             {kLeftEdit, &setup.marginLeft}, {kRightEdit, &setup.marginRight},
             {kTopEdit, &setup.marginTop}, {kBottomEdit, &setup.marginBottom}}) {
        const std::optional<int> value = marginOf(GetDlgItemText(field));
        if (!value) {
            message(m_hWnd, kTextBadMargin);
            ::SetFocus(GetDlgItem(field));
            return;
        }
        *margin = *value;
    }
    if (setup.widthMm() - setup.marginLeft - setup.marginRight < kMinPrintableMm
        || setup.heightMm() - setup.marginTop - setup.marginBottom < kMinPrintableMm) {
        message(m_hWnd, kTextNoRoom);
        ::SetFocus(GetDlgItem(kLeftEdit));
        return;
    }
    m_setup = setup;
    CDialog::OnOK();
}

bool runEditorPrintSetup(HWND owner, HWND grid)
{
    const kxprint::PageSetup before = editorPageSetup(grid);
    ZnDlgPrintSetup dialog(owner, before);
    if (dialog.DoModal() != IDOK)
        return false;
    const kxprint::PageSetup& after = dialog.setup();
    if (!storeEditorPageSetup(grid, after))
        message(owner, kTextSetupNotStored);
    return after.paper != before.paper || after.landscape != before.landscape
        || after.marginLeft != before.marginLeft || after.marginRight != before.marginRight
        || after.marginTop != before.marginTop || after.marginBottom != before.marginBottom;
}

// --- Print ----------------------------------------------------------------------------------------

Kx_String runEditorPrint(HWND owner, HWND grid, const Kx_String& sheetFile)
{
    const std::string sheet = sheetFile.str();
    const std::size_t slash = sheet.find_last_of("/\\");
    std::string name = slash == std::string::npos ? sheet : sheet.substr(slash + 1);
    if (const std::size_t dot = name.rfind('.'); dot != std::string::npos && dot > 0)
        name.resize(dot);
    Kx_FileDialogRequest request;
    request.open = false;
    request.filter = dialString(kTextPdfFilter);
    request.defaultExtension = "pdf";
    request.title = dialString(kTextPrintTitle);
    request.folder = slash == std::string::npos ? std::string() : sheet.substr(0, slash);
    request.fileName = name.empty() ? std::string() : name + ".pdf";
    request.owner = owner;
    const Kx_String path = runFileDialog(request);
    if (path.isEmpty())
        return Kx_String();
    std::string error, warning;
    if (!kxprint::printSheetToPdf(grid, sheet, path.str(), editorPageSetup(grid), error, &warning))
        return Kx_String(dialString(kTextCannotPrint).str() + "\n\n" + error);
    if (!warning.empty())
        return Kx_String(dialString(kTextPrintedWithout).str() + "\n\n" + warning);
    return Kx_String();
}

// --- Preview --------------------------------------------------------------------------------------

ZnDlgPrintPreview::ZnDlgPrintPreview(HWND owner, HWND grid, const Kx_String& sheetFile)
    : CDialog(kTemplateId, owner), m_setup(editorPageSetup(grid)),
      m_pages(kxprint::planSheetPages(grid, sheetFile.str(), m_setup)), m_state(m_pages.pageCount())
{
}

ZnDlgPrintPreview::~ZnDlgPrintPreview()
{
    if (m_picture != nullptr)
        DeleteObject(m_picture);
}

BOOL ZnDlgPrintPreview::OnInitDialog()
{
    CDialog::OnInitDialog();
    SetWindowText(dialString(kTextPreviewTitle).str());
    SetDlgItemText(kPreviousButton, dialString(11156).str());
    SetDlgItemText(kNextButton, dialString(11157).str());
    SetDlgItemText(kZoomInButton, dialString(11158).str());
    SetDlgItemText(kZoomOutButton, dialString(11159).str());
    SetDlgItemText(IDCANCEL, dialString(11161).str());
    registerPreviewClass();
    HWND placeholder = GetDlgItem(kPlaceholder);
    const RECT at = GetWindowRectInParent(placeholder);
    ::ShowWindow(placeholder, SW_HIDE);
    m_view = CreateWindowEx(0, kPrintPreviewClass, "", WS_CHILD | WS_VISIBLE, at.left, at.top, at.right - at.left,
                            at.bottom - at.top, m_hWnd, kPageView);
    if (m_view != nullptr)
        previewOwners()[m_view] = this;
    showState();
    return TRUE;
}

BOOL ZnDlgPrintPreview::OnCommand(WPARAM wParam, LPARAM lParam)
{
    bool changed = false;
    switch (LOWORD(wParam)) {
    case kPreviousButton: changed = m_state.back(); break;
    case kNextButton: changed = m_state.forward(); break;
    case kZoomInButton: changed = m_state.zoomIn(); break;
    case kZoomOutButton: changed = m_state.zoomOut(); break;
    default: return CDialog::OnCommand(wParam, lParam);
    }
    if (changed)
        showState();
    return TRUE;
}

void ZnDlgPrintPreview::showState()
{
    SetDlgItemText(kPageText, m_state.pageText(dialString(kTextPageOf).str()));
    ::EnableWindow(GetDlgItem(kPreviousButton), m_state.canGoBack());
    ::EnableWindow(GetDlgItem(kNextButton), m_state.canGoForward());
    ::EnableWindow(GetDlgItem(kZoomInButton), m_state.canZoomIn());
    ::EnableWindow(GetDlgItem(kZoomOutButton), m_state.canZoomOut());
    if (m_view != nullptr)
        InvalidateRect(m_view, nullptr, TRUE);
}

void ZnDlgPrintPreview::paintPage(HDC dc, HWND view)
{
    RECT client;
    ::GetClientRect(view, client);
    fill(dc, client, RGB(128, 128, 128));
    const int width = m_state.pixelsWide(m_setup);
    const int height = m_state.pixelsHigh(m_setup);
    // The page centred across the window, a little below its top; a page larger than the window
    // shows its top-left part.
    const int left = std::max(8, (client.right - client.left - width) / 2);
    const RECT page{left, 8, left + width, 8 + height};
    const std::vector<kxwin::DrawOp> ops = m_pages.renderPage(m_state.page());
    if (const kxwin::PagePixelsRenderer renderer = kxwin::pagePixelsRenderer(); renderer != nullptr) {
        if (m_picture == nullptr || m_picturePage != m_state.page() || m_pictureZoom != m_state.zoom()) {
            if (m_picture != nullptr)
                DeleteObject(m_picture);
            kxwin::PdfDocument document;
            document.widthMm = m_setup.widthMm();
            document.heightMm = m_setup.heightMm();
            document.dotsPerInch = kxprint::kDotsPerInch;
            kxwin::BitmapPixels pixels = renderer(document, ops, width, height);
            m_picture = pixels.width > 0 ? kxwin::createBitmap(std::move(pixels)) : nullptr;
            m_picturePage = m_state.page();
            m_pictureZoom = m_state.zoom();
        }
        if (m_picture != nullptr) {
            kxwin::drawBitmap(dc, m_picture, page);
            return;
        }
    }
    // Without a backend that draws text into pictures: the page, its lines and fills and its texts
    // at their places, scaled.
    fill(dc, page, RGB(255, 255, 255));
    const double scale = static_cast<double>(width) / std::max(1, m_pages.pageWidthDots());
    const auto place = [&](const RECT& r) {
        return RECT{page.left + static_cast<int>(r.left * scale), page.top + static_cast<int>(r.top * scale),
                    page.left + static_cast<int>(r.right * scale), page.top + static_cast<int>(r.bottom * scale)};
    };
    for (const kxwin::DrawOp& op : ops) {
        RECT r = place(op.rect);
        switch (op.kind) {
        case kxwin::DrawOpKind::FillRect: fill(dc, r, op.color); break;
        case kxwin::DrawOpKind::DrawText:
        case kxwin::DrawOpKind::TextOut: DrawText(dc, op.text, &r, DT_SINGLELINE | DT_NOPREFIX | op.format); break;
        default: break;
        }
    }
}

void runEditorPrintPreview(HWND owner, HWND grid, const Kx_String& sheetFile)
{
    ZnDlgPrintPreview dialog(owner, grid, sheetFile);
    dialog.DoModal();
}
