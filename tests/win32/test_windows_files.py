"""The Windows programs as files: what kind of program each is, the DLLs it needs, and the
resources compiled into it, as the MinGW-w64 binutils read them back (objdump for the headers,
windres decompiling the resources into a resource script; the zip's test reads the version
block).

Run by CTest with TORVEX_WIN32_DIR and TORVEX_WIN64_DIR set to the two cross builds.
"""
import os
import re
import subprocess
import unittest

TOP = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))

# name: (build folder, binutils prefix, objdump's file format, optional header magic)
BUILDS = {
    "win32": (os.environ.get("TORVEX_WIN32_DIR", os.path.join(TOP, "build/win32")),
              "i686-w64-mingw32-", "pei-i386", "010b"),
    "win64": (os.environ.get("TORVEX_WIN64_DIR", os.path.join(TOP, "build/win64")),
              "x86_64-w64-mingw32-", "pei-x86-64", "020b"),
}

SYSTEM_DLLS = {"KERNEL32.DLL", "USER32.DLL", "GDI32.DLL", "COMCTL32.DLL", "ADVAPI32.DLL",
               "MSVCRT.DLL"}

# The system's own control classes must be stored by number: windres names those by keyword
# (PUSHBUTTON, LTEXT, COMBOBOX, AUTOCHECKBOX, EDITTEXT), a class stored as a text by its text.
# A font weight, italic or a charset other than DEFAULT_CHARSET would follow the face name; a
# help id, menu, class or any control's extended style would show as well.
DIALOG = """102 DIALOGEX 0, 0, 388, 141
STYLE 0x90c800c0
EXSTYLE 0x40000
CAPTION "Torvex  Beta Version 1.0"
FONT 8, "MS Sans Serif"
BEGIN
  PUSHBUTTON "Exit", 2, 331, 105, 50, 29, 0x50010000
  CONTROL "Tree1", 1000, "SysTreeView32", 0x50810097, 7, 7, 374, 94
  LTEXT "New Value:", -1, 7, 106, 41, 8, 0x50020000
  PUSHBUTTON "Update", 1004, 7, 123, 41, 11, 0x50010000
  COMBOBOX 1005, 54, 105, 273, 79, 0x50210003
  AUTOCHECKBOX "Show all identifiers (not just those with matching class)", 1006, 51, 124, 187, 10, 0x50010003
  EDITTEXT 1007, 248, 122, 71, 12, 0x50810080
END"""

def statement(script, start):
    """One statement of a resource script, from its first line to the END that closes it."""
    at = script.index(start)
    return script[at:script.index("\nEND", at) + 4]


def binutils(name):
    """Runs one of the build's binutils on its torvex.exe, giving what the tool prints."""
    folder, prefix = BUILDS[name][:2]
    exe = os.path.join(folder, "bin", "torvex.exe")
    if not os.path.isfile(exe):
        raise AssertionError("no %s: make it with the %s preset" % (exe, name))
    return lambda tool, *args: subprocess.run([prefix + tool, *args, exe], capture_output=True,
                                              text=True, check=True).stdout


class WindowsProgramFileTest(unittest.TestCase):
    def test_is_a_graphical_program_for_its_processor_needing_only_system_dlls(self):
        for name, (_, _, file_format, magic) in BUILDS.items():
            with self.subTest(name):
                headers = binutils(name)("objdump", "-p")
                self.assertIn("file format " + file_format, headers)
                self.assertRegex(headers, r"\nMagic\s+%s\s" % magic)
                self.assertRegex(headers, r"\nSubsystem\s+00000002\s+\(Windows GUI\)")
                dlls = {dll.upper() for dll in re.findall(r"DLL Name: (\S+)", headers)}
                self.assertLessEqual(dlls, SYSTEM_DLLS)
                self.assertLessEqual({"USER32.DLL", "COMCTL32.DLL"}, dlls)

    def test_resources_hold_the_dialog(self):
        for name in BUILDS:
            with self.subTest(name):
                script = binutils(name)("windres", "-O", "rc", "-i")
                self.assertEqual(statement(script, "102 DIALOGEX"), DIALOG)


if __name__ == "__main__":
    unittest.main()
