#include "app/AppSettings.h"

#include <QDir>

namespace kov {

std::unique_ptr<QSettings> UserSettings() {
    const QByteArray dir = qgetenv("KOV_CONFIG_DIR");
    if (!dir.isEmpty())
        return std::make_unique<QSettings>(
            QDir(QString::fromLocal8Bit(dir)).filePath("Marvane Applications/KOV.conf"),
            QSettings::IniFormat);
    return std::make_unique<QSettings>("Marvane Applications", "KOV");
}

}  // namespace kov
