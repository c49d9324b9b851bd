"""Weapon mods as patch files: a diff of an edited map against its original, applied to a copy of
the original, gives the edited map back byte for byte; a patch with any error writes nothing;
patches check, stack, conflict, come off and tell their status; a faulted write is never
reported as done, and running the command again finishes it.

Run by CTest with TORVEX_CLI set to the built program; with TORVEX_OTHER_CLI, a patch made by
either program must apply with the other, to the same bytes.
"""
import json
import os
import re
import shutil
import subprocess
import tempfile
import unittest

from tests.torvex_cli import CLI, MAP, OTHER_CLI, cli, for_windows, native, read_map

# Edits made through the editor: values (16-bit wrap, a float, an unnamed long), references
# (another tag of the class, a tag of another class, no tag, a weapon's last slot) on several
# weapons. The Ghost's third effect is its last reference, slot 34.
EDITS = [
    ["set", "Pistol", "Max ammo", "40000"],
    ["set", "Pistol", "Zoom 1", "0.1"],
    ["set", "Shotgun", "Unknown floats", "20", "2.5"],
    ["set", "Ghost", "Unknown longs", "3", "-1"],
    ["ref", "Pistol", "Models", "0", "200"],
    ["ref", "Warthog", "Sounds", "1", "-1"],
    ["ref", "Needler", "Effects", "0", "5"],
    ["ref", "Ghost", "Effects", "2", "1693"],
    ["ref", "Shotgun", "Models", "0", "1687"],
]

PATCH = "patch.json"

# Mods on the demo map: A changes two weapons, B a field of A's from the same value to another,
# C builds on A's value; O is A in the first format, which records no values before.
AMMO = [["set", "Pistol", "Max ammo", v] for v in ("300", "400", "500")]
MOD_A = AMMO[:1] + [["ref", "Needler", "Effects", "0", "5"]]
MADE = {"A": ([], MOD_A), "B": ([], AMMO[1:2]), "C": (MOD_A, AMMO[2:])}
# Each row: the map's edits, the command's arguments, its status, the map's edits after it
# (None: as before), and texts the command prints.
AC, B = MOD_A + AMMO[2:], AMMO[1:2]
MOD_ROWS = [
    ([], "apply A B", 1, None, ["A.json and ../B.json both change it", "nothing written"]),
    ([], "apply --force A B", 0, MOD_A + B, ["2 fields changed in 2 weapons", "both change it"]),
    ([], "apply A C", 0, AC, ["2 fields changed in 2 weapons"]),
    (AC, "apply A C", 0, None, ["0 fields changed"]),
    (B, "apply A", 1, None, ['A.json expects "Max ammo: 120", the map holds "Max ammo: 400"']),
    (MOD_A[1:], "apply A", 0, MOD_A, ["1 fields changed in 1 weapons"]),
    (MOD_A, "apply --reverse A", 0, [], ["Max ammo: 300 -> Max ammo: 120"]),
    (AC, "apply --reverse A", 1, None, ['A.json expects "Max ammo: 300", the map holds "Max']),
    (AC, "apply --reverse --force A", 0, [], []),
    (AC, "apply --reverse A C", 0, [], []),
    ([], "apply O", 0, MOD_A, []),
    (MOD_A, "apply --reverse O", 2, None, ["O.json: was made by an older diff"]),
    ([], "status A", 1, None, ["A.json: not applied"]),
    (MOD_A, "status A", 0, None, ["A.json: applied"]),
    (MOD_A[1:], "status A", 1, None, ["A.json: partly applied, 1 of 2 fields"]),
    (B, "status A B", 1, None, ["A.json: conflicting:\n  Pistol, Max ammo: ", "B.json: applied",
                                "Max ammo: changed by ../A.json, ../B.json; ../B.json wins"]),
    (AC, "status A C", 0, None, ["A.json: applied\n", "C.json: applied"]),
    ([], "status A C", 1, None, ["A.json: not applied\n", "C.json: not applied"]),
    (MOD_A, "status O", 2, None, ["older diff"]),
]
# Which program makes the patch, which applies it.
PROGRAM_PAIRS = [(CLI, CLI)] + ([(CLI, OTHER_CLI), (OTHER_CLI, CLI)] if OTHER_CLI else [])


