"""Runs the real desktop program on its own virtual display and watches what it does.

Each Session owns a temporary home, an Xvfb display, an openbox window manager, a recording
HTTP proxy for the game view's traffic, a fake default browser that records the URLs it is
handed, and the program itself under its own D-Bus session. Everything is torn down with
its process group, whatever the test's outcome.
"""

import http.server
import json
import os
import re
import select
import shutil
import signal
import struct
import subprocess
import tempfile
import threading
import time
import unittest
import urllib.parse
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))
REPO = os.path.dirname(os.path.dirname(HERE))
PYTHON = "/usr/bin/python3"  # Debian's, the one with python3-gi
PROGRAM = os.environ.get("TESSARYN_PROGRAM") or os.path.join(REPO, "build", "linux", "tessaryn-desktop")
ARTIFACTS = os.environ.get("TESSARYN_E2E_ARTIFACTS") or os.path.join(os.path.dirname(PROGRAM), "e2e-artifacts")

GAME_ENTRY_URL = "http://tessaryn.zentora.com/lc/register.html?pass=1&v=1392530817775"
MAKER_SITE_URL = "http://www.zentora.com/"
MAKER_SOFTWARE_SITE_URL = "http://soft.zentora.com/"
FIRST_PARTNER_SITE_URL = "http://www.kelvaro.com/"
SECOND_PARTNER_SITE_URL = "http://www.dravon.com/"

TITLE = "ZentoraTessaryn桌面版VSP1内测版" + " " * 20 + "更多辅助尽在Zentora游戏网(www.zentora.com)"
OUTER_SIZE = (1098, 690)

# Client rectangles (left, top, width, height) of the side panel's buttons, in tab order.
BUTTONS = {
    "按钮1": ("刷新游戏", (1016, 16, 80, 32)),
    "按钮2": ("更多辅助下载", (1016, 64, 80, 32)),
    "按钮3": ("Zentora游戏网", (1016, 480, 80, 32)),
    "按钮4": ("Kelvaro下载站", (1016, 560, 80, 32)),
    "按钮5": ("Dravon下载站", (1016, 600, 80, 32)),
    "按钮6": ("Zentora软件站", (1016, 520, 80, 32)),
}
TAB_ORDER = ["按钮1", "按钮2", "按钮3", "按钮4", "按钮5", "按钮6"]

WEBKIT_HELPERS = ("WebKitWebProcess", "WebKitNetworkProcess", "WebKitGPUProcess")

# Colours of the pages the proxy serves; the game view is placed at client (-8, -32), so the
# page's (8, 32) is the client area's (0, 0).
PAGE_BACKGROUND = (40, 90, 200)
HIDDEN_CORNER = (250, 0, 250)  # page (0..7, 0..31): outside the client area
ORIGIN_MARK = (0, 200, 120)  # page (8..17, 32..41): client (0..9, 0..9)
RIGHT_EDGE_MARK = (230, 200, 0)  # page columns 1016..1023 at rows 100..139: client x 1008..1015
SECOND_PAGE_BACKGROUND = (200, 60, 30)
PAGE_INPUT_CLIENT_POINT = (150, 170)
PAGE_LINK_CLIENT_POINT = (150, 290)
PAGE_POPUP_CLIENT_POINT = (450, 290)
PAGE_ALERT_CLIENT_POINT = (750, 290)
POPUP_URL = "http://popup.zentora.test/window.html"
BEACON_PREFIX = "http://beacon.e2e.test/"
# The game site's log-in cookie, set by the entry page.
ENTRY_COOKIE = "player=e2e-7f3a"

POLL = 0.03


def wait_until(condition, timeout, what):
    """Polls condition until it returns something truthy, which is returned. what names the
    awaited state in the failure; a callable is asked for it then, to tell the state reached."""
    deadline = time.monotonic() + timeout
    while True:
        value = condition()
        if value:
            return value
        if time.monotonic() > deadline:
            raise AssertionError("timed out after %s s waiting for %s" % (timeout, what() if callable(what) else what))
        time.sleep(POLL)


