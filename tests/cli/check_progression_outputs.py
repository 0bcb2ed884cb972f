#!/usr/bin/python3
"""tolvaris-chart --progressed, --progressions, --solar-return and
--lunar-return read back: moments against Python's own arithmetic and
zoneinfo, positions at those moments against swetest."""
import json
import subprocess
import sys
import tempfile
from datetime import datetime, timedelta, timezone
from pathlib import Path
from zoneinfo import ZoneInfo

failures = []
BIRTH = ["--date", "1990-01-01", "--time", "12:00", "--latitude", "52.52", "--longitude",
         "13.41", "--zone", "Europe/Berlin"]
BERLIN = ZoneInfo("Europe/Berlin")
BODIES = ["Sun", "Moon", "Mercury", "Venus", "Mars", "Jupiter", "Saturn", "Uranus", "Neptune",
          "Pluto"]


def check(condition, what):
    if not condition:
        failures.append(what)


def run(executable, arguments, status=0):
    done = subprocess.run([executable] + arguments, capture_output=True, check=False)
    check(done.returncode == status, f"{arguments}: exit {done.returncode}: {done.stderr!r}")
    return done


def run_json(executable, arguments):
    return json.loads(run(executable, arguments + ["--json"]).stdout.decode("utf-8"))


def utc(text):
    return datetime.strptime(text, "%Y-%m-%dT%H:%M:%SZ").replace(tzinfo=timezone.utc)


def swetest(moment, house=None):
    """Longitudes of Sun to Pluto (and the Ascendant for a house place) at a moment."""
    arguments = ["swetest", f"-b{moment.day}.{moment.month}.{moment.year}",
                 f"-ut{moment.hour}:{moment.minute:02}:{moment.second:02}", "-p0123456789",
                 "-fPl", "-head"]
    if house:
        arguments.append(f"-house{house[1]},{house[0]},P")
    values = {}
    for line in subprocess.run(arguments, capture_output=True, check=True,
                               text=True).stdout.splitlines():
        name, _, number = line.rpartition(" ")
        values[" ".join(name.split())] = float(number)
    return values


def distance(a, b):
    return abs((a - b + 180.0) % 360.0 - 180.0)


def check_progressed(executable):
    birth = utc("1990-01-01T11:00:00Z")
    for value, target in (
            ("2027-06-01", datetime(2027, 6, 1, tzinfo=BERLIN)),
            ("2027-06-01T15:00:00+02:00", utc("2027-06-01T13:00:00Z")),
            ("2000-03-15T06:30:00Z", utc("2000-03-15T06:30:00Z"))):
        result = run_json(executable, BIRTH + ["--progressed", value])
        check(utc(result["target_utc"]) == target, f"{value}: target {result['target_utc']}")
        progressed = birth + (target - birth) / 365.24219
        shown = utc(result["progressed_utc"])
        check(abs((shown - progressed).total_seconds()) <= 1, f"{value}: progressed {shown}")
        reference = swetest(shown)
        # Rounded to the second: the Moon moves under 0.0001 degree in half of one.
        for body in result["bodies"]:
            check(distance(body["longitude"], reference[body["name"]]) < 1e-4,
                  f"{value}: progressed {body['name']} {body['longitude']}")
        natal_sun = result["natal"]["bodies"][0]["longitude"]
        arc = (result["bodies"][0]["longitude"] - natal_sun) % 360.0
        check(abs(arc - result["solar_arc"]) < 1e-5, f"{value}: solar arc {result['solar_arc']}")
        mc = (result["natal"]["midheaven"]["longitude"] + arc) % 360.0
        check(distance(result["midheaven"]["longitude"], mc) < 1e-5, f"{value}: progressed MC")


