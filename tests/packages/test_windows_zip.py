"""The Windows zip as a user unpacks it: one folder with the 32-bit program under the file name
its own version block gives, and the README and licence as Windows text files."""
import os
import re
import subprocess
import tempfile
import unittest
import zipfile

from packages import VERSION, ZIP, existing

FOLDER = f"torvex-{VERSION}-win32/"
SYSTEM_DLLS = {"KERNEL32.DLL", "USER32.DLL", "GDI32.DLL", "COMCTL32.DLL", "ADVAPI32.DLL",
               "MSVCRT.DLL"}


class WindowsZipTest(unittest.TestCase):
    def test_program_named_as_its_version_block_says_and_windows_texts(self):
        with zipfile.ZipFile(existing(ZIP)) as z:
            files = {info.filename: z.read(info) for info in z.infolist()}
        with tempfile.TemporaryDirectory() as tmp:
            exe = os.path.join(tmp, "program.exe")
            with open(exe, "wb") as f:
                f.write(next(data for name, data in files.items() if name.lower().endswith(".exe")))
            self.assertIn("PE32 executable (GUI) Intel 80386",
                          subprocess.run(["file", exe], capture_output=True, text=True).stdout)
            # One file that needs no DLL beyond those every Windows has.
            headers = subprocess.run(["i686-w64-mingw32-objdump", "-p", exe], capture_output=True,
                                     text=True, check=True).stdout
            self.assertLessEqual({dll.upper() for dll in re.findall(r"DLL Name: (\S+)", headers)},
                                 SYSTEM_DLLS)
            # ASLR and DEP: Windows may load it anywhere, for which it keeps its relocations,
            # and runs none of its data.
            flags = re.search(r"^DllCharacteristics\s+\w+\n((?:\s+[A-Z_]+\n)*)", headers, re.M)
            self.assertLessEqual({"DYNAMIC_BASE", "NX_COMPAT"}, set(flags.group(1).split()))
            self.assertNotIn("relocations stripped", headers)
            script = subprocess.run(["i686-w64-mingw32-windres", "-i", exe, "-O", "rc"],
                                    capture_output=True, text=True, check=True).stdout
        name = re.search(r'VALUE "OriginalFilename", "([^"]+)"', script).group(1)
        # The version block states the project's version, as numbers and as texts.
        stated = ", ".join(VERSION.split("."))
        for field in (r"^ (?:FILE|PRODUCT)VERSION (.*)$",
                      r'VALUE "(?:File|Product)Version", "(.*)"'):
            self.assertEqual(re.findall(field, script, re.M), [stated] * 2)
        self.assertEqual(sorted(files),
                         sorted(FOLDER + n for n in (name, "README.txt", "LICENSE.txt")))
        for text in (files[FOLDER + "README.txt"], files[FOLDER + "LICENSE.txt"]):
            self.assertRegex(text, rb"\A([^\r\n]*\r\n)+\Z")
        readme = files[FOLDER + "README.txt"].decode("ascii")
        self.assertIn(name, readme)
        self.assertRegex(readme, r"(?i)keep a copy of (your|the) map")


if __name__ == "__main__":
    unittest.main()
