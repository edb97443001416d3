#include "RtfStandIn.h"

#include "gui/QtText.h"

#include <algorithm>
#include <cctype>
#include <optional>
#include <vector>

namespace kvelo {
namespace {

// Group nesting is bounded so hostile input cannot exhaust memory.
constexpr size_t kMaxDepth = 256;

struct GroupState {
    bool skip = false;          // a destination whose text is not shown
    bool inInstruction = false; // inside \fldinst: the link target is collected
    bool bold = false;
    bool italic = false;
    int ucSkip = 1;
};

class StandInReader {
public:
    explicit StandInReader(const std::string& rtf) : rtf_(rtf) {}

    QString Run() {
        groups_.push_back({});
        while (pos_ < rtf_.size())
            step();
        flushText();
        closeLink();
        return html_;
    }

private:
    void step() {
        const char c = rtf_[pos_++];
        if (c == '{') return openGroup();
        if (c == '}') return closeGroup();
        if (c == '\\') return controlWord();
        if (c == '\r' || c == '\n') return;
        addChar(c);
    }

    void openGroup() {
        if (groups_.size() >= kMaxDepth) {
            ++ignoredDepth_;
            return;
        }
        groups_.push_back(groups_.back());
    }

    void closeGroup() {
        if (ignoredDepth_ > 0) {
            --ignoredDepth_;
            return;
        }
        if (groups_.size() <= 1) return;
        const GroupState leaving = groups_.back();
        const bool leavingInstruction = leaving.inInstruction;
        flushText();
        groups_.pop_back();
        restoreStyle(leaving.bold, groups_.back().bold, "b");
        restoreStyle(leaving.italic, groups_.back().italic, "i");
        if (leavingInstruction && !groups_.back().inInstruction) finishInstruction();
        if (fieldDepth_ > groups_.size()) {
            closeLink();
            fieldDepth_ = 0;
        }
    }

    std::string readWord() {
        std::string word;
        while (pos_ < rtf_.size() && std::isalpha(static_cast<unsigned char>(rtf_[pos_])) &&
               word.size() < 32)
            word += rtf_[pos_++];
        return word;
    }

    std::optional<int> readParameter() {
        size_t start = pos_;
        if (pos_ < rtf_.size() && rtf_[pos_] == '-') ++pos_;
        while (pos_ < rtf_.size() && std::isdigit(static_cast<unsigned char>(rtf_[pos_])) &&
               pos_ - start < 10)
            ++pos_;
        if (pos_ == start || (pos_ == start + 1 && rtf_[start] == '-')) {
            pos_ = start;
            return std::nullopt;
        }
        return std::stoi(rtf_.substr(start, pos_ - start));
    }

    void controlWord() {
        if (pos_ >= rtf_.size()) return;
        const char c = rtf_[pos_];
        if (!std::isalpha(static_cast<unsigned char>(c))) return controlSymbol();
        const std::string word = readWord();
        const std::optional<int> parameter = readParameter();
        if (pos_ < rtf_.size() && rtf_[pos_] == ' ') ++pos_;
        applyWord(word, parameter);
    }

    void controlSymbol() {
        const char c = rtf_[pos_++];
        if (c == '\'' && pos_ + 2 <= rtf_.size()) {
            const std::string hex = rtf_.substr(pos_, 2);
            pos_ += 2;
            char* end = nullptr;
            const long value = std::strtol(hex.c_str(), &end, 16);
            if (end == hex.c_str() + 2) addChar(static_cast<char>(value));
        } else if (c == '*') {
            groups_.back().skip = true;
        } else if (c == '~') {
            addChar(' ');
        } else if (c == '\\' || c == '{' || c == '}') {
            addChar(c);
        }
    }

    void applyWord(const std::string& w, std::optional<int> p) {
        GroupState& g = groups_.back();
        if (w == "fonttbl" || w == "colortbl" || w == "stylesheet" || w == "info" || w == "pict" ||
            w == "header" || w == "footer" || w == "object" || w == "fldrsltx")
            g.skip = true;
        else if (w == "fldinst") {
            flushText();
            g.skip = false;
            g.inInstruction = true;
            instruction_.clear();
        } else if (w == "fldrslt") {
            g.skip = false;
        } else if (w == "field") {
            fieldDepth_ = groups_.size();
        } else if (w == "par" || w == "line" || w == "sect" || w == "page")
            addBreak();
        else if (w == "tab" || w == "cell")
            addChar('\t');
        else if (w == "b")
            setStyle(g.bold, !p || *p != 0, "b");
        else if (w == "i")
            setStyle(g.italic, !p || *p != 0, "i");
        else if (w == "plain") {
            setStyle(g.bold, false, "b");
            setStyle(g.italic, false, "i");
        } else if (w == "uc" && p)
            g.ucSkip = std::max(0, std::min(*p, 4));
        else if (w == "u" && p)
            unicodeChar(*p);
        else if (w == "bkmkstart")
            bookmarkPending_ = true, g.skip = true;
    }

