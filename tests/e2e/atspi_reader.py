"""Answers questions about one process's push buttons, read through the accessibility bus.

Run with the program's D-Bus session address and its pid. Each line on standard input is a
question, answered with one JSON line on standard output:
  focus    -> {"focused": "<label of the focused push button>" or null}
  buttons  -> {"buttons": [[label, left, top, width, height], ...]} (toplevel client coordinates)
or {"error": "..."}. One long-lived reader keeps its bus connection across a test's questions.
"""

import json
import sys

import gi

gi.require_version("Atspi", "2.0")
from gi.repository import Atspi  # noqa: E402


def application(pid):
    desktop = Atspi.get_desktop(0)
    for i in range(desktop.get_child_count()):
        app = desktop.get_child_at_index(i)
        if app is not None and app.get_process_id() == pid:
            return app
    return None


def push_buttons(node):
    """The push buttons of the program's own widgets; the page's tree is not searched."""
    if node.get_role() == Atspi.Role.PUSH_BUTTON:
        return [node]
    if node.get_role() in (Atspi.Role.DOCUMENT_WEB, Atspi.Role.SCROLL_PANE):
        return []
    found = []
    for i in range(node.get_child_count()):
        child = node.get_child_at_index(i)
        if child is not None:
            found += push_buttons(child)
    return found


def answer(question, app):
    # States and extents are cached per object; each question wants a fresh read.
    app.clear_cache()
    buttons = push_buttons(app)
    if question == "focus":
        focused = [b.get_name() for b in buttons if b.get_state_set().contains(Atspi.StateType.FOCUSED)]
        if len(focused) > 1:
            return {"error": "several buttons focused: %s" % focused}
        return {"focused": focused[0] if focused else None}
    if question == "buttons":
        rects = []
        for b in buttons:
            e = b.get_extents(Atspi.CoordType.WINDOW)
            rects.append([b.get_name(), e.x, e.y, e.width, e.height])
        return {"buttons": rects}
    return {"error": "unknown question %r" % question}


def main():
    pid = int(sys.argv[1])
    for line in sys.stdin:
        try:
            app = application(pid)
            reply = answer(line.strip(), app) if app else {"error": "the program is not on the accessibility bus"}
        except Exception as e:  # a program or bus going away mid-question
            reply = {"error": repr(e)}
        print(json.dumps(reply, ensure_ascii=False), flush=True)


if __name__ == "__main__":
    main()
