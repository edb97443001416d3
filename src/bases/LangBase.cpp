#include "bases/LangBase.h"

#include "bases/DataFolder.h"
#include "bases/NodeKinds.h"
#include "platform/TreeNodes.h"

namespace kvelo {

TLangBASE::TLangBASE(std::string key, std::string extension, TTreeNode* catalogueRoot,
                     std::string dataDir, BaseOpenOptions options)
    : key_(std::move(key)), extension_(std::move(extension)), dataDir_(std::move(dataDir)),
      options_(std::move(options)) {
    AttachRoot(catalogueRoot);
}

TTreeNode* TLangBASE::CreateRoot(TTreeNode* parent) {
    TTreeNode* group = nullptr;
    for (const std::string& name : ListFilesEndingWith(dataDir_, extension_)) {
        if (!group) {
            group = parent->Owner().AddChild(parent, key_);
            group->SetObject(recordClass_());
            group->SetImageIndex(image::Base);
            group->SetSelectedIndex(image::Base);
        }
        try {
            auto base = std::make_unique<TBase>(JoinPath(dataDir_, name), group, options_);
            if (base->Opened()) AddBase(std::move(base));
        } catch (const std::exception&) {
            // A file that cannot be opened is left out of the group.
        }
    }
    if (group) {
        for (int i = 0; i < group->Count(); ++i) {
            group->Item(i)->SetImageIndex(image::Base);
            group->Item(i)->SetSelectedIndex(image::Base);
        }
        SortChildren(group);
    }
    return group;
}

TKveloBase* TLangBASE::FirstChildBase() {
    TTreeNode* first = rootNode_ ? rootNode_->GetFirstChild() : nullptr;
    for (auto& member : members_)
        if (first && member->RootNode() == first) return member.get();
    return nullptr;
}

TDateTime TLangBASE::GetBaseDate() {
    TKveloBase* base = FirstChildBase();
    return base ? base->GetBaseDate() : 0;
}

uint8_t TLangBASE::GetLanguage() {
    TKveloBase* base = FirstChildBase();
    return base ? base->GetLanguage() : 0;
}

} // namespace kvelo
