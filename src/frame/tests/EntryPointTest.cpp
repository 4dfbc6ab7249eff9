// The module loaded as the host loads it: its entry point and its exported symbols.
#include "platform/host/Acrx.h"
#include "platform/host/CommandLine.h"
#include "platform/host/ModuleLoader.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>
#include <string_view>

namespace {

TEST(EntryPoint, LoadUnlocksTheModuleAndUnloadRemovesItsCommandGroupQuietly)
{
    KxModuleLoader module;
    ASSERT_TRUE(module.load(KX_MODULE_PATH)) << module.error();
    kxhost::takeCommandLineText();
    EXPECT_TRUE(acrxDynamicLinker()->isApplicationLocked(module.packet()));

    EXPECT_EQ(module.send(AcRx::kInitAppMsg), AcRx::kRetOK);
    EXPECT_FALSE(acrxDynamicLinker()->isApplicationLocked(module.packet()));
    EXPECT_TRUE(acrxDynamicLinker()->isAppMDIAware(module.packet()));

    const int removedBefore = acedRegCmds()->removeGroupCalls("KESTRA_SS");
    EXPECT_EQ(module.send(AcRx::kUnloadAppMsg), AcRx::kRetOK);
    EXPECT_EQ(acedRegCmds()->removeGroupCalls("KESTRA_SS"), removedBefore + 1);
    // The shared bitmaps loaded and nothing complained.
    EXPECT_EQ(kxhost::takeCommandLineText(), "");
}

TEST(EntryPoint, IgnoresOtherMessages)
{
    KxModuleLoader module;
    ASSERT_TRUE(module.load(KX_MODULE_PATH)) << module.error();
    for (auto msg : {AcRx::kNullMsg, AcRx::kLoadDwgMsg, AcRx::kQuitMsg, AcRx::kEndDialogMsg})
        EXPECT_EQ(module.send(msg), AcRx::kRetOK);
}

std::string exportedSymbols()
{
    const std::string command = std::string("nm -DC --defined-only '") + KX_MODULE_PATH + "'";
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), pclose);
    if (!pipe)
        return {};
    std::string symbols;
    char buffer[4096];
    while (size_t n = fread(buffer, 1, sizeof buffer, pipe.get()))
        symbols.append(buffer, n);
    return symbols;
}

// The module's whole public interface: every launcher and exported class the add-on's modules call,
// as the linker shows it. Every entry must be exported; nothing is ever left out or exported as a
// silent stub.
struct Export {
    const char* symbol;  // a demangled name, or a part of it that only this export has
    const char* dialog;  // what it opens or does, for the failure message
};

constexpr Export kPublicInterface[] = {
    {"acrxEntryPoint", "the host's entry point"},
    {"acrxGetApiVersion", "the host's version check"},
    {"StartDlgDesigner(Kx_String const&)", "the dialog designer"},
    {"StartDlgMacro(MacroData&)", "the macro dialog, modal"},
    {"StartDlgMacroModeless(bool, MacroData&, int&)", "the macro dialog, modeless"},
    {"EndDlgMacroModeless(int)", "closing a modeless macro dialog"},
    {"GetDlgMacroData(int, MacroData&)", "reading a modeless macro dialog"},
    {"DestroyAllMacroDlgs()", "closing every macro dialog"},
    {"StartDlgMacroProfAdv(MacroData&, Kx_String const&, Kx_String const&, bool)", "the profile advanced dialog"},
    {"StartDlgMacroProfAdv(AcArray<AcDbObjectId>*, bool&,", "the profile advanced dialog with a callback"},
    {"ZnMACallBackData::initDataClass(MacroData const&)", "the profile dialog's callback data"},
    {"StartDlgMacroCuts(DlgMacroCutsData&, bool&)", "the macro cuts dialog"},
    {"StartDlgSelectMacro(Kx_String const&, Kx_StringArray const&, AcArray<bool> const&,", "select macro"},
    {"StartDlgSelectMacro(Kx_String const&, Kx_StringArray const&, int const&,", "select macro, all enabled"},
    {"StartArrayDlg(DynArrayData&, AcArray<AcDbObjectId> const&, Kx_String const&)", "the array dialog"},
    {"StartDlgEditConstraints(EditConstrData&)", "the constraint editor, modeless"},
    {"StartDlgEditConstrModal(EditConstrData&)", "the constraint editor, modal"},
    {"EndDlgEditConstraints()", "closing the constraint editor"},
    {"StartDSTVPointsDlg()", "DSTV point groups"},
    {"StartDlgCSP2(DlgCSP2Data&)", "cutting stock"},
    {"StartDlgEditLibSections(DlgEditLibData&, Kx_String const&)", "the section library editor"},
    {"StartDlgEditLibSimple(Kx_String const&, Kx_ProfValuesTable&, int&)", "the simple library editor"},
    {"StartDlgGrid(ZnGridDlgData&)", "the grid dialog"},
    {"StartDlgLookUp(ZnLookUpDlgData&)", "the lookup dialog"},
    {"startGridDialog(Kx_StringArray const&, Kx_StringArray const&, Kx_Array<Kx_StringArray>&, bool, Kx_String, "
     "Kx_String)",
     "the string-array dialog"},
    {"StartDlgLevels(ZnLevelsDlgData&)", "levels"},
    {"StartDlgCladdingSettings(ZnCladdingDlgData&)", "cladding settings"},
    {"StartDlgSelectImage(ZnSelectImageDlgData&)", "image selection"},
    {"StartEditProfCutsDlg(DlgProfCutsData&)", "profile cuts"},
    {"StartDlgProfFeatures(DlgProfFeaturesData&)", "profile features"},
    {"ReadSSFile(Kx_String const&, Kx_String&, Kx_StringArray&, Kx_Array<Kx_StringArray>&)", "reading a sheet"},
    {"EvaluateSS()", "evaluating a sheet"},
    {"GetImageDlgCtrlNames(Kx_String const&, Kx_StringArray&)", "a layout's control names"},
    {"getModuleImages(Kx_StringArray&)", "the layouts of the library"},
    {"getDesignerRootFolder()", "the layout folder"},
    {"Kx_DlgDesignerData::readFromFile(", "the layout class"},
    {"Kx_DesignerControl::getMergedExtComboList() const", "the layout control class"},
    {"ZnSSBillOutput::", "bill output"},
    {"Kx_ProfValuesTable::", "profile value tables"},
    {"ZnSelectImageDlgData::", "the image selection data"},
    {"kxss::runSheetHeadersCommand(HWND__*)", "the sheet headers command"},
};

TEST(Exports, TheWholeLauncherTableIsExported)
{
    const std::string symbols = exportedSymbols();
    ASSERT_FALSE(symbols.empty());
    for (const Export& e : kPublicInterface)
        EXPECT_NE(symbols.find(e.symbol), std::string::npos) << e.symbol << " (" << e.dialog << ") is not exported";
    EXPECT_EQ(symbols.find("pickMacroDialogSlot"), std::string::npos) << "inner functions stay hidden";
}

} // namespace
