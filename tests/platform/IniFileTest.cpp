#include "platform/Cp1251.h"
#include "platform/IniFile.h"
#include "platform/Streams.h"

#include <cstdio>
#include <gtest/gtest.h>

using namespace kvelo;

namespace {

class IniFileTest : public ::testing::Test {
protected:
    std::string path = ::testing::TempDir() + "kvelo_ini_test.ini";
    void write(const std::string& text) { WriteFileAtomic(path, text.data(), text.size()); }
    std::string read() {
        const auto bytes = ReadWholeFile(path);
        return std::string(bytes.begin(), bytes.end());
    }
    void TearDown() override { std::remove(path.c_str()); }
};

} // namespace

TEST_F(IniFileTest, NamesCompareWithoutCaseIncludingCyrillic) {
    write("[Setup]\r\nTitle = Бухгалтерия \r\n[LangBases]\r\nЗаконы=.kvl\r\n");
    TIniFile ini(path);
    EXPECT_EQ(ini.ReadString("SETUP", "title", "x"), "Бухгалтерия");
    const std::string upperKey = AnsiUpperCase(cp1251::fromUtf8("Законы"));
    write(cp1251::fromUtf8("[LangBases]\nЗаконы=.kvl\n"));
    ini.Reload();
    EXPECT_EQ(ini.ReadString("langbases", upperKey, ""), ".kvl");
}

TEST_F(IniFileTest, DefaultsForMissingFileSectionKeyAndBadNumbers) {
    TIniFile missing(path + ".absent");
    EXPECT_EQ(missing.ReadString("a", "b", "def"), "def");
    EXPECT_EQ(missing.ReadInteger("a", "b", 12), 12);
    EXPECT_TRUE(missing.ReadSection("a").empty());
    write("[SETUP]\nFONTSIZE=abc\nCount=7\nHex=0x1F\nBig=99999999999\nQuoted=\"a b\"\n");
    TIniFile ini(path);
    EXPECT_EQ(ini.ReadInteger("SETUP", "FONTSIZE", 12), 12);
    EXPECT_EQ(ini.ReadInteger("SETUP", "Count", 0), 7);
    EXPECT_EQ(ini.ReadInteger("SETUP", "Hex", 0), 31);
    EXPECT_EQ(ini.ReadInteger("SETUP", "Big", 5), 5);
    EXPECT_EQ(ini.ReadString("SETUP", "Quoted", ""), "a b");
}

TEST_F(IniFileTest, SectionKeysInFileOrderEachOnce) {
    write("[LANGUAGES]\nРусский=kvelo.rus\n; comment\nO'zbek=kvelo.uz\nrusский=dup\nEnglish=kvelo.eng\n"
          "[Other]\nx=1\n[languages]\nMore=more\n");
    TIniFile ini(path);
    const auto keys = ini.ReadSection("Languages");
    ASSERT_EQ(keys.size(), 5u);
    EXPECT_EQ(keys[0], "Русский");
    EXPECT_EQ(keys[1], "O'zbek");
    EXPECT_EQ(keys[4], "More");
    EXPECT_EQ(ini.ReadSections().size(), 2u);
}

TEST_F(IniFileTest, WriteBackKeepsTheRestOfTheFile) {
    write("; settings\r\n[SETUP]\r\nLANGUAGE=kvelo.rus\r\n\r\n[LangBases]\r\nA=.kvl\r\n");
    TIniFile ini(path);
    ini.WriteString("setup", "language", "kvelo.eng");
    ini.WriteInteger("SETUP", "FONTSIZE", 14);
    ini.WriteString("SET", "Number", "2");
    EXPECT_EQ(read(), "; settings\r\n[SETUP]\r\nLANGUAGE=kvelo.eng\r\nFONTSIZE=14\r\n\r\n"
                      "[LangBases]\r\nA=.kvl\r\n\r\n[SET]\r\nNumber=2\r\n");
    TIniFile again(path);
    EXPECT_EQ(again.ReadInteger("SETUP", "FONTSIZE", 0), 14);
    again.DeleteKey("SETUP", "FONTSIZE");
    again.EraseSection("LangBases");
    EXPECT_FALSE(TIniFile(path).ValueExists("SETUP", "FONTSIZE"));
    EXPECT_FALSE(TIniFile(path).SectionExists("LangBases"));
}

TEST_F(IniFileTest, WriteToAnUnwritablePlaceThrows) {
    TIniFile ini("/nonexistent-folder/kvel.ini");
    EXPECT_THROW(ini.WriteString("a", "b", "c"), EStreamError);
}
