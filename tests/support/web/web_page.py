# SPDX-License-Identifier: Zlib
"""The browser tests' harness: serves a built page folder on 127.0.0.1 and drives it in Debian's
headless Chromium through chromedriver. Nothing is fetched from outside: the browser is started
without network services, and the page and its files come from the local server alone.
"""
import functools
import http.server
import os
import shutil
import socket
import subprocess
import tempfile
import threading
import time

from selenium import webdriver
from selenium.webdriver.chrome.service import Service
from selenium.webdriver.common.actions.action_builder import ActionBuilder
from selenium.webdriver.common import utils
from selenium.webdriver.common.by import By

CHROMIUM = "/usr/bin/chromium"
CHROMEDRIVER = "/usr/bin/chromedriver"

# Software rendering that draws WebGL headless, sound allowed without a gesture, and none of the
# browser's own traffic.
CHROMIUM_FLAGS = [
    "--headless=new", "--no-sandbox", "--use-angle=swiftshader", "--enable-unsafe-swiftshader",
    "--autoplay-policy=no-user-gesture-required", "--disable-background-networking",
    "--disable-component-update", "--disable-sync", "--no-first-run", "--disable-quic",
    "--window-size=1400,1000", "--force-device-scale-factor=1",
]


def _free_loopback_port():
    with socket.socket() as probe:
        probe.bind(("127.0.0.1", 0))
        return probe.getsockname()[1]


class _LoopbackService(Service):
    """chromedriver reached at 127.0.0.1 rather than at "localhost", which a minimal system
    (without /etc/hosts) cannot resolve."""

    @property
    def service_url(self):
        return f"http://127.0.0.1:{self.port}"

    def is_connectable(self):
        return utils.is_connectable(self.port, "127.0.0.1")


class _QuietHandler(http.server.SimpleHTTPRequestHandler):
    extensions_map = dict(http.server.SimpleHTTPRequestHandler.extensions_map,
                          **{".wasm": "application/wasm", ".js": "text/javascript"})

    def log_message(self, *args):
        pass


class PageServer:
    """A static server for one folder on a free port of 127.0.0.1, in a thread of its own."""

    def __init__(self, folder):
        handler = functools.partial(_QuietHandler, directory=folder)
        self.server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), handler)
        self.thread = threading.Thread(target=self.server.serve_forever, daemon=True)
        self.thread.start()

    def url(self, query=""):
        return f"http://127.0.0.1:{self.server.server_address[1]}/index.html{query}"

    def close(self):
        self.server.shutdown()
        self.server.server_close()


