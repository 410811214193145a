"""The file queue: command line, dropped files, removing selected entries, clearing."""

import unittest

from pelto_bench import PeltoTest, closed_port


class CommandLine(PeltoTest):
    # (name, files under the test folder, names the list shows)
    CASES = [
        ("one path with a blank", ["a.txt", "with blank/my file.txt", "c.txt"],
         ["a.txt", "my file.txt", "c.txt"]),
        # 表 is 95 5C and ソ is 83 5C: their trail byte is the backslash's code.
        ("double-byte names", ["表.txt", "表/ソフト.txt", "ﾃｽﾄ.txt"],
         ["表.txt", "ソフト.txt", "ﾃｽﾄ.txt"]),
    ]

    def test_arguments_are_queued_in_order_by_file_name(self):
        for number, (name, files, shown) in enumerate(self.CASES):
            with self.subTest(name):
                folder = self.folder / str(number)
                folder.mkdir()
                paths = self.make_files(*files, under=folder / "files")
                pelto = self.pelto(folder=folder).start(*paths)
                self.assertEqual(pelto.items(), shown)


class Drop(PeltoTest):
    def test_dropping_the_same_files_twice_queues_them_twice(self):
        pelto = self.pelto().start()
        dropped = self.make_files("a.txt", "表.txt")
        pelto.driver("drop", *dropped)
        self.assertEqual(pelto.items(), ["a.txt", "表.txt"])
        pelto.driver("drop", *dropped)
        self.assertEqual(pelto.items(), ["a.txt", "表.txt", "a.txt", "表.txt"])

    def test_drop_adds_after_the_command_line_files(self):
        first, second = self.make_files("first.txt", "second.txt")
        pelto = self.pelto().start(first)
        pelto.driver("drop", second)
        self.assertEqual(pelto.items(), ["first.txt", "second.txt"])


class RemoveSelected(PeltoTest):
    NAMES = ["a.txt", "b.txt", "c.txt", "d.txt", "e.txt"]

    def start_with_five(self):
        return self.pelto().start(*self.make_files(*self.NAMES))

    def test_selected_entries_are_removed_and_the_rest_keep_their_order(self):
        pelto = self.start_with_five()
        pelto.driver("select", 1, 3)
        pelto.driver("popup-delete", 1)
        shown = pelto.wait_for(pelto.items, ["a.txt", "c.txt", "e.txt"])
        self.assertEqual(shown, ["a.txt", "c.txt", "e.txt"])
        self.assertEqual(pelto.selection(), [])

    def test_right_click_on_an_unselected_item_leaves_the_selection_alone(self):
        pelto = self.start_with_five()
        pelto.driver("select", 0, 2)
        pelto.driver("popup-delete", 4)  # e.txt is not selected: it stays
        shown = pelto.wait_for(pelto.items, ["b.txt", "d.txt", "e.txt"])
        self.assertEqual(shown, ["b.txt", "d.txt", "e.txt"])

    def test_nothing_selected_removes_nothing(self):
        pelto = self.start_with_five()
        pelto.driver("select")
        pelto.driver("popup-delete", 2)
        # The drop is handled after the menu's command: once it shows, the command has run.
        pelto.driver("drop", *self.make_files("f.txt"))
        self.assertEqual(pelto.items(), self.NAMES + ["f.txt"])


class Clear(PeltoTest):
    def test_clear_empties_the_queue(self):
        pelto = self.pelto().start(*self.make_files("a.txt", "b.txt"))
        pelto.driver("select", 1)
        pelto.click("ClearBitBtn")
        self.assertEqual(pelto.items(), [])
        pelto.click("ClearBitBtn")
        self.assertEqual(pelto.items(), [])
        pelto.driver("drop", *self.make_files("c.txt"))
        self.assertEqual(pelto.items(), ["c.txt"])

    def test_clear_and_drop_clear_the_status_line(self):
        # A printer on 127.0.0.1 that refuses the connection puts a text on the status line.
        port = closed_port()
        ini = "[A1Printer]\nA1IPAddress=127.0.0.1\nA1Port=%d\nA1TimeOut=5\n" % port
        pelto = self.pelto(ini).start(*self.make_files("a.txt"))
        pelto.click("A1BitBtn")
        self.assertEqual(pelto.status(), "ﾌﾟﾘﾝﾀに接続できません")
        pelto.click("ClearBitBtn")
        self.assertEqual((pelto.items(), pelto.status()), ([], ""))

        pelto.click("A1BitBtn")  # empty queue
        self.assertEqual(pelto.status(), "印刷するファイルを指定下さい")
        pelto.click("ClearBitBtn")
        self.assertEqual((pelto.items(), pelto.status()), ([], ""))

        pelto.click("A1BitBtn")
        pelto.driver("drop", *self.make_files("b.txt"))
        self.assertEqual((pelto.items(), pelto.status()), (["b.txt"], ""))


if __name__ == "__main__":
    unittest.main()
