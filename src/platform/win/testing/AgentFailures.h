// For tests: routes the user agent's failures (unexpected dialogs, clicks on disabled controls...)
// to GoogleTest, and gives every test a clean window layer and a registry of its own, so that what
// one test (or one run) stores, such as a dialog's size, never reaches another.
#pragma once

#include "platform/win/Registry.h"
#include "platform/win/UserAgent.h"
#include "platform/win/Window.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>

namespace kxwin::testing {

class WindowLayerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        kxwin::UserAgent::setFailureHandler([](const std::string& what) { ADD_FAILURE() << what; });
        std::string pattern = (std::filesystem::temp_directory_path() / "kx-test-registry-XXXXXX").string();
        if (::mkdtemp(pattern.data()) != nullptr) {
            m_registryFolder = pattern;
            kxwin::setRegistryPath((m_registryFolder / "registry.sqlite3").c_str());
        }
    }
    void TearDown() override
    {
        kxwin::resetWindowLayer();
        kxwin::UserAgent::setFailureHandler({});
        if (!m_registryFolder.empty()) {
            kxwin::setRegistryPath(nullptr);
            std::error_code ignored;
            std::filesystem::remove_all(m_registryFolder, ignored);
        }
    }

private:
    std::filesystem::path m_registryFolder;
};

} // namespace kxwin::testing
