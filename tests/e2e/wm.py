#!/usr/bin/python3
# Plays a window manager's part for the first window mapped: takes the root's SubstructureRedirect,
# prints "ready", and at the window's MapRequest checks what a dock reads there: WM_CLASS,
# _NET_WM_ICON, whose pixels must be the artwork drawn again at the icon's size (rsvg-convert), and
# _NET_WM_PID, which it prints for the caller to check. Then maps the window, prints what it read and
# exits, which hands requests back to the server. FIZZGRID_TIMEOUT_MULTIPLIER scales its wait.
# Usage (in an X server): wm.py ARTWORK.svg
import os, select, subprocess, sys, time
from Xlib import X, display

# Levels of 255 by which a pixel of the icon may differ from the artwork drawn again: room for
# another build of librsvg to antialias edges differently. An edge moved by a third of a pixel
# differs by about 90, a colour a person could tell apart by more than 16.
TOLERANCE = 8

def fail(why):
    print('FAIL:', why, file=sys.stderr)
    sys.exit(1)

def premultiplied(r, g, b, a):  # what shows on any background: colours of transparent pixels vanish
    return tuple(round(c * a / 255) for c in (r, g, b)) + (a,)

x = display.Display()
x.screen().root.change_attributes(event_mask=X.SubstructureRedirectMask)
x.sync()
print('ready', flush=True)
deadline = time.monotonic() + 5 * int(os.environ.get('FIZZGRID_TIMEOUT_MULTIPLIER', '1'))
while True:
    while not x.pending_events():
        if not select.select([x], [], [], max(deadline - time.monotonic(), 0))[0]:
            fail('no window asked to be mapped')
    event = x.next_event()
    if event.type == X.ConfigureRequest:  # granted as asked
        event.window.configure(x=event.x, y=event.y, width=event.width, height=event.height)
    elif event.type == X.MapRequest:
        break
window = event.window
wmClass = window.get_wm_class()
wmPid = window.get_full_property(x.intern_atom('_NET_WM_PID'), X.AnyPropertyType)
icon = window.get_full_property(x.intern_atom('_NET_WM_ICON'), X.AnyPropertyType)
window.map()
x.sync()
print('At MapRequest: WM_CLASS', wmClass, '_NET_WM_PID', wmPid and list(wmPid.value),
      '_NET_WM_ICON', icon and f'{len(icon.value)} items: {list(icon.value[:3])} ...')
if wmClass != ('fizzgrid', 'Fizzgrid'):
    fail(f'WM_CLASS is {wmClass}')
if icon is None or icon.format != 32 or len(icon.value) < 2:
    fail('no icon')
width, height, argb = icon.value[0], icon.value[1], icon.value[2:]
if len(argb) != width * height:
    fail(f'the icon says {width} by {height} but holds {len(argb)} pixels')
if not any(p >> 24 for p in argb):
    fail('the icon is transparent')
drawn = subprocess.run(f'rsvg-convert -w {width} -h {height} "{sys.argv[1]}" | '
                       'convert png:- -depth 8 rgba:-', shell=True, capture_output=True,
                       check=True).stdout
worst, at = 0, None
for i, p in enumerate(argb):
    got = premultiplied(p >> 16 & 255, p >> 8 & 255, p & 255, p >> 24 & 255)
    want = premultiplied(*drawn[4 * i:4 * i + 4])
    off = max(abs(a - b) for a, b in zip(got, want))
    if off > worst:
        worst, at = off, (i % width, i // width)
print(f'icon against the artwork drawn at {width} by {height}: up to {worst} levels of 255', at or '')
if worst > TOLERANCE:
    fail(f'the icon is not the artwork: {worst} levels off at column, row {at}')