def assert_stays(condition, duration, what):
    """Fails as soon as condition stops holding within the next duration seconds."""
    deadline = time.monotonic() + duration
    while time.monotonic() < deadline:
        if not condition():
            raise AssertionError("no longer true: " + what)
        time.sleep(POLL)


def css(rgb):
    return "rgb(%d,%d,%d)" % rgb


def _box_around(client_point):
    """CSS placing a 200 x 40 page element centred on a point of the client area."""
    x, y = client_point
    return "left:%dpx; top:%dpx; width:200px; height:40px" % (x + 8 - 100, y + 32 - 20)


def _entry_page():
    return f"""<!DOCTYPE html>
<html><head><meta charset="utf-8"><title>entry</title>
<style>
html, body {{ margin: 0; padding: 0; background: {css(PAGE_BACKGROUND)}; }}
div, input, a {{ position: absolute; display: block; box-sizing: border-box; border: 0; }}
</style></head>
<body style="height: 17000px">
<div style="left:0; top:0; width:8px; height:32px; background:{css(HIDDEN_CORNER)}"></div>
<div style="left:8px; top:32px; width:10px; height:10px; background:{css(ORIGIN_MARK)}"></div>
<div style="left:1016px; top:100px; width:8px; height:40px; background:{css(RIGHT_EDGE_MARK)}"></div>
<input style="{_box_around(PAGE_INPUT_CLIENT_POINT)}; background:#fff">
<a href="/second.html" style="{_box_around(PAGE_LINK_CLIENT_POINT)}; background:#ccc">second page</a>
<div style="{_box_around(PAGE_POPUP_CLIENT_POINT)}; background:#999"
  onclick="window.open('{POPUP_URL}')">new window</div>
<div style="{_box_around(PAGE_ALERT_CLIENT_POINT)}; background:#bbb"
  onclick="alert('alert'); beacon('after-alert')">alert</div>
<script>
// Tells the test through the proxy what the page sees; each beacon URL is new, so never cached.
function beacon(what) {{
  new Image().src = "{BEACON_PREFIX}" + encodeURIComponent(what) + "?" + Date.now() + Math.random();
}}
beacon("viewport/" + innerWidth + "x" + innerHeight);
document.addEventListener("keydown", function (e) {{ beacon("key/" + e.key); }});
</script>
</body></html>"""


def _second_page():
    return f"""<!DOCTYPE html>
<html><head><meta charset="utf-8"><title>second</title></head>
<body style="margin:0; background:{css(SECOND_PAGE_BACKGROUND)}; height: 2000px"></body></html>"""


