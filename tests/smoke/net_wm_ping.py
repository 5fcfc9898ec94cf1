#!/usr/bin/env python3
"""Sends _NET_WM_PING to a window, as a window manager does, and waits for the
answer on the root window. Exit 0 when answered within the time, 1 when not.
Usage: net_wm_ping.py WINDOW_ID [SECONDS]"""
import ctypes
import ctypes.util
import select
import sys
import time

x = ctypes.CDLL(ctypes.util.find_library("X11"))
x.XOpenDisplay.restype = ctypes.c_void_p
x.XOpenDisplay.argtypes = [ctypes.c_char_p]
x.XDefaultRootWindow.restype = ctypes.c_ulong
x.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
x.XInternAtom.restype = ctypes.c_ulong
x.XInternAtom.argtypes = [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_int]
x.XSelectInput.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_long]
x.XSendEvent.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_long, ctypes.c_void_p]
x.XFlush.argtypes = [ctypes.c_void_p]
x.XPending.argtypes = [ctypes.c_void_p]
x.XNextEvent.argtypes = [ctypes.c_void_p, ctypes.c_void_p]
x.XConnectionNumber.argtypes = [ctypes.c_void_p]


class ClientMessage(ctypes.Structure):
    _fields_ = [("type", ctypes.c_int), ("serial", ctypes.c_ulong), ("send_event", ctypes.c_int),
                ("display", ctypes.c_void_p), ("window", ctypes.c_ulong), ("message_type", ctypes.c_ulong),
                ("format", ctypes.c_int), ("l", ctypes.c_long * 5)]


class Event(ctypes.Union):
    _fields_ = [("type", ctypes.c_int), ("client", ClientMessage), ("pad", ctypes.c_long * 24)]


CLIENT_MESSAGE = 33
SUBSTRUCTURE_NOTIFY = 1 << 19
SUBSTRUCTURE_REDIRECT = 1 << 20

window = int(sys.argv[1], 0)
seconds = float(sys.argv[2]) if len(sys.argv) > 2 else 3.0
display = x.XOpenDisplay(None)
if not display:
    sys.exit("no display")
root = x.XDefaultRootWindow(display)
protocols = x.XInternAtom(display, b"WM_PROTOCOLS", 0)
ping = x.XInternAtom(display, b"_NET_WM_PING", 0)
x.XSelectInput(display, root, SUBSTRUCTURE_NOTIFY)
stamp = int(time.time() * 1000) & 0xFFFFFFFF
event = Event()
event.client.type = CLIENT_MESSAGE
event.client.window = window
event.client.message_type = protocols
event.client.format = 32
event.client.l[0] = ping
event.client.l[1] = stamp
event.client.l[2] = window
x.XSendEvent(display, window, 0, 0, ctypes.byref(event))
x.XFlush(display)
deadline = time.time() + seconds
fd = x.XConnectionNumber(display)
while time.time() < deadline:
    while x.XPending(display):
        reply = Event()
        x.XNextEvent(display, ctypes.byref(reply))
        c = reply.client
        if reply.type == CLIENT_MESSAGE and c.window == root and c.l[0] == ping and c.l[1] == stamp:
            print("answered")
            sys.exit(0)
    select.select([fd], [], [], 0.1)
print("no answer")
sys.exit(1)
