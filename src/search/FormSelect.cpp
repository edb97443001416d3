#include "search/FormSelect.h"

#include "gui/QtText.h"

#include <QAction>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>

namespace kvelo {
namespace {

constexpr int CodeRole = Qt::UserRole;

QPushButton* button(QWidget* parent, const char* name, const QString& caption) {
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(QLatin1String(name));
    b->setAutoDefault(false);
    return b;
}

QAction* popupItem(QListWidget* list, const char* name, const QString& caption) {
    auto* action = new QAction(caption, list);
    action->setObjectName(QLatin1String(name));
    list->setContextMenuPolicy(Qt::ActionsContextMenu);
    list->addAction(action);
    return action;
}

} // namespace

TFormSelect::TFormSelect(QWidget* parent)
    : QDialog(parent), TNForm(this), listBox1_(new QListWidget(this)),
      listBox2_(new QListWidget(this)) {
    setObjectName(QStringLiteral("FormSelect"));
    listBox1_->setObjectName(QStringLiteral("ListBox1"));
    listBox1_->setSortingEnabled(true);
    listBox2_->setObjectName(QStringLiteral("ListBox2"));
    auto* label1 = new QLabel(QStringLiteral("Список:"), this);
    label1->setObjectName(QStringLiteral("Label1"));
    auto* label2 = new QLabel(QStringLiteral("Выбранные элементы:"), this);
    label2->setObjectName(QStringLiteral("Label2"));
    QPushButton* add = button(this, "Button1", QStringLiteral("Добавить"));
    QPushButton* remove = button(this, "Button2", QStringLiteral("Удалить"));
    QPushButton* ok = button(this, "Button3", QStringLiteral("ОК"));
    QPushButton* cancel = button(this, "Button4", QStringLiteral("Отмена"));
    ok->setDefault(true);
    connect(popupItem(listBox1_, "NAdd", QStringLiteral("Добавить")), &QAction::triggered, this,
            &TFormSelect::AddHighlighted);
    connect(popupItem(listBox2_, "NDelete", QStringLiteral("Удалить")), &QAction::triggered, this,
            &TFormSelect::RemoveHighlighted);
    connect(add, &QPushButton::clicked, this, &TFormSelect::AddHighlighted);
    connect(remove, &QPushButton::clicked, this, &TFormSelect::RemoveHighlighted);
    connect(ok, &QPushButton::clicked, this, &TFormSelect::accept);
    connect(cancel, &QPushButton::clicked, this, &TFormSelect::reject);
    connect(listBox1_, &QListWidget::itemDoubleClicked, this, &TFormSelect::AddHighlighted);
    connect(listBox2_, &QListWidget::itemDoubleClicked, this, &TFormSelect::RemoveHighlighted);
    listBox1_->installEventFilter(this);

    auto* grid = new QGridLayout(this);
    grid->addWidget(label1, 0, 0);
    grid->addWidget(label2, 0, 2);
    grid->addWidget(listBox1_, 1, 0, 4, 1);
    grid->addWidget(add, 1, 1);
    grid->addWidget(remove, 2, 1);
    grid->addWidget(listBox2_, 1, 2, 4, 1);
    grid->addWidget(ok, 5, 1);
    grid->addWidget(cancel, 5, 2, Qt::AlignLeft);
    resize(560, 360);
    Localize();
}

void TFormSelect::Fill(const QString& caption, const TCodeNameList& names) {
    listBox1_->clear();
    listBox2_->clear();
    setWindowTitle(caption);
    for (const TCodeNameList::Item& item : names.Items()) {
        auto* row = new QListWidgetItem(FromCp1251(item.name));
        row->setData(CodeRole, item.code);
        listBox1_->addItem(row);
    }
    listBox1_->setCurrentRow(-1);
}

void TFormSelect::AddHighlighted() {
    QListWidgetItem* item = listBox1_->currentItem();
    if (!item || listBox1_->currentRow() < 0) return;
    listBox2_->addItem(item->clone());
}

void TFormSelect::RemoveHighlighted() {
    const int row = listBox2_->currentRow();
    if (row >= 0) delete listBox2_->takeItem(row);
}

std::vector<TCodeNameList::Item> TFormSelect::Chosen() const {
    std::vector<TCodeNameList::Item> items;
    for (int i = 0; i < listBox2_->count(); ++i) {
        const QListWidgetItem* item = listBox2_->item(i);
        items.push_back({ToCp1251(item->text()), item->data(CodeRole).toInt()});
    }
    return items;
}

void TFormSelect::accept() {
    AddHighlighted();
    QDialog::accept();
}

void TFormSelect::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    listBox1_->setFocus();
}

bool TFormSelect::eventFilter(QObject* watched, QEvent* event) {
    if (watched == listBox1_ && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Space) {
        AddHighlighted();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

QString CommaText(const std::vector<TCodeNameList::Item>& items) {
    QStringList parts;
    for (const TCodeNameList::Item& item : items) {
        QString name = FromCp1251(item.name);
        if (name.contains(QLatin1Char(' ')) || name.contains(QLatin1Char(',')) ||
            name.contains(QLatin1Char('"')))
            name = QLatin1Char('"') + name.replace(QLatin1String("\""), QLatin1String("\"\"")) +
                   QLatin1Char('"');
        parts << name;
    }
    return parts.join(QLatin1Char(','));
}

} // namespace kvelo
