// Opens a base from arbitrary bytes and walks it completely: every index
// searched, every folder expanded, every document located, every body,
// attachment and accessor read. Any exception the database documents is fine; a logic error, a
// crash, a hang or a leak is a finding.
#include "FuzzInput.h"

#include "bases/Base.h"
#include "bases/BodyKind.h"
#include "platform/TreeNodes.h"
#include "settings/Settings.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>
#include <unistd.h>

namespace {

std::string workDir;

constexpr int MaxNodes = 4000; // a cyclic folder tree is infinite when fully expanded
constexpr size_t MaxDocuments = 3000;
constexpr uint64_t MaxBodyBytes = 8u << 20;

void WriteFile(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::ofstream(path, std::ios::binary | std::ios::trunc)
        .write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
}

// Runs one step; documented failures are exceptions derived from
// std::runtime_error. Anything else is a fault of the reader.
template <typename Step> void Guarded(Step step) {
    try {
        step();
    } catch (const std::logic_error&) {
        std::abort();
    } catch (const std::runtime_error&) {
    }
}

void ExpandAll(kvelo::TBase& base, kvelo::TTreeNode* node) {
    if (node->Owner().Count() > MaxNodes) return;
    base.ExpandNode(node);
    for (int i = 0; i < node->Count(); ++i)
        ExpandAll(base, node->Item(i));
}

void Drain(kvelo::TStream* stream) {
    if (!stream) return;
    char buffer[65536];
    while (stream->Read(buffer, sizeof buffer) == sizeof buffer) {
    }
}

void ReadDocument(kvelo::TBase& base, int32_t id) {
    Guarded([&] { base.LocateNode(id); });
    if (!base.SelectDoc(id)) return;
    Guarded([&] { base.GetTitle(); });
    Guarded([&] { base.GetDate(); });
    Guarded([&] { base.GetComment(); });
    Guarded([&] { base.GetChangeDate(); });
    Guarded([&] { base.GetSourceType(); });
    Guarded([&] { base.IsRichViewBody(); });
    Guarded([&] { base.IsExcluded(); });
    Guarded([&] {
        auto body = base.GetDocStream();
        kvelo::shFormatFromStream(body.get());
    });
    Guarded([&] {
        auto attach = base.GetAttachStream();
        Drain(attach.get());
    });
}

// Every index search, with keys that probe the start, middle and end of the tables.
void SearchIndexes(kvelo::TBase& base) {
    kvelo::TIdList ids;
    kvelo::TCodeNameList names;
    for (const char* text : {"", "1", "\xC0", "\xCD\xC0\xCB\xCE\xC3", "\xFF\xFF"}) {
        base.FindByNumber(text, ids);
        base.FindByRegNumber(text, ids);
        base.FindTitleWords(text, ids, false);
        base.FindTextWords(text, ids, true);
    }
    for (int32_t code : {0, 1, 65535}) {
        base.FindByType(code, ids);
        base.FindByOrgan(code, ids);
    }
    base.FindByDate(ids, 0, 1e6);
    base.FindByDate(ids, 36526, 36526);
    base.ListExcluded(ids);
    base.ListDocTypes(names);
    base.ListOrgans(names);
}

void Walk(kvelo::TBase& base) {
    Guarded([&] { SearchIndexes(base); });
    ExpandAll(base, base.RootNode());
    kvelo::TIdList ids;
    base.ListAllDocs(ids);
    for (size_t i = 0; i < ids.Count() && i < MaxDocuments; ++i)
        ReadDocument(base, ids[i]);
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    char pattern[] = "/tmp/kvelo-fuzz-base-XXXXXX";
    workDir = ::mkdtemp(pattern);
    std::filesystem::create_directories(workDir + "/prog");
    std::filesystem::create_directories(workDir + "/tmp");
    kvelo::SettingsPaths paths;
    paths.programDir = workDir + "/prog";
    paths.dataHome = workDir + "/home";
    paths.tempRoot = workDir + "/tmp";
    kvelo::CreateIniFiles(paths);
    std::atexit([] { std::filesystem::remove_all(workDir); });
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const kvelo::fuzz::BaseFiles files = kvelo::fuzz::SplitInput(data, size);
    const std::string basePath = workDir + "/f.buk";
    const std::string companionPath = workDir + "/f.dcm";
    WriteFile(basePath, files.base);
    if (files.companion.empty())
        std::filesystem::remove(companionPath);
    else
        WriteFile(companionPath, files.companion);

    kvelo::BaseOpenOptions options;
    options.companionKey = [](const std::string&) { return uint16_t{0x5A5A}; };
    options.maxBodyBytes = MaxBodyBytes;
    kvelo::TTreeNodes tree;
    kvelo::TTreeNode* root = tree.AddChild(nullptr, "root");
    Guarded([&] {
        kvelo::TBase base(basePath, root, options);
        if (base.Opened()) Walk(base);
    });
    return 0;
}
