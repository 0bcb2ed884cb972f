#!/usr/bin/python3
"""tolvaris-chart --transits read back: the JSON's times against zoneinfo, the
iCalendar file through python3-icalendar and against the JSON of the run."""
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


def zone_of(name):
    return timezone.utc if name == "UTC" else ZoneInfo(name)


def local_text(moment, zone):
    text = moment.astimezone(zone_of(zone)).isoformat()
    return text.replace("+00:00", "Z") if zone == "UTC" else text


def check_json(forecast, first, last, zone, what):
    check(list(forecast) == ["natal", "range", "settings", "transits", "ingresses", "stations",
                             "notes"], f"{what}: keys {list(forecast)}")
    span = forecast["range"]
    check(span["display_zone"] == zone, f"{what}: zone {span['display_zone']}")
    for key, day in ("from", first), ("to", last + timedelta(days=1)):
        midnight = datetime(day.year, day.month, day.day, tzinfo=zone_of(zone))
        check(utc(span[key]) == midnight, f"{what}: {key} {span[key]}")
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
    lines = raw.split(b"\r\n")
    check(lines.pop() == b"" and all(b"\n" not in x and b"\r" not in x for x in lines),
          f"{what}: a line ends otherwise than CR LF")
    for line in lines:
        check(len(line) <= 75, f"{what}: {line!r} is longer than 75 octets")
        check(line.decode("utf-8", "replace").encode() == line, f"{what}: a fold cuts {line!r}")
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
    # Folded at 75 octets, the calendar's name line would cut the "ü" in two.
    name = "Zo\u00eb \u0141\u00f3d\u017a-\u00c5ngstr\u00f6m, whose long name ends in M\u00fcller"
    birth = ["--date", "1990-01-01", "--time", "12:00", "--latitude", "52.52", "--longitude",
             "13.41", "--zone", "Europe/Berlin", "--name", name]
    with tempfile.TemporaryDirectory() as folder:
        ics = Path(folder) / "forecast.ics"
        cases = [
            (birth, date(2027, 1, 1), date(2027, 6, 30), "Europe/Berlin", []),
            (birth, date(2027, 3, 1), date(2027, 12, 31), "America/New_York",
             ["--display-zone", "America/New_York", "--bodies", "all", "--transit-orb", "2.5"]),
            (birth[:2] + ["--time", "unknown", "--latitude", "-33.87", "--longitude", "151.21",
                          "--utc-offset=+10:00"], date(2027, 2, 1), date(2027, 3, 31), "UTC",
             ["--bodies", "mercury,VENUS,Mars"]),
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
            check(set(events) == expected, f"{what}: events and exact passes differ")
            runs.append(events)
        # An overlapping range exported again names the shared passes alike.
        run(executable, birth + ["--transits", "2027-04-01..2027-09-30", "--ics", str(ics)])
        later = read_calendar(ics, "overlap")
        shown = icalendar.Calendar.from_ical(ics.read_bytes())["X-WR-CALNAME"]
        check(shown == "Transits: " + name, f"the calendar's name reads back as {shown!r}")
        shared = set(later) & set(runs[0])
        check(len(shared) > 10, f"the overlap shares only {len(shared)} passes")
        check(all(later[key] == runs[0][key] for key in shared),
              "a pass exported twice has two UIDs")
    sys.stdout.write("".join(f"FAILED: {failure}\n" for failure in failures))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1]))
