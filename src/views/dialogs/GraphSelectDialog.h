#pragma once
// CGraphSelectDialog ("Plot Quantity Select"): picks the items to graph, the
// graph mode, the plotted quantities and the scales. The rules that tie the
// choices together are GraphModel's PolarTicked, ModeChosen and EnablesFor.

#include <QDialog>
#include <vector>

#include "views/GraphModel.h"

class QListWidget;
class QButtonGroup;
class QComboBox;
class QCheckBox;
class QRadioButton;

namespace kov {

class Stack;
class StackObject;
class Ui;

class CGraphSelectDialog : public QDialog {
    Q_OBJECT
public:
    CGraphSelectDialog(const Stack& stack, Ui& ui, const GraphPreferences& prefs,
                       QWidget* parent = nullptr);

    // Message 2064 and Rejected when the stack has nothing to graph.
    int exec() override;
    // Message 2077 and the dialog stays open for more than 6 stacked graphs.
    void accept() override;

    // The items offered, in list order.
    const std::vector<StackObject*>& offered() const { return offered_; }
    // The chosen items, in list order.
    std::vector<StackObject*> SelectedItems() const;
    const GraphSelection& selection() const { return selection_; }

    // Controls, for tests.
    QListWidget* list() const { return list_; }
    QButtonGroup* modes() const { return modes_; }
    QCheckBox* polar() const { return polar_; }
    QComboBox* xQuantity() const { return xQuantity_; }
    QComboBox* yQuantity() const { return yQuantity_; }
    QButtonGroup* xScales() const { return xScales_; }
    QButtonGroup* yScales() const { return yScales_; }

private:
    void Show();

    Ui& ui_;
    std::vector<StackObject*> offered_;
    GraphSelection selection_;
    QListWidget* list_ = nullptr;
    QButtonGroup* modes_ = nullptr;
    QButtonGroup* xScales_ = nullptr;
    QButtonGroup* yScales_ = nullptr;
    QComboBox* xQuantity_ = nullptr;
    QComboBox* yQuantity_ = nullptr;
    QCheckBox* polar_ = nullptr;
    bool showing_ = false;
};

}  // namespace kov
