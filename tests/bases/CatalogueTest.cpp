// Assembling the catalogue from a DATA folder: member order, groups,
// supplementary bases and their icons, term bases, the search-result base,
// and bad files that must not stop the rest.
#include "BaseFixture.h"

#include "bases/Catalogue.h"
#include "bases/FindBase.h"
#include "bases/LangBase.h"
#include "bases/NodeKinds.h"
#include "platform/Cp1251.h"
#include "platform/IniFile.h"

namespace kvelo::testing {
namespace {

class CatalogueTest : public ::testing::Test {
protected:
    TempFolder dir;
    std::string data = dir.File("DATA");
    std::unique_ptr<TIniFile> settings;

    void SetUp() override { std::filesystem::create_directories(data); }

    std::string In(const std::string& name) { return data + "/" + name; }
    void Base(const std::string& name, const std::string& title, const std::vector<json>& docs,
              bool companion = false, int modeB = -1) {
        json m = FlatBase(title, docs);
        if (companion) {
            m["storage"] = "companion";
            m["baseDate"] = "01.01.2010";
        }
        if (modeB >= 0) m["modeB"] = modeB;
        Pack(m, In(name));
    }
    void Text(const std::string& path, const std::string& utf8) {
        const std::string bytes = cp1251::fromUtf8(utf8);
        WriteBytes(path, std::vector<uint8_t>(bytes.begin(), bytes.end()));
    }
    void Settings(const std::string& utf8) {
        Text(dir.File("kvel.ini"), utf8);
        settings = std::make_unique<TIniFile>(dir.File("kvel.ini"));
    }
    std::unique_ptr<Catalogue>
    Build(std::function<std::optional<int>(const std::string&)> icon = {}) {
        CatalogueOptions options;
        options.dataDir = data;
        options.programDir = dir.Path();
        options.settingsFile = settings.get();
        options.addBaseIcon = std::move(icon);
        return std::make_unique<Catalogue>(options);
    }
};

std::vector<std::string> Texts(const TTreeNode* node) {
    std::vector<std::string> texts;
    for (int i = 0; i < node->Count(); ++i)
        texts.push_back(node->Item(i)->Text());
    return texts;
}

std::vector<std::string> MemberNames(TKveloBases& bases) {
    std::vector<std::string> names;
    for (const auto& m : bases.Members())
        names.push_back(m->RootNode() ? m->RootNode()->Text() : "?");
    return names;
}

TEST_F(CatalogueTest, MembersComeInTheFixedOrder) {
    Base("main.phb", "Main", {Doc(1, "main one"), Doc(2, "main two")});
    Base("zzz.phb", "Second main", {Doc(99, "never")});
    Base("t2.kvl", "Tilda two", {Doc(20, "t20")}, true);
    Base("t1.kvl", "Tilda one", {Doc(10, "t10")}, true);
    Base("x.uzb", "Uzbek", {Doc(30, "u30")});
    Base("extra.buk", "Extra", {Doc(2, "extra two"), Doc(40, "extra")}, true, 42);
    Base("plain.buk", "Plain", {Doc(50, "plain")});
    Base("Словарь.trm", "Dictionary", {Doc(60, "term")});
    Base("b.trm", "Terms B", {Doc(61, "term b")});
    Base("a.trm", "Terms A", {Doc(62, "term a")});
    Settings("[LangBases]\nTilda=.kvl\nУзб=.uzb\nNone=.none\n");

    auto catalogue = Build();
    TKveloBases& bases = catalogue->Bases();
    EXPECT_EQ(MemberNames(bases),
              (std::vector<std::string>{"Main", "Tilda", cp1251::fromUtf8("Узб"), "Extra", "Plain",
                                        "Dictionary", "Terms A", "Terms B", "resFind"}));
    TTreeNode* root = catalogue->Root();
    EXPECT_EQ(root, catalogue->TreeBase.GetFirstNode());
    EXPECT_EQ(root->Text(), "kvlBase");
    EXPECT_TRUE(root->Expanded());
    EXPECT_EQ(Texts(root), (std::vector<std::string>{"Main", "Tilda", cp1251::fromUtf8("Узб"),
                                                     "Extra", "Plain"}));

    // Groups: sorted members, image 0 on every child.
    TTreeNode* tilda = root->Item(1);
    EXPECT_EQ(tilda->ImageIndex(), image::Base);
    EXPECT_EQ(Texts(tilda), (std::vector<std::string>{"Tilda one", "Tilda two"}));
    ASSERT_TRUE(bases.SelectDoc(20));
    EXPECT_EQ(bases.GetTitle(), "t20");
    EXPECT_EQ(bases.GetBaseDate(), 0); // the collection has no date of its own
    EXPECT_EQ(bases.Members()[1]->GetBaseDate(), *EncodeDate(2010, 1, 1));

    // Supplementary bases: image 19 when rule 3 applies.
    EXPECT_EQ(root->Item(3)->ImageIndex(), image::Supplementary);
    EXPECT_EQ(root->Item(4)->ImageIndex(), image::Base);

    // Only the first "*.phb"; the earlier member answers for a shared identifier.
    EXPECT_FALSE(bases.SelectDoc(99));
    ASSERT_TRUE(bases.SelectDoc(2));
    EXPECT_EQ(bases.GetTitle(), "main two");
    EXPECT_EQ(bases.Current(), bases.Members()[0].get());

    // Term bases under "Kvelo", the dictionary first.
    ASSERT_TRUE(catalogue->TermDictionaryPresent());
    TTreeNode* terms = catalogue->TreeTerm.GetFirstNode();
    EXPECT_EQ(terms->Text(), "Kvelo");
    EXPECT_EQ(terms->ImageIndex(), image::CatalogueRoot);
    EXPECT_EQ(Texts(terms), (std::vector<std::string>{"Dictionary", "Terms A", "Terms B"}));
    EXPECT_TRUE(terms->Expanded());
    EXPECT_EQ(Texts(terms->Item(0)), (std::vector<std::string>{"term"})); // read on expansion
    ASSERT_TRUE(bases.SelectDoc(62));
    EXPECT_EQ(bases.GetTitle(), "term a");

    // The search-result base.
    ASSERT_NE(catalogue->FindBase(), nullptr);
    EXPECT_EQ(catalogue->FindBase()->RootNode(), catalogue->TreeQuery.GetFirstNode());
    EXPECT_EQ(bases.Members().back().get(), catalogue->FindBase());
}

TEST_F(CatalogueTest, ExpandingATreeNodeReadsItsFolderThroughTheOwner) {
    Base("main.phb", "Main", {Doc(1, "one"), Doc(2, "two")});
    auto catalogue = Build();
    TTreeNode* main = catalogue->Root()->Item(0);
    ASSERT_EQ(main->Count(), 1);
    main->Expand();
    EXPECT_EQ(Texts(main), (std::vector<std::string>{"one", "two"}));
    EXPECT_TRUE(main->Expanded());
    EXPECT_EQ(GetNum(catalogue->Bases(), main->Item(1)), 2);
    // The shared identifier resolves through the catalogue to the node.
    EXPECT_EQ(catalogue->Bases().LocateNode(2), main->Item(1));
}

TEST_F(CatalogueTest, BadFilesAreLeftOutAndTheRestStays) {
    WriteBytes(In("broken.buk"), {'S', 'G', 'K', '1', 0, 1});
    WriteBytes(In("magic.buk"), std::vector<uint8_t>(600, 'x'));
    WriteBytes(In("empty.kvl"), {});
    Base("good.kvl", "Good", {Doc(3, "three")}, true);
    Base("selfcontained.kvl", "Never", {Doc(4, "four")}); // mode 0 is not accepted for ".kvl"
    Base("nocompanion.kvl", "Lost", {Doc(5, "five")}, true);
    std::filesystem::remove(In("nocompanion.dcm"));
    Base("ok.buk", "Ok", {Doc(6, "six")});
    std::filesystem::create_directories(In("folder.buk"));
    Settings("[LangBases]\nGroup=.kvl\n");

    auto catalogue = Build();
    EXPECT_EQ(MemberNames(catalogue->Bases()),
              (std::vector<std::string>{"Group", "Ok", "resFind"}));
    EXPECT_EQ(Texts(catalogue->Root()->Item(0)), (std::vector<std::string>{"Good"}));
    EXPECT_TRUE(catalogue->Bases().SelectDoc(3));
    EXPECT_TRUE(catalogue->Bases().SelectDoc(6));
    EXPECT_FALSE(catalogue->Bases().SelectDoc(4));
    EXPECT_FALSE(catalogue->TermDictionaryPresent());
    EXPECT_EQ(catalogue->TreeTerm.Count(), 0);
}

TEST_F(CatalogueTest, ScrambledCompanionTakesItsKeyFromTheSettings) {
    json m = FlatBase("Keyed", {Doc(7, "seven")});
    m["storage"] = "companion";
    m["baseDate"] = "01.01.2010";
    m["companionKey"] = 31337;
    Pack(m, In("keyed.kvl"));
    Settings("[LangBases]\nG=.kvl\n[CompanionKeys]\nKEYED.DCM=31337\n");
    auto catalogue = Build();
    ASSERT_TRUE(catalogue->Bases().SelectDoc(7));
    auto body = catalogue->Bases().GetDocStream();
    ASSERT_NE(body, nullptr);
    EXPECT_EQ(body->Size(), 12);

    Settings("[LangBases]\nG=.kvl\n[CompanionKeys]\nother.dcm=31337\n");
    EXPECT_FALSE(Build()->Bases().SelectDoc(7));
}

TEST_F(CatalogueTest, SupplementaryIconIsRecordedAndSetWhenAccepted) {
    Base("extra.buk", "Extra", {Doc(1, "one")}, true, 42);
    Base("plain.buk", "Plain", {Doc(2, "two")});
    Text(In("Инфо.ini"), "[ReclBases]\nextra=extra.bmp\nplain=missing.bmp\n");
    WriteBytes(In("extra.bmp"), {'B', 'M'});

    std::vector<std::string> offered;
    auto catalogue = Build([&](const std::string& path) -> std::optional<int> {
        offered.push_back(path);
        return 40;
    });
    EXPECT_EQ(offered, (std::vector<std::string>{In("extra.bmp")}));
    auto* extra = static_cast<TBase*>(catalogue->Bases().Members()[0].get());
    EXPECT_EQ(extra->IconPath(), In("extra.bmp"));
    TTreeNode* node = extra->RootNode();
    EXPECT_EQ(node->ImageIndex(), 40);
    EXPECT_EQ(node->SelectedIndex(), 40);
    EXPECT_EQ(node->OverlayIndex(), image::Supplementary);
    EXPECT_EQ(catalogue->Root()->Item(1)->ImageIndex(), image::Base);

    // Refused by the image list (or no GUI): the ordinary image stays.
    auto refused = Build([](const std::string&) { return std::nullopt; });
    EXPECT_EQ(refused->Root()->Item(0)->ImageIndex(), image::Supplementary);
    EXPECT_EQ(refused->Root()->Item(0)->OverlayIndex(), -1);
}

TEST_F(CatalogueTest, TermTreeNeedsTheDictionaryFile) {
    Base("other.trm", "Other", {Doc(1, "one")});
    auto without = Build();
    EXPECT_FALSE(without->TermDictionaryPresent());
    EXPECT_EQ(without->TreeTerm.Count(), 0);
    EXPECT_FALSE(without->Bases().SelectDoc(1));

    WriteBytes(In("Словарь.trm"), std::vector<uint8_t>(10, 0));
    auto invalid = Build();
    EXPECT_FALSE(invalid->TermDictionaryPresent());
    EXPECT_FALSE(invalid->Bases().SelectDoc(1));
}

TEST_F(CatalogueTest, EmptyDataFolderStillHasRootAndSearchBase) {
    auto catalogue = Build();
    EXPECT_EQ(catalogue->Root()->Count(), 0);
    EXPECT_EQ(catalogue->Bases().Members().size(), 1u);
    EXPECT_FALSE(catalogue->Bases().SelectDoc(1));
    TTreeNode* queryRoot = catalogue->TreeQuery.GetFirstNode();
    EXPECT_EQ(catalogue->Bases().FindOwner(queryRoot, -1), catalogue->FindBase());
}

} // namespace
} // namespace kvelo::testing
