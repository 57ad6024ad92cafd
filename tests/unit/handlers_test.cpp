#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "app/design.h"
#include "app/program.h"
#include "fake_desktop.h"
#include "gameview/game_view.h"
#include "promo/promo_timer.h"
#include "resources/sites.h"
#include "shell/default_browser.h"

namespace tessaryn {
namespace {

using testing::close_window;
using testing::FakeDesktop;

std::string opened(std::string_view url, WindowRef owner = 0) {
    return "shell_open " + std::string(url) + " owner " + std::to_string(owner);
}

// Runs the program, delivers `event` once the loop runs, and returns what the desktop was asked
// to do between the event and the close.
std::vector<std::string> calls_for(const FakeDesktop::Step& event) {
    FakeDesktop desktop;
    desktop.loop = {event, [&](DesktopEvents&) { desktop.log.push_back("closing"); }, close_window()};
    Program program(desktop);
    EXPECT_EQ(program.run(), 0);
    auto calls = desktop.since("run_event_loop");
    calls.erase(calls.begin());
    calls.erase(std::find(calls.begin(), calls.end(), "closing"), calls.end());
    return calls;
}

TEST(ClickHandlers, EachButtonMakesExactlyItsOneCallEveryTime) {
    struct Case {
        ControlId button;
        std::string call;
    };
    const Case cases[] = {
        {按钮1, "web_navigate 9 " + std::string(sites::kGameEntryUrl)},
        {按钮2, opened(sites::kMakerSiteUrl)},
        {按钮3, opened(sites::kMakerSiteUrl)},
        {按钮4, opened(sites::kFirstPartnerSiteUrl)},
        {按钮5, opened(sites::kSecondPartnerSiteUrl)},
        {按钮6, opened(sites::kMakerSoftwareSiteUrl)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(design().controls[static_cast<std::size_t>(c.button)].name);
        const auto calls = calls_for([&](DesktopEvents& e) {
            e.on_clicked(c.button);
            e.on_clicked(c.button);
        });
        EXPECT_EQ(calls, (std::vector<std::string>{c.call, c.call}));
    }
}

TEST(PromotionTimer, ItsTickStopsItBeforeTheMakersSiteIsOpened) {
    const auto calls = calls_for([](DesktopEvents& e) { e.on_tick(时钟1); });
    EXPECT_EQ(calls, (std::vector<std::string>{"stop_timer 0", opened(sites::kMakerSiteUrl)}));
}

TEST(PromotionTimer, OpensTheMakersSiteOnceAndIsNotStoppedAgainAtClose) {
    FakeDesktop desktop;
    desktop.loop = {[](DesktopEvents& e) { e.on_tick(时钟1); }, close_window()};
    ASSERT_EQ(Program(desktop).run(), 0);
    const std::vector<std::string> expected = {"run_event_loop", "stop_timer 0", opened(sites::kMakerSiteUrl),
                                               "destroy_main_window", "post_quit 0", "release_embedding"};
    EXPECT_EQ(desktop.since("run_event_loop"), expected);
}

TEST(PromotionTimer, ClosingBeforeTheFirstTickOpensNothing) {
    FakeDesktop desktop;
    desktop.loop = {close_window()};
    ASSERT_EQ(Program(desktop).run(), 0);
    for (const auto& call : desktop.log) EXPECT_EQ(call.rfind("shell_open", 0), std::string::npos) << call;
}

TEST(PromotionTimer, SetPeriodStopsOrStartsItAnew) {
    FakeDesktop desktop;
    PromoTimer timer(desktop, 时钟1);
    timer.set_period(500);  // not created yet: nothing to arm
    EXPECT_TRUE(desktop.log.empty());

    ASSERT_TRUE(timer.create(1100));
    EXPECT_TRUE(timer.running());
    EXPECT_EQ(timer.period(), 1100);
    timer.set_period(250);
    EXPECT_EQ(timer.period(), 250);
    timer.set_period(0);
    EXPECT_FALSE(timer.running());
    EXPECT_EQ(timer.period(), 0);
    timer.set_period(0);
    timer.set_period(-5);  // never armed with a period below zero
    EXPECT_FALSE(timer.running());
    timer.set_period(1100);
    timer.destroy();
    timer.destroy();
    EXPECT_FALSE(timer.running());
    const std::vector<std::string> expected = {"create_timer 0", "start_timer 0 1100", "start_timer 0 250",
                                               "stop_timer 0",   "start_timer 0 1100", "stop_timer 0"};
    EXPECT_EQ(desktop.log, expected);
}

TEST(DefaultBrowser, TheOwnerIsTheFirstBrowserWindowThatIsNotTheProgramsOwn) {
    constexpr WindowRef own = FakeDesktop::kMainWindow;
    const std::string browser = "Microsoft Internet Explorer";
    struct Case {
        std::vector<std::pair<WindowRef, std::string>> windows;
        WindowRef owner;
    };
    const Case cases[] = {
        {{}, 0},
        {{{7, "Microsoft Internet Explorer - page"}, {8, "microsoft internet explorer"}}, 0},  // exact titles only
        {{{7, "Other"}, {8, browser}, {9, browser}}, 8},
        {{{own, browser}}, 0},
        {{{own, browser}, {9, browser}}, 9},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.owner);
        FakeDesktop desktop;
        desktop.top_level_windows = c.windows;
        desktop.loop = {[](DesktopEvents& e) { e.on_clicked(按钮4); }, close_window()};
        Program(desktop).run();
        const auto calls = desktop.since("shell_open");
        ASSERT_FALSE(calls.empty());
        EXPECT_EQ(calls.front(), opened(sites::kFirstPartnerSiteUrl, c.owner));
    }
}

TEST(GameView, NavigateAlwaysStartsAFreshNavigationAndKeepsTheAddress) {
    FakeDesktop desktop;
    GameView view(desktop, 超文本浏览框1);
    view.navigate("http://a.test/");
    view.navigate("http://a.test/");
    view.navigate("");
    EXPECT_EQ(view.url(), "");
    const std::vector<std::string> expected = {"web_navigate 9 http://a.test/", "web_navigate 9 http://a.test/",
                                               "web_navigate 9 "};
    EXPECT_EQ(desktop.log, expected);
}

TEST(GameView, ANewWindowOpensInTheDefaultBrowserOnlyForWebAddresses) {
    struct Case {
        std::string url;
        bool opens;
    };
    const Case cases[] = {
        {"http://x.test/a", true},   {"https://x.test/b", true}, {"HTTPS://X.TEST/", true},
        {"javascript:alert(1)", false}, {"file:///etc/passwd", false}, {"about:blank", false},
        {"x.test/no-scheme", false}, {"", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.url);
        const auto calls = calls_for([&](DesktopEvents& e) { e.on_new_window_requested(超文本浏览框1, c.url); });
        EXPECT_EQ(calls, c.opens ? std::vector<std::string>{opened(c.url)} : std::vector<std::string>{});
    }
    EXPECT_TRUE(calls_for([](DesktopEvents& e) { e.on_new_window_requested(按钮1, "http://x.test/"); }).empty());
}

}  // namespace
}  // namespace tessaryn
