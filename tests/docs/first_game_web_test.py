# SPDX-License-Identifier: Zlib
"""The first game of the getting-started guide as a browser page: its caption, its greeting, the
chirp of a firefly caught by a click (once it has flown under the pointer), and Escape released
ending it without a report."""
from selenium.webdriver.common.action_chains import ActionChains
from selenium.webdriver.common.by import By
from selenium.webdriver.common.keys import Keys

from web_test_case import PageTestCase


class FirstGamePage(PageTestCase):
    page = "first_game"

    def test_chirps_on_start_and_click_and_ends_on_escape(self):
        self.open()
        self.browser.wait_for_frames(10)
        self.assertEqual(self.browser.driver.title, "First Game")
        greeted = self.browser.wait_until(lambda: self.browser.status()["soundsStarted"] >= 1,
                                          10, "the greeting chirp")
        self.assertTrue(greeted)
        before = self.browser.status()["soundsStarted"]
        canvas = self.browser.driver.find_element(By.ID, "canvas")
        ActionChains(self.browser.driver).move_to_element(canvas).perform()
        # The firefly drifts to the pointer in well under two seconds.
        self.browser.wait_for_frames(120)
        ActionChains(self.browser.driver).click().perform()
        self.browser.wait_until(lambda: self.browser.status()["soundsStarted"] > before, 10,
                                "the chirp of a click")
        # Held over a frame: a release counts only for a key that was down when the frame began.
        self.browser.key(Keys.ESCAPE, down=True)
        self.browser.wait_for_frames(self.browser.status()["frames"] + 3)
        self.browser.key(Keys.ESCAPE, down=False)
        self.browser.wait_until(lambda: self.browser.status()["ended"], 10, "the end of the game")
        self.assertEqual(self.browser.status_line(), "The game has ended (exit code 0).")
