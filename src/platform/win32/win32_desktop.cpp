// The desktop on Windows: Win32 windows and GDI, the system web browser control through OLE,
// and the shell for the default browser.
#include <windows.h>
#include <commctrl.h>
#include <ole2.h>
#include <shellapi.h>

#include <map>
#include <string>
#include <vector>

#include "platform/desktop.h"
#include "platform/win32/browser_host.h"
#include "platform/win32/text.h"
#include "platform/win32/win32_canvas.h"

namespace tessaryn {
namespace {

using win32::BrowserHost;
using win32::from_gbk;

constexpr wchar_t kMainWindowClass[] = L"TessarynMainWindow";
constexpr wchar_t kPaintedAreaClass[] = L"TessarynPaintedArea";
constexpr wchar_t kTimerWindowClass[] = L"TessarynTimer";
constexpr UINT_PTR kTimerEvent = 1;

HMENU child_id(ControlId id) { return reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)); }

Key key_of(WPARAM virtual_key) {
    switch (virtual_key) {
    case VK_ESCAPE:
        return Key::escape;
    case VK_TAB:
        return Key::tab;
    default:
        return Key::other;
    }
}

Modifiers modifiers_now() {
    return {GetKeyState(VK_SHIFT) < 0, GetKeyState(VK_CONTROL) < 0, GetKeyState(VK_MENU) < 0};
}

// The window icon from the design's 64 x 64 picture; null when the picture is not of that form.
HICON create_icon(const IconImage& image) {
    constexpr int kSide = IconImage::kSide;
    if (image.rgba.size() != static_cast<std::size_t>(kSide * kSide * 4)) return nullptr;

    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = kSide;
    info.bmiHeader.biHeight = -kSide;  // rows top to bottom, as the picture has them
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    const HBITMAP colour = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!colour) return nullptr;
    auto* target = static_cast<std::uint8_t*>(bits);
    for (std::size_t at = 0; at < image.rgba.size(); at += 4) {
        target[at] = image.rgba[at + 2];
        target[at + 1] = image.rgba[at + 1];
        target[at + 2] = image.rgba[at];
        target[at + 3] = image.rgba[at + 3];
    }
    // The picture is fully opaque, so the mask lets every pixel through.
    const std::vector<std::uint8_t> mask_bits(kSide * kSide / 8, 0);
    const HBITMAP mask = CreateBitmap(kSide, kSide, 1, 1, mask_bits.data());

    ICONINFO icon_info{};
    icon_info.fIcon = TRUE;
    icon_info.hbmColor = colour;
    icon_info.hbmMask = mask;
    const HICON icon = mask ? CreateIconIndirect(&icon_info) : nullptr;
    DeleteObject(colour);
    if (mask) DeleteObject(mask);
    return icon;
}

class Win32Desktop final : public Desktop {
public:
    Win32Desktop() : instance_(GetModuleHandleW(nullptr)) {}
    ~Win32Desktop() override { destroy_main_window(); }

    bool init_embedding() override { return SUCCEEDED(OleInitialize(nullptr)); }
    void release_embedding() override { OleUninitialize(); }

