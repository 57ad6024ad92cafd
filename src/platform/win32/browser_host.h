// The game view on Windows: a child window that hosts the system web browser control as an
// embedded OLE object, with a container of our own around it.
#pragma once

#include <windows.h>
#include <exdisp.h>
#include <oleidl.h>

#include <memory>

#include "platform/desktop.h"

namespace tessaryn::win32 {

class ClientSite;
class InPlaceFrame;

class BrowserHost {
public:
    // Creates the host window, hidden, at `rect` in `parent`'s client area and embeds the browser
    // on its whole client area. Null when the browser cannot be embedded or offers no
    // IWebBrowser2; then nothing that was made is left.
    static std::unique_ptr<BrowserHost> create(HWND parent, ControlId id, const Rect& rect);

    // Destroys the host window if it still exists, and with it the browser.
    ~BrowserHost();
    BrowserHost(const BrowserHost&) = delete;
    BrowserHost& operator=(const BrowserHost&) = delete;

    HWND window() const { return window_; }

    // The browser's control interface; null once the host window is destroyed.
    IWebBrowser2* browser() const { return browser_; }

    // Offers a keyboard message meant for a window inside the host to the browser, so that its
    // own keys work in the page. True when the browser took it.
    bool translate_accelerator(MSG& message);

    static void register_window_class(HINSTANCE instance);

private:
    BrowserHost() = default;

    bool embed();
    void keep_browser_on_client_area();
    void pass_focus_to_browser();
    void release_browser();
    static LRESULT CALLBACK window_procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam);

    HWND window_ = nullptr;
    ClientSite* site_ = nullptr;
    InPlaceFrame* frame_ = nullptr;
    IStorage* storage_ = nullptr;
    IOleObject* object_ = nullptr;
    IOleInPlaceObject* in_place_ = nullptr;
    IOleInPlaceActiveObject* active_ = nullptr;
    IWebBrowser2* browser_ = nullptr;
};

}  // namespace tessaryn::win32
