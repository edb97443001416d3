#include "GraphicFrame.h"

#include "bases/BodyKind.h"
#include "gui/ImageView.h"

#include <QAction>
#include <QMenu>
#include <QPainter>
#include <QToolBar>
#include <QVBoxLayout>

#include <algorithm>
#include <cstring>

namespace kvelo {
namespace {

constexpr int kMaxPlaceholderSidePx = 4000;
constexpr int64_t kMaxPictureBytes = 256 * 1024 * 1024;
constexpr uint32_t kPlaceableWmfKey = 0x9AC6CDD7;

uint32_t u32At(const std::string& b, size_t at) {
    uint32_t v = 0;
    for (int i = 3; i >= 0; --i)
        v = (v << 8) | static_cast<unsigned char>(b[at + i]);
    return v;
}

int16_t i16At(const std::string& b, size_t at) {
    return static_cast<int16_t>(static_cast<unsigned char>(b[at]) |
                                (static_cast<unsigned char>(b[at + 1]) << 8));
}

QSize clampedSize(int64_t w, int64_t h) {
    auto side = [](int64_t v) {
        return static_cast<int>(std::clamp<int64_t>(v, 16, kMaxPlaceholderSidePx));
    };
    return {side(w), side(h)};
}

// Size of a metafile from its header: a placeable WMF's box and units per
// inch, an EMF's bounds in device pixels; 200 x 150 when unknown.
QSize metafileSize(const std::string& b, const std::string& kind) {
    if (kind == ".wmf" && b.size() >= 16 && u32At(b, 0) == kPlaceableWmfKey) {
        const int inch = static_cast<uint16_t>(i16At(b, 14));
        if (inch > 0)
            return clampedSize(int64_t(i16At(b, 10) - i16At(b, 6)) * 96 / inch,
                               int64_t(i16At(b, 12) - i16At(b, 8)) * 96 / inch);
    }
    if (kind == ".emf" && b.size() >= 24) {
        const auto left = static_cast<int32_t>(u32At(b, 8));
        const auto top = static_cast<int32_t>(u32At(b, 12));
        const auto right = static_cast<int32_t>(u32At(b, 16));
        const auto bottom = static_cast<int32_t>(u32At(b, 20));
        return clampedSize(int64_t(right) - left + 1, int64_t(bottom) - top + 1);
    }
    return {200, 150};
}

QImage placeholder(QSize size, const QString& label) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(QColor(0xF4, 0xF4, 0xF4));
    QPainter p(&image);
    p.setPen(QColor(0x60, 0x60, 0x60));
    p.drawRect(0, 0, size.width() - 1, size.height() - 1);
    p.drawLine(0, 0, size.width() - 1, size.height() - 1);
    p.drawLine(size.width() - 1, 0, 0, size.height() - 1);
    p.fillRect(QRect(size.width() / 2 - 30, size.height() / 2 - 10, 60, 20), Qt::white);
    p.drawText(image.rect(), Qt::AlignCenter, label);
    return image;
}

std::string readAll(TStream& stream) {
    stream.SetPosition(0);
    const int64_t size = std::clamp<int64_t>(stream.Size(), 0, kMaxPictureBytes);
    std::string bytes(static_cast<size_t>(size), '\0');
    bytes.resize(stream.Read(bytes.data(), bytes.size()));
    return bytes;
}

// The tool bar shows a glyph per action; the caption stays the action's name.
QString glyphOf(const char* action) {
    static const std::pair<const char*, const char*> glyphs[] = {
        {"actScroll", "Hand"},    {"actZoom", "Zoom"},    {"actRotateLeft", "⟲"},
        {"actRotateRight", "⟳"},  {"actZoomIn", "+"},     {"actZoomOut", "−"},
        {"actActualSize", "1:1"}, {"actFitImage", "Fit"}, {"actFitWidth", "↔"},
        {"actFitHeigth", "↕"}};
    for (const auto& [name, glyph] : glyphs)
        if (std::strcmp(name, action) == 0) return QString::fromUtf8(glyph);
    return QString::fromLatin1(action);
}

} // namespace

QImage PictureFromBody(const std::string& bytes) {
    TByteViewStream view(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
    const std::string kind = shFormatFromStream(&view);
    if (kind == ".wmf" || kind == ".emf")
        return placeholder(metafileSize(bytes, kind),
                           QString::fromLatin1(kind.substr(1).c_str()).toUpper());
    if (!IsGraphicFormat(kind)) return {};
    QImage image;
    image.loadFromData(reinterpret_cast<const uchar*>(bytes.data()),
                       static_cast<int>(std::min<size_t>(bytes.size(), INT32_MAX)));
    return image;
}

TGraphicFrame::TGraphicFrame(QWidget* parent)
    : TViewerFrame(FrameClass::Graphic, parent), toolBar1_(new QToolBar(this)),
      imgView_(new ImageView(this)) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    toolBar1_->setObjectName(QStringLiteral("ToolBar1"));
    imgView_->setObjectName(QStringLiteral("ImgView"));
    layout->addWidget(toolBar1_);
    layout->addWidget(imgView_);
    createToolBar();
    connect(imgView_, &ImageView::Changed, this, [this] {
        actScrollUpdate();
        if (onChange_) onChange_();
    });
    imgView_->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(imgView_, &QWidget::customContextMenuRequested, this, [this](const QPoint& pos) {
        if (popup_) popup_->popup(imgView_->mapToGlobal(pos));
    });
    actScrollUpdate();
}

