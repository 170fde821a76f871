#!/usr/bin/python3
"""Drives quorvane through the accessibility bridge (AT-SPI), as automation tools do.

Run from any folder (ctest's ui_atspi_check does); it starts each run of the program on an X
server (xvfb-run) with a session bus (dbus-run-session) of its own:
    /usr/bin/python3 tests/ui/atspi_check.py build/bin/quorvane build/bin/quorvane-cli

First run, without data: finds the main window's controls by their accessible descriptions (the
control names), checks that the data tabs and their commands are unavailable, opens the log
window with "Show Log" and reads its text, ends the program with "Exit" and checks that Log.txt
was written into the current folder. Second run, on a sample day that quorvane-cli writes and
quorvane opens from its command line: closes the build's message, finds the data tabs available
and reads the build's log in the log window.
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
DATA_TABS = ["View Station Data", "View Road Data"]
BUILD_DONE = "Station data table has been successfully created."


def application(pid):
    # The desktop's list of applications is read once and then kept up to date by events this
    # script never processes: ask only once the program had time to register. (So each run of
    # the program has a process, and a bus, of its own.)
    time.sleep(3.0)
    for _ in range(40):
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


def available(node):
    state = node.getState()
    return state.contains(pyatspi.STATE_SENSITIVE) and state.contains(pyatspi.STATE_ENABLED)


def tabs(app):
    return {n.name: n for n in descendants(app) if n.getRole() == pyatspi.ROLE_PAGE_TAB}


def wait_for(find, seconds=20.0):
    end = time.time() + seconds
    while time.time() < end:
        found = find()
        if found is not None:
            return found
        time.sleep(0.25)
    return None


def log_text(app, controls, failures):
    """Opens the log window with Show Log and returns its text as AT-SPI reads it."""
    press(controls["btnShowlLog"])
    window = wait_for(lambda: next((w for w in app if w.name == "Log Information"), None), 5)
    if window is None:
        failures.append("Show Log opened no 'Log Information' window")
        return None
    text = next((n for n in descendants(window) if n.description == "Text1"), None)
    if text is None:
        failures.append("the log window has no Text1")
        return None
    try:
        reader = text.queryText()
        return reader.getText(0, reader.characterCount)
    except NotImplementedError:
        failures.append("the log window's text cannot be read")
        return None


def exit_program(process, controls, failures):
    press(controls["btnExit"])
    try:
        process.wait(timeout=10)
    except subprocess.TimeoutExpired:
        failures.append("Exit did not end the program")


def check_without_data(app, process, folder, failures):
    controls = {n.description: n for n in descendants(app) if n.description}
    failures += [f"no control {name}" for name in EXPECTED if name not in controls]
    if controls.get("frmMain") is not None and controls["frmMain"].name != "QuorvaneV1":
        failures.append("window caption is not QuorvaneV1")
    if controls.get("Label2") is not None and controls["Label2"].name != "Quorvane V1.3":
        failures.append("Label2 is not 'Quorvane V1.3'")
    for name in ["btnVolSum", "btnCSVfile"]:
        if name in controls and available(controls[name]):
            failures.append(f"{name} is available before any data exists")
    page_tabs = tabs(app)
    if not available(page_tabs.get("Build Station Data", app)):
        failures.append("the build tab is not available")
    for name in DATA_TABS:
        if name not in page_tabs:
            failures.append(f"no tab '{name}'")
        elif available(page_tabs[name]):
            failures.append(f"tab '{name}' is reported available before the first build")
    if log_text(app, controls, failures) not in (None, ""):
        failures.append("the log is not empty before any build")
    exit_program(process, controls, failures)
    if not os.path.exists(os.path.join(folder, "Log.txt")):
        failures.append("Exit wrote no Log.txt into the current folder")


def check_opened_day(app, process, failures):
    def message_box():
        for window in app:
            for node in descendants(window):
                if node.getRole() == pyatspi.ROLE_LABEL and node.name.startswith(BUILD_DONE):
                    return window
        return None

    box = wait_for(message_box)
    if box is None:
        failures.append("quorvane DAY.traffic showed no build message")
        return
    ok = next((n for n in descendants(box)
               if n.getRole() == pyatspi.ROLE_PUSH_BUTTON and n.name == "OK"), None)
    press(ok)
    time.sleep(0.5)
    controls = {n.description: n for n in descendants(app) if n.description}
    page_tabs = tabs(app)
    for name in DATA_TABS:
        if name in page_tabs and not available(page_tabs[name]):
            failures.append(f"tab '{name}' is not available after the build")
    text = log_text(app, controls, failures)
    if text is not None and "Sta count=60\nRoad count=3\n" not in text:
        failures.append(f"the log window reads {text[:80]!r}, not the build's log")
    exit_program(process, controls, failures)


def run(command, folder, check, failures):
    env = dict(os.environ, QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1")
    process = subprocess.Popen(command, cwd=folder, env=env)
    try:
        app = application(process.pid)
        if app is None:
            seen = [(a.name, a.get_process_id()) for a in pyatspi.Registry.getDesktop(0) if a]
            failures.append(f"the program did not appear on the accessibility bus (pid "
                            f"{process.pid}, running: {process.poll() is None}, seen: {seen})")
            return
        check(app, process, failures)
    finally:
        if process.poll() is None:
            process.kill()
            process.wait()


def run_part(part, program, folder):
    failures = []
    if part == "--without-data":
        run([program], folder, lambda app, p, f: check_without_data(app, p, folder, f), failures)
    else:
        run([program, "sample.traffic"], folder, check_opened_day, failures)
    for failure in failures:
        print(f"FAIL ({part[2:]}):", failure, flush=True)
    return 1 if failures else 0


def main():
    if sys.argv[1].startswith("--"):
        return run_part(*sys.argv[1:4])
    program = os.path.abspath(sys.argv[1])
    cli = os.path.abspath(sys.argv[2])
    failed = 0
    with tempfile.TemporaryDirectory() as folder:
        subprocess.run([cli, "sample", folder], check=True, stdout=subprocess.DEVNULL)
        # Each run on an X server and a session bus of its own: a second program on the same
        # accessibility bus is not always listed.
        for part in ["--without-data", "--opened-day"]:
            failed += subprocess.run(["dbus-run-session", "--", "xvfb-run", "-a", sys.executable,
                                      os.path.abspath(__file__), part, program, folder]).returncode
    print("accessibility check:", "passed" if not failed else f"{failed} runs failed")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
