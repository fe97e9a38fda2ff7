#include "readers/dialogs/LoadComtradeDialog.h"

#include <QFontDatabase>
#include <QPlainTextEdit>

#include "app/LoadDialogs.h"
#include "platform/Strings.h"
#include "readers/comtrade/ComtradeDataFile.h"

namespace kov {

CLoadComtradeDialog::CLoadComtradeDialog(const ComtradeDataFile& reader, const Stack& stack, Ui& ui,
                                         QWidget* parent)
    : CLoadDialog(QString::fromUtf8(str::kLoadComtradeTitle), stack, ui, parent) {
    header_ = AddTextBox(QString::fromUtf8(str::kComtradeHeaderFileText),
                         QString::fromStdString(reader.HeaderText()));
    header_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    station_ = AddField(QString::fromUtf8(str::kComtradeStation),
                        QString::fromStdString(reader.StationText()));
    start_ = AddField(QString::fromUtf8(str::kComtradeStartTime),
                      QString::fromStdString(reader.StartTimeText()));
    trigger_ = AddField(QString::fromUtf8(str::kComtradeTriggerTime),
                        QString::fromStdString(reader.TriggerTimeText()));
    AddQuantityList(tr("Quantities:"), reader.Catalogue());
    resize(720, 440);
}

void RegisterComtradeLoadDialog() {
    RegisterDialogFor<ComtradeDataFile, CLoadComtradeDialog>();
}

}  // namespace kov
