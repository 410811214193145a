"""Print jobs of the real program against a real FTP server on 127.0.0.1 (pyftpdlib)."""

import os
import unittest

from ftp_printer import FtpPrinter
from pelto_bench import IDS, DriverError, PeltoTest, closed_port, win_path

VK_TAB = 0x09

CONNECTED = "ﾌﾟﾘﾝﾀに接続しました"
SENDING = " を送信中"
DISCONNECTED = "接続を切断しました"
DONE = "送信完了しました"
CANCELLED = "送信を中止しました"
NO_PRINTER = "ﾌﾟﾘﾝﾀに接続できません"
LOGIN_ERROR = "接続エラーです。ﾕｰｻﾞ名ﾊﾟｽﾜｰﾄﾞを確認下さい"


def printer_ini(port, password="secret", timeout="5", mode=1, port_text=None, host="127.0.0.1"):
    return ("[Mode]\nMode=%d\n[A1Printer]\nA1IPAddress=%s\nA1User=pelto\n"
            "A1Password=%s\nA1TimeOut=%s\nA1Port=%s\n"
            % (mode, host, password, timeout, port if port_text is None else port_text))


class PrintJobTest(PeltoTest):
    def setUp(self):
        super().setUp()
        self.printer = FtpPrinter(self.folder / "printer")
        self.addCleanup(self.printer.stop)

    def make_file(self, name, data):
        path = self.folder / "files" / name
        path.parent.mkdir(parents=True, exist_ok=True)
        path.write_bytes(data)
        return path

    def press_and_record(self, pelto, button="A1BitBtn", seconds=60):
        """Presses the button; the status texts seen until the job ended, the last one exact."""
        return pelto.json("press-record", "main:%d" % IDS[button], seconds)

    def assert_in_order(self, seen, expected):
        """The texts seen after the press are the expected ones in their order, some perhaps
        missed (a text may last less than one read of the recorder), and the job ended on
        the last one."""
        self.assertEqual(seen[-1], expected[-1], seen)
        remaining = iter(expected)
        self.assertTrue(all(text in remaining for text in seen[1:]),  # the first: before the press
                        "%s is not in the order of %s" % (seen, expected))


class WholeJob(PrintJobTest):
    # The blank inside a display name goes unchanged after "STOR "; text mode leaves the
    # bytes alone too: only the printer interprets the type.
    CONTENT = {"first.txt": b"line 1\r\nline 2\n\x00\x1a\xff\x95\x5c end",
               "my file.bin": bytes(range(256)) * 4000}
    # The second printer is named by a host name: the name is looked up first.
    MODES = [("text", 1, b"TYPE A", "127.0.0.1"), ("binary, by host name", 0, b"TYPE I", "localhost")]

    def test_two_files_reach_the_printer_with_the_status_texts_in_order(self):
        for number, (name, mode, type_line, host) in enumerate(self.MODES):
            with self.subTest(name):
                paths = [win_path(self.make_file(file, data)) for file, data in self.CONTENT.items()]
                folder = self.folder / ("run-%d" % number)
                folder.mkdir()
                # A timeout with a leading blank is a number (the quotes keep the blank).
                pelto = self.pelto(printer_ini(self.printer.port, mode=mode, timeout='" 5"', host=host),
                                   folder).start(*paths)
                self.assertEqual(pelto.items(), list(self.CONTENT))

                seen = self.press_and_record(pelto)
                self.assert_in_order(seen, ["", CONNECTED, "first.txt" + SENDING,
                                            "my file.bin" + SENDING, DISCONNECTED, DONE])
                for file, data in self.CONTENT.items():
                    self.assertEqual(self.printer.stored(file).read_bytes(), data, file)
                commands = self.printer.commands()
                self.assertEqual([c for c in commands if not c.startswith(b"PORT ")],
                                 [b"USER pelto", b"PASS secret", type_line, b"STOR first.txt",
                                  b"STOR my file.bin", b"QUIT"])
                self.assertEqual(pelto.items(), list(self.CONTENT), "the queue stays")
                pelto.kill()
                for file in self.CONTENT:
                    self.printer.stored(file).unlink()
                self.printer.log_path.write_bytes(b"")


