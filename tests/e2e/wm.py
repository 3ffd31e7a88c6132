#!/usr/bin/python3
# Starts GAME under a stand-in window manager that reads at the first MapRequest what docks know the
# window by, maps it and exits (handing requests back to the server). Fails unless the title, class,
# place and _NET_WM_PID are the game's and the icon holds the pixels its header says; prints the
# window and the icon's size, and writes the icon's RGBA to ICON. The process becomes the game.
# FIZZGRID_TIMEOUT_MULTIPLIER scales the wait. Usage (in an X server): wm.py ICON GAME
import os, select, sys, time
from Xlib import X, display

x = display.Display()
x.screen().root.change_attributes(event_mask=X.SubstructureRedirectMask)
x.sync()
if os.fork():  # the game keeps this process, without its X connection (not inherited)
    os.dup2(os.open(os.devnull, os.O_WRONLY), 1)
    os.execv(sys.argv[2], sys.argv[2:])
end = time.monotonic() + 5 * int(os.environ.get('FIZZGRID_TIMEOUT_MULTIPLIER', '1'))
while x.pending_events() or select.select([x], [], [], max(end - time.monotonic(), 0))[0]:
    if (event := x.next_event()).type == X.MapRequest:  # nothing else comes before it
        break
else:
    sys.exit('FAIL: no window asked to be mapped')
w = event.window
read = lambda name: list(getattr(w.get_full_property(x.intern_atom(name), 0), 'value', [])) or [0, 0]
g, icon = w.get_geometry(), read('_NET_WM_ICON')
seen = [w.get_wm_name(), w.get_wm_class(), (g.x, g.y, g.width, g.height), read('_NET_WM_PID')]
w.map()
x.sync()
print('At MapRequest: WM_NAME, WM_CLASS, place, _NET_WM_PID:', *seen, '_NET_WM_ICON:', len(icon),
      'items,', icon[:2], 'then', [hex(p) for p in icon[2:5]], '...', file=sys.stderr)
game = ['Fizzgrid -- Quillon Final Project', ('fizzgrid', 'Fizzgrid'), (0, 0, 600, 600)]
if seen != game + [[os.getppid()]] or len(icon) != 2 + icon[0] * icon[1] or not icon[0]:
    sys.exit('FAIL: not the title, class, place or process id of the game, or no icon of its size')
with open(sys.argv[1], 'wb') as out:  # 0xAARRGGBB to bytes R, G, B, A
    out.write(bytes(p >> shift & 255 for p in icon[2:] for shift in (16, 8, 0, 24)))
print(w.id, f'{icon[0]}x{icon[1]}')
