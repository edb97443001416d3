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

class TIdList {
public:
    // Appends `id` unless it is already in the list; returns whether it was added.
    bool Add(int32_t id) {
        if (!members_.insert(id).second) return false;
        ids_.push_back(id);
        return true;
    }
    bool Contains(int32_t id) const { return members_.count(id) != 0; }
    size_t Count() const { return ids_.size(); }
    bool Empty() const { return ids_.empty(); }
    int32_t operator[](size_t index) const { return ids_[index]; }
    const std::vector<int32_t>& Items() const { return ids_; }
    std::vector<int32_t>::const_iterator begin() const { return ids_.begin(); }
    std::vector<int32_t>::const_iterator end() const { return ids_.end(); }
    void Clear() {
        ids_.clear();
        members_.clear();
    }
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
                members_.erase(id);
        }
        ids_ = std::move(kept);
    }

    std::vector<int32_t> ids_;
    std::unordered_set<int32_t> members_;
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
