// For the tests that run the dialog designer itself (StartDlgDesigner under the scripted user): the
// layout "plates\frame" of four controls over a 400 x 300 picture, and the editor's windows in
// pixels.
#pragma once

#include "designer/DesignerLaunchers.h"
#include "designer/ZnDlgDesigner.h"
#include "designer/tests/DesignerTestSupport.h"
#include "frame/ModelessDialogs.h"

#include <algorithm>
#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace kxtest {

inline constexpr int kFrameW = 400;
inline constexpr int kFrameH = 300;

// A control placed at pixel edges of the 400 x 300 picture.
inline Kx_DesignerControl atPixels(Kx_ControlType type, int left, int top, int right, int bottom,
                                   const char* contents = "")
{
    return makeControl(type, double(left) / kFrameW, double(top) / kFrameH, double(right) / kFrameW,
                       double(bottom) / kFrameH, contents);
}

// The window of the designer's control i.
inline RECT rectOf(kxwin::DialogDriver& d, int i)
{
    return GetWindowRectInParent(d.item(kDesignerFirstResourceId + i));
}

inline POINT centreOf(kxwin::DialogDriver& d, int i)
{
    const RECT r = rectOf(d, i);
    return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

inline ZnDlgDesigner& editorOf(kxwin::DialogDriver& d)
{
    return *dynamic_cast<ZnDlgDesigner*>(GetWindowObject(d.dialog()));
}

class EditorTest : public DesignerTest {
protected:
    void SetUp() override
    {
        DesignerTest::SetUp();
        kxss::attachModule();
        Kx_DlgDesignerData layout;
        for (const Kx_DesignerControl& c : {atPixels(Kx_ControlType::VariableEdit, 10, 10, 60, 30, "length"),
                                            atPixels(Kx_ControlType::Label, 100, 10, 150, 30, "a"),
                                            atPixels(Kx_ControlType::VariableEdit, 40, 100, 90, 120, "grade"),
                                            atPixels(Kx_ControlType::VariableEdit, 10, 150, 50, 170, "width")})
            layout.append(c);
        writeLayout("plates/frame", "", kFrameW, kFrameH);
        ASSERT_TRUE(layout.writeToFile("plates\\frame"));
        frameText = readBytes(layoutPath("plates/frame.txt"));
    }
    // Runs the designer on `path` with the script; true when it closed with OK.
    bool run(const Kx_String& path, std::function<void(kxwin::DialogDriver&)> script)
    {
        agent.onDialog(ZnDlgDesigner::kTemplateId, std::move(script));
        const bool ok = StartDlgDesigner(path);
        EXPECT_EQ(agent.unusedScripts(), 0);
        return ok;
    }

    kxwin::UserAgent agent;
    std::string frameText;
};

// The controls of a layout placed at run time in the order the focus visits them, pressing Tab with
// `pressTab` from the focused one until a control comes round again (at most `limit` presses).
inline std::vector<int> walkWithTab(const Kx_DlgDesignerData& placed, const std::function<void()>& pressTab,
                                    int limit = 100)
{
    std::vector<int> walked;
    for (int k = 0; k < limit; ++k) {
        int id = 0;
        if (placed.getFocusedDynControl(id)) {
            int index = -1;
            placed.findCtrlFromResource(id, index);
            if (std::find(walked.begin(), walked.end(), index) != walked.end())
                break;
            walked.push_back(index);
        } else if (!walked.empty()) {
            break;
        }
        pressTab();
    }
    return walked;
}

// Control indices by their place in the keyboard order (places 1, 2, ... as long as they run on).
inline std::vector<int> indicesByPlace(const std::vector<int>& orders)
{
    std::vector<int> indices;
    for (int place = 1;; ++place) {
        const auto at = std::find(orders.begin(), orders.end(), place);
        if (at == orders.end())
            return indices;
        indices.push_back(static_cast<int>(at - orders.begin()));
    }
}

} // namespace kxtest
