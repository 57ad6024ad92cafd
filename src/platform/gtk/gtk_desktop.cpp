// The desktop on Linux: GTK 3 for the window and its controls, WebKitGTK for the game view,
// GIO for the default browser.
#include <gdk/gdkx.h>
#include <gtk/gtk.h>
#include <webkit2/webkit2.h>

#include <array>
#include <cstdio>
#include <map>
#include <string>

#include "platform/desktop.h"
#include "platform/gtk/cairo_canvas.h"
#include "platform/gtk/gbk.h"
#include "platform/gtk/x11_frame.h"

namespace tessaryn {
namespace gtk {
namespace {

constexpr int kFrameAnswerTimeoutMs = 1000;
constexpr const char* kProgramName = "tessaryn-desktop";

// Text size levels as the engine's text zoom: level 2 is the engine's normal size.
constexpr std::array<double, 5> kTextZoom{0.7, 0.85, 1.0, 1.15, 1.3};

std::string css_font(const FontDesign& font, const std::string& selector) {
    std::string families;
    for (const auto& family : font_families(font)) families += (families.empty() ? "\"" : ", \"") + family + "\"";
    return selector + " { font-family: " + families + "; font-size: " + std::to_string(font.char_height) +
           "px; font-weight: " + std::to_string(font.weight) + "; font-style: normal; }";
}

// Push buttons styled to exactly their design size: the theme's minimum sizes and padding
// would make them larger.
constexpr const char* kButtonCss =
    "button.design-button { min-width: 0; min-height: 0; padding: 0 2px; margin: 0; box-shadow: none; }"
    "button.design-button label { padding: 0; margin: 0; }";

class GtkDesktop final : public Desktop {
public:
    GtkDesktop() {
        // X11 first: only there can the program place its window and learn the frame size.
        gdk_set_allowed_backends("x11,*");
        g_set_prgname(kProgramName);
        display_open_ = gtk_init_check(nullptr, nullptr);
    }

    ~GtkDesktop() override {
        release_controls();
        if (web_context_ != nullptr) g_object_unref(web_context_);
    }

    // WebKitGTK needs no component services of the desktop.
    bool init_embedding() override { return true; }
    void release_embedding() override {}

    Size primary_screen_size() override {
        if (!display_open_) return {};
        GdkMonitor* monitor = gdk_display_get_primary_monitor(gdk_display_get_default());
        if (monitor == nullptr) monitor = gdk_display_get_monitor(gdk_display_get_default(), 0);
        if (monitor == nullptr) return {};
        GdkRectangle geometry{};
        gdk_monitor_get_geometry(monitor, &geometry);
        return {geometry.width, geometry.height};
    }

    bool create_main_window(const MainWindowSetup& setup, DesktopEvents& events) override;
    WindowRef main_window_ref() override {
        if (window_ == nullptr || !gtk_widget_get_realized(window_)) return 0;
        return static_cast<WindowRef>(reinterpret_cast<std::uintptr_t>(gtk_widget_get_window(window_)));
    }
    void show_main_window() override {
        gtk_widget_show(layout_);
        gtk_window_present(GTK_WINDOW(window_));
    }
    void destroy_main_window() override;

    bool create_push_button(ControlId id, const Rect& rect, std::string_view text, const FontDesign& font,
                            bool tab_stop) override;
    bool create_painted_area(ControlId id, const Rect& rect, std::string_view text) override;
    bool create_web_view(ControlId id, const Rect& rect) override;
    bool create_timer(ControlId) override { return true; }  // a GLib timeout needs nothing beforehand

    void stack_controls(std::span<const ControlId> top_to_bottom) override;
    void show_control(ControlId id) override {
        if (GtkWidget* widget = controls_[id].widget) gtk_widget_show(widget);
    }

    void web_set_offline(ControlId, bool) override;
    void web_set_silent(ControlId id, bool silent) override { controls_[id].silent = silent; }
    void web_set_text_size(ControlId id, int level) override;
    void web_navigate(ControlId id, std::string_view url) override {
        if (GtkWidget* view = controls_[id].widget) {
            webkit_web_view_load_uri(WEBKIT_WEB_VIEW(view), std::string(url).c_str());
        }
    }

