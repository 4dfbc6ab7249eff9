// ZnDlgOptimizeCSP2: the cutting-stock dialog (template 8122). Named sets, each with three tables in
// three grids (required lengths, stock, purchase list); the stock and the purchase list load from and
// save to the set's folder under the library's "Cutting Stock". In the stock-only mode only the
// stock is edited, and the stock of every set can be saved at once. It works on its own copy of the
// data; StartDlgCSP2 (CuttingStockLaunchers.h) copies it back on OK.
#pragma once

#include "core/CButtonST.h"
#include "core/CResizer.h"
#include "core/DlgCSP2Data.h"
#include "core/Kx_String.h"
#include "platform/win/Dialog.h"
#include "spread/Kx_Spread.h"

#include <array>
#include <cstdint>
#include <optional>

class ZnDlgOptimizeCSP2 : public CDialog {
public:
    static constexpr int kTemplateId = 8122;
    static constexpr const char* kSizeKey = "DLG_OPTIMIZECSP2";

    static constexpr int kSetLabel = 9035;
    static constexpr int kSetList = 9036;
    static constexpr int kNewSet = 8590;
    static constexpr int kDeleteSet = 8591;
    static constexpr int kTablesFrame = 9037;
    static constexpr int kFrames[3] = {9038, 9041, 9043};
    static constexpr int kGrids[3] = {1321, 1322, 1323};
    static constexpr int kAddRow[3] = {8601, 8606, 8608};
    static constexpr int kDeleteRow[3] = {8605, 8607, 8609};
    static constexpr int kLoadStock = 8600;
    static constexpr int kLoadBuy = 8603;
    static constexpr int kSaveStock = 8602;
    static constexpr int kSaveBuy = 8604;
    static constexpr int kReport = 8592;
    static constexpr int kAskNames = 9074;

    explicit ZnDlgOptimizeCSP2(const DlgCSP2Data& data = {});

    DlgCSP2Data& data() { return m_data; }
    const DlgCSP2Data& data() const { return m_data; }
    // The identifier of the set the grids show; -1 for none.
    std::int32_t currentSet() const { return m_currentSet; }
    // The grid of table 1, 2 or 3 (for tests and the benchmark). Not owning.
    Kx_Spread& grid(int table) { return m_grids[static_cast<size_t>(table - 1)]; }

    // The folder of set `index` ("<library>Cutting Stock/<name>/"), or no value when the set's name
    // cannot be a folder name or the folder would lie outside the library's "Cutting Stock".
    std::optional<Kx_String> setFolder(int index) const;
    // The name proposed for saving: "Stock" + (N + 1) + "." + ext, N the largest number of the
    // files "Stock<digits>.<ext>" in folder (letter case ignored).
    static Kx_String defaultFileName(const Kx_String& folder, const Kx_String& ext);
    // The newest "*.<ext>" file of folder (full path), or empty when there is none.
    static Kx_String newestFile(const Kx_String& folder, const Kx_String& ext);
    // The chosen path as it is used: its file name part lower-cased (never its folders), and
    // "." + ext appended when it does not end with it.
    static Kx_String normalisedPath(const Kx_String& chosen, const Kx_String& ext);

    // The steps behind the buttons, for the benchmark and the tests.
    void selectSet(int index);
    std::optional<Kx_StringArray> statusReport();

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnDestroy() override;

private:
    int selectedIndex() const;
    int indexOfSet(std::int32_t id) const;
    void fillGrid(int table, std::int32_t id);
    void fillGrids(std::int32_t id);
    void storeGrid(int table, std::int32_t id);
    void storeGrids();
    void onSetChanged();
    void newSet();
    void deleteSet();
    void addRow(int table);
    void deleteRow(int table);
    // The file step of a table (2: "shp", 3: "buy") for set `index`; showDialog false takes the
    // default name as chosen. False when nothing was loaded or saved.
    bool fileStep(int table, bool save, bool showDialog, int index);
    bool loadInto(int table, int index, const Kx_String& path, bool tell);
    void runReport();
    void saveAll();
    void message(const Kx_String& text, UINT icon = MB_ICONWARNING);

    DlgCSP2Data m_data;
    std::int32_t m_currentSet = -1;
    std::array<Kx_Spread, 3> m_grids;
    std::array<CButtonST, 10> m_icons;
    ZnResizer m_resizer;
};
