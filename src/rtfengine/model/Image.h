// An inline picture of a paragraph: the picture bytes as the RTF carried them
// and the sizes the reader computed. Decoding and drawing are the layout's.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace kvelo {

// Picture kinds, numbered as the reader's picture state numbers them.
enum class TPictureKind : uint8_t {
    Emf = 0,         // \emfblip, and a \pict without a kind keyword
    Png = 1,         // \pngblip
    Jpeg = 2,        // \jpegblip
    MacPict = 3,     // \macpict (not kept by the reader)
    Os2Metafile = 4, // \pmmetafile (not kept by the reader)
    Wmf = 5,         // \wmetafileN: Windows metafile records without a placeable header
    Dib = 6,         // \dibitmap: stored as a complete BMP file (14-byte "BM" header + DIB)
    Ddb = 7,         // \wbitmap / \picbmp: raw device-dependent bitmap bits
};

using TPictureBytes = std::shared_ptr<const std::vector<uint8_t>>;

enum class TImageVAlign : uint8_t { Top = 0, Middle = 1, Bottom = 2 };

struct TImageObj {
    int32_t TextIndex = 0; // index of its placeholder character (4) in the paragraph text

    TPictureKind Kind = TPictureKind::Emf;
    TPictureBytes Bytes; // shared by clones; never null once the reader made the image

    // Extents as written: \picw/\pich (pixels for bitmaps, 0.01 mm for metafiles),
    // \picwgoal/\pichgoal (twips), \picscalex/\picscaley (percent).
    int32_t PicW = 0;
    int32_t PicH = 0;
    int32_t PicWGoalTwips = 0;
    int32_t PicHGoalTwips = 0;
    int32_t ScaleXPercent = 100;
    int32_t ScaleYPercent = 100;
    int32_t MetafileMappingMode = 1; // \wmetafileN, 1..8
    // Bitmap format of a Ddb (\wbmbitspixel, \wbmplanes, \wbmwidthbytes).
    int32_t BitsPerPixel = 1;
    int32_t Planes = 1;
    int32_t WidthBytes = 0;

    // Display size the reader computed from the goal sizes (or from the
    // metafile extents); 0 when the picture's own size is to be used.
    int32_t DisplayWidthPx = 0;
    int32_t DisplayHeightPx = 0;

    TImageVAlign VAlign = TImageVAlign::Bottom;
    bool NoLinkFrame = true;
    int32_t HSpacePx = 5;
    std::string AltText;

    size_t ByteCount() const { return Bytes ? Bytes->size() : 0; }
};

} // namespace kvelo
