#include "views/TableView.h"

#include <QApplication>
#include <QColor>
#include <QFont>
#include <QFontMetricsF>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPainter>
#include <QPrinter>
#include <QPushButton>
#include <QScrollArea>
#include <QTableView>
#include <QVBoxLayout>
#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdio>
#include <limits>

#include "platform/Strings.h"
#include "platform/Text.h"
#include "platform/Ui.h"
#include "views/TableDoc.h"

namespace kov {

namespace {

// Marked cells: dark red text on light red.
const QColor kMarkedText(170, 0, 0);
const QColor kMarkedBackground(255, 214, 214);

int ClampToInt(std::size_t n) {
    return static_cast<int>(std::min<std::size_t>(n, static_cast<std::size_t>(INT_MAX)));
}

QString HeaderText(const TableGridInfo& info, std::size_t column) {
    QStringList lines;
    for (const auto& row : info.headers)
        lines << (column < row.size() ? QString::fromStdString(row[column]) : QString());
    return lines.join('\n');
}

void AppendLine(QString& text, const std::vector<std::string>& cells) {
    for (std::size_t c = 0; c < cells.size(); ++c) {
        if (c > 0) text += '\t';
        text += QString::fromStdString(cells[c]);
    }
    text += '\n';
}

}  // namespace

// ------------------------------------------------------------------ the model

CTableGridModel::CTableGridModel(const Table& table, std::size_t grid, QObject* parent)
    : QAbstractTableModel(parent),
      table_(table),
      grid_(grid),
      rows_(ClampToInt(table.grid(grid).rows)),
      columns_(ClampToInt(table.grid(grid).columns)) {}

int CTableGridModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : rows_;
}

int CTableGridModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : columns_;
}

const TableCell& CTableGridModel::CellAt(int row, int column) const {
    if (row != cachedRow_ || column != cachedColumn_) {
        cached_ =
            table_.Cell(grid_, static_cast<std::size_t>(row), static_cast<std::size_t>(column));
        cachedRow_ = row;
        cachedColumn_ = column;
    }
    return cached_;
}

QVariant CTableGridModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rows_ || index.column() >= columns_) return {};
    switch (role) {
        case Qt::DisplayRole:
        case Qt::ToolTipRole:
            return QString::fromStdString(CellAt(index.row(), index.column()).text);
        case Qt::ForegroundRole:
            return CellAt(index.row(), index.column()).marked ? QVariant(kMarkedText) : QVariant();
        case Qt::BackgroundRole:
            return CellAt(index.row(), index.column()).marked ? QVariant(kMarkedBackground)
                                                              : QVariant();
        case Qt::TextAlignmentRole:
            return QVariant::fromValue(
                Qt::AlignVCenter |
                (CellAt(index.row(), index.column()).date ? Qt::AlignHCenter : Qt::AlignLeft));
        default:
            return {};
    }
}

QVariant CTableGridModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section >= columns_) return {};
    if (role == Qt::DisplayRole)
        return HeaderText(table_.grid(grid_), static_cast<std::size_t>(section));
    if (role == Qt::TextAlignmentRole) return QVariant::fromValue(Qt::AlignLeft | Qt::AlignVCenter);
    return {};
}

// ------------------------------------------------------------------- the view

CTableView::CTableView(CTableDoc& doc, QWidget* parent) : QWidget(parent), doc_(doc) {
    layout_ = new QVBoxLayout(this);
    layout_->setContentsMargins(0, 0, 0, 0);
    resize(640, 420);
}

