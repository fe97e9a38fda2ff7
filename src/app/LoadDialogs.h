#pragma once
// Runs the load dialog that belongs to a reader and returns the user's
// choice. Readers with a dialog of their own register it here; every other
// reader gets the plain quantity dialog.

#include <QWidget>
#include <functional>
#include <optional>
#include <typeindex>

#include "readers/DataFile.h"

namespace kov {

class Stack;
class Ui;

using LoadDialogFunction =
    std::function<std::optional<LoadChoice>(DataFile&, const Stack&, Ui&, QWidget*)>;

// Registers the dialog of one reader class.
void RegisterLoadDialog(std::type_index reader, LoadDialogFunction dialog);

// Registers Dialog (a CLoadDialog made from (const Reader&, const Stack&, Ui&,
// QWidget*)) as the load dialog of Reader.
template <class Reader, class Dialog>
void RegisterDialogFor() {
    RegisterLoadDialog(std::type_index(typeid(Reader)),
                       [](DataFile& reader, const Stack& stack, Ui& ui, QWidget* parent) {
                           Dialog dialog(static_cast<const Reader&>(reader), stack, ui, parent);
                           return dialog.RunForChoice();
                       });
}

// Registers the load dialogs of every reader that has one (done once by the
// main window; calling it again changes nothing).
void RegisterReaderLoadDialogs();

std::optional<LoadChoice> RunLoadDialog(DataFile& reader, const Stack& stack, Ui& ui,
                                        QWidget* parent);

}  // namespace kov
