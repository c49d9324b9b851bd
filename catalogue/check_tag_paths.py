#!/usr/bin/env python3
"""Checks a tag path list before anything is compiled from it.

Each line is the path of one catalogue row: the tag's name, a full stop and its class code.
The editor finds weapons by row and patches names at fixed file offsets, so a list that is
merely plausible is not enough: row classes, weapon rows and the packed name offsets have to
agree with the map the catalogue describes.

Usage: check_tag_paths.py FILE
Exits 0 when FILE is sound; otherwise prints the first broken rule and exits 1.

check(lines) and check_bytes(data) return every problem found, as "rule: detail" strings in a
fixed rule order, so the first one names the first broken rule.
"""
import sys

ROW_COUNT = 1806

CLASS_COUNTS = {
    "bitm": 368, "effe": 318, "snd!": 315, "soso": 106, "part": 96, "jpt!": 66, "mode": 63,
    "deca": 39, "coll": 36, "ligh": 32, "DeLa": 30, "pphy": 30, "sotr": 26, "lens": 22,
    "schi": 20, "antr": 19, "scen": 19, "wphi": 17, "proj": 16, "weap": 15, "eqip": 14,
    "lsnd": 14, "senv": 14, "itmc": 12, "cont": 8, "ustr": 8, "mgs2": 7, "pctl": 7, "smet": 7,
    "sgla": 6, "foot": 5, "trak": 5, "unhi": 5, "colo": 4, "font": 4, "actv": 3, "ant!": 3,
    "phys": 3, "vehi": 3, "bipd": 2, "grhi": 2, "metr": 2,
    "Soul": 1, "flag": 1, "hm": 1, "hud#": 1, "hudg": 1, "matg": 1, "sbsp": 1, "scnr": 1,
    "sky": 1, "snde": 1, "spla": 1, "ssce": 1, "str#": 1, "udlg": 1, "wind": 1,
}
assert len(CLASS_COUNTS) == 57
assert sum(CLASS_COUNTS.values()) == ROW_COUNT

# Rows whose class the editor relies on without looking at the path.
FIXED_CLASSES = {0: "scnr", 122: "bitm", 1691: "metr", 1692: "metr", 1693: "effe", 1764: "sbsp"}

WEAPON_PATHS = {
    237: "weapons/assault rifle/assault rifle.weap",
    476: "weapons/pistol/pistol.weap",
    658: "vehicles/warthog/warthog gun.weap",
    767: "vehicles/scorpion/scorpion cannon.weap",
    861: "vehicles/ghost/ghost gun.weap",
    918: "weapons/shotgun/shotgun.weap",
    1005: "weapons/plasma rifle/plasma rifle.weap",
    1100: "weapons/rocket launcher/rocket launcher.weap",
    1172: "weapons/sniper rifle/sniper rifle.weap",
    1281: "weapons/plasma pistol/plasma pistol.weap",
    1449: "weapons/flamethrower/flamethrower.weap",
    1501: "weapons/gravity rifle/gravity rifle.weap",
    1508: "weapons/needler/needler.weap",
    1587: "weapons/ball/ball.weap",
    1601: "weapons/flag/flag.weap",
}
assert len(WEAPON_PATHS) == CLASS_COUNTS["weap"]

FIXED_PATHS = dict(WEAPON_PATHS)
FIXED_PATHS[1804] = "sound/sfx/ambience/multiplayer/countryday2.snd!"
FIXED_PATHS[1805] = "sound/sound environments/mountains.snde"

# Names lie packed in the map file, each followed by a NUL; the editor writes at these offsets.
FIRST_NAME_OFFSET = 0x023497E4
NAME_OFFSETS = {
    122: 0x0234AF65,
    237: 0x0234C214,
    1691: 0x0235A816,
    1692: 0x0235A82B,
    1693: 0x0235A83E,
    1764: 0x0235B26E,
    1804: 0x0235B926,
    1805: 0x0235B951,
}

LONGEST_ROW = 122
LONGEST_NAME = 85
LONGEST_OTHER_NAME = 84
SHORTEST_NAME = 11

MAX_REPORTS_PER_RULE = 5


def split_path(path):
    """Returns (name, class code); the code is '' when the path has no full stop."""
    if "." not in path:
        return path, ""
    name, code = path.rsplit(".", 1)
    return name, code


def name_offsets(lines):
    offsets = [FIRST_NAME_OFFSET]
    for path in lines[:-1]:
        offsets.append(offsets[-1] + len(split_path(path)[0]) + 1)
    return offsets


def _rule_row_count(lines):
    if len(lines) != ROW_COUNT:
        yield f"{len(lines)} rows, expected {ROW_COUNT}"


def _rule_path_syntax(lines):
    for row, path in enumerate(lines):
        dots = path.count(".")
        if dots != 1:
            yield f"row {row} {path!r} has {dots} full stops, expected exactly one"
            continue
        code = split_path(path)[1]
        if not 2 <= len(code) <= 4:
            yield f"row {row} class code {code!r} is not 2 to 4 characters"


