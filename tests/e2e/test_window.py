"""The main window as the desktop sees it: place, size, frame, title, icon and what it shows."""

import os
import re
import unittest

from harness import (ARTIFACTS, BUTTONS, GAME_ENTRY_URL, HIDDEN_CORNER, ORIGIN_MARK, OUTER_SIZE, PAGE_BACKGROUND,
                     RIGHT_EDGE_MARK, TITLE, ProgramTestCase, SharedProgramTestCase, start_session, wait_until)

# Grey level of each row of the footer's top and bottom bands and each column of its right
# band, from the band's first client row or column on.
BAND_LEVELS = [128, 159, 191, 223, 255, 224, 192, 160]
GREEN = (0, 128, 0)
BLACK = (0, 0, 0)
RED = (255, 0, 0)
CAPTION = (1024, 448, 72, 24)
MWM_FUNC_MOVE, MWM_FUNC_CLOSE = 4, 32
MWM_DECOR_MINIMIZE, MWM_DECOR_MAXIMIZE = 32, 64


def grey(level):
    return (level, level, level)


def inside(point, rect):
    x, y = point
    left, top, width, height = rect
    return left <= x < left + width and top <= y < top + height


class WindowOnFullHdScreen(SharedProgramTestCase):

    @classmethod
    def setUpClass(cls):
        super().setUpClass()
        cls.session.wait_for_page()
        cls.image = cls.session.screenshot()
        cls.width, cls.height = cls.image.width, cls.image.height
        frame = cls.session.frame_window(cls.session.window)
        cls.session.screenshot(frame).save_png(os.path.join(ARTIFACTS, "window.png"))

    def test_outer_frame_is_centred_at_exactly_its_size(self):
        left, top, width, height, border = self.session.geometry(self.session.frame_window(self.session.window))
        self.assertEqual((width + 2 * border, height + 2 * border), OUTER_SIZE)
        self.assertEqual((left, top), (411, 195))
        extents = self.session.property_cardinals(self.session.window, "_NET_FRAME_EXTENTS")
        client = self.session.client_size()
        self.assertEqual((client[0] + extents[0] + extents[1], client[1] + extents[2] + extents[3]), OUTER_SIZE)

    def test_title_is_exact_with_its_twenty_spaces(self):
        name = self.session.property_bytes(self.session.window, "_NET_WM_NAME")
        self.assertEqual(name.decode("utf-8"), TITLE)

    def test_frame_is_fixed_with_move_and_close_only(self):
        window = self.session.window
        hints = self.session.property_text(window, "WM_NORMAL_HINTS")
        minimum = re.search(r"minimum size: (\d+) by (\d+)", hints)
        maximum = re.search(r"maximum size: (\d+) by (\d+)", hints)
        self.assertTrue(minimum and maximum, hints)
        self.assertEqual(minimum.groups(), maximum.groups())
        self.assertEqual(tuple(map(int, minimum.groups())), self.session.client_size())

        flags, functions, decorations = self.session.property_cardinals(window, "_MOTIF_WM_HINTS")[:3]
        self.assertTrue(flags & 1, "the hints must restrict the window's functions")
        self.assertEqual(functions, MWM_FUNC_MOVE | MWM_FUNC_CLOSE)
        if flags & 2:
            self.assertFalse(decorations & (MWM_DECOR_MINIMIZE | MWM_DECOR_MAXIMIZE))

        # What the window manager made of them.
        actions = self.session.property_text(window, "_NET_WM_ALLOWED_ACTIONS")
        for allowed in ("_NET_WM_ACTION_MOVE", "_NET_WM_ACTION_CLOSE"):
            self.assertIn(allowed, actions)
        for refused in ("_NET_WM_ACTION_RESIZE", "_NET_WM_ACTION_MAXIMIZE_HORZ", "_NET_WM_ACTION_MAXIMIZE_VERT"):
            self.assertNotIn(refused, actions)

    def test_is_an_active_normal_top_level_window_with_a_taskbar_entry(self):
        window = self.session.window
        wait_until(lambda: self.session.active_window() == window, 10, "the window to be activated")
        self.assertNotIn("_NET_WM_WINDOW_TYPE_", self.session.property_text(window, "_NET_WM_WINDOW_TYPE")
                         .replace("_NET_WM_WINDOW_TYPE_NORMAL", ""))
        self.assertIn("not found", self.session.property_text(window, "WM_TRANSIENT_FOR"))
        state = self.session.property_text(window, "_NET_WM_STATE")
        for unwanted in ("SKIP_TASKBAR", "ABOVE", "HIDDEN", "MAXIMIZED", "FULLSCREEN"):
            self.assertNotIn(unwanted, state)

    def test_icon_is_an_opaque_64_pixel_square(self):
        data = self.session.property_cardinals(self.session.window, "_NET_WM_ICON")
        self.assertTrue(data, "the window has no icon")
        icons = {}
        while len(data) >= 2:
            width, height = data[0], data[1]
            icons[(width, height)] = data[2:2 + width * height]
            data = data[2 + width * height:]
        self.assertIn((64, 64), sorted(icons))
        pixels = icons[(64, 64)]
        self.assertTrue(all(p >> 24 == 0xFF for p in pixels), "the icon has transparent pixels")
        self.assertGreater(len({p & 0xFFFFFF for p in pixels}), 1, "the icon is blank")

    def test_game_view_shows_the_entry_page_from_its_column_8_row_32(self):
        self.assertEqual(self.session.proxy.pages()[0], GAME_ENTRY_URL)
        self.session.wait_for_beacon("viewport/1024x18000")
        image = self.image
        self.assertEqual(set(image.region(0, 0, 10, 10)), {ORIGIN_MARK})
        self.assertEqual(image.pixel(10, 0), PAGE_BACKGROUND)
        self.assertEqual(image.pixel(0, 10), PAGE_BACKGROUND)
        self.assertEqual(set(image.region(1008, 100 - 32, 8, 40)), {RIGHT_EDGE_MARK})
        self.assertNotIn(HIDDEN_CORNER, set(image.region(0, 0, 1016, 624)))
        # The view ends at x 1016, where the window's own background shows between the buttons.
        self.assertNotIn(image.pixel(1016, 200), (PAGE_BACKGROUND, RIGHT_EDGE_MARK))
        self.assertEqual(image.pixel(1015, 200), PAGE_BACKGROUND)

    def test_buttons_stand_at_their_places_with_their_labels(self):
        self.assertEqual(self.session.buttons(), {label: rect for label, rect in BUTTONS.values()})

    def test_side_panel_shows_the_button_face_colour_and_the_red_caption(self):
        face = self.session.theme_colour("theme_bg_color")
        image = self.image
        button_rects = [rect for _, rect in BUTTONS.values()]
        strip = [(x, y) for y in range(0, 624) for x in range(1016, self.width)
                 if not any(inside((x, y), r) for r in button_rects + [CAPTION])]
        self.assertEqual({image.pixel(x, y) for x, y in strip}, {face})

        caption = [(x, y) for y in range(448, 472) for x in range(1024, min(1096, self.width))]
        colours = {image.pixel(x, y) for x, y in caption}
        self.assertIn(RED, colours)
        self.assertIn(face, colours)
        ink = [(x, y) for x, y in caption if image.pixel(x, y) != face]
        self.assertTrue(all(image.pixel(x, y)[0] >= image.pixel(x, y)[1] for x, y in ink),
                        "the caption's text is not red")
        self.assertLessEqual(min(x for x, _ in ink), 1026, "the caption is not left-aligned")

    def test_footer_frame_text_and_the_button_above_it(self):
        image, width, height = self.image, self.width, self.height

        def expect_rows(rows, columns, level_of):
            for y in rows:
                if y < height:
                    wanted = grey(level_of(y))
                    got = {image.pixel(x, y) for x in columns if x < width}
                    self.assertEqual(got, {wanted}, "footer row %d" % y)

        expect_rows(range(624, 632), range(0, 1016), lambda y: BAND_LEVELS[y - 624])
        expect_rows(range(656, 664), range(0, 1088), lambda y: BAND_LEVELS[y - 656])
        for x in range(1088, min(1096, width)):
            got = {image.pixel(x, y) for y in range(632, min(656, height))}
            self.assertEqual(got, {grey(BAND_LEVELS[x - 1088])}, "footer column %d" % x)
        # The right and bottom bands meet on the corner's diagonal.
        for y in range(656, min(664, height)):
            for x in range(1088, min(1096, width)):
                self.assertEqual(image.pixel(x, y), grey(BAND_LEVELS[max(x - 1088, y - 656)]), (x, y))

        text = [(x, y) for y in range(632, min(656, height)) for x in range(0, 1088)]
        ink = [(x, y) for x, y in text if image.pixel(x, y) != BLACK]
        self.assertTrue(all(image.pixel(x, y)[0] == 0 == image.pixel(x, y)[2] for x, y in ink),
                        "the footer's text area shows something other than green on black")
        self.assertIn(GREEN, {image.pixel(x, y) for x, y in ink})
        self.assertLessEqual(min(x for x, _ in ink), 1, "the footer text does not start at x 0")
        self.assertGreater(max(x for x, _ in ink), 800, "the footer text is not one long line")

        # 按钮5 covers the top band where they overlap and looks there as 按钮4 does, apart from
        # its border, which the theme blends with what lies beneath.
        for dy in range(24, 31):
            self.assertEqual(image.region(1018, 600 + dy, 76, 1), image.region(1018, 560 + dy, 76, 1),
                             "按钮5 row %d" % (600 + dy))
        self.assertNotEqual(set(image.region(1018, 631, 76, 1)), {grey(BAND_LEVELS[7])})


