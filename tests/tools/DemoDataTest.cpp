// The demo collection as the build leaves it in <build>/DATA: every base
// opens in catalogue order with its counts, every body inflates, and every
// link of a demo document names a document and bookmark that exist.
#include "bases/Base.h"
#include "bases/BodyKind.h"
#include "bases/Catalogue.h"
#include "bases/NodeKinds.h"
#include "platform/IniFile.h"

#include <gtest/gtest.h>

#include <set>

namespace {

using namespace kvelo;

// A link of an RTF body: the quoted document part (empty: the same
// document) and the quoted bookmark after \l (empty: none).
struct Link {
    std::string document, bookmark;
};

std::string quotedAt(const std::string& text, size_t& pos) {
    while (pos < text.size() && text[pos] == ' ')
        ++pos;
    if (pos >= text.size() || text[pos] != '"') return {};
    const size_t end = text.find('"', pos + 1);
    if (end == std::string::npos) return {};
    std::string quoted = text.substr(pos + 1, end - pos - 1);
    pos = end + 1;
    return quoted;
}

std::vector<Link> linksOf(const std::string& rtf) {
    std::vector<Link> links;
    const std::string field = "HYPERLINK ", bookmarkSwitch = "\\l ";
    for (size_t pos = rtf.find(field); pos != std::string::npos; pos = rtf.find(field, pos)) {
        pos += field.size();
        Link link;
        link.document = quotedAt(rtf, pos);
        while (pos < rtf.size() && rtf[pos] == ' ')
            ++pos;
        if (rtf.compare(pos, bookmarkSwitch.size(), bookmarkSwitch) == 0) {
            pos += bookmarkSwitch.size();
            link.bookmark = quotedAt(rtf, pos);
        }
        links.push_back(link);
    }
    return links;
}

std::string fileNameOf(const std::string& path) {
    return path.substr(path.find_last_of('/') + 1);
}

class DemoData : public ::testing::Test {
protected:
    TIniFile settings{KVELO_DEMO_DIR "/kvel.ini"};
    std::unique_ptr<Catalogue> catalogue;
    std::vector<TBase*> files;

    void SetUp() override {
        CatalogueOptions options;
        options.dataDir = KVELO_DEMO_DIR "/DATA/";
        options.programDir = KVELO_DEMO_DIR "/";
        options.settingsFile = &settings;
        catalogue = std::make_unique<Catalogue>(options);
        files = BaseFiles(catalogue->Bases());
    }

    std::vector<int32_t> allIds() {
        TIdList ids;
        for (TBase* base : files)
            base->ListAllDocs(ids);
        return {ids.begin(), ids.end()};
    }
    std::string body(int32_t id) {
        EXPECT_TRUE(catalogue->Bases().SelectDoc(id)) << id;
        auto stream = catalogue->Bases().GetDocStream();
        return stream ? stream->ReadBytes(size_t(stream->Size())) : std::string();
    }
};

TEST_F(DemoData, EveryBaseOpensInCatalogueOrder) {
    const struct {
        const char* file;
        StorageMode mode;
        int docs;
        int language;
    } expected[] = {
        {"zakon.phb", StorageMode::SelfContained, 20, 0},
        {"eng.kvl", StorageMode::Companion, 5, 0},
        {"uzb.kvl", StorageMode::Companion, 5, 1},
        {"forms.buk", StorageMode::Companion, 6, 0},
        {"Словарь.trm", StorageMode::SelfContained, 472, 0},
    };
    ASSERT_EQ(files.size(), std::size(expected));
    for (size_t i = 0; i < files.size(); ++i) {
        EXPECT_EQ(fileNameOf(files[i]->FileName()), expected[i].file);
        EXPECT_EQ(files[i]->Mode(), expected[i].mode) << expected[i].file;
        EXPECT_EQ(files[i]->GetDocCount(), expected[i].docs) << expected[i].file;
        EXPECT_EQ(files[i]->GetLanguage(), expected[i].language) << expected[i].file;
    }
    EXPECT_TRUE(files[3]->IsSupplementary());
    EXPECT_NE(files[0]->Header().scrambleKey, 0);
}

TEST_F(DemoData, EveryBodyInflatesToAKnownKind) {
    const std::set<int32_t> pictures = {1050};
    for (int32_t id : allIds()) {
        ASSERT_TRUE(catalogue->Bases().SelectDoc(id));
        auto stream = catalogue->Bases().GetDocStream();
        ASSERT_NE(stream, nullptr) << id;
        EXPECT_GT(stream->Size(), 0) << id;
        EXPECT_EQ(shFormatFromStream(stream.get()), pictures.count(id) ? ".png" : ".rtf") << id;
    }
}

TEST_F(DemoData, LinksNameExistingDocumentsAndBookmarks) {
    int links = 0, bookmarkLinks = 0;
    for (int32_t id : allIds()) {
        for (const Link& link : linksOf(body(id))) {
            ++links;
            const int32_t target = link.document.empty() ? id : std::stoi(link.document);
            ASSERT_TRUE(catalogue->Bases().SelectDoc(target)) << id << " links to " << target;
            if (link.bookmark.empty()) continue;
            ++bookmarkLinks;
            const std::string bookmark = "\\bkmkstart " + link.bookmark + "}";
            EXPECT_NE(body(target).find(bookmark), std::string::npos)
                << id << " links to a missing bookmark of " << target;
        }
    }
    EXPECT_GT(links, 40);
    EXPECT_GT(bookmarkLinks, 10);
}

TEST_F(DemoData, ExcludedDocumentsAndNotesArePresent) {
    TKveloBases& bases = catalogue->Bases();
    for (int32_t id : {1011, 1026, 3005}) {
        ASSERT_TRUE(bases.SelectDoc(id));
        EXPECT_TRUE(bases.IsExcluded()) << id;
    }
    ASSERT_TRUE(bases.SelectDoc(3001));
    EXPECT_EQ(bases.GetComment().rfind("NB ", 0), 0u);
    ASSERT_TRUE(bases.SelectDoc(2002));
    EXPECT_EQ(bases.GetComment().rfind("NB ", 0), 0u) << "read through the companion key";
    ASSERT_TRUE(bases.SelectDoc(3003));
    EXPECT_EQ(bases.GetSourceType(), "csv");
}

} // namespace
