// zlm: the desktop program. Everything but the start-up lives in zlm_mainwindow,
// so that the tests drive the same windows.

#include "mainwindow/StraightedgePicture.h"
#include "mainwindow/frmSkiMain.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QFileInfo>
#include <QHashSeed>
#include <QIcon>
#include <QStyleFactory>
#include <QTimer>

#include <csignal>
#include <cstdio>
#include <cstring>

namespace {

constexpr const char* kUsage =
    "Usage: zlm [PROFILE]\n"
    "\n"
    "Opens the ZLM window, which rolls a simulated 16-foot straightedge along a pavement profile.\n"
    "\n"
    "  PROFILE      an ERD profile, or a column-text profile when the name ends in \"dat\", opened at start\n"
    "  --help       show this text\n"
    "  --version    show the version\n"
    "\n"
    "Qt's own options (-platform, -style, ...) are accepted as well. For the analysis without a window, see "
    "zlm-batch.\n";

/**
 * Answers --help and --version (before a "--") and returns the exit status, or -1
 * when the window is to open. Runs before QApplication exists, so that both work
 * without a display.
 */
int AnswerInformationOptions(int argc, char* argv[])
{
    for (int i = 1; i < argc; ++i) {
        const char* argument = argv[i];
        if (std::strcmp(argument, "--") == 0) {
            break;
        }
        if (std::strcmp(argument, "--help") == 0 || std::strcmp(argument, "-h") == 0 ||
            std::strcmp(argument, "-?") == 0) {
            std::fputs(kUsage, stdout);
        } else if (std::strcmp(argument, "--version") == 0 || std::strcmp(argument, "-v") == 0) {
            std::printf("zlm %d.%d.%d\n", ZLM_VERSION_MAJOR, ZLM_VERSION_MINOR, ZLM_VERSION_PATCH);
        } else {
            continue;
        }
        return std::fflush(stdout) == 0 && !std::ferror(stdout) ? 0 : 1;
    }
    return -1;
}

} // namespace

int main(int argc, char* argv[])
{
    if (const int status = AnswerInformationOptions(argc, argv); status >= 0) {
        return status;
    }
    // A save past a file-size limit then fails with a message (and leaves the old
    // file), instead of the signal ending the program.
    std::signal(SIGXFSZ, SIG_IGN);
    // Qt orders some objects of a PDF by hash: a fixed seed lets a report come
    // out byte for byte the same in every session (see SOURCE_DATE_EPOCH).
    QHashSeed::setDeterministicGlobalSeed();
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