    void start_timer(ControlId id, std::int32_t period_ms) override;
    void stop_timer(ControlId id) override;

    std::optional<ControlId> focused_control() override;
    void focus_control(ControlId id) override {
        if (GtkWidget* widget = controls_[id].widget) gtk_widget_grab_focus(widget);
    }

    Rgb button_face_colour() override;

    // A launch through GIO takes no owner window, so no window of this desktop can serve as one.
    WindowRef find_top_level_window(std::string_view, WindowRef) override { return 0; }
    void shell_open(std::string_view url, WindowRef owner) override;

    void show_error_box(std::string_view title, std::string_view message) override;

    int run_event_loop() override {
        gtk_main();
        return quit_code_;
    }
    void post_quit(int code) override {
        quit_code_ = code;
        gtk_main_quit();
    }

private:
    struct Control {
        GtkDesktop* desktop = nullptr;
        ControlId id = 0;
        GtkWidget* widget = nullptr;  // referenced from creation until the window is gone
        Rect rect;
        guint timer = 0;
        bool silent = false;
    };

    Control& adopt(ControlId id, GtkWidget* widget, const Rect& rect);
    void size_to_outer(const FrameExtents& frame);
    void release_controls();
    WebKitWebContext* web_context();

    static gboolean on_delete(GtkWidget*, GdkEvent*, gpointer self);
    static void on_destroy(GtkWidget*, gpointer self);
    static gboolean on_key_press(GtkWidget*, GdkEventKey* event, gpointer self);
    static gboolean on_focus_in(GtkWidget*, GdkEventFocus*, gpointer self);
    static gboolean on_focus_out(GtkWidget*, GdkEventFocus*, gpointer self);
    static gboolean on_configure(GtkWidget*, GdkEventConfigure*, gpointer self);
    static gboolean on_draw_background(GtkWidget* widget, cairo_t* cr, gpointer self);

