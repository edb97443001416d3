// Applies the language file to a form: its caption and the captions and
// hints of its components, found by component name. The GUI supplies the
// form and its components through the small interfaces below.
#pragma once

#include <string>
#include <string_view>

namespace kvelo {

// One named component of a form (a label, button, menu item, tab ...).
class ILocalizableComponent {
public:
    virtual ~ILocalizableComponent() = default;
    // Menu items take "Caption" as their caption; other components as their
    // caption or text — the implementation knows which it is.
    virtual std::string Caption() const = 0;
    virtual void SetCaption(const std::string& text) = 0;
    virtual std::string Hint() const = 0;
    virtual void SetHint(const std::string& text) = 0;
};

class ILocalizableForm {
public:
    virtual ~ILocalizableForm() = default;
    virtual std::string FormName() const = 0; // "FrmMain", "FormFind", ...
    virtual std::string Caption() const = 0;
    virtual void SetCaption(const std::string& text) = 0;
    // The component of that name (compared without regard to case), or null.
    virtual ILocalizableComponent* FindComponent(std::string_view name) = 0;
};

// Localizes the form from the open language file (opening the settings
// first when needed). All texts are code page 1251.
void Localize(ILocalizableForm& form);

} // namespace kvelo
