#include "gui/NForm.h"
#include "gui/QtText.h"
#include "platform/Cp1251.h"
#include "platform/Streams.h"
#include "settings/Settings.h"

#include <QAction>
#include <QDialog>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QTabWidget>
#include <gtest/gtest.h>
#include <sys/stat.h>

using namespace kvelo;

namespace {

class NFormTest : public ::testing::Test {
protected:
    std::string root;
    void SetUp() override {
        char pattern[] = "/tmp/kvelo-nform-XXXXXX";
        root = std::string(::mkdtemp(pattern)) + "/";
    }
    void TearDown() override {
        FreeIniFiles();
        std::system(("rm -rf '" + root + "'").c_str());
    }
    void writeLang(const std::string& name, const std::string& utf8) {
        const std::string bytes = cp1251::fromUtf8(utf8);
        WriteFileAtomic(root + name, bytes.data(), bytes.size());
    }
    void start() {
        SettingsPaths paths;
        paths.programDir = root;
        paths.dataHome = root + "home";
        paths.tempRoot = root;
        CreateIniFiles(paths);
    }
};

// A small form with the kinds of components the language file addresses.
struct Form {
    QDialog dialog;
    QPushButton* ok = new QPushButton(QStringLiteral("OK"), &dialog);
    QLabel* label = new QLabel(QStringLiteral("Язык"), &dialog);
    QTabWidget* tabs = new QTabWidget(&dialog);
    QWidget* page = new QWidget;
    QMenu* menu = new QMenu(QStringLiteral("Файл"), &dialog);
    QAction* action = new QAction(QStringLiteral("Открыть"), &dialog);
    Form() {
        dialog.setObjectName(QStringLiteral("FrmSetup"));
        dialog.setWindowTitle(QStringLiteral("designed"));
        ok->setObjectName(QStringLiteral("Button1"));
        label->setObjectName(QStringLiteral("Label1"));
        page->setObjectName(QStringLiteral("TabBase"));
        tabs->addTab(page, QStringLiteral("Базы"));
        menu->setObjectName(QStringLiteral("NFile"));
        action->setObjectName(QStringLiteral("NOpen"));
    }
};

TEST_F(NFormTest, SetsCaptionsAndHintsOfEveryKindOfComponent) {
    writeLang("kvelo.rus",
              "[FrmSetup]\nCaption=Settings\nbutton1.caption=&Yes\nLabel1.Caption=Language\n"
              "TabBase.Caption=Bases\nTabBase.Hint=Catalogue\nNFile.Caption=&File\n"
              "NOpen.Caption=&Open\nNOpen.Hint=Open it|Opens the selected node\n"
              "Button1.Font=Arial\n");
    start();
    Form f;
    TNForm form(&f.dialog);
    form.Localize();
    EXPECT_EQ(f.dialog.windowTitle(), QStringLiteral("Settings"));
    EXPECT_EQ(f.ok->text(), QStringLiteral("&Yes"));
    EXPECT_EQ(f.label->text(), QStringLiteral("Language"));
    EXPECT_EQ(f.tabs->tabText(0), QStringLiteral("Bases"));
    EXPECT_EQ(f.tabs->tabToolTip(0), QStringLiteral("Catalogue"));
    EXPECT_EQ(f.menu->title(), QStringLiteral("&File"));
    EXPECT_EQ(f.action->text(), QStringLiteral("&Open"));
    EXPECT_EQ(f.action->toolTip(), QStringLiteral("Open it"));
    EXPECT_EQ(f.action->statusTip(), QStringLiteral("Opens the selected node"));
}

TEST_F(NFormTest, MissingSectionKeepsDesignedTexts) {
    start();
    Form f;
    TNForm form(&f.dialog);
    form.Localize();
    EXPECT_EQ(f.dialog.windowTitle(), QStringLiteral("designed"));
    EXPECT_EQ(f.label->text(), QStringLiteral("Язык"));
}

TEST_F(NFormTest, RelocalizesAfterTheLanguageChanges) {
    writeLang("kvelo.rus", "[FrmSetup]\nButton1.Caption=Да\n");
    writeLang("kvelo.eng", "[FrmSetup]\nButton1.Caption=Yes\n");
    writeLang("kvel.ini", "[SETUP]\nLANGUAGE=kvelo.rus\n");
    start();
    Form f;
    TNForm form(&f.dialog);
    form.Localize();
    EXPECT_EQ(f.ok->text(), QStringLiteral("Да"));
    AppSettings().SettingsFile->WriteString("SETUP", "LANGUAGE", "kvelo.eng");
    CreateLangFiles();
    EXPECT_EQ(f.ok->text(), QStringLiteral("Yes"));
}

TEST_F(NFormTest, TextHelpersConvertCodePage1251) {
    writeLang("kvelo.rus", "[Strings]\nnoEdit=Нельзя\n");
    start();
    EXPECT_EQ(LoadStr("noEdit"), QStringLiteral("Нельзя"));
    EXPECT_EQ(LoadStr("missingKey"), QStringLiteral("missingKey"));
    EXPECT_EQ(ToCp1251(QStringLiteral("Ўзбек")), cp1251::fromUtf8("Ўзбек"));
    EXPECT_EQ(ToCp1251(QStringLiteral("\u4e2d")), "?");
}

} // namespace
