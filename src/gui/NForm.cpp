#include "NForm.h"

#include "QtText.h"
#include "settings/Settings.h"

#include <QAbstractButton>
#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QTabWidget>
#include <QWidget>

namespace kvelo {
namespace {

// The tab widget whose page `widget` is, or null.
QTabWidget* tabOwning(QWidget* widget) {
    QWidget* stack = widget->parentWidget();
    auto* tabs = stack ? qobject_cast<QTabWidget*>(stack->parentWidget()) : nullptr;
    return tabs && tabs->indexOf(widget) >= 0 ? tabs : nullptr;
}

// A hint "short|long" gives the tool tip before the bar and the status bar text after it.
void setHintOf(QObject* object, const QString& hint) {
    const qsizetype bar = hint.indexOf(QLatin1Char('|'));
    const QString tip = bar < 0 ? hint : hint.left(bar);
    const QString status = bar < 0 ? hint : hint.mid(bar + 1);
    if (auto* action = qobject_cast<QAction*>(object)) {
        action->setToolTip(tip);
        action->setStatusTip(status);
    } else if (auto* widget = qobject_cast<QWidget*>(object)) {
        if (QTabWidget* tabs = tabOwning(widget)) tabs->setTabToolTip(tabs->indexOf(widget), tip);
        widget->setToolTip(tip);
        widget->setStatusTip(status);
    }
}

QString hintOf(QObject* object) {
    if (auto* action = qobject_cast<QAction*>(object)) return action->statusTip();
    if (auto* widget = qobject_cast<QWidget*>(object)) return widget->statusTip();
    return {};
}

QString captionOf(QObject* object) {
    if (auto* a = qobject_cast<QAction*>(object)) return a->text();
    if (auto* m = qobject_cast<QMenu*>(object)) return m->title();
    if (auto* b = qobject_cast<QAbstractButton*>(object)) return b->text();
    if (auto* l = qobject_cast<QLabel*>(object)) return l->text();
    if (auto* e = qobject_cast<QLineEdit*>(object)) return e->text();
    if (auto* g = qobject_cast<QGroupBox*>(object)) return g->title();
    auto* w = qobject_cast<QWidget*>(object);
    if (QTabWidget* tabs = w ? tabOwning(w) : nullptr) return tabs->tabText(tabs->indexOf(w));
    return w ? w->windowTitle() : QString();
}

void setCaptionOf(QObject* object, const QString& text) {
    if (auto* a = qobject_cast<QAction*>(object)) return a->setText(text);
    if (auto* m = qobject_cast<QMenu*>(object)) return m->setTitle(text);
    if (auto* b = qobject_cast<QAbstractButton*>(object)) return b->setText(text);
    if (auto* l = qobject_cast<QLabel*>(object)) return l->setText(text);
    if (auto* e = qobject_cast<QLineEdit*>(object)) return e->setText(text);
    if (auto* g = qobject_cast<QGroupBox*>(object)) return g->setTitle(text);
    auto* w = qobject_cast<QWidget*>(object);
    if (QTabWidget* tabs = w ? tabOwning(w) : nullptr)
        return tabs->setTabText(tabs->indexOf(w), text);
    if (w) w->setWindowTitle(text);
}

class QtComponent : public ILocalizableComponent {
public:
    explicit QtComponent(QObject* object) : object_(object) {}
    std::string Caption() const override { return ToCp1251(captionOf(object_)); }
    void SetCaption(const std::string& text) override { setCaptionOf(object_, FromCp1251(text)); }
    std::string Hint() const override { return ToCp1251(hintOf(object_)); }
    void SetHint(const std::string& text) override { setHintOf(object_, FromCp1251(text)); }

private:
    QObject* object_;
};

} // namespace

std::unique_ptr<ILocalizableComponent> MakeLocalizableComponent(QObject* object) {
    return std::make_unique<QtComponent>(object);
}

// The form as the core's localization sees it. Components are looked up
// among all descendants of the form (widgets, menus, actions).
class TNForm::Adapter : public ILocalizableForm {
public:
    explicit Adapter(QWidget* form) : form_(form) {}
    std::string FormName() const override { return ToCp1251(form_->objectName()); }
    std::string Caption() const override { return ToCp1251(form_->windowTitle()); }
    void SetCaption(const std::string& text) override { form_->setWindowTitle(FromCp1251(text)); }
    ILocalizableComponent* FindComponent(std::string_view name) override {
        const QString wanted = FromCp1251(name);
        for (QObject* child : form_->findChildren<QObject*>()) {
            if (child->objectName().compare(wanted, Qt::CaseInsensitive) != 0) continue;
            components_.push_back(MakeLocalizableComponent(child));
            return components_.back().get();
        }
        return nullptr;
    }

private:
    QWidget* form_;
    std::vector<std::unique_ptr<ILocalizableComponent>> components_;
};

TNForm::TNForm(QWidget* form) : form_(form) {
    languageHook_ = OnLanguageChanged([this] { Localize(); });
}

TNForm::~TNForm() {
    RemoveLanguageHook(languageHook_);
}

void TNForm::Localize() {
    if (!form_) return;
    Adapter adapter(form_);
    kvelo::Localize(adapter);
    AfterLocalize();
}

} // namespace kvelo
