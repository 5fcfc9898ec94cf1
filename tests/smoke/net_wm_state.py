#!/usr/bin/env python3
"""Asks the window manager to add or remove states of a window, as a pager
or a title bar's button does (a _NET_WM_STATE client message to the root).
Usage: net_wm_state.py WINDOW_ID add|remove STATE [STATE]
(STATE: MAXIMIZED_VERT, MAXIMIZED_HORZ, FULLSCREEN, ...)"""
import ctypes
import ctypes.util
import sys

x = ctypes.CDLL(ctypes.util.find_library("X11"))
x.XOpenDisplay.restype = ctypes.c_void_p
x.XOpenDisplay.argtypes = [ctypes.c_char_p]
x.XDefaultRootWindow.restype = ctypes.c_ulong
x.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
x.XInternAtom.restype = ctypes.c_ulong
x.XInternAtom.argtypes = [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_int]
x.XSendEvent.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_long, ctypes.c_void_p]
x.XCloseDisplay.argtypes = [ctypes.c_void_p]


class ClientMessage(ctypes.Structure):
    _fields_ = [("type", ctypes.c_int), ("serial", ctypes.c_ulong), ("send_event", ctypes.c_int),
                ("display", ctypes.c_void_p), ("window", ctypes.c_ulong), ("message_type", ctypes.c_ulong),
                ("format", ctypes.c_int), ("l", ctypes.c_long * 5)]


class Event(ctypes.Union):
    _fields_ = [("type", ctypes.c_int), ("client", ClientMessage), ("pad", ctypes.c_long * 24)]


CLIENT_MESSAGE = 33
SUBSTRUCTURE_NOTIFY = 1 << 19
SUBSTRUCTURE_REDIRECT = 1 << 20
ACTIONS = {"remove": 0, "add": 1}
SOURCE_PAGER = 2

window = int(sys.argv[1], 0)
action = ACTIONS[sys.argv[2]]
states = sys.argv[3:5]
display = x.XOpenDisplay(None)
if not display:
    sys.exit("no display")
event = Event()
event.client.type = CLIENT_MESSAGE
event.client.window = window
event.client.message_type = x.XInternAtom(display, b"_NET_WM_STATE", 0)
event.client.format = 32
event.client.l[0] = action
for i, state in enumerate(states):
    event.client.l[1 + i] = x.XInternAtom(display, b"_NET_WM_STATE_" + state.encode(), 0)
event.client.l[3] = SOURCE_PAGER
x.XSendEvent(display, x.XDefaultRootWindow(display), 0, SUBSTRUCTURE_NOTIFY | SUBSTRUCTURE_REDIRECT,
             ctypes.byref(event))
x.XCloseDisplay(display)  # flushes the request
