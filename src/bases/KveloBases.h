// TKveloBases: the ordered collection of member bases (the catalogue). It
// forwards per-document questions to the member that answered the last
// successful SelectDoc, fans searches out to every member, and asks the
// member that owns a node about that node.
#pragma once

#include "bases/KveloBase.h"

#include <memory>
#include <vector>

namespace kvelo {

class TKveloBases : public TKveloBase {
public:
    // Adopts `root` (a node owning a TDocInfo) as the catalogue root: text
    // kvLoadStr("kvlBase"), image 6/6.
    explicit TKveloBases(TTreeNode* root);
    // Destroys the members in list order.
    ~TKveloBases() override;

    // Appends a member; the collection owns it from now on.
    TKveloBase* AddBase(std::unique_ptr<TKveloBase> base);
    const std::vector<std::unique_ptr<TKveloBase>>& Members() const { return members_; }
    // The member that answered the last successful SelectDoc; null before the first.
    TKveloBase* Current() const { return current_; }
    // The member whose root is `node` or one of its ancestors; failing that,
    // when docId is not -1, the first member that selects docId.
    TKveloBase* FindOwner(TTreeNode* node, int32_t docId);

    std::string GetTitle() override;
    TDateTime GetDate() override;
    std::string GetComment() override;
    TDateTime GetChangeDate() override;
    bool IsExcluded() override;
    std::string GetSourceType() override;
    std::unique_ptr<TStream> GetDocStream() override;
    bool IsRichViewBody() override;
    TTreeNode* CreateRoot(TTreeNode* parent) override;
    void ListOrgans(TCodeNameList& names) override;
    void ListDocTypes(TCodeNameList& names) override;
    void SetDocStream(TStream& stream) override;
    bool SelectDoc(int32_t docId) override;
    void FindByNumber(const std::string& text, TIdList& ids) override;
    void FindByDate(TIdList& ids, TDateTime from, TDateTime to) override;
    void FindByType(int32_t code, TIdList& ids) override;
    void FindByOrgan(int32_t code, TIdList& ids) override;
    void FindTitleWords(const std::string& text, TIdList& ids, bool whole) override;
    void FindTextWords(const std::string& text, TIdList& ids, bool whole) override;
    void ListExcluded(TIdList& ids) override;
    void ListAllDocs(TIdList& ids) override;
    void FindByRegNumber(const std::string& text, TIdList& ids) override;
    void ExpandNode(TTreeNode* node) override;
    TTreeNode* LocateNode(int32_t docId) override;
    int32_t GetNodeDocId(TTreeNode* node) override;
    int32_t GetShortcutTarget(TTreeNode* node) override;
    void AddNameTo(TBaseNameList& names) override;
    std::unique_ptr<TStream> GetAttachStream() override;

protected:
    // For collections that make their own root (TLangBASE).
    TKveloBases();

    template <typename Call> void ForEachMember(Call call) {
        for (auto& member : members_)
            call(*member);
    }

    std::vector<std::unique_ptr<TKveloBase>> members_;
    TKveloBase* current_ = nullptr;
};

// The main window's GetNum: the identifier of a catalogue node.
int32_t GetNum(TKveloBases& catalogue, TTreeNode* node);

} // namespace kvelo
