// Hit-testing, the hover ids a move leaves, the sliders' and switches' arithmetic of the advanced
// and lighting pages, and the two window threads' loops.
#include <gtest/gtest.h>

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <thread>
#include <vector>

#include "base/clock.h"
#include "settings/settings_state.h"
#include "tests/threads_run_here.h"
#include "ui/pages/hit_test.h"
#include "ui/pages/page_state.h"
#include "ui/pages/slider_values.h"
#include "ui/window/blink_thread.h"
#include "ui/window/led_preview_thread.h"

namespace {

class HoverTest : public testing::Test {
protected:
    HoverTest() { ResetPageState(); }
    ~HoverTest() override { ResetPageState(); }
};

TEST_F(HoverTest, HitTestTakesTheLowestIdAndLeavesRightAndBottomEdgesOut)
{
    const std::vector<ButtonPos> table = {
        {10, 10, 20, 10},          // 0
        {15, 12, 40, 40},          // 1, overlapping 0
        {100, 100, 0, 10},         // 2, no width: a missing record
        {2147483600, 0, 100, 10},  // 3, right edge past the int32 range
        {-50, -50, 10, 10},        // 4
        {60, 60, -5, 5},           // 5, negative width
    };
    struct Row {
        ClientPoint point;
        int count;
        int id;
    };
    const Row rows[] = {
        {{10, 10}, 6, 0},   {{29, 19}, 6, 0},  {{30, 15}, 6, 1},   {{20, 20}, 6, 1},   {{20, 15}, 6, 0},
        {{20, 15}, 0, BUTTON_NONE},            {{20, 15}, -3, BUTTON_NONE},          {{16, 20}, 1, BUTTON_NONE},
        {{55, 20}, 6, BUTTON_NONE},            {{100, 100}, 6, BUTTON_NONE},         {{2147483647, 5}, 6, 3},
        {{-45, -41}, 6, 4}, {{-40, -45}, 6, BUTTON_NONE},          {{58, 62}, 6, BUTTON_NONE},
        {{20, 15}, 1000, 0},  // a count past the table tests the table
    };
    for (const Row& row : rows)
        EXPECT_EQ(HitTestRects(row.point, table, row.count), row.id) << row.point.x << "," << row.point.y << " " << row.count;
}

TEST_F(HoverTest, MoveSetsTheFourIdsAndReportsOnlyChanges)
{
    std::vector<ButtonPos> main(kMainLayoutCount), led(kLedLayoutCount), advanced(kAdvancedLayoutCount),
        macro(kMacroLayoutCount);
    main[3] = {0, 0, 10, 10};      // a frame button
    main[20] = {20, 0, 10, 10};    // a main-page button
    advanced[137] = {20, 0, 5, 5};  // the last advanced id, inside main 20
    led[70] = {40, 0, 10, 10};
    led[71] = {50, 0, 10, 10};      // past the ids a move tests
    macro[19] = {40, 5, 10, 10};
    const HoverTables tables{main, led, advanced, macro};
    using C = HoverChanges;

    // Nothing is hovered before the first move, and a move over nothing changes nothing.
    EXPECT_EQ(g_hoverMainButton, BUTTON_NONE);
    EXPECT_EQ(UpdateHover({200, 200}, kPageMain, tables), (C{false, false, false, false}));
    EXPECT_EQ(UpdateHover({22, 2}, kPageMain, tables), (C{true, false, true, false}));
    EXPECT_EQ(g_hoverMainButton, 20);
    EXPECT_EQ(g_hoverAdvancedButton, 137);
    // Within the same rectangles: no change.
    EXPECT_EQ(UpdateHover({23, 3}, kPageMain, tables), (C{false, false, false, false}));
    EXPECT_EQ(UpdateHover({27, 7}, kPageMain, tables), (C{false, false, true, false}));
    // Off the main page, page-0 ids give no main hover; frame ids do.
    EXPECT_EQ(UpdateHover({27, 7}, kPageAdvanced, tables), (C{true, false, false, false}));
    EXPECT_EQ(g_hoverMainButton, BUTTON_NONE);
    EXPECT_EQ(UpdateHover({5, 5}, kPageLighting, tables), (C{true, false, false, false}));
    EXPECT_EQ(g_hoverMainButton, 3);
    EXPECT_EQ(UpdateHover({45, 7}, kPageMacro, tables), (C{true, true, false, true}));
    EXPECT_EQ(g_hoverLedButton, 70);
    EXPECT_EQ(g_hoverMacroButton, 19);
    EXPECT_EQ(UpdateHover({55, 2}, kPageLighting, tables), (C{false, true, false, true}));
    EXPECT_EQ(g_hoverLedButton, BUTTON_NONE);
    // A click handler's reset of an id does not count: the next move compares with the last move.
    g_hoverMainButton = BUTTON_NONE;
    UpdateHover({5, 5}, kPageMain, tables);
    g_hoverMainButton = BUTTON_NONE;
    EXPECT_EQ(UpdateHover({5, 5}, kPageMain, tables), (C{false, false, false, false}));
    EXPECT_EQ(g_hoverMainButton, 3);
}

TEST(SliderValues, SlidersByPressOffset)
{
    struct Row {
        const char* slider;
        int32_t offset;
        int32_t width;
        uint8_t current;
        std::optional<uint32_t> value;
    };
    const Row rows[] = {
        // Ten steps: 1 at the left edge, 10 at the right end; inside the step after the current
        // value, current + 1; a step of no whole pixel width does nothing.
        {"ten", 0, 480, 5, 1},     {"ten", 479, 480, 5, 10},  {"ten", 48, 480, 0, 1},  {"ten", 49, 480, 0, 2},
        {"ten", 100, 480, 1, 3},   {"ten", 96, 485, 1, 2},    {"ten", 96, 485, 0, 1},  {"ten", 9, 10, 5, 9},
        {"ten", 0, 10, 0, 1},      {"ten", 5, 9, 3, std::nullopt},                     {"ten", 0, 0, 3, std::nullopt},
        {"ten", 480, 480, 3, std::nullopt},                   {"ten", 200, 480, 200, 5},
        // Fire time: 1 at the left, 300 in the rightmost part (from 298), 297 below it.
        {"fire", 0, 480, 0, 1},    {"fire", 2, 480, 0, 1},    {"fire", 240, 480, 0, 150}, {"fire", 476, 480, 0, 297},
        {"fire", 477, 480, 0, 300}, {"fire", 479, 480, 0, 300}, {"fire", 2147483646, 2147483647, 0, 300},
        {"fire", 0, 0, 0, std::nullopt},
        // Brightness: 6 at the left edge, 0 at the right end.
        {"bright", 0, 200, 0, 6},  {"bright", 100, 200, 0, 3}, {"bright", 199, 200, 0, 0}, {"bright", 0, 1, 0, 6},
        {"bright", 0, 0, 0, std::nullopt},
        // Speed: 0 to 5.
        {"speed", 0, 300, 0, 0},   {"speed", 150, 300, 0, 3},  {"speed", 299, 300, 0, 5}, {"speed", 5, 0, 0, std::nullopt},
    };
    for (const Row& row : rows) {
        const std::string name = row.slider;
        std::optional<uint32_t> value;
        if (name == "ten") {
            if (auto v = TenStepValue(row.offset, row.width, row.current)) value = *v;
        } else if (name == "fire") {
            value = FireTimeValue(row.offset, row.width);
        } else if (name == "bright") {
            value = LedBrightnessValue(row.offset, row.width);
        } else if (auto v = LedSpeedValue(row.offset, row.width)) {
            value = *v;
        }
        EXPECT_EQ(value, row.value) << name << " " << row.offset << "/" << row.width << " from " << int{row.current};
    }
    // A press beside the hovered rectangle counts at its nearest pixel.
    const ButtonPos slider{262, 442, 480, 20};
    EXPECT_EQ(SliderOffset(100, slider), 0);
    EXPECT_EQ(SliderOffset(300, slider), 38);
    EXPECT_EQ(SliderOffset(262 + 500, slider), 479);
    EXPECT_EQ(SliderOffset(-2147483647 - 1, slider), 0);
    EXPECT_EQ(SliderOffset(50, {0, 0, 0, 0}), 0);
}

TEST(SliderValues, DpiEnableSwitchesAndCycleColours)
{
    using Flags = std::array<uint8_t, 6>;
    struct Row {
        Flags enabled;
        uint32_t current;
        uint32_t level;
        Flags enabledAfter;
        uint32_t currentAfter;
    };
    const Row rows[] = {
        // The only enabled level stays enabled and current.
        {{1, 0, 0, 0, 0, 0}, 0, 0, {1, 0, 0, 0, 0, 0}, 0},
        // A level that is not current never moves the current one.
        {{1, 1, 0, 0, 0, 0}, 0, 1, {1, 0, 0, 0, 0, 0}, 0},
        {{0, 0, 0, 0, 0, 0}, 3, 4, {0, 0, 0, 0, 1, 0}, 3},
        // The search passes level 0 on its way from 5.
        {{0, 1, 0, 0, 0, 1}, 5, 5, {0, 1, 0, 0, 0, 0}, 1},
        {{1, 1, 1, 1, 1, 1}, 2, 2, {1, 1, 0, 1, 1, 1}, 3},
        // Only a flag of 1 counts as enabled for the search (a 2 comes only from an edited file).
        {{0, 0, 2, 0, 0, 1}, 5, 5, {0, 0, 2, 0, 0, 1}, 5},
        {{0, 0, 2, 0, 0, 0}, 5, 2, {0, 0, 0, 0, 0, 0}, 5},
    };
    for (const Row& row : rows) {
        Flags enabled = row.enabled;
        uint32_t current = row.current;
        ToggleDpiLevel(enabled, current, row.level);
        EXPECT_EQ(enabled, row.enabledAfter) << "level " << row.level << " current " << row.current;
        EXPECT_EQ(current, row.currentAfter) << "level " << row.level << " current " << row.current;
    }

    // The last enabled cycle colour cannot be switched off.
    std::array<uint32_t, 7> colours = {0, 0, 0, 1, 0, 0, 0};
    ToggleCycleColour(colours, 3);
    EXPECT_EQ(colours, (std::array<uint32_t, 7>{0, 0, 0, 1, 0, 0, 0}));
    ToggleCycleColour(colours, 6);
    ToggleCycleColour(colours, 3);
    EXPECT_EQ(colours, (std::array<uint32_t, 7>{0, 0, 0, 0, 0, 0, 1}));
    ToggleCycleColour(colours, 7);  // no such slot
    EXPECT_EQ(colours, (std::array<uint32_t, 7>{0, 0, 0, 0, 0, 0, 1}));

    EXPECT_EQ(DpiStepOfButton(66).level, 0u);
    EXPECT_EQ(DpiStepOfButton(66).step, 0);
    EXPECT_EQ(DpiStepOfButton(89).level, 1u);
    EXPECT_EQ(DpiStepOfButton(89).step, 11);
    EXPECT_EQ(DpiStepOfButton(137).level, 5u);
    EXPECT_EQ(DpiStepOfButton(137).step, 11);
}

// Leaves the lighting page after a number of sleeps.
class PageLeavingClock : public FakeClock {
public:
    explicit PageLeavingClock(size_t sleeps) : sleeps_(sleeps) {}
    void SleepMs(uint32_t ms) override
    {
        FakeClock::SleepMs(ms);
        if (Sleeps().size() == sleeps_) g_page = kPageMain;
    }

private:
    size_t sleeps_;
};

// Its waits end only on the stop request; a plain sleep is a fault (it would outlast the window).
class StopOnlyClock : public Clock {
public:
    void SleepMs(uint32_t) override { slept = true; }
    void WaitMs(uint32_t, std::stop_token stop) override
    {
        {
            const std::lock_guard lock(mutex_);
            waiting_ = true;
        }
        changed_.notify_all();
        while (!stop.stop_requested()) WaitForStop(60000, stop);
    }
    uint64_t NowMs() override { return 0; }
    void WaitForAWait()
    {
        std::unique_lock lock(mutex_);
        changed_.wait_for(lock, std::chrono::seconds(30), [&] { return waiting_; });
    }
    std::atomic<bool> slept{false};

private:
    std::mutex mutex_;
    std::condition_variable changed_;
    bool waiting_ = false;
};

int g_repaints = 0;
void CountRepaint(void*) { ++g_repaints; }

TEST_F(HoverTest, PreviewRepaintsOncePerPeriodWhileTheLightingPageIsShown)
{
    struct Row {
        uint8_t speed;
        uint32_t period;
    };
    // Speeds above 5 come only from an edited file: they preview at the fastest pace.
    for (const Row row : {Row{0, 1200}, Row{1, 1000}, Row{4, 400}, Row{5, 200}, Row{6, 200}, Row{7, 200}, Row{255, 200}}) {
        PageLeavingClock clock(3);
        ScopedClock scope(clock);
        g_ledCycleTime = row.speed;
        g_page = kPageLighting;
        g_ledPreviewRunning = 1;
        g_repaints = 0;
        EXPECT_EQ(LedPreviewThread(nullptr, CountRepaint), 0u);
        EXPECT_EQ(g_repaints, 3) << int{row.speed};
        EXPECT_EQ(clock.Sleeps(), (std::vector<uint32_t>(3, row.period))) << int{row.speed};
        EXPECT_EQ(g_ledPreviewRunning, 0u);
    }
    g_ledCycleTime = 0;

    // Started on another page, it ends at once.
    FakeClock clock;
    ScopedClock scope(clock);
    g_page = kPageAdvanced;
    g_ledPreviewRunning = 1;
    g_repaints = 0;
    LedPreviewThread(nullptr, CountRepaint);
    EXPECT_EQ(g_repaints, 0);
    EXPECT_EQ(g_ledPreviewRunning, 0u);

    // The window's end stops it on the lighting page too, in the middle of its wait.
    if (ThreadsRunHere()) {
        StopOnlyClock stopOnly;
        ScopedClock stopScope(stopOnly);
        g_page = kPageLighting;
        g_ledPreviewRunning = 1;
        g_repaints = 0;
        {
            std::jthread preview([](std::stop_token stop) { LedPreviewThread(nullptr, CountRepaint, stop); });
            stopOnly.WaitForAWait();
        }
        EXPECT_EQ(g_ledPreviewRunning, 0u);
        EXPECT_EQ(g_repaints, 1);
        EXPECT_FALSE(stopOnly.slept);
    }

    // The blink thread sets its phase and ends without repainting.
    g_blinkRunning = 1;
    g_repaints = 0;
    EXPECT_EQ(BlinkThread(nullptr, CountRepaint), 0u);
    EXPECT_EQ(g_blinkPhase, 1u);
    EXPECT_EQ(g_blinkRunning, 0u);
    EXPECT_EQ(g_repaints, 0);
}

}  // namespace
