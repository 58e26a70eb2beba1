#!/usr/bin/env bash
# Prints the per-frame cost targets as ratios measured in one run of each benchmark program, on
# the Release build the run command makes (build/release), and ends with status 1 when one is
# missed. Ratios, not times, so that figures from different machines can be compared.
#
#   bash bench/compare.sh [extra Google Benchmark options...]
#
# Medians of processor time over repetitions taken in random order; the spread shown is each
# timing's coefficient of variation. On a shared machine run it twice before believing a miss.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="$root/build/release"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release > /dev/null
cmake --build "$build" --target frame_bench present_bench > /dev/null

out="$(mktemp -d)"
trap 'rm -rf "$out"' EXIT
options=(--benchmark_repetitions=15 --benchmark_min_time=0.1
         --benchmark_enable_random_interleaving=true --benchmark_out_format=json "$@")
"$build/bench/frame_bench" --benchmark_filter='BM_(mapTextureBlocks|plainWalk|gatherFloor|wholeFrame)/' \
  "${options[@]}" --benchmark_out="$out/frame.json" > /dev/null 2> "$out/log" || { cat "$out/log"; exit 2; }
"$build/bench/present_bench" "${options[@]}" --benchmark_out="$out/present.json" > /dev/null \
  2> "$out/log" || { cat "$out/log"; exit 2; }

python3 - "$out/frame.json" "$out/present.json" <<'PYTHON'
import json, sys

stats = {}  # benchmark name -> {"median": cpu ns, "cv": fraction}
context = None
for path in sys.argv[1:]:
    report = json.load(open(path))
    context = context or report["context"]
    for run in report["benchmarks"]:
        if run.get("run_type") != "aggregate":
            continue
        entry = stats.setdefault(run["run_name"], {})
        if run["aggregate_name"] == "median":
            entry["median"] = run["cpu_time"]
        elif run["aggregate_name"] == "cv":
            entry["cv"] = run["cpu_time"]

frames = sorted({name.split("/")[1] for name in stats if name.startswith("BM_mapTextureBlocks/")},
                key=int)
targets = [
    ("mapper / plain walk", "BM_mapTextureBlocks", "BM_plainWalk", frames, 0.45),
    ("mapper / gather floor", "BM_mapTextureBlocks", "BM_gatherFloor", frames, 1.5),
    ("presentation / SDL_ConvertSurface path", "BM_presentFrame", "BM_convertSurfaceAnchor",
     ["0", "1"], 0.6),
    ("whole frame / mapper", "BM_wholeFrame", "BM_mapTextureBlocks", frames, 2.0),
]
try:
    info = dict(line.split(":", 1) for line in open("/proc/cpuinfo") if ":" in line)
    print(f"{info['model name'].strip()} (family {int(info['cpu family'])})")
except (OSError, KeyError, ValueError):
    pass
print(f"{context['num_cpus']} CPUs at {context['mhz_per_cpu']} MHz, {context['date']}; "
      f"mapper path: {context.get('mapper_path', '?')}")
print(f"{'target':42} {'arg':>4} {'ratio':>7} {'limit':>6}  spread (cv of each)")
missed = 0
for label, top, bottom, arguments, limit in targets:
    for argument in arguments:
        a, b = stats.get(f"{top}/{argument}"), stats.get(f"{bottom}/{argument}")
        if not a or not b:
            continue
        ratio = a["median"] / b["median"]
        ok = ratio <= limit
        missed += not ok
        print(f"{label:42} {argument:>4} {ratio:7.3f} {limit:6.2f}  "
              f"{a.get('cv', 0) * 100:4.1f}% / {b.get('cv', 0) * 100:4.1f}%"
              f"{'' if ok else '  MISSED'}")
print("all targets met" if missed == 0 else f"{missed} ratio(s) over their limit")
sys.exit(1 if missed else 0)
PYTHON
