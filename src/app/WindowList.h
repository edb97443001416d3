// The main window's list of document windows, in creation order, with their
// titles and source types, and the state of the window menu items that show
// them: NWin0 .. NWin8 for the first nine windows, NWin9 ("other windows")
// for the tenth and later ones.
#pragma once

#include <array>
#include <string>
#include <vector>

namespace kvelo {

class TWindowList {
public:
    static constexpr int MenuItems = 10;   // NWin0 .. NWin9
    static constexpr int OwnItems = 9;     // windows with an item of their own
    static constexpr size_t TitleCut = 70; // longer titles are cut and get "..."

    struct MenuItem {
        bool visible = false;
        bool checked = false;
        std::string caption; // code page 1251
    };

    // The captions of a window before its first title and of NWin9.
    void SetCaptions(std::string newWindow, std::string otherWindows);

    // A new window (creation order); nothing when it is listed already.
    void Add(const void* window);
    // `window` became the active window.
    void Activate(const void* window);
    // The window's title or source type changed.
    void Change(const void* window, const std::string& title, const std::string& sourceType);
    void Remove(const void* window);

    int Count() const { return static_cast<int>(windows_.size()); }
    int IndexOf(const void* window) const;
    const void* Window(int index) const { return windows_.at(static_cast<size_t>(index)); }
    const std::vector<std::string>& Titles() const { return titles_; }
    const std::string& SourceType(int index) const {
        return sourceTypes_.at(static_cast<size_t>(index));
    }
    // -1 when no listed window is active.
    int ActiveIndex() const { return activeIndex_; }
    const void* LastWindow() const { return lastWindow_; }
    const MenuItem& Item(int index) const { return items_.at(static_cast<size_t>(index)); }

    // A title as a menu caption: at most 70 characters, then "...".
    static std::string MenuCaption(const std::string& title);

private:
    void showItems();
    int itemOf(int windowIndex) const { return windowIndex < OwnItems ? windowIndex : OwnItems; }

    std::vector<const void*> windows_;
    std::vector<std::string> titles_;
    std::vector<std::string> sourceTypes_;
    const void* lastWindow_ = nullptr;
    int activeIndex_ = -1;
    std::array<MenuItem, MenuItems> items_;
    std::string newWindow_ = "New window";
    std::string otherWindows_ = "Other windows";
};

} // namespace kvelo
