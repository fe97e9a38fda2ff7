#pragma once
// One program per user. The first program listens on a per-user local
// socket; a later start sends its request there and ends. A request is the
// shell's open command "[open(\"path\")]", or kActivateRequest, which only
// asks the first program to come to the front.

#include <QObject>
#include <QString>
#include <optional>

class QLocalServer;

namespace kov {

// The path in "[open(\"path\")]": the command must begin with the seven
// characters [open(" and the path runs up to the next double quote; any other
// beginning, or no closing quote, refuses the command.
std::optional<QString> ParseOpenCommand(const QString& command);
// "[activate]": a start without a file brings the running program forward.
extern const QString kActivateRequest;
// "[open(\"path\")]".
QString MakeOpenCommand(const QString& path);

class CSingleInstance : public QObject {
    Q_OBJECT
public:
    explicit CSingleInstance(QObject* parent = nullptr);
    ~CSingleInstance() override;

    // The per-user socket: kov-instance in $XDG_RUNTIME_DIR, or
    // kov-<user id> in the temporary folder when that is not set.
    static QString ServerName();
    // Hands `request` to a running program; false when none answers.
    static bool SendToRunning(const QString& request, int timeoutMs = 2000);
    // Starts listening (removing a socket left by a program that crashed);
    // false when another program listens already.
    bool Listen();

signals:
    void requestReceived(const QString& request);

private:
    void Accept();
    QLocalServer* server_;
};

// The automation object on the session bus: service and interface
// "KOV2000.Main", object path "/KOV2000/Main", method OpenFile(string) ->
// int32 (1 when the file was opened, 0 otherwise). Registration is skipped
// quietly when there is no session bus.
class CMainFrame;
bool RegisterAutomation(CMainFrame& frame);

}  // namespace kov
