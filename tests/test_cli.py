"""torvex-cli as a user drives it: its output formats, exit statuses and what it writes.

Run by CTest with TORVEX_CLI set to the built program.
"""
import json
import os
import struct
import subprocess
import tempfile
import unittest

CLI = os.environ.get("TORVEX_CLI", "build/bin/torvex-cli")
MAP = "cache003.map"
MAGIC = 0x7E06AA00


def run(args, cwd, stdin=""):
    return subprocess.run([CLI] + args, cwd=cwd, input=stdin, capture_output=True, text=True)


class CliTest(unittest.TestCase):
    def setUp(self):
        self.dir = tempfile.TemporaryDirectory()
        self.cwd = self.dir.name
        self.assertEqual(run(["make-map", MAP], self.cwd).returncode, 0)

    def tearDown(self):
        self.dir.cleanup()

    def map_bytes(self):
        with open(os.path.join(self.cwd, MAP), "rb") as f:
            return f.read()

    def test_make_map_is_deterministic_and_sparse(self):
        other = os.path.join(self.cwd, "again.map")
        self.assertEqual(run(["make-map", other], self.cwd).returncode, 0)
        with open(other, "rb") as f:
            self.assertEqual(f.read(), self.map_bytes())
        st = os.stat(other)
        self.assertLess(st.st_blocks * 512, st.st_size // 4)

    def test_tree_prints_items_depth_first_with_two_blank_indents(self):
        result = run(["tree"], self.cwd)
        self.assertEqual(result.returncode, 0)
        lines = result.stdout.splitlines()
        roots = [l for l in lines if not l.startswith(" ")]
        self.assertEqual(roots, ["Assault Rifle", "Pistol", "Shotgun", "Plasma Rifle",
                                 "Rocket Launcher", "Sniper Rifle", "Plasma Pistol", "Needler",
                                 "Ball", "Flag", "Warthog", "Scorpion", "Ghost"])
        self.assertEqual(lines[1], "  Actor Variants")
        self.assertTrue(lines[2].startswith("    "))
        self.assertIn("  Unknown shorts", lines)
        self.assertIn("    Unknown 21: ", "\n".join(lines))
        for line in lines:
            indent = len(line) - len(line.lstrip(" "))
            self.assertIn(indent, (0, 2, 4))

    def test_missing_map_ends_start_up_with_the_message_and_status_one(self):
        os.remove(os.path.join(self.cwd, MAP))
        for args, stdin in ((["tree"], ""), (["session"], "tree\n")):
            result = run(args, self.cwd, stdin)
            self.assertEqual(result.returncode, 1)
            self.assertEqual(result.stdout,
                             "message Can't open map, make sure cache003.map is in this directory\n")

    def test_session_reports_bad_actions_and_goes_on(self):
        script = "select 1.17\nbogus\nselect 99.1\nchoose x\nchoose 7\ntype 24\nupdate\nitem 1.17\npanel\nexit\ntree\n"
        result = run(["session"], self.cwd, script)
        self.assertEqual(result.returncode, 2)
        self.assertEqual(result.stdout,
                         "Max ammo: 24\nentries 1\nselected 0 Custom Value:\nedit 24\ncheck 0\n")
        errors = result.stderr.splitlines()
        self.assertEqual(len(errors), 4)
        self.assertTrue(all(e.startswith("error ") for e in errors))

    def test_session_messages_and_entries(self):
        script = "update\nselect 0.7.0\ncheck\nentries\nchoose 1805\npanel\nexit\n"
        result = run(["session"], self.cwd, script)
        self.assertEqual(result.returncode, 0, result.stderr)
        lines = result.stdout.splitlines()
        self.assertEqual(lines[0], "message Error seeking weapon struct")
        self.assertEqual(len(lines), 1 + 1806 + 4)
        self.assertEqual(lines[1806], "-1: NULL")
        self.assertEqual(lines[-4:], ["entries 1806", "selected 1805 -1: NULL", "edit FFFFFFFF",
                                      "check 1"])

    def test_dump_reads_the_records_as_the_map_holds_them(self):
        result = run(["dump"], self.cwd)
        self.assertEqual(result.returncode, 0)
        records = json.loads(result.stdout)
        self.assertEqual(len(records), 15)
        self.assertEqual(records[8]["name"], "Gravity Gun")
        data = self.map_bytes()
        for r in records:
            self.assertEqual(r["counts"], [0, 4, 2, 0, 26, 22, 36, 0, 35])
            meta = r["meta_offset"]
            self.assertEqual(r["block_pointer"], struct.unpack_from("<I", data, meta + 0x4F4)[0])
            second = r["block_pointer"] - MAGIC
            self.assertEqual([s["label"] for s in r["named_shorts"]],
                             ["Number of zooms", "Max ammo", "Clip size", "Projectiles per shot"])
            self.assertEqual(r["named_shorts"][1]["value"],
                             struct.unpack_from("<h", data, second + 8)[0])
            zoom = struct.unpack_from("<f", data, meta + 0x3DC)[0]
            self.assertEqual(struct.pack("<f", r["named_floats"][0]["value"]), struct.pack("<f", zoom))
            self.assertEqual(r["unknown_longs"][17], struct.unpack_from("<i", data, second)[0])
            first = r["tag_refs"][0]
            self.assertEqual(bytes.fromhex(first["class_bytes"]), data[meta + 0x28:meta + 0x2C])
            self.assertEqual(first["tag_id"], struct.unpack_from("<I", data, meta + 0x28 + 12)[0])
            for f, at in ((r["unknown_floats"][0], meta + 4),):
                self.assertEqual(struct.pack("<f", f), data[at:at + 4])

    def test_dump_without_a_map_still_prints_full_records(self):
        os.remove(os.path.join(self.cwd, MAP))
        result = run(["dump"], self.cwd)
        self.assertEqual(result.returncode, 0)
        records = json.loads(result.stdout)
        self.assertTrue(all(r["counts"] == [0, 4, 2, 0, 26, 22, 36, 0, 35] for r in records))
        self.assertTrue(all(r["block_pointer"] == 0 for r in records))

    def test_set_and_ref_edit_the_map(self):
        result = run(["set", "Pistol", "Max ammo", "40000"], self.cwd)
        self.assertEqual((result.returncode, result.stdout), (0, "Max ammo: -25536\n"))
        result = run(["set", "Ghost", "Unknown floats", "3", "0.5"], self.cwd)
        self.assertEqual((result.returncode, result.stdout), (0, "Unknown 3: 0.500000\n"))
        result = run(["ref", "Pistol", "Sounds", "0", "-1"], self.cwd)
        self.assertEqual((result.returncode, result.stdout), (0, "NULL\n"))
        records = json.loads(run(["dump"], self.cwd).stdout)
        self.assertEqual(records[1]["named_shorts"][1]["value"], -25536)
        self.assertEqual(records[14]["unknown_floats"][3], 0.5)
        nulls = [t for t in records[1]["tag_refs"] if t["class_bytes"] == "21646e73"]
        self.assertEqual((nulls[0]["name_pointer"], nulls[0]["tag_id"]), (0, 0xFFFFFFFF))

    def test_values_that_look_like_options_are_typed_text(self):
        for value, shown in (("-.5", "Zoom 1: -0.500000"), ("-a", "Zoom 1: 0.000000")):
            result = run(["set", "Pistol", "Zoom 1", value], self.cwd)
            self.assertEqual((result.returncode, result.stdout), (0, shown + "\n"))

    def test_malformed_command_lines_exit_two(self):
        for args in ([], ["tree", "extra"], ["ref", "Pistol", "Models", "x", "3"], ["set", "Pistol"]):
            self.assertEqual(run(args, self.cwd).returncode, 2, args)
        self.assertEqual(run(["set", "--help"], self.cwd).returncode, 0)

    def test_set_and_ref_refuse_what_the_tree_does_not_show(self):
        before = self.map_bytes()
        for args in (["set", "Flamethrower", "Max ammo", "1"],
                     ["set", "Pistol", "Ammo", "1"],
                     ["set", "Pistol", "Unknown longs", "26", "1"],
                     ["set", "Pistol", "Max ammo", "123456789"],
                     ["ref", "Pistol", "Models", "40", "3"],
                     ["ref", "Pistol", "Models", "0", "1805"]):
            result = run(args, self.cwd)
            self.assertEqual(result.returncode, 2, args)
            self.assertTrue(result.stderr.startswith("torvex-cli: "), result.stderr)
        self.assertTrue(run(["set", "Pistol", "Ammo", "1"], self.cwd).stderr.endswith(
            "use a named value's label or Unknown shorts, Unknown longs, Unknown floats\n"))
        self.assertEqual(self.map_bytes(), before)


if __name__ == "__main__":
    unittest.main()
