// Helpers of the database tests: a temporary folder, bases packed into it
// from manifests, byte-level damage of packed files, and a tree to open
// bases under.
#pragma once

#include "bases/Base.h"
#include "pack/BasePacker.h"
#include "platform/Streams.h"
#include "platform/TreeNodes.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

namespace kvelo::testing {

using nlohmann::json;

class TempFolder {
public:
    TempFolder() {
        char pattern[] = "/tmp/kvelo-bases-XXXXXX";
        path_ = ::mkdtemp(pattern);
    }
    ~TempFolder() { std::filesystem::remove_all(path_); }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    const std::string& Path() const { return path_; }
    std::string File(const std::string& name) const { return path_ + "/" + name; }

private:
    std::string path_;
};

inline json Doc(int32_t id, const std::string& title, const std::string& text = "{\\rtf1 body}") {
    return {{"id", id}, {"title", title}, {"date", "01.02.2003"}, {"text", text}};
}

// A base of the given documents, each listed once at the top level.
inline json FlatBase(const std::string& name, const std::vector<json>& docs) {
    json tree = json::array();
    for (const json& d : docs)
        tree.push_back({{"doc", d["id"]}});
    return {{"name", name}, {"tree", tree}, {"documents", docs}};
}

inline std::string Pack(const json& manifest, const std::string& path) {
    pack::PackBase(manifest, std::filesystem::path(path).parent_path().string(), path);
    return path;
}

inline std::vector<uint8_t> ReadBytes(const std::string& path) {
    return ReadWholeFile(path);
}

inline void WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::ofstream(path, std::ios::binary | std::ios::trunc)
        .write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
}

inline int32_t GetI32(const std::vector<uint8_t>& b, size_t at) {
    return static_cast<int32_t>(uint32_t(b.at(at)) | uint32_t(b.at(at + 1)) << 8 |
                                uint32_t(b.at(at + 2)) << 16 | uint32_t(b.at(at + 3)) << 24);
}
inline uint16_t GetU16(const std::vector<uint8_t>& b, size_t at) {
    return static_cast<uint16_t>(b.at(at) | b.at(at + 1) << 8);
}
inline void PutI32(std::vector<uint8_t>& b, size_t at, int32_t v) {
    for (int i = 0; i < 4; ++i)
        b.at(at + i) = static_cast<uint8_t>(uint32_t(v) >> (8 * i));
}
inline void PutU16(std::vector<uint8_t>& b, size_t at, uint16_t v) {
    b.at(at) = static_cast<uint8_t>(v);
    b.at(at + 1) = static_cast<uint8_t>(v >> 8);
}

// Where the packed (unscrambled) structures of document `index` lie.
struct DocLayout {
    int32_t recordOffset;
    int32_t treePos;   // the document's tree record
    int32_t parentPos; // its folder's tree record (0 at the top level)
    size_t bodyOffset; // self-contained: the zlib stream after the title
};

inline DocLayout LayoutOf(const std::vector<uint8_t>& base, size_t index) {
    const int32_t table = GetI32(base, 264);
    DocLayout d{};
    d.recordOffset = GetI32(base, table + 8 * index + 4);
    d.treePos = GetI32(base, d.recordOffset);
    d.parentPos = GetI32(base, d.treePos + 4);
    d.bodyOffset = d.recordOffset + 14 + GetU16(base, d.recordOffset + 12);
    return d;
}

// A tree with one top-level node to open bases under.
struct BaseTree {
    TTreeNodes tree{"TreeBase"};
    TTreeNode* root = tree.AddChild(nullptr, "root");

    std::unique_ptr<TBase> Open(const std::string& path, BaseOpenOptions options = {}) {
        return std::make_unique<TBase>(path, root, std::move(options));
    }
};

// Expands every folder below `node` through `base` (depth first).
template <typename Base> void ExpandAll(Base& base, TTreeNode* node) {
    base.ExpandNode(node);
    for (int i = 0; i < node->Count(); ++i)
        ExpandAll(base, node->Item(i));
}

} // namespace kvelo::testing
