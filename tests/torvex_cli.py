"""torvex-cli as the Python tests drive it: CTest names the built program in TORVEX_CLI."""
import os
import subprocess
import tempfile

CLI = os.environ.get("TORVEX_CLI", "build/bin/torvex-cli")
MAP = "cache003.map"


def cli(args, cwd, stdin=""):
    return subprocess.run([CLI] + args, cwd=cwd, input=stdin, capture_output=True, text=True)


def read_map(folder):
    with open(os.path.join(folder, MAP), "rb") as f:
        return f.read()


class DemoFolder(tempfile.TemporaryDirectory):
    """A scratch folder, given as the context's value, with a fresh demo map in it."""

    def __enter__(self):
        cwd = super().__enter__()
        subprocess.run([CLI, "make-map", MAP], cwd=cwd, check=True)
        return cwd
