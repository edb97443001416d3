#include "bases/DataFolder.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

namespace kvelo {
namespace {

char AsciiLower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool EndsWithIgnoringAsciiCase(const std::string& name, const std::string& suffix) {
    if (name.size() < suffix.size()) return false;
    return std::equal(suffix.begin(), suffix.end(), name.end() - suffix.size(),
                      [](char a, char b) { return AsciiLower(a) == AsciiLower(b); });
}

} // namespace

std::vector<std::string> ListFilesEndingWith(const std::string& folder, const std::string& suffix) {
    std::vector<std::string> names;
    std::error_code error;
    for (std::filesystem::directory_iterator it(folder, error), end; !error && it != end;
         it.increment(error)) {
        std::error_code statError;
        if (!it->is_regular_file(statError)) continue;
        std::string name = it->path().filename().string();
        if (EndsWithIgnoringAsciiCase(name, suffix)) names.push_back(std::move(name));
    }
    std::sort(names.begin(), names.end());
    return names;
}

std::string JoinPath(const std::string& folder, const std::string& name) {
    return (std::filesystem::path(folder) / name).string();
}

} // namespace kvelo
