// The questions and messages of the shell: message boxes by language-file
// key and yes/no confirmations, and how modal dialogs are run. The program
// answers with real dialogs; tests script the answers.
#pragma once

#include "bases/UserPrompts.h"

#include <QString>
#include <functional>

class QDialog;

namespace kvelo {

class IShellPrompts : public IUserPrompts {
public:
    // A confirmation with Yes and No; true for Yes.
    virtual bool Confirm(const QString& text) = 0;
    // Shows a text that is no language-file key (already localized).
    virtual void Inform(const QString& text) = 0;
    // Runs a modal dialog; its result code (QDialog::Accepted ...).
    virtual int Exec(QDialog& dialog) = 0;
};

// Message boxes and QDialog::exec.
IShellPrompts& DialogPrompts();

} // namespace kvelo
