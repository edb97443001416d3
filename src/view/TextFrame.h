// The stand-in document frame: shows a body's text (RTF read roughly, plain
// text as it is) in a read-only text browser, with links and bookmarks, until
// the RTF engine, RichView and picture frames take over their bodies.
#pragma once

#include "Viewer.h"

class QTextBrowser;

namespace kvelo {

class TTextFrame : public TViewerFrame, private IViewer {
    Q_OBJECT
public:
    TTextFrame(FrameClass frameClass, QWidget* parent);
    IViewer& Viewer() override { return *this; }
    QTextBrowser* Browser() const { return browser_; }
    const std::string& DocumentName() const { return name_; }

private:
    std::string GetCurrentLink() override;
    int GetSelLength() override;
    int GetFontSize() override { return fontSize_; }
    std::string GetSelText() override;
    std::string GetSelLink() override { return {}; }
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
    void ApplyFont(const QFont&) override {}
    void GetSelFont(QFont& font) override;
    void Print(int, int) override {}
    void PrintSelection() override {}
    void SetAlignment(int) override {}
    bool FindText(const std::string& text, bool matchCase) override;
    void GetBookmarks(std::vector<std::string>&) override {}
    void AddBookmark(const std::string&) override {}
    void DeleteBookmark(const std::string&) override {}
    void SetLink(const std::string&) override {}
    bool CanSetLink() override { return false; }
    void SaveToStream(TStream& stream, bool native, bool selectionOnly, bool forClipboard) override;
    void LoadFromStream(TStream& stream) override;

    void showContextMenu(const QPoint& pos);
    void changed();

    QTextBrowser* browser_;
    QMenu* popup_ = nullptr;
    std::function<void()> onChange_;
    std::string name_;
    std::string body_;
    std::string hoveredLink_;
    int fontSize_ = 12;
};

} // namespace kvelo
