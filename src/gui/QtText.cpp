#include "QtText.h"

#include "platform/Cp1251.h"
#include "settings/Settings.h"

#include <QList>

namespace kvelo {

QString FromCp1251(std::string_view text) {
    return QString::fromStdString(cp1251::toUtf8(text));
}

QString FromCp1251Uzbek(std::string_view text) {
    QString out;
    out.reserve(int(text.size()));
    for (char ch : text) {
        const char32_t c = cp1251::toUnicodeUzbek(static_cast<unsigned char>(ch));
        out.append(QString::fromUcs4(&c, 1));
    }
    return out;
}

std::string ToCp1251(const QString& text) {
    std::string out;
    out.reserve(size_t(text.size()));
    for (const char32_t c : text.toUcs4()) {
        const int byte = cp1251::fromUnicodeUzbek(c);
        out += byte < 0 ? '?' : static_cast<char>(byte);
    }
    return out;
}

QString LoadStr(std::string_view key) {
    return FromCp1251(kvLoadStr(key));
}

} // namespace kvelo