    void unicodeChar(int code) {
        if (code < 0) code += 65536;
        flushText();
        if (!groups_.back().skip)
            html_ += QString(QChar(static_cast<char16_t>(code))).toHtmlEscaped();
        for (int i = 0; i < groups_.back().ucSkip && pos_ < rtf_.size(); ++i) {
            if (rtf_[pos_] == '\\' && pos_ + 1 < rtf_.size() && rtf_[pos_ + 1] == '\'')
                pos_ += std::min<size_t>(4, rtf_.size() - pos_);
            else
                ++pos_;
        }
    }

    void setStyle(bool& flag, bool on, const char* tag) {
        if (flag == on) return;
        flushText();
        flag = on;
        html_ +=
            QStringLiteral("<%1%2>").arg(on ? QString() : QStringLiteral("/"), QLatin1String(tag));
    }

    void restoreStyle(bool inner, bool outer, const char* tag) {
        if (inner != outer)
            html_ += QStringLiteral("<%1%2>").arg(outer ? QString() : QStringLiteral("/"),
                                                  QLatin1String(tag));
    }

    void addChar(char c) {
        const GroupState& g = groups_.back();
        if (g.inInstruction) {
            if (instruction_.size() < 4096) instruction_ += c;
            return;
        }
        if (bookmarkPending_ && g.skip) {
            if (bookmark_.size() < 256) bookmark_ += c;
            return;
        }
        if (g.skip) return;
        text_ += c;
    }

    void addBreak() {
        if (groups_.back().skip || groups_.back().inInstruction) return;
        flushText();
        html_ += QStringLiteral("<br>");
    }

    void flushText() {
        if (bookmarkPending_ && !bookmark_.empty()) {
            html_ +=
                QStringLiteral("<a name=\"%1\"></a>").arg(FromCp1251(bookmark_).toHtmlEscaped());
            bookmark_.clear();
            bookmarkPending_ = false;
        }
        if (text_.empty()) return;
        QString escaped = FromCp1251(text_).toHtmlEscaped();
        escaped.replace(QLatin1Char('\t'), QStringLiteral("&nbsp;&nbsp;&nbsp;&nbsp;"));
        html_ += escaped;
        text_.clear();
    }

    // HYPERLINK "target" [\l "bookmark"] starts a link around the field result.
    void finishInstruction() {
        const size_t key = instruction_.find("HYPERLINK");
        if (key == std::string::npos) return;
        const size_t open = instruction_.find('"', key);
        const size_t close = open == std::string::npos ? open : instruction_.find('"', open + 1);
        if (close == std::string::npos) return;
        std::string target = instruction_.substr(open + 1, close - open - 1);
        const size_t l = instruction_.find("\\l", close);
        const size_t bm = l == std::string::npos ? l : instruction_.find('"', l);
        const size_t bmEnd = bm == std::string::npos ? bm : instruction_.find('"', bm + 1);
        if (bmEnd != std::string::npos) target += '#' + instruction_.substr(bm + 1, bmEnd - bm - 1);
        closeLink();
        html_ += QStringLiteral("<a href=\"%1\">").arg(FromCp1251(target).toHtmlEscaped());
        linkOpen_ = true;
    }

    void closeLink() {
        if (!linkOpen_) return;
        flushText();
        html_ += QStringLiteral("</a>");
        linkOpen_ = false;
    }

    const std::string& rtf_;
    size_t pos_ = 0;
    std::vector<GroupState> groups_;
    size_t ignoredDepth_ = 0;
    size_t fieldDepth_ = 0;
    std::string text_;
    std::string instruction_;
    std::string bookmark_;
    bool bookmarkPending_ = false;
    bool linkOpen_ = false;
    QString html_;
};

} // namespace

QString StandInHtml(const std::string& body) {
    if (body.rfind("{\\rtf", 0) == 0) return StandInReader(body).Run();
    QString text = FromCp1251(body).toHtmlEscaped();
    text.replace(QStringLiteral("\r\n"), QStringLiteral("<br>"));
    text.replace(QLatin1Char('\n'), QStringLiteral("<br>"));
    return text;
}

} // namespace kvelo
