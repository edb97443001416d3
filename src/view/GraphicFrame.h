// TGraphicFrame: the document frame of picture bodies (BMP, PNG, JPEG, GIF;
// metafiles as a placeholder box of their size) with a tool bar for hand
// scrolling, zoom, quarter turns, actual size and three fit modes. Text
// operations of IViewer do nothing here.
#pragma once

#include "Viewer.h"
#include "platform/Streams.h"

#include <QImage>
#include <string>

class QAction;
class QToolBar;

namespace kvelo {

class ImageView;

class TGraphicFrame : public TViewerFrame, private IViewer {
    Q_OBJECT
public:
    explicit TGraphicFrame(QWidget* parent);
    IViewer& Viewer() override { return *this; }
    ImageView& ImgView() const { return *imgView_; }
    QAction* Action(const char* name) const;
    const std::string& DocName() const { return docName_; }

    void actZoomInExecute();
    void actZoomOutExecute();
    void actActualSizeExecute();
    void actFitImageExecute();
    void actFitWidthExecute();
    void actFitHeigthExecute();
    void actScrollExecute();
    void actScrollUpdate();

private:
    std::string GetCurrentLink() override { return {}; }
    int GetSelLength() override { return 0; }
    int GetFontSize() override { return 0; }
    std::string GetSelText() override { return {}; }
    std::string GetSelLink() override { return {}; }
    int GetScrollPos() override { return 0; }
    std::function<void()> GetOnChange() override { return onChange_; }
    QWidget* GetControl() override;
    void SetSelLength(int) override {}
    void SetFontSize(int) override {}
    void SetPopupMenu(QMenu* menu) override;
    void SetScrollPos(int) override {}
    void SetOnChange(std::function<void()> onChange) override { onChange_ = std::move(onChange); }
    void SelectAll() override {}
    void LoadDocument(const std::string& name, TStream& body) override;
    void GotoBookmark(const std::string&) override {}
    void ApplyFont(const QFont&) override {}
    void GetSelFont(QFont&) override {}
    void Print(int, int) override {}
    void PrintSelection() override {}
    void SetAlignment(int) override {}
    bool FindText(const std::string&, bool) override { return false; }
    void GetBookmarks(std::vector<std::string>&) override {}
    void AddBookmark(const std::string&) override {}
    void DeleteBookmark(const std::string&) override {}
    void SetLink(const std::string&) override {}
    bool CanSetLink() override { return false; }
    void SaveToStream(TStream& stream, bool native, bool selectionOnly, bool forClipboard) override;
    void LoadFromStream(TStream& stream) override;

    QAction* addAction(const char* name, void (TGraphicFrame::*handler)(),
                       const QKeySequence& shortcut = {});
    void createToolBar();

    QToolBar* toolBar1_;
    ImageView* imgView_;
    QMenu* popup_ = nullptr;
    std::function<void()> onChange_;
    std::string docName_;
    TMemoryStream loadedBytes_;
};

// The picture of a body: decoded BMP, PNG, JPEG or GIF; for a WMF or EMF a
// placeholder box of the size its header gives; null for anything else.
QImage PictureFromBody(const std::string& bytes);

} // namespace kvelo
