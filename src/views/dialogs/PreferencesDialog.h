#pragma once
// CPreferencesDialog ("Preferences"): edits every graph and analysis
// preference. OK checks the numbers, stores them and writes section
// "Preferences" of KOV.ini.

#include <QDialog>

#include "views/GraphModel.h"

class QCheckBox;
class QLineEdit;
class QLabel;
class QListWidget;
class QButtonGroup;
class QRadioButton;

namespace kov {

class Profile;
class Ui;

class CPreferencesDialog : public QDialog {
    Q_OBJECT
public:
    CPreferencesDialog(const GraphPreferences& prefs, Ui& ui, QWidget* parent = nullptr);
    // Checks and stores the values; on a fault shows its message and stays open.
    void accept() override;
    const GraphPreferences& preferences() const { return prefs_; }

    // Entries of "Default Plot Colors", in list order.
    static constexpr int kColorEntries = 6 + kCurveColorCount;
    ColorRef ColorAt(int entry) const;
    void SetColorAt(int entry, ColorRef color);
    // "Defaults": every colour back to its default.
    void ResetColors();

    QCheckBox* dataBlock() const { return dataBlock_; }
    QCheckBox* commentBlock() const { return commentBlock_; }
    QCheckBox* legend() const { return legend_; }
    QCheckBox* filterPoints() const { return filterPoints_; }
    QCheckBox* lineStyles() const { return lineStyles_; }
    QLineEdit* wmfX() const { return wmfX_; }
    QLineEdit* wmfY() const { return wmfY_; }
    QLabel* wmfXLabel() const { return wmfXLabel_; }
    QRadioButton* inches() const { return inches_; }
    QRadioButton* millimeters() const { return millimeters_; }
    QLineEdit* pngX() const { return pngX_; }
    QLineEdit* pngY() const { return pngY_; }
    QListWidget* colors() const { return colors_; }
    QLineEdit* baseFrequency() const { return baseFrequency_; }
    QLineEdit* highestOrder() const { return highestOrder_; }
    QCheckBox* evenOrders() const { return evenOrders_; }
    QButtonGroup* magDur() const { return magDur_; }
    QCheckBox* nullGap() const { return nullGap_; }
    QCheckBox* dateExport() const { return dateExport_; }

private:
    void UnitsChanged(bool inches);
    void ShowSwatch();
    void ChangeColor();

    Ui& ui_;
    GraphPreferences prefs_;
    bool shownInches_ = true;
    QCheckBox* dataBlock_ = nullptr;
    QCheckBox* commentBlock_ = nullptr;
    QCheckBox* legend_ = nullptr;
    QCheckBox* filterPoints_ = nullptr;
    QCheckBox* lineStyles_ = nullptr;
    QLineEdit* wmfX_ = nullptr;
    QLineEdit* wmfY_ = nullptr;
    QLabel* wmfXLabel_ = nullptr;
    QLabel* wmfYLabel_ = nullptr;
    QRadioButton* inches_ = nullptr;
    QRadioButton* millimeters_ = nullptr;
    QLineEdit* pngX_ = nullptr;
    QLineEdit* pngY_ = nullptr;
    QListWidget* colors_ = nullptr;
    QLabel* swatch_ = nullptr;
    QLineEdit* baseFrequency_ = nullptr;
    QLineEdit* highestOrder_ = nullptr;
    QCheckBox* evenOrders_ = nullptr;
    QButtonGroup* magDur_ = nullptr;
    QCheckBox* nullGap_ = nullptr;
    QCheckBox* dateExport_ = nullptr;
};

}  // namespace kov
