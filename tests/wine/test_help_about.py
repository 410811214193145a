"""The ヘルプ menu: the help page through the shell, the About box; the program's resources."""

import os
import subprocess
import unittest
from urllib.parse import unquote

from pelto_bench import BUILD, IDS, WINE, PeltoTest, closed_port, win_path

ABOUT_TEXTS = ["Product Name", "Version", "Pelto", "1.2"]
VK_RETURN, VK_ESCAPE = 0x0D, 0x1B


class AboutBox(PeltoTest):
    def about_content(self, pelto):
        return pelto.text("about"), pelto.json("children", "about")

    def test_opens_again_and_again_with_the_same_content(self):
        pelto = self.pelto().start()
        contents = []
        for number in range(3):
            pelto.menu_post("About2")
            pelto.driver("wait", "about")
            contents.append(self.about_content(pelto))
            if number == 0:
                pelto.screenshot("about-box")
            pelto.click_post("OKButton", "about")
            pelto.driver("wait-hidden", "about")
        caption, controls = contents[0]
        self.assertEqual(caption, "バージョン情報")
        texts = [c["text"] for c in controls if c["visible"]]
        for text in ABOUT_TEXTS + ["OK"]:
            self.assertIn(text, texts)
        notice = [t for t in texts if t not in ABOUT_TEXTS + ["OK", ""]]
        self.assertTrue(notice, "the rights notice is missing: %s" % texts)
        self.assertEqual(contents[1:], contents[:1] * 2)
        self.assertTrue(pelto.state()["enabled"], "the main window is usable again")

    def test_escape_does_nothing_and_enter_closes(self):
        pelto = self.pelto().start()
        pelto.menu_post("About2")
        pelto.driver("wait", "about")
        pelto.driver("key", "about", VK_ESCAPE)  # returns once the key has been handled
        self.assertTrue(pelto.state("about")["visible"], "Escape closed the box")
        self.assertFalse(pelto.state("main")["enabled"], "the box is still modal")
        pelto.driver("key", "about", VK_RETURN)
        pelto.driver("wait-hidden", "about")
        self.assertTrue(pelto.wait_for(lambda: pelto.state("main")["enabled"], True))


class Help(PeltoTest):
    # Wine opens an .html through its htmlfile class: winebrowser.exe, which passes the page
    # on to xdg-open as a file: URL. A prefix made without mshtml has the class but not the
    # ".html" link to it (ShellExecute then fails with "no association", silently), so each
    # test makes that link for its run. A recording xdg-open first on PATH stands for the
    # desktop's browser.
    def setUp(self):
        super().setUp()
        self.associate_html()
        fake = self.folder / "bin"
        fake.mkdir()
        self.record = self.folder / "opened.txt"
        (fake / "xdg-open").write_text('#!/bin/sh\nprintf "%%s\\n" "$@" >> "%s"\n' % self.record)
        (fake / "xdg-open").chmod(0o755)
        self.env = {"PATH": "%s:%s" % (fake, os.environ["PATH"])}

    def associate_html(self):
        query = subprocess.run([WINE, "reg", "query", r"HKCR\.html"], capture_output=True)
        if query.returncode == 0:
            return  # the prefix has an association of its own: leave it alone
        subprocess.run([WINE, "reg", "add", r"HKCR\.html", "/ve", "/d", "htmlfile", "/f"],
                       check=True, capture_output=True)
        self.addCleanup(subprocess.run, [WINE, "reg", "delete", r"HKCR\.html", "/f"],
                        capture_output=True)

    def visible_state(self, pelto):
        return {"items": pelto.items(), "selection": pelto.selection(), "status": pelto.status(),
                "captions": [pelto.text("main")] + [pelto.text("main", b) for b in
                                                    ("A1BitBtn", "A3BitBtn", "CancelBitBtn")],
                "windows": pelto.json("windows")}

    def test_missing_page_leaves_the_program_as_it_was(self):
        ini = "[A1Printer]\nA1IPAddress=127.0.0.1\nA1Port=%d\n" % closed_port()
        pelto = self.pelto(ini).start(*self.make_files("a.txt", "b.txt"), env=self.env)
        pelto.driver("select", 1)
        pelto.click("A1BitBtn")  # a status that is not the empty one
        before = self.visible_state(pelto)
        self.assertEqual(before["status"], "ﾌﾟﾘﾝﾀに接続できません")
        pelto.menu("ShowHelp")  # returns once the program has handled it
        self.assertIsNone(pelto.process.poll(), "the program ended")
        self.assertEqual(self.visible_state(pelto), before)

    def test_present_page_is_handed_to_the_html_viewer(self):
        # What this proves: the program asks the shell to open the page in its own folder (the
        # path built from the executable's), and the shell starts the viewer with it; the
        # program itself shows nothing.
        place = self.folder / "help page"
        place.mkdir()
        page = place / "PeltoHelp.html"
        page.write_text("<html><body>help</body></html>")
        pelto = self.pelto(folder=place).start(env=self.env)
        pelto.menu("ShowHelp")
        self.assertTrue(pelto.wait_for(self.record.exists, True), "the viewer was not started")
        opened = pelto.wait_for(lambda: self.record.read_text().splitlines(), ["file://" + str(page)])
        self.assertEqual([unquote(line) for line in opened], ["file://" + str(page)])
        self.assertNotIn("#32770", [w["class"] for w in pelto.json("windows")])


