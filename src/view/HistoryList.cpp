#include "HistoryList.h"

namespace kvelo {

void THistoryList::Add(const std::string& address, const std::string& title, int position) {
    const THistoryItem item{address, title, position};
    if (!items_.empty()) {
        items_[static_cast<size_t>(itemIndex_)] = item;
        items_.erase(items_.begin(), items_.begin() + itemIndex_);
    }
    itemIndex_ = 0;
    items_.insert(items_.begin(), item);
}

void THistoryList::GoTo(int index) {
    if (index == itemIndex_ || index < 0 || index >= Count()) return;
    const std::string address = owner_.HistoryAddress();
    if (!address.empty())
        items_[static_cast<size_t>(itemIndex_)] = {address, owner_.HistoryTitle(),
                                                   owner_.HistoryScrollPos()};
    const THistoryItem target = items_[static_cast<size_t>(index)];
    if (!target.Address.empty()) {
        if (target.Address != owner_.HistoryAddress()) owner_.HistoryNavigate(target.Address);
        owner_.HistorySetScrollPos(target.Position);
    }
    itemIndex_ = index;
}

} // namespace kvelo
