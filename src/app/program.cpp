#include "app/program.h"

#include <numeric>
#include <type_traits>
#include <variant>

#include "app/main_window.h"
#include "panel/label_painting.h"
#include "resources/icon.h"
#include "resources/texts.h"

namespace tessaryn {

Program::Program(Desktop& desktop, Hooks hooks)
    : desktop_(desktop),
      design_(design()),
      hooks_(std::move(hooks)),
      game_view_(desktop, 超文本浏览框1),
      promo_timer_(desktop, 时钟1),
      handler_context_{game_view_, promo_timer_, desktop},
      tab_cycle_(tab_cycle(design_)) {}

int Program::run() {
    if (!desktop_.init_embedding()) {
        desktop_.show_error_box(texts::kErrorTitle, texts::kErrorMessage);
        return -1;
    }
    if (hooks_.on_start) hooks_.on_start();
    if (!build_main_window()) return fail_start();

    loop_entered_ = true;
    const int exit_code = window_alive_ ? desktop_.run_event_loop() : 0;

    shutdown_ = true;
    run_exit_hook();
    desktop_.release_embedding();
    return exit_code;
}

bool Program::build_main_window() {
    const Size size = design_.window.size;
    const Point at = centred_position(desktop_.primary_screen_size(), size);
    const MainWindowSetup setup{design_.window.title, {at.x, at.y, size.width, size.height}, icon::window_icon()};
    if (!desktop_.create_main_window(setup, *this)) return false;
    window_alive_ = true;

    for (auto control = design_.controls.rbegin(); control != design_.controls.rend(); ++control) {
        if (!create_control(*control)) return false;
    }

    std::array<ControlId, kControlCount> top_to_bottom{};
    std::iota(top_to_bottom.begin(), top_to_bottom.end(), ControlId{0});
    desktop_.stack_controls(top_to_bottom);

    for (const auto& control : design_.controls) {
        const bool is_timer = std::holds_alternative<TimerDesign>(control.own);
        if (control.common.visible && !is_timer) desktop_.show_control(control.id);
    }
    desktop_.show_main_window();
    return true;
}

bool Program::create_control(const ControlDesign& control) {
    const Rect rect = control.common.rect();
    return std::visit(
        [&](const auto& own) {
            using Own = std::decay_t<decltype(own)>;
            if constexpr (std::is_same_v<Own, TimerDesign>) {
                return promo_timer_.create(own.period_ms);
            } else if constexpr (std::is_same_v<Own, PushButtonDesign>) {
                return desktop_.create_push_button(control.id, rect, own.text, own.font, control.common.tab_stop);
            } else if constexpr (std::is_same_v<Own, LabelDesign>) {
                return desktop_.create_painted_area(control.id, rect, own.text);
            } else {
                return game_view_.create(rect, own);
            }
        },
        control.own);
}

int Program::fail_start() {
    if (window_alive_) {
        promo_timer_.destroy();
        desktop_.destroy_main_window();
    }
    desktop_.show_error_box(texts::kErrorTitle, texts::kErrorMessage);
    desktop_.release_embedding();
    return -1;
}

void Program::run_exit_hook() {
    if (exit_hook_ran_) return;
    exit_hook_ran_ = true;
    if (hooks_.on_exit) hooks_.on_exit();
}

void Program::on_close_request() {
    if (!window_alive_) return;
    promo_timer_.destroy();
    desktop_.destroy_main_window();
}

void Program::on_main_window_destroyed() {
    if (!window_alive_) return;
    window_alive_ = false;
    promo_timer_.destroy();
    if (loop_entered_) desktop_.post_quit(0);
}

bool Program::on_key_down(Key key, Modifiers modifiers) {
    const KeyAction action = key_action(key, modifiers, design_.window.esc_closes);
    switch (action) {
    case KeyAction::pass_on:
        return false;
    case KeyAction::close:
        on_close_request();
        return true;
    case KeyAction::focus_next:
    case KeyAction::focus_previous: {
        const bool forward = action == KeyAction::focus_next;
        if (const auto target = next_focus(tab_cycle_, desktop_.focused_control(), forward)) {
            desktop_.focus_control(*target);
        }
        return true;
    }
    }
    return false;
}

void Program::on_focus_in() {
    const auto target = focus_at_deactivation_ ? focus_at_deactivation_
                                               : next_focus(tab_cycle_, std::nullopt, true);
    if (target) desktop_.focus_control(*target);
}

void Program::on_focus_out() {
    focus_at_deactivation_ = desktop_.focused_control();
}

void Program::on_clicked(ControlId control) { deliver(control, EventKind::clicked); }

void Program::on_tick(ControlId control) { deliver(control, EventKind::tick); }

void Program::deliver(ControlId control, EventKind event) {
    if (shutdown_ || control < 0 || control >= kControlCount) return;
    const auto& binding = design_.controls[static_cast<std::size_t>(control)].binding;
    if (!binding || binding->event != event) return;
    binding->handler(handler_context_);
}

void Program::on_paint(ControlId control, Canvas& canvas, const Rect& dirty) {
    if (control < 0 || control >= kControlCount) return;
    const auto& design = design_.controls[static_cast<std::size_t>(control)];
    if (const auto* label = std::get_if<LabelDesign>(&design.own)) {
        paint_label(canvas, *label, {design.common.width, design.common.height}, dirty,
                    desktop_.button_face_colour());
    }
}

void Program::on_new_window_requested(ControlId control, std::string_view url) {
    if (!shutdown_ && control == 超文本浏览框1) game_view_.open_new_window(url);
}

}  // namespace tessaryn
