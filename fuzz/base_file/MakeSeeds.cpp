// Writes seed inputs for fuzz_base_file into a folder: small bases of every
// storage mode built with the base builder.
//   fuzz_base_file_seeds OUT_DIR
#include "FuzzInput.h"

#include "pack/BasePacker.h"
#include "platform/Streams.h"

#include <nlohmann/json.hpp>

#include <cstdio>
#include <filesystem>
#include <string>
#include <unistd.h>

using nlohmann::json;

namespace {

json Doc(int id, const std::string& title, const std::string& text) {
    return {{"id", id}, {"title", title}, {"date", "01.02.2003"}, {"text", text}};
}

json Nested() {
    return {{"name", "Seed"},
            {"tree",
             {{{"folder", "A"},
               {"children",
                {{{"folder", "B"}, {"children", {{{"doc", 3}}, {{"doc", 2}}}}},
                 {{"doc", 1}},
                 {{"folder", "Empty"}, {"children", json::array()}}}}},
              {{"doc", 4}, {"image", 18}},
              {{"doc", 2}, {"image", 16}, {"name", "link"}}}},
            {"documents",
             {Doc(1, "one", "{\\rtf1 one}"), Doc(2, "two", "-8 rvf"), Doc(3, "three", "BM picture"),
              Doc(4, "four", std::string(3000, 'x'))}}};
}

json Companion(json m, int modeB, int companionKey) {
    m["storage"] = "companion";
    m["modeB"] = modeB;
    m["baseDate"] = "27.01.2004";
    m["companionKey"] = companionKey;
    m["documents"][0]["comment"] = "NB";
    m["documents"][0]["changeDate"] = "02.03.2005";
    m["documents"][0]["attach"] = "attach.bin";
    m["documents"][0]["sourceType"] = "xls";
    m["documents"][1]["richView"] = true;
    return m;
}

void WriteSeed(const std::string& dir, const std::string& name, const json& manifest) {
    const std::string work = dir + "/.work";
    std::filesystem::create_directories(work);
    const std::string attach = "XLS attachment bytes";
    kvelo::WriteFileAtomic(work + "/attach.bin", attach.data(), attach.size());
    const std::string basePath = work + "/seed.buk";
    std::filesystem::remove(work + "/seed.dcm");
    kvelo::pack::PackBase(manifest, work, basePath);
    kvelo::fuzz::BaseFiles files;
    files.base = kvelo::ReadWholeFile(basePath);
    if (std::filesystem::exists(work + "/seed.dcm"))
        files.companion = kvelo::ReadWholeFile(work + "/seed.dcm");
    const auto bytes = kvelo::fuzz::JoinInput(files);
    kvelo::WriteFileAtomic(dir + "/" + name, bytes.data(), bytes.size());
    std::filesystem::remove_all(work);
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUT_DIR\n", argv[0]);
        return 1;
    }
    const std::string dir = argv[1];
    std::filesystem::create_directories(dir);
    try {
        json scrambled = Nested();
        scrambled["scrambleKey"] = 0x1234;
        WriteSeed(dir, "self-contained", Nested());
        WriteSeed(dir, "scrambled", scrambled);
        WriteSeed(dir, "companion", Companion(Nested(), 45, 0));
        WriteSeed(dir, "companion-keyed", Companion(scrambled, 42, 0x5A5A));
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    return 0;
}
