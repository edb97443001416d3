// The note window shared by all document windows: a stay-on-top window with
// one read-only memo that shows a document's note or a warning.
#pragma once

#include "gui/NForm.h"

#include <QWidget>

class QPlainTextEdit;

namespace kvelo {

class TFrmComment : public QWidget, public TNForm {
    Q_OBJECT
public:
    enum class Kind { Note, Warning };

    explicit TFrmComment(QWidget* parent = nullptr);
    // Shows `text` (code page 1251); the height grows with the text's length.
    void ShowText(const std::string& text, Kind kind);
    QPlainTextEdit* Memo() const { return memo_; }

    // The one note window, created hidden on first use; null until then.
    static TFrmComment* Existing();
    static TFrmComment& Shared();

private:
    QPlainTextEdit* memo_;
};

} // namespace kvelo
