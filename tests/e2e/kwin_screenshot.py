#!/usr/bin/python3
# The whole screen as KWin shows it, in device pixels, as a PPM on standard output: grim's part in
# the Wayland tests, for KWin, which offers no screencopy but its ScreenShot2 D-Bus interface.
# Run on KWin's session bus, as KWin's user.
import os
import sys

import dbus

bus = dbus.SessionBus()
shot = dbus.Interface(bus.get_object("org.kde.KWin", "/org/kde/KWin/ScreenShot2"),
                      "org.kde.KWin.ScreenShot2")
read, write = os.pipe()
info = shot.CaptureWorkspace({"native-resolution": True, "include-cursor": False},
                             dbus.types.UnixFd(write))
os.close(write)
data = b""
while chunk := os.read(read, 1 << 20):
    data += chunk
width, height, stride = int(info["width"]), int(info["height"]), int(info["stride"])
# QImage's 32-bit formats, as KWin sends them: B, G, R, A in memory.
rows = (data[y * stride:y * stride + width * 4] for y in range(height))
out = sys.stdout.buffer
out.write(b"P6 %d %d 255\n" % (width, height))
for row in rows:
    pixels = bytearray(width * 3)
    pixels[0::3], pixels[1::3], pixels[2::3] = row[2::4], row[1::4], row[0::4]
    out.write(pixels)