QAction* TGraphicFrame::addAction(const char* name, void (TGraphicFrame::*handler)(),
                                  const QKeySequence& shortcut) {
    QAction* action = toolBar1_->addAction(QString::fromLatin1(name));
    action->setObjectName(QString::fromLatin1(name));
    action->setIconText(glyphOf(name));
    action->setToolTip(QString::fromLatin1(name));
    action->setShortcut(shortcut);
    action->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    if (handler)
        connect(action, &QAction::triggered, this, handler);
    else
        action->setEnabled(false); // an action without a handler is shown disabled
    return action;
}

void TGraphicFrame::createToolBar() {
    addAction("actScroll", &TGraphicFrame::actScrollExecute, QKeySequence(Qt::SHIFT | Qt::Key_F1))
        ->setCheckable(true);
    addAction("actZoom", nullptr, QKeySequence(Qt::SHIFT | Qt::Key_F3));
    toolBar1_->addSeparator();
    addAction("actRotateLeft", nullptr, QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_Left));
    addAction("actRotateRight", nullptr, QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_Right));
    connect(Action("actRotateLeft"), &QAction::triggered, imgView_, &ImageView::RotateLeft);
    connect(Action("actRotateRight"), &QAction::triggered, imgView_, &ImageView::RotateRight);
    Action("actRotateLeft")->setEnabled(true);
    Action("actRotateRight")->setEnabled(true);
    toolBar1_->addSeparator();
    addAction("actZoomIn", &TGraphicFrame::actZoomInExecute);
    addAction("actZoomOut", &TGraphicFrame::actZoomOutExecute);
    toolBar1_->addSeparator();
    addAction("actActualSize", &TGraphicFrame::actActualSizeExecute);
    addAction("actFitImage", &TGraphicFrame::actFitImageExecute);
    addAction("actFitWidth", &TGraphicFrame::actFitWidthExecute);
    addAction("actFitHeigth", &TGraphicFrame::actFitHeigthExecute);
}

QAction* TGraphicFrame::Action(const char* name) const {
    return toolBar1_->findChild<QAction*>(QString::fromLatin1(name));
}

void TGraphicFrame::actZoomInExecute() {
    imgView_->SetScaleMode(ImageView::ScaleMode::Scale);
    imgView_->SetScale(imgView_->Scale() * 1.5);
}

void TGraphicFrame::actZoomOutExecute() {
    imgView_->SetScaleMode(ImageView::ScaleMode::Scale);
    imgView_->SetScale(imgView_->Scale() * 0.5);
}

void TGraphicFrame::actActualSizeExecute() {
    imgView_->SetScaleMode(ImageView::ScaleMode::Scale);
    imgView_->SetScale(1);
}

void TGraphicFrame::actFitImageExecute() {
    if (imgView_->Empty()) return;
    imgView_->SetScaleMode(ImageView::ScaleMode::Optimal);
}

void TGraphicFrame::actFitWidthExecute() {
    if (imgView_->Empty()) return;
    imgView_->SetScaleMode(ImageView::ScaleMode::Scale);
    imgView_->SetScale(static_cast<double>(imgView_->width() - imgView_->ScrollBarSize()) /
                       imgView_->Image().width());
    imgView_->RecomputeScrollBars();
}

void TGraphicFrame::actFitHeigthExecute() {
    if (imgView_->Empty()) return;
    imgView_->SetScaleMode(ImageView::ScaleMode::Scale);
    imgView_->SetScale(static_cast<double>(imgView_->height()) / imgView_->Image().height());
    imgView_->RecomputeScrollBars();
}

void TGraphicFrame::actScrollExecute() {
    imgView_->SetHandScrolling(Action("actScroll")->isChecked());
}

void TGraphicFrame::actScrollUpdate() {
    QAction* scroll = Action("actScroll");
    const bool enabled = imgView_->AnyScrollBarVisible();
    scroll->setEnabled(enabled);
    const QSignalBlocker blocker(scroll);
    scroll->setChecked(enabled && imgView_->HandScrolling());
}

QWidget* TGraphicFrame::GetControl() {
    return imgView_;
}

void TGraphicFrame::SetPopupMenu(QMenu* menu) {
    popup_ = menu;
}

void TGraphicFrame::LoadDocument(const std::string& name, TStream& body) {
    docName_ = name;
    LoadFromStream(body);
}

void TGraphicFrame::LoadFromStream(TStream& stream) {
    const std::string bytes = readAll(stream);
    loadedBytes_.Clear();
    loadedBytes_.WriteBytes(bytes);
    stream.SetPosition(0);
    imgView_->SetImage(PictureFromBody(bytes));
}

void TGraphicFrame::SaveToStream(TStream& stream, bool, bool, bool) {
    const auto& bytes = loadedBytes_.Bytes();
    stream.WriteBuffer(bytes.data(), bytes.size());
}

} // namespace kvelo
