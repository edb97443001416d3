#include "Dialogs.h"

#include "rtfengine/viewer/RtfViewer.h"

#include "MainWindow.h"
#include "bases/Catalogue.h"
#include "bases/NodeKinds.h"
#include "gui/QtText.h"
#include "platform/DateTime.h"
#include "settings/Settings.h"

#include <QApplication>
#include <QComboBox>
#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QFile>
#include <QFileInfo>
#include <QFormLayout>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QProgressBar>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QVBoxLayout>

namespace kvelo {
namespace {

QDialogButtonBox* okCancel(QDialog* dialog, const char* okName, const char* cancelName) {
    auto* buttons = new QDialogButtonBox(dialog);
    QPushButton* ok = buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
    ok->setObjectName(QLatin1String(okName));
    ok->setDefault(true);
    QPushButton* cancel =
        buttons->addButton(QStringLiteral("Отмена"), QDialogButtonBox::RejectRole);
    cancel->setObjectName(QLatin1String(cancelName));
    QObject::connect(buttons, &QDialogButtonBox::accepted, dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
    return buttons;
}

QTableWidget* makeGrid(QWidget* parent, int firstColumnPx) {
    auto* grid = new QTableWidget(0, 2, parent);
    grid->setObjectName(QStringLiteral("StringGrid1"));
    grid->verticalHeader()->hide();
    grid->setColumnWidth(0, firstColumnPx);
    grid->horizontalHeader()->setStretchLastSection(true);
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    return grid;
}

void addRow(QTableWidget* grid, const QString& name, const QString& value) {
    const int row = grid->rowCount();
    grid->insertRow(row);
    grid->setItem(row, 0, new QTableWidgetItem(name));
    grid->setItem(row, 1, new QTableWidgetItem(value));
}

TKveloBase* baseOfNode(TKveloBases& bases, TTreeNode* node) {
    return bases.FindOwner(node, -1);
}

int32_t documentCount(TKveloBase& base) {
    const int32_t records = base.GetRecordCount();
    return records == 0 || records > 50 ? base.GetDocCount() : records;
}

// The base nodes of the catalogue: members of each group (image 0), and the
// supplementary bases (image 19, or overlay 19 when `withOwnIcons`).
std::vector<TTreeNode*> baseNodes(Catalogue& catalogue, TTreeNode* group) {
    std::vector<TTreeNode*> nodes;
    for (int i = 0; i < group->Count(); ++i)
        if (TKveloBase* owner = catalogue.Bases().FindOwner(group->Item(i), -1);
            owner && owner->RootNode() == group->Item(i))
            nodes.push_back(group->Item(i));
    return nodes;
}

} // namespace

// --- TFrmSetup ----------------------------------------------------------------

TFrmSetup::TFrmSetup(QWidget* parent)
    : QDialog(parent), TNForm(this), comboLang_(new QComboBox(this)),
      editFontSize_(new QSpinBox(this)) {
    setObjectName(QStringLiteral("FrmSetup"));
    setWindowTitle(QStringLiteral("Настройки программы"));
    comboLang_->setObjectName(QStringLiteral("ComboLang"));
    editFontSize_->setObjectName(QStringLiteral("EditFontSize"));
    editFontSize_->setRange(4, 72);
    editFontSize_->setValue(12);
    auto* form = new QFormLayout;
    auto* labelLang = new QLabel(QStringLiteral("&Язык интерфейса :"), this);
    labelLang->setObjectName(QStringLiteral("Label1"));
    labelLang->setBuddy(comboLang_);
    auto* labelSize = new QLabel(QStringLiteral("&Размер шрифта по умолчанию :"), this);
    labelSize->setObjectName(QStringLiteral("Label2"));
    labelSize->setBuddy(editFontSize_);
    form->addRow(labelLang, comboLang_);
    form->addRow(labelSize, editFontSize_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(okCancel(this, "Button1", "Button2"));
    Localize();
    Fill();
}

void TFrmSetup::Fill() {
    const Settings& s = AppSettings();
    comboLang_->clear();
    if (!s.LanguageFile || !s.SettingsFile) return;
    for (const auto& [name, file] : s.LanguageFile->ReadSectionValues("LANGUAGES")) {
        comboLang_->addItem(FromCp1251(name), FromCp1251(name));
        if (file == s.LanguageFileName) comboLang_->setCurrentIndex(comboLang_->count() - 1);
    }
    if (comboLang_->count() > 0 && comboLang_->currentIndex() < 0) comboLang_->setCurrentIndex(-1);
    editFontSize_->setValue(s.SettingsFile->ReadInteger("SETUP", "FONTSIZE", 12));
}

void TFrmSetup::Apply() {
    Settings& s = AppSettings();
    if (!s.LanguageFile || !s.SettingsFile) return;
    if (comboLang_->currentIndex() >= 0) {
        const std::string file = s.LanguageFile->ReadString(
            "LANGUAGES", ToCp1251(comboLang_->currentData().toString()), "");
        if (!file.empty()) s.SettingsFile->WriteString("SETUP", "LANGUAGE", file);
    }
    s.SettingsFile->WriteString("SETUP", "FONTSIZE", std::to_string(editFontSize_->value()));
    FreeIniFiles();
    CreateLangFiles();
}

// --- TFrmWinNames -------------------------------------------------------------

TFrmWinNames::TFrmWinNames(const std::vector<std::string>& titles, QWidget* parent)
    : QDialog(parent), TNForm(this), list_(new QListWidget(this)) {
    setObjectName(QStringLiteral("FrmWinNames"));
    setWindowTitle(QStringLiteral("Переход в окно"));
    list_->setObjectName(QStringLiteral("ListBox1"));
    for (const std::string& title : titles)
        list_->addItem(FromCp1251(title));
    connect(list_, &QListWidget::itemDoubleClicked, this, &QDialog::accept);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(list_);
    layout->addWidget(okCancel(this, "BtnOK", "BtnCancel"));
    resize(420, 300);
    Localize();
}

int TFrmWinNames::ChosenIndex() const {
    return list_->currentItem() && list_->currentItem()->isSelected() ? list_->currentRow() : -1;
}

// --- TFrmCount ----------------------------------------------------------------

TFrmCount::TFrmCount(Catalogue& catalogue, QWidget* parent)
    : QDialog(parent), TNForm(this), grid_(makeGrid(this, 250)) {
    setObjectName(QStringLiteral("FrmCount"));
    setWindowTitle(QStringLiteral("Количество документов"));
    grid_->setHorizontalHeaderLabels({LoadStr("Base"), LoadStr("DocCount")});
    TTreeNode* root = catalogue.Root();
    for (int i = 0; root && i < root->Count(); ++i) {
        TTreeNode* child = root->Item(i);
        if (child->ImageIndex() == image::Base) {
            int64_t total = 0;
            for (TTreeNode* member : baseNodes(catalogue, child)) {
                const int32_t n = documentCount(*baseOfNode(catalogue.Bases(), member));
                addRow(grid_, FromCp1251(member->Text()), QString::number(n));
                total += n;
            }
            addRow(grid_, FromCp1251(child->Text()), QString::number(total));
        } else if (child->ImageIndex() == image::Supplementary) {
            if (TKveloBase* base = baseOfNode(catalogue.Bases(), child))
                addRow(grid_, FromCp1251(child->Text()), QString::number(documentCount(*base)));
        }
    }
    if (catalogue.TermDictionaryPresent())
        if (TTreeNode* terms = catalogue.TreeTerm.GetFirstNode())
            for (int i = 0; i < terms->Count(); ++i)
                if (TKveloBase* base = baseOfNode(catalogue.Bases(), terms->Item(i)))
                    addRow(grid_, FromCp1251(terms->Item(i)->Text()),
                           QString::number(base->GetRecordCount()));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(grid_);
    resize(460, 320);
    Localize();
}

// --- TFrmDateRenew ------------------------------------------------------------

TFrmDateRenew::TFrmDateRenew(Catalogue& catalogue, QWidget* parent)
    : QDialog(parent), TNForm(this), grid_(makeGrid(this, 230)) {
    setObjectName(QStringLiteral("FrmDateRenew"));
    setWindowTitle(QStringLiteral("Дата обновления"));
    const QFileInfo program(QCoreApplication::applicationFilePath());
    auto* labelKvelo = new QLabel(this);
    labelKvelo->setObjectName(QStringLiteral("LabelKvelo"));
    labelKvelo->setText(
        QStringLiteral("Программа %1 от %2 г.")
            .arg(program.fileName(), program.lastModified().toString(QStringLiteral("dd.MM.yy"))));
    grid_->setHorizontalHeaderLabels({LoadStr("Base"), LoadStr("DateRenew")});
    std::vector<TTreeNode*> pairs;
    TTreeNode* root = catalogue.Root();
    for (int i = 0; root && i < root->Count(); ++i) {
        TTreeNode* child = root->Item(i);
        if (child->ImageIndex() == image::Base) {
            for (TTreeNode* member : baseNodes(catalogue, child))
                pairs.push_back(member);
        } else if (child->ImageIndex() == image::Supplementary ||
                   child->OverlayIndex() == image::Supplementary) {
            pairs.push_back(child);
        }
    }
    if (catalogue.TermDictionaryPresent())
        if (TTreeNode* terms = catalogue.TreeTerm.GetFirstNode())
            for (int i = 0; i < terms->Count(); ++i)
                pairs.push_back(terms->Item(i));
    for (TTreeNode* node : pairs)
        if (TKveloBase* base = baseOfNode(catalogue.Bases(), node))
            addRow(grid_, FromCp1251(node->Text()), FromCp1251(DateToStr(base->GetBaseDate())));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(labelKvelo);
    layout->addWidget(grid_);
    resize(440, 320);
    Localize();
}

// --- TFormInfo ----------------------------------------------------------------

TFormInfo::TFormInfo(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowStaysOnTopHint), TNForm(this),
      labelBase_(new QLabel(this)), labelFolder_(new QLabel(QStringLiteral("0"), this)),
      labelDoc_(new QLabel(QStringLiteral("0"), this)), progress_(new QProgressBar(this)) {
    setObjectName(QStringLiteral("FormInfo"));
    setWindowTitle(QStringLiteral("Информация"));
    labelBase_->setObjectName(QStringLiteral("LabelBase"));
    labelFolder_->setObjectName(QStringLiteral("LabelFolder"));
    labelDoc_->setObjectName(QStringLiteral("LabelDoc"));
    progress_->setObjectName(QStringLiteral("ProgressBar1"));
    auto* form = new QFormLayout;
    const char* names[] = {"Label1", "Label2", "Label3"};
    const QString captions[] = {QStringLiteral("База :"), QStringLiteral("Папок :"),
                                QStringLiteral("Документов :")};
    QLabel* values[] = {labelBase_, labelFolder_, labelDoc_};
    for (int i = 0; i < 3; ++i) {
        auto* label = new QLabel(captions[i], this);
        label->setObjectName(QLatin1String(names[i]));
        form->addRow(label, values[i]);
    }
    auto* close = new QPushButton(QStringLiteral("&Закрыть"), this);
    close->setObjectName(QStringLiteral("Button1"));
    connect(close, &QPushButton::clicked, this, &QDialog::close);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(progress_);
    layout->addWidget(close, 0, Qt::AlignRight);
    resize(360, 170);
    Localize();
}

TFormInfo& TFormInfo::Shared(QWidget* parent) {
    static QPointer<TFormInfo> window;
    if (!window) window = new TFormInfo(parent);
    return *window;
}

void TFormInfo::showCounts() {
    labelFolder_->setText(QString::number(folders_));
    labelDoc_->setText(QString::number(documents_));
}

void TFormInfo::Run(Catalogue& catalogue, TTreeNode* folder, TFrmMain& main) {
    catalogue.Bases().ExpandNode(folder);
    folders_ = documents_ = 0;
    labelBase_->setText(FromCp1251(folder->Text()));
    showCounts();
    progress_->setRange(0, 200);
    progress_->setValue(0);
    progress_->show();
    show();
    const int level = folder->Level();
    for (TTreeNode* n = folder->GetNext(); n && n->Level() > level; n = n->GetNext()) {
        if (IsFolder(n)) {
            main.Expanding([&] {
                catalogue.Bases().ExpandNode(n);
                n->Expand();
            });
            progress_->setValue(std::min(progress_->value() + 1, progress_->maximum()));
            ++folders_;
            showCounts();
            QCoreApplication::processEvents();
        } else {
            ++documents_;
        }
    }
    progress_->hide();
    showCounts();
}

// --- TFrmContacts -------------------------------------------------------------

TFrmContacts::TFrmContacts(QWidget* parent) : QDialog(parent), viewer1_(new TRtfViewer(this)) {
    setObjectName(QStringLiteral("FrmContacts"));
    setWindowTitle(QStringLiteral("Контактные телефоны"));
    viewer1_->setObjectName(QStringLiteral("Viewer1"));
    viewer1_->SetDefBackground(palette().color(QPalette::Base));
    viewer1_->SetBorderStyle(TBorderStyle::bsNone);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(viewer1_);
    resize(480, 360);
}

} // namespace kvelo
