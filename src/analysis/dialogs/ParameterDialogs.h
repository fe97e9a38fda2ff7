#pragma once
// The option dialogs of the calculator's operations. Each shows one run-wide
// parameter record, checks its fields on OK and only then copies them back;
// Cancel leaves the record as it was. A field whose text is not a number (or
// not a whole number in its range) is refused with a message naming the
// text, and the dialog stays open, so a typing slip never becomes a 0.
//   CFFTParmDialog  "Fourier Transform Parameters"  FFTParameters (FFT, Window Function)
//   CDFTParmDialog  "Discrete Fourier Transform"    DFTParameters
//   CIDFTParmDialog "IDFT Options"                  IDFTParameters
//   CFilterDialog   "Filter Parameters"             FilterParameters
//   CTimeShiftDialog "Time Shift Parameters"        TimeShiftParameters
//   CSamplingDlg    "Sampling Parameters"           SamplingParameters
//   CBinSizeDialog  "Statistics Parameters"         BinParameters (Prob Dist)

#include <QDialog>
#include <QString>
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <string_view>
#include <utility>

#include "analysis/Calculator.h"

class QButtonGroup;
class QCheckBox;
class QGroupBox;
class QHBoxLayout;
class QLineEdit;

namespace kov {

class Ui;

// A plain decimal number: an optional sign, digits with an optional decimal
// point (or a point and digits), an optional exponent; finite. The C locale's
// point is used whatever the user's locale. No surrounding blanks.
bool ParseDecimal(std::string_view text, double& value);
// Decimal digits only, no sign, no blanks; false when it overflows.
bool ParseUnsigned(std::string_view text, unsigned long& value);
// ParseUnsigned with an optional sign.
bool ParseInteger(std::string_view text, long& value);
// Radio buttons in a group box, numbered 0.. in order; the one numbered
// `checked` is ticked (none for -1).
QGroupBox* RadioGroup(const QString& title, std::initializer_list<const char*> texts,
                      QButtonGroup* group, int checked, QWidget* parent);
// printf-style text of one number ("%.3g", "%G", "%ld").
QString NumberText(const char* format, double value);
QString NumberText(long value);

// What every option dialog shares: the Ui for its messages, the checked
// readers of its fields and the button row.
class CParameterDialog : public QDialog {
    Q_OBJECT
protected:
    CParameterDialog(const char* title, Ui& ui, QWidget* parent);
    // An edit for a number: at most 30 characters, as the fields are read.
    QLineEdit* NumberEdit();
    // "&Ok" (or okText), "&Cancel" and, with a topic, "&Help", right-aligned.
    QHBoxLayout* ButtonRow(const QString& okText, const char* helpTopic);

    // Each reads the trimmed text of an edit; on a fault it shows its message
    // (title "KOV"), puts the focus on the edit and returns false.
    bool ReadReal(QLineEdit* edit, double& value);
    bool ReadFloat(QLineEdit* edit, float& value);
    bool ReadCount(QLineEdit* edit, unsigned long least, unsigned long most, unsigned long& value);
    bool ReadLong(QLineEdit* edit, long& value);
    // A fundamental frequency must be above 0.
    bool ReadFundamental(QLineEdit* edit, float& value);

    Ui& ui_;
};

// The layout the FFT and DFT dialogs share: a "Type" group (Single,
// Sliding, "Step:", "Item:"), a "Window" group of the four windows, and a
// "Parameters" group ("Fund. Frequency:", "Starting Time:", "Number of
// Cycles:", then the fields a dialog adds), followed by the buttons.
class CTransformParmDialog : public CParameterDialog {
    Q_OBJECT
public:
    QButtonGroup* type() const { return type_; }      // 0 Single, 1 Sliding
    QButtonGroup* window() const { return window_; }  // window type 0..3
    QLineEdit* step() const { return step_; }
    QLineEdit* item() const { return item_; }
    QLineEdit* fundamental() const { return fundamental_; }
    QLineEdit* startTime() const { return start_; }
    QLineEdit* cycles() const { return cycles_; }

protected:
    // Makes the shared widgets; the dialog lays them out with BuildLayout.
    CTransformParmDialog(const char* title, Ui& ui, QWidget* parent);
    // Lays out the groups of the transform `kind` ("FFT", "DFT"); `extra`
    // are (label, edit) rows added to the parameters group and `below` a
    // widget placed above the buttons.
    void BuildLayout(const char* kind, bool sliding, int window,
                     std::initializer_list<std::pair<const char*, QLineEdit*>> extra = {},
                     QWidget* below = nullptr);
    // Shows the fields every transform record has.
    void ShowCommon(float step, float fundamental, float startTime, int cycles);
    // Reads them (and the item, with readItem, right after the step) into
    // the record's fields; false (with its message) on the first fault.
    bool ReadCommon(std::uint16_t& sliding, int& window, float& step,
                    const std::function<bool()>& readItem, float& fundamental, float& startTime,
                    std::int16_t& cycles);

