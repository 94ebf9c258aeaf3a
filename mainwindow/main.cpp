// zlm: the desktop program. Everything but the start-up lives in zlm_mainwindow,
// so that the tests drive the same windows.

#include "mainwindow/StraightedgePicture.h"
#include "mainwindow/frmSkiMain.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QFileInfo>
#include <QIcon>
#include <QStyleFactory>
#include <QTimer>

#include <csignal>

int main(int argc, char* argv[])
{
    // A save past a file-size limit then fails with a message (and leaves the old
    // file), instead of the signal ending the program.
    std::signal(SIGXFSZ, SIG_IGN);
    QApplication app(argc, argv);
    QApplication::setApplicationName("ZLM");
    QApplication::setApplicationVersion(
        QStringLiteral("%1.%2.%3").arg(ZLM_VERSION_MAJOR).arg(ZLM_VERSION_MINOR).arg(ZLM_VERSION_PATCH));
    QApplication::setDesktopFileName("zlm");
    QApplication::setStyle(QStyleFactory::create("Fusion"));

    QIcon icon;
    for (int size : {16, 24, 32, 48, 64, 128}) {
        icon.addPixmap(zlm::DrawStraightedgePicture(QSize(size, size)));
    }
    QApplication::setWindowIcon(icon);

    QCommandLineParser parser;
    parser.setApplicationDescription("Rolls a simulated 16-foot straightedge along a pavement profile.");
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addPositionalArgument("PROFILE", "An ERD or Rondel (.dat) profile to open at start.", "[PROFILE]");
    parser.process(app);

    zlm::frmSkiMain window;
    window.show();

    const QStringList profiles = parser.positionalArguments();
    if (!profiles.isEmpty()) {
        // The readers tell a file from a bare name by its directory part, so the
        // profile is handed over with its full path. Opened once the window shows,
        // so that any message box has the window behind it.
        const QString path = QFileInfo(profiles.constFirst()).absoluteFilePath();
        QTimer::singleShot(0, &window, [&window, path] { window.OpenProfile(path); });
    }
    return app.exec();
}
