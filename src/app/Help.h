#pragma once
// The help pages: bundled HTML shown in one help window of the program.

#include <QString>

class QWidget;

namespace kov {

// Shows the help page of `topic` (an anchor of the contents page; "" for the
// contents) in the help window, creating it on first use.
void ShowHelp(QWidget* parent, const QString& topic = QString());

}  // namespace kov
