// The image list of the trees: one icon per node-kind image index, plus icons
// appended at run time (the own icons of supplementary bases). A node's icon
// combines its image (normal), its selected image (selected) and its overlay.
#pragma once

#include <QIcon>
#include <QPixmap>
#include <map>
#include <tuple>
#include <vector>

namespace kvelo {

class NodeIcons {
public:
    static constexpr int IconSizePx = 16;

    NodeIcons();

    // Number of images; valid indexes are 0 .. Count() - 1.
    int Count() const { return static_cast<int>(images_.size()); }
    // The picture of one image index; a null pixmap when there is none.
    QPixmap Image(int index) const;
    // Appends a picture (scaled to the icon size); returns its index, or -1
    // for a null picture.
    int Append(const QPixmap& picture);

    // The icon of a node: `image` when shown normally, `selected` when the
    // node is selected, `overlay` drawn in a corner of both (-1: none).
    QIcon NodeIcon(int image, int selected, int overlay) const;

private:
    QPixmap withOverlay(int image, int overlay) const;

    std::vector<QPixmap> images_;
    mutable std::map<std::tuple<int, int, int>, QIcon> cache_;
};

} // namespace kvelo
