// The designer's preview of a layout in runtime mode.
#include "designer/ZnDlgDesignerPreview.h"

#include "core/FileIO.h"
#include "core/MacroFile.h"
#include "core/TextTables.h"
#include "platform/win/Window.h"

#include <algorithm>
#include <filesystem>

namespace {

constexpr int kTextTitle = 9660;
constexpr int kTextClose = 9661;
constexpr int kTextValuesOf = 9662;
constexpr int kTextNoValues = 9663;
// Room under the picture for the note and the Close button, and the least width, in pixels.
constexpr int kStripHeight = 34;
constexpr int kLeastWidth = 260;

Kx_String normalisedName(const Kx_String& name)
{
    std::string text = name.str();
    std::replace(text.begin(), text.end(), '/', '\\');
    return Kx_String(text);
}

} // namespace

std::vector<Kx_PreviewValue> previewValuesOf(const Kx_String& layoutName, Kx_String& macroName)
{
    std::vector<Kx_PreviewValue> values;
    try {
        if (layoutName.isEmpty())
            return values;
        const Kx_String wanted = normalisedName(layoutName);
        Kx_StringArray files;
        if (!ObjectExportFindFiles(kxcore::macroLibraryFolder(), "*.kxm", files))
            return values;
        // In the order of the macros' names ("a" before "a 2"), not of the file names.
        std::vector<std::string> sorted;
        for (const Kx_String& f : files)
            sorted.push_back(f.str());
        std::sort(sorted.begin(), sorted.end(), [](const std::string& a, const std::string& b) {
            return std::filesystem::path(a).stem().string() < std::filesystem::path(b).stem().string();
        });
        for (const std::string& file : sorted) {
            MacroDefinition definition;
            std::string error;
            if (!kxcore::readMacroDefinitionFile(Kx_String(file), definition, error))
                continue;
            for (const MacroTabData& tab : definition.macro.tabs) {
                if (!normalisedName(tab.layoutName).equal(wanted, /*exact=*/false))
                    continue;
                for (const MacroCell& cell : tab.cells)
                    values.emplace_back(cell.name, cell.value);
                macroName = Kx_String(std::filesystem::path(file).stem().string());
                return values;
            }
        }
    } catch (...) {
        values.clear();
    }
    return values;
}

ZnDlgDesignerPreview::ZnDlgDesignerPreview(const Kx_DlgDesignerData& source, HWND parent)
    : CDialog(kTemplateId, parent)
{
    m_copied = m_layout.copyLayoutFrom(source);
}

ZnDlgDesignerPreview::~ZnDlgDesignerPreview() = default;

BOOL ZnDlgDesignerPreview::OnInitDialog()
{
    CDialog::OnInitDialog();
    Kx_String title = dialString(kTextTitle);
    if (!m_layout.getName().isEmpty())
        title.append(" - <").append(m_layout.getName()).append(">");
    SetWindowText(title.str());
    SetDlgItemText(IDOK, dialString(kTextClose).str());

    // Placed as a macro page places its layout: the same ids, runtime mode, drawn once.
    m_layout.initialize(m_hWnd, kDesignerFirstResourceId, kDesignerLastResourceId, 0, 0, 0, 0, 0,
                        /*designerMode=*/false);
    int w = 0;
    int h = 0;
    m_layout.getImageSize(w, h);
    // The dialog takes the picture's size, the note and Close under it.
    RECT window{};
    ::GetWindowRect(m_hWnd, window);
    RECT client{};
    GetClientRect(client);
    const int width = std::max(w + 8, kLeastWidth);
    const int height = h + kStripHeight;
    ::MoveWindow(m_hWnd, window.left, window.top, window.width() - client.width() + width,
                 window.height() - client.height() + height, TRUE);
    if (HWND close = GetDlgItem(IDOK)) {
        const RECT r = GetWindowRectInParent(close);
        ::MoveWindow(close, width - r.width() - 6, height - r.height() - 6, r.width(), r.height(), TRUE);
    }
    if (HWND note = GetDlgItem(kNote)) {
        const RECT r = GetWindowRectInParent(note);
        ::MoveWindow(note, 6, height - r.height() - 6, std::max(width - 80, 10), r.height(), TRUE);
    }

    Kx_String macro;
    const std::vector<Kx_PreviewValue> values = previewValuesOf(m_layout.getName(), macro);
    m_layout.redrawAllControls();
    for (int i = 0; i < m_layout.getNrControls(); ++i) {
        const Kx_DesignerControl* c = m_layout.getControl(i);
        // A button's contents is its caption or its name, never a value to show.
        const Kx_WindowKind kind = c != nullptr ? windowKindOf(c->getType()) : Kx_WindowKind::Static;
        if (kind == Kx_WindowKind::PushButton || kind == Kx_WindowKind::FlexButton || kind == Kx_WindowKind::Static
            || kind == Kx_WindowKind::GroupFrame)
            continue;
        for (const Kx_PreviewValue& v : values) {
            if (c != nullptr && !c->getContents().isEmpty() && c->getContents().equal(v.first, /*exact=*/false)) {
                m_layout.setCtrlValue(c->getResourceId(), v.second);
                break;
            }
        }
    }
    Kx_String note = values.empty() ? dialString(kTextNoValues) : dialString(kTextValuesOf);
    if (!values.empty())
        note.append(" <").append(macro).append(">");
    SetDlgItemText(kNote, note.str());
    // The keyboard starts where a page starts it: on the first control of the order.
    if (m_layout.setFocusToCtrl(/*first=*/true))
        return FALSE;
    return TRUE;
}

BOOL ZnDlgDesignerPreview::OnEraseBkgnd(HDC dc)
{
    CDialog::OnEraseBkgnd(dc);
    m_layout.OnEraseBkgnd(dc);
    return TRUE;
}

void ZnDlgDesignerPreview::OnDestroy()
{
    m_layout.removeAllDrawnCtrls();
    CDialog::OnDestroy();
}