class Browser:
    """Headless Chromium on a fresh profile, with helpers in the page's own terms. Chromium is
    started here, with its DevTools on 127.0.0.1, and chromedriver attaches to it there: left to
    itself chromedriver would reach it at "localhost", which a minimal system cannot resolve."""

    def __init__(self):
        self.profile = tempfile.TemporaryDirectory(prefix="quillmark-chromium-",
                                                   ignore_cleanup_errors=True)
        port = _free_loopback_port()
        self.chromium = subprocess.Popen(
            [CHROMIUM, *CHROMIUM_FLAGS, f"--user-data-dir={self.profile.name}",
             f"--remote-debugging-port={port}", "--remote-debugging-address=127.0.0.1",
             "about:blank"], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        try:
            self._wait_for_devtools(port)
            options = webdriver.ChromeOptions()
            options.binary_location = CHROMIUM
            options.debugger_address = f"127.0.0.1:{port}"
            self.driver = webdriver.Chrome(service=_LoopbackService(CHROMEDRIVER), options=options)
        except BaseException:
            self._stop_chromium()
            raise

    def _wait_for_devtools(self, port, timeout=60.0):
        deadline = time.monotonic() + timeout
        while not utils.is_connectable(port, "127.0.0.1"):
            if self.chromium.poll() is not None:
                raise RuntimeError(f"Chromium ended with {self.chromium.returncode} on start")
            if time.monotonic() > deadline:
                raise RuntimeError("Chromium opened no DevTools port")
            time.sleep(0.1)

    def _stop_chromium(self):
        self.chromium.terminate()
        try:
            self.chromium.wait(10)
        except subprocess.TimeoutExpired:
            self.chromium.kill()
            self.chromium.wait()
        # Chromium's helper processes may still write to the profile for a moment after it ended.
        for _ in range(50):
            shutil.rmtree(self.profile.name, ignore_errors=True)
            if not os.path.exists(self.profile.name):
                break
            time.sleep(0.1)

    def close(self):
        try:
            self.driver.quit()
        finally:
            self._stop_chromium()

    def open(self, url):
        self.driver.get(url)

    def status(self):
        """The page's own record: frames presented, dialogs shown, sounds started, the end."""
        return self.driver.execute_script("return Object.assign({}, Module.quillmark);")

    def status_line(self):
        return self.driver.find_element(By.ID, "status").text

    def canvas_box(self):
        """The canvas's drawing area in viewport pixels: left, top, width, height."""
        return self.driver.execute_script(
            "var c = document.getElementById('canvas'); var r = c.getBoundingClientRect();"
            "return [r.left + c.clientLeft, r.top + c.clientTop, c.clientWidth, c.clientHeight];")

    def wait_until(self, condition, timeout=20.0, what="the page"):
        deadline = time.monotonic() + timeout
        while time.monotonic() < deadline:
            value = condition()
            if value:
                return value
            time.sleep(0.05)
        raise AssertionError(f"timed out after {timeout} s waiting for {what}")

    def wait_for_frames(self, count, timeout=20.0):
        """Waits until the game has presented at least `count` frames; returns the status."""
        return self.wait_until(lambda: self.status()["frames"] >= count and self.status(),
                               timeout, f"{count} frames")

    def move_pointer_to_canvas(self, x, y):
        """Moves the pointer to canvas pixel (x, y), also outside the canvas."""
        left, top, _, _ = self.canvas_box()
        actions = ActionBuilder(self.driver)
        actions.pointer_action.move_to_location(int(left + x), int(top + y))
        actions.perform()

    def key(self, key, down):
        actions = ActionBuilder(self.driver)
        if down:
            actions.key_action.key_down(key)
        else:
            actions.key_action.key_up(key)
        actions.perform()

    def dispatch_window_event(self, name):
        """Tells the page it lost (blur) or got (focus) the focus, as switching windows does."""
        self.driver.execute_script(f"window.dispatchEvent(new FocusEvent('{name}'));")

    def hold_from_the_start(self, frame):
        """Before the page opens: its game will be held still once it has presented `frame`
        frames. Holding keeps the page's next animation frame from the game, so the canvas keeps
        showing that frame until release_frame()."""
        self.driver.execute_cdp_cmd("Page.addScriptToEvaluateOnNewDocument", {"source": """
            (function(page) {
                var ask = page.requestAnimationFrame.bind(page);
                page.qmAnimationFrame = ask;
                page.qmHoldAt = %d;
                page.requestAnimationFrame = function(callback) {
                    var frames = typeof Module !== "undefined" ? Module.quillmark.frames : 0;
                    if (page.qmHoldAt && frames >= page.qmHoldAt) {
                        page.qmHeldFrame = callback;
                        return 0;
                    }
                    return ask(callback);
                };
            })(window);""" % frame})

    def wait_until_held(self):
        self.wait_until(lambda: self.driver.execute_script("return !!window.qmHeldFrame;"),
                        what="the game held still")
        return self.status()

    def release_frame(self, hold_again_at=0):
        """Lets the held game go on, to be held again at frame `hold_again_at` if given."""
        self.driver.execute_script("""
            var callback = window.qmHeldFrame;
            window.qmHoldAt = arguments[0];
            window.qmHeldFrame = null;
            window.qmAnimationFrame(callback);""", hold_again_at)

    def screenshot_of_canvas(self, path=None):
        """The canvas as the page shows it: an RGB image of its size, read from a screenshot."""
        from PIL import Image
        import io
        png = self.driver.get_screenshot_as_png()
        image = Image.open(io.BytesIO(png)).convert("RGB")
        left, top, width, height = (int(round(v)) for v in self.canvas_box())
        canvas = image.crop((left, top, left + width, top + height))
        if path:
            canvas.save(path)
        return canvas


def page_folder(name):
    """The built page of one game, from the folder the build gives the tests."""
    root = os.environ.get("QM_WEB_PAGES_DIR")
    if not root:
        raise RuntimeError("QM_WEB_PAGES_DIR names no folder of built pages")
    return os.path.join(root, name)


# Colours as the page shows them: the player's azure disc (0, 170, 255) and the plain white circles.
def is_azure(pixel):
    r, g, b = pixel
    return r < 60 and 140 <= g <= 200 and b > 220


def is_white(pixel):
    r, g, b = pixel
    return r > 220 and g > 220 and b > 220


def pixels_where(image, test, box=None):
    """The (x, y) of every pixel of the image (or of box = left, top, right, bottom) passing test."""
    left, top, right, bottom = box or (0, 0, image.width, image.height)
    data = image.load()
    return [(x, y) for y in range(top, bottom) for x in range(left, right) if test(data[x, y])]


def centroid(points):
    count = len(points)
    return (sum(p[0] for p in points) / count, sum(p[1] for p in points) / count)
