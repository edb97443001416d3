// The layout of the main window: command components, menus, tool bar, tree tabs.
#include "MainWindow.h"

#include "bases/Catalogue.h"
#include "gui/QtText.h"
#include "gui/TreeModel.h"
#include "gui/TreeView.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMenuBar>
#include <QPainter>
#include <QSplitter>
#include <QStatusBar>
#include <QStyle>
#include <QTabWidget>
#include <QToolBar>
#include <QVBoxLayout>

namespace kvelo {

struct TFrmMain::CommandSpec {
    const char* name;
    const char* caption; // UTF-8
    int tag;
    const char* shortcut;
    const char* glyph; // tool buttons: a short symbol drawn as the icon
};

namespace {

// Tags handled by NNewDocClick rather than DoClick.
bool isPopupEditing(const char* name) {
    static const char* const names[] = {"NNewDoc",  "NEditDoc",  "NDelDoc",  "NNewFolder",
                                        "NDocCopy", "NDocPaste", "NShorcut", "NDocPasteBefore",
                                        "NRenBook", "NDelBook",  "NRecreate"};
    for (const char* n : names)
        if (qstrcmp(n, name) == 0) return true;
    return false;
}

const TFrmMain::CommandSpec* commandTable(size_t& count);

QIcon glyphIcon(const char* glyph) {
    QPixmap pixmap(22, 22);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    QFont font = QApplication::font();
    font.setPixelSize(qstrlen(glyph) > 2 ? 10 : 15);
    font.setBold(true);
    painter.setFont(font);
    painter.setPen(QColor(0x1f, 0x4f, 0x8f));
    painter.drawText(pixmap.rect(), Qt::AlignCenter, QString::fromUtf8(glyph));
    return QIcon(pixmap);
}

} // namespace

QAction* TFrmMain::makeAction(const CommandSpec& spec) {
    auto* action = new QAction(QString::fromUtf8(spec.caption), this);
    action->setObjectName(QLatin1String(spec.name));
    action->setProperty("Tag", spec.tag);
    if (spec.shortcut) action->setShortcut(QKeySequence(QLatin1String(spec.shortcut)));
    if (spec.glyph) {
        action->setIcon(glyphIcon(spec.glyph));
        action->setToolTip(QString::fromUtf8(spec.caption));
        action->setStatusTip(QString::fromUtf8(spec.caption));
    }
    const bool editing = isPopupEditing(spec.name);
    const int tag = spec.tag;
    connect(action, &QAction::triggered, this, [this, editing, action] {
        const int t = action->property("Tag").toInt();
        editing ? NNewDocClick(t) : DoClick(t);
    });
    Q_UNUSED(tag);
    actions_[action->objectName()] = action;
    return action;
}

void TFrmMain::createActions() {
    size_t count = 0;
    const CommandSpec* table = commandTable(count);
    for (size_t i = 0; i < count; ++i)
        makeAction(table[i]);
    Action(QStringLiteral("NExit"))->disconnect(this);
    connect(Action(QStringLiteral("NExit")), &QAction::triggered, this, &QWidget::close);
    for (int i = 0; i < TWindowList::MenuItems; ++i) {
        QAction* win = Action(QStringLiteral("NWin%1").arg(i));
        win->setCheckable(true);
        win->setVisible(false);
        win->disconnect(this);
        connect(win, &QAction::triggered, this, [this, i] {
            i < TWindowList::OwnItems ? switchToWindow(i) : showOtherWindows();
            applyWindowMenu();
        });
    }
    auto* panes = new QActionGroup(this);
    for (const char* name : {"SpeedButton9", "SpeedButton10", "SpeedButton11"}) {
        Action(QLatin1String(name))->setCheckable(true);
        panes->addAction(Action(QLatin1String(name)));
    }
    Action(QStringLiteral("SpeedButton9"))->setChecked(true);
}

void TFrmMain::addMenu(const char* name, const QString& title,
                       std::initializer_list<const char*> items) {
    QMenu* menu = menuBar()->addMenu(title);
    menu->setObjectName(QLatin1String(name));
    for (const char* item : items) {
        if (qstrcmp(item, "-") == 0)
            menu->addSeparator();
        else
            menu->addAction(Action(QLatin1String(item)));
    }
    if (qstrcmp(name, "NWindows") == 0) windowMenu_ = menu;
}

void TFrmMain::createMenus() {
    menuBar()->setObjectName(QStringLiteral("MainMenu1"));
    addMenu("NFile", QStringLiteral("&Файл"),
            {"NClose", "NCloseAll", "-", "NSaveAs", "NSaveWord", "-", "NCreateBase", "-",
             "NPrinterSetup", "NPrint", "-", "NFindFolder", "N1", "NCopyData", "-", "NExit"});
    addMenu("NEditMenu", QStringLiteral("&Редактировать"),
            {"NSelectAll", "NDeselect", "-", "NCopy", "NWord", "NAdd", "NExcel", "NPreview",
             "NPrintWord", "-", "NPaste"});
    addMenu("NSearchMenu", QStringLiteral("&Поиск"),
            {"NFind", "NNextFind", "-", "NQuery", "NQueryRes", "NNextQuery", "NPrevQuery", "-",
             "NDelQuery"});
    addMenu("NBookMenu", QStringLiteral("&Закладки"),
            {"NNewBook", "NPrevBook", "NNextBook", "-", "NRenBook", "NDelBook"});
    addMenu("NSetupMenu", QStringLiteral("&Настройки"),
            {"NIncFont", "NDecFont", "-", "NSetup", "NSetFont", "N7", "NCorrectFont", "NChangePort",
             "NCDDate"});
    addMenu("NWindows", QStringLiteral("&Окна"),
            {"NNewWindow", "-", "NTile", "NCascade", "NOrange", "-", "NWin0", "NWin1", "NWin2",
             "NWin3", "NWin4", "NWin5", "NWin6", "NWin7", "NWin8", "NWin9"});
    addMenu("NHelpMenu", QStringLiteral("По&мощь"),
            {"NContext", "NNetHelp", "-", "NRenew", "NBaseCount", "-", "NAbout", "NContacts"});

    popup_ = new QMenu(this);
    popup_->setObjectName(QStringLiteral("PopupMenu"));
    for (const char* item :
         {"NRecreate", "NOpen",           "NOpenNew", "-",         "NDocCopy",  "NDocPaste",
          "NShorcut",  "NDocPasteBefore", "-",        "NArchiv",   "-",         "NNewFolder",
          "NNewDoc",   "NEditDoc",        "NNewTerm", "NEditTerm", "NAddDoc",   "NEditName",
          "NDelDoc",   "NExpAccount",     "NSprav",   "-",         "NProperty", "NDateChange"}) {
        if (qstrcmp(item, "-") == 0)
            popup_->addSeparator();
        else
            popup_->addAction(Action(QLatin1String(item)));
    }
    auto* term = new QMenu(this);
    term->addAction(Action(QStringLiteral("NTermDef")));
    term->addAction(Action(QStringLiteral("NTermInfo")));
    Action(QStringLiteral("NNewTerm"))->setMenu(term);
    connect(popup_, &QMenu::aboutToShow, this, &TFrmMain::UpdateCommands);
}

void TFrmMain::createToolBar() {
    panel1_ = addToolBar(QStringLiteral("Panel1"));
    panel1_->setObjectName(QStringLiteral("Panel1"));
    panel1_->setMovable(false);
    panel1_->setIconSize(QSize(22, 22));
    const std::initializer_list<std::initializer_list<const char*>> groups = {
        {"BtnBack", "BtnFwd"},
        {"BtnPrev", "BtnNext", "BtnSynh"},
        {"BtnCopy"},
        {"BtnPrnSet", "BtnPrn"},
        {"SpeedButton9", "SpeedButton10", "SpeedButton11"},
        {"BtnIncFont", "BtnDecFont"},
        {"BtnQuery", "BtnPrevQ", "BtnNextQ"},
        {"BtnBook", "BtnPrevB", "BtnNextB"},
        {"BtnDelQ"},
        {"BtnSave", "BtnURL", "BtnDocBook"},
        {"BtnFont", "BtnLJust", "BtnCJust", "BtnRJust", "BtnJJust"},
        {"BtnWord", "BtnAdd", "BtnPreview", "BtnSaveWord", "BtnExcel", "btnEdit"}};
    bool first = true;
    for (const auto& group : groups) {
        if (!first) panel1_->addSeparator();
        first = false;
        for (const char* name : group)
            panel1_->addAction(Action(QLatin1String(name)));
    }
    const QStyle* style = QApplication::style();
    Action(QStringLiteral("BtnBack"))->setIcon(style->standardIcon(QStyle::SP_ArrowBack));
    Action(QStringLiteral("BtnFwd"))->setIcon(style->standardIcon(QStyle::SP_ArrowForward));
    Action(QStringLiteral("BtnPrev"))->setIcon(style->standardIcon(QStyle::SP_ArrowUp));
    Action(QStringLiteral("BtnNext"))->setIcon(style->standardIcon(QStyle::SP_ArrowDown));
    Action(QStringLiteral("BtnSynh"))->setIcon(style->standardIcon(QStyle::SP_BrowserReload));
    Action(QStringLiteral("BtnSave"))->setIcon(style->standardIcon(QStyle::SP_DialogSaveButton));
}

QWidget* TFrmMain::createTreePage(const char* pageName, const char* treeName, int index) {
    auto* page = new QWidget;
    page->setObjectName(QLatin1String(pageName));
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(0, 0, 0, 0);
    if (index == 3) {
        auto* label = new QLabel(QStringLiteral("Поиск"), page);
        label->setObjectName(QStringLiteral("Label1"));
        auto* edit = new QLineEdit(page);
        edit->setObjectName(QStringLiteral("EditTerm"));
        label->setBuddy(edit);
        layout->addWidget(label);
        layout->addWidget(edit);
    }
    auto* tree = new TTreeView(page);
    tree->setObjectName(QLatin1String(treeName));
    layout->addWidget(tree);
    trees_[index] = tree;
    return page;
}

void TFrmMain::createTrees() {
    pageControl_ = new QTabWidget;
    pageControl_->setObjectName(QStringLiteral("PageControl"));
    pageControl_->addTab(createTreePage("TabBase", "TreeBase", 0), QStringLiteral("&Базы"));
    pageControl_->addTab(createTreePage("TabBook", "TreeBook", 1), QStringLiteral("&Закладки"));
    pageControl_->addTab(createTreePage("TabQuery", "TreeQuery", 2), QStringLiteral("П&оиск"));
    pageControl_->addTab(createTreePage("TabTerm", "TreeTerm", 3), QStringLiteral("&Словарь"));
    mdiArea_ = new QMdiArea;
    mdiArea_->setObjectName(QStringLiteral("MdiArea"));
    mdiArea_->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    mdiArea_->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    splitter_ = new QSplitter(Qt::Horizontal);
    splitter_->setObjectName(QStringLiteral("Splitter"));
    splitter_->setHandleWidth(4);
    splitter_->addWidget(pageControl_);
    splitter_->addWidget(mdiArea_);
    splitter_->setStretchFactor(1, 1);
    splitter_->setSizes({209, 800});
    setCentralWidget(splitter_);
    statusBar()->setObjectName(QStringLiteral("StatusBar"));
}

namespace {

// Every command component of the main window. Captions of tool buttons are their hints.
const TFrmMain::CommandSpec kCommands[] = {
    {"NClose", "&Закрыть", 1, nullptr, nullptr},
    {"NCloseAll", "Закрыть &все", 2, nullptr, nullptr},
    {"NSaveAs", "Сохранить &как...", 3, "Ctrl+S", nullptr},
    {"NSaveWord", "Сохранить в Word", 413, nullptr, nullptr},
    {"NCreateBase", "Создать базу", 0, nullptr, nullptr},
    {"NPrinterSetup", "&Настройка принтера...", 4, nullptr, nullptr},
    {"NPrint", "&Печать...", 5, "Ctrl+P", nullptr},
    {"NFindFolder", "Найти папку", 0, nullptr, nullptr},
    {"N1", "", 0, nullptr, nullptr},
    {"NCopyData", "Копировать данные", 0, nullptr, nullptr},
    {"NExit", "В&ыход", 0, "Alt+F4", nullptr},
    {"NSelectAll", "&Выделить все", 6, "Ctrl+A", nullptr},
    {"NDeselect", "&Отменить выделение", 7, nullptr, nullptr},
    {"NCopy", "&Копировать в буфер", 8, "Ctrl+Ins", nullptr},
    {"NWord", "Открыть в &Word", 410, "Ctrl+W", nullptr},
    {"NAdd", "&Добавить в Word", 411, nullptr, nullptr},
    {"NExcel", "Открыть в &Excel", 415, nullptr, nullptr},
    {"NPreview", "Предварительный просмотр", 412, nullptr, nullptr},
    {"NPrintWord", "Печать из Word", 414, nullptr, nullptr},
    {"NPaste", "Вст&авить документ из буфера обмена", 80, "Shift+Ins", nullptr},
    {"NFind", "&Локальный поиск...", 9, "Ctrl+F", nullptr},
    {"NNextFind", "&Продолжить поиск", 10, "F3", nullptr},
    {"NQuery", "&Глобальный поиск...", 11, "Ctrl+G", nullptr},
    {"NQueryRes", "&Результаты поиска", 12, nullptr, nullptr},
    {"NNextQuery", "&Следующий найденный документ", 13, nullptr, nullptr},
    {"NPrevQuery", "П&редыдущий найденный документ", 14, nullptr, nullptr},
    {"NDelQuery", "&Очистить результаты поиска", 34, nullptr, nullptr},
    {"NNewBook", "&Новая закладка", 23, nullptr, nullptr},
    {"NPrevBook", "&Предыдущий документ", 24, nullptr, nullptr},
    {"NNextBook", "&Следующий документ", 25, nullptr, nullptr},
    {"NRenBook", "П&ереименовать", 52, nullptr, nullptr},
    {"NDelBook", "&Удалить...", 53, nullptr, nullptr},
    {"NIncFont", "&Увеличить размер шрифта", 15, "Ctrl++", nullptr},
    {"NDecFont", "У&меньшить размер шрифта", 16, "Ctrl+-", nullptr},
    {"NSetup", "У&становки...", 17, nullptr, nullptr},
    {"NSetFont", "Шрифт...", 0, nullptr, nullptr},
    {"N7", "", 0, nullptr, nullptr},
    {"NCorrectFont", "Исправить шрифт заголовков", 405, nullptr, nullptr},
    {"NChangePort", "Сменить порт", 0, nullptr, nullptr},
    {"NCDDate", "Дата диска", 0, nullptr, nullptr},
    {"NNewWindow", "&Новое окно", 19, "Ctrl+N", nullptr},
    {"NTile", "&Мозаика", 20, nullptr, nullptr},
    {"NCascade", "&Каскад", 21, nullptr, nullptr},
    {"NOrange", "&Упорядочить значки", 22, nullptr, nullptr},
    {"NWin0", "Новое окно", 0, nullptr, nullptr},
    {"NWin1", "Новое окно", 1, nullptr, nullptr},
    {"NWin2", "Новое окно", 2, nullptr, nullptr},
    {"NWin3", "Новое окно", 3, nullptr, nullptr},
    {"NWin4", "Новое окно", 4, nullptr, nullptr},
    {"NWin5", "Новое окно", 5, nullptr, nullptr},
    {"NWin6", "Новое окно", 6, nullptr, nullptr},
    {"NWin7", "Новое окно", 7, nullptr, nullptr},
    {"NWin8", "Новое окно", 8, nullptr, nullptr},
    {"NWin9", "Другие окна", 9, nullptr, nullptr},
    {"NContext", "&Содержание", 54, "F1", nullptr},
    {"NNetHelp", "Помощь в сети", 0, nullptr, nullptr},
    {"NRenew", "&Дата обновления", 57, nullptr, nullptr},
    {"NBaseCount", "&Число документов", 58, nullptr, nullptr},
    {"NAbout", "&О программе...", 55, nullptr, nullptr},
    {"NContacts", "&Контактные телефоны", 59, nullptr, nullptr},
    // Tree popup menu
    {"NRecreate", "Восстановить", 422, nullptr, nullptr},
    {"NOpen", "&Открыть", 50, nullptr, nullptr},
    {"NOpenNew", "Открыть в &новом окне", 51, nullptr, nullptr},
    {"NDocCopy", "&Копировать", 400, nullptr, nullptr},
    {"NDocPaste", "&Вставить", 401, nullptr, nullptr},
    {"NShorcut", "Создать &ярлык", 402, nullptr, nullptr},
    {"NDocPasteBefore", "Вставить до", 403, nullptr, nullptr},
    {"NArchiv", "Загрузить архив", 0, nullptr, nullptr},
    {"NNewFolder", "Новая &папка...", 303, nullptr, nullptr},
    {"NNewDoc", "Новый &документ...", 300, nullptr, nullptr},
    {"NEditDoc", "&Изменить...", 301, nullptr, nullptr},
    {"NNewTerm", "Новый термин", 0, nullptr, nullptr},
    {"NTermDef", "Определение", 0, nullptr, nullptr},
    {"NTermInfo", "Информация", 0, nullptr, nullptr},
    {"NEditTerm", "Изменить термин", 0, nullptr, nullptr},
    {"NAddDoc", "Дополнить...", 0, nullptr, nullptr},
    {"NEditName", "Изменить название", 0, nullptr, nullptr},
    {"NDelDoc", "&Удалить...", 302, nullptr, nullptr},
    {"NExpAccount", "Форма отчетности", 0, nullptr, nullptr},
    {"NSprav", "Справка", 0, nullptr, nullptr},
    {"NProperty", "С&войства...", 400, nullptr, nullptr},
    {"NDateChange", "Дата изменения", 0, nullptr, nullptr},
    // Tool bar (captions are the hints)
    {"BtnBack", "Назад", 26, "Alt+Left", "◀"},
    {"BtnFwd", "Вперед", 27, "Alt+Right", "▶"},
    {"BtnPrev", "Предыдущий документ", 28, "Ctrl+Up", "▲"},
    {"BtnNext", "Следующий документ", 29, "Ctrl+Down", "▼"},
    {"BtnSynh", "Синхронизация документа", 30, "Ctrl+L", "⇆"},
    {"BtnCopy", "Копировать", 8, nullptr, "Cp"},
    {"BtnPrnSet", "Настройки принтера", 4, nullptr, "⚙"},
    {"BtnPrn", "Печать", 5, nullptr, "Pr"},
    {"SpeedButton9", "Дерево слева", 31, nullptr, "◧"},
    {"SpeedButton10", "Дерево сверху", 32, nullptr, "⬒"},
    {"SpeedButton11", "Во весь экран", 33, nullptr, "□"},
    {"BtnIncFont", "Увеличить размер шрифта", 15, nullptr, "A+"},
    {"BtnDecFont", "Уменьшить размер шрифта", 16, nullptr, "A−"},
    {"BtnQuery", "Глобальный поиск", 11, nullptr, "G?"},
    {"BtnPrevQ", "Предыдущий найденный документ", 14, nullptr, "⇑"},
    {"BtnNextQ", "Следующий найденный документ", 13, nullptr, "⇓"},
    {"BtnBook", "Новая закладка", 23, nullptr, "B+"},
    {"BtnPrevB", "Предыдущий документ", 24, nullptr, "↑"},
    {"BtnNextB", "Следующий документ", 25, nullptr, "↓"},
    {"BtnDelQ", "Очистить результаты поиска", 34, nullptr, "✕"},
    {"BtnSave", "Запись", 200, nullptr, "S"},
    {"BtnURL", "Ссылка", 201, nullptr, "@"},
    {"BtnDocBook", "Закладка в документе", 202, nullptr, "#"},
    {"BtnFont", "Изменить шрифт", 324, nullptr, "F"},
    {"BtnLJust", "по левому краю", 325, nullptr, "L"},
    {"BtnCJust", "по центру", 326, nullptr, "C"},
    {"BtnRJust", "по правому краю", 327, nullptr, "R"},
    {"BtnJJust", "по ширине", 328, nullptr, "J"},
    {"BtnWord", "Открыть в Word", 410, nullptr, "W"},
    {"BtnAdd", "Добавить в Word", 411, nullptr, "W+"},
    {"BtnPreview", "Предварительный просмотр", 412, nullptr, "Wp"},
    {"BtnSaveWord", "Сохранить в Word", 413, nullptr, "Ws"},
    {"BtnExcel", "Открыть в Excel", 415, nullptr, "X"},
    {"btnEdit", "Редактирование", 0, nullptr, "✎"},
};

const TFrmMain::CommandSpec* commandTable(size_t& count) {
    count = sizeof kCommands / sizeof kCommands[0];
    return kCommands;
}

} // namespace

} // namespace kvelo
