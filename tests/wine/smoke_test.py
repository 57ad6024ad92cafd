#!/usr/bin/python3
"""Smoke test of the Windows program: runs the real tessaryn-desktop.exe under Wine on a virtual
X display with a window manager and checks from outside what the player sees and what reaches the
default browser.

It runs the program twice, each time in a fresh Wine prefix and HOME: under a Chinese locale
(ANSI code page 936) and under LANG=C (code page 1252). Both runs must show the same title and the
same side panel, because the program decodes its texts itself rather than through the code page.
A third run, without the web browser control, must end in the start-up error box.

Wine hands the URLs of ShellExecute to winebrowser; the test points winebrowser at a script that
records them. Wine has no HTML engine here, so the game page stays white and is never looked at.

Usage: smoke_test.py PATH/TO/tessaryn-desktop.exe
"""

import contextlib
import os
import re
import select
import shutil
import signal
import struct
import subprocess
import sys
import tempfile
import time
from pathlib import Path

SCREEN = (1280, 1024)
OUTER = (1098, 690)
TITLE = "ZentoraTessaryn桌面版VSP1内测版" + " " * 20 + "更多辅助尽在Zentora游戏网(www.zentora.com)"
ICON_FILE = Path(__file__).resolve().parents[2] / "src" / "resources" / "icon.ico"
# Where the screenshots of the window go for a person to look at, if anywhere.
ARTIFACTS = Path(os.environ["TESSARYN_WINE_ARTIFACTS"]) if os.environ.get("TESSARYN_WINE_ARTIFACTS") else None

MAKER = "http://www.zentora.com/"
MAKER_SOFTWARE = "http://soft.zentora.com/"
KELVARO = "http://www.kelvaro.com/"
DRAVON = "http://www.dravon.com/"

BUTTON_X = 1016
BUTTON_SIZE = (80, 32)
# Partner buttons by name: top edge in the client area and the site each one opens.
PARTNER_BUTTONS = [
    ("按钮2", 64, MAKER),
    ("按钮3", 480, MAKER),
    ("按钮6", 520, MAKER_SOFTWARE),
    ("按钮4", 560, KELVARO),
    ("按钮5", 600, DRAVON),
]
REFRESH_BUTTON_TOP = 16

# The footer caption's frame: grey levels from the start of each band (its outer edge at the top
# and left, its inner edge at the bottom and right).
FRAME_LEVELS = [128, 159, 191, 223, 255, 224, 192, 160]
FOOTER = (-8, 624, 1104, 40)
CAPTION = (1024, 448, 72, 24)

# Wine's translation of the window style into Motif hints.
MWM_FUNC = {"resize": 0x02, "move": 0x04, "minimize": 0x08, "maximize": 0x10, "close": 0x20}
MWM_DECOR = {"border": 0x02, "resizeh": 0x04, "title": 0x08, "menu": 0x10, "minimize": 0x20, "maximize": 0x40}

# Wine has neither the program's button font nor, under an English locale, a fallback with Chinese
# characters; Windows has both in every language edition. The prefix gets them from the installed
# WenQuanYi font, so that what differs between the two runs is the code page alone.
CJK_FONT_FILE = "wqy-zenhei.ttc"
CJK_FONT = "WenQuanYi Zen Hei"

# What a self-contained program file may import: libraries that come with Windows.
SYSTEM_DLLS = {"kernel32.dll", "user32.dll", "gdi32.dll", "ole32.dll", "oleaut32.dll", "shell32.dll",
               "comctl32.dll", "advapi32.dll", "msvcrt.dll"}
RT_ICON, RT_GROUP_ICON, RT_VERSION, RT_MANIFEST = 3, 14, 16, 24

STEP_TIMEOUT = 30
PREFIX_TIMEOUT = 240


class Failure(Exception):
    pass


def wait_for(description, probe, timeout=STEP_TIMEOUT):
    """Polls `probe` until it returns something other than None; `probe` may raise Failure."""
    deadline = time.monotonic() + timeout
    while True:
        result = probe()
        if result is not None:
            return result
        if time.monotonic() > deadline:
            raise Failure(f"timed out after {timeout} s waiting for {description}")
        time.sleep(0.05)


