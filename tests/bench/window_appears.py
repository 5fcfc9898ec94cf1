#!/usr/bin/env python3
"""Starts a program and prints the milliseconds from its start to the first
window mapped on the root (the program's top-level window, or the frame a
window manager puts around it), then the program's process id. The program
goes on running. Prints "- PID" when no window came within the time.
Usage: window_appears.py SECONDS COMMAND..."""
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


class MapEvent(ctypes.Structure):
    _fields_ = [("type", ctypes.c_int), ("serial", ctypes.c_ulong), ("send_event", ctypes.c_int),
                ("display", ctypes.c_void_p), ("event", ctypes.c_ulong), ("window", ctypes.c_ulong),
                ("override_redirect", ctypes.c_int)]


class Event(ctypes.Union):
    _fields_ = [("type", ctypes.c_int), ("map", MapEvent), ("pad", ctypes.c_long * 24)]


MAP_NOTIFY = 19
SUBSTRUCTURE_NOTIFY = 1 << 19

seconds = float(sys.argv[1])
display = x.XOpenDisplay(None)
if not display:
    sys.exit("no display")
x.XSelectInput(display, x.XDefaultRootWindow(display), SUBSTRUCTURE_NOTIFY)
x.XSync(display, 0)  # listening before the program starts
start = time.monotonic()
program = subprocess.Popen(sys.argv[2:], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
fd = x.XConnectionNumber(display)
while time.monotonic() - start < seconds:
    while x.XPending(display):
        event = Event()
        x.XNextEvent(display, ctypes.byref(event))
        if event.type == MAP_NOTIFY and not event.map.override_redirect:
            print(round((time.monotonic() - start) * 1000), program.pid)
            sys.exit(0)
    select.select([fd], [], [], 0.05)
print("-", program.pid)
