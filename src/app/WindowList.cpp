#include "WindowList.h"

#include <algorithm>

namespace kvelo {

void TWindowList::SetCaptions(std::string newWindow, std::string otherWindows) {
    newWindow_ = std::move(newWindow);
    otherWindows_ = std::move(otherWindows);
    showItems();
}

std::string TWindowList::MenuCaption(const std::string& title) {
    return title.size() > TitleCut ? title.substr(0, TitleCut) + "..." : title;
}

int TWindowList::IndexOf(const void* window) const {
    const auto it = std::find(windows_.begin(), windows_.end(), window);
    return it == windows_.end() ? -1 : static_cast<int>(it - windows_.begin());
}

void TWindowList::Add(const void* window) {
    lastWindow_ = window;
    if (IndexOf(window) >= 0) return;
    windows_.push_back(window);
    titles_.push_back(newWindow_);
    sourceTypes_.emplace_back();
    activeIndex_ = Count() - 1;
    showItems();
}

void TWindowList::Activate(const void* window) {
    lastWindow_ = window;
    activeIndex_ = IndexOf(window);
    showItems();
}

void TWindowList::Change(const void* window, const std::string& title,
                         const std::string& sourceType) {
    const int index = IndexOf(window);
    if (index < 0) return;
    titles_[static_cast<size_t>(index)] = title;
    sourceTypes_[static_cast<size_t>(index)] = sourceType;
    showItems();
}

void TWindowList::Remove(const void* window) {
    const int index = IndexOf(window);
    if (index < 0) return;
    windows_.erase(windows_.begin() + index);
    titles_.erase(titles_.begin() + index);
    sourceTypes_.erase(sourceTypes_.begin() + index);
    if (lastWindow_ == window) lastWindow_ = nullptr;
    activeIndex_ = -1;
    showItems();
}

void TWindowList::showItems() {
    for (int i = 0; i < MenuItems; ++i) {
        MenuItem& item = items_[static_cast<size_t>(i)];
        item.visible = i < Count();
        item.checked = activeIndex_ >= 0 && itemOf(activeIndex_) == i;
        if (i == OwnItems)
            item.caption = otherWindows_;
        else
            item.caption = i < Count() ? MenuCaption(titles_[static_cast<size_t>(i)]) : newWindow_;
    }
}

} // namespace kvelo
