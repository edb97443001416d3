#include "NodeIcons.h"

#include <QPainter>
#include <QString>
#include <QSvgRenderer>

namespace kvelo {
namespace {

// The picture of each image index of the node kinds; empty names are unused indexes.
const char* const kImageFiles[] = {
    "base",               // 0 base node, group of bases
    "folder",             // 1 folder
    "folder-open",        // 2 folder, selected
    "bookmark-root",      // 3 root of the bookmark tree
    "document",           // 4 document
    "",                   // 5
    "root",               // 6 root of the catalogue and of the term tree
    "document-alt",       // 7 further document image of base files
    "search-root",        // 8 root of the search results
    "user-root",          // 9 root of an empty user base
    "",                   // 10
    "archive",            // 11 archive folder
    "folder-hidden",      // 12 hidden folder
    "folder-hidden-open", // 13 hidden folder, selected
    "document-hidden",    // 14 hidden document
    "newspaper",          // 15 newspaper folder
    "shortcut",           // 16 shortcut
    "shortcut-hidden",    // 17 hidden shortcut
    "document-excluded",  // 18 document no longer in force
    "supplementary",      // 19 supplementary base
    "document-green",     // 20 further document image
    "document-alt",       // 21 further document image
    "folder-grey",        // 22 grey folder
    "folder-grey-open",   // 23 grey folder, selected
    "shortcut",           // 24 shortcut
};
constexpr int kSupplementaryImage = 19;

QPixmap renderSvg(const QString& resource) {
    QSvgRenderer renderer(resource);
    QPixmap pixmap(NodeIcons::IconSizePx, NodeIcons::IconSizePx);
    pixmap.fill(Qt::transparent);
    if (!renderer.isValid()) return QPixmap();
    QPainter painter(&pixmap);
    renderer.render(&painter);
    return pixmap;
}

QPixmap loadImage(const char* name) {
    if (!*name) return QPixmap();
    return renderSvg(QStringLiteral(":/icons/%1.svg").arg(QLatin1String(name)));
}

// A small number in a corner: the edition of a newspaper folder.
void paintNumberBadge(QPainter& painter, int number) {
    const QRect badge(8, 8, 8, 8);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0x1f, 0x4f, 0x8f));
    painter.drawRect(badge);
    QFont font = painter.font();
    font.setPixelSize(8);
    font.setBold(true);
    painter.setFont(font);
    painter.setPen(Qt::white);
    painter.drawText(badge, Qt::AlignCenter, QString::number(number % 10));
}

} // namespace

NodeIcons::NodeIcons() {
    for (const char* name : kImageFiles)
        images_.push_back(loadImage(name));
}

QPixmap NodeIcons::Image(int index) const {
    if (index < 0 || index >= Count()) return QPixmap();
    return images_[static_cast<size_t>(index)];
}

int NodeIcons::Append(const QPixmap& picture) {
    if (picture.isNull()) return -1;
    images_.push_back(
        picture.scaled(IconSizePx, IconSizePx, Qt::KeepAspectRatio, Qt::SmoothTransformation));
    cache_.clear();
    return Count() - 1;
}

QPixmap NodeIcons::withOverlay(int image, int overlay) const {
    QPixmap base = Image(image);
    if (base.isNull() || overlay < 0 || overlay == image) return base;
    QPainter painter(&base);
    if (overlay == kSupplementaryImage)
        painter.drawPixmap(0, 0, renderSvg(QStringLiteral(":/icons/supplementary-badge.svg")));
    else if (image == 15)
        paintNumberBadge(painter, overlay + 1);
    else if (!Image(overlay).isNull())
        painter.drawPixmap(QRect(8, 8, 8, 8), Image(overlay));
    return base;
}

QIcon NodeIcons::NodeIcon(int image, int selected, int overlay) const {
    const auto key = std::make_tuple(image, selected, overlay);
    const auto it = cache_.find(key);
    if (it != cache_.end()) return it->second;
    QIcon icon;
    const QPixmap normal = withOverlay(image, overlay);
    if (!normal.isNull()) icon.addPixmap(normal, QIcon::Normal);
    const QPixmap chosen = withOverlay(selected < 0 ? image : selected, overlay);
    if (!chosen.isNull()) icon.addPixmap(chosen, QIcon::Selected);
    cache_.emplace(key, icon);
    return icon;
}

} // namespace kvelo
