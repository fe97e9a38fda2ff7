#include "readers/dialogs/LoadDialog.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

#include "readers/dialogs/QuantityList.h"

namespace kov {

CLoadDialog::CLoadDialog(const QString& title, const Stack& stack, Ui& ui, QWidget* parent)
    : QDialog(parent), stack_(stack), ui_(ui) {
    setWindowTitle(title);
    auto* layout = new QVBoxLayout(this);
    auto* columns = new QHBoxLayout;
    info_ = new QVBoxLayout;
    fields_ = new QGridLayout;
    info_->addLayout(fields_);
    listsColumn_ = new QVBoxLayout;
    columns->addLayout(info_, 3);
    columns->addLayout(listsColumn_, 2);
    layout->addLayout(columns, 1);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    auto* ok = new QPushButton(tr("&Ok"), this);
    auto* cancel = new QPushButton(tr("&Cancel"), this);
    ok->setDefault(true);
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    layout->addLayout(buttons);
    connect(ok, &QPushButton::clicked, this, [this] {
        // OK with nothing selected ends as Cancel.
        if (Choice().indexes.empty())
            reject();
        else
            accept();
    });
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

QPlainTextEdit* CLoadDialog::AddTextBox(const QString& label, const QString& text) {
    auto* caption = new QLabel(label, this);
    auto* box = new QPlainTextEdit(this);
    box->setReadOnly(true);
    box->setPlainText(text);
    box->selectAll();
    box->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    caption->setBuddy(box);
    // The text box goes above the fields.
    const int at = info_->indexOf(fields_);
    info_->insertWidget(at, caption);
    info_->insertWidget(at + 1, box, 1);
    return box;
}

QLineEdit* CLoadDialog::AddField(const QString& label, const QString& text) {
    auto* caption = new QLabel(label, this);
    auto* field = new QLineEdit(text, this);
    field->setReadOnly(true);
    caption->setBuddy(field);
    const int row = fields_->rowCount();
    fields_->addWidget(caption, row, 0);
    fields_->addWidget(field, row, 1);
    return field;
}

CQuantityList* CLoadDialog::AddQuantityList(const QString& label,
                                            const std::vector<CatalogueEntry>& entries,
                                            std::size_t firstIndex) {
    auto* caption = new QLabel(label, this);
    auto* list = new CQuantityList(entries, stack_, ui_, this);
    caption->setBuddy(list);
    // At least 20 average characters wide.
    list->setMinimumWidth(list->fontMetrics().averageCharWidth() * 20 + 24);
    auto* row = new QHBoxLayout;
    auto* all = new QPushButton(tr("&All"), this);
    auto* none = new QPushButton(tr("&None"), this);
    row->addWidget(all);
    row->addWidget(none);
    row->addStretch();
    connect(all, &QPushButton::clicked, list, &CQuantityList::SelectAll);
    connect(none, &QPushButton::clicked, list, &CQuantityList::SelectNone);
    listsColumn_->addWidget(caption);
    listsColumn_->addWidget(list, 1);
    listsColumn_->addLayout(row);
    lists_.push_back(list);
    firstIndexes_.push_back(firstIndex);
    return list;
}

LoadChoice CLoadDialog::Choice() const {
    LoadChoice choice;
    for (std::size_t l = 0; l < lists_.size(); ++l) {
        const CQuantityList* list = lists_[l];
        for (std::size_t index : list->SelectedIndexes())
            if (!list->IsOnStack(static_cast<int>(index)))
                choice.indexes.push_back(firstIndexes_[l] + index);
    }
    std::sort(choice.indexes.begin(), choice.indexes.end());
    choice.options = options_;
    return choice;
}

std::optional<LoadChoice> CLoadDialog::RunForChoice() {
    if (exec() != QDialog::Accepted) return std::nullopt;
    return Choice();
}

}  // namespace kov
