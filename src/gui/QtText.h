// Code page 1251 text (the program's own strings) to and from the QString of
// widgets, and the localized message texts of the language file as QString.
#pragma once

#include <QString>
#include <string>
#include <string_view>

namespace kvelo {

QString FromCp1251(std::string_view text);
// Characters code page 1251 lacks become '?'.
std::string ToCp1251(const QString& text);

// kvLoadStr(key) as a QString.
QString LoadStr(std::string_view key);

} // namespace kvelo
