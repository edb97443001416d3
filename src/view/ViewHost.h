// What a document window asks of the main window: command states, the
// window list, the shared save/copy/paste commands and questions to the user.
#pragma once

#include <string>

namespace kvelo {

class TFrmView;

class IViewHost {
public:
    virtual ~IViewHost() = default;
    virtual void UpdateCommands() = 0;
    // The main window's save command for the active window.
    virtual void SaveDocument() = 0;
    virtual void CopyToClipboard() = 0;
    virtual void PasteFromClipboard() = 0;
    virtual bool CopyEnabled() = 0;
    virtual bool PasteEnabled() = 0;
    // Navigates the active document window (a link was followed).
    virtual void NavigateActive(const std::string& address) = 0;
    // Creates a document window that joins the window list; null when none can be made.
    virtual TFrmView* OpenNewWindow() = 0;
    virtual void SetExcelEnabled(bool enabled) = 0;
    // Window list upkeep.
    virtual void WindowActivated(TFrmView& view) = 0;
    virtual void WindowChanged(TFrmView& view) = 0;
    virtual void WindowClosed(TFrmView& view) = 0;
    // "changeDoc" + line break + "saveChange"; true for Yes.
    virtual bool AskSaveChanges() = 0;
};

} // namespace kvelo
