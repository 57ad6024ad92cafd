"""Keyboard focus among the side panel's buttons and the page, and the keys that close."""

import unittest

from harness import BUTTONS, MAKER_SOFTWARE_SITE_URL, TAB_ORDER, ProgramTestCase

LABELS = [BUTTONS[name][0] for name in TAB_ORDER]


class FocusCycle(ProgramTestCase):

    def test_focus_starts_on_the_refresh_button_and_tab_walks_the_buttons(self):
        session = self.session
        session.wait_for_focus(LABELS[0])
        for step in range(1, len(LABELS) + 1):
            session.key("Tab")
            session.wait_for_focus(LABELS[step % len(LABELS)])
        for step in range(len(LABELS) - 1, -1, -1):
            session.key("shift+Tab")
            session.wait_for_focus(LABELS[step])
        session.key("shift+Tab")
        session.wait_for_focus(LABELS[-1])

        # The focus read above is the keyboard's: Space presses 按钮6.
        session.wait_for_browser_urls(1)
        session.key("space")
        self.assertEqual(session.wait_for_browser_urls(2)[1][1], MAKER_SOFTWARE_SITE_URL)

    def test_tab_and_shift_tab_leave_the_page_for_the_first_and_last_button(self):
        session = self.session
        session.wait_for_page()
        for key, label in [("Tab", LABELS[0]), ("shift+Tab", LABELS[-1])]:
            with self.subTest(key=key):
                session.focus_page()
                self.assertIsNone(session.focused_button())
                session.key(key)
                session.wait_for_focus(label)
        self.assertNotIn("key/Tab", session.proxy.beacons(), "the page saw the Tab key")

    def test_focus_comes_back_where_it_was_after_switching_windows(self):
        session = self.session
        session.wait_for_page()
        session.key("Tab")
        session.key("Tab")
        session.wait_for_focus(LABELS[2])
        session.open_other_window()
        session.activate()
        session.wait_for_focus(LABELS[2])

        session.focus_page()
        session.open_other_window()
        session.activate()
        session.type_into_page("w")
        self.assertIsNone(session.focused_button())


class EscapeKey(ProgramTestCase):

    def test_escape_with_a_modifier_does_not_close(self):
        session = self.session
        session.wait_for_focus(LABELS[0])
        for step, key in enumerate(["shift+Escape", "ctrl+Escape"], start=1):
            with self.subTest(key=key):
                session.key(key)
                # Keys are handled in order: once Tab has moved the focus, the Esc before it is done.
                session.key("Tab")
                session.wait_for_focus(LABELS[step])
                self.assertIsNone(session.program.poll())

    def test_escape_closes_while_the_page_has_the_focus(self):
        session = self.session
        session.wait_for_page()
        session.focus_page()
        session.key("Escape")
        self.assertEqual(session.wait_for_exit(), 0, session.program_output())
        session.assert_no_helpers_left()


if __name__ == "__main__":
    unittest.main()
