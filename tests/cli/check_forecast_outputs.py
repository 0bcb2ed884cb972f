#!/usr/bin/python3
"""Runs tolvaris-chart --transits and reads what it writes with independent
tools: the JSON with Python's parser, its times against Python's zoneinfo,
the iCalendar file with Debian's python3-icalendar (RFC 5545 folding, CR LF)
and its events against the JSON of the same run."""
import json
import subprocess
import sys
import tempfile
from datetime import date, datetime, timedelta, timezone
from pathlib import Path
from zoneinfo import ZoneInfo

import icalendar

failures = []


def check(condition, what):
    if not condition:
        failures.append(what)


def run(executable, arguments):
    done = subprocess.run([executable] + arguments, capture_output=True, check=False)
    check(done.returncode == 0, f"{arguments}: exit {done.returncode}: {done.stderr!r}")
    return done.stdout


def utc(text):
    return datetime.strptime(text, "%Y-%m-%dT%H:%M:%SZ").replace(tzinfo=timezone.utc)


def local_text(moment, zone):
    if zone == "UTC":
        return moment.strftime("%Y-%m-%dT%H:%M:%SZ")
    return moment.astimezone(ZoneInfo(zone)).isoformat()


def zone_midnight(day, zone):
    tz = timezone.utc if zone == "UTC" else ZoneInfo(zone)
    return datetime(day.year, day.month, day.day, tzinfo=tz).astimezone(timezone.utc)


def check_json(forecast, first, last, zone, what):
    check(list(forecast) == ["natal", "range", "settings", "transits", "ingresses", "stations",
                             "notes"], f"{what}: keys {list(forecast)}")
    span = forecast["range"]
    check(span["display_zone"] == zone, f"{what}: zone {span['display_zone']}")
    check(utc(span["from"]) == zone_midnight(first, zone), f"{what}: from {span['from']}")
    check(utc(span["to"]) == zone_midnight(last + timedelta(days=1), zone),
          f"{what}: to {span['to']}")
    starts = [utc(t["enter"] or span["from"]) for t in forecast["transits"]]
    check(starts == sorted(starts), f"{what}: transits not in the order they begin")
    moments = [e for t in forecast["transits"] for e in t["exact"]]
    moments += forecast["ingresses"] + forecast["stations"]
    check(moments, f"{what}: nothing found")
    for item in moments:
        check(item["local"] == local_text(utc(item["utc"]), zone),
              f"{what}: {item['utc']} shown as {item['local']}")


def read_calendar(path, what):
    raw = path.read_bytes()
    check(raw.endswith(b"\r\n"), f"{what}: last line not ended by CR LF")
    lines = raw.split(b"\r\n")[:-1]
    check(all(b"\n" not in line and b"\r" not in line for line in lines),
          f"{what}: a line ends otherwise than CR LF")
    check(all(len(line) <= 75 for line in lines), f"{what}: a line longer than 75 octets")
    for line in lines:
        try:
            line.decode("utf-8")
        except UnicodeDecodeError:
            failures.append(f"{what}: a fold splits a character: {line!r}")
    calendar = icalendar.Calendar.from_ical(raw)
    events = {}
    for event in calendar.walk("VEVENT"):
        start = event.decoded("DTSTART")
        check(start.utcoffset() == timedelta(0), f"{what}: DTSTART not in UTC")
        key = (str(event["SUMMARY"]), start.astimezone(timezone.utc))
        check(key not in events, f"{what}: event {key} twice")
        events[key] = str(event["UID"])
    check(len(set(events.values())) == len(events), f"{what}: UIDs repeat")
    return events


def main(executable):
    name = "Zo\u00eb \u0141\u00f3d\u017a-\u00c5ngstr\u00f6m, a name long enough to be folded"
    birth = ["--date", "1990-01-01", "--time", "12:00", "--latitude", "52.52", "--longitude",
             "13.41", "--zone", "Europe/Berlin", "--name", name]
    with tempfile.TemporaryDirectory() as folder:
        ics = Path(folder) / "forecast.ics"
        cases = [
            (birth, date(2027, 1, 1), date(2027, 6, 30), "Europe/Berlin", []),
            (birth, date(2027, 3, 1), date(2027, 12, 31), "America/New_York",
             ["--display-zone", "America/New_York", "--bodies", "all", "--transit-orb", "2.5"]),
            (["--date", "1990-01-01", "--time", "unknown", "--latitude", "-33.87",
              "--longitude", "151.21", "--utc-offset=+10:00"], date(2027, 2, 1), date(2027, 3, 31),
             "UTC", ["--bodies", "mercury,VENUS,Mars"]),
        ]
        runs = []
        for arguments, first, last, zone, more in cases:
            what = f"{zone} {first}..{last}"
            transits = ["--transits", f"{first}..{last}"] + more
            forecast = json.loads(run(executable, arguments + transits + ["--json"]))
            check_json(forecast, first, last, zone, what)
            run(executable, arguments + transits + ["--ics", str(ics)])
            events = read_calendar(ics, what)
            expected = {(f"{t['transiting']} {t['kind']} natal {t['natal']}", utc(e["utc"]))
                        for t in forecast["transits"] for e in t["exact"]}
            check(set(events) == expected, f"{what}: events differ from the JSON's exact passes: "
                  f"{sorted(set(events) ^ expected)[:4]}")
            runs.append((arguments, events))
        run(executable, birth + ["--transits", "2027-01-01..2027-01-31", "--ics", str(ics)])
        shown = icalendar.Calendar.from_ical(ics.read_bytes())["X-WR-CALNAME"]
        check(shown == "Transits: " + name, f"the calendar's name reads back as {shown!r}")
        # An overlapping range exported again names the shared passes alike.
        run(executable, birth + ["--transits", "2027-04-01..2027-09-30", "--ics", str(ics)])
        later = read_calendar(ics, "overlap")
        shared = set(later) & set(runs[0][1])
        check(len(shared) > 10, f"the overlap shares only {len(shared)} passes")
        check(all(later[key] == runs[0][1][key] for key in shared),
              "a pass exported twice has two UIDs")
        other = set(runs[2][1].values()) & set(runs[0][1].values())
        check(not other, "two births share UIDs")
    for failure in failures:
        print("FAILED:", failure)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1]))