def check(condition, message):
    if not condition:
        raise Failure(message)


def run(command, env, timeout=STEP_TIMEOUT, check_status=True):
    result = subprocess.run(command, env=env, stdin=subprocess.DEVNULL, capture_output=True, timeout=timeout)
    if check_status and result.returncode != 0:
        raise Failure(f"{' '.join(map(str, command))} exited with {result.returncode}: "
                      f"{result.stderr.decode(errors='replace').strip()}")
    return result


def end_process(process):
    if process.poll() is not None:
        return
    with contextlib.suppress(ProcessLookupError):
        os.killpg(process.pid, signal.SIGTERM)
    try:
        process.wait(timeout=10)
    except subprocess.TimeoutExpired:
        with contextlib.suppress(ProcessLookupError):
            os.killpg(process.pid, signal.SIGKILL)
        process.wait()


@contextlib.contextmanager
def spawned(command, env, **options):
    process = subprocess.Popen(command, env=env, stdin=subprocess.DEVNULL, start_new_session=True, **options)
    try:
        yield process
    finally:
        end_process(process)


def clean_environment(home):
    """The caller's environment without its locale and display, with a home of its own."""
    env = {key: value for key, value in os.environ.items()
           if not key.startswith("LC_") and key not in ("LANG", "LANGUAGE", "DISPLAY", "WAYLAND_DISPLAY")}
    env["HOME"] = str(home)
    return env


@contextlib.contextmanager
def x_display(workdir):
    """Xvfb on a free display number, with openbox managing its windows."""
    home = workdir / "x-home"
    home.mkdir()
    env = clean_environment(home)
    read_end, write_end = os.pipe()
    xvfb_command = ["Xvfb", "-displayfd", str(write_end), "-screen", "0", f"{SCREEN[0]}x{SCREEN[1]}x24",
                    "-nolisten", "tcp", "-noreset"]
    with spawned(xvfb_command, env, pass_fds=[write_end], stdout=subprocess.DEVNULL,
                 stderr=subprocess.DEVNULL) as xvfb:
        os.close(write_end)
        number = b""
        deadline = time.monotonic() + STEP_TIMEOUT
        while not number.endswith(b"\n"):
            check(xvfb.poll() is None, "Xvfb ended before it told its display number")
            check(time.monotonic() < deadline, "Xvfb did not tell its display number")
            if select.select([read_end], [], [], 0.1)[0]:
                chunk = os.read(read_end, 16)
                check(chunk, "Xvfb closed the display-number pipe")
                number += chunk
        os.close(read_end)
        env["DISPLAY"] = ":" + number.decode().strip()

        with spawned(["openbox"], env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL) as openbox:
            def window_manager_ready():
                check(openbox.poll() is None, "openbox ended at start")
                out = run(["xprop", "-root", "_NET_SUPPORTING_WM_CHECK"], env, check_status=False).stdout
                return True if b"window id" in out else None
            wait_for("openbox", window_manager_ready)
            yield env["DISPLAY"]


def read_icon_argb():
    """The icon file's one 64 x 64 image as ARGB values, rows top to bottom."""
    data = ICON_FILE.read_bytes()
    offset = struct.unpack_from("<I", data, 6 + 12)[0]
    pixels = data[offset + 40: offset + 40 + 64 * 64 * 4]
    rows = [pixels[row * 256:(row + 1) * 256] for row in range(64)][::-1]
    argb = []
    for row in rows:
        for x in range(64):
            b, g, r, a = row[x * 4: x * 4 + 4]
            argb.append((a << 24) | (r << 16) | (g << 8) | b)
    return argb


