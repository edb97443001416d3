// The index searches of a base file against bases packed at test time:
// number, word, date, code and excluded lookups, the name lists, and
// damaged tables (which answer nothing, never crash).
#include "BaseFixture.h"

#include "bases/KveloBases.h"
#include "platform/Cp1251.h"
#include "settings/Settings.h"

namespace kvelo::testing {
namespace {

std::string Cp(const char* utf8) {
    return cp1251::fromUtf8(utf8);
}

std::vector<int32_t> Ids(const TIdList& list) {
    return list.Items();
}

json IndexedDoc(int32_t id, const char* title, const char* text, const char* date) {
    json d = Doc(id, title, std::string("{\\rtf1\\ansi\\ansicpg1251 ") + text + "}");
    d["date"] = date;
    return d;
}

json IndexedBase(int scrambleKey = 0) {
    std::vector<json> docs = {
        IndexedDoc(1, "О налогах", "налог и налоговый кодекс", "01.02.2003"),
        IndexedDoc(2, "Налоговый кодекс", "кодекс", "01.02.2003"),
        IndexedDoc(3, "О бюджете", "бюджет на год", "05.02.2003"),
        IndexedDoc(4, "Приказ", "ёлка зелёная", "10.02.2003"),
        IndexedDoc(5, "Яблоко", "яблоня", "11.02.2003"),
    };
    for (int i : {0, 1, 2})
        docs[i]["number"] = "УП-1";
    docs[3]["number"] = "уп-2"; // stored upper-cased
    docs[4]["regNumber"] = "123";
    docs[0]["type"] = 1;
    docs[1]["type"] = 2;
    docs[2]["type"] = 1;
    docs[0]["organ"] = 5;
    docs[3]["organ"] = 7;
    docs[2]["excluded"] = true;
    json base = FlatBase("Индексы", docs);
    base["scrambleKey"] = scrambleKey;
    base["types"] = {{{"code", 1}, {"name", "Закон"}}, {{"code", 2}, {"name", "Указ"}}};
    base["organs"] = {{{"code", 5}, {"name", "Сенат"}}, {{"code", 7}, {"name", "Министерство"}}};
    return base;
}

class IndexSearch : public ::testing::TestWithParam<int> {
protected:
    TempFolder folder;
    BaseTree tree;
    std::unique_ptr<TBase> base = tree.Open(Pack(IndexedBase(GetParam()), folder.File("i.phb")));
};

// Every search reads through the data stream: plain and scrambled bases alike.
INSTANTIATE_TEST_SUITE_P(PlainAndScrambled, IndexSearch, ::testing::Values(0, 0x1234));

TEST_P(IndexSearch, NumberHeldByThreeDocumentsGivesAllInIndexOrder) {
    TIdList ids;
    base->FindByNumber(Cp("УП-1"), ids);
    EXPECT_EQ(Ids(ids), (std::vector<int32_t>{1, 2, 3}));
}

TEST_P(IndexSearch, NumbersMatchWholeAndStoredInUpperCase) {
    TIdList ids;
    base->FindByNumber(Cp("УП"), ids);
    EXPECT_TRUE(ids.Empty());
    base->FindByNumber(Cp("УП-2"), ids);
    EXPECT_EQ(Ids(ids), (std::vector<int32_t>{4}));
    TIdList reg;
    base->FindByRegNumber("123", reg);
    EXPECT_EQ(Ids(reg), (std::vector<int32_t>{5}));
}

struct WordCase {
    const char* word;
    bool whole;
    bool title;
    std::vector<int32_t> expected;
};

TEST_P(IndexSearch, WordsExactAndPrefix) {
    const WordCase cases[] = {
        {"НАЛОГ", false, false, {1}},    // НАЛОГ and НАЛОГОВЫЙ, both in 1's text
        {"НАЛОГ", false, true, {1, 2}},  // НАЛОГАХ, НАЛОГОВЫЙ in titles
        {"НАЛОГ", true, true, {}},       // no title holds the word itself
        {"НАЛОГАХ", true, true, {1}},    //
        {"КОДЕКС", true, false, {1, 2}}, //
        {"ЗЕЛЁНАЯ", true, false, {4}},   // ё stays ё
        {"ЗЕЛЕНАЯ", true, false, {}},    //
        {"ЯБЛОН", false, false, {5}},    // the last entry of the index
        {"ЯЯЯ", false, false, {}},       // sorts after every entry
        {"А", false, false, {}},         //
    };
    for (const WordCase& c : cases) {
        TIdList ids;
        if (c.title)
            base->FindTitleWords(Cp(c.word), ids, c.whole);
        else
            base->FindTextWords(Cp(c.word), ids, c.whole);
        EXPECT_EQ(Ids(ids), c.expected)
            << c.word << (c.whole ? " whole" : " prefix") << (c.title ? " in titles" : " in texts");
    }
}

TEST_P(IndexSearch, Dates) {
    const TDateTime day = *EncodeDate(2003, 2, 1);
    struct {
        TDateTime from, to;
        std::vector<int32_t> expected;
    } cases[] = {
        {day, day, {1, 2}},
        {day + 1, day + 1, {}},                  // from = to on a day without documents
        {day - 1, day + 1, {1, 2}},              // the day within a range
        {day + 1, day + 5, {3}},                 //
        {day - 100, day + 100, {1, 2, 3, 4, 5}}, // every entry, none beyond the last
        {day + 11, day + 100, {}},               // after the last entry
        {day + 5, day, {}},                      // from after to
    };
    for (const auto& c : cases) {
        TIdList ids;
        base->FindByDate(ids, c.from, c.to);
        EXPECT_EQ(Ids(ids), c.expected) << DateToStr(c.from) << ".." << DateToStr(c.to);
    }
}

TEST_P(IndexSearch, CodesAndExcluded) {
    TIdList laws, absent, organs, excluded;
    base->FindByType(1, laws);
    base->FindByType(9, absent);
    base->FindByOrgan(7, organs);
    base->ListExcluded(excluded);
    EXPECT_EQ(Ids(laws), (std::vector<int32_t>{1, 3}));
    EXPECT_TRUE(absent.Empty());
    EXPECT_EQ(Ids(organs), (std::vector<int32_t>{4}));
    EXPECT_EQ(Ids(excluded), (std::vector<int32_t>{3}));
}

TEST_P(IndexSearch, NameListsOnlyInTheInterfaceLanguage) {
    const int saved = AppSettings().LanguageIndex;
    TCodeNameList russian, english;
    AppSettings().LanguageIndex = 0;
    base->ListDocTypes(russian);
    AppSettings().LanguageIndex = 2;
    base->ListOrgans(english);
    base->ListDocTypes(english);
    AppSettings().LanguageIndex = saved;
    ASSERT_EQ(russian.Count(), 2u);
    EXPECT_EQ(russian[0].name, Cp("Закон"));
    EXPECT_EQ(russian[1].code, 2);
    EXPECT_EQ(english.Count(), 0u);
}

TEST(IndexSearchAcrossBases, DocumentOfTwoBasesListedOnce) {
    TempFolder folder;
    TTreeNodes tree("TreeBase");
    TKveloBases bases(tree.AddChild(nullptr, "root"));
    for (const char* name : {"a.phb", "b.phb"})
        bases.AddBase(
            std::make_unique<TBase>(Pack(IndexedBase(), folder.File(name)), bases.RootNode()));
    TIdList ids;
    bases.FindByNumber(Cp("УП-1"), ids);
    EXPECT_EQ(Ids(ids), (std::vector<int32_t>{1, 2, 3}));
    TCodeNameList names;
    bases.ListOrgans(names);
    EXPECT_EQ(names.Count(), 2u); // a code's name comes from the first base that lists it
}

TEST(IndexSearchCompanion, WordIndexLivesInTheCompanionFile) {
    TempFolder folder;
    json manifest = IndexedBase();
    manifest["storage"] = "companion";
    manifest["companionKey"] = 77;
    BaseTree tree;
    BaseOpenOptions options;
    options.companionKey = [](const std::string&) { return std::optional<uint16_t>(77); };
    auto base = tree.Open(Pack(manifest, folder.File("c.kvl")), options);
    EXPECT_EQ(GetI32(ReadBytes(folder.File("c.kvl")), 272), 0); // not in the base header
    TIdList ids;
    base->FindTitleWords(Cp("НАЛОГ"), ids, false);
    EXPECT_EQ(Ids(ids), (std::vector<int32_t>{1, 2}));
}

// ---- damage -------------------------------------------------------------------

class DamagedIndex : public ::testing::Test {
protected:
    TempFolder folder;
    std::string path = Pack(IndexedBase(), folder.File("d.phb"));
    std::vector<uint8_t> bytes = ReadBytes(path);
    BaseTree tree;

