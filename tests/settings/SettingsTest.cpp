#include "SettingsFixture.h"

#include <fstream>
#include <sys/stat.h>

using namespace kvelo;
using kvelo::testing::SettingsFixture;

namespace {
bool exists(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0;
}
std::string cp(const char* utf8) { return cp1251::fromUtf8(utf8); }
} // namespace

TEST_F(SettingsFixture, FoldersAndDefaultsWithoutAnyIniFile) {
    start();
    const Settings& s = AppSettings();
    EXPECT_EQ(s.ProgramDir, root + "prog/");
    EXPECT_EQ(s.DataDir, root + "prog/DATA/");
    EXPECT_EQ(s.UserDir, root + "home/Kvelo/kvelo/");
    EXPECT_TRUE(exists(s.UserDir));
    EXPECT_EQ(s.LanguageFileName, "kvelo.rus");
    EXPECT_EQ(s.LanguageIndex, 0);
    EXPECT_EQ(s.DefaultFontSize, 12);
    EXPECT_EQ(s.ApplicationTitle, cp("Сальдовик"));
    EXPECT_EQ(s.LinkStatsFile, nullptr);
    EXPECT_EQ(kvLoadStr("noEdit"), "noEdit");
    EXPECT_EQ(s.TodayText.size(), 10u);
}

TEST_F(SettingsFixture, TempDirIsPrivateAndNeverAFolderOfAnotherOwner) {
    // A world-writable name prepared in advance (as another user could) is
    // made private when it is ours; a symbolic link is never followed.
    ::mkdir((root + "tmp").c_str(), 01777);
    ::symlink("/", (root + "tmp/Kvelo-" + std::to_string(::getuid())).c_str());
    start();
    const std::string temp = AppSettings().TempDir;
    ASSERT_FALSE(temp.empty());
    EXPECT_NE(temp, root + "tmp/Kvelo-" + std::to_string(::getuid()) + "/");
    struct stat st {};
    ASSERT_EQ(::lstat(temp.substr(0, temp.size() - 1).c_str(), &st), 0);
    EXPECT_TRUE(S_ISDIR(st.st_mode));
    EXPECT_EQ(st.st_mode & 077, 0u);
}

TEST_F(SettingsFixture, LanguageTitleAndFontSizeFromKvelIni) {
    writeCp1251("prog/kvel.ini", "[Setup]\nTitle=Бухгалтер\n[SETUP]\nLANGUAGE=kvelo.uz\nFONTSIZE=14\n");
    writeCp1251("prog/kvelo.uz", "[Strings]\nnoEdit=Tahrirlab bo'lmaydi\n");
    start();
    const Settings& s = AppSettings();
    EXPECT_EQ(s.LanguageIndex, 1);
    EXPECT_EQ(s.DefaultFontSize, 14);
    EXPECT_EQ(kvLoadStr("NOEDIT"), "Tahrirlab bo'lmaydi");
    EXPECT_EQ(SingleInstanceProbe(), cp("ИПС KVELO - БУХГАЛТЕР"));
    EXPECT_EQ(MainWindowCaption(), cp("ИПС KVELO - БУХГАЛТЕР"));
}

TEST_F(SettingsFixture, EmptyTitleLeavesTheCaptionEndingInADash) {
    start();
    EXPECT_EQ(MainWindowCaption(), cp("ИПС KVELO - "));
    EXPECT_EQ(SingleInstanceProbe(), cp("ИПС KVELO - САЛЬДОВИК"));
}

TEST_F(SettingsFixture, LanguageIndexByFileName) {
    EXPECT_EQ(LanguageIndexOf("kvelo.rus"), 0);
    EXPECT_EQ(LanguageIndexOf("kvelo.uz"), 1);
    EXPECT_EQ(LanguageIndexOf("kvelo.eng"), 2);
    EXPECT_EQ(LanguageIndexOf("KVELO.RUS"), 2);
}

TEST_F(SettingsFixture, CreateLangFilesRereadsAndRunsHooks) {
    start();
    writeCp1251("prog/kvel.ini", "[SETUP]\nLANGUAGE=kvelo.eng\nFONTSIZE=not a number\n");
    writeCp1251("prog/kvelo.eng", "[Strings]\nnoFind=Nothing found\n");
    int calls = 0;
    const int id = OnLanguageChanged([&] { ++calls; });
    FreeIniFiles();
    CreateLangFiles();
    RemoveLanguageHook(id);
    CreateLangFiles();
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(AppSettings().LanguageIndex, 2);
    EXPECT_EQ(AppSettings().DefaultFontSize, 12);
    EXPECT_EQ(kvLoadStr("noFind"), "Nothing found");
}

TEST_F(SettingsFixture, LinkStatsFileOnlyWhenItExists) {
    ::mkdir((root + "home").c_str(), 0700);
    ::mkdir((root + "home/Kvelo").c_str(), 0700);
    writeCp1251("home/Kvelo/Hyper.ini", "[01.01.2026]\n");
    start();
    ASSERT_NE(AppSettings().LinkStatsFile, nullptr);
}

TEST_F(SettingsFixture, ClearFolderDeletesFilesButNotSubfolders) {
    start();
    const std::string temp = AppSettings().TempDir;
    std::ofstream(temp + "old.rtf") << "x";
    std::ofstream(temp + ".hidden") << "x";
    ::mkdir((temp + "sub").c_str(), 0700);
    std::ofstream(temp + "sub/keep") << "x";
    ClearFolder(temp);
    EXPECT_FALSE(exists(temp + "old.rtf"));
    EXPECT_FALSE(exists(temp + ".hidden"));
    EXPECT_TRUE(exists(temp + "sub/keep"));
    ClearFolder(root + "no-such-folder"); // nothing happens
}

// The rotating splash picture: (Count, Number, picture present) -> (shown, stored Number).
TEST_F(SettingsFixture, RotatingSplashPicture) {
    struct Case { int count; int number; bool present; int shown; int stored; } cases[] = {
        {3, 1, true, 1, 2},
        {3, 3, true, 3, 1},
        {3, 7, true, 3, 1},  // Number above Count shows picture Count and stores 1
        {3, 2, false, 0, 2}, // a missing picture leaves Number unchanged
        {0, 1, true, 0, 1},  // no rotation
    };
    start();
    const std::string data = AppSettings().DataDir;
    ::mkdir((data + "Resource").c_str(), 0755);
    for (const auto& c : cases) {
        writeCp1251("prog/DATA/Инфо.ini", "[SETUP]\nCount=" + std::to_string(c.count) +
                                             "\n[SET]\nNumber=" + std::to_string(c.number) +
                                             "\nInterval=2500\n");
        for (int n = 1; n <= 3; ++n) std::remove((data + "Resource/Kvelo" + std::to_string(n) + ".bmp").c_str());
        if (c.present)
            for (int n = 1; n <= 3; ++n) std::ofstream(data + "Resource/Kvelo" + std::to_string(n) + ".bmp") << "BM";
        const auto picture = NextSplashPicture(data);
        if (c.shown == 0) {
            EXPECT_FALSE(picture) << c.count << "/" << c.number;
        } else {
            ASSERT_TRUE(picture) << c.count << "/" << c.number;
            EXPECT_EQ(picture->path, data + "Resource/Kvelo" + std::to_string(c.shown) + ".bmp");
            EXPECT_EQ(picture->intervalMs, 2500);
        }
        EXPECT_EQ(TIniFile(data + "Инфо.ini").ReadInteger("SET", "Number", -1), c.stored)
            << c.count << "/" << c.number;
    }
}
