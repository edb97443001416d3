#include "FolderListing.h"

namespace kvelo {
namespace {

const char kHeader[] =
    "{\\rtf\\ansi\\ansicpg1251 {\\colortbl;\\red0\\green0\\blue0;\\red0\\green0\\blue255;}"
    "\\fs24\\cf2";

} // namespace

std::string EscapeRtfText(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (const char c : text) {
        if (c == '\\' || c == '{' || c == '}') out += '\\';
        out += c;
    }
    return out;
}

std::string FolderListingRtf(const std::vector<FolderEntry>& entries) {
    std::string rtf = kHeader;
    for (const FolderEntry& entry : entries) {
        rtf += "{\\field{\\*\\fldinst HYPERLINK \"P";
        rtf += std::to_string(entry.handle);
        rtf += "\" \\\\l }{\\fldrslt ";
        rtf += EscapeRtfText(entry.title);
        rtf += "}}\\line ";
    }
    rtf += "} ";
    return rtf;
}

} // namespace kvelo
