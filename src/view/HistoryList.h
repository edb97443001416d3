// The back/forward history of a document window, newest entry first: entry 0
// is the most recent, larger indexes are older, the entry at ItemIndex is
// the page on screen (its values are refreshed when the page is left).
#pragma once

#include <string>
#include <vector>

namespace kvelo {

struct THistoryItem {
    std::string Address; // without bookmark
    std::string Title;
    int Position = 0; // vertical scroll position of the viewer
};

// The window whose pages the history lists.
class IHistoryOwner {
public:
    virtual ~IHistoryOwner() = default;
    virtual std::string HistoryAddress() = 0;
    virtual std::string HistoryTitle() = 0;
    virtual int HistoryScrollPos() = 0;
    virtual void HistoryNavigate(const std::string& address) = 0; // without a history entry
    virtual void HistorySetScrollPos(int position) = 0;
};

class THistoryList {
public:
    explicit THistoryList(IHistoryOwner& owner) : owner_(owner) {}

    // The page being left takes these values, the forward pages are dropped,
    // and a new entry with the same values stands for the page being opened.
    void Add(const std::string& address, const std::string& title, int position);
    // Shows the page of entry `index` at its scroll position.
    void GoTo(int index);

    int ItemIndex() const { return itemIndex_; }
    int Count() const { return static_cast<int>(items_.size()); }
    const THistoryItem& Item(int index) const { return items_.at(static_cast<size_t>(index)); }

private:
    IHistoryOwner& owner_;
    std::vector<THistoryItem> items_;
    int itemIndex_ = 0;
};

} // namespace kvelo
