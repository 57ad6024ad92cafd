"""The promotion: the maker's site handed to the default browser once, shortly after start."""

import time
import unittest

from harness import MAKER_SITE_URL, TAB_ORDER, assert_stays, start_session

PERIOD = 1.1


class PromotionTimer(unittest.TestCase):

    def test_maker_site_opens_once_about_1100_ms_after_start_and_never_again(self):
        session = start_session(self, (1920, 1080))
        shown_at_wall = time.time()
        handed = session.wait_for_browser_urls(1)
        self.assertEqual([url for _, url in handed], [MAKER_SITE_URL])
        handed_at = handed[0][0]
        # The timer is armed after the process starts and before the window shows.
        self.assertGreaterEqual(handed_at - session.started_at_wall, PERIOD)
        self.assertLess(handed_at - shown_at_wall, PERIOD + 2.5)

        session.wait_for_page()
        session.click_button("按钮1")
        for _ in TAB_ORDER:
            session.key("Tab")
        assert_stays(lambda: len(session.browser_urls()) == 1, 3 * PERIOD, "the maker site was opened once")

    def test_closing_before_the_first_tick_opens_nothing(self):
        session = start_session(self, (1920, 1080))
        session.key("Escape")
        self.assertEqual(session.wait_for_exit(), 0, session.program_output())
        ended_after = time.monotonic() - session.started_at
        self.assertLess(ended_after, PERIOD, "the close came after the first tick was due")
        # A tick left running, and the browser it would start, would show within this time.
        assert_stays(lambda: session.browser_urls() == [], 2 * PERIOD, "nothing was handed over")


if __name__ == "__main__":
    unittest.main()
