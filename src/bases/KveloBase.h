// TKveloBase: the abstract base of every source of tree nodes and documents.
// Its virtual operations (in this order) answer every question about a node
// or a document; each kind of base overrides what it supports and inherits
// do-nothing defaults for the rest, plus editing defaults for editable bases.
#pragma once

#include "bases/DocInfo.h"
#include "bases/IdList.h"
#include "platform/DateTime.h"
#include "platform/Streams.h"

#include <cstdint>
#include <memory>
#include <string>

namespace kvelo {

class IUserPrompts;
class TTreeNode;

class TKveloBase {
public:
    virtual ~TKveloBase();
    TKveloBase(const TKveloBase&) = delete;
    TKveloBase& operator=(const TKveloBase&) = delete;

    // "The current document" below is the one made current by the last
    // successful SelectDoc. Texts are code page 1251.
    virtual std::string GetTitle();                           // 1
    virtual int32_t GetCurrentId();                           // 2
    virtual TDateTime GetDate();                              // 3
    virtual int32_t NewDocId();                               // 4
    virtual bool EditDocument(TTreeNode* node, int32_t mode); // 5
    virtual TDateTime GetBaseDate();                          // 6
    virtual int32_t GetDocCount();                            // 7
    virtual uint8_t GetLanguage();                            // 8 (0 Russian, 1 Uzbek)
    virtual std::string GetComment();                         // 9
    virtual TDateTime GetChangeDate();                        // 10
    virtual bool IsExcluded();                                // 11
    virtual int32_t GetRecordCount();                         // 12
    virtual std::string GetSourceType();                      // 13
    // The body of the current document, positioned at 0; null when none.
    virtual std::unique_ptr<TStream> GetDocStream(); // 14
    virtual bool IsRichViewBody();                   // 15
    virtual void SaveTree(TTreeNode* node);          // 16
    // Makes (or adopts) the root node of this base under `parent`.
    virtual TTreeNode* CreateRoot(TTreeNode* parent);                               // 17
    virtual void ListOrgans(TCodeNameList& names);                                  // 18
    virtual void ListDocTypes(TCodeNameList& names);                                // 19
    virtual void OpenDocFile();                                                     // 20
    virtual void SetDocStream(TStream& stream);                                     // 21
    virtual bool CanEdit();                                                         // 22
    virtual TTreeNode* NewDocument(TTreeNode* node, int32_t mode);                  // 23
    virtual bool DeleteNode(TTreeNode* node);                                       // 24
    virtual TTreeNode* NewFolder(TTreeNode* node);                                  // 25
    virtual bool EditFolder(TTreeNode* node);                                       // 26
    virtual bool SelectDoc(int32_t docId);                                          // 27
    virtual void MoveNode(TTreeNode* target, TTreeNode* moved, bool insert);        // 28
    virtual void CreateShortcut(TTreeNode* folder, TTreeNode* document);            // 29
    virtual void FindByNumber(const std::string& text, TIdList& ids);               // 30
    virtual void FindByDate(TIdList& ids, TDateTime from, TDateTime to);            // 31
    virtual void FindByType(int32_t code, TIdList& ids);                            // 32
    virtual void FindByOrgan(int32_t code, TIdList& ids);                           // 33
    virtual void FindTitleWords(const std::string& text, TIdList& ids, bool whole); // 34
    virtual void FindTextWords(const std::string& text, TIdList& ids, bool whole);  // 35
    virtual void ListExcluded(TIdList& ids);                                        // 36
    virtual void ListAllDocs(TIdList& ids);                                         // 37
    virtual void FindByRegNumber(const std::string& text, TIdList& ids);            // 38
    virtual void LoadArchive(TTreeNode* node);                                      // 39
    // Reads a lazily loaded folder's children when it still has only its placeholder.
    virtual void ExpandNode(TTreeNode* node);           // 40
    virtual TTreeNode* LocateNode(int32_t docId);       // 41
    virtual int32_t GetNodeDocId(TTreeNode* node);      // 42
    virtual int32_t GetShortcutTarget(TTreeNode* node); // 43
    virtual void AddNameTo(TBaseNameList& names);       // 44
    // The attachment of the current document as an inflate stream reading
    // from this base; null when none. It must not outlive the base.
    virtual std::unique_ptr<TStream> GetAttachStream(); // 45

    // The first node after RootNode, within its subtree, whose record's DocId is `docId`.
    TTreeNode* FindIdNode(int32_t docId);
    // EditDocument, then on success sorts the siblings of `node`.
    bool EditAndSort(TTreeNode* node, int32_t mode);

    TTreeNode* RootNode() const { return rootNode_; }
    bool Opened() const { return opened_; }
    RecordClass GetRecordClass() const { return recordClass_; }
    // Where the editing operations ask the user; not owned. Without prompts
    // every dialog counts as cancelled and messages are dropped.
    void SetPrompts(IUserPrompts* prompts) { prompts_ = prompts; }
    IUserPrompts* Prompts() const { return prompts_; }

protected:
    explicit TKveloBase(RecordClass recordClass);
    // The second half of construction, run by the most derived constructor
    // (a virtual call from this class's constructor would not reach it):
    // RootNode = CreateRoot(parent), and the root's record learns its base.
    void AttachRoot(TTreeNode* parent);
    void SetRootNode(TTreeNode* node) { rootNode_ = node; }
    void ShowMessage(const char* key);

    RecordClass recordClass_;
    bool editable_ = false;
    int32_t currentId_ = 0;
    TTreeNode* rootNode_ = nullptr;
    bool opened_ = false;
    IUserPrompts* prompts_ = nullptr;
};

// The sort order of tree children: folders before documents, documents by
// date (newest first, then by text), newspaper folders by text descending,
// other folders by text (byte order).
int CompareNodes(const TTreeNode* a, const TTreeNode* b);
void SortChildren(TTreeNode* node);

} // namespace kvelo
