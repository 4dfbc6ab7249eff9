// For tests: routes the user agent's failures (unexpected dialogs, clicks on disabled controls...)
// to GoogleTest, and gives every test a clean window layer.
#pragma once

#include "platform/win/UserAgent.h"
#include "platform/win/Window.h"

#include <gtest/gtest.h>

namespace kxwin::testing {

class WindowLayerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        kxwin::UserAgent::setFailureHandler([](const std::string& what) { ADD_FAILURE() << what; });
    }
    void TearDown() override
    {
        kxwin::resetWindowLayer();
        kxwin::UserAgent::setFailureHandler({});
    }
};

} // namespace kxwin::testing