class ProgramFile:
    """The parts of a 64-bit PE file that make it self-contained: imports and resources."""

    def __init__(self, path):
        self.data = path.read_bytes()
        check(self.data[:2] == b"MZ", f"{path} is no Windows program")
        pe = struct.unpack_from("<I", self.data, 0x3C)[0]
        check(self.data[pe:pe + 4] == b"PE\0\0", f"{path} is no PE file")
        self.machine, sections = struct.unpack_from("<HH", self.data, pe + 4)
        optional_size = struct.unpack_from("<H", self.data, pe + 20)[0]
        optional = pe + 24
        check(struct.unpack_from("<H", self.data, optional)[0] == 0x20B, "not a 64-bit program file")
        self.subsystem = struct.unpack_from("<H", self.data, optional + 68)[0]
        directories = optional + 112
        self.import_rva = struct.unpack_from("<I", self.data, directories + 8)[0]
        self.resource_rva = struct.unpack_from("<I", self.data, directories + 16)[0]
        self.sections = [struct.unpack_from("<IIII", self.data, optional + optional_size + i * 40 + 8)
                         for i in range(sections)]

    def offset(self, rva):
        for virtual_size, virtual_address, raw_size, raw_address in self.sections:
            if virtual_address <= rva < virtual_address + max(virtual_size, raw_size):
                return rva - virtual_address + raw_address
        raise Failure(f"address {rva:#x} lies in no section")

    def text_at(self, rva):
        start = self.offset(rva)
        return self.data[start:self.data.index(b"\0", start)].decode()

    def imported_dlls(self):
        names, at = [], self.offset(self.import_rva)
        while True:
            name_rva = struct.unpack_from("<I", self.data, at + 12)[0]
            if name_rva == 0:
                return names
            names.append(self.text_at(name_rva).lower())
            at += 20

    def resources(self):
        """{(type, name): data} of the first language of each resource."""
        base = self.offset(self.resource_rva)

        def entries(directory):
            named, numbered = struct.unpack_from("<HH", self.data, base + directory + 12)
            for i in range(named + numbered):
                name, target = struct.unpack_from("<II", self.data, base + directory + 16 + i * 8)
                if name & 0x80000000:
                    at = base + (name & 0x7FFFFFFF)
                    length = struct.unpack_from("<H", self.data, at)[0]
                    name = self.data[at + 2:at + 2 + 2 * length].decode("utf-16-le")
                yield name, target

        found = {}
        for kind, kind_target in entries(0):
            for name, name_target in entries(kind_target & 0x7FFFFFFF):
                _, leaf = next(entries(name_target & 0x7FFFFFFF))
                data_rva, size = struct.unpack_from("<II", self.data, base + leaf)
                found[(kind, name)] = self.data[self.offset(data_rva):self.offset(data_rva) + size]
        return found


def check_program_file(exe):
    program = ProgramFile(exe)
    check(program.machine == 0x8664, f"the program is built for machine {program.machine:#x}, not x86-64")
    check(program.subsystem == 2, f"the program's subsystem is {program.subsystem}, not the Windows GUI")
    foreign = sorted(set(program.imported_dlls()) - SYSTEM_DLLS)
    check(not foreign, f"the program needs DLLs that do not come with Windows: {foreign}")

    resources = program.resources()
    group = resources.get((RT_GROUP_ICON, "DEFAULT_ICON"))
    check(group, "the program file has no icon group DEFAULT_ICON")
    count = struct.unpack_from("<H", group, 4)[0]
    width, height, _, _, _, bits, size, icon_id = struct.unpack_from("<BBBBHHIH", group, 6)
    check(count == 1 and (width, height, bits) == (64, 64, 32),
          f"icon group DEFAULT_ICON holds {count} images, the first {width} x {height} with {bits} bits")
    icon_file = ICON_FILE.read_bytes()
    image_offset = struct.unpack_from("<I", icon_file, 6 + 12)[0]
    check(resources.get((RT_ICON, icon_id)) == icon_file[image_offset:],
          "the program file's icon is not the picture of icon.ico")
    check((RT_VERSION, 1) in resources, "the program file has no version information")
    manifest = resources.get((RT_MANIFEST, 1), b"").decode(errors="replace")
    check("Microsoft.Windows.Common-Controls" in manifest and 'version="6.0.0.0"' in manifest,
          "the program's manifest does not ask for common controls version 6")
    print(f"program file: 64-bit GUI program importing only {', '.join(sorted(program.imported_dlls()))}; "
          "icon DEFAULT_ICON, version information, manifest for common controls 6: ok", flush=True)


