"""torvex-cli as the Python tests drive it: CTest names the built program in TORVEX_CLI, and
where the tests compare two programs, the other in TORVEX_OTHER_CLI. A Windows program (.exe)
runs under the Wine that tests/win32/with-wine names in WINE."""
import os
import subprocess
import tempfile

CLI = os.environ.get("TORVEX_CLI", "build/bin/torvex-cli")
OTHER_CLI = os.environ.get("TORVEX_OTHER_CLI")
MAP = "cache003.map"


def for_windows(program):
    return program.lower().endswith(".exe")


def command(program):
    return [os.environ["WINE"], program] if for_windows(program) else [program]


def cli(args, cwd, stdin="", program=CLI, text=True):
    """Runs a program, by default TORVEX_CLI. As text, its output's line ends are the line feeds
    of every system; as bytes (text=False), they are what it wrote."""
    return subprocess.run(command(program) + args, cwd=cwd,
                          input=stdin if text else stdin.encode(), capture_output=True, text=text)


def native(path, program=CLI):
    """A relative path as a program's user writes it: with backslashes on Windows."""
    return path.replace("/", "\\") if for_windows(program) else path


def read_map(folder):
    with open(os.path.join(folder, MAP), "rb") as f:
        return f.read()


class DemoFolder(tempfile.TemporaryDirectory):
    """A scratch folder, given as the context's value, with a fresh demo map in it."""

    def __enter__(self):
        cwd = super().__enter__()
        made = cli(["make-map", MAP], cwd)
        if made.returncode != 0:
            raise AssertionError(f"make-map failed: {made.stderr}")
        return cwd
