// The Qt backend mirrors the window layer: every known dialog renders with each control at its
// layer rectangle, input through Qt widgets reaches the layer as the scripted user's does, modal
// loops end from a click, and one picture matches its committed reference.
#include "QtTestSupport.h"

#include "constraints/ConstraintLaunchers.h"
#include "core/PromptDialog.h"
#include "frame/ModelessDialogs.h"
#include "macro/MacroLaunchers.h"
#include "platform/qt/ShowcaseDialog.h"
#include "platform/win/CommCtrl.h"

#include <QCheckBox>
#include <QComboBox>
#include <QElapsedTimer>
#include <QImage>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTabBar>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <set>

// Qt's fontconfig keeps allocations to the end of the process; see lsan.supp beside this file.
extern "C" __attribute__((visibility("default"), used)) const char* __lsan_default_suppressions()
{
    return "leak:libfontconfig.so\n";
}

namespace {

using kxqt::testing::QtTest;

std::string tempPng(const std::string& name)
{
    return (std::filesystem::temp_directory_path() / ("kxqt-test-" + name + ".png")).string();
}

bool hasPair(const std::vector<std::pair<int, int>>& list, int id, int code)
{
    return std::find(list.begin(), list.end(), std::pair{id, code}) != list.end();
}

// A picture that is not one flat colour: something was drawn.
int distinctColours(const QImage& image)
{
    std::set<QRgb> colours;
    for (int y = 0; y < image.height(); y += 2)
        for (int x = 0; x < image.width(); x += 2)
            colours.insert(image.pixel(x, y));
    return static_cast<int>(colours.size());
}

class Showcase : public QtTest {
protected:
    void SetUp() override
    {
        QtTest::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        ASSERT_TRUE(dialog.createModeless());
        ::ShowWindow(dialog.m_hWnd, SW_SHOW);
        kxqt::syncMirror();
    }
    HWND item(int id) { return GetDlgItem(dialog.m_hWnd, id); }
    template <typename W>
    W* as(int id)
    {
        auto* w = qobject_cast<W*>(widget(item(id)));
        EXPECT_NE(w, nullptr) << "control " << id;
        return w;
    }
    kxqt::ShowcaseDialog dialog;
};

TEST_F(Showcase, EveryControlHasItsWidgetAtItsLayerRectangleWithItsText)
{
    for (HWND child : GetChildWindows(dialog.m_hWnd)) {
        QWidget* w = widget(child);
        ASSERT_NE(w, nullptr) << GetClassName(child) << " " << GetDlgCtrlID(child);
        const RECT r = GetWindowRectInParent(child);
        EXPECT_EQ(w->geometry(), QRect(r.left, r.top, r.width(), r.height())) << GetDlgCtrlID(child);
        EXPECT_EQ(w->isVisibleTo(w->window()), IsWindowVisible(child) != 0) << GetDlgCtrlID(child);
    }
    EXPECT_EQ(as<QLineEdit>(kxqt::kShowcaseName)->text(), "Beam 1");
    EXPECT_EQ(as<QCheckBox>(kxqt::kShowcaseWelded)->checkState(), Qt::PartiallyChecked);
    EXPECT_EQ(as<QComboBox>(kxqt::kShowcaseProfile)->currentText(), "HEB 300");
    EXPECT_EQ(as<QListWidget>(kxqt::kShowcaseList)->count(), 4);
    EXPECT_EQ(as<QPushButton>(IDOK)->text(), "OK");
    EXPECT_EQ(kxqt::installedMirror()->kindOf(item(kxqt::kShowcaseSwatch)), kxqt::MirrorKind::Painted);
}

TEST_F(Showcase, LayerChangesShowAndDisabledOrHiddenControlsFollow)
{
    SetWindowText(item(kxqt::kShowcaseName), "Column 7");
    EnableWindow(item(kxqt::kShowcaseGalvanised), FALSE);
    ::ShowWindow(item(kxqt::kShowcaseRich), SW_HIDE);
    SendMessage(item(kxqt::kShowcaseList), LB_SETCURSEL, 3);
    EXPECT_EQ(as<QLineEdit>(kxqt::kShowcaseName)->text(), "Column 7");
    EXPECT_FALSE(widget(item(kxqt::kShowcaseGalvanised))->isEnabled());
    EXPECT_TRUE(widget(item(kxqt::kShowcaseRich))->isHidden());
    EXPECT_EQ(as<QListWidget>(kxqt::kShowcaseList)->currentRow(), 3);
}

TEST_F(Showcase, TypingInTheLineEditReachesTheLayersEditWithChangeNotifications)
{
    SetFocus(item(kxqt::kShowcaseName));
    SendMessage(item(kxqt::kShowcaseName), EM_SETSEL, 0, -1);
    QTest::keyClicks(as<QLineEdit>(kxqt::kShowcaseName), "Rafter ");
    QKeyEvent umlaut(QEvent::KeyPress, Qt::Key_Adiaeresis, Qt::NoModifier, QStringLiteral("ä"));
    QApplication::sendEvent(as<QLineEdit>(kxqt::kShowcaseName), &umlaut);
    EXPECT_EQ(GetWindowText(item(kxqt::kShowcaseName)), "Rafter ä");
    EXPECT_TRUE(hasPair(dialog.commands, kxqt::kShowcaseName, EN_CHANGE));
    EXPECT_EQ(as<QLineEdit>(kxqt::kShowcaseName)->text(), "Rafter ä");
    // Tab goes through the layer's tab order; Qt's focus follows.
    QTest::keyClick(as<QLineEdit>(kxqt::kShowcaseName), Qt::Key_Tab);
    EXPECT_EQ(GetFocus(), item(kxqt::kShowcaseNotes));
    EXPECT_EQ(widget(dialog.m_hWnd)->focusWidget(), widget(item(kxqt::kShowcaseNotes)));
}

TEST_F(Showcase, ClickingCheckBoxesAndRadiosTogglesTheLayersButtons)
{
    QTest::mouseClick(as<QCheckBox>(kxqt::kShowcaseGalvanised), Qt::LeftButton);
    EXPECT_EQ(SendMessage(item(kxqt::kShowcaseGalvanised), BM_GETCHECK), BST_UNCHECKED);
    EXPECT_TRUE(hasPair(dialog.commands, kxqt::kShowcaseGalvanised, BN_CLICKED));
    EXPECT_EQ(as<QCheckBox>(kxqt::kShowcaseGalvanised)->checkState(), Qt::Unchecked);

    QTest::mouseClick(widget(item(kxqt::kShowcaseRight)), Qt::LeftButton);
    EXPECT_EQ(SendMessage(item(kxqt::kShowcaseRight), BM_GETCHECK), BST_CHECKED);
    EXPECT_EQ(SendMessage(item(kxqt::kShowcaseLeft), BM_GETCHECK), BST_UNCHECKED);
}

TEST_F(Showcase, PicksInComboListAndTabsAreTheLayersPicks)
{
    emit as<QComboBox>(kxqt::kShowcaseProfile)->activated(2);
    EXPECT_EQ(SendMessage(item(kxqt::kShowcaseProfile), CB_GETCURSEL), 2);
    EXPECT_TRUE(hasPair(dialog.commands, kxqt::kShowcaseProfile, CBN_SELCHANGE));

    auto* list = as<QListWidget>(kxqt::kShowcaseList);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(2)).center());
    EXPECT_EQ(SendMessage(item(kxqt::kShowcaseList), LB_GETCURSEL), 2);

    QTabBar* bar = widget(item(kxqt::kShowcaseTabs))->findChild<QTabBar*>();
    ASSERT_NE(bar, nullptr);
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(1).center());
    EXPECT_EQ(SendMessage(item(kxqt::kShowcaseTabs), TCM_GETCURSEL), 1);
    EXPECT_TRUE(hasPair(dialog.notifications, kxqt::kShowcaseTabs, TCN_SELCHANGE));
    kxqt::syncMirror();
    EXPECT_TRUE(widget(item(kxqt::kShowcaseReport))->isHidden());
    EXPECT_FALSE(widget(item(kxqt::kShowcaseIcons))->isHidden());
}

