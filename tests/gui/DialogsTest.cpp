// The dialogs of the application shell, driven directly: the COMTRADE load
// dialog, the discard dialog and its stack list, the units and per-unit
// dialogs, and the progress window.

#include <QButtonGroup>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

#include "analysis/SpectrumStackObject.h"
#include "analysis/dialogs/UnitsDialogs.h"
#include "app/QtUi.h"
#include "gui/GuiSupport.h"
#include "platform/RecordingUi.h"
#include "platform/Strings.h"
#include "readers/comtrade/ComtradeDataFile.h"
#include "readers/dialogs/LoadComtradeDialog.h"
#include "readers/dialogs/QuantityList.h"
#include "stack/Stack.h"
#include "stack/WaveStackObject.h"
#include "stack/dialogs/DeleteStackDialog.h"
#include "stack/dialogs/StackListBox.h"
#include "support/TestSupport.h"

namespace kov {

namespace {

using test::KeepScreenshot;

// A 1999 record with two analog channels and one digital channel.
void WriteRecord(const std::filesystem::path& dir, bool withHeader = true) {
    test::WriteFile(dir / "rec.cfg",
                    "SUB 1,12,1999\r\n3,2A,1D\r\n"
                    "1,VA,A,,V,1,0,0,-100,100,1,1,P\r\n"
                    "2,IA,A,,A,1,0,0,-100,100,1,1,P\r\n"
                    "1,TRIP,0\r\n60\r\n1\r\n1000,2\r\n"
                    "01/02/2026,10:00:00.000000\r\n01/02/2026,10:00:00.050000\r\nASCII\r\n1\r\n");
    test::WriteFile(dir / "rec.dat", "1,0,1,2,0\r\n2,1000,3,4,1\r\n");
    if (withHeader) test::WriteFile(dir / "rec.hdr", "Fault on feeder 7\r\nRelay 21\r\n");
}

std::unique_ptr<ComtradeDataFile> OpenRecord(const std::filesystem::path& cfg) {
    auto reader = std::make_unique<ComtradeDataFile>();
    reader->SetPath(cfg.string());
    std::FILE* file = std::fopen(cfg.c_str(), "rb");
    if (!file) return nullptr;
    const bool ok = reader->CheckFile(file) == 0 && reader->ReadHeader(file);
    std::fclose(file);
    return ok ? std::move(reader) : nullptr;
}

std::unique_ptr<WaveStackObject> Wave(const char* name, std::uint16_t unit = kUnitVoltage) {
    auto wave = std::make_unique<WaveStackObject>();
    wave->Init("", "DERIVED", name, "", "", "", "WAVE");
    wave->axisUnits[kAxisY].unitId = unit;
    return wave;
}

QPushButton* Button(QWidget* dialog, const QString& text) {
    for (QPushButton* b : dialog->findChildren<QPushButton*>())
        if (b->text() == text) return b;
    return nullptr;
}

}  // namespace

class DialogsTest : public QObject {
    Q_OBJECT
private slots:
    void comtradeDialogShowsTheRecord() {
        test::TempDir dir;
        WriteRecord(dir.path());
        auto reader = OpenRecord(dir / "rec.cfg");
        QVERIFY(reader);
        RecordingUi ui;
        Stack stack(ui);
        CLoadComtradeDialog dialog(*reader, stack, ui);
        QCOMPARE(dialog.windowTitle(), QString("Load COMTRADE Data"));
        QVERIFY(dialog.headerText()->toPlainText().startsWith("Fault on feeder 7"));
        QVERIFY(dialog.headerText()->isReadOnly());
        // The whole header text is selected.
        QCOMPARE(dialog.headerText()->textCursor().selectedText().size(),
                 dialog.headerText()->toPlainText().size());
        QCOMPARE(dialog.station()->text(), QString("SUB 1, 12"));
        QCOMPARE(dialog.startTime()->text(), QString("01/02/2026 10:00:00.000000"));
        QCOMPARE(dialog.triggerTime()->text(), QString("01/02/2026 10:00:00.050000"));
        for (const char* label : {"Header File Text:", "Station Name and ID:", "Start Time:",
                                  "Trigger Time:", "Quantities:"}) {
            bool found = false;
            for (QLabel* l : dialog.findChildren<QLabel*>()) found |= l->text() == label;
            QVERIFY2(found, label);
        }
        QVERIFY(Button(&dialog, "&All") && Button(&dialog, "&None"));
        QVERIFY(Button(&dialog, "&Ok") && Button(&dialog, "&Cancel"));
        CQuantityList* list = dialog.lists().at(0);
        QCOMPARE(list->count(), 3);
        QCOMPARE(list->item(0)->text(), QString("1 A VA"));
        QCOMPARE(list->item(2)->text(), QString("1 TRIP"));
        const QImage image = dialog.grab().toImage();
        QVERIFY(!image.isNull() && image.width() > 300);
        KeepScreenshot(image, "kov-load-comtrade.png");
    }