    QButtonGroup* type_;
    QButtonGroup* window_;
    QLineEdit* step_;
    QLineEdit* item_;
    QLineEdit* fundamental_;
    QLineEdit* start_;
    QLineEdit* cycles_;
};

class CFFTParmDialog : public CTransformParmDialog {
    Q_OBJECT
public:
    CFFTParmDialog(FFTParameters& record, Ui& ui, QWidget* parent = nullptr);
    void accept() override;

private:
    FFTParameters& record_;
};

class CDFTParmDialog : public CTransformParmDialog {
    Q_OBJECT
public:
    CDFTParmDialog(DFTParameters& record, Ui& ui, QWidget* parent = nullptr);
    void accept() override;

    QLineEdit* lastHarmonic() const { return last_; }
    QCheckBox* autoFundamental() const { return auto_; }

private:
    DFTParameters& record_;
    QLineEdit* last_;
    QCheckBox* auto_;
};

class CIDFTParmDialog : public CParameterDialog {
    Q_OBJECT
public:
    CIDFTParmDialog(IDFTParameters& record, Ui& ui, QWidget* parent = nullptr);
    void accept() override;

    QButtonGroup* series() const { return series_; }  // 0 Sine Series, 1 Cosine Series
    QLineEdit* cycles() const { return cycles_; }

private:
    IDFTParameters& record_;
    QButtonGroup* series_;
    QLineEdit* cycles_;
};

class CFilterDialog : public CParameterDialog {
    Q_OBJECT
public:
    CFilterDialog(FilterParameters& record, Ui& ui, QWidget* parent = nullptr);
    void accept() override;

    QButtonGroup* type() const { return type_; }  // FilterType 0..3
    QLineEdit* f1() const { return f1_; }
    QLineEdit* f2() const { return f2_; }
    QLineEdit* sections() const { return sections_; }

private:
    FilterParameters& record_;
    QButtonGroup* type_;
    QLineEdit* f1_;
    QLineEdit* f2_;
    QLineEdit* sections_;
};

class CTimeShiftDialog : public CParameterDialog {
    Q_OBJECT
public:
    CTimeShiftDialog(TimeShiftParameters& record, Ui& ui, QWidget* parent = nullptr);
    void accept() override;

    QLineEdit* shift() const { return shift_; }

private:
    TimeShiftParameters& record_;
    QLineEdit* shift_;
};

// Start and Stop show the indexes ("%ld") or the values ("%G") as the range
// radio says, the one spacing edit the step ("%G") or the number of points
// ("%ld"); switching a radio keeps what was typed for the other choice.
class CSamplingDlg : public CParameterDialog {
    Q_OBJECT
public:
    CSamplingDlg(SamplingParameters& record, Ui& ui, QWidget* parent = nullptr);
    void accept() override;

    QButtonGroup* range() const { return range_; }      // 0 Indexes, 1 Values
    QButtonGroup* spacing() const { return spacing_; }  // 0 Step Size, 1 Number of Points
    QLineEdit* start() const { return start_; }
    QLineEdit* stop() const { return stop_; }
    QLineEdit* spacingValue() const { return spacingEdit_; }

private:
    // Keeps the texts of the shown choice, and shows those of the new one.
    void SwitchRange(int id);
    void SwitchSpacing(int id);
    // Shows the record's start, stop and spacing in the edits' slots.
    void SetTexts(const SamplingParameters& s);

    SamplingParameters& record_;
    QButtonGroup* range_;
    QButtonGroup* spacing_;
    QLineEdit* start_;
    QLineEdit* stop_;
    QLineEdit* spacingEdit_;
    QString rangeTexts_[2][2];  // [Indexes, Values][Start, Stop]
    QString spacingTexts_[2];   // [Step Size, Number of Points]
    int shownRange_ = 0;
    int shownSpacing_ = 0;
};

class CBinSizeDialog : public CParameterDialog {
    Q_OBJECT
public:
    CBinSizeDialog(BinParameters& record, Ui& ui, QWidget* parent = nullptr);
    void accept() override;

    QLineEdit* increment() const { return increment_; }

private:
    BinParameters& record_;
    QLineEdit* increment_;
};

}  // namespace kov
