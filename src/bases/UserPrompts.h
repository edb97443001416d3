// What the editing operations of the bases ask the user: the folder dialog
// and message boxes by language-file key. The GUI answers with dialogs, the
// tests with scripted replies.
#pragma once

#include <string>
#include <string_view>

namespace kvelo {

// The controls of the folder dialog, filled in before it is shown and read
// back after OK.
struct FolderDialogState {
    std::string name;       // EditFolder, code page 1251
    bool base = false;      // CheckBase
    bool newspaper = false; // CheckGazeta
    int edition = 0;        // ComboEditions item index (the newspaper folder's overlay)
    bool hidden = false;    // CheckHide
    bool grey = false;      // CheckGrey
    int stateIndex = -1;    // the node's state image
    bool sorted = false;    // CheckSort
};

enum class MessageIcon { Information, Warning, Error };

class IUserPrompts {
public:
    virtual ~IUserPrompts() = default;
    // Shows the folder dialog; true when the user pressed OK (`state` then holds the answers).
    virtual bool EditFolderDialog(FolderDialogState& state) = 0;
    // A message box with an OK button showing the localized text of `key`.
    virtual void ShowMessage(std::string_view key, MessageIcon icon) = 0;
};

} // namespace kvelo
