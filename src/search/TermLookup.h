// The incremental lookup of the term dictionary tab: each change of the
// search field selects a letter folder of the main dictionary (one
// character) or an entry beside the selected node (more characters).
// Plain tree code; the tab supplies the selection and the program-made
// expansions through ITermTree.
#pragma once

#include <string>

namespace kvelo {

class TTreeNode;

class ITermTree {
public:
    virtual ~ITermTree() = default;
    virtual TTreeNode* Root() = 0; // the "Kvelo" root; null when the dictionary is absent
    virtual TTreeNode* Selected() = 0;
    virtual void Select(TTreeNode* node) = 0;
    // Program-made expansion (also reading a lazily loaded folder) and
    // making the node visible; program-made collapse.
    virtual void ExpandAndShow(TTreeNode* node) = 0;
    virtual void Collapse(TTreeNode* node) = 0;
};

// Runs the lookup for the field's text (code page 1251, as typed).
void TermLookup(ITermTree& tree, const std::string& text);

} // namespace kvelo