class PatchFolders(unittest.TestCase):
    def setUp(self):
        self.top = self.enterContext(tempfile.TemporaryDirectory())
        for name in ("base", "edited", "copy"):
            os.mkdir(os.path.join(self.top, name))
        # The original lies above the folders, under the map's own name.
        self.original = os.path.join(self.top, MAP)
        self.assertEqual(cli(["make-map", MAP], self.top).returncode, 0)

    def folder(self, name, edits=()):
        """A folder holding a copy of the original map with the edits made through the editor,
        whose printed texts go to self.printed."""
        cwd = os.path.join(self.top, name)
        shutil.copyfile(self.original, os.path.join(cwd, MAP))
        self.printed = []
        for edit in edits:
            result = cli(edit, cwd)
            self.assertEqual(result.returncode, 0, f"{edit}: {result.stdout}{result.stderr}")
            self.printed.append(result.stdout)
        return cwd

    # The original and the patch lie above the folders, and are named from there as a user of
    # each system names them.
    def diff(self, cwd, program=CLI, original="../" + MAP, name=PATCH):
        result = cli(["diff", native(original, program)], cwd, program=program, text=False)
        self.assertEqual(result.returncode, 0, result.stderr)
        path = os.path.join(self.top, name)
        with open(path, "wb") as f:
            f.write(result.stdout)
        return path, json.loads(result.stdout)


