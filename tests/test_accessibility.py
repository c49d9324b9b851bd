"""The Qt window as a screen reader sees and works it: through AT-SPI alone (Debian's pyatspi),
on an Xvfb display and, as CTest runs it, a D-Bus session of its own (dbus-run-session), which
starts the accessibility bus when first asked. Run with TORVEX_CLI and TORVEX_QT."""
import os
import re
import subprocess
import unittest
import warnings

import pyatspi

from tests.test_scenarios import DIALOG, session, start_xvfb, wait_for
from tests.torvex_cli import DemoFolder, read_map

warnings.filterwarnings("ignore", category=DeprecationWarning, module="pyatspi")

# The window's controls in template order: role, name, and states each must have.
CONTROLS = [
    ("push button", "Exit", {"focusable", "focused"}),
    ("tree", "Weapons", {"focusable"}),
    ("label", "New Value:", set()),
    ("push button", "Update", {"focusable"}),
    ("combo box", "New Value:", {"focusable", "expandable"}),
    ("check box", "Show all identifiers (not just those with matching class)", {"focusable"}),
    ("text", "New Value:", {"focusable", "editable"}),
]
# A value and a reference edited on the demo map's Pistol, as tests/test_scenarios.py does.
EDIT = ["select 1.17", "type 77", "update", "select 1.7.1", "choose 2", "update", "exit"]


def states(node):
    node.clearCache()
    return {pyatspi.stateToString(s) for s in node.getState().getStates()}


def act(node, name):
    actions = node.queryAction()
    names = [actions.getName(i) for i in range(actions.nActions)]
    assert name in names, f"{node.name} offers {names}, not {name}"
    actions.doAction(names.index(name))


def text(node):
    return node.queryText().getText(0, -1)


class AccessibleWindow(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.xvfb = start_xvfb()
        os.environ.update(QT_QPA_PLATFORM="xcb", QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1")

    @classmethod
    def tearDownClass(cls):
        cls.xvfb.terminate()
        cls.xvfb.wait()

    def setUp(self):
        self.folder = DemoFolder()
        cwd = self.folder.__enter__()
        self.program = subprocess.Popen([os.environ["TORVEX_QT"]], cwd=cwd)
        self.addCleanup(self.folder.__exit__, None, None, None)
        self.addCleanup(self.program.wait)
        self.addCleanup(self.program.kill)

        def window():
            apps = [a for a in pyatspi.Registry.getDesktop(0)
                    if a is not None and a.get_process_id() == self.program.pid]
            return [w for a in apps for w in a if re.match(DIALOG, w.name)]
        self.window = wait_for(window, "the dialog on the accessibility bus")[0]
        self.controls = list(self.window)
        self.tree, self.combo, self.box, self.edit = (self.controls[i] for i in (1, 4, 5, 6))

    def select(self, path):
        """Opens the items above path and selects it, by their own actions."""
        node = self.tree
        for depth, index in enumerate(path):
            node = node[index]
            if depth < len(path) - 1 and "expanded" not in states(node):
                act(node, "Expand")
        act(node, "Select")
        wait_for(lambda: "selected" in states(node), f"{node.name} selected")
        return node

    def test_names_roles_and_where_a_line_belongs(self):
        self.assertEqual(self.window.getRoleName(), "dialog")
        for node, (role, name, must) in zip(self.controls, CONTROLS, strict=True):
            self.assertEqual((node.getRoleName(), node.name), (role, name))
            self.assertLessEqual(must, states(node), name)
        self.assertEqual(self.combo[0].name, "New Value:")
        line = self.select((1, 17))
        self.assertEqual((line.name, line.parent.name, line.parent.parent.name),
                         ("Max ammo: 120", "Pistol", "Weapons"))
        self.assertEqual(self.select((1, 7, 1)).parent.name, "Models")

    def test_an_edit_through_accessibility_alone_writes_the_headless_editors_bytes(self):
        act(self.tree, "SetFocus")
        wait_for(lambda: "focused" in states(self.tree), "the tree focused")
        for action in EDIT:
            verb, _, rest = action.partition(" ")
            if verb == "select":
                line = self.select(tuple(int(i) for i in rest.split(".")))
            elif verb == "type":
                self.edit.queryEditableText().setTextContents(rest)
            elif verb == "choose":
                act(self.combo, "ShowMenu")
                act(self.combo[0][int(rest)], "Toggle")
                wait_for(lambda: "expanded" not in states(self.combo), "the entry chosen")
            else:
                shown = line.name
                act(self.controls[{"update": 3, "exit": 0}[verb]], "Press")
                # A press clicks a moment later; each Update here relabels its line.
                if verb == "update":
                    wait_for(lambda: line.clearCache() or line.name != shown, "the Update")
        self.assertEqual(self.program.wait(30), 0)
        with DemoFolder() as cwd:
            session(cwd, EDIT)
            self.assertTrue(read_map(self.folder.name) == read_map(cwd), "the maps differ")

    def test_ticking_the_check_box_refills_the_list_at_once(self):
        self.select((1, 3, 0))
        self.assertEqual(text(self.edit), "E21E00AA")  # the first damage model
        act(self.box, "Toggle")
        # Every identifier, the first the map's own.
        wait_for(lambda: text(self.edit) == "E1740000", "the list refilled")
        self.assertIn("checked", states(self.box))


if __name__ == "__main__":
    unittest.main()