class ButtonFaceFollowsTheDesktop(SharedProgramTestCase):
    program_env = {"GTK_THEME": "Adwaita:dark"}

    def test_background_takes_the_dark_themes_colour(self):
        dark = self.session.theme_colour("theme_bg_color", GTK_THEME="Adwaita:dark")
        self.assertNotEqual(dark, self.session.theme_colour("theme_bg_color"))
        image = self.session.screenshot()
        self.assertEqual(set(image.region(1020, 200, 70, 200)), {dark})
        caption = image.region(*CAPTION)
        self.assertEqual(max(set(caption), key=caption.count), dark)


class PlacementOnNarrowScreens(unittest.TestCase):

    def test_window_starts_left_of_the_screen_edge(self):
        # Both widths give (w - 1098) / 2 = -37 when truncated toward zero.
        for screen in [(1024, 768), (1023, 768)]:
            with self.subTest(screen=screen):
                session = start_session(self, screen)
                frame = session.frame_window(session.window)
                left, top, width, height, border = session.geometry(frame)
                self.assertEqual((left, top), (-37, 39))
                self.assertEqual((width + 2 * border, height + 2 * border), OUTER_SIZE)
                session.close()


class FixedFrame(ProgramTestCase):

    def test_user_can_move_but_not_resize_or_maximise(self):
        session = self.session
        frame = session.frame_window(session.window)
        left, top, width, height, _ = session.geometry(frame)
        extents = session.property_cardinals(session.window, "_NET_FRAME_EXTENTS")

        # Drag the bottom-right corner outwards, then double-click the title bar.
        session.x("xdotool", "mousemove", "--sync", str(left + width - 1), str(top + height - 1),
                  "mousedown", "1")
        session.x("xdotool", "mousemove", "--sync", str(left + width + 80), str(top + height + 60), "mouseup", "1")
        title_x, title_y = left + width // 2, top + extents[2] // 2
        session.x("xdotool", "mousemove", "--sync", str(title_x), str(title_y), "click", "--repeat", "2", "1")

        # Dragging the title bar, where the pointer is, moves the window; once it has moved, the
        # clicks before have been handled.
        session.x("xdotool", "mousedown", "1")
        session.x("xdotool", "mousemove", "--sync", str(title_x - 100), str(title_y + 50))
        session.x("xdotool", "mousemove", "--sync", str(title_x - 200), str(title_y + 100), "mouseup", "1")
        moved = (left - 200, top + 100, width, height)
        try:
            wait_until(lambda: session.geometry(frame)[:4] == moved, 10, "the window to move")
        except AssertionError:
            self.fail("the frame is at %s, not at %s; state: %s" % (
                session.geometry(frame)[:4], moved, session.property_text(session.window, "_NET_WM_STATE")))


if __name__ == "__main__":
    unittest.main()
