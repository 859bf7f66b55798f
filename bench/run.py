#!/usr/bin/env python3
"""Runs every benchmark and prints one table: each figure beside its floor, measured
in the same run, their ratio and the goal for that ratio.

    bench/run.py BUILD/bin [--quick]

Whole processes are timed in pairs, the program and its floor one after the other,
and the median of the pairs' ratios is reported, so that a machine busy with other
work slows both sides of a pair alike. Files are written to QV_BENCH_DIR, by default a
temporary folder beside BUILD/bin: on the build's own file system, where the fsync
every save does costs what it costs the user.

The dialogs are opened as the user meets them: the editor on its own Xvfb display with
openbox, a key press, and the dialog's first paint (bench_dialog_x).
"""
import contextlib
import json
import os
import random
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

FRAME_MS = 1000.0 / 60.0


def spawn(cmd, env):
    """Wall and CPU seconds and peak KiB of one whole process."""
    start = time.perf_counter()
    pid = os.posix_spawn(cmd[0], cmd, env, file_actions=[
        (os.POSIX_SPAWN_OPEN, 1, os.devnull, os.O_WRONLY, 0),
        (os.POSIX_SPAWN_OPEN, 2, os.devnull, os.O_WRONLY, 0)])
    _, status, usage = os.wait4(pid, 0)
    wall = time.perf_counter() - start
    # cmp and qorv diff answer 1 for files that differ.
    differ = os.path.basename(cmd[0]) == "cmp" or cmd[1:2] == ["diff"]
    allowed = (0, 1) if differ else (0,)
    if os.waitstatus_to_exitcode(status) not in allowed:
        sys.exit("benchmark failed: %s (status %d)" % (" ".join(cmd), status))
    return wall, usage.ru_utime + usage.ru_stime, usage.ru_maxrss


def paired(program, floor, runs, env):
    """Median wall and CPU of each side and the median of the pairs' wall ratios."""
    for cmd in (program, floor):  # warm the page cache
        spawn(cmd, env)
    walls, cpus, floor_walls, floor_cpus, ratios, cpu_ratios = [], [], [], [], [], []
    for k in range(runs):
        order = [(program, walls, cpus), (floor, floor_walls, floor_cpus)]
        if k % 2:
            order.reverse()
        for cmd, w, c in order:
            wall, cpu, _ = spawn(cmd, env)
            w.append(wall)
            c.append(cpu)
        ratios.append(walls[-1] / floor_walls[-1])
        cpu_ratios.append(cpus[-1] / max(floor_cpus[-1], 1e-6))
    med = statistics.median
    return {"wall": med(walls) * 1e3, "cpu": med(cpus) * 1e3,
            "floor_wall": med(floor_walls) * 1e3, "floor_cpu": med(floor_cpus) * 1e3,
            "ratio": med(ratios), "cpu_ratio": med(cpu_ratios)}


class Table:
    def __init__(self):
        self.rows = []

    def add(self, what, measured, floor, ratio, goal, note=""):
        self.rows.append((what, measured, floor, ratio, goal, note))

    def print(self):
        head = ("What", "Measured", "Floor", "Ratio", "Goal", "", "Note")
        cells = [head] + [(w, m, f, "%.2f×" % r, "≤ %.2f×" % g if g else "—",
                           ("ok" if r <= g else "OVER") if g else "", n)
                          for w, m, f, r, g, n in self.rows]
        widths = [max(len(row[i]) for row in cells) for i in range(len(head))]
        for n, row in enumerate(cells):
            print("  ".join(c.ljust(widths[i]) for i, c in enumerate(row)).rstrip())
            if n == 0:
                print("  ".join("-" * w for w in widths))
        over = sum(1 for r in self.rows if r[4] and r[3] > r[4])
        print("\n%d rows, %d over their goal" % (len(self.rows), over))


def write_pair(folder, name, size, changes, seed, ext):
    rng = random.Random(seed)
    base = bytearray(rng.getrandbits(8) for _ in range(size)) if size <= 1 << 20 \
        else bytearray(os.urandom(size))
    edited = bytearray(base)
    for _ in range(changes):
        edited[rng.randrange(size)] ^= rng.randrange(1, 256)
    paths = [os.path.join(folder, name + s + ext) for s in ("-base", "-edited")]
    for path, data in zip(paths, (base, edited)):
        with open(path, "wb") as f:
            f.write(data)
    return paths


