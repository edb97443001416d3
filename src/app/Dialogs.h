// The small windows of the shell: settings, window list, the information
// dialogs (document counts, issue dates, folder statistics, contacts) and
// the splash/about window.
#pragma once

#include "gui/NForm.h"

#include <QDialog>
#include <string>
#include <vector>

class QComboBox;
class QLabel;
class QListWidget;
class QProgressBar;
class QSpinBox;
class QTableWidget;

namespace kvelo {

class Catalogue;
class TFrmMain;
class TRtfViewer;
class TTreeNode;

// "Настройки программы": interface language and default font size.
class TFrmSetup : public QDialog, public TNForm {
    Q_OBJECT
public:
    explicit TFrmSetup(QWidget* parent = nullptr);
    // Fills the controls from the language and settings files.
    void Fill();
    // Writes the choices and re-opens the files (every form re-localizes).
    void Apply();
    QComboBox* ComboLang() const { return comboLang_; }
    QSpinBox* EditFontSize() const { return editFontSize_; }

private:
    QComboBox* comboLang_;
    QSpinBox* editFontSize_;
};

// "Переход в окно": chooses one of the document windows.
class TFrmWinNames : public QDialog, public TNForm {
    Q_OBJECT
public:
    TFrmWinNames(const std::vector<std::string>& titles, QWidget* parent = nullptr);
    // The chosen row, -1 when none.
    int ChosenIndex() const;
    QListWidget* ListBox() const { return list_; }

private:
    QListWidget* list_;
};

// "Количество документов".
class TFrmCount : public QDialog, public TNForm {
    Q_OBJECT
public:
    TFrmCount(Catalogue& catalogue, QWidget* parent = nullptr);
    QTableWidget* Grid() const { return grid_; }

private:
    QTableWidget* grid_;
};

// "Дата обновления".
class TFrmDateRenew : public QDialog, public TNForm {
    Q_OBJECT
public:
    TFrmDateRenew(Catalogue& catalogue, QWidget* parent = nullptr);
    QTableWidget* Grid() const { return grid_; }

private:
    QTableWidget* grid_;
};

// "Информация": the folder statistics, kept for the whole run.
class TFormInfo : public QDialog, public TNForm {
    Q_OBJECT
public:
    explicit TFormInfo(QWidget* parent = nullptr);
    static TFormInfo& Shared(QWidget* parent);
    // Reads the whole subtree of `folder`, counting its folders and documents.
    void Run(Catalogue& catalogue, TTreeNode* folder, TFrmMain& main);
    int Folders() const { return folders_; }
    int Documents() const { return documents_; }
    QProgressBar* Progress() const { return progress_; }

private:
    void showCounts();
    QLabel* labelBase_;
    QLabel* labelFolder_;
    QLabel* labelDoc_;
    QProgressBar* progress_;
    int folders_ = 0;
    int documents_ = 0;
};

// "Контактные телефоны": shows "Contacts.rtf" of the program folder.
class TFrmContacts : public QDialog {
    Q_OBJECT
public:
    explicit TFrmContacts(QWidget* parent = nullptr);
    // False when the file cannot be read (the window is then not shown).
    bool Load();
    TRtfViewer* Viewer1() const { return viewer1_; }

private:
    TRtfViewer* viewer1_;
};

// The splash window at start and the about box.
class TFormLogo : public QDialog {
    Q_OBJECT
public:
    enum class Role { Splash, About };
    static constexpr int WidthPx = 489;
    static constexpr int HeightPx = 317;

    TFormLogo(Role role, QWidget* parent = nullptr);
    // Shows a rotating picture instead of the built-in one; false when it cannot be loaded.
    bool ShowPicture(const std::string& path);
    TRtfViewer* View() const { return view_; }

private:
    QLabel* image1_;
    QLabel* labelVersion_;
    QLabel* labelMaker_;
    TRtfViewer* view_;
};

// The built-in splash picture.
QPixmap BuiltInSplashPicture();

} // namespace kvelo