class Screenshot:
    def __init__(self, data, width, height):
        self.data, self.width, self.height = data, width, height

    def at(self, x, y):
        i = (y * self.width + x) * 3
        return tuple(self.data[i:i + 3])

    def region(self, left, top, right, bottom):
        """Pixels of the region clipped to the image, as (x, y, colour)."""
        for y in range(max(top, 0), min(bottom, self.height)):
            for x in range(max(left, 0), min(right, self.width)):
                yield x, y, self.at(x, y)

    def crop(self, left, top, right, bottom):
        return [colour for _, _, colour in self.region(left, top, right, bottom)]


def grey(level):
    return (level, level, level)


def footer_problems(shot):
    problems = []
    footer_left, footer_top, footer_width, footer_height = FOOTER
    band = len(FRAME_LEVELS)
    for i, level in enumerate(FRAME_LEVELS):
        for x in (100, 500, 900):
            for y, where in ((footer_top + i, "top"), (footer_top + footer_height - band + i, "bottom")):
                if y < shot.height and shot.at(x, y) != grey(level):
                    problems.append(f"footer {where} band at ({x},{y}) is {shot.at(x, y)}, not {grey(level)}")
        x = footer_left + footer_width - band + i
        for y in (footer_top + band + 4, footer_top + footer_height - band - 4):
            if x < shot.width and shot.at(x, y) != grey(level):
                problems.append(f"footer right band at ({x},{y}) is {shot.at(x, y)}, not {grey(level)}")

    # 按钮5 lies above the footer's top band.
    covered = [shot.at(BUTTON_X + 40, footer_top + i) for i in range(band)]
    if covered == [grey(level) for level in FRAME_LEVELS]:
        problems.append("the footer's top band shows through 按钮5")

    # The right band meets the bottom band on the corner's diagonal: in the band's fourth column
    # the lowest rows belong to the bottom band. (The top corner lies under 按钮5.)
    x = footer_left + footer_width - band + 3
    for i in (band - 3, band - 1):
        y = footer_top + footer_height - band + i
        if x < shot.width and y < shot.height and shot.at(x, y) != grey(FRAME_LEVELS[i]):
            problems.append(f"footer corner at ({x},{y}) is {shot.at(x, y)}, not {grey(FRAME_LEVELS[i])}")

    inner = (footer_left + band, footer_top + band, footer_left + footer_width - band,
             footer_top + footer_height - band)
    green = [(x, y) for x, y, colour in shot.region(*inner) if colour == (0, 128, 0)]
    strays = [(x, y, colour) for x, y, colour in shot.region(*inner)
              if colour != (0, 0, 0) and not (colour[0] == colour[2] == 0 and colour[1] <= 128)]
    if strays:
        problems.append(f"footer text area has colours other than black and green, e.g. {strays[:3]}")
    if len(green) < 200:
        problems.append(f"footer shows only {len(green)} green text pixels")
    elif min(x for x, _ in green) > 2:
        problems.append(f"footer text starts at client x {min(x for x, _ in green)}, not at 0")
    if any(x >= 1000 for x, _ in green):
        problems.append("footer text reaches past client x 1000")
    return problems


def side_panel_problems(shot):
    problems = []
    face = shot.at(1056, 300)
    if face in ((255, 255, 255), (0, 0, 0)) or shot.at(1056, 200) != face:
        problems.append(f"side panel background is {face} / {shot.at(1056, 200)}, not one button-face colour")
    left, top, width, height = CAPTION
    caption = list(shot.region(left, top, left + width, top + height))
    colours = [colour for _, _, colour in caption]
    if max(set(colours), key=colours.count) != face:
        problems.append("side panel caption's background is not the button-face colour")
    red = [x for x, _, colour in caption if colour == (255, 0, 0)]
    if len(red) < 50:
        problems.append(f"side panel caption shows only {len(red)} red pixels")
    elif min(red) > left + 3:
        problems.append(f"side panel caption's text starts at client x {min(red)}, not at {left}")
    if any(colour[0] < colour[1] or colour[0] < colour[2] for colour in colours):
        problems.append("side panel caption has colours other than red on the button face")
    return problems


