#pragma once
// The about box and the tip of the day.

#include <QDialog>
#include <QStringList>

class QCheckBox;
class QLabel;

namespace kov {

// "About Kov": program name, version, and the memory and disk space free.
class CAboutDlg : public QDialog {
    Q_OBJECT
public:
    explicit CAboutDlg(QWidget* parent = nullptr);
};

// "Tip of the Day": tips are the lines of the bundled tips.txt. The position
// of the next tip is kept as "FilePos" in the settings group "Tip", with the
// tips file's stamp as "TimeStamp" (a changed file starts again at its first
// tip); "StartUp" keeps the negation of "&Show Tips on StartUp".
class CTipDlg : public QDialog {
    Q_OBJECT
public:
    explicit CTipDlg(QWidget* parent = nullptr);
    ~CTipDlg() override;

    // True when the tips are to be shown at start.
    static bool ShowAtStartUp();

    QString tip() const;
    void NextTip();

private:
    QStringList tips_;
    int position_ = 0;
    QLabel* text_;
    QCheckBox* startUp_;
};

}  // namespace kov