    void comtradeDialogWithoutHeaderFileCarriesOn() {
        test::TempDir dir;
        WriteRecord(dir.path(), false);
        auto reader = OpenRecord(dir / "rec.cfg");
        QVERIFY(reader);
        RecordingUi ui;
        Stack stack(ui);
        CLoadComtradeDialog dialog(*reader, stack, ui);
        QVERIFY(dialog.headerText()->toPlainText().isEmpty());
        QCOMPARE(dialog.lists().at(0)->count(), 3);
    }

    void linesOnTheStackAreGreyAndRefused() {
        test::TempDir dir;
        WriteRecord(dir.path());
        auto reader = OpenRecord(dir / "rec.cfg");
        QVERIFY(reader);
        RecordingUi ui;
        Stack stack(ui);
        LoadChoice first;
        first.indexes = {1};
        QVERIFY(reader->LoadChoice(stack, ui, first));
        QCOMPARE(stack.size(), std::size_t{1});

        CLoadComtradeDialog dialog(*reader, stack, ui);
        CQuantityList* list = dialog.lists().at(0);
        QVERIFY(list->IsOnStack(1));
        QVERIFY(!list->IsOnStack(0));
        QCOMPARE(list->item(1)->background().color(), QColor(0xD3, 0xD3, 0xD3));
        list->item(1)->setSelected(true);
        QCOMPARE(ui.beeps, 1);
        QVERIFY(!list->item(1)->isSelected());

        Button(&dialog, "&All")->click();
        QVERIFY(list->item(0)->isSelected() && list->item(2)->isSelected());
        QVERIFY(!list->item(1)->isSelected());
        QCOMPARE(dialog.Choice().indexes, (std::vector<std::size_t>{0, 2}));
        Button(&dialog, "&None")->click();
        QVERIFY(list->selectedItems().isEmpty());
    }

    void okWithoutSelectionEndsAsCancel() {
        test::TempDir dir;
        WriteRecord(dir.path());
        auto reader = OpenRecord(dir / "rec.cfg");
        RecordingUi ui;
        Stack stack(ui);
        CLoadComtradeDialog dialog(*reader, stack, ui);
        QTimer::singleShot(0, &dialog, [&] { Button(&dialog, "&Ok")->click(); });
        QVERIFY(!dialog.RunForChoice().has_value());

        CLoadComtradeDialog again(*reader, stack, ui);
        QTimer::singleShot(0, &again, [&] {
            again.lists().at(0)->item(2)->setSelected(true);
            Button(&again, "&Ok")->click();
        });
        const auto choice = again.RunForChoice();
        QVERIFY(choice.has_value());
        QCOMPARE(choice->indexes, std::vector<std::size_t>{2});
    }

    void stackListFillsByKindAndUnit() {
        RecordingUi ui;
        Stack stack(ui);
        CStackListBox empty(stack);
        QCOMPARE(empty.Fill(0, true, true, 0), 0);
        QVERIFY(empty.selectedItems().isEmpty());

        stack.Add(Wave("volts"));
        stack.Add(Wave("amps", kUnitCurrent));
        auto spectrum = std::make_unique<SpectrumStackObject>();
        spectrum->Init("", "DERIVED", "spec", "", "", "", "SPEC");
        stack.Add(std::move(spectrum));

        CStackListBox list(stack);
        QCOMPARE(list.Fill(0, true, false, 0), 3);
        QVERIFY(list.selectedItems().isEmpty());
        QCOMPARE(list.Fill(kKindWave, true, true, 0), 2);
        QCOMPARE(list.SelectedItems(), std::vector<StackObject*>{stack.at(0)});
        QCOMPARE(list.Fill(kKindWave, true, false, kUnitCurrent), 1);
        QCOMPARE(list.ItemAt(0), stack.at(1));
        // Without clearing, lines are added after those already there.
        QCOMPARE(list.Fill(kKindSpectrum, false, false, 0), 1);
        QCOMPARE(list.count(), 2);
        // Columns: six tab-separated fields, empty ones a single space.
        QCOMPARE(list.item(0)->text().count('\t'), 5);
        QCOMPARE(list.tabStops().size(), std::size_t{6});
        QVERIFY(std::is_sorted(list.tabStops().begin(), list.tabStops().end()));
    }

