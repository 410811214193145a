"""The settings window: fields filled from the main window, OK and cancel, its own position."""

import unittest

from pelto_bench import IDS, PeltoTest

FIELDS_AT_FIRST_RUN = {
    "ButtonA1Edit": "Button1", "IPAddressA1Edit": "IP Address", "UserA1Edit": "User Name",
    "PasswordA1Edit": "", "TimeOutA1Edit": "5", "PortA1Edit": "21",
    "ButtonA3Edit": "Button2", "IPAddressA3Edit": "IP Address", "UserA3Edit": "User Name",
    "PasswordA3Edit": "", "TimeOutA3Edit": "5", "PortA3Edit": "21",
}


def fields(pelto):
    return {name: pelto.text("settings", name) for name in FIELDS_AT_FIRST_RUN}


class Cancel(PeltoTest):
    WAYS = [
        ("ｷｬﾝｾﾙ", lambda p: p.click_post("SettingCancelBitBtn", "settings")),
        ("close box", lambda p: p.driver("close", "settings", "box")),
    ]

    def test_edits_are_discarded(self):
        for number, (name, cancel) in enumerate(self.WAYS):
            with self.subTest(name):
                folder = self.folder / str(number)
                folder.mkdir()
                pelto = self.pelto(folder=folder).start()
                pelto.open_settings()
                self.assertEqual(fields(pelto), FIELDS_AT_FIRST_RUN)
                self.assertEqual((pelto.checked("TextRadioButton"),
                                  pelto.checked("BinaryRadioButton")), (1, 0))
                self.assertFalse(pelto.state("main")["enabled"], "the settings window is modal")
                self.assertEqual(pelto.focus("settings"), IDS["OKBitBtn"])
                if number == 0:
                    pelto.screenshot("settings-window-first-run")

                pelto.set_text("ButtonA1Edit", "Changed")
                pelto.set_text("IPAddressA1Edit", "10.1.2.3")
                pelto.driver("click", "settings:%d" % IDS["BinaryRadioButton"])
                cancel(pelto)
                pelto.driver("wait-hidden", "settings")
                self.assertTrue(pelto.state("main")["enabled"])
                self.assertEqual(pelto.text("main", "A1BitBtn"), "Button1")

                pelto.open_settings()
                self.assertEqual(fields(pelto), FIELDS_AT_FIRST_RUN)
                self.assertEqual(pelto.checked("TextRadioButton"), 1)
                pelto.click_post("SettingCancelBitBtn", "settings")
                pelto.driver("wait-hidden", "settings")
                self.assertEqual(pelto.close(), 0)
                self.assertEqual(pelto.ini()["A1Printer"]["A1IPAddress"], "IP Address")


class Ok(PeltoTest):
    def test_new_values_apply_at_once_and_reach_the_file_at_the_close(self):
        pelto = self.pelto("[A1Printer]\nA1ButtonName=Old\nA1TimeOut=7\n").start()
        pelto.open_settings()
        self.assertEqual(pelto.text("settings", "ButtonA1Edit"), "Old")
        pelto.set_text("ButtonA1Edit", "新しい名前")
        pelto.set_text("TimeOutA3Edit", "30")
        pelto.set_text("PasswordA3Edit", "pa ss")
        pelto.click_post("OKBitBtn", "settings")
        pelto.driver("wait-hidden", "settings")
        self.assertEqual(pelto.text("main", "A1BitBtn"), "新しい名前")

        stored = pelto.ini()  # now holds the settings window's position only
        self.assertEqual(stored.get("A1Printer", {}).get("A1ButtonName"), "Old")
        self.assertNotIn("A3Printer", stored)

        self.assertEqual(pelto.close(), 0)
        stored = pelto.ini()
        self.assertEqual(stored["A1Printer"]["A1ButtonName"], "新しい名前")
        self.assertEqual(stored["A1Printer"]["A1TimeOut"], "7")
        self.assertEqual(stored["A3Printer"]["A3TimeOut"], "30")
        self.assertEqual(stored["A3Printer"]["A3Password"], "pa ss")

    def test_transfer_type_is_shown_again_and_saved(self):
        # (stored mode, checks shown first (text, binary), radio button chosen, checks shown
        #  on reopening, mode saved)
        for mode, before, choose, after, saved in [
            ("1", (1, 0), "BinaryRadioButton", (0, 1), "0"),
            ("0", (0, 1), "TextRadioButton", (1, 0), "1"),
        ]:
            with self.subTest(choose):
                folder = self.folder / choose
                folder.mkdir()
                pelto = self.pelto("[Mode]\nMode=%s\n" % mode, folder).start()
                pelto.open_settings()
                self.assertEqual((pelto.checked("TextRadioButton"),
                                  pelto.checked("BinaryRadioButton")), before)
                pelto.driver("click", "settings:%d" % IDS[choose])
                pelto.click_post("OKBitBtn", "settings")
                pelto.driver("wait-hidden", "settings")
                pelto.open_settings()
                self.assertEqual((pelto.checked("TextRadioButton"),
                                  pelto.checked("BinaryRadioButton")), after)
                pelto.click_post("SettingCancelBitBtn", "settings")
                pelto.driver("wait-hidden", "settings")
                self.assertEqual(pelto.close(), 0)
                self.assertEqual(pelto.ini()["Mode"]["Mode"], saved)


class Position(PeltoTest):
    def test_first_run_place_and_a_move_stored_by_cancel(self):
        pelto = self.pelto().start()
        pelto.open_settings()
        self.assertEqual(pelto.rect("settings"), (256, 157, 311, 406))
        pelto.driver("move", "settings", 200, 150)
        pelto.click_post("SettingCancelBitBtn", "settings")
        pelto.driver("wait-hidden", "settings")
        self.assertEqual(pelto.ini()["SettingWindow"],
                         {"Top": "150", "Left": "200", "Width": "311", "Height": "406"})

    def test_stored_position_is_read_at_the_first_opening_only(self):
        pelto = self.pelto("[SettingWindow]\nTop=100\nLeft=120\n").start()
        pelto.open_settings()
        self.assertEqual(pelto.rect("settings")[:2], (120, 100))
        pelto.driver("move", "settings", 200, 210)
        pelto.click_post("SettingCancelBitBtn", "settings")
        pelto.driver("wait-hidden", "settings")
        self.assertEqual(pelto.ini()["SettingWindow"]["Top"], "210")
        # A second reading would move the window here.
        pelto.write_ini("[SettingWindow]\nTop=300\nLeft=310\n")
        pelto.open_settings()
        self.assertEqual(pelto.rect("settings")[:2], (200, 210))


class AboutBox(PeltoTest):
    def test_about_box_opens_again_and_again(self):
        pelto = self.pelto().start()
        for number in range(2):
            pelto.menu_post("About2")
            pelto.driver("wait", "about")
            self.assertEqual(pelto.text("about"), "バージョン情報")
            self.assertFalse(pelto.state("main")["enabled"], "the About box is modal")
            if number == 0:
                pelto.screenshot("about-box")
            pelto.click_post("OKButton", "about")
            pelto.driver("wait-hidden", "about")
        self.assertTrue(pelto.state("main")["enabled"])


if __name__ == "__main__":
    unittest.main()
