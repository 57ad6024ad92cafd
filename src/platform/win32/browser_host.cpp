#include "platform/win32/browser_host.h"

#include <ole2.h>

namespace tessaryn::win32 {
namespace {

constexpr wchar_t kHostClass[] = L"TessarynBrowserHost";

RECT client_rect(HWND window) {
    RECT rect{};
    GetClientRect(window, &rect);
    return rect;
}

template <typename Interface>
void release(Interface*& pointer) {
    if (pointer) pointer->Release();
    pointer = nullptr;
}

// The reference count that every object of the container shares; the object deletes itself
// when the last reference goes.
class RefCounted {
protected:
    virtual ~RefCounted() = default;
    ULONG add_reference() { return ++references_; }
    ULONG drop_reference() {
        const ULONG left = --references_;
        if (left == 0) delete this;
        return left;
    }

private:
    ULONG references_ = 1;
};

}  // namespace

// The frame around the browser as the browser sees it: the main window, with no menus, tool
// space or accelerators of its own.
class InPlaceFrame final : public IOleInPlaceFrame, private RefCounted {
public:
    explicit InPlaceFrame(HWND main_window) : main_window_(main_window) {}

    STDMETHODIMP QueryInterface(REFIID iid, void** object) override {
        if (iid == IID_IUnknown || iid == IID_IOleWindow || iid == IID_IOleInPlaceUIWindow ||
            iid == IID_IOleInPlaceFrame) {
            *object = static_cast<IOleInPlaceFrame*>(this);
            AddRef();
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return add_reference(); }
    STDMETHODIMP_(ULONG) Release() override { return drop_reference(); }

    STDMETHODIMP GetWindow(HWND* window) override {
        *window = main_window_;
        return S_OK;
    }
    STDMETHODIMP ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }

    STDMETHODIMP GetBorder(LPRECT) override { return INPLACE_E_NOTOOLSPACE; }
    STDMETHODIMP RequestBorderSpace(LPCBORDERWIDTHS) override { return INPLACE_E_NOTOOLSPACE; }
    STDMETHODIMP SetBorderSpace(LPCBORDERWIDTHS widths) override {
        return widths ? INPLACE_E_NOTOOLSPACE : S_OK;
    }
    // The host offers the active object's keys to it from the message loop itself.
    STDMETHODIMP SetActiveObject(IOleInPlaceActiveObject*, LPCOLESTR) override { return S_OK; }

    STDMETHODIMP InsertMenus(HMENU, LPOLEMENUGROUPWIDTHS) override { return E_NOTIMPL; }
    STDMETHODIMP SetMenu(HMENU, HOLEMENU, HWND) override { return S_OK; }
    STDMETHODIMP RemoveMenus(HMENU) override { return E_NOTIMPL; }
    STDMETHODIMP SetStatusText(LPCOLESTR) override { return S_OK; }
    STDMETHODIMP EnableModeless(BOOL) override { return S_OK; }
    STDMETHODIMP TranslateAccelerator(LPMSG, WORD) override { return S_FALSE; }

private:
    HWND main_window_;
};

// The browser's place in the host window: always the host's whole client area.
class ClientSite final : public IOleClientSite, public IOleInPlaceSite, private RefCounted {
public:
    ClientSite(HWND host, InPlaceFrame* frame) : host_(host), frame_(frame) { frame_->AddRef(); }

    STDMETHODIMP QueryInterface(REFIID iid, void** object) override {
        if (iid == IID_IUnknown || iid == IID_IOleClientSite) {
            *object = static_cast<IOleClientSite*>(this);
        } else if (iid == IID_IOleWindow || iid == IID_IOleInPlaceSite) {
            *object = static_cast<IOleInPlaceSite*>(this);
        } else {
            *object = nullptr;
            return E_NOINTERFACE;
        }
        AddRef();
        return S_OK;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return add_reference(); }
    STDMETHODIMP_(ULONG) Release() override { return drop_reference(); }

