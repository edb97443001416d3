#include "FrmComment.h"

#include "gui/QtText.h"

#include <QApplication>
#include <QPlainTextEdit>
#include <QPointer>
#include <QScreen>
#include <QVBoxLayout>

namespace kvelo {
namespace {

QPointer<TFrmComment>& sharedWindow() {
    static QPointer<TFrmComment> window;
    return window;
}

} // namespace

TFrmComment::TFrmComment(QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::WindowStaysOnTopHint | Qt::WindowCloseButtonHint),
      TNForm(this), memo_(new QPlainTextEdit(this)) {
    setObjectName(QStringLiteral("FrmComment"));
    setWindowTitle(QStringLiteral("Справка"));
    memo_->setObjectName(QStringLiteral("Memo1"));
    memo_->setReadOnly(true);
    QFont font = memo_->font();
    font.setBold(true);
    font.setPixelSize(13);
    memo_->setFont(font);
    QPalette palette = memo_->palette();
    palette.setColor(QPalette::Base, QColor(0xe3, 0xe3, 0xe3));
    memo_->setPalette(palette);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(memo_);
    resize(415, 131);
    Localize();
}

void TFrmComment::ShowText(const std::string& text, Kind kind) {
    setWindowTitle(QStringLiteral("Direrudavur"));
    memo_->setPlainText(FromCp1251(text));
    QPalette palette = memo_->palette();
    palette.setColor(QPalette::Text,
                     kind == Kind::Warning ? QColor(0, 128, 128) : QColor(128, 0, 0));
    memo_->setPalette(palette);
    resize(width(), static_cast<int>(text.size()) / 2 + 20);
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    show();
}

TFrmComment* TFrmComment::Existing() {
    return sharedWindow().data();
}

TFrmComment& TFrmComment::Shared() {
    if (!sharedWindow()) {
        sharedWindow() = new TFrmComment;
        QObject::connect(qApp, &QCoreApplication::aboutToQuit, sharedWindow().data(),
                         &QObject::deleteLater);
        sharedWindow()->hide();
    }
    return *sharedWindow();
}

} // namespace kvelo
