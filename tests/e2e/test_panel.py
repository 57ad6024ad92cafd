"""Clicks on the side panel: the partner buttons hand their sites to the default browser and the
refresh button loads the game entry page again."""

import unittest

from harness import (FIRST_PARTNER_SITE_URL, GAME_ENTRY_URL, MAKER_SITE_URL, MAKER_SOFTWARE_SITE_URL,
                     ORIGIN_MARK, PAGE_ALERT_CLIENT_POINT, PAGE_LINK_CLIENT_POINT, PAGE_POPUP_CLIENT_POINT, POPUP_URL,
                     SECOND_PAGE_BACKGROUND, SECOND_PARTNER_SITE_URL, ProgramTestCase)

PARTNER_BUTTONS = [
    ("按钮2", MAKER_SITE_URL),
    ("按钮3", MAKER_SITE_URL),
    ("按钮4", FIRST_PARTNER_SITE_URL),
    ("按钮5", SECOND_PARTNER_SITE_URL),
    ("按钮6", MAKER_SOFTWARE_SITE_URL),
]


class PartnerButtons(ProgramTestCase):

    def test_each_click_hands_the_buttons_site_to_the_default_browser(self):
        session = self.session
        # The promotion's one hand-over comes first, so that what follows is the clicks' alone.
        session.wait_for_browser_urls(1)
        for button, url in PARTNER_BUTTONS:
            with self.subTest(button=button):
                before = len(session.browser_urls())
                session.click_button(button)
                session.click_button(button)
                urls = [u for _, u in session.wait_for_browser_urls(before + 2)]
                self.assertEqual(urls[before:], [url, url])
        self.assertEqual(session.proxy.count(GAME_ENTRY_URL), 1, "a partner button reloaded the game")


class RefreshButton(ProgramTestCase):

    def test_refresh_loads_the_entry_page_again_from_wherever_the_view_is(self):
        session = self.session
        session.wait_for_page()
        with self.subTest("on the entry page"):
            session.click_button("按钮1")
            session.wait_for_entry_requests(2)
        with self.subTest("after following a link"):
            session.click(*PAGE_LINK_CLIENT_POINT)
            session.wait_for_pixel((0, 0), SECOND_PAGE_BACKGROUND)
            session.click_button("按钮1")
            session.wait_for_entry_requests(3)
            session.wait_for_pixel((0, 0), ORIGIN_MARK)
        self.assertEqual([u for _, u in session.browser_urls() if u != MAKER_SITE_URL], [])


class RefreshWhileLoading(ProgramTestCase):
    hold_entry = True

    def test_refresh_while_the_entry_page_is_still_loading_starts_a_new_navigation(self):
        session = self.session
        session.wait_for_entry_requests(1)
        session.click_button("按钮1")
        session.wait_for_entry_requests(2)
        session.proxy.release()
        session.wait_for_page()


class PageRequests(ProgramTestCase):

    def test_a_new_window_from_the_page_goes_to_the_default_browser(self):
        session = self.session
        session.wait_for_page()
        session.wait_for_browser_urls(1)
        session.click(*PAGE_POPUP_CLIENT_POINT)
        self.assertEqual([u for _, u in session.wait_for_browser_urls(2)], [MAKER_SITE_URL, POPUP_URL])
        self.assertEqual(session.client_windows(), [session.window])
        self.assertIsNone(session.program.poll())

    def test_an_alert_from_the_page_shows_no_dialog(self):
        session = self.session
        session.wait_for_page()
        before = session.screenshot()
        session.click(*PAGE_ALERT_CLIENT_POINT)
        # The script goes on past alert() at once only when no dialog waits for an answer.
        session.wait_for_beacon("after-alert")
        self.assertEqual(session.client_windows(), [session.window])
        after = session.screenshot()
        self.assertEqual(after.region(0, 0, 1016, 624), before.region(0, 0, 1016, 624))


if __name__ == "__main__":
    unittest.main()
