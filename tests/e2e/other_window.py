"""Another program's window, for taking the focus away from the program under test."""

import gi

gi.require_version("Gtk", "3.0")
from gi.repository import Gtk  # noqa: E402

window = Gtk.Window(title="E2E other window")
window.set_default_size(300, 200)
window.move(50, 50)
window.add(Gtk.Entry())
window.connect("destroy", Gtk.main_quit)
window.show_all()
Gtk.main()
