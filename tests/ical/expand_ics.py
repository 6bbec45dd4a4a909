#!/usr/bin/python3
"""Expands the events of a calendar file with python3-icalendar and
python3-dateutil, a reader independent of the program's own: prints one line
"YYYY-MM-DD HH:MM:SS<TAB>SUMMARY" per run from FROM to TO (both included),
in time order. The start counts as a run, RDATEs are added and EXDATEs
removed, as the calendar format has it."""

import sys
from datetime import datetime

from dateutil.rrule import rrulestr
from icalendar import Calendar


def moments(value):
    """The datetimes of an RDATE or EXDATE property, one or several lines."""
    out = []
    for prop in value if isinstance(value, list) else [value]:
        out.extend(item.dt for item in prop.dts)
    return out


def runs(event, first, last):
    start = event.get('dtstart').dt
    found = {start} if first <= start <= last else set()
    for rule in event.get('rrule') and [event.get('rrule')] or []:
        text = rule.to_ical().decode()
        found.update(rrulestr(text, dtstart=start).between(first, last, inc=True))
    for when in moments(event.get('rdate')) if event.get('rdate') else []:
        if first <= when <= last:
            found.add(when)
    for when in moments(event.get('exdate')) if event.get('exdate') else []:
        found.discard(when)
    return found


def main():
    path, first, last = sys.argv[1], *(datetime.fromisoformat(a) for a in sys.argv[2:4])
    with open(path, 'rb') as f:
        calendar = Calendar.from_ical(f.read())
    lines = []
    for event in calendar.walk('VEVENT'):
        summary = str(event.get('summary'))
        lines.extend((when, summary) for when in runs(event, first, last))
    for when, summary in sorted(lines):
        print(f"{when:%Y-%m-%d %H:%M:%S}\t{summary}")


if __name__ == '__main__':
    main()
