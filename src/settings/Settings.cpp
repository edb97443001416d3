#include "Settings.h"

#include "platform/Cp1251.h"
#include "platform/DateTime.h"
#include "platform/Streams.h"

#include <cerrno>
#include <cstdlib>
#include <dirent.h>
#include <map>
#include <sys/stat.h>
#include <unistd.h>

namespace kvelo {
namespace {

const std::string& probePrefix() {
    static const std::string prefix = cp1251::fromUtf8("ИПС KVELO - ");
    return prefix;
}

std::string withSlash(std::string dir) {
    if (!dir.empty() && dir.back() != '/') dir += '/';
    return dir;
}

std::string executableDir() {
    char buf[4096];
    const ssize_t n = ::readlink("/proc/self/exe", buf, sizeof buf - 1);
    if (n <= 0) return "./";
    std::string path(buf, static_cast<size_t>(n));
    return path.substr(0, path.rfind('/') + 1);
}

std::string envOr(const char* name, const std::string& fallback) {
    const char* v = std::getenv(name);
    return v && *v ? std::string(v) : fallback;
}

bool isDirectory(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

// Creates `path` and its missing parents with `mode`; true when it exists afterwards.
bool makePath(const std::string& path, mode_t mode) {
    for (size_t slash = path.find('/', 1); slash != std::string::npos;
         slash = path.find('/', slash + 1))
        ::mkdir(path.substr(0, slash).c_str(), mode);
    ::mkdir(path.c_str(), mode);
    return isDirectory(path);
}

// A folder only this user can use: owned by us, not a symbolic link, no
// access for group or others.
bool isPrivateDirectory(const std::string& path) {
    struct stat st {};
    if (::lstat(path.c_str(), &st) != 0 || !S_ISDIR(st.st_mode) || st.st_uid != ::getuid())
        return false;
    if ((st.st_mode & 077) != 0 && ::chmod(path.c_str(), 0700) != 0) return false;
    return true;
}

// The private temporary folder: $XDG_RUNTIME_DIR/Kvelo, else
// <temp>/Kvelo-<uid>; a name another user took over is never used, a fresh
// mkdtemp folder is made instead.
std::string privateTempDir(const std::string& tempRoot) {
    std::string candidate;
    const std::string runtime = envOr("XDG_RUNTIME_DIR", "");
    if (tempRoot.empty() && !runtime.empty() && isDirectory(runtime))
        candidate = withSlash(runtime) + "Kvelo";
    const std::string root = withSlash(tempRoot.empty() ? envOr("TMPDIR", "/tmp") : tempRoot);
    if (candidate.empty()) candidate = root + "Kvelo-" + std::to_string(::getuid());
    ::mkdir(candidate.c_str(), 0700);
    if (isPrivateDirectory(candidate)) return withSlash(candidate);
    std::string pattern = root + "Kvelo-XXXXXX";
    if (::mkdtemp(pattern.data())) return withSlash(pattern);
    return {};
}

SettingsPaths& lastPaths() {
    static SettingsPaths paths;
    return paths;
}

std::map<int, std::function<void()>>& languageHooks() {
    static std::map<int, std::function<void()>> hooks;
    return hooks;
}

void openFiles(Settings& s) {
    s.SettingsFile = std::make_unique<TIniFile>(s.ProgramDir + "kvel.ini");
    s.LanguageFileName = s.SettingsFile->ReadString("SETUP", "LANGUAGE", "kvelo.rus");
    s.LanguageFile = std::make_unique<TIniFile>(s.ProgramDir + s.LanguageFileName);
    s.DefaultFontSize = s.SettingsFile->ReadInteger("SETUP", "FONTSIZE", 12);
    s.LanguageIndex = LanguageIndexOf(s.LanguageFileName);
}

} // namespace

Settings& AppSettings() {
    static Settings settings;
    return settings;
}

int LanguageIndexOf(std::string_view name) {
    if (name == "kvelo.rus") return 0;
    if (name == "kvelo.uz") return 1;
    return 2;
}

void CreateIniFiles(const SettingsPaths& paths) {
    lastPaths() = paths;
    Settings& s = AppSettings();
    s.ProgramDir = withSlash(paths.programDir.empty() ? executableDir() : paths.programDir);
    s.DataDir = s.ProgramDir + "DATA/";
    const std::string home = envOr("HOME", "/tmp");
    s.SystemRoot = withSlash(paths.dataHome.empty() ? envOr("XDG_DATA_HOME", home + "/.local/share")
                                                    : paths.dataHome);
    const std::string programName = paths.programName.empty() ? "kvelo" : paths.programName;
    s.UserDir = s.SystemRoot + "Kvelo/" + programName + "/";
    makePath(s.UserDir.substr(0, s.UserDir.size() - 1), 0700);
    s.TempDir = privateTempDir(paths.tempRoot);

    openFiles(s);
    s.ApplicationTitle = s.SettingsFile->ReadString("Setup", "Title", "");
    if (s.ApplicationTitle.empty()) s.ApplicationTitle = cp1251::fromUtf8("Сальдовик");

    const std::string hyper = s.SystemRoot + "Kvelo/Hyper.ini";
    struct stat st {};
    s.LinkStatsFile = ::stat(hyper.c_str(), &st) == 0 ? std::make_unique<TIniFile>(hyper) : nullptr;
    s.TodayText = DateToStr(Today());
    s.LinksAdded = 0;
}

void FreeIniFiles() {
    Settings& s = AppSettings();
    s.LanguageFile.reset();
    s.SettingsFile.reset();
}

void CreateLangFiles() {
    Settings& s = AppSettings();
    if (s.ProgramDir.empty()) {
        CreateIniFiles(lastPaths());
    } else {
        openFiles(s);
    }
    // Copy first: a hook may register or remove hooks.
    const auto hooks = languageHooks();
    for (const auto& [id, hook] : hooks)
        hook();
}

int OnLanguageChanged(std::function<void()> hook) {
    static int nextId = 0;
    languageHooks()[++nextId] = std::move(hook);
    return nextId;
}

void RemoveLanguageHook(int id) {
    languageHooks().erase(id);
}

std::string kvLoadStr(std::string_view key) {
    Settings& s = AppSettings();
    if (!s.LanguageFile) CreateIniFiles(lastPaths());
    return s.LanguageFile->ReadString("Strings", key, key);
}

std::string SingleInstanceProbe() {
    return probePrefix() + AnsiUpperCase(AppSettings().ApplicationTitle);
}

std::string MainWindowCaption() {
    const Settings& s = AppSettings();
    const std::string title =
        s.SettingsFile ? s.SettingsFile->ReadString("Setup", "Title", "") : "";
    return probePrefix() + AnsiUpperCase(title);
}

void ClearFolder(const std::string& folder) {
    const std::string dir = withSlash(folder);
    DIR* d = ::opendir(dir.c_str());
    if (!d) return;
    while (const dirent* entry = ::readdir(d)) {
        const std::string path = dir + entry->d_name;
        struct stat st {};
        if (::lstat(path.c_str(), &st) == 0 && !S_ISDIR(st.st_mode)) ::unlink(path.c_str());
    }
    ::closedir(d);
}

std::optional<SplashPicture> NextSplashPicture(const std::string& dataDir) {
    try {
        TIniFile info(withSlash(dataDir) + "Инфо.ini");
        const int count = info.ReadInteger("SETUP", "Count", 0);
        if (count <= 0) return std::nullopt;
        int number = info.ReadInteger("SET", "Number", 1);
        if (count < number) number = count;
        SplashPicture picture;
        picture.intervalMs = info.ReadInteger("SET", "Interval", 4000);
        picture.path = withSlash(dataDir) + "Resource/Kvelo" + std::to_string(number) + ".bmp";
        struct stat st {};
        if (::stat(picture.path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return std::nullopt;
        try {
            info.WriteInteger("SET", "Number", number < count ? number + 1 : 1);
        } catch (const EStreamError&) {
            // A read-only DATA folder only means the same picture next time.
        }
        return picture;
    } catch (const std::exception&) {
        return std::nullopt;
    }
}

} // namespace kvelo
