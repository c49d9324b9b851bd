"""Unpacks the Windows zip's programs into OUT under the names they ship with, for the tests to
run what a Windows user runs, and fails unless each is, byte for byte, the program this build's
win32 preset made: a zip left over from older code would otherwise be tested in its place.

    shipped.py ZIP WIN32_BIN OUT [--not-started FILES]

With --not-started, on a machine that runs no 32-bit code, the bytes are still compared, and the
run ends as a skipped test (status 77) saying that the shipped files were not started and that
FILES are tested in their place.
"""
import hashlib
import os
import shutil
import sys
import zipfile

zip_path, built, out, *not_started = sys.argv[1:]
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
if not_started:
    print(f"not started: the shipped 32-bit files, which this machine cannot run; the Windows "
          f"tests run {not_started[-1]} in their place")
    sys.exit(77)
