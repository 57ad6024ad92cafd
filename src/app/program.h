// The program from start to end: builds the main window from the design, runs the one event
// loop, delivers each control event to its handler and shuts down when the window is gone.
#pragma once

#include <functional>
#include <optional>
#include <vector>

#include "app/design.h"
#include "gameview/game_view.h"
#include "promo/promo_timer.h"

namespace tessaryn {

class Program final : public DesktopEvents {
public:
    // Routines run once at start and once at a normal end; the program itself needs none.
    struct Hooks {
        std::function<void()> on_start;
        std::function<void()> on_exit;
    };

    explicit Program(Desktop& desktop, Hooks hooks = {});

    // Returns the process exit code: 0 after the main window was closed, -1 when start failed.
    int run();

    void on_close_request() override;
    void on_main_window_destroyed() override;
    bool on_key_down(Key key, Modifiers modifiers) override;
    void on_focus_in() override;
    void on_focus_out() override;
    void on_clicked(ControlId control) override;
    void on_tick(ControlId control) override;
    void on_paint(ControlId control, Canvas& canvas, const Rect& dirty) override;
    void on_new_window_requested(ControlId control, std::string_view url) override;

private:
    bool build_main_window();
    bool create_control(const ControlDesign& control);
    int fail_start();
    void deliver(ControlId control, EventKind event);
    void run_exit_hook();

    Desktop& desktop_;
    const Design& design_;
    Hooks hooks_;
    GameView game_view_;
    PromoTimer promo_timer_;
    HandlerContext handler_context_;
    std::vector<ControlId> tab_cycle_;
    std::optional<ControlId> focus_at_deactivation_;
    bool window_alive_ = false;
    bool loop_entered_ = false;
    bool shutdown_ = false;
    bool exit_hook_ran_ = false;
};

}  // namespace tessaryn
