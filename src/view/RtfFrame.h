// TRtfFrame: the document frame on the program's own RTF viewer. It hands
// the window's body to the viewer, turns link clicks into navigations of the
// window (after the click is over), and maps the window's font, link,
// bookmark, alignment, print and save commands onto the viewer's selection.
#pragma once

#include "Viewer.h"

#include <string>

namespace kvelo {

class TRtfViewer;

class TRtfFrame : public TViewerFrame, private IViewer {
    Q_OBJECT
public:
    // A RichView frame class shows RichView bodies as a short notice.
    explicit TRtfFrame(QWidget* parent, FrameClass frameClass = FrameClass::Rtf);
    IViewer& Viewer() override { return *this; }
    TRtfViewer& Control() const { return *viewer_; }
    const std::string& PendingName() const { return pendingName_; }
    const std::string& PendingBookmark() const { return pendingBookmark_; }

private:
    std::string GetCurrentLink() override;
    int GetSelLength() override;
    int GetFontSize() override;
    std::string GetSelText() override;
    std::string GetSelLink() override;
    int GetScrollPos() override;
    std::function<void()> GetOnChange() override { return onChange_; }
    QWidget* GetControl() override;
    void SetSelLength(int length) override;
    void SetFontSize(int size) override;
    void SetPopupMenu(QMenu* menu) override { popup_ = menu; }
    void SetScrollPos(int position) override;
    void SetOnChange(std::function<void()> onChange) override { onChange_ = std::move(onChange); }
    void SelectAll() override;
    void LoadDocument(const std::string& name, TStream& body) override;
    void GotoBookmark(const std::string& name) override;
    void ApplyFont(const QFont& font) override;
    void GetSelFont(QFont& font) override;
    void Print(int fromPage, int toPage) override;
    void PrintSelection() override;
    void SetAlignment(int alignment) override;
    bool FindText(const std::string& text, bool matchCase) override;
    void GetBookmarks(std::vector<std::string>& names) override;
    void AddBookmark(const std::string& name) override;
    void DeleteBookmark(const std::string& name) override;
    void SetLink(const std::string& target) override;
    bool CanSetLink() override;
    void SaveToStream(TStream& stream, bool native, bool selectionOnly, bool forClipboard) override;
    void LoadFromStream(TStream& stream) override;

    TStream* supplyStream(const std::string& fileName, const std::string& bookmark);
    void navigatePending();
    void changed();
    void showContextMenu(const QPoint& pos);

    TRtfViewer* viewer_;
    QMenu* popup_ = nullptr;
    TStream* pendingStream_ = nullptr; // not owned; set during LoadDocument only
    std::string pendingName_;
    std::string pendingBookmark_;
    std::function<void()> onChange_;
};

} // namespace kvelo
