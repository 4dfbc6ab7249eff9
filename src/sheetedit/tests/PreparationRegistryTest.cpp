// Sheet preparation for editing (size, cell type, settings from the sheet's own file, the registry's
// default or the defaults, fonts, text tips) and the registry access it relies on.
#include "platform/grid/Spread.h"
#include "platform/win/Registry.h"
#include "sheetedit/EditorRegistrySettings.h"
#include "sheetedit/RegistryStore.h"
#include "sheetedit/SheetPreparation.h"
#include "sheetedit/SheetSettings.h"
#include "sheetedit/tests/SheetEditTestSupport.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

class Preparation : public kxtest::SheetEditTest {};
class Registry : public kxtest::SheetEditTest {};

constexpr const char* kPath = "Software\\Kestra Test\\Store";

// The raw bytes and type of a value, read without the store.
std::vector<BYTE> rawValue(const char* path, const char* name, DWORD& type)
{
    HKEY key = nullptr;
    if (RegOpenKeyEx(HKEY_CURRENT_USER, path, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return {};
    DWORD size = 0;
    RegQueryValueEx(key, name, nullptr, &type, nullptr, &size);
    std::vector<BYTE> data(size);
    RegQueryValueEx(key, name, nullptr, &type, data.data(), &size);
    RegCloseKey(key);
    return data;
}

template <typename T>
std::vector<BYTE> bytesOf(const T& value)
{
    std::vector<BYTE> out(sizeof value);
    std::memcpy(out.data(), &value, sizeof value);
    return out;
}

} // namespace

TEST_F(Preparation, AFreshSheetWithoutAnySettingsGetsTheDefaults)
{
    HWND grid = kxgrid::createStandaloneGrid(2, 2);
    ASSERT_NE(grid, nullptr);
    SheetSettings used;
    prepareEditorSheet(grid, "no-such-settings", /*full=*/true, &used);

    for (int option : {12, 25, 7, 21})
        EXPECT_TRUE(SSGetBool(grid, option)) << "option " << option;
    EXPECT_EQ(SSGetMaxCols(grid), 6);
    EXPECT_EQ(SSGetMaxRows(grid), 11);
    SS_CELLTYPE type;
    ASSERT_TRUE(SSGetCellTypeRecord(grid, 6, 11, &type));
    EXPECT_EQ(type.type, SS_TYPE_EDIT);
    EXPECT_EQ(type.style, 4);
    EXPECT_EQ(type.maxLength, 100);

    EXPECT_TRUE(used.isLoaded());
    EXPECT_EQ(used.defaultFont, Kx_String("Tahoma"));
    EXPECT_EQ(used.defaultTextHeight, 13);
    LOGFONT font;
    ASSERT_TRUE(SSGetFont(grid, 3, 7, &font));
    EXPECT_EQ(font.lfFaceName, "Tahoma");
    EXPECT_EQ(font.lfHeight, 13);
    EXPECT_EQ(font.lfWeight, FW_NORMAL);
    for (const auto& [col, row] : {std::pair{0, 5}, std::pair{4, 0}}) {
        ASSERT_TRUE(SSGetFont(grid, col, row, &font));
        EXPECT_EQ(font.lfWeight, FW_BOLD) << col << "," << row;
        EXPECT_EQ(font.lfFaceName, "Tahoma");
    }

    SheetSettings inSheet;
    inSheet.readFromSheet(grid);
    kxtest::expectSameSettings(inSheet, SheetSettings());
    EXPECT_GT(SSGetCellTagLen(grid, 0, 0), 0) << "the record is stored in the corner cell";

    WORD mode = 0;
    DWORD delay = 0;
    COLORREF back = 0, fore = 0;
    ASSERT_TRUE(SSGetTextTip(grid, &mode, &delay, nullptr, &back, &fore));
    EXPECT_EQ(mode, 2);
    EXPECT_EQ(delay, 10u);
    DestroyWindow(grid);
}

TEST_F(Preparation, TheSheetsOwnSettingsComeFirstThenTheRegistrysDefault)
{
    SheetSettings own;
    own.defaultFont = "Arial";
    own.defaultTextHeight = 20;
    ASSERT_TRUE(own.save("own"));
    SheetSettings fallback;
    fallback.defaultFont = "Courier New";
    fallback.marginLeft = 1;
    ASSERT_TRUE(fallback.save("fallback"));
    EditorRegistrySettings registry;
    registry.DefaultSettings = "fallback";
    ASSERT_TRUE(registry.write());

    HWND grid = kxgrid::createStandaloneGrid();
    SheetSettings used;
    prepareEditorSheet(grid, "own", /*full=*/true, &used);
    EXPECT_EQ(used.defaultFont, Kx_String("Arial"));
    LOGFONT font;
    ASSERT_TRUE(SSGetFont(grid, 1, 1, &font));
    EXPECT_EQ(font.lfFaceName, "Arial");
    EXPECT_EQ(font.lfHeight, 20);

    prepareEditorSheet(grid, "missing", /*full=*/true, &used);
    EXPECT_EQ(used.defaultFont, Kx_String("Courier New"));
    EXPECT_EQ(used.marginLeft, 1);
    SheetSettings inSheet;
    inSheet.readFromSheet(grid);
    EXPECT_EQ(inSheet.defaultFont, Kx_String("Courier New"));

    // Without a font or height no fonts are made; the cells keep theirs.
    SheetSettings noFont;
    noFont.defaultFont = "";
    ASSERT_TRUE(noFont.save("nofont"));
    prepareEditorSheet(grid, "nofont", /*full=*/true, &used);
    ASSERT_TRUE(SSGetFont(grid, 1, 1, &font));
    EXPECT_EQ(font.lfFaceName, "Courier New");

    // The short preparation leaves size and settings alone.
    SSSetMaxCols(grid, 9);
    SSSetCellTag(grid, 0, 0, "kept");
    prepareEditorSheet(grid, "own", /*full=*/false);
    EXPECT_EQ(SSGetMaxCols(grid), 9);
    char tag[8] = {};
    SSGetCellTag(grid, 0, 0, tag, sizeof tag);
    EXPECT_STREQ(tag, "kept");
    DestroyWindow(grid);

    prepareEditorSheet(nullptr, "own", /*full=*/true);  // no grid: nothing happens, nothing breaks
}

TEST_F(Registry, EditorSettingsNeedBothValues)
{
    EditorRegistrySettings s;
    EXPECT_FALSE(s.read());
    EXPECT_EQ(s.Language, Kx_String("EN"));
    EXPECT_EQ(s.DefaultSettings, Kx_String());

    ASSERT_TRUE(RegistryStore::writeString(HKEY_LOCAL_MACHINE, EditorRegistrySettings::kKeyPath, "Language", "NL"));
    EXPECT_FALSE(s.read()) << "\"Default Settings\" is missing";
    EXPECT_EQ(s.Language, Kx_String("NL")) << "what was read is kept";

    EditorRegistrySettings written;
    written.Language = "FR";
    written.DefaultSettings = "Standaard \xC3\xA9";
    ASSERT_TRUE(written.write());
    EditorRegistrySettings read;
    EXPECT_TRUE(read.read());
    EXPECT_EQ(read.Language, Kx_String("FR"));
    EXPECT_EQ(read.DefaultSettings, written.DefaultSettings);
}

TEST_F(Registry, ValuesAreStoredWithTheirTypesByteForByte)
{
    const HKEY root = HKEY_CURRENT_USER;
    ASSERT_TRUE(RegistryStore::writeString(root, kPath, "text", "ab\xC3\xA4"));
    ASSERT_TRUE(RegistryStore::writeInt(root, kPath, "int", -2));
    ASSERT_TRUE(RegistryStore::writeInt64(root, kPath, "big", 0x0102030405060708LL));
    ASSERT_TRUE(RegistryStore::writeDouble(root, kPath, "double", 2.5));
    ASSERT_TRUE(RegistryStore::writeRect(root, kPath, "rect", RECT{1, -2, 300, 400}));
    ASSERT_TRUE(RegistryStore::writeIntArray(root, kPath, "array", Kx_Array<std::int32_t>{7, -1, 65536}));
    ASSERT_TRUE(RegistryStore::writeIntArray(root, kPath, "empty", Kx_Array<std::int32_t>{}));

    DWORD type = 0;
    EXPECT_EQ(rawValue(kPath, "text", type), (std::vector<BYTE>{'a', 'b', 0xC3, 0xA4, 0}));
    EXPECT_EQ(type, REG_SZ);
    EXPECT_EQ(rawValue(kPath, "int", type), bytesOf(std::int32_t{-2}));
    EXPECT_EQ(type, REG_DWORD);
    EXPECT_EQ(rawValue(kPath, "big", type), bytesOf(std::int64_t{0x0102030405060708LL}));
    EXPECT_EQ(type, REG_BINARY);
    const std::int32_t rect[4] = {1, -2, 300, 400};
    EXPECT_EQ(rawValue(kPath, "rect", type), bytesOf(rect));
    EXPECT_EQ(type, REG_BINARY);
    const std::int32_t array[3] = {7, -1, 65536};
    EXPECT_EQ(rawValue(kPath, "array", type), bytesOf(array));

    Kx_String text;
    std::int32_t i = 0;
    std::int64_t big = 0;
    double d = 0;
    RECT r{};
    Kx_Array<std::int32_t> a;
    EXPECT_TRUE(RegistryStore::readString(root, kPath, "text", text));
    EXPECT_EQ(text, Kx_String("ab\xC3\xA4"));
    EXPECT_TRUE(RegistryStore::readInt(root, kPath, "int", i));
    EXPECT_EQ(i, -2);
    EXPECT_TRUE(RegistryStore::readInt64(root, kPath, "big", big));
    EXPECT_EQ(big, 0x0102030405060708LL);
    EXPECT_TRUE(RegistryStore::readDouble(root, kPath, "double", d));
    EXPECT_EQ(d, 2.5);
    EXPECT_TRUE(RegistryStore::readRect(root, kPath, "rect", r));
    EXPECT_EQ(r, (RECT{1, -2, 300, 400}));
    EXPECT_TRUE(RegistryStore::readIntArray(root, kPath, "array", a));
    ASSERT_EQ(a.length(), 3);
    EXPECT_EQ(a[2], 65536);
    EXPECT_TRUE(RegistryStore::readIntArray(root, kPath, "empty", a));
    EXPECT_EQ(a.length(), 0);

    // Missing values, another type or another size leave the destination as it was.
    i = 99;
    EXPECT_FALSE(RegistryStore::readInt(root, kPath, "missing", i));
    EXPECT_FALSE(RegistryStore::readInt(root, kPath, "text", i));
    EXPECT_FALSE(RegistryStore::readInt(root, "Software\\No Such Key", "int", i));
    EXPECT_EQ(i, 99);
    EXPECT_FALSE(RegistryStore::readRect(root, kPath, "big", r)) << "8 bytes are no rectangle";
    EXPECT_FALSE(RegistryStore::readString(root, kPath, "int", text));
    EXPECT_EQ(text, Kx_String("ab\xC3\xA4"));
    const BYTE odd[5] = {1, 2, 3, 4, 5};
    HKEY key = nullptr;
    ASSERT_EQ(RegOpenKeyEx(root, kPath, 0, KEY_ALL_ACCESS, &key), ERROR_SUCCESS);
    RegSetValueEx(key, "odd", 0, REG_BINARY, odd, sizeof odd);
    RegCloseKey(key);
    EXPECT_FALSE(RegistryStore::readIntArray(root, kPath, "odd", a));
    EXPECT_EQ(a.length(), 0);
}

TEST_F(Registry, FontsLiveInASubKeyThatNoFontDeletes)
{
    const HKEY root = HKEY_CURRENT_USER;
    LOGFONT font;
    font.lfHeight = -13;
    font.lfWeight = FW_BOLD;
    font.lfItalic = 1;
    font.lfStrikeOut = 1;
    font.lfFaceName = "Segoe \xC3\x9C";
    ASSERT_TRUE(RegistryStore::writeFont(root, kPath, "Cells", &font));

    DWORD type = 0;
    const std::string sub = std::string(kPath) + "\\Cells";
    EXPECT_EQ(rawValue(sub.c_str(), "lfItalic", type), (std::vector<BYTE>{1}));
    EXPECT_EQ(type, REG_BINARY);
    EXPECT_EQ(rawValue(sub.c_str(), "lfUnderline", type), (std::vector<BYTE>{0}));
    EXPECT_EQ(rawValue(sub.c_str(), "lfWeight", type), bytesOf(std::int32_t{700}));
    EXPECT_EQ(type, REG_DWORD);

    LOGFONT read;
    read.lfCharSet = 77;
    ASSERT_TRUE(RegistryStore::readFont(root, kPath, "Cells", read));
    EXPECT_EQ(read.lfHeight, -13);
    EXPECT_EQ(read.lfWeight, FW_BOLD);
    EXPECT_EQ(read.lfItalic, 1);
    EXPECT_EQ(read.lfUnderline, 0);
    EXPECT_EQ(read.lfStrikeOut, 1);
    EXPECT_EQ(read.lfFaceName, font.lfFaceName);
    EXPECT_EQ(read.lfCharSet, 77) << "fields the registry does not keep stay";

    ASSERT_TRUE(RegistryStore::deleteValue(root, sub, "lfFaceName"));
    LOGFONT partial;
    EXPECT_FALSE(RegistryStore::readFont(root, kPath, "Cells", partial)) << "all six values are needed";
    EXPECT_EQ(partial, LOGFONT());

    ASSERT_TRUE(RegistryStore::writeFont(root, kPath, "Cells", nullptr));
    Kx_StringArray names;
    ASSERT_TRUE(RegistryStore::enumerateSubKeys(root, kPath, names));
    EXPECT_EQ(names.length(), 0);
}

TEST_F(Registry, KeysAreEnumeratedAndDeletedWithEverythingBelow)
{
    const HKEY root = HKEY_CURRENT_USER;
    ASSERT_TRUE(RegistryStore::writeInt(root, std::string(kPath) + "\\b", "x", 1));
    ASSERT_TRUE(RegistryStore::writeInt(root, std::string(kPath) + "\\A\\deeper", "x", 1));
    ASSERT_TRUE(RegistryStore::writeInt(root, kPath, "zeta", 1));
    ASSERT_TRUE(RegistryStore::writeInt(root, kPath, "Alpha", 1));
    ASSERT_TRUE(RegistryStore::writeString(root, kPath, std::string(300, 'n'), "a long name"));

    Kx_StringArray names;
    ASSERT_TRUE(RegistryStore::enumerateSubKeys(root, kPath, names));
    ASSERT_EQ(names.length(), 2);
    EXPECT_EQ(names[0], Kx_String("A"));
    EXPECT_EQ(names[1], Kx_String("b"));
    ASSERT_TRUE(RegistryStore::enumerateValues(root, kPath, names));
    ASSERT_EQ(names.length(), 3);
    EXPECT_EQ(names[0], Kx_String("Alpha"));
    EXPECT_EQ(names[1].length(), 300);
    EXPECT_EQ(names[2], Kx_String("zeta"));

    EXPECT_TRUE(RegistryStore::deleteValue(root, kPath, "zeta"));
    EXPECT_FALSE(RegistryStore::deleteValue(root, kPath, "zeta"));
    EXPECT_FALSE(RegistryStore::deleteKey(root, "")) << "never the whole root";
    EXPECT_TRUE(RegistryStore::deleteKey(root, std::string(kPath) + "\\A"));
    ASSERT_TRUE(RegistryStore::enumerateSubKeys(root, kPath, names));
    EXPECT_EQ(names.length(), 1);
    EXPECT_TRUE(RegistryStore::deleteKey(root, "Software\\Kestra Test"));
    EXPECT_FALSE(RegistryStore::enumerateValues(root, kPath, names));
    EXPECT_EQ(names.length(), 0);
}
