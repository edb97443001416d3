// kvelo-pack MANIFEST.json -o OUT [-I DIR]...: builds one base file (and its
// companion file) from a manifest; bodies are found relative to the
// manifest's folder, then to each -I folder.
#include "BasePacker.h"

#include <nlohmann/json.hpp>

#include <cstring>
#include <iostream>
#include <string>
#include <vector>

namespace {

const char* const usage = "usage: kvelo-pack MANIFEST.json -o OUT [-I BODY_FOLDER]...\n";

std::string folderOf(const std::string& path) {
    const auto slash = path.find_last_of('/');
    return slash == std::string::npos ? std::string(".") : path.substr(0, slash);
}

} // namespace

int main(int argc, char** argv) {
    std::string manifestPath, outPath;
    std::vector<std::string> extraFolders;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "-o") == 0 && i + 1 < argc)
            outPath = argv[++i];
        else if (std::strcmp(argv[i], "-I") == 0 && i + 1 < argc)
            extraFolders.push_back(argv[++i]);
        else if (manifestPath.empty() && argv[i][0] != '-')
            manifestPath = argv[i];
        else {
            std::cerr << usage;
            return 1;
        }
    }
    if (manifestPath.empty() || outPath.empty()) {
        std::cerr << usage;
        return 1;
    }
    try {
        const auto manifest = kvelo::pack::ReadManifestFile(manifestPath);
        std::vector<std::string> folders{folderOf(manifestPath)};
        folders.insert(folders.end(), extraFolders.begin(), extraFolders.end());
        kvelo::pack::PackBase(manifest, folders, outPath);
    } catch (const kvelo::pack::PackError& e) {
        std::cerr << "kvelo-pack: " << manifestPath << ": " << e.what() << '\n';
        return 1;
    }
    return 0;
}
