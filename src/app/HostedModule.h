// The module as the program hosts it for its dialogs: loaded with the load message, its exported
// launchers reached by their linker names, unloaded with the unload message.
#pragma once

#include "platform/host/ModuleLoader.h"

#include <string>

namespace kxapp {

// The exported launchers, by their linker names (the module exports C++ functions).
inline constexpr const char* kStartDlgMacro = "_Z13StartDlgMacroR9MacroData";
inline constexpr const char* kStartDlgMacroModeless = "_Z21StartDlgMacroModelessbR9MacroDataRi";
inline constexpr const char* kEndDlgMacroModeless = "_Z19EndDlgMacroModelessi";
inline constexpr const char* kGetDlgMacroData = "_Z15GetDlgMacroDataiR9MacroData";
inline constexpr const char* kStartDlgEditConstraints = "_Z23StartDlgEditConstraintsR14EditConstrData";
inline constexpr const char* kEndDlgEditConstraints = "_Z21EndDlgEditConstraintsv";
inline constexpr const char* kStartSheetEditor = "_Z16StartSheetEditorRK9Kx_String";
inline constexpr const char* kStartDlgDesigner = "_Z16StartDlgDesignerRK9Kx_String";
inline constexpr const char* kStartDlgGrid = "_Z12StartDlgGridR13ZnGridDlgData";
inline constexpr const char* kStartDlgLookUp = "_Z14StartDlgLookUpR15ZnLookUpDlgData";
inline constexpr const char* kStartDlgEditLibSimple = "_Z21StartDlgEditLibSimpleRK9Kx_StringR18Kx_ProfValuesTableRi";
inline constexpr const char* kStartGridDialog = "_Z15startGridDialogRK14Kx_StringArrayS1_R8Kx_ArrayIS_Eb9Kx_StringS5_";
inline constexpr const char* kStartDlgMacroCuts = "_Z17StartDlgMacroCutsR16DlgMacroCutsDataRb";
inline constexpr const char* kStartDlgSelectMacro = "_Z19StartDlgSelectMacroRK9Kx_StringRK14Kx_StringArrayRKiS6_RS_Rbb";
inline constexpr const char* kRunSheetHeadersCommand = "_ZN4kxss22runSheetHeadersCommandEP6HWND__";
inline constexpr const char* kRunBillDemo = "_ZN4kxss11runBillDemoEPKcib";
inline constexpr const char* kOpenBillSample = "_ZN4kxss14openBillSampleEv";
inline constexpr const char* kCloseBillSample = "_ZN4kxss15closeBillSampleEv";
inline constexpr const char* kRunPrintPreviewSample = "_ZN4kxss21runPrintPreviewSampleEv";
inline constexpr const char* kRunPropertyFileDialogSample = "_ZN4kxss27runPropertyFileDialogSampleEb";
// The detailing dialogs of profiles, levels, cladding and images.
inline constexpr const char* kStartEditProfCutsDlg = "_Z20StartEditProfCutsDlgR15DlgProfCutsData";
inline constexpr const char* kStartDlgProfFeatures = "_Z20StartDlgProfFeaturesR19DlgProfFeaturesData";
inline constexpr const char* kStartDlgLevels = "_Z14StartDlgLevelsR15ZnLevelsDlgData";
inline constexpr const char* kStartDlgCladdingSettings = "_Z24StartDlgCladdingSettingsR17ZnCladdingDlgData";
inline constexpr const char* kStartDlgSelectImage = "_Z19StartDlgSelectImageR20ZnSelectImageDlgData";
// Cutting stock and DSTV point groups.
inline constexpr const char* kStartDlgCSP2 = "_Z12StartDlgCSP2R11DlgCSP2Data";
inline constexpr const char* kStartDSTVPointsDlg = "_Z18StartDSTVPointsDlgv";
inline constexpr const char* kEditDstvPointGroup = "_ZN4kxss18editDstvPointGroupERK9Kx_String";
inline constexpr const char* kStartDlgEditLibSections = "_Z23StartDlgEditLibSectionsR14DlgEditLibDataRK9Kx_String";
inline constexpr const char* kStartDlgMacroProfAdv = "_Z20StartDlgMacroProfAdvR9MacroDataRK9Kx_StringS3_b";
inline constexpr const char* kStartArrayDlg =
    "_Z13StartArrayDlgR12DynArrayDataRK7AcArrayI12AcDbObjectIdERK9Kx_String";

class HostedModule {
public:
    HostedModule() = default;
    ~HostedModule() { unload(); }
    HostedModule(const HostedModule&) = delete;
    HostedModule& operator=(const HostedModule&) = delete;

    // Loads libkestra_ss.so from beside the program and sends the load message; true at once when it
    // is loaded already. On failure `error` says why.
    bool load(const char* argv0, std::string& error);
    bool isLoaded() const { return m_handle != nullptr; }
    // A launcher of the module by its linker name; null when it is not exported or nothing is loaded.
    template <typename Fn>
    Fn* function(const char* name) const
    {
        return reinterpret_cast<Fn*>(symbol(name));
    }
    // Sends the unload message; its answer, or -1 when nothing was loaded.
    int unload();

private:
    void* symbol(const char* name) const;

    KxModuleLoader m_loader;
    void* m_handle = nullptr;
};

} // namespace kxapp
