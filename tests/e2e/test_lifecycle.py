"""How the program ends: every close request, no display at all, and what it leaves behind."""

import os
import subprocess
import unittest

from harness import (ENTRY_COOKIE, GAME_ENTRY_URL, PROGRAM, TITLE, Session, start_session, wait_until)


def close_with_escape(session):
    session.key("Escape")


def close_with_alt_f4(session):
    session.key("alt+F4")


def close_from_the_window_menu(session):
    session.key("alt+space")
    wait_until(lambda: session.menu_is_open(), 10, "the window menu")
    session.x("xdotool", "key", "c")


def close_with_the_title_bar_button(session):
    frame = session.frame_window(session.window)
    left, top, width, _, _ = session.geometry(frame)
    title_height = session.property_cardinals(session.window, "_NET_FRAME_EXTENTS")[2]
    # The window manager's theme puts the close button at the right end of the title bar.
    session.click_screen(left + width - 11, top + title_height // 2)


class Closing(unittest.TestCase):

    def test_every_close_request_ends_the_program_with_exit_code_0(self):
        for close in [close_with_escape, close_with_alt_f4, close_from_the_window_menu,
                      close_with_the_title_bar_button]:
            with self.subTest(close.__name__):
                session = start_session(self, (1920, 1080))
                session.wait_for_page()
                self.assertTrue(session.webkit_helpers(), "the game view runs no WebKit process")
                close(session)
                self.assertEqual(session.wait_for_exit(), 0, session.program_output())
                session.assert_no_helpers_left()
                session.close()


class CommandLine(unittest.TestCase):

    def test_arguments_change_nothing(self):
        session = start_session(self, (1920, 1080),
                                args=("--display=:4242", "--help", "http://www.kelvaro.com/", "-x", "--gtk-debug=all"))
        self.assertEqual(session.property_bytes(session.window, "_NET_WM_NAME").decode(), TITLE)
        session.wait_for_page()
        self.assertEqual(session.proxy.pages(), [GAME_ENTRY_URL])
        session.key("Escape")
        self.assertEqual(session.wait_for_exit(), 0, session.program_output())


class LoggedInBetweenRuns(unittest.TestCase):

    def test_the_game_sites_cookie_is_kept_where_a_browser_keeps_it(self):
        session = start_session(self, (1920, 1080))
        session.wait_for_page()
        self.assertEqual(session.proxy.cookies_sent(GAME_ENTRY_URL), [None])
        session.key("Escape")
        self.assertEqual(session.wait_for_exit(), 0, session.program_output())
        session.assert_no_helpers_left()
        self.assertTrue(os.path.isfile(os.path.join(session.data, "tessaryn-desktop", "cookies.sqlite")))
        self.assertTrue(os.path.isdir(os.path.join(session.cache, "tessaryn-desktop")))

        session.start_program()
        session.wait_for_window()
        session.wait_for_entry_requests(2)
        self.assertEqual(session.proxy.cookies_sent(GAME_ENTRY_URL), [None, ENTRY_COOKIE])
        session.key("Escape")
        self.assertEqual(session.wait_for_exit(), 0, session.program_output())


class NoDisplay(unittest.TestCase):

    def test_without_a_display_it_exits_with_255_and_says_why(self):
        session = Session()
        self.addCleanup(session.close)
        result = subprocess.run([PROGRAM], env=session.env(), stdin=subprocess.DEVNULL, capture_output=True,
                                text=True, timeout=60, start_new_session=True)
        self.assertNotIn("DISPLAY", session.env())
        self.assertEqual(result.returncode, 255, result.stderr)
        self.assertTrue(result.stderr.strip(), "nothing was said on standard error")
        session.assert_no_helpers_left()


if __name__ == "__main__":
    unittest.main()
