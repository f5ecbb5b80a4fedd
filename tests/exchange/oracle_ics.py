#!/usr/bin/python3
"""Reads a calendar file with the icalendar module, independently of the
program's own reader, and prints one line per item:

  event <yyyymmdd> <HH:MM>-<HH:MM> <summary> reminder=<minutes> status=<status>
  todo due=<yyyymmdd> <summary> priority=<priority> status=<status>
  yearly <yyyymmdd> <summary>

Times are given in the zone named on the command line. Usage:
  oracle_ics.py <file.ics> <IANA zone>
"""
import datetime
import sys
from zoneinfo import ZoneInfo

import icalendar


def main():
    path, zone_name = sys.argv[1], sys.argv[2]
    zone = ZoneInfo(zone_name)
    with open(path, 'rb') as f:
        calendar = icalendar.Calendar.from_ical(f.read())
    out = []
    for item in calendar.walk():
        if item.name == 'VEVENT':
            start = item.decoded('DTSTART')
            summary = str(item.get('SUMMARY'))
            if item.get('RRULE') is not None:
                rule = item.get('RRULE')
                assert rule.get('FREQ') == ['YEARLY'], rule
                out.append('yearly %s %s' % (start.strftime('%Y%m%d'), summary))
                continue
            end = item.decoded('DTEND')
            start, end = start.astimezone(zone), end.astimezone(zone)
            reminder = 0
            for alarm in item.walk('VALARM'):
                trigger = alarm.decoded('TRIGGER')
                assert isinstance(trigger, datetime.timedelta), trigger
                reminder = int(-trigger.total_seconds() // 60)
            out.append('event %s %s-%s %s reminder=%d status=%s' % (
                start.strftime('%Y%m%d'), start.strftime('%H:%M'), end.strftime('%H:%M'),
                summary, reminder, item.get('STATUS', '-')))
        elif item.name == 'VTODO':
            due = item.get('DUE')
            out.append('todo due=%s %s priority=%s status=%s' % (
                due.dt.strftime('%Y%m%d') if due is not None else '-', str(item.get('SUMMARY')),
                item.get('PRIORITY', '-'), item.get('STATUS', '-')))
    sys.stdout.write(''.join(line + '\n' for line in out))


main()
