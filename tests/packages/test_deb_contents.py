"""The Debian package as files: what it installs where, with which modes, its control fields,
what Debian's own checker says of it, and its AppStream metainfo."""
import os
import subprocess
import unittest
from xml.etree import ElementTree

from packages import COMMIT, DEB, VERSION, extracted_deb

METAINFO = "usr/share/metainfo/org.example.torvex.metainfo.xml"
FILES = ["usr/bin/torvex", "usr/bin/torvex-cli", "usr/share/applications/torvex.desktop",
         METAINFO, "usr/share/doc/torvex/README.md", "usr/share/doc/torvex/changelog.gz",
         "usr/share/doc/torvex/copyright", "usr/share/man/man1/torvex.1.gz",
         "usr/share/man/man1/torvex-cli.1.gz"] + [
    f"usr/share/icons/hicolor/{s}x{s}/apps/torvex.png" for s in (16, 32, 48)]


def run(args, **kwargs):
    return subprocess.run(args, capture_output=True, text=True, **kwargs)


class DebContentsTest(unittest.TestCase):
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

    # Among lintian's checks: the desktop entry, stripped programs, icon sizes that match their
    # folders, roff warnings in the manual pages, the changelog and copyright files, and the
    # programs' hardening, whose tags are only informational but must not show either.
    def test_lintian_finds_no_error_warning_or_missing_hardening(self):
        result = run(["lintian", "-I", "-E", "--pedantic", "--fail-on", "error,warning", DEB])
        self.assertEqual(result.returncode, 0, result.stdout)
        self.assertNotRegex(result.stdout, r"(?m)^\w: torvex: hardening-")

    # Software centres list the program by its metainfo: it must validate, state both licences
    # and name the package's own desktop entry as what launches the program.
    def test_metainfo_validates_and_names_the_desktop_entry(self):
        with extracted_deb() as root:
            metainfo = os.path.join(root, METAINFO)
            result = run(["appstreamcli", "validate", "--no-net", "--pedantic", metainfo])
            self.assertEqual((result.returncode, result.stdout.strip()),
                             (0, "✔ Validation was successful."))
            component = ElementTree.parse(metainfo).getroot()
            self.assertEqual(component.findtext("releases/release/description/p"),
                             f"Built from commit {COMMIT}.")
            # The installed README shows no picture the package does not ship.
            with open(f"{root}/usr/share/doc/torvex/README.md") as f:
                self.assertNotIn("![", f.read())
            for licence in ("metadata_license", "project_license"):
                self.assertRegex(component.findtext(licence), r"^\S+$")
            desktop_id = component.findtext("launchable[@type='desktop-id']")
            self.assertTrue(os.path.isfile(f"{root}/usr/share/applications/{desktop_id}"))


if __name__ == "__main__":
    unittest.main()
