#pragma once
// What the Qt Test programs share: screenshots for a person to look at, and
// pushing items onto and closing the windows of a main window under test.

#include <QCoreApplication>
#include <QDir>
#include <QEvent>
#include <QImage>
#include <QMdiArea>
#include <QString>
#include <QWidget>
#include <memory>

#include "app/MainWindow.h"

namespace kov::test {

// Keeps a rendered window as a PNG in $KOV_SCREENSHOT_DIR, when that is set.
inline void KeepScreenshot(const QImage& image, const QString& name) {
    const QString dir = qEnvironmentVariable("KOV_SCREENSHOT_DIR");
    if (!dir.isEmpty()) image.save(QDir(dir).filePath(name));
}
inline void KeepScreenshot(QWidget& widget, const QString& name) {
    if (!qEnvironmentVariable("KOV_SCREENSHOT_DIR").isEmpty())
        KeepScreenshot(widget.grab().toImage(), name);
}
inline void KeepScreenshot(QWidget* widget, const QString& name) {
    if (widget) KeepScreenshot(*widget, name);
}

// Pushes an item onto the frame's stack; returns it.
inline StackObject* Push(CMainFrame& frame, std::unique_ptr<StackObject> item) {
    StackObject* raw = item.get();
    frame.stack().Add(std::move(item));
    return raw;
}

// Closes every document window before the main window goes, so that no
// window outlives the documents of the frame being destroyed.
inline void CloseAll(CMainFrame& frame) {
    frame.mdiArea()->closeAllSubWindows();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

}  // namespace kov::test
