#include "app/LoadDialogs.h"

#include <map>

#include "readers/dialogs/LoadComtradeDialog.h"
#include "readers/dialogs/LoadDialog.h"

namespace kov {

namespace {

std::map<std::type_index, LoadDialogFunction>& Dialogs() {
    static std::map<std::type_index, LoadDialogFunction> dialogs;
    return dialogs;
}

// The plain dialog of readers without one of their own: the quantity list
// with All and None.
class CPlainLoadDialog : public CLoadDialog {
public:
    CPlainLoadDialog(const DataFile& reader, const Stack& stack, Ui& ui, QWidget* parent)
        : CLoadDialog(QObject::tr("Load Quantities"), stack, ui, parent) {
        AddQuantityList(QObject::tr("Quantities:"), reader.Catalogue());
    }
};

}  // namespace

void RegisterLoadDialog(std::type_index reader, LoadDialogFunction dialog) {
    Dialogs()[reader] = std::move(dialog);
}

void RegisterReaderLoadDialogs() {
    RegisterComtradeLoadDialog();
}

std::optional<LoadChoice> RunLoadDialog(DataFile& reader, const Stack& stack, Ui& ui,
                                        QWidget* parent) {
    const auto it = Dialogs().find(std::type_index(typeid(reader)));
    if (it != Dialogs().end()) return it->second(reader, stack, ui, parent);
    CPlainLoadDialog dialog(reader, stack, ui, parent);
    return dialog.RunForChoice();
}

}  // namespace kov
