// The filtered open/save dialog: its list, the checks of a chosen name, replacing and deleting files.
#include "detailing/ZnDlgOpenSaveFiltered.h"

#include "core/DialogFunctions.h"
#include "core/FileIO.h"
#include "core/FileNameCheck.h"
#include "core/Paths.h"
#include "core/TextTables.h"
#include "core/ZnTempResourceOverride.h"
#include "platform/win/Backend.h"
#include "platform/win/Messages.h"

namespace {

constexpr int kDeleteIcon = 206;
// The delete button's tooltip is the same text in every language.
constexpr const char* kDeleteTooltip = "Selectie verwijderen...";

Kx_String dottedExtension(const Kx_String& extension)
{
    if (extension.isEmpty() || extension.startsWith("."))
        return extension;
    return Kx_String(".") + extension;
}

} // namespace

Kx_String ZnOpenSaveFilteredData::pathOf(const Kx_String& fileName) const
{
    Kx_String path = folder;
    if (!path.isEmpty() && !path.endsWith("/") && !path.endsWith("\\"))
        path.append("/");
    return path + fileName + dottedExtension(extension);
}

ZnDlgOpenSaveFiltered::ZnDlgOpenSaveFiltered(ZnOpenSaveFilteredData& data, HWND parent)
    : CDialog(kTemplateId, parent), m_data(data)
{
    onCommand(kShowAll, BN_CLICKED, [this] {
        m_data.showAll = IsDlgButtonChecked(kShowAll) == BST_CHECKED;
        fillList();
    });
    onCommand(kList, LBN_SELCHANGE, [this] { selectionToName(); });
    onCommand(kList, LBN_DBLCLK, [this] {
        selectionToName();
        OnOK();
    });
    onCommand(kDelete, BN_CLICKED, [this] { deleteSelected(); });
}

ZnDlgOpenSaveFiltered::~ZnDlgOpenSaveFiltered() = default;

Kx_String ZnDlgOpenSaveFiltered::normalisedName(const Kx_String& typed, const Kx_String& extension)
{
    Kx_String name = typed.trimmed();
    const Kx_String ext = dottedExtension(extension);
    // "Heavy.kxp" typed in a dialog for ".kxp" files is the file Heavy, not "Heavy.kxp.kxp".
    if (!ext.isEmpty() && name.length() > ext.length() && name.endsWith(ext, /*exact=*/false))
        name = name.getSubStringAt(0, name.length() - ext.length()).trimmed();
    return name;
}

const Kx_StringArray& ZnDlgOpenSaveFiltered::shownNames() const
{
    return m_data.showAll ? m_data.all : m_data.filtered;
}

BOOL ZnDlgOpenSaveFiltered::OnInitDialog()
{
    CDialog::OnInitDialog();
    SetWindowText(dialString(m_data.save ? 1127 : 1126).str());
    SetDlgItemText(IDOK, dialString(m_data.save ? 842 : 841).str());
    SetDlgItemText(IDCANCEL, dialString(2).str());
    SetDlgItemText(kShowAll, dialString(1498).str());
    if (m_deleteButton.SubclassDlgItem(kDelete, m_hWnd)) {
        m_deleteButton.SetIcon(kDeleteIcon);
        m_deleteButton.SetFlat(true);
        m_deleteButton.DrawFlatFocus(false);
        m_deleteButton.SetTooltipText(kDeleteTooltip);
    }
    // The list and the name take the room; the buttons and the box keep their size at the bottom.
    const auto e = [](int mode, int id, int edge) { return CResizerEdge{mode, id, edge}; };
    m_resizer.attach(this, {
                               {kList, e(1, 0, 1), e(1, 0, 2), e(1, 0, 3), e(1, 0, 4)},
                               {kName, e(1, 0, 1), e(1, 0, 4), e(1, 0, 3), e(4, 0, 4)},
                               {kDelete, e(1, 0, 3), e(1, 0, 4), e(3, 0, 3), e(4, 0, 4)},
                               {kShowAll, e(1, 0, 1), e(1, 0, 4), e(1, 0, 3), e(4, 0, 4)},
                               {IDOK, e(1, 0, 3), e(1, 0, 4), e(3, 0, 3), e(4, 0, 4)},
                               {IDCANCEL, e(1, 0, 3), e(1, 0, 4), e(3, 0, 3), e(4, 0, 4)},
                           });
    ChangeDlgSize(this, kSizeKey, /*sizeOnly=*/false);
    CheckDlgButton(kShowAll, m_data.showAll ? BST_CHECKED : BST_UNCHECKED);
    SetDlgItemText(kName, normalisedName(m_data.name, m_data.extension).str());
    fillList();
    ::SetFocus(GetDlgItem(kName));
    ::SendMessage(GetDlgItem(kName), EM_SETSEL, 0, -1);
    return FALSE;
}