class RecordingProxy:
    """An HTTP proxy that records each absolute URL asked of it and answers with test pages."""

    def __init__(self):
        self.requests = []
        self._cookies = []
        self._lock = threading.Lock()
        self._hold_next_entry = False
        self._released = threading.Event()
        proxy = self

        class Handler(http.server.BaseHTTPRequestHandler):
            protocol_version = "HTTP/1.1"

            def log_message(self, *args):
                pass

            def do_GET(self):
                proxy._serve(self)

            def do_CONNECT(self):
                proxy._record(self.path)
                self.send_error(502)

        class Server(http.server.ThreadingHTTPServer):
            daemon_threads = True

            def handle_error(self, request, client_address):
                pass  # the web engine drops connections as it likes

        self.server = Server(("127.0.0.1", 0), Handler)
        self.url = "http://127.0.0.1:%d" % self.server.server_address[1]
        self._thread = threading.Thread(target=self.server.serve_forever, daemon=True)
        self._thread.start()

    def hold_entry(self):
        """Keeps the answer to the next request for the game entry URL back until release()."""
        with self._lock:
            self._hold_next_entry = True
        self._released.clear()

    def release(self):
        self._released.set()

    def _record(self, url, cookie=None):
        with self._lock:
            self.requests.append((time.monotonic(), url))
            self._cookies.append((url, cookie))
        return url

    def cookies_sent(self, url):
        """The Cookie header of each request for url, None where there was none."""
        with self._lock:
            return [cookie for asked, cookie in self._cookies if asked == url]

    def urls(self):
        with self._lock:
            return [url for _, url in self.requests]

    def pages(self):
        return [url for url in self.urls() if not url.startswith(BEACON_PREFIX)]

    def beacons(self):
        return [urllib.parse.unquote(url[len(BEACON_PREFIX):].split("?")[0])
                for url in self.urls() if url.startswith(BEACON_PREFIX)]

    def count(self, url):
        return self.urls().count(url)

    def _serve(self, handler):
        url = self._record(handler.path, handler.headers.get("Cookie"))
        status, body = 404, b"<html><body>not here</body></html>"
        cookie = None
        if url.startswith(BEACON_PREFIX):
            status, body = 204, b""
        elif url == GAME_ENTRY_URL:
            with self._lock:
                hold, self._hold_next_entry = self._hold_next_entry, False
            if hold:
                self._released.wait(30)
            status, body = 200, _entry_page().encode()
            cookie = ENTRY_COOKIE + "; Max-Age=86400; Path=/"
        elif url.endswith("/second.html"):
            status, body = 200, _second_page().encode()
        handler.send_response(status)
        handler.send_header("Content-Type", "text/html; charset=utf-8")
        # Every navigation must reach the proxy to be seen.
        handler.send_header("Cache-Control", "no-store")
        if cookie:
            handler.send_header("Set-Cookie", cookie)
        handler.send_header("Content-Length", str(len(body)))
        handler.end_headers()
        handler.wfile.write(body)

    def close(self):
        self._released.set()
        self.server.shutdown()
        self.server.server_close()


class Image:
    """Pixels of a window, 3 bytes (r, g, b) each, row after row."""

    def __init__(self, width, height, rgb):
        self.width, self.height, self.rgb = width, height, rgb

    def pixel(self, x, y):
        i = 3 * (y * self.width + x)
        return tuple(self.rgb[i:i + 3])

    def region(self, left, top, width, height):
        return [self.pixel(x, y) for y in range(top, top + height) for x in range(left, left + width)]

    def save_png(self, path):
        os.makedirs(os.path.dirname(path), exist_ok=True)
        stride = 3 * self.width
        raw = b"".join(b"\0" + bytes(self.rgb[y * stride:(y + 1) * stride]) for y in range(self.height))

        def chunk(kind, data):
            return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))

        with open(path, "wb") as f:
            f.write(b"\x89PNG\r\n\x1a\n")
            f.write(chunk(b"IHDR", struct.pack(">IIBBBBB", self.width, self.height, 8, 2, 0, 0, 0)))
            f.write(chunk(b"IDAT", zlib.compress(raw, 6)))
            f.write(chunk(b"IEND", b""))


def parse_ppm(data):
    """Decodes a binary PPM (P6, 8 bits a channel)."""
    match = re.match(rb"P6\s+(\d+)\s+(\d+)\s+(\d+)\s", data)
    if not match or match.group(3) != b"255":
        raise ValueError("not an 8-bit P6 image")
    width, height = int(match.group(1)), int(match.group(2))
    return Image(width, height, data[match.end():match.end() + 3 * width * height])


def _webkit_helpers(marker):
    """(pid, name, process group) of each live WebKit helper whose environment holds marker."""
    found = []
    for entry in os.listdir("/proc"):
        if not entry.isdigit():
            continue
        try:
            with open("/proc/%s/cmdline" % entry, "rb") as f:
                name = os.path.basename(f.read().split(b"\0")[0]).decode(errors="replace")
            if name not in WEBKIT_HELPERS:
                continue
            with open("/proc/%s/stat" % entry) as f:
                fields = f.read().rsplit(")", 1)[1].split()
            with open("/proc/%s/environ" % entry, "rb") as f:
                environment = f.read().split(b"\0")
        except OSError:  # gone meanwhile
            continue
        if fields[0] != "Z" and marker in environment:
            found.append((int(entry), name, int(fields[2])))
    return found


