// A viewer of a fixed size showing RTF built in the test, with mouse helpers
// in viewport coordinates. "Courier New" (Liberation Mono) is 10 px per
// character and 18 px per line at 12 pt.
#pragma once

#include "platform/Cp1251.h"
#include "platform/Streams.h"
#include "rtfengine/viewer/RtfViewer.h"

#include <QApplication>
#include <QMouseEvent>

#include <string>

namespace kvelo::testing {

constexpr int kCharPx = 10;
constexpr int kLinePx = 18;

// RTF of paragraphs in Courier New; `body` is UTF-8 RTF markup.
inline std::string monoRtf(const std::string& bodyUtf8) {
    return "{\\rtf1\\ansi\\ansicpg1251{\\fonttbl{\\f0\\fmodern\\fcharset204 Courier "
           "New;}}\\f0\\fs24 " +
           cp1251::fromUtf8(bodyUtf8) + "}";
}

inline void loadRtf(TRtfViewer& viewer, const std::string& rtfCp1251) {
    TByteViewStream stream(reinterpret_cast<const uint8_t*>(rtfCp1251.data()), rtfCp1251.size());
    viewer.LoadFromStream(stream);
}

// The viewport point of character `column` on line `line` of the text.
inline QPoint charPoint(const TRtfViewer& viewer, int column, int line = 0) {
    return {viewer.MarginWidth() + column * kCharPx + 2,
            viewer.MarginHeight() + line * kLinePx + kLinePx / 2 - viewer.VScrollPosition()};
}

inline void sendMouse(TRtfViewer& viewer, QEvent::Type type, QPoint at,
                      Qt::MouseButton button = Qt::LeftButton) {
    const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : button;
    QMouseEvent event(type, at, viewer.viewport()->mapToGlobal(at), button, held, Qt::NoModifier);
    QApplication::sendEvent(viewer.viewport(), &event);
}

inline void click(TRtfViewer& viewer, QPoint at) {
    sendMouse(viewer, QEvent::MouseButtonPress, at);
    sendMouse(viewer, QEvent::MouseButtonRelease, at);
}

inline void drag(TRtfViewer& viewer, QPoint from, QPoint to) {
    sendMouse(viewer, QEvent::MouseButtonPress, from);
    QMouseEvent move(QEvent::MouseMove, to, viewer.viewport()->mapToGlobal(to), Qt::NoButton,
                     Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(viewer.viewport(), &move);
    sendMouse(viewer, QEvent::MouseButtonRelease, to);
}

inline std::string utf8(const std::string& cp1251Text) {
    return cp1251::toUtf8(cp1251Text);
}

} // namespace kvelo::testing
