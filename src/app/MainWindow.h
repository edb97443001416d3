// TFrmMain: the main window. It holds the four tree tabs, the tool bar, the
// menus, the status bar and the document windows, dispatches every command
// by its Tag (DoClick) and recomputes the enabled state of all commands
// (UpdateCommands) after each command, selection, tab or window change.
#pragma once

#include "WindowList.h"
#include "gui/NForm.h"
#include "gui/NodeIcons.h"
#include "view/ViewHost.h"

#include <QMainWindow>
#include <map>
#include <memory>

class QAction;
class QMdiArea;
class QMdiSubWindow;
class QMenu;
class QPrinter;
class QSplitter;
class QTabWidget;
class QToolBar;

namespace kvelo {

class Catalogue;
class ISearchPrompts;
class IShellPrompts;
class TFormFind;
class TFrmView;
class TTreeNode;
class TTreeView;
class TreeModel;

class TFrmMain : public QMainWindow, public TNForm, public IViewHost {
    Q_OBJECT
public:
    // Builds the catalogue from the settings' DATA folder.
    explicit TFrmMain(IShellPrompts& prompts, QWidget* parent = nullptr);
    ~TFrmMain() override;

    void DoClick(int tag);
    // The popup's editing commands (user content, bookmarks, search results).
    void NNewDocClick(int tag);
    void UpdateCommands() override;

    // A command component (menu item or tool button) by its name; null when unknown.
    QAction* Action(const QString& name) const;
    QMenu* PopupMenu() const { return popup_; }
    TTreeView* TreeBase() const { return trees_[0]; }
    TTreeView* TreeBook() const { return trees_[1]; }
    TTreeView* TreeQuery() const { return trees_[2]; }
    TTreeView* TreeTerm() const { return trees_[3]; }
    TTreeView* ActiveTree() const { return activeTree_; }
    QTabWidget* PageControl() const { return pageControl_; }
    Catalogue& GetCatalogue() { return *catalogue_; }
    NodeIcons& ImageList1() { return icons_; }
    const TWindowList& WindowList() const { return windows_; }
    bool ExpandAllowed() const { return expandAllowed_; }

    TFrmView* ActiveView() const;
    std::vector<TFrmView*> Views() const;
    TFrmView* NewWindow();
    void OpenNode(TTreeNode* node);
    void StepTree(TTreeView* tree, bool next);
    void Synchronize();
    // The first node of `tree`, in tree order, whose identifier is `docId`.
    TTreeNode* FindTreeNode(TTreeView* tree, int docId);
    // Runs `change` with ExpandAllowed set.
    template <typename Change> void Expanding(Change change) {
        const bool was = expandAllowed_;
        expandAllowed_ = true;
        change();
        expandAllowed_ = was;
    }

    // IViewHost
    void SaveDocument() override;
    void CopyToClipboard() override;
    void PasteFromClipboard() override {}
    bool CopyEnabled() override;
    bool PasteEnabled() override;
    void NavigateActive(const std::string& address) override;
    TFrmView* OpenNewWindow() override { return NewWindow(); }
    void SetExcelEnabled(bool enabled) override;
    void WindowActivated(TFrmView& view) override;
    void WindowChanged(TFrmView& view) override;
    void WindowClosed(TFrmView& view) override;
    bool AskSaveChanges() override;

protected:
    void AfterLocalize() override;

public:
    // One command component: its name, designed caption (the hint of tool
    // buttons), Tag, shortcut and tool-bar glyph.
    struct CommandSpec;

private:
    void createActions();
    QAction* makeAction(const CommandSpec& spec);
    void createMenus();
    void createToolBar();
    void createTrees();
    QWidget* createTreePage(const char* pageName, const char* treeName, int index);
    void connectTree(TTreeView* tree);
    void gateExpansion();
    void hideNeverOffered();
    void markNotReady();
    void addMenu(const char* name, const QString& title, std::initializer_list<const char*> items);

    // Commands
    void closeWindow();
    void closeAllWindows();
    void saveAs();
    void showPrinterSetup();
    void printDocument();
    void printInto(QPrinter& printer, TFrmView& view);
    bool askFindText();
    void selectAll();
    void deselect();
    void findLocal(bool again);
    void showSearchResults();
    void changeFontSize(int delta);
    void showSetup();
    void arrange(int tag);
    void stepBack(bool back);
    void placeTreePane(int tag);
    void clearSearchResults();
    void openSelected(bool newWindow);
    void showAbout();
    void showRenewDates();
    void showDocumentCount();
    void showContacts();
    void changeFont();
    void alignSelection(int alignment);
    void showFolderInfo();
    void notReady();
    void loadArchive(TTreeNode* node);
    void switchToWindow(int index);
    void showOtherWindows();
    // The global search and the term dictionary (MainWindowSearch.cpp).
    void createSearch();
    void showFind();
    void showResultFolder(TTreeNode* folder);
    void deleteQueryNode();

    // Command states
    void enable(const char* name, bool enabled);
    void updatePopup();
    void applyWindowMenu();

    // Tree events
    void treeMouseDown();
    void expandButtonPressed(TTreeNode* node);
    void nodeDoubleClicked(TTreeNode* node, Qt::KeyboardModifiers modifiers);
    void tabChanged(int index);
    TTreeNode* nodeBefore(TTreeNode* node);
    TTreeNode* lastDescendant(TTreeNode* node);
    void expandAncestors(TTreeNode* node);
    bool isFree();

    IShellPrompts& prompts_;
    NodeIcons icons_;
    std::unique_ptr<Catalogue> catalogue_;
    std::vector<std::unique_ptr<TreeModel>> models_;
    TTreeView* trees_[4] = {};
    TTreeView* activeTree_ = nullptr;
    QTabWidget* pageControl_ = nullptr;
    QSplitter* splitter_ = nullptr;
    QMdiArea* mdiArea_ = nullptr;
    QToolBar* panel1_ = nullptr;
    QMenu* popup_ = nullptr;
    QMenu* windowMenu_ = nullptr;
    std::map<QString, QAction*> actions_;
    TWindowList windows_;
    bool expandAllowed_ = false;
    TTreeNode* copyMark_ = nullptr;
    QString lastFind_;
    bool lastFindMatchCase_ = false;
    std::unique_ptr<ISearchPrompts> searchPrompts_;
    std::unique_ptr<TFormFind> formFind_;
};

} // namespace kvelo
