#!/usr/bin/python3
# Usage (in an X server): wm.py ICON GAME. A stand-in window manager starts GAME, checks its
# window's title, class, place, pid and icon at its first MapRequest, writes the icon to ICON (PAM),
# maps the window, prints it, its visual and the icon's size, and exits; SIGALRM ends it after 5 s.
import os, re, signal, sys
from Xlib import X, display

header = open(os.path.join(os.path.dirname(__file__), '../../app/window.h')).read()
title = re.search(r'^#define WINDOW_TITLE "(.*)"', header, re.M)[1]
size = int(re.search(r'^#define WINDOW_SIZE (\d+)', header, re.M)[1])

x = display.Display()
x.screen().root.change_attributes(event_mask=X.SubstructureRedirectMask)
x.sync()
if os.fork():  # this process becomes the game, without the X connection (not inherited)
    os.dup2(os.open(os.devnull, os.O_WRONLY), 1)
    os.execv(sys.argv[2], sys.argv[2:])
signal.alarm(5 * int(os.environ.get('FIZZGRID_TIMEOUT_MULTIPLIER', '1')))
w = next(e for e in iter(x.next_event, None) if e.type == X.MapRequest).window  # the first
g = w.get_geometry()
read = lambda name: getattr(w.get_full_property(x.intern_atom(name), 0), 'value', None)
pid, icon = read('_NET_WM_PID'), list(read('_NET_WM_ICON') or [0, 0])
seen = [w.get_wm_name(), w.get_wm_class(), (g.x, g.y, g.width, g.height), pid and list(pid)]
game = [title, ('fizzgrid', 'Fizzgrid'), (0, 0, size, size), [os.getppid()]]
if seen != game or len(icon) != 2 + icon[0] * icon[1] or not icon[0]:
    sys.exit(f'FAIL at MapRequest: {seen}, _NET_WM_ICON {icon[:2]} then {len(icon) - 2} pixels')
pam = b'P7\nWIDTH %d\nHEIGHT %d\nDEPTH 4\nMAXVAL 255\nTUPLTYPE RGB_ALPHA\nENDHDR\n' % (*icon[:2],)
open(sys.argv[1], 'wb').write(pam + bytes(p >> s & 255 for p in icon[2:] for s in (16, 8, 0, 24)))
w.map()
x.sync()
print(w.id, hex(w.get_attributes().visual), f'{icon[0]}x{icon[1]}')
