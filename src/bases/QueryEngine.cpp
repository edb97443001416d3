#include "bases/QueryEngine.h"

#include "bases/DocInfo.h"
#include "bases/KveloBases.h"
#include "bases/NodeKinds.h"
#include "platform/Cp1251.h"
#include "platform/TreeNodes.h"

#include <algorithm>
#include <cctype>

namespace kvelo {
namespace {

constexpr char SmallYo = '\xB8'; // "ё"
constexpr char SmallYe = '\xE5'; // "е"

// The two lists of a run: the result (once initialised) and the partial list
// that collects the answers of one criterion.
class QueryRun {
public:
    explicit QueryRun(const std::vector<TKveloBase*>& bases) : bases_(bases) {}

    TIdList& Partial() { return partial_; }
    bool Initialised() const { return initialised_; }

    template <typename Call> void EachBase(Call call) {
        for (TKveloBase* base : bases_)
            call(*base);
    }

    // Intersects the result with the partial list (or starts it), then empties the partial list.
    void Commit() {
        if (initialised_) {
            result_.RetainOnly(partial_);
        } else {
            result_ = std::move(partial_);
            initialised_ = true;
        }
        ResetPartial();
    }

    // Drops the partial list's identifiers from the result, then empties the partial list.
    void Subtract() {
        result_.RemoveAll(partial_);
        ResetPartial();
    }

    TIdList TakeResult() {
        partial_.RestrictTo(nullptr);
        return std::move(result_);
    }

private:
    // Once the result exists, every later partial list is only intersected
    // with it or subtracted from it: identifiers outside it need not be kept.
    void ResetPartial() {
        partial_.Clear();
        partial_.RestrictTo(&result_);
    }

