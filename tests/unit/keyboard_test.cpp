#include <gtest/gtest.h>

#include <optional>
#include <vector>

#include "app/design.h"
#include "app/main_window.h"
#include "app/program.h"
#include "fake_desktop.h"

namespace tessaryn {
namespace {

using testing::close_window;
using testing::FakeDesktop;

TEST(Placement, CentresOnTheWholeScreenTruncatingTowardZero) {
    struct Case {
        Size screen;
        Point expected;
    };
    const Case cases[] = {
        {{1920, 1080}, {411, 195}},
        {{1024, 768}, {-37, 39}},
        {{1023, 768}, {-37, 39}},   // -75 / 2 is -37, not -38
        {{1099, 691}, {0, 0}},
        {{800, 600}, {-149, -45}},
        {{1098, 690}, {0, 0}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.screen.width << "x" << c.screen.height);
        EXPECT_EQ(centred_position(c.screen, {1098, 690}), c.expected);

        FakeDesktop desktop;
        desktop.screen = c.screen;
        desktop.loop = {close_window()};
        Program(desktop).run();
        ASSERT_TRUE(desktop.main_window);
        EXPECT_EQ(desktop.main_window->outer, (Rect{c.expected.x, c.expected.y, 1098, 690}));
    }
}

TEST(Keys, OnlyUnmodifiedEscAndTabOrShiftTabAreTheWindowsOwn) {
    struct Case {
        Key key;
        Modifiers modifiers;
        KeyAction expected;
    };
    const Case cases[] = {
        {Key::escape, {}, KeyAction::close},
        {Key::escape, {.shift = true}, KeyAction::pass_on},
        {Key::escape, {.ctrl = true}, KeyAction::pass_on},
        {Key::escape, {.alt = true}, KeyAction::pass_on},
        {Key::tab, {}, KeyAction::focus_next},
        {Key::tab, {.shift = true}, KeyAction::focus_previous},
        {Key::tab, {.ctrl = true}, KeyAction::pass_on},
        {Key::tab, {.shift = true, .ctrl = true}, KeyAction::pass_on},
        {Key::tab, {.alt = true}, KeyAction::pass_on},
        {Key::other, {}, KeyAction::pass_on},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << static_cast<int>(c.key) << " shift " << c.modifiers.shift << " ctrl "
                                          << c.modifiers.ctrl << " alt " << c.modifiers.alt);
        EXPECT_EQ(key_action(c.key, c.modifiers, true), c.expected);
    }
    EXPECT_EQ(key_action(Key::escape, {}, false), KeyAction::pass_on);
}

TEST(TabCycle, RunsThroughTheSixButtonsFromTheLatestInDesignOrder) {
    const std::vector<ControlId> expected = {按钮1, 按钮2, 按钮3, 按钮4, 按钮5, 按钮6};
    EXPECT_EQ(tab_cycle(design()), expected);
}

TEST(TabCycle, TabAndShiftTabWalkTheCycleAndWrap) {
    const auto cycle = tab_cycle(design());
    struct Case {
        std::optional<ControlId> from;
        ControlId tab;
        ControlId shift_tab;
    };
    const Case cases[] = {
        {按钮1, 按钮2, 按钮6},
        {按钮2, 按钮3, 按钮1},
        {按钮3, 按钮4, 按钮2},
        {按钮4, 按钮5, 按钮3},
        {按钮5, 按钮6, 按钮4},
        {按钮6, 按钮1, 按钮5},
        {超文本浏览框1, 按钮1, 按钮6},  // focus inside the game page
        {标签1, 按钮2, 按钮1},         // a control outside the cycle, between 按钮2 and 按钮1 in design order
        {std::nullopt, 按钮1, 按钮6},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.from.value_or(-1));
        EXPECT_EQ(next_focus(cycle, c.from, true), c.tab);
        EXPECT_EQ(next_focus(cycle, c.from, false), c.shift_tab);
    }
    EXPECT_EQ(next_focus({}, 按钮1, true), std::nullopt);
}

struct Keyboard : ::testing::Test {
    FakeDesktop desktop;
    Program program{desktop};
    std::vector<FakeDesktop::Step> steps;

    void run() {
        steps.push_back(close_window());
        desktop.loop = steps;
        ASSERT_EQ(program.run(), 0);
    }
};

TEST_F(Keyboard, TabKeysMoveTheFocusAndGoNoFurther) {
    desktop.focus = 超文本浏览框1;
    steps = {[](DesktopEvents& e) { EXPECT_TRUE(e.on_key_down(Key::tab, {})); },
             [](DesktopEvents& e) { EXPECT_TRUE(e.on_key_down(Key::tab, {})); },
             [](DesktopEvents& e) { EXPECT_TRUE(e.on_key_down(Key::tab, {.shift = true})); },
             [](DesktopEvents& e) { EXPECT_TRUE(e.on_key_down(Key::tab, {.shift = true})); },
             [](DesktopEvents& e) { EXPECT_FALSE(e.on_key_down(Key::tab, {.ctrl = true})); },
             [](DesktopEvents& e) { EXPECT_FALSE(e.on_key_down(Key::other, {})); }};
    run();
    const std::vector<std::string> expected = {"run_event_loop", "focus_control 8", "focus_control 6",
                                               "focus_control 8", "focus_control 1", "stop_timer 0"};
    auto log = desktop.since("run_event_loop");
    log.resize(expected.size());
    EXPECT_EQ(log, expected);
}

TEST_F(Keyboard, EscClosesFromAnywhereButShiftEscDoesNot) {
    desktop.focus = 超文本浏览框1;
    desktop.loop = {[](DesktopEvents& e) { EXPECT_FALSE(e.on_key_down(Key::escape, {.shift = true})); },
                    [](DesktopEvents& e) { EXPECT_TRUE(e.on_key_down(Key::escape, {})); }};
    EXPECT_EQ(program.run(), 0);
    const std::vector<std::string> expected = {"run_event_loop", "stop_timer 0", "destroy_main_window",
                                               "post_quit 0", "release_embedding"};
    EXPECT_EQ(desktop.since("run_event_loop"), expected);
}

TEST_F(Keyboard, FirstFocusGoesToTheRefreshButtonAndLaterFocusReturnsWhereItWas) {
    steps = {[](DesktopEvents& e) { e.on_focus_in(); },
             [this](DesktopEvents& e) {
                 EXPECT_EQ(desktop.focus, 按钮1);
                 desktop.focus = 超文本浏览框1;  // the player clicks into the page
                 e.on_focus_out();
                 desktop.focus = std::nullopt;  // another program is active
                 e.on_focus_in();
                 EXPECT_EQ(desktop.focus, 超文本浏览框1);
             },
             [this](DesktopEvents& e) {
                 desktop.focus = std::nullopt;  // nothing inside had the focus
                 e.on_focus_out();
                 e.on_focus_in();
                 EXPECT_EQ(desktop.focus, 按钮1);
             }};
    run();
}

}  // namespace
}  // namespace tessaryn