TEST_F(QtTest, AModalDialogRunsInQtsLoopUntilAClickOnOk)
{
    bool clicked = false;
    kxqt::setModalDialogHook([&](CDialog& dialog) {
        // The click comes from inside the running loop, as a person's does.
        QTimer::singleShot(0, [&, hwnd = dialog.m_hWnd] {
            clicked = true;
            QTest::mouseClick(mirror->widgetFor(GetDlgItem(hwnd, IDOK)), Qt::LeftButton);
        });
    });
    EXPECT_EQ(kxqt::runShowcaseDialog(), IDOK);
    EXPECT_TRUE(clicked);
}

TEST_F(QtTest, EveryKnownDialogRendersToAPictureThatIsNotBlank)
{
    struct Known {
        const char* name;
        int templateId;
        std::function<void()> open;
        std::function<void()> close;
    };
    MacroData macro;
    EditConstrData constraints;
    const Known known[] = {
        {"prompt", kxcore::kPromptDialogId, [] { runPromptDialog("Length", "Length in mm:", "300"); }, {}},
        {"macro", 8131, [&] { StartDlgMacro(macro); }, {}},
        {"constraints", 8715, [&] { StartDlgEditConstraints(constraints); }, [] { EndDlgEditConstraints(); }},
        {"showcase", kxqt::kShowcaseDialogId, [] { kxqt::runShowcaseDialog(); }, {}},
    };
    for (const Known& k : known) {
        const std::string path = tempPng(k.name);
        QElapsedTimer clock;
        clock.start();
        const kxqt::SnapshotResult result = kxqt::snapshotDialog(k.open, k.close, path);
        std::printf("[ measure  ] %s: opened, mirrored and rendered in %lld ms\n", k.name,
                    static_cast<long long>(clock.elapsed()));
        ASSERT_TRUE(result.ok) << k.name << ": " << result.error;
        EXPECT_EQ(result.templateId, k.templateId) << k.name;
        const QImage image(QString::fromStdString(path));
        ASSERT_FALSE(image.isNull()) << k.name;
        EXPECT_EQ(image.size(), QSize(result.width, result.height)) << k.name;
        EXPECT_GT(distinctColours(image), 8) << k.name << " looks blank";
        std::filesystem::remove(path);
    }
    for (HWND top : GetTopLevelWindows())
        EXPECT_FALSE(GetClassName(top) == kDialogClass && IsWindowVisible(top))
            << "dialog \"" << GetWindowText(top) << "\" is still open after its snapshot";
}

