"""The Windows programs as files: what kind of program each is, the DLLs it needs, and the
resources compiled into it, as the MinGW-w64 binutils read them back (objdump for the headers,
windres decompiling the resources into a resource script).

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

# Width, height, colours and padding; planes, bits per pixel, bytes, the image's resource id.
ICON_GROUP = r'''128 14 /* RT_GROUP_ICON */
BEGIN
   0, 1, 2,	 /* Has 2 elements.  */
    /* "width height colors pad", planes, bits, bytes, index.  */
    "\040\040\020\000", 1, 4, 0x2e8L, 1,	/* Element no 1.  */
    "\020\020\020\000", 1, 4, 0x128L, 2	/* Element no 2.  */
END'''

# FILEFLAGS and FILESUBTYPE would show when not 0; FILEOS 4 is 32-bit Windows, FILETYPE 1 an
# application.
VERSION = """1 VERSIONINFO
 FILEVERSION 1, 0, 0, 1
 PRODUCTVERSION 1, 0, 0, 1
 FILEFLAGSMASK 0x3f
 FILEOS 0x4
 FILETYPE 0x1
BEGIN
  BLOCK "StringFileInfo"
  BEGIN
    BLOCK "040904B0"
    BEGIN
      VALUE "CompanyName", ""
      VALUE "FileDescription", "Torvex MFC Application"
      VALUE "FileVersion", "1, 0, 0, 1"
      VALUE "InternalName", "Torvex"
      VALUE "LegalTrademarks", ""
      VALUE "OriginalFilename", "Torvex.EXE"
      VALUE "ProductName", "Torvex Application"
      VALUE "ProductVersion", "1, 0, 0, 1"
    END
  END
  BLOCK "VarFileInfo"
  BEGIN
    VALUE "Translation", 0x409, 1200
  END
END"""


def statement(script, start):
    """One statement of a resource script, from its first line to the END that closes it."""
    at = script.index(start)
    return script[at:script.index("\nEND", at) + 4]


def icon_image(script, number):
    """The bytes of an RT_ICON resource, which windres writes as 32-bit (L) and 16-bit words."""
    body = statement(script, "%d 3 /* RT_ICON */" % number)
    return b"".join(int(value, 16).to_bytes(4 if long else 2, "little")
                    for value, long in re.findall(r"0x([0-9a-f]+)(L?)", body))


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
                characteristics = int(re.search(r"\nCharacteristics 0x(\w+)", headers)[1], 16)
                self.assertTrue(characteristics & 0x0002, "an executable image")
                self.assertFalse(characteristics & 0x2000, "not a DLL")
                dlls = {dll.upper() for dll in re.findall(r"DLL Name: (\S+)", headers)}
                self.assertLessEqual(dlls, SYSTEM_DLLS)
                self.assertLessEqual({"USER32.DLL", "COMCTL32.DLL"}, dlls)

    def test_resources_hold_the_dialog_the_icon_and_the_version_block(self):
        with open(os.path.join(TOP, "res", "torvex.ico"), "rb") as f:
            ico = f.read()
        for name in BUILDS:
            with self.subTest(name):
                script = binutils(name)("windres", "-O", "rc", "-i")
                self.assertEqual(statement(script, "102 DIALOGEX"), DIALOG)
                self.assertEqual(statement(script, "128 14 /* RT_GROUP_ICON */"), ICON_GROUP)
                self.assertEqual(statement(script, "1 VERSIONINFO"), VERSION)
                # Both images of the icon file, byte for byte.
                for number in (1, 2):
                    entry = 6 + 16 * (number - 1)
                    size, offset = (int.from_bytes(ico[entry + k:entry + k + 4], "little")
                                    for k in (8, 12))
                    self.assertEqual(icon_image(script, number), ico[offset:offset + size])


if __name__ == "__main__":
    unittest.main()
