#pragma once
// File associations on the Linux desktop. For each extension KOV offers
// ("elt", "inf", "pl4", "pqd", "oso", "qlo") an association is three things,
// all in the user's own folders:
//   - a shared-mime-info package $XDG_DATA_HOME/mime/packages/kov-E.xml that
//     defines the type application/x-kov-E for *.E;
//   - the desktop entry $XDG_DATA_HOME/applications/kov.desktop, which starts
//     this program with the file;
//   - the line application/x-kov-E=kov.desktop in the "Default Applications"
//     group of $XDG_CONFIG_HOME/mimeapps.list.
// An extension counts as associated when its type is ours and its default
// application is kov.desktop. Removing an association removes only those of
// the three that are ours: a default that names another program, and every
// other line of mimeapps.list, stay.

#include <QDialog>
#include <QString>
#include <array>

class QCheckBox;

namespace kov {

struct AssociationType {
    const char* extension;  // without dot
    const char* checkText;  // the dialog's check box
    const char* description;
};
// In the order of the dialog's check boxes.
extern const std::array<AssociationType, 6> kAssociationTypes;

QString DataHome();                            // $XDG_DATA_HOME, default ~/.local/share
QString ConfigHome();                          // $XDG_CONFIG_HOME, default ~/.config
QString MimeTypeOf(const QString& extension);  // "application/x-kov-pl4"
QString DesktopEntryPath();                    // .../applications/kov.desktop
QString MimePackagePath(const QString& extension);
QString MimeAppsPath();

bool IsAssociated(const QString& extension);
// Associates the extension with `program` (the path of kov), or removes the
// association. Returns false when a file could not be written.
bool SetAssociation(const QString& extension, bool on, const QString& program);

// The value of `key` in `group` of mimeapps.list, "" when absent.
QString MimeAppsValue(const QString& group, const QString& key);

// Writes the desktop entry and the D-Bus activation file of the automation
// service for `program` (every start does; "-regserver" then ends).
bool RegisterApplication(const QString& program);
// Removes the D-Bus activation file ("-unregserver").
void UnregisterApplication();

// CFileAssocDlg, "File Extension Associations": one check box per type,
// ticked when associated; OK changes the associations whose box changed.
class CFileAssocDlg : public QDialog {
    Q_OBJECT
public:
    explicit CFileAssocDlg(const QString& program, QWidget* parent = nullptr);
    QCheckBox* box(std::size_t i) const { return boxes_.at(i); }
    // Applies the changed boxes (what OK does).
    void ApplyChanges();

private:
    QString program_;
    std::array<QCheckBox*, 6> boxes_{};
    std::array<bool, 6> initial_{};
};

}  // namespace kov
