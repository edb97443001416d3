#include "Manifest.h"

#include "bases/NodeKinds.h"

#include "BaseLayout.h"
#include "BasePacker.h"
#include "bases/NodeKinds.h"
#include "platform/Cp1251.h"
#include "platform/Streams.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <filesystem>
#include <limits>
#include <set>

namespace kvelo::pack {
namespace {

using nlohmann::json;

// ---- JSON access with messages that name the place --------------------------

void checkKnownKeys(const json& object, std::initializer_list<const char*> known,
                    const std::string& where) {
    for (const auto& item : object.items()) {
        const bool isKnown =
            std::any_of(known.begin(), known.end(), [&](const char* k) { return item.key() == k; });
        if (!isKnown) throw PackError(where + ": unknown field \"" + item.key() + "\"");
    }
}

const json* find(const json& object, const char* key) {
    auto it = object.find(key);
    return it == object.end() ? nullptr : &*it;
}

std::string fieldPlace(const std::string& where, const char* key) {
    return where + ": \"" + key + "\"";
}

std::optional<std::string> optString(const json& object, const char* key,
                                     const std::string& where) {
    const json* value = find(object, key);
    if (!value) return std::nullopt;
    if (!value->is_string()) throw PackError(fieldPlace(where, key) + " must be a string");
    return value->get<std::string>();
}

std::optional<int64_t> optInteger(const json& object, const char* key, int64_t min, int64_t max,
                                  const std::string& where) {
    const json* value = find(object, key);
    if (!value) return std::nullopt;
    if (!value->is_number_integer())
        throw PackError(fieldPlace(where, key) + " must be an integer");
    const bool isUnsigned = value->is_number_unsigned();
    const auto u = isUnsigned ? value->get<uint64_t>() : 0;
    const auto n = isUnsigned ? static_cast<int64_t>(std::min<uint64_t>(
                                    u, static_cast<uint64_t>(std::numeric_limits<int64_t>::max())))
                              : value->get<int64_t>();
    if (n < min || n > max)
        throw PackError(fieldPlace(where, key) + " must be between " + std::to_string(min) +
                        " and " + std::to_string(max));
    return n;
}

bool optBool(const json& object, const char* key, const std::string& where) {
    const json* value = find(object, key);
    if (!value) return false;
    if (!value->is_boolean()) throw PackError(fieldPlace(where, key) + " must be true or false");
    return value->get<bool>();
}

const json& requireArray(const json& object, const char* key, const std::string& where) {
    const json* value = find(object, key);
    if (!value || !value->is_array()) throw PackError(fieldPlace(where, key) + " must be an array");
    return *value;
}

// ---- texts, dates, files ----------------------------------------------------

// UTF-8 to code page 1251, refusing characters the code page lacks. Every
// representable character becomes exactly one byte and '?' stays '?', so the
// text converted cleanly exactly when no '?' was added.
std::string toCp1251(const std::string& utf8, const std::string& what) {
    std::string bytes = cp1251::fromUtf8(utf8, '?');
    const auto questionMarks = [](const std::string& s) {
        return std::count(s.begin(), s.end(), '?');
    };
    if (questionMarks(bytes) != questionMarks(utf8))
        throw PackError(what + " \"" + utf8 + "\" is not representable in code page 1251");
    return bytes;
}

// Texts of records are counted strings: at most 65,535 bytes.
std::string countedText(const std::string& utf8, const std::string& what) {
    std::string bytes = toCp1251(utf8, what);
    if (bytes.size() > 0xFFFF)
        throw PackError(what + " is " + std::to_string(bytes.size()) +
                        " bytes long; a record holds at most 65535");
    return bytes;
}

std::optional<TDateTime> optDate(const json& object, const char* key, const std::string& where) {
    auto text = optString(object, key, where);
    if (!text) return std::nullopt;
    auto date = StrToDate(*text);
    if (!date) throw PackError(fieldPlace(where, key) + " is no date \"DD.MM.YYYY\": " + *text);
    return date;
}

// A relative path is looked up in each body folder in turn; the first folder
// that holds the file wins.
std::string resolveBodyPath(const BodyFolders& folders, const std::string& path) {
    if (path.empty() || path.front() == '/' || folders.empty()) return path;
    for (const std::string& folder : folders) {
        const std::string candidate = folder + "/" + path;
        if (std::filesystem::exists(candidate)) return candidate;
    }
    return folders.front() + "/" + path;
}

std::vector<uint8_t> readBodyFile(const BodyFolders& folders, const std::string& path,
                                  const std::string& where) {
    const std::string full = resolveBodyPath(folders, path);
    try {
        return ReadWholeFile(full);
    } catch (const std::exception& e) {
        throw PackError(where + ": cannot read the body file \"" + full + "\": " + e.what());
    }
}

int base64Value(char c) {
    if (c >= 'A' && c <= 'Z') return c - 'A';
    if (c >= 'a' && c <= 'z') return c - 'a' + 26;
    if (c >= '0' && c <= '9') return c - '0' + 52;
    if (c == '+') return 62;
    if (c == '/') return 63;
    return -1;
}

std::vector<uint8_t> decodeBase64(const std::string& text, const std::string& where) {
    std::vector<uint8_t> out;
    uint32_t bits = 0;
    int bitCount = 0;
    for (char c : text) {
        if (c == '=' || c == '\n' || c == '\r' || c == ' ') continue;
        const int v = base64Value(c);
        if (v < 0) throw PackError(where + ": \"bytes_base64\" holds a character outside base64");
        bits = (bits << 6) | static_cast<uint32_t>(v);
        bitCount += 6;
        if (bitCount >= 8) {
            bitCount -= 8;
            out.push_back(static_cast<uint8_t>(bits >> bitCount));
        }
    }
    return out;
}

std::vector<uint8_t> readBody(const json& doc, const BodyFolders& bodyDirs,
                              const std::string& where) {
    const auto file = optString(doc, "body", where);
    const auto text = optString(doc, "text", where);
    const auto textFile = optString(doc, "textFile", where);
    const auto base64 = optString(doc, "bytes_base64", where);
    if (int(bool(file)) + int(bool(text)) + int(bool(textFile)) + int(bool(base64)) != 1)
        throw PackError(where + ": needs exactly one of \"body\", \"text\", \"textFile\", " +
                        "\"bytes_base64\"");
    if (file) return readBodyFile(bodyDirs, *file, where);
    if (base64) return decodeBase64(*base64, where);
    std::string utf8 = text.value_or("");
    if (textFile) {
        const auto bytes = readBodyFile(bodyDirs, *textFile, where);
        utf8.assign(bytes.begin(), bytes.end());
    }
    const std::string bytes = toCp1251(utf8, where + ": text");
    return {bytes.begin(), bytes.end()};
}

// ---- documents --------------------------------------------------------------

void readCompanionFields(const json& doc, const BodyFolders& bodyDirs, const std::string& where,
                         DocumentSpec& out) {
    out.comment = countedText(optString(doc, "comment", where).value_or(""), where + ": comment");
    out.changeDate = optDate(doc, "changeDate", where).value_or(0);
    if (auto attach = optString(doc, "attach", where))
        out.attach = readBodyFile(bodyDirs, *attach, where);
    out.sourceType =
        countedText(optString(doc, "sourceType", where).value_or(""), where + ": source type");
    if (!out.sourceType.empty() && !out.attach)
        throw PackError(where + ": \"sourceType\" is stored only with an \"attach\"");
    out.richView = optBool(doc, "richView", where);
}

void refuseCompanionFields(const json& doc, const std::string& where) {
    for (const char* key : {"comment", "changeDate", "attach", "sourceType"})
        if (find(doc, key))
            throw PackError(fieldPlace(where, key) + " is stored only in companion-file bases");
    if (optBool(doc, "richView", where))
        throw PackError(fieldPlace(where, "richView") + " is stored only in companion-file bases");
}

void readIndexFields(const json& doc, const std::string& where, DocumentSpec& out) {
    out.number = toCp1251(optString(doc, "number", where).value_or(""), where + ": number");
    out.regNumber =
        toCp1251(optString(doc, "regNumber", where).value_or(""), where + ": regNumber");
    if (auto type = optInteger(doc, "type", 0, 0xFFFF, where)) out.type = int(*type);
    if (auto organ = optInteger(doc, "organ", 0, 0xFFFF, where)) out.organ = int(*organ);
}

DocumentSpec readDocument(const json& doc, Storage storage, const BodyFolders& bodyDirs) {
    if (!doc.is_object()) throw PackError("documents: every entry must be an object");
    const auto id = optInteger(doc, "id", std::numeric_limits<int32_t>::min(),
                               std::numeric_limits<int32_t>::max(), "document");
    if (!id) throw PackError("document without \"id\"");
    const std::string where = "document " + std::to_string(*id);
    checkKnownKeys(doc,
                   {"id", "title", "date", "body", "text", "textFile", "bytes_base64", "comment",
                    "changeDate", "attach", "sourceType", "richView", "excluded", "number",
                    "regNumber", "type", "organ"},
                   where);
    DocumentSpec out;
    out.id = static_cast<int32_t>(*id);
    const auto title = optString(doc, "title", where);
    if (!title) throw PackError(where + ": \"title\" is missing");
    out.title = countedText(*title, where + ": title");
    out.date = optDate(doc, "date", where).value_or(0);
    out.body = readBody(doc, bodyDirs, where);
    if (storage == Storage::Companion)
        readCompanionFields(doc, bodyDirs, where, out);
    else
        refuseCompanionFields(doc, where);
    out.excluded = optBool(doc, "excluded", where);
    readIndexFields(doc, where, out);
    return out;
}

std::vector<DocumentSpec> readDocuments(const json& manifest, Storage storage,
                                        const BodyFolders& bodyDirs) {
    std::vector<DocumentSpec> docs;
    for (const json& doc : requireArray(manifest, "documents", "manifest"))
        docs.push_back(readDocument(doc, storage, bodyDirs));
    std::sort(docs.begin(), docs.end(),
              [](const DocumentSpec& a, const DocumentSpec& b) { return a.id < b.id; });
    for (size_t i = 1; i < docs.size(); ++i)
        if (docs[i].id == docs[i - 1].id)
            throw PackError("document " + std::to_string(docs[i].id) + " is listed twice");
    if (docs.size() > 0xFFFF)
        throw PackError("a base holds at most 65535 documents, the manifest lists " +
                        std::to_string(docs.size()));
    return docs;
}

const DocumentSpec* findDocument(const std::vector<DocumentSpec>& docs, int32_t id) {
    auto it = std::lower_bound(docs.begin(), docs.end(), id,
                               [](const DocumentSpec& d, int32_t v) { return d.id < v; });
    return (it != docs.end() && it->id == id) ? &*it : nullptr;
}

// ---- the tree ---------------------------------------------------------------

int defaultSelectedImage(int image) {
    switch (image) {
    case 1:
        return 2;
    case 12:
        return 13;
    case 22:
        return 23;
    default:
        return image;
    }
}

struct TreeReader {
    const std::vector<DocumentSpec>& docs;
    std::set<int32_t> placed;

