// The main window and its ten controls as fixed data, made once at start and never changed.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <variant>

#include "platform/desktop.h"

namespace tessaryn {

class GameView;
class PromoTimer;

// The controls by name, numbered in design order: the first is on top and created last.
enum : ControlId {
    时钟1,
    按钮6,
    按钮5,
    按钮4,
    按钮3,
    标签2,
    按钮2,
    标签1,
    按钮1,
    超文本浏览框1,
    kControlCount
};

// What a handler may call; it reads no state of its own and keeps none.
struct HandlerContext {
    GameView& game_view;
    PromoTimer& promo_timer;
    Desktop& desktop;
};
using Handler = void (*)(HandlerContext&);

enum class EventKind { clicked, tick };

struct Binding {
    EventKind event;
    Handler handler;
};

enum class MousePointer { none_of_its_own };

struct CommonSettings {
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::string tag;
    bool visible = true;
    bool disable = false;
    MousePointer mouse_pointer = MousePointer::none_of_its_own;
    bool tab_stop = false;
    std::int32_t tab_position = 0;

    Rect rect() const { return {left, top, width, height}; }
};

struct PushButtonDesign {
    std::string text;
    FontDesign font;
};

struct GradientFrame {
    std::int32_t width = 0;
    std::span<const Rgb> stops;
};

enum class LabelBackground { button_face, black };

struct LabelDesign {
    std::string text;
    Rgb text_colour;
    LabelBackground background;
    std::optional<GradientFrame> frame;
    std::optional<FontDesign> font;  // none: the default interface font
};

struct WebViewDesign {
    std::int32_t FontSize = 2;
    bool Offline = false;
    bool Silent = true;
    std::string url;
};

struct TimerDesign {
    std::int32_t period_ms = 0;
};

using OwnDesign = std::variant<TimerDesign, PushButtonDesign, LabelDesign, WebViewDesign>;

struct ControlDesign {
    ControlId id;
    std::string_view name;
    CommonSettings common;
    OwnDesign own;
    std::optional<Binding> binding;
};

struct MainWindowDesign {
    Size size;
    std::string title;
    bool esc_closes = true;
};

struct Design {
    MainWindowDesign window;
    std::array<ControlDesign, kControlCount> controls;  // in design order
};

// The program's design.
const Design& design();

}  // namespace tessaryn
