"""Unpacks the Windows zip's programs into OUT under the names they ship with, for the tests to
run what a Windows user runs, and fails unless each is, byte for byte, the program this build's
win32 preset made: a zip left over from older code would otherwise be tested in its place.

    shipped.py ZIP WIN32_BIN OUT
"""
import hashlib
import os
import shutil
import sys
import zipfile

zip_path, built, out = sys.argv[1:]
# Emptied first: a program the zip no longer ships must not be tested from an earlier unpacking.
shutil.rmtree(out, ignore_errors=True)
os.makedirs(out)
with zipfile.ZipFile(zip_path) as z:
    programs = [n for n in z.namelist() if n.lower().endswith(".exe")]
    if not programs:
        sys.exit(f"shipped.py: {zip_path} holds no program")
    for name, member in ((os.path.basename(n), n) for n in programs):
        data = z.read(member)
        with open(os.path.join(built, name.lower()), "rb") as f:
            if data != f.read():
                sys.exit(f"shipped.py: the zip's {name} is not the build's: run scripts/package")
        with open(os.path.join(out, name), "wb") as f:
            f.write(data)
        print(hashlib.sha256(data).hexdigest(), name)
