#!/usr/bin/env python3
"""Runs tolvaris-chart --json and checks what a script relies on: the output
parses as JSON, has the documented shape, and its positions agree with
swetest (a separate program reading the same ephemeris files)."""
import json
import subprocess
import sys

BODIES = ["Sun", "Moon", "Mercury", "Venus", "Mars", "Jupiter", "Saturn", "Uranus",
          "Neptune", "Pluto"]
POINT_ORDER = BODIES + ["Ascendant"]
SIGNS = ["Aries", "Taurus", "Gemini", "Cancer", "Leo", "Virgo", "Libra", "Scorpio",
         "Sagittarius", "Capricorn", "Aquarius", "Pisces"]
FAMILIES = {"conjunction": "blending", "sextile": "harmonizing", "trine": "harmonizing",
            "square": "discordant", "opposition": "discordant"}
# Our output carries 6 decimals, swetest 7: they may differ by rounding only.
TOLERANCE = 2e-6

failures = []


def check(condition, what):
    if not condition:
        failures.append(what)


def run_chart(executable, arguments):
    done = subprocess.run([executable] + arguments + ["--json"], capture_output=True, check=False)
    check(done.returncode == 0, f"{arguments}: exit {done.returncode}: {done.stderr!r}")
    check(done.stderr == b"", f"{arguments}: stderr not empty: {done.stderr!r}")
    # The same check a user makes with python3 -m json.tool.
    tool = subprocess.run([sys.executable, "-m", "json.tool"], input=done.stdout,
                          capture_output=True, check=False)
    check(tool.returncode == 0, f"{arguments}: json.tool refused: {tool.stderr!r}")
    return json.loads(done.stdout.decode("utf-8"))


def swetest(date, ut, latitude, longitude, letter, extra=()):
    text = subprocess.run(
        ["swetest", f"-b{date}", f"-ut{ut}", "-p0123456789",
         f"-house{longitude},{latitude},{letter}", "-fPl", "-head", *extra],
        capture_output=True, check=True, text=True).stdout
    values = {}
    for line in text.splitlines():
        name, _, number = line.rpartition(" ")
        values[" ".join(name.split())] = float(number)
    return values


