#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "app/design.h"
#include "app/program.h"
#include "fake_desktop.h"
#include "resources/sites.h"

namespace tessaryn {
namespace {

using testing::close_window;
using testing::FakeDesktop;

const std::string kGameEntry(sites::kGameEntryUrl);

// Everything start-up asks of the desktop, in order, on a 1920 x 1080 screen.
const std::vector<std::string> kStartUp = {
    "init_embedding",
    "create_main_window",
    "create_web_view 9 -8,-32 1024x18000",
    "web_set_offline 9 false",
    "web_set_silent 9 true",
    "web_set_text_size 9 2",
    "web_navigate 9 " + kGameEntry,
    "create_push_button 8 1016,16 80x32 tab_stop",
    "create_painted_area 7 -8,624 1104x40",
    "create_push_button 6 1016,64 80x32 tab_stop",
    "create_painted_area 5 1024,448 72x24",
    "create_push_button 4 1016,480 80x32 tab_stop",
    "create_push_button 3 1016,560 80x32 tab_stop",
    "create_push_button 2 1016,600 80x32 tab_stop",
    "create_push_button 1 1016,520 80x32 tab_stop",
    "create_timer 0",
    "start_timer 0 1100",
    "stack 0 1 2 3 4 5 6 7 8 9",
    "show_control 1",
    "show_control 2",
    "show_control 3",
    "show_control 4",
    "show_control 5",
    "show_control 6",
    "show_control 7",
    "show_control 8",
    "show_control 9",
    "show_main_window",
    "run_event_loop",
};

struct HookedRun {
    FakeDesktop desktop;
    int starts = 0;
    int exits = 0;

    int run() {
        Program program(desktop, {[this] { ++starts; }, [this] { ++exits; }});
        return program.run();
    }
};

TEST(StartUp, BuildsTheWindowCompleteBeforeShowingItThenRunsTheLoop) {
    HookedRun run;
    run.desktop.loop = {close_window()};
    EXPECT_EQ(run.run(), 0);

    const std::vector<std::string> started(run.desktop.log.begin(),
                                           run.desktop.log.begin() + static_cast<long>(kStartUp.size()));
    EXPECT_EQ(started, kStartUp);
    ASSERT_TRUE(run.desktop.main_window);
    EXPECT_EQ(run.desktop.main_window->outer, (Rect{411, 195, 1098, 690}));
    EXPECT_EQ(run.desktop.main_window->title, design().window.title);
    EXPECT_EQ(run.starts, 1);
}

TEST(Shutdown, CloseStopsTheTimerBeforeTheWindowGoesThenQuitsWithZero) {
    HookedRun run;
    run.desktop.loop = {close_window()};
    EXPECT_EQ(run.run(), 0);

    const std::vector<std::string> expected = {"stop_timer 0", "destroy_main_window", "post_quit 0",
                                               "release_embedding"};
    EXPECT_EQ(run.desktop.since("stop_timer"), expected);
    EXPECT_EQ(run.exits, 1);
}

TEST(Shutdown, ASecondCloseRequestWhileClosingChangesNothing) {
    HookedRun run;
    run.desktop.loop = {[](DesktopEvents& events) {
        events.on_close_request();
        events.on_close_request();  // still queued when the first one was granted
    }};
    EXPECT_EQ(run.run(), 0);
    const std::vector<std::string> expected = {"stop_timer 0", "destroy_main_window", "post_quit 0",
                                               "release_embedding"};
    EXPECT_EQ(run.desktop.since("stop_timer"), expected);
    EXPECT_EQ(run.exits, 1);
}

TEST(Shutdown, NoEventReachesAHandlerOnceShutdownHasBegun) {
    FakeDesktop desktop;
    desktop.loop = {close_window()};
    Program program(desktop);
    ASSERT_EQ(program.run(), 0);
    const auto logged = desktop.log.size();

    program.on_clicked(按钮1);
    program.on_clicked(按钮3);
    program.on_tick(时钟1);
    program.on_new_window_requested(超文本浏览框1, "http://example.com/");
    EXPECT_EQ(desktop.log.size(), logged);
}

TEST(EventDelivery, AnEventWithoutABindingDoesNothing) {
    FakeDesktop desktop;
    Program program(desktop);
    desktop.loop = {[](DesktopEvents& events) {
                        events.on_clicked(标签1);        // a label binds nothing
                        events.on_clicked(超文本浏览框1);  // nor does the game view
                        events.on_tick(按钮2);           // a button binds its click, not a tick
                        events.on_clicked(时钟1);        // the timer binds its tick, not a click
                        events.on_clicked(-1);
                        events.on_clicked(kControlCount);
                    },
                    close_window()};
    ASSERT_EQ(program.run(), 0);
    const std::vector<std::string> expected = {"run_event_loop", "stop_timer 0", "destroy_main_window",
                                               "post_quit 0", "release_embedding"};
    EXPECT_EQ(desktop.since("run_event_loop"), expected);
}

// Every call that creates something can fail; start-up must then stop at once.
class FailedStart : public ::testing::TestWithParam<std::string> {};

TEST_P(FailedStart, StopsCreatingShowsTheErrorBoxSkipsTheExitHookAndEndsWithMinusOne) {
    HookedRun run;
    run.desktop.failing = {GetParam()};
    EXPECT_EQ(run.run(), -1);

    const auto& log = run.desktop.log;
    const auto failed = std::find(log.begin(), log.end(), GetParam());
    ASSERT_NE(failed, log.end());
    const std::vector<std::string> created_before(log.begin(), failed + 1);
    const std::vector<std::string> expected_before(kStartUp.begin(),
                                                   kStartUp.begin() + (failed - log.begin()) + 1);
    EXPECT_EQ(created_before, expected_before);

    const std::vector<std::string> after(failed + 1, log.end());
    std::vector<std::string> expected_after;
    if (GetParam() != "create_main_window") expected_after.push_back("destroy_main_window");
    expected_after.push_back("show_error_box");
    expected_after.push_back("release_embedding");
    EXPECT_EQ(after, expected_after);
    EXPECT_EQ(run.starts, 1);
    EXPECT_EQ(run.exits, 0);
}

std::vector<std::string> creations() {
    std::vector<std::string> calls;
    for (const auto& call : kStartUp) {
        if (call.rfind("create_", 0) == 0) calls.push_back(call);
    }
    return calls;
}

INSTANTIATE_TEST_SUITE_P(EachCreation, FailedStart, ::testing::ValuesIn(creations()));

TEST(FailedStart, WithoutEmbeddingServicesNothingIsCreatedAndNothingReleased) {
    HookedRun run;
    run.desktop.failing = {"init_embedding"};
    EXPECT_EQ(run.run(), -1);
    const std::vector<std::string> expected = {"init_embedding", "show_error_box"};
    EXPECT_EQ(run.desktop.log, expected);
    EXPECT_EQ(run.starts, 0);
    EXPECT_EQ(run.exits, 0);
}

}  // namespace
}  // namespace tessaryn
