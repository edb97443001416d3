// Decodes the pictures of a document once and keeps them stretched to their
// display size: PNG, JPEG, GIF, BMP (DIB) and simple device-dependent bitmaps
// through QImage; metafiles are not decoded and show as a placeholder box.
#pragma once

#include "rtfengine/layout/PaintContext.h"

#include <QImage>
#include <QSize>

#include <map>
#include <utility>

namespace kvelo {
struct TImageObj;
}

namespace kvelo::layout {

class ImageStore : public ImageSource {
public:
    // Largest side of a displayed picture, so hostile sizes stay bounded.
    static constexpr int kMaxSidePx = 4000;
    // Box of a picture without any known size.
    static constexpr int kUnknownSidePx = 24;

    // The laid-out size of a picture (display size from the reader, or its own
    // size, scaled by picscalex/picscaley).
    QSize displaySize(const TImageObj& image);
    // The picture stretched to displaySize(), or null when it cannot be shown.
    const QImage* imageFor(const void* key) override; // key: a const TImageObj*

    void clear() { decoded_.clear(); }

private:
    struct Decoded {
        QImage original; // null when the data is not a picture QImage reads
        bool isMetafile = false;
        std::map<std::pair<int, int>, QImage> scaled;
    };
    Decoded& decode(const TImageObj& image);
    std::map<const void*, Decoded> decoded_; // key: the shared picture bytes
};

// The picture of a DIB, DDB, PNG, JPEG, GIF or BMP; null for metafiles and
// for data that does not decode. Exposed for tests.
QImage decodePicture(const TImageObj& image);

} // namespace kvelo::layout
