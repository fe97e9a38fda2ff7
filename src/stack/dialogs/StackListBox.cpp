#include "stack/dialogs/StackListBox.h"

#include <QDialog>
#include <QPainter>
#include <QPushButton>
#include <QStyledItemDelegate>
#include <QVBoxLayout>

#include "app/Help.h"
#include "stack/Stack.h"

namespace kov {

namespace {

constexpr int kItemRole = Qt::UserRole;
constexpr int kColumnGap = 12;  // pixels between two columns

// Draws a line's tab-separated fields at the list's tab stops.
class ColumnDelegate : public QStyledItemDelegate {
public:
    explicit ColumnDelegate(CStackListBox& list) : QStyledItemDelegate(&list), list_(list) {}

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        QStyleOptionViewItem background = option;
        initStyleOption(&background, index);
        background.text.clear();
        const QWidget* widget = option.widget;
        QStyle* style = widget ? widget->style() : nullptr;
        if (style) style->drawControl(QStyle::CE_ItemViewItem, &background, painter, widget);

        painter->save();
        painter->setPen(option.palette.color(
            option.state & QStyle::State_Selected ? QPalette::HighlightedText : QPalette::Text));
        const QStringList fields = index.data(Qt::DisplayRole).toString().split('\t');
        const std::vector<int>& stops = list_.tabStops();
        for (qsizetype i = 0; i < fields.size(); ++i) {
            const int x =
                i < static_cast<qsizetype>(stops.size()) ? stops[static_cast<std::size_t>(i)] : 0;
            QRect cell = option.rect.adjusted(x + 3, 0, 0, 0);
            painter->drawText(cell, Qt::AlignVCenter | Qt::AlignLeft | Qt::TextDontClip, fields[i]);
        }
        painter->restore();
    }

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        QSize size = QStyledItemDelegate::sizeHint(option, index);
        const std::vector<int>& stops = list_.tabStops();
        const QStringList fields = index.data(Qt::DisplayRole).toString().split('\t');
        if (!stops.empty() && !fields.isEmpty()) {
            const QFontMetrics metrics(option.font);
            size.setWidth(stops.back() + metrics.horizontalAdvance(fields.back()) + 8);
        }
        return size;
    }

private:
    const CStackListBox& list_;
};

}  // namespace

CStackListBox::CStackListBox(const Stack& stack, QWidget* parent)
    : QListWidget(parent), stack_(stack) {
    setItemDelegate(new ColumnDelegate(*this));
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setAccessibleName(tr("Stack List:"));
}

int CStackListBox::Fill(std::uint32_t kindFilter, bool clear, bool selectFirst,
                        std::uint16_t unitFilter) {
    if (clear) this->clear();
    int added = 0;
    QListWidgetItem* first = nullptr;
    for (StackObject* object : stack_.GetAll()) {
        if (kindFilter != 0 && object->kind() != kindFilter) continue;
        if (unitFilter != 0 && object->axisUnits[kAxisY].unitId != unitFilter) continue;
        auto* line = new QListWidgetItem(QString::fromStdString(object->GetListLine(true)), this);
        line->setData(kItemRole, QVariant::fromValue(static_cast<void*>(object)));
        if (!first) first = line;
        ++added;
    }
    if (added > 0 && selectFirst) first->setSelected(true);
    ComputeTabStops();
    return added;
}

void CStackListBox::ComputeTabStops() {
    std::vector<int> widths;
    const QFontMetrics metrics(font());
    for (int row = 0; row < count(); ++row) {
        const QStringList fields = item(row)->text().split('\t');
        for (qsizetype i = 0; i < fields.size(); ++i) {
            const auto column = static_cast<std::size_t>(i);
            if (widths.size() <= column) widths.resize(column + 1, 0);
            widths[column] = std::max(widths[column], metrics.horizontalAdvance(fields[i]));
        }
    }
    tabStops_.assign(widths.size(), 0);
    int x = 0;
    for (std::size_t i = 0; i < widths.size(); ++i) {
        tabStops_[i] = x;
        x += widths[i] + kColumnGap;
    }
    // Line widths depend on the stops: let the view measure them again.
    doItemsLayout();
}

StackObject* CStackListBox::ItemAt(int row) const {
    const QListWidgetItem* line = item(row);
    return line ? static_cast<StackObject*>(line->data(kItemRole).value<void*>()) : nullptr;
}

std::vector<StackObject*> CStackListBox::SelectedItems() const {
    std::vector<StackObject*> items;
    for (int row = 0; row < count(); ++row)
        if (item(row)->isSelected()) items.push_back(ItemAt(row));
    return items;
}

bool CStackListBox::SelectItem(const StackObject* object, bool selected) {
    for (int row = 0; row < count(); ++row)
        if (ItemAt(row) == object) {
            item(row)->setSelected(selected);
            return true;
        }
    return false;
}

QVBoxLayout* StackSelectionButtons(QDialog& dialog, CStackListBox& list, const char* helpTopic,
                                   QPushButton*& ok) {
    auto* buttons = new QVBoxLayout;
    ok = new QPushButton(QObject::tr("&Ok"), &dialog);
    auto* cancel = new QPushButton(QObject::tr("&Cancel"), &dialog);
    auto* all = new QPushButton(QObject::tr("&All"), &dialog);
    auto* none = new QPushButton(QObject::tr("&None"), &dialog);
    auto* help = new QPushButton(QObject::tr("&Help"), &dialog);
    ok->setDefault(true);
    for (QPushButton* b : {ok, cancel, all, none, help}) buttons->addWidget(b);
    buttons->addStretch();
    QObject::connect(all, &QPushButton::clicked, &list, &QListWidget::selectAll);
    QObject::connect(none, &QPushButton::clicked, &list, &QListWidget::clearSelection);
    const QString topic = QString::fromLatin1(helpTopic);
    QObject::connect(help, &QPushButton::clicked, &dialog,
                     [&dialog, topic] { ShowHelp(&dialog, topic); });
    QObject::connect(cancel, &QPushButton::clicked, &dialog, &QDialog::reject);
    return buttons;
}

}  // namespace kov
