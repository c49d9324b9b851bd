"""The README's, the Windows README's and the manual pages' examples, run on the demo map: what
the programs print must be what the pages say, so that the pages cannot drift from the programs.

Run by CTest with TORVEX_CLI set to the built program. The pages name the committed catalogue's
tags.
"""
import re
import unittest

from tests.torvex_cli import DemoFolder, cli as run

README, WINDOWS, TORVEX, TORVEX_CLI = ("README.md", "doc/README-windows.txt.in", "doc/torvex.1.in",
                                       "doc/torvex-cli.1.in")
Q = r'(?:"|\\\(dq)'  # a double quote, in Markdown or in roff


def under(weapon, tree):
    lines = tree.splitlines()
    start = lines.index(weapon) + 1
    return lines[start:next(i for i in range(start, len(lines) + 1)
                            if i == len(lines) or not lines[i].startswith(" "))]


def set_pistol(label, value):
    return ["set", "Pistol", label, value], ""


# The pages that make a claim; the claim, found in each; the command that shows it, from the
# claim's groups; and whether what the command printed bears the claim out.
EXAMPLES = [
    ([README, WINDOWS], r'for example "(Max ammo: \d+)" under "?(\w+)', lambda m: (["tree"], ""),
     lambda m, out: "  " + m[1] in under(m[2], out)),
    ([README], r"`24` and `(24 \w+)` both give 24", lambda m: set_pistol("Max ammo", m[1]),
     lambda m, out: out == "Max ammo: 24\n"),
    ([README], r"so (\d+) becomes (-\d+)", lambda m: set_pistol("Max ammo", m[1]),
     lambda m, out: out == f"Max ammo: {m[2]}\n"),
    ([README], r"so (\d+\.\d+) is kept as the nearest such number and shows as (\d+\.\d+)",
     lambda m: set_pistol("Zoom 1", m[1]), lambda m, out: out == f"Zoom 1: {m[2]}\n"),
    ([README, TORVEX], r"but its last \((\d+) of its \d+\)",
     lambda m: (["session"], "select 1.7.0\ncheck\nentries\n"),
     lambda m, out: len(out.splitlines()) - 1 == int(m[1])),  # and "-1: NULL"
    ([README, TORVEX_CLI], rf"set Pistol {Q}Max ammo{Q} (\d+)",
     lambda m: set_pistol("Max ammo", m[1]), lambda m, out: out == f"Max ammo: {m[1]}\n"),
    ([README, TORVEX_CLI], rf"set Pistol {Q}Unknown shorts{Q} (\d+) \\?(-\d+)",
     lambda m: (["set", "Pistol", "Unknown shorts", m[1], m[2]], ""),
     lambda m, out: out == f"Unknown {m[1]}: {m[2]}\n"),
    ([TORVEX_CLI], r"printf '(.*?)' \| torvex\\-cli session",
     lambda m: (["session"], m[1].replace(r"\en", "\n")), lambda m, out: out == "Max ammo: 24\n"),
]


class PageExamplesTest(unittest.TestCase):
    def test_the_pages_examples_print_what_the_pages_say(self):
        for pages, claim, command, holds in EXAMPLES:
            for page in pages:
                with open(page) as f:
                    found = list(re.finditer(claim, " ".join(f.read().split())))
                self.assertTrue(found, f"{page} no longer says {claim}")
                for m in found:
                    with self.subTest(page=page, claim=m[0]), DemoFolder() as cwd:
                        args, stdin = command(m)
                        result = run(args, cwd, stdin)
                        self.assertEqual(result.returncode, 0, result.stderr)
                        self.assertTrue(holds(m, result.stdout), result.stdout[:200])


if __name__ == "__main__":
    unittest.main()
