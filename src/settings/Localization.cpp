#include "Localization.h"

#include "Settings.h"
#include "platform/Cp1251.h"

namespace kvelo {
namespace {

void applyKey(ILocalizableForm& form, const TIniFile& lang, const std::string& section,
              const std::string& key) {
    const std::string upper = AnsiUpperCase(key);
    if (upper == "CAPTION") return;
    const size_t dot = upper.find('.');
    if (dot == std::string::npos) return;
    const std::string componentName = key.substr(0, dot);
    const std::string property = upper.substr(dot + 1, 255);
    ILocalizableComponent* component = form.FindComponent(componentName);
    if (!component) return;
    if (property == "CAPTION")
        component->SetCaption(lang.ReadString(section, key, component->Caption()));
    else if (property == "HINT")
        component->SetHint(lang.ReadString(section, key, component->Hint()));
}

} // namespace

void Localize(ILocalizableForm& form) {
    Settings& s = AppSettings();
    if (!s.LanguageFile) CreateIniFiles();
    const TIniFile& lang = *s.LanguageFile;
    const std::string section = form.FormName();
    form.SetCaption(lang.ReadString(section, "Caption", form.Caption()));
    if (section == "FrmMain") form.SetCaption(MainWindowCaption());
    for (const std::string& key : lang.ReadSection(section))
        applyKey(form, lang, section, key);
}

} // namespace kvelo
