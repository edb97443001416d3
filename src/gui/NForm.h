// TNForm: the localization of a real form. The form's object name is its
// section in the language file; its components are the child widgets, menus
// and actions found by object name. A TNForm localizes its form when asked
// and again after every change of language (CreateLangFiles).
#pragma once

#include "settings/Localization.h"

#include <QPointer>
#include <memory>
#include <vector>

class QObject;
class QWidget;

namespace kvelo {

class TNForm {
public:
    // `form` is not owned; its objectName() names the section ("FrmMain", ...).
    explicit TNForm(QWidget* form);
    virtual ~TNForm();
    TNForm(const TNForm&) = delete;
    TNForm& operator=(const TNForm&) = delete;

    // Applies the open language file to the form now.
    void Localize();

protected:
    // Called after every Localize (for texts a form composes itself).
    virtual void AfterLocalize() {}

private:
    class Adapter;
    QPointer<QWidget> form_;
    int languageHook_ = 0;
};

// The localizable component behind a Qt object: its caption (text, title,
// tab text) and its hint (tool tip and status tip).
std::unique_ptr<ILocalizableComponent> MakeLocalizableComponent(QObject* object);

} // namespace kvelo