def check_shape(chart, time_known):
    check(set(chart) == {"input", "utc", "utc_offset_seconds", "offset_source", "ephemeris",
                         "house_system", "house_system_requested", "bodies", "ascendant",
                         "midheaven", "cusps", "aspects", "notes"}, f"keys {sorted(chart)}")
    check({"name", "date", "time", "place", "latitude", "longitude", "zone",
           "utc_offset"} <= set(chart["input"]), f"input keys {sorted(chart['input'])}")
    check(chart["offset_source"] in ("zone", "given", "local mean time"), "offset_source")
    check(chart["ephemeris"] in ("swiss", "moshier"), "ephemeris")
    check([b["name"] for b in chart["bodies"]] == BODIES, "bodies Sun ... Pluto in order")
    for body in chart["bodies"]:
        check(0 <= body["longitude"] < 360, f"{body['name']} longitude")
        check(body["sign"] == SIGNS[int(body["longitude"] // 30)], f"{body['name']} sign")
        check(abs(body["degree_in_sign"] - body["longitude"] % 30) < 1e-5,
              f"{body['name']} degree_in_sign")
        check(isinstance(body["retrograde"], bool), f"{body['name']} retrograde")
        if time_known:
            check(isinstance(body["house"], int) and 1 <= body["house"] <= 12,
                  f"{body['name']} house")
        else:
            check(body["house"] is None, f"{body['name']} house should be null")
    if time_known:
        check(len(chart["cusps"]) == 12, "12 cusps")
        check(chart["ascendant"]["sign"] == SIGNS[int(chart["ascendant"]["longitude"] // 30)],
              "ascendant sign")
    else:
        check(chart["cusps"] is None and chart["ascendant"] is None
              and chart["midheaven"] is None and chart["house_system"] is None,
              "no houses without a time")
    for aspect in chart["aspects"]:
        check(POINT_ORDER.index(aspect["first"]) < POINT_ORDER.index(aspect["second"]),
              f"aspect order {aspect}")
        check(FAMILIES.get(aspect["kind"]) == aspect["family"], f"aspect family {aspect}")
        check(0 <= aspect["orb"] <= 8, f"aspect orb {aspect}")
    check(all(isinstance(note, str) for note in chart["notes"]), "notes are strings")


def compare_with_swetest(chart, reference, label):
    for body in chart["bodies"]:
        expected = reference[body["name"]]
        check(abs(body["longitude"] - expected) <= TOLERANCE,
              f"{label}: {body['name']} {body['longitude']} vs swetest {expected}")
    for number, cusp in enumerate(chart["cusps"], start=1):
        expected = reference[f"house {number}"]
        check(abs(cusp - expected) <= TOLERANCE, f"{label}: cusp {number} {cusp} vs {expected}")
    check(abs(chart["ascendant"]["longitude"] - reference["Ascendant"]) <= TOLERANCE,
          f"{label}: ascendant")
    check(abs(chart["midheaven"]["longitude"] - reference["MC"]) <= TOLERANCE,
          f"{label}: midheaven")


def main():
    executable = sys.argv[1]

    berlin = run_chart(executable, ["--date", "1990-01-01", "--time", "12:00", "--latitude",
                                    "52.52", "--longitude", "13.41", "--zone", "Europe/Berlin"])
    check_shape(berlin, True)
    check(berlin["utc"] == "1990-01-01T11:00:00Z", "Berlin utc")
    check(berlin["utc_offset_seconds"] == 3600, "Berlin offset")
    compare_with_swetest(berlin, swetest("1.1.1990", "11:00", 52.52, 13.41, "P"), "Berlin")

    # South and west of Greenwich, an offset by hand, Koch houses, the day before in UT.
    sydney = run_chart(executable, ["--date", "1975-06-15", "--time", "08:30", "--latitude",
                                    "-33.87", "--longitude", "151.21", "--utc-offset=+10:00",
                                    "--houses", "koch"])
    check_shape(sydney, True)
    check(sydney["utc"] == "1975-06-14T22:30:00Z", "Sydney utc")
    check(sydney["house_system"] == "koch", "Sydney houses")
    compare_with_swetest(sydney, swetest("14.6.1975", "22:30", -33.87, 151.21, "K"), "Sydney")

    # Before the ephemeris files begin: the built-in Moshier ephemeris, as swetest -emos.
    london = run_chart(executable, ["--date", "1700-06-01", "--time", "12:00", "--latitude",
                                    "51.5074", "--longitude", "-0.1278", "--utc-offset=+00:00"])
    check_shape(london, True)
    check(london["ephemeris"] == "moshier", "1700 uses the built-in ephemeris")
    check(any("Moshier" in note for note in london["notes"]), "1700 says so in a note")
    compare_with_swetest(london, swetest("1.6.1700", "12:00", 51.5074, -0.1278, "P", ["-emos"]),
                         "London 1700")

    # Inside the polar circle Placidus gives way, and the JSON says which system was used.
    north = run_chart(executable, ["--date", "1990-01-01", "--time", "12:00", "--latitude", "70",
                                   "--longitude", "25", "--utc-offset=+01:00"])
    check_shape(north, True)
    check(north["house_system_requested"] == "placidus" and north["house_system"] != "placidus",
          f"polar fallback: {north['house_system']}")
    check(any("polar circle" in note for note in north["notes"]), "polar fallback note")

    unknown = run_chart(executable, ["--date", "1990-01-01", "--time", "unknown", "--latitude",
                                     "52.52", "--longitude", "13.41", "--utc-offset=+01:00",
                                     "--name", "tab\there \"quoted\" \x01 back\\slash Zürich"])
    check_shape(unknown, False)
    check(unknown["input"]["name"] == "tab\there \"quoted\" \x01 back\\slash Zürich",
          "control characters, quotes and accents survive the JSON")
    check(unknown["input"]["time"] is None and unknown["input"]["utc_offset"] == "+01:00",
          "unknown time input")

    if failures:
        print("\n".join(failures))
        return 1
    print("tolvaris-chart JSON: shape and positions agree with swetest")
    return 0


if __name__ == "__main__":
    sys.exit(main())