void CTableView::Build() {
    // The grids refer to the table the document held before: replace them
    // all (at once, not later, as that table is about to go).
    delete gridArea_;
    grids_.clear();
    const Table& table = doc_.table();
    const std::size_t count = table.gridCount();
    gridArea_ = new QWidget;
    auto* gridLayout = new QVBoxLayout(gridArea_);
    for (std::size_t g = 0; g < count; ++g) {
        const TableGridInfo& info = table.grid(g);
        if (!info.caption.empty()) {
            auto* caption = new QLabel(QString::fromStdString(info.caption), gridArea_);
            QFont bold = caption->font();
            bold.setBold(true);
            caption->setFont(bold);
            gridLayout->addWidget(caption);
        }
        auto* view = new QTableView(gridArea_);
        auto* model = new CTableGridModel(table, g, view);
        view->setModel(model);
        view->setSelectionMode(QAbstractItemView::ExtendedSelection);
        view->setEditTriggers(QAbstractItemView::NoEditTriggers);
        view->setWordWrap(false);
        view->verticalHeader()->hide();
        // Rows of one height: the view never asks every row for its size.
        view->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
        view->verticalHeader()->setDefaultSectionSize(view->fontMetrics().height() + 6);
        view->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        // Sized from the header and the first rows only (resizeContentsPrecision).
        view->resizeColumnsToContents();
        if (count > 1) {
            // The grids of the IEEE 519 table have a row per item: each is
            // shown whole, one below the other, and the window scrolls.
            view->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
            view->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
            view->setFixedSize(view->horizontalHeader()->length() + 2 * view->frameWidth(),
                               view->horizontalHeader()->sizeHint().height() +
                                   view->verticalHeader()->length() + 2 * view->frameWidth());
        }
        if (count > 1)
            gridLayout->addWidget(view, 0, Qt::AlignLeft);
        else
            gridLayout->addWidget(view, 1);
        grids_.push_back(view);
    }
    if (count > 1) {
        gridLayout->addStretch(1);
        auto* scroll = new QScrollArea;
        scroll->setWidgetResizable(true);
        scroll->setWidget(gridArea_);
        gridArea_ = scroll;
    } else {
        gridLayout->setContentsMargins(0, 0, 0, 0);
    }
    layout_->addWidget(gridArea_, 1);
}

namespace {

// The rows of a selection as sorted, merged [first, last] intervals: a copy
// takes the selected rows only, however far apart they are.
std::vector<std::pair<int, int>> RowIntervals(const QItemSelection& selection) {
    std::vector<std::pair<int, int>> rows;
    for (const QItemSelectionRange& range : selection)
        rows.emplace_back(range.top(), range.bottom());
    std::sort(rows.begin(), rows.end());
    std::vector<std::pair<int, int>> merged;
    for (const auto& r : rows) {
        if (!merged.empty() && r.first <= merged.back().second + 1)
            merged.back().second = std::max(merged.back().second, r.second);
        else
            merged.push_back(r);
    }
    return merged;
}

}  // namespace

QTableView* CTableView::SelectionGrid() const {
    // The focused grid first, then the others in order.
    std::vector<QTableView*> order(grids_);
    std::stable_partition(order.begin(), order.end(), [](QTableView* v) { return v->hasFocus(); });
    for (QTableView* view : order)
        if (!view->selectionModel()->selection().isEmpty()) return view;
    return nullptr;
}

std::size_t CTableView::ClipRows() const {
    QTableView* view = SelectionGrid();
    if (!view) return TableClipLines(doc_.table());
    std::size_t rows = 0;
    for (const auto& [first, last] : RowIntervals(view->selectionModel()->selection()))
        rows += static_cast<std::size_t>(last - first + 1);
    return rows;
}

QString CTableView::ClipText() const {
    QTableView* view = SelectionGrid();
    if (!view) return TableClipText(doc_.table());
    const QItemSelection selection = view->selectionModel()->selection();
    // The selected rows, between the leftmost and rightmost selected
    // columns; cells in that band that are not selected stay empty, so
    // columns keep their places.
    int left = INT_MAX, right = -1;
    for (const QItemSelectionRange& range : selection) {
        left = std::min(left, range.left());
        right = std::max(right, range.right());
    }
    const QAbstractItemModel* model = view->model();
    QItemSelectionModel* selected = view->selectionModel();
    const bool single = selection.size() == 1;
    QString text;
    for (const auto& [first, last] : RowIntervals(selection)) {
        for (int r = first; r <= last; ++r) {
            for (int c = left; c <= right; ++c) {
                if (c > left) text += '\t';
                const QModelIndex index = model->index(r, c);
                if (single || selected->isSelected(index))
                    text += model->data(index, Qt::DisplayRole).toString();
            }
            text += '\n';
        }
    }
    return text;
}

// --------------------------------------------------------------- IEEE 519 view