def startup(table, bindir, env, folder, runs):
    game = os.path.join(folder, "startup.nes")
    with open(game, "wb") as f:
        f.write(bytes(40976))
    editor = [os.path.join(bindir, "quorvane"), "--quit-after-show", game]
    bare = [os.path.join(bindir, "bench_baseline_window")]
    # The editor's window built plainly, with nothing behind it: against it, the
    # editor's start shows its own work; against the bare window, what the widgets cost.
    widgets = [os.path.join(bindir, "bench_widgets_window")]
    spawn(editor, env)  # the settings file is created once, then left alone
    for program, floor, what, floor_name, goal in (
            (editor, bare, "Editor start with a game image to first paint", "bare window",
             1.05),
            (editor, widgets, "Editor start with a game image to first paint",
             "same window, plain", 1.05),
            (widgets, bare, "Same window, plain, start to first paint", "bare window", 1.05)):
        r = paired(program, floor, runs, env)
        for kind, ratio in (("wall", "ratio"), ("CPU", "cpu_ratio")):
            key = "wall" if kind == "wall" else "cpu"
            table.add("%s (%s)" % (what, kind), "%.1f ms" % r[key],
                      "%s %.1f ms" % (floor_name, r["floor_" + key]), r[ratio], goal)


@contextlib.contextmanager
def display(env):
    """An Xvfb display of its own with openbox on it: the environment to run on it."""
    read, write = os.pipe()
    server = subprocess.Popen(["Xvfb", "-displayfd", str(write), "-screen", "0", "1366x768x24",
                               "-nolisten", "tcp"], pass_fds=[write],
                              stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    os.close(write)
    with os.fdopen(read) as f:
        number = f.readline().strip()
    if not number:
        server.kill()
        sys.exit("benchmark failed: Xvfb did not start")
    xenv = dict(env, DISPLAY=":" + number, QT_QPA_PLATFORM="xcb")
    manager = subprocess.Popen(["openbox"], env=xenv, stdout=subprocess.DEVNULL,
                               stderr=subprocess.DEVNULL)
    try:
        yield xenv
    finally:
        for p in (manager, server):
            p.terminate()
            p.wait()


def dialogs(table, bindir, env, folder, runs):
    # The Edit menu's dialogs and their Ctrl+digit keys, from the editor's own registry.
    listing = subprocess.run([os.path.join(bindir, "bench_dialog_open"), "--list-dialogs"],
                             env=env, check=True, capture_output=True, text=True).stdout
    keys = [(line.split(" ", 1)[1], line.split(" ", 1)[0]) for line in listing.splitlines()]
    # Made once beforehand, with every item at its default so that every control shows a
    # value; a cold opening then builds what the editor's first opening builds.
    image = os.path.join(folder, "defaults.nes")
    subprocess.run([os.path.join(bindir, "bench_dialog_open"), "--write-image", image], env=env,
                   check=True)
    harness = os.path.join(bindir, "bench_dialog_x")
    editor = [os.path.join(bindir, "quorvane"), image]
    # The floor: an empty QDialog opened the same way from a bare main window.
    floor = [os.path.join(bindir, "bench_baseline_window"), "--dialogs"]
    cases = [(name, editor, digit) for name, digit in keys] + [("empty QDialog", floor, "1")]
    # Each opening in a fresh process (cold) and again in the same process (warm). The
    # dialogs take turns within a round, so that a busy spell of the machine falls on
    # several of them a little rather than on all the runs of one; medians of the rounds.
    results = {name: [] for name, _, _ in cases}
    with display(env) as xenv:
        for _ in range(runs):
            for name, program, digit in cases:
                run = subprocess.run([harness, digit * 2, "--"] + program, env=xenv, cwd=folder,
                                     capture_output=True, text=True)
                if run.returncode:
                    sys.exit("benchmark failed: opening %s: %s" % (name, run.stderr.strip()))
                out = run.stdout
                results[name].append([{k: float(v) for k, v in
                                       (kv.split("=") for kv in line.split())}
                                      for line in out.splitlines()])

    def median(name, opening, key):
        return statistics.median(r[opening][key] for r in results[name])

    kinds = (("cold", 0, 1.0, 2.0), ("warm", 1, 0.5, 1.0))
    floors = {(kind, key): median("empty QDialog", opening, key)
              for kind, opening, _, _ in kinds for key in ("cpu_ms", "wall_ms")}
    for name, _ in keys:
        for kind, opening, cpu_goal, wall_goal in kinds:
            for key, what, goal in (("cpu_ms", "editor CPU", cpu_goal),
                                    ("wall_ms", "key to first paint", wall_goal)):
                ms = median(name, opening, key)
                table.add("Open %s, %s: %s" % (name, kind, what), "%.1f ms" % ms,
                          "frame %.1f ms" % FRAME_MS, ms / FRAME_MS, goal,
                          "empty QDialog %.1f ms" % floors[kind, key])
    peaks = []
    program = os.path.join(bindir, "bench_dialog_open")
    for _ in range(3):
        out = subprocess.run([program, "all"], env=dict(env, QV_BENCH_IMAGE=image), cwd=folder,
                             check=True, capture_output=True, text=True).stdout
        peaks.append(int(dict(kv.split("=") for kv in out.split())["peak_kib"]))
    bare = statistics.median(spawn([os.path.join(bindir, "bench_baseline_window")], env)[2]
                             for _ in range(3))
    peak = statistics.median(peaks)
    limit = 80e6
    table.add("Peak memory, every dialog opened once", "%.1f MiB" % (peak / 1024),
              "limit %.0f MB" % (limit / 1e6), peak * 1024 / limit, 1.0,
              "bare window %.1f MiB" % (bare / 1024))


def duration(ms):
    return "%.2f µs" % (ms * 1e3) if ms < 0.1 else "%.3f ms" % ms


def ips_core(table, bindir, folder, runs):
    # Each run measures every pass once; a pass's ratio to its floor is taken within
    # a run, and the median of those ratios is reported, so that a machine busier
    # during one run than another slows both sides of a ratio alike.
    times = {}
    for _ in range(runs):
        out = subprocess.run([os.path.join(bindir, "bench_core_ips"), "--benchmark_format=json",
                              "--benchmark_min_time=0.05"],
                             check=True, capture_output=True, text=True, cwd=folder).stdout
        for b in json.loads(out)["benchmarks"]:
            # CPU time: the passes run on one thread, and the machine may be busy.
            times.setdefault(b["name"], []).append(b["cpu_time"] * {
                "ns": 1e-6, "us": 1e-3, "ms": 1.0}[b["time_unit"]])
    median = {name: statistics.median(t) for name, t in times.items()}
    for size, label in (("40976", "40 KB"), ("1048576", "1 MiB"), ("16777216", "16 MiB")):
        # Apply is judged as qorv and the editor run it: on the image read into memory,
        # patched in place. With a copy of the base first, it is shown without a goal:
        # that copy is the floor itself, which the programs never make.
        for op, what, floor, name, goal in (
                ("Create", "create", "Memcmp", "memcmp", 2.0),
                ("Apply", "apply (in place)", "Memcpy", "memcpy", 2.0),
                ("CopyAndApply", "apply (copy + patch)", "Memcpy", "memcpy", None)):
            ops, floors = times["BM_%s/%s" % (op, size)], times["BM_%s/%s" % (floor, size)]
            ratio = statistics.median(t / f for t, f in zip(ops, floors))
            table.add("IPS %s in memory, %s, 1%% changed (CPU)" % (what, label),
                      duration(median["BM_%s/%s" % (op, size)]),
                      "%s %s" % (name, duration(median["BM_%s/%s" % (floor, size)])), ratio, goal)


def qorv(table, bindir, env, folder, runs):
    qorv = os.path.join(bindir, "qorv")
    cmp, cp = shutil.which("cmp"), shutil.which("cp")
    base, edited = write_pair(folder, "small", 40976, 200, 1, ".nes")
    patch = os.path.join(folder, "small.ips")
    subprocess.run([qorv, "ips", "create", base, edited, "-o", patch], check=True)
    out = os.path.join(folder, "out.nes")
    copy = os.path.join(folder, "copy.nes")
    cases = [
        ("qorv --version", [qorv, "--version"], [cmp, "-s", base, edited], "cmp -s", 1.5),
        ("qorv ips create, 40,976-byte images", [qorv, "ips", "create", base, edited, "-o",
                                                 os.path.join(folder, "out.ips")],
         [cmp, "-s", base, edited], "cmp -s", 1.5),
        ("qorv ips apply, 40,976-byte image", [qorv, "ips", "apply", patch, base, "-o", out],
         [cp, base, copy], "cp", 1.5),
    ]
    # What an image changes, in parameters: against the cost of starting qorv at all. A
    # random image differs from the game in nearly every parameter, a zero image too.
    zero = os.path.join(folder, "zero.nes")
    with open(zero, "wb") as f:
        f.write(bytes(40976))
    version = [qorv, "--version"]
    cases += [
        ("qorv changes, 40,976-byte random image", [qorv, "changes", base], version,
         "qorv --version", 1.2),
        ("qorv changes, 40,976-byte zero image", [qorv, "changes", zero], version,
         "qorv --version", 1.2),
        ("qorv diff, 40,976-byte images, 200 bytes changed", [qorv, "diff", base, edited],
         version, "qorv --version", 1.2),
        ("qorv diff, 40,976-byte zero and random images", [qorv, "diff", zero, base], version,
         "qorv --version", 1.2),
        ("qorv dump --json, 40,976-byte random image", [qorv, "dump", "--json", base], version,
         "qorv --version", 1.5),
    ]
    big_base, big_edited = write_pair(folder, "big", 1 << 24, (1 << 24) // 100, 2, ".bin")
    # cmp stops at the first difference and at once for a file given twice: its
    # floor compares two equal files to the end.
    big_same = os.path.join(folder, "big-same.bin")
    shutil.copyfile(big_base, big_same)
    big_patch = os.path.join(folder, "big.ips")
    subprocess.run([qorv, "ips", "create", big_base, big_edited, "-o", big_patch], check=True)
    cases += [
        ("qorv ips create, 16 MiB, 1% changed", [qorv, "ips", "create", big_base, big_edited,
                                                 "-o", os.path.join(folder, "big-out.ips")],
         [cmp, "-s", big_base, big_same], "cmp -s", None),
        ("qorv ips apply, 16 MiB, 1% changed", [qorv, "ips", "apply", big_patch, big_base,
                                                "-o", os.path.join(folder, "big-out.bin")],
         [cp, big_base, os.path.join(folder, "big-copy.bin")], "cp", None),
    ]
    for what, program, floor, floor_name, goal in cases:
        r = paired(program, floor, runs, env)
        table.add(what + " (whole process)", "%.2f ms" % r["wall"],
                  "%s %.2f ms" % (floor_name, r["floor_wall"]), r["ratio"], goal,
                  "CPU %.2f×" % r["cpu_ratio"])


def main():
    if len(sys.argv) < 2:
        sys.exit(__doc__)
    bindir = os.path.abspath(sys.argv[1])
    quick = "--quick" in sys.argv
    root = os.environ.get("QV_BENCH_DIR") or os.path.dirname(bindir)
    folder = tempfile.mkdtemp(prefix="qv-bench-", dir=root)
    env = dict(os.environ)
    env.setdefault("QT_QPA_PLATFORM", "offscreen")
    env["QUORVANE_INI"] = os.path.join(folder, "qorv.ini")
    table = Table()
    try:
        startup(table, bindir, env, folder, 7 if quick else 31)
        dialogs(table, bindir, env, folder, 3 if quick else 7)
        ips_core(table, bindir, folder, 3 if quick else 11)
        qorv(table, bindir, env, folder, 7 if quick else 31)
    finally:
        shutil.rmtree(folder, ignore_errors=True)
    print()
    table.print()


if __name__ == "__main__":
    main()
