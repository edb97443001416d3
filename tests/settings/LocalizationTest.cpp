#include "SettingsFixture.h"
#include "settings/Localization.h"

#include <map>

using namespace kvelo;
using kvelo::testing::SettingsFixture;

namespace {

struct FakeComponent : ILocalizableComponent {
    std::string caption, hint;
    std::string Caption() const override { return caption; }
    void SetCaption(const std::string& t) override { caption = t; }
    std::string Hint() const override { return hint; }
    void SetHint(const std::string& t) override { hint = t; }
};

struct FakeForm : ILocalizableForm {
    std::string name, caption;
    std::map<std::string, FakeComponent> components; // upper-case names
    std::string FormName() const override { return name; }
    std::string Caption() const override { return caption; }
    void SetCaption(const std::string& t) override { caption = t; }
    ILocalizableComponent* FindComponent(std::string_view n) override {
        const auto it = components.find(AnsiUpperCase(n));
        return it == components.end() ? nullptr : &it->second;
    }
};

} // namespace

TEST_F(SettingsFixture, LocalizeSetsCaptionsAndHintsByComponentName) {
    writeCp1251("prog/kvelo.rus", "[FrmSetup]\nCaption=Настройки программы\nbutton2.caption=Отмена\n"
                                  "BUTTON1.Hint=Сохранить\nButton1.Font=Arial\nNoSuch.Caption=x\n"
                                  "JustAKey=y\nButton1.Caption=\n");
    start();
    FakeForm form;
    form.name = "FrmSetup";
    form.caption = "designed";
    form.components["BUTTON1"].caption = "OK";
    form.components["BUTTON2"].caption = "Cancel";
    Localize(form);
    EXPECT_EQ(form.caption, cp1251::fromUtf8("Настройки программы"));
    EXPECT_EQ(form.components["BUTTON2"].caption, cp1251::fromUtf8("Отмена")); // lower-case key works
    EXPECT_EQ(form.components["BUTTON1"].hint, cp1251::fromUtf8("Сохранить"));
    EXPECT_EQ(form.components["BUTTON1"].caption, ""); // an empty value is a value
}

TEST_F(SettingsFixture, LocalizeWithoutSectionKeepsDesignedTexts) {
    start();
    FakeForm form;
    form.name = "FormFind";
    form.caption = "designed";
    form.components["BTNOK"].caption = "OK";
    Localize(form);
    EXPECT_EQ(form.caption, "designed");
    EXPECT_EQ(form.components["BTNOK"].caption, "OK");
}

TEST_F(SettingsFixture, MainWindowCaptionIsComposedAfterItsSection) {
    writeCp1251("prog/kvel.ini", "[Setup]\nTitle=Налоги\n");
    writeCp1251("prog/kvelo.rus", "[FrmMain]\nCaption=ignored\n");
    start();
    FakeForm form;
    form.name = "FrmMain";
    Localize(form);
    EXPECT_EQ(form.caption, cp1251::fromUtf8("ИПС KVELO - НАЛОГИ"));
}