    // IOleClientSite: an embedding that is never saved and lives in no document.
    STDMETHODIMP SaveObject() override { return E_NOTIMPL; }
    STDMETHODIMP GetMoniker(DWORD, DWORD, IMoniker** moniker) override {
        *moniker = nullptr;
        return E_NOTIMPL;
    }
    STDMETHODIMP GetContainer(IOleContainer** container) override {
        *container = nullptr;
        return E_NOINTERFACE;
    }
    STDMETHODIMP ShowObject() override { return S_OK; }
    STDMETHODIMP OnShowWindow(BOOL) override { return S_OK; }
    STDMETHODIMP RequestNewObjectLayout() override { return E_NOTIMPL; }

    // IOleInPlaceSite
    STDMETHODIMP GetWindow(HWND* window) override {
        *window = host_;
        return S_OK;
    }
    STDMETHODIMP ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }
    STDMETHODIMP CanInPlaceActivate() override { return S_OK; }
    STDMETHODIMP OnInPlaceActivate() override { return S_OK; }
    STDMETHODIMP OnUIActivate() override { return S_OK; }
    STDMETHODIMP GetWindowContext(IOleInPlaceFrame** frame, IOleInPlaceUIWindow** document, LPRECT position,
                                  LPRECT clip, LPOLEINPLACEFRAMEINFO frame_info) override {
        *frame = frame_;
        frame_->AddRef();
        *document = nullptr;
        *position = client_rect(host_);
        *clip = *position;
        frame_info->fMDIApp = FALSE;
        frame_->GetWindow(&frame_info->hwndFrame);
        frame_info->haccel = nullptr;
        frame_info->cAccelEntries = 0;
        return S_OK;
    }
    STDMETHODIMP Scroll(SIZE) override { return E_NOTIMPL; }
    STDMETHODIMP OnUIDeactivate(BOOL) override { return S_OK; }
    STDMETHODIMP OnInPlaceDeactivate() override { return S_OK; }
    STDMETHODIMP DiscardUndoState() override { return E_NOTIMPL; }
    STDMETHODIMP DeactivateAndUndo() override { return E_NOTIMPL; }
    // The browser keeps the host's whole client area whatever place it asks for.
    STDMETHODIMP OnPosRectChange(LPCRECT) override {
        IOleInPlaceObject* in_place = nullptr;
        if (object_ && SUCCEEDED(object_->QueryInterface(IID_IOleInPlaceObject,
                                                         reinterpret_cast<void**>(&in_place)))) {
            const RECT rect = client_rect(host_);
            in_place->SetObjectRects(&rect, &rect);
            in_place->Release();
        }
        return S_OK;
    }

    // The embedded object, known once it exists; not a reference of its own, since the object
    // holds this site.
    void set_object(IOleObject* object) { object_ = object; }

private:
    ~ClientSite() override { frame_->Release(); }

    HWND host_;
    InPlaceFrame* frame_;
    IOleObject* object_ = nullptr;
};

void BrowserHost::register_window_class(HINSTANCE instance) {
    WNDCLASSEXW window_class{};
    window_class.cbSize = sizeof(window_class);
    window_class.lpfnWndProc = window_procedure;
    window_class.hInstance = instance;
    window_class.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    window_class.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    window_class.lpszClassName = kHostClass;
    RegisterClassExW(&window_class);
}

std::unique_ptr<BrowserHost> BrowserHost::create(HWND parent, ControlId id, const Rect& rect) {
    std::unique_ptr<BrowserHost> host(new BrowserHost());
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    // Clipping its children too keeps the white background from flashing over the page.
    host->window_ = CreateWindowExW(0, kHostClass, L"", WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, rect.left,
                                    rect.top, rect.width, rect.height, parent,
                                    reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, host.get());
    if (!host->window_) return nullptr;
    if (!host->embed()) return nullptr;  // the destructor takes away what was made
    return host;
}

