// Lists the bases fill for the global search: document identifiers without
// duplicates in first-insertion order, and (name, code) pairs of the type and
// organ tables. Membership is a hash lookup, so filling stays linear.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <unordered_set>
#include <vector>

namespace kvelo {

class TKveloBase;

// A set of identifiers by open addressing (linear probing in a power-of-two
// table): no allocation per member, which keeps lists of a few hundred
// thousand identifiers fast to fill and to test.
class TIdSet {
public:
    // Adds `id`; returns whether it was new.
    bool Insert(int32_t id) {
        if ((count_ + 1) * 2 > slots_.size()) Grow();
        size_t at = Slot(id);
        while (used_[at]) {
            if (slots_[at] == id) return false;
            at = (at + 1) & (slots_.size() - 1);
        }
        used_[at] = 1;
        slots_[at] = id;
        ++count_;
        return true;
    }
    bool Contains(int32_t id) const {
        if (count_ == 0) return false;
        for (size_t at = Slot(id); used_[at]; at = (at + 1) & (slots_.size() - 1))
            if (slots_[at] == id) return true;
        return false;
    }
    // Removes `id` if present (backward-shift deletion keeps probe chains whole).
    void Erase(int32_t id) {
        if (count_ == 0) return;
        const size_t mask = slots_.size() - 1;
        size_t at = Slot(id);
        while (used_[at] && slots_[at] != id)
            at = (at + 1) & mask;
        if (!used_[at]) return;
        for (size_t next = (at + 1) & mask; used_[next]; next = (next + 1) & mask) {
            const size_t home = Slot(slots_[next]);
            // Move `next` into the hole unless its home lies cyclically in (at, next].
            const bool stays =
                at <= next ? (home > at && home <= next) : (home > at || home <= next);
            if (stays) continue;
            slots_[at] = slots_[next];
            at = next;
        }
        used_[at] = 0;
        --count_;
    }
    // Makes room for `count` members without growing on the way.
    void Reserve(size_t count) {
        int bits = bits_ == 0 ? 4 : bits_;
        while (count * 2 > (size_t(1) << bits))
            ++bits;
        if (bits != bits_) Rehash(bits);
    }
    void Clear() {
        slots_.clear();
        used_.clear();
        count_ = 0;
        bits_ = 0;
    }

private:
    size_t Slot(int32_t id) const {
        return size_t((uint32_t(id) * 2654435769u) >> (32 - bits_)) & (slots_.size() - 1);
    }
    void Grow() { Rehash(bits_ == 0 ? 4 : bits_ + 1); }
    void Rehash(int bits) {
        std::vector<int32_t> old;
        old.reserve(count_);
        for (size_t i = 0; i < slots_.size(); ++i)
            if (used_[i]) old.push_back(slots_[i]);
        bits_ = bits;
        slots_.assign(size_t(1) << bits_, 0);
        used_.assign(size_t(1) << bits_, 0);
        count_ = 0;
        for (int32_t id : old)
            Insert(id);
    }

    std::vector<int32_t> slots_;
    std::vector<uint8_t> used_;
    size_t count_ = 0;
    int bits_ = 0;
};

class TIdList {
public:
    // Appends `id` unless it is already in the list (or outside the list
    // this one is restricted to); returns whether it was added.
    bool Add(int32_t id) {
        if (allowed_ && !allowed_->Contains(id)) return false;
        if (!members_.Insert(id)) return false;
        ids_.push_back(id);
        return true;
    }
    bool Contains(int32_t id) const { return members_.Contains(id); }
    size_t Count() const { return ids_.size(); }
    bool Empty() const { return ids_.empty(); }
    int32_t operator[](size_t index) const { return ids_[index]; }
    const std::vector<int32_t>& Items() const { return ids_; }
    std::vector<int32_t>::const_iterator begin() const { return ids_.begin(); }
    std::vector<int32_t>::const_iterator end() const { return ids_.end(); }
    void Clear() {
        ids_.clear();
        members_.Clear();
    }
    void Reserve(size_t count) {
        ids_.reserve(count);
        members_.Reserve(count);
    }
    // From now on Add drops identifiers `allowed` does not hold (null: none
    // dropped). A list that will only be intersected with `allowed`, or
    // subtracted from it, need not collect the others. Not owned.
    void RestrictTo(const TIdList* allowed) { allowed_ = allowed; }
    // Keeps only the identifiers `other` holds (order kept).
    void RetainOnly(const TIdList& other) {
        Filter([&](int32_t id) { return other.Contains(id); });
    }
    // Drops every identifier `other` holds (order kept).
    void RemoveAll(const TIdList& other) {
        Filter([&](int32_t id) { return !other.Contains(id); });
    }

private:
    template <typename Keep> void Filter(Keep keep) {
        std::vector<int32_t> kept;
        kept.reserve(ids_.size());
        for (int32_t id : ids_) {
            if (keep(id))
                kept.push_back(id);
            else
                members_.Erase(id);
        }
        ids_ = std::move(kept);
    }

    std::vector<int32_t> ids_;
    TIdSet members_;
    const TIdList* allowed_ = nullptr;
};

// (name, code) pairs of a type or organ table; the code is the item's "object".
class TCodeNameList {
public:
    struct Item {
        std::string name; // code page 1251
        int32_t code = 0;
    };
    void Add(std::string name, int32_t code) {
        codes_.insert(code);
        items_.push_back({std::move(name), code});
    }
    bool HasCode(int32_t code) const { return codes_.count(code) != 0; }
    size_t Count() const { return items_.size(); }
    const Item& operator[](size_t index) const { return items_[index]; }
    const std::vector<Item>& Items() const { return items_; }

private:
    std::vector<Item> items_;
    std::unordered_set<int32_t> codes_;
};

// (root node text, base) pairs collected by AddNameTo.
struct TBaseName {
    std::string name; // code page 1251
    TKveloBase* base = nullptr;
};
using TBaseNameList = std::vector<TBaseName>;

} // namespace kvelo
