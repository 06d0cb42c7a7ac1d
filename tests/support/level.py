#!/usr/bin/python3
"""Level text for the shell and browser tests: a grid of size N with only the
given flags set, one node per line as "A,B".

    level.py N [I,J,FLAG ...]      prints the level; FLAG is A or B

Node (I, J) sits at viewer-space (I-10, J-10); A makes a wall across the first
view from (I-11, J-10) to (I-9, J-10), B one along it from (I-10, J-11) to
(I-10, J-9). The loader numbers walls in file order (I outer, J inner, A
before B), and wall 5 blinks: a level compared frame to frame needs at most 4.
"""
import sys


def level_text(n, flags):
    """The level of grid size n with the flags (I, J, 'A' or 'B') set."""
    flags = set(flags)
    for i, j, flag in flags:
        if not (0 <= i <= n and 0 <= j <= n and flag in ('A', 'B')):
            raise ValueError('no such flag in a grid of %d: %d,%d,%s' % (n, i, j, flag))
    nodes = ['%d,%d' % ((i, j, 'A') in flags, (i, j, 'B') in flags)
             for i in range(n + 1) for j in range(n + 1)]
    return '%d\n%s\n' % (n, '\n'.join(nodes))


def main(argv):
    try:
        n = int(argv[1])
        flags = [(int(i), int(j), f) for i, j, f in (a.split(',') for a in argv[2:])]
        sys.stdout.write(level_text(n, flags))
    except (IndexError, ValueError) as error:
        sys.exit('level.py: %s (usage: level.py N [I,J,FLAG ...])' % error)


if __name__ == '__main__':
    main(sys.argv)
