// The graph dialogs: "Plot Quantity Select" with its rules and messages,
// "Graph Scale", "Graph Grid", "Graph Text", "Re-select Items to Plot" and
// "Preferences" with their checks, and the Preferences command writing
// KOV.ini.

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QTimer>
#include <QtTest>

#include "analysis/SpectrumStackObject.h"
#include "analysis/StatisticItems.h"
#include "app/MainWindow.h"
#include "platform/IniProfile.h"
#include "platform/RecordingUi.h"
#include "platform/Strings.h"
#include "stack/Stack.h"
#include "stack/WaveStackObject.h"
#include "support/TestSupport.h"
#include "views/GraphDoc.h"
#include "views/GraphView.h"
#include "views/ViewCommands.h"
#include "views/dialogs/GraphEditDialogs.h"
#include "views/dialogs/GraphSelectDialog.h"
#include "views/dialogs/PreferencesDialog.h"

namespace kov {

namespace {

std::unique_ptr<WaveStackObject> MakeWave(const std::string& part1) {
    auto wave = std::make_unique<WaveStackObject>(4, kUnitVoltage);
    auto x = wave->xValues.MutableValues();
    auto y = wave->yValues.MutableValues();
    for (std::size_t i = 0; i < 4; ++i) {
        x[i] = static_cast<float>(i) * 0.001f;
        y[i] = static_cast<float>(i);
    }
    wave->y2Values = FloatArray{};
    wave->Init("", "rec", part1, "VA", "", "", "WAVE");
    wave->Finish();
    return wave;
}

void FillStack(Stack& stack, int waves) {
    for (int i = 0; i < waves; ++i) stack.Add(MakeWave("W" + std::to_string(i)));
}

}  // namespace

class GraphDialogsTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { std::filesystem::remove(IniProfile::DefaultPath()); }

    void selectShowsMessage2064WithoutItems() {
        RecordingUi ui;
        Stack stack(ui);
        stack.Add(std::make_unique<StatisticStackObject>(std::vector<double>{1.0, 2.0}));
        CGraphSelectDialog dialog(stack, ui, GraphPreferences{});
        QCOMPARE(dialog.exec(), int(QDialog::Rejected));
        QCOMPARE(ui.LastText(), std::string(str::kNoItemsForOperation));
        QCOMPARE(ui.messages.back().caption, std::string("KOV"));
    }

    void selectOffersKindByKindWithoutStatistics() {
        RecordingUi ui;
        Stack stack(ui);
        auto spectrum = std::make_unique<SpectrumStackObject>(2, kUnitVoltage);
        spectrum->Init("", "DERIVED", "S", "", "", "", "SPEC");
        stack.Add(std::move(spectrum));
        stack.Add(std::make_unique<StatisticStackObject>(std::vector<double>{1.0}));
        stack.Add(MakeWave("A"));
        CGraphSelectDialog dialog(stack, ui, GraphPreferences{});
        QCOMPARE(dialog.offered().size(), std::size_t{2});
        QCOMPARE(dialog.offered()[0]->kind(), std::uint32_t{kKindWave});
        QCOMPARE(dialog.offered()[1]->kind(), std::uint32_t{kKindSpectrum});
        QCOMPARE(dialog.list()->count(), 2);
        QCOMPARE(dialog.windowTitle(), QString("Plot Quantity Select"));
        QCOMPARE(dialog.xQuantity()->currentText(), QString("Baseline"));
        QCOMPARE(dialog.yQuantity()->currentText(), QString("Magnitude"));
        dialog.yQuantity()->setCurrentText("Phase");
        QCOMPARE(dialog.selection().yQuantity, 2);
    }

    void selectRefusesSevenStackedGraphs() {
        RecordingUi ui;
        Stack stack(ui);
        FillStack(stack, 7);
        CGraphSelectDialog dialog(stack, ui, GraphPreferences{});
        dialog.list()->selectAll();
        dialog.modes()->button(kModeStackedGraphs)->click();
        QCOMPARE(dialog.selection().mode, int(kModeStackedGraphs));
        dialog.accept();
        QCOMPARE(ui.LastText(), std::string(str::kStackedGraphLimit));
        QVERIFY(dialog.result() != QDialog::Accepted);
        dialog.list()->item(6)->setSelected(false);
        dialog.accept();
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(ui.messages.size(), std::size_t{1});
        QCOMPARE(dialog.SelectedItems().size(), std::size_t{6});
    }

