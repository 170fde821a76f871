#!/usr/bin/python3
# Drives quorvane through the accessibility bridge (AT-SPI), as assistive tools do:
#     /usr/bin/python3 tests/ui/atspi_check.py build/bin/quorvane build/bin/quorvane-cli
# Each run of the program gets an X server (xvfb-run) and a session bus (dbus-run-session) of its
# own: a second program on one accessibility bus is not always listed. Without data: the controls
# are found by their accessible descriptions (the control names), the data tabs are unavailable,
# Show Log's window text reads empty, and Exit writes Log.txt into the current folder. On a sample
# day opened from quorvane's command line: the build's message box closes with OK, the data tabs
# are available, and the log window reads the build's log. Needs python3-pyatspi and at-spi2-core.
import os
import subprocess
import sys
import tempfile
import time

import pyatspi

CONTROLS = """frmMain SSTab1 txtZipName btnBuildStationData btnShowlLog btnDetectorHealth optAvg
    optWorst Check1 txtBinFile btnSave btnLoad btnExit lblDate cmbStaList cmbStartTime cmbEndTime
    btnLinePlot btnScatterPlot btnVolSum txtVolSum cmbPlotInterval btnReCompute cmbRoadList lstN
    lstSta btnColorGrid btnOccColorGrid btnVolContour btnContour btnSpeedColorGrid
    btnSpeedContour btnRoadMeasures btnFindBottlenecks cmbSpeedUnit cmbGFactor spnFreeFlowSpeed
    spnVehicleLength spnThreshold btnCSVfile btnExportTable""".split()
DATA_TABS = ["View Station Data", "View Road Data"]
BUILD_DONE = "Station data table has been successfully created."


def descendants(node):
    yield node
    for child in (node.getChildAtIndex(i) for i in range(node.childCount)):
        if child is not None:
            yield from descendants(child)


def wait_for(find, seconds=20.0):
    end = time.time() + seconds
    while time.time() < end:
        if (found := find()) is not None:
            return found
        time.sleep(0.25)


def press(node):
    action = node.queryAction()
    names = [action.getName(i) for i in range(action.nActions)]
    action.doAction(names.index("Press") if "Press" in names else 0)


def check_tabs(app, expected, failures):
    tabs = {n.name: n.getState() for n in descendants(app) if n.getRole() == pyatspi.ROLE_PAGE_TAB}
    for name in DATA_TABS:
        if name not in tabs or expected != (tabs[name].contains(pyatspi.STATE_SENSITIVE)
                                            and tabs[name].contains(pyatspi.STATE_ENABLED)):
            failures.append(f"tab '{name}' is not reported {'un' * (not expected)}available")


def log_text(app, controls, failures):
    # The text of the log window that Show Log opens, as AT-SPI reads it.
    press(controls["btnShowlLog"])
    window = wait_for(lambda: next((w for w in app if w.name == "Log Information"), None), 5)
    text = window and next((n for n in descendants(window) if n.description == "Text1"), None)
    try:
        reader = text.queryText()
        return reader.getText(0, reader.characterCount)
    except (AttributeError, NotImplementedError):
        failures.append("Show Log opened no window whose text can be read")
        return None


def close_build_message(app, failures):
    box = wait_for(lambda: next((w for w in app for n in descendants(w) if n.getRole()
                                 == pyatspi.ROLE_LABEL and n.name.startswith(BUILD_DONE)), None))
    if box is None:
        failures.append("quorvane DAY.traffic showed no build message")
    else:
        press(next(n for n in descendants(box) if n.getRole() == pyatspi.ROLE_PUSH_BUTTON))
        time.sleep(0.5)


def check(app, opened_day, failures):
    if opened_day:
        close_build_message(app, failures)
    controls = {n.description: n for n in descendants(app) if n.description}
    failures += [f"no control {name}" for name in CONTROLS if name not in controls]
    check_tabs(app, opened_day, failures)
    text = log_text(app, controls, failures)
    if text is not None and ("Sta count=60\nRoad count=3\n" in text) != opened_day:
        failures.append(f"the log window reads {text[:80]!r}")
    press(controls["btnExit"])


def run_part(part, program, folder):
    opened_day = part == "--opened-day"
    failures = []
    log = os.path.join(folder, "Log.txt")
    if os.path.exists(log):
        os.remove(log)
    process = subprocess.Popen([program] + ["sample.traffic"] * opened_day, cwd=folder,
                               env=dict(os.environ, QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1"))
    try:
        # The desktop's list of applications is read once and then kept up to date by events
        # this script never processes: ask only once the program had time to register.
        time.sleep(3.0)
        app = wait_for(lambda: next((a for a in pyatspi.Registry.getDesktop(0)
                                     if a is not None and a.get_process_id() == process.pid), None),
                       10)
        if app is None:
            failures.append("the program did not appear on the accessibility bus")
        else:
            check(app, opened_day, failures)
            process.wait(timeout=10)
            if not os.path.exists(log):
                failures.append("Exit wrote no Log.txt into the current folder")
    except subprocess.TimeoutExpired:
        failures.append("Exit did not end the program")
    finally:
        if process.poll() is None:
            process.kill()
            process.wait()
    for failure in failures:
        print(f"FAIL ({part[2:]}):", failure, flush=True)
    return 1 if failures else 0


def main():
    if sys.argv[1].startswith("--"):
        return run_part(*sys.argv[1:4])
    program, cli = (os.path.abspath(arg) for arg in sys.argv[1:3])
    failed = 0
    with tempfile.TemporaryDirectory() as folder:
        subprocess.run([cli, "sample", folder], check=True, stdout=subprocess.DEVNULL)
        for part in ["--without-data", "--opened-day"]:
            failed += subprocess.run(["dbus-run-session", "--", "xvfb-run", "-a", sys.executable,
                                      os.path.abspath(__file__), part, program, folder]).returncode
    print("accessibility check:", f"{failed} runs failed" if failed else "passed")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
