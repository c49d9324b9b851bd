"""Tests for the catalogue's tag path list, its generator and its checker.

Run from the repository root: python3 -m unittest tests/test_tag_paths.py
"""
import functools
import os
import subprocess
import sys
import tempfile
import unittest

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
CATALOGUE = os.path.join(ROOT, "catalogue")
sys.path.insert(0, CATALOGUE)

import check_tag_paths as rules  # noqa: E402
import gen_tag_paths  # noqa: E402

COMMITTED = os.path.join(CATALOGUE, "tag_paths.txt")
GENERATOR = os.path.join(CATALOGUE, "gen_tag_paths.py")
CHECKER = os.path.join(CATALOGUE, "check_tag_paths.py")


@functools.lru_cache(maxsize=None)
def generated(seed):
    return tuple(gen_tag_paths.generate(seed))


def committed_bytes():
    with open(COMMITTED, "rb") as f:
        return f.read()


def committed_lines():
    return committed_bytes().decode("ascii").split("\n")[:-1]


def rule_of(problem):
    return problem.split(":", 1)[0]


class CommittedListTest(unittest.TestCase):
    def test_committed_list_is_what_seed_0_generates(self):
        with tempfile.TemporaryDirectory() as tmp:
            out = os.path.join(tmp, "tag_paths.txt")
            # A hash seed other than the caller's shows the output does not depend on it.
            env = dict(os.environ, PYTHONHASHSEED="4242", LC_ALL="C")
            subprocess.run([sys.executable, GENERATOR, out], check=True, env=env)
            with open(out, "rb") as f:
                fresh = f.read()
        self.assertEqual(fresh, committed_bytes())

    def test_committed_list_passes_check(self):
        self.assertEqual(rules.check_bytes(committed_bytes()), [])

    def test_checker_command_accepts_committed_list(self):
        result = subprocess.run([sys.executable, CHECKER, COMMITTED], capture_output=True,
                                text=True)
        self.assertEqual(result.returncode, 0, result.stderr)

    def test_committed_list_has_the_fixed_rows(self):
        lines = committed_lines()
        self.assertEqual(len(lines), 1806)
        self.assertEqual(lines[237], "weapons/assault rifle/assault rifle.weap")
        self.assertEqual(lines[1805], "sound/sound environments/mountains.snde")
        self.assertEqual(len(lines[122].rsplit(".", 1)[0]), 85)
        self.assertEqual(rules.name_offsets(lines)[1764], 0x0235B26E)


