// The global search without its dialog: the conditions of one query, their
// evaluation over the checked bases (each criterion united over bases and
// word forms, criteria intersected in a fixed order, validity last), and the
// numbered result folders of the search tab.
#pragma once

#include "bases/IdList.h"
#include "platform/DateTime.h"

#include <cstdint>
#include <string>
#include <vector>

namespace kvelo {

class TKveloBase;
class TKveloBases;
class TTreeNode;

enum class TDateCondition { Any, Exact, Period };
enum class TValidity { All, InForce, NotInForce };

// Texts are code page 1251, as typed (the engine upper-cases them).
struct TQuery {
    bool refine = false;            // start from the documents of a result folder
    std::vector<int32_t> refineIds; // that folder's children, in order
    std::vector<int32_t> organCodes;
    std::vector<int32_t> typeCodes;
    std::string text;
    bool textWhole = false;
    std::string title;
    bool titleWhole = false;
    std::string number;
    bool byRegNumber = false;
    TDateCondition date = TDateCondition::Any;
    TDateTime from = 0; // 0: empty
    TDateTime to = 0;
    TValidity validity = TValidity::All;
};

struct TQueryResult {
    TIdList ids;
    bool criterionGiven = false;
    // The date condition lacked a date and was dropped: the dialog shows "Any date".
    bool dateDropped = false;
};

// Runs `query` on `bases` (the checked entries, in list order).
TQueryResult RunQuery(const TQuery& query, const std::vector<TKveloBase*>& bases);

// The words of a search field: split at blanks (0x20 only; runs of blanks
// are one separator).
std::vector<std::string> SplitQueryWords(const std::string& text);

// The message key of an empty result: "noFind" when a criterion was given,
// else "noReqizit".
const char* EmptyResultKey(const TQueryResult& result);

// `pattern` with its first integer conversion ("%d", "%i", "%u", also with
// flags or a width) replaced by `value`, and "%%" by "%". Other text and
// other conversions stay as they are: a language file is untrusted and
// never reaches printf.
std::string FormatCount(const std::string& pattern, long long value);

// The result folders under the root of the search tree and their counter,
// which only ever grows (clearing the folders keeps it).
class TSearchResults {
public:
    static constexpr size_t MaxTitleBytes = 255;

    // `root`: the search-result base's root node (not owned).
    explicit TSearchResults(TTreeNode* root) : root_(root) {}

    // Adds folder Format(folderPattern, ++counter) as the root's last child
    // with an entry per identifier that `catalogue` selects (title cut to 255
    // bytes, its date, image 18 for identifiers in `excluded`, else 4),
    // sorted by the tree's compare rule. The other folders are collapsed.
    TTreeNode* AddFolder(TKveloBases& catalogue, const TIdList& ids, const TIdList& excluded,
                         const std::string& folderPattern);
    // Deletes every folder, last to first.
    void Clear();
    int Counter() const { return counter_; }
    TTreeNode* Root() const { return root_; }

private:
    TTreeNode* root_;
    int counter_ = 0;
};

// The entries of the dialog's base list, from the children of the catalogue
// root in order: a group of bases gives each of its members, any other
// child the member base that owns it. (A group is told by its object: a
// base's own node carries the group's image 0 as well.)
TBaseNameList SearchableBases(TKveloBases& catalogue);

// The documents of a result folder (GetNum of each child, in order).
std::vector<int32_t> FolderDocIds(TKveloBases& catalogue, TTreeNode* folder);

} // namespace kvelo
