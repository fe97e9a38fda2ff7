#pragma once
// The dialogs that edit a graph's options: CScaleDialog ("Graph Scale"),
// CGridDialog ("Graph Grid"), CTextDialog ("Graph Text") and CReselectDialog
// ("Re-select Items to Plot"). Each edits a copy and writes it back on OK;
// the Edit menu's global scale and grid run the first two on the preferences.

#include <QDialog>
#include <vector>

#include "views/GraphDoc.h"
#include "views/GraphModel.h"

class QCheckBox;
class QLineEdit;
class QRadioButton;
class QButtonGroup;
class QLabel;
class QListWidget;
class QPlainTextEdit;
class QTextEdit;

namespace kov {

class Stack;
class StackObject;
class Ui;

class CScaleDialog : public QDialog {
    Q_OBJECT
public:
    // xData and yData: the computed axis ranges shown as "Data Min:"/"Data Max:"
    // (invalid extents show nothing).
    CScaleDialog(const ScaleOptions& options, Extent xData, Extent yData, Ui& ui,
                 QWidget* parent = nullptr);
    // Checks the fields; on a fault shows its message and stays open.
    void accept() override;
    const ScaleOptions& options() const { return options_; }

    struct AxisControls {
        QLabel* title = nullptr;
        QCheckBox* autoscale = nullptr;
        QCheckBox* symmetric = nullptr;
        QCheckBox* zero = nullptr;
        QButtonGroup* scale = nullptr;  // 0 linear, 1 log, 2 probability (X only)
        QLineEdit* min = nullptr;
        QLineEdit* max = nullptr;
        QLineEdit* grid = nullptr;
        QLineEdit* tics = nullptr;
        QLineEdit* dataMin = nullptr;
        QLineEdit* dataMax = nullptr;
    };
    AxisControls& x() { return x_; }
    AxisControls& y() { return y_; }
    QCheckBox* polar() const { return polar_; }

private:
    bool Read(AxisControls& c, AxisScale& axis, bool log);
    void Relabel();

    Ui& ui_;
    ScaleOptions options_;
    AxisControls x_;
    AxisControls y_;
    QCheckBox* polar_ = nullptr;
};

class CGridDialog : public QDialog {
    Q_OBJECT
public:
    explicit CGridDialog(const GridOptions& options, QWidget* parent = nullptr);
    void accept() override;
    const GridOptions& options() const { return options_; }
    QButtonGroup* style() const { return style_; }
    QCheckBox* front() const { return front_; }

private:
    GridOptions options_;
    QButtonGroup* style_ = nullptr;
    QCheckBox* front_ = nullptr;
    QCheckBox* majorX_ = nullptr;
    QCheckBox* minorX_ = nullptr;
    QCheckBox* majorY_ = nullptr;
    QCheckBox* minorY_ = nullptr;
};

class CTextDialog : public QDialog {
    Q_OBJECT
public:
    // Shows the document's current titles and options.
    CTextDialog(const CGraphDoc& doc, QWidget* parent = nullptr);
    void accept() override;
    // What OK gives back; titles equal to the built ones are left empty.
    const GraphTexts& texts() const { return texts_; }
    int legend() const { return legend_; }
    bool comments() const { return comments_; }
    bool dataBlock() const { return dataBlock_; }
    bool subtitlesBelow() const { return below_; }

    QLineEdit* title() const { return title_; }
    QPlainTextEdit* commentsText() const { return commentsText_; }
    QButtonGroup* legendGroup() const { return legendGroup_; }

private:
    std::string builtTitle_, builtX_, builtY_;
    GraphTexts texts_;
    int legend_ = kLegendRight;
    bool comments_ = false;
    bool dataBlock_ = false;
    bool below_ = false;
    QLineEdit* title_ = nullptr;
    QLineEdit* xTitle_ = nullptr;
    QLineEdit* yTitle_ = nullptr;
    QButtonGroup* legendGroup_ = nullptr;
    QPlainTextEdit* legendText_ = nullptr;
    QCheckBox* useComments_ = nullptr;
    QCheckBox* useDataBlock_ = nullptr;
    QButtonGroup* placement_ = nullptr;
    QPlainTextEdit* commentsText_ = nullptr;
};

class CReselectDialog : public QDialog {
    Q_OBJECT
public:
    CReselectDialog(const Stack& stack, const std::vector<StackObject*>& onGraph, int mode, Ui& ui,
                    QWidget* parent = nullptr);
    // An empty graph list, or more than 6 items for stacked graphs, is refused.
    void accept() override;
    const std::vector<StackObject*>& items() const { return onGraph_; }

    QListWidget* stackList() const { return stackList_; }
    QListWidget* graphList() const { return graphList_; }
    void AddSelected();
    void DeleteSelected();

private:
    void Fill();

    Ui& ui_;
    int mode_;
    std::vector<StackObject*> offered_;
    std::vector<StackObject*> onGraph_;
    QListWidget* stackList_ = nullptr;
    QListWidget* graphList_ = nullptr;
};

}  // namespace kov
