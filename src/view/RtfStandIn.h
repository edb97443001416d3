// A deliberately small reading of RTF for the stand-in frame: text,
// paragraphs and line breaks, bold and italic, HYPERLINK fields as links and
// bookmark starts as anchors. Everything else is skipped. Not the RTF engine.
#pragma once

#include <QString>
#include <string>

namespace kvelo {

// Bytes that start with "{\rtf" are read as RTF (code page 1251); anything
// else is plain code page 1251 text. The result is HTML for a QTextBrowser.
QString StandInHtml(const std::string& body);

} // namespace kvelo
