// Generated RTF documents of a given size for the reader benchmark and the
// comparison script: plain paragraphs, dense formatting, tables.
#pragma once

#include <cstddef>
#include <string>

namespace kvelo::bench {

enum class TDocKind { Plain, Dense, Tables };

inline std::string MakeRtf(TDocKind kind, size_t bytes) {
    static const char* kWords[] = {
        "закон",      "статья", "document", "\\'cf\\'f0\\'e8\\'EA\\'E0\\'E7",
        "regulation", "пункт",  "of",       "the",
        "налог",      "2024"};
    std::string rtf =
        "{\\rtf1\\ansi\\ansicpg1251{\\fonttbl{\\f0\\fcharset204 Times New Roman;}"
        "{\\f1\\fcharset204 Arial;}}{\\colortbl;\\red0\\green0\\blue0;\\red255\\green0"
        "\\blue0;}\\f0\\fs24 ";
    size_t n = 0;
    while (rtf.size() < bytes) {
        switch (kind) {
        case TDocKind::Plain:
            for (int w = 0; w < 60; ++w)
                (rtf += kWords[(n + w * 7) % 10]) += ' ';
            rtf += "\\par\n";
            break;
        case TDocKind::Dense:
            for (int w = 0; w < 12; ++w) {
                rtf += (w % 3 == 0) ? "{\\b " : (w % 3 == 1) ? "{\\i\\cf2\\fs20 " : "{\\f1\\ul ";
                rtf += kWords[(n + w) % 10];
                rtf += "} ";
            }
            rtf += "\\par\\pard\\li720\\qj\n";
            break;
        case TDocKind::Tables:
            rtf += "\\trowd\\trgaph108\\clbrdrt\\clbrdrb\\cellx2000\\clbrdrt\\cellx5000\\cellx9000"
                   "\\pard\\intbl ";
            for (int c = 0; c < 3; ++c) {
                for (int w = 0; w < 5; ++w)
                    (rtf += kWords[(n + c + w) % 10]) += ' ';
                rtf += "\\cell ";
            }
            rtf += "\\row\n";
            break;
        }
        ++n;
    }
    return rtf + "\\pard end}";
}

} // namespace kvelo::bench
