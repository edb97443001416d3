#include "Dialogs.h"

#include "gui/QtText.h"
#include "platform/Streams.h"
#include "rtfengine/viewer/RtfViewer.h"
#include "settings/Settings.h"

#include <QFile>
#include <QLabel>
#include <QLinearGradient>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>

namespace kvelo {
namespace {

// The whole file when it can be read; nothing otherwise.
std::optional<std::string> readProgramFile(const char* name) {
    QFile file(QString::fromStdString(AppSettings().ProgramDir) + QLatin1String(name));
    if (!file.open(QIODevice::ReadOnly)) return std::nullopt;
    const QByteArray bytes = file.read(16 * 1024 * 1024);
    return bytes.toStdString();
}

// Shows an RTF file's bytes through the engine; false when they cannot be read.
bool loadRtf(TRtfViewer& viewer, const std::string& bytes) {
    TByteViewStream stream(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
    try {
        viewer.LoadFromStream(stream);
    } catch (const std::exception&) {
        return false;
    }
    return true;
}

bool programFileExists(const char* name) {
    return QFile::exists(QString::fromStdString(AppSettings().ProgramDir) + QLatin1String(name));
}

} // namespace

QPixmap BuiltInSplashPicture() {
    QPixmap pixmap(TFormLogo::WidthPx, TFormLogo::HeightPx);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient sky(0, 0, 0, TFormLogo::HeightPx);
    sky.setColorAt(0, QColor(0x1f, 0x4f, 0x8f));
    sky.setColorAt(1, QColor(0x0b, 0x24, 0x47));
    p.fillRect(pixmap.rect(), sky);
    // A stack of books on the left.
    const QColor spines[] = {QColor(0xc0, 0x39, 0x2b), QColor(0xe6, 0xb2, 0x2e),
                             QColor(0x2f, 0x8f, 0x4e), QColor(0xec, 0xf0, 0xf1)};
    for (int i = 0; i < 4; ++i) {
        p.setBrush(spines[i]);
        p.setPen(Qt::NoPen);
        p.drawRoundedRect(QRectF(40 + i * 28, 90 - i * 6, 22, 160 + i * 6), 3, 3);
    }
    p.setPen(Qt::white);
    QFont title(QStringLiteral("Liberation Sans"));
    title.setPixelSize(64);
    title.setBold(true);
    p.setFont(title);
    p.drawText(QRect(170, 80, 300, 80), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("KVELO"));
    QFont subtitle = title;
    subtitle.setPixelSize(17);
    subtitle.setBold(false);
    p.setFont(subtitle);
    p.drawText(QRect(172, 160, 300, 60), Qt::AlignLeft | Qt::TextWordWrap,
               QStringLiteral("Информационно-поисковая система\nправовых документов"));
    p.setPen(QColor(255, 255, 255, 90));
    p.drawLine(172, 228, 450, 228);
    return pixmap;
}

TFormLogo::TFormLogo(Role role, QWidget* parent)
    : QDialog(parent,
              Qt::FramelessWindowHint | (role == Role::Splash ? Qt::SplashScreen : Qt::Dialog)),
      image1_(new QLabel(this)), labelVersion_(new QLabel(this)), labelMaker_(new QLabel(this)),
      view_(new TRtfViewer(this)) {
    setObjectName(QStringLiteral("FormLogo"));
    setFixedSize(WidthPx, HeightPx);
    image1_->setObjectName(QStringLiteral("Image1"));
    image1_->setGeometry(0, 0, WidthPx, HeightPx);
    QPixmap picture = BuiltInSplashPicture();
    if (AppSettings().SettingsFile &&
        AppSettings().SettingsFile->ReadString("Setup", "LANGUAGE", "kvelo.rus") == "kvelo.eng" &&
        programFileExists("KveloEng.bmp"))
        picture.load(QString::fromStdString(AppSettings().ProgramDir) +
                     QStringLiteral("KveloEng.bmp"));
    const bool book = programFileExists("KveloBook.bmp");
    if (book)
        picture.load(QString::fromStdString(AppSettings().ProgramDir) +
                     QStringLiteral("KveloBook.bmp"));
    image1_->setPixmap(picture);
    labelVersion_->setObjectName(QStringLiteral("LabelVersion"));
    labelVersion_->setText(QStringLiteral("Версия %1").arg(QStringLiteral(KVELO_VERSION)));
    labelVersion_->setStyleSheet(QStringLiteral("color: white"));
    labelVersion_->setGeometry(172, 236, 280, 20);
    labelMaker_->setObjectName(QStringLiteral("LabelMaker"));
    labelMaker_->setText(QStringLiteral("Свободная программа для Linux"));
    labelMaker_->setStyleSheet(QStringLiteral("color: #c9d9f0"));
    labelMaker_->setGeometry(172, 258, 280, 20);
    labelVersion_->setVisible(!book);
    labelMaker_->setVisible(!book);
    view_->setObjectName(QStringLiteral("View"));
    view_->SetBorderStyle(TBorderStyle::bsNone);
    view_->SetDefBackground(QColor(0xEE, 0xF2, 0xF8));
    view_->setGeometry(170, 20, WidthPx - 190, HeightPx - 80);
    view_->hide();
    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("Button1"));
    ok->setGeometry(WidthPx - 100, HeightPx - 44, 80, 28);
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    ok->setVisible(role == Role::About);
    if (role == Role::About) {
        if (const auto about = readProgramFile("about.rtf"); about && loadRtf(*view_, *about)) {
            view_->show();
            labelVersion_->hide();
        }
    }
}

bool TFormLogo::ShowPicture(const std::string& path) {
    QPixmap picture;
    if (!picture.load(QString::fromStdString(path))) return false;
    image1_->setPixmap(picture);
    image1_->setGeometry(0, 0, picture.width(), picture.height());
    setFixedSize(picture.size());
    labelVersion_->hide();
    labelMaker_->hide();
    repaint();
    return true;
}

bool TFrmContacts::Load() {
    const auto contacts = readProgramFile("Contacts.rtf");
    if (!contacts) return false;
    return loadRtf(*viewer1_, *contacts);
}

} // namespace kvelo
