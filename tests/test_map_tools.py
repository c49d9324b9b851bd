"""torvex-cli check and catalogue as a user runs them on a map, sound or damaged: which checks
fail, which catalogue rule is broken, exit statuses, and the files they leave.

Run by CTest with TORVEX_CLI set to the built program and TORVEX_TAG_PATHS to the path list
that build was compiled from, so a build from any valid list checks its own round trip. With
TORVEX_OTHER_CLI, that program must print the same on every map, the catalogue to the byte.
Offsets are found in the map itself: the index offset at 0x10, 32-byte entries holding the
class, the identifier (12), the name pointer (16) and the meta pointer (20).
"""
import os
import struct
import subprocess
import tempfile
import unittest

from tests.torvex_cli import MAP, OTHER_CLI, DemoFolder, cli as run

PATHS = os.environ.get("TORVEX_TAG_PATHS", "catalogue/tag_paths.txt")
MAGIC = 0x7E06AA00
CHECKS = ["names", "tag index", "tag count", "magic", "identifiers", "name pointers",
          "meta pointers", "weapon blocks", "weapon references"]
PISTOL, WARTHOG = 476, 658  # rows


class Map:
    def __init__(self, path):
        self.path = path

    def word(self, at):
        with open(self.path, "rb") as f:
            f.seek(at)
            return struct.unpack("<I", f.read(4))[0]

    def write(self, at, data):
        with open(self.path, "r+b") as f:
            f.seek(at)
            f.write(data if isinstance(data, bytes) else struct.pack("<I", data))

    def entry(self, row, field=0):
        return self.word(self.word(0x10)) - MAGIC + 32 * row + field

    def name(self, row):
        return self.word(self.entry(row, 16)) - MAGIC

    def meta(self, row):
        return self.word(self.entry(row, 20)) - MAGIC


# What is done to the demo map; the checks that then fail (None: not looked at); the catalogue
# rule it breaks (None: the catalogue is still extracted).
DAMAGES = [
    ("a name changed", lambda m: m.write(m.name(40) + 5, b"#"), ["names"], None),
    ("a terminator lost", lambda m: m.write(m.name(1804) - 1, b"s"), ["names"], "names"),
    ("the first entry's address moved",
     lambda m: m.write(m.word(0x10), m.word(m.word(0x10)) + 16), ["magic"], "magic"),
    ("the header's index offset moved alone", lambda m: m.write(0x10, m.word(0x10) - 0x1000),
     ["tag index"], "header"),
    ("no header", lambda m: m.write(0, bytes(4)), [], "header"),
    ("one tag fewer", lambda m: m.write(m.word(0x10) + 12, 1805), ["tag count"], "tag-count"),
    ("an identifier the rule skips", lambda m: m.write(m.entry(1692, 12), 0xE810069C),
     ["identifiers"], "identifiers"),
    ("a name pointer one byte on", lambda m: m.write(m.entry(5, 16), m.word(m.entry(5, 16)) + 1),
     ["name pointers"], "names"),
    ("the row without meta data given some",
     lambda m: m.write(m.entry(1764, 20), m.word(m.entry(1763, 20)) + 8), ["meta pointers"], None),
    ("a weapon's meta pointer moved",
     lambda m: m.write(m.entry(PISTOL, 20), m.meta(PISTOL) + 4 + MAGIC), ["meta pointers"],
     "weapon-meta"),
    ("a second block in another weapon's data",
     lambda m: m.write(m.meta(PISTOL) + 0x4F4, m.word(m.meta(WARTHOG) + 0x4F4)),
     ["weapon blocks"], None),
    ("a second block pointer moved on inside its data",
     lambda m: m.write(m.meta(PISTOL) + 0x4F4, m.word(m.meta(PISTOL) + 0x4F4) + 0x100),
     ["weapon references"], None),
    ("an empty file", lambda m: os.truncate(m.path, 0),
     ["names", "weapon blocks", "weapon references"], "header"),
    # The list's own rules, each named by the path-list rules' test, run on the extracted list.
    ("a tag made a weapon", lambda m: m.write(m.entry(600), b"paew"), None, "class-counts"),
]


