// TLangBASE: one catalogue group gathering every base file of one file
// extension (a key of "LangBases") under a group node titled with the key.
#pragma once

#include "bases/Base.h"
#include "bases/KveloBases.h"

#include <string>

namespace kvelo {

class TLangBASE : public TKveloBases {
public:
    // Opens every file of `dataDir` ending with `extension` under a new group
    // node below `catalogueRoot`. RootNode stays null when no file matched.
    TLangBASE(std::string key, std::string extension, TTreeNode* catalogueRoot, std::string dataDir,
              BaseOpenOptions options);

    TTreeNode* CreateRoot(TTreeNode* parent) override;
    // Those of the base whose node is the group's first child (0 when empty).
    TDateTime GetBaseDate() override;
    uint8_t GetLanguage() override;

    const std::string& Key() const { return key_; }

private:
    TKveloBase* FirstChildBase();

    std::string key_;       // code page 1251: the group node's text
    std::string extension_; // e.g. ".kvl"
    std::string dataDir_;
    BaseOpenOptions options_;
};

} // namespace kvelo