def _rule_characters(lines):
    for row, path in enumerate(lines):
        name = split_path(path)[0]
        bad = [c for c in path if not " " <= c <= "~"]
        if bad:
            yield f"row {row} holds a character outside printable ASCII: {bad[0]!r}"
        elif "\\" in path:
            yield f"row {row} holds a backslash"
        elif name != name.strip(" "):
            yield f"row {row} name {name!r} has a leading or trailing blank"


def _rule_class_counts(lines):
    counts = {}
    for path in lines:
        code = split_path(path)[1]
        counts[code] = counts.get(code, 0) + 1
    for code, want in CLASS_COUNTS.items():
        have = counts.get(code, 0)
        if have != want:
            yield f"class {code!r} has {have} rows, expected {want}"
    for code in sorted(counts):
        if code not in CLASS_COUNTS:
            yield f"unknown class {code!r} on {counts[code]} rows"


def _rule_fixed_rows(lines):
    for row, code in FIXED_CLASSES.items():
        if row < len(lines) and split_path(lines[row])[1] != code:
            yield f"row {row} {lines[row]!r} should be of class {code!r}"
    for row in (1804, 1805):
        if row < len(lines) and lines[row] != FIXED_PATHS[row]:
            yield f"row {row} is {lines[row]!r}, expected {FIXED_PATHS[row]!r}"


def _rule_weapons(lines):
    for row, want in WEAPON_PATHS.items():
        if row < len(lines) and lines[row] != want:
            yield f"row {row} is {lines[row]!r}, expected {want!r}"
    for row, path in enumerate(lines):
        if split_path(path)[1] == "weap" and row not in WEAPON_PATHS:
            yield f"row {row} {path!r} is a weapon outside the weapon rows"


def _rule_name_packing(lines):
    offsets = name_offsets(lines)
    for row, want in NAME_OFFSETS.items():
        if row < len(offsets) and offsets[row] != want:
            yield f"row {row} name lies at 0x{offsets[row]:08X}, expected 0x{want:08X}"


def _rule_name_lengths(lines):
    lengths = [len(split_path(path)[0]) for path in lines]
    if not lengths:
        return
    if LONGEST_ROW < len(lengths) and lengths[LONGEST_ROW] != LONGEST_NAME:
        yield (f"row {LONGEST_ROW} name has {lengths[LONGEST_ROW]} characters, "
               f"expected {LONGEST_NAME}")
    for row, length in enumerate(lengths):
        if row != LONGEST_ROW and length > LONGEST_OTHER_NAME:
            yield f"row {row} name has {length} characters, at most {LONGEST_OTHER_NAME} allowed"
        if length < SHORTEST_NAME:
            yield f"row {row} name has {length} characters, at least {SHORTEST_NAME} needed"
    if min(lengths) > SHORTEST_NAME:
        yield f"shortest name has {min(lengths)} characters, expected exactly {SHORTEST_NAME}"


def _rule_unique(lines):
    seen = {}
    for row, path in enumerate(lines):
        if path in seen:
            yield f"row {row} repeats row {seen[path]}: {path!r}"
        else:
            seen[path] = row


RULES = [
    ("row-count", _rule_row_count),
    ("path-syntax", _rule_path_syntax),
    ("characters", _rule_characters),
    ("class-counts", _rule_class_counts),
    ("fixed-rows", _rule_fixed_rows),
    ("weapons", _rule_weapons),
    ("name-packing", _rule_name_packing),
    ("name-lengths", _rule_name_lengths),
    ("unique", _rule_unique),
]


def check(lines):
    """Returns the problems of a path list (one path per item, no line ends), rule by rule."""
    problems = []
    for rule, test in RULES:
        for count, detail in enumerate(test(list(lines))):
            if count == MAX_REPORTS_PER_RULE:
                problems.append(f"{rule}: ... and more")
                break
            problems.append(f"{rule}: {detail}")
    return problems


def check_bytes(data):
    """Like check(), for the file as stored: plain ASCII, LF line ends, the last one too."""
    try:
        text = data.decode("ascii")
    except UnicodeDecodeError as error:
        return [f"encoding: byte 0x{data[error.start]:02X} at {error.start} is not ASCII"]
    if "\r" in text:
        return ["line-ends: carriage return found; lines must end in a bare line feed"]
    if not text.endswith("\n"):
        return ["line-ends: the last line does not end in a line feed"]
    return check(text[:-1].split("\n"))


def main(argv):
    if len(argv) != 2:
        print(__doc__.strip(), file=sys.stderr)
        return 2
    try:
        with open(argv[1], "rb") as f:
            data = f.read()
    except OSError as error:
        print(f"{argv[1]}: {error.strerror}", file=sys.stderr)
        return 2
    problems = check_bytes(data)
    if problems:
        print(f"{argv[1]}: {problems[0]}", file=sys.stderr)
        if len(problems) > 1:
            print(f"({len(problems) - 1} more problems)", file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