class Failures(PrintJobTest):
    def test_wrong_password_is_a_login_error(self):
        pelto = self.pelto(printer_ini(self.printer.port, password="wrong"))
        pelto.start(win_path(self.make_file("a.txt", b"data")))
        seen = self.press_and_record(pelto)
        self.assert_in_order(seen, ["", DISCONNECTED, LOGIN_ERROR])
        self.assertEqual(os.listdir(self.printer.inbox), [])
        self.assertIn(b"PASS wrong", self.printer.commands())

    # (name, timeout text, port text, text of the error box)
    BAD_NUMBERS = [
        ("timeout abc", "abc", None, "'abc' は整数ではありません."),
        # A trailing blank makes the text no number (the quotes keep the blank).
        ("port with a trailing blank", "5", '"21 "', "'21 ' は整数ではありません."),
    ]

    def test_a_setting_that_is_no_number_stops_the_job_before_anything_is_sent(self):
        for number, (name, timeout, port_text, message) in enumerate(self.BAD_NUMBERS):
            with self.subTest(name):
                folder = self.folder / ("run-%d" % number)
                folder.mkdir()
                pelto = self.pelto(printer_ini(self.printer.port, timeout=timeout, port_text=port_text),
                                   folder)
                pelto.start(win_path(self.make_file("a.txt", b"data")))
                pelto.click_post("A1BitBtn")
                box = pelto.json("msgbox")
                self.assertEqual(box, {"caption": "Pelto", "text": message, "buttons": ["OK"],
                                       "icon": True})
                pelto.driver("msgbox-press", "OK")
                self.assertEqual(pelto.status(), "")
                # The conversion comes before the connection: had one been made, it would be
                # logged by now.
                self.assertEqual(self.printer.log(), [])
                pelto.kill()

    def test_fourth_failure_to_connect_and_every_later_one_shows_the_box(self):
        pelto = self.pelto(printer_ini(closed_port()))
        pelto.start(win_path(self.make_file("a.txt", b"data")))
        for press in range(1, 4):
            pelto.click("A1BitBtn")  # returns: no box holds the handler
            self.assertEqual(pelto.status(), NO_PRINTER, "press %d" % press)
            self.assertNotIn("#32770", [w["class"] for w in pelto.json("windows")],
                             "no box after press %d" % press)
        for press in range(4, 6):
            pelto.click_post("A1BitBtn")
            box = pelto.json("msgbox")
            self.assertEqual(box, {"caption": "Pelto[ﾌﾟﾘﾝﾀに接続できません]",
                                   "text": "一度このプログラムを終了しﾌﾟﾘﾝﾀの電源やアドレスなどを確認して下さい",
                                   "buttons": ["OK"], "icon": False}, "press %d" % press)
            self.assertEqual(pelto.status(), NO_PRINTER)
            self.assertFalse(pelto.state("main")["enabled"], "the box is modal")
            pelto.driver("msgbox-press", "OK")
            self.assertTrue(pelto.wait_for(lambda: pelto.state("main")["enabled"], True))


