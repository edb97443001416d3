// The process-wide settings of the program: its folders, the settings file
// "kvel.ini", the language file, the interface language and default font
// size, computed once at start by CreateIniFiles.
#pragma once

#include "platform/IniFile.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace kvelo {

struct Settings {
    std::string ProgramDir;       // folder of the program (or --root), with a trailing '/'
    std::string DataDir;          // ProgramDir + "DATA/"
    std::string SystemRoot;       // the XDG data home, with a trailing '/'
    std::string UserDir;          // SystemRoot + "Kvelo/" + program name + '/'
    std::string TempDir;          // private temporary folder of this user, trailing '/'
    std::string ApplicationTitle; // "Setup"/"Title" of kvel.ini, or "Сальдовик" (code page 1251)
    std::string LanguageFileName; // "SETUP"/"LANGUAGE", default "kvelo.rus"
    int LanguageIndex = 0;        // 0 kvelo.rus, 1 kvelo.uz, 2 any other
    int DefaultFontSize = 12;     // "SETUP"/"FONTSIZE"
    std::string TodayText;        // today's date in the short date format
    int LinksAdded = 0;           // links created since the last save of a document

    std::unique_ptr<TIniFile> SettingsFile;  // ProgramDir + "kvel.ini"
    std::unique_ptr<TIniFile> LanguageFile;  // ProgramDir + LanguageFileName
    std::unique_ptr<TIniFile> LinkStatsFile; // SystemRoot + "Kvelo/Hyper.ini", only if it exists
};

// Where CreateIniFiles takes its folders from; empty fields take the defaults
// (the executable's folder, $XDG_DATA_HOME or ~/.local/share, the system
// temporary folder).
struct SettingsPaths {
    std::string programDir;
    std::string programName; // the executable's name without extension
    std::string dataHome;
    std::string tempRoot;
};

// The settings of this process.
Settings& AppSettings();

// Computes every setting and opens the settings and language files.
void CreateIniFiles(const SettingsPaths& paths = {});
// Closes the language and settings files.
void FreeIniFiles();
// Re-opens both files, re-reads LANGUAGE and FONTSIZE, recomputes
// LanguageIndex, and calls every hook registered with OnLanguageChanged (the
// GUI re-localizes its forms and applies the font size there).
void CreateLangFiles();
// Registers a hook run at the end of CreateLangFiles; returns an id for RemoveLanguageHook.
int OnLanguageChanged(std::function<void()> hook);
void RemoveLanguageHook(int id);

// The localized text of a message key ("Strings" section of the language
// file); the key itself when it is missing. Code page 1251.
std::string kvLoadStr(std::string_view key);

// The language index of a language file name.
int LanguageIndexOf(std::string_view languageFileName);

// "ИПС KVELO - " + the application title in upper case (code page 1251):
// the main window caption a second copy looks for.
std::string SingleInstanceProbe();
// The main window caption: "ИПС KVELO - " + "Setup"/"Title" in upper case.
std::string MainWindowCaption();

// Deletes every file directly in `folder`; files that cannot be deleted and
// sub-folders are left alone.
void ClearFolder(const std::string& folder);

// The rotating splash picture of "Инфо.ini": which picture to show and the
// interval, with "SET"/"Number" advanced for the next start.
struct SplashPicture {
    std::string path; // DataDir + "Resource/Kvelo" + N + ".bmp"
    int intervalMs = 4000;
};
// Nothing when Count <= 0 or the picture file is missing (Number then stays
// unchanged). Otherwise "SET"/"Number" is advanced (wrapping to 1 after
// Count) before returning, whether or not the caller manages to load it.
std::optional<SplashPicture> NextSplashPicture(const std::string& dataDir);

} // namespace kvelo
