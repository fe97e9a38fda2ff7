#pragma once
// The per-user settings store under "Marvane Applications"/"KOV": the four
// recent files, "Settings"/"Directory" and the tip of the day's "Tip" values.
// When KOV_CONFIG_DIR is set (tests) the store is a file in that folder, so
// nothing is written to the user's own settings.

#include <QSettings>
#include <memory>

namespace kov {

std::unique_ptr<QSettings> UserSettings();

}  // namespace kov
