"""The committed icon is what its generator makes of the committed artwork."""
import os
import subprocess
import sys
import tempfile
import unittest

TOP = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))


class IconTest(unittest.TestCase):
    def test_committed_icon_matches_a_fresh_run(self):
        with tempfile.TemporaryDirectory() as tmp:
            out = os.path.join(tmp, "torvex.ico")
            subprocess.run([sys.executable, os.path.join(TOP, "res/icon/gen_icon.py"),
                            os.path.join(TOP, "res/icon/artwork.txt"), out], check=True)
            with open(out, "rb") as fresh, open(os.path.join(TOP, "res/torvex.ico"), "rb") as kept:
                self.assertEqual(fresh.read(), kept.read())

    def test_icon_group_has_two_sixteen_colour_images(self):
        with open(os.path.join(TOP, "res/torvex.ico"), "rb") as f:
            data = f.read()
        self.assertEqual(data[:6], b"\0\0\1\0\2\0")
        self.assertEqual((data[6], data[7], data[8], data[12]), (32, 32, 16, 4))
        self.assertEqual((data[22], data[23], data[24], data[28]), (16, 16, 16, 4))


if __name__ == "__main__":
    unittest.main()
