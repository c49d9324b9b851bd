"""Unpacks the Windows zip's programs into OUT under the names they ship with, for the tests to
run what a Windows user runs, and fails unless each is, byte for byte, the program this build's
win32 preset made: a zip left over from older code would otherwise be tested in its place.

    shipped.py ZIP WIN32_BIN OUT
"""
import hashlib
import os
import sys
import zipfile


def digest(data):
    return hashlib.sha256(data).hexdigest()


def main(zip_path, built, out):
    os.makedirs(out, exist_ok=True)
    with zipfile.ZipFile(zip_path) as z:
        programs = [n for n in z.namelist() if n.lower().endswith(".exe")]
        for member in programs:
            name = os.path.basename(member)
            data = z.read(member)
            with open(os.path.join(built, name.lower()), "rb") as f:
                if digest(data) != digest(f.read()):
                    sys.exit(f"shipped.py: the zip's {name} is not {built}/{name.lower()}: "
                             "run scripts/package")
            with open(os.path.join(out, name), "wb") as f:
                f.write(data)
            print(f"{digest(data)}  {name}")
    if not programs:
        sys.exit(f"shipped.py: {zip_path} holds no program")


if __name__ == "__main__":
    if len(sys.argv) != 4:
        sys.exit(__doc__)
    main(*sys.argv[1:])