class PatchTest(PatchFolders):
    def test_round_trip_on_varied_originals(self):
        # The original itself varies: the demo map as built, and with some of the edits made.
        demo = read_map(self.top)
        for base in ([], EDITS[4:6], EDITS[:2]):
            with open(self.original, "wb") as f:
                f.write(demo)
            shutil.copyfile(os.path.join(self.folder("base", base), MAP), self.original)
            edited = self.folder("edited", EDITS)
            for maker, applier in PROGRAM_PAIRS:
                with self.subTest(base=base, maker=maker, applier=applier):
                    self.diff(edited, maker)
                    copy = self.folder("copy")
                    applied = cli(["apply", native("../" + PATCH, applier)], copy, program=applier)
                    self.assertEqual(applied.returncode, 0, applied.stderr)
                    self.assertEqual(read_map(copy), read_map(edited))
                    again = cli(["apply", native("../" + PATCH, applier)], copy, program=applier)
                    self.assertEqual(read_map(copy), read_map(edited))
                    self.assertIn("0 fields changed", again.stdout)

    def test_patch_names_fields_as_the_tree_shows_them(self):
        _, patch = self.diff(self.folder("edited", EDITS))
        by_text = {c["text"]: c for c in patch["changes"]}
        # set and ref print the item as the tree then shows it, which the patch repeats.
        self.assertEqual(sorted(self.printed), sorted(c["text"] + "\n" for c in patch["changes"]))
        for text, field, value in (("Max ammo: -25536", "bytes", "409c"),
                                   ("Zoom 1: 0.100000", "bytes", "cdcccc3d"),
                                   ("Unknown 20: 2.500000", "bytes", "00002040"),
                                   ("Unknown 3: -1", "group", "Unknown longs"),
                                   ("NULL", "weapon", "Warthog"), ("NULL", "index", 1),
                                   ("NULL", "tag", None)):
            self.assertEqual(by_text[text][field], value, text)
        # Row 200's identifier: 0xE174 + 200 above 200, the last of the reference's 16 bytes.
        models = next(c for c in patch["changes"] if c.get("group") == "Models")
        self.assertTrue(models["bytes"].endswith("c8003ce2"), models)

    def test_a_patch_with_any_error_writes_nothing_and_names_each_entry(self):
        path, patch = self.diff(self.folder("edited", EDITS[:1] + EDITS[4:5]))
        value, reference = patch["changes"]
        # Each names what is not there or not so: a weapon, a label, a group, a place, a tag,
        # bytes of the wrong length, a reference's tag, an entry, or one field twice.
        broken = [(dict(value, weapon="Flamethrower"), "weapon"),
                  (dict(value, label="Max health"), "label"),
                  ({k: v for k, v in dict(value, group="Unknown bytes", index=0).items()
                    if k != "label"}, "group"),
                  (dict(reference, index=63), "range"), (dict(value, bytes="409c00"), "bytes"),
                  (dict(reference, tag="no/such/tag"), "catalogue"),
                  (dict(reference, bytes="65"), "bytes"),
                  (dict(value, was={"bytes": "00"}), "was: bytes"),
                  ({k: v for k, v in reference.items() if k != "tag"}, '"tag" and "class"'),
                  ("Pistol", "not an object"), (value, "same field as entry 1")]
        copy = self.folder("copy")
        before = read_map(copy)
        with open(path, "w") as f:
            json.dump({"torvex_patch": 2, "changes": [value] + [b for b, _ in broken]}, f)
        result = cli(["apply", native("../" + PATCH)], copy)
        self.assertEqual(result.returncode, 2)
        lines = result.stderr.splitlines()
        self.assertEqual(len(lines), len(broken))
        for n, (line, (_, why)) in enumerate(zip(lines, broken), start=2):
            self.assertIn(f"entry {n}: ", line)
            self.assertIn(why, line)
        # Whole files that are no patch, each told apart, naming the file.
        os.mkdir(os.path.join(self.top, "folder.json"))
        for name, text, why in (("missing.json", None, "no such file"),
                                ("folder.json", None, "not a file"), (PATCH, "\r\n", "empty"),
                                (PATCH, '{\n  "torvex_patch": 2,\n  x\n}', "line 3, column 3"),
                                (PATCH, "[]", "not a Torvex patch"),
                                (PATCH, '{"torvex_patch": 3, "changes": []}', "newer format, 3")):
            if text is not None:
                with open(path, "w") as f:
                    f.write(text)
            result = cli(["apply", native("../" + name)], copy)
            self.assertEqual(result.returncode, 2, text)
            self.assertIn(f"{name}: ", result.stderr)
            self.assertIn(why, result.stderr)
        self.assertEqual(read_map(copy), before)

    def test_a_patch_saved_in_any_usual_encoding_applies(self):
        path, patch = self.diff(self.folder("edited", EDITS[:2]))
        text = json.dumps(patch, indent=2).replace("\n", "\r\n")
        expected = read_map(self.folder("edited", EDITS[:2]))
        for encoded in (text.encode("utf-8-sig"), text.encode("utf-16"),
                        ("\ufeff" + text).encode("utf-16-be")):
            with open(path, "wb") as f:
                f.write(encoded)
            copy = self.folder("copy")
            result = cli(["apply", native("../" + PATCH)], copy)
            self.assertEqual((result.returncode, read_map(copy)), (0, expected), result.stderr)

    def test_mods_check_stack_conflict_come_off_and_tell_their_status(self):
        for name, (base, edits) in MADE.items():
            shutil.copyfile(os.path.join(self.folder("base", base), MAP),
                            os.path.join(self.top, "base.map"))
            self.diff(self.folder("edited", base + edits), original="../base.map",
                      name=name + ".json")
        with open(os.path.join(self.top, "A.json")) as f:
            old = json.load(f)
        for change in old["changes"]:
            del change["was"]
        with open(os.path.join(self.top, "O.json"), "w") as f:
            json.dump(dict(old, torvex_patch=1), f)
        for edits, args, status, after, texts in MOD_ROWS:
            with self.subTest(edits=edits, args=args):
                copy = self.folder("copy", edits)
                expected = read_map(copy if after is None else self.folder("edited", after))
                result = cli([native(f"../{a}.json") if len(a) == 1 else a
                              for a in args.split()], copy)
                self.assertEqual(result.returncode, status, result.stdout + result.stderr)
                self.assertTrue(read_map(copy) == expected, "the maps differ")
                for text in texts:
                    self.assertIn(native(text) if "json" in text else text,
                                  result.stdout + result.stderr)

    def test_what_the_editor_cannot_change_stays_out_of_the_patch(self):
        edited = self.folder("edited")
        with open(os.path.join(edited, MAP), "r+b") as f:
            # Pistol (meta offset 0x027EBA14): a class byte of its first reference (main block
            # 0x028) and the reserved word of its second; and the flamethrower's first value.
            for offset in (0x027EBA14 + 0x028, 0x027EBA14 + 0x038 + 8, 0x029D183C):
                f.seek(offset)
                f.write(b"X")
        result = cli(["diff", native("../" + MAP)], edited)
        self.assertEqual(result.returncode, 0)
        self.assertEqual(json.loads(result.stdout)["changes"], [])
        self.assertEqual(len(result.stderr.splitlines()), 3, result.stderr)
        self.assertEqual(cli(["diff", "missing.map"], edited).returncode, 2)
        # Each reference is named where the tree shows it: ref at that place rewrites the very
        # 16-byte slot that holds the damaged byte.
        original = read_map(self.top)
        for line, slot in zip(result.stderr.splitlines(), (0x027EBA14 + 0x028, 0x027EBA14 + 0x038)):
            place = re.search(r"Pistol: reference (\d+) of ([^:]+): ", line)
            self.assertIsNotNone(place, line)
            edits = [["ref", "Pistol", place[2], place[1], "5"]]
            self.assertNotEqual(read_map(self.folder("copy", edits))[slot:slot + 16],
                                original[slot:slot + 16], line)

    def test_diff_refuses_a_map_cut_short(self):
        demo = read_map(self.top)
        # Empty, cut before the first weapon, and in the middle of the Pistol's record.
        for length in (0, 0x100000, 0x027EBA14 + 0x100):
            for name in (native("../" + MAP), MAP):
                with self.subTest(length=length, name=name):
                    with open(self.original, "wb") as f:
                        f.write(demo)
                    edited = self.folder("edited", EDITS[:1])
                    os.truncate(os.path.join(edited, name.replace("\\", "/")), length)
                    result = cli(["diff", native("../" + MAP)], edited)
                    self.assertEqual((result.returncode, result.stdout), (2, ""))
                    self.assertIn(f"torvex-cli: {name}: ", result.stderr)