    // Opens the base after `damage` and runs every search.
    TIdList SearchAll() {
        WriteBytes(path, bytes);
        auto base = tree.Open(path);
        TIdList ids;
        base->FindByNumber(Cp("УП-1"), ids);
        base->FindByType(1, ids);
        base->FindByOrgan(5, ids);
        base->FindByDate(ids, 0, 1e6);
        base->FindTextWords(Cp("К"), ids, false);
        base->FindTitleWords(Cp("О"), ids, false);
        base->ListExcluded(ids);
        TCodeNameList names;
        base->ListDocTypes(names);
        base->ListOrgans(names);
        EXPECT_EQ(names.Count(), 0u);
        return ids;
    }
};

TEST_F(DamagedIndex, TablesOutsideTheFileAnswerNothing) {
    const int32_t size = int32_t(bytes.size());
    // (count field, offset field) of every table.
    const std::pair<size_t, size_t> tables[] = {{288, 292}, {296, 300}, {304, 308},
                                                {280, 284}, {272, 276}, {316, 320}};
    const std::vector<uint8_t> intact = bytes;
    for (int damage = 0; damage < 3; ++damage) {
        bytes = intact;
        for (auto [countAt, offsetAt] : tables) {
            if (damage == 0) PutI32(bytes, offsetAt, size + 100); // offset beyond the end
            if (damage == 1) PutI32(bytes, countAt, 0x7FFFFFFF);  // count too big
            if (damage == 2) PutI32(bytes, offsetAt, -8);         // negative offset
        }
        EXPECT_TRUE(SearchAll().Empty()) << "damage " << damage;
    }
}

TEST_F(DamagedIndex, EntryOffsetsOutsideTheFileAnswerNothing) {
    const std::vector<uint8_t> intact = bytes;
    for (int32_t bad : {-5, int32_t(intact.size()) - 1, 0x7FFFFFF0}) {
        bytes = intact;
        for (size_t field : {292, 300, 308, 276}) {
            const int32_t array = GetI32(bytes, field);
            const int32_t count = GetI32(bytes, field - 4);
            for (int32_t i = 0; i < count; ++i)
                PutI32(bytes, size_t(array) + 4 * size_t(i), bad);
        }
        // Only the date index and the excluded list, which have no offsets, still answer.
        EXPECT_EQ(Ids(SearchAll()), (std::vector<int32_t>{1, 2, 3, 4, 5})) << bad;
    }
}

TEST_F(DamagedIndex, HugeIdCountAnswersNothing) {
    // The first type entry claims 65,535 identifiers that the file does not hold.
    const int32_t array = GetI32(bytes, 300);
    const int32_t entry = GetI32(bytes, size_t(array));
    const size_t countAt = size_t(entry) + 2 + 2 + GetU16(bytes, size_t(entry) + 2);
    PutU16(bytes, countAt, 0xFFFF);
    WriteBytes(path, bytes);
    auto base = tree.Open(path);
    TIdList ids;
    base->FindByType(1, ids);
    EXPECT_TRUE(ids.Empty());
}

} // namespace
} // namespace kvelo::testing
