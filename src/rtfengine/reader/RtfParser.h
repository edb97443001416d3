// The reader's state for one parse and its steps. Internal to the reader;
// use RtfParseStream.
#pragma once

#include "rtfengine/model/Document.h"
#include "rtfengine/reader/RtfInput.h"
#include "rtfengine/reader/RtfKeywords.h"
#include "rtfengine/reader/RtfReader.h"

#include <array>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace kvelo::rtf {

// Character properties, saved and restored with every group.
struct TCharProps {
    uint8_t Style = 0;
    TColor Color = clBlack;
    TColor BackColor = clBlack;
    int32_t SizeHalfPoints = 24;
    int32_t FontIndex = -1;
    std::string FontName;
    int32_t Charset = 204;
};

// Paragraph properties (twips, never negative), saved and restored with every group.
struct TParaProps {
    int16_t LeftIndent = 0;
    int16_t RightIndent = 0;
    int16_t FirstIndent = 0;
    TAlignment Alignment = TAlignment::Left;
};

struct TRtfState {
    TDestination Destination;
    TCharProps Char;
    TParaProps Para;
    int32_t UnicodeSkip; // \ucN: fallback characters after \uN
};

struct TRowProps {
    int32_t HeightTwips = 0;
    int32_t RawLeftTwips = 0;
    int32_t LeftTwips = 0; // clamped at 0
    int32_t GapTwips = 0;
    int32_t CellNumber = 0;
    int32_t CellsDefined = 0; // \cellx since the last \trowd
};

struct TCellProps {
    TCellVAlign VAlign = TCellVAlign::Top;
    bool Merge = false;
    bool Borders[4] = {false, false, false, false}; // top, left, right, bottom
    bool Shaded = false;
    TColor Shading = clBlack;
};

struct TRtfPicture {
    TPictureKind Kind = TPictureKind::Emf;
    int32_t MappingMode = 1;
    int32_t PicW = 0, PicH = 0, PicWGoal = 0, PicHGoal = 0;
    int32_t ScaleX = 100, ScaleY = 100;
    int32_t WidthBytes = 0, BitsPerPixel = 1, Planes = 1;
    std::vector<uint8_t> Bytes;
    bool HighNibble = true;
    uint8_t PendingNibble = 0;
};

struct TPendingBookmark {
    std::string Name;
    const TSectionBase* Block;
    bool Alive;
};

class TRtfParser {
public:
    TRtfParser(TSectionList& document, TRtfInput& input, const TRtfReadOptions& options);
    void Run();

private:
    // Main loop and groups (RtfParser.cpp).
    void ParseBody(bool framed);
    void ReadControlWord();
    void TranslateWord(std::string_view word, bool hasParam, int32_t param, int64_t rawParam);
    void ReadHexByte();
    void ReadBinary(int64_t count);
    void PushState();
    void PopState();
    void LeaveDestination(TDestination leaving);
    void EnterDestination(TDestination destination);
    void ApplyProperty(TProperty property, int32_t value);
    void ApplyCharProperty(TProperty property, int32_t value);
    void ApplyParaProperty(TProperty property, int32_t value);
    void ApplyUnicode(int32_t value);
    void ApplyTableProperty(TProperty property, int32_t value);
    TColor ColorAt(int32_t index) const;

    // Characters and text.
    void ParseChar(uint8_t c, bool literal);
    void PrintChar(uint8_t c, bool literal);
    void CollectPlainText(std::string& text);
    void ChangeFont();
    void SelectFont(int32_t number);
    TSection& EnsureParagraph();
    void CreateSection();
    void AddSection();
    void AddSectionWithContent();
    void ChangeParagraph();
    void AddRuleOrPage(bool rule);
    void FinishDocument();
    void RegisterBookmarks();

    // Tables (RtfTables.cpp).
    void DefineCell(int32_t rightBoundaryTwips);
    void CreateRow(bool copy);
    void EnterTableText();
    void EndCell();
    void EndRow();
    void AppendOpenRow();
    void LeaveCell();
    bool InsideCell() const { return outerContainer_ != nullptr; }
    void CheckTable();
    void AddTable();
    void ComputeColumns(TRtfTable& table);
    void MergeVertically(TRtfTable& table);
    void MoveMergedContent(TCell& from, TCell& to);

    // Pictures (RtfPictures.cpp).
    void StartPicture();
    void ApplyPictureProperty(TProperty property, int32_t value);
    void AddPictureHex(uint8_t first);
    void AppendPictureNibble(uint8_t nibble);
    void FinishPicture();

    // Fields and bookmarks (RtfFields.cpp).
    void ParseField();
    void EndFieldResult();
    void EndBookmarkStart();
    void EndLink();
    void EndFieldsOfGroup();

    TSectionList& doc_;
    TRtfInput& in_;
    TRtfReadOptions options_;

    TDestination dest_ = TDestination::Text;
    bool skipUnknown_ = false;
    bool groupJustOpened_ = false; // nothing read yet since the last "{"
    TCharProps char_;
    TParaProps para_;
    int32_t unicodeSkip_ = 1;
    int32_t fallbackToSkip_ = 0;
    std::vector<TRtfState> stack_;
    int32_t depth_ = 0;

    TRowProps row_;
    TCellProps cell_;
    std::array<TColor, 256> colors_{}; // entries 1..255
    int32_t colorCount_ = 1;
    int32_t red_ = 0, green_ = 0, blue_ = 0;

    std::unique_ptr<TSection> paragraph_;
    bool paragraphHasBookmark_ = false;
    TCell* container_ = nullptr;
    TCell* outerContainer_ = nullptr;
    TMyFont font_;
    std::string linkTarget_;
    bool linkFlag_ = false;
    int32_t linkFieldDepth_ = -1;      // group depth of the \field that holds the open link
    std::vector<int32_t> fieldDepths_; // group depths of the open \field groups
    std::string fieldInstruction_;
    std::string bookmarkName_;
    std::string fontName_;
    int32_t lastFontEntry_ = -1;

    std::unique_ptr<TRtfTable> table_;
    TRtfTable* lastTable_ = nullptr;
    std::unique_ptr<TCellList> currentRow_;
    bool rowStarted_ = false;
    bool fullWidthTable_ = true;
    bool inTableText_ = false;
    bool preFormatted_ = false;

    std::unique_ptr<TRtfPicture> picture_;
    std::vector<TPendingBookmark> bookmarks_;
    std::unordered_map<const TSectionBase*, std::vector<size_t>> bookmarksByBlock_;
};

void RtfParse(TSectionList& document, TRtfInput& input, const TRtfReadOptions& options);

// "bm_Part_2" -> "Part 2": the prefix removed and every "_" made a space.
std::string BookmarkNameFromRtf(std::string_view name);

} // namespace kvelo::rtf
