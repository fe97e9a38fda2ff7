#include "views/TableDoc.h"

#include <QApplication>
#include <QClipboard>
#include <algorithm>
#include <cmath>
#include <utility>

#include "platform/Profile.h"
#include "platform/Strings.h"
#include "platform/Text.h"
#include "platform/Ui.h"
#include "stack/StackObject.h"
#include "views/GraphDoc.h"
#include "views/TableView.h"

namespace kov {

CTableDoc::CTableDoc(TableType type, std::span<StackObject* const> items, Ui& ui,
                     const Ieee519Settings& pcc)
    : pcc_(pcc), type_(type), ui_(ui) {
    for (StackObject* item : items) {
        if (!item) continue;
        ++item->inUse;
        items_.push_back(item);
    }
    Build();
}

CTableDoc::~CTableDoc() {
    for (StackObject* item : items_)
        if (item->inUse > 0) --item->inUse;
}

TableOptions CTableDoc::Options() const {
    const GraphPreferences& prefs = AppPreferences();
    TableOptions options;
    options.highestHarmonic = prefs.highestHarmonic;
    options.evenHarmonics = prefs.evenHarmonics != 0;
    options.pcc = pcc_;
    return options;
}

void CTableDoc::Build() {
    const std::vector<const StackObject*> items(items_.begin(), items_.end());
    std::shared_ptr<const Table> fresh = BuildTable(type_, items, Options());
    // The view's grids refer to the table they show: the old table stays
    // until the view has let go of it.
    std::shared_ptr<const Table> old = std::exchange(table_, std::move(fresh));
    ++builds_;
    if (view()) view_->Build();
}

bool CTableDoc::ShowsItem(const StackObject* item) const {
    return std::find(items_.begin(), items_.end(), item) != items_.end();
}

int CTableDoc::Rebuild() {
    WaitCursor wait(ui_);
    Build();
    return 1;
}

CTableView* CTableDoc::MakeView() {
    return new CTableView(*this);
}

QWidget* CTableDoc::Window() {
    if (!view()) {
        view_ = MakeView();
        window_ = view_;
        view_->setWindowTitle(QString::fromStdString(Title()));
        view_->Build();
    }
    return view_;
}

std::string CTableDoc::Title() const {
    std::string title = TableTypeName(type_);
    if (!items_.empty()) title += " - " + items_.front()->GetTitle();
    return title;
}

void CTableDoc::Print(QPrinter& printer) {
    WaitCursor wait(ui_);
    const std::shared_ptr<const Table> table = table_;
    PrintTable(*table, Title(), printer, &ui_);
}

void CTableDoc::Copy() {
    const std::size_t lines = view() ? view_->ClipRows() : TableClipLines(*table_);
    if (lines > kClipboardLineLimit) {
        ui_.MessageBox(Format(str::kClipboardTooLarge, lines), str::kShortProductName,
                       Icon::Exclamation);
        return;
    }
    WaitCursor wait(ui_);
    const QString text = view() ? view_->ClipText() : TableClipText(*table_);
    QApplication::clipboard()->setText(text);
}

bool CTableDoc::WriteText(const std::string& path, char separator) {
    WaitCursor wait(ui_);
    return table_->WriteText(path, separator);
}

// ------------------------------------------------------------------ IEEE 519

Ieee519Settings LoadPccSettings(const Profile& profile) {
    Ieee519Settings loaded;
    loaded.Load(profile);
    const Ieee519Settings defaults;
    Ieee519Settings checked = defaults;
    // Each value on its own: one bad entry does not lose the others.
    auto take = [](double value, double& into, bool allowZero) {
        if (std::isfinite(value) && (value > 0.0 || (allowZero && value == 0.0))) into = value;
    };
    take(loaded.pccVolts, checked.pccVolts, false);
    take(loaded.pccMva, checked.pccMva, false);
    take(loaded.maxDemandKva, checked.maxDemandKva, false);
    take(loaded.itLimit, checked.itLimit, true);
    return checked;
}

CTable519Doc::CTable519Doc(std::span<StackObject* const> items, Profile& profile, Ui& ui)
    : CTableDoc(TableType::Ieee519, items, ui, LoadPccSettings(profile)), profile_(profile) {}

CTable519Doc::~CTable519Doc() {
    pcc_.Save(profile_);
}

bool CTable519Doc::SetPCC(double volts, double mva, double kva, double itLimit) {
    const Ieee519Settings wanted{volts, mva, kva, itLimit};
    if (!wanted.Valid()) return false;
    if (wanted == pcc_) return true;
    pcc_ = wanted;
    Rebuild();
    return true;
}

CTableView* CTable519Doc::MakeView() {
    return new CTable519View(*this);
}

std::unique_ptr<CTableDoc> MakeTableDoc(TableType type, std::span<StackObject* const> items,
                                        Profile& profile, Ui& ui) {
    if (type == TableType::Ieee519) return std::make_unique<CTable519Doc>(items, profile, ui);
    return std::make_unique<CTableDoc>(type, items, ui);
}

}  // namespace kov
