// The main window over the workbench: title, status and the document list.

#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QtTest>

#include "app/MainWindow.h"
#include "stack/WaveStackObject.h"
#include "support/TestSupport.h"
#include "views/Kov32Doc.h"

namespace kov {

// A document over one item, for the document protocol.
class ItemDoc : public CKov32Doc {
public:
    explicit ItemDoc(const StackObject* item) : item_(item), window_(new QLabel("doc")) {}
    bool ShowsItem(const StackObject* item) const override { return item == item_; }
    int Rebuild() override { return ++rebuilds; }
    void RefreshData() override {}
    QWidget* Window() override { return window_; }
    int rebuilds = 0;

private:
    const StackObject* item_;
    QWidget* window_;
};

class MainFrameTest : public QObject {
    Q_OBJECT
private slots:
    void opensARecordAndTitlesTheWindow() {
        CMainFrame frame;
        QCOMPARE(frame.windowTitle(), QString("KOV"));
        test::TempDir dir;
        test::WriteFile(dir / "rec.cfg",
                        "SUB,1,1999\r\n1,1A,0D\r\n1,VA,A,,kV,1,0,0,-100,100,1,1,P\r\n60\r\n1\r\n"
                        "1000,2\r\n01/01/2026,00:00:00.000\r\n01/01/2026,00:00:00.000\r\nASCII\r\n"
                        "1\r\n");
        test::WriteFile(dir / "rec.dat", "1,0,1\r\n2,1000,2\r\n");
        QCOMPARE(frame.workbench().OpenAs((dir / "rec.cfg").string(), 1006, 1), 0);
        QCOMPARE(frame.windowTitle(), QString("KOV - rec.cfg"));
    }

    void macroQuickgraphDrawsTheStack() {
        CMainFrame frame;
        for (const char* name : {"a", "b"}) {
            auto wave = std::make_unique<WaveStackObject>();
            wave->Init("", "DERIVED", name, "", "", "", "WAVE");
            wave->SetSamples(FloatArray(std::vector<float>{0, 1}),
                             FloatArray(std::vector<float>{1, 2}));
            wave->Finish();
            frame.stack().Add(std::move(wave));
        }
        test::TempDir dir;
        test::WriteFile(dir / "draw.km", "quickgraph all 4\n");
        frame.workbench().RunMacro((dir / "draw.km").string());
        QCOMPARE(frame.documents().size(), std::size_t{2});  // mode 4: one window per item
        QCOMPARE(frame.stack().at(0)->inUse, 1u);
    }

    void discardingAnItemClosesItsDocuments() {
        CMainFrame frame;
        auto wave = std::make_unique<WaveStackObject>();
        wave->Init("", "DERIVED", "a", "", "", "", "WAVE");
        const StackObject* item = wave.get();
        frame.stack().Add(std::move(wave));
        auto doc = std::make_unique<ItemDoc>(item);
        frame.AddDocument(std::move(doc));
        QCOMPARE(frame.documents().size(), std::size_t{1});
        QCOMPARE(frame.mdiArea()->subWindowList().size(), 1);
        frame.stack().at(0)->inUse = 1;
        frame.stack().Remove(item);
        QCOMPARE(frame.documents().size(), std::size_t{0});
        QCOMPARE(frame.mdiArea()->subWindowList().size(), 0);
    }
};

}  // namespace kov

QTEST_MAIN(kov::MainFrameTest)
#include "MainFrameTest.moc"
