// Code page 1251 text (the program's own strings) to and from the QString of
// widgets, and the localized message texts of the language file as QString.
#pragma once

#include <QString>
#include <string>
#include <string_view>

namespace kvelo {

QString FromCp1251(std::string_view text);
// As the Uzbek title fonts show the bytes (cp1251::toUnicodeUzbek): for
// widgets that stand in for fields drawn in those fonts.
QString FromCp1251Uzbek(std::string_view text);
// The Uzbek letters қ ғ ҳ (and capitals) become the code points the bases
// store them on; other characters code page 1251 lacks become '?'.
std::string ToCp1251(const QString& text);

// kvLoadStr(key) as a QString.
QString LoadStr(std::string_view key);

} // namespace kvelo