    void selectPolarRules() {
        RecordingUi ui;
        Stack stack(ui);
        FillStack(stack, 1);
        CGraphSelectDialog dialog(stack, ui, GraphPreferences{});
        dialog.modes()->button(kModeStackedAxes)->click();
        QVERIFY(!dialog.polar()->isEnabled());
        dialog.modes()->button(kModeSuperimpose)->click();
        QVERIFY(dialog.polar()->isEnabled());
        dialog.xScales()->button(kXLog)->click();
        dialog.polar()->setChecked(true);
        for (int mode : {1, 2, 3}) QVERIFY(!dialog.modes()->button(mode)->isEnabled());
        QVERIFY(!dialog.xScales()->button(kXLog)->isEnabled());
        QVERIFY(!dialog.xScales()->button(kXProb)->isEnabled());
        QVERIFY(dialog.xScales()->button(kXLinear)->isChecked());
        QCOMPARE(dialog.selection().xScale, int(kXLinear));
        QVERIFY(dialog.selection().polar);
    }

    void scaleDialogChecksItsFields() {
        RecordingUi ui;
        ScaleOptions options;
        CScaleDialog dialog(options, Extent{-1, 2, true}, Extent{}, ui);
        QCOMPARE(dialog.windowTitle(), QString("Graph Scale"));
        QCOMPARE(dialog.x().dataMin->text(), QString("-1"));
        QCOMPARE(dialog.x().title->text(), QString("X Axis:"));
        dialog.polar()->setChecked(true);
        QCOMPARE(dialog.x().title->text(), QString("Theta Axis:"));
        QCOMPARE(dialog.y().title->text(), QString("R Axis:"));
        dialog.polar()->setChecked(false);
        dialog.x().autoscale->setChecked(false);
        dialog.x().min->setText("abc");
        dialog.accept();
        QCOMPARE(ui.LastText(), std::string("\"abc\" is not a number."));
        dialog.x().min->setText("5");
        dialog.x().max->setText("1");
        dialog.accept();
        QCOMPARE(ui.LastText(), std::string(str::kMaxNotAboveMin));
        dialog.x().min->setText("0");
        dialog.x().max->setText("10");
        dialog.x().scale->button(1)->click();
        dialog.accept();
        QCOMPARE(ui.LastText(), std::string(str::kLogMinNotPositive));
        dialog.x().scale->button(0)->click();
        dialog.x().grid->setText("-2");
        dialog.accept();
        QCOMPARE(ui.LastText(), std::string(str::kGridUnitNegative));
        dialog.x().grid->setText("2");
        dialog.x().tics->setText("0");
        dialog.accept();
        QCOMPARE(ui.LastText(), std::string(str::kTicsRange));
        QVERIFY(dialog.result() != QDialog::Accepted);
        dialog.x().tics->setText("4");
        dialog.y().scale->button(1)->click();
        dialog.accept();
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(ui.messages.size(), std::size_t{5});
        QVERIFY(!dialog.options().x.autoRange);
        QCOMPARE(dialog.options().x.max, 10.0);
        QCOMPARE(dialog.options().x.grid, 2.0);
        QCOMPARE(dialog.options().x.tics, 4);
        QVERIFY(dialog.options().logY);
    }

    void gridDialogGivesItsChoices() {
        CGridDialog dialog(GridOptions{});
        QCOMPARE(dialog.windowTitle(), QString("Graph Grid"));
        QVERIFY(dialog.style()->button(kGridDashed)->isChecked());
        dialog.style()->button(kGridThin)->click();
        dialog.front()->setChecked(true);
        dialog.accept();
        QCOMPARE(dialog.options().style, int(kGridThin));
        QVERIFY(dialog.options().front);
    }

