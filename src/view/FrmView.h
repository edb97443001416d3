// TFrmView: the document window. It shows one document, folder listing or
// picture through exactly one frame, which it reaches only through IViewer,
// and keeps the window's history, font size and the address on screen.
#pragma once

#include "HistoryList.h"
#include "Viewer.h"
#include "gui/NForm.h"

#include <QWidget>
#include <memory>
#include <string>

class QAction;
class QMenu;

namespace kvelo {

class IViewHost;
class TKveloBase;
class TKveloBases;
class TTreeNode;

class TFrmView : public QWidget, public TNForm, private IHistoryOwner {
    Q_OBJECT
public:
    TFrmView(TKveloBases& catalogue, IViewHost& host, IFrameFactory& frames = DefaultFrameFactory(),
             QWidget* parent = nullptr);
    ~TFrmView() override;

    // Shows what `address` names (document id or "P" + node handle, with an
    // optional "#bookmark"); never throws: failures show "noDocument".
    void Navigate(const std::string& address, bool addToHistory);
    void SelectFrame(TStream* body, bool forceRichView);
    bool IsModified();
    void SetModified(bool modified);
    void ApplyFontSize(int size);
    void FocusViewer();
    int HistoryIndex() const { return history_.ItemIndex(); }
    int HistoryCount() const { return history_.Count(); }
    void HistoryGoTo(int index) { history_.GoTo(index); }
    // Called by the window list when this window becomes the active one.
    void Activated();

    IViewer& DocViewer() { return frame_->Viewer(); }
    TViewerFrame& Frame() { return *frame_; }
    int FontSize() const { return fontSize_; }
    const std::string& Address() const { return address_; }
    const std::string& Title() const { return title_; }
    bool LoadedFromBase() const { return loadedFromBase_; }
    TKveloBase* Base() const { return base_; }
    const std::string& SourceType() const { return sourceType_; }
    int Tag() const { return tag_; }
    int LastLinkTarget = 0;
    QMenu* PopupMenu1() const { return popup_; }

    // Context menu commands by Tag (1 open, 2 open in a new window, 3 select
    // all, 4 deselect, 5 copy, 6 paste).
    void DoClick(int tag);
    void DoPopUp();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    std::unique_ptr<TStream> resolve(const std::string& document);
    void loadIntoFrame(const std::string& document, TStream& body);
    std::unique_ptr<TStream> openNode(int handle);
    std::unique_ptr<TStream> LoadDoc(int id);
    std::unique_ptr<TStream> LoadFolder(TTreeNode* node);
    std::string listingTitle(TTreeNode* child);
    void ViewerChange();
    void showNote();
    void askToSave();
    std::string linkTarget();
    void createPopup();
    QAction* addPopupItem(const char* name, const QString& caption, int tag);

    std::string HistoryAddress() override { return address_; }
    std::string HistoryTitle() override { return title_; }
    int HistoryScrollPos() override { return DocViewer().GetScrollPos(); }
    void HistoryNavigate(const std::string& address) override { Navigate(address, false); }
    void HistorySetScrollPos(int position) override { DocViewer().SetScrollPos(position); }

    TKveloBases& catalogue_;
    IViewHost& host_;
    IFrameFactory& frames_;
    std::unique_ptr<TViewerFrame> frame_;
    THistoryList history_;
    QMenu* popup_ = nullptr;
    int fontSize_ = 12;
    bool modified_ = false;
    std::string address_;
    std::string title_;
    bool loadedFromBase_ = false;
    TKveloBase* base_ = nullptr;
    std::string sourceType_;
    int tag_ = 0;
};

} // namespace kvelo
