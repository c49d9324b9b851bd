"""The user's scenarios: one table, played on the headless editor and on the real windows.

HeadlessTranscripts plays each scenario with `torvex-cli session` and compares what it prints
with the transcript in the table. QtWindow and WineWindow play the same actions on the Qt
program and on the Windows zip's Torvex.EXE under a 32-bit Wine, with X keyboard and mouse
events (xdotool) on an Xvfb display of their own, each on a fresh demo map: the map must end
equal, byte for byte, to the headless editor's after the same actions, and a message box must
come up wherever the headless editor printed a message.

Run by CTest with TORVEX_CLI and, for the windows, TORVEX_QT, or TORVEX_EXE (the program as the
zip ships it) and WINE (which tests/win32/with-wine sets).
"""
import os
import subprocess
import tempfile
import time
import unittest

from tests.torvex_cli import MAP, DemoFolder, cli, read_map

DIALOG = "^Torvex  Beta Version 1\\.0$"
BOX = "^torvex$"  # the message boxes take the program's name as their caption
LOOKS = ("tree", "item", "entries", "panel")
ENDINGS = ("exit", "escape", "enter")

# name, the user's actions, what `torvex-cli session` prints for them, and tags of the demo map
# renamed in place before (old name: new name of its length). The demo map's Pistol
# (item 1) holds three model references, the second "characters/ranger/ranger undersuit"; its
# list of models offers the 63 catalogue rows whose paths end in "mode", and "-1: NULL".
SCENARIOS = [
    ("text-after-the-number", ["select 1.19", "type 12abc", "update", "item 1.19", "exit"],
     ["Projectiles per shot: 12"]),
    ("floats-and-an-unnamed-long",
     ["select 1.21", "type 0.1", "update", "select 1.15.20", "type 2.5", "update",
      "select 1.14.25", "type -1234567", "update", "item 1.21", "item 1.15.20", "item 1.14.25",
      "escape"],
     ["Zoom 2: 0.100000", "Unknown 20: 2.500000", "Unknown 25: -1234567"]),
    # Update finds each of the thirteen weapons by its own name.
    ("every-weapon-takes-an-update",
     [a for n in range(13) for a in (f"select {n}.17", f"type {n + 101}", "update")]
     + [f"item {n}.17" for n in range(13)] + ["exit"], [f"Max ammo: {n + 101}" for n in range(13)]),
    ("reference-to-the-third-of-its-class",
     ["select 1.7.1", "choose 2", "panel", "update", "item 1.7.1", "exit"],
     ["entries 64", "selected 2 181: characters/ranger/ranger belt.mode",
      "edit E22900B5",  # row 181's identifier: 0xE174 + 181 above the row
      "check 0", "characters/ranger/ranger belt"]),
    ("reference-to-no-tag-under-show-all",
     ["select 4.7.0", "check", "choose 1805", "panel", "update", "item 4.7.0", "exit"],
     ["entries 1806", "selected 1805 -1: NULL", "edit FFFFFFFF", "check 1", "NULL"]),
    ("update-before-any-selection-then-two-weapons-then-on-a-weapon",
     ["update", "select 4.18", "type 7", "update", "select 0.13.3", "type -2", "update",
      "select 3", "update", "item 4.18", "item 0.13.3", "exit"],
     ["message Error seeking weapon struct"] * 2 + ["Clip size: 7", "Unknown 3: -2"]),
    # The category keeps the typed 5 in the edit box, and Update writes nothing.
    ("update-on-a-category", ["select 2.16", "type 5", "select 2.7", "update", "panel",
                              "item 2.16", "exit"],
     ["entries 0", "selected -1 ", "edit 5", "check 0", "Number of zooms: 0"]),
    ("ninth-character-refused",
     ["select 1.17", "type 123456789", "panel", "update", "item 1.17", "exit"],
     ["entries 1", "selected 0 Custom Value:", "edit 12345678", "check 0",
      "Max ammo: 24910"]),  # 12345678 is 0xBC614E
    # The focus starts on Exit, so Return there ends the program; Return in the edit box is OK,
    # which writes nothing.
    # At start: nothing selected, the list empty; the first weapon with its sixteen categories,
    # then its named values (its last child "Zoom 2"), a reference of no tag named "NULL".
    ("start-state-and-texts",
     ["panel", "item 0", "item 0.0", "item 0.13", "item 0.15", "item 0.16", "item 0.21",
      "item 0.7.1", "exit"],
     ["entries 0", "selected -1 ", "edit ", "check 0", "Assault Rifle", "Actor Variants",
      "Unknown shorts", "Unknown floats", "Number of zooms: 0", "Zoom 2: 1.000000", "NULL"]),
    # The panel follows the selection: a shader lists the 26 "sotr" rows (row 6 first,
    # identifier 0xE174 + 6 above 6), a damage model the 66 "jpt!" rows, "Show all" every row
    # but the last, and it stays set; an unnamed category reads as a value, and the check box
    # there empties the edit box; a weapon item empties the list and keeps the edit box.
    ("panel-follows-the-selection",
     ["select 1.10.0", "panel", "select 1.3.0", "panel", "check", "panel", "select 1.13",
      "panel", "select 1.17", "type 77", "check", "panel", "select 0", "panel", "exit"],
     ["entries 27", "selected 0 6: sky/summer noon/shaders/cloud layer.sotr", "edit E17A0006",
      "check 0", "entries 67", "selected 0 170: effects/damage/grass bullet.jpt!",
      "edit E21E00AA", "check 0", "entries 1806",
      "selected 0 0: levels/multi/cinderbrook/cinderbrook.scnr", "edit E1740000", "check 1",
      "entries 1", "selected 0 Custom Value:", "edit ", "check 1", "entries 1",
      "selected 0 Custom Value:", "edit ", "check 0", "entries 0", "selected -1 ", "edit ",
      "check 0"]),
    # A tag whose name begins "Unknown " reads as a value, so the list offers only "Custom Value:";
    # Update then reads the row from that entry, which begins with no number: row 0.
    ("a-reference-named-like-a-value-takes-row-0",
     ["select 1.7.2", "panel", "type 5", "update", "item 1.7.2", "exit"],
     ["entries 1", "selected 0 Custom Value:", "edit ", "check 0",
      "levels/multi/cinderbrook/cinderbrook"],
     {"weapons/sniper rifle/sniper rifle handle": "Unknown sniper rifle/sniper rifle handle"}),
    ("return-at-start", ["enter"], []),
    ("escape-in-the-tree", ["select 2", "escape"], []),
    ("return-in-the-edit-box", ["select 1.17", "type 5", "enter"], []),
]