void ZnDlgOpenSaveFiltered::fillList()
{
    HWND list = GetDlgItem(kList);
    if (list == nullptr)
        return;
    const Kx_StringArray& names = shownNames();
    ::SendMessage(list, WM_SETREDRAW, FALSE, 0);
    ::SendMessage(list, LB_RESETCONTENT, 0, 0);
    ::SendMessage(list, LB_INITSTORAGE, static_cast<WPARAM>(names.length()), 0);
    for (const Kx_String& name : names)
        ::SendMessage(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name.c_str()));
    ::SendMessage(list, WM_SETREDRAW, TRUE, 0);
    // The name in the edit stays selected in the list when the list holds it.
    int index = -1;
    const Kx_String typed = normalisedName(Kx_String(GetDlgItemText(kName)), m_data.extension);
    if (!typed.isEmpty())
        names.find(typed, index, /*exact=*/false);
    ::SendMessage(list, LB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

void ZnDlgOpenSaveFiltered::selectionToName()
{
    const int index = static_cast<int>(::SendMessage(GetDlgItem(kList), LB_GETCURSEL, 0, 0));
    const Kx_StringArray& names = shownNames();
    if (index >= 0 && index < names.length())
        SetDlgItemText(kName, names[index].str());
}

bool ZnDlgOpenSaveFiltered::acceptOpen(const Kx_String& name)
{
    // A name of the list or typed: one file name of this folder, nothing that leads elsewhere.
    if (!warnInvalidFileName(name, m_hWnd))
        return false;
    const Kx_String file = name + dottedExtension(m_data.extension);
    const auto resolved = kx::resolveUnderRoot(m_data.folder.str(), file.str());
    if (!resolved || !fileExists(Kx_String(*resolved))) {
        MessageBox(m_hWnd, dialString(9810).str() + "\n\"" + file.str() + "\"", dialString(1126).str(),
                   MB_OK | MB_ICONWARNING);
        return false;
    }
    return true;
}

bool ZnDlgOpenSaveFiltered::acceptSave(const Kx_String& name)
{
    if (!warnInvalidFileName(name, m_hWnd))
        return false;
    if (!fileExists(m_data.pathOf(name)))
        return true;
    Kx_String text = dialString(1128);
    if (!m_data.filtered.contains(name, /*exact=*/false))
        text.append("\n").append(dialString(1129));
    text.append("\n").append(dialString(1130));
    return MessageBox(m_hWnd, text.str(), dialString(1131).str(), MB_YESNOCANCEL | MB_ICONWARNING) == IDYES;
}

void ZnDlgOpenSaveFiltered::OnOK()
{
    const Kx_String name = normalisedName(Kx_String(GetDlgItemText(kName)), m_data.extension);
    if (name.isEmpty())
        return;
    if (!(m_data.save ? acceptSave(name) : acceptOpen(name)))
        return;
    m_data.name = name;
    EndDialog(IDOK);
}

void ZnDlgOpenSaveFiltered::deleteSelected()
{
    const int index = static_cast<int>(::SendMessage(GetDlgItem(kList), LB_GETCURSEL, 0, 0));
    const Kx_StringArray& names = shownNames();
    if (index < 0 || index >= names.length())
        return;
    const Kx_String name = names[index];
    // A list entry comes from the caller's data: only a plain name of this folder is ever deleted.
    if (kx::invalidFileNameReason(name))
        return;
    Kx_String text = dialString(1132);
    text.append(" \"").append(name).append("\" ").append(dialString(1133)).append("\n");
    text.append(dialString(1134)).append("\n");
    if (MessageBox(m_hWnd, text.str(), dialString(1135).str(), MB_YESNO | MB_ICONWARNING) != IDYES)
        return;
    const Kx_String path = m_data.pathOf(name);
    if (!deleteFile(path)) {
        MessageBox(m_hWnd, dialString(9811).str() + "\n\"" + path.str() + "\"", dialString(1135).str(),
                   MB_OK | MB_ICONWARNING);
        return;
    }
    int at = -1;
    if (m_data.filtered.find(name, at, /*exact=*/true))
        m_data.filtered.removeAt(at);
    if (m_data.all.find(name, at, /*exact=*/true))
        m_data.all.removeAt(at);
    fillList();
}

void ZnDlgOpenSaveFiltered::OnDestroy()
{
    WriteDlgSize(this, kSizeKey);
    m_resizer.detach();
    CDialog::OnDestroy();
}

bool runOpenSaveFiltered(ZnOpenSaveFilteredData& data, HWND owner)
{
    // Callers are dialogs already running (a button of theirs): the template is this module's.
    ZnTempResourceOverride resources;
    ZnOpenSaveFilteredData working = data;
    ZnDlgOpenSaveFiltered dialog(working, owner);
    if (dialog.DoModal() != IDOK)
        return false;
    data = working;
    return true;
}
