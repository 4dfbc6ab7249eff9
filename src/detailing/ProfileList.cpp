// The profile drop-down list.
#include "detailing/ProfileList.h"

#include "core/DlgSelectProf.h"
#include "core/Kx_SectionTableManager.h"
#include "core/Kx_Settings.h"
#include "core/Paths.h"
#include "core/TextTables.h"
#include "platform/win/Messages.h"
#include "platform/win/Window.h"
#include "spread/Kx_ProfValuesTable.h"

namespace {

constexpr int kTextOtherProfile = 695;
const Kx_String kUserSections = "User Sections\\";

void addEntry(HWND combo, const Kx_String& text)
{
    SendMessage(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

} // namespace

Kx_String profileDisplayName(const Kx_String& name)
{
    const Kx_String user = Kx_SectionTableManager::getUserName(name);
    return user.isEmpty() ? name : user;
}

bool fillProfileList(HWND combo, const Kx_String& current, Kx_StringArray& profiles)
{
    if (!IsWindow(combo))
        return false;
    SendMessage(combo, CB_RESETCONTENT);
    Kx_StringArray names;
    Kx_StringArray shown;
    if (current.startsWith(kUserSections, /*exact=*/false) || current.startsWith("User Sections/", false)) {
        names.append(current);
        shown.append(removeExtension(current.getSubStringAt(kUserSections.length())));
    } else {
        int dash = 0;
        Kx_ProfValuesTable table;
        if (current.findFirst("-", /*exact=*/true, dash) && dash > 0 &&
            table.readFromFile(current.getSubStringAt(0, dash) + ".pr")) {
            // The display names come from the table already read: the same rule as
            // Kx_SectionTableManager::getUserName, without reading the file once per entry.
            for (int r = 0; r < table.rows.length(); ++r) {
                const Kx_StringArray& row = table.rows[r];
                const Kx_String name = table.title + "-" + (row.isEmpty() ? Kx_String() : row[0]);
                if (table.isInactive(r) && !name.equal(current, /*exact=*/false))
                    continue;
                const Kx_String user = Kx_SectionTableManager::descriptionOf(table.columnNames, row);
                names.append(name);
                shown.append(user.isEmpty() ? name : user);
            }
        }
    }
    int selection = -1;
    for (int i = 0; i < names.length(); ++i) {
        addEntry(combo, shown[i]);
        if (selection < 0 && names[i].equal(current, /*exact=*/false))
            selection = i;
    }
    addEntry(combo, dialString(kTextOtherProfile));
    names.append(Kx_String());
    SendMessage(combo, CB_SETCURSEL, static_cast<WPARAM>(selection));
    profiles = std::move(names);
    return true;
}

bool selectedProfile(HWND combo, const Kx_StringArray& profiles, Kx_String& profile)
{
    if (!IsWindow(combo))
        return false;
    const auto count = static_cast<int>(SendMessage(combo, CB_GETCOUNT));
    const auto index = static_cast<int>(SendMessage(combo, CB_GETCURSEL));
    if (count != profiles.length() || index < 0 || index >= count || profiles[index].isEmpty())
        return false;
    profile = profiles[index];
    return true;
}

bool selectProfile(Kx_String& name, HWND owner)
{
    DlgSelectProfData data;
    data.unknownName = name;
    if (!DlgSelectProf(data, /*withTables=*/true, owner))
        return false;
    Kx_String chosen = data.profName;
    const Kx_String lib = Kx_Settings::libDir();
    // The library folder may be spelled with either separator in a chosen name.
    Kx_String chosenSlashes = chosen;
    chosenSlashes.replaceSubString("\\", "/");
    Kx_String libSlashes = lib;
    libSlashes.replaceSubString("\\", "/");
    if (!libSlashes.isEmpty() && chosenSlashes.startsWith(libSlashes, /*exact=*/false))
        chosen.removeAt(0, libSlashes.length());
    name = chosen;
    return true;
}

bool selectProfileAndFill(HWND combo, Kx_String& name, Kx_StringArray& profiles)
{
    if (!selectProfile(name, GetParent(combo)))
        return false;
    fillProfileList(combo, name, profiles);
    return true;
}
