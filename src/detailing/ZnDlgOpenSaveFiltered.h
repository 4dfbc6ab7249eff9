// ZnDlgOpenSaveFiltered: the module's own chooser for files of one kind in one folder (template 231),
// for every dialog that keeps named files in a library folder (the macro dialog's property files,
// for one). It offers names, never paths: what it gives back is a single name that lies in the
// folder. The platform's general file dialog is core/FileDialog.h, not this.
#pragma once

#include "core/CButtonST.h"
#include "core/CResizer.h"
#include "core/Kx_String.h"
#include "core/Kx_StringArray.h"
#include "frame/KxSsExport.h"
#include "platform/win/Dialog.h"

// What the caller fills in before the dialog runs, and the chosen name it gets back.
struct KXSS_API ZnOpenSaveFilteredData {
    // false: open (the name must be a file of the folder); true: save.
    bool save = false;
    // Names without folder and extension: those offered for the task, and every file of the kind.
    // The check box chooses which list shows.
    Kx_StringArray filtered;
    Kx_StringArray all;
    Kx_String folder;
    // ".kxp" or "kxp".
    Kx_String extension;
    // In: the proposed name; out (OK): the chosen name, without extension.
    Kx_String name;
    // In and out: the state of the show-all box.
    bool showAll = false;

    // folder + name + extension (a separator added after the folder when it has none).
    Kx_String pathOf(const Kx_String& fileName) const;
    Kx_String chosenPath() const { return pathOf(name); }
};

class KXSS_API ZnDlgOpenSaveFiltered : public CDialog {
public:
    static constexpr int kTemplateId = 231;
    static constexpr const char* kSizeKey = "DLG_OPENSAVEFILTERED";
    static constexpr int kList = 1317;
    static constexpr int kName = 1043;
    static constexpr int kDelete = 1087;
    static constexpr int kShowAll = 1382;

    // data is the caller's and must outlive the dialog; it takes the chosen name only on OK.
    explicit ZnDlgOpenSaveFiltered(ZnOpenSaveFilteredData& data, HWND parent = nullptr);
    ~ZnDlgOpenSaveFiltered() override;

    // The name as it will be used: trimmed, and without the extension when the user typed it.
    static Kx_String normalisedName(const Kx_String& typed, const Kx_String& extension);
    // The names the list shows now.
    const Kx_StringArray& shownNames() const;
    void fillList();

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnDestroy() override;

private:
    bool acceptOpen(const Kx_String& name);
    bool acceptSave(const Kx_String& name);
    void deleteSelected();
    void selectionToName();

    ZnOpenSaveFilteredData& m_data;
    CButtonST m_deleteButton;
    ZnResizer m_resizer;
};

// Runs the dialog modally over owner with the module's resources. True on OK: data.name is a name of
// the folder (open: one that exists there). False on Cancel, and when the dialog cannot be opened.
KXSS_API bool runOpenSaveFiltered(ZnOpenSaveFilteredData& data, HWND owner);