class Resources(PeltoTest):
    def test_icons_glyphs_and_version_information(self):
        pelto = self.pelto()  # for its driver; the program is not started
        found = pelto.json("resources", win_path(BUILD / "Pelto.exe"))
        main_icon = found["icons"][0]
        # The main icon: 32x32, 16 colours (4 bits; the image holds the mask below the colours).
        self.assertIn({"entry_width": 32, "entry_height": 32, "entry_colours": 16,
                       "width": 32, "height": 64, "bpp": 4}, main_icon["images"])
        self.assertEqual(len(found["icons"]), 2, "the application icon and the window icon")
        # Four glyphs, each a pair of 16x16 pictures side by side.
        self.assertEqual([(b["width"], abs(b["height"]), b["bpp"]) for b in found["bitmaps"]],
                         [(32, 16, 4)] * 4)
        self.assertEqual(found["version"]["ProductName"], "Pelto")
        self.assertTrue(found["version"]["ProductVersion"].startswith("1.2"))


def red_pixels(rect):
    """Strongly red pixels of the screen inside rect (left, top, width, height)."""
    left, top, width, height = rect
    dump = subprocess.run(["import", "-display", os.environ["DISPLAY"], "-window", "root",
                           "-crop", "%dx%d+%d+%d" % (width, height, left, top), "+repage",
                           "-depth", "8", "rgb:-"], check=True, capture_output=True, timeout=30).stdout
    pixels = zip(dump[0::3], dump[1::3], dump[2::3])
    return sum(1 for r, g, b in pixels if r > 160 and g < 80 and b < 80)


class Glyphs(PeltoTest):
    def test_a_disabled_button_shows_its_greyed_image(self):
        pelto = self.pelto().start()
        button = "main:%d" % IDS["CancelBitBtn"]
        rect = pelto.rect(button)
        self.assertTrue(pelto.wait_for(lambda: red_pixels(rect) > 10, True), "the red cross")
        pelto.driver("enable", button, 0)
        self.assertEqual(pelto.wait_for(lambda: red_pixels(rect), 0), 0, "greyed: no red left")
        pelto.driver("enable", button, 1)
        self.assertTrue(pelto.wait_for(lambda: red_pixels(rect) > 10, True), "the red cross again")


class Screenshot(PeltoTest):
    def test_main_window_with_its_glyphs(self):
        pelto = self.pelto("[A1Printer]\nA1ButtonName=カラー\n").start(*self.make_files("a.txt", "表.txt"))
        self.assertEqual(pelto.items(), ["a.txt", "表.txt"])
        pelto.screenshot("main-window-glyphs")


if __name__ == "__main__":
    unittest.main()
