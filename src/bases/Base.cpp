#include "bases/Base.h"

#include "bases/BaseErrors.h"
#include "bases/CryptStream.h"
#include "bases/NodeKinds.h"
#include "platform/Streams.h"
#include "platform/TreeNodes.h"
#include "settings/Settings.h"

#include <filesystem>
#include <system_error>

namespace kvelo {
namespace {

// Comments and change dates exist in bases issued on or after 27 January 2004.
const TDateTime CommentFieldsSince = *EncodeDate(2004, 1, 27);

// LocateFolder climbs at most this many folder levels; deeper chains (or a
// cycle of parent links) count as damage.
constexpr size_t MaxFolderDepth = 256;

constexpr uint8_t RichViewFlag = 1;
constexpr int64_t ChangeDateSize = 8;

std::string FileNameOf(const std::string& path) {
    return std::filesystem::path(path).filename().string();
}

// Throws EReadError unless `count` entries of `entrySize` bytes at `offset` lie inside the stream.
void CheckTableInside(const TStream& stream, int64_t offset, int64_t count, int64_t entrySize) {
    if (offset < 0 || offset > stream.Size() || count * entrySize > stream.Size() - offset)
        throw EReadError("Table lies outside the file");
}

int32_t LittleI32(const uint8_t* p) {
    return static_cast<int32_t>(static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
                                (static_cast<uint32_t>(p[2]) << 16) |
                                (static_cast<uint32_t>(p[3]) << 24));
}

// The lazy-expansion placeholder: the only child, without data.
bool IsPlaceholder(const TTreeNode* child) {
    return child->Data() == 0 && child->Parent() && child->Parent()->Count() == 1 &&
           !child->HasChildren();
}

void AddPlaceholder(TTreeNode* node) {
    node->Owner().AddChild(node, std::string());
}

} // namespace

TBase::TBase(const std::string& path, TTreeNode* parent, BaseOpenOptions options)
    : TKveloBase(TDocInfo::New), path_(path), options_(std::move(options)) {
    file_ = std::make_unique<TFileStream>(path_);
    const auto raw = ReadBaseHeaderBytes(*file_);
    if (!HasBaseMagic(raw)) throw EBaseError("errBase");
    header_ = ParseBaseHeader(raw);

    const StorageDecision storage = DecideStorage(header_.modeA, header_.modeB, path_);
    if (!storage.accepted) {
        file_.reset();
        return;
    }
    mode_ = storage.mode;
    supplementary_ = storage.supplementary;
    if (mode_ == StorageMode::Companion && !OpenCompanion()) {
        file_.reset();
        return;
    }
    if (header_.scrambleKey != 0) {
        crypt_ = std::make_unique<TCryptStream>(static_cast<int16_t>(header_.scrambleKey & 0xFFFF),
                                                *file_);
        data_ = crypt_.get();
    } else {
        data_ = file_.get();
    }
    ReadDocTable();
    if (mode_ == StorageMode::Companion) OpenDocFile();
    AddBaseNode(parent);
    opened_ = true;
}

TBase::~TBase() = default;

// --- opening --------------------------------------------------------------------

bool TBase::OpenCompanionFile() {
    companionFile_.reset();
    try {
        companionFile_ = std::make_unique<TFileStream>(CompanionFileName(path_));
        companionHeader_ = ReadCompanionHeader(*companionFile_);
        return true;
    } catch (const EStreamError&) {
        companionFile_.reset();
        return false;
    }
}

// Copies "DataCopy/<companion name>" over the companion and opens it again.
bool TBase::RestoreCompanionFromSpare() {
    companionFile_.reset();
    if (options_.programDir.empty()) return false;
    const std::string companion = CompanionFileName(path_);
    const std::filesystem::path spare =
        std::filesystem::path(options_.programDir) / "DataCopy" / FileNameOf(companion);
    std::error_code error;
    if (!std::filesystem::is_regular_file(spare, error)) return false;
    std::filesystem::copy_file(spare, companion, std::filesystem::copy_options::overwrite_existing,
                               error);
    return !error && OpenCompanionFile();
}

bool TBase::OpenCompanion() {
    if (!OpenCompanionFile()) return false;
    if (companionHeader_.baseDate == 0 && !RestoreCompanionFromSpare()) return false;
    if (companionHeader_.companionKeyField != 0) {
        if (options_.companionKey)
            companionKey_ = options_.companionKey(FileNameOf(CompanionFileName(path_)));
        if (!companionKey_) return false;
    }
    return true;
}

void TBase::ReadDocTable() {
    const int64_t count = header_.docCount;
    CheckTableInside(*data_, header_.docTableOffset, count, DocTableEntrySize);
    std::vector<uint8_t> bytes(static_cast<size_t>(count) * DocTableEntrySize);
    data_->SetPosition(header_.docTableOffset);
    data_->ReadBuffer(bytes.data(), bytes.size());
    docs_.resize(static_cast<size_t>(count));
    for (size_t i = 0; i < docs_.size(); ++i) {
        const uint8_t* entry = bytes.data() + i * DocTableEntrySize;
        docs_[i] = {LittleI32(entry), LittleI32(entry + 4)};
    }
}

void TBase::OpenDocFile() {
    if (companionKey_) {
        companionCrypt_ =
            std::make_unique<TCryptStream>(static_cast<int16_t>(*companionKey_), *companionFile_);
        companionData_ = companionCrypt_.get();
    } else {
        companionData_ = companionFile_.get();
    }
    const int64_t count = companionHeader_.companionCount;
    // Every document needs its entry; a shorter table is a damaged companion.
    if (count < static_cast<int64_t>(docs_.size()))
        throw EReadError("Companion table shorter than the document table");
    CheckTableInside(*companionData_, companionHeader_.companionTableOffset, count,
                     CompanionTableEntrySize);
    std::vector<uint8_t> bytes(static_cast<size_t>(count) * CompanionTableEntrySize);
    companionData_->SetPosition(companionHeader_.companionTableOffset);
    companionData_->ReadBuffer(bytes.data(), bytes.size());
    bodyOffsets_.resize(static_cast<size_t>(count));
    for (size_t i = 0; i < bodyOffsets_.size(); ++i)
        bodyOffsets_[i] =
            LittleI32(bytes.data() + i * CompanionTableEntrySize + CompanionBodyOffsetField);
}

void TBase::AddBaseNode(TTreeNode* parent) {
    TTreeNode* node =
        parent->Owner().AddChildObject(parent, header_.name, reinterpret_cast<std::intptr_t>(this));
    const int image = supplementary_ ? image::Supplementary : image::Base;
    node->SetImageIndex(image);
    node->SetSelectedIndex(image);
    AddPlaceholder(node);
    SetRootNode(node);
}

// --- documents --------------------------------------------------------------------

bool TBase::SelectDoc(int32_t docId) {
    int64_t low = 0, high = static_cast<int64_t>(docs_.size()) - 1;
    bool hit = false;
    while (high >= low) {
        const int64_t mid = (low + high) / 2;
        if (docs_[static_cast<size_t>(mid)].docId < docId) {
            low = mid + 1;
        } else {
            high = mid - 1;
            if (docs_[static_cast<size_t>(mid)].docId == docId) hit = true;
        }
    }
    if (!hit) return false;
    const auto index = static_cast<size_t>(low);
    // An entry pointing before the start of a file cannot be read at all.
    const int32_t recordOffset = docs_[index].recordOffset;
    const int32_t bodyOffset = mode_ == StorageMode::Companion ? bodyOffsets_[index] : 0;
    if (recordOffset < 0 || bodyOffset < 0) return false;
    currentId_ = docId;
    data_->SetPosition(recordOffset);
    if (mode_ == StorageMode::Companion) {
        currentBodyOffset_ = bodyOffset;
        companionData_->SetPosition(bodyOffset);
    }
    return true;
}

void TBase::SkipTitle() {
    data_->Skip(RecordHeadSize);
    data_->Skip(data_->ReadU16());
}

void TBase::SkipTitleAndComment() {
    SkipTitle();
    data_->Skip(data_->ReadU16());
}

// A companion record: title, comment, change date (f64), AttachOffset (i32),
// source type (only when AttachOffset > 0), RichView flag (u8).
int32_t TBase::ReadAttachOffset() {
    SkipTitleAndComment();
    data_->Skip(ChangeDateSize);
    return data_->ReadI32();
}

bool TBase::HasCommentFields() {
    return GetBaseDate() >= CommentFieldsSince;
}

std::string TBase::GetTitle() {
    if (!Reselect()) return {};
    data_->Skip(RecordHeadSize);
    return data_->ReadCountedString();
}

TDateTime TBase::GetDate() {
    if (!Reselect()) return 0;
    data_->Skip(4);
    return data_->ReadDouble();
}

std::string TBase::GetComment() {
    if (!HasCommentFields() || !Reselect()) return {};
    SkipTitle();
    return data_->ReadCountedString();
}

TDateTime TBase::GetChangeDate() {
    if (!HasCommentFields() || !Reselect()) return 0;
    SkipTitleAndComment();
    return data_->ReadDouble();
}

std::string TBase::GetSourceType() {
    if (mode_ != StorageMode::Companion || !Reselect()) return {};
    if (ReadAttachOffset() <= 0) return {};
    return data_->ReadCountedString();
}

bool TBase::IsRichViewBody() {
    if (mode_ != StorageMode::Companion || !Reselect()) return false;
    if (ReadAttachOffset() > 0) data_->Skip(data_->ReadU16());
    return data_->ReadU8() == RichViewFlag;
}

bool TBase::IsExcluded() {
    if (!Reselect()) return false;
    data_->SetPosition(data_->ReadI32());
    return ReadTreeRecord(*data_).image == image::Excluded;
}

std::unique_ptr<TStream> TBase::GetDocStream() {
    if (!Reselect()) return nullptr;
    TStream* source = companionData_;
    if (mode_ == StorageMode::SelfContained) {
        SkipTitle();
        source = data_;
    }
    TDecompressionStream inflater(*source, options_.maxBodyBytes);
    auto body = std::make_unique<TMemoryStream>();
    CopyStream(inflater, *body);
    body->SetPosition(0);
    return body;
}

std::unique_ptr<TStream> TBase::GetAttachStream() {
    if (mode_ != StorageMode::Companion || !Reselect()) return nullptr;
    const int32_t attachOffset = ReadAttachOffset();
    if (attachOffset <= 0) return nullptr;
    companionData_->SetPosition(currentBodyOffset_ + attachOffset);
    return std::make_unique<TDecompressionStream>(*companionData_, options_.maxBodyBytes);
}

TDateTime TBase::GetBaseDate() {
    return mode_ == StorageMode::Companion ? companionHeader_.baseDate : 0;
}
int32_t TBase::GetDocCount() {
    return header_.docCount;
}
uint8_t TBase::GetLanguage() {
    return header_.language;
}
int32_t TBase::GetRecordCount() {
    return header_.recordCount;
}

void TBase::ListAllDocs(TIdList& ids) {
    ids.Reserve(ids.Count() + docs_.size());
    for (const DocEntry& entry : docs_)
        ids.Add(entry.docId);
}

// --- indexes ----------------------------------------------------------------------

template <typename Search> void TBase::CollectIds(TIdList& ids, Search search) {
    TFoundIds found;
    try {
        search(found);
    } catch (const EStreamError&) {
        return; // a damaged index answers nothing
    }
    for (int32_t id : found)
        ids.Add(id);
}

TStream& TBase::WordStream() {
    return mode_ == StorageMode::Companion ? *companionData_ : *data_;
}

TIndexTable TBase::WordTable() const {
    if (mode_ == StorageMode::Companion)
        return {companionHeader_.wordIndexCount, companionHeader_.wordIndexOffset};
    return {header_.wordIndexCount, header_.wordIndexOffset};
}

bool TBase::InInterfaceLanguage() const {
    return header_.language == AppSettings().LanguageIndex;
}

void TBase::FindByNumber(const std::string& text, TIdList& ids) {
    const TIndexTable table{header_.numberIndexCount, header_.numberIndexOffset};
    CollectIds(ids, [&](TFoundIds& out) { indexes::FindNumber(*data_, table, text, out); });
}

void TBase::FindByRegNumber(const std::string& text, TIdList& ids) {
    const TIndexTable table{header_.regNumberIndexCount, header_.regNumberIndexOffset};
    CollectIds(ids, [&](TFoundIds& out) { indexes::FindNumber(*data_, table, text, out); });
}

void TBase::FindByType(int32_t code, TIdList& ids) {
    const TIndexTable table{header_.typeTableCount, header_.typeTableOffset};
    CollectIds(ids, [&](TFoundIds& out) { indexes::FindCode(*data_, table, code, out); });
}

void TBase::FindByOrgan(int32_t code, TIdList& ids) {
    const TIndexTable table{header_.organTableCount, header_.organTableOffset};
    CollectIds(ids, [&](TFoundIds& out) { indexes::FindCode(*data_, table, code, out); });
}

void TBase::FindByDate(TIdList& ids, TDateTime from, TDateTime to) {
    const TIndexTable table{header_.dateIndexCount, header_.dateIndexOffset};
    CollectIds(ids, [&](TFoundIds& out) { indexes::FindDates(*data_, table, from, to, out); });
}

void TBase::FindTitleWords(const std::string& text, TIdList& ids, bool whole) {
    CollectIds(ids, [&](TFoundIds& out) {
        indexes::FindWords(WordStream(), WordTable(), text, whole, true, out);
    });
}

void TBase::FindTextWords(const std::string& text, TIdList& ids, bool whole) {
    CollectIds(ids, [&](TFoundIds& out) {
        indexes::FindWords(WordStream(), WordTable(), text, whole, false, out);
    });
}

void TBase::ListExcluded(TIdList& ids) {
    const TIndexTable table{header_.excludedCount, header_.excludedOffset};
    CollectIds(ids, [&](TFoundIds& out) { indexes::ListIds(*data_, table, out); });
}

void TBase::ListOrgans(TCodeNameList& names) {
    if (!InInterfaceLanguage()) return;
    try {
        indexes::ListNames(*data_, {header_.organTableCount, header_.organTableOffset}, names);
    } catch (const EStreamError&) {
    }
}

void TBase::ListDocTypes(TCodeNameList& names) {
    if (!InInterfaceLanguage()) return;
    try {
        indexes::ListNames(*data_, {header_.typeTableCount, header_.typeTableOffset}, names);
    } catch (const EStreamError&) {
    }
}

// --- the folder tree ------------------------------------------------------------

void TBase::ReadFolder(TStream& stream, TTreeNode* node) {
    if (!IsFolder(node)) return;
    struct Child {
        TreeRecord record;
        std::string name;
    };
    const uint8_t count = stream.ReadU8();
    const int32_t folderKey = stream.ReadI32();
    std::vector<Child> children(count);
    for (Child& child : children) {
        child.record = ReadTreeRecord(stream);
        child.name = ReadNodeName(stream, child.record.nameLength);
    }

    node->DeleteChildren();
    if (node != rootNode_ && !IsBase(node)) node->SetData(folderKey);
    for (Child& child : children) {
        TTreeNode* n = node->Owner().AddChild(node, std::move(child.name));
        n->SetImageIndex(child.record.image);
        n->SetSelectedIndex(child.record.selectedImage);
        if (IsFolder(n)) {
            n->SetData(child.record.childPos);
            AddPlaceholder(n);
        } else {
            n->SetData(child.record.docId);
        }
    }
}

void TBase::ExpandNode(TTreeNode* node) {
    if (!node || node->Count() != 1 || node->Item(0)->Data() != 0) return;
    try {
        const int64_t position = node == rootNode_ ? header_.rootFolderOffset : node->Data();
        data_->SetPosition(position);
        ReadFolder(*data_, node);
    } catch (const std::exception&) {
        // A damaged folder keeps its placeholder.
    }
}

int32_t TBase::GetNodeDocId(TTreeNode* node) {
    // The base's own node holds the base object, not an identifier.
    if (!node || node == rootNode_) return 0;
    return static_cast<int32_t>(node->Data());
}

// The child of `parent` that stands for the folder of tree record `folder`:
// its Data is the folder key once expanded, its ChildPos before.
TTreeNode* TBase::FolderChild(TTreeNode* parent, const TreeRecord& folder) {
    ExpandNode(parent);
    for (int i = 0; i < parent->Count(); ++i) {
        TTreeNode* child = parent->Item(i);
        if (IsFolder(child) && !IsPlaceholder(child) && GetNodeDocId(child) == folder.docId)
            return child;
    }
    for (int i = 0; i < parent->Count(); ++i) {
        TTreeNode* child = parent->Item(i);
        if (IsFolder(child) && !IsPlaceholder(child) && GetNodeDocId(child) == folder.childPos) {
            ExpandNode(child);
            return child;
        }
    }
    return nullptr;
}

TTreeNode* TBase::LocateFolder(int32_t position) {
    // The chain of folder records from this folder up to the top level.
    std::vector<TreeRecord> chain;
    for (int32_t p = position;;) {
        if (chain.size() == MaxFolderDepth) return nullptr;
        data_->SetPosition(p);
        chain.push_back(ReadTreeRecord(*data_));
        if (chain.back().parentPos <= header_.rootFolderOffset) break;
        p = chain.back().parentPos;
    }
    TTreeNode* node = rootNode_;
    for (auto it = chain.rbegin(); node && it != chain.rend(); ++it)
        node = FolderChild(node, *it);
    return node;
}

TTreeNode* TBase::LocateNode(int32_t docId) {
    TTreeNode* found = nullptr;
    try {
        if (!SelectDoc(docId)) return nullptr;
        data_->SetPosition(data_->ReadI32());
        const TreeRecord own = ReadTreeRecord(*data_);
        TTreeNode* parent = own.parentPos > 0 ? LocateFolder(own.parentPos) : rootNode_;
        if (!parent) return nullptr;
        found = parent;
        ExpandNode(parent);
        for (int i = 0; i < parent->Count(); ++i) {
            TTreeNode* child = parent->Item(i);
            if (!IsPlaceholder(child) && GetNodeDocId(child) == docId) return child;
        }
    } catch (const std::exception&) {
        // The search ends with what it found so far.
    }
    return found;
}

} // namespace kvelo
