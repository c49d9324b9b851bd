"""The Windows zip as a user unpacks it: one folder with the 32-bit window program under the file
name its own version block gives, the 32-bit console program torvex-cli.exe, and the README and
licence as Windows text files."""
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
    def test_programs_named_as_the_version_block_says_and_windows_texts(self):
        with zipfile.ZipFile(existing(ZIP)) as z:
            files = {info.filename: z.read(info) for info in z.infolist()}
        kinds = {}
        with tempfile.TemporaryDirectory() as tmp:
            for member in (n for n in files if n.lower().endswith(".exe")):
                exe = os.path.join(tmp, "program.exe")
                with open(exe, "wb") as f:
                    f.write(files[member])
                kind = re.search(r"PE32 executable \((\w+)\) Intel 80386",
                                 subprocess.run(["file", exe], capture_output=True,
                                                text=True).stdout)
                kinds[member[len(FOLDER):]] = kind and kind.group(1)
                # Each a single file that needs no DLL beyond those every Windows has.
                headers = subprocess.run(["i686-w64-mingw32-objdump", "-p", exe],
                                         capture_output=True, text=True, check=True).stdout
                self.assertLessEqual(
                    {dll.upper() for dll in re.findall(r"DLL Name: (\S+)", headers)},
                    SYSTEM_DLLS, member)
                # ASLR and DEP: Windows may load it anywhere, for which it keeps its
                # relocations, and runs none of its data.
                flags = re.search(r"^DllCharacteristics\s+\w+\n((?:\s+[A-Z_]+\n)*)", headers,
                                  re.M)
                self.assertLessEqual({"DYNAMIC_BASE", "NX_COMPAT"}, set(flags.group(1).split()))
                self.assertNotIn("relocations stripped", headers)
                if kind and kind.group(1) == "GUI":
                    script = subprocess.run(["i686-w64-mingw32-windres", "-i", exe, "-O", "rc"],
                                            capture_output=True, text=True, check=True).stdout
        name = re.search(r'VALUE "OriginalFilename", "([^"]+)"', script).group(1)
        self.assertEqual(kinds, {name: "GUI", "torvex-cli.exe": "console"})
        # The version block states the project's version, as numbers and as texts.
        stated = ", ".join(VERSION.split("."))
        for field in (r"^ (?:FILE|PRODUCT)VERSION (.*)$",
                      r'VALUE "(?:File|Product)Version", "(.*)"'):
            self.assertEqual(re.findall(field, script, re.M), [stated] * 2)
        self.assertEqual(sorted(files), sorted(FOLDER + n for n in (
            name, "torvex-cli.exe", "README.txt", "LICENSE.txt")))
        for text in (files[FOLDER + "README.txt"], files[FOLDER + "LICENSE.txt"]):
            self.assertRegex(text, rb"\A([^\r\n]*\r\n)+\Z")
        readme = files[FOLDER + "README.txt"].decode("ascii")
        for told in (name, "torvex-cli check", "torvex-cli apply "):
            self.assertIn(told, readme)
        self.assertRegex(readme, r"(?i)keep a copy of (your|the) map")


if __name__ == "__main__":
    unittest.main()
