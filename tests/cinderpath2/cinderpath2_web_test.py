# SPDX-License-Identifier: Zlib
"""Cinderpath2 in a real browser (headless Chromium), as a player gets it from the page: its
caption as the page title, the 1280 x 720 canvas, the azure disc under the pointer, the first
white circle on its designed course, the explosion of the first collision, Escape released
ending the game, and the error dialogs of a page without the data files."""
import math
import os
import time

from selenium.webdriver.common.by import By
from selenium.webdriver.common.keys import Keys

import web_page
from web_test_case import PageTestCase

CENTRE = (640.0, 360.0)


def first_spawn_direction():
    """The direction of the first white circle: the first two draws of the never-seeded random
    sequence (the C runtime's generator), each scaled to [-1, 1), then normalised."""
    state = 1
    draws = []
    for _ in range(2):
        state = (state * 214013 + 2531011) & 0xFFFFFFFF
        draws.append(((state >> 16) & 0x7FFF) / 32768.0)
    dx, dy = ((draw - 0.5) * 2.0 for draw in draws)
    length = math.hypot(dx, dy)
    return dx / length, dy / length


class Cinderpath2Page(PageTestCase):
    page = "cinderpath2"

    def test_caption_canvas_and_disc_under_the_pointer(self):
        self.open()
        self.browser.wait_for_frames(10)
        self.assertEqual(self.browser.driver.title, "Cinderpath2")
        canvas = self.browser.driver.find_element(By.ID, "canvas")
        self.assertEqual(canvas.get_attribute("width"), "1280")
        self.assertEqual(canvas.get_attribute("height"), "720")
        _, _, shown_width, shown_height = self.browser.canvas_box()
        self.assertEqual((shown_width, shown_height), (1280, 720))

        self.browser.move_pointer_to_canvas(320, 520)
        frames = self.browser.status()["frames"]
        self.browser.wait_for_frames(frames + 90)
        # White circles fly over the disc now and then and hide part of it: the disc is measured
        # in the first picture in which none is near it.
        around = (170, 370, 470, 670)
        for _ in range(20):
            shot = self.browser.screenshot_of_canvas(
                os.path.join(os.environ["QM_SOURCE_DIR"], "docs", "screenshot_web.png"))
            if not web_page.pixels_where(shot, web_page.is_white, around):
                break
            self.browser.wait_for_frames(self.browser.status()["frames"] + 10)
        disc = web_page.pixels_where(shot, web_page.is_azure, around)
        self.assertGreater(len(disc), 3.1 * 64 * 64, "the disc is smaller than its first size")
        x, y = web_page.centroid(disc)
        self.assertAlmostEqual(x, 320, delta=2.0, msg="disc centre x")
        self.assertAlmostEqual(y, 520, delta=2.0, msg="disc centre y")

    def test_first_white_circle_on_its_designed_course(self):
        # The game is held still at two early frames, while the first circle is the only one near
        # its path (the second nears it only close to the centre, after about 1.4 s). A frame adds
        # at most 1/30 s of game time, so at frame 35 the circle has flown at most 350 pixels.
        frames = (20, 35)
        self.browser.hold_from_the_start(frames[0])
        self.open()
        self.browser.move_pointer_to_canvas(640, 700)  # the player waits away from the paths
        dx, dy = first_spawn_direction()
        start = (CENTRE[0] - dx * 600.0, CENTRE[1] - dy * 600.0)
        travelled = []
        for index, frame in enumerate(frames):
            held = self.browser.wait_until_held()
            self.assertEqual(held["frames"], frame)
            shot = self.browser.screenshot_of_canvas()
            self.browser.release_frame(frames[index + 1] if index + 1 < len(frames) else 0)
            # The white pixels within a circle's radius of the designed path.
            white = [p for p in web_page.pixels_where(shot, web_page.is_white, (500, 150, 1280, 450))
                     if abs((p[0] - start[0]) * dy - (p[1] - start[1]) * dx) < 70.0]
            self.assertGreater(len(white), 0.8 * math.pi * 64 * 64, "the first circle is not whole")
            x, y = web_page.centroid(white)
            off_course = abs((x - start[0]) * dy - (y - start[1]) * dx)
            self.assertLess(off_course, 3.0, f"circle at ({x:.1f}, {y:.1f}) is off its course")
            along = (x - start[0]) * dx + (y - start[1]) * dy
            self.assertLessEqual(along, 300.0 * held["frames"] / 30.0 + 10.0, "flew too fast")
            travelled.append(along)
        self.assertGreaterEqual(travelled[0], -3.0, "the circle started behind its spawn point")
        self.assertGreater(travelled[1], travelled[0] + 20.0, "the circle does not fly to the centre")

    def test_explosion_after_the_first_collision(self):
        # With the pointer at the centre the first circle reaches the player in the 157th step
        # (1.57 s of game time); a frame adds at most 1/30 s, so no sound before frame 47.
        self.open()
        self.browser.wait_for_frames(1)
        self.browser.move_pointer_to_canvas(640, 360)
        early = self.browser.wait_for_frames(30)
        if early["frames"] < 47:
            self.assertEqual(early["soundsStarted"], 0, "a sound before the first collision")
        played = self.browser.wait_until(lambda: self.browser.status()["soundsStarted"] >= 1,
                                         timeout=30, what="the explosion")
        self.assertTrue(played)

    def test_releasing_escape_ends_the_game(self):
        self.open()
        self.browser.wait_for_frames(10)
        self.browser.key(Keys.ESCAPE, down=True)
        frames = self.browser.status()["frames"]
        self.browser.wait_for_frames(frames + 20)
        self.assertFalse(self.browser.status()["ended"], "pressing Escape ended the game")
        self.browser.key(Keys.ESCAPE, down=False)
        self.browser.wait_until(lambda: self.browser.status()["ended"], 10, "the end of the game")
        self.assertEqual(self.browser.status()["exitCode"], 0)
        self.assertEqual(self.browser.status_line(), "The game has ended (exit code 0).")
        self.assert_frames_stand_still()

    def test_without_data_files_the_dialogs_are_answered_and_the_game_plays_on(self):
        # Each report opens a dialog (the start-up ones, then one per spawned circle, which has
        # no sprite), and the game waits for its answer; between them it plays on.
        self.open("?nodata")
        messages = []
        deadline = time.monotonic() + 90
        while time.monotonic() < deadline:
            status = self.browser.status()
            # A dialog just answered may still count as open until its close event has run.
            dialogs = self.browser.driver.find_elements(By.CSS_SELECTOR, "dialog[open]")
            if status["dialogOpen"] and dialogs:
                if len(messages) < 3:
                    self.assert_frames_stand_still(0.4)
                messages.append(dialogs[0].text)
                dialogs[0].find_element(By.TAG_NAME, "button").click()
            elif len(messages) >= 4 and status["frames"] >= 60:
                break
            time.sleep(0.05)
        self.assertTrue(any("data/prototyping_sheet.json" in m for m in messages), messages)
        self.assertTrue(any("data/audio/audio_events.json" in m for m in messages), messages)
        self.assertTrue(all(m.startswith("Error Condition Triggered") for m in messages), messages)
        self.assertGreaterEqual(self.browser.status()["frames"], 60, "the game did not play on")
        self.assertFalse(self.browser.status()["ended"])
