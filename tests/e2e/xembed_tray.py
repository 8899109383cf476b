"""A minimal system tray for a test's Xvfb (no package ships one here): it owns the tray
selection of screen 0, docks every icon that asks (Wine's tray icons are XEmbed clients) into
its own window at the screen's top left, and prints each docked window's id.

Run as a program: python3 xembed_tray.py (DISPLAY set); it runs until killed."""
import ctypes
import sys

X = ctypes.cdll.LoadLibrary("libX11.so.6")
X.XOpenDisplay.restype = ctypes.c_void_p
X.XOpenDisplay.argtypes = [ctypes.c_char_p]
X.XDefaultRootWindow.restype = ctypes.c_ulong
X.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
X.XInternAtom.restype = ctypes.c_ulong
X.XInternAtom.argtypes = [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_int]
X.XCreateSimpleWindow.restype = ctypes.c_ulong
X.XCreateSimpleWindow.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_int, ctypes.c_uint,
                                  ctypes.c_uint, ctypes.c_uint, ctypes.c_ulong, ctypes.c_ulong]
for name, args in {"XSetSelectionOwner": [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_ulong, ctypes.c_ulong],
                   "XMapWindow": [ctypes.c_void_p, ctypes.c_ulong],
                   "XReparentWindow": [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_ulong, ctypes.c_int, ctypes.c_int],
                   "XResizeWindow": [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_uint, ctypes.c_uint],
                   "XSendEvent": [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_long, ctypes.c_void_p],
                   "XNextEvent": [ctypes.c_void_p, ctypes.c_void_p],
                   "XFlush": [ctypes.c_void_p]}.items():
    getattr(X, name).argtypes = args

CLIENT_MESSAGE = 33
STRUCTURE_NOTIFY_MASK = 1 << 17
ICON = 24


class ClientMessage(ctypes.Structure):
    _fields_ = [("type", ctypes.c_int), ("serial", ctypes.c_ulong), ("send_event", ctypes.c_int),
                ("display", ctypes.c_void_p), ("window", ctypes.c_ulong), ("message_type", ctypes.c_ulong),
                ("format", ctypes.c_int), ("data", ctypes.c_long * 5)]


class Event(ctypes.Union):
    _fields_ = [("type", ctypes.c_int), ("client", ClientMessage), ("pad", ctypes.c_long * 24)]


def main():
    display = X.XOpenDisplay(None)
    if not display:
        sys.exit("no display")
    root = X.XDefaultRootWindow(display)
    selection = X.XInternAtom(display, b"_NET_SYSTEM_TRAY_S0", 0)
    opcode = X.XInternAtom(display, b"_NET_SYSTEM_TRAY_OPCODE", 0)
    manager = X.XInternAtom(display, b"MANAGER", 0)
    tray = X.XCreateSimpleWindow(display, root, 0, 0, ICON * 4, ICON, 0, 0, 0)
    X.XMapWindow(display, tray)
    X.XSetSelectionOwner(display, selection, tray, 0)
    announce = Event()
    announce.client = ClientMessage(CLIENT_MESSAGE, 0, 1, display, root, manager, 32, (ctypes.c_long * 5)(0, selection, tray, 0, 0))
    X.XSendEvent(display, root, 0, STRUCTURE_NOTIFY_MASK, ctypes.byref(announce))
    X.XFlush(display)
    print("ready", flush=True)
    docked = 0
    event = Event()
    while True:
        X.XNextEvent(display, ctypes.byref(event))
        if event.type != CLIENT_MESSAGE or event.client.message_type != opcode or event.client.data[1] != 0:
            continue
        icon = event.client.data[2]
        X.XReparentWindow(display, icon, tray, docked * ICON, 0)
        X.XResizeWindow(display, icon, ICON, ICON)
        X.XMapWindow(display, icon)
        X.XFlush(display)
        docked += 1
        print(f"docked {icon}", flush=True)


if __name__ == "__main__":
    main()
