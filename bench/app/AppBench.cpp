// Program-level speed: start-up to a painted main window over 50 bases,
// opening a 1 MB RTF document from a base to its first painted screen, and
// the paint time of one frame while scrolling a long document. Runs on the
// offscreen platform; bases are built by our own packer in the set-up.
#include "app/MainWindow.h"
#include "app/ShellPrompts.h"
#include "bases/Catalogue.h"
#include "gui/TreeView.h"
#include "pack/BasePacker.h"
#include "platform/Cp1251.h"
#include "rtfengine/viewer/RtfViewer.h"
#include "settings/Settings.h"
#include "view/FrmView.h"
#include "view/RtfFrame.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QScrollBar>
#include <benchmark/benchmark.h>
#include <nlohmann/json.hpp>

#include <cstdlib>
#include <filesystem>
#include <string>

namespace kvelo {
namespace {

namespace fs = std::filesystem;
using nlohmann::json;

struct QuietPrompts : IShellPrompts {
    bool EditFolderDialog(FolderDialogState&) override { return false; }
    void ShowMessage(std::string_view, MessageIcon) override {}
    bool Confirm(const QString&) override { return false; }
    void Inform(const QString&) override {}
    int Exec(QDialog&) override { return 0; }
};

// One paragraph of about 100 characters of legal prose with bold and a link.
std::string paragraph(int i) {
    return "\\pard\\qj\\fi567{\\b Статья " + std::to_string(i) +
           ".} Налоговые органы вправе требовать от налогоплательщика документы "
           "(см. {\\field{\\*\\fldinst HYPERLINK \"1002\"}{\\fldrslt \\cf2\\ul кодекс}}).\\par\n";
}

// UTF-8 RTF that is `bytes` long once stored in code page 1251.
std::string rtfOfSize(size_t bytes) {
    std::string rtf = "{\\rtf1\\ansi\\ansicpg1251{\\fonttbl{\\f0 Times New Roman;}}"
                      "{\\colortbl;\\red0\\green0\\blue0;\\red0\\green0\\blue255;}\\f0\\fs24\n";
    size_t stored = rtf.size();
    for (int i = 1; stored < bytes; ++i) {
        const std::string p = paragraph(i);
        stored += cp1251::fromUtf8(p).size();
        rtf += p;
    }
    return rtf + "}";
}

json baseManifest(int number, const std::string& body) {
    json docs = json::array();
    json tree = json::array();
    const int first = 100000 + number * 100;
    for (int d = 0; d < 20; ++d) {
        const int id = first + d;
        docs.push_back(json{{"id", id},
                            {"title", "Документ " + std::to_string(id)},
                            {"date", "01.02.2003"},
                            {"text", d == 0 ? body : "{\\rtf1 short}"}});
        tree.push_back(json{{"doc", id}});
    }
    return json{{"name", "База " + std::to_string(number)},
                {"tree", json::array({json{{"folder", "Папка"}, {"children", tree}}})},
                {"documents", docs}};
}

// A program folder with `count` bases (one "*.phb", the others "*.buk");
// the first base's first document is `body`.
struct ProgramFolder {
    std::string root;
    ProgramFolder(int count, const std::string& firstBody) {
        char pattern[] = "/tmp/kvelo-bench-XXXXXX";
        root = std::string(::mkdtemp(pattern)) + "/";
        fs::create_directories(root + "DATA");
        for (int i = 0; i < count; ++i) {
            const std::string name = i == 0 ? "main.phb" : "extra" + std::to_string(i) + ".buk";
            pack::PackBase(baseManifest(i, i == 0 ? firstBody : "{\\rtf1 x}"), root,
                           root + "DATA/" + name);
        }
        SettingsPaths paths;
        paths.programDir = root;
        paths.dataHome = root + "home";
        paths.tempRoot = root;
        CreateIniFiles(paths);
    }
    ~ProgramFolder() {
        FreeIniFiles();
        fs::remove_all(root);
    }
};

// Delivers paint events of `target` and notes when the first one ended.
class FirstPaint : public QObject {
public:
    explicit FirstPaint(QWidget* target) : target_(target) { target->installEventFilter(this); }
    bool painted = false;
    qint64 atNs = 0;
    QElapsedTimer* clock = nullptr;

protected:
    bool eventFilter(QObject* object, QEvent* event) override {
        if (object != target_ || event->type() != QEvent::Paint || painted || inside_) return false;
        inside_ = true;
        QCoreApplication::sendEvent(target_, event);
        inside_ = false;
        painted = true;
        if (clock) atNs = clock->nsecsElapsed();
        return true;
    }

private:
    QWidget* target_;
    bool inside_ = false;
};

void BM_StartupWith50Bases(benchmark::State& state) {
    ProgramFolder folder(50, "{\\rtf1 x}");
    QuietPrompts prompts;
    for (auto _ : state) {
        TFrmMain main(prompts);
        main.NewWindow();
        main.resize(1024, 700);
        main.show();
        main.TreeBase()->setFocus();
        main.repaint(); // the painted main window
        QApplication::processEvents();
        benchmark::DoNotOptimize(main.Views().size());
        state.counters["catalogue_children"] = main.GetCatalogue().TreeBase.GetFirstNode()->Count();
    }
}
BENCHMARK(BM_StartupWith50Bases)->Unit(benchmark::kMillisecond)->Iterations(5);

struct NullHost : IViewHost {
    void UpdateCommands() override {}
    void SaveDocument() override {}
    void CopyToClipboard() override {}
    void PasteFromClipboard() override {}
    bool CopyEnabled() override { return false; }
    bool PasteEnabled() override { return false; }
    void NavigateActive(const std::string&) override {}
    TFrmView* OpenNewWindow() override { return nullptr; }
    void SetExcelEnabled(bool) override {}
    void WindowActivated(TFrmView&) override {}
    void WindowChanged(TFrmView&) override {}
    void WindowClosed(TFrmView&) override {}
    bool AskSaveChanges() override { return false; }
};

void BM_Open1MbDocumentToFirstScreen(benchmark::State& state) {
    const std::string body = rtfOfSize(1 << 20);
    ProgramFolder folder(1, body);
    Catalogue catalogue(CatalogueOptionsFromSettings());
    NullHost host;
    for (auto _ : state) {
        TFrmView view(catalogue.Bases(), host);
        view.resize(900, 700);
        view.show();
        QApplication::processEvents();
        auto* frame = dynamic_cast<TRtfFrame*>(&view.Frame());
        FirstPaint first(frame->Control().viewport());
        QElapsedTimer clock;
        first.clock = &clock;
        clock.start();
        view.Navigate("100000", true);
        const qint64 wholeNs = clock.nsecsElapsed();
        if (!first.painted) state.SkipWithError("no paint while loading");
        state.SetIterationTime(static_cast<double>(first.atNs) / 1e9);
        state.counters["whole_load_ms"] = static_cast<double>(wholeNs) / 1e6;
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * body.size()));
}
BENCHMARK(BM_Open1MbDocumentToFirstScreen)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(5);

void BM_ScrollLongDocumentPerFrame(benchmark::State& state) {
    const std::string rtf = cp1251::fromUtf8(rtfOfSize(1 << 20));
    TRtfViewer viewer;
    viewer.resize(900, 700);
    viewer.show();
    TByteViewStream stream(reinterpret_cast<const uint8_t*>(rtf.data()), rtf.size());
    viewer.LoadFromStream(stream);
    QScrollBar* bar = viewer.verticalScrollBar();
    int step = 0;
    for (auto _ : state) {
        bar->setValue((++step * TRtfViewer::kLineStepPx * 3) % std::max(1, bar->maximum()));
        viewer.viewport()->repaint();
    }
    state.counters["doc_height_px"] = viewer.DocumentHeightPx();
}
BENCHMARK(BM_ScrollLongDocumentPerFrame)->Unit(benchmark::kMicrosecond);

} // namespace
} // namespace kvelo

int main(int argc, char** argv) {
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
