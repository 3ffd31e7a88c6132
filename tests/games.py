#!/usr/bin/python3
# The scripted games of games.txt as the steps that play them, for the web tests; run, it prints
# them for tests/e2e/play.sh, a step a line: "show PICTURE WHAT", "keys KEY..." or "wave TICK
# PICTURE WHAT". A step of keys comes with the cells its taps hit ((x, y): to it, then on it; None:
# anywhere).
import os


def steps():
    cursor = (4, 4)
    with open(os.path.join(os.path.dirname(__file__), 'games.txt')) as lines:
        for step, *args in (line.split() for line in lines if line.strip() and line[0] != '#'):
            if step == 'show':
                yield 'show', args[0], ' '.join(args[1:])
            elif step == 'wave':
                yield 'wave', int(args[0]), args[1], ' '.join(args[2:])
            elif step == 'new':
                cursor = (4, 4)
                yield 'keys', ['space'], [None]
            elif step == 'arrows':
                cursor = tuple(int(n) for n in args[0].split(','))
                yield 'keys', args[1:], [cursor]
            elif step == 'place':
                keys, cells = [], []
                for x, y in (map(int, cell.split(',')) for cell in args):
                    keys += ['Left'] * (cursor[0] - x) + ['Right'] * (x - cursor[0])
                    keys += ['Down'] * (cursor[1] - y) + ['Up'] * (y - cursor[1]) + ['Return']
                    cells += [(x, y)] * (1 if cursor == (x, y) else 2)
                    cursor = (x, y)
                yield 'keys', keys, cells


if __name__ == '__main__':
    for step, *args in steps():
        print(step, *args[0] if step == 'keys' else args)
