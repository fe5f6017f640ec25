#!/usr/bin/env python3
"""Writes the raw files of examples/ as a digital level records them: a BFFB
leveling line, intermediate sights along a road and single points, GB18030 with
CR LF. The readings are made up, the same on every run; the heights follow from them.

    python3 tools/make_examples.py [OUT_DIR]
"""
import os
import random
import sys


def columns(text):
    """The columns the level gives text: its GB18030 bytes, a Chinese character two."""
    return sum(1 if ord(c) < 0x80 else 2 for c in text)


def rjust(text, width):
    return " " * (width - columns(text)) + text


def ljust(text, width):
    return text + " " * (width - columns(text))


def field2(kind, point="", code="", time="", digit=" ", line="1"):
    """The 31 columns of field 2: record type, point right-aligned to 12, code,
    time (19-26), a digit (27), line number (28-31)."""
    text = kind + rjust(point, 9) + code.ljust(5) + " " + time.ljust(8) + digit + line.rjust(4)
    assert columns(text) == 31, text
    return text


def value(tag, number, width, unit="m"):
    text = tag + number.rjust(width) + " " + unit
    return text.ljust(22)


class Recorder:
    """Numbers the lines (Adr) and keeps the clock of the survey."""

    def __init__(self, start_seconds, rng):
        self.lines = []
        self.seconds = start_seconds
        self.rng = rng

    def time(self, step=(35, 70)):
        self.seconds += self.rng.randint(*step)
        s = self.seconds
        return "%02d:%02d:%02d" % (s // 3600, s // 60 % 60, s % 60)

    def add(self, f2, f3="", f4="", f5=""):
        address = "Adr" + str(len(self.lines) + 1).rjust(6)
        self.lines.append("|".join(["For M5", address, f2, f3.ljust(22), f4.ljust(22), f5.ljust(22), " "]))

    def reading(self, point, tag, reading, distance, code=""):
        self.add(field2("KD1", point, code, self.time(), str(self.rng.randint(0, 9))),
                 value(tag, "%.5f" % reading, 15), value("HD", "%.3f" % distance, 15))

    def height(self, point, height):
        self.add(field2("KD1", point, "", self.time((20, 40))), "", "", value("Z", "%.5f" % height, 16))

    def write(self, path):
        with open(path, "wb") as out:
            out.write("".join(line + "\r\n" for line in self.lines).encode("gb18030"))


def leveling_line(path):
    """A BFFB line of 20 stations from one benchmark to another."""
    rng = random.Random(16)
    rec = Recorder(8 * 3600 + 5 * 60, rng)
    rec.add(ljust("TO  Proj: 示例二等水准", 31))
    rec.add("TO  Start-Line       BFFB     1")
    start, end_known = "水准点甲", "水准点乙"
    height = 43.21870
    rec.height(start, height)
    back_point, back_total, fore_total, lag = start, 0.0, 0.0, 0.0
    stations = 20
    for k in range(1, stations + 1):
        fore_point = end_known if k == stations else "TP%d" % k
        back_distance = round(rng.uniform(24, 46), 3)
        # Back and fore distances within a metre of each other, their sum kept near zero.
        difference = max(-0.9, min(0.9, -0.5 * lag + rng.uniform(-0.6, 0.6)))
        fore_distance = round(back_distance - difference, 3)
        lag += back_distance - fore_distance
        back, fore = rng.uniform(0.8, 2.7), rng.uniform(0.6, 2.8)
        b1, b2 = round(back, 5), round(back + rng.choice([-3, -2, -1, 0, 1, 2, 3]) * 1e-5, 5)
        f1, f2 = round(fore, 5), round(fore + rng.choice([-3, -2, -1, 0, 1, 2, 3]) * 1e-5, 5)
        d = lambda x: round(x + rng.choice([0, 0, 0.01, -0.01]), 3)
        rec.reading(back_point, "Rb", b1, back_distance)
        rec.reading(fore_point, "Rf", f1, fore_distance)
        rec.reading(fore_point, "Rf", f2, d(fore_distance))
        rec.reading(back_point, "Rb", b2, d(back_distance))
        height += (b1 + b2) / 2 - (f1 + f2) / 2
        rec.height(fore_point, round(height, 5))
        back_total += back_distance
        fore_total += fore_distance
        back_point = fore_point
    # The end benchmark's known height, 0.27 mm under the measured one.
    misclosure = 0.00027
    count = str(stations)
    rec.add("KD2" + rjust(end_known, 9) + count.rjust(9) + "1".rjust(10),
            value("Db", "%.2f" % back_total, 15), value("Df", "%.2f" % fore_total, 15))
    rec.add("KD2" + rjust(end_known, 9) + count.rjust(9) + "1".rjust(10), value("Sh", "%.5f" % misclosure, 15),
            value("dz", "%.5f" % -misclosure, 15), value("Z", "%.5f" % (round(height, 5) - misclosure), 16))
    rec.add("TO  End-Line".ljust(27) + "   1")
    rec.write(path)


def intermediate_sights(path):
    """Profile points every 20 m along a road from three set-ups, between two benchmarks."""
    rng = random.Random(17)
    rec = Recorder(9 * 3600 + 40 * 60, rng)
    rec.add("TO  Start-Line         BF     1")
    height = 43.21870
    rec.height("水准点甲", height)
    back_point, chainage = "水准点甲", 0
    for setup in range(3):
        back = round(rng.uniform(1.2, 1.8), 5)
        rec.reading(back_point, "R ", back, round(rng.uniform(20, 40), 3))
        collimation = height + back
        last = None
        for k in range(6):
            name = "K0+%03d" % chainage
            reading = round(rng.uniform(0.6, 2.6), 5)
            distance = round(rng.uniform(6, 30), 3)
            rec.add(field2("KD1", name, "", rec.time(), str(rng.randint(0, 9))), value("Rz", "%.5f" % reading, 15),
                    value("HD", "%.3f" % distance, 15), value("Z", "%.5f" % (collimation - reading), 16))
            last = (name, collimation - reading)
            chainage += 20
        if setup == 1:
            # A sight the instrument flagged, taken again.
            rec.reading(last[0], "R ", round(rng.uniform(0.8, 2.0), 5), 25.0, code="#####")
        back_point, height = last
    reading = round(rng.uniform(1.0, 2.0), 5)
    rec.add(field2("KD1", "水准点乙", "", rec.time(), "4"), value("Rz", "%.5f" % reading, 15),
            value("HD", "%.3f" % 31.206, 15), value("Z", "%.5f" % (collimation - reading), 16))
    rec.add("TO  End-Line".ljust(27) + "   1")
    rec.write(path)


def single_points(path):
    """Spot readings on a building site, one of them rejected and taken again."""
    rng = random.Random(18)
    rec = Recorder(14 * 3600 + 10 * 60, rng)
    rec.add(ljust("TO  Proj: 示例场地单点", 31))
    names = ["1", "2", "3", "4", "5", "6", "7", "8", "井1", "井2", "10", "11", "12", "13", "14"]
    for name in names:
        reading, distance = round(rng.uniform(0.5, 2.8), 5), round(rng.uniform(8, 48), 3)
        if name == "7":
            rec.reading(name, "R ", round(reading + 0.0031, 5), distance, code="#####")
        rec.reading(name, "R ", reading, distance)
    rec.write(path)


def main():
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), "..", "examples")
    os.makedirs(out, exist_ok=True)
    leveling_line(os.path.join(out, "bffb_line.dat"))
    intermediate_sights(os.path.join(out, "intermediate.dat"))
    single_points(os.path.join(out, "single_points.dat"))


if __name__ == "__main__":
    main()
