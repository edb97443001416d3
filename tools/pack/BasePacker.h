// Builds base files from a JSON manifest (the format is described in
// docs/base-format.md): the library behind kvelo-pack and the test fixtures.
#pragma once

#include <nlohmann/json_fwd.hpp>

#include <stdexcept>
#include <string>
#include <vector>

namespace kvelo::pack {

struct PackError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// Builds the base file `outPath` (and, for a companion-file base, its companion file:
// outPath with the last three characters replaced by "dcm") from a manifest. Relative
// body/attach paths are resolved against `bodyDir`. Throws PackError with a clear message.
void PackBase(const nlohmann::json& manifest, const std::string& bodyDir,
              const std::string& outPath);
// The same with several body folders: a relative path is looked up in each in turn.
void PackBase(const nlohmann::json& manifest, const std::vector<std::string>& bodyDirs,
              const std::string& outPath);

// The companion file name of a base file: its last three characters replaced by "dcm".
std::string CompanionPath(const std::string& basePath);

// Reads a manifest file (JSON; // and /* */ comments allowed). Throws PackError.
nlohmann::json ReadManifestFile(const std::string& path);

} // namespace kvelo::pack
