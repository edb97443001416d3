// Reading what the writer wrote gives back the same document.
#include "ReadHelpers.h"

#include "rtfengine/writer/RtfWriter.h"

#include <gtest/gtest.h>

#include <sstream>

namespace kvelo::test {
namespace {

void Describe(const TCell& cell, const TSectionList& doc, std::ostream& out);

void DescribeParagraph(const TSection& p, std::ostream& out) {
    out << (p.Kind() == TBlockKind::PreFormated ? "pre" : "par")
        << (p.HasPreFormattedSwitch ? "~" : "") << " li" << p.LeftIndentTwips << " fi"
        << p.FirstLineIndentTwips << " ri" << p.RightIndentTwips << " q" << int(p.Alignment) << " ["
        << p.Text << "]";
    // Runs, merged where neighbours look the same (the writer may split a run).
    const TFontObj* last = nullptr;
    for (size_t i = 0; i < p.Fonts.size(); ++i) {
        if (p.RunLength(i) == 0) continue;
        const TFontObj& r = p.Fonts[i];
        if (last && last->Font.Name == r.Font.Name &&
            last->Font.SizeHalfPoints == r.Font.SizeHalfPoints &&
            last->Font.Style == r.Font.Style && last->Font.Color == r.Font.Color &&
            last->LinkTarget == r.LinkTarget)
            continue;
        out << " {" << r.Start << " " << r.Font.Name << " " << r.Font.SizeHalfPoints << " s"
            << int(r.Font.Style) << " c" << r.Font.Color << " " << r.LinkTarget << "}";
        last = &r;
    }
    for (const TImageObj& img : p.Images)
        out << " <img " << img.TextIndex << " k" << int(img.Kind) << " " << img.ByteCount() << " "
            << img.PicW << "x" << img.PicH << " g" << img.PicWGoalTwips << "x" << img.PicHGoalTwips
            << " s" << img.ScaleXPercent << "x" << img.ScaleYPercent << " d" << img.DisplayWidthPx
            << "x" << img.DisplayHeightPx << ">";
}

void DescribeTable(const TRtfTable& t, const TSectionList& doc, std::ostream& out) {
    out << "table " << (t.WidthIsPercent ? "%" : "px") << t.SpecifiedWidth << " q"
        << int(t.Alignment) << " cols" << t.ColumnCount << "\n";
    for (const auto& row : t.Rows) {
        out << " row h" << row->RowHeightTwips << " g" << row->GapTwips << " l"
            << row->LeftEdgeTwips << "\n";
        for (const auto& c : row->Cells) {
            out << "  cell " << c->ColSpan << "x" << c->RowSpan << " r" << c->RightBoundaryTwips
                << " w" << c->SpecifiedWidthPx << " v" << int(c->VAlign) << " b" << c->BorderTop
                << c->BorderLeft << c->BorderRight << c->BorderBottom << " bg"
                << c->Content.HasBackground << "\n";
            // An empty cell and one holding an empty paragraph look the same.
            const bool onlyFiller = c->Content.Count() == 1 && c->Content[0].IsParagraph() &&
                                    Para(c->Content, 0).IsEmptyFiller() &&
                                    doc.Bookmarks.NamesOf(&c->Content[0]).empty();
            if (!onlyFiller) Describe(c->Content, doc, out);
        }
    }
}

void Describe(const TCell& cell, const TSectionList& doc, std::ostream& out) {
    for (const auto& b : cell.Blocks) {
        for (const auto& name : doc.Bookmarks.NamesOf(b.get()))
            out << "#" << name << " ";
        if (b->IsParagraph())
            DescribeParagraph(static_cast<const TSection&>(*b), out);
        else if (b->Kind() == TBlockKind::Table)
            DescribeTable(static_cast<const TRtfTable&>(*b), doc, out);
        else
            out << (b->Kind() == TBlockKind::HorzLine ? "rule" : "page");
        out << "\n";
    }
}

std::string Description(const TSectionList& doc) {
    std::ostringstream out;
    Describe(doc, doc, out);
    out << "fonts";
    for (size_t i = 0; i < doc.FontTable.Count(); ++i)
        out << " " << doc.FontTable[i].Font.Name << "/" << doc.FontTable[i].Font.Charset;
    return out.str();
}

class RoundTrip : public testing::TestWithParam<std::string> {};

TEST_P(RoundTrip, ReadingTheWrittenRtfGivesTheSameDocument) {
    auto first = Read(GetParam());
    const std::string written = WriteRtfString(*first, true, false);
    auto second = Read(written);
    EXPECT_EQ(Description(*second), Description(*first)) << written;
    EXPECT_EQ(WriteRtfString(*second, true, false), written);
}

const std::vector<std::string> kFixtures = {
    "{\\rtf1 a\\'e0b}",
    "{\\rtf1 a\\par\\par b\\par}",
    "{\\rtf1{\\fonttbl{\\f0\\fcharset204 Arial;}{\\f1\\fcharset0 Courier New;}}\\f0\\fs20 "
    "x{\\f1\\b\\i y}"
    "{\\ul z}\\par\\li720\\fi360\\ri100\\qj j\\par\\pard\\qc c}",
    "{\\rtf1{\\colortbl;\\red255\\green0\\blue0;\\red0\\green128\\blue0;}{\\cf1 r}{\\cf2 g}}",
    "{\\rtf1 a{\\field{\\*\\fldinst HYPERLINK \"doc.rtf\" \\\\l \"bm_Part_2\"}{\\fldrslt x\\par "
    "y}}z"
    "{\\field{\\*\\fldinst HYPERLINK \\\\l \"bm_A_b\"}{\\fldrslt w}}}",
    "{\\rtf1 a\\par{\\*\\bkmkstart bm_Part_2}b\\par{\\*\\bkmkstart Other}{\\*\\bkmkstart "
    "bm_x}c\\par}",
    "{\\rtf1 p\\line q\\page r\\par\\par\\line s}",
    "{\\rtf1 a~b\\par c\\par d~e\\par f}",
    "{\\rtf1 \\u1055?\\u1088?\\u20013?~\\'7e*\\{\\}\\\\}",
    "{\\rtf1\\trowd\\cellx1000\\cellx2050\\cellx3000\\pard\\intbl a\\cell b\\cell c\\cell\\row"
    "\\trowd\\cellx1020\\cellx3000\\pard\\intbl d\\cell e\\cell\\row\\pard after}",
    "{\\rtf1\\trowd\\trleft150\\trgaph216\\trrh400\\cellx1650*\\pard\\intbl x\\par "
    "y\\cell\\row\\pard z}",
    "{\\rtf1\\trowd\\clvmgf\\cellx1000\\cellx2000\\pard\\intbl m\\cell a\\cell\\row"
    "\\trowd\\clvmrg\\cellx1000\\cellx2000\\pard\\intbl\\cell b\\cell\\row"
    "\\trowd\\clvmrg\\cellx1000\\cellx2000\\pard\\intbl\\cell c\\cell\\row}",
    "{\\rtf1{\\colortbl;\\red255\\green0\\blue0;}"
    "\\trowd\\clvertalc\\clbrdrt\\clbrdrl\\clcbpat1\\cellx1000"
    "\\clvertalb\\clbrdrr\\clbrdrb\\cellx2000\\pard\\intbl{\\*\\bkmkstart bm_in_cell}a\\cell"
    "{\\field{\\*\\fldinst HYPERLINK \"t.rtf\"}{\\fldrslt b}}\\cell\\row}",
    "{\\rtf1\\trowd\\cellx1000\\pard\\intbl a\\cell\\row\\pard\\par\\trowd\\cellx2000\\pard\\intbl "
    "b\\cell"
    "\\row}",
    "{\\rtf1 a{\\pict\\pngblip\\picw2\\pich3\\picwgoal1440\\pichgoal720\\picscalex50 0aff}b"
    "{\\pict\\jpegblip ffd8}{\\pict\\wmetafile8\\picw2540\\pich2540 "
    "010009000003000000000000000000000000}"
    "{\\pict\\emfblip "
    "0102}{\\pict\\wbitmap0\\wbmbitspixel1\\wbmplanes1\\wbmwidthbytes2\\picw4\\pich1 ff00}"
    "{\\pict\\dibitmap0\\picw1\\pich1 280000000100000001000000010018000000000004000000000000000000"
    "00000000000000000000ffffff00}}",
    "{\\rtf1 text with a \\par long paragraph \\line\\page\\trowd\\cellx500\\pard\\intbl "
    "t\\cell\\row}",
};

INSTANTIATE_TEST_SUITE_P(Fixtures, RoundTrip, testing::ValuesIn(kFixtures));

} // namespace
} // namespace kvelo::test
