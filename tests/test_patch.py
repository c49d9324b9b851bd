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
import tempfile
import unittest

from tests.torvex_cli import CLI, MAP, OTHER_CLI, cli, native, read_map

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
# Which program makes the patch, which applies it.
PROGRAM_PAIRS = [(CLI, CLI)] + ([(CLI, OTHER_CLI), (OTHER_CLI, CLI)] if OTHER_CLI else [])


class PatchTest(unittest.TestCase):
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
            self.assertEqual(result.returncode, 0, edit)
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
        broken = [(dict(value, weapon="Flamethrower"), "weapon"), (dict(value, label="Max health"), "label"),
                  ({k: v for k, v in dict(value, group="Unknown bytes", index=0).items()
                    if k != "label"}, "group"),
                  (dict(reference, index=63), "range"), (dict(value, bytes="409c00"), "bytes"),
                  (dict(reference, tag="no/such/tag"), "catalogue"), (dict(reference, bytes="65"), "bytes"),
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
        for name, text, why in (("missing.json", None, "no such file"), ("folder.json", None, "not a file"),
                                (PATCH, "\r\n", "empty"), (PATCH, '{\n  "torvex_patch": 2,\n  x\n}', "line 3, column 3"),
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
        for encoded in (text.encode("utf-8-sig"), text.encode("utf-16"), "\ufeff".encode("utf-16-be") + text.encode("utf-16-be")):
            with open(path, "wb") as f:
                f.write(encoded)
            copy = self.folder("copy")
            result = cli(["apply", native("../" + PATCH)], copy)
            self.assertEqual((result.returncode, read_map(copy)), (0, expected), result.stderr)

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


if __name__ == "__main__":
    unittest.main()