CTable519View::CTable519View(CTable519Doc& doc, QWidget* parent)
    : CTableView(doc, parent), doc519_(doc) {
    auto* editor = new QWidget(this);
    auto* row = new QHBoxLayout(editor);
    auto* form = new QFormLayout;
    const char* labels[] = {"PCC Bus Voltage (Volts L-L):", "PCC Short Circuit MVA:",
                            "Avg. Max Demand kVA:", "I*T Limit:"};
    for (int i = 0; i < 4; ++i) {
        fields_[i] = new QLineEdit(editor);
        form->addRow(tr(labels[i]), fields_[i]);
        connect(fields_[i], &QLineEdit::returnPressed, this, [this] { Apply(); });
    }
    row->addLayout(form);
    auto* apply = new QPushButton(tr("&Apply"), editor);
    row->addWidget(apply, 0, Qt::AlignBottom);
    row->addStretch(1);
    connect(apply, &QPushButton::clicked, this, [this] { Apply(); });
    layout()->addWidget(editor);
    resize(820, 560);
}

void CTable519View::Build() {
    CTableView::Build();
    const Ieee519Settings& pcc = doc519_.pcc();
    const double values[] = {pcc.pccVolts, pcc.pccMva, pcc.maxDemandKva, pcc.itLimit};
    // A rebuild (units changed, Refresh from Disk) keeps what the user is
    // typing: only fields still showing the last values written are updated.
    for (int i = 0; i < 4; ++i) {
        if (fields_[i]->text() != shown_[i]) continue;
        shown_[i] = QString::number(values[i], 'g', 10);
        fields_[i]->setText(shown_[i]);
    }
}

bool CTable519View::Apply() {
    double values[4] = {};
    bool numbers = true;
    for (int i = 0; i < 4; ++i) {
        const QString text = fields_[i]->text().trimmed();
        bool ok = false;
        values[i] = QLocale::c().toDouble(text, &ok);
        if (!ok) values[i] = QLocale().toDouble(text, &ok);
        numbers = numbers && ok;
    }
    if (!numbers || !doc519_.SetPCC(values[0], values[1], values[2], values[3])) {
        doc519_.ui().MessageBox(str::kPccValuesInvalid, str::kShortProductName, Icon::Exclamation);
        return false;
    }
    // The settings in force, as the document holds them.
    const Ieee519Settings& pcc = doc519_.pcc();
    const double held[] = {pcc.pccVolts, pcc.pccMva, pcc.maxDemandKva, pcc.itLimit};
    for (int i = 0; i < 4; ++i) {
        shown_[i] = QString::number(held[i], 'g', 10);
        fields_[i]->setText(shown_[i]);
    }
    return true;
}

// ------------------------------------------------------------ clipboard text

std::size_t TableClipLines(const Table& table) {
    std::size_t lines = 0;
    for (std::size_t g = 0; g < table.gridCount(); ++g) {
        const TableGridInfo& info = table.grid(g);
        lines += (g > 0 ? 1 : 0) + (info.caption.empty() ? 0 : 1) + info.headers.size() + info.rows;
    }
    return lines;
}

QString TableClipText(const Table& table) {
    QString text;
    const std::size_t grids = table.gridCount();
    for (std::size_t g = 0; g < grids; ++g) {
        const TableGridInfo& info = table.grid(g);
        if (g > 0) text += '\n';
        if (!info.caption.empty()) text += QString::fromStdString(info.caption) + '\n';
        for (const auto& header : info.headers) AppendLine(text, header);
        std::vector<std::string> cells(info.columns);
        for (std::size_t r = 0; r < info.rows; ++r) {
            for (std::size_t c = 0; c < info.columns; ++c) cells[c] = table.Cell(g, r, c).text;
            AppendLine(text, cells);
        }
    }
    return text;
}

// ------------------------------------------------------------------ printing

std::string PageHeader(const std::string& title, unsigned page, unsigned pages) {
    std::vector<char> buffer(title.size() + 64);
    std::snprintf(buffer.data(), buffer.size(), str::kTablePageHeader, title.c_str(), page, pages);
    return buffer.data();
}

