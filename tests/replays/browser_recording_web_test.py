# SPDX-License-Identifier: Zlib
"""Sessions recorded in the browser: Cinderpath2's page with ?record plays a session (the first
white circle hits the disc and explodes, the pointer wanders, Escape is released), offers the
recording once the game has ended, and the Linux build replays it headless, identical. Without
?record nothing is recorded."""
import os
import re
import subprocess
import tempfile

from selenium.webdriver.common.by import By
from selenium.webdriver.common.keys import Keys

from web_test_case import PageTestCase


class BrowserRecording(PageTestCase):
    page = "cinderpath2"

    def play_until_escape(self, query):
        """Plays a session with a collision in it and ends it; returns the page's status."""
        self.open(query)
        self.browser.wait_for_frames(1)
        self.browser.move_pointer_to_canvas(640, 360)
        self.browser.wait_until(lambda: self.browser.status()["soundsStarted"] >= 1,
                                timeout=60, what="the explosion of the first collision")
        for x, y in ((600, 380), (900, 200), (-5, 300), (690, 410)):
            self.browser.move_pointer_to_canvas(x, y)
            self.browser.wait_for_frames(self.browser.status()["frames"] + 8)
        self.browser.key(Keys.ESCAPE, down=True)
        self.browser.wait_for_frames(self.browser.status()["frames"] + 3)
        self.browser.key(Keys.ESCAPE, down=False)
        self.browser.wait_until(lambda: self.browser.status()["ended"], 20, "the end of the game")
        return self.browser.status()

    def offered_recording(self):
        """The text behind the page's download link, fetched as a browser saves it."""
        return self.browser.driver.execute_async_script("""
            var done = arguments[arguments.length - 1];
            fetch(document.getElementById("recording").href)
                .then(function(answer) { return answer.text(); }).then(done);""")

    def test_recorded_session_replays_identical_on_linux(self):
        status = self.play_until_escape("?record")
        self.assertEqual(status["exitCode"], 0)
        recording = status["recording"]
        self.assertIsNotNone(recording, "the page kept no recording")
        self.assertTrue(recording.startswith("quillmark-session 2\ngame Cinderpath2\n"),
                        recording[:60])
        self.assertTrue(recording.endswith("\nend\n"), recording[-60:])

        link = self.browser.driver.find_element(By.ID, "recording")
        self.assertTrue(link.is_displayed(), "no download link shown")
        self.assertEqual(link.get_attribute("download"), "cinderpath2.replay")
        self.assertEqual(self.offered_recording(), recording, "the link offers another text")

        with tempfile.TemporaryDirectory(prefix="quillmark-browser-recording-") as folder:
            path = os.path.join(folder, "cinderpath2.replay")
            with open(path, "w", encoding="utf-8") as file:
                file.write(recording)
            # The game finds its data folder from where it runs, as it does when played.
            replay = subprocess.run([os.environ["QM_REPLAYING_GAME"], "--replay", path],
                                    cwd=os.environ["QM_SOURCE_DIR"], capture_output=True,
                                    text=True, timeout=120)
        report = replay.stdout + replay.stderr
        frames = recording.count("=")
        self.assertRegex(report, re.compile(rf"^replay: {frames} frames, identical$", re.M))
        self.assertEqual(replay.returncode, 0, report)

    def test_without_record_nothing_is_recorded(self):
        status = self.play_until_escape("")
        self.assertEqual(status["exitCode"], 0)
        self.assertIsNone(status["recording"])
        self.assertFalse(self.browser.driver.find_element(By.ID, "recording").is_displayed())
        written = self.browser.driver.execute_script(
            "return Module.FS.analyzePath('/cinderpath2.replay').exists;")
        self.assertFalse(written, "the game wrote a recording nobody asked for")
