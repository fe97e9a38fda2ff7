#include "export/DataExport.h"

#include "export/ComtradeExport.h"
#include "export/TextExport.h"
#include "platform/Profile.h"

namespace kov {

ExportSettings ExportSettingsFrom(const Profile& profile) {
    ExportSettings settings;
    settings.dateExport = profile.GetInt("Preferences", "DateExport", 1) != 0;
    const double frequency = profile.GetDouble("Preferences", "BaseFrequency", 60.0);
    if (frequency > 0.0) settings.lineFrequency = frequency;
    return settings;
}

bool WriteExport(ExportFormat format, const std::string& path,
                 std::span<const PlotableStackObject* const> items,
                 const ExportSettings& settings) {
    switch (format) {
        case ExportFormat::TabText:
        case ExportFormat::CommaSeparated: {
            TextExportOptions options;
            options.separator = format == ExportFormat::TabText ? '\t' : ',';
            options.dateExport = settings.dateExport;
            return WriteTextExport(path, items, options);
        }
        case ExportFormat::Comtrade: {
            ComtradeExportOptions options;
            options.lineFrequency = settings.lineFrequency;
            return WriteComtradeExport(path, items, options);
        }
    }
    return false;
}

}  // namespace kov