def session(cwd, actions):
    return cli(["session"], cwd, "".join(a + "\n" for a in actions))


def rename_tags(cwd, renames=None):
    for old, new in (renames or {}).items():
        with open(os.path.join(cwd, MAP), "r+b") as f:
            f.seek(read_map(cwd).index(b"\0" + old.encode() + b"\0") + 1)
            f.write(new.encode())


class HeadlessTranscripts(unittest.TestCase):
    def test_each_scenario_prints_its_transcript(self):
        for name, actions, transcript, *renames in SCENARIOS:
            with self.subTest(name), DemoFolder() as cwd:
                rename_tags(cwd, *renames)
                result = session(cwd, actions)
                self.assertEqual((result.returncode, result.stderr), (0, ""))
                self.assertEqual(result.stdout.splitlines(), transcript)
                # Started afresh, the editor reads each item back as the session left it: the
                # scenarios look at items last.
                looks = [a for a in actions if a.startswith("item ")]
                fresh = session(cwd, looks + ["exit"]).stdout.splitlines()
                self.assertEqual(fresh, transcript[len(transcript) - len(looks):])


def xdotool(*args):
    return subprocess.run(["xdotool"] + [str(a) for a in args], capture_output=True, text=True,
                          check=True).stdout.split()


def wait_for(find, what, seconds=30):
    end = time.monotonic() + seconds
    while time.monotonic() < end:
        found = find()
        if found:
            return found
        time.sleep(0.05)
    raise AssertionError("timed out waiting for " + what)


