#include "gui/ImageView.h"

#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyle>
#include <QTransform>

#include <algorithm>
#include <cmath>

namespace kvelo {
namespace {

// Scales beyond these would make views of absurd sizes.
constexpr double kMinScale = 1.0 / 64;
constexpr double kMaxScale = 64;

} // namespace

ImageView::ImageView(QWidget* parent) : QAbstractScrollArea(parent) {
    viewport()->setBackgroundRole(QPalette::Dark);
    viewport()->setAutoFillBackground(true);
    QPalette p = viewport()->palette();
    p.setColor(QPalette::Dark, QColor(0x80, 0x80, 0x80));
    viewport()->setPalette(p);
    setFrameStyle(QFrame::NoFrame);
}

void ImageView::SetImage(const QImage& image) {
    image_ = image;
    updateScrollBars();
    viewport()->update();
    emit Changed();
}

void ImageView::SetScale(double scale) {
    scale_ = std::clamp(scale, kMinScale, kMaxScale);
    updateScrollBars();
    viewport()->update();
    emit Changed();
}

void ImageView::SetScaleMode(ScaleMode mode) {
    mode_ = mode;
    updateScrollBars();
    viewport()->update();
    emit Changed();
}

double ImageView::EffectiveScale() const {
    if (mode_ == ScaleMode::Scale || image_.isNull()) return scale_;
    const double fit = std::min(static_cast<double>(width()) / image_.width(),
                                static_cast<double>(height()) / image_.height());
    return std::min(1.0, fit);
}

QSize ImageView::shownSize() const {
    if (image_.isNull()) return {};
    const double s = EffectiveScale();
    return {std::max(1, static_cast<int>(std::lround(image_.width() * s))),
            std::max(1, static_cast<int>(std::lround(image_.height() * s)))};
}

void ImageView::RotateLeft() {
    if (image_.isNull()) return;
    SetImage(image_.transformed(QTransform().rotate(-90)));
}

void ImageView::RotateRight() {
    if (image_.isNull()) return;
    SetImage(image_.transformed(QTransform().rotate(90)));
}

void ImageView::SetHandScrolling(bool on) {
    hand_ = on;
    viewport()->setCursor(on ? Qt::OpenHandCursor : Qt::ArrowCursor);
    emit Changed();
}

bool ImageView::AnyScrollBarVisible() const {
    return horizontalScrollBar()->maximum() > 0 || verticalScrollBar()->maximum() > 0;
}

int ImageView::ScrollBarSize() const {
    return style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this);
}

void ImageView::RecomputeScrollBars() {
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    updateScrollBars();
}

void ImageView::ScrollBy(int dx, int dy) {
    horizontalScrollBar()->setValue(horizontalScrollBar()->value() + dx);
    verticalScrollBar()->setValue(verticalScrollBar()->value() + dy);
}

void ImageView::updateScrollBars() {
    const QSize shown = shownSize();
    const QSize pane = viewport()->size();
    horizontalScrollBar()->setRange(0, std::max(0, shown.width() - pane.width()));
    verticalScrollBar()->setRange(0, std::max(0, shown.height() - pane.height()));
    horizontalScrollBar()->setPageStep(pane.width());
    verticalScrollBar()->setPageStep(pane.height());
}

void ImageView::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    updateScrollBars();
}

void ImageView::paintEvent(QPaintEvent*) {
    if (image_.isNull()) return;
    QPainter painter(viewport());
    const QSize shown = shownSize();
    const QSize pane = viewport()->size();
    // A picture smaller than the view sits in its middle.
    const int x = shown.width() < pane.width() ? (pane.width() - shown.width()) / 2
                                               : -horizontalScrollBar()->value();
    const int y = shown.height() < pane.height() ? (pane.height() - shown.height()) / 2
                                                 : -verticalScrollBar()->value();
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    painter.drawImage(QRect(QPoint(x, y), shown), image_);
}

void ImageView::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) lastPos_ = event->pos();
    if (event->button() == Qt::RightButton && hand_) SetHandScrolling(false);
    QAbstractScrollArea::mousePressEvent(event);
}

void ImageView::mouseMoveEvent(QMouseEvent* event) {
    if ((event->buttons() & Qt::LeftButton) && hand_) {
        const QPoint delta = lastPos_ - event->pos();
        ScrollBy(delta.x(), delta.y());
        lastPos_ = event->pos();
    }
}

} // namespace kvelo