// Compares with the committed picture: the style, font, scale and screen are pinned, so only
// anti-aliasing may differ slightly between machines.
TEST_F(Showcase, ThePictureMatchesTheCommittedReference)
{
    const std::string actualPath = tempPng("showcase-actual");
    std::string error;
    ASSERT_TRUE(kxqt::renderWindowToPng(dialog.m_hWnd, actualPath, &error)) << error;
    const QImage actual = QImage(QString::fromStdString(actualPath)).convertToFormat(QImage::Format_RGB32);
    const QString referencePath = KXQT_REFERENCE_DIR "showcase.png";
    const QImage reference = QImage(referencePath).convertToFormat(QImage::Format_RGB32);
    ASSERT_FALSE(reference.isNull()) << "no reference picture " << referencePath.toStdString() << "; the picture is "
                                     << actualPath;
    ASSERT_EQ(actual.size(), reference.size());
    int differing = 0;
    constexpr int kChannelTolerance = 48;
    for (int y = 0; y < actual.height(); ++y) {
        for (int x = 0; x < actual.width(); ++x) {
            const QRgb a = actual.pixel(x, y);
            const QRgb b = reference.pixel(x, y);
            if (std::abs(qRed(a) - qRed(b)) > kChannelTolerance || std::abs(qGreen(a) - qGreen(b)) > kChannelTolerance ||
                std::abs(qBlue(a) - qBlue(b)) > kChannelTolerance)
                ++differing;
        }
    }
    const int allowed = actual.width() * actual.height() / 200;  // half a percent
    EXPECT_LE(differing, allowed) << "see " << actualPath;
}

} // namespace
