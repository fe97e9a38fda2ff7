#pragma once
// CTableDoc: a table window's document. It holds the items tabulated in the
// order they were selected (raising each item's inUse while it shows them)
// and the Table computed from them, which it computes again when an item
// changes (Rebuild) and, for the IEEE 519 table, when the PCC settings
// change. CTableView shows it.
//
// The table types differ only in what the Table computes, so one document
// class serves them all; CTable519Doc adds the PCC settings, kept in the
// settings file section "IEEE519Table".

#include <QPointer>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "analysis/Tables.h"
#include "views/Kov32Doc.h"

namespace kov {

class CTableView;
class Profile;
class Ui;

class CTableDoc : public CKov32Doc {
public:
    // Takes the items (in selection order) and computes the table; `pcc`
    // serves the IEEE 519 table.
    CTableDoc(TableType type, std::span<StackObject* const> items, Ui& ui,
              const Ieee519Settings& pcc = {});
    ~CTableDoc() override;
    CTableDoc(const CTableDoc&) = delete;
    CTableDoc& operator=(const CTableDoc&) = delete;

    TableType type() const { return type_; }
    const std::vector<StackObject*>& items() const { return items_; }
    const Table& table() const { return *table_; }
    // How many times the table has been computed (1 after construction).
    int builds() const { return builds_; }

    bool ShowsItem(const StackObject* item) const override;
    // Computes the table again from the items and the current preferences
    // and shows it.
    int Rebuild() override;
    // A table has nothing cheaper to recompute than the whole table.
    void RefreshData() override { Rebuild(); }
    QWidget* Window() override;
    bool CanPrint() const override { return true; }
    void Print(QPrinter& printer) override;
    // The selected cells of the table window, or the whole table, as text.
    void Copy() override;
    ExportKind exportKind() const override { return ExportKind::Table; }
    bool WriteText(const std::string& path, char separator) override;

    // The table type and the first item's title: the window title and the
    // header of printed pages.
    std::string Title() const;
    // The view, or null once its window has gone.
    CTableView* view() const { return window_ ? view_ : nullptr; }
    Ui& ui() const { return ui_; }

    // The options the table is computed with: the harmonic preferences and
    // the PCC settings.
    TableOptions Options() const;

protected:
    virtual CTableView* MakeView();
    // Computes the table again and shows it.
    void Build();

    Ieee519Settings pcc_;

private:
    TableType type_;
    Ui& ui_;
    std::vector<StackObject*> items_;
    // Shared with a print in progress, which keeps the table it started with
    // should the document be rebuilt meanwhile.
    std::shared_ptr<const Table> table_;
    int builds_ = 0;
    CTableView* view_ = nullptr;
    QPointer<QWidget> window_;  // tells when the view has been deleted
};

// The IEEE 519 current-limit table. Its PCC settings are read from the
// profile when it opens and written back when it closes.
class CTable519Doc : public CTableDoc {
public:
    CTable519Doc(std::span<StackObject* const> items, Profile& profile, Ui& ui);
    ~CTable519Doc() override;

    const Ieee519Settings& pcc() const { return pcc_; }
    Profile& profile() const { return profile_; }
    // Takes new PCC settings: recomputes and redraws only when one of the
    // four values changed. Values that make no physical sense (a voltage,
    // short-circuit power or demand not above 0, a negative I*T limit, a
    // value that is not a finite number) are refused: false, nothing changes.
    bool SetPCC(double volts, double mva, double kva, double itLimit);

protected:
    CTableView* MakeView() override;

private:
    Profile& profile_;
};

// The PCC settings of the profile; a value that SetPCC would refuse gives
// way to its default.
Ieee519Settings LoadPccSettings(const Profile& profile);

// Makes the document of a table type: CTable519Doc for the IEEE 519 table.
std::unique_ptr<CTableDoc> MakeTableDoc(TableType type, std::span<StackObject* const> items,
                                        Profile& profile, Ui& ui);

}  // namespace kov
