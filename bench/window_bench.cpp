// Window layer: making and destroying a 60-control dialog from its template, and message dispatch.
#include "platform/win/CWnd.h"
#include "platform/win/Dialog.h"
#include "platform/win/Resources.h"
#include "platform/win/Window.h"

#include <benchmark/benchmark.h>

namespace {

DialogTemplate sixtyControls()
{
    DialogTemplate t;
    t.id = 9001;
    t.title = "Sixty controls";
    t.style = WS_POPUP | WS_CAPTION | WS_SYSMENU;
    t.cx = 400;
    t.cy = 300;
    int id = 1000;
    for (int row = 0; row < 20; ++row) {
        const short y = static_cast<short>(4 + row * 14);
        t.items.push_back({id++, "Static", "Label", SS_LEFT | WS_VISIBLE, 0, 4, y, 60, 10});
        t.items.push_back({id++, "Edit", "12.5", ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP | WS_VISIBLE, 0, 70, y, 80, 12});
        t.items.push_back({id++, row % 2 ? "ComboBox" : "Button", "Option",
                           static_cast<DWORD>(row % 2 ? (CBS_DROPDOWN | WS_TABSTOP | WS_VISIBLE)
                                                      : (BS_AUTOCHECKBOX | WS_TABSTOP | WS_VISIBLE)),
                           0, 160, y, 80, 12});
    }
    return t;
}

void BM_CreateAndDestroySixtyControlDialog(benchmark::State& state)
{
    const DialogTemplate t = sixtyControls();
    for (auto _ : state) {
        CDialog dialog(9001);
        HWND hwnd = CreateDialogFromTemplate(t, nullptr, &dialog);
        benchmark::DoNotOptimize(hwnd);
        dialog.DestroyWindow();
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_CreateAndDestroySixtyControlDialog);

class CountingWnd : public CWnd {
public:
    long count = 0;

protected:
    void OnTimer(UINT_PTR) override { ++count; }
};

void BM_SendMessageToACppWindow(benchmark::State& state)
{
    CountingWnd wnd;
    wnd.Create("Static", "", WS_VISIBLE, RECT{0, 0, 10, 10}, nullptr, 0);
    for (auto _ : state)
        SendMessage(wnd.m_hWnd, WM_TIMER, 1, 0);
    benchmark::DoNotOptimize(wnd.count);
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_SendMessageToACppWindow);

void BM_PostAndPumpMessages(benchmark::State& state)
{
    CountingWnd wnd;
    wnd.Create("Static", "", WS_VISIBLE, RECT{0, 0, 10, 10}, nullptr, 0);
    for (auto _ : state) {
        for (int i = 0; i < 1000; ++i)
            PostMessage(wnd.m_hWnd, WM_TIMER, 1, 0);
        PumpMessages();
    }
    state.SetItemsProcessed(state.iterations() * 1000);
}
BENCHMARK(BM_PostAndPumpMessages);

} // namespace

BENCHMARK_MAIN();
