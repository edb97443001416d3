// Runs the database tests with the process-wide settings pointed at a
// throw-away folder (no language file, so kvLoadStr answers with the key).
#include "settings/Settings.h"

#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>

namespace {

class SettingsEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        char pattern[] = "/tmp/kvelo-bases-settings-XXXXXX";
        root_ = ::mkdtemp(pattern);
        std::filesystem::create_directories(root_ + "/prog/DATA");
        std::filesystem::create_directories(root_ + "/tmp");
        kvelo::SettingsPaths paths;
        paths.programDir = root_ + "/prog";
        paths.dataHome = root_ + "/home";
        paths.tempRoot = root_ + "/tmp";
        kvelo::CreateIniFiles(paths);
    }
    void TearDown() override {
        kvelo::FreeIniFiles();
        std::filesystem::remove_all(root_);
    }

private:
    std::string root_;
};

} // namespace

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    ::testing::AddGlobalTestEnvironment(new SettingsEnvironment);
    return RUN_ALL_TESTS();
}