class MapToolsTest(unittest.TestCase):
    def setUp(self):
        self.cwd = self.enterContext(DemoFolder())
        self.map = Map(os.path.join(self.cwd, MAP))

    def run_both(self, args, text=True):
        result = run(args, self.cwd, text=text)
        if OTHER_CLI:
            other = run(args, self.cwd, program=OTHER_CLI, text=text)
            self.assertEqual((other.returncode, other.stdout, other.stderr),
                             (result.returncode, result.stdout, result.stderr), args)
        return result

    def test_check_passes_the_demo_map_and_catalogue_gives_the_path_list(self):
        result = self.run_both(["check"])
        self.assertEqual(result.returncode, 0, result.stdout)
        self.assertEqual([line.split(":")[0] for line in result.stdout.splitlines()],
                         ["ok    " + name for name in CHECKS] + ["supported"])
        extracted = self.run_both(["catalogue", MAP], text=False)
        with open(PATHS, "rb") as f:
            self.assertEqual((extracted.returncode, extracted.stdout), (0, f.read()))

    def test_each_damage_fails_its_checks_and_breaks_its_catalogue_rule(self):
        for what, damage, checks, rule in DAMAGES:
            with self.subTest(what):
                self.assertEqual(run(["make-map", MAP], self.cwd).returncode, 0)
                damage(self.map)
                result = self.run_both(["check"])
                failed = [line[6:].split(":")[0] for line in result.stdout.splitlines()
                          if line.startswith("FAIL")]
                if checks is not None:
                    self.assertEqual((failed, result.returncode), (checks, 1 if checks else 0))
                    # Advice to run catalogue only where catalogue then makes the list.
                    names_only = bool(checks) and set(checks) <= {"names", "name pointers"} \
                        and rule is None
                    self.assertEqual("\nnote  names only: " in result.stdout, names_only)
                extracted = self.run_both(["catalogue", MAP])
                if rule is None:
                    self.assertEqual(extracted.returncode, 0, extracted.stderr)
                    continue
                self.assertEqual((extracted.returncode, extracted.stdout), (1, ""))
                self.assertIn(f'breaks the catalogue rule "{rule}": ', extracted.stderr)

    def test_an_unreadable_map_exits_two(self):
        os.remove(self.map.path)
        for args in (["check"], ["catalogue", MAP]):
            self.assertEqual(self.run_both(args).returncode, 2, args)
        os.mkdir(self.map.path)
        self.assertEqual(self.run_both(["check"]).returncode, 2)


USER_MAP_CLI = os.environ.get("TORVEX_USER_MAP_CLI")
USER_PATHS = os.environ.get("TORVEX_USER_PATHS")


@unittest.skipUnless(USER_MAP_CLI and USER_PATHS,
                     "needs TORVEX_USER_MAP_CLI, a build from another path list, and that list")
class UsersOwnMapTest(unittest.TestCase):
    """The supported map with names of its own, as the README walks a user through it: here the
    demo map of a build from another list, checked and extracted by this build."""

    def test_check_finds_only_the_names_differ_and_catalogue_gives_the_maps_own_list(self):
        with tempfile.TemporaryDirectory() as cwd:
            self.assertEqual(subprocess.run([USER_MAP_CLI, "make-map", MAP], cwd=cwd).returncode, 0)
            result = run(["check"], cwd)
            self.assertEqual(result.returncode, 1, result.stdout)
            failed = {line.split(":")[0] for line in result.stdout.splitlines()
                      if line.startswith("FAIL")}
            # Name pointers fail too when the other names' lengths differ.
            self.assertIn("FAIL  names", failed)
            self.assertLessEqual(failed, {"FAIL  names", "FAIL  name pointers"})
            self.assertIn("note  names only: ", result.stdout)
            extracted = run(["catalogue", MAP], cwd, text=False)
            with open(USER_PATHS, "rb") as f:
                self.assertEqual((extracted.returncode, extracted.stdout), (0, f.read()))


if __name__ == "__main__":
    unittest.main()
