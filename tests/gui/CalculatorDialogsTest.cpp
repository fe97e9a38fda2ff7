// The calculator, its option dialogs and the expression evaluator, driven
// directly (messages recorded) and through the main window's commands.

#include <QAction>
#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMdiArea>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QtTest>
#include <cmath>
#include <memory>

#include "analysis/Calculator.h"
#include "analysis/ExpressionEvaluator.h"
#include "analysis/ExpressionLibrary.h"
#include "analysis/dialogs/ExpressionDialog.h"
#include "analysis/dialogs/KovCalcDialog.h"
#include "analysis/dialogs/ParameterDialogs.h"
#include "app/MainWindow.h"
#include "gui/GuiSupport.h"
#include "platform/IniProfile.h"
#include "platform/RecordingUi.h"
#include "stack/Stack.h"
#include "stack/WaveStackObject.h"
#include "stack/dialogs/StackListBox.h"
#include "support/TestSupport.h"
#include "views/GraphDoc.h"
#include "views/ViewCommands.h"

namespace kov {

namespace {

using test::KeepScreenshot;

// A waveform of the given values at 0, 1, 2, ... ms.
std::unique_ptr<WaveStackObject> Wave(const char* part1, const char* part2,
                                      const std::vector<float>& y) {
    std::vector<float> x(y.size());
    for (std::size_t i = 0; i < x.size(); ++i) x[i] = static_cast<float>(i) * 0.001f;
    auto wave = std::make_unique<WaveStackObject>();
    wave->axisUnits[kAxisY].unitId = kUnitVoltage;
    wave->SetSamples(FloatArray(x), FloatArray(y));
    wave->Init("/tmp/rec.cfg", "rec", part1, part2, "", "", "WAVE");
    wave->Finish();
    return wave;
}

std::vector<float> Ys(const StackObject* item) {
    const auto& p = dynamic_cast<const PlotableStackObject&>(*item);
    return {p.yValues.values().begin(), p.yValues.values().end()};
}

std::vector<float> Xs(const StackObject* item) {
    const auto& p = dynamic_cast<const PlotableStackObject&>(*item);
    return {p.xValues.values().begin(), p.xValues.values().end()};
}

template <class W>
W* Find(QWidget* dialog, const QString& text) {
    for (W* w : dialog->findChildren<W*>())
        if (w->text() == text) return w;
    return nullptr;
}

bool HasGroup(QWidget* dialog, const QString& title) {
    for (QGroupBox* g : dialog->findChildren<QGroupBox*>())
        if (g->title() == title) return true;
    return false;
}

// Selects an operation by its name in the calculator's list.
void ChooseOperation(CKovCalcDialog& d, const char* name) {
    const auto found = d.operations()->findItems(name, Qt::MatchExactly);
    QVERIFY2(found.size() == 1, name);
    d.operations()->setCurrentItem(found.front());
}

void SetNames(CKovCalcDialog& d, std::array<const char*, 4> parts) {
    for (std::size_t i = 0; i < 4; ++i) d.namePart(i)->setText(parts[i]);
}

// Runs `work` on the modal dialog of type D that the next exec opens, then
// closes it if it is still open (so a failed check never leaves the test
// waiting). The returned flag tells whether such a dialog was found.
template <class D, class F>
std::shared_ptr<bool> WhenModal(F work) {
    auto seen = std::make_shared<bool>(false);
    QTimer::singleShot(0, [seen, work] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (auto* d = qobject_cast<D*>(dialog)) {
            *seen = true;
            work(*d);
        }
        if (dialog && dialog->isVisible()) dialog->done(QDialog::Rejected);
    });
    return seen;
}

// Answers No to any message box of the main window's Ui and keeps its text,
// so that a message in the command flow fails the test instead of waiting.
class MessageBoxGuard {
public:
    MessageBoxGuard() {
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                texts.push_back(box->text());
                box->done(QMessageBox::No);
            }
        });
        timer_.start(50);
    }
    QStringList texts;

private:
    QTimer timer_;
};

class Frame : public CMainFrame {
public:
    ~Frame() override {
        mdiArea()->closeAllSubWindows();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
};

}  // namespace

class CalculatorDialogsTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { std::filesystem::remove(IniProfile::DefaultPath()); }

    void calculatorOpensOnTheStackAndAddsInCurveMode() {
        RecordingUi ui;
        Stack stack(ui);
        stack.Add(Wave("VA", "BUS1", {1, 2, 3, 4}));
        stack.Add(Wave("VB", "BUS2", {10, 20, 30, 40}));
        CalculatorRecords records;
        CKovCalcDialog d(stack, ui, records);
        QCOMPARE(d.windowTitle(), QString("Kov Calc"));
        for (const char* text : {"&Options..", "&Do", "&Exit", "&Help"})
            QVERIFY2(Find<QPushButton>(&d, text), text);
        for (const char* text :
             {"Stack Argument #1", "Stack Argument #2", "Operations:", "New Name: ("})
            QVERIFY2(Find<QLabel>(&d, text), text);
        QCOMPARE(d.constantMode()->text(), QString("&Constant:"));
        QCOMPARE(d.curveMode()->text(), QString("Cur&ve"));
        QVERIFY(d.isModal());

        // Opening: every item, the first selected; constant mode, list 2 empty.
        QCOMPARE(d.firstList()->count(), 2);
        QCOMPARE(d.firstList()->SelectedItems(), std::vector<StackObject*>{stack.at(0)});
        QVERIFY(d.constantMode()->isChecked());
        QCOMPARE(d.secondList()->count(), 0);
        QCOMPARE(d.operations()->count(), 29);
        QCOMPARE(d.operations()->item(0)->text(), QString("Add"));
        QCOMPARE(d.operations()->item(4)->text(), QString("Negate (-X)"));
        QCOMPARE(d.operations()->item(28)->text(), QString("Coherence Function"));
        QCOMPARE(d.namePart(0)->text(), QString("VA"));
        QCOMPARE(d.namePart(1)->text(), QString("BUS1"));
        QCOMPARE(d.namePart(2)->text(), QString());
        QCOMPARE(d.namePart(0)->maxLength(), 63);
        QCOMPARE(d.kindTag()->text(), QString("WAVE"));
        QVERIFY(!d.optionsButton()->isEnabled());
        QVERIFY(d.doButton()->isEnabled());

        // Another first argument brings its name parts.
        d.firstList()->SelectItem(stack.at(1));
        QCOMPARE(d.namePart(0)->text(), QString("VB"));
        QCOMPARE(d.namePart(1)->text(), QString("BUS2"));
        d.firstList()->SelectItem(stack.at(0));

        d.curveMode()->click();
        QCOMPARE(d.secondList()->count(), 2);
        d.secondList()->SelectItem(stack.at(1));
        SetNames(d, {"VSUM", "BUS1", "", ""});
        d.doButton()->click();
        QVERIFY2(ui.messages.empty(), ui.LastText().c_str());
        QCOMPARE(stack.size(), std::size_t{3});
        const StackObject* sum = stack.at(2);
        QCOMPARE(sum->caseName(), std::string("DERIVED"));
        QCOMPARE(sum->namePart1(), std::string("VSUM"));
        QCOMPARE(sum->namePart2(), std::string("BUS1"));
        QCOMPARE(sum->namePart3(), std::string());
        QCOMPARE(sum->namePart4(), std::string());
        QCOMPARE(sum->typeTag(), std::string("WAVE"));
        QCOMPARE(sum->kind(), std::uint32_t{kKindWave});
        // Same grid: the values add sample by sample.
        QCOMPARE(Ys(sum), (std::vector<float>{11, 22, 33, 44}));
        QCOMPARE(Xs(sum), (std::vector<float>{0, 0.001f, 0.002f, 0.003f}));
        // The operands are unchanged.
        QCOMPARE(Ys(stack.at(0)), (std::vector<float>{1, 2, 3, 4}));

        // The lists now hold the new item and keep the arguments selected.
        QVERIFY(d.operationDone());
        QCOMPARE(d.firstList()->count(), 3);
        QCOMPARE(d.secondList()->count(), 3);
        QCOMPARE(d.firstList()->SelectedItems(), std::vector<StackObject*>{stack.at(0)});
        QCOMPARE(d.secondList()->SelectedItems(), std::vector<StackObject*>{stack.at(1)});
        QCOMPARE(d.namePart(0)->text(), QString("VSUM"));

        KeepScreenshot(d, "kov-calc.png");
        // "&Constant:" empties the second list.
        d.constantMode()->click();
        QCOMPARE(d.secondList()->count(), 0);
    }

    void constantModeReadsTheConstantAndRefusesText() {
        RecordingUi ui;
        Stack stack(ui);
        stack.Add(Wave("VA", "", {1, 2, 3, 4}));
        CalculatorRecords records;
        CKovCalcDialog d(stack, ui, records);
        ChooseOperation(d, "Multiply");
        SetNames(d, {"VA", "x2.5", "", ""});
        d.constantValue()->setText(" 2.5 ");
        QVERIFY(d.Do());
        QCOMPARE(Ys(stack.at(1)), (std::vector<float>{2.5f, 5, 7.5f, 10}));

        // Text that is not a number is refused, not taken as 0.
        for (const char* text : {"abc", "", "1,5", "0x10", "inf"}) {
            d.constantValue()->setText(text);
            SetNames(d, {"VA", "bad", "", ""});
            QVERIFY(!d.Do());
            QCOMPARE(ui.LastText(), "\"" + std::string(text) + "\" is not a number.");
            QCOMPARE(ui.messages.back().caption, std::string("KOV"));
        }
        QCOMPARE(stack.size(), std::size_t{2});

        ChooseOperation(d, "Subtract");
        d.constantValue()->setText("-1e0");
        SetNames(d, {"VA", "plus1", "", ""});
        QVERIFY(d.Do());
        QCOMPARE(Ys(stack.at(2)), (std::vector<float>{2, 3, 4, 5}));

        // A row without a second argument never reads the constant.
        ChooseOperation(d, "Negate (-X)");
        d.constantValue()->setText("junk");
        SetNames(d, {"VA", "neg", "", ""});
        QVERIFY(d.Do());
        QCOMPARE(Ys(stack.at(3)), (std::vector<float>{-1, -2, -3, -4}));
    }

    void nameChecksShowTheirMessages() {
        RecordingUi ui;
        Stack stack(ui);
        stack.Add(Wave("VA", "BUS1", {1, 2}));
        CalculatorRecords records;
        CKovCalcDialog d(stack, ui, records);
        ChooseOperation(d, "Square");
        SetNames(d, {"", "", "x", ""});
        QVERIFY(!d.Do());
        QCOMPARE(ui.LastText(), std::string("Invalid stack name specified."));
        QCOMPARE(ui.messages.back().caption, std::string("KOV"));
        QCOMPARE(ui.beeps, 1);

        // The source item's name under the case "DERIVED" is free once.
        SetNames(d, {"VA", "BUS1", "", ""});
        QVERIFY(d.Do());
        QVERIFY(!d.Do());
        QCOMPARE(ui.LastText(), std::string("(VA      )(BUS1    )(        )(        )(DERIVED )"
                                            "(WAVE) name already exists.  It must be unique."));
        QCOMPARE(ui.beeps, 2);
        QCOMPARE(stack.size(), std::size_t{2});
        QVERIFY(d.operationDone());
    }

    void secondArgumentRowsForceCurveModeAndNeedAnItem() {
        RecordingUi ui;
        Stack stack(ui);
        stack.Add(Wave("VA", "", {1, 2, 3}));
        stack.Add(Wave("IA", "", {2, 2, 2}));
        CalculatorRecords records;
        CKovCalcDialog d(stack, ui, records);
        QVERIFY(d.constantMode()->isChecked());
        ChooseOperation(d, "Power");
        QVERIFY(d.curveMode()->isChecked());
        QCOMPARE(d.secondList()->count(), 2);
        QCOMPARE(d.kindTag()->text(), QString("WAVE"));

        d.secondList()->clearSelection();
        SetNames(d, {"P", "", "", ""});
        QVERIFY(!d.Do());
        QCOMPARE(ui.LastText(), std::string("This function requires two curves as arguments."));
        QCOMPARE(stack.size(), std::size_t{2});

        d.secondList()->SelectItem(stack.at(1));
        QVERIFY(d.Do());
        QCOMPARE(Ys(stack.at(2)), (std::vector<float>{2, 4, 6}));

        // Rows that take a constant leave the mode alone.
        d.constantMode()->click();
        ChooseOperation(d, "Divide");
        QVERIFY(d.constantMode()->isChecked());
        // A row that does not take the first item's kind disables "&Do".
        ChooseOperation(d, "IDFT");
        QVERIFY(!d.doButton()->isEnabled());
        QCOMPARE(d.kindTag()->text(), QString("WAVE"));
        ChooseOperation(d, "Transfer Function");
        QCOMPARE(d.kindTag()->text(), QString("SCAN"));
        QVERIFY(d.curveMode()->isChecked());
    }

    void optionsOpenTheRowsDialogOrSayThereAreNone() {
        RecordingUi ui;
        Stack stack(ui);
        stack.Add(Wave("VA", "", {1, 2, 3}));
        CalculatorRecords records;
        CKovCalcDialog d(stack, ui, records);
        ChooseOperation(d, "Negate (-X)");
        QVERIFY(!d.optionsButton()->isEnabled());
        d.Options();
        QCOMPARE(ui.beeps, 1);
        QCOMPARE(ui.LastText(), std::string("No Options for This Function"));
        QCOMPARE(ui.messages.back().caption, std::string("KOV"));

        // FFT: the FFT dialog on the run's record; sliding turns the tag to TRND.
        ChooseOperation(d, "FFT");
        QVERIFY(d.optionsButton()->isEnabled());
        QCOMPARE(d.kindTag()->text(), QString("SPEC"));
        auto seen = WhenModal<CFFTParmDialog>([](CFFTParmDialog& f) {
            f.type()->button(1)->click();
            f.accept();
        });
        d.optionsButton()->click();
        QVERIFY(*seen);
        QCOMPARE(records.fft.sliding, std::uint16_t{1});
        QCOMPARE(d.kindTag()->text(), QString("TRND"));

        // Window Function shares the FFT record; the other rows their own dialogs.
        const std::pair<const char*, const char*> rows[] = {
            {"Window Function", "Fourier Transform Parameters"},
            {"DFT", "Discrete Fourier Transform"},
            {"IDFT", "IDFT Options"},
            {"Filter", "Filter Parameters"},
            {"Prob Dist", "Statistics Parameters"},
            {"Sampling", "Sampling Parameters"},
            {"Time Shift", "Time Shift Parameters"}};
        for (const auto& [row, title] : rows) {
            ChooseOperation(d, row);
            QString shown;
            auto opened = WhenModal<QDialog>([&shown](QDialog& o) { shown = o.windowTitle(); });
            d.optionsButton()->click();
            QVERIFY2(*opened, row);
            QCOMPARE(shown, QString(title));
        }
        QCOMPARE(ui.messages.size(), std::size_t{1});
    }

    void exitAsksOnlyBeforeTheFirstOperation() {
        RecordingUi ui;
        Stack stack(ui);
        stack.Add(Wave("VA", "", {1, 2, 3}));
        CalculatorRecords records;
        {
            CKovCalcDialog d(stack, ui, records);
            d.show();
            ui.questionAnswer = Answer::No;
            d.exitButton()->click();
            QCOMPARE(ui.messages.size(), std::size_t{1});
            QCOMPARE(
                ui.LastText(),
                std::string(
                    "Do you really want to exit this dialog without performing an operation?"));
            QCOMPARE(ui.messages.back().caption, std::string("Kovatrix"));
            QCOMPARE(ui.messages.back().buttons, Buttons::YesNo);
            QCOMPARE(ui.messages.back().icon, Icon::Question);
            QVERIFY(d.isVisible());
            ui.questionAnswer = Answer::Yes;
            d.exitButton()->click();
            QVERIFY(!d.isVisible());
            QCOMPARE(d.result(), int(QDialog::Rejected));
        }
        {
            CKovCalcDialog d(stack, ui, records);
            d.show();
            ChooseOperation(d, "Square");
            SetNames(d, {"SQ", "", "", ""});
            QVERIFY(d.Do());
            QVERIFY(d.isVisible());  // the dialog stays open for the next operation
            const std::size_t before = ui.messages.size();
            d.exitButton()->click();
            QCOMPARE(ui.messages.size(), before);
            QVERIFY(!d.isVisible());
            QCOMPARE(d.result(), int(QDialog::Accepted));
        }
    }

    void fftDialogShowsAndReadsItsFields() {
        RecordingUi ui;
        FFTParameters record;
        {
            CFFTParmDialog d(record, ui);
            QCOMPARE(d.windowTitle(), QString("Fourier Transform Parameters"));
            for (const char* g : {"FFT Type", "Window", "FFT Parameters"})
                QVERIFY2(HasGroup(&d, g), g);
            for (const char* l :
                 {"Step:", "Item:", "Fund. Frequency:", "Starting Time:", "Number of Cycles:"})
                QVERIFY2(Find<QLabel>(&d, l), l);
            for (const char* r :
                 {"Single", "Sliding", "Rectangular", "Hanning", "Welsh", "Bartlett"})
                QVERIFY2(Find<QRadioButton>(&d, r), r);
            for (const char* b : {"&Ok", "&Cancel", "&Help"}) QVERIFY2(Find<QPushButton>(&d, b), b);
            QCOMPARE(d.item()->text(), QString("5"));
            QCOMPARE(d.step()->text(), QString("0.00167"));  // 0.001666667 with 3 digits
            QCOMPARE(d.fundamental()->text(), QString("60"));
            QCOMPARE(d.startTime()->text(), QString("0"));
            QCOMPARE(d.cycles()->text(), QString("1"));
            QVERIFY(d.type()->button(0)->isChecked());
            QVERIFY(d.window()->button(0)->isChecked());
            QCOMPARE(d.step()->maxLength(), 30);
            KeepScreenshot(d, "kov-fft-parameters.png");
        }
        const std::pair<int, const char*> items[] = {{kItemRms, "RMS"},
                                                     {kItemPeak, "PEAK"},
                                                     {kItemCrestFactor, "CF"},
                                                     {kItemFormFactor, "FF"},
                                                     {0, "0"},
                                                     {11, "11"}};
        for (const auto& [item, text] : items) {
            record.item = item;
            CFFTParmDialog d(record, ui);
            QCOMPARE(d.item()->text(), QString(text));
        }

        record.item = 5;
        const FFTParameters before = record;
        CFFTParmDialog d(record, ui);
        d.show();
        const std::pair<const char*, const char*> refused[] = {
            {"3rd", "Invalid text entry.  Harmonic number, rms, peak, ff, or cf allowed."},
            {"-2", "Harmonic value must be > 0."}};
        for (const auto& [text, message] : refused) {
            d.item()->setText(text);
            d.accept();
            QCOMPARE(ui.LastText(), std::string(message));
            QVERIFY(d.isVisible());
        }
        d.item()->setText("Peak");
        d.fundamental()->setText("sixty");
        d.accept();
        QCOMPARE(ui.LastText(), std::string("\"sixty\" is not a number."));
        d.fundamental()->setText("0");
        d.accept();
        QCOMPARE(ui.LastText(),
                 std::string("The fundamental frequency must be greater than zero."));
        d.fundamental()->setText("50");
        d.cycles()->setText("0");
        d.accept();
        QCOMPARE(ui.LastText(), std::string("\"0\" is not a whole number from 1 to 32767."));
        d.cycles()->setText("-3");
        d.accept();
        QCOMPARE(ui.LastText(), std::string("\"-3\" is not a whole number from 1 to 32767."));
        QVERIFY(d.isVisible());
        // Nothing was copied back while the fields were refused.
        QCOMPARE(record.item, before.item);
        QCOMPARE(record.fundamental, before.fundamental);

        d.cycles()->setText("4");
        d.window()->button(kWindowHanning)->click();
        d.type()->button(1)->click();
        d.accept();
        QVERIFY(!d.isVisible());
        QCOMPARE(record.item, int(kItemPeak));
        QCOMPARE(record.fundamental, 50.0f);
        QCOMPARE(record.cycles, std::int16_t{4});
        QCOMPARE(record.window, int(kWindowHanning));
        QCOMPARE(record.sliding, std::uint16_t{1});
        QCOMPARE(record.step, 0.00167f);  // stored as shown

        // Cancel leaves the record alone.
        const FFTParameters accepted = record;
        CFFTParmDialog c(record, ui);
        c.show();
        c.item()->setText("rms");
        c.startTime()->setText("0.5");
        c.reject();
        QCOMPARE(record.item, accepted.item);
        QCOMPARE(record.startTime, accepted.startTime);
    }

    void dftDialogSelectsSlidingOnEditsOfStepOrItem() {
        RecordingUi ui;
        DFTParameters record;
        CDFTParmDialog d(record, ui);
        d.show();
        QCOMPARE(d.windowTitle(), QString("Discrete Fourier Transform"));
        for (const char* g : {"DFT Type", "Window", "DFT Parameters"}) QVERIFY2(HasGroup(&d, g), g);
        QVERIFY(Find<QLabel>(&d, "Last Harmonic:"));
        QCOMPARE(d.autoFundamental()->text(), QString("Automatically find fundamental"));
        QCOMPARE(d.lastHarmonic()->text(), QString("50"));
        QVERIFY(d.type()->button(0)->isChecked());
        QTest::keyClick(d.item(), Qt::Key_Backspace);
        QTest::keyClicks(d.item(), "7");
        QVERIFY(d.type()->button(1)->isChecked());
        d.type()->button(0)->click();
        QTest::keyClicks(d.step(), "5");
        QVERIFY(d.type()->button(1)->isChecked());
        d.step()->setText("0.01");

        // The item is a plain unsigned number.
        d.item()->setText("-1");
        d.accept();
        QCOMPARE(ui.LastText(), std::string("\"-1\" is not a whole number from 0 to 100000."));
        QVERIFY(d.isVisible());
        d.item()->setText("7");
        d.lastHarmonic()->setText("25");
        d.autoFundamental()->setChecked(true);
        d.accept();
        QVERIFY(!d.isVisible());
        QCOMPARE(record.item, 7u);
        QCOMPARE(record.lastHarmonic, 25u);
        QCOMPARE(record.step, 0.01f);
        QCOMPARE(record.sliding, std::uint16_t{1});
        QVERIFY(record.autoFundamental);
    }

    void samplingDialogChecksOnOkAndKeepsTheDialogOpen() {
        RecordingUi ui;
        SamplingParameters record;
        record.stopValue = 12345678;
        CSamplingDlg d(record, ui);
        d.show();
        QCOMPARE(d.windowTitle(), QString("Sampling Parameters"));
        for (const char* g : {"X Data Range", "Spacing"}) QVERIFY2(HasGroup(&d, g), g);
        for (const char* r : {"&Indexes", "&Values", "&Step Size", "&Number of Points"})
            QVERIFY2(Find<QRadioButton>(&d, r), r);
        for (const char* b : {"&OK", "&Cancel", "&Help"}) QVERIFY2(Find<QPushButton>(&d, b), b);
        // Values and the step with "%G".
        QVERIFY(d.range()->button(1)->isChecked());
        QVERIFY(d.spacing()->button(0)->isChecked());
        QCOMPARE(d.start()->text(), QString("0"));
        QCOMPARE(d.stop()->text(), QString("1.23457E+07"));
        QCOMPARE(d.spacingValue()->text(), QString("1"));
        KeepScreenshot(d, "kov-sampling.png");

        d.start()->setText(" 5 ");
        d.stop()->setText("5");
        d.accept();
        QCOMPARE(ui.LastText(), std::string("Start value must be less than Stop value"));
        QCOMPARE(ui.messages.back().caption, std::string("Error"));
        QCOMPARE(ui.messages.back().icon, Icon::Error);
        QVERIFY(d.isVisible());
        QCOMPARE(d.start()->text(), QString("5"));  // shown again, trimmed

        d.start()->setText("five");
        d.accept();
        QCOMPARE(ui.LastText(), std::string("\"five\" is not a number."));
        QVERIFY(d.isVisible());
        d.start()->setText("7");
        d.stop()->setText("1e3");

        // Indexes with "%ld"; what was typed for the values comes back as
        // typed, even after a failed OK.
        d.range()->button(0)->click();
        QCOMPARE(d.start()->text(), QString("0"));
        QCOMPARE(d.stop()->text(), QString("0"));
        d.accept();
        QCOMPARE(ui.LastText(),
                 std::string("Start point index must be less than Stop point index"));
        d.stop()->setText("-3");
        d.accept();
        QCOMPARE(ui.LastText(), std::string("Point indices must be 0 or positive"));
        d.stop()->setText("2.5");
        d.accept();
        QCOMPARE(ui.LastText(), std::string("\"2.5\" is not a whole number."));
        d.range()->button(1)->click();
        QCOMPARE(d.start()->text(), QString("7"));
        QCOMPARE(d.stop()->text(), QString("1e3"));
        d.range()->button(0)->click();
        QCOMPARE(d.stop()->text(), QString("2.5"));
        d.start()->setText("2");
        d.stop()->setText("10");

        d.spacingValue()->setText("0");
        d.accept();
        QCOMPARE(ui.LastText(), std::string("Step size must be greater than zero"));
        d.spacing()->button(1)->click();
        QCOMPARE(d.spacingValue()->text(), QString("1"));
        d.accept();
        QCOMPARE(ui.LastText(), std::string("Number of points must be at least 2"));
        QVERIFY(d.isVisible());
        QVERIFY(!record.byIndex);  // nothing copied back yet
        d.spacingValue()->setText("4");
        d.accept();
        QVERIFY(!d.isVisible());
        QVERIFY(record.byIndex);
        QVERIFY(!record.byStep);
        QCOMPARE(record.startIndex, 2L);
        QCOMPARE(record.stopIndex, 10L);
        QCOMPARE(record.points, 4L);
    }

    void filterTimeShiftIdftAndBinDialogs() {
        RecordingUi ui;
        FilterParameters filter;
        filter.f2 = 1234.5f;
        CFilterDialog f(filter, ui);
        f.show();
        QCOMPARE(f.windowTitle(), QString("Filter Parameters"));
        QVERIFY(HasGroup(&f, "Filter Type"));
        for (const char* r : {"&High Pass", "&Low Pass", "&Band Pass", "Band &Reject"})
            QVERIFY2(Find<QRadioButton>(&f, r), r);
        for (const char* l : {"F&1:", "F&2:", "&Sections:"}) QVERIFY2(Find<QLabel>(&f, l), l);
        QCOMPARE(f.f1()->text(), QString("120"));
        QCOMPARE(f.f2()->text(), QString("1.23e+03"));
        QCOMPARE(f.sections()->text(), QString("3"));
        KeepScreenshot(f, "kov-filter.png");
        QVERIFY(f.type()->button(0)->isChecked());
        f.f1()->setText("6O");
        f.accept();
        QCOMPARE(ui.LastText(), std::string("\"6O\" is not a number."));
        f.f1()->setText("60.5");
        f.sections()->setText("0");
        f.accept();
        QCOMPARE(ui.LastText(), std::string("\"0\" is not a whole number from 1 to 50."));
        QVERIFY(f.isVisible());
        QCOMPARE(filter.f1, 120.0f);
        f.sections()->setText("2");
        f.type()->button(2)->click();
        f.accept();
        QVERIFY(!f.isVisible());
        QCOMPARE(filter.f1, 60.5f);
        QCOMPARE(filter.f2, 1230.0f);  // stored as shown
        QCOMPARE(filter.sections, 2);
        QCOMPARE(filter.type, 2);

        TimeShiftParameters shift;
        CTimeShiftDialog t(shift, ui);
        t.show();
        QCOMPARE(t.windowTitle(), QString("Time Shift Parameters"));
        QVERIFY(Find<QLabel>(&t, "Shift by:") && Find<QLabel>(&t, "Seconds"));
        QCOMPARE(t.shift()->text(), QString("0"));
        t.shift()->setText("-0.0125");
        t.accept();
        QCOMPARE(shift.shift, -0.0125);

        IDFTParameters idft;
        CIDFTParmDialog i(idft, ui);
        i.show();
        QCOMPARE(i.windowTitle(), QString("IDFT Options"));
        QVERIFY(Find<QRadioButton>(&i, "Sine Series")->isChecked());
        QVERIFY(Find<QRadioButton>(&i, "Cosine Series"));
        QVERIFY(Find<QLabel>(&i, "Cycles:"));
        QCOMPARE(i.cycles()->text(), QString("2"));
        i.series()->button(1)->click();
        i.cycles()->setText("3");
        i.accept();
        QCOMPARE(idft.cycles, 3);
        QVERIFY(!idft.sine);

        BinParameters bins;
        {
            CBinSizeDialog b(bins, ui);
            b.show();
            QCOMPARE(b.windowTitle(), QString("Statistics Parameters"));
            QVERIFY(HasGroup(&b, "Discretization"));
            QVERIFY(Find<QLabel>(&b, "Increment (%):"));
            QVERIFY(Find<QPushButton>(&b, "&Ok") && Find<QPushButton>(&b, "&Cancel"));
            QCOMPARE(b.increment()->text(), QString("0.1"));
            b.increment()->setText("0");
            b.accept();
            QCOMPARE(ui.LastText(), std::string("Increment must be greater than zero"));
            QVERIFY(b.isVisible());
            b.increment()->setText("0.05");
            b.accept();
            QVERIFY(!b.isVisible());
            QCOMPARE(bins.increment, 0.05);
        }
        CBinSizeDialog b(bins, ui);
        b.increment()->setText("0.2");
        b.reject();
        QCOMPARE(bins.increment, 0.05);
    }

    void numberReadersTakePlainDecimalsOnly() {
        double v = 0;
        for (const auto& [text, value] :
             std::initializer_list<std::pair<const char*, double>>{{"1", 1.0},
                                                                   {"-2.5", -2.5},
                                                                   {"+.5", 0.5},
                                                                   {"3.", 3.0},
                                                                   {"1e-3", 0.001},
                                                                   {"2.5E+2", 250.0}}) {
            QVERIFY2(ParseDecimal(text, v), text);
            QCOMPARE(v, value);
        }
        for (const char* text :
             {"", "-", ".", "e5", "1e", "1.2.3", "0x1p3", "nan", "inf", "1e999", " 1", "1 ", "1,5"})
            QVERIFY2(!ParseDecimal(text, v), text);
        unsigned long u = 0;
        QVERIFY(ParseUnsigned("0042", u) && u == 42);
        QVERIFY(!ParseUnsigned("+1", u) && !ParseUnsigned("99999999999999999999999", u));
        long l = 0;
        QVERIFY(ParseInteger("-7", l) && l == -7);
        QVERIFY(ParseInteger("-9223372036854775808", l) && l == std::numeric_limits<long>::min());
        QVERIFY(!ParseInteger("9223372036854775808", l));
        QVERIFY(!ParseInteger("-", l) && !ParseInteger("1.0", l));
    }

    void expressionDialogMakesItemsAndKeepsItsSettings() {
        RecordingUi ui;
        Stack stack(ui);
        ExpressionSettings settings;
        ExpressionLibrary library;
        {
            CExpressionDlg d(stack, ui, settings, library);
            d.show();
            QCOMPARE(d.windowTitle(), QString("Expression Evaluator"));
            for (const char* g :
                 {"Independent Variable", "Type", "Complex Numbers", "Phase Output"})
                QVERIFY2(HasGroup(&d, g), g);
            for (const char* r :
                 {"Step Size", "Number of Points", "Wave", "Spectrum", "Scan", "XY", "Probability",
                  "Histogram", "Mag/Phase", "Real/Imag", "Degrees", "Radians"})
                QVERIFY2(Find<QRadioButton>(&d, r), r);
            for (const char* l : {"Name:", "Xmin:", "Xmax:"}) QVERIFY2(Find<QLabel>(&d, l), l);
            for (const char* b : {"&Do", "E&xit", "&Help"}) QVERIFY2(Find<QPushButton>(&d, b), b);
            // The start values.
            QCOMPARE(d.name()->text(), QString("expr"));
            QCOMPARE(d.firstExpression()->text(), QString("sin(377 * x)"));
            QCOMPARE(d.secondExpression()->text(), QString("0"));
            QCOMPARE(d.xmin()->text(), QString("0"));
            QCOMPARE(d.xmax()->text(), QString("100"));
            QCOMPARE(d.step()->text(), QString("1"));
            QCOMPARE(d.points()->text(), QString("101"));
            QCOMPARE(d.firstLabel()->text(), QString("mag(x) ="));
            QCOMPARE(d.secondLabel()->text(), QString("phase(x) ="));
            QVERIFY(d.kind()->button(0)->isChecked());
            QVERIFY(d.complex()->button(0)->isChecked());
            QVERIFY(d.phase()->button(0)->isChecked());
            QVERIFY(!d.secondExpression()->isEnabled());
            QVERIFY(d.step()->isEnabled() && !d.points()->isEnabled());

            KeepScreenshot(d, "kov-expression.png");
            d.doButton()->click();
            QVERIFY2(ui.messages.empty(), ui.LastText().c_str());
            QVERIFY(d.isVisible());
            QCOMPARE(stack.size(), std::size_t{1});
            const StackObject* item = stack.at(0);
            QCOMPARE(item->kind(), std::uint32_t{kKindWave});
            QCOMPARE(item->caseName(), std::string("EXPRESSION"));
            QCOMPARE(item->namePart1(), std::string("expr"));
            QCOMPARE(item->typeTag(), std::string("WAVE"));
            const std::vector<float> y = Ys(item);
            QCOMPARE(y.size(), std::size_t{101});
            QCOMPARE(Xs(item)[100], 100.0f);
            QVERIFY(std::fabs(y[2] - std::sin(377.0 * 2)) < 1e-6);

            // Xmax not above Xmin.
            d.name()->setText("e2");
            d.xmax()->setText("-5");
            d.doButton()->click();
            QCOMPARE(ui.LastText(), std::string("Xmax must be greater than Xmin"));
            QCOMPARE(ui.messages.back().caption, std::string("Error"));
            QCOMPARE(stack.size(), std::size_t{1});

            // The range fields DoExpression rewrote are shown.
            d.xmax()->setText(" 1 ");
            d.step()->setText("0.3");
            d.doButton()->click();
            QCOMPARE(stack.size(), std::size_t{2});
            QCOMPARE(d.points()->text(), QString("4"));
            QCOMPARE(d.xmax()->text(), QString("1"));
            QCOMPARE(d.step()->text(), QString("0.3"));

            // Labels and enabled edits follow the choices.
            d.complex()->button(1)->click();
            QCOMPARE(d.firstLabel()->text(), QString("real(x) ="));
            QCOMPARE(d.secondLabel()->text(), QString("imag(x) ="));
            for (int kind : {1, 2, 3}) {
                d.kind()->button(kind)->click();
                QVERIFY(d.secondExpression()->isEnabled());
            }
            for (int kind : {0, 4, 5}) {
                d.kind()->button(kind)->click();
                QVERIFY(!d.secondExpression()->isEnabled());
            }
            d.kind()->button(1)->click();
            d.spacing()->button(1)->click();
            QVERIFY(!d.step()->isEnabled() && d.points()->isEnabled());
            d.name()->setText("kept");
            d.firstExpression()->setText("x * 2");
            Find<QPushButton>(&d, "E&xit")->click();
            QVERIFY(!d.isVisible());
        }
        QCOMPARE(settings.name, std::string("kept"));
        CExpressionDlg again(stack, ui, settings, library);
        QCOMPARE(again.name()->text(), QString("kept"));
        QCOMPARE(again.firstExpression()->text(), QString("x * 2"));
        QCOMPARE(again.xmax()->text(), QString("1"));
        QVERIFY(again.complex()->button(1)->isChecked());
        QCOMPARE(again.firstLabel()->text(), QString("real(x) ="));
        QVERIFY(again.kind()->button(1)->isChecked());
        QVERIFY(again.secondExpression()->isEnabled());
        QVERIFY(again.spacing()->button(1)->isChecked());
    }

    void mainWindowCommandsCalculateAndGraph() {
        Frame frame;
        MessageBoxGuard guard;
        QAction* calc = frame.Command(kCmdKovCalc);
        QAction* expression = frame.Command(kCmdExpression);
        QVERIFY(calc && expression);
        QVERIFY(!calc->isEnabled());
        QVERIFY(expression->isEnabled());
        frame.stack().Add(Wave("VA", "BUS1", {1, -1, 2, 0.5f}));
        frame.stack().Add(Wave("VB", "BUS1", {0.5f, 0.5f, -2, 0}));
        frame.UpdateInterfaceFlags();
        QVERIFY(calc->isEnabled());

        auto seen = WhenModal<CKovCalcDialog>([&frame](CKovCalcDialog& d) {
            d.curveMode()->click();
            d.secondList()->SelectItem(frame.stack().at(1));
            d.namePart(0)->setText("VSUM");
            d.doButton()->click();
            d.exitButton()->click();  // after an operation: no question
        });
        calc->trigger();
        QVERIFY(*seen);
        QCOMPARE(frame.stack().size(), std::size_t{3});
        StackObject* sum = frame.stack().at(2);
        QCOMPARE(sum->caseName(), std::string("DERIVED"));
        QCOMPARE(sum->stackKey(), Stack::MakeKey("DERIVED", "VSUM", "BUS1", "", "", "WAVE"));
        QCOMPARE(Ys(sum), (std::vector<float>{1.5f, -0.5f, 0, 0.5f}));

        const std::vector<CGraphDoc*> graphs = CreateGraphs(frame, {&sum, 1}, GraphSelection{});
        QCOMPARE(graphs.size(), std::size_t{1});
        QCOMPARE(graphs.front()->items(), std::vector<StackObject*>{sum});
        QVERIFY(sum->inUse > 0);

        auto expressionSeen = WhenModal<CExpressionDlg>([](CExpressionDlg& d) {
            d.name()->setText("wave2");
            d.doButton()->click();
            Find<QPushButton>(&d, "E&xit")->click();
        });
        expression->trigger();
        QVERIFY(*expressionSeen);
        QCOMPARE(frame.stack().size(), std::size_t{4});
        QCOMPARE(frame.stack().at(3)->namePart1(), std::string("wave2"));
        QCOMPARE(RunExpressionSettings().name, std::string("wave2"));
        QCOMPARE(guard.texts, QStringList());
    }
};

}  // namespace kov

QTEST_MAIN(kov::CalculatorDialogsTest)
#include "CalculatorDialogsTest.moc"
