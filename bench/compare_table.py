#!/usr/bin/env python3
"""Makes the table of bench/compare.sh from the results folder it fills.

Usage: compare_table.py RESULTS_DIR REPETITIONS
Figures are medians over the repetitions; per segment is CPU time, close + save and playback
are wall time; a recorder that was not run shows a dash.
"""
import json
import os
import statistics
import sys

folder, repetitions = sys.argv[1], int(sys.argv[2])
UNIT_NS = {"ns": 1.0, "us": 1e3, "ms": 1e6, "s": 1e9}


def load(name):
    path = os.path.join(folder, name)
    if not os.path.exists(path):
        return []
    with open(path) as f:
        return json.load(f).get("benchmarks", [])


def load_turns(recorder):
    """The per-segment runs of `recorder`, one file per turn (see compare.sh)."""
    entries = []
    for turn in range(repetitions):
        entries += load(f"segments-{recorder}-{turn}.json")
    return entries


def median(entries, name, field):
    """The median of `field` over the repetitions of benchmark `name` (time fields in ns)."""
    def base(e):
        run = e.get("run_name", e["name"])
        return run if "/" in name else run.split("/")[0]
    runs = [e for e in entries if base(e) == name
            and e.get("run_type", "iteration") == "iteration" and not e.get("error_occurred")]
    if not runs:
        return None
    values = [e[field] * (UNIT_NS[e["time_unit"]] if field.endswith("_time") else 1.0)
              for e in runs]
    return statistics.median(values)


def wine_lines(name):
    path = os.path.join(folder, name)
    if not os.path.exists(path):
        return []
    with open(path) as f:
        return [line.split() for line in f if line.strip()]


def wine_median(key):
    values = []
    for words in wine_lines("wine.txt") + wine_lines("wine-memory.txt"):
        pairs = dict(zip(words[0::2], words[1::2]))
        if key in pairs:
            values.append(float(pairs[key]))
    return statistics.median(values) if values else None


tamvel = load("tamvel.json")
tamvel_segments = load_turns("tamvel")
libemf_segments = load_turns("libemf")
segments = median(tamvel_segments, "BM_PlotSegments", "segments") or 1
libemf = load("libemf.json")

rows = {
    "tamvel": (
        median(tamvel_segments, "BM_PlotSegments", "cpu_time"),
        median(tamvel, "BM_CloseAndSave", "real_time"),
        median(load("tamvel-memory.json"), "BM_RecordingMemory", "peak_bytes_per_segment"),
    ),
    "Windows GDI under Wine (x86_64, wine64)": (
        None if wine_median("lineto_ns") is None else wine_median("lineto_ns") * segments,
        None if wine_median("close_save_ms") is None else wine_median("close_save_ms") * 1e6,
        wine_median("peak_bytes_per_segment"),
    ),
    "libEMF (Debian libemf-dev)": (
        median(libemf_segments, "BM_LibEmfLineTo", "cpu_time"),
        median(libemf, "BM_LibEmfCloseAndSave", "real_time"),
        median(load("libemf-memory.json"), "BM_LibEmfRecordingMemory", "peak_bytes_per_segment"),
    ),
}


def fmt(value, unit, scale=1.0, digits=0):
    return "–" if value is None else f"{value / scale:,.{digits}f} {unit}"


print(f"Recording {segments:,.0f} segments of one A4 page (`PLOT(x, y, 2)` / `LineTo`), "
      f"medians of {repetitions}:\n")
print("| recorder | per segment (CPU) | close + save (wall) | peak memory per segment |")
print("|---|---|---|---|")
for name, (draw, save, memory) in rows.items():
    per_segment = None if draw is None else draw / segments
    print(f"| {name} | {fmt(per_segment, 'ns', digits=1)} | {fmt(save, 'ms', 1e6, 1)} | "
          f"{fmt(memory, 'bytes', digits=1)} |")

ours = rows["tamvel"]
targets = []


def target(what, measured, met):
    targets.append((what, measured, "–" if met is None else ("met" if met else "**not met**")))


def ratio(a, b):
    return None if a is None or b is None or a == 0 else b / a


