// TFindBase: the root of the search-result tree ("TreeQuery"). The global
// search adds its result folders under that root; each result node's
// TDocInfo names a document by its identifier.
#pragma once

#include "bases/KveloBase.h"

namespace kvelo {

class TTreeNodes;

class TFindBase : public TKveloBase {
public:
    // Adds the root as a new top-level node of `tree`: text kvLoadStr("resFind"), image 8/8.
    explicit TFindBase(TTreeNodes& tree);
    // Adopts the node it is given.
    TTreeNode* CreateRoot(TTreeNode* parent) override;
};

} // namespace kvelo
