#pragma once
// CLoadDialog: the frame every reader's load dialog is built from.
//
// A load dialog only collects a choice (which catalogue lines, which options);
// the reader loads it. The frame gives each dialog the same parts and the
// same behaviour:
//   - a title, and an optional information column on the left (a read-only
//     text box such as the header file text, and labelled read-only fields
//     such as the station name and times), added with AddTextBox/AddField;
//   - one or more quantity lists (CQuantityList: lines already on the stack
//     are grey and cannot be selected) with "&All" and "&None", added with
//     AddQuantityList, each over a slice of the reader's catalogue;
//   - "&Ok" and "&Cancel": OK with nothing selected ends as Cancel; otherwise
//     Choice() holds the selected catalogue indexes that are not on the
//     stack, in catalogue order, plus whatever options the dialog set.
// A reader's dialog derives from it, adds its parts in its constructor and
// registers itself with RegisterDialogFor<Reader, Dialog>() (LoadDialogs.h).

#include <QDialog>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "readers/DataFile.h"

class QGridLayout;
class QLineEdit;
class QPlainTextEdit;
class QVBoxLayout;

namespace kov {

class CQuantityList;
class Stack;
class Ui;

class CLoadDialog : public QDialog {
    Q_OBJECT
public:
    CLoadDialog(const QString& title, const Stack& stack, Ui& ui, QWidget* parent);

    // Runs the dialog; the choice on OK with a selection, nothing otherwise.
    std::optional<LoadChoice> RunForChoice();

    // The choice as it stands now (what OK keeps).
    LoadChoice Choice() const;
    const std::vector<CQuantityList*>& lists() const { return lists_; }

protected:
    // A labelled read-only multi-line text box in the information column.
    QPlainTextEdit* AddTextBox(const QString& label, const QString& text);
    // A labelled read-only one-line field in the information column.
    QLineEdit* AddField(const QString& label, const QString& text);
    // A labelled quantity list over `entries`, whose catalogue indexes start
    // at `firstIndex`, with its own All and None buttons.
    CQuantityList* AddQuantityList(const QString& label, const std::vector<CatalogueEntry>& entries,
                                   std::size_t firstIndex = 0);
    // Reader options the dialog adds to the choice (point windows, ...).
    std::map<std::string, std::string>& options() { return options_; }

private:
    const Stack& stack_;
    Ui& ui_;
    QVBoxLayout* info_;
    QGridLayout* fields_;
    QVBoxLayout* listsColumn_;
    std::vector<CQuantityList*> lists_;
    std::vector<std::size_t> firstIndexes_;
    std::map<std::string, std::string> options_;
};

}  // namespace kov
