// The RTF listing of a folder that a document window shows: one link per
// child, whose target is the child's "P" address.
#pragma once

#include <string>
#include <vector>

namespace kvelo {

struct FolderEntry {
    int handle = 0;    // the child node's handle
    std::string title; // code page 1251
};

// The listing as RTF (code page 1251). "\", "{" and "}" in titles are
// escaped so that a title can never break the listing's groups.
std::string FolderListingRtf(const std::vector<FolderEntry>& entries);

// A text as RTF characters: "\", "{" and "}" escaped, everything else as is.
std::string EscapeRtfText(const std::string& text);

} // namespace kvelo
