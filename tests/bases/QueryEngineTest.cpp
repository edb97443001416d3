// The global search's engine as a table of cases over a Russian and an
// Uzbek base packed at test time, the result folders, and the formatter
// of the untrusted "FindNo"/"findDoc" texts.
#include "BaseFixture.h"

#include "bases/FindBase.h"
#include "bases/KveloBases.h"
#include "bases/NodeKinds.h"
#include "bases/QueryEngine.h"
#include "platform/Cp1251.h"

namespace kvelo::testing {
namespace {

std::string Cp(const std::string& utf8) {
    return cp1251::fromUtf8(utf8);
}

json QueryDoc(int32_t id, const char* title, const char* text, const char* date, int type,
              int organ, bool excluded = false) {
    json d = Doc(id, title, std::string("{\\rtf1\\ansi\\ansicpg1251 ") + text + "}");
    d["date"] = date;
    if (type) d["type"] = type;
    if (organ) d["organ"] = organ;
    d["excluded"] = excluded;
    d["number"] = std::to_string(id);
    return d;
}

TDateTime Day(int day) {
    return *EncodeDate(2004, 3, day);
}

class QueryEngine : public ::testing::Test {
protected:
    QueryEngine() {
        json ru = FlatBase(
            "Русская", {QueryDoc(10, "Закон о налогах", "налог ёлка", "01.03.2004", 1, 5),
                        QueryDoc(11, "Налоговый кодекс", "налог кодекс", "02.03.2004", 2, 5, true),
                        QueryDoc(12, "О ёлке", "елка праздник", "03.03.2004", 1, 6)});
        json uz = FlatBase("O'zbek", {QueryDoc(20, "Soliq", "ёлка soliq", "01.03.2004", 1, 5),
                                      QueryDoc(21, "Kodeks", "елка", "05.03.2004", 0, 0, true)});
        uz["language"] = 1;
        Pack(ru, folder.File("ru.phb"));
        Pack(uz, folder.File("uz.phb"));
        russian = bases.AddBase(std::make_unique<TBase>(folder.File("ru.phb"), bases.RootNode()));
        uzbek = bases.AddBase(std::make_unique<TBase>(folder.File("uz.phb"), bases.RootNode()));
    }

