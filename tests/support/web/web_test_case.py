# SPDX-License-Identifier: Zlib
"""A unittest base class for the browser tests: each test gets a fresh headless Chromium and a
local server for one built page, both closed again whatever the outcome."""
import unittest

import web_page


class PageTestCase(unittest.TestCase):
    # The page folder under the built pages, set by each suite.
    page = "cinderpath2"

    def setUp(self):
        self.server = web_page.PageServer(web_page.page_folder(self.page))
        self.addCleanup(self.server.close)
        self.browser = web_page.Browser()
        self.addCleanup(self.browser.close)

    def open(self, query=""):
        self.browser.open(self.server.url(query))

    def assert_frames_stand_still(self, seconds=0.6):
        """The game presents no frame for a while (it waits, or it has ended)."""
        before = self.browser.status()["frames"]
        import time
        time.sleep(seconds)
        self.assertEqual(self.browser.status()["frames"], before, "frames presented meanwhile")
