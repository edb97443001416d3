// What the search dialogs ask the user: information boxes by language-file
// key, yes/no confirmations and modal runs of dialogs. The main window
// answers with real dialogs, the tests with scripted replies.
#pragma once

#include <QString>
#include <string_view>

class QDialog;

namespace kvelo {

class ISearchPrompts {
public:
    virtual ~ISearchPrompts() = default;
    // An information box with an OK button showing the localized text of `key`.
    virtual void Inform(std::string_view key) = 0;
    // A confirmation with Yes and No; true for Yes.
    virtual bool Confirm(const QString& text) = 0;
    // Runs a modal dialog; its result code.
    virtual int Exec(QDialog& dialog) = 0;
};

} // namespace kvelo