    TempFolder folder;
    TTreeNodes tree{"TreeBase"};
    TKveloBases bases{tree.AddChild(nullptr, "root")};
    TKveloBase* russian = nullptr;
    TKveloBase* uzbek = nullptr;
};

struct QueryCase {
    const char* name;
    TQuery query;
    bool noBases;
    std::vector<int32_t> expected;
    const char* emptyKey; // for an empty result
};

TQuery Text(const char* words, bool whole = false) {
    TQuery q;
    q.text = Cp(words);
    q.textWhole = whole;
    return q;
}

TEST_F(QueryEngine, Combinations) {
    auto with = [](TQuery q, auto change) {
        change(q);
        return q;
    };
    const QueryCase cases[] = {
        {"all empty", {}, false, {}, "noReqizit"},
        {"blanks only", Text("   "), false, {}, "noFind"},
        {"exact date without a date",
         with(TQuery{}, [](TQuery& q) { q.date = TDateCondition::Exact; }),
         false,
         {},
         "noReqizit"},
        {"period with one date",
         with(TQuery{}, [](TQuery& q) { q.date = TDateCondition::Period, q.from = Day(1); }),
         false,
         {},
         "noReqizit"},
        {"in force alone",
         with(TQuery{}, [](TQuery& q) { q.validity = TValidity::InForce; }),
         false,
         {10, 12, 20},
         nullptr},
        {"no longer in force",
         with(TQuery{}, [](TQuery& q) { q.validity = TValidity::NotInForce; }),
         false,
         {11, 21},
         nullptr},
        {"in force as a refinement",
         with(TQuery{},
              [](TQuery& q) {
                  q.refine = true, q.refineIds = {12, 11, 10}, q.validity = TValidity::InForce;
              }),
         false,
         {12, 10},
         nullptr},
        {"refinement alone",
         with(TQuery{},
              [](TQuery& q) {
                  q.refine = true, q.refineIds = {11, 10};
              }),
         false,
         {11, 10},
         nullptr},
        {"refinement of an empty folder",
         with(TQuery{}, [](TQuery& q) { q.refine = true; }),
         false,
         {},
         "noReqizit"},
        {"refinement narrows a word",
         with(Text("налог"),
              [](TQuery& q) {
                  q.refine = true, q.refineIds = {12, 11};
              }),
         false,
         {11},
         nullptr},
        {"no base checked", Text("налог"), true, {}, "noFind"},
        {"two words intersect", Text("налог  кодекс"), false, {11}, nullptr},
        {"ё asks Russian bases for е as well", Text("ёлка", true), false, {10, 12, 20}, nullptr},
        {"е alone finds no ё", Text("елка", true), false, {12, 21}, nullptr},
        {"title prefix",
         with(TQuery{}, [](TQuery& q) { q.title = Cp("налог"); }),
         false,
         {10, 11},
         nullptr},
        {"whole title word",
         with(TQuery{}, [](TQuery& q) { q.title = Cp("налог"), q.titleWhole = true; }),
         false,
         {},
         "noFind"},
        {"organ and type",
         with(TQuery{}, [](TQuery& q) { q.organCodes = {5}, q.typeCodes = {1}; }),
         false,
         {10, 20},
         nullptr},
        {"organs unite",
         with(TQuery{},
              [](TQuery& q) {
                  q.organCodes = {5, 6};
              }),
         false,
         {10, 11, 20, 12},
         nullptr},
        {"number", with(TQuery{}, [](TQuery& q) { q.number = "11"; }), false, {11}, nullptr},
        {"registration number instead",
         with(TQuery{}, [](TQuery& q) { q.number = "11", q.byRegNumber = true; }),
         false,
         {},
         "noFind"},
        {"exact date",
         with(TQuery{}, [](TQuery& q) { q.date = TDateCondition::Exact, q.from = Day(1); }),
         false,
         {10, 20},
         nullptr},
        {"period",
         with(TQuery{},
              [](TQuery& q) { q.date = TDateCondition::Period, q.from = Day(1), q.to = Day(2); }),
         false,
         {10, 11, 20},
         nullptr},
        {"period backwards",
         with(TQuery{},
              [](TQuery& q) { q.date = TDateCondition::Period, q.from = Day(5), q.to = Day(1); }),
         false,
         {},
         "noFind"},
        {"four criteria",
         with(Text("налог"),
              [](TQuery& q) {
                  q.organCodes = {5}, q.date = TDateCondition::Period, q.from = Day(1),
                  q.to = Day(9), q.validity = TValidity::InForce;
              }),
         false,
         {10},
         nullptr},
    };
    for (const QueryCase& c : cases) {
        std::vector<TKveloBase*> checked;
        if (!c.noBases) checked = {russian, uzbek};
        const TQueryResult result = RunQuery(c.query, checked);
        EXPECT_EQ(result.ids.Items(), c.expected) << c.name;
        if (c.emptyKey) {
            EXPECT_STREQ(EmptyResultKey(result), c.emptyKey) << c.name;
        }
    }
}

TEST_F(QueryEngine, IncompleteDateIsReportedDropped) {
    TQuery q = Text("налог");
    q.date = TDateCondition::Exact;
    const TQueryResult result = RunQuery(q, {russian});
    EXPECT_TRUE(result.dateDropped);
    EXPECT_EQ(result.ids.Items(), (std::vector<int32_t>{10, 11}));
}

TEST_F(QueryEngine, ResultFoldersAreNumberedSortedAndMarked) {
    TTreeNodes queryTree("TreeQuery");
    auto* findBase = bases.AddBase(std::make_unique<TFindBase>(queryTree));
    TSearchResults results(findBase->RootNode());
    TIdList found, excluded;
    for (int32_t id : {10, 11, 99, 12})
        found.Add(id);
    bases.ListExcluded(excluded);

    TTreeNode* first = results.AddFolder(bases, found, excluded, "Поиск %d");
    EXPECT_EQ(first->Text(), "Поиск 1");
    EXPECT_EQ(first->ImageIndex(), image::Folder);
    ASSERT_EQ(first->Count(), 3);                    // 99 is selected by no base
    EXPECT_EQ(first->Item(0)->Text(), Cp("О ёлке")); // newest first
    EXPECT_EQ(first->Item(1)->ImageIndex(), image::Excluded);
    EXPECT_EQ(first->Item(2)->ImageIndex(), image::Document);
    EXPECT_EQ(FolderDocIds(bases, first), (std::vector<int32_t>{12, 11, 10}));

    results.Clear();
    EXPECT_FALSE(results.Root()->HasChildren());
    EXPECT_EQ(results.AddFolder(bases, found, excluded, "Поиск %d")->Text(), "Поиск 2");
}

TEST_F(QueryEngine, LongTitlesAreCutTo255Bytes) {
    json long_ = FlatBase("Длинная", {QueryDoc(30, "", "x", "01.01.2000", 0, 0)});
    long_["documents"][0]["title"] = std::string(300, 'T');
    bases.AddBase(std::make_unique<TBase>(Pack(long_, folder.File("l.phb")), bases.RootNode()));
    TTreeNodes queryTree("TreeQuery");
    TSearchResults results(queryTree.AddChild(nullptr, "root"));
    TIdList ids;
    ids.Add(30);
    TTreeNode* folderNode = results.AddFolder(bases, ids, {}, "%d");
    EXPECT_EQ(folderNode->Item(0)->Text(), std::string(255, 'T'));
}

TEST(QueryWords, SplitAtBlanksOnly) {
    EXPECT_EQ(SplitQueryWords("  a  b\tc "), (std::vector<std::string>{"a", "b\tc"}));
    EXPECT_TRUE(SplitQueryWords("   ").empty());
}

TEST(FormatCount, SubstitutesOneIntegerAndNothingElse) {
    const std::pair<const char*, const char*> cases[] = {
        {"%d", "7"},
        {"Найдено %d документов", "Найдено 7 документов"},
        {"100%% of %d", "100% of 7"},
        {"%s %d", "%s 7"},
        {"%d and %d", "7 and %d"},
        {"%5d|%-3i|%lu", "7|%-3i|%lu"},
        {"%n%x%", "%n%x%"},
        {"", ""},
        {"none", "none"},
    };
    for (auto [pattern, expected] : cases)
        EXPECT_EQ(FormatCount(pattern, 7), expected) << pattern;
}

} // namespace
} // namespace kvelo::testing
