"""The Debian package as files: what it installs where, with which modes, its control fields,
its manual pages, and what Debian's own checkers say of it."""
import gzip
import os
import re
import subprocess
import unittest

from packages import DEB, VERSION, extracted_deb

PROGRAM, DATA = "-rwxr-xr-x", "-rw-r--r--"
FILES = {
    "usr/bin/torvex": PROGRAM,
    "usr/bin/torvex-cli": PROGRAM,
    "usr/share/applications/torvex.desktop": DATA,
    "usr/share/doc/torvex/README.md": DATA,
    "usr/share/doc/torvex/changelog.gz": DATA,
    "usr/share/doc/torvex/copyright": DATA,
    "usr/share/man/man1/torvex.1.gz": DATA,
    "usr/share/man/man1/torvex-cli.1.gz": DATA,
    **{f"usr/share/icons/hicolor/{s}x{s}/apps/torvex.png": DATA for s in (16, 32, 48)},
}


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

    def test_files_modes_and_owner(self):
        files, dirs = {}, []
        for line in run(["dpkg-deb", "-c", DEB], check=True).stdout.splitlines():
            mode, owner, _, _, _, name = line.split(None, 5)
            self.assertEqual(owner, "root/root", name)
            name = name.removeprefix("./").rstrip("/")
            if mode.startswith("d"):
                dirs.append((name, mode))
            else:
                files[name] = mode
        self.assertEqual(files, FILES)
        for name, mode in dirs:
            self.assertEqual(mode, "drwxr-xr-x", name)

    def test_control_fields(self):
        fields = {}
        for key in ("Package", "Version", "Depends"):
            fields[key] = run(["dpkg-deb", "-f", DEB, key], check=True).stdout.strip()
        self.assertEqual(fields["Package"], "torvex")
        self.assertEqual(fields["Version"], VERSION)
        # The window's widgets and its font stand-in must come with the package.
        depends = {d.split()[0] for d in fields["Depends"].split(", ")}
        self.assertTrue({"libqt6widgets6", "libqt6gui6", "libc6", "fonts-liberation"} <= depends,
                        fields["Depends"])

    def test_desktop_entry_is_valid_and_names_the_program_and_icon(self):
        entry = self.path("usr/share/applications/torvex.desktop")
        result = run(["desktop-file-validate", entry])
        self.assertEqual((result.returncode, result.stdout), (0, ""))
        with open(entry) as f:
            keys = dict(line.rstrip("\n").split("=", 1) for line in f if "=" in line)
        self.assertTrue(os.path.isfile(self.path("usr/bin/" + keys["Exec"])))
        self.assertEqual(keys["Icon"], "torvex")
        # From a menu the program runs in the home folder, and the user has to know it.
        self.assertIn("home folder", keys["Comment"])

    def test_manual_pages_cover_every_command_and_session_action(self):
        cli = self.path("usr/bin/torvex-cli")
        listing = run([cli, "--help"], check=True).stdout.split("Subcommands:")[1]
        commands = re.findall(r"^  (\S+)", listing, re.MULTILINE)
        session_help = run([cli, "session", "--help"], check=True).stdout.split("Usage:")[0]
        actions = {alternative.split()[0]
                   for line in re.findall(r"^  (\S.*?)(?:  |$)", session_help, re.MULTILINE)
                   for alternative in line.split(" | ")}
        self.assertGreaterEqual(len(commands), 8)
        self.assertGreaterEqual(len(actions), 10)
        page = self.manual_page("torvex-cli")
        for title, words in (("COMMANDS", commands), ("SESSION ACTIONS", actions)):
            text = section(page, title)
            for word in words:
                self.assertRegex(text, rf"(?m)^ {{7}}(\S+, )*{re.escape(word)}\b", word)
        for page_name in ("torvex", "torvex-cli"):
            page = self.manual_page(page_name)
            self.assertIn("cache003.map", section(page, "FILES"))
            self.assertRegex(section(page, "EXIT STATUS"), r"(?m)^ {7}1 ")

    def manual_page(self, name):
        with gzip.open(self.path(f"usr/share/man/man1/{name}.1.gz"), "rt") as f:
            source = f.read()
        # Rendered wide, so that no heading or tag is broken across lines.
        return run(["groff", "-man", "-Tascii", "-P-cbou", "-rLL=200n"], input=source,
                   check=True).stdout

    # Among lintian's checks: stripped programs, icon sizes that match their folders, roff
    # warnings in the manual pages, the changelog and copyright files, file modes and owners.
    def test_lintian_finds_no_error_or_warning(self):
        result = run(["lintian", "--fail-on", "error,warning", DEB])
        self.assertEqual(result.returncode, 0, result.stdout)


def section(page, title):
    """The text of one section of a rendered manual page."""
    match = re.search(rf"(?ms)^{title}$(.*?)(?=^[A-Z][A-Z ]+$|\Z)", page)
    if match is None:
        raise AssertionError(f"no section {title}")
    return match.group(1)


if __name__ == "__main__":
    unittest.main()
