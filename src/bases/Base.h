// TBase: one base file opened read-only through a memory map, with its
// document table in memory and everything else (records, folders, bodies)
// read on demand by seeking; optionally scrambled, optionally with its
// bodies in a companion file.
#pragma once

#include "bases/BaseFormat.h"
#include "bases/BaseIndexes.h"
#include "bases/Inflate.h"
#include "bases/KveloBase.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace kvelo {

class TCryptStream;
class TFileStream;

// The 16-bit key of a scrambled companion file, by its file name (no
// folder); nothing when the key is unknown (the base is then not opened).
using CompanionKeyProvider =
    std::function<std::optional<uint16_t>(const std::string& companionFileName)>;

struct BaseOpenOptions {
    std::string programDir; // holds "DataCopy/", the spare companion files; empty: none
    CompanionKeyProvider companionKey;
    uint64_t maxBodyBytes = MaxInflatedBodyBytes;
};

class TBase : public TKveloBase {
public:
    // Opens `path` and, when it is accepted, adds the base's node (with a
    // lazy-expansion placeholder) under `parent` and sets Opened. Throws
    // EBaseError("errBase") for a wrong magic and EStreamError/EReadError
    // for a file that cannot be read or whose tables lie outside it.
    TBase(const std::string& path, TTreeNode* parent, BaseOpenOptions options = {});
    ~TBase() override;

    std::string GetTitle() override;
    TDateTime GetDate() override;
    TDateTime GetBaseDate() override;
    int32_t GetDocCount() override;
    uint8_t GetLanguage() override;
    std::string GetComment() override;
    TDateTime GetChangeDate() override;
    bool IsExcluded() override;
    int32_t GetRecordCount() override;
    std::string GetSourceType() override;
    std::unique_ptr<TStream> GetDocStream() override;
    bool IsRichViewBody() override;
    void OpenDocFile() override;
    bool SelectDoc(int32_t docId) override;
    void ListAllDocs(TIdList& ids) override;
    // Index searches (a damaged table adds nothing). The name lists answer
    // only when the base's language is the interface language.
    void ListOrgans(TCodeNameList& names) override;
    void ListDocTypes(TCodeNameList& names) override;
    void FindByNumber(const std::string& text, TIdList& ids) override;
    void FindByDate(TIdList& ids, TDateTime from, TDateTime to) override;
    void FindByType(int32_t code, TIdList& ids) override;
    void FindByOrgan(int32_t code, TIdList& ids) override;
    void FindTitleWords(const std::string& text, TIdList& ids, bool whole) override;
    void FindTextWords(const std::string& text, TIdList& ids, bool whole) override;
    void ListExcluded(TIdList& ids) override;
    void FindByRegNumber(const std::string& text, TIdList& ids) override;
    void ExpandNode(TTreeNode* node) override;
    TTreeNode* LocateNode(int32_t docId) override;
    int32_t GetNodeDocId(TTreeNode* node) override;
    std::unique_ptr<TStream> GetAttachStream() override;

    // Replaces the children of folder `node` by the folder block at the
    // stream's position. Reads the whole block first, so a damaged block
    // leaves the node as it was (and throws).
    void ReadFolder(TStream& stream, TTreeNode* node);

    const std::string& FileName() const { return path_; }
    const BaseHeader& Header() const { return header_; }
    StorageMode Mode() const { return mode_; }
    bool IsSupplementary() const { return supplementary_; }
    // The bitmap the GUI shows as this base's icon ("ReclBases"); empty when none.
    const std::string& IconPath() const { return iconPath_; }
    void SetIconPath(std::string path) { iconPath_ = std::move(path); }

private:
    struct DocEntry {
        int32_t docId;
        int32_t recordOffset;
    };

    bool OpenCompanion();
    bool OpenCompanionFile();
    bool RestoreCompanionFromSpare();
    void ReadDocTable();
    void AddBaseNode(TTreeNode* parent);
    // Re-selects the current document; the data stream is then at its record.
    bool Reselect() { return SelectDoc(currentId_); }
    bool HasCommentFields();
    void SkipTitle();
    void SkipTitleAndComment();
    int32_t ReadAttachOffset();
    TTreeNode* LocateFolder(int32_t position);
    // Runs one index search on `stream`; adds what it found to `ids` only
    // when the whole search succeeded.
    template <typename Search> void CollectIds(TIdList& ids, Search search);
    // The word index: in the companion file for a companion-file base.
    TStream& WordStream();
    TIndexTable WordTable() const;
    bool InInterfaceLanguage() const;
    TTreeNode* FolderChild(TTreeNode* parent, const TreeRecord& folder);

    std::string path_;
    BaseOpenOptions options_;
    BaseHeader header_;
    StorageMode mode_ = StorageMode::SelfContained;
    bool supplementary_ = false;
    std::string iconPath_;

    std::unique_ptr<TFileStream> file_;
    std::unique_ptr<TCryptStream> crypt_;
    TStream* data_ = nullptr; // file_ or crypt_
    std::vector<DocEntry> docs_;

    std::unique_ptr<TFileStream> companionFile_;
    std::unique_ptr<TCryptStream> companionCrypt_;
    TStream* companionData_ = nullptr; // companionFile_ or companionCrypt_
    CompanionHeader companionHeader_;
    std::optional<uint16_t> companionKey_;
    std::vector<int32_t> bodyOffsets_; // companion table: body offset per document table entry
    int64_t currentBodyOffset_ = 0;
};

} // namespace kvelo