def check_progressions(executable):
    zone = "America/New_York"
    result = run_json(executable, BIRTH + ["--progressions", "2027-01-01..2031-12-31",
                                           "--display-zone", zone])
    check(list(result) == ["natal", "range", "settings", "aspects", "sign_changes",
                           "ingresses", "stations", "notes"], f"keys {list(result)}")
    check(utc(result["range"]["from"]) == datetime(2027, 1, 1, tzinfo=ZoneInfo(zone)),
          "progressions: range start")
    birth = utc("1990-01-01T11:00:00Z")
    natal = {b["name"]: b["longitude"] for b in result["natal"]["bodies"]}
    angles = {"conjunction": 0, "sextile": 60, "square": 90, "trine": 120, "opposition": 180}
    exact = [(a["progressed"], natal.get(a["natal"]), angles[a["kind"]], e)
             for a in result["aspects"] for e in a["exact"]]
    signs = [(c["progressed"], c["sign"], c) for c in result["sign_changes"]]
    check(exact and signs, "progressions: no exact aspect or sign change in five years")
    for name, target, angle, item in exact:
        moment = utc(item["utc"])
        check(item["local"] == moment.astimezone(ZoneInfo(zone)).isoformat(),
              f"{item['utc']} shown as {item['local']}")
        if name not in BODIES or target is None:
            continue
        position = swetest(birth + (moment - birth) / 365.24219)[name]
        # A real minute is a sixth of a progressed second.
        check(abs(distance(position, target) - angle) < 1e-3,
              f"progressed {name} at {item['utc']}: {position}, natal {target}")
    order = ["Aries", "Taurus", "Gemini", "Cancer", "Leo", "Virgo", "Libra", "Scorpio",
             "Sagittarius", "Capricorn", "Aquarius", "Pisces"]
    for name, sign, item in signs:
        moment = utc(item["utc"])
        position = swetest(birth + (moment - birth) / 365.24219)[name]
        check(distance(position, 30.0 * order.index(sign)) < 1e-3,
              f"progressed {name} enters {sign} at {item['utc']}: {position}")


def check_returns(executable):
    with tempfile.TemporaryDirectory() as folder:
        chart = Path(folder) / "ann.chart"
        chart.write_text("tolvaris-chart 1\nname: Ann\ndate: 1990-01-01\ntime: 12:00\n"
                         "latitude: 52.52\nlongitude: 13.41\nzone: Europe/Berlin\n")
        home = run_json(executable, ["--open", str(chart), "--solar-return", "2027"])
        away = run_json(executable, ["--open", str(chart), "--solar-return", "2027",
                                     "--latitude", "38.72", "--longitude", "-9.14",
                                     "--zone", "Europe/Lisbon"])
    natal = home["natal"]["bodies"]
    for result, place in (home, (52.52, 13.41)), (away, (38.72, -9.14)):
        moment = utc(result["return"]["utc"])
        check(moment.astimezone(BERLIN).year == 2027, f"solar return {moment}")
        reference = swetest(moment, place)
        # The Sun moves 0.00001 degree in a second.
        check(distance(reference["Sun"], natal[0]["longitude"]) < 2e-5,
              f"solar return Sun {reference['Sun']} vs natal {natal[0]['longitude']}")
        check(distance(reference["Ascendant"], result["return"]["ascendant"]["longitude"]) < 1e-4,
              f"solar return ascendant at {place}")
    check(home["return"]["utc"] == away["return"]["utc"], "the place moves the moment")
    check(away["return"]["input"]["zone"] == "Europe/Lisbon", "the return's zone")

    for value in "2027-03-01", "2027-12-31":
        lunar = run_json(executable, BIRTH + ["--lunar-return", value])
        moment = utc(lunar["return"]["utc"])
        day = datetime.strptime(value, "%Y-%m-%d").replace(tzinfo=BERLIN)
        check(day <= moment < day + timedelta(days=27.6), f"lunar return {moment} after {value}")
        check(distance(swetest(moment)["Moon"], natal[1]["longitude"]) < 2e-4,
              f"lunar return Moon at {moment}")


def check_refusals(executable):
    late = ["--date", "1990-12-31", "--time", "22:00", "--latitude", "51.5", "--longitude", "0",
            "--zone", "UTC"]
    for arguments, start in (
            (late + ["--solar-return", "1991"], "--solar-return: the year 1991 in UTC holds no"),
            (BIRTH + ["--progressed", "2027-06-01", "--solar-return", "2027"],
             "--progressed and --solar-return exclude each other"),
            (BIRTH + ["--lunar-return", "2027-02-30"], "--lunar-return: the date 2027-02-30"),
            (BIRTH + ["--progressed", "2027-06-01", "--reading", "-"], "--reading goes with")):
        done = run(executable, arguments, status=2)
        text = done.stderr.decode("utf-8")
        check(done.stdout == b"" and text.startswith("tolvaris-chart: " + start) and
              text.count("\n") == 1, f"{arguments}: {text!r}")
    check("1990 and 1992 have one" in run(executable, late + ["--solar-return", "1991"],
                                          status=2).stderr.decode(), "the years that have one")


def main(executable):
    check_progressed(executable)
    check_progressions(executable)
    check_returns(executable)
    check_refusals(executable)
    for failure in failures:
        print("FAIL:", failure)
    if failures:
        return 1
    print("progressions and returns: moments and positions agree with swetest")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1]))