    std::vector<NodeSpec> readLevel(const json& nodes, const std::string& where, int depth);
    NodeSpec readNode(const json& node, const std::string& where, int depth);
    NodeSpec readFolder(const json& node, const std::string& where, int depth);
    NodeSpec readDocNode(const json& node, const std::string& where);
};

// Deep enough for any real catalogue, shallow enough to keep the recursion bounded.
constexpr int MaxTreeDepth = 64;

std::vector<NodeSpec> TreeReader::readLevel(const json& nodes, const std::string& where,
                                            int depth) {
    if (!nodes.is_array()) throw PackError(where + ": the children must be an array");
    if (nodes.size() > layout::folder::MaxChildren)
        throw PackError(where + " has " + std::to_string(nodes.size()) +
                        " children; a folder holds at most 255");
    if (depth > MaxTreeDepth) throw PackError(where + ": the tree is nested deeper than 64 levels");
    std::vector<NodeSpec> out;
    for (const json& node : nodes)
        out.push_back(readNode(node, where, depth));
    return out;
}

NodeSpec TreeReader::readNode(const json& node, const std::string& where, int depth) {
    if (!node.is_object()) throw PackError(where + ": every tree node must be an object");
    const bool isFolder = node.contains("folder"), isDoc = node.contains("doc");
    if (isFolder == isDoc)
        throw PackError(where + ": a tree node needs exactly one of \"folder\" and \"doc\"");
    return isFolder ? readFolder(node, where, depth) : readDocNode(node, where);
}

NodeSpec TreeReader::readFolder(const json& node, const std::string& where, int depth) {
    const std::string name = optString(node, "folder", where).value_or("");
    const std::string here = "folder \"" + name + "\"";
    checkKnownKeys(node, {"folder", "image", "selected", "key", "children"}, here);
    NodeSpec out;
    out.isFolder = true;
    out.name = toCp1251(name, here + ": name");
    out.image = static_cast<uint8_t>(optInteger(node, "image", 0, 255, here).value_or(1));
    if (IsDocumentImage(out.image))
        throw PackError(here + ": image " + std::to_string(out.image) + " marks a document");
    out.selected = static_cast<uint8_t>(
        optInteger(node, "selected", 0, 255, here).value_or(defaultSelectedImage(out.image)));
    if (auto key = optInteger(node, "key", std::numeric_limits<int32_t>::min(),
                              std::numeric_limits<int32_t>::max(), here))
        out.key = static_cast<int32_t>(*key);
    if (const json* children = find(node, "children"))
        out.children = readLevel(*children, here, depth + 1);
    return out;
}

NodeSpec TreeReader::readDocNode(const json& node, const std::string& where) {
    const auto id = optInteger(node, "doc", std::numeric_limits<int32_t>::min(),
                               std::numeric_limits<int32_t>::max(), where);
    const std::string here = where + ": tree node of document " + std::to_string(*id);
    checkKnownKeys(node, {"doc", "image", "selected", "name"}, here);
    const DocumentSpec* doc = findDocument(docs, static_cast<int32_t>(*id));
    if (!doc) throw PackError(here + ": no such document in \"documents\"");
    placed.insert(doc->id);
    NodeSpec out;
    out.docId = doc->id;
    const int defaultImage = doc->excluded ? layout::image::Excluded : layout::image::Document;
    out.image =
        static_cast<uint8_t>(optInteger(node, "image", 0, 255, here).value_or(defaultImage));
    if (!IsDocumentImage(out.image))
        throw PackError(here + ": image " + std::to_string(out.image) + " marks a folder");
    out.selected =
        static_cast<uint8_t>(optInteger(node, "selected", 0, 255, here).value_or(out.image));
    const auto name = optString(node, "name", here);
    out.name = name ? toCp1251(*name, here + ": name") : doc->title;
    return out;
}

std::vector<NodeSpec> readTree(const json& manifest, const std::vector<DocumentSpec>& docs) {
    TreeReader reader{docs, {}};
    auto tree = reader.readLevel(requireArray(manifest, "tree", "manifest"), "tree", 0);
    for (const DocumentSpec& doc : docs)
        if (!reader.placed.count(doc.id))
            throw PackError("document " + std::to_string(doc.id) + " is not in the tree");
    return tree;
}

// ---- the base as a whole ----------------------------------------------------

std::vector<CodeName> readCodeNames(const json& manifest, const char* key) {
    std::vector<CodeName> out;
    const json* list = find(manifest, key);
    if (!list) return out;
    if (!list->is_array()) throw PackError(fieldPlace("manifest", key) + " must be an array");
    for (const json& entry : *list) {
        const std::string where = std::string(key) + " entry";
        if (!entry.is_object()) throw PackError(where + " must be an object");
        checkKnownKeys(entry, {"code", "name"}, where);
        CodeName item;
        item.code = int(optInteger(entry, "code", 0, 0xFFFF, where).value_or(0));
        item.name = toCp1251(optString(entry, "name", where).value_or(""), where + " name");
        out.push_back(item);
    }
    return out;
}

bool hasExtension(const std::string& path, const std::string& ext) {
    return path.size() >= ext.size() &&
           path.compare(path.size() - ext.size(), ext.size(), ext) == 0;
}

Storage readStorage(const json& manifest) {
    const std::string storage =
        optString(manifest, "storage", "manifest").value_or("self-contained");
    if (storage == "self-contained") return Storage::SelfContained;
    if (storage == "companion") return Storage::Companion;
    throw PackError("manifest: \"storage\" must be \"self-contained\" or \"companion\", not \"" +
                    storage + "\"");
}

// Companion bases default to ModeB 45 ("-"); a ".buk" file takes 42 so that it
// opens as a supplementary base.
uint8_t defaultModeB(Storage storage, const std::string& outPath) {
    if (storage == Storage::SelfContained) return 0;
    return hasExtension(outPath, "buk") ? 42 : 45;
}

void readHeaderFields(const json& m, const std::string& outPath, BaseSpec& out) {
    const std::string name = optString(m, "name", "manifest").value_or("");
    out.name = toCp1251(name, "base name");
    if (out.name.size() > 255)
        throw PackError("base name is " + std::to_string(out.name.size()) +
                        " bytes long; the header holds at most 255");
    out.language = static_cast<uint8_t>(optInteger(m, "language", 0, 255, "manifest").value_or(0));
    out.storage = readStorage(m);
    out.modeA = static_cast<uint8_t>(optInteger(m, "modeA", 0, 255, "manifest").value_or(0));
    out.modeB = static_cast<uint8_t>(
        optInteger(m, "modeB", 0, 255, "manifest").value_or(defaultModeB(out.storage, outPath)));
    out.scrambleKey =
        static_cast<int32_t>(optInteger(m, "scrambleKey", std::numeric_limits<int32_t>::min(),
                                        std::numeric_limits<uint32_t>::max(), "manifest")
                                 .value_or(0));
}

void readCompanionHeaderFields(const json& m, BaseSpec& out) {
    const auto key = optInteger(m, "companionKey", -32768, 65535, "manifest");
    const auto date = optDate(m, "baseDate", "manifest");
    if (out.storage == Storage::SelfContained) {
        if (key && *key != 0)
            throw PackError("manifest: \"companionKey\" needs \"storage\": \"companion\"");
        if (date) throw PackError("manifest: \"baseDate\" is stored only in companion-file bases");
        return;
    }
    out.companionKey = static_cast<uint16_t>(key.value_or(0));
    out.baseDate = date.value_or(Today());
}

} // namespace

BaseSpec ReadManifest(const json& manifest, const BodyFolders& bodyDirs,
                      const std::string& outPath) {
    if (!manifest.is_object()) throw PackError("the manifest must be a JSON object");
    checkKnownKeys(manifest,
                   {"name", "language", "storage", "modeA", "modeB", "scrambleKey", "companionKey",
                    "baseDate", "recordCount", "tree", "documents", "types", "organs"},
                   "manifest");
    BaseSpec out;
    readHeaderFields(manifest, outPath, out);
    readCompanionHeaderFields(manifest, out);
    out.documents = readDocuments(manifest, out.storage, bodyDirs);
    out.tree = readTree(manifest, out.documents);
    out.recordCount = static_cast<int32_t>(
        optInteger(manifest, "recordCount", std::numeric_limits<int32_t>::min(),
                   std::numeric_limits<int32_t>::max(), "manifest")
            .value_or(static_cast<int64_t>(out.documents.size())));
    out.types = readCodeNames(manifest, "types");
    out.organs = readCodeNames(manifest, "organs");
    return out;
}

} // namespace kvelo::pack
