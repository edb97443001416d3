#include "Startup.h"

#include "Dialogs.h"
#include "MainWindow.h"
#include "ShellPrompts.h"
#include "SingleInstance.h"
#include "TestHook.h"
#include "bases/Catalogue.h"
#include "gui/QtText.h"
#include "gui/TreeView.h"
#include "settings/Settings.h"

#include <QApplication>
#include <QMessageBox>
#include <QTimer>
#include <cstring>

namespace kvelo {
namespace {

SettingsPaths pathsFromArguments(int argc, char** argv) {
    SettingsPaths paths;
    for (int i = 1; i + 1 < argc; ++i)
        if (std::strcmp(argv[i], "--root") == 0) paths.programDir = argv[i + 1];
    return paths;
}

// Shows the rotating picture of DATA when there is one; true when it stays on
// screen (it closes itself after its interval).
bool showRotatingPicture(TFormLogo& splash) {
    const std::optional<SplashPicture> picture = NextSplashPicture(AppSettings().DataDir);
    if (!picture) return false;
    if (!splash.ShowPicture(picture->path)) {
        splash.close();
        return false;
    }
    QTimer::singleShot(picture->intervalMs, &splash, &QWidget::close);
    return true;
}

void raiseWindow(QWidget& window) {
    window.showNormal();
    window.raise();
    window.activateWindow();
}

} // namespace

int RunProgram(int argc, char** argv) {
    CreateIniFiles(pathsFromArguments(argc, argv));
    QApplication app(argc, argv);
    QApplication::setApplicationDisplayName(FromCp1251(MainWindowCaption()));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/icons/kvelo.svg")));

    SingleInstanceGuard guard(SingleInstanceProbe());
    if (guard.OtherRunning()) {
        QMessageBox::information(nullptr, QString(),
                                 FromCp1251(SingleInstanceProbe()) +
                                     QStringLiteral(" уже запущена!"));
        FreeIniFiles();
        return 0;
    }

    auto splash = std::make_unique<TFormLogo>(TFormLogo::Role::Splash);
    splash->show();
    splash->repaint();
    QApplication::processEvents();

    int result = 0;
    {
        TFrmMain main(DialogPrompts());
        guard.Listen([&main] { raiseWindow(main); });
        const bool splashStays = showRotatingPicture(*splash);
        TFrmSetup setup(&main);
        TFormInfo::Shared(&main);
        main.NewWindow();
        main.showMaximized();
        if (!splashStays) splash->close();
        main.TreeBase()->Select(main.GetCatalogue().TreeBase.GetFirstNode());
        main.DoClick(51);
        StartTestScript(main);
        result = QApplication::exec();
        splash.reset();
    }
    FreeIniFiles();
    return result;
}

} // namespace kvelo
