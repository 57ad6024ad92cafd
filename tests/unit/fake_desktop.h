// A desktop that records every call the core makes, in order, and runs a scripted event loop,
// so that tests see start-up, events and shutdown exactly as a real backend would drive them.
#pragma once

#include <functional>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "platform/desktop.h"

namespace tessaryn::testing {

class FakeDesktop final : public Desktop {
public:
    // One step of the event loop: the test delivers events to the core through `events`.
    using Step = std::function<void(DesktopEvents& events)>;

    std::vector<std::string> log;
    Size screen{1920, 1080};
    std::set<std::string> failing;              // calls, by their log text, that fail
    std::vector<std::pair<WindowRef, std::string>> top_level_windows;  // in the desktop's order
    std::vector<Step> loop;                     // run by run_event_loop, one after another
    std::optional<ControlId> focus;
    std::optional<MainWindowSetup> main_window;
    Rgb button_face{212, 208, 200};
    static constexpr WindowRef kMainWindow = 0x1000;

    bool init_embedding() override { return record("init_embedding"); }
    void release_embedding() override { record("release_embedding"); }
    Size primary_screen_size() override { return screen; }

    bool create_main_window(const MainWindowSetup& setup, DesktopEvents& sink) override {
        events_ = &sink;
        if (!record("create_main_window")) return false;
        main_window = setup;
        window_alive_ = true;
        return true;
    }
    WindowRef main_window_ref() override { return window_alive_ ? kMainWindow : 0; }
    void show_main_window() override { record("show_main_window"); }
    void destroy_main_window() override {
        record("destroy_main_window");
        window_alive_ = false;
        events_->on_main_window_destroyed();
    }

    bool create_push_button(ControlId id, const Rect& rect, std::string_view, const FontDesign&,
                            bool tab_stop) override {
        return record("create_push_button " + std::to_string(id) + " " + str(rect) + (tab_stop ? " tab_stop" : ""));
    }
    bool create_painted_area(ControlId id, const Rect& rect, std::string_view) override {
        return record("create_painted_area " + std::to_string(id) + " " + str(rect));
    }
    bool create_web_view(ControlId id, const Rect& rect) override {
        return record("create_web_view " + std::to_string(id) + " " + str(rect));
    }
    bool create_timer(ControlId id) override { return record("create_timer " + std::to_string(id)); }

    void stack_controls(std::span<const ControlId> top_to_bottom) override {
        std::string entry = "stack";
        for (ControlId id : top_to_bottom) entry += " " + std::to_string(id);
        record(entry);
    }
    void show_control(ControlId id) override { record("show_control " + std::to_string(id)); }

    void web_set_offline(ControlId id, bool offline) override {
        record("web_set_offline " + std::to_string(id) + (offline ? " true" : " false"));
    }
    void web_set_silent(ControlId id, bool silent) override {
        record("web_set_silent " + std::to_string(id) + (silent ? " true" : " false"));
    }
    void web_set_text_size(ControlId id, int level) override {
        record("web_set_text_size " + std::to_string(id) + " " + std::to_string(level));
    }
    void web_navigate(ControlId id, std::string_view url) override {
        record("web_navigate " + std::to_string(id) + " " + std::string(url));
    }

    void start_timer(ControlId id, std::int32_t period_ms) override {
        record("start_timer " + std::to_string(id) + " " + std::to_string(period_ms));
    }
    void stop_timer(ControlId id) override { record("stop_timer " + std::to_string(id)); }

    std::optional<ControlId> focused_control() override { return focus; }
    void focus_control(ControlId id) override {
        focus = id;
        record("focus_control " + std::to_string(id));
    }

    Rgb button_face_colour() override { return button_face; }

    WindowRef find_top_level_window(std::string_view title, WindowRef after) override {
        bool past_after = after == 0;
        for (const auto& [ref, window_title] : top_level_windows) {
            if (past_after && window_title == title) return ref;
            if (ref == after) past_after = true;
        }
        return 0;
    }
    void shell_open(std::string_view url, WindowRef owner) override {
        record("shell_open " + std::string(url) + " owner " + std::to_string(owner));
    }

    void show_error_box(std::string_view, std::string_view) override { record("show_error_box"); }

    int run_event_loop() override {
        record("run_event_loop");
        for (const Step& step : loop) {
            if (quit_code_) break;
            step(*events_);
        }
        return quit_code_.value_or(kLoopNeverQuit);
    }
    void post_quit(int code) override {
        record("post_quit " + std::to_string(code));
        quit_code_ = code;
    }

    static constexpr int kLoopNeverQuit = 1234;

    // The calls logged from the first one that starts with `prefix` on.
    std::vector<std::string> since(const std::string& prefix) const {
        for (auto it = log.begin(); it != log.end(); ++it) {
            if (it->rfind(prefix, 0) == 0) return {it, log.end()};
        }
        return {};
    }

private:
    static std::string str(const Rect& r) {
        return std::to_string(r.left) + "," + std::to_string(r.top) + " " + std::to_string(r.width) + "x" +
               std::to_string(r.height);
    }
    bool record(const std::string& entry) {
        log.push_back(entry);
        return failing.count(entry) == 0;
    }

    DesktopEvents* events_ = nullptr;
    bool window_alive_ = false;
    std::optional<int> quit_code_;
};

// Loop steps for the common cases.
inline FakeDesktop::Step close_window() {
    return [](DesktopEvents& events) { events.on_close_request(); };
}

}  // namespace tessaryn::testing
