#include "IniFile.h"

#include "Cp1251.h"
#include "Streams.h"

#include <cerrno>
#include <climits>
#include <cstdlib>

namespace kvelo {
namespace {

std::string_view trim(std::string_view s) {
    const auto isSpace = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
    while (!s.empty() && isSpace(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && isSpace(s.back()))
        s.remove_suffix(1);
    return s;
}

// A value in matching double quotes loses them, as the Windows profile API does.
std::string unquote(std::string_view s) {
    if (s.size() >= 2 && s.front() == '"' && s.back() == '"') s = s.substr(1, s.size() - 2);
    return std::string(s);
}

} // namespace

TIniFile::TIniFile(std::string path) : path_(std::move(path)) {
    Reload();
}

void TIniFile::Reload() {
    lines_.clear();
    std::vector<uint8_t> bytes;
    try {
        bytes = ReadWholeFile(path_);
    } catch (const EStreamError&) {
        return; // a missing or unreadable file reads as empty
    }
    std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
    eol_ = text.find("\r\n") != std::string_view::npos ? "\r\n" : "\n";
    while (!text.empty()) {
        const size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        lines_.push_back(parseLine(std::string(line)));
        if (end == std::string_view::npos) break;
        text.remove_prefix(end + 1);
    }
}

TIniFile::Line TIniFile::parseLine(std::string raw) {
    Line line;
    const std::string_view t = trim(raw);
    if (t.size() >= 2 && t.front() == '[') {
        const size_t close = t.find(']');
        if (close != std::string_view::npos) {
            line.kind = Line::Section;
            line.section = std::string(trim(t.substr(1, close - 1)));
        }
    } else if (!t.empty() && t.front() != ';' && t.front() != '#') {
        const size_t eq = t.find('=');
        if (eq != std::string_view::npos && eq > 0) {
            line.kind = Line::Key;
            line.key = std::string(trim(t.substr(0, eq)));
            line.value = unquote(trim(t.substr(eq + 1)));
        }
    }
    line.raw = std::move(raw);
    return line;
}

int TIniFile::findSection(std::string_view section) const {
    for (size_t i = 0; i < lines_.size(); ++i)
        if (lines_[i].kind == Line::Section && AnsiSameText(lines_[i].section, section))
            return static_cast<int>(i);
    return -1;
}

size_t TIniFile::sectionEnd(size_t header) const {
    size_t i = header + 1;
    while (i < lines_.size() && lines_[i].kind != Line::Section)
        ++i;
    return i;
}

size_t TIniFile::lastKeyLine(size_t header) const {
    size_t last = header;
    for (size_t i = header + 1; i < sectionEnd(header); ++i)
        if (lines_[i].kind == Line::Key) last = i;
    return last;
}

int TIniFile::findKey(std::string_view section, std::string_view key) const {
    // Sections may appear more than once; the first holding the key wins.
    for (size_t h = 0; h < lines_.size(); ++h) {
        if (lines_[h].kind != Line::Section || !AnsiSameText(lines_[h].section, section)) continue;
        for (size_t i = h + 1; i < sectionEnd(h); ++i)
            if (lines_[i].kind == Line::Key && AnsiSameText(lines_[i].key, key))
                return static_cast<int>(i);
    }
    return -1;
}

std::string TIniFile::ReadString(std::string_view section, std::string_view key,
                                 std::string_view defaultValue) const {
    const int i = findKey(section, key);
    return i < 0 ? std::string(defaultValue) : lines_[static_cast<size_t>(i)].value;
}

int TIniFile::ReadInteger(std::string_view section, std::string_view key, int defaultValue) const {
    const std::string text = ReadString(section, key, "");
    if (text.empty()) return defaultValue;
    const bool hex = text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X');
    errno = 0;
    char* end = nullptr;
    const long value = std::strtol(text.c_str() + (hex ? 2 : 0), &end, hex ? 16 : 10);
    if (errno != 0 || *end != '\0' || end == text.c_str() || value < INT_MIN || value > INT_MAX)
        return defaultValue;
    return static_cast<int>(value);
}

bool TIniFile::ReadBool(std::string_view section, std::string_view key, bool defaultValue) const {
    return ReadInteger(section, key, defaultValue ? 1 : 0) != 0;
}

void TIniFile::WriteString(std::string_view section, std::string_view key, std::string_view value) {
    Line line;
    line.kind = Line::Key;
    line.key = std::string(key);
    line.value = std::string(value);
    line.raw = line.key + "=" + line.value;
    const int existing = findKey(section, key);
    if (existing >= 0) {
        line.key = lines_[static_cast<size_t>(existing)].key; // keep the file's spelling
        line.raw = line.key + "=" + line.value;
        lines_[static_cast<size_t>(existing)] = std::move(line);
    } else if (const int header = findSection(section); header >= 0) {
        const size_t at = lastKeyLine(static_cast<size_t>(header)) + 1;
        lines_.insert(lines_.begin() + static_cast<long>(at), std::move(line));
    } else {
        if (!lines_.empty() && !trim(lines_.back().raw).empty()) lines_.push_back(parseLine(""));
        lines_.push_back(parseLine("[" + std::string(section) + "]"));
        lines_.push_back(std::move(line));
    }
    save();
}

void TIniFile::WriteInteger(std::string_view section, std::string_view key, int value) {
    WriteString(section, key, std::to_string(value));
}

void TIniFile::DeleteKey(std::string_view section, std::string_view key) {
    const int i = findKey(section, key);
    if (i < 0) return;
    lines_.erase(lines_.begin() + i);
    save();
}

void TIniFile::EraseSection(std::string_view section) {
    bool changed = false;
    for (int h; (h = findSection(section)) >= 0; changed = true)
        lines_.erase(lines_.begin() + h,
                     lines_.begin() + static_cast<long>(sectionEnd(static_cast<size_t>(h))));
    if (changed) save();
}

std::vector<std::pair<std::string, std::string>>
TIniFile::ReadSectionValues(std::string_view section) const {
    std::vector<std::pair<std::string, std::string>> result;
    for (size_t h = 0; h < lines_.size(); ++h) {
        if (lines_[h].kind != Line::Section || !AnsiSameText(lines_[h].section, section)) continue;
        for (size_t i = h + 1; i < sectionEnd(h); ++i) {
            if (lines_[i].kind != Line::Key) continue;
            bool seen = false;
            for (const auto& kv : result)
                seen = seen || AnsiSameText(kv.first, lines_[i].key);
            if (!seen) result.emplace_back(lines_[i].key, lines_[i].value);
        }
    }
    return result;
}

std::vector<std::string> TIniFile::ReadSection(std::string_view section) const {
    std::vector<std::string> keys;
    for (auto& kv : ReadSectionValues(section))
        keys.push_back(std::move(kv.first));
    return keys;
}

std::vector<std::string> TIniFile::ReadSections() const {
    std::vector<std::string> names;
    for (const Line& line : lines_) {
        if (line.kind != Line::Section) continue;
        bool seen = false;
        for (const auto& n : names)
            seen = seen || AnsiSameText(n, line.section);
        if (!seen) names.push_back(line.section);
    }
    return names;
}

bool TIniFile::SectionExists(std::string_view section) const {
    return findSection(section) >= 0;
}

bool TIniFile::ValueExists(std::string_view section, std::string_view key) const {
    return findKey(section, key) >= 0;
}

void TIniFile::save() const {
    std::string out;
    for (const Line& line : lines_)
        out += line.raw + eol_;
    WriteFileAtomic(path_, out.data(), out.size());
}

} // namespace kvelo
