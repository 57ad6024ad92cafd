// What the program needs of a desktop. The core drives a Desktop and receives its events
// through DesktopEvents; each backend (GTK, Win32, the test fake) implements both sides of
// this one interface and nothing else.
//
// Every text that crosses this interface is in the program's code page, GBK; each backend
// decodes it explicitly for its toolkit, never through the system locale. URLs are ASCII.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string_view>

namespace tessaryn {

struct Point {
    std::int32_t x = 0;
    std::int32_t y = 0;
    friend bool operator==(const Point&, const Point&) = default;
};

struct Size {
    std::int32_t width = 0;
    std::int32_t height = 0;
    friend bool operator==(const Size&, const Size&) = default;
};

// left, top, width, height; right and bottom are exclusive.
struct Rect {
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t width = 0;
    std::int32_t height = 0;

    std::int32_t right() const { return left + width; }
    std::int32_t bottom() const { return top + height; }
    bool empty() const { return width <= 0 || height <= 0; }
    friend bool operator==(const Rect&, const Rect&) = default;
};

inline Rect intersect(const Rect& a, const Rect& b) {
    const std::int32_t left = a.left > b.left ? a.left : b.left;
    const std::int32_t top = a.top > b.top ? a.top : b.top;
    const std::int32_t right = a.right() < b.right() ? a.right() : b.right();
    const std::int32_t bottom = a.bottom() < b.bottom() ? a.bottom() : b.bottom();
    if (right <= left || bottom <= top) return {left, top, 0, 0};
    return {left, top, right - left, bottom - top};
}

struct Rgb {
    std::uint8_t r = 0;
    std::uint8_t g = 0;
    std::uint8_t b = 0;
    friend bool operator==(const Rgb&, const Rgb&) = default;
};

// A font by face, character height (pixels, internal leading excluded) and weight
// (400 normal, 700 bold). Where the desktop cannot make it, it uses its default interface font.
struct FontDesign {
    std::string_view face;
    std::int32_t char_height = 0;
    std::int32_t weight = 400;
};

// 64 x 64 pixels, 32 bits each, rows top to bottom, bytes R, G, B, A per pixel.
struct IconImage {
    static constexpr int kSide = 64;
    std::span<const std::uint8_t> rgba;
};

// Position of a control in the design order (0 = first, on top).
using ControlId = int;

// A top-level window of the desktop, as the shell's owner-window lookup sees it; 0 is none.
using WindowRef = std::uintptr_t;

enum class Key { escape, tab, other };

struct Modifiers {
    bool shift = false;
    bool ctrl = false;
    bool alt = false;
};

// Where the core paints the self-painted areas (the captions). Coordinates are the area's own;
// nothing is drawn outside `clip`.
class Canvas {
public:
    virtual ~Canvas() = default;

    virtual void fill_rect(const Rect& area, Rgb colour, const Rect& clip) = 0;

    // Fills `area`, limited to `clip` and to the quadrilateral with the given corners.
    virtual void fill_rect_in_quad(const Rect& area, Rgb colour, const Rect& clip,
                                   const std::array<Point, 4>& corners) = 0;

    // Height of one line of text in `font`, or in the default interface font without one.
    virtual std::int32_t line_height(const std::optional<FontDesign>& font) = 0;

    // One line of text whose line box starts at `top_left`, with a transparent background.
    virtual void draw_text(Point top_left, std::string_view text, const std::optional<FontDesign>& font,
                           Rgb colour, const Rect& clip) = 0;
};

// Events the desktop delivers to the core, always on the event-loop thread.
class DesktopEvents {
public:
    virtual ~DesktopEvents() = default;

    virtual void on_close_request() = 0;
    virtual void on_main_window_destroyed() = 0;

    // Every key-down meant for the main window or any window inside it, the game page
    // included, before that window sees it. Returns true when the key goes no further.
    virtual bool on_key_down(Key key, Modifiers modifiers) = 0;

    // The main window received the keyboard focus (on activation) / is about to lose it.
    virtual void on_focus_in() = 0;
    virtual void on_focus_out() = 0;

    virtual void on_clicked(ControlId control) = 0;
    virtual void on_tick(ControlId control) = 0;
    virtual void on_paint(ControlId control, Canvas& canvas, const Rect& dirty) = 0;

    // A page in a web view asked for a new window showing `url`.
    virtual void on_new_window_requested(ControlId control, std::string_view url) = 0;
};

struct MainWindowSetup {
    std::string_view title;
    Rect outer;  // screen pixels, frame and title bar included
    IconImage icon;
};

class Desktop {
public:
    virtual ~Desktop() = default;

    // Component-embedding services that the web engine needs, once per run.
    virtual bool init_embedding() = 0;
    virtual void release_embedding() = 0;

    virtual Size primary_screen_size() = 0;

    // The main window: fixed frame with title, window menu and close button only, button-face
    // background, its own taskbar entry; created hidden with exactly the outer rectangle given.
    virtual bool create_main_window(const MainWindowSetup& setup, DesktopEvents& events) = 0;
    virtual WindowRef main_window_ref() = 0;
    virtual void show_main_window() = 0;  // normal state, activated
    virtual void destroy_main_window() = 0;  // with all its controls

    // Controls: children of the main window at `rect` (client pixels, neither scaled nor
    // clipped), created hidden.
    virtual bool create_push_button(ControlId id, const Rect& rect, std::string_view text,
                                    const FontDesign& font, bool tab_stop) = 0;
    virtual bool create_painted_area(ControlId id, const Rect& rect, std::string_view text) = 0;
    virtual bool create_web_view(ControlId id, const Rect& rect) = 0;
    virtual bool create_timer(ControlId id) = 0;

    // Order of the controls on top of each other, first on top; moves and activates nothing.
    virtual void stack_controls(std::span<const ControlId> top_to_bottom) = 0;
    virtual void show_control(ControlId id) = 0;  // without activating it or moving the focus

    // The web engine inside a web view; results are not reported.
    virtual void web_set_offline(ControlId id, bool offline) = 0;
    virtual void web_set_silent(ControlId id, bool silent) = 0;
    virtual void web_set_text_size(ControlId id, int level) = 0;  // 0 smallest .. 4 largest, 2 normal
    virtual void web_navigate(ControlId id, std::string_view url) = 0;

    // A repeating event-loop timer; starting a running timer starts it anew.
    virtual void start_timer(ControlId id, std::int32_t period_ms) = 0;
    virtual void stop_timer(ControlId id) = 0;

    // The control holding the keyboard focus; a place inside a web view's page counts as the view.
    virtual std::optional<ControlId> focused_control() = 0;
    virtual void focus_control(ControlId id) = 0;

    virtual Rgb button_face_colour() = 0;

    // The next top-level window after `after` (0: from the first) whose title is exactly `title`.
    virtual WindowRef find_top_level_window(std::string_view title, WindowRef after) = 0;
    // Asks the desktop shell to open `url` in the default web browser; returns when the shell does.
    virtual void shell_open(std::string_view url, WindowRef owner) = 0;

    virtual void show_error_box(std::string_view title, std::string_view message) = 0;

    // Runs until post_quit; returns the quit request's code.
    virtual int run_event_loop() = 0;
    virtual void post_quit(int code) = 0;
};

// The desktop this build runs on, made by the backend linked into the program.
std::unique_ptr<Desktop> make_native_desktop();

}  // namespace tessaryn
