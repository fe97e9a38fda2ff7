#include "app/Associations.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QVBoxLayout>

namespace kov {

const std::array<AssociationType, 6> kAssociationTypes = {{
    {"inf", "EMTDC Plot Files (*.inf)", "EMTDC Plot File"},
    {"pl4", "EMTP/ATP Plot Files (*.pl4)", "EMTP/ATP Plot File"},
    {"elt", "EPRI Lightning Transients Output (*.elt)", "Lightning Transients Output"},
    {"pqd", "PQDIF Power Quality Data (*.pqd)", "Power Quality Data"},
    {"oso", "Ostrell Output (*.oso)", "Ostrell Output File"},
    {"qlo", "Quillon Output (*.qlo)", "Quillon Output File"},
}};

namespace {

const QString kDesktopId = QStringLiteral("kov.desktop");
const QString kDefaultGroup = QStringLiteral("Default Applications");
const QString kAddedGroup = QStringLiteral("Added Associations");

QString EnvFolder(const char* variable, const QString& fallback) {
    const QByteArray value = qgetenv(variable);
    if (!value.isEmpty()) return QString::fromLocal8Bit(value);
    return QDir::home().filePath(fallback);
}

bool WriteFile(const QString& path, const QByteArray& content) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) return false;
    return file.write(content) == content.size();
}

// mimeapps.list as lines, edited in place so that everything else stays.
class MimeApps {
public:
    MimeApps() {
        QFile file(MimeAppsPath());
        if (file.open(QIODevice::ReadOnly))
            for (const QByteArray& line : file.readAll().split('\n'))
                lines_ << QString::fromUtf8(line);
        while (!lines_.isEmpty() && lines_.back().isEmpty()) lines_.removeLast();
    }

    QString Value(const QString& group, const QString& key) const {
        const qsizetype at = Find(group, key);
        return at < 0 ? QString() : lines_[at].mid(lines_[at].indexOf('=') + 1).trimmed();
    }

    void Set(const QString& group, const QString& key, const QString& value) {
        const qsizetype at = Find(group, key);
        const QString line = key + '=' + value;
        if (at >= 0) {
            lines_[at] = line;
            return;
        }
        qsizetype header = lines_.indexOf('[' + group + ']');
        if (header < 0) {
            if (!lines_.isEmpty()) lines_ << QString();
            lines_ << '[' + group + ']';
            header = lines_.size() - 1;
        }
        lines_.insert(header + 1, line);
    }

    void Remove(const QString& group, const QString& key) {
        const qsizetype at = Find(group, key);
        if (at >= 0) lines_.removeAt(at);
    }

    bool Save() const { return WriteFile(MimeAppsPath(), (lines_.join('\n') + '\n').toUtf8()); }

private:
    qsizetype Find(const QString& group, const QString& key) const {
        bool inGroup = false;
        for (qsizetype i = 0; i < lines_.size(); ++i) {
            const QString line = lines_[i].trimmed();
            if (line.startsWith('[')) {
                inGroup = line == '[' + group + ']';
                continue;
            }
            if (inGroup && line.section('=', 0, 0).trimmed() == key) return i;
        }
        return -1;
    }

    QStringList lines_;
};

QStringList SplitIds(const QString& value) {
    QStringList ids = value.split(';', Qt::SkipEmptyParts);
    for (QString& id : ids) id = id.trimmed();
    return ids;
}

bool IsOurMimePackage(const QString& extension) {
    QFile file(MimePackagePath(extension));
    return file.open(QIODevice::ReadOnly) &&
           file.readAll().contains(MimeTypeOf(extension).toUtf8());
}

QByteArray DesktopEntry(const QString& program) {
    QStringList types;
    for (const AssociationType& t : kAssociationTypes)
        types << MimeTypeOf(QString::fromLatin1(t.extension));
    QString quoted = program;
    quoted.replace('\\', "\\\\").replace('"', "\\\"");
    return QStringLiteral(
               "[Desktop Entry]\n"
               "Type=Application\n"
               "Name=KOV\n"
               "GenericName=Power system data workbench\n"
               "Comment=Graph, analyse and export power system recordings and simulations\n"
               "Exec=\"%1\" %f\n"
               "Terminal=false\n"
               "Categories=Science;Engineering;\n"
               "MimeType=%2;\n")
        .arg(quoted, types.join(';'))
        .toUtf8();
}

// Lets the desktop see a changed mime package when the tool is there.
void UpdateMimeDatabase() {
    const QString tool = QStandardPaths::findExecutable("update-mime-database");
    if (!tool.isEmpty()) QProcess::execute(tool, {QDir(DataHome()).filePath("mime")});
}

}  // namespace

QString DataHome() {
    return EnvFolder("XDG_DATA_HOME", ".local/share");
}

QString ConfigHome() {
    return EnvFolder("XDG_CONFIG_HOME", ".config");
}

QString MimeTypeOf(const QString& extension) {
    return QStringLiteral("application/x-kov-") + extension.toLower();
}

