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


class WindowsZipTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        with zipfile.ZipFile(existing(ZIP)) as z:
            cls.files = {info.filename: z.read(info) for info in z.infolist()}

    def test_program_is_named_as_its_version_block_says(self):
        programs = [name for name in self.files if name.lower().endswith(".exe")]
        self.assertEqual(len(programs), 1, list(self.files))
        with tempfile.TemporaryDirectory() as tmp:
            exe = os.path.join(tmp, "program.exe")
            with open(exe, "wb") as f:
                f.write(self.files[programs[0]])
            described = subprocess.run(["file", exe], capture_output=True, text=True,
                                       check=True).stdout
            script = subprocess.run(["i686-w64-mingw32-windres", "-i", exe, "-O", "rc"],
                                    capture_output=True, text=True, check=True).stdout
        self.assertIn("PE32 executable (GUI) Intel 80386", described)
        name = re.search(r'VALUE "OriginalFilename", "([^"]+)"', script).group(1)
        self.assertEqual(sorted(self.files),
                         sorted([FOLDER + name, FOLDER + "README.txt", FOLDER + "LICENSE.txt"]))
        self.assertIn(name, self.files[FOLDER + "README.txt"].decode("ascii"))

    def test_texts_have_windows_line_ends(self):
        for name in ("README.txt", "LICENSE.txt"):
            text = self.files[FOLDER + name]
            self.assertTrue(text.endswith(b"\r\n"), name)
            self.assertEqual(text.count(b"\n"), text.count(b"\r\n"), name)
            self.assertEqual(text.count(b"\r"), text.count(b"\r\n"), name)

    def test_readme_says_to_keep_a_copy_of_the_map(self):
        readme = self.files[FOLDER + "README.txt"].decode("ascii")
        self.assertRegex(readme, r"(?i)keep a copy of (your|the) map")
        self.assertIn("cache003.map", readme)


if __name__ == "__main__":
    unittest.main()
