// For the Qt backend's tests: Qt started offscreen once, the Qt backend installed for each test and
// the headless one put back after it, and a clean window layer.
#pragma once

#include "platform/qt/QtBackend.h"
#include "platform/qt/QtMirror.h"
#include "platform/win/Window.h"

#include <QApplication>
#include <QWidget>

#include <gtest/gtest.h>

#include <string>

namespace kxqt::testing {

class QtTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::string error;
        if (!startQt(QtDisplay::Offscreen, &error))
            GTEST_SKIP() << "Qt cannot start offscreen, so the Qt backend is not tested: " << error;
        ASSERT_TRUE(installQtBackend());
        mirror = installedMirror();
        ASSERT_NE(mirror, nullptr);
    }
    void TearDown() override
    {
        if (mirror == nullptr)
            return;
        setModalDialogHook({});
        kxwin::resetWindowLayer();
        removeQtBackend();
        QApplication::processEvents();  // the widgets of destroyed windows go here
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    QWidget* widget(HWND hwnd)
    {
        syncMirror();
        return mirror->widgetFor(hwnd);
    }

    WindowMirror* mirror = nullptr;
};

} // namespace kxqt::testing
