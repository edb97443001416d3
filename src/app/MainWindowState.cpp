// UpdateCommands and the tree events of the main window: command states,
// popup rules, expansion gate, stepping through trees, synchronising.
#include "MainWindow.h"

#include "bases/Catalogue.h"
#include "bases/DocInfo.h"
#include "bases/NodeKinds.h"
#include "gui/TreeModel.h"
#include "gui/TreeView.h"
#include "settings/Settings.h"
#include "view/FrmView.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <QTabWidget>
#include <sys/stat.h>

namespace kvelo {
namespace {

int64_t fileSize(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 ? static_cast<int64_t>(st.st_size) : -1;
}

bool clipboardHasRtf() {
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    return data && data->hasFormat(QStringLiteral("text/rtf"));
}

// The placeholder child of a folder that was not read yet.
bool hasOnlyPlaceholder(const TTreeNode* node) {
    return node->Count() == 1 && node->GetFirstChild()->Data() == 0 &&
           !node->GetFirstChild()->HasChildren() && node->GetFirstChild()->Text().empty();
}

} // namespace

void TFrmMain::enable(const char* name, bool enabled) {
    QAction* action = Action(QLatin1String(name));
    action->setEnabled(enabled && !action->property("notReady").toBool());
}

bool TFrmMain::isFree() {
    TFrmView* view = ActiveView();
    if (!view) return true;
    try {
        TTreeNode* node = catalogue_->Bases().LocateNode(view->Tag());
        return !(node && node->Parent() && node->Parent()->ImageIndex() == image::GreyFolder);
    } catch (const std::exception&) {
        return true;
    }
}

TTreeNode* TFrmMain::lastDescendant(TTreeNode* node) {
    // Folders on the way are read (and expanded) so the step lands on a real node.
    while (node && IsFolder(node)) {
        if (hasOnlyPlaceholder(node))
            Expanding([&] {
                catalogue_->Bases().ExpandNode(node);
                node->Expand();
            });
        if (!node->HasChildren() || hasOnlyPlaceholder(node)) break;
        node = node->GetLastChild();
    }
    return node;
}

TTreeNode* TFrmMain::nodeBefore(TTreeNode* node) {
    if (!node) return nullptr;
    if (TTreeNode* previous = node->GetPrevSibling()) return lastDescendant(previous);
    return node->Parent();
}

void TFrmMain::UpdateCommands() {
    TFrmView* view = ActiveView();
    const bool w = view != nullptr;
    const bool sel = w && view->DocViewer().GetSelLength() > 0;
    const bool ed = w && view->Base() && view->Base()->CanEdit() && view->Tag() != 0;
    const bool free = isFree();
    for (const char* name :
         {"NClose", "NCloseAll", "NPrint", "BtnPrn", "NSelectAll", "NFind", "NNextFind", "NIncFont",
          "NDecFont", "BtnIncFont", "BtnDecFont", "NTile", "NCascade", "NOrange", "BtnSynh",
          "BtnPreview", "BtnSaveWord", "NPreview", "NSaveWord"})
        enable(name, w);
    enable("NSaveAs", w && free);
    const bool word = w && free && view->SourceType() != "xls";
    for (const char* name : {"BtnWord", "BtnAdd", "NWord", "NAdd"})
        enable(name, word);
    enable("BtnBook", w && view->Tag() != 0);
    enable("NNewBook", w && view->Tag() != 0);
    enable("NDeselect", sel);
    enable("NCopy", sel && free);
    enable("BtnCopy", sel && free);
    enable("NPaste", ed && clipboardHasRtf());
    for (const char* name :
         {"BtnFont", "BtnLJust", "BtnCJust", "BtnRJust", "BtnJJust", "BtnDocBook"})
        enable(name, sel && ed);
    enable("BtnURL", ed && view->DocViewer().CanSetLink());
    enable("BtnSave", ed && view->IsModified());
    enable("BtnFwd", w && view->HistoryIndex() > 0);
    enable("BtnBack", w && view->HistoryIndex() < view->HistoryCount() - 1);
    TTreeNode* selected = activeTree_->Selected();
    enable("BtnPrev", selected && (selected->GetPrevSibling() || selected->Parent()));
    enable("BtnNext", selected && selected->GetNext());
    enable("NOpen", selected != nullptr);
    enable("NOpenNew", selected != nullptr);
    TTreeNode* book = TreeBook()->Selected();
    enable("BtnPrevB", book && (book->GetPrevSibling() || book->Parent()));
    enable("NPrevBook", book && (book->GetPrevSibling() || book->Parent()));
    enable("BtnNextB", book && book->GetNext());
    enable("NNextBook", book && book->GetNext());
    TTreeNode* query = TreeQuery()->Selected();
    enable("BtnPrevQ", query && (query->GetPrevSibling() || query->Parent()));
    enable("NPrevQuery", query && (query->GetPrevSibling() || query->Parent()));
    enable("BtnNextQ", query && query->GetNext());
    enable("NNextQuery", query && query->GetNext());
    enable("BtnDelQ", catalogue_->TreeQuery.Count() > 1);
    enable("NDelQuery", catalogue_->TreeQuery.Count() > 1);
    Action(QStringLiteral("NExcel"))->setEnabled(Action(QStringLiteral("BtnExcel"))->isEnabled());
    updatePopup();
    Action(QStringLiteral("btnEdit"))->setVisible(false);
}

void TFrmMain::updatePopup() {
    TTreeNode* n = activeTree_->Selected();
    const auto& user = AppSettings().UserDir;
    const int64_t backup = fileSize(user + "bookmark.bak");
    const int64_t current = fileSize(user + "bookmark.kvl");
    Action(QStringLiteral("NRecreate"))
        ->setVisible(activeTree_ == TreeBook() && n && n->Level() == 0 && backup >= 0 &&
                     (current < 0 || current < backup));
    const char* const editing[] = {"NRenBook", "NDelBook",  "NEditDoc", "NDelDoc",        "NNewDoc",
                                   "NDocCopy", "NDocPaste", "NShorcut", "NDocPasteBefore"};
    Action(QStringLiteral("NEditDoc"))->setProperty("Tag", 301);
    Action(QStringLiteral("NDelDoc"))->setProperty("Tag", 302);
    if (activeTree_ == TreeBook() && n && n->Level() > 0) {
        for (const char* name : {"NRenBook", "NDelBook", "NEditDoc", "NDelDoc"})
            enable(name, true);
        Action(QStringLiteral("NEditDoc"))->setProperty("Tag", 52);
        Action(QStringLiteral("NDelDoc"))->setProperty("Tag", 53);
    } else if (activeTree_ == TreeBase() && n && n->Level() > 0) {
        for (const char* name : editing)
            enable(name, false);
        enable("NProperty", false);
        const TTreeNode* parent = n->Parent();
        enable("NArchiv",
               n->ImageIndex() == image::Archive ||
                   (parent && parent->ImageIndex() == image::Archive && !n->HasChildren()));
        enable("NProperty", IsFolder(n) && n->Level() >= 2);
        TTreeNode* top = n;
        while (top->Level() > 1)
            top = top->Parent();
        TKveloBase* owner = catalogue_->Bases().FindOwner(top, -1);
        if (owner && owner->CanEdit()) {
            for (const char* name : {"NEditDoc", "NDelDoc", "NNewDoc"})
                enable(name, true);
            enable("NDocCopy", isFree());
        }
    } else {
        for (const char* name : editing)
            enable(name, false);
    }
    Action(QStringLiteral("NNewFolder"))
        ->setEnabled(Action(QStringLiteral("NNewDoc"))->isEnabled());
    if (activeTree_ == TreeQuery() && n && n->Level() > 0) {
        // Deleting from the search tab is ready while the editing commands are not.
        Action(QStringLiteral("NDelDoc"))->setProperty("Tag", 421);
        Action(QStringLiteral("NDelDoc"))->setEnabled(true);
    }
}

void TFrmMain::tabChanged(int index) {
    activeTree_ = trees_[index == 0 ? 0 : index == 1 ? 1 : index == 2 ? 2 : 3];
    if (activeTree_ == TreeTerm()) TreeTerm()->Select(catalogue_->TreeTerm.GetFirstNode());
    UpdateCommands();
}

void TFrmMain::treeMouseDown() {
    expandAllowed_ = false;
}

void TFrmMain::expandButtonPressed(TTreeNode* node) {
    expandAllowed_ = true;
    if (node->Expanded())
        node->Collapse();
    else
        node->Expand();
    expandAllowed_ = false;
}

void TFrmMain::nodeDoubleClicked(TTreeNode* node, Qt::KeyboardModifiers modifiers) {
    const TTreeNode* parent = node->Parent();
    if (node->ImageIndex() == image::Archive ||
        (node->Level() > 0 && parent->ImageIndex() == image::Archive && !node->HasChildren()))
        loadArchive(node);
    if (modifiers & Qt::ControlModifier) NewWindow();
    OpenNode(node);
}

void TFrmMain::expandAncestors(TTreeNode* node) {
    std::vector<TTreeNode*> chain;
    for (TTreeNode* p = node->Parent(); p; p = p->Parent())
        chain.push_back(p);
    Expanding([&] {
        for (auto it = chain.rbegin(); it != chain.rend(); ++it)
            (*it)->Expand();
    });
}

void TFrmMain::StepTree(TTreeView* tree, bool next) {
    TTreeNode* selected = tree->Selected();
    if (!selected) return;
    if (next && IsFolder(selected)) catalogue_->Bases().ExpandNode(selected);
    TTreeNode* target = next ? selected->GetNext() : nodeBefore(selected);
    if (!target) return;
    expandAncestors(target);
    tree->Select(target);
    OpenNode(target);
}

TTreeNode* TFrmMain::FindTreeNode(TTreeView* tree, int docId) {
    for (TTreeNode* n = tree->Model() ? tree->Model()->Nodes().GetFirstNode() : nullptr; n;
         n = n->GetNext())
        if (GetNum(catalogue_->Bases(), n) == docId) return n;
    return nullptr;
}

void TFrmMain::Synchronize() {
    TFrmView* view = ActiveView();
    if (!view) return;
    TTreeNode* node = nullptr;
    if (activeTree_ == TreeBase()) {
        try {
            node = catalogue_->Bases().LocateNode(view->Tag());
        } catch (const std::exception&) {
            node = nullptr;
        }
    } else {
        node = FindTreeNode(activeTree_, view->Tag());
    }
    if (!node) {
        UpdateCommands();
        return;
    }
    expandAncestors(node);
    activeTree_->Select(node);
}

} // namespace kvelo
