#include "ShellPrompts.h"

#include "gui/QtText.h"

#include <QApplication>
#include <QDialog>
#include <QMessageBox>

namespace kvelo {
namespace {

QWidget* dialogParent() {
    return QApplication::activeWindow();
}

class MessageBoxPrompts : public IShellPrompts {
public:
    bool EditFolderDialog(FolderDialogState&) override { return false; }
    void ShowMessage(std::string_view key, MessageIcon icon) override {
        const QString text = LoadStr(key);
        const QString title = QApplication::applicationDisplayName();
        if (icon == MessageIcon::Information)
            QMessageBox::information(dialogParent(), title, text);
        else if (icon == MessageIcon::Warning)
            QMessageBox::warning(dialogParent(), title, text);
        else
            QMessageBox::critical(dialogParent(), title, text);
    }
    bool Confirm(const QString& text) override {
        return QMessageBox::question(dialogParent(), QApplication::applicationDisplayName(), text,
                                     QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
    }
    void Inform(const QString& text) override {
        QMessageBox::information(dialogParent(), QApplication::applicationDisplayName(), text);
    }
    int Exec(QDialog& dialog) override { return dialog.exec(); }
};

} // namespace

IShellPrompts& DialogPrompts() {
    static MessageBoxPrompts prompts;
    return prompts;
}

} // namespace kvelo
