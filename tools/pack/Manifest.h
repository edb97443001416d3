// The contents of one base as the packer writes it, read and validated from
// a JSON manifest. Texts here are already code page 1251; bodies are the raw
// (not yet compressed) bytes.
#pragma once

#include "platform/DateTime.h"

#include <nlohmann/json_fwd.hpp>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace kvelo::pack {

struct DocumentSpec {
    int32_t id = 0;
    std::string title;
    TDateTime date = 0;
    std::vector<uint8_t> body;
    // Stored only in companion-file bases.
    std::string comment;
    TDateTime changeDate = 0;
    std::optional<std::vector<uint8_t>> attach;
    std::string sourceType;
    bool richView = false;
    bool excluded = false;
    // Index data (number, registration number, type and organ codes).
    std::string number;
    std::string regNumber;
    std::optional<int> type;
    std::optional<int> organ;
};

struct NodeSpec {
    bool isFolder = false;
    std::string name;
    uint8_t image = 0;
    uint8_t selected = 0;
    int32_t docId = 0;          // document nodes
    std::optional<int32_t> key; // folder nodes: the folder key (default: its ChildPos)
    std::vector<NodeSpec> children;
};

struct CodeName {
    int code = 0;
    std::string name;
};

enum class Storage { SelfContained, Companion };

struct BaseSpec {
    std::string name;
    uint8_t language = 0;
    Storage storage = Storage::SelfContained;
    uint8_t modeA = 0;
    uint8_t modeB = 0;
    int32_t scrambleKey = 0;
    uint16_t companionKey = 0; // 0: companion file not scrambled
    TDateTime baseDate = 0;
    int32_t recordCount = 0;
    std::vector<NodeSpec> tree;
    std::vector<DocumentSpec> documents; // ascending by id
    std::vector<CodeName> types;
    std::vector<CodeName> organs;
};

// Folders in which relative body and attachment paths are looked up, in order.
using BodyFolders = std::vector<std::string>;

// Reads and checks a manifest. `bodyDirs` resolve relative body paths;
// `outPath` decides the defaults that depend on the file's extension.
// Throws PackError naming the offending document, node or field.
BaseSpec ReadManifest(const nlohmann::json& manifest, const BodyFolders& bodyDirs,
                      const std::string& outPath);

} // namespace kvelo::pack
