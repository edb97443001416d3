#include "rtfengine/model/Document.h"

#include "platform/Cp1251.h"

#include <algorithm>

namespace kvelo {

int32_t TFontTable::Add(const std::string& key) {
    const auto position = static_cast<int32_t>(entries_.size());
    entries_.push_back(Entry{key, TMyFont{}});
    entries_.back().Font.FontTableIndex = position;
    firstByKey_.emplace(key, position);
    return position;
}

int32_t TFontTable::Find(const std::string& key) const {
    auto it = firstByKey_.find(key);
    return it == firstByKey_.end() ? -1 : it->second;
}

void TFontTable::Clear() {
    entries_.clear();
    firstByKey_.clear();
}

bool TBookmarkList::Add(const std::string& name, const TSectionBase* block) {
    std::string key = AnsiUpperCase(name);
    if (!byKey_.emplace(key, Entry{name, block}).second) return false;
    keysByBlock_.emplace(block, std::move(key));
    return true;
}

bool TBookmarkList::Remove(const std::string& name) {
    auto it = byKey_.find(AnsiUpperCase(name));
    if (it == byKey_.end() || it->second.Name != name) return false;
    auto [first, last] = keysByBlock_.equal_range(it->second.Block);
    for (auto k = first; k != last; ++k)
        if (k->second == it->first) {
            keysByBlock_.erase(k);
            break;
        }
    byKey_.erase(it);
    return true;
}

const TSectionBase* TBookmarkList::Find(const std::string& name) const {
    auto it = byKey_.find(AnsiUpperCase(name));
    return it == byKey_.end() ? nullptr : it->second.Block;
}

std::vector<std::string> TBookmarkList::NamesOf(const TSectionBase* block) const {
    std::vector<std::string> keys;
    auto [first, last] = keysByBlock_.equal_range(block);
    for (auto it = first; it != last; ++it)
        keys.push_back(it->second);
    std::sort(keys.begin(), keys.end());
    std::vector<std::string> names;
    for (const auto& key : keys)
        names.push_back(byKey_.at(key).Name);
    return names;
}

std::vector<std::pair<std::string, const TSectionBase*>> TBookmarkList::Entries() const {
    std::vector<std::pair<std::string, const TSectionBase*>> entries;
    entries.reserve(byKey_.size());
    for (const auto& [key, entry] : byKey_)
        entries.emplace_back(entry.Name, entry.Block);
    return entries;
}

void TBookmarkList::Clear() {
    byKey_.clear();
    keysByBlock_.clear();
}

void TBookmarkList::Remap(const std::unordered_map<const TSectionBase*, const TSectionBase*>& map) {
    for (auto it = byKey_.begin(); it != byKey_.end();) {
        auto found = map.find(it->second.Block);
        if (found == map.end()) {
            it = byKey_.erase(it);
        } else {
            it->second.Block = found->second;
            ++it;
        }
    }
    keysByBlock_.clear();
    for (const auto& [key, entry] : byKey_)
        keysByBlock_.emplace(entry.Block, key);
}

int32_t NumberBlock(TSectionBase& block, int32_t index) {
    block.FirstIndex = index;
    if (block.Kind() != TBlockKind::Table) return index + block.Length();
    auto& table = static_cast<TRtfTable&>(block);
    int32_t next = index;
    for (auto& row : table.Rows)
        for (auto& cell : row->Cells) {
            if (cell->IsPlaceholder()) continue;
            for (auto& inner : cell->Content.Blocks)
                next = NumberBlock(*inner, next);
        }
    return next;
}

void ForEachBlockDeep(const TCell& cell, const std::function<void(const TSectionBase&)>& f) {
    for (const auto& block : cell.Blocks) {
        f(*block);
        if (block->Kind() != TBlockKind::Table) continue;
        static_cast<const TRtfTable&>(*block).ForEachContentCell(
            [&](const TCellObj& c) { ForEachBlockDeep(c.Content, f); });
    }
}

TSectionBase& TSectionList::Add(std::unique_ptr<TSectionBase> block) {
    TSectionBase& added = TCell::Add(std::move(block));
    nextIndex_ = NumberBlock(added, nextIndex_);
    if (OnBlockAdded) OnBlockAdded(added);
    return added;
}

void TSectionList::ClearDocument() {
    Clear();
    FontTable.Clear();
    Bookmarks.Clear();
    SelFirst = SelLast = 0;
    nextIndex_ = 0;
}

void TSectionList::Renumber() {
    int32_t index = 0;
    for (auto& block : Blocks)
        index = NumberBlock(*block, index);
    nextIndex_ = index;
}

namespace {

// Pairs the blocks of two structurally equal cells, tables included.
void MapBlocks(const TCell& from, const TCell& to,
               std::unordered_map<const TSectionBase*, const TSectionBase*>& map) {
    for (size_t i = 0; i < from.Blocks.size() && i < to.Blocks.size(); ++i) {
        const TSectionBase& a = *from.Blocks[i];
        const TSectionBase& b = *to.Blocks[i];
        map.emplace(&a, &b);
        if (a.Kind() != TBlockKind::Table) continue;
        const auto& ta = static_cast<const TRtfTable&>(a);
        const auto& tb = static_cast<const TRtfTable&>(b);
        for (size_t r = 0; r < ta.Rows.size(); ++r)
            for (size_t c = 0; c < ta.Rows[r]->Cells.size(); ++c)
                MapBlocks(ta.Rows[r]->Cells[c]->Content, tb.Rows[r]->Cells[c]->Content, map);
    }
}

} // namespace

std::unique_ptr<TSectionList> TSectionList::Clone() const {
    auto copy = std::make_unique<TSectionList>();
    copy->Settings = Settings;
    copy->FontTable = FontTable;
    copy->SelFirst = SelFirst;
    copy->SelLast = SelLast;
    CloneInto(*copy);
    copy->nextIndex_ = nextIndex_;
    std::unordered_map<const TSectionBase*, const TSectionBase*> map;
    MapBlocks(*this, *copy, map);
    copy->Bookmarks = Bookmarks;
    copy->Bookmarks.Remap(map);
    return copy;
}

} // namespace kvelo