    bool display_open_ = false;
    DesktopEvents* events_ = nullptr;
    GtkWidget* window_ = nullptr;
    GtkWidget* layout_ = nullptr;
    Rect outer_;
    FrameExtents frame_;
    std::map<ControlId, Control> controls_;  // nodes stay put: signal handlers hold their address
    WebKitWebContext* web_context_ = nullptr;
    int quit_code_ = 0;
};

GtkDesktop::Control& GtkDesktop::adopt(ControlId id, GtkWidget* widget, const Rect& rect) {
    Control& control = controls_[id];
    control.desktop = this;
    control.id = id;
    control.widget = GTK_WIDGET(g_object_ref_sink(widget));
    control.rect = rect;
    gtk_widget_set_size_request(widget, rect.width, rect.height);
    return control;
}

bool GtkDesktop::create_main_window(const MainWindowSetup& setup, DesktopEvents& events) {
    if (!display_open_) return false;
    events_ = &events;
    outer_ = setup.outer;

    window_ = gtk_window_new(GTK_WINDOW_TOPLEVEL);
    GtkWindow* window = GTK_WINDOW(window_);
    gtk_window_set_title(window, gbk_to_utf8(setup.title).c_str());
    gtk_window_set_resizable(window, FALSE);
    gtk_window_set_type_hint(window, GDK_WINDOW_TYPE_HINT_NORMAL);
    if (setup.icon.rgba.size() == std::size_t{IconImage::kSide} * IconImage::kSide * 4) {
        GBytes* bytes = g_bytes_new(setup.icon.rgba.data(), setup.icon.rgba.size());
        GdkPixbuf* icon = gdk_pixbuf_new_from_bytes(bytes, GDK_COLORSPACE_RGB, TRUE, 8, IconImage::kSide,
                                                    IconImage::kSide, IconImage::kSide * 4);
        gtk_window_set_icon(window, icon);
        g_object_unref(icon);
        g_bytes_unref(bytes);
    }

    // A GtkLayout, unlike a GtkFixed, does not grow the window to its tallest child, takes
    // negative positions, and paints its children in the order they were put in.
    layout_ = gtk_layout_new(nullptr, nullptr);
    gtk_container_add(GTK_CONTAINER(window_), layout_);
    g_signal_connect(layout_, "draw", G_CALLBACK(on_draw_background), this);

    GtkCssProvider* css = gtk_css_provider_new();
    gtk_css_provider_load_from_data(css, kButtonCss, -1, nullptr);
    gtk_style_context_add_provider_for_screen(gtk_widget_get_screen(window_), GTK_STYLE_PROVIDER(css),
                                              GTK_STYLE_PROVIDER_PRIORITY_APPLICATION);
    g_object_unref(css);

    g_signal_connect(window_, "delete-event", G_CALLBACK(on_delete), this);
    g_signal_connect(window_, "destroy", G_CALLBACK(on_destroy), this);
    g_signal_connect(window_, "key-press-event", G_CALLBACK(on_key_press), this);
    g_signal_connect(window_, "focus-in-event", G_CALLBACK(on_focus_in), this);
    g_signal_connect(window_, "focus-out-event", G_CALLBACK(on_focus_out), this);
    g_signal_connect(window_, "configure-event", G_CALLBACK(on_configure), this);

    gtk_widget_realize(window_);
    GdkWindow* gdk_window = gtk_widget_get_window(window_);
    gdk_window_set_functions(gdk_window, static_cast<GdkWMFunction>(GDK_FUNC_MOVE | GDK_FUNC_CLOSE));
    gdk_window_set_decorations(gdk_window,
                               static_cast<GdkWMDecoration>(GDK_DECOR_BORDER | GDK_DECOR_TITLE | GDK_DECOR_MENU));
    size_to_outer(request_frame_extents(gdk_window, kFrameAnswerTimeoutMs));
    return true;
}

// The client area is what the outer size leaves inside the frame; with north-west gravity the
// position given is that of the frame's top-left corner.
void GtkDesktop::size_to_outer(const FrameExtents& frame) {
    frame_ = frame;
    const int width = outer_.width - frame.left - frame.right;
    const int height = outer_.height - frame.top - frame.bottom;
    gtk_widget_set_size_request(layout_, width, height);
    gtk_window_resize(GTK_WINDOW(window_), width, height);
    // As a position the user asked for, which window managers keep even partly off the screen.
    GdkGeometry unused{};
    gtk_window_set_geometry_hints(GTK_WINDOW(window_), nullptr, &unused, GDK_HINT_USER_POS);
    gtk_window_move(GTK_WINDOW(window_), outer_.left, outer_.top);
}

gboolean GtkDesktop::on_configure(GtkWidget*, GdkEventConfigure*, gpointer self) {
    auto* desktop = static_cast<GtkDesktop*>(self);
    const auto frame = frame_extents(gtk_widget_get_window(desktop->window_));
    if (frame && *frame != desktop->frame_) desktop->size_to_outer(*frame);
    return FALSE;
}

void GtkDesktop::destroy_main_window() {
    if (window_ == nullptr) return;
    gtk_widget_destroy(window_);
    release_controls();
}

void GtkDesktop::release_controls() {
    for (auto& [id, control] : controls_) {
        if (control.widget == nullptr) continue;
        gtk_widget_destroy(control.widget);
        g_object_unref(control.widget);
        control.widget = nullptr;
    }
}

bool GtkDesktop::create_push_button(ControlId id, const Rect& rect, std::string_view text, const FontDesign& font,
                                    bool tab_stop) {
    GtkWidget* button = gtk_button_new_with_label(gbk_to_utf8(text).c_str());
    const std::string name = "design-button-" + std::to_string(id);
    gtk_widget_set_name(button, name.c_str());
    GtkStyleContext* style = gtk_widget_get_style_context(button);
    gtk_style_context_add_class(style, "design-button");

    GtkCssProvider* css = gtk_css_provider_new();
    const std::string rule = css_font(font, "#" + name);
    gtk_css_provider_load_from_data(css, rule.c_str(), -1, nullptr);
    GtkWidget* label = gtk_bin_get_child(GTK_BIN(button));
    gtk_style_context_add_provider(style, GTK_STYLE_PROVIDER(css), GTK_STYLE_PROVIDER_PRIORITY_APPLICATION);
    gtk_style_context_add_provider(gtk_widget_get_style_context(label), GTK_STYLE_PROVIDER(css),
                                   GTK_STYLE_PROVIDER_PRIORITY_APPLICATION);
    g_object_unref(css);

    // Centred on every line, wrapping where the text is wider than the button.
    gtk_label_set_line_wrap(GTK_LABEL(label), TRUE);
    gtk_label_set_line_wrap_mode(GTK_LABEL(label), PANGO_WRAP_WORD_CHAR);
    gtk_label_set_justify(GTK_LABEL(label), GTK_JUSTIFY_CENTER);
    gtk_label_set_max_width_chars(GTK_LABEL(label), 1);

    gtk_widget_set_can_focus(button, tab_stop);
    gtk_widget_set_can_default(button, FALSE);
    gtk_widget_set_focus_on_click(button, TRUE);
    Control& control = adopt(id, button, rect);
    g_signal_connect(button, "clicked", G_CALLBACK(+[](GtkButton*, gpointer data) {
                         auto* c = static_cast<Control*>(data);
                         c->desktop->events_->on_clicked(c->id);
                     }),
                     &control);
    return true;
}

bool GtkDesktop::create_painted_area(ControlId id, const Rect& rect, std::string_view text) {
    GtkWidget* area = gtk_drawing_area_new();
    gtk_widget_set_can_focus(area, FALSE);
    atk_object_set_name(gtk_widget_get_accessible(area), gbk_to_utf8(text).c_str());
    Control& control = adopt(id, area, rect);
    g_signal_connect(area, "draw", G_CALLBACK(+[](GtkWidget* widget, cairo_t* cr, gpointer data) {
                         auto* c = static_cast<Control*>(data);
                         GdkRectangle dirty{};
                         if (!gdk_cairo_get_clip_rectangle(cr, &dirty)) return TRUE;
                         PangoContext* pango = gtk_widget_get_pango_context(widget);
                         CairoCanvas canvas(cr, pango, pango_context_get_font_description(pango));
                         c->desktop->events_->on_paint(c->id, canvas,
                                                       Rect{dirty.x, dirty.y, dirty.width, dirty.height});
                         return TRUE;
                     }),
                     &control);
    return true;
}

// Cookies and cache live where a browser keeps them, so that a player stays logged in.
WebKitWebContext* GtkDesktop::web_context() {
    if (web_context_ != nullptr) return web_context_;
    gchar* data_dir = g_build_filename(g_get_user_data_dir(), kProgramName, nullptr);
    gchar* cache_dir = g_build_filename(g_get_user_cache_dir(), kProgramName, nullptr);
    WebKitWebsiteDataManager* data = webkit_website_data_manager_new("base-data-directory", data_dir,
                                                                     "base-cache-directory", cache_dir, nullptr);
    web_context_ = webkit_web_context_new_with_website_data_manager(data);
    gchar* cookies = g_build_filename(data_dir, "cookies.sqlite", nullptr);
    webkit_cookie_manager_set_persistent_storage(webkit_web_context_get_cookie_manager(web_context_), cookies,
                                                 WEBKIT_COOKIE_PERSISTENT_STORAGE_SQLITE);
    g_free(cookies);
    g_object_unref(data);
    g_free(cache_dir);
    g_free(data_dir);
    return web_context_;
}

bool GtkDesktop::create_web_view(ControlId id, const Rect& rect) {
    GtkWidget* view = webkit_web_view_new_with_context(web_context());
    if (view == nullptr) return false;
    WebKitSettings* settings = webkit_web_view_get_settings(WEBKIT_WEB_VIEW(view));
    // With acceleration a view this tall stays blank under a software renderer.
    webkit_settings_set_hardware_acceleration_policy(settings, WEBKIT_HARDWARE_ACCELERATION_POLICY_NEVER);
    webkit_settings_set_zoom_text_only(settings, TRUE);
    Control& control = adopt(id, view, rect);

    g_signal_connect(view, "create", G_CALLBACK(+[](WebKitWebView*, WebKitNavigationAction* action, gpointer data) {
                         auto* c = static_cast<Control*>(data);
                         WebKitURIRequest* request = webkit_navigation_action_get_request(action);
                         if (const char* uri = webkit_uri_request_get_uri(request)) {
                             c->desktop->events_->on_new_window_requested(c->id, uri);
                         }
                         return static_cast<GtkWidget*>(nullptr);
                     }),
                     &control);
    // Silent: the engine shows no dialog of its own; scripts get the answer a dismissed one gives.
    g_signal_connect(view, "script-dialog", G_CALLBACK(+[](WebKitWebView*, WebKitScriptDialog*, gpointer data) {
                         return static_cast<gboolean>(static_cast<Control*>(data)->silent);
                     }),
                     &control);
    g_signal_connect(view, "print", G_CALLBACK(+[](WebKitWebView*, WebKitPrintOperation*, gpointer data) {
                         return static_cast<gboolean>(static_cast<Control*>(data)->silent);
                     }),
                     &control);
    g_signal_connect(view, "authenticate",
                     G_CALLBACK(+[](WebKitWebView*, WebKitAuthenticationRequest* request, gpointer data) -> gboolean {
                         if (!static_cast<Control*>(data)->silent) return FALSE;
                         webkit_authentication_request_cancel(request);
                         return TRUE;
                     }),
                     &control);
    return true;
}

// Online is the engine's only mode: it has no cache-only loading to switch to.
void GtkDesktop::web_set_offline(ControlId, bool) {}

void GtkDesktop::web_set_text_size(ControlId id, int level) {
    GtkWidget* view = controls_[id].widget;
    if (view == nullptr || level < 0 || level >= static_cast<int>(kTextZoom.size())) return;
    webkit_web_view_set_zoom_level(WEBKIT_WEB_VIEW(view), kTextZoom[static_cast<std::size_t>(level)]);
}

void GtkDesktop::stack_controls(std::span<const ControlId> top_to_bottom) {
    for (auto id = top_to_bottom.rbegin(); id != top_to_bottom.rend(); ++id) {
        Control& control = controls_[*id];
        if (control.widget == nullptr) continue;
        gtk_layout_put(GTK_LAYOUT(layout_), control.widget, control.rect.left, control.rect.top);
    }
}

void GtkDesktop::start_timer(ControlId id, std::int32_t period_ms) {
    Control& control = controls_[id];
    control.desktop = this;
    control.id = id;
    if (control.timer != 0) g_source_remove(control.timer);
    control.timer = g_timeout_add(static_cast<guint>(period_ms),
                                  [](gpointer data) {
                                      auto* c = static_cast<Control*>(data);
                                      const guint ticking = c->timer;
                                      c->desktop->events_->on_tick(c->id);
                                      // Stopped or started anew by the tick: this source is done.
                                      return c->timer == ticking ? G_SOURCE_CONTINUE : G_SOURCE_REMOVE;
                                  },
                                  &control);
}

void GtkDesktop::stop_timer(ControlId id) {
    Control& control = controls_[id];
    if (control.timer == 0) return;
    g_source_remove(control.timer);
    control.timer = 0;
}

std::optional<ControlId> GtkDesktop::focused_control() {
    if (window_ == nullptr) return std::nullopt;
    GtkWidget* focus = gtk_window_get_focus(GTK_WINDOW(window_));
    if (focus == nullptr) return std::nullopt;
    for (const auto& [id, control] : controls_) {
        if (control.widget == nullptr) continue;
        if (focus == control.widget || gtk_widget_is_ancestor(focus, control.widget)) return id;
    }
    return std::nullopt;
}

Rgb GtkDesktop::button_face_colour() {
    GdkRGBA colour{0.965, 0.961, 0.957, 1.0};
    if (window_ != nullptr) {
        GtkStyleContext* style = gtk_widget_get_style_context(window_);
        if (!gtk_style_context_lookup_color(style, "theme_bg_color", &colour)) {
            gtk_style_context_lookup_color(style, "theme_base_color", &colour);
        }
    }
    auto channel = [](double value) { return static_cast<std::uint8_t>(value * 255.0 + 0.5); };
    return {channel(colour.red), channel(colour.green), channel(colour.blue)};
}

void GtkDesktop::shell_open(std::string_view url, WindowRef) {
    GdkAppLaunchContext* context = gdk_display_get_app_launch_context(gdk_display_get_default());
    GError* error = nullptr;
    g_app_info_launch_default_for_uri(std::string(url).c_str(), G_APP_LAUNCH_CONTEXT(context), &error);
    if (error != nullptr) g_error_free(error);
    g_object_unref(context);
}

void GtkDesktop::show_error_box(std::string_view title, std::string_view message) {
    const std::string utf8_title = gbk_to_utf8(title);
    const std::string utf8_message = gbk_to_utf8(message);
    if (!display_open_) {
        std::fprintf(stderr, "%s: %s: %s\n", kProgramName, utf8_title.c_str(), utf8_message.c_str());
        return;
    }
    GtkWidget* box = gtk_message_dialog_new(nullptr, GTK_DIALOG_MODAL, GTK_MESSAGE_ERROR, GTK_BUTTONS_OK, "%s",
                                            utf8_message.c_str());
    gtk_window_set_title(GTK_WINDOW(box), utf8_title.c_str());
    gtk_dialog_run(GTK_DIALOG(box));
    gtk_widget_destroy(box);
}

gboolean GtkDesktop::on_delete(GtkWidget*, GdkEvent*, gpointer self) {
    static_cast<GtkDesktop*>(self)->events_->on_close_request();
    return TRUE;  // the core destroys the window itself
}

void GtkDesktop::on_destroy(GtkWidget*, gpointer self) {
    auto* desktop = static_cast<GtkDesktop*>(self);
    desktop->window_ = nullptr;
    desktop->layout_ = nullptr;
    desktop->events_->on_main_window_destroyed();
}

gboolean GtkDesktop::on_key_press(GtkWidget*, GdkEventKey* event, gpointer self) {
    Key key = Key::other;
    switch (event->keyval) {
    case GDK_KEY_Escape:
        key = Key::escape;
        break;
    case GDK_KEY_Tab:
    case GDK_KEY_ISO_Left_Tab:
    case GDK_KEY_KP_Tab:
        key = Key::tab;
        break;
    default:
        break;
    }
    const Modifiers modifiers{(event->state & GDK_SHIFT_MASK) != 0, (event->state & GDK_CONTROL_MASK) != 0,
                              (event->state & GDK_MOD1_MASK) != 0};
    return static_cast<GtkDesktop*>(self)->events_->on_key_down(key, modifiers);
}

gboolean GtkDesktop::on_focus_in(GtkWidget*, GdkEventFocus*, gpointer self) {
    static_cast<GtkDesktop*>(self)->events_->on_focus_in();
    return FALSE;
}

gboolean GtkDesktop::on_focus_out(GtkWidget*, GdkEventFocus*, gpointer self) {
    static_cast<GtkDesktop*>(self)->events_->on_focus_out();
    return FALSE;
}

gboolean GtkDesktop::on_draw_background(GtkWidget* widget, cairo_t* cr, gpointer self) {
    const Rgb face = static_cast<GtkDesktop*>(self)->button_face_colour();
    GtkLayout* layout = GTK_LAYOUT(widget);
    if (gtk_cairo_should_draw_window(cr, gtk_layout_get_bin_window(layout))) {
        cairo_set_source_rgb(cr, face.r / 255.0, face.g / 255.0, face.b / 255.0);
        cairo_paint(cr);
    }
    return FALSE;
}

}  // namespace
}  // namespace gtk

std::unique_ptr<Desktop> make_native_desktop() { return std::make_unique<gtk::GtkDesktop>(); }

}  // namespace tessaryn