    void textDialogKeepsTypedTexts() {
        CMainFrame frame;
        auto wave = MakeWave("A");
        wave->notes = {"line 1", "line 2"};
        StackObject* item = wave.get();
        frame.stack().Add(std::move(wave));
        const std::vector<StackObject*> items{item};
        CGraphDoc* doc = CreateGraphs(frame, items, GraphSelection{}).front();
        {
            CTextDialog dialog(*doc);
            QCOMPARE(dialog.windowTitle(), QString("Graph Text"));
            QCOMPARE(dialog.title()->text(), QString("rec>A-VA"));
            QCOMPARE(dialog.commentsText()->toPlainText(), QString("line 1\nline 2"));
            dialog.title()->setText("My graph");
            dialog.legendGroup()->button(kLegendBelow)->click();
            dialog.accept();
            QCOMPARE(dialog.texts().title, std::string("My graph"));
            QVERIFY(dialog.texts().xTitle.empty());
            QCOMPARE(dialog.legend(), int(kLegendBelow));
            doc->texts() = dialog.texts();
        }
        QCOMPARE(doc->Title(), std::string("My graph"));
        QCOMPARE(doc->XTitle(), std::string("Time (ms)"));
        frame.mdiArea()->closeAllSubWindows();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    void reselectRefusesAnEmptyGraph() {
        RecordingUi ui;
        Stack stack(ui);
        FillStack(stack, 8);
        const std::vector<StackObject*> onGraph{stack.at(0), stack.at(1)};
        CReselectDialog dialog(stack, onGraph, kModeStackedGraphs, ui);
        QCOMPARE(dialog.windowTitle(), QString("Re-select Items to Plot"));
        QCOMPARE(dialog.graphList()->count(), 2);
        dialog.graphList()->selectAll();
        dialog.DeleteSelected();
        dialog.accept();
        QCOMPARE(ui.LastText(), std::string(str::kNoItemsOnGraph));
        dialog.stackList()->selectAll();
        dialog.AddSelected();
        QCOMPARE(dialog.graphList()->count(), 8);
        dialog.accept();
        QCOMPARE(ui.LastText(), std::string(str::kStackedGraphLimit));
        QVERIFY(dialog.result() != QDialog::Accepted);
        dialog.stackList()->clearSelection();
        for (int i = 6; i < 8; ++i) dialog.graphList()->item(i)->setSelected(true);
        dialog.DeleteSelected();
        dialog.accept();
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(dialog.items().size(), std::size_t{6});
    }

    void preferencesDialogChecksAndConverts() {
        RecordingUi ui;
        CPreferencesDialog dialog(GraphPreferences{}, ui);
        QCOMPARE(dialog.windowTitle(), QString("Preferences"));
        QCOMPARE(dialog.wmfXLabel()->text(), QString("X (inches):"));
        dialog.millimeters()->setChecked(true);
        QCOMPARE(dialog.wmfXLabel()->text(), QString("X (mm):"));
        QCOMPARE(dialog.wmfX()->text(), QString("152.4"));
        QCOMPARE(dialog.wmfY()->text(), QString("101.6"));
        dialog.inches()->setChecked(true);
        QCOMPARE(dialog.wmfX()->text(), QString("6"));
        QCOMPARE(dialog.colors()->count(), CPreferencesDialog::kColorEntries);
        QCOMPARE(dialog.colors()->item(6)->text(), QString("Curve 1"));
        dialog.SetColorAt(7, 0x123456);
        QCOMPARE(dialog.ColorAt(7), ColorRef{0x123456});
        dialog.ResetColors();
        QCOMPARE(dialog.ColorAt(7), ColorRef{0x00FF00});
        dialog.pngX()->setText("0");
        dialog.accept();
        QCOMPARE(ui.LastText(), std::string(str::kPictureSizeRange));
        dialog.pngX()->setText("800");
        dialog.baseFrequency()->setText("0");
        dialog.accept();
        QCOMPARE(ui.LastText(), std::string(str::kBaseFrequencyRange));
        dialog.baseFrequency()->setText("50");
        dialog.highestOrder()->setText("2.5");
        dialog.accept();
        QCOMPARE(ui.LastText(), std::string(str::kHighestHarmonicRange));
        dialog.highestOrder()->setText("x");
        dialog.accept();
        QCOMPARE(ui.LastText(), std::string("\"x\" is not a number."));
        QVERIFY(dialog.result() != QDialog::Accepted);
        dialog.highestOrder()->setText("40");
        dialog.filterPoints()->setChecked(true);
        dialog.magDur()->button(2)->click();
        dialog.accept();
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(dialog.preferences().pngX, 800);
        QCOMPARE(dialog.preferences().baseFrequency, 50.0);
        QCOMPARE(dialog.preferences().highestHarmonic, 40);
        QCOMPARE(dialog.preferences().filterPoints, 1);
        QCOMPARE(dialog.preferences().magDur, 2);
    }

    void preferencesCommandWritesKovIni() {
        CMainFrame frame;
        QAction* command = frame.Command(32774);
        QVERIFY(command);
        QVERIFY(command->isEnabled());
        bool seen = false;
        QTimer::singleShot(0, [&] {
            auto* dialog = qobject_cast<CPreferencesDialog*>(QApplication::activeModalWidget());
            QVERIFY(dialog);
            seen = true;
            dialog->filterPoints()->setChecked(true);
            dialog->pngY()->setText("333");
            dialog->accept();
        });
        command->trigger();
        QVERIFY(seen);
        QCOMPARE(AppPreferences().pngY, 333);
        const std::string ini = test::ReadFile(IniProfile::DefaultPath());
        QVERIFY(ini.find("[Preferences]") != std::string::npos);
        QVERIFY(ini.find("FilterPoints=1") != std::string::npos);
        QVERIFY(ini.find("PngY=333") != std::string::npos);
        // A new main window reads them back.
        AppPreferences() = GraphPreferences{};
        CMainFrame second;
        QCOMPARE(AppPreferences().pngY, 333);
        QCOMPARE(AppPreferences().filterPoints, 1);
    }

    void threeDHistogramRefusesCrosshairGridAndScale() {
        CMainFrame frame;
        auto cells = std::make_unique<Hist3DStackObject>(4);
        {
            auto x = cells->xValues.MutableValues();
            auto y = cells->yValues.MutableValues();
            auto z = cells->y2Values.MutableValues();
            for (std::size_t k = 0; k < 4; ++k) {
                x[k] = static_cast<float>(k % 2);
                y[k] = static_cast<float>(k / 2);
                z[k] = static_cast<float>(k);
            }
            cells->Init("", "DERIVED", "RATES", "", "", "", "HST3");
            cells->Finish();
        }
        StackObject* item = cells.get();
        frame.stack().Add(std::move(cells));
        const std::vector<StackObject*> items{item};
        CreateGraphs(frame, items, GraphSelection{});
        const std::pair<int, const char*> cases[] = {{32781, str::kNoCrosshairs3D},
                                                     {32793, str::kNoGridStyles3D},
                                                     {32791, str::kNoScaling3D}};
        for (const auto& [id, text] : cases) {
            QString shown, caption;
            QTimer::singleShot(0, [&] {
                auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
                QVERIFY(box);
                shown = box->text();
                caption = box->windowTitle();
                box->accept();
            });
            QAction* command = frame.Command(id);
            QVERIFY(command && command->isEnabled());
            command->trigger();
            QCOMPARE(shown, QString(text));
            QCOMPARE(caption, QString("Not Supported"));
        }
        QVERIFY(!ActiveGraph(frame)->crosshair());
        frame.mdiArea()->closeAllSubWindows();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    void mainWindowWithAGraphLooksRight() {
        CMainFrame frame;
        for (const char* name : {"A", "B"}) frame.stack().Add(MakeWave(name));
        const std::vector<StackObject*> items{frame.stack().at(0), frame.stack().at(1)};
        CreateGraphs(frame, items, GraphSelection{});
        frame.resize(1024, 720);
        frame.show();
        QVERIFY(QTest::qWaitForWindowExposed(&frame));
        frame.mdiArea()->currentSubWindow()->showMaximized();
        QCoreApplication::processEvents();
        const QImage image = frame.grab().toImage();
        int white = 0;
        for (int y = 0; y < image.height(); y += 2)
            for (int x = 0; x < image.width(); x += 2)
                if (image.pixelColor(x, y) == QColor(Qt::white)) ++white;
        // The graph's white background fills most of the window.
        QVERIFY(white > image.width() * image.height() / 8);
        const QString dir = qEnvironmentVariable("KOV_GRAPH_SHOTS");
        if (!dir.isEmpty()) {
            image.save(dir + "/main_window.png");
            for (QDialog* dialog : std::initializer_list<QDialog*>{
                     new CGraphSelectDialog(frame.stack(), frame.ui(), GraphPreferences{}),
                     new CScaleDialog(ScaleOptions{}, Extent{}, Extent{}, frame.ui()),
                     new CGridDialog(GridOptions{}),
                     new CTextDialog(*static_cast<CGraphDoc*>(frame.documents().front().get())),
                     new CPreferencesDialog(GraphPreferences{}, frame.ui())}) {
                dialog->show();
                QCoreApplication::processEvents();
                dialog->grab().save(dir + "/dialog_" + dialog->windowTitle().replace(' ', '_') +
                                    ".png");
                delete dialog;
            }
        }
        frame.mdiArea()->closeAllSubWindows();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    void newGraphCommandRunsTheSelection() {
        CMainFrame frame;
        frame.stack().Add(MakeWave("A"));
        frame.stack().Add(MakeWave("B"));
        QAction* command = frame.Command(32778);
        QVERIFY(command);
        QTimer::singleShot(0, [&] {
            auto* dialog = qobject_cast<CGraphSelectDialog*>(QApplication::activeModalWidget());
            QVERIFY(dialog);
            dialog->list()->selectAll();
            dialog->modes()->button(kModeAutoWindows)->click();
            dialog->accept();
        });
        command->trigger();
        QCOMPARE(frame.documents().size(), std::size_t{2});
        QVERIFY(frame.Command(32791)->isEnabled());
        frame.mdiArea()->closeAllSubWindows();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
};

}  // namespace kov

QTEST_MAIN(kov::GraphDialogsTest)
#include "GraphDialogsTest.moc"
