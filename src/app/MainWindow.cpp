#include "MainWindow.h"

#include "ShellPrompts.h"
#include "bases/Catalogue.h"
#include "bases/NodeKinds.h"
#include "gui/QtText.h"
#include "gui/TreeModel.h"
#include "gui/TreeView.h"
#include "search/FormFind.h"
#include "search/SearchPrompts.h"
#include "settings/Settings.h"
#include "view/FrmView.h"

#include <QAction>
#include <QApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QTabWidget>
#include <QTimer>

namespace kvelo {

TFrmMain::TFrmMain(IShellPrompts& prompts, QWidget* parent)
    : QMainWindow(parent), TNForm(this), prompts_(prompts) {
    setObjectName(QStringLiteral("FrmMain"));
    setWindowIcon(QIcon(QStringLiteral(":/icons/kvelo.svg")));
    createActions();
    createMenus();
    createToolBar();
    createTrees();
    CatalogueOptions options = CatalogueOptionsFromSettings();
    options.prompts = &prompts_;
    options.addBaseIcon = [this](const std::string& path) -> std::optional<int> {
        const int index = icons_.Append(QPixmap(QString::fromStdString(path)));
        return index < 0 ? std::nullopt : std::optional<int>(index);
    };
    catalogue_ = std::make_unique<Catalogue>(std::move(options));
    TTreeNodes* nodes[4] = {&catalogue_->TreeBase, &catalogue_->TreeBook, &catalogue_->TreeQuery,
                            &catalogue_->TreeTerm};
    for (int i = 0; i < 4; ++i) {
        models_.push_back(std::make_unique<TreeModel>(*nodes[i], icons_));
        trees_[i]->SetTreeModel(models_.back().get());
        connectTree(trees_[i]);
    }
    gateExpansion();
    activeTree_ = TreeBase();
    pageControl_->setCurrentIndex(0);
    pageControl_->setTabVisible(3, catalogue_->TermDictionaryPresent());
    connect(pageControl_, &QTabWidget::currentChanged, this, &TFrmMain::tabChanged);
    connect(mdiArea_, &QMdiArea::subWindowActivated, this, [this](QMdiSubWindow* sub) {
        if (auto* view = sub ? qobject_cast<TFrmView*>(sub->widget()) : nullptr) view->Activated();
        UpdateCommands();
    });
    hideNeverOffered();
    createSearch();
    Localize();
    resize(1000, 700);
    UpdateCommands();
    if (!AppSettings().TempDir.empty()) ClearFolder(AppSettings().TempDir);
}

TFrmMain::~TFrmMain() {
    // Document windows and views go before the catalogue and its trees.
    mdiArea_->closeAllSubWindows();
    for (QMdiSubWindow* sub : mdiArea_->subWindowList())
        delete sub;
    for (TTreeView* tree : trees_)
        tree->setModel(nullptr);
    models_.clear();
    catalogue_.reset();
    if (!AppSettings().TempDir.empty()) ClearFolder(AppSettings().TempDir);
}

QAction* TFrmMain::Action(const QString& name) const {
    const auto it = actions_.find(name);
    return it == actions_.end() ? nullptr : it->second;
}

void TFrmMain::connectTree(TTreeView* tree) {
    tree->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(tree, &QWidget::customContextMenuRequested, this,
            [this, tree](const QPoint& pos) { popup_->popup(tree->viewport()->mapToGlobal(pos)); });
    connect(tree, &TTreeView::MouseDown, this, &TFrmMain::treeMouseDown);
    connect(tree, &TTreeView::ExpandButtonPressed, this, &TFrmMain::expandButtonPressed);
    connect(tree, &TTreeView::NodeDoubleClicked, this, &TFrmMain::nodeDoubleClicked);
    connect(tree, &TTreeView::SelectionChanged, this, [this] { UpdateCommands(); });
}

void TFrmMain::gateExpansion() {
    // Every expand or collapse lets the owning base read the folder first;
    // the change itself happens only while ExpandAllowed is set.
    for (TTreeNodes* tree : {&catalogue_->TreeBase, &catalogue_->TreeBook, &catalogue_->TreeQuery,
                             &catalogue_->TreeTerm}) {
        auto gate = [this](TTreeNode* node) {
            catalogue_->Bases().ExpandNode(node);
            return expandAllowed_;
        };
        tree->OnExpanding = gate;
        tree->OnCollapsing = gate;
    }
}

void TFrmMain::hideNeverOffered() {
    for (const char* name :
         {"NCreateBase",  "NShorcut",    "NSaveWord",       "BtnSaveWord", "BtnPreview",
          "NPreview",     "NAddDoc",     "NEditName",       "NFindFolder", "N1",
          "N7",           "NDateChange", "NDocPasteBefore", "NNewTerm",    "NEditTerm",
          "NExpAccount",  "NSprav",      "NCopyData",       "NPrintWord",  "NSetFont",
          "NCorrectFont", "NChangePort", "NCDDate",         "NNetHelp",    "NRecreate",
          "NArchiv",      "btnEdit"})
        Action(QLatin1String(name))->setVisible(false);
    Action(QStringLiteral("BtnExcel"))->setEnabled(false);
    disconnect(Action(QStringLiteral("NArchiv")), nullptr, this, nullptr);
    connect(Action(QStringLiteral("NArchiv")), &QAction::triggered, this,
            [this] { loadArchive(activeTree_->Selected()); });
}

void TFrmMain::AfterLocalize() {
    windows_.SetCaptions(
        ToCp1251(Action(QStringLiteral("NNewWindow"))->text().remove(QLatin1Char('&'))),
        ToCp1251(Action(QStringLiteral("NWin9"))->text()));
    markNotReady();
    applyWindowMenu();
}

TFrmView* TFrmMain::ActiveView() const {
    QMdiSubWindow* sub = mdiArea_->currentSubWindow();
    return sub ? qobject_cast<TFrmView*>(sub->widget()) : nullptr;
}

std::vector<TFrmView*> TFrmMain::Views() const {
    std::vector<TFrmView*> views;
    for (QMdiSubWindow* sub : mdiArea_->subWindowList(QMdiArea::CreationOrder))
        if (auto* view = qobject_cast<TFrmView*>(sub->widget())) views.push_back(view);
    return views;
}

TFrmView* TFrmMain::NewWindow() {
    auto* view = new TFrmView(catalogue_->Bases(), *this);
    windows_.Add(view);
    QMdiSubWindow* sub = mdiArea_->addSubWindow(view);
    sub->setAttribute(Qt::WA_DeleteOnClose);
    sub->setWindowIcon(windowIcon());
    sub->showMaximized();
    mdiArea_->setActiveSubWindow(sub);
    applyWindowMenu();
    return view;
}

void TFrmMain::OpenNode(TTreeNode* node) {
    if (!node) return;
    TFrmView* view = ActiveView();
    if (!view) view = NewWindow();
    view->Navigate("P" + std::to_string(node->Handle()), true);
}

void TFrmMain::NavigateActive(const std::string& address) {
    TFrmView* view = ActiveView();
    if (!view) view = NewWindow();
    view->Navigate(address, true);
}

void TFrmMain::SetExcelEnabled(bool enabled) {
    Action(QStringLiteral("BtnExcel"))
        ->setEnabled(enabled && !Action(QStringLiteral("BtnExcel"))->property("notReady").toBool());
    Action(QStringLiteral("NExcel"))->setEnabled(Action(QStringLiteral("BtnExcel"))->isEnabled());
}

void TFrmMain::WindowActivated(TFrmView& view) {
    windows_.Activate(&view);
    const int index = windows_.IndexOf(&view);
    SetExcelEnabled(index >= 0 && windows_.SourceType(index) == "xls");
    applyWindowMenu();
}

void TFrmMain::WindowChanged(TFrmView& view) {
    windows_.Change(&view, view.Title(), view.SourceType());
    applyWindowMenu();
}

void TFrmMain::WindowClosed(TFrmView& view) {
    windows_.Remove(&view);
    applyWindowMenu();
    QTimer::singleShot(0, this, [this] {
        if (TFrmView* next = ActiveView()) WindowActivated(*next);
        UpdateCommands();
    });
}

bool TFrmMain::AskSaveChanges() {
    return prompts_.Confirm(LoadStr("changeDoc") + QStringLiteral("\r\n") + LoadStr("saveChange"));
}

void TFrmMain::applyWindowMenu() {
    for (int i = 0; i < TWindowList::MenuItems; ++i) {
        QAction* item = Action(QStringLiteral("NWin%1").arg(i));
        const TWindowList::MenuItem& state = windows_.Item(i);
        item->setVisible(state.visible);
        item->setChecked(state.checked);
        item->setText(FromCp1251(state.caption));
    }
}

void TFrmMain::switchToWindow(int index) {
    if (index < 0 || index >= windows_.Count() || index == windows_.ActiveIndex()) return;
    for (QMdiSubWindow* sub : mdiArea_->subWindowList())
        if (sub->widget() == windows_.Window(index)) mdiArea_->setActiveSubWindow(sub);
}

} // namespace kvelo
