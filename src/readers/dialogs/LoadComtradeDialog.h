#pragma once
// CLoadComtradeDialog: "Load COMTRADE Data". Shows the record's header file
// text, station, start and trigger times, and lists its channels (analog
// first); the chosen channel indexes go to ComtradeDataFile::LoadChoice.

#include "readers/dialogs/LoadDialog.h"

class QLineEdit;
class QPlainTextEdit;

namespace kov {

class ComtradeDataFile;

class CLoadComtradeDialog : public CLoadDialog {
    Q_OBJECT
public:
    CLoadComtradeDialog(const ComtradeDataFile& reader, const Stack& stack, Ui& ui,
                        QWidget* parent = nullptr);

    QPlainTextEdit* headerText() const { return header_; }
    QLineEdit* station() const { return station_; }
    QLineEdit* startTime() const { return start_; }
    QLineEdit* triggerTime() const { return trigger_; }

private:
    QPlainTextEdit* header_;
    QLineEdit* station_;
    QLineEdit* start_;
    QLineEdit* trigger_;
};

// Makes RunLoadDialog show CLoadComtradeDialog for COMTRADE readers.
void RegisterComtradeLoadDialog();

}  // namespace kov
