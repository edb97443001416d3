// Node kinds of every tree, told by the node's image index alone, and the
// image indexes the bases give their nodes.
#pragma once

namespace kvelo {

class TTreeNode;

namespace image {
inline constexpr int Base = 0;   // base node, group of bases, user folder marked as a base
inline constexpr int Folder = 1; // closed folder; 2 when selected (open)
inline constexpr int FolderOpen = 2;
inline constexpr int BookmarkRoot = 3;
inline constexpr int Document = 4;
inline constexpr int CatalogueRoot = 6; // also the root of the term tree
inline constexpr int SearchRoot = 8;
inline constexpr int EmptyUserRoot = 9;
inline constexpr int Archive = 11;
inline constexpr int HiddenFolder = 12; // 13 when selected
inline constexpr int HiddenFolderOpen = 13;
inline constexpr int HiddenDocument = 14;
inline constexpr int Newspaper = 15; // its overlay index is the edition
inline constexpr int Shortcut = 16;
inline constexpr int HiddenShortcut = 17;
inline constexpr int Excluded = 18;      // document no longer in force
inline constexpr int Supplementary = 19; // ".buk" base node; overlay of such a base's own icon
inline constexpr int GreyFolder = 22;    // 23 when selected
inline constexpr int GreyFolderOpen = 23;
inline constexpr int Shortcut2 = 24;
} // namespace image

bool IsDocumentImage(int imageIndex);

bool IsDocument(const TTreeNode* node);
// Every image that is not a document image, including indexes above 31 and negative ones.
bool IsFolder(const TTreeNode* node);
bool IsBase(const TTreeNode* node);
bool IsHide(const TTreeNode* node);
bool IsShorcut(const TTreeNode* node);

} // namespace kvelo
