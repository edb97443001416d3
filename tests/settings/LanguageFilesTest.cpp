#include "platform/IniFile.h"

#include <gtest/gtest.h>

using namespace kvelo;

// Every message the program shows by key must exist in every language file,
// and every file must list the languages for the settings dialog.
TEST(LanguageFiles, EveryFileHasEveryMessageKeyAndTheLanguageList) {
    const char* keys[] = {
        "Base", "DateRenew", "DocCount", "FindNo", "askFind", "changeDoc", "compRestart",
        "dblBook", "delBook", "delDoc", "delFolder", "docExcl", "errBase", "errCmd",
        "errCreateLevel", "errTree", "findDoc", "infFolder", "kvlBase", "newDoc", "newFolder",
        "noDocument", "noEdit", "noFind", "noLocFind", "noReqizit", "orgnDoc", "resFind",
        "saveChange", "typeDoc", "usrBase", "usrBook",
    };
    for (const char* file : {"kvelo.rus", "kvelo.uz", "kvelo.eng"}) {
        const TIniFile lang(std::string(KVELO_LANG_DIR) + "/" + file);
        for (const char* key : keys)
            EXPECT_FALSE(lang.ReadString("Strings", key, "").empty()) << file << ": " << key;
        const auto languages = lang.ReadSectionValues("LANGUAGES");
        ASSERT_EQ(languages.size(), 3u) << file;
        EXPECT_EQ(languages[0].second, "kvelo.rus");
        EXPECT_EQ(languages[1].second, "kvelo.uz");
        EXPECT_EQ(languages[2].second, "kvelo.eng");
        // The format strings keep their one placeholder.
        EXPECT_NE(lang.ReadString("Strings", "FindNo", "").find("%d"), std::string::npos) << file;
        EXPECT_NE(lang.ReadString("Strings", "findDoc", "").find("%d"), std::string::npos) << file;
        EXPECT_NE(lang.ReadString("Strings", "noLocFind", "").find("%s"), std::string::npos) << file;
    }
}
