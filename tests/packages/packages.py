"""Where the packages under test are: scripts/package makes them into TORVEX_PACKAGES_DIR, named
after the project's version, TORVEX_VERSION, from the commit TORVEX_COMMIT. CTest sets all three."""
import os
import subprocess
import tempfile

TOP = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
VERSION = os.environ["TORVEX_VERSION"]
COMMIT = os.environ["TORVEX_COMMIT"]
FOLDER = os.environ["TORVEX_PACKAGES_DIR"]
DEB = os.path.join(FOLDER, f"torvex_{VERSION}_amd64.deb")
ZIP = os.path.join(FOLDER, f"torvex-{VERSION}-win32.zip")


def existing(path):
    if not os.path.isfile(path):
        raise AssertionError(f"{path} is missing: scripts/package makes it")
    return path


def extracted_deb():
    """A scratch root holding the Debian package's files, as dpkg would install them."""
    root = tempfile.TemporaryDirectory()
    subprocess.run(["dpkg-deb", "-x", existing(DEB), root.name], check=True)
    return root