bool BrowserHost::embed() {
    HWND main_window = GetParent(window_);
    frame_ = new InPlaceFrame(main_window);
    site_ = new ClientSite(window_, frame_);

    // The object wants a storage to start from; one in memory serves, since nothing is saved.
    ILockBytes* bytes = nullptr;
    if (FAILED(CreateILockBytesOnHGlobal(nullptr, TRUE, &bytes))) return false;
    const HRESULT made = StgCreateDocfileOnILockBytes(
        bytes, STGM_SHARE_EXCLUSIVE | STGM_CREATE | STGM_READWRITE, 0, &storage_);
    bytes->Release();
    if (FAILED(made)) return false;

    if (FAILED(OleCreate(CLSID_WebBrowser, IID_IOleObject, OLERENDER_DRAW, nullptr,
                         static_cast<IOleClientSite*>(site_), storage_, reinterpret_cast<void**>(&object_)))) {
        object_ = nullptr;
        return false;
    }
    site_->set_object(object_);
    OleSetContainedObject(object_, TRUE);

    RECT area = client_rect(window_);
    if (FAILED(object_->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, static_cast<IOleClientSite*>(site_), 0,
                               window_, &area))) {
        return false;
    }
    if (FAILED(object_->QueryInterface(IID_IWebBrowser2, reinterpret_cast<void**>(&browser_)))) {
        browser_ = nullptr;
        return false;
    }
    if (FAILED(object_->QueryInterface(IID_IOleInPlaceObject, reinterpret_cast<void**>(&in_place_)))) {
        in_place_ = nullptr;
    }
    if (FAILED(object_->QueryInterface(IID_IOleInPlaceActiveObject, reinterpret_cast<void**>(&active_)))) {
        active_ = nullptr;
    }
    keep_browser_on_client_area();
    return true;
}

BrowserHost::~BrowserHost() {
    if (window_) DestroyWindow(window_);
    release_browser();  // for a host whose window could not be made
}

bool BrowserHost::translate_accelerator(MSG& message) {
    if (!active_ || !window_) return false;
    if (message.hwnd != window_ && !IsChild(window_, message.hwnd)) return false;
    return active_->TranslateAccelerator(&message) == S_OK;
}

void BrowserHost::keep_browser_on_client_area() {
    if (!in_place_) return;
    const RECT rect = client_rect(window_);
    in_place_->SetObjectRects(&rect, &rect);
}

void BrowserHost::pass_focus_to_browser() {
    if (!object_) return;
    RECT area = client_rect(window_);
    object_->DoVerb(OLEIVERB_UIACTIVATE, nullptr, static_cast<IOleClientSite*>(site_), 0, window_, &area);
    // A browser that is active already may leave the focus where it is.
    HWND browser_window = nullptr;
    if (GetFocus() == window_ && in_place_ && SUCCEEDED(in_place_->GetWindow(&browser_window)) &&
        browser_window) {
        SetFocus(browser_window);
    }
}

void BrowserHost::release_browser() {
    release(active_);
    release(browser_);
    if (in_place_) in_place_->InPlaceDeactivate();
    release(in_place_);
    if (object_) {
        object_->Close(OLECLOSE_NOSAVE);
        object_->SetClientSite(nullptr);
        site_->set_object(nullptr);
    }
    release(object_);
    release(storage_);
    release(site_);
    release(frame_);
}

LRESULT CALLBACK BrowserHost::window_procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    if (message == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lparam);
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* host = reinterpret_cast<BrowserHost*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (host) {
        switch (message) {
        case WM_SIZE:
            host->keep_browser_on_client_area();
            return 0;
        case WM_SETFOCUS:
            host->pass_focus_to_browser();
            return 0;
        case WM_DESTROY:
            host->release_browser();
            return 0;
        case WM_NCDESTROY:
            host->window_ = nullptr;
            break;
        }
    }
    return DefWindowProcW(window, message, wparam, lparam);
}

}  // namespace tessaryn::win32
