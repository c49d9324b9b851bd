"""torvex-cli check and catalogue as a user runs them: output lines, exit statuses, files.

Run by CTest with TORVEX_CLI set to the built program and TORVEX_TAG_PATHS to the path list
that build was compiled from, so a build from any valid list checks its own round trip.
"""
import os
import subprocess
import tempfile
import unittest

CLI = os.environ.get("TORVEX_CLI", "build/bin/torvex-cli")
PATHS = os.environ.get("TORVEX_TAG_PATHS", "catalogue/tag_paths.txt")
MAP = "cache003.map"
CHECKS = ["names", "tag index", "tag count", "magic", "identifiers", "name pointers",
          "meta pointers", "weapon blocks", "weapon references"]


def run(args, cwd):
    return subprocess.run([CLI] + args, cwd=cwd, capture_output=True, text=True)


class MapToolsTest(unittest.TestCase):
    def setUp(self):
        self.dir = tempfile.TemporaryDirectory()
        self.cwd = self.dir.name
        self.map = os.path.join(self.cwd, MAP)
        self.assertEqual(run(["make-map", MAP], self.cwd).returncode, 0)

    def tearDown(self):
        self.dir.cleanup()

    def patch(self, offset, data):
        with open(self.map, "r+b") as f:
            f.seek(offset)
            f.write(data)

    def test_check_passes_the_demo_map_one_line_per_check(self):
        with open(self.map, "rb") as f:
            before = f.read()
        result = run(["check"], self.cwd)
        self.assertEqual(result.returncode, 0, result.stdout)
        lines = result.stdout.splitlines()
        self.assertEqual([line.split(":")[0] for line in lines[:-1]],
                         ["ok    " + name for name in CHECKS])
        self.assertEqual(lines[-1],
                         "supported: cache003.map is the map this build supports (9 checks passed)")
        with open(self.map, "rb") as f:
            self.assertEqual(f.read(), before)

    def test_check_names_a_changed_name_and_exits_one(self):
        with open(PATHS) as f:
            first = f.readline().rsplit(".", 1)[0]
        with open(self.map, "rb") as f:
            at = f.read().index(first.encode() + b"\0")  # the names come after the header
        self.patch(at, b"#")
        result = run(["check"], self.cwd)
        self.assertEqual(result.returncode, 1)
        lines = result.stdout.splitlines()
        self.assertEqual(lines[0], 'FAIL  names: row 0 at 0x%08X: expected "%s\\0", found "#%s\\0"'
                         % (at, first, first[1:]))
        self.assertTrue(all(line.startswith("ok  ") for line in lines[1:-2]), lines)
        self.assertTrue(lines[-2].startswith("note  names only: "), lines[-2])
        self.assertTrue(lines[-1].startswith("not supported: 1 of 9 checks failed; cache003.map "
                                             "is not the map this build supports"), lines[-1])

    def test_catalogue_of_the_demo_map_is_the_builds_path_list_byte_for_byte(self):
        result = subprocess.run([CLI, "catalogue", self.map], capture_output=True)
        self.assertEqual(result.returncode, 0, result.stderr)
        self.assertEqual(result.stderr, b"")
        with open(PATHS, "rb") as f:
            self.assertEqual(result.stdout, f.read())

    def test_catalogue_of_a_missing_map_exits_two(self):
        result = run(["catalogue", "elsewhere.map"], self.cwd)
        self.assertEqual(result.returncode, 2)
        self.assertEqual(result.stdout, "")
        self.assertIn("cannot read elsewhere.map", result.stderr)


USER_MAP_CLI = os.environ.get("TORVEX_USER_MAP_CLI")
USER_PATHS = os.environ.get("TORVEX_USER_PATHS")


@unittest.skipUnless(USER_MAP_CLI and USER_PATHS,
                     "needs TORVEX_USER_MAP_CLI, a build from another path list, and that list")
class UsersOwnMapTest(unittest.TestCase):
    """The supported map with names of its own, as the README walks a user through it: here the
    demo map of a build from another list, checked and extracted by this build."""

    def test_check_finds_only_the_names_differ_and_catalogue_gives_the_maps_own_list(self):
        with tempfile.TemporaryDirectory() as cwd:
            made = subprocess.run([USER_MAP_CLI, "make-map", MAP], cwd=cwd)
            self.assertEqual(made.returncode, 0)
            result = run(["check"], cwd)
            self.assertEqual(result.returncode, 1, result.stdout)
            failed = [line.split(":")[0] for line in result.stdout.splitlines()
                      if line.startswith("FAIL")]
            # Name pointers fail too when the other names' lengths differ.
            self.assertEqual(failed[0], "FAIL  names")
            self.assertLessEqual(set(failed), {"FAIL  names", "FAIL  name pointers"})
            self.assertIn("note  names only: ", result.stdout)
            extracted = subprocess.run([CLI, "catalogue", MAP], cwd=cwd, capture_output=True)
            self.assertEqual(extracted.returncode, 0, extracted.stderr)
            with open(USER_PATHS, "rb") as f:
                self.assertEqual(extracted.stdout, f.read())


if __name__ == "__main__":
    unittest.main()
