// The document: the top-level block list with its font table, bookmark list,
// viewer settings and selection. Blocks added to it get their character
// indexes at once and are announced to OnBlockAdded, so a viewer can lay out
// each block while the reader is still working.
#pragma once

#include "rtfengine/model/Blocks.h"
#include "rtfengine/model/Table.h"

#include <functional>
#include <map>
#include <string>
#include <unordered_map>
#include <vector>

namespace kvelo {

// The RTF font table: entry position -> font, keyed by the RTF font number as
// decimal text ("0", "12"). Runs refer to entries by position (FontTableIndex).
class TFontTable {
public:
    struct Entry {
        std::string Key;
        TMyFont Font;
    };

    // Appends an entry; returns its position.
    int32_t Add(const std::string& key);
    // Position of the first entry with exactly this key, or -1.
    int32_t Find(const std::string& key) const;
    void Clear();

    size_t Count() const { return entries_.size(); }
    const Entry& operator[](size_t i) const { return entries_[i]; }
    Entry& operator[](size_t i) { return entries_[i]; }

private:
    std::vector<Entry> entries_;
    std::unordered_map<std::string, int32_t> firstByKey_;
};

// Bookmarks: name -> the paragraph that holds it. Names compare ignoring case
// (code page 1251); adding a name that exists already is ignored.
class TBookmarkList {
public:
    // Returns false when the name was there already.
    bool Add(const std::string& name, const TSectionBase* block);
    // Removes the entry whose name is exactly `name`; false when there is none.
    bool Remove(const std::string& name);
    // The block of a name (ignoring case), or null.
    const TSectionBase* Find(const std::string& name) const;
    // Names held by a block, in list order.
    std::vector<std::string> NamesOf(const TSectionBase* block) const;
    // All names in list order (sorted ignoring case) with their blocks.
    std::vector<std::pair<std::string, const TSectionBase*>> Entries() const;
    size_t Count() const { return byKey_.size(); }
    void Clear();
    // Replaces every block pointer through `map` (used by clones); names whose
    // block is not in the map are dropped.
    void Remap(const std::unordered_map<const TSectionBase*, const TSectionBase*>& map);

private:
    struct Entry {
        std::string Name;
        const TSectionBase* Block;
    };
    std::map<std::string, Entry> byKey_; // key: AnsiUpperCase(name)
    std::unordered_multimap<const TSectionBase*, std::string> keysByBlock_;
};

// Viewer settings the document carries for the layout.
struct TDocumentSettings {
    int32_t DefFontSize = 12; // points; fonts scale by DefFontSize / 12
    bool ViewImages = true;
    std::string DefFontName;          // replaces every run's name when not empty
    std::string PreFormattedFontName; // replaces names of pre-formatted runs when not empty
    TColor FontColor = clBlack;
    TColor LinkColor = RgbColor(0, 0, 255);
    TColor BackgroundColor = RgbColor(0xF0, 0xF0, 0xF0);
    uint8_t Charset = 1; // DEFAULT_CHARSET
};

class TSectionList : public TCell {
public:
    TSectionList() = default;

    // Appends a top-level block, assigns its character indexes (a table's
    // cells too) and calls OnBlockAdded. An exception from the callback ends
    // the caller's work (the block stays in the list).
    TSectionBase& Add(std::unique_ptr<TSectionBase> block) override;

    // Empties blocks, font table, bookmarks and the selection.
    void ClearDocument();
    // Assigns FirstIndex to every block again (after blocks were removed).
    void Renumber();
    // Index after the last character of the document.
    int32_t NextIndex() const { return nextIndex_; }

    // A deep copy with the same settings, font table and bookmarks (bookmarks
    // point at the copied blocks); the callback is not copied.
    std::unique_ptr<TSectionList> Clone() const;

    bool HasSelection() const { return SelFirst < SelLast; }

    TDocumentSettings Settings;
    TFontTable FontTable;
    TBookmarkList Bookmarks;
    int32_t SelFirst = 0; // selection [SelFirst, SelLast) in document indexes
    int32_t SelLast = 0;

    // Called for every block added to the document (not to cells).
    std::function<void(TSectionBase&)> OnBlockAdded;

private:
    int32_t nextIndex_ = 0;
};

// Assigns FirstIndex to `block` (and to the blocks inside a table's cells)
// starting at `index`; returns the index after it.
int32_t NumberBlock(TSectionBase& block, int32_t index);

// Calls f(block) for every block of `cell` and, recursively, of the cells of
// its tables, in document order.
void ForEachBlockDeep(const TCell& cell, const std::function<void(const TSectionBase&)>& f);

} // namespace kvelo
