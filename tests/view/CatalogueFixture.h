// A throw-away program folder with a DATA folder of bases built by our own
// base builder, the process settings pointed at it, and the catalogue over it.
#pragma once

#include "bases/Catalogue.h"
#include "pack/BasePacker.h"
#include "platform/Cp1251.h"
#include "platform/Streams.h"
#include "settings/Settings.h"

#include <cstdlib>
#include <gtest/gtest.h>
#include <memory>
#include <nlohmann/json.hpp>
#include <string>
#include <sys/stat.h>

namespace kvelo::testing {

class CatalogueFixture : public ::testing::Test {
protected:
    std::string root;
    std::unique_ptr<Catalogue> catalogue;

    void SetUp() override {
        char pattern[] = "/tmp/kvelo-view-XXXXXX";
        root = std::string(::mkdtemp(pattern)) + "/";
        ::mkdir((root + "DATA").c_str(), 0755);
        writeUtf8("kvelo.rus", "[Strings]\nnoDocument=Документ отсутствует\nkvlBase=Базы\n"
                               "docExcl=Утратил силу\n");
    }
    void TearDown() override {
        catalogue.reset();
        FreeIniFiles();
        std::system(("rm -rf '" + root + "'").c_str());
    }
    void writeUtf8(const std::string& relative, const std::string& utf8) {
        const std::string bytes = cp1251::fromUtf8(utf8);
        WriteFileAtomic(root + relative, bytes.data(), bytes.size());
    }
    void pack(const std::string& fileName, const nlohmann::json& manifest) {
        pack::PackBase(manifest, root, root + "DATA/" + fileName);
    }
    // Opens the settings with the fixture's folder as the program folder.
    void openSettings() {
        SettingsPaths paths;
        paths.programDir = root;
        paths.dataHome = root + "home";
        paths.tempRoot = root;
        CreateIniFiles(paths);
    }
    // Opens the settings and builds the catalogue of DATA.
    void open() {
        openSettings();
        catalogue = std::make_unique<Catalogue>(CatalogueOptionsFromSettings());
    }
    TKveloBases& bases() { return catalogue->Bases(); }
    // The first node of TreeBase, in tree order, whose text is `utf8`; the
    // folders on the way are read as needed.
    TTreeNode* node(const std::string& utf8) {
        const std::string text = cp1251::fromUtf8(utf8);
        for (TTreeNode* n = catalogue->TreeBase.GetFirstNode(); n; n = n->GetNext()) {
            bases().ExpandNode(n);
            if (n->Text() == text) return n;
        }
        return nullptr;
    }

    // The demo base: a folder "Кодексы" with documents 101 and 102, a
    // sub-folder "Налоги" with 103, and document 104 at the top.
    static nlohmann::json demoManifest() {
        using nlohmann::json;
        return json{
            {"name", "Тестовая база"},
            {"tree",
             json::array(
                 {json{{"folder", "Кодексы"},
                       {"children",
                        json::array({json{{"doc", 101}}, json{{"doc", 102}},
                                     json{{"folder", "Налоги"},
                                          {"children", json::array({json{{"doc", 103}}})}}})}},
                  json{{"doc", 104}}})},
            {"documents", json::array({json{{"id", 101},
                                            {"title", "Первый {документ}"},
                                            {"date", "01.02.2003"},
                                            {"text", "{\\rtf1 Body one}"}},
                                       json{{"id", 102},
                                            {"title", "Второй"},
                                            {"date", "01.02.2003"},
                                            {"text", "plain text body"}},
                                       json{{"id", 103},
                                            {"title", "Третий"},
                                            {"date", "05.06.2007"},
                                            {"text", "BM picture"}},
                                       json{{"id", 104},
                                            {"title", std::string(300, 'T')},
                                            {"date", "05.06.2007"},
                                            {"text", "-8 richview"}}})},
        };
    }
};

} // namespace kvelo::testing
