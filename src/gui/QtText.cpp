#include "QtText.h"

#include "platform/Cp1251.h"
#include "settings/Settings.h"

namespace kvelo {

QString FromCp1251(std::string_view text) {
    return QString::fromStdString(cp1251::toUtf8(text));
}

std::string ToCp1251(const QString& text) {
    return cp1251::fromUtf8(text.toStdString());
}

QString LoadStr(std::string_view key) {
    return FromCp1251(kvLoadStr(key));
}

} // namespace kvelo
