// A throw-away program folder, data home and temporary root for tests of the
// process-wide settings.
#pragma once

#include "platform/Cp1251.h"
#include "platform/Streams.h"
#include "settings/Settings.h"

#include <cstdlib>
#include <gtest/gtest.h>
#include <string>
#include <sys/stat.h>

namespace kvelo::testing {

class SettingsFixture : public ::testing::Test {
protected:
    std::string root;
    void SetUp() override {
        char pattern[] = "/tmp/kvelo-settings-XXXXXX";
        root = std::string(::mkdtemp(pattern)) + "/";
        ::mkdir((root + "prog").c_str(), 0755);
        ::mkdir((root + "prog/DATA").c_str(), 0755);
    }
    void TearDown() override {
        FreeIniFiles();
        std::system(("rm -rf '" + root + "'").c_str());
    }
    // Writes a file below the root; the text is UTF-8 and stored as code page 1251.
    void writeCp1251(const std::string& relative, const std::string& utf8) {
        const std::string bytes = cp1251::fromUtf8(utf8);
        WriteFileAtomic(root + relative, bytes.data(), bytes.size());
    }
    void start() {
        SettingsPaths paths;
        paths.programDir = root + "prog";
        paths.dataHome = root + "home";
        paths.tempRoot = root + "tmp";
        ::mkdir(paths.tempRoot.c_str(), 01777);
        CreateIniFiles(paths);
    }
};

} // namespace kvelo::testing
