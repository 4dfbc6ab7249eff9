// Speed of the window layer's registry: reads from a warm store (on an open handle, and the
// open-read-close round the module's registry helpers make for every value), writes each committed
// on its own, and enumeration. Target: above 200,000 warm reads per second.
//
// The store lives in a fresh folder under the temporary folder (TMPDIR), removed at the end; point
// TMPDIR at the disk of interest, since commit speed depends on it. Times are wall-clock: a commit
// that waits for the disk must count.
#include "platform/win/Registry.h"

#include <benchmark/benchmark.h>

#include <stdlib.h>

#include <cstdlib>
#include <filesystem>
#include <string>

namespace {

const char* const kEditorKey = "Software\\Vormex\\Spreadsheet Editor v1.0";

std::string& benchFolder()
{
    static std::string folder;
    return folder;
}

void removeBenchFolder()
{
    kxwin::setRegistryPath(nullptr); // closes the database first
    std::error_code ignored;
    std::filesystem::remove_all(benchFolder(), ignored);
}

// A registry database of its own, made once for the whole run.
void useBenchStore()
{
    if (!benchFolder().empty())
        return;
    std::string pattern = (std::filesystem::temp_directory_path() / "kx_win_bench-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr)
        std::abort();
    benchFolder() = pattern;
    kxwin::setRegistryPath((pattern + "/registry.sqlite3").c_str());
    std::atexit(removeBenchFolder);
}

HKEY editorKey()
{
    useBenchStore();
    HKEY key = nullptr;
    if (RegCreateKey(HKEY_LOCAL_MACHINE, kEditorKey, &key) != ERROR_SUCCESS)
        std::abort();
    return key;
}

void BM_QueryDwordOnOpenKey(benchmark::State& state)
{
    HKEY key = editorKey();
    DWORD value = 13;
    RegSetValueEx(key, "lfHeight", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
    for (auto _ : state) {
        DWORD size = sizeof value;
        if (RegQueryValueEx(key, "lfHeight", nullptr, nullptr, reinterpret_cast<BYTE*>(&value), &size) != ERROR_SUCCESS)
            state.SkipWithError("query failed");
        benchmark::DoNotOptimize(value);
    }
    state.SetItemsProcessed(state.iterations());
    RegCloseKey(key);
}
BENCHMARK(BM_QueryDwordOnOpenKey)->UseRealTime();

// What a settings read costs: open the key by its full path, ask the string's size, read it, close.
void BM_OpenQueryStringClose(benchmark::State& state)
{
    HKEY made = editorKey();
    const char text[] = "Tahoma";
    RegSetValueEx(made, "Language", 0, REG_SZ, reinterpret_cast<const BYTE*>(text), sizeof text);
    RegCloseKey(made);
    char buffer[64];
    for (auto _ : state) {
        HKEY key = nullptr;
        DWORD size = 0;
        if (RegOpenKeyEx(HKEY_LOCAL_MACHINE, kEditorKey, 0, KEY_READ, &key) != ERROR_SUCCESS ||
            RegQueryValueEx(key, "Language", nullptr, nullptr, nullptr, &size) != ERROR_SUCCESS ||
            RegQueryValueEx(key, "Language", nullptr, nullptr, reinterpret_cast<BYTE*>(buffer), &size) !=
                ERROR_SUCCESS ||
            RegCloseKey(key) != ERROR_SUCCESS)
            state.SkipWithError("read failed");
        benchmark::DoNotOptimize(buffer);
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_OpenQueryStringClose)->UseRealTime();

// Overwrites one of 64 values: every call is its own committed transaction.
void BM_SetDwordCommitted(benchmark::State& state)
{
    HKEY key = editorKey();
    DWORD value = 0;
    std::string names[64];
    for (int i = 0; i < 64; ++i)
        names[i] = "Column width " + std::to_string(i);
    for (auto _ : state) {
        ++value;
        if (RegSetValueEx(key, names[value % 64].c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value),
                          sizeof value) != ERROR_SUCCESS)
            state.SkipWithError("write failed");
    }
    state.SetItemsProcessed(state.iterations());
    RegCloseKey(key);
}
BENCHMARK(BM_SetDwordCommitted)->UseRealTime();

// Walks the values of a key with state.range(0) entries, by index as callers do.
void BM_EnumerateValues(benchmark::State& state)
{
    useBenchStore();
    const std::string path = "Software\\Kestra\\Enumerate " + std::to_string(state.range(0));
    HKEY key = nullptr;
    RegCreateKey(HKEY_CURRENT_USER, path.c_str(), &key);
    for (DWORD i = 0; i < static_cast<DWORD>(state.range(0)); ++i)
        RegSetValueEx(key, ("v" + std::to_string(i)).c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&i), 4);
    char name[32];
    for (auto _ : state) {
        DWORD index = 0;
        for (;; ++index) {
            DWORD size = sizeof name;
            if (RegEnumValue(key, index, name, &size, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
                break;
        }
        if (index != static_cast<DWORD>(state.range(0)))
            state.SkipWithError("enumeration incomplete");
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
    RegCloseKey(key);
}
BENCHMARK(BM_EnumerateValues)->Arg(100)->Arg(10000)->UseRealTime();

} // namespace

BENCHMARK_MAIN();
