// INI files as the program's configuration uses them: section and key names
// compared without regard to case, keys kept in file order, values as raw
// code page 1251 bytes, defaults for everything missing, and write-back that
// keeps the rest of the file (comments, order, line endings) as it was.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace kvelo {

class TIniFile {
public:
    // Reads the file if it exists; a missing or unreadable file is empty.
    explicit TIniFile(std::string path);

    const std::string& FileName() const { return path_; }

    std::string ReadString(std::string_view section, std::string_view key,
                           std::string_view defaultValue) const;
    // The value as a decimal (or "0x" hexadecimal) integer; the default when
    // it is missing or not a number.
    int ReadInteger(std::string_view section, std::string_view key, int defaultValue) const;
    bool ReadBool(std::string_view section, std::string_view key, bool defaultValue) const;

    // Sets a value and writes the file at once (atomically); throws
    // EStreamError when the file cannot be written.
    void WriteString(std::string_view section, std::string_view key, std::string_view value);
    void WriteInteger(std::string_view section, std::string_view key, int value);
    void DeleteKey(std::string_view section, std::string_view key);
    void EraseSection(std::string_view section);

    // Key names of a section in file order (each name once).
    std::vector<std::string> ReadSection(std::string_view section) const;
    // (key, value) pairs of a section in file order (each key once).
    std::vector<std::pair<std::string, std::string>>
    ReadSectionValues(std::string_view section) const;
    std::vector<std::string> ReadSections() const;
    bool SectionExists(std::string_view section) const;
    bool ValueExists(std::string_view section, std::string_view key) const;

    // Re-reads the file from disk.
    void Reload();

private:
    struct Line {
        std::string raw;     // the line as in the file, without its end of line
        std::string section; // for a section header: its name
        std::string key;     // for a key line: its name (trimmed)
        std::string value;   // for a key line: its value (trimmed, quotes removed)
        enum Kind { Other, Section, Key } kind = Other;
    };

    static Line parseLine(std::string raw);
    // Index of the header line of a section, or -1.
    int findSection(std::string_view section) const;
    // Index of the first line of a key in a section, or -1.
    int findKey(std::string_view section, std::string_view key) const;
    // One past the last line that belongs to the section at `header`.
    size_t sectionEnd(size_t header) const;
    size_t lastKeyLine(size_t header) const;
    void save() const;

    std::string path_;
    std::vector<Line> lines_;
    std::string eol_ = "\n";
};

} // namespace kvelo