class SlowPrinter(PrintJobTest):
    """A printer that reads slowly keeps the job inside its transfer."""

    BIG = "big file.bin"

    def big_file(self, megabytes):
        # Every mebibyte differs, so a lost or repeated block shows.
        block = os.urandom(1 << 20)
        path = self.folder / "files" / self.BIG
        path.parent.mkdir(parents=True, exist_ok=True)
        with open(path, "wb") as f:
            for i in range(megabytes):
                f.write(i.to_bytes(4, "little") + block[4:])
        return path

    def start_slow_job(self, pelto):
        """Presses A1 in the background; returns once the server is receiving the file."""
        self.printer.slow(True)
        recorder = pelto.driver_background("press-record", "main:%d" % IDS["A1BitBtn"], 120)
        stored = self.printer.stored(self.BIG)
        self.assertTrue(self.printer.wait_for(lambda: stored.exists() and stored.stat().st_size > 0),
                        "the upload did not start")
        return recorder

    def test_cancel_stops_the_upload_and_the_next_press_sends_it_whole_on_the_kept_connection(self):
        local = self.big_file(300)
        pelto = self.pelto(printer_ini(self.printer.port, mode=0)).start(win_path(local))
        recorder = self.start_slow_job(pelto)
        # The window answers while the printer is slow, the keyboard too.
        self.assertEqual(pelto.status(), self.BIG + SENDING)
        self.assertEqual(pelto.items(), [self.BIG])
        self.assertEqual(pelto.focus(), IDS["A1BitBtn"])
        pelto.driver("key", "main", VK_TAB)
        self.assertEqual(pelto.focus(), IDS["A3BitBtn"])
        pelto.click("CancelBitBtn")
        seen = recorder.result()
        self.assert_in_order(seen, ["", CONNECTED, self.BIG + SENDING, CANCELLED])
        # The server takes any end of an upload's data connection for the end of the file: once
        # it has seen it, the stored part is all that came.
        self.printer.slow(False)
        ends = {b"RECEIVED " + self.BIG.encode(), b"INCOMPLETE " + self.BIG.encode()}
        self.assertTrue(self.printer.wait_for(lambda: ends & set(self.printer.log())))
        self.assertLess(self.printer.stored(self.BIG).stat().st_size, local.stat().st_size)

        seen = self.press_and_record(pelto)
        self.assert_in_order(seen, ["", self.BIG + SENDING, DISCONNECTED, DONE])
        self.assertEqual(self.printer.stored(self.BIG).stat().st_size, local.stat().st_size)
        with open(local, "rb") as a, open(self.printer.stored(self.BIG), "rb") as b:
            self.assertTrue(a.read() == b.read(), "the stored file differs")
        log = self.printer.log()
        self.assertEqual(log.count(b"CONNECT"), 1, "the cancelled job's connection is reused")
        self.assertEqual(log.count(b"CMD USER pelto"), 1)

    def test_closing_the_window_during_a_job_saves_and_ends_the_program(self):
        local = self.big_file(50)
        pelto = self.pelto(printer_ini(self.printer.port, mode=0)).start(win_path(local))
        recorder = self.start_slow_job(pelto)
        pelto.driver("move", "main", 150, 90)
        self.assertEqual(pelto.close(), 0)
        self.assertEqual(pelto.ini()["Window"]["Left"], "150")
        self.assertEqual(pelto.ini()["Mode"]["Mode"], "0")
        # The job stopped inside its transfer: the printer got a cut connection, not a file.
        self.printer.slow(False)
        ends = {b"RECEIVED " + self.BIG.encode(), b"INCOMPLETE " + self.BIG.encode()}
        self.assertTrue(self.printer.wait_for(lambda: ends & set(self.printer.log())))
        self.assertLess(self.printer.stored(self.BIG).stat().st_size, local.stat().st_size)
        try:  # the recorder may see the window go before the press returns, or not
            recorder.result()
        except DriverError:
            pass

    def test_a_file_dropped_during_the_job_is_sent_by_it(self):
        local = self.big_file(2)
        pelto = self.pelto(printer_ini(self.printer.port, mode=0)).start(win_path(local))
        recorder = self.start_slow_job(pelto)
        pelto.driver("drop", win_path(self.make_file("late.txt", b"dropped while sending")))
        self.assertEqual(pelto.items(), [self.BIG, "late.txt"])
        self.printer.slow(False)
        seen = recorder.result()
        # The drop clears the status line.
        self.assert_in_order(seen, ["", CONNECTED, self.BIG + SENDING, "", "late.txt" + SENDING,
                                    DISCONNECTED, DONE])
        self.assertEqual(self.printer.stored("late.txt").read_bytes(), b"dropped while sending")
        self.assertEqual(self.printer.stored(self.BIG).read_bytes(), local.read_bytes())


if __name__ == "__main__":
    unittest.main()
