"""Start-up, the main window's life cycle and the settings file it reads and writes."""

import shutil
import subprocess
import unittest

from pelto_bench import BUILD, IDS, PeltoTest, win_path

VK_RETURN = 0x0D

DEFAULTS = {
    "Window": {"Top": "118", "Left": "219", "Width": "250", "Height": "259"},
    "Mode": {"Mode": "1"},
    "A1Printer": {"A1ButtonName": "Button1", "A1IPAddress": "IP Address", "A1User": "User Name",
                  "A1Password": "", "A1TimeOut": "5", "A1Port": "21"},
    "A3Printer": {"A3ButtonName": "Button2", "A3IPAddress": "IP Address", "A3User": "User Name",
                  "A3Password": "", "A3TimeOut": "5", "A3Port": "21"},
}


class FirstRun(PeltoTest):
    def test_designed_window_and_a_file_with_every_default(self):
        pelto = self.pelto().start()
        self.assertEqual(pelto.rect(), (219, 118, 250, 259))
        self.assertEqual(pelto.text("main"), "Pelto   Var.1.0")
        self.assertEqual(pelto.text("app"), "Pelto")
        self.assertEqual(pelto.text("main", "A1BitBtn"), "Button1")
        self.assertEqual(pelto.text("main", "A3BitBtn"), "Button2")
        self.assertEqual(pelto.text("main", "CancelBitBtn"), "印刷中止")
        self.assertEqual(pelto.text("main", "ClearBitBtn"), "ｸﾘｱ")
        self.assertEqual(pelto.text("main", "CloseBitBtn"), "終了")
        self.assertEqual(pelto.items(), [])
        self.assertEqual(pelto.status(), "")
        self.assertEqual(pelto.focus(), IDS["A1BitBtn"])
        pelto.screenshot("main-window-first-run")
        # Enter presses the focused button: a print job on an empty queue.
        pelto.driver("key", "main", VK_RETURN)
        self.assertEqual(pelto.status(), "印刷するファイルを指定下さい")
        self.assertIsNone(pelto.ini(), "nothing is written before the close")

        self.assertEqual(pelto.close(), 0)
        stored = pelto.ini()
        self.assertEqual(list(stored), list(DEFAULTS))  # no "SettingWindow" yet
        for section, keys in DEFAULTS.items():
            self.assertEqual(stored[section], keys, section)
            self.assertEqual(list(stored[section]), list(keys), "order in " + section)


class StoredValues(PeltoTest):
    # (name, Pelto.ini, expected window rectangle or None, expected captions or None,
    #  keys expected in the file after the close)
    CASES = [
        ("hexadecimal top", "[Window]\nTop=0x40\n", (219, 64, 250, 259), None, {"Top": "64"}),
        ("top that is no number", "[Window]\nTop=abc\n", (219, 118, 250, 259), None, {"Top": "118"}),
        ("left far off screen", "[Window]\nLeft=-2000\n", (-2000, 118, 250, 259), None,
         {"Left": "-2000"}),
        ("whole rectangle", "[Window]\nTop=30\nLeft=40\nWidth=320\nHeight=300\n",
         (40, 30, 320, 300), None, {"Top": "30", "Left": "40", "Width": "320", "Height": "300"}),
        ("mode other than 1", "[Mode]\nMode=2\n", None, None, {"Mode": "0"}),
        ("mode 0", "[Mode]\nMode=0\n", None, None, {"Mode": "0"}),
        ("button names", "[A1Printer]\nA1ButtonName=カラー 表\n[A3Printer]\nA3ButtonName=ﾓﾉｸﾛ\n",
         None, ("カラー 表", "ﾓﾉｸﾛ"), {"A1ButtonName": "カラー 表", "A3ButtonName": "ﾓﾉｸﾛ"}),
    ]

    def test_stored_values_take_effect_at_first_show_and_are_written_back(self):
        for name, ini, rect, captions, saved in self.CASES:
            with self.subTest(name):
                folder = self.folder / name.replace(" ", "-")
                folder.mkdir()
                pelto = self.pelto(ini, folder).start()
                if rect:
                    self.assertEqual(pelto.rect(), rect)
                if captions:
                    self.assertEqual((pelto.text("main", "A1BitBtn"),
                                      pelto.text("main", "A3BitBtn")), captions)
                self.assertEqual(pelto.close(), 0)
                stored = {k: v for section in pelto.ini().values() for k, v in section.items()}
                self.assertEqual({k: stored.get(k) for k in saved}, saved)

    def test_second_printer_timeout_survives_without_touching_the_first(self):
        for name, ini, expected in [
            ("only printer 2", "[A3Printer]\nA3TimeOut=30\n", ("5", "30")),
            ("both", "[A1Printer]\nA1TimeOut=7\n[A3Printer]\nA3TimeOut=30\n", ("7", "30")),
        ]:
            with self.subTest(name):
                folder = self.folder / name.replace(" ", "-")
                folder.mkdir()
                pelto = self.pelto(ini, folder).start()
                self.assertEqual(pelto.close(), 0)
                stored = pelto.ini()
                self.assertEqual((stored["A1Printer"]["A1TimeOut"],
                                  stored["A3Printer"]["A3TimeOut"]), expected)