    const std::vector<TKveloBase*>& bases_;
    TIdList result_;
    TIdList partial_;
    bool initialised_ = false;
};

void RunCodes(QueryRun& run, const std::vector<int32_t>& codes,
              void (TKveloBase::*find)(int32_t, TIdList&)) {
    for (int32_t code : codes)
        run.EachBase([&](TKveloBase& base) { (base.*find)(code, run.Partial()); });
    run.Commit();
}

std::string WithFirstYoAsYe(std::string word) {
    word[word.find(SmallYo)] = SmallYe;
    return word;
}

// Each word is united over the bases (and, in Russian bases, over its form
// with "е" for "ё"); the words are intersected.
void RunWords(QueryRun& run, const std::string& text, bool whole,
              void (TKveloBase::*find)(const std::string&, TIdList&, bool)) {
    for (const std::string& word : SplitQueryWords(text)) {
        const bool hasYo = word.find(SmallYo) != std::string::npos;
        const std::string upper = AnsiUpperCase(word);
        run.EachBase([&](TKveloBase& base) {
            (base.*find)(upper, run.Partial(), whole);
            if (hasYo && base.GetLanguage() == 0)
                (base.*find)(AnsiUpperCase(WithFirstYoAsYe(word)), run.Partial(), whole);
        });
        run.Commit();
    }
}

void RunNumber(QueryRun& run, const TQuery& query) {
    const std::string upper = AnsiUpperCase(query.number);
    run.EachBase([&](TKveloBase& base) {
        if (query.byRegNumber)
            base.FindByRegNumber(upper, run.Partial());
        else
            base.FindByNumber(upper, run.Partial());
    });
    run.Commit();
}

// Returns whether a date condition was applied; an incomplete one is dropped.
bool RunDate(QueryRun& run, const TQuery& query) {
    TDateTime from = query.from, to = query.to;
    if (query.date == TDateCondition::Exact) {
        if (from == 0) return false;
        to = from;
    } else if (from == 0 || to == 0) {
        return false;
    }
    run.EachBase([&](TKveloBase& base) { base.FindByDate(run.Partial(), from, to); });
    run.Commit();
    return true;
}

void RunValidity(QueryRun& run, TValidity validity) {
    if (validity == TValidity::NotInForce || !run.Initialised()) {
        if (!run.Initialised()) {
            size_t total = 0;
            run.EachBase(
                [&](TKveloBase& base) { total += size_t(std::max(0, base.GetDocCount())); });
            run.Partial().Reserve(total);
        }
        run.EachBase([&](TKveloBase& base) { base.ListAllDocs(run.Partial()); });
        run.Commit();
    }
    run.EachBase([&](TKveloBase& base) { base.ListExcluded(run.Partial()); });
    if (validity == TValidity::NotInForce)
        run.Commit();
    else
        run.Subtract();
}

} // namespace

TQueryResult RunQuery(const TQuery& query, const std::vector<TKveloBase*>& bases) {
    TQueryResult outcome;
    QueryRun run(bases);
    if (query.refine) {
        for (int32_t id : query.refineIds)
            run.Partial().Add(id);
        run.Commit();
    }
    if (!query.organCodes.empty()) {
        outcome.criterionGiven = true;
        RunCodes(run, query.organCodes, &TKveloBase::FindByOrgan);
    }
    if (!query.typeCodes.empty()) {
        outcome.criterionGiven = true;
        RunCodes(run, query.typeCodes, &TKveloBase::FindByType);
    }
    if (!query.text.empty()) {
        outcome.criterionGiven = true;
        RunWords(run, query.text, query.textWhole, &TKveloBase::FindTextWords);
    }
    if (!query.title.empty()) {
        outcome.criterionGiven = true;
        RunWords(run, query.title, query.titleWhole, &TKveloBase::FindTitleWords);
    }
    if (!query.number.empty()) {
        outcome.criterionGiven = true;
        RunNumber(run, query);
    }
    if (query.date != TDateCondition::Any) {
        if (RunDate(run, query))
            outcome.criterionGiven = true;
        else
            outcome.dateDropped = true;
    }
    if (query.validity != TValidity::All) {
        outcome.criterionGiven = true;
        RunValidity(run, query.validity);
    }
    outcome.ids = run.TakeResult();
    return outcome;
}

std::vector<std::string> SplitQueryWords(const std::string& text) {
    std::vector<std::string> words;
    size_t i = 0;
    while (i < text.size()) {
        while (i < text.size() && text[i] == ' ')
            ++i;
        const size_t start = i;
        while (i < text.size() && text[i] != ' ')
            ++i;
        if (i > start) words.push_back(text.substr(start, i - start));
    }
    return words;
}

const char* EmptyResultKey(const TQueryResult& result) {
    return result.criterionGiven ? "noFind" : "noReqizit";
}

std::string FormatCount(const std::string& pattern, long long value) {
    std::string out;
    bool substituted = false;
    size_t i = 0;
    while (i < pattern.size()) {
        if (pattern[i] != '%') {
            out += pattern[i++];
            continue;
        }
        if (i + 1 < pattern.size() && pattern[i + 1] == '%') {
            out += '%';
            i += 2;
            continue;
        }
        // Flags, width and length before the conversion letter.
        size_t j = i + 1;
        while (j < pattern.size() &&
               (std::isdigit(static_cast<unsigned char>(pattern[j])) ||
                std::string_view("-+ #.lh").find(pattern[j]) != std::string_view::npos))
            ++j;
        const bool integer = j < pattern.size() &&
                             std::string_view("diu").find(pattern[j]) != std::string_view::npos;
        if (integer && !substituted) {
            out += std::to_string(value);
            substituted = true;
            i = j + 1;
        } else {
            out += pattern[i++];
        }
    }
    return out;
}

// --- result folders ------------------------------------------------------------

TTreeNode* TSearchResults::AddFolder(TKveloBases& catalogue, const TIdList& ids,
                                     const TIdList& excluded, const std::string& folderPattern) {
    ++counter_;
    for (int i = 0; i < root_->Count(); ++i)
        root_->Item(i)->Collapse();
    TTreeNodes& tree = root_->Owner();
    tree.BeginUpdate();
    TTreeNode* folder = tree.AddChild(root_, FormatCount(folderPattern, counter_));
    folder->SetImageIndex(image::Folder);
    folder->SetSelectedIndex(image::FolderOpen);
    folder->SetObject(TDocInfo::New());
    for (int32_t id : ids) {
        if (!catalogue.SelectDoc(id)) continue;
        std::string title = catalogue.GetTitle();
        if (title.size() > MaxTitleBytes) title.resize(MaxTitleBytes);
        auto record = TDocInfo::New();
        record->DocId = id;
        record->Date = catalogue.GetDate();
        TTreeNode* entry = tree.AddChild(folder, std::move(title));
        const int image = excluded.Contains(id) ? image::Excluded : image::Document;
        entry->SetImageIndex(image);
        entry->SetSelectedIndex(image);
        entry->SetObject(std::move(record));
    }
    SortChildren(folder);
    folder->Expand();
    tree.EndUpdate();
    return folder;
}

void TSearchResults::Clear() {
    while (root_->HasChildren())
        root_->Owner().Delete(root_->GetLastChild());
}

TBaseNameList SearchableBases(TKveloBases& catalogue) {
    TBaseNameList entries;
    TTreeNode* root = catalogue.RootNode();
    for (int i = 0; root && i < root->Count(); ++i) {
        TTreeNode* child = root->Item(i);
        TKveloBase* owner = catalogue.FindOwner(child, -1);
        if (auto* group = dynamic_cast<TKveloBases*>(owner)) {
            for (const auto& member : group->Members())
                if (member->RootNode())
                    entries.push_back({member->RootNode()->Text(), member.get()});
        } else if (owner) {
            entries.push_back({child->Text(), owner});
        }
    }
    return entries;
}

std::vector<int32_t> FolderDocIds(TKveloBases& catalogue, TTreeNode* folder) {
    std::vector<int32_t> ids;
    for (int i = 0; folder && i < folder->Count(); ++i)
        ids.push_back(GetNum(catalogue, folder->Item(i)));
    return ids;
}

} // namespace kvelo