def shown(name):
    return subprocess.run(["xdotool", "search", "--onlyvisible", "--name", name],
                          capture_output=True, text=True).stdout.split()


class Player:
    """Plays session actions on the dialog as a person at the keyboard and mouse would. It
    knows the tree from `torvex-cli tree` and keeps track of what it has expanded, which row
    the tree has selected, which control has the focus and which entry the list shows, so it
    moves there with as few keys as it can."""

    TAB_ORDER = ["exit", "tree", "update", "combo", "check", "edit"]
    # Where to click, in the template's dialog units (388 by 141).
    CLICK = {"exit": (356, 119), "update": (27, 128), "check": (60, 129)}

    def __init__(self, window, tree_lines, caption):
        self.window, self.caption = window, caption
        geometry = dict(line.split("=") for line in xdotool("getwindowgeometry", "--shell",
                                                             window))
        self.width, self.height = int(geometry["WIDTH"]), int(geometry["HEIGHT"])
        self.children = {(): []}
        stack = [()]
        for line in tree_lines:
            depth = (len(line) - len(line.lstrip(" "))) // 2
            del stack[depth + 1:]
            path = stack[depth] + (len(self.children[stack[depth]]),)
            self.children[stack[depth]].append(path)
            self.children[path] = []
            stack.append(path)
        self.expanded, self.row, self.focus, self.entry = set(), None, "exit", -1

    def send(self, *args):
        xdotool("windowfocus", "--sync", self.window, *args)

    def keys(self, *keys):
        if keys:
            self.send("key", "--delay", 0, *keys)

    def click(self, control):
        x, y = self.CLICK[control]
        self.send("mousemove", "--window", self.window, x * self.width // 388,
                  self.caption + y * (self.height - self.caption) // 141, "click", 1)
        self.focus = control

    def focus_on(self, control):
        here, there = self.TAB_ORDER.index(self.focus), self.TAB_ORDER.index(control)

        def crosses_tree(step, count):
            return any((here + step * i) % 6 == 1 for i in range(1, count))

        # The tree selects its first item when the focus first reaches it: until the player
        # selects one, the focus goes round it.
        ways = sorted((count, key) for key, count, step in (
            ("Tab", (there - here) % 6, 1), ("shift+Tab", (here - there) % 6, -1))
            if self.row is not None or not crosses_tree(step, count))
        count, key = ways[0]
        self.keys(*[key] * count)
        if control == "tree" and self.row is None:
            self.row = (0,)
        self.focus = control

    def rows(self, parent=()):
        for path in self.children[parent]:
            yield path
            if path in self.expanded:
                yield from self.rows(path)

    def go_to(self, path):
        rows = list(self.rows())
        steps = rows.index(path) - rows.index(self.row)
        self.keys(*["Down" if steps > 0 else "Up"] * abs(steps))
        self.row = path

    def select(self, path):
        self.focus_on("tree")
        for depth in range(1, len(path)):
            if path[:depth] not in self.expanded:
                self.go_to(path[:depth])
                self.keys("Right")
                self.expanded.add(path[:depth])
        self.go_to(path)
        self.entry = 0

    def play(self, action, messages):
        verb, _, rest = action.partition(" ")
        if verb == "select":
            self.select(tuple(int(i) for i in rest.split(".")))
        elif verb == "type":
            self.focus_on("edit")
            self.keys("End", "shift+Home")
            self.send("type", "--delay", 5, "--", rest)
        elif verb == "choose":
            self.focus_on("combo")
            steps = int(rest) - self.entry
            self.keys(*["Down" if steps > 0 else "Up"] * abs(steps))
            self.entry = int(rest)
        elif verb == "check":
            self.click("check")
            self.entry = 0
        elif verb == "update":
            self.click("update")
            for _ in messages:
                answer_box()
        elif verb == "exit":
            self.click("exit")
        else:
            self.keys({"escape": "Escape", "enter": "Return"}[verb])


def answer_box():
    box = wait_for(lambda: shown(BOX), "a message box")[0]
    xdotool("windowfocus", "--sync", box, "key", "Return")
    wait_for(lambda: box not in shown(BOX), "the message box to close")


def start_xvfb():
    # Xvfb picks a display no other server holds and writes its number on the pipe; a display
    # picked beforehand may be taken by the time its server starts. It must not reset when its
    # last client leaves: a program that connects during the reset fails.
    read, write = os.pipe()
    xvfb = subprocess.Popen(["Xvfb", "-displayfd", str(write), "-nolisten", "tcp", "-noreset"],
                            pass_fds=[write], stderr=subprocess.DEVNULL)
    os.close(write)
    with os.fdopen(read) as numbers:
        os.environ["DISPLAY"] = ":" + numbers.readline().strip()
    if os.environ["DISPLAY"] == ":":
        raise AssertionError("Xvfb did not start")
    return xvfb


class WindowsTest:
    """What both desktop programs must do; a subclass says how to start one."""

    command = []
    caption = 0  # the height of a caption bar the program draws in its own window

    @classmethod
    def setUpClass(cls):
        cls.xvfb = start_xvfb()
        with DemoFolder() as cwd:
            cls.tree = cli(["tree"], cwd).stdout.splitlines()

    @classmethod
    def tearDownClass(cls):
        cls.xvfb.terminate()
        cls.xvfb.wait()

    def start(self, cwd):
        return subprocess.Popen(self.command, cwd=cwd, stdout=subprocess.DEVNULL,
                                stderr=subprocess.DEVNULL)

    def test_without_a_map_one_message_box_then_status_one(self):
        with tempfile.TemporaryDirectory() as cwd:
            program = self.start(cwd)
            wait_for(lambda: shown(BOX), "the message box")
            self.assertEqual(shown(DIALOG), [])
            answer_box()
            self.assertEqual(program.wait(30), 1)
            self.assertEqual(os.listdir(cwd), [])

    def test_scenarios_leave_the_headless_editors_map(self):
        for name, actions, _, *renames in SCENARIOS:
            with self.subTest(name):
                self.play(actions, *renames)

    def play(self, actions, renames=None):
        # The headless run, with a look after each Update, tells which Updates show a box.
        marked = [m for a in actions if a.split()[0] not in LOOKS
                  for m in ([a, "item 0"] if a == "update" else [a])]
        with DemoFolder() as cwd:
            rename_tags(cwd, renames)
            messages = iter(session(cwd, marked).stdout.split(self.tree[0] + "\n"))
            expected = read_map(cwd)
        with DemoFolder() as cwd:
            rename_tags(cwd, renames)
            program = self.start(cwd)
            try:
                window = wait_for(lambda: shown(DIALOG), "the dialog")[0]
                player = Player(window, self.tree, self.caption)
                # 388 by 141 dialog units of the dialog's font, 6 by 11 pixels a character
                # over 4 by 8.
                self.assertEqual((player.width, player.height), (582, 194 + self.caption))
                for action in actions:
                    if action.split()[0] not in LOOKS:
                        if action in ENDINGS:
                            self.assertEqual(shown(BOX), [], "a message box came up")
                        update = action == "update"
                        player.play(action, next(messages).splitlines() if update else [])
                self.assertEqual(program.wait(30), 0)
            finally:
                if program.poll() is None:
                    program.kill()
                    program.wait()
            self.assertTrue(read_map(cwd) == expected, "the maps differ")


@unittest.skipUnless(os.environ.get("TORVEX_QT"), "TORVEX_QT names no Qt program")
class QtWindow(WindowsTest, unittest.TestCase):
    command = [os.environ.get("TORVEX_QT", "")]

    @classmethod
    def setUpClass(cls):
        os.environ["QT_QPA_PLATFORM"] = "xcb"
        super().setUpClass()


@unittest.skipUnless(os.environ.get("TORVEX_EXE") and os.environ.get("WINE"),
                     "needs TORVEX_EXE and WINE (tests/win32/with-wine)")
class WineWindow(WindowsTest, unittest.TestCase):
    command = [os.environ.get("WINE", ""), os.environ.get("TORVEX_EXE", "")]
    caption = 18  # Wine draws it in the window itself


if __name__ == "__main__":
    unittest.main()
