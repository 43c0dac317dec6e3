#!/usr/bin/python3
# SPDX-License-Identifier: Zlib
"""The page's frame time in headless Chromium: the game's mean time between presented frames,
beside the browser's own animation-frame interval measured over the same seconds (the baseline:
a page can present no faster), and the time the game's own work takes in each frame (from the
animation frame that wakes it to its request for the next), which says how many frames a second
it could hold on an idle machine. Run after building the pages (scripts/run_web.sh or the `web`
preset):  bench/web/web_frame_time.py [PAGES_DIR] [SECONDS]"""
import os
import sys

sys.path.insert(0, os.path.join(os.path.dirname(__file__), "..", "..", "tests", "support", "web"))
import web_page  # noqa: E402


def main():
    pages = sys.argv[1] if len(sys.argv) > 1 else "build/web/pages"
    seconds = float(sys.argv[2]) if len(sys.argv) > 2 else 10.0
    server = web_page.PageServer(os.path.join(pages, "cinderpath2"))
    browser = web_page.Browser()
    try:
        # Times each frame's work: from the animation frame handed to the game to its next request.
        browser.driver.execute_cdp_cmd("Page.addScriptToEvaluateOnNewDocument", {"source": """
            (function(page) {
                var ask = page.requestAnimationFrame.bind(page), woke = 0;
                page.qmWork = {total: 0, frames: 0};
                page.requestAnimationFrame = function(callback) {
                    if (woke) { page.qmWork.total += performance.now() - woke; page.qmWork.frames++; }
                    return ask(function(now) { woke = performance.now(); callback(now); });
                };
            })(window);"""})
        browser.open(server.url())
        browser.wait_for_frames(60)
        browser.move_pointer_to_canvas(640, 360)
        ticks, frames, elapsed = browser.driver.execute_script("""
            var start = Module.quillmark.frames, ticks = 0, begin = performance.now();
            var until = begin + arguments[0] * 1000;
            return await new Promise(function(done) {
                function tick(now) {
                    ticks++;
                    if (now < until) requestAnimationFrame(tick);
                    else done([ticks, Module.quillmark.frames - start, now - begin]);
                }
                requestAnimationFrame(tick);
            });""", seconds)
        work = browser.driver.execute_script("return window.qmWork;")
        game = elapsed / frames
        baseline = elapsed / ticks
        print(f"game: {frames} frames in {elapsed / 1000:.1f} s, {game:.2f} ms a frame "
              f"({1000 / game:.1f} frames a second)")
        print(f"browser's animation frames: {baseline:.2f} ms; game / browser = {game / baseline:.3f}")
        per_frame = work["total"] / work["frames"]
        print(f"the game's own work: {per_frame:.2f} ms a frame, {per_frame / 16.667:.3f} of a "
              "60 Hz frame")
        for name in ("game.wasm", "game.js", "data.data", "data.js"):
            path = os.path.join(pages, "cinderpath2", name)
            print(f"{name}: {os.path.getsize(path)} bytes")
    finally:
        browser.close()
        server.close()


if __name__ == "__main__":
    main()