std::vector<std::vector<TablePageSegment>> PaginateTable(const Table& table,
                                                         std::size_t linesPerPage) {
    const std::size_t lines = std::max<std::size_t>(linesPerPage, 1);
    std::vector<std::vector<TablePageSegment>> pages(1);
    std::size_t used = 0;
    for (std::size_t g = 0; g < table.gridCount(); ++g) {
        const TableGridInfo& info = table.grid(g);
        const std::size_t caption = info.caption.empty() ? 0 : 1;
        const std::size_t headers = info.headers.size();
        const std::size_t gap = used > 0 ? 1 : 0;
        // Caption and headers stay with the first row.
        const std::size_t start = caption + headers + std::min<std::size_t>(info.rows, 1);
        if (used > 0 && used + gap + start > lines) {
            pages.emplace_back();
            used = 0;
        } else {
            used += gap;
        }
        TablePageSegment segment{g, caption != 0, 0, 0};
        used += caption + headers;
        std::size_t row = 0;
        while (true) {
            // At least one row per page, so that every row is printed even
            // on a page too small for the headers.
            const std::size_t room = used < lines ? lines - used : 0;
            const std::size_t take = std::min(info.rows - row, std::max<std::size_t>(room, 1));
            segment.firstRow = row;
            segment.rowCount = info.rows == 0 ? 0 : take;
            pages.back().push_back(segment);
            row += segment.rowCount;
            used += segment.rowCount;
            if (row >= info.rows) break;
            pages.emplace_back();
            segment = TablePageSegment{g, false, row, 0};
            used = headers;
        }
    }
    return pages;
}

namespace {

// The widths of a grid's columns: the widest of the headers and of up to
// 2000 rows spread over the grid (every row of smaller grids), plus padding.
std::vector<double> ColumnWidths(const Table& table, std::size_t g, const QFontMetricsF& normal,
                                 const QFontMetricsF& bold) {
    const TableGridInfo& info = table.grid(g);
    std::vector<double> widths(info.columns, 0.0);
    for (const auto& header : info.headers)
        for (std::size_t c = 0; c < info.columns && c < header.size(); ++c)
            widths[c] =
                std::max(widths[c], bold.horizontalAdvance(QString::fromStdString(header[c])));
    constexpr std::size_t kSample = 2000;
    const std::size_t step = info.rows <= kSample ? 1 : info.rows / kSample;
    auto measure = [&](std::size_t r) {
        for (std::size_t c = 0; c < info.columns; ++c) {
            const TableCell cell = table.Cell(g, r, c);
            const QFontMetricsF& metrics = cell.marked ? bold : normal;
            widths[c] =
                std::max(widths[c], metrics.horizontalAdvance(QString::fromStdString(cell.text)));
        }
    };
    for (std::size_t r = 0; r < info.rows; r += step) measure(r);
    if (info.rows > 0) measure(info.rows - 1);
    const double pad = normal.averageCharWidth() * 2.0;
    for (double& w : widths) w += pad;
    return widths;
}

}  // namespace