class ProgramRun:
    """One run of the program in a fresh Wine prefix and HOME."""

    def __init__(self, exe, workdir, display, name, locale, dll_overrides=""):
        self.exe = exe
        self.name = name
        base = workdir / name
        base.mkdir()
        (base / "home").mkdir()
        self.urls = base / "urls.txt"
        self.recorder = base / "record-url"
        self.registry_file = base / "settings.reg"
        self.log = base / "wine.log"
        self.env = clean_environment(base / "home")
        self.env.update(locale)
        self.env.update({
            "DISPLAY": display,
            "WINEPREFIX": str(base / "prefix"),
            "WINEDEBUG": "-all",
            "WINEDLLOVERRIDES": "mscoree,mshtml" + dll_overrides + "=,winemenubuilder.exe=d",
        })
        # For xprop, whose output has to be UTF-8 whatever the run's locale.
        self.x_env = dict(self.env, LC_ALL="C.UTF-8")
        self.window = None

    def say(self, text):
        print(f"[{self.name}] {text}", flush=True)

    def wine(self, *arguments, timeout=STEP_TIMEOUT):
        return run(["wine", *arguments], self.env, timeout=timeout)

    def xdotool(self, *arguments):
        return run(["xdotool", *arguments], self.env)

    def prepare_prefix(self):
        self.recorder.write_text(f'#!/bin/sh\nprintf "%s\\n" "$1" >> "{self.urls}"\n')
        self.recorder.chmod(0o755)
        self.wine("wineboot", "--init", timeout=PREFIX_TIMEOUT)
        run(["wineserver", "-w"], self.env, timeout=PREFIX_TIMEOUT)
        system_link = (CJK_FONT_FILE + "," + CJK_FONT + "\0\0").encode("utf-16-le").hex(",")
        settings = "\r\n".join([
            "Windows Registry Editor Version 5.00",
            "",
            r"[HKEY_CURRENT_USER\Software\Wine\WineBrowser]",
            f'"Browsers"="{self.recorder}"',
            "",
            r"[HKEY_CURRENT_USER\Software\Wine\Fonts\Replacements]",
            f'"微软雅黑"="{CJK_FONT}"',
            "",
            r"[HKEY_LOCAL_MACHINE\Software\Microsoft\Windows NT\CurrentVersion\FontLink\SystemLink]",
            f'"Tahoma"=hex(7):{system_link}',
            "",
        ])
        self.registry_file.write_bytes(b"\xff\xfe" + settings.encode("utf-16-le"))
        self.wine("regedit", "/S", "Z:" + str(self.registry_file).replace("/", "\\"))

    def ansi_code_page(self):
        out = self.wine("reg", "query", r"HKLM\System\CurrentControlSet\Control\Nls\CodePage", "/v", "ACP")
        found = re.search(rb"ACP\s+REG_SZ\s+(\d+)", out.stdout)
        check(found, f"no ANSI code page in the registry: {out.stdout!r}")
        return int(found.group(1))

    def recorded_urls(self):
        return self.urls.read_text().splitlines() if self.urls.exists() else []

    def expect_url(self, url, done_before, cause):
        """Waits for the next URL handed to the default browser and checks it."""
        recorded = wait_for(f"{url} to reach the default browser {cause}",
                            lambda: self.recorded_urls() if len(self.recorded_urls()) > done_before else None)
        check(recorded[done_before] == url, f"the default browser got {recorded[done_before]} {cause}, not {url}")
        return done_before + 1

    def property_text(self, name, format_spec=None):
        command = ["xprop", "-id", str(self.window), "-notype"]
        if format_spec:
            command += ["-f", name, format_spec]
        return run(command + [name], self.x_env).stdout.decode()

    def geometry(self):
        out = run(["xwininfo", "-id", str(self.window)], self.env).stdout.decode()
        value = {key: int(re.search(rf"{key}:\s+(-?\d+)", out).group(1))
                 for key in ("Absolute upper-left X", "Absolute upper-left Y", "Width", "Height")}
        return (value["Absolute upper-left X"], value["Absolute upper-left Y"], value["Width"], value["Height"])

    def screenshot(self, width, height):
        data = run(["import", "-window", str(self.window), "-depth", "8", "rgb:-"], self.env).stdout
        check(len(data) == width * height * 3, f"screenshot has {len(data)} bytes for {width} x {height} pixels")
        return Screenshot(data, width, height)

    def click(self, x, y):
        self.xdotool("mousemove", "--window", str(self.window), str(x), str(y), "click", "1")

    def check_window(self):
        title = re.search(r'^_NET_WM_NAME = "(.*)"$', self.property_text("_NET_WM_NAME"), re.M)
        check(title and title.group(1) == TITLE, f"window title is {title and title.group(1)!r}")

        x, y, width, height = self.geometry()
        frame = (OUTER[0] - width) / 2
        check(frame == int(frame) and 0 <= frame < 16, f"client area {width} wide in a {OUTER[0]}-wide window")
        frame = int(frame)
        outer_left, outer_top = x - frame, y + height + frame - OUTER[1]
        centred = ((SCREEN[0] - OUTER[0]) // 2, (SCREEN[1] - OUTER[1]) // 2)
        check((outer_left, outer_top) == centred,
              f"window at {outer_left},{outer_top} (client {width} x {height} at {x},{y}), not centred at {centred}")

        hints = self.property_text("WM_NORMAL_HINTS")
        check(f"minimum size: {width} by {height}" in hints and f"maximum size: {width} by {height}" in hints,
              f"the window can be resized: {hints}")
        motif = [int(v, 0) for v in re.findall(r"0x[0-9a-f]+|\d+", self.property_text("_MOTIF_WM_HINTS"))]
        check(len(motif) == 5, f"no Motif hints: {motif}")
        functions, decorations = motif[1], motif[2]
        check(functions & MWM_FUNC["move"] and functions & MWM_FUNC["close"]
              and not functions & (MWM_FUNC["resize"] | MWM_FUNC["minimize"] | MWM_FUNC["maximize"]),
              f"window functions {functions:#x}: not move and close only")
        check(decorations & MWM_DECOR["title"] and decorations & MWM_DECOR["menu"]
              and not decorations & (MWM_DECOR["resizeh"] | MWM_DECOR["minimize"] | MWM_DECOR["maximize"]),
              f"window decorations {decorations:#x}: not a fixed frame with title and window menu only")
        check("not found" in self.property_text("WM_TRANSIENT_FOR"), "the main window has an owner")
        check("SKIP_TASKBAR" not in self.property_text("_NET_WM_STATE"), "the main window has no taskbar entry")

        values = [int(v) for v in re.findall(r"\d+", self.property_text("_NET_WM_ICON", "32c"))]
        check(values[:2] == [64, 64] and values[2:2 + 64 * 64] == read_icon_argb(),
              "the window icon is not the program's 64 x 64 icon")
        self.say(f"title, {width} x {height} client area centred, fixed frame, icon: ok")
        return width, height

    def check_pictures(self, width, height):
        last = []

        def painted():
            shot = self.screenshot(width, height)
            last[:] = footer_problems(shot) + side_panel_problems(shot)
            return shot if not last else None
        try:
            shot = wait_for("the footer and the side panel caption to be painted", painted)
        except Failure as failure:
            raise Failure(f"{failure}: " + "; ".join(last)) from None
        self.say("footer frame, black text area with green text from x 0, red side panel caption: ok")
        if ARTIFACTS:
            ARTIFACTS.mkdir(parents=True, exist_ok=True)
            picture = ARTIFACTS / f"window-{self.name}.png"
            run(["import", "-window", str(self.window), str(picture)], self.env)
            self.say(f"screenshot: {picture}")
        return shot

    def wait_until_active(self):
        def active():
            # Fails while no window is active at all.
            out = run(["xdotool", "getactivewindow"], self.env, check_status=False).stdout
            return True if out.decode().strip() == str(self.window) else None
        wait_for("the main window to be active", active)

    def check_keys(self, done):
        self.wait_until_active()
        # Space clicks the focused button, which shows where the focus is.
        self.xdotool("key", "Tab", "space")
        done = self.expect_url(MAKER, done, "after Tab at start (focus on 按钮2)")
        self.xdotool("key", "shift+Tab", "shift+Tab", "space")
        done = self.expect_url(MAKER_SOFTWARE, done, "after Shift+Tab twice from 按钮2 (focus on 按钮6)")
        self.xdotool("key", "Tab", "Tab", "space")
        done = self.expect_url(MAKER, done, "after Tab twice from 按钮6 (focus on 按钮2)")
        # Shift+Esc does not close: the window still takes the Space after it.
        self.xdotool("key", "shift+Escape", "space")
        done = self.expect_url(MAKER, done, "after Shift+Esc (focus on 按钮2)")
        self.say("focus at start on 按钮1, Tab to 按钮2, Shift+Tab round to 按钮6, Tab round to 按钮2, "
                 "Shift+Esc ignored: ok")

        self.xdotool("key", "Tab", "Tab")
        self.xdotool("windowminimize", "--sync", str(self.window))
        self.xdotool("windowactivate", "--sync", str(self.window))
        self.wait_until_active()
        self.xdotool("key", "space")
        done = self.expect_url(KELVARO, done, "after the window was activated again (focus on 按钮4)")
        self.say("focus back on 按钮4 after the window was deactivated and activated again: ok")
        return done

    def check_clicks(self, done):
        for name, top, url in PARTNER_BUTTONS:
            self.click(BUTTON_X + BUTTON_SIZE[0] // 2, top + BUTTON_SIZE[1] // 2)
            done = self.expect_url(url, done, f"after a click on {name}")
        # The refresh button opens nothing in the default browser but takes the focus like any.
        self.click(BUTTON_X + BUTTON_SIZE[0] // 2, REFRESH_BUTTON_TOP + BUTTON_SIZE[1] // 2)
        self.xdotool("key", "Tab", "space")
        done = self.expect_url(MAKER, done, "after a click on 按钮1 and Tab (focus on 按钮2)")
        self.say("clicks on all six buttons at their places: ok")
        return done

    def run(self, close_key):
        """Runs the program through every check; returns its side panel as seen at start."""
        self.say("making the Wine prefix")
        self.prepare_prefix()
        code_page = self.ansi_code_page()
        self.say(f"ANSI code page {code_page}")
        self.xdotool("mousemove", "300", "300")  # away from the buttons, so that none looks hovered

        with self.log.open("wb") as log, spawned(["wine", self.exe], self.env, stdout=log, stderr=log) as program:
            def program_window():
                check(program.poll() is None, f"the program ended at start with {program.poll()}")
                out = run(["xdotool", "search", "--onlyvisible", "--name", "VSP1"], self.env, check_status=False)
                ids = out.stdout.split()
                return int(ids[0]) if ids else None
            self.window = wait_for("the main window", program_window)
            width, height = self.check_window()

            done = self.expect_url(MAKER, 0, "from the timer")
            self.say("maker site opened by the timer")
            shot = self.check_pictures(width, height)
            done = self.check_keys(done)
            done = self.check_clicks(done)

            self.xdotool("key", close_key)
            code = wait_for("the program to end", program.poll)
            check(code == 0, f"the program ended with {code} after {close_key}")
            self.say(f"{close_key} closed the program with exit code 0")

        run(["wineserver", "-w"], self.env, timeout=60)
        expected = ([MAKER, MAKER, MAKER_SOFTWARE, MAKER, MAKER, KELVARO] + [url for _, _, url in PARTNER_BUTTONS]
                    + [MAKER])
        recorded = self.recorded_urls()
        check(recorded == expected, f"the default browser got {recorded}, expected {expected}")
        self.say("exactly the expected URLs reached the default browser, the maker site once by the timer")
        return code_page, shot.crop(BUTTON_X, 0, width, FOOTER[1] + 8)

    def run_failing_start(self):
        """Runs the program where the web browser control cannot be made."""
        self.say("making the Wine prefix")
        self.prepare_prefix()
        with self.log.open("wb") as log, spawned(["wine", self.exe], self.env, stdout=log, stderr=log) as program:
            def error_box():
                check(program.poll() is None, f"the program ended with {program.poll()} before any error box")
                out = run(["xdotool", "search", "--onlyvisible", "--class", "tessaryn-desktop"], self.env,
                          check_status=False)
                ids = out.stdout.split()
                return int(ids[0]) if len(ids) == 1 else None
            self.window = wait_for("the error box", error_box)
            title = re.search(r'^_NET_WM_NAME = "(.*)"$', self.property_text("_NET_WM_NAME"), re.M)
            check(title and title.group(1) == "错误", f"the program's only window is {title and title.group(1)!r}, "
                                                     "not the error box")
            self.wait_until_active()
            self.xdotool("key", "Return")
            code = wait_for("the program to end", program.poll)
            # Wine hands on the low byte of the Windows exit code.
            check(code == 0xFF, f"the program ended with {code}, not with -1, after a failed start")
        run(["wineserver", "-w"], self.env, timeout=60)
        check(not self.recorded_urls(), f"a failed start opened {self.recorded_urls()}")
        self.say("no web browser control: error box only, exit code -1, no site opened")

    def end(self):
        with contextlib.suppress(Exception):
            run(["wineserver", "-k"], self.env, timeout=30, check_status=False)


def main():
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    exe = Path(sys.argv[1])
    if not exe.is_file():
        print(f"FAIL: {exe} is missing; build it first with "
              "'cmake --preset windows && cmake --build --preset windows'", file=sys.stderr)
        return 1
    for tool in ("Xvfb", "openbox", "xdotool", "xprop", "xwininfo", "import", "wine", "wineserver"):
        if not shutil.which(tool):
            print(f"FAIL: {tool} is not installed", file=sys.stderr)
            return 1

    workdir = Path(tempfile.mkdtemp(prefix="tessaryn-wine-"))
    try:
        check_program_file(exe)
        with x_display(workdir) as display:
            panels = {}
            for name, locale, close_key in (("zh_CN", {"LC_ALL": "zh_CN.UTF-8"}, "Escape"),
                                            ("C", {"LANG": "C"}, "alt+F4")):
                program_run = ProgramRun(exe, workdir, display, name, locale)
                try:
                    panels[name] = program_run.run(close_key)
                finally:
                    program_run.end()
            (chinese_page, chinese_panel), (c_page, c_panel) = panels["zh_CN"], panels["C"]
            check(chinese_page == 936 and c_page == 1252,
                  f"the runs had the ANSI code pages {chinese_page} and {c_page}, not 936 and 1252")
            check(len(chinese_panel) == len(c_panel), "the side panel has another size under code page 1252")
            differing = sum(1 for a, b in zip(chinese_panel, c_panel) if a != b)
            check(differing == 0, f"the side panel differs in {differing} pixels between code pages 936 and 1252")
            print("side panel identical under code pages 936 and 1252: ok")

            failing_run = ProgramRun(exe, workdir, display, "no-browser", {"LANG": "C"}, ",ieframe,shdocvw")
            try:
                failing_run.run_failing_start()
            finally:
                failing_run.end()
    except (Failure, subprocess.TimeoutExpired) as failure:
        print(f"FAIL: {failure}", file=sys.stderr)
        return 1
    finally:
        shutil.rmtree(workdir, ignore_errors=True)
    print("PASS")
    return 0


if __name__ == "__main__":
    sys.exit(main())
