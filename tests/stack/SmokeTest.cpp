#include <gtest/gtest.h>
#include "stack/Stack.h"
#include "stack/WaveStackObject.h"
#include "platform/RecordingUi.h"
TEST(Smoke, Builds) {
    kov::RecordingUi ui;
    kov::Stack stack(ui);
    EXPECT_TRUE(stack.empty());
}
