#!/usr/bin/python3
"""Drives quorvane through the accessibility bridge (AT-SPI), as automation tools do.

Run under an X server with a session bus, from any folder:
    dbus-run-session -- xvfb-run -a /usr/bin/python3 tools/atspi_check.py build/bin/quorvane

Finds the main window's controls by their accessible descriptions (the control names), checks
that the data tabs are unavailable at start, opens the log window with "Show Log", ends the
program with "Exit" and checks that Log.txt was written into the current folder.
Needs python3-pyatspi and at-spi2-core. Exit status 0 when every check passed.
"""
import os
import subprocess
import sys
import tempfile
import time

import pyatspi

EXPECTED = ["frmMain", "SSTab1", "txtZipName", "btnBuildStationData", "btnShowlLog", "optAvg",
            "optWorst", "Check1", "txtBinFile", "btnSave", "btnLoad", "btnExit", "lblDate",
            "cmbStaList", "cmbStartTime", "cmbEndTime", "btnLinePlot", "btnScatterPlot",
            "btnVolSum", "txtVolSum", "cmbPlotInterval", "btnReCompute", "cmbRoadList", "lstN",
            "lstSta", "btnColorGrid", "btnOccColorGrid", "btnVolContour", "btnContour",
            "btnCSVfile", "Label2", "Label4"]


def application(pid):
    # The desktop's list of applications is read once and then kept up to date by events this
    # script never processes: ask only once the program had time to register.
    time.sleep(3.0)
    for _ in range(20):
        for app in pyatspi.Registry.getDesktop(0):
            if app is not None and app.get_process_id() == pid:
                return app
        time.sleep(0.25)
    return None


def descendants(node):
    yield node
    for i in range(node.childCount):
        child = node.getChildAtIndex(i)
        if child is not None:
            yield from descendants(child)


def press(node):
    action = node.queryAction()
    names = [action.getName(i) for i in range(action.nActions)]
    action.doAction(names.index("Press") if "Press" in names else 0)


def main():
    program = os.path.abspath(sys.argv[1])
    failures = []
    with tempfile.TemporaryDirectory() as folder:
        env = dict(os.environ, QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1")
        process = subprocess.Popen([program], cwd=folder, env=env)
        try:
            app = application(process.pid)
            if app is None:
                print("FAIL: the program did not appear on the accessibility bus")
                return 1
            controls = {n.description: n for n in descendants(app) if n.description}
            failures += [f"no control {name}" for name in EXPECTED if name not in controls]
            if controls.get("frmMain") is not None and controls["frmMain"].name != "QuorvaneV1":
                failures.append("window caption is not QuorvaneV1")
            if controls.get("Label2") is not None and controls["Label2"].name != "Quorvane V1.3":
                failures.append("Label2 is not 'Quorvane V1.3'")
            for name in ["btnVolSum", "btnCSVfile"]:
                if name in controls and controls[name].getState().contains(
                        pyatspi.STATE_SENSITIVE):
                    failures.append(f"{name} is available before any data exists")

            press(controls["btnShowlLog"])
            time.sleep(1.0)
            if "Log Information" not in [window.name for window in app]:
                failures.append("Show Log opened no 'Log Information' window")

            press(controls["btnExit"])
            try:
                process.wait(timeout=10)
            except subprocess.TimeoutExpired:
                failures.append("Exit did not end the program")
            if not os.path.exists(os.path.join(folder, "Log.txt")):
                failures.append("Exit wrote no Log.txt into the current folder")
        finally:
            if process.poll() is None:
                process.kill()
    for failure in failures:
        print("FAIL:", failure)
    print("accessibility check:", "passed" if not failures else f"{len(failures)} failures")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