    void discardDialogRemovesTheChosenItems() {
        RecordingUi ui;
        Stack stack(ui);
        stack.Add(Wave("a"));
        stack.Add(Wave("b"));
        stack.Add(Wave("c"));
        QTimer::singleShot(0, [] {
            auto* dialog = qobject_cast<CDeleteStackDialog*>(QApplication::activeModalWidget());
            QVERIFY(dialog);
            QCOMPARE(dialog->windowTitle(), QString("Select Quantities to be Discarded"));
            for (const char* text : {"&All", "&None", "&Ok", "&Cancel", "&Help"})
                QVERIFY2(Button(dialog, text), text);
            QCOMPARE(dialog->list()->count(), 3);
            Button(dialog, "&All")->click();
            KeepScreenshot(dialog->grab().toImage(), "kov-discard.png");
            dialog->list()->item(1)->setSelected(false);
            Button(dialog, "&Ok")->click();
        });
        QCOMPARE(CDeleteStackDialog::Run(stack, nullptr), 2);
        QCOMPARE(stack.size(), std::size_t{1});
        QCOMPARE(QString::fromStdString(stack.at(0)->namePart1()).trimmed(), QString("b"));

        QTimer::singleShot(0, [] {
            auto* dialog = qobject_cast<CDeleteStackDialog*>(QApplication::activeModalWidget());
            QVERIFY(dialog);
            Button(dialog, "&All")->click();
            Button(dialog, "&Cancel")->click();
        });
        QCOMPARE(CDeleteStackDialog::Run(stack, nullptr), 0);
        QCOMPARE(stack.size(), std::size_t{1});
    }

    void unitsDialogRefusesOtherKindsAndApplies() {
        RecordingUi ui;
        Stack stack(ui);
        stack.Add(Wave("v1"));
        auto spectrum = std::make_unique<SpectrumStackObject>();
        spectrum->Init("", "DERIVED", "spec", "", "", "", "SPEC");
        stack.Add(std::move(spectrum));
        stack.Add(Wave("v2"));
        std::vector<StackObject*> applied;
        CUnitsDialog dialog(stack, ui, [&](const auto& items) { applied = items; });
        QCOMPARE(dialog.windowTitle(), QString("X vs Y Type Data Units"));
        for (const char* text : {"&Apply", "&Exit", "&Help"}) QVERIFY2(Button(&dialog, text), text);
        QCOMPARE(dialog.unitNames()->count(), 25);
        QCOMPARE(dialog.unitNames()->item(1)->text(), QString("Voltage,Volts,V"));
        QCOMPARE(dialog.prefixes()->buttons().size(), 8);
        QCOMPARE(dialog.prefixes()->button(kPrefixNone)->text(), QString("No Prefix"));

        // Nothing selected: the controls are off and Apply only beeps.
        QVERIFY(!dialog.unitNames()->isEnabled());
        Button(&dialog, "&Apply")->click();
        QCOMPARE(ui.beeps, 1);

        dialog.stackList()->item(0)->setSelected(true);
        QVERIFY(dialog.unitNames()->isEnabled());
        QCOMPARE(dialog.axisList()->count(), 2);
        QCOMPARE(dialog.axisList()->item(1)->text(), QString("Y Axis Mag"));
        QCOMPARE(dialog.axisList()->currentRow(), 1);  // the y axis
        // A spectrum cannot join a selection of waveforms.
        dialog.stackList()->item(1)->setSelected(true);
        QCOMPARE(ui.beeps, 2);
        QVERIFY(!dialog.stackList()->item(1)->isSelected());
        dialog.stackList()->item(2)->setSelected(true);
        QCOMPARE(ui.beeps, 2);

        dialog.prefixes()->button(kPrefixKilo)->click();
        dialog.unitNames()->setCurrentRow(kUnitVoltage - kFirstUnitId);
        QCOMPARE(dialog.sampleLabel()->text(), QString("kV"));
        KeepScreenshot(dialog.grab().toImage(), "kov-units.png");
        QCOMPARE(dialog.multiplier()->text(), QString("1e+03"));
        // Nothing is written before Apply.
        QCOMPARE(stack.at(0)->axisUnits[kAxisY].code, std::uint16_t{kPrefixNone});
        Button(&dialog, "&Apply")->click();
        QCOMPARE(applied.size(), std::size_t{2});
        for (StackObject* item : {stack.at(0), stack.at(2)}) {
            QCOMPARE(item->axisUnits[kAxisY].code, std::uint16_t{kPrefixKilo});
            QCOMPARE(item->axisUnits[kAxisY].unitId, std::uint16_t{kUnitVoltage});
            QCOMPARE(item->axisUnits[kAxisY].multiplier, 1000.0);
        }
        QCOMPARE(stack.at(1)->axisUnits[kAxisY].code, std::uint16_t{kPrefixNone});
        QVERIFY(ui.messages.empty());

        // Deselecting everything disables the controls again.
        dialog.stackList()->clearSelection();
        QVERIFY(!dialog.unitNames()->isEnabled());
        QVERIFY(dialog.sampleLabel()->text().isEmpty());
    }

