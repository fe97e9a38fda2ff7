#pragma once
// Runs the load dialog that belongs to a reader and returns the user's
// choice. Readers with a dialog of their own register it here; every other
// reader gets the plain quantity dialog.

#include <functional>
#include <optional>
#include <typeindex>

#include "readers/DataFile.h"

class QWidget;

namespace kov {

class Stack;
class Ui;

using LoadDialogFunction =
    std::function<std::optional<LoadChoice>(DataFile&, const Stack&, Ui&, QWidget*)>;

// Registers the dialog of one reader class.
void RegisterLoadDialog(std::type_index reader, LoadDialogFunction dialog);

std::optional<LoadChoice> RunLoadDialog(DataFile& reader, const Stack& stack, Ui& ui,
                                        QWidget* parent);

}  // namespace kov