class Closing(PeltoTest):
    # Every way of closing saves the window where it is now, not where it was loaded.
    WAYS = [
        ("close box", lambda p: p.driver("close", "main", "box")),
        ("WM_CLOSE", lambda p: p.driver("close", "main", "message")),
        ("Alt+F4", lambda p: p.driver("close", "main", "altf4")),
        ("終了 button", lambda p: p.click_post("CloseBitBtn")),
        ("終了 menu", lambda p: p.menu_post("Exit1")),
    ]

    def test_every_close_saves(self):
        for number, (name, close) in enumerate(self.WAYS):
            with self.subTest(name):
                folder = self.folder / str(number)
                folder.mkdir()
                pelto = self.pelto("[Window]\nTop=100\nLeft=120\n", folder).start()
                pelto.driver("move", "main", 150, 90)
                close(pelto)
                self.assertEqual(pelto.wait_exit(), 0)
                window = pelto.ini()["Window"]
                self.assertEqual((window["Left"], window["Top"]), ("150", "90"))
                self.assertEqual(len(pelto.ini()), 4)

    def test_maximised_window_comes_back_at_its_place_not_maximised(self):
        pelto = self.pelto().start()
        pelto.driver("maximize")
        maximised = pelto.rect()
        self.assertNotEqual(maximised, (219, 118, 250, 259))
        self.assertEqual(pelto.close(), 0)
        window = pelto.ini()["Window"]
        self.assertEqual(tuple(int(window[k]) for k in ("Left", "Top", "Width", "Height")), maximised)

        again = self.pelto(folder=pelto.folder).start()
        self.assertEqual(again.rect(), maximised)
        self.assertFalse(again.state()["zoomed"])

    def test_minimise_and_restore_do_not_reload(self):
        pelto = self.pelto("[Window]\nTop=100\nLeft=120\n[A1Printer]\nA1ButtonName=First\n").start()
        # A reload would now bring the window to 300,300 and rename the button.
        pelto.write_ini("[Window]\nTop=300\nLeft=300\n[A1Printer]\nA1ButtonName=Second\n")
        pelto.driver("minimize")
        pelto.driver("restore")
        self.assertEqual(pelto.rect()[:2], (120, 100))
        self.assertEqual(pelto.text("main", "A1BitBtn"), "First")
        self.assertEqual(pelto.close(), 0)
        self.assertEqual(pelto.ini()["A1Printer"]["A1ButtonName"], "First")


class StartedMinimised(PeltoTest):
    def test_close_before_the_first_show_keeps_the_stored_values(self):
        ini = "[Window]\nTop=50\nLeft=60\n[A1Printer]\nA1ButtonName=Keep\nA1IPAddress=10.0.0.5\n"
        pelto = self.pelto(ini).start_minimised()
        # Minimised as an application: the task-bar window is iconic, the main window hidden.
        self.assertTrue(pelto.wait_for(lambda: pelto.state("app")["iconic"], True))
        self.assertFalse(pelto.state("main")["visible"])
        pelto.driver("close", "app", "box")  # the task-bar button's Close
        pelto.wait_exit()
        stored = pelto.ini()
        self.assertEqual((stored["Window"]["Top"], stored["Window"]["Left"]), ("50", "60"))
        self.assertEqual(stored["A1Printer"]["A1ButtonName"], "Keep")
        self.assertEqual(stored["A1Printer"]["A1IPAddress"], "10.0.0.5")

    def test_first_restore_loads_the_settings(self):
        pelto = self.pelto("[Window]\nTop=50\nLeft=60\n[A1Printer]\nA1ButtonName=Keep\n")
        pelto.start_minimised()
        pelto.driver("restore")
        self.assertEqual(pelto.rect()[:2], (60, 50))
        self.assertEqual(pelto.text("main", "A1BitBtn"), "Keep")


class FailedSave(PeltoTest):
    def setUp(self):
        super().setUp()
        # Root writes into read-only folders and files: only a read-only mount stops it.
        self.place = self.folder / "read-only"
        self.place.mkdir()
        if subprocess.run(["mount", "-t", "tmpfs", "-o", "size=8m", "none", str(self.place)],
                          capture_output=True).returncode != 0:
            self.skipTest("cannot mount a tmpfs here (needs root)")
        self.addCleanup(subprocess.run, ["umount", "-l", str(self.place)], capture_output=True)
        shutil.copy(BUILD / "Pelto.exe", self.place)
        subprocess.run(["mount", "-o", "remount,ro", str(self.place)], check=True)

    def test_unwritable_file_is_reported_and_the_program_still_ends(self):
        pelto = self.pelto(folder=self.place).start()
        pelto.driver("close", "main", "box")
        box = pelto.json("msgbox")
        self.assertEqual(box["caption"], "Pelto")
        # The standard error box appends a period after a double-byte last character.
        self.assertEqual(box["text"], win_path(self.place) + "\\Pelto.ini に書き込めません.")
        self.assertEqual(box["buttons"], ["OK"])
        self.assertTrue(box["icon"], "the error box shows the stop icon")
        pelto.screenshot("error-box-unwritable-settings")
        pelto.driver("msgbox-press", "OK")
        pelto.wait_exit()
        self.assertIsNone(pelto.ini())


if __name__ == "__main__":
    unittest.main()