    Size primary_screen_size() override { return {GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)}; }

    bool create_main_window(const MainWindowSetup& main_window, DesktopEvents& events) override;
    WindowRef main_window_ref() override { return reinterpret_cast<WindowRef>(main_); }
    void show_main_window() override;
    void destroy_main_window() override {
        if (main_) DestroyWindow(main_);
    }

    bool create_push_button(ControlId id, const Rect& rect, std::string_view text, const FontDesign& font,
                            bool tab_stop) override;
    bool create_painted_area(ControlId id, const Rect& rect, std::string_view text) override;
    bool create_web_view(ControlId id, const Rect& rect) override;
    bool create_timer(ControlId id) override;

    void stack_controls(std::span<const ControlId> top_to_bottom) override;
    void show_control(ControlId id) override {
        if (const HWND window = control_window(id)) ShowWindow(window, SW_SHOWNOACTIVATE);
    }

    void web_set_offline(ControlId id, bool offline) override {
        if (IWebBrowser2* browser = browser_of(id)) browser->put_Offline(offline ? VARIANT_TRUE : VARIANT_FALSE);
    }
    void web_set_silent(ControlId id, bool silent) override {
        if (IWebBrowser2* browser = browser_of(id)) browser->put_Silent(silent ? VARIANT_TRUE : VARIANT_FALSE);
    }
    void web_set_text_size(ControlId id, int level) override;
    void web_navigate(ControlId id, std::string_view url) override;

    void start_timer(ControlId id, std::int32_t period_ms) override {
        if (const HWND window = control_window(id)) {
            SetTimer(window, kTimerEvent, static_cast<UINT>(period_ms), nullptr);
        }
    }
    void stop_timer(ControlId id) override {
        if (const HWND window = control_window(id)) KillTimer(window, kTimerEvent);
    }

    std::optional<ControlId> focused_control() override;
    void focus_control(ControlId id) override {
        if (const HWND window = control_window(id)) SetFocus(window);
    }

    Rgb button_face_colour() override {
        const COLORREF colour = GetSysColor(COLOR_BTNFACE);
        return {GetRValue(colour), GetGValue(colour), GetBValue(colour)};
    }

    WindowRef find_top_level_window(std::string_view title, WindowRef after) override {
        const std::string wanted(title);
        return reinterpret_cast<WindowRef>(
            FindWindowExA(nullptr, reinterpret_cast<HWND>(after), nullptr, wanted.c_str()));
    }
    void shell_open(std::string_view url, WindowRef owner) override {
        const std::string target(url);
        ShellExecuteA(reinterpret_cast<HWND>(owner), "open", target.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
    }

    void show_error_box(std::string_view title, std::string_view message) override {
        MessageBoxW(nullptr, from_gbk(message).c_str(), from_gbk(title).c_str(), MB_OK | MB_ICONERROR);
    }

    int run_event_loop() override;
    void post_quit(int code) override { PostQuitMessage(code); }

private:
    struct Control {
        HWND window = nullptr;
        HFONT font = nullptr;  // owned; null for the stock font or none
        std::unique_ptr<BrowserHost> browser;
    };

    void register_window_classes();
    bool add_child(ControlId id, const wchar_t* window_class, const std::wstring& text, DWORD style,
                   const Rect& rect);
    HWND control_window(ControlId id) const;
    IWebBrowser2* browser_of(ControlId id) const;
    bool inside_main_window(HWND window) const;
    bool pre_process_key(const MSG& message);
    bool translate_for_page(MSG& message);
    void forget_main_window();

    LRESULT main_window_message(UINT message, WPARAM wparam, LPARAM lparam);
    static LRESULT CALLBACK main_window_procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
    static LRESULT CALLBACK painted_area_procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
    static LRESULT CALLBACK timer_window_procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam);

    HINSTANCE instance_;
    bool classes_registered_ = false;
    HWND main_ = nullptr;
    HICON icon_ = nullptr;  // owned; null when the program file's icon serves
    DesktopEvents* events_ = nullptr;
    std::map<ControlId, Control> controls_;
};

// The desktop of a child window, from its creation parameters.
Win32Desktop* desktop_of(HWND window, UINT message, LPARAM lparam) {
    if (message == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lparam);
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    return reinterpret_cast<Win32Desktop*>(GetWindowLongPtrW(window, GWLP_USERDATA));
}

void Win32Desktop::register_window_classes() {
    if (classes_registered_) return;
    classes_registered_ = true;

    // The push buttons in the look that the manifest asks for.
    INITCOMMONCONTROLSEX common_controls{sizeof(common_controls), ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&common_controls);

    WNDCLASSEXW main_class{};
    main_class.cbSize = sizeof(main_class);
    main_class.lpfnWndProc = main_window_procedure;
    main_class.hInstance = instance_;
    main_class.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    main_class.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    main_class.lpszClassName = kMainWindowClass;
    RegisterClassExW(&main_class);

    // No background of its own: the core paints every pixel, whole again after a resize.
    WNDCLASSEXW painted_class{};
    painted_class.cbSize = sizeof(painted_class);
    painted_class.style = CS_HREDRAW | CS_VREDRAW;
    painted_class.lpfnWndProc = painted_area_procedure;
    painted_class.hInstance = instance_;
    painted_class.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    painted_class.lpszClassName = kPaintedAreaClass;
    RegisterClassExW(&painted_class);

    WNDCLASSEXW timer_class{};
    timer_class.cbSize = sizeof(timer_class);
    timer_class.lpfnWndProc = timer_window_procedure;
    timer_class.hInstance = instance_;
    timer_class.lpszClassName = kTimerWindowClass;
    RegisterClassExW(&timer_class);

    BrowserHost::register_window_class(instance_);
}