# CTest runs this table on the plain build alone (tests/CMakeLists.txt tells why).
@unittest.skipIf(for_windows(CLI), "strace plays faults on the Linux program")
class WriteFaultTest(PatchFolders):
    """strace makes each write of a two-weapon apply fail in turn, then kills the program at each:
    the failure is never reported as done, status tells how much the map holds, and the same
    command run again leaves the map as an apply with no fault does."""

    def test_each_write_failed_and_killed_in_turn(self):
        edits = [e for e in EDITS if e[1] in ("Pistol", "Shotgun")]
        path, patch = self.diff(self.folder("edited", edits))
        expected, copy = read_map(self.folder("edited", edits)), self.folder("copy")
        apply = ["apply", "../" + PATCH]
        traced = subprocess.run(["strace", "-o", "../trace", "-e", "trace=write", CLI] + apply,
                                cwd=copy)
        with open(os.path.join(self.top, "trace")) as f:
            points = len(re.findall(r"^write\(3,", f.read(), re.M))
        self.assertGreater(points, 2, traced)
        total, original = len(patch["changes"]), read_map(self.top)
        # The blocks an apply changes, to put back before each fault.
        blocks = [b for b in range(0, len(expected), 4096)
                  if expected[b:b + 4096] != original[b:b + 4096]]
        for fault in ("error=EIO", "signal=KILL"):
            for n in range(1, points + 1):
                with self.subTest(fault=fault, write=n):
                    with open(os.path.join(copy, MAP), "r+b") as f:
                        for b in blocks:
                            f.seek(b)
                            f.write(original[b:b + 4096])
                    inject = f"inject=write:{fault}:when={n}"
                    faulted = subprocess.run(["strace", "-o", os.devnull, "-e", inject, CLI]
                                             + apply, cwd=copy, capture_output=True, text=True)
                    self.assertNotIn("fields changed", faulted.stdout)
                    if fault == "error=EIO":
                        self.assertEqual(faulted.returncode, 3)
                        self.assertIn("not written to cache003.map", faulted.stderr)
                    held = len(json.loads(cli(["diff", "../" + MAP], copy).stdout)["changes"])
                    told = {0: "not applied", total: "applied"}.get(
                        held, f"partly applied, {held} of {total} fields")
                    self.assertIn(f"{PATCH}: {told}\n", cli(["status", "../" + PATCH], copy).stdout)
                    self.assertEqual(cli(apply, copy).returncode, 0)
                    self.assertTrue(read_map(copy) == expected, "the maps differ")


if __name__ == "__main__":
    unittest.main()
