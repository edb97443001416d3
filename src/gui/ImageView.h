// ImageView: a scrollable, scalable view of one picture with quarter-turn
// rotation, a fit-the-view mode and hand scrolling (drag with the left
// button while the hand cursor is on). Pictures are drawn nearest-neighbour.
#pragma once

#include <QAbstractScrollArea>
#include <QImage>

namespace kvelo {

class ImageView : public QAbstractScrollArea {
    Q_OBJECT
public:
    // Scale: the picture at Scale() times its size; Optimal: shrunk so that
    // all of it fits the view (never enlarged).
    enum class ScaleMode { Scale, Optimal };

    explicit ImageView(QWidget* parent = nullptr);

    void SetImage(const QImage& image);
    const QImage& Image() const { return image_; }
    bool Empty() const { return image_.isNull(); }

    double Scale() const { return scale_; }
    void SetScale(double scale);
    ScaleMode Mode() const { return mode_; }
    void SetScaleMode(ScaleMode mode);
    // The scale the picture is drawn at (the fit scale in Optimal mode).
    double EffectiveScale() const;

    // A quarter turn of the shown picture (left: counter-clockwise).
    void RotateLeft();
    void RotateRight();

    bool HandScrolling() const { return hand_; }
    void SetHandScrolling(bool on);
    bool AnyScrollBarVisible() const;
    // Width of a vertical scroll bar (height of a horizontal one).
    int ScrollBarSize() const;
    // Hides both bars, then lets them follow the content again.
    void RecomputeScrollBars();
    void ScrollBy(int dx, int dy);

signals:
    void Changed();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    void updateScrollBars();
    QSize shownSize() const;

    QImage image_;
    double scale_ = 1.0;
    ScaleMode mode_ = ScaleMode::Scale;
    bool hand_ = false;
    QPoint lastPos_;
};

} // namespace kvelo