bool Win32Desktop::create_main_window(const MainWindowSetup& main_window, DesktopEvents& events) {
    register_window_classes();
    events_ = &events;
    const Rect& outer = main_window.outer;
    const HWND window = CreateWindowExW(0, kMainWindowClass, from_gbk(main_window.title).c_str(),
                                        WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN, outer.left,
                                        outer.top, outer.width, outer.height, nullptr, nullptr, instance_, this);
    if (!window) return false;

    RECT placed{};
    GetWindowRect(main_, &placed);
    if (placed.right - placed.left != outer.width || placed.bottom - placed.top != outer.height) {
        SetWindowPos(main_, nullptr, 0, 0, outer.width, outer.height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }

    icon_ = create_icon(main_window.icon);
    const HICON icon = icon_ ? icon_
                             : static_cast<HICON>(LoadImageW(instance_, L"DEFAULT_ICON", IMAGE_ICON, IconImage::kSide,
                                                             IconImage::kSide, LR_SHARED));
    SendMessageW(main_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
    SendMessageW(main_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
    return true;
}

void Win32Desktop::show_main_window() {
    if (!main_) return;
    ShowWindow(main_, SW_SHOWNORMAL);
    UpdateWindow(main_);
}

bool Win32Desktop::add_child(ControlId id, const wchar_t* window_class, const std::wstring& text, DWORD style,
                             const Rect& rect) {
    if (!main_) return false;
    const HWND window = CreateWindowExW(0, window_class, text.c_str(), WS_CHILD | WS_CLIPSIBLINGS | style, rect.left,
                                        rect.top, rect.width, rect.height, main_, child_id(id), instance_, this);
    if (!window) return false;
    controls_[id].window = window;
    return true;
}

bool Win32Desktop::create_push_button(ControlId id, const Rect& rect, std::string_view text, const FontDesign& font,
                                      bool tab_stop) {
    const DWORD style = BS_PUSHBUTTON | BS_CENTER | BS_VCENTER | BS_MULTILINE | (tab_stop ? WS_TABSTOP : 0);
    if (!add_child(id, L"BUTTON", from_gbk(text), style, rect)) return false;
    Control& button = controls_[id];
    button.font = win32::create_design_font(font);
    const HGDIOBJ shown_font = button.font ? static_cast<HGDIOBJ>(button.font) : GetStockObject(DEFAULT_GUI_FONT);
    SendMessageW(button.window, WM_SETFONT, reinterpret_cast<WPARAM>(shown_font), FALSE);
    return true;
}

bool Win32Desktop::create_painted_area(ControlId id, const Rect& rect, std::string_view text) {
    return add_child(id, kPaintedAreaClass, from_gbk(text), 0, rect);
}

bool Win32Desktop::create_web_view(ControlId id, const Rect& rect) {
    if (!main_) return false;
    std::unique_ptr<BrowserHost> host = BrowserHost::create(main_, id, rect);
    if (!host) return false;
    Control& view = controls_[id];
    view.window = host->window();
    view.browser = std::move(host);
    return true;
}

bool Win32Desktop::create_timer(ControlId id) { return add_child(id, kTimerWindowClass, L"", 0, {0, 0, 0, 0}); }

void Win32Desktop::stack_controls(std::span<const ControlId> top_to_bottom) {
    constexpr UINT kOrderOnly = SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_NOOWNERZORDER;
    HWND above = HWND_TOP;
    for (const ControlId id : top_to_bottom) {
        const HWND window = control_window(id);
        if (!window) continue;
        SetWindowPos(window, above, 0, 0, 0, 0, kOrderOnly);
        above = window;
    }
}

void Win32Desktop::web_set_text_size(ControlId id, int level) {
    IWebBrowser2* browser = browser_of(id);
    if (!browser) return;
    VARIANT size;
    VariantInit(&size);
    size.vt = VT_I4;
    size.lVal = level;
    browser->ExecWB(OLECMDID_ZOOM, OLECMDEXECOPT_DONTPROMPTUSER, &size, nullptr);
}

void Win32Desktop::web_navigate(ControlId id, std::string_view url) {
    IWebBrowser2* browser = browser_of(id);
    if (!browser) return;
    const std::wstring wide = from_gbk(url);
    BSTR address = SysAllocStringLen(wide.data(), static_cast<UINT>(wide.size()));
    if (!address) return;
    VARIANT none;
    VariantInit(&none);
    browser->Navigate(address, &none, &none, &none, &none);
    SysFreeString(address);
}

std::optional<ControlId> Win32Desktop::focused_control() {
    if (!main_) return std::nullopt;
    // The focus may sit in a window deep inside a control, as in the game view's page.
    for (HWND window = GetFocus(); window && window != main_; window = GetAncestor(window, GA_PARENT)) {
        if (GetAncestor(window, GA_PARENT) != main_) continue;
        for (const auto& [id, control] : controls_) {
            if (control.window == window) return id;
        }
        return std::nullopt;
    }
    return std::nullopt;
}

HWND Win32Desktop::control_window(ControlId id) const {
    const auto found = controls_.find(id);
    return found == controls_.end() ? nullptr : found->second.window;
}

IWebBrowser2* Win32Desktop::browser_of(ControlId id) const {
    const auto found = controls_.find(id);
    if (found == controls_.end() || !found->second.browser) return nullptr;
    return found->second.browser->browser();
}

bool Win32Desktop::inside_main_window(HWND window) const {
    return main_ && window && (window == main_ || IsChild(main_, window));
}

bool Win32Desktop::pre_process_key(const MSG& message) {
    if (message.message != WM_KEYDOWN && message.message != WM_SYSKEYDOWN) return false;
    if (!events_ || !inside_main_window(message.hwnd)) return false;
    return events_->on_key_down(key_of(message.wParam), modifiers_now());
}

bool Win32Desktop::translate_for_page(MSG& message) {
    if (message.message < WM_KEYFIRST || message.message > WM_KEYLAST) return false;
    for (const auto& [id, control] : controls_) {
        if (control.browser && control.browser->translate_accelerator(message)) return true;
    }
    return false;
}

int Win32Desktop::run_event_loop() {
    MSG message{};
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (pre_process_key(message)) continue;
        if (translate_for_page(message)) continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return static_cast<int>(message.wParam);
}

void Win32Desktop::forget_main_window() {
    // Every child window is gone by now; what is left are the objects behind them.
    for (auto& [id, control] : controls_) {
        if (control.font) DeleteObject(control.font);
    }
    controls_.clear();
    if (icon_) DestroyIcon(icon_);
    icon_ = nullptr;
    main_ = nullptr;
}

LRESULT Win32Desktop::main_window_message(UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
    case WM_CLOSE:
        // Always granted: the core destroys the window.
        events_->on_close_request();
        return 0;
    case WM_QUERYENDSESSION:
        return TRUE;
    case WM_ACTIVATE:
        if (LOWORD(wparam) == WA_INACTIVE) events_->on_focus_out();
        break;  // on activation the default gives the main window the focus, and WM_SETFOCUS follows
    case WM_SETFOCUS:
        events_->on_focus_in();
        return 0;
    case WM_COMMAND:
        if (HIWORD(wparam) == BN_CLICKED && lparam != 0) {
            const HWND button = reinterpret_cast<HWND>(lparam);
            for (const auto& [id, control] : controls_) {
                if (control.window == button) {
                    events_->on_clicked(id);
                    break;
                }
            }
            return 0;
        }
        break;
    case WM_DESTROY:
        events_->on_main_window_destroyed();
        return 0;
    case WM_NCDESTROY:
        forget_main_window();
        break;
    }
    return DefWindowProcW(main_, message, wparam, lparam);
}

LRESULT CALLBACK Win32Desktop::main_window_procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    Win32Desktop* desktop = desktop_of(window, message, lparam);
    if (!desktop) return DefWindowProcW(window, message, wparam, lparam);
    // Known from the first message on, before CreateWindowExW returns.
    if (message == WM_NCCREATE) desktop->main_ = window;
    return desktop->main_window_message(message, wparam, lparam);
}

LRESULT CALLBACK Win32Desktop::painted_area_procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    Win32Desktop* desktop = desktop_of(window, message, lparam);
    switch (message) {
    case WM_ERASEBKGND:
        return 1;  // painting covers every pixel
    case WM_PAINT: {
        PAINTSTRUCT paint{};
        const HDC dc = BeginPaint(window, &paint);
        const RECT& area = paint.rcPaint;
        const Rect dirty{area.left, area.top, area.right - area.left, area.bottom - area.top};
        if (desktop && desktop->events_) {
            win32::GdiCanvas canvas(dc);
            desktop->events_->on_paint(GetDlgCtrlID(window), canvas, dirty);
        }
        EndPaint(window, &paint);
        return 0;
    }
    }
    return DefWindowProcW(window, message, wparam, lparam);
}

LRESULT CALLBACK Win32Desktop::timer_window_procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    Win32Desktop* desktop = desktop_of(window, message, lparam);
    if (message == WM_TIMER && wparam == kTimerEvent && desktop && desktop->events_) {
        desktop->events_->on_tick(GetDlgCtrlID(window));
        return 0;
    }
    return DefWindowProcW(window, message, wparam, lparam);
}

}  // namespace

std::unique_ptr<Desktop> make_native_desktop() { return std::make_unique<Win32Desktop>(); }

}  // namespace tessaryn
