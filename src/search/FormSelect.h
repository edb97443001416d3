// TFormSelect: picks document types or issuing organs for the search
// dialog: a sorted list of every name, and the chosen names in the order
// they were added (the same name may be added twice).
#pragma once

#include "bases/IdList.h"
#include "gui/NForm.h"

#include <QDialog>
#include <string>
#include <vector>

class QListWidget;

namespace kvelo {

class TFormSelect : public QDialog, public TNForm {
    Q_OBJECT
public:
    explicit TFormSelect(QWidget* parent = nullptr);

    // Empties both lists, sets the caption and offers every (name, code).
    void Fill(const QString& caption, const TCodeNameList& names);
    // "Добавить": appends the highlighted item of ListBox1, if any, to ListBox2.
    void AddHighlighted();
    // "Удалить": removes the highlighted item of ListBox2, if any.
    void RemoveHighlighted();
    // The chosen items in their order.
    std::vector<TCodeNameList::Item> Chosen() const;

    // OK adds the highlighted item of ListBox1 first.
    void accept() override;

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QListWidget* listBox1_;
    QListWidget* listBox2_;
};

// Names as comma text: separated by commas, a name holding a blank, a comma
// or a double quote enclosed in double quotes (inner quotes doubled).
QString CommaText(const std::vector<TCodeNameList::Item>& items);

} // namespace kvelo
