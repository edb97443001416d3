#include "TestHook.h"

#include "MainWindow.h"
#include "rtfengine/viewer/RtfViewer.h"
#include "view/FrmView.h"
#include "view/RtfFrame.h"

#include <QFile>
#include <QTimer>

#include <cstdlib>
#include <string>

namespace kvelo {
namespace {

constexpr int kStepDelayMs = 700;

std::string firstLink(const TSectionList& document) {
    std::string link;
    ForEachBlockDeep(document, [&](const TSectionBase& block) {
        if (!link.empty() || !block.IsParagraph()) return;
        for (const TFontObj& run : static_cast<const TSection&>(block).Fonts)
            if (run.IsLink()) {
                link = run.LinkTarget;
                return;
            }
    });
    return link;
}

void followFirstLink(TFrmMain& main) {
    TFrmView* view = main.ActiveView();
    auto* frame = view ? dynamic_cast<TRtfFrame*>(&view->Frame()) : nullptr;
    if (!frame) return;
    const std::string link = firstLink(frame->Control().Document());
    if (!link.empty()) frame->Control().FollowLink(link);
}

void writeMarker(TFrmMain& main, const QString& path) {
    QFile marker(path);
    if (!marker.open(QIODevice::WriteOnly | QIODevice::Truncate)) return;
    TFrmView* view = main.ActiveView();
    const std::string text = view ? view->Address() + "\n" : std::string("no window\n");
    marker.write(text.data(), static_cast<qint64>(text.size()));
}

} // namespace

void StartTestScript(TFrmMain& main) {
    const char* script = std::getenv("KVELO_TEST_SCRIPT");
    if (!script) return;
    const std::string value(script);
    const size_t semicolon = value.find(';');
    if (semicolon == std::string::npos) return;
    const std::string address = value.substr(0, semicolon);
    std::string rest = value.substr(semicolon + 1);
    const size_t second = rest.find(';');
    const bool follow = second == std::string::npos || rest.substr(second + 1) != "stay";
    const QString marker = QString::fromLocal8Bit(rest.substr(0, second).c_str());
    QTimer::singleShot(kStepDelayMs, &main, [&main, address] {
        // "cmd:N" runs the main window's command N (the information dialogs);
        // "ID+N" opens document ID and then runs command N (print preview: 5).
        const size_t plus = address.find('+');
        if (address.rfind("cmd:", 0) == 0) {
            main.DoClick(std::atoi(address.c_str() + 4));
            return;
        }
        if (TFrmView* view = main.ActiveView()) view->Navigate(address.substr(0, plus), true);
        if (plus != std::string::npos) main.DoClick(std::atoi(address.c_str() + plus + 1));
    });
    if (follow) QTimer::singleShot(2 * kStepDelayMs, &main, [&main] { followFirstLink(main); });
    QTimer::singleShot(3 * kStepDelayMs, &main, [&main, marker] { writeMarker(main, marker); });
}

} // namespace kvelo
