"""torvex-cli as a user drives it: its output, exit statuses and what it writes.

Run by CTest with TORVEX_CLI set to the built program.
"""
import hashlib
import os
import unittest

from tests.torvex_cli import MAP, DemoFolder, cli as run, read_map

# The demo map of the committed path list; a change of the layout or the builder changes it.
DEMO_SHA256 = "bf203dc51901d332be9ebcf03c68cbacb08bf661a7e1ceb7423e4e169b755776"


class Folder(unittest.TestCase):
    def setUp(self):
        self.cwd = self.enterContext(DemoFolder())


class DemoMapTest(Folder):
    def test_the_demo_map_is_the_same_sparse_file_on_every_run(self):
        self.assertEqual(hashlib.sha256(read_map(self.cwd)).hexdigest(), DEMO_SHA256)
        st = os.stat(os.path.join(self.cwd, MAP))
        self.assertLess(st.st_blocks * 512, st.st_size // 4)


class CliTest(Folder):
    def test_tree_lists_the_weapons_with_two_blank_indents(self):
        lines = run(["tree"], self.cwd).stdout.splitlines()
        self.assertEqual([l for l in lines if not l.startswith(" ")],
                         ["Assault Rifle", "Pistol", "Shotgun", "Plasma Rifle", "Rocket Launcher",
                          "Sniper Rifle", "Plasma Pistol", "Needler", "Ball", "Flag", "Warthog",
                          "Scorpion", "Ghost"])
        self.assertEqual(lines[1], "  Actor Variants")
        self.assertEqual({len(l) - len(l.lstrip(" ")) for l in lines}, {0, 2, 4})

    def test_session_reports_bad_actions_and_goes_on(self):
        script = "select 1.17\nbogus\nselect 99.1\nchoose x\nchoose 7\ntype 24\nupdate\n" \
                 "item 1.17\nexit\ntree\n"
        result = run(["session"], self.cwd, script)
        self.assertEqual((result.returncode, result.stdout), (2, "Max ammo: 24\n"))
        self.assertEqual([e.split()[0] for e in result.stderr.splitlines()], ["error"] * 4)

    def test_a_map_it_cannot_open_to_write_is_refused_and_left_alone(self):
        def refused():
            result = run(["set", "Pistol", "Max ammo", "5"], self.cwd)
            self.assertEqual((result.returncode, result.stdout), (
                1, "message Can't open map, make sure cache003.map is in this directory\n"))

        path, before = os.path.join(self.cwd, MAP), read_map(self.cwd)
        os.chmod(path, 0o444)  # the read-only attribute, under Wine; root could write it anyway
        refused()
        self.assertEqual(read_map(self.cwd), before)
        os.remove(path)
        refused()
        self.assertFalse(os.path.exists(path))
        os.mkdir(path)  # a folder in its place
        refused()

    def test_requests_that_name_nothing_exit_two_and_write_nothing(self):
        before = read_map(self.cwd)
        for args in ([], ["tree", "extra"], ["ref", "Pistol", "Models", "x", "3"],
                     ["set", "Pistol"], ["set", "Flamethrower", "Max ammo", "1"],
                     ["set", "Pistol", "Ammo", "1"], ["set", "Pistol", "Unknown longs", "26", "1"],
                     ["set", "Pistol", "Max ammo", "123456789"],
                     ["ref", "Pistol", "Models", "40", "3"],
                     ["ref", "Pistol", "Models", "0", "1805"]):
            self.assertEqual(run(args, self.cwd).returncode, 2, args)
        self.assertEqual(read_map(self.cwd), before)


if __name__ == "__main__":
    unittest.main()
