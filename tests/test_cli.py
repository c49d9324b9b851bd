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
        self.assertEqual(run(["session"], self.cwd, "bogus\n").returncode, 2)  # one is enough

    def test_ref_points_at_exactly_its_row(self):
        # Row 16 is not a model; the models' list holds row 163, whose number begins alike.
        chosen = run(["session"], self.cwd, "select 1.7.0\ncheck\nchoose 16\nupdate\nitem 1.7.0\n")
        self.assertEqual(run(["make-map", MAP], self.cwd).returncode, 0)
        pointed = run(["ref", "Pistol", "Models", "0", "16"], self.cwd)
        self.assertEqual(pointed.stdout, chosen.stdout)

    def test_a_map_it_cannot_open_to_write_is_refused_and_left_alone(self):
        def refused():
            for args in (["set", "Pistol", "Max ammo", "5"], ["dump"]):
                result = run(args, self.cwd)
                self.assertEqual((result.returncode, result.stdout), (
                    1, "message Can't open map, make sure cache003.map is in this directory\n"))

        path = os.path.join(self.cwd, MAP)
        os.truncate(path, 1000)
        os.chmod(path, 0o444)  # the read-only attribute, under Wine; root could write it anyway
        before = read_map(self.cwd)
        refused()
        self.assertEqual(run(["make-map", MAP], self.cwd).returncode, 1)
        self.assertEqual(read_map(self.cwd), before)
        os.remove(path)
        refused()
        self.assertFalse(os.path.exists(path))
        os.mkdir(path)  # a folder in its place
        refused()

    def test_a_map_too_short_for_the_weapons_is_refused_and_left_alone(self):
        os.truncate(os.path.join(self.cwd, MAP), 40_000_000)
        before = read_map(self.cwd)
        for args in (["set", "Pistol", "Max ammo", "5"], ["dump"], ["tree"]):
            result = run(args, self.cwd)
            self.assertEqual((result.returncode, result.stdout), (1, ""), args)
            self.assertIn("does not hold the weapons: it ends at 0x02625A00", result.stderr)
        self.assertEqual(read_map(self.cwd), before)

    def test_requests_that_name_nothing_exit_two_say_why_and_write_nothing(self):
        before = read_map(self.cwd)
        for args, why in (([], "a command is required"), (["tree", "extra"], "extra"),
                          (["bogus"], "'bogus' is no command"), (["--bogus"], "is no option"),
                          (["ref", "Pistol", "Models", "x", "3"], "N 'x' is not a whole number"),
                          (["set", "Pistol"], "LABEL"),
                          (["set", "Pistol", "Max ammo", "1", "2", "3"], "'3' is one argument too"),
                          (["set", "Flamethrower", "Max ammo", "1"], "no weapon 'Flamethrower'"),
                          (["set", "Pistol", "Ammo", "1"], "unknown label 'Ammo'"),
                          (["set", "Pistol", "Unknown longs", "26", "1"], "no value 26"),
                          (["set", "Pistol", "Max ammo", "123456789"], "longer than the 8"),
                          (["ref", "Pistol", "Models", "40", "3"], "no reference 40"),
                          (["ref", "Pistol", "Unknown shorts", "0", "3"], "not references"),
                          (["ref", "Pistol", "Models", "0", "1805"], "no row 1805")):
            result = run(args, self.cwd)
            self.assertEqual(result.returncode, 2, args)
            self.assertIn(why, result.stderr, args)
        self.assertEqual(read_map(self.cwd), before)


if __name__ == "__main__":
    unittest.main()
