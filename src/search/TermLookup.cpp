#include "search/TermLookup.h"

#include "bases/NodeKinds.h"
#include "platform/Cp1251.h"
#include "platform/TreeNodes.h"

namespace kvelo {
namespace {

bool TextBeginsWith(const TTreeNode* node, const std::string& upper) {
    const std::string text = AnsiUpperCase(node->Text());
    return text.size() >= upper.size() && text.compare(0, upper.size(), upper) == 0;
}

// One character: the letter folder of the main dictionary.
bool SelectLetterFolder(ITermTree& tree, const std::string& letter) {
    TTreeNode* root = tree.Root();
    TTreeNode* dictionary = root ? root->GetFirstChild() : nullptr;
    if (!dictionary) return false;
    for (int i = 0; i < dictionary->Count(); ++i) {
        TTreeNode* folder = dictionary->Item(i);
        if (AnsiUpperCase(folder->Text()) != letter) continue;
        tree.ExpandAndShow(folder);
        tree.Select(folder);
        return true;
    }
    return false;
}

// More characters: the first child, beside the selection, whose text begins with them.
bool SelectEntry(ITermTree& tree, const std::string& upper) {
    TTreeNode* selected = tree.Selected();
    if (!selected) return false;
    TTreeNode* level = IsFolder(selected) ? selected : selected->Parent();
    for (int i = 0; level && i < level->Count(); ++i) {
        if (!TextBeginsWith(level->Item(i), upper)) continue;
        tree.Select(level->Item(i));
        return true;
    }
    return false;
}

} // namespace

void TermLookup(ITermTree& tree, const std::string& text) {
    const std::string upper = AnsiUpperCase(text);
    if (upper.size() == 1 && SelectLetterFolder(tree, upper)) return;
    if (upper.size() > 1 && SelectEntry(tree, upper)) return;
    try {
        TTreeNode* selected = tree.Selected();
        if (upper.empty() && selected && selected->Level() > 1 && IsFolder(selected))
            tree.Collapse(selected);
    } catch (const std::exception&) {
    }
}

} // namespace kvelo
