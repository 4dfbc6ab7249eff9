// Private to platform/qt: the sample dialog with every control kind (template 9901). It keeps the
// notifications its controls sent, so tests can check that input through Qt arrives as it does
// from the scripted user.
#pragma once

#include "platform/qt/KxQtExport.h"
#include "platform/win/Dialog.h"

#include <string>
#include <utility>
#include <vector>

namespace kxqt {

inline constexpr int kShowcaseName = 1001;
inline constexpr int kShowcaseNotes = 1003;
inline constexpr int kShowcaseGalvanised = 1011;
inline constexpr int kShowcaseWelded = 1012;
inline constexpr int kShowcaseLeft = 1013;
inline constexpr int kShowcaseRight = 1014;
inline constexpr int kShowcasePushLike = 1015;
inline constexpr int kShowcaseProfile = 1020;
inline constexpr int kShowcaseGrade = 1021;
inline constexpr int kShowcaseList = 1030;
inline constexpr int kShowcaseTabs = 1040;
inline constexpr int kShowcaseReport = 1041;
inline constexpr int kShowcaseIcons = 1042;
inline constexpr int kShowcaseRich = 1050;
inline constexpr int kShowcaseSwatch = 1060;

class KXQT_API ShowcaseDialog : public CDialog {
public:
    explicit ShowcaseDialog(HWND parent = nullptr);

    // Commands as (control id, notification code), WM_NOTIFY codes as (control id, code).
    std::vector<std::pair<int, int>> commands;
    std::vector<std::pair<int, int>> notifications;

    // Makes the window modeless from the backend's own resources (the caller destroys it).
    bool createModeless(HWND parent = nullptr);

protected:
    BOOL OnInitDialog() override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result) override;
};

// Switches to the backend's own resources for a scope.
class KXQT_API ShowcaseResources {
public:
    ShowcaseResources();
    ~ShowcaseResources();
    ShowcaseResources(const ShowcaseResources&) = delete;
    ShowcaseResources& operator=(const ShowcaseResources&) = delete;

private:
    HINSTANCE m_previous;
};

} // namespace kxqt
