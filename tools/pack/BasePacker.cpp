#include "BasePacker.h"

#include "BaseWriter.h"
#include "Manifest.h"
#include "platform/Streams.h"

#include <nlohmann/json.hpp>

namespace kvelo::pack {

std::string CompanionPath(const std::string& basePath) {
    if (basePath.size() < 3)
        throw PackError("the base file name \"" + basePath + "\" is too short");
    return basePath.substr(0, basePath.size() - 3) + "dcm";
}

void PackBase(const nlohmann::json& manifest, const std::string& bodyDir,
              const std::string& outPath) {
    PackBase(manifest, std::vector<std::string>{bodyDir}, outPath);
}

void PackBase(const nlohmann::json& manifest, const std::vector<std::string>& bodyDirs,
              const std::string& outPath) {
    const BaseSpec spec = ReadManifest(manifest, bodyDirs, outPath);
    const std::string companionPath =
        spec.storage == Storage::Companion ? CompanionPath(outPath) : std::string();
    const PackedBase packed = WriteBase(spec);
    try {
        if (packed.companion)
            WriteFileAtomic(companionPath, packed.companion->data(), packed.companion->size());
        WriteFileAtomic(outPath, packed.base.data(), packed.base.size());
    } catch (const EStreamError& e) {
        throw PackError(std::string("cannot write the base: ") + e.what());
    }
}

nlohmann::json ReadManifestFile(const std::string& path) {
    std::vector<uint8_t> bytes;
    try {
        bytes = ReadWholeFile(path);
    } catch (const std::exception& e) {
        throw PackError("cannot read the manifest \"" + path + "\": " + e.what());
    }
    try {
        return nlohmann::json::parse(bytes.begin(), bytes.end(), nullptr, true, true);
    } catch (const nlohmann::json::exception& e) {
        throw PackError("\"" + path + "\" is no valid JSON: " + e.what());
    }
}

} // namespace kvelo::pack
