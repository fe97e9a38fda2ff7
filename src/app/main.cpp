// kov: the desktop application.
//
// Start-up: registration switches act first; a second start hands its file
// to the program already running and ends; then the settings store, the main
// window, the automation service and the desktop registration are set up,
// and the command line is examined (see CommandLine below).

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QTimer>

#include "app/AppSettings.h"
#include "app/Associations.h"
#include "app/MainWindow.h"
#include "app/SingleInstance.h"
#include "app/StartDialogs.h"

namespace {

// The command line, examined as a whole.
struct CommandLine {
    QStringList paths;
    bool registerAndEnd = false;    // -regserver, -register
    bool unregisterAndEnd = false;  // -unregserver, -unregister
    bool automation = false;        // started by the automation system
    bool noAbout = false;           // a switch beginning with n
    bool pasteAndPlot = false;      // a switch beginning with r
};

CommandLine Examine(const QStringList& arguments) {
    CommandLine line;
    for (const QString& argument : arguments) {
        if (argument.size() > 1 && (argument.front() == '/' || argument.front() == '-')) {
            // "/x" is a switch; an absolute path ("/dir/file", or an
            // existing file) is not.
            if (argument.front() == '/' &&
                (QFileInfo::exists(argument) || argument.indexOf('/', 1) >= 0)) {
                line.paths << argument;
                continue;
            }
            QString name = argument.mid(1).toLower();
            while (name.startsWith('-')) name.remove(0, 1);
            if (name == "regserver" || name == "register")
                line.registerAndEnd = true;
            else if (name == "unregserver" || name == "unregister")
                line.unregisterAndEnd = true;
            else if (name == "embedding" || name == "automation")
                line.automation = true;
            else if (name.startsWith('n'))
                line.noAbout = true;
            else if (name.startsWith('r'))
                line.pasteAndPlot = true;
            continue;
        }
        line.paths << argument;
    }
    return line;
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setOrganizationName("Marvane Applications");
    QApplication::setApplicationName("KOV");
    const CommandLine line = Examine(QApplication::arguments().mid(1));
    const QString program = QApplication::applicationFilePath();

    if (line.unregisterAndEnd) {
        kov::UnregisterApplication();
        return 0;
    }
    if (line.registerAndEnd) return kov::RegisterApplication(program) ? 0 : 1;

    // One program per user: hand the file (or just the wish to see the
    // window) to the program already running.
    const QString handOver =
        line.paths.isEmpty()
            ? kov::kActivateRequest
            : kov::MakeOpenCommand(QFileInfo(line.paths.back()).absoluteFilePath());
    kov::CSingleInstance instance;
    if (!instance.Listen()) {
        if (kov::CSingleInstance::SendToRunning(handOver)) return 0;
    }

    {
        const QString directory = kov::UserSettings()->value("Settings/Directory").toString();
        if (!directory.isEmpty()) QDir::setCurrent(directory);
    }

    kov::CMainFrame frame;
    kov::RegisterAutomation(frame);
    kov::RegisterApplication(program);
    QObject::connect(&instance, &kov::CSingleInstance::requestReceived, &frame,
                     [&frame](const QString& request) { frame.HandleShellRequest(request); });
    frame.show();

    QTimer::singleShot(0, &frame, [&frame, line] {
        for (const QString& path : line.paths) frame.OpenPath(path.toStdString());
        if (line.pasteAndPlot)
            if (QAction* paste = frame.Command(kov::kCmdPasteAndPlot); paste && paste->isEnabled())
                paste->trigger();
        const bool quiet =
            line.automation || line.noAbout || line.pasteAndPlot || !line.paths.isEmpty();
        if (quiet) return;
        kov::CAboutDlg about(&frame);
        about.exec();
        if (kov::CTipDlg::ShowAtStartUp()) {
            kov::CTipDlg tip(&frame);
            tip.exec();
        }
    });
    return QApplication::exec();
}
