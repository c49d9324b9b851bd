"""The folders' includes point one way: core <- catalogue <- weapon <- editor/app -> platform
<- backends, with the tools, the demo builder, the mods and torvex-cli on top. A new include against that
direction fails here, before it grows into a cycle."""
import pathlib
import re
import unittest

TOP = pathlib.Path(__file__).resolve().parent.parent
ENGINE = {"core", "catalogue", "weapon"}
INTERFACE = {"platform", "res"}
ALLOWED = {
    "core": {"core"},
    "catalogue": {"core", "catalogue"},
    "weapon": {"core", "catalogue", "weapon"},
    "platform": {"platform"},
    "platform/headless": {"platform", "platform/headless"},
    "platform/qt": {"platform", "platform/qt"},
    "platform/win32": {"platform", "platform/win32"},
    "res": {"platform", "res"},
    "editor": ENGINE | INTERFACE | {"editor", "app"},
    "app": ENGINE | INTERFACE | {"editor", "app"},
    "demo": ENGINE | {"demo", "tools"},  # it writes the index layout the map tools read
    "tools": ENGINE | {"tools"},
    "mods": ENGINE | INTERFACE | {"editor", "app", "tools", "mods"},
    "cli": ENGINE | INTERFACE | {"editor", "app", "demo", "tools", "mods", "cli",
                                 "platform/headless"},
}
INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"', re.M)


def folder_of(path):
    parts = pathlib.PurePosixPath(path).parts
    nested = "/".join(parts[:2])
    return nested if nested in ALLOWED else parts[0]


class IncludeGraphTest(unittest.TestCase):
    def test_every_include_points_down_the_layers(self):
        wrong = []
        for folder, allowed in ALLOWED.items():
            for source in (TOP / folder).glob("*.[ch]*"):
                for target in INCLUDE.findall(source.read_text()):
                    if "/" in target and folder_of(target) not in allowed:
                        wrong.append(f"{source.relative_to(TOP)} includes {target}")
        self.assertEqual(wrong, [])


if __name__ == "__main__":
    unittest.main()