    void perUnitDialogTypingChecksPerUnitize() {
        RecordingUi ui;
        Stack stack(ui);
        stack.Add(Wave("v1"));
        stack.Add(Wave("v2"));
        CPerUnitDialog dialog(stack, ui);
        QCOMPARE(dialog.windowTitle(), QString("Set Per-Unit Base Quantities"));
        QCOMPARE(dialog.perUnitize()->text(), QString("Per Unitize"));
        QCOMPARE(dialog.factors()->button(2)->text(), QString("sqrt(2)/sqrt(3)"));
        Button(&dialog, "&Apply")->click();
        QCOMPARE(ui.beeps, 1);

        dialog.stackList()->selectAll();
        QCOMPARE(dialog.axisList()->currentRow(), 1);
        QCOMPARE(dialog.baseValue()->text(), QString("1"));
        QVERIFY(!dialog.perUnitize()->isChecked());
        dialog.baseValue()->selectAll();
        QTest::keyClicks(dialog.baseValue(), "12470");
        QVERIFY(dialog.perUnitize()->isChecked());
        dialog.factors()->button(2)->click();
        KeepScreenshot(dialog.grab().toImage(), "kov-perunit.png");

        // Moving to the x axis keeps what was shown for the y axis.
        dialog.axisList()->setCurrentRow(0);
        QVERIFY(!dialog.perUnitize()->isChecked());
        QCOMPARE(dialog.editor().records()[kAxisY].value, 12470.0);
        QVERIFY(dialog.editor().records()[kAxisY].set);
        // Letters cannot be typed as a base value.
        QTest::keyClicks(dialog.baseValue(), "abc");
        QCOMPARE(dialog.baseValue()->text(), QString("1"));

        Button(&dialog, "&Apply")->click();
        for (std::size_t i = 0; i < 2; ++i) {
            const PerUnitBase& base = stack.at(i)->perUnitBase[kAxisY];
            QVERIFY(base.set);
            QCOMPARE(base.value, 12470.0);
            QCOMPARE(base.factor, std::uint16_t{2});
        }
        QVERIFY(ui.messages.empty());
    }

    void progressWindow() {
        CProgressDialog progress(nullptr);
        QCOMPARE(progress.windowTitle(), QString::fromUtf8(str::kProgressTitle));
        QVERIFY(progress.isVisible());
        QVERIFY(!progress.isModal());
        auto* text = progress.findChild<QLabel*>();
        auto* bar = progress.findChild<QProgressBar*>();
        QCOMPARE(text->text(), QString("Page Number"));
        progress.SetRange(0);  // ignored
        QCOMPARE(bar->maximum(), 100);
        progress.SetRange(40);
        QCOMPARE(bar->maximum(), 40);
        progress.SetPos(10);
        progress.SetPos(-1);  // ignored
        QCOMPARE(bar->value(), 10);
        progress.SetText("Record 3");
        progress.SetTitle("KOV - Reading PQDIF Records");
        QCOMPARE(text->text(), QString("Record 3"));
        QCOMPARE(progress.windowTitle(), QString("KOV - Reading PQDIF Records"));
    }
};

}  // namespace kov

QTEST_MAIN(kov::DialogsTest)
#include "DialogsTest.moc"
