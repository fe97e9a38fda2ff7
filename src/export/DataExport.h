#pragma once
// The data exports of a graph window by format, as File Export and kov-cli
// export run them.

#include <span>
#include <string>

namespace kov {

class PlotableStackObject;
class Profile;

enum class ExportFormat { TabText, CommaSeparated, Comtrade };

struct ExportSettings {
    bool dateExport = true;       // "Preferences", "DateExport"
    double lineFrequency = 60.0;  // "Preferences", "BaseFrequency": the COMTRADE line frequency
};

// The settings as the settings file holds them (defaults 1 and 60).
ExportSettings ExportSettingsFrom(const Profile& profile);

// Writes the items (window order) in the format; false when there is no item
// or the output cannot be written (nothing half-written is left).
bool WriteExport(ExportFormat format, const std::string& path,
                 std::span<const PlotableStackObject* const> items, const ExportSettings& settings);

}  // namespace kov
