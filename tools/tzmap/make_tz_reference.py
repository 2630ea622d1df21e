#!/usr/bin/python3
# SPDX-License-Identifier: LGPL-3.0-or-later
"""Writes tests/data/tz/offsets.txt: UTC offsets of tz database zones at chosen instants,
by Python's zoneinfo over the system's tzdata (the tables the library's TZif reader is
checked against). Instants: 1 January and 1 July of years from 1900 to 2100 (after the
last transition of every file the footer rule answers), and both sides of every change of
offset in 2024, 2040 and 2100.

    /usr/bin/python3 tools/tzmap/make_tz_reference.py > tests/data/tz/offsets.txt
"""
import datetime
import zoneinfo

ZONES = ["America/Chicago", "Europe/London", "Asia/Tokyo", "Australia/Sydney", "Australia/Lord_Howe",
         "Asia/Kolkata", "America/Santiago", "Pacific/Chatham", "Europe/Dublin", "America/St_Johns",
         "Africa/Casablanca", "America/Sao_Paulo", "Antarctica/Troll", "Pacific/Apia", "America/Godthab",
         "Asia/Tehran", "UTC", "Etc/GMT+6"]
UTC = datetime.timezone.utc
# The instants of the command-line tests: the 2024 eclipse at Dallas, sunrise in London in
# summer and winter, an evening in Tokyo.
CLI_INSTANTS = {"America/Chicago": ["2024-04-08T18:00:00"], "Europe/London": ["2026-07-01T12:00:00", "2026-01-15T12:00:00"],
                "Asia/Tokyo": ["2026-12-06T12:00:00"]}


def offset(zone, t):
    return int(t.astimezone(zone).utcoffset().total_seconds())


def changes(zone, year):
    """Instants (whole seconds, UTC) at which the offset changes within the year."""
    t = datetime.datetime(year, 1, 1, tzinfo=UTC)
    end = datetime.datetime(year + 1, 1, 1, tzinfo=UTC)
    step = datetime.timedelta(hours=1)
    while t < end:
        if offset(zone, t) != offset(zone, t + step):
            lo, hi = t, t + step
            while hi - lo > datetime.timedelta(seconds=1):
                mid = lo + (hi - lo) / 2
                mid = mid.replace(microsecond=0)
                if mid == lo:
                    break
                if offset(zone, mid) == offset(zone, lo):
                    lo = mid
                else:
                    hi = mid
            yield hi
        t += step


def main():
    print("# zone\tUTC instant\toffset in seconds east (Python zoneinfo, tzdata %s)"
          % open("/usr/share/zoneinfo/tzdata.zi").readline().split()[-1])
    for name in ZONES:
        zone = zoneinfo.ZoneInfo(name)
        instants = set()
        for year in (1900, 1950, 1970, 1990, 2000, 2024, 2037, 2038, 2050, 2075, 2100):
            for month in (1, 7):
                instants.add(datetime.datetime(year, month, 1, 12, tzinfo=UTC))
        for text in CLI_INSTANTS.get(name, []):
            instants.add(datetime.datetime.fromisoformat(text).replace(tzinfo=UTC))
        for year in (2024, 2040, 2100):
            for c in changes(zone, year):
                instants.add(c - datetime.timedelta(seconds=1))
                instants.add(c)
        for t in sorted(instants):
            print("%s\t%s\t%d" % (name, t.strftime("%Y-%m-%dT%H:%M:%SZ"), offset(zone, t)))


main()
