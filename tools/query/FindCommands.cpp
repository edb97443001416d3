// kvelo-query find, types and organs: the global search and its name lists,
// with the search dialog's semantics, headless.
#include "QueryCommands.h"

#include "bases/Base.h"
#include "bases/Catalogue.h"
#include "bases/NodeKinds.h"
#include "bases/QueryEngine.h"
#include "platform/Cp1251.h"
#include "platform/DateTime.h"
#include "platform/TreeNodes.h"
#include "settings/Settings.h"

#include <nlohmann/json.hpp>

#include <iostream>
#include <ostream>

namespace kvelo::query {
namespace {

using json = nlohmann::ordered_json;

struct FindArgs {
    TQuery query;
    std::vector<std::string> baseFiles; // empty: every base
    bool json = false;
};

// The argument after option `args[i]`, advancing i.
const std::string& valueOf(const std::vector<std::string>& args, size_t& i) {
    if (i + 1 >= args.size()) throw QueryError(args[i] + " needs a value");
    return args[++i];
}

int32_t codeOf(const std::string& text) {
    try {
        size_t used = 0;
        const long value = std::stol(text, &used);
        if (used == text.size() && value >= 0 && value <= 0xFFFF) return int32_t(value);
    } catch (const std::exception&) {
    }
    throw QueryError("not a code (0..65535): " + text);
}

TDateTime dateOf(const std::string& text) {
    const auto date = StrToDate(text);
    if (!date) throw QueryError("not a date (DD.MM.YYYY): " + text);
    return *date;
}

bool isOption(const std::string& arg) {
    return arg.size() > 2 && arg.compare(0, 2, "--") == 0;
}

FindArgs parseFind(const std::vector<std::string>& args) {
    FindArgs out;
    TQuery& q = out.query;
    // --whole applies to the word field given last before it.
    bool* lastWhole = nullptr;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--number" || arg == "--regnumber") {
            q.number = cp1251::fromUtf8(valueOf(args, i));
            q.byRegNumber = arg == "--regnumber";
        } else if (arg == "--type") {
            q.typeCodes.push_back(codeOf(valueOf(args, i)));
        } else if (arg == "--organ") {
            q.organCodes.push_back(codeOf(valueOf(args, i)));
        } else if (arg == "--title") {
            q.title = cp1251::fromUtf8(valueOf(args, i));
            lastWhole = &q.titleWhole;
        } else if (arg == "--text") {
            q.text = cp1251::fromUtf8(valueOf(args, i));
            lastWhole = &q.textWhole;
        } else if (arg == "--whole") {
            if (!lastWhole) throw QueryError("--whole follows --title or --text");
            *lastWhole = true;
        } else if (arg == "--date") {
            q.from = dateOf(valueOf(args, i));
            q.date = TDateCondition::Exact;
            if (i + 1 < args.size() && !isOption(args[i + 1])) {
                q.to = dateOf(args[++i]);
                q.date = TDateCondition::Period;
            }
        } else if (arg == "--valid") {
            q.validity = TValidity::InForce;
        } else if (arg == "--invalid") {
            q.validity = TValidity::NotInForce;
        } else if (arg == "--base") {
            out.baseFiles.push_back(valueOf(args, i));
        } else if (arg == "--json") {
            out.json = true;
        } else {
            throw QueryError("unknown argument: " + arg);
        }
    }
    return out;
}

std::string fileNameOf(const std::string& path) {
    const auto slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// The dialog's base list, or the entries whose file is named in `files`.
std::vector<TKveloBase*> chosenBases(TKveloBases& catalogue,
                                     const std::vector<std::string>& files) {
    std::vector<TKveloBase*> bases;
    for (const TBaseName& entry : SearchableBases(catalogue)) {
        if (files.empty()) {
            bases.push_back(entry.base);
            continue;
        }
        auto* file = dynamic_cast<TBase*>(entry.base);
        if (!file) continue;
        for (const std::string& wanted : files)
            if (wanted == file->FileName() || wanted == fileNameOf(file->FileName())) {
                bases.push_back(entry.base);
                break;
            }
    }
    if (bases.size() < files.size()) throw QueryError("a --base names no base of the catalogue");
    return bases;
}

void printFolder(TTreeNode* folder, bool asJson, std::ostream& out) {
    json list = json::array();
    for (int i = 0; i < folder->Count(); ++i) {
        TTreeNode* entry = folder->Item(i);
        const TDocInfo* record = NodeRecord(entry);
        const std::string date = record->Date == 0 ? "-" : DateToStr(record->Date);
        const std::string title = cp1251::toUtf8(entry->Text());
        if (asJson)
            list.push_back({{"id", record->DocId},
                            {"date", date},
                            {"title", title},
                            {"excluded", entry->ImageIndex() == image::Excluded}});
        else
            out << record->DocId << '\t' << date << '\t' << title << '\n';
    }
    if (asJson) out << list.dump(2) << '\n';
}

void printNames(const TCodeNameList& names, std::ostream& out) {
    for (const TCodeNameList::Item& item : names.Items())
        out << item.code << '\t' << cp1251::toUtf8(item.name) << '\n';
}

} // namespace

void RunFind(CommandContext& context) {
    const FindArgs args = parseFind(context.args);
    TKveloBases& catalogue = context.catalogue.Bases();
    const TQueryResult result = RunQuery(args.query, chosenBases(catalogue, args.baseFiles));
    if (result.ids.Empty()) {
        std::cerr << cp1251::toUtf8(kvLoadStr(EmptyResultKey(result))) << '\n';
        if (args.json) context.out << "[]\n";
        return;
    }
    TIdList excluded;
    catalogue.ListExcluded(excluded);
    TTreeNodes tree("TreeQuery");
    TSearchResults results(tree.AddChild(nullptr, "results"));
    printFolder(results.AddFolder(catalogue, result.ids, excluded, "%d"), args.json, context.out);
}

void RunTypes(CommandContext& context) {
    if (!context.args.empty()) throw QueryError("unknown argument: " + context.args.front());
    TCodeNameList names;
    context.catalogue.Bases().ListDocTypes(names);
    printNames(names, context.out);
}

void RunOrgans(CommandContext& context) {
    if (!context.args.empty()) throw QueryError("unknown argument: " + context.args.front());
    TCodeNameList names;
    context.catalogue.Bases().ListOrgans(names);
    printNames(names, context.out);
}

} // namespace kvelo::query
