// The macro dialog's property-file buttons: read a file of values into the macro (1299) and write the
// macro's values to one (1302), both through the filtered open/save dialog.
#include "macro/ZnDlgMacro.h"

#include "core/ClashCheck.h"
#include "core/MacroDrawing.h"
#include "core/TextTables.h"
#include "macro/MacroPropertyFileDialog.h"
#include "macro/ZnDlgMacroTab.h"
#include "platform/win/Backend.h"
#include "platform/win/Messages.h"

namespace {

// Title of the messages about property files: the button's tooltip text.
Kx_String titleOf(int tooltip)
{
    return dialString(tooltip);
}

} // namespace

bool ZnDlgMacro::readPropertyFile()
{
    storeFocus(currentTab());
    ZnOpenSaveFilteredData files;
    Kx_String reason;
    bool chosen = false;
    {
        NestedLoop dialog(*this);
        if (!propertyFileDialogData(m_data, /*save=*/false, files, reason)) {
            MessageBox(m_hWnd, reason.str(), titleOf(978).str(), MB_OK | MB_ICONINFORMATION);
            return false;
        }
        chosen = runOpenSaveFiltered(files, m_hWnd);
    }
    if (!chosen)
        return false;
    const Kx_String path = files.chosenPath();
    std::string error;
    const MacroData before = m_data;
    int errors = 0;
    // The file is checked first so that the message can say what is wrong with it; reading applies
    // nothing from a file that does not read whole.
    if (!propertyFileReadable(path, error) || !m_data.readFromFile(path, errors)) {
        m_data = before;
        NestedLoop box(*this);
        MessageBox(m_hWnd, dialString(9812).str() + "\n\"" + path.str() + "\"\n" + error, titleOf(978).str(),
                   MB_OK | MB_ICONWARNING);
        return false;
    }
    Kx_StringArray names;
    Kx_Array<int> a, b;
    m_data.differences(before, names, a, b);
    if (errors > 0) {
        Kx_String text = dialString(1507);
        text.append(".\n").append(dialString(1508)).append(" ").append(errors).append(" ");
        text.append(dialString(1509)).append(".\n\n").append(dialString(1510));
        NestedLoop box(*this);
        MessageBox(m_hWnd, text.str(), titleOf(978).str(), MB_OK | MB_ICONINFORMATION);
    }
    removeAll(a, kMacroStructureChanged);
    removeAll(b, kMacroStructureChanged);
    setAllToMacro(m_data, a, b);
    refreshPages();
    clashcheck(m_modelessIndex, m_data.moduleIds);
    focusShownTab();
    return true;
}

bool ZnDlgMacro::writePropertyFile()
{
    commitAllPages();
    ZnOpenSaveFilteredData files;
    Kx_String reason;
    NestedLoop dialog(*this);
    if (!propertyFileDialogData(m_data, /*save=*/true, files, reason)) {
        MessageBox(m_hWnd, reason.str(), titleOf(979).str(), MB_OK | MB_ICONINFORMATION);
        return false;
    }
    if (!runOpenSaveFiltered(files, m_hWnd))
        return false;
    const Kx_String path = files.chosenPath();
    // writeToFile goes through the save routine: a failure leaves the old file as it was, and the
    // dialog's values stay as they are, so the user can try another name.
    if (!m_data.writeToFile(path)) {
        MessageBox(m_hWnd, dialString(9813).str() + "\n\"" + path.str() + "\"", titleOf(979).str(),
                   MB_OK | MB_ICONWARNING);
        return false;
    }
    return true;
}

void ZnDlgMacro::commitAllPages()
{
    for (int tab = 0; tab < m_data.tabs.length(); ++tab) {
        ZnDlgMacroTab* p = page(tab);
        if (p == nullptr)
            continue;
        const MacroTabData before = m_data.tabs[tab];
        // Leaving the cell being edited hands its text to the grid before the page is read.
        if (p->grid().isVisible())
            p->grid().setActiveCell(3, 1);
        p->readBack();
        Kx_StringArray names;
        Kx_Array<int> a, b;
        if (m_data.tabs[tab].differences(before, names, a, b)) {
            UpdateModule(m_data.tabs[tab].moduleName, m_data, a, b);
            ++m_updates;
        }
    }
    clashcheck(m_modelessIndex, m_data.moduleIds);
    refreshPages();
}
