#include "rtfengine/layout/FontMapping.h"

#include "platform/Cp1251.h"

#include <array>
#include <string>

namespace kvelo::layout {
namespace {

const QString kSans = QStringLiteral("Liberation Sans");
const QString kSerif = QStringLiteral("Liberation Serif");
const QString kMono = QStringLiteral("Liberation Mono");

struct NamedFamily {
    const char* windowsName; // lower case
    const QString* family;
    FontEncoding encoding;
};

// Windows fonts and their metric-compatible (or nearest) Liberation family.
const std::array<NamedFamily, 24> kFamilies{{
    {"arial", &kSans, FontEncoding::Cp1251},
    {"arial cyr", &kSans, FontEncoding::Cp1251},
    {"arial narrow", &kSans, FontEncoding::Cp1251},
    {"helvetica", &kSans, FontEncoding::Cp1251},
    {"helv", &kSans, FontEncoding::Cp1251},
    {"ms sans serif", &kSans, FontEncoding::Cp1251},
    {"tahoma", &kSans, FontEncoding::Cp1251},
    {"verdana", &kSans, FontEncoding::Cp1251},
    {"calibri", &kSans, FontEncoding::Cp1251},
    {"segoe ui", &kSans, FontEncoding::Cp1251},
    {"times new roman", &kSerif, FontEncoding::Cp1251},
    {"times new roman cyr", &kSerif, FontEncoding::Cp1251},
    {"times", &kSerif, FontEncoding::Cp1251},
    {"tms rmn", &kSerif, FontEncoding::Cp1251},
    {"ms serif", &kSerif, FontEncoding::Cp1251},
    {"cambria", &kSerif, FontEncoding::Cp1251},
    {"georgia", &kSerif, FontEncoding::Cp1251},
    {"courier new", &kMono, FontEncoding::Cp1251},
    {"courier new cyr", &kMono, FontEncoding::Cp1251},
    {"courier", &kMono, FontEncoding::Cp1251},
    {"lucida console", &kMono, FontEncoding::Cp1251},
    {"consolas", &kMono, FontEncoding::Cp1251},
    {"vazuri times new roman uz", &kSerif, FontEncoding::Uzbek},
    {"vazuri courier new uz", &kMono, FontEncoding::Uzbek},
}};

std::string trimmedLower(std::string_view name) {
    while (!name.empty() && name.front() == ' ')
        name.remove_prefix(1);
    while (!name.empty() && name.back() == ' ')
        name.remove_suffix(1);
    return AnsiLowerCase(name);
}

} // namespace

FontFace mapWindowsFont(std::string_view nameCp1251, bool (*isInstalled)(const QString&)) {
    const std::string key = trimmedLower(nameCp1251);
    for (const NamedFamily& named : kFamilies) {
        if (key == named.windowsName) return {*named.family, named.encoding};
    }
    if (key.empty()) return {kSerif, FontEncoding::Cp1251};
    const QString original = QString::fromStdString(cp1251::toUtf8(nameCp1251)).trimmed();
    if (isInstalled && isInstalled(original)) return {original, FontEncoding::Cp1251};
    if (key.find("courier") != std::string::npos || key.find("mono") != std::string::npos)
        return {kMono, FontEncoding::Cp1251};
    if (key.find("arial") != std::string::npos || key.find("sans") != std::string::npos)
        return {kSans, FontEncoding::Cp1251};
    return {kSerif, FontEncoding::Cp1251};
}

char32_t displayedCharacter(unsigned char byte, FontEncoding encoding) {
    return encoding == FontEncoding::Uzbek ? cp1251::toUnicodeUzbek(byte) : cp1251::toUnicode(byte);
}

} // namespace kvelo::layout