int PrintTable(const Table& table, const std::string& title, QPrinter& printer, Ui* ui) {
    QPainter painter;
    if (!painter.begin(&printer)) return 0;
    QFont font("Helvetica");
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(9.0);
    QFont bold = font;
    bold.setBold(true);
    painter.setFont(font);
    const QFontMetricsF normalMetrics(font, &printer);
    const QFontMetricsF boldMetrics(bold, &printer);

    std::vector<std::vector<double>> widths;
    double widest = 0.0;
    for (std::size_t g = 0; g < table.gridCount(); ++g) {
        widths.push_back(ColumnWidths(table, g, normalMetrics, boldMetrics));
        double total = 0.0;
        for (double w : widths.back()) total += w;
        widest = std::max(widest, total);
    }
    const QRectF area = printer.pageLayout().paintRectPixels(printer.resolution()).toRectF();
    const double pageWidth = area.width();
    const double scale = widest > pageWidth && widest > 0.0 ? pageWidth / widest : 1.0;
    painter.scale(scale, scale);
    const double width = pageWidth / scale;
    const double height = area.height() / scale;
    const double line = std::ceil(boldMetrics.height() * 1.2);
    const double ascent = boldMetrics.ascent() + (line - boldMetrics.height()) / 2.0;
    // The page header takes two lines: its text and a gap.
    const double bodyTop = 2.0 * line;
    const std::size_t linesPerPage =
        height > bodyTop ? static_cast<std::size_t>((height - bodyTop) / line) : 1;

    const auto pages = PaginateTable(table, linesPerPage);
    const auto pageCount = static_cast<unsigned>(pages.size());
    // The printer's page range (1-based) when the user chose one; a range
    // left over from an earlier print does not restrict a later preview.
    const bool range = printer.printRange() == QPrinter::PageRange;
    const unsigned from =
        range && printer.fromPage() > 0 ? static_cast<unsigned>(printer.fromPage()) : 1;
    const unsigned to =
        range && printer.toPage() > 0 ? static_cast<unsigned>(printer.toPage()) : pageCount;
    const unsigned last = std::min(to, pageCount);
    // Thousands of pages (a data-point table) take long and, in the preview,
    // a lot of memory: the user decides.
    constexpr unsigned kAskPages = 500;
    if (ui && last >= from && last - from + 1 > kAskPages &&
        !ui->AskYesNo(Format(str::kManyPages, last - from + 1), str::kShortProductName))
        return 0;
    // A data-point table can run to thousands of pages: show how far it got.
    constexpr unsigned kProgressPages = 50;
    std::unique_ptr<ProgressWindow> progress;
    if (ui && last >= from && last - from + 1 >= kProgressPages) {
        progress = ui->CreateProgress();
        progress->SetRange(static_cast<int>(last - from + 1));
    }
    bool first = true;
    for (unsigned p = from; p <= last; ++p) {
        if (!first) printer.newPage();
        first = false;
        if (progress && (p - from) % 10 == 0) {
            char text[96];
            std::snprintf(text, sizeof text, str::kPrintingPage, p, pageCount);
            progress->SetText(text);
            progress->SetPos(static_cast<int>(p - from));
        }
        painter.setFont(bold);
        painter.drawText(QPointF(0.0, ascent),
                         QString::fromStdString(PageHeader(title, p, pageCount)));
        double y = bodyTop;
        bool previous = false;
        for (const TablePageSegment& segment : pages[p - 1]) {
            const TableGridInfo& info = table.grid(segment.grid);
            const std::vector<double>& columns = widths[segment.grid];
            if (previous) y += line;
            previous = true;
            painter.setFont(bold);
            if (segment.caption) {
                painter.drawText(QPointF(0.0, y + ascent), QString::fromStdString(info.caption));
                y += line;
            }
            for (const auto& header : info.headers) {
                double x = 0.0;
                for (std::size_t c = 0; c < columns.size(); ++c) {
                    if (c < header.size())
                        painter.drawText(QPointF(x + normalMetrics.averageCharWidth(), y + ascent),
                                         QString::fromStdString(header[c]));
                    x += columns[c];
                }
                y += line;
            }
            if (!info.headers.empty()) {
                double right = 0.0;
                for (double w : columns) right += w;
                painter.drawLine(QPointF(0.0, y), QPointF(std::min(width, right), y));
            }
            painter.setFont(font);
            for (std::size_t r = segment.firstRow; r < segment.firstRow + segment.rowCount; ++r) {
                double x = 0.0;
                for (std::size_t c = 0; c < columns.size(); ++c) {
                    const TableCell cell = table.Cell(segment.grid, r, c);
                    const QString text = QString::fromStdString(cell.text);
                    if (cell.marked) {
                        painter.fillRect(QRectF(x, y, columns[c], line), kMarkedBackground);
                        painter.setFont(bold);
                    }
                    const QFontMetricsF& metrics = cell.marked ? boldMetrics : normalMetrics;
                    const double left =
                        cell.date ? x + (columns[c] - metrics.horizontalAdvance(text)) / 2.0
                                  : x + normalMetrics.averageCharWidth();
                    painter.drawText(QPointF(left, y + ascent), text);
                    if (cell.marked) painter.setFont(font);
                    x += columns[c];
                }
                y += line;
            }
        }
    }
    painter.end();
    return static_cast<int>(pageCount);
}

}  // namespace kov
