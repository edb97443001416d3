// The catalogue: the four trees of the main window and the collection of
// every base, assembled from a DATA folder in the fixed member order that
// decides which base answers for an identifier (first hit wins):
// the first "*.phb", one group per "LangBases" key, every "*.buk", the term
// bases, the user base, the search-result base, the bookmark base.
#pragma once

#include "bases/Base.h"
#include "bases/KveloBases.h"
#include "platform/TreeNodes.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace kvelo {

class IUserPrompts;
class TFindBase;
class TIniFile;

struct CatalogueOptions {
    std::string dataDir;    // the base files, "Инфо.ini"
    std::string programDir; // "DataCopy/"
    // kvel.ini: "LangBases" (groups) and "CompanionKeys" (keys of scrambled
    // companion files: key = companion file name, value = decimal key).
    // Not owned; may be null (no groups, no keys).
    const TIniFile* settingsFile = nullptr;
    IUserPrompts* prompts = nullptr; // not owned
    // Adds the bitmap at `path` to the tree image list; the new image index,
    // or nothing when the bitmap was not accepted. Unset: icons are not loaded.
    std::function<std::optional<int>(const std::string& path)> addBaseIcon;
    uint64_t maxBodyBytes = MaxInflatedBodyBytes;
};

// The options of this process: AppSettings() folders and settings file.
CatalogueOptions CatalogueOptionsFromSettings();

// The key provider that reads "CompanionKeys" of `settingsFile` (may be null).
CompanionKeyProvider CompanionKeysFrom(const TIniFile* settingsFile);

// Every base file of a collection in member order; a group contributes its
// own members in place.
std::vector<TBase*> BaseFiles(const TKveloBases& collection);

class Catalogue {
public:
    // Builds everything; a file that cannot be opened is left out.
    explicit Catalogue(CatalogueOptions options);
    ~Catalogue();
    Catalogue(const Catalogue&) = delete;
    Catalogue& operator=(const Catalogue&) = delete;

    TTreeNodes TreeBase{"TreeBase"};
    TTreeNodes TreeTerm{"TreeTerm"};
    TTreeNodes TreeQuery{"TreeQuery"};
    TTreeNodes TreeBook{"TreeBook"};

    TKveloBases& Bases() { return *bases_; }
    TTreeNode* Root() const { return bases_->RootNode(); }
    // Whether "Словарь.trm" was opened (the term tab is shown).
    bool TermDictionaryPresent() const { return termPresent_; }
    TFindBase* FindBase() const { return findBase_; }

private:
    void AddMainBase();
    void AddLanguageGroups();
    void AddSupplementaryBases();
    void AttachBaseIcon(TBase& base, const std::string& fileName);
    void AddTermBases();
    void AddSearchResults();
    void ExpandRoots();
    void HookExpansion(TTreeNodes& tree);
    // Opens one file under `parent` inside its own guard; the base when it
    // was accepted and added, else null.
    TBase* TryAddBase(const std::string& fileName, TTreeNode* parent, TKveloBases& into);

    CatalogueOptions options_;
    BaseOpenOptions baseOptions_;
    // Declared after the trees: destroyed first, while the nodes still exist.
    std::unique_ptr<TKveloBases> bases_;
    TFindBase* findBase_ = nullptr;
    bool termPresent_ = false;
};

} // namespace kvelo