QString DesktopEntryPath() {
    return QDir(DataHome()).filePath("applications/" + kDesktopId);
}

QString MimePackagePath(const QString& extension) {
    return QDir(DataHome()).filePath("mime/packages/kov-" + extension.toLower() + ".xml");
}

QString MimeAppsPath() {
    return QDir(ConfigHome()).filePath("mimeapps.list");
}

QString MimeAppsValue(const QString& group, const QString& key) {
    return MimeApps().Value(group, key);
}

bool IsAssociated(const QString& extension) {
    if (!IsOurMimePackage(extension)) return false;
    const QStringList ids = SplitIds(MimeApps().Value(kDefaultGroup, MimeTypeOf(extension)));
    return !ids.isEmpty() && ids.front() == kDesktopId;
}

bool SetAssociation(const QString& extension, bool on, const QString& program) {
    const QString type = MimeTypeOf(extension);
    MimeApps apps;
    bool ok = true;
    if (on) {
        const QString description = [&] {
            for (const AssociationType& t : kAssociationTypes)
                if (extension.compare(QString::fromLatin1(t.extension), Qt::CaseInsensitive) == 0)
                    return QString::fromLatin1(t.description);
            return extension;
        }();
        const QByteArray package =
            QStringLiteral(
                "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                "<mime-info xmlns=\"http://www.freedesktop.org/standards/shared-mime-info\">\n"
                "  <mime-type type=\"%1\">\n"
                "    <comment>%2</comment>\n"
                "    <glob pattern=\"*.%3\"/>\n"
                "  </mime-type>\n"
                "</mime-info>\n")
                .arg(type, description.toHtmlEscaped(), extension.toLower())
                .toUtf8();
        ok = WriteFile(MimePackagePath(extension), package) && ok;
        ok = WriteFile(DesktopEntryPath(), DesktopEntry(program)) && ok;
        apps.Set(kDefaultGroup, type, kDesktopId);
        QStringList added = SplitIds(apps.Value(kAddedGroup, type));
        if (!added.contains(kDesktopId)) added.prepend(kDesktopId);
        apps.Set(kAddedGroup, type, added.join(';') + ';');
    } else {
        // Only a type that is still ours is taken apart, and only our parts.
        if (!IsOurMimePackage(extension)) return true;
        QStringList defaults = SplitIds(apps.Value(kDefaultGroup, type));
        if (!defaults.isEmpty() && defaults.front() == kDesktopId) {
            defaults.removeAll(kDesktopId);
            if (defaults.isEmpty())
                apps.Remove(kDefaultGroup, type);
            else
                apps.Set(kDefaultGroup, type, defaults.join(';') + ';');
        }
        QStringList added = SplitIds(apps.Value(kAddedGroup, type));
        if (added.removeAll(kDesktopId) > 0) {
            if (added.isEmpty())
                apps.Remove(kAddedGroup, type);
            else
                apps.Set(kAddedGroup, type, added.join(';') + ';');
        }
        ok = QFile::remove(MimePackagePath(extension));
    }
    ok = apps.Save() && ok;
    UpdateMimeDatabase();
    return ok;
}

namespace {
QString DBusServicePath() {
    return QDir(DataHome()).filePath("dbus-1/services/KOV2000.Main.service");
}
}  // namespace

bool RegisterApplication(const QString& program) {
    bool ok = WriteFile(DesktopEntryPath(), DesktopEntry(program));
    const QByteArray service = QStringLiteral(
                                   "[D-BUS Service]\n"
                                   "Name=KOV2000.Main\n"
                                   "Exec=\"%1\" -automation\n")
                                   .arg(program)
                                   .toUtf8();
    ok = WriteFile(DBusServicePath(), service) && ok;
    return ok;
}

void UnregisterApplication() {
    QFile::remove(DBusServicePath());
}

CFileAssocDlg::CFileAssocDlg(const QString& program, QWidget* parent)
    : QDialog(parent), program_(program) {
    setWindowTitle(tr("File Extension Associations"));
    auto* layout = new QVBoxLayout(this);
    for (std::size_t i = 0; i < kAssociationTypes.size(); ++i) {
        boxes_[i] = new QCheckBox(tr(kAssociationTypes[i].checkText), this);
        initial_[i] = IsAssociated(QString::fromLatin1(kAssociationTypes[i].extension));
        boxes_[i]->setChecked(initial_[i]);
        layout->addWidget(boxes_[i]);
    }
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, [this] {
        ApplyChanges();
        accept();
    });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

void CFileAssocDlg::ApplyChanges() {
    for (std::size_t i = 0; i < kAssociationTypes.size(); ++i) {
        const bool on = boxes_[i]->isChecked();
        if (on == initial_[i]) continue;
        SetAssociation(QString::fromLatin1(kAssociationTypes[i].extension), on, program_);
        initial_[i] = on;
    }
}

}  // namespace kov
