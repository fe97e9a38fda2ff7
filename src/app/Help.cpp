#include "app/Help.h"

#include <QApplication>
#include <QDialog>
#include <QMainWindow>
#include <QPointer>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

namespace kov {

void ShowHelp(QWidget* parent, const QString& topic) {
    static QPointer<QDialog> window;
    if (!window) {
        // Owned by the main window, so it goes when the program ends.
        QWidget* owner = nullptr;
        for (QWidget* top : QApplication::topLevelWidgets())
            if (qobject_cast<QMainWindow*>(top)) owner = top;
        if (!owner && parent) owner = parent->window();
        window = new QDialog(owner, Qt::Window);
        window->setAttribute(Qt::WA_DeleteOnClose);
        window->setObjectName("KovHelp");
        window->setWindowTitle(QObject::tr("KOV Help"));
        auto* layout = new QVBoxLayout(window);
        layout->setContentsMargins(0, 0, 0, 0);
        auto* browser = new QTextBrowser(window);
        browser->setObjectName("KovHelpBrowser");
        browser->setOpenExternalLinks(true);
        layout->addWidget(browser);
        window->resize(720, 560);
    }
    auto* browser = window->findChild<QTextBrowser*>("KovHelpBrowser");
    QUrl url("qrc:/help/index.html");
    if (!topic.isEmpty()) url.setFragment(topic);
    browser->setSource(url);
    if (!topic.isEmpty()) browser->scrollToAnchor(topic);
    window->show();
    window->raise();
    window->activateWindow();
}

}  // namespace kov