class Session:
    """One virtual desktop with the program on it. Use as a context manager or via start()."""

    def __init__(self, screen=(1920, 1080), hold_entry=False):
        self.screen = screen
        self.tmp = tempfile.mkdtemp(prefix="tessaryn-e2e-")
        self.marker = ("TESSARYN_E2E_SESSION=" + self.tmp).encode()
        self._groups = []
        self._closed = False
        self._atspi = None
        self.program = None
        self.program_pid = None
        self.proxy = RecordingProxy()
        if hold_entry:
            self.proxy.hold_entry()
        self.browser_record = os.path.join(self.tmp, "browser-record")
        self._make_home()

    # --- set-up -----------------------------------------------------------------------------

    def _make_home(self):
        self.home = os.path.join(self.tmp, "home")
        self.config = os.path.join(self.home, ".config")
        self.data = os.path.join(self.home, ".local", "share")
        self.cache = os.path.join(self.home, ".cache")
        self.runtime = os.path.join(self.tmp, "runtime")
        for d in (self.config, self.data, self.cache, self.runtime, os.path.join(self.config, "openbox"),
                  os.path.join(self.data, "applications")):
            os.makedirs(d, exist_ok=True)
        os.chmod(self.runtime, 0o700)
        shutil.copy("/etc/xdg/openbox/rc.xml", os.path.join(self.config, "openbox", "rc.xml"))

        recorder = os.path.join(self.tmp, "record-url")
        with open(recorder, "w") as f:
            f.write('#!/bin/sh\nprintf "%%s %%s\\n" "$(date +%%s.%%N)" "$1" >> "%s"\n' % self.browser_record)
        os.chmod(recorder, 0o755)
        with open(os.path.join(self.data, "applications", "e2e-browser.desktop"), "w") as f:
            f.write("[Desktop Entry]\nType=Application\nName=E2E Browser\nNoDisplay=true\n"
                    f"Exec={recorder} %u\n"
                    "MimeType=x-scheme-handler/http;x-scheme-handler/https;\n")
        with open(os.path.join(self.config, "mimeapps.list"), "w") as f:
            f.write("[Default Applications]\nx-scheme-handler/http=e2e-browser.desktop\n"
                    "x-scheme-handler/https=e2e-browser.desktop\n")

    def env(self, **extra):
        env = {k: v for k, v in os.environ.items()
               if k not in ("XDG_CURRENT_DESKTOP", "WAYLAND_DISPLAY", "NO_AT_BRIDGE", "DBUS_SESSION_BUS_ADDRESS",
                            "AT_SPI_BUS_ADDRESS", "https_proxy", "no_proxy", "NO_PROXY", "all_proxy",
                            "HTTP_PROXY", "HTTPS_PROXY", "ALL_PROXY", "XDG_DATA_DIRS", "XDG_CONFIG_DIRS",
                            "GTK_MODULES", "GDK_BACKEND", "DISPLAY", "XAUTHORITY")}
        env.update(HOME=self.home, XDG_CONFIG_HOME=self.config, XDG_DATA_HOME=self.data,
                   XDG_CACHE_HOME=self.cache, XDG_RUNTIME_DIR=self.runtime, LANG="C.UTF-8",
                   TESSARYN_E2E_SESSION=self.tmp)
        if getattr(self, "display", None):
            env["DISPLAY"] = self.display
        env.update(extra)
        return env

    def _spawn(self, argv, **kwargs):
        kwargs.setdefault("stdin", subprocess.DEVNULL)
        kwargs.setdefault("stdout", subprocess.DEVNULL)
        kwargs.setdefault("env", self.env())
        process = subprocess.Popen(argv, start_new_session=True, **kwargs)
        self._groups.append(process)
        return process

    def start(self):
        """Brings up the display and the window manager (the program is started separately)."""
        try:
            self._start_display()
            self._start_window_manager()
        except BaseException:
            self.close()
            raise
        return self

    def _start_display(self):
        read_end, write_end = os.pipe()
        width, height = self.screen
        self._xvfb_log = open(os.path.join(self.tmp, "xvfb.log"), "w")
        self._spawn(["Xvfb", "-displayfd", str(write_end), "-screen", "0", "%dx%dx24" % (width, height),
                     "-nolisten", "tcp", "-noreset"], pass_fds=(write_end,), stderr=self._xvfb_log)
        os.close(write_end)
        with os.fdopen(read_end) as f:
            ready, _, _ = select.select([f], [], [], 30)
            number = f.readline().strip() if ready else ""
        if not number:
            raise AssertionError("Xvfb did not start: " + open(os.path.join(self.tmp, "xvfb.log")).read())
        self.display = ":" + number

    def _start_window_manager(self):
        self._openbox_log = open(os.path.join(self.tmp, "openbox.log"), "w")
        self._spawn(["openbox", "--config-file", os.path.join(self.config, "openbox", "rc.xml")],
                    stderr=self._openbox_log)
        wait_until(lambda: self.root_window_property("_NET_SUPPORTING_WM_CHECK"), 10,
                   "the window manager to manage the screen")

    def start_program(self, *args, env=None):
        """Starts the program under its own D-Bus session and returns the spawn time."""
        self.bus_file = os.path.join(self.tmp, "bus-address")
        pid_file = os.path.join(self.tmp, "program-pid")
        for left_by_an_earlier_start in (self.bus_file, pid_file):
            if os.path.exists(left_by_an_earlier_start):
                os.remove(left_by_an_earlier_start)
        self._program_log = open(os.path.join(self.tmp, "program.log"), "w")
        wrapper = 'printf %s "$DBUS_SESSION_BUS_ADDRESS" > "$0.tmp" && mv "$0.tmp" "$0"; ' \
                  'echo $$ > "$1.tmp" && mv "$1.tmp" "$1"; shift; exec "$@"'
        self.started_at = time.monotonic()
        self.started_at_wall = time.time()
        self.program = self._spawn(
            ["dbus-run-session", "--", "/bin/sh", "-c", wrapper, self.bus_file, pid_file, PROGRAM, *args],
            env=self.env(http_proxy=self.proxy.url, **(env or {})), stdout=self._program_log, stderr=subprocess.STDOUT)
        self.program_pid = int(wait_until(lambda: _read(pid_file), 10, "the program to start"))
        return self.started_at

    # --- the program's window ---------------------------------------------------------------

    def x(self, *argv, check=True):
        """Runs an X client tool (xprop, xwininfo, xdotool) on this display; returns its output."""
        result = subprocess.run(argv, env=self.env(), stdout=subprocess.PIPE, stderr=subprocess.PIPE,
                                text=True, timeout=30)
        if check and result.returncode != 0:
            raise AssertionError("%s failed: %s" % (" ".join(argv), result.stderr.strip()))
        return result.stdout

    def root_window_property(self, name):
        """The window named by a WINDOW property of the root, or None."""
        match = re.search(r"# (0x[0-9a-f]+)", self.x("xprop", "-root", name, check=False))
        return match and match.group(1)

    def client_windows(self):
        out = self.x("xprop", "-root", "-notype", "_NET_CLIENT_LIST", check=False)
        return re.findall(r"0x[0-9a-f]+", out.split("#", 1)[1]) if "#" in out else []

    def window_pid(self, window):
        match = re.search(r"= (\d+)", self.x("xprop", "-id", window, "-notype", "_NET_WM_PID", check=False))
        return int(match.group(1)) if match else None

    def wait_for_window(self, timeout=30):
        """Waits until the window manager manages a window of the program; returns its id."""
        def find():
            if self.program.poll() is not None:
                raise AssertionError("the program ended with %s before showing a window: %s"
                                     % (self.program.returncode, self.program_output()))
            return next((w for w in self.client_windows() if self.window_pid(w) == self.program_pid), None)
        self.window = wait_until(find, timeout, "the program's window")
        self.window_shown_at = time.monotonic()
        return self.window

    def property_bytes(self, window, name):
        out = self.x("xprop", "-id", window, "-f", name, "8x", " $0+\n", name)
        values = out.split(" ", 1)[1] if " " in out.strip() else ""
        return bytes(int(v, 16) for v in re.findall(r"0x[0-9a-f]+", values))

    def property_cardinals(self, window, name):
        out = self.x("xprop", "-id", window, "-f", name, "32c", " $0+\n", name)
        if "not found" in out or "no such atom" in out:
            return None
        return [int(v, 0) for v in re.findall(r"(?:0x[0-9a-f]+|\d+)", out.split(" ", 1)[1])]

    def property_text(self, window, name):
        return self.x("xprop", "-id", window, name)

    def geometry(self, window):
        """Absolute left and top, width and height, and border width of a window."""
        out = self.x("xwininfo", "-id", window)
        values = {key: int(value) for key, value in
                  re.findall(r"^\s*(Absolute upper-left X|Absolute upper-left Y|Width|Height|Border width):\s*(-?\d+)",
                             out, re.M)}
        return (values["Absolute upper-left X"], values["Absolute upper-left Y"], values["Width"], values["Height"],
                values["Border width"])

    def frame_window(self, window):
        """The window manager's frame around a client: the client's ancestor that is a child of the root."""
        current = window
        while True:
            out = self.x("xwininfo", "-tree", "-id", current)
            root = re.search(r"Root window id: (0x[0-9a-f]+)", out).group(1)
            parent = re.search(r"Parent window id: (0x[0-9a-f]+)", out).group(1)
            if parent == root:
                return current
            current = parent

    def client_origin(self):
        left, top, _, _, _ = self.geometry(self.window)
        return left, top

    def client_size(self):
        _, _, width, height, _ = self.geometry(self.window)
        return width, height

    def screenshot(self, window=None):
        data = subprocess.run(["/usr/bin/import", "-silent", "-window", window or self.window,
                               "-depth", "8", "ppm:-"],
                              env=self.env(), stdout=subprocess.PIPE, check=True, timeout=30).stdout
        return parse_ppm(data)

    def activate(self, window=None):
        """Makes window the active one, and waits until the window manager has given it the focus.

        Asking again for the window that is active already would make the window manager take
        the focus away and give it back, and a key bound in the window manager (Alt+F4, the
        window menu) that arrives in between finds no window to act on."""
        window = window or self.window
        if self.active_window() != window or self.input_focus() != window:
            self.x("xdotool", "windowactivate", "--sync", window)
        wait_until(lambda: self.active_window() == window and self.input_focus() == window, 10,
                   "window %s to have the keyboard focus" % window)

    def input_focus(self):
        """The client window holding the X keyboard focus (GTK puts it on a child of its own)."""
        out = self.x("xdotool", "getwindowfocus", check=False).strip()
        return "0x%x" % int(out) if out.isdigit() else None

    def key(self, *keys):
        self.activate()
        self.x("xdotool", "key", *keys)

    def click(self, client_x, client_y):
        """A left click at a point of the program's client area."""
        left, top = self.client_origin()
        self.click_screen(left + client_x, top + client_y)

    def click_screen(self, x, y):
        # Moving away first keeps two clicks on one spot from waiting on a pointer that never moves.
        self.x("xdotool", "mousemove", "--sync", str(x + 1), str(y + 1))
        self.x("xdotool", "mousemove", "--sync", str(x), str(y), "click", "1")

    def click_button(self, name):
        left, top, width, height = BUTTONS[name][1]
        self.click(left + width // 2, top + height // 2)

    def theme_colour(self, name, **env):
        """A named colour of the GTK theme as a GTK program on this desktop sees it."""
        script = ("import gi; gi.require_version('Gtk', '3.0'); from gi.repository import Gtk; "
                  "found, c = Gtk.Window().get_style_context().lookup_color(%r); "
                  "print(found and '%%d %%d %%d' %% tuple(round(v * 255) for v in (c.red, c.green, c.blue)))" % name)
        out = subprocess.run([PYTHON, "-c", script], env=self.env(**env), stdout=subprocess.PIPE, text=True,
                             timeout=30, check=True).stdout.split()
        if len(out) != 3:
            raise AssertionError("the GTK theme has no colour %s" % name)
        return tuple(int(v) for v in out)

    def active_window(self):
        return self.root_window_property("_NET_ACTIVE_WINDOW")

    def menu_is_open(self):
        """Whether the window manager shows a menu (a viewable pop-up menu child of the root)."""
        children = re.findall(r"^\s+(0x[0-9a-f]+)", self.x("xwininfo", "-root", "-children"), re.M)
        return any("_NET_WM_WINDOW_TYPE_POPUP_MENU" in self.x("xprop", "-id", w, "_NET_WM_WINDOW_TYPE", check=False)
                   and "IsViewable" in self.x("xwininfo", "-id", w, check=False) for w in children)

    def open_other_window(self):
        """Starts another program's window and waits until it has taken the focus."""
        process = self._spawn([PYTHON, os.path.join(HERE, "other_window.py")])
        other = wait_until(lambda: next((w for w in self.client_windows() if self.window_pid(w) == process.pid), None),
                           20, "the other window")
        self.activate(other)
        wait_until(lambda: self.active_window() == other, 10, "the other window to be active")
        return other

    # --- what the program did ---------------------------------------------------------------

    def browser_urls(self):
        """(time.time() of the hand-over, URL) for each URL the default browser was given."""
        text = _read(self.browser_record) or ""
        return [(float(line.split(" ", 1)[0]), line.split(" ", 1)[1]) for line in text.splitlines() if " " in line]

    def wait_for_browser_urls(self, count, timeout=15):
        return wait_until(lambda: len(self.browser_urls()) >= count and self.browser_urls(), timeout,
                          lambda: "%d URL(s) handed to the default browser (have %s)" % (count, self.browser_urls()))

    def wait_for_entry_requests(self, count, timeout=20):
        wait_until(lambda: self.proxy.count(GAME_ENTRY_URL) >= count, timeout,
                   lambda: "%d request(s) for the game entry URL (requests: %s)" % (count, self.proxy.pages()))

    def wait_for_pixel(self, client_point, rgb, timeout=20):
        def shows():
            image = self.screenshot()
            return image.pixel(*client_point) == rgb
        wait_until(shows, timeout, "client pixel %s to become %s" % (client_point, rgb))

    def wait_for_page(self, timeout=20):
        """Waits until the entry page is drawn in the game view."""
        self.wait_for_pixel((0, 0), ORIGIN_MARK, timeout)

    def wait_for_beacon(self, what, timeout=10):
        wait_until(lambda: what in self.proxy.beacons(), timeout,
                   lambda: "the page to report %r (it reported %s)" % (what, self.proxy.beacons()))

    def focus_page(self):
        """Clicks into the page's text input and waits until the page sees typed keys."""
        self.click(*PAGE_INPUT_CLIENT_POINT)
        self.type_into_page("q")

    def type_into_page(self, char):
        before = self.proxy.beacons().count("key/" + char)
        self.key(char)
        wait_until(lambda: self.proxy.beacons().count("key/" + char) > before, 10,
                   "the page to receive the key %r" % char)

    def wait_for_exit(self, timeout=15):
        try:
            return self.program.wait(timeout)
        except subprocess.TimeoutExpired:
            raise AssertionError("the program did not end within %d s" % timeout) from None

    def program_output(self):
        return _read(os.path.join(self.tmp, "program.log")) or ""

    def webkit_helpers(self):
        """(pid, name, process group) of the WebKit helpers started in this session still alive."""
        return _webkit_helpers(self.marker)

    def assert_no_helpers_left(self, grace=5):
        """The WebKit processes end with the program (after the grace it takes them to notice)."""
        wait_until(lambda: not self.webkit_helpers(), grace,
                   lambda: "the WebKit helpers to end with the program (left: %s)" % self.webkit_helpers())

    # --- focus, read through the accessibility bus ------------------------------------------

    def accessibility(self, question):
        """Asks the accessibility reader about the program's push buttons (see atspi_reader.py)."""
        if self._atspi is None:
            bus = wait_until(lambda: _read(self.bus_file), 10, "the program's D-Bus session")
            self._atspi = self._spawn([PYTHON, os.path.join(HERE, "atspi_reader.py"), str(self.program_pid)],
                                      env=self.env(DBUS_SESSION_BUS_ADDRESS=bus), stdin=subprocess.PIPE,
                                      stdout=subprocess.PIPE, text=True)
        self._atspi.stdin.write(question + "\n")
        self._atspi.stdin.flush()
        reply = json.loads(self._atspi.stdout.readline() or '{"error": "the reader ended"}')
        if "error" in reply:
            if self.program.poll() is not None:
                raise AssertionError("the program has ended, with exit code %s" % self.program.returncode)
            raise AssertionError("reading %s through the accessibility bus failed: %s" % (question, reply["error"]))
        return reply

    def focused_button(self):
        """The label of the side panel button with the keyboard focus, or None."""
        return self.accessibility("focus")["focused"]

    def buttons(self):
        """{label: (left, top, width, height)} of the program's push buttons, in client pixels."""
        return {name: tuple(rect) for name, *rect in self.accessibility("buttons")["buttons"]}

    def wait_for_focus(self, label, timeout=10):
        wait_until(lambda: self.focused_button() == label, timeout,
                   lambda: "the focus on %r (it is on %r)" % (label, self.focused_button()))

    # --- tear-down --------------------------------------------------------------------------

    def close(self):
        """Ends every process this session started; fails if a WebKit helper had escaped them."""
        if self._closed:
            return
        self._closed = True
        for process in reversed(self._groups):
            try:
                os.killpg(process.pid, signal.SIGKILL)
            except ProcessLookupError:
                pass
            process.wait()
            for pipe in (process.stdin, process.stdout):
                if pipe:
                    pipe.close()
        groups = {process.pid for process in self._groups}
        escaped = [helper for helper in self.webkit_helpers() if helper[2] not in groups]
        for pid, _, _ in escaped:
            try:
                os.kill(pid, signal.SIGKILL)
            except ProcessLookupError:
                pass
        self.proxy.close()
        for log in ("_xvfb_log", "_openbox_log", "_program_log"):
            if hasattr(self, log):
                getattr(self, log).close()
        shutil.rmtree(self.tmp, ignore_errors=True)
        if escaped:
            raise AssertionError("WebKit helpers left their process group and outlived it: %s" % escaped)

    def __enter__(self):
        return self.start()

    def __exit__(self, *exc):
        self.close()


def _read(path):
    try:
        with open(path) as f:
            return f.read()
    except FileNotFoundError:
        return None


def start_session(test, screen, hold_entry=False, args=(), env=None):
    """A desktop with the program showing its window, closed by test's (class) clean-up."""
    if not os.access(PROGRAM, os.X_OK):
        raise AssertionError("the program is not built: " + PROGRAM)
    session = Session(screen, hold_entry).start()
    (test.addClassCleanup if isinstance(test, type) else test.addCleanup)(session.close)
    session.start_program(*args, env=env)
    session.wait_for_window()
    return session


class ProgramTestCase(unittest.TestCase):
    """Each test gets its own desktop with a freshly started program."""

    screen = (1920, 1080)
    hold_entry = False

    def setUp(self):
        self.session = start_session(self, self.screen, self.hold_entry)


class SharedProgramTestCase(unittest.TestCase):
    """The tests of the class only look, so they share one desktop and one program start."""

    screen = (1920, 1080)
    program_env = None

    @classmethod
    def setUpClass(cls):
        cls.session = start_session(cls, cls.screen, env=cls.program_env)
