#!/usr/bin/env python3
"""Starts a program, waits for its first window to be mapped, presses the
given keys (xdotool, each held a tenth of a second, WAIT seconds apart),
then Escape, and prints the milliseconds from the X server's destroy or unmap
of that window to the end of the process, the program's exit status, and
the milliseconds from the Escape to the window's going. Prints
"- STATUS" when the window never went, "- -" when no window came or the
process outlived the time.
Usage: window_gone.py [--quit=escape|close|destroy] WAIT KEYS COMMAND...   (KEYS: comma-separated, "" for none;
"type:TEXT" types TEXT)"""
import ctypes
import ctypes.util
import select
import subprocess
import sys
import time

x = ctypes.CDLL(ctypes.util.find_library("X11"))
x.XOpenDisplay.restype = ctypes.c_void_p
x.XOpenDisplay.argtypes = [ctypes.c_char_p]
x.XDefaultRootWindow.restype = ctypes.c_ulong
x.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
x.XSelectInput.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_long]
x.XSync.argtypes = [ctypes.c_void_p, ctypes.c_int]
x.XPending.argtypes = [ctypes.c_void_p]
x.XNextEvent.argtypes = [ctypes.c_void_p, ctypes.c_void_p]
x.XConnectionNumber.argtypes = [ctypes.c_void_p]


class WindowEvent(ctypes.Structure):  # the head every structure event shares
    _fields_ = [("type", ctypes.c_int), ("serial", ctypes.c_ulong), ("send_event", ctypes.c_int),
                ("display", ctypes.c_void_p), ("event", ctypes.c_ulong), ("window", ctypes.c_ulong),
                ("override_redirect", ctypes.c_int)]


class Event(ctypes.Union):
    _fields_ = [("type", ctypes.c_int), ("w", WindowEvent), ("pad", ctypes.c_long * 24)]


DESTROY_NOTIFY, UNMAP_NOTIFY, MAP_NOTIFY = 17, 18, 19
SUBSTRUCTURE_NOTIFY = 1 << 19
TIME_LIMIT = 30.0
# Ways to close the program: Escape held a tenth of a second; the window
# manager's close key (openbox: Alt+F4, the window asked to close); the
# window destroyed from outside.
QUIT_BY = {
    "escape": "xdotool keydown Escape; sleep 0.1; xdotool keyup Escape",
    "close": "xdotool key alt+F4",
    "destroy": "xdotool getactivewindow windowclose || xdotool search --name '^Tessmar$' windowclose",
}

quit_by = "escape"
if sys.argv[1].startswith("--quit="):
    quit_by = sys.argv.pop(1)[len("--quit="):]
wait = float(sys.argv[1])
keys = [k for k in sys.argv[2].split(",") if k]
display = x.XOpenDisplay(None)
if not display:
    sys.exit("no display")
root = x.XDefaultRootWindow(display)
x.XSelectInput(display, root, SUBSTRUCTURE_NOTIFY)
x.XSync(display, 0)
program = subprocess.Popen(sys.argv[3:], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
fd = x.XConnectionNumber(display)
start = time.monotonic()


def next_events(seconds):
    """The structure events on the root within the given time."""
    end = time.monotonic() + seconds
    while time.monotonic() < end:
        while x.XPending(display):
            event = Event()
            x.XNextEvent(display, ctypes.byref(event))
            yield event
        if program.poll() is not None:
            return
        select.select([fd], [], [], 0.01)


window = None
for event in next_events(TIME_LIMIT):
    if event.type == MAP_NOTIFY and not event.w.override_redirect:
        window = event.w.window
        break
if window is None:
    program.kill()
    print("- -")
    sys.exit(1)


def press(key):
    if key.startswith("type:"):  # a text typed into whatever has the focus
        subprocess.run(["xdotool", "type", "--delay", "30", key[5:]])
        return
    subprocess.run(["xdotool", "keydown", key])
    time.sleep(0.1)
    subprocess.run(["xdotool", "keyup", key])


for key in keys:
    time.sleep(wait)
    press(key)
time.sleep(wait)
while x.XPending(display):  # what came before the quit does not count
    x.XNextEvent(display, ctypes.byref(Event()))
escaped = time.monotonic()
subprocess.Popen(["sh", "-c", QUIT_BY[quit_by]])
gone = ended = None
while time.monotonic() - escaped < TIME_LIMIT and (gone is None or ended is None):
    while gone is None and x.XPending(display):
        event = Event()
        x.XNextEvent(display, ctypes.byref(event))
        if event.type in (DESTROY_NOTIFY, UNMAP_NOTIFY) and event.w.window == window:
            gone = time.monotonic()
    if ended is None and program.poll() is not None:
        ended = time.monotonic()
    select.select([fd], [], [], 0.001)
if ended is None:
    program.kill()
    print("- -")
    sys.exit(1)
if gone is None:
    print("-", program.returncode)
    sys.exit(1)
print(round((ended - gone) * 1000), program.returncode, round((gone - escaped) * 1000))
