// Item identity, keys, the stack container and its messages.

#include <gtest/gtest.h>

#include "platform/RecordingUi.h"
#include "platform/Strings.h"
#include "stack/Stack.h"
#include "stack/WaveStackObject.h"

namespace kov {
namespace {

std::unique_ptr<WaveStackObject> Wave(std::string_view p1, std::string_view p2 = "",
                                      std::string_view caseName = "case", std::string_view p3 = "",
                                      std::string_view p4 = "") {
    auto w = std::make_unique<WaveStackObject>();
    w->Init("/data/case.cfg", caseName, p1, p2, p3, p4, "WAVE");
    return w;
}

TEST(StackKey, PadsNamePartsAndTagAndIgnoresTrailingBlanksWithinThePadding) {
    EXPECT_EQ(BuildStackKey("case", "Va", "", "", "", "WAVE"),
              "(Va      )(        )(        )(        )(case    )(WAVE)");
    EXPECT_EQ(BuildStackKey("c", "a", "b", "c", "d", "XY"),
              "(a       )(b       )(c       )(d       )(c       )(XY  )");
    // Tags are cut to five characters, name parts to 63.
    EXPECT_EQ(BuildStackKey("c", std::string(70, 'n'), "", "", "", "TOOLONG"),
              "(" + std::string(63, 'n') + ")(        )(        )(        )(c       )(TOOLO)");
    EXPECT_EQ(BuildStackKey("case", "Va   ", "", "", "", "WAVE"),
              BuildStackKey("case", "Va", "", "", "", "WAVE"));
    // Blanks past the padding width make a different key.
    EXPECT_NE(BuildStackKey("case", "Va        ", "", "", "", "WAVE"),
              BuildStackKey("case", "Va", "", "", "", "WAVE"));
}

TEST(StackKey, LongCaseNamesSharingAPrefixGetNumberedSuffixesThatStay) {
    const std::string prefix(63, 'x');
    const std::string a = prefix + "-first-recording", b = prefix + "-second-recording";
    const std::string shortA = ShortenCaseName(a);
    const std::string shortB = ShortenCaseName(b);
    EXPECT_EQ(shortA, std::string(61, 'x') + ":0");
    EXPECT_EQ(shortB, std::string(61, 'x') + ":1");
    EXPECT_EQ(ShortenCaseName(a), shortA);  // the same long name keeps its short name
    EXPECT_EQ(ShortenCaseName("short name"), "short name");
    EXPECT_EQ(ShortenCaseName(std::string(63, 'y')), std::string(63, 'y'));
    EXPECT_NE(BuildStackKey(a, "Va", "", "", "", "WAVE"),
              BuildStackKey(b, "Va", "", "", "", "WAVE"));
}

TEST(StackObject, ShortLabelTitleAndColumnLine) {
    auto w = Wave("BUS1", "BUS2", "fault", "Type 4", "");
    EXPECT_EQ(w->shortLabel(), "BUS1-BUS2");
    EXPECT_EQ(w->GetTitle(), "fault>BUS1-BUS2(Type 4)");
    EXPECT_EQ(w->GetTitle(8), "fault>");  // parts that do not fit are left out
    EXPECT_EQ(w->GetListLine(true), "BUS1\tBUS2\tType 4\t \tfault\tWAVE");
    EXPECT_EQ(w->GetListLine(false), w->stackKey());
    EXPECT_EQ(w->GetListLine(true, 6), "BUS1\t");

    auto empty = Wave("", "", "");
    EXPECT_EQ(empty->shortLabel(), "");
    EXPECT_EQ(empty->GetListLine(true), " \t \t \t \t \tWAVE");
}

TEST(StackObject, LegendLabelsShowOnlyTheFieldsThatDiffer) {
    auto a = Wave("Va", "", "rec1"), b = Wave("Vb", "", "rec1"), c = Wave("Va", "", "rec2");
    {
        const StackObject* items[] = {a.get(), b.get()};
        const LegendLabels l = BuildLegendLabels(items);
        EXPECT_EQ(l.differingFields, 1);
        EXPECT_EQ(l.labels, (std::vector<std::string>{"Va", "Vb"}));
    }
    {
        const StackObject* items[] = {a.get(), b.get(), c.get()};
        const LegendLabels l = BuildLegendLabels(items);
        EXPECT_EQ(l.differingFields, 2);
        EXPECT_EQ(l.labels, (std::vector<std::string>{"(Va)(rec1)", "(Vb)(rec1)", "(Va)(rec2)"}));
    }
    {
        const StackObject* items[] = {a.get()};
        EXPECT_EQ(BuildLegendLabels(items).labels, std::vector<std::string>{"Va"});
    }
}

TEST(StackObject, UnsupportedOperationShowsTheMessageAndMakesNothing) {
    RecordingUi ui;
    auto w = Wave("Va");
    EXPECT_EQ(w->CumulativeProbability(ui), nullptr);
    EXPECT_EQ(w->SampleValuesByCount(ui, 0, 1, 2), nullptr);
    ASSERT_EQ(ui.messages.size(), 2u);
    EXPECT_EQ(ui.messages[0].text, "Requested operation not supported for this object type.");
    EXPECT_EQ(ui.messages[0].caption, "KOV");
    EXPECT_EQ(ui.messages[0].icon, Icon::Exclamation);
}

TEST(Stack, EmptyStack) {
    RecordingUi ui;
    Stack stack(ui);
    EXPECT_TRUE(stack.GetAll().empty());
    EXPECT_EQ(stack.FindByKey(BuildStackKey("c", "a", "", "", "", "WAVE")), nullptr);
    EXPECT_FALSE(stack.Remove(nullptr));
}

TEST(Stack, RefusesTakenKeysIgnoringCaseAndReportsOncePerLoad) {
    RecordingUi ui;
    Stack stack(ui);
    EXPECT_TRUE(stack.Add(Wave("Va")));
    EXPECT_FALSE(stack.Add(Wave("VA")));      // case differs only
    EXPECT_FALSE(stack.Add(Wave("Va    ")));  // trailing blanks within the padding
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, str::kNameConflict);
    EXPECT_EQ(ui.messages[0].caption, "Kovatrix");
    stack.ClearConflictFlag();
    EXPECT_FALSE(stack.Add(Wave("va")));
    EXPECT_EQ(ui.messages.size(), 2u);
    EXPECT_EQ(stack.size(), 1u);
    EXPECT_EQ(stack.FindByKey(Stack::MakeKey("CASE", "VA", "", "", "", "wave")), stack.at(0));
}

TEST(Stack, AddComputesTheSummaryOnlyWhenAsked) {
    RecordingUi ui;
    Stack stack(ui);
    auto quiet = Wave("a");
    auto told = Wave("b");
    for (auto* w : {quiet.get(), told.get()})
        w->SetSamples(FloatArray(std::vector<float>{0, 1}), FloatArray(std::vector<float>{1, -3}));
    stack.Add(std::move(quiet), false);
    stack.Add(std::move(told), true);
    EXPECT_EQ(stack.at(0)->summary(), nullptr);
    ASSERT_NE(stack.at(1)->summary(), nullptr);
}

class RecordingObserver : public StackObserver {
public:
    std::vector<std::string> removed;
    void ItemRemoving(const StackObject& item) override { removed.push_back(item.namePart1()); }
};

TEST(Stack, RemoveKeepsOrderAndClosesWindowsShowingTheItem) {
    RecordingUi ui;
    RecordingObserver observer;
    {
        Stack stack(ui);
        stack.SetObserver(&observer);
        for (const char* name : {"a", "b", "c"}) stack.Add(Wave(name));
        stack.at(2)->inUse = 1;
        EXPECT_TRUE(stack.Remove(stack.at(2)));  // the last item
        EXPECT_EQ(observer.removed, std::vector<std::string>{"c"});
        EXPECT_TRUE(stack.Remove(stack.at(0)));  // an unused item closes nothing
        EXPECT_EQ(observer.removed.size(), 1u);
        ASSERT_EQ(stack.size(), 1u);
        EXPECT_EQ(stack.at(0)->namePart1(), "b");
        // The removed key is free again.
        EXPECT_TRUE(stack.Add(Wave("c")));
        EXPECT_EQ(stack.GetAll().back()->namePart1(), "c");
        stack.at(0)->inUse = 2;
        const StackObject* only = stack.at(1);
        EXPECT_TRUE(stack.Remove(only));
        EXPECT_FALSE(stack.Remove(only));  // already gone
    }
    // Destroying the stack lets windows drop the items they show.
    EXPECT_EQ(observer.removed, (std::vector<std::string>{"c", "b"}));
}

TEST(Stack, CheckNewNameRefusesEmptyAndTakenNames) {
    RecordingUi ui;
    Stack stack(ui);
    auto derived = std::make_unique<WaveStackObject>();
    derived->Init("", "DERIVED", "Sum", "", "", "", "WAVE");
    stack.Add(std::move(derived));
    EXPECT_FALSE(stack.CheckNewName({"", "", "x", "y"}, "WAVE"));
    EXPECT_EQ(ui.LastText(), "Invalid stack name specified.");
    EXPECT_FALSE(stack.CheckNewName({"sum", "", "", ""}, "WAVE"));
    EXPECT_EQ(ui.LastText(), Stack::MakeKey("DERIVED", "sum", "", "", "", "WAVE") +
                                 " name already exists.  It must be unique.");
    EXPECT_TRUE(stack.CheckNewName({"", "Diff", "", ""}, "WAVE"));
    EXPECT_EQ(ui.messages.size(), 2u);
}

}  // namespace
}  // namespace kov
