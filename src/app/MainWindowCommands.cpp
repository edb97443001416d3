// DoClick: every command of the main window by its Tag, one function each.
#include "MainWindow.h"

#include "Dialogs.h"
#include "ShellPrompts.h"
#include "bases/Catalogue.h"
#include "bases/NodeKinds.h"
#include "gui/QtText.h"
#include "gui/TreeView.h"
#include "platform/Streams.h"
#include "rtfengine/viewer/RtfPrint.h"
#include "settings/Settings.h"
#include "view/FrmView.h"

#include <QAction>
#include <QCheckBox>
#include <QClipboard>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFontDialog>
#include <QFormLayout>
#include <QGuiApplication>
#include <QInputDialog>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMimeData>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QSplitter>
#include <QTabWidget>

namespace kvelo {
namespace {

// Commands whose subsystems are not part of this build yet.
bool isNotReady(int tag) {
    switch (tag) {
    case 23:
    case 52:
    case 53:
    case 54:
    case 80:
    case 201:
    case 202:
    case 405:
    case 410:
    case 411:
    case 412:
    case 413:
    case 414:
    case 415:
    case 422:
        return true;
    default:
        return false;
    }
}

} // namespace

void TFrmMain::markNotReady() {
    const QString note = LoadStr("notReady");
    for (auto& [name, action] : actions_) {
        const bool editing =
            name == QLatin1String("NNewDoc") || name == QLatin1String("NEditDoc") ||
            name == QLatin1String("NDelDoc") || name == QLatin1String("NNewFolder") ||
            name == QLatin1String("NDocCopy") || name == QLatin1String("NDocPaste") ||
            name == QLatin1String("NRenBook") || name == QLatin1String("NDelBook");
        if (!editing && !isNotReady(action->property("Tag").toInt())) continue;
        action->setProperty("notReady", true);
        action->setEnabled(false);
        const QString tip = action->toolTip();
        if (!tip.endsWith(note)) action->setToolTip(tip + QStringLiteral(" — ") + note);
        if (!action->statusTip().endsWith(note))
            action->setStatusTip(action->statusTip().isEmpty()
                                     ? note
                                     : action->statusTip() + QStringLiteral(" — ") + note);
    }
}

void TFrmMain::notReady() {
    prompts_.ShowMessage("notReady", MessageIcon::Information);
}

void TFrmMain::DoClick(int tag) {
    bool update = true;
    switch (tag) {
    case 1:
        closeWindow();
        break;
    case 2:
        closeAllWindows();
        break;
    case 3:
        saveAs();
        break;
    case 4:
        showPrinterSetup();
        break;
    case 5:
        printDocument();
        break;
    case 6:
        selectAll();
        break;
    case 7:
        deselect();
        break;
    case 8:
        CopyToClipboard();
        break;
    case 9:
        findLocal(false);
        break;
    case 10:
        findLocal(true);
        break;
    case 11:
        showFind();
        break;
    case 12:
        showSearchResults();
        break;
    case 13:
        StepTree(TreeQuery(), true);
        break;
    case 14:
        StepTree(TreeQuery(), false);
        break;
    case 15:
        changeFontSize(+1);
        break;
    case 16:
        changeFontSize(-1);
        break;
    case 17:
        showSetup();
        break;
    case 19:
        NewWindow();
        break;
    case 20:
    case 21:
    case 22:
        arrange(tag);
        break;
    case 24:
        StepTree(TreeBook(), false);
        break;
    case 25:
        StepTree(TreeBook(), true);
        break;
    case 26:
        stepBack(true);
        break;
    case 27:
        stepBack(false);
        break;
    case 28:
        StepTree(activeTree_, false);
        break;
    case 29:
        StepTree(activeTree_, true);
        break;
    case 30:
        Synchronize();
        update = false;
        break;
    case 31:
    case 32:
    case 33:
        placeTreePane(tag);
        break;
    case 34:
        clearSearchResults();
        break;
    case 50:
        openSelected(false);
        break;
    case 51:
        openSelected(true);
        break;
    case 55:
        showAbout();
        break;
    case 57:
        showRenewDates();
        break;
    case 58:
        showDocumentCount();
        break;
    case 59:
        showContacts();
        break;
    case 200:
        SaveDocument();
        break;
    case 324:
        changeFont();
        break;
    case 325:
    case 326:
    case 327:
    case 328:
        alignSelection(tag - 325);
        break;
    case 400:
        showFolderInfo();
        break;
    default:
        if (isNotReady(tag))
            notReady();
        else
            prompts_.ShowMessage("errCmd", MessageIcon::Warning);
    }
    if (update) UpdateCommands();
}

void TFrmMain::NNewDocClick(int tag) {
    if (tag == 421)
        deleteQueryNode();
    else
        notReady();
    UpdateCommands();
}

void TFrmMain::closeWindow() {
    if (QMdiSubWindow* sub = mdiArea_->currentSubWindow()) sub->close();
}

void TFrmMain::closeAllWindows() {
    const QList<QMdiSubWindow*> subs = mdiArea_->subWindowList(QMdiArea::CreationOrder);
    for (auto it = subs.rbegin(); it != subs.rend(); ++it)
        (*it)->close();
}

void TFrmMain::saveAs() {
    TFrmView* view = ActiveView();
    if (!view) return;
    const QString pdf = QStringLiteral("PDF (*.pdf)");
    QString filter;
    QString path =
        QFileDialog::getSaveFileName(this, QString(), view->windowTitle() + QStringLiteral(".rtf"),
                                     QStringLiteral("RTF (*.rtf);;") + pdf, &filter);
    if (path.isEmpty()) return;
    if (filter == pdf || path.endsWith(QStringLiteral(".pdf"), Qt::CaseInsensitive)) {
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(path);
        printInto(printer, *view);
        return;
    }
    TMemoryStream stream;
    view->DocViewer().SaveToStream(stream, true, false, false);
    WriteFileAtomic(path.toStdString(), stream.Memory(), stream.Bytes().size());
}

void TFrmMain::printInto(QPrinter& printer, TFrmView& view) {
    QPrinter* previous = SwapCurrentPrinter(&printer);
    struct Restore {
        QPrinter* p;
        ~Restore() { SwapCurrentPrinter(p); }
    } restore{previous};
    if (printer.printRange() == QPrinter::Selection) {
        view.DocViewer().PrintSelection();
        return;
    }
    const bool range = printer.printRange() == QPrinter::PageRange && printer.fromPage() > 0;
    view.DocViewer().Print(range ? printer.fromPage() : 1, range ? printer.toPage() : 9999);
}

void TFrmMain::showPrinterSetup() {
    QPageSetupDialog dialog(&CurrentPrinter(), this);
    dialog.exec();
}

// A print preview whose print button asks for the printer and the pages.
void TFrmMain::printDocument() {
    TFrmView* view = ActiveView();
    if (!view) return;
    QPrinter& printer = CurrentPrinter();
    printer.setPrintRange(QPrinter::AllPages);
    QPrintPreviewDialog preview(&printer, this);
    connect(&preview, &QPrintPreviewDialog::paintRequested, this,
            [this, view](QPrinter* target) { printInto(*target, *view); });
    preview.exec();
}

void TFrmMain::selectAll() {
    if (TFrmView* view = ActiveView()) view->DocViewer().SelectAll();
}

void TFrmMain::deselect() {
    if (TFrmView* view = ActiveView()) view->DocViewer().SetSelLength(0);
}

void TFrmMain::CopyToClipboard() {
    TFrmView* view = ActiveView();
    if (!view || view->DocViewer().GetSelLength() == 0) return;
    auto* data = new QMimeData;
    data->setText(FromCp1251(view->DocViewer().GetSelText()));
    TMemoryStream rtf;
    view->DocViewer().SaveToStream(rtf, false, true, true);
    data->setData(
        QStringLiteral("text/rtf"),
        QByteArray(reinterpret_cast<const char*>(rtf.Memory()), static_cast<int>(rtf.Size())));
    QGuiApplication::clipboard()->setMimeData(data);
}

bool TFrmMain::CopyEnabled() {
    return Action(QStringLiteral("NCopy"))->isEnabled();
}

bool TFrmMain::PasteEnabled() {
    return Action(QStringLiteral("NPaste"))->isEnabled();
}

// The local search's dialog: the text and the match-case option.
bool TFrmMain::askFindText() {
    QDialog dialog(this);
    dialog.setObjectName(QStringLiteral("FindDialog"));
    dialog.setWindowTitle(Action(QStringLiteral("NFind"))->text().remove(QLatin1Char('&')));
    auto* edit = new QLineEdit(lastFind_, &dialog);
    auto* matchCase = new QCheckBox(QStringLiteral("С учетом регистра"), &dialog);
    matchCase->setObjectName(QStringLiteral("CheckMatchCase"));
    matchCase->setChecked(lastFindMatchCase_);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    auto* layout = new QFormLayout(&dialog);
    layout->addRow(edit);
    layout->addRow(matchCase);
    layout->addRow(buttons);
    if (prompts_.Exec(dialog) != QDialog::Accepted || edit->text().isEmpty()) return false;
    lastFind_ = edit->text();
    lastFindMatchCase_ = matchCase->isChecked();
    return true;
}

void TFrmMain::findLocal(bool again) {
    TFrmView* view = ActiveView();
    if (!view) return;
    if ((!again || lastFind_.isEmpty()) && !askFindText()) return;
    if (!view->DocViewer().FindText(ToCp1251(lastFind_), lastFindMatchCase_))
        // The language file is untrusted: its text is never a format string.
        prompts_.Inform(LoadStr("noLocFind").replace(QStringLiteral("%s"), lastFind_));
}

void TFrmMain::showSearchResults() {
    const QSignalBlocker blocker(pageControl_);
    pageControl_->setCurrentIndex(2);
}

void TFrmMain::changeFontSize(int delta) {
    if (TFrmView* view = ActiveView()) view->ApplyFontSize(view->FontSize() + delta);
}

void TFrmMain::showSetup() {
    TFrmSetup dialog(this);
    if (prompts_.Exec(dialog) == QDialog::Accepted) dialog.Apply();
}

void TFrmMain::arrange(int tag) {
    if (tag == 20) mdiArea_->tileSubWindows();
    if (tag == 21) mdiArea_->cascadeSubWindows();
    // Minimized windows are laid out by the MDI area itself (tag 22).
}

void TFrmMain::stepBack(bool back) {
    TFrmView* view = ActiveView();
    if (view) view->HistoryGoTo(view->HistoryIndex() + (back ? 1 : -1));
}

void TFrmMain::placeTreePane(int tag) {
    pageControl_->setVisible(tag != 33);
    if (tag == 31) splitter_->setOrientation(Qt::Horizontal);
    if (tag == 32) splitter_->setOrientation(Qt::Vertical);
    const char* button = tag == 31 ? "SpeedButton9" : tag == 32 ? "SpeedButton10" : "SpeedButton11";
    Action(QLatin1String(button))->setChecked(true);
}

void TFrmMain::clearSearchResults() {
    TTreeNode* root = catalogue_->TreeQuery.GetFirstNode();
    while (root && root->HasChildren())
        catalogue_->TreeQuery.Delete(root->GetLastChild());
}

void TFrmMain::openSelected(bool newWindow) {
    TTreeNode* node = activeTree_->Selected();
    if (!node) return;
    if (newWindow) NewWindow();
    OpenNode(node);
}

void TFrmMain::showAbout() {
    TFormLogo about(TFormLogo::Role::About, this);
    prompts_.Exec(about);
}

void TFrmMain::showRenewDates() {
    TFrmDateRenew dialog(*catalogue_, this);
    prompts_.Exec(dialog);
}

void TFrmMain::showDocumentCount() {
    TFrmCount dialog(*catalogue_, this);
    prompts_.Exec(dialog);
}

void TFrmMain::showContacts() {
    TFrmContacts dialog(this);
    if (dialog.Load()) prompts_.Exec(dialog);
}

void TFrmMain::changeFont() {
    TFrmView* view = ActiveView();
    if (!view || view->DocViewer().GetSelLength() == 0) return;
    QFont font;
    view->DocViewer().GetSelFont(font);
    bool ok = false;
    font = QFontDialog::getFont(&ok, font, this);
    if (!ok) return;
    view->DocViewer().ApplyFont(font);
    view->SetModified(true);
}

void TFrmMain::alignSelection(int alignment) {
    TFrmView* view = ActiveView();
    if (!view || view->DocViewer().GetSelLength() == 0) return;
    view->DocViewer().SetAlignment(alignment);
    view->SetModified(true);
}

void TFrmMain::showFolderInfo() {
    TTreeNode* node = activeTree_->Selected();
    if (!node || !IsFolder(node)) return;
    if (activeTree_ == TreeBase() && node->Level() < 2) return;
    TFormInfo::Shared(this).Run(*catalogue_, node, *this);
}

void TFrmMain::loadArchive(TTreeNode* node) {
    if (TKveloBase* owner = node ? catalogue_->Bases().FindOwner(node, -1) : nullptr)
        owner->LoadArchive(node);
}

void TFrmMain::showOtherWindows() {
    TFrmWinNames dialog(windows_.Titles(), this);
    if (prompts_.Exec(dialog) != QDialog::Accepted) return;
    const int index = dialog.ChosenIndex();
    if (index >= 0 && index < windows_.Count() && index != windows_.ActiveIndex())
        for (QMdiSubWindow* sub : mdiArea_->subWindowList())
            if (sub->widget() == windows_.Window(index)) mdiArea_->setActiveSubWindow(sub);
}

void TFrmMain::SaveDocument() {
    TFrmView* view = ActiveView();
    if (!view || view->Tag() == 0 || !catalogue_->Bases().SelectDoc(view->Tag())) return;
    TMemoryStream stream;
    view->DocViewer().SaveToStream(stream, true, false, false);
    stream.SetPosition(0);
    catalogue_->Bases().SetDocStream(stream);
    view->SetModified(false);
    UpdateCommands();
    Settings& s = AppSettings();
    if (s.LinksAdded > 0 && s.LinkStatsFile) {
        const std::string key = view->Title().substr(0, 100);
        const int stored = s.LinkStatsFile->ReadInteger(s.TodayText, key, 0);
        try {
            s.LinkStatsFile->WriteInteger(s.TodayText, key, stored + s.LinksAdded);
        } catch (const EStreamError&) {
            // The statistics are a convenience; a read-only file only loses them.
        }
        s.LinksAdded = 0;
    }
}

} // namespace kvelo
