// The main window's part of the global search and the term dictionary: the
// search dialog (Tag 11), deleting a node of the search tab (popup Tag 421),
// showing a new result folder, and the lookup of EditTerm.
#include "MainWindow.h"

#include "ShellPrompts.h"
#include "bases/Catalogue.h"
#include "bases/FindBase.h"
#include "bases/KveloBases.h"
#include "bases/NodeKinds.h"
#include "gui/QtText.h"
#include "gui/TreeView.h"
#include "search/FormFind.h"
#include "search/SearchPrompts.h"
#include "search/TermLookup.h"

#include <QLineEdit>
#include <QTabWidget>

namespace kvelo {
namespace {

// The shell's message boxes for the search dialogs.
class ShellSearchPrompts : public ISearchPrompts {
public:
    explicit ShellSearchPrompts(IShellPrompts& shell) : shell_(shell) {}
    void Inform(std::string_view key) override {
        shell_.ShowMessage(key, MessageIcon::Information);
    }
    bool Confirm(const QString& text) override { return shell_.Confirm(text); }
    int Exec(QDialog& dialog) override { return shell_.Exec(dialog); }

private:
    IShellPrompts& shell_;
};

// TreeTerm for the lookup, with the main window's program-made expansions.
class TermTree : public ITermTree {
public:
    TermTree(TFrmMain& main, Catalogue& catalogue) : main_(main), catalogue_(catalogue) {}
    TTreeNode* Root() override { return catalogue_.TreeTerm.GetFirstNode(); }
    TTreeNode* Selected() override { return main_.TreeTerm()->Selected(); }
    void Select(TTreeNode* node) override { main_.TreeTerm()->Select(node); }
    void ExpandAndShow(TTreeNode* node) override {
        main_.Expanding([&] {
            for (TTreeNode* p = node->Parent(); p; p = p->Parent())
                p->Expand();
            catalogue_.Bases().ExpandNode(node);
            node->Expand();
        });
    }
    void Collapse(TTreeNode* node) override {
        main_.Expanding([&] { node->Collapse(); });
    }

private:
    TFrmMain& main_;
    Catalogue& catalogue_;
};

} // namespace

void TFrmMain::createSearch() {
    searchPrompts_ = std::make_unique<ShellSearchPrompts>(prompts_);
    TFormFind::Hooks hooks;
    hooks.selectedResult = [this] { return TreeQuery()->Selected(); };
    hooks.resultNodeCount = [this] { return catalogue_->TreeQuery.Count(); };
    hooks.showFolder = [this](TTreeNode* folder) { showResultFolder(folder); };
    hooks.expanding = [this](const std::function<void()>& change) { Expanding(change); };
    formFind_ = std::make_unique<TFormFind>(catalogue_->Bases(), catalogue_->FindBase()->RootNode(),
                                            *searchPrompts_, std::move(hooks), this);
    if (auto* edit = findChild<QLineEdit*>(QStringLiteral("EditTerm")))
        connect(edit, &QLineEdit::textChanged, this, [this](const QString& text) {
            TermTree tree(*this, *catalogue_);
            TermLookup(tree, ToCp1251(text));
        });
}

void TFrmMain::showFind() {
    if (!formFind_) createSearch();
    formFind_->ShowModal();
}

void TFrmMain::showResultFolder(TTreeNode* folder) {
    TreeQuery()->SyncExpanded(folder->Parent());
    TreeQuery()->Select(folder);
    {
        const QSignalBlocker blocker(pageControl_);
        pageControl_->setCurrentIndex(2);
    }
    activeTree_ = TreeQuery();
    Expanding([&] { folder->Parent()->Expand(); });
    TreeQuery()->SyncExpanded(folder->Parent());
}

void TFrmMain::deleteQueryNode() {
    TTreeNode* node = TreeQuery()->Selected();
    if (!node || node->Level() == 0) return;
    if (!prompts_.Confirm(LoadStr(IsDocument(node) ? "delDoc" : "delFolder"))) return;
    catalogue_->TreeQuery.Delete(node);
}

} // namespace kvelo
