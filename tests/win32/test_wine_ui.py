"""torvex.exe under Wine, driven through its native controls as a user drives them.

Each test runs one script of user actions through ui_driver.exe; where it can, it runs the same
script on the headless editor (torvex-cli session), and the two must print the same and leave
the same map, byte for byte. Values read back from the map (torvex-cli dump), and texts the
dialog must show, are checked as well.

Run by CTest with TORVEX_CLI, TORVEX_WIN64_DIR, TORVEX_WITH_WINE, TORVEX_WINE_PREFIX and
TORVEX_SCREENSHOTS set.
"""
import json
import os
import struct
import subprocess
import tempfile
import unittest

CLI = os.environ.get("TORVEX_CLI", "build/bin/torvex-cli")
WIN64_BIN = os.path.join(os.environ.get("TORVEX_WIN64_DIR", "build/win64"), "bin")
WITH_WINE = os.environ.get("TORVEX_WITH_WINE", "tests/win32/with-wine")
PREFIX = os.environ.get("TORVEX_WINE_PREFIX", "build/wine-prefix")
SCREENSHOTS = os.environ.get("TORVEX_SCREENSHOTS", "build/screenshots")
MAP = "cache003.map"
MAP_MESSAGE = "Can't open map, make sure cache003.map is in this directory"


def run(args, cwd, script=""):
    return subprocess.run(args, cwd=cwd, input=script, capture_output=True, text=True)


def on_windows(cwd, script):
    """The driver's stdout answers as the session's does; its stderr holds errors and its
    closing "driver: ..." report."""
    program = [os.path.abspath(os.path.join(WIN64_BIN, exe)) for exe in ("ui_driver.exe",
                                                                        "torvex.exe")]
    return run([WITH_WINE, PREFIX, "run"] + ["Z:" + p.replace("/", "\\") for p in program], cwd,
               script)


def map_of(cwd):
    with open(os.path.join(cwd, MAP), "rb") as f:
        return f.read()


class DemoFolder(tempfile.TemporaryDirectory):
    """A scratch folder holding a fresh demo map."""

    def __enter__(self):
        cwd = super().__enter__()
        subprocess.run([CLI, "make-map", MAP], cwd=cwd, check=True)
        return cwd


class Both:
    """One script on both editors, each on a fresh demo map, and what each left behind."""

    def __init__(self, script):
        with DemoFolder() as cwd:
            self.before = map_of(cwd)
            self.headless = run([CLI, "session"], cwd, script)
            self.headless_map = map_of(cwd)
        with DemoFolder() as cwd:
            self.windows = on_windows(cwd, script)
            self.windows_map = map_of(cwd)
            self.records = {r["name"]: r for r in json.loads(run([CLI, "dump"], cwd).stdout)}
        self.lines = self.windows.stdout.splitlines()


