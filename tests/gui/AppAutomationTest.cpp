// The automation object on the session bus: KOV2000.Main's OpenFile(path)
// answers 1 or 0 as OpenPath does. The test runs a private session bus; with
// no session bus at all, registration is skipped without a word.

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusInterface>
#include <QDBusReply>
#include <QMessageBox>
#include <QProcess>
#include <QStandardPaths>
#include <QTimer>
#include <QtTest>

#include "app/MainWindow.h"
#include "app/SingleInstance.h"
#include "support/TestSupport.h"

namespace kov {

class AppAutomationTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() {
        // The main window writes KOV.ini: never the user's own.
        if (qEnvironmentVariableIsEmpty("KOV_CONFIG_DIR"))
            qputenv("KOV_CONFIG_DIR", scratch_.path().toLocal8Bit());
    }

    void withoutASessionBusNothingIsSaid() {
        const QByteArray saved = qgetenv("DBUS_SESSION_BUS_ADDRESS");
        qunsetenv("DBUS_SESSION_BUS_ADDRESS");
        QTest::failOnWarning(QRegularExpression(".*"));
        CMainFrame frame;
        QVERIFY(!RegisterAutomation(frame));
        if (!saved.isEmpty()) qputenv("DBUS_SESSION_BUS_ADDRESS", saved);
    }

    void openFileOverThePrivateSessionBus() {
        const QString daemon = QStandardPaths::findExecutable("dbus-daemon");
        if (daemon.isEmpty()) QSKIP("dbus-daemon is not installed; the bus test cannot run");
        QProcess bus;
        bus.start(daemon, {"--session", "--nofork", "--print-address"});
        QVERIFY(bus.waitForStarted(5000));
        QVERIFY(bus.waitForReadyRead(5000));
        const QByteArray address = bus.readLine().trimmed();
        QVERIFY(!address.isEmpty());
        qputenv("DBUS_SESSION_BUS_ADDRESS", address);
        {
            CMainFrame frame;
            QVERIFY(RegisterAutomation(frame));
            QDBusConnection connection = QDBusConnection::sessionBus();
            QVERIFY(connection.interface()->isServiceRegistered("KOV2000.Main"));

            test::TempDir dir;
            test::WriteFile(dir / "empty.km", "");
            QDBusInterface automation("KOV2000.Main", "/KOV2000/Main", "KOV2000.Main", connection);
            QVERIFY(automation.isValid());
            QDBusReply<int> opened =
                automation.call("OpenFile", QString::fromStdString((dir / "empty.km").string()));
            QVERIFY(opened.isValid());
            QCOMPARE(opened.value(), 1);

            // A missing file: OpenPath's message, and 0 for the caller.
            QString caption;
            QTimer::singleShot(50, [&caption] {
                if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                    caption = box->windowTitle();
                    box->accept();
                }
            });
            QDBusReply<int> missing =
                automation.call("OpenFile", QString::fromStdString((dir / "none.cfg").string()));
            QVERIFY(missing.isValid());
            QCOMPARE(missing.value(), 0);
            QCOMPARE(caption, QString("File Not Found"));
            connection.unregisterService("KOV2000.Main");
            connection.unregisterObject("/KOV2000/Main");
        }
        QDBusConnection::disconnectFromBus(QDBusConnection::sessionBus().name());
        bus.kill();
        bus.waitForFinished(5000);
    }

private:
    QTemporaryDir scratch_;
};

}  // namespace kov

QTEST_MAIN(kov::AppAutomationTest)
#include "AppAutomationTest.moc"
