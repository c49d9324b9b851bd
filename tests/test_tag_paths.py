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


# Mutations of the committed list, each breaking one rule (None: the list stays valid). Each
# changes rows of a span between fixed name offsets that have no fixed class or path.


def name(path):
    return rules.split_path(path)[0]


def free_row(lines, condition=lambda path: True, after=300):
    fixed = set(rules.FIXED_PATHS) | set(rules.FIXED_CLASSES)
    return next(r for r in range(after, 1600) if r not in fixed and condition(lines[r])
                and 20 <= len(name(lines[r])) <= 70)


def rename(lines, row, new_name):
    lines[row] = new_name + "." + rules.split_path(lines[row])[1]


def longer_name(lines):
    row = free_row(lines)
    rename(lines, row, name(lines[row]) + "q")


def traded_length(lines):
    a = free_row(lines)
    b = free_row(lines, lambda path: not name(path)[:-3].endswith(" "), a + 1)
    rename(lines, a, name(lines[a]) + "qqq")
    rename(lines, b, name(lines[b])[:-3])


def shortest_names_lengthened(lines):
    for row, path in enumerate(lines):
        if len(name(path)) == rules.SHORTEST_NAME:
            rename(lines, row, name(path) + "q")


def same_path_twice(lines):
    row = free_row(lines)
    lines[row + 1] = lines[row]


def blank_at_the_end(lines):
    row = free_row(lines)
    rename(lines, row, name(lines[row])[:-1] + " ")


def replace_in(row_of, old, new):
    def mutate(lines):
        row = row_of(lines)
        lines[row] = lines[row].replace(old, new, 1)
    return mutate


def bitmap(lines):
    return free_row(lines, lambda path: path.endswith(".bitm"))


MUTATIONS = [
    ("a name one character longer", longer_name, "name-packing"),
    ("the same path twice", same_path_twice, "unique"),
    ("a bitmap turned into an effect", replace_in(bitmap, ".bitm", ".effe"), "class-counts"),
    ("an unknown class code", replace_in(bitmap, ".bitm", ".zzzz"), "class-counts"),
    ("the scenario off row 0", replace_in(lambda l: 0, ".scnr", ".bitm"), "fixed-rows"),
    ("a weapon off its row", replace_in(lambda l: 237, "assault", "battle"), "weapons"),
    ("a ten-character name", lambda l: rename(l, free_row(l), "effects/zz"), "name-lengths"),
    ("a second 85-character name", lambda l: rename(l, free_row(l), "effects/" + "q" * 77),
     "name-lengths"),
    ("no 11-character name left", shortest_names_lengthened, "name-lengths"),
    ("a full stop inside a name", replace_in(lambda l: free_row(l, lambda p: " " in p), " ", "."),
     "path-syntax"),
    ("a name ending in a blank", blank_at_the_end, "characters"),
    ("a backslash", replace_in(free_row, "/", "\\"), "characters"),
    ("a character outside ASCII", replace_in(free_row, "/", "\u00e9/"), "characters"),
    ("a row short", lambda l: l.pop(), "row-count"),
    ("a fixed ambience path changed", replace_in(lambda l: 1804, "countryday2", "countryday3"),
     "fixed-rows"),
    ("lengths traded inside one span", traded_length, None),
]


class CheckerTest(unittest.TestCase):
    def test_mutations(self):
        rule_named = dict(rules.RULES)
        for description, mutate, rule in MUTATIONS:
            with self.subTest(description):
                lines = committed_lines()
                mutate(lines)
                if rule is None:
                    self.assertEqual(rules.check(lines), [])
                else:
                    self.assertTrue(list(rule_named[rule](lines)), "nothing reported")

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

    def test_checker_command_accepts_the_committed_list_and_names_a_broken_rule(self):
        self.assertEqual(subprocess.run([sys.executable, CHECKER, COMMITTED]).returncode, 0)
        with tempfile.TemporaryDirectory() as tmp:
            path = os.path.join(tmp, "paths.txt")
            lines = committed_lines()
            longer_name(lines)
            with open(path, "w", encoding="ascii", newline="\n") as f:
                f.write("\n".join(lines) + "\n")
            result = subprocess.run([sys.executable, CHECKER, path], capture_output=True,
                                    text=True)
        self.assertEqual(result.returncode, 1)
        self.assertIn("name-packing", result.stderr)


if __name__ == "__main__":
    unittest.main()
