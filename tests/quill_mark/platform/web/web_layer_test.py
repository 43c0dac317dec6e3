# SPDX-License-Identifier: Zlib
"""The web layer in a real browser, on the game's page: the cursor followed beyond the canvas in
canvas pixels, a held key kept down across a loss of the page's focus, and frames paced by the
browser's animation frames instead of a busy loop, and the WebGL state the layer answers itself."""
from selenium.webdriver.common.keys import Keys

import web_page
from web_test_case import PageTestCase


class WebLayer(PageTestCase):
    page = "cinderpath2"

    def test_cursor_left_of_the_canvas_is_negative(self):
        # The disc is centred 40 pixels left of the canvas: only its right part shows. Its centre
        # follows from that part's reach into the canvas (R) and its height at column 0 (L).
        self.open()
        self.browser.wait_for_frames(1)
        self.browser.move_pointer_to_canvas(-24, 300)
        self.browser.wait_for_frames(self.browser.status()["frames"] + 20)
        shot = self.browser.screenshot_of_canvas()
        visible = web_page.pixels_where(shot, web_page.is_azure, (0, 100, 200, 500))
        self.assertGreater(len(visible), 100, "no part of the disc shows at the left edge")
        reach = max(x for x, y in visible if abs(y - 300) <= 1) + 1
        column = [y for x, y in visible if x == 0]
        half_height = (max(column) - min(column) + 1) / 2.0
        centre_x = (reach * reach - half_height * half_height) / (2.0 * reach)
        self.assertAlmostEqual(centre_x, -24, delta=4.0, msg="disc centre x, left of the canvas")
        self.assertAlmostEqual((max(column) + min(column)) / 2.0, 300, delta=2.0)

    def test_held_key_stays_down_while_the_page_has_no_focus(self):
        # Escape is pressed, the page loses and regains the focus, and only the real release
        # (after it) ends the game: no release is made up at the loss, none is lost after it.
        self.open()
        self.browser.wait_for_frames(10)
        self.browser.key(Keys.ESCAPE, down=True)
        self.browser.dispatch_window_event("blur")
        self.browser.wait_for_frames(self.browser.status()["frames"] + 10)
        self.browser.dispatch_window_event("focus")
        self.browser.wait_for_frames(self.browser.status()["frames"] + 10)
        self.assertFalse(self.browser.status()["ended"], "the focus loss let Escape go")
        self.browser.key(Keys.ESCAPE, down=False)
        self.browser.wait_until(lambda: self.browser.status()["ended"], 10, "the end of the game")

    def test_frames_follow_the_browsers_animation_frames(self):
        # Each frame waits for the browser's next animation frame: kept from it, the game presents
        # nothing more (a game that yielded to anything else, a timer or a busy loop, would go on),
        # and given it again, the game goes on.
        self.browser.hold_from_the_start(30)
        self.open()
        held = self.browser.wait_until_held()
        self.assertEqual(held["frames"], 30)
        self.assert_frames_stand_still()
        self.browser.release_frame()
        self.browser.wait_for_frames(45)
        self.assertFalse(self.browser.status()["ended"])

    def test_kept_gl_state_answers_as_webgl_does(self):
        # The game's context after a run of setter calls, none of them giving a value twice: each
        # query the layer answers itself must give what WebGL itself says, starting from its
        # initial state on a second, untouched context.
        self.open()
        self.browser.wait_for_frames(10)
        answers = self.browser.driver.execute_script("""
            var names = ["BLEND_SRC_RGB", "BLEND_DST_RGB", "BLEND_SRC_ALPHA", "BLEND_DST_ALPHA",
                         "COLOR_CLEAR_VALUE", "COLOR_WRITEMASK", "DEPTH_FUNC", "DEPTH_WRITEMASK"];
            function text(value) {
                return JSON.stringify(typeof value === "object" ? Array.from(value) : value);
            }
            function read(gl) {
                return names.map(function(name) {
                    return [name, text(gl.getParameter(gl[name])), text(gl.qmAskWebGl(gl[name]))];
                });
            }
            var fresh = read(document.createElement("canvas").getContext("webgl"));
            var gl = Module.ctx || GL.currentContext.GLctx;
            gl.blendFuncSeparate(gl.DST_COLOR, gl.SRC_ALPHA, gl.ONE_MINUS_DST_ALPHA, gl.ZERO);
            gl.blendFunc(gl.ONE_MINUS_SRC_COLOR, gl.CONSTANT_ALPHA);
            gl.clearColor(0.25, 1.5, -0.5, 0.1);
            gl.colorMask(true, false, false, true);
            gl.depthFunc(gl.GEQUAL);
            gl.depthMask(false);
            var changed = read(gl);
            gl.colorMask(true, true, true, true);
            gl.depthMask(true);
            return fresh.concat(changed);""")
        for index, (name, kept, own) in enumerate(answers):
            with self.subTest(context="fresh" if index < 8 else "changed", name=name):
                self.assertEqual(kept, own)