class OtherSeedsTest(unittest.TestCase):
    def test_other_seeds_pass_check(self):
        # The generator has no slack to spare, so try a good spread of seeds.
        for seed in range(1, 21):
            with self.subTest(seed=seed):
                self.assertEqual(rules.check(list(generated(seed))), [])

    def test_another_seed_gives_another_list(self):
        first, second = generated(0), generated(1)
        differing = sum(a != b for a, b in zip(first, second))
        # Everything but the fixed paths is free to change, and most of it should.
        self.assertGreater(differing, len(first) // 2)
        for row, path in rules.FIXED_PATHS.items():
            self.assertEqual(first[row], path)
            self.assertEqual(second[row], path)

    def test_seed_option_of_the_command(self):
        with tempfile.TemporaryDirectory() as tmp:
            out = os.path.join(tmp, "paths.txt")
            subprocess.run([sys.executable, GENERATOR, "--seed", "1", out], check=True)
            with open(out, "rb") as f:
                data = f.read()
        self.assertEqual(data, ("\n".join(generated(1)) + "\n").encode("ascii"))


# Mutations of a sound list. Each helper returns a new list; names keep within the rules that
# the mutation is not about, so exactly the intended rule breaks.


def name_and_code(path):
    return rules.split_path(path)


def set_name(lines, row, name):
    lines[row] = f"{name}.{name_and_code(lines[row])[1]}"


def free_rows(lines, first, last):
    """Rows in first..last that have no fixed class or path, with name lengths in 20..70."""
    fixed = set(rules.FIXED_PATHS) | set(rules.FIXED_CLASSES)
    return [r for r in range(first, last + 1)
            if r not in fixed and 20 <= len(name_and_code(lines[r])[0]) <= 70]


def resize(lines, row, delta):
    """Lengthens (delta > 0) or shortens a name without leaving a blank at its end."""
    name = name_and_code(lines[row])[0]
    name = name + "q" * delta if delta >= 0 else name[:delta]
    if name.endswith(" "):
        name = name[:-1] + "q"
    set_name(lines, row, name)


def partner(lines, rows, exclude, delta):
    """A row whose name can change by delta and stay within 12..84 characters."""
    return next(r for r in rows if r != exclude
                and 12 <= len(name_and_code(lines[r])[0]) + delta <= 84)


def longer_name(lines):
    resize(lines, free_rows(lines, 300, 400)[0], 1)
    return lines


def traded_length(lines):
    # Within one span between fixed offsets the total still adds up.
    a, b = free_rows(lines, 300, 400)[:2]
    resize(lines, a, 3)
    resize(lines, b, -3)
    return lines


def duplicate_path(lines):
    rows = free_rows(lines, 237, 1690)
    seen = {}
    for r in rows:
        name, code = name_and_code(lines[r])
        key = (code, len(name))
        if key in seen:
            lines[r] = lines[seen[key]]
            return lines
        seen[key] = r
    raise AssertionError("no two rows of one class with equal name lengths")


def class_moved(lines):
    row = next(r for r in free_rows(lines, 300, 400) if lines[r].endswith(".bitm"))
    lines[row] = lines[row][:-len("bitm")] + "effe"
    return lines


def unknown_class(lines):
    row = free_rows(lines, 300, 400)[0]
    lines[row] = name_and_code(lines[row])[0] + ".zzzz"
    return lines


def scenario_swapped(lines):
    # Counts stay right, but row 0 is no longer the scenario.
    a, b = lines[0], lines[1]
    lines[0] = name_and_code(a)[0] + "." + name_and_code(b)[1]
    lines[1] = name_and_code(b)[0] + "." + name_and_code(a)[1]
    return lines


def weapon_swapped(lines):
    a, b = lines[237], lines[238]
    lines[237] = name_and_code(a)[0] + "." + name_and_code(b)[1]
    lines[238] = name_and_code(b)[0] + "." + name_and_code(a)[1]
    return lines


def too_short_name(lines):
    rows = free_rows(lines, 300, 400)
    a = rows[0]
    delta = len(name_and_code(lines[a])[0]) - 10
    b = partner(lines, rows, a, delta)
    set_name(lines, a, "effects/zz")
    resize(lines, b, delta)
    return lines


def second_longest_name(lines):
    rows = free_rows(lines, 237, 1690)
    a = max(rows, key=lambda r: len(name_and_code(lines[r])[0]))
    delta = len(name_and_code(lines[a])[0]) - 85
    b = partner(lines, rows, a, delta)
    set_name(lines, a, "effects/" + "q" * 77)
    resize(lines, b, delta)
    return lines


def shortest_name_lengthened(lines):
    lengths = [len(name_and_code(p)[0]) for p in lines]
    short = [r for r, n in enumerate(lengths) if n == rules.SHORTEST_NAME]
    for r in short:
        # Keep each span's total by taking the character from a neighbour in the same span.
        span = next((s, e) for s, e, _t in gen_tag_paths.segments() if s <= r < e)
        other = next(x for x in free_rows(lines, span[0], span[1] - 1) if x != r)
        resize(lines, r, 1)
        resize(lines, other, -1)
    return lines


def full_stop_in_name(lines):
    row = next(r for r in free_rows(lines, 300, 400) if " " in lines[r])
    lines[row] = lines[row].replace(" ", ".", 1)
    return lines


def trailing_blank(lines):
    row = free_rows(lines, 300, 400)[0]
    name = name_and_code(lines[row])[0]
    set_name(lines, row, name[:-1] + " ")
    return lines


def backslash(lines):
    row = free_rows(lines, 300, 400)[0]
    lines[row] = lines[row].replace("/", "\\", 1)
    return lines


def not_ascii(lines):
    row = free_rows(lines, 300, 400)[0]
    lines[row] = "\u00e9" + lines[row][1:]
    return lines


def missing_row(lines):
    return lines[:-1]


def ambience_renamed(lines):
    lines[1804] = lines[1804].replace("countryday2", "countryday3")
    return lines


MUTATIONS = [
    # description, mutation, the rule that must report it (None: the list stays valid)
    ("a name one character longer", longer_name, "name-packing"),
    ("the same path twice", duplicate_path, "unique"),
    ("a bitmap turned into an effect", class_moved, "class-counts"),
    ("an unknown class code", unknown_class, "class-counts"),
    ("the scenario off row 0", scenario_swapped, "fixed-rows"),
    ("a weapon off its row", weapon_swapped, "weapons"),
    ("a ten-character name", too_short_name, "name-lengths"),
    ("a second 85-character name", second_longest_name, "name-lengths"),
    ("no 11-character name left", shortest_name_lengthened, "name-lengths"),
    ("a full stop inside a name", full_stop_in_name, "path-syntax"),
    ("a name ending in a blank", trailing_blank, "characters"),
    ("a backslash", backslash, "characters"),
    ("a character outside ASCII", not_ascii, "characters"),
    ("a row short", missing_row, "row-count"),
    ("a fixed ambience path changed", ambience_renamed, "fixed-rows"),
    ("lengths traded inside one span", traded_length, None),
]


class CheckerTest(unittest.TestCase):
    def test_mutations(self):
        for description, mutate, rule in MUTATIONS:
            with self.subTest(description):
                lines = mutate(committed_lines())
                problems = rules.check(lines)
                if rule is None:
                    self.assertEqual(problems, [])
                    continue
                self.assertTrue(problems, "nothing reported")
                self.assertEqual(rule_of(problems[0]), rule, problems)
                # Mutations other than a missing row touch one rule only.
                if rule != "row-count":
                    self.assertEqual({rule_of(p) for p in problems}, {rule}, problems)

    def test_file_format(self):
        text = committed_bytes()
        cases = [
            ("carriage returns", text.replace(b"\n", b"\r\n"), "line-ends"),
            ("no final line feed", text[:-1], "line-ends"),
            ("a Latin-1 byte", text.replace(b"ball", b"b\xe4ll", 1), "encoding"),
            ("an empty last line", text + b"\n", "row-count"),
        ]
        for description, data, rule in cases:
            with self.subTest(description):
                problems = rules.check_bytes(data)
                self.assertTrue(problems)
                self.assertEqual(rule_of(problems[0]), rule, problems)

    def test_checker_command_names_the_broken_rule(self):
        with tempfile.TemporaryDirectory() as tmp:
            path = os.path.join(tmp, "paths.txt")
            with open(path, "w", encoding="ascii", newline="\n") as f:
                f.write("\n".join(longer_name(committed_lines())) + "\n")
            result = subprocess.run([sys.executable, CHECKER, path], capture_output=True,
                                    text=True)
        self.assertEqual(result.returncode, 1)
        self.assertIn("name-packing", result.stderr)


if __name__ == "__main__":
    unittest.main()
