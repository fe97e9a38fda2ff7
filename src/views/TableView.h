#pragma once
// CTableView: the window of a table document. Each grid of the table (one
// for most types; the PCC block, the summary and the detail table for
// IEEE 519) is a QTableView over a model that asks the table for the cells
// in sight only, so a data-point table of millions of rows opens and scrolls
// at once. Header rows are the column headers (two lines for the switching
// table); cells over a limit are drawn red on light red; date cells are
// centred. CTable519View adds the editable PCC settings.
//
// Printing and the clipboard text work from the table alone (PrintTable,
// TableClipText), so a document prints whether or not its window is shown.

#include <QAbstractTableModel>
#include <QString>
#include <QWidget>
#include <string>
#include <vector>

#include "analysis/Tables.h"

class QLabel;
class QLineEdit;
class QPrinter;
class QTableView;
class QVBoxLayout;

namespace kov {

class CTableDoc;
class CTable519Doc;
class Ui;

// One grid of a table as a Qt model.
class CTableGridModel : public QAbstractTableModel {
    Q_OBJECT
public:
    CTableGridModel(const Table& table, std::size_t grid, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    // The column's header rows, one per line.
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    std::size_t grid() const { return grid_; }

private:
    const TableCell& CellAt(int row, int column) const;

    const Table& table_;
    std::size_t grid_;
    int rows_;
    int columns_;
    // The view asks for several roles of one cell in a row: keep the last.
    mutable int cachedRow_ = -1;
    mutable int cachedColumn_ = -1;
    mutable TableCell cached_;
};

class CTableView : public QWidget {
    Q_OBJECT
public:
    explicit CTableView(CTableDoc& doc, QWidget* parent = nullptr);

    CTableDoc& document() const { return doc_; }
    // Shows the document's table afresh (after it was computed again).
    virtual void Build();

    std::size_t gridCount() const { return grids_.size(); }
    QTableView* grid(std::size_t index) const { return grids_.at(index); }
    // The clipboard text: the selected cells of the grid that has a
    // selection (the focused grid first), else every grid whole.
    QString ClipText() const;
    // The lines ClipText would make.
    std::size_t ClipRows() const;

protected:
    // Where subclasses put their own controls above the grids.
    QVBoxLayout* layout() const { return layout_; }

private:
    // The grid whose selection Copy takes, or null when none has one.
    QTableView* SelectionGrid() const;

    CTableDoc& doc_;
    QVBoxLayout* layout_ = nullptr;
    QWidget* gridArea_ = nullptr;
    std::vector<QTableView*> grids_;
};

// The IEEE 519 table with its PCC settings: "PCC Bus Voltage", "PCC Short
// Circuit MVA", "Avg. Max Demand kVA" and "I*T Limit"; Apply hands them to
// the document, which recomputes the table when one of them changed.
class CTable519View : public CTableView {
    Q_OBJECT
public:
    explicit CTable519View(CTable519Doc& doc, QWidget* parent = nullptr);

    void Build() override;
    // Reads the four fields and hands them to the document; a field that is
    // not a number, or values the document refuses, are reported and
    // nothing changes. False then.
    bool Apply();

    QLineEdit* volts() const { return fields_[0]; }
    QLineEdit* mva() const { return fields_[1]; }
    QLineEdit* kva() const { return fields_[2]; }
    QLineEdit* itLimit() const { return fields_[3]; }

private:
    CTable519Doc& doc519_;
    QLineEdit* fields_[4] = {};
    QString shown_[4];  // the texts last written to the fields
};

// The text the clipboard gets for a whole table: for each grid its caption
// (when it has one), its header rows and its body rows, columns separated
// by tabs, each line ending in "\n", a blank line between grids.
QString TableClipText(const Table& table);
// The lines of TableClipText.
std::size_t TableClipLines(const Table& table);
// More lines than this are not put on the clipboard (a data-point table can
// hold millions of rows; File Export writes those).
inline constexpr std::size_t kClipboardLineLimit = 200000;

// Prints a table: every page headed "<title>   Page n of m", the grids row
// by row below it, each grid's header rows repeated at the top of every page
// it continues on; date columns centred, the others left-aligned; columns
// sized to their texts and the whole scaled down when wider than the page.
// Prints the printer's page range when one is set. With a Ui, a print of
// many pages shows the progress window. Returns the page count.
int PrintTable(const Table& table, const std::string& title, QPrinter& printer, Ui* ui = nullptr);

// "%s   Page %u of %u".
std::string PageHeader(const std::string& title, unsigned page, unsigned pages);

// A page of a printed table: the parts of grids it shows.
struct TablePageSegment {
    std::size_t grid = 0;
    bool caption = false;  // the grid's caption line first
    std::size_t firstRow = 0;
    std::size_t rowCount = 0;
};
// Splits the grids into pages of `linesPerPage` lines: a grid's caption and
// headers are kept with at least one body row; its header rows are repeated
// on every page it continues on; grids are separated by one blank line.
std::vector<std::vector<TablePageSegment>> PaginateTable(const Table& table,
                                                         std::size_t linesPerPage);

}  // namespace kov
