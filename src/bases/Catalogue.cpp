#include "bases/Catalogue.h"

#include "bases/DataFolder.h"
#include "bases/FindBase.h"
#include "bases/LangBase.h"
#include "bases/NodeKinds.h"
#include "platform/Cp1251.h"
#include "platform/IniFile.h"
#include "settings/Settings.h"

#include <charconv>
#include <filesystem>
#include <system_error>

namespace kvelo {
namespace {

const char* const DictionaryFileName = "Словарь.trm"; // UTF-8, as on disk
const char* const TermRootText = "Kvelo";
const char* const DataInfoFileName = "Инфо.ini"; // UTF-8, as on disk
const char* const DefaultGroupExtension = ".kvl";

std::optional<uint16_t> ParseKey(const std::string& text) {
    unsigned value = 0;
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value);
    if (ec != std::errc() || ptr != end || text.empty() || value > 0xFFFF) return std::nullopt;
    return static_cast<uint16_t>(value);
}

bool IsRegularFile(const std::string& path) {
    std::error_code error;
    return std::filesystem::is_regular_file(path, error);
}

} // namespace

CatalogueOptions CatalogueOptionsFromSettings() {
    Settings& settings = AppSettings();
    CatalogueOptions options;
    options.dataDir = settings.DataDir;
    options.programDir = settings.ProgramDir;
    options.settingsFile = settings.SettingsFile.get();
    return options;
}

CompanionKeyProvider CompanionKeysFrom(const TIniFile* settingsFile) {
    return [settingsFile](const std::string& companionFileName) -> std::optional<uint16_t> {
        if (!settingsFile) return std::nullopt;
        return ParseKey(
            settingsFile->ReadString("CompanionKeys", cp1251::fromUtf8(companionFileName), ""));
    };
}

Catalogue::Catalogue(CatalogueOptions options) : options_(std::move(options)) {
    baseOptions_.programDir = options_.programDir;
    baseOptions_.companionKey = CompanionKeysFrom(options_.settingsFile);
    baseOptions_.maxBodyBytes = options_.maxBodyBytes;

    TTreeNode* root = TreeBase.AddChild(nullptr, std::string());
    root->SetObject(TDocInfo::New());
    bases_ = std::make_unique<TKveloBases>(root);
    for (TTreeNodes* tree : {&TreeBase, &TreeTerm, &TreeQuery, &TreeBook})
        HookExpansion(*tree);

    AddMainBase();
    AddLanguageGroups();
    AddSupplementaryBases();
    AddTermBases();
    // The user base joins here.
    AddSearchResults();
    // The bookmark base joins here.
    ExpandRoots();
}

Catalogue::~Catalogue() {
    for (TTreeNodes* tree : {&TreeBase, &TreeTerm, &TreeQuery, &TreeBook}) {
        tree->OnExpanding = nullptr;
        tree->OnCollapsing = nullptr;
    }
    bases_.reset();
}

TBase* Catalogue::TryAddBase(const std::string& fileName, TTreeNode* parent, TKveloBases& into) {
    try {
        auto base =
            std::make_unique<TBase>(JoinPath(options_.dataDir, fileName), parent, baseOptions_);
        if (!base->Opened()) return nullptr;
        TBase* added = base.get();
        into.AddBase(std::move(base));
        return added;
    } catch (const std::exception&) {
        return nullptr; // a bad file never stops the catalogue
    }
}

void Catalogue::AddMainBase() {
    const auto names = ListFilesEndingWith(options_.dataDir, ".phb");
    if (!names.empty()) TryAddBase(names.front(), Root(), *bases_);
}

void Catalogue::AddLanguageGroups() {
    if (!options_.settingsFile) return;
    for (const std::string& key : options_.settingsFile->ReadSection("LangBases")) {
        try {
            const std::string extension =
                options_.settingsFile->ReadString("LangBases", key, DefaultGroupExtension);
            auto group = std::make_unique<TLangBASE>(key, cp1251::toUtf8(extension), Root(),
                                                     options_.dataDir, baseOptions_);
            if (group->RootNode()) bases_->AddBase(std::move(group));
        } catch (const std::exception&) {
            // The group is left out.
        }
    }
}

void Catalogue::AddSupplementaryBases() {
    for (const std::string& name : ListFilesEndingWith(options_.dataDir, ".buk")) {
        if (TBase* base = TryAddBase(name, Root(), *bases_)) AttachBaseIcon(*base, name);
    }
}

// "ReclBases" of "Инфо.ini": key = the file name without ".buk", value = a
// bitmap in the DATA folder.
void Catalogue::AttachBaseIcon(TBase& base, const std::string& fileName) {
    try {
        const TIniFile info(JoinPath(options_.dataDir, DataInfoFileName));
        const std::string key = cp1251::fromUtf8(fileName.substr(0, fileName.size() - 4));
        const std::string bitmap = info.ReadString("ReclBases", key, "");
        if (bitmap.empty()) return;
        const std::string path = JoinPath(options_.dataDir, cp1251::toUtf8(bitmap));
        if (!IsRegularFile(path)) return;
        base.SetIconPath(path);
        if (!options_.addBaseIcon) return;
        if (const std::optional<int> index = options_.addBaseIcon(path)) {
            base.RootNode()->SetImageIndex(*index);
            base.RootNode()->SetSelectedIndex(*index);
            base.RootNode()->SetOverlayIndex(image::Supplementary);
        }
    } catch (const std::exception&) {
        // The base keeps its ordinary image.
    }
}

void Catalogue::AddTermBases() {
    if (!IsRegularFile(JoinPath(options_.dataDir, DictionaryFileName))) return;
    try {
        TTreeNode* termRoot = TreeTerm.AddChild(nullptr, TermRootText);
        termRoot->SetObject(TDocInfo::New());
        termPresent_ = true;
        if (!TryAddBase(DictionaryFileName, termRoot, *bases_)) {
            termPresent_ = false;
            return;
        }
        for (const std::string& name : ListFilesEndingWith(options_.dataDir, ".trm"))
            if (name != DictionaryFileName) TryAddBase(name, termRoot, *bases_);
        termRoot->SetImageIndex(image::CatalogueRoot);
        termRoot->SetSelectedIndex(image::CatalogueRoot);
        termRoot->Expand();
        if (TTreeNode* first = termRoot->GetFirstChild()) first->Expand();
    } catch (const std::exception&) {
        termPresent_ = false;
    }
}

void Catalogue::AddSearchResults() {
    findBase_ = static_cast<TFindBase*>(bases_->AddBase(std::make_unique<TFindBase>(TreeQuery)));
}

void Catalogue::HookExpansion(TTreeNodes& tree) {
    // Expanding or collapsing any node first lets its base read the folder.
    auto readFolder = [this](TTreeNode* node) {
        bases_->ExpandNode(node);
        return true;
    };
    tree.OnExpanding = readFolder;
    tree.OnCollapsing = readFolder;
}

void Catalogue::ExpandRoots() {
    Root()->Expand();
}

std::vector<TBase*> BaseFiles(const TKveloBases& collection) {
    std::vector<TBase*> files;
    for (const auto& member : collection.Members()) {
        if (auto* base = dynamic_cast<TBase*>(member.get())) {
            files.push_back(base);
        } else if (auto* group = dynamic_cast<TKveloBases*>(member.get())) {
            const std::vector<TBase*> inner = BaseFiles(*group);
            files.insert(files.end(), inner.begin(), inner.end());
        }
    }
    return files;
}

} // namespace kvelo
