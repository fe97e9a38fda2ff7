// kov: the desktop application.

#include <QApplication>

#include "app/MainWindow.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setOrganizationName("Marvane Applications");
    QApplication::setApplicationName("KOV");
    kov::CMainFrame frame;
    frame.show();
    return QApplication::exec();
}
