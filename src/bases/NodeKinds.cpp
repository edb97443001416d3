#include "bases/NodeKinds.h"

#include "platform/TreeNodes.h"

namespace kvelo {

bool IsDocumentImage(int imageIndex) {
    switch (imageIndex) {
    case 4:
    case 7:
    case 14:
    case 16:
    case 17:
    case 18:
    case 20:
    case 21:
    case 24:
        return true;
    default:
        return false;
    }
}

bool IsDocument(const TTreeNode* node) {
    return IsDocumentImage(node->ImageIndex());
}

bool IsFolder(const TTreeNode* node) {
    return !IsDocument(node);
}

bool IsBase(const TTreeNode* node) {
    const int i = node->ImageIndex();
    return i == image::Base || i == image::Newspaper;
}

bool IsHide(const TTreeNode* node) {
    const int i = node->ImageIndex();
    return i == image::HiddenFolder || i == image::HiddenDocument || i == image::HiddenShortcut;
}

bool IsShorcut(const TTreeNode* node) {
    const int i = node->ImageIndex();
    return i == image::Shortcut || i == image::HiddenShortcut || i == image::Shortcut2;
}

} // namespace kvelo
