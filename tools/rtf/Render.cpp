// kvelo-rtf render: lays an RTF file out at a width and paints it into one
// PNG, offscreen (no display needed).
#include "Commands.h"

#include "rtfengine/layout/DocumentLayout.h"
#include "rtfengine/layout/FontCache.h"
#include "rtfengine/model/Document.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <cstdlib>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

namespace kvelo::rtftool {
namespace {

// The viewer's default margins around the text (px).
constexpr int kMarginWidthPx = 10;
constexpr int kMarginHeightPx = 5;
// Renders taller than this are cut (memory stays bounded).
constexpr int kDefaultMaxHeightPx = 30000;

struct RenderArgs {
    std::string input;
    std::string output;
    int widthPx = 0;
    int fontSizePt = 12;
    int maxHeightPx = kDefaultMaxHeightPx;
};

std::optional<int> parseInt(const std::string& text) {
    char* end = nullptr;
    const long value = std::strtol(text.c_str(), &end, 10);
    if (text.empty() || *end != '\0' || value < 1 || value > 100000) return std::nullopt;
    return static_cast<int>(value);
}

std::optional<RenderArgs> parseArgs(const std::vector<std::string>& argv) {
    RenderArgs args;
    const int argc = static_cast<int>(argv.size());
    for (int i = 0; i < argc; ++i) {
        const std::string& arg = argv[i];
        const bool hasValue = i + 1 < argc;
        if (arg == "--width" && hasValue) {
            const auto width = parseInt(argv[++i]);
            if (!width) return std::nullopt;
            args.widthPx = *width;
        } else if (arg == "--font-size" && hasValue) {
            const auto size = parseInt(argv[++i]);
            if (!size) return std::nullopt;
            args.fontSizePt = *size;
        } else if (arg == "--max-height" && hasValue) {
            const auto height = parseInt(argv[++i]);
            if (!height) return std::nullopt;
            args.maxHeightPx = *height;
        } else if (arg == "-o" && hasValue) {
            args.output = argv[++i];
        } else if (args.input.empty() && !arg.empty() && (arg == "-" || arg[0] != '-')) {
            args.input = arg;
        } else {
            return std::nullopt;
        }
    }
    if (args.input.empty() || args.output.empty() || args.widthPx <= 2 * kMarginWidthPx)
        return std::nullopt;
    return args;
}

QColor toQColor(TColor c) {
    return QColor(RedOf(c), GreenOf(c), BlueOf(c));
}

int render(const RenderArgs& args) {
    TSectionList doc;
    doc.Settings.DefFontSize = args.fontSizePt;
    if (!LoadDocument(args.input, doc)) {
        if (doc.Empty()) return 1;
        std::cerr << "kvelo-rtf: showing what was read\n";
    }
    layout::FontCache fonts;
    layout::DocumentLayout layout(doc, fonts);
    layout.setBlockErrorHandler([](const std::string& message) {
        std::cerr << "kvelo-rtf: block left out: " << message << "\n";
    });
    layout.relayout(args.widthPx - 2 * kMarginWidthPx);

    const int heightPx = std::min(layout.heightPx() + 2 * kMarginHeightPx, args.maxHeightPx);
    QImage image(args.widthPx, std::max(1, heightPx), QImage::Format_RGB32);
    image.fill(toQColor(doc.Settings.BackgroundColor));
    QPainter painter(&image);
    layout.paint(painter, image.rect(), {kMarginWidthPx, kMarginHeightPx});
    painter.end();
    if (!image.save(QString::fromStdString(args.output), "PNG")) {
        std::cerr << "kvelo-rtf: cannot write " << args.output << "\n";
        return 1;
    }
    return 0;
}

constexpr const char* kUsage =
    "FILE --width PIXELS -o OUT.png [--font-size N] [--max-height PIXELS]";

int RenderCommand(const std::vector<std::string>& argv) {
    const auto args = parseArgs(argv);
    if (!args) {
        std::cerr << "usage: kvelo-rtf render " << kUsage << "\n";
        return 2;
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    int qtArgc = 1;
    char programName[] = "kvelo-rtf";
    char* qtArgv[] = {programName, nullptr};
    QGuiApplication app(qtArgc, qtArgv);
    return render(*args);
}

} // namespace

void RegisterRenderCommand() {
    RegisterCommand({"render", kUsage, "lay out at a width and paint to a PNG", RenderCommand});
}

} // namespace kvelo::rtftool
