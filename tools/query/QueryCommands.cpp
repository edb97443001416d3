#include "QueryCommands.h"

#include "bases/Base.h"
#include "bases/BodyKind.h"
#include "bases/Catalogue.h"
#include "bases/NodeKinds.h"
#include "platform/Cp1251.h"
#include "platform/DateTime.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <climits>
#include <ostream>

namespace kvelo::query {
namespace {

// Keys keep the order in which they are set, so the output reads in a fixed order.
using json = nlohmann::ordered_json;

std::string utf8(const std::string& cp1251Text) {
    return cp1251::toUtf8(cp1251Text);
}

std::string dateText(TDateTime date) {
    return date == 0 ? "-" : DateToStr(date);
}

std::string fileNameOf(const std::string& path) {
    const auto slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

bool hasFlag(const std::vector<std::string>& args, const char* flag) {
    return std::find(args.begin(), args.end(), flag) != args.end();
}

void refuseUnknownArgs(const std::vector<std::string>& args,
                       std::initializer_list<const char*> known) {
    for (const std::string& arg : args)
        if (std::none_of(known.begin(), known.end(), [&](const char* k) { return arg == k; }))
            throw QueryError("unknown argument: " + arg);
}

// ---- bases ------------------------------------------------------------------

const char* storageName(StorageMode mode) {
    return mode == StorageMode::Companion ? "companion" : "self-contained";
}

// ---- tree -------------------------------------------------------------------

// A folder that was never read has exactly one child without text or data.
bool hasOnlyPlaceholder(const TTreeNode& node) {
    if (node.Count() != 1) return false;
    const TTreeNode& child = *node.GetFirstChild();
    return child.Data() == 0 && child.Text().empty() && child.Count() == 0;
}

void expandAll(TKveloBases& bases, TTreeNode& node) {
    if (IsFolder(&node)) bases.ExpandNode(&node);
    for (int i = 0; i < node.Count(); ++i)
        expandAll(bases, *node.Item(i));
}

json nodeJson(TKveloBases& bases, TTreeNode& node) {
    json j = {{"text", utf8(node.Text())},
              {"image", node.ImageIndex()},
              {"selected", node.SelectedIndex()}};
    if (IsDocument(&node)) j["id"] = bases.GetNodeDocId(&node);
    if (hasOnlyPlaceholder(node)) return j; // not read yet: no "children"
    json children = json::array();
    for (int i = 0; i < node.Count(); ++i)
        children.push_back(nodeJson(bases, *node.Item(i)));
    if (!children.empty() || IsFolder(&node)) j["children"] = std::move(children);
    return j;
}

void printNodeText(TKveloBases& bases, TTreeNode& node, int depth, std::ostream& out) {
    out << std::string(size_t(depth) * 2, ' ') << utf8(node.Text()) << "  [" << node.ImageIndex()
        << "/" << node.SelectedIndex() << "]";
    if (IsDocument(&node)) out << "  #" << bases.GetNodeDocId(&node);
    if (hasOnlyPlaceholder(node)) {
        out << "  ...\n";
        return;
    }
    out << '\n';
    for (int i = 0; i < node.Count(); ++i)
        printNodeText(bases, *node.Item(i), depth + 1, out);
}

// ---- info, cat --------------------------------------------------------------

int32_t parseId(const std::vector<std::string>& args) {
    if (args.empty()) throw QueryError("a document id is needed");
    const std::string& text = args.front();
    size_t used = 0;
    long long id = 0;
    try {
        id = std::stoll(text, &used);
    } catch (const std::exception&) {
        used = 0;
    }
    if (used != text.size() || id < INT32_MIN || id > INT32_MAX)
        throw QueryError("not a document id: " + text);
    return int32_t(id);
}

void selectOrFail(TKveloBases& bases, int32_t id) {
    if (!bases.SelectDoc(id)) throw QueryError("unknown document id: " + std::to_string(id));
}

// The base file that answered the last SelectDoc, through the groups.
const TBase* currentBaseFile(TKveloBases& bases) {
    TKveloBase* member = bases.Current();
    while (auto* group = dynamic_cast<TKveloBases*>(member))
        member = group->Current();
    return dynamic_cast<const TBase*>(member);
}

json documentInfo(TKveloBases& bases, int32_t id) {
    const TBase* owner = currentBaseFile(bases);
    json j = {{"id", id},
              {"title", utf8(bases.GetTitle())},
              {"date", dateText(bases.GetDate())},
              {"comment", utf8(bases.GetComment())},
              {"changeDate", dateText(bases.GetChangeDate())},
              {"sourceType", utf8(bases.GetSourceType())},
              {"richView", bases.IsRichViewBody()},
              {"excluded", bases.IsExcluded()},
              {"base", owner ? fileNameOf(owner->FileName()) : std::string()}};
    const auto body = bases.GetDocStream();
    j["kind"] = shFormatFromStream(body.get());
    return j;
}

} // namespace

void RunBases(CommandContext& context) {
    refuseUnknownArgs(context.args, {});
    const std::vector<TBase*> files = BaseFiles(context.catalogue.Bases());
    for (TBase* base : files) {
        context.out << fileNameOf(base->FileName()) << '\t' << utf8(base->Header().name) << '\t'
                    << storageName(base->Mode()) << '\t' << base->GetDocCount() << '\t'
                    << base->GetRecordCount() << '\t' << dateText(base->GetBaseDate()) << '\t'
                    << int(base->GetLanguage()) << '\n';
    }
}

void RunTree(CommandContext& context) {
    refuseUnknownArgs(context.args, {"--expand-all", "--json"});
    TKveloBases& bases = context.catalogue.Bases();
    TTreeNodes& tree = context.catalogue.TreeBase;
    for (int i = 0; i < tree.TopLevelCount(); ++i) {
        TTreeNode& root = *tree.TopLevel(i);
        if (hasFlag(context.args, "--expand-all")) expandAll(bases, root);
        if (hasFlag(context.args, "--json"))
            context.out << nodeJson(bases, root).dump(-1, ' ', false) << '\n';
        else
            printNodeText(bases, root, 0, context.out);
    }
}

void RunInfo(CommandContext& context) {
    const int32_t id = parseId(context.args);
    refuseUnknownArgs({context.args.begin() + 1, context.args.end()}, {"--json"});
    TKveloBases& bases = context.catalogue.Bases();
    selectOrFail(bases, id);
    const json info = documentInfo(bases, id);
    if (hasFlag(context.args, "--json")) {
        context.out << info.dump(2, ' ', false) << '\n';
        return;
    }
    for (const auto& [key, value] : info.items())
        context.out << key << ": " << (value.is_string() ? value.get<std::string>() : value.dump())
                    << '\n';
}

void RunCat(CommandContext& context) {
    const int32_t id = parseId(context.args);
    refuseUnknownArgs({context.args.begin() + 1, context.args.end()}, {});
    TKveloBases& bases = context.catalogue.Bases();
    selectOrFail(bases, id);
    const auto body = bases.GetDocStream();
    if (!body) return;
    std::vector<char> buffer(65536);
    while (const size_t n = body->Read(buffer.data(), buffer.size()))
        context.out.write(buffer.data(), std::streamsize(n));
}

} // namespace kvelo::query
