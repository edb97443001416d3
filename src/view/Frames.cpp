// The frame factory of the program: the RTF engine frame for RTF and plain
// text, the picture frame for pictures, and the RTF engine frame in its
// RichView role (a notice line) for RichView bodies.
#include "GraphicFrame.h"
#include "RtfFrame.h"

namespace kvelo {
namespace {

class ProgramFrames : public IFrameFactory {
public:
    std::unique_ptr<TViewerFrame> CreateFrame(FrameClass frameClass, QWidget* parent) override {
        if (frameClass == FrameClass::Graphic) return std::make_unique<TGraphicFrame>(parent);
        return std::make_unique<TRtfFrame>(parent, frameClass);
    }
};

} // namespace

IFrameFactory& DefaultFrameFactory() {
    static ProgramFrames factory;
    return factory;
}

} // namespace kvelo
