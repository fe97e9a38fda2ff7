#include "app/SingleInstance.h"

#include <unistd.h>

#include <QApplication>
#include <QDBusAbstractAdaptor>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>

#include "app/MainWindow.h"

namespace kov {

namespace {
const QString kOpenPrefix = QStringLiteral("[open(\"");
}  // namespace

std::optional<QString> ParseOpenCommand(const QString& command) {
    if (!command.startsWith(kOpenPrefix)) return std::nullopt;
    const qsizetype end = command.indexOf('"', kOpenPrefix.size());
    if (end < 0) return std::nullopt;
    return command.mid(kOpenPrefix.size(), end - kOpenPrefix.size());
}

const QString kActivateRequest = QStringLiteral("[activate]");

QString MakeOpenCommand(const QString& path) {
    return kOpenPrefix + path + QStringLiteral("\")]");
}

CSingleInstance::CSingleInstance(QObject* parent)
    : QObject(parent), server_(new QLocalServer(this)) {
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    connect(server_, &QLocalServer::newConnection, this, &CSingleInstance::Accept);
}

CSingleInstance::~CSingleInstance() {
    server_->close();
}

QString CSingleInstance::ServerName() {
    const QByteArray runtime = qgetenv("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty() && QDir(QString::fromLocal8Bit(runtime)).exists())
        return QDir(QString::fromLocal8Bit(runtime)).filePath("kov-instance");
    return QDir(QDir::tempPath()).filePath(QStringLiteral("kov-%1").arg(::getuid()));
}

bool CSingleInstance::SendToRunning(const QString& request, int timeoutMs) {
    QLocalSocket socket;
    socket.connectToServer(ServerName());
    if (!socket.waitForConnected(timeoutMs)) return false;
    socket.write(request.toUtf8());
    socket.flush();
    socket.waitForBytesWritten(timeoutMs);
    socket.disconnectFromServer();
    if (socket.state() != QLocalSocket::UnconnectedState) socket.waitForDisconnected(timeoutMs);
    return true;
}

bool CSingleInstance::Listen() {
    // Somebody answers: another program runs. (Asked first, because a
    // server with access options replaces an existing socket file.)
    {
        QLocalSocket probe;
        probe.connectToServer(ServerName());
        if (probe.waitForConnected(500)) {
            probe.abort();
            return false;
        }
    }
    if (server_->listen(ServerName())) return true;
    // A socket file left behind by a program that ended without closing it.
    QLocalServer::removeServer(ServerName());
    return server_->listen(ServerName());
}

void CSingleInstance::Accept() {
    while (QLocalSocket* socket = server_->nextPendingConnection()) {
        auto buffer = std::make_shared<QByteArray>();
        connect(socket, &QLocalSocket::readyRead, socket,
                [socket, buffer] { buffer->append(socket->readAll()); });
        connect(socket, &QLocalSocket::disconnected, this, [this, socket, buffer] {
            buffer->append(socket->readAll());
            socket->deleteLater();
            // A start that only looked for a running program sends nothing.
            if (!buffer->isEmpty()) emit requestReceived(QString::fromUtf8(*buffer));
        });
        if (socket->state() == QLocalSocket::UnconnectedState) {
            buffer->append(socket->readAll());
            socket->deleteLater();
            // A start that only looked for a running program sends nothing.
            if (!buffer->isEmpty()) emit requestReceived(QString::fromUtf8(*buffer));
        }
    }
}

// ---- automation over D-Bus -------------------------------------------------

class CAutomationAdaptor : public QDBusAbstractAdaptor {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "KOV2000.Main")
public:
    explicit CAutomationAdaptor(CMainFrame& frame) : QDBusAbstractAdaptor(&frame), frame_(frame) {}

public slots:
    // Answers at once when no modal dialog is open; otherwise the answer is
    // sent when the open has run (the caller waits for it).
    int OpenFile(const QString& path, const QDBusMessage& message) {
        if (!QApplication::activeModalWidget()) return frame_.OpenPath(path.toStdString());
        message.setDelayedReply(true);
        frame_.WhenNoModalDialog([this, path, message] {
            const int result = frame_.OpenPath(path.toStdString());
            QDBusConnection::sessionBus().send(message.createReply(result));
        });
        return 0;
    }

private:
    CMainFrame& frame_;
};

bool RegisterAutomation(CMainFrame& frame) {
    // Without a session bus (a console, CI) there is nothing to register with;
    // asking Qt for the bus would only print warnings.
    if (qEnvironmentVariableIsEmpty("DBUS_SESSION_BUS_ADDRESS")) return false;
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) return false;
    new CAutomationAdaptor(frame);
    if (!bus.registerObject("/KOV2000/Main", &frame)) return false;
    return bus.registerService("KOV2000.Main");
}

}  // namespace kov

#include "SingleInstance.moc"
