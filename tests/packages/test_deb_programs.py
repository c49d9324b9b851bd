"""The Debian package's programs run from a scratch root that holds nothing but the package's
files, in a scratch folder, with the source tree (and the build beside it) hidden behind an
empty folder, so nothing they do can lean on either."""
import json
import os
import subprocess
import tempfile
import unittest

from packages import COMMIT, TOP, VERSION, extracted_deb

MAP = "cache003.map"
# A mount namespace of its own, where the source tree is an empty folder.
HIDE_SOURCES = ["unshare", "--mount", "--map-root-user", "sh", "-c",
                'mount -t tmpfs none "$0" && exec "$@"', TOP]


class FromScratchRoot(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.root = cls.enterClassContext(extracted_deb())

    def setUp(self):
        self.cwd = self.enterContext(tempfile.TemporaryDirectory())

    def run_program(self, program, args, stdin="", env=None, timeout=60):
        return subprocess.run(
            HIDE_SOURCES + [os.path.join(self.root, "usr/bin", program)] + args,
            cwd=self.cwd, input=stdin, capture_output=True, text=True, env=env, timeout=timeout)

    def cli(self, *args, stdin=""):
        result = self.run_program("torvex-cli", list(args), stdin)
        self.assertEqual(result.returncode, 0, f"{args}: {result.stderr}")
        return result.stdout


class ProgramsTest(FromScratchRoot):
    def test_every_command_on_a_demo_map(self):
        self.assertEqual(self.cli("--version"), f"torvex-cli {VERSION} (commit {COMMIT})\n")
        self.assertEqual(self.cli("make-map", MAP), "")
        self.assertEqual(len(json.loads(self.cli("dump"))), 15)
        self.assertIn("supported", self.cli("check").splitlines()[-1])
        with open(os.environ["TORVEX_TAG_PATHS"]) as f:
            self.assertEqual(self.cli("catalogue", MAP), f.read())
        self.assertEqual(self.cli("set", "Pistol", "Max ammo", "30"), "Max ammo: 30\n")
        self.assertEqual(self.cli("ref", "Pistol", "Models", "0", "-1"), "NULL\n")
        # What the commands wrote is in the map: a fresh start-up shows it.
        session = "item 1.17\nitem 1.7.0\nexit\n"
        self.assertEqual(self.cli("session", stdin=session), "Max ammo: 30\nNULL\n")

    def test_window_program_starts_and_answers_help_and_version(self):
        # Each answers and ends, with no map and no display.
        version = self.run_program("torvex", ["--version"])
        self.assertEqual((version.returncode, version.stdout),
                         (0, f"torvex {VERSION} (commit {COMMIT})\n"))
        for args, status, stream in ((["--help"], 0, "stdout"), (["--bogus"], 2, "stderr")):
            result = self.run_program("torvex", args)
            self.assertEqual(result.returncode, status)
            self.assertIn("Usage: torvex [--help | --version]", getattr(result, stream))
        self.cli("make-map", MAP)
        env = dict(os.environ, QT_QPA_PLATFORM="offscreen")
        # A window with nobody to close it keeps running; a missing library or plugin ends it.
        with self.assertRaises(subprocess.TimeoutExpired):
            self.run_program("torvex", [], env=env, timeout=5)


if __name__ == "__main__":
    unittest.main()
