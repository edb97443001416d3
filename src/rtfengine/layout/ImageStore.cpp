#include "rtfengine/layout/ImageStore.h"

#include "rtfengine/layout/Units.h"
#include "rtfengine/model/Image.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <vector>

namespace kvelo::layout {
namespace {

constexpr int kBmpFileHeaderBytes = 14;
constexpr int kHimetricPerInch = 2540; // metafile extents are in 0.01 mm

bool isMetafile(TPictureKind kind) {
    return kind == TPictureKind::Emf || kind == TPictureKind::Wmf ||
           kind == TPictureKind::Os2Metafile || kind == TPictureKind::MacPict;
}

std::uint32_t readLe32(const std::vector<std::uint8_t>& bytes, std::size_t at) {
    if (at + 4 > bytes.size()) return 0;
    return bytes[at] | (bytes[at + 1] << 8) | (bytes[at + 2] << 16) |
           (static_cast<std::uint32_t>(bytes[at + 3]) << 24);
}

void writeLe32(std::vector<std::uint8_t>& bytes, std::size_t at, std::uint32_t value) {
    for (int i = 0; i < 4; ++i)
        bytes[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
}

// The reader writes a BMP file header with a zero bits offset; compute the
// real one from the info header and its colour table.
QImage decodeDib(const std::vector<std::uint8_t>& data) {
    if (data.size() < kBmpFileHeaderBytes + 16) return {};
    std::vector<std::uint8_t> bmp(data);
    const std::uint32_t infoBytes = readLe32(bmp, kBmpFileHeaderBytes);
    const std::uint32_t bits = readLe32(bmp, kBmpFileHeaderBytes + 12) >> 16;
    const std::uint32_t compression = readLe32(bmp, kBmpFileHeaderBytes + 16);
    std::uint32_t colours = infoBytes >= 40 ? readLe32(bmp, kBmpFileHeaderBytes + 32) : 0;
    if (colours == 0 && bits <= 8) colours = 1u << bits;
    std::uint64_t offset = kBmpFileHeaderBytes + std::uint64_t(infoBytes) + 4ull * colours;
    if (compression == 3 && infoBytes == 40) offset += 12; // BI_BITFIELDS masks
    if (infoBytes < 12 || offset >= bmp.size()) return {};
    writeLe32(bmp, 2, static_cast<std::uint32_t>(bmp.size()));
    writeLe32(bmp, 10, static_cast<std::uint32_t>(offset));
    return QImage::fromData(bmp.data(), static_cast<int>(bmp.size()), "BMP");
}

// Raw device-dependent bitmap bits: monochrome, 24 or 32 bits per pixel.
QImage decodeDdb(const TImageObj& image, const std::vector<std::uint8_t>& data) {
    const int w = image.PicW, h = image.PicH, bpp = image.BitsPerPixel * image.Planes;
    if (w <= 0 || h <= 0 || w > ImageStore::kMaxSidePx || h > ImageStore::kMaxSidePx) return {};
    const int minStride = (w * bpp + 15) / 16 * 2; // DDB rows are word-aligned
    const int stride = image.WidthBytes >= minStride ? image.WidthBytes : minStride;
    if (static_cast<std::uint64_t>(stride) * h > data.size()) return {};
    QImage::Format format = bpp == 1    ? QImage::Format_Mono
                            : bpp == 24 ? QImage::Format_BGR888
                            : bpp == 32 ? QImage::Format_RGB32
                                        : QImage::Format_Invalid;
    if (format == QImage::Format_Invalid) return {};
    QImage result(w, h, format);
    if (bpp == 1) result.setColorTable({qRgb(0, 0, 0), qRgb(255, 255, 255)});
    const int rowBytes = std::min(static_cast<int>(result.bytesPerLine()), stride);
    for (int y = 0; y < h; ++y)
        std::memcpy(result.scanLine(y), data.data() + static_cast<std::size_t>(y) * stride,
                    rowBytes);
    return result;
}

int clampSide(long long px) {
    if (px <= 0) return 0;
    return static_cast<int>(std::min<long long>(px, ImageStore::kMaxSidePx));
}

} // namespace

QImage decodePicture(const TImageObj& image) {
    if (!image.Bytes || image.Bytes->empty() || isMetafile(image.Kind)) return {};
    const std::vector<std::uint8_t>& data = *image.Bytes;
    if (image.Kind == TPictureKind::Dib) return decodeDib(data);
    if (image.Kind == TPictureKind::Ddb) return decodeDdb(image, data);
    if (data.size() > static_cast<std::size_t>(INT32_MAX)) return {};
    return QImage::fromData(data.data(), static_cast<int>(data.size()));
}

ImageStore::Decoded& ImageStore::decode(const TImageObj& image) {
    const void* key = image.Bytes.get();
    auto found = decoded_.find(key);
    if (found != decoded_.end()) return found->second;
    Decoded decoded;
    decoded.isMetafile = isMetafile(image.Kind);
    decoded.original = decodePicture(image);
    return decoded_.emplace(key, std::move(decoded)).first->second;
}

QSize ImageStore::displaySize(const TImageObj& image) {
    const Decoded& decoded = decode(image);
    long long w = 0, h = 0;
    if (image.DisplayWidthPx > 0 && image.DisplayHeightPx > 0) {
        w = image.DisplayWidthPx;
        h = image.DisplayHeightPx;
    } else if (!decoded.original.isNull()) {
        w = decoded.original.width();
        h = decoded.original.height();
    } else if (decoded.isMetafile) {
        w = mulDiv(image.PicW, kPixelsPerInch, kHimetricPerInch);
        h = mulDiv(image.PicH, kPixelsPerInch, kHimetricPerInch);
    } else {
        w = image.PicW;
        h = image.PicH;
    }
    if (decoded.isMetafile || image.ScaleXPercent != 100)
        w = std::llround(w * image.ScaleXPercent / 100.0);
    if (decoded.isMetafile || image.ScaleYPercent != 100)
        h = std::llround(h * image.ScaleYPercent / 100.0);
    int width = clampSide(w), height = clampSide(h);
    if (width == 0 || height == 0) width = height = kUnknownSidePx;
    return {width, height};
}

const QImage* ImageStore::imageFor(const void* key) {
    const auto& image = *static_cast<const TImageObj*>(key);
    Decoded& decoded = decode(image);
    if (decoded.original.isNull()) return nullptr;
    const QSize size = displaySize(image);
    auto& scaled = decoded.scaled[{size.width(), size.height()}];
    if (scaled.isNull())
        scaled = decoded.original.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    return &scaled;
}

} // namespace kvelo::layout
