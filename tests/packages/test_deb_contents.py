"""The Debian package as files: what it installs where, with which modes, its control fields,
its manual pages, and what Debian's own checkers say of it."""
import gzip
import os
import re
import subprocess
import unittest

from packages import DEB, VERSION, extracted_deb

FILES = ["usr/bin/torvex", "usr/bin/torvex-cli", "usr/share/applications/torvex.desktop",
         "usr/share/doc/torvex/README.md", "usr/share/doc/torvex/changelog.gz",
         "usr/share/doc/torvex/copyright", "usr/share/man/man1/torvex.1.gz",
         "usr/share/man/man1/torvex-cli.1.gz"] + [
    f"usr/share/icons/hicolor/{s}x{s}/apps/torvex.png" for s in (16, 32, 48)]


def run(args, **kwargs):
    return subprocess.run(args, capture_output=True, text=True, **kwargs)


class DebContentsTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.root = extracted_deb()

    @classmethod
    def tearDownClass(cls):
        cls.root.cleanup()

    def path(self, name):
        return os.path.join(self.root.name, name)

    def test_files_modes_and_fields(self):
        files = {}
        for line in run(["dpkg-deb", "-c", DEB], check=True).stdout.splitlines():
            mode, owner, _, _, _, name = line.split(None, 5)
            self.assertEqual(owner, "root/root", name)
            if not mode.startswith("d"):
                files[name.removeprefix("./")] = mode
        self.assertEqual(files, {name: "-rwxr-xr-x" if "/bin/" in name else "-rw-r--r--"
                                 for name in FILES})
        self.assertEqual(run(["dpkg-deb", "-f", DEB, "Version"]).stdout.strip(), VERSION)
        # The window's widgets and its font stand-in must come with the package.
        depends = run(["dpkg-deb", "-f", DEB, "Depends"]).stdout
        for package in ("libqt6widgets6", "libc6", "fonts-liberation"):
            self.assertIn(package, depends)

    def test_desktop_entry_is_valid_and_names_the_program(self):
        entry = self.path("usr/share/applications/torvex.desktop")
        self.assertEqual(run(["desktop-file-validate", entry]).stdout, "")
        with open(entry) as f:
            keys = dict(line.rstrip("\n").split("=", 1) for line in f if "=" in line)
        self.assertTrue(os.path.isfile(self.path("usr/bin/" + keys["Exec"])))
        # From a menu the program runs in the home folder, and the user has to know it.
        self.assertIn("home folder", keys["Comment"])

    def test_manual_page_covers_every_command_and_session_action(self):
        cli = self.path("usr/bin/torvex-cli")
        commands = re.findall(r"(?m)^  (\S+)", run([cli, "--help"]).stdout.split("Subcommands:")[1])
        session = run([cli, "session", "--help"]).stdout.split("Usage:")[0]
        actions = [alternative.split()[0] for line in re.findall(r"(?m)^  (\S.*?)(?:  |$)", session)
                   for alternative in line.split(" | ")]
        self.assertGreaterEqual((len(commands), len(actions)), (8, 8))
        with gzip.open(self.path("usr/share/man/man1/torvex-cli.1.gz"), "rt") as f:
            page = run(["groff", "-man", "-Tascii", "-P-cbou", "-rLL=200n"], input=f.read()).stdout
        for word in commands + actions:
            self.assertRegex(page, rf"(?m)^ {{7}}(\S+, )*{re.escape(word)}\b", word)

    # Among lintian's checks: stripped programs, icon sizes that match their folders, roff
    # warnings in the manual pages, the changelog and copyright files.
    def test_lintian_finds_no_error_or_warning(self):
        result = run(["lintian", "--fail-on", "error,warning", DEB])
        self.assertEqual(result.returncode, 0, result.stdout)


if __name__ == "__main__":
    unittest.main()