for peer in ("Windows GDI under Wine (x86_64, wine64)", "libEMF (Debian libemf-dev)"):
    r = ratio(ours[0], rows[peer][0])
    short = peer.split(" (")[0]
    target(f"`PLOT` at least 4× faster per segment than {short}",
           "–" if r is None else f"{r:.1f}×", None if r is None else r >= 4.0)
wine_save = rows["Windows GDI under Wine (x86_64, wine64)"][1]
target("close + save no slower than Windows GDI under Wine",
       f"{fmt(ours[1], 'ms', 1e6, 1)} against {fmt(wine_save, 'ms', 1e6, 1)}",
       None if ours[1] is None or wine_save is None else ours[1] <= wine_save)
target("peak memory while recording at most 20 bytes per segment", fmt(ours[2], "bytes", digits=1),
       None if ours[2] is None else ours[2] <= 20.0)
load_rate = median(tamvel, "BM_LoadFile", "bytes_per_second")
target("`LOADFILE` at least 1 GB/s", fmt(load_rate, "GB/s", 1e9, 2),
       None if load_rate is None else load_rate >= 1e9)

png = median(load("tamvel-BM_PlayToPng.json"), "BM_PlayToPng", "real_time")
cairo_each = median(tamvel, "BM_CairoStrokePerSegment", "real_time")
cairo_path = median(tamvel, "BM_CairoOnePath", "real_time")
for label, cairo in (("a stroke per segment", cairo_each), ("one path", cairo_path)):
    r = None if png is None or cairo is None else png / cairo
    target(f"page to PNG (96 dpi) within 1.2× of cairo's own strokes ({label})",
           f"{fmt(png, 'ms', 1e6)} against {fmt(cairo, 'ms', 1e6)} ({'–' if r is None else f'{r:.2f}×'})",
           None if r is None else r <= 1.2)
for name, label in (("BM_PlayToSvg", "SVG (96 dpi)"), ("BM_PrintToPdf", "PDF (300 dpi print)")):
    entries = load(f"tamvel-{name}.json")
    seconds = median(entries, name, "real_time")
    peak = median(entries, name, "peak_mb")
    target(f"page to {label} under 3 s and under 200 MB",
           f"{fmt(seconds, 's', 1e9, 2)}, {fmt(peak, 'MB')} peak",
           None if seconds is None or peak is None else seconds < 3e9 and peak < 200)

linear = load("tamvel-linear.json")
for family, label, unit in (("BM_Line6", "`LINE6` (line type 5)", "vertex"),
                            ("BM_DashpSteps", "`DASHP`", "step")):
    # The repetitions' own runs, not the mean, median and deviation entries beside them.
    names = {e.get("run_name", e["name"]) for e in linear
             if e.get("run_type", "iteration") == "iteration" and e["name"].startswith(family + "/")
             and not e["name"].endswith("/0")}
    sizes = sorted({int(name.split("/")[1]) for name in names})
    if len(sizes) < 2:
        target(f"{label} linear in its size", "–", None)
        continue
    def per_item(n):
        name = sorted(x for x in names if x.split("/")[1] == str(n))[0]
        t = median(linear, name, "cpu_time")
        return None if t is None else t / n
    small, large = per_item(sizes[0]), per_item(sizes[-1])
    r = None if small is None or large is None else large / small
    target(f"{label} linear in its size",
           f"{fmt(small, 'ns', digits=0)}/{unit} at {sizes[0]:,}, {fmt(large, 'ns', digits=0)}/{unit} "
           f"at {sizes[-1]:,} ({'–' if r is None else f'{r:.2f}×'})",
           None if r is None else r <= 2.0)

print("\n| target | measured | |")
print("|---|---|---|")
for what, measured, met in targets:
    print(f"| {what} | {measured} | {met} |")

print("\nPer call (CPU): "
      f"`SYMBOL` (5 characters) {fmt(median(tamvel, 'BM_Symbol', 'cpu_time'), 'µs', 1e3, 2)}, "
      f"`KANJI` (2 characters) {fmt(median(tamvel, 'BM_Kanji', 'cpu_time'), 'µs', 1e3, 2)}.")
