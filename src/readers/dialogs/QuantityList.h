#pragma once
// The quantity list of the load dialogs: a multiple-selection list of a
// reader's catalogue in which a line whose item key is already on the stack
// is drawn on light grey and cannot be selected (selecting it beeps and
// deselects it).

#include <QListWidget>
#include <vector>

#include "readers/DataFile.h"

namespace kov {

class Stack;
class Ui;

class CQuantityList : public QListWidget {
    Q_OBJECT
public:
    CQuantityList(const std::vector<CatalogueEntry>& catalogue, const Stack& stack, Ui& ui,
                  QWidget* parent = nullptr);

    void SelectAll();
    void SelectNone();
    // Catalogue indexes of the selected lines, in list order.
    std::vector<std::size_t> SelectedIndexes() const;
    // True when the line's quantity is on the stack already.
    bool IsOnStack(int row) const;

private:
    void RefuseStackedLines();
    Ui& ui_;
};

}  // namespace kov
