// The interface of every document frame (IViewer), the second interface of
// editable frames (IEditableViewer), and the frame widget base class through
// which the document window reaches them.
#pragma once

#include <QWidget>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class QFont;
class QMenu;

namespace kvelo {

class TStream;

// Texts are code page 1251 unless a Qt type says otherwise.
class IViewer {
public:
    virtual ~IViewer() = default;
    virtual std::string GetCurrentLink() = 0; // the link under the mouse or at the caret
    virtual int GetSelLength() = 0;           // characters selected; 0 for none
    virtual int GetFontSize() = 0;
    virtual std::string GetSelText() = 0;
    virtual std::string GetSelLink() = 0;
    virtual int GetScrollPos() = 0; // in the frame's own units
    virtual std::function<void()> GetOnChange() = 0;
    virtual QWidget* GetControl() = 0;         // the inner control, to give it the focus
    virtual void SetSelLength(int length) = 0; // 0 removes the selection; others are ignored
    virtual void SetFontSize(int size) = 0;
    virtual void SetPopupMenu(QMenu* menu) = 0;
    virtual void SetScrollPos(int position) = 0;
    virtual void SetOnChange(std::function<void()> onChange) = 0;
    virtual void SelectAll() = 0;
    // Shows `body` (still owned by the caller); `name` is the current document
    // that links naming only a bookmark refer to.
    virtual void LoadDocument(const std::string& name, TStream& body) = 0;
    virtual void GotoBookmark(const std::string& name) = 0; // unknown names do nothing
    virtual void ApplyFont(const QFont& font) = 0;
    virtual void GetSelFont(QFont& font) = 0;
    virtual void Print(int fromPage, int toPage) = 0;
    virtual void PrintSelection() = 0;
    virtual void SetAlignment(int alignment) = 0; // 0 left, 1 centre, 2 right, 3 justify
    virtual bool FindText(const std::string& text, bool matchCase) = 0;
    virtual void GetBookmarks(std::vector<std::string>& names) = 0; // without "bm_"
    virtual void AddBookmark(const std::string& name) = 0;
    virtual void DeleteBookmark(const std::string& name) = 0;
    virtual void SetLink(const std::string& target) = 0;
    virtual bool CanSetLink() = 0;
    virtual void SaveToStream(TStream& stream, bool native, bool selectionOnly,
                              bool forClipboard) = 0;
    virtual void LoadFromStream(TStream& stream) = 0;
};

class IEditableViewer {
public:
    virtual ~IEditableViewer() = default;
    virtual bool GetModified() = 0;
    virtual bool GetReadOnly() = 0;
    virtual void SetModified(bool modified) = 0;
    virtual void SetReadOnly(bool readOnly) = 0;
};

// Which frame shows a body.
enum class FrameClass { Rtf, RichView, Graphic };

// A document frame: a widget that fills the document window and offers
// IViewer (and IEditableViewer when it can edit).
class TViewerFrame : public QWidget {
    Q_OBJECT
public:
    TViewerFrame(FrameClass frameClass, QWidget* parent) : QWidget(parent), class_(frameClass) {}
    FrameClass Class() const { return class_; }
    virtual IViewer& Viewer() = 0;
    virtual IEditableViewer* Editable() { return nullptr; }

signals:
    // A link was clicked; the window navigates to it after the click is over.
    void LinkActivated(const QString& target);

private:
    FrameClass class_;
};

// Makes the frames; the real frames replace the stand-ins here.
class IFrameFactory {
public:
    virtual ~IFrameFactory() = default;
    virtual std::unique_ptr<TViewerFrame> CreateFrame(FrameClass frameClass, QWidget* parent) = 0;
};

// The factory of this build.
IFrameFactory& DefaultFrameFactory();

} // namespace kvelo