class WindowsProgramUnderWineTest(unittest.TestCase):
    def expect_same_as_headless(self, both):
        self.assertEqual(both.windows.returncode, both.headless.returncode, both.windows.stderr)
        self.assertEqual(both.windows.stdout, both.headless.stdout, both.windows.stderr)
        self.assertTrue(both.windows_map == both.headless_map, "the maps differ")

    def test_without_a_map_shows_one_message_and_ends_with_status_one(self):
        with tempfile.TemporaryDirectory() as cwd:
            result = on_windows(cwd, "")
        self.assertEqual(result.returncode, 1, result.stderr)
        self.assertEqual(result.stdout, "message %s\n" % MAP_MESSAGE)
        # Captioned with the program's name, an OK button and nothing else; no dialog.
        for line in ("exit status 1", "dialog shown no", "message boxes 1",
                     "box caption 'torvex' text '%s' buttons 'OK'" % MAP_MESSAGE):
            self.assertIn("driver: %s\n" % line, result.stderr)

    def test_shows_the_headless_editors_tree_with_the_focus_on_exit(self):
        both = Both("tree\npanel\nfocus\nexit\n")
        self.assertEqual(both.windows.returncode, 0, both.windows.stderr)
        self.assertEqual(both.windows.stdout, both.headless.stdout + "focus 2\n")
        self.assertTrue(both.windows_map == both.before)
        # The panel's lines follow the tree: all empty at start.
        self.assertEqual([line for line in both.lines if not line.startswith(" ")], [
            "Assault Rifle", "Pistol", "Shotgun", "Plasma Rifle", "Rocket Launcher",
            "Sniper Rifle", "Plasma Pistol", "Needler", "Ball", "Flag", "Warthog", "Scorpion",
            "Ghost", "entries 0", "selected -1 ", "edit ", "check 0", "focus 2"])
        pistol = both.lines.index("Pistol")
        children = [line for line in both.lines[pistol + 1:both.lines.index("Shotgun")]
                    if not line.startswith("    ")]
        self.assertEqual(len(children), 22)

    def test_values_typed_and_updated_reach_the_map(self):
        both = Both("select 1.17\ntype 40000\nupdate\nitem 1.17\n"
                    "select 1.20\ntype 0.1\nupdate\nitem 1.20\n"
                    "select 1.14.25\ntype -1\nupdate\nitem 1.14.25\n"
                    "select 2.16\ntype 7abc\nupdate\nitem 2.16\nexit\n")
        self.expect_same_as_headless(both)
        self.assertEqual(both.lines, ["Max ammo: -25536", "Zoom 1: 0.100000", "Unknown 25: -1",
                                      "Number of zooms: 7"])
        pistol = both.records["Pistol"]
        self.assertEqual(pistol["named_shorts"][1]["value"], 0x9C40 - 0x10000)
        self.assertEqual(struct.pack("<f", pistol["named_floats"][0]["value"]),
                         struct.pack("<f", 0.1))
        self.assertEqual(pistol["unknown_longs"][25], -1)
        self.assertEqual(both.records["Shotgun"]["named_shorts"][0]["value"], 7)

    def test_tags_chosen_in_the_list_and_updated_reach_the_map(self):
        # How many entries the list offers for the Pistol's models, "-1: NULL" being the last.
        with DemoFolder() as cwd:
            entries = int(run([CLI, "session"], cwd, "select 1.7.1\npanel\n").stdout.split()[1])
        self.assertGreater(entries, 4)
        both = Both("select 1.7.0\npanel\nchoose 3\npanel\nupdate\nitem 1.7.0\n"
                    "select 1.7.1\nchoose %d\npanel\nupdate\nitem 1.7.1\nexit\n" % (entries - 1))
        self.expect_same_as_headless(both)
        self.assertIn("selected %d -1: NULL" % (entries - 1), both.lines)
        self.assertIn("edit FFFFFFFF", both.lines)
        self.assertEqual(both.lines[-1], "NULL")
        # The second models reference holds no tag now: identifier FFFFFFFF, name pointer 0.
        models = [ref for ref in both.records["Pistol"]["tag_refs"]
                  if bytes.fromhex(ref["class_bytes"]) == b"edom"]
        self.assertEqual((models[1]["tag_id"], models[1]["name_pointer"]), (0xFFFFFFFF, 0))

    def test_edit_box_refuses_a_ninth_typed_character(self):
        both = Both("select 1.17\ntype 123456789\npanel\nupdate\nitem 1.17\nexit\n")
        self.expect_same_as_headless(both)
        self.assertIn("edit 12345678", both.lines)
        self.assertEqual(both.lines[-1], "Max ammo: 24910")  # 12345678's low 16 bits

    def test_check_box_refills_the_list_for_the_selected_reference(self):
        both = Both("select 1.7.0\npanel\ncheck\npanel\nselect 1.7.1\npanel\ncheck\npanel\nexit\n")
        self.expect_same_as_headless(both)
        lines = both.lines
        self.assertEqual(len(lines), 16, both.windows.stdout)
        self.assertEqual(lines[4], "entries 1806")  # every searched row and "-1: NULL"
        self.assertEqual(lines[7], "check 1")
        self.assertEqual(lines[8], "entries 1806")  # the check box holds across selections
        self.assertEqual(lines[12], lines[0])  # cleared: the class's rows again
        self.assertEqual(lines[15], "check 0")
        self.assertNotEqual(lines[0], "entries 1806")

    def test_update_with_nothing_selected_shows_the_message(self):
        both = Both("update\nexit\n")
        self.expect_same_as_headless(both)
        self.assertEqual(both.windows.stdout, "message Error seeking weapon struct\n")
        self.assertIn("driver: box caption 'torvex' text 'Error seeking weapon struct' "
                      "buttons 'OK'\n", both.windows.stderr)
        self.assertTrue(both.windows_map == both.before)

    def test_exit_escape_close_and_enter_end_the_program(self):
        for way, script in (("the Exit button", "exit\n"), ("Escape", "escape\n"),
                            ("the close box", "close\n"), ("Enter on the tree", "select 1\nenter\n"),
                            ("Enter in the edit box", "select 1.17\ntype 5\nenter\n")):
            with self.subTest(way), DemoFolder() as cwd:
                before = map_of(cwd)
                result = on_windows(cwd, script)
                self.assertEqual((result.returncode, result.stdout), (0, ""), result.stderr)
                self.assertIn("driver: exit status 0\n", result.stderr)
                self.assertIn("driver: message boxes 0\n", result.stderr)
                self.assertTrue(map_of(cwd) == before)

    def test_screenshot_of_the_dialog(self):
        """The dialog as Wine draws it, for people to look at: build/screenshots/."""
        with DemoFolder() as cwd:
            result = on_windows(cwd, "select 1.7.0\nscreenshot dialog.bmp\nexit\n")
            self.assertEqual(result.returncode, 0, result.stderr)
            with open(os.path.join(cwd, "dialog.bmp"), "rb") as f:
                image = f.read()
            width, height = struct.unpack_from("<ii", image, 18)
            # 388 by 141 dialog units with an 8-point font, plus the frame.
            self.assertGreater(width, 388)
            self.assertGreater(height, 141)
            self.assertGreater(width, 2 * height)
            colours = {image[i:i + 3] for i in range(54, len(image) - 2, 3)}
            self.assertGreater(len(colours), 4, "the capture shows no dialog")
            os.makedirs(SCREENSHOTS, exist_ok=True)
            converted = run(["convert", "dialog.bmp",
                             os.path.join(os.path.abspath(SCREENSHOTS), "torvex-dialog.png")], cwd)
            self.assertEqual(converted.returncode, 0, converted.stderr)


if __name__ == "__main__":
    unittest.main()
