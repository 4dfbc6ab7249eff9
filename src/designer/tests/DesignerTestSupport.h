// For the designed-dialog tests: a private library folder with its layout root, layout files and
// pictures written without the code under test, and a host dialog that places a layout the way the
// macro pages do (background erase and Tab key handed to the layout).
#pragma once

#include "core/Kx_Settings.h"
#include "core/MacroLangs.h"
#include "core/TextTables.h"
#include "core/tests/FileTestSupport.h"
#include "designer/Kx_DlgDesignerData.h"
#include "designer/LayoutFiles.h"
#include "platform/host/CommandLine.h"
#include "platform/win/Bitmap.h"
#include "platform/win/Dialog.h"
#include "platform/win/Resources.h"
#include "platform/win/UserAgent.h"
#include "platform/win/testing/AgentFailures.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace kxtest {

// A control as a test describes it.
inline Kx_DesignerControl makeControl(Kx_ControlType type, double left, double top, double right, double bottom,
                                      const Kx_String& contents = "", const Kx_String& comboList = "")
{
    Kx_DesignerControl c;
    c.setType(type);
    c.setFactors(left, top, right, bottom);
    c.setContents(contents);
    c.setSplitExtComboList(comboList);
    return c;
}

// .bmp bytes of a picture: white (transparent) with a dark frame, so that painting it shows both.
inline std::string pictureBytes(int width, int height)
{
    kxwin::BitmapPixels pixels(width, height, RGB(255, 255, 255));
    for (int x = 0; x < width; ++x) {
        pixels.setPixel(x, 0, RGB(10, 20, 30));
        pixels.setPixel(x, height - 1, RGB(10, 20, 30));
    }
    const std::vector<BYTE> bytes = kxwin::encodeBmp(pixels);
    return std::string(bytes.begin(), bytes.end());
}

// Each test gets its own library folder (set as the library for the test's duration), a clean
// window layer, English texts and a resource module with the flex-button icon.
class DesignerTest : public kxwin::testing::WindowLayerTest {
protected:
    void SetUp() override
    {
        WindowLayerTest::SetUp();
        m_language = MacroLangs::GetCurLanguageIndex();
        MacroLangs::SetCurLanguage(MacroLangs::English);
        Kx_Settings::setLibDir(library.path().string());
        root = (library.path() / "Dialog Templates" / "Dialog Design").string();
        std::filesystem::create_directories(root);
        module = kxwin::resourceModule("designer-tests");
        previousResources = AfxGetResourceHandle();
        AfxSetResourceHandle(module);
        const std::string icon = pictureBytes(16, 16);
        kxwin::addResourceData(module, "ICON", kFlexButtonIconId, std::vector<BYTE>(icon.begin(), icon.end()));
        kxhost::takeCommandLineText();
    }
    void TearDown() override
    {
        AfxSetResourceHandle(previousResources);
        Kx_Settings::setLibDir("");
        MacroLangs::SetCurLanguage(m_language);
        WindowLayerTest::TearDown();
    }

    // root/<relative>, the folders made.
    std::string layoutPath(const std::string& relative) const
    {
        const std::filesystem::path p = std::filesystem::path(root) / relative;
        std::filesystem::create_directories(p.parent_path());
        return p.string();
    }
    // Writes layout text (and a picture of the size, unless 0) as root/<relative>.txt/.bmp.
    void writeLayout(const std::string& relative, const std::string& text, int pictureWidth = 0, int pictureHeight = 0)
    {
        writeBytes(layoutPath(relative + ".txt"), text);
        if (pictureWidth > 0)
            writeBytes(layoutPath(relative + ".bmp"), pictureBytes(pictureWidth, pictureHeight));
    }

    TempFolder library;
    std::string root;
    HINSTANCE module = nullptr;
    HINSTANCE previousResources = nullptr;

private:
    int m_language = 0;
};

// A modeless host dialog for a layout, as a macro page is: it hands its background erase to the
// layout and lets the layout handle Tab first.
class LayoutHost : public CDialog {
public:
    explicit LayoutHost(int templateId) : CDialog(templateId) {}

    Kx_DlgDesignerData* layout = nullptr;
    // What handleTabKey said the last time Tab went through the host.
    Kx_TabMsgHandle lastTab = Kx_TabMsgHandle::NotHandled;

    BOOL PreTranslateMessage(const MSG& msg) override
    {
        if (layout && msg.message == WM_KEYDOWN && msg.wParam == VK_TAB) {
            if (layout->handleTabKey(static_cast<int>(msg.wParam), lastTab) && lastTab == Kx_TabMsgHandle::Handled)
                return TRUE;
        }
        return CDialog::PreTranslateMessage(msg);
    }

protected:
    BOOL OnEraseBkgnd(HDC dc) override
    {
        if (layout)
            layout->OnEraseBkgnd(dc);
        return TRUE;
    }
};

// A test with a host dialog of 600 x 400 dialog units holding one edit before the layout's area
// (id 10) and one after it (id 11), so that Tab can leave the designed controls both ways.
class RuntimeTest : public DesignerTest {
protected:
    static constexpr int kHostTemplate = 4711;
    static constexpr int kBefore = 10;
    static constexpr int kAfter = 11;

    void SetUp() override
    {
        DesignerTest::SetUp();
        DialogTemplate t;
        t.id = kHostTemplate;
        t.title = "Host";
        t.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_VISIBLE;
        t.cx = 600;
        t.cy = 400;
        t.items.push_back({kBefore, "Edit", "", WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL, 0, 500, 5, 60, 12});
        t.items.push_back({kAfter, "Edit", "", WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL, 0, 500, 300, 60, 12});
        kxwin::addDialogTemplate(module, t);
        host = std::make_unique<LayoutHost>(kHostTemplate);
        ASSERT_TRUE(host->Create(kHostTemplate));
        host->layout = &layout;
    }
    void TearDown() override
    {
        host.reset();
        DesignerTest::TearDown();
    }

    // A layout of the controls with a picture of w x h pixels, initialised in the host in runtime
    // mode with the macro pages' id range and drawn.
    void place(const std::vector<Kx_DesignerControl>& controls, int w = 400, int h = 300)
    {
        writeLayout("placed", "# empty\n", w, h);
        ASSERT_TRUE(layout.attachBitmap(Kx_String(layoutPath("placed.bmp"))));
        ASSERT_TRUE(layout.initialize(host->m_hWnd, kDesignerFirstResourceId, kDesignerLastResourceId, 0, 0, 0, 0, 0,
                                      /*designerMode=*/false));
        for (const Kx_DesignerControl& c : controls)
            layout.append(c);
        layout.redrawAllControls();
    }
    HWND window(int i) const { return layout.getDrawnWindow(i); }
    int id(int i) const { return layout.getControl(i)->getResourceId(); }
    kxwin::DialogDriver driver() const { return kxwin::DialogDriver(host->m_hWnd); }

    Kx_DlgDesignerData layout;
    std::unique_ptr<LayoutHost> host;
};

} // namespace kxtest
