#!/usr/bin/env python3
"""Runs every benchmark and prints one table: each figure beside its floor, measured
in the same run, their ratio and the goal for that ratio.

    bench/run.py BUILD/bin [--quick]

Whole processes are timed in pairs, the program and its floor one after the other,
and the median of the pairs' ratios is reported, so that a machine busy with other
work slows both sides of a pair alike. Files are written to QV_BENCH_DIR, by default a
temporary folder beside BUILD/bin: on the build's own file system, as a user's files
are, where the fsync every save does costs what it costs the user; a floor that writes
a file gets its file and folder synced too, within its time.

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


def synced(cmd, env, path, data=None):
    """spawn() of cmd, then, as `sync` of the file it wrote would, path synced to the
    disk, and its folder, as qorv syncs the folder after it renames a new file into
    place; with data, path is first written with those bytes, as a program that
    writes them would."""
    start = time.perf_counter()
    _, cpu, peak = spawn(cmd, env)
    if data is not None:
        with open(path, "wb") as f:
            f.write(data)
    for name in (path, os.path.dirname(path)):
        fd = os.open(name, os.O_RDONLY)
        os.fsync(fd)
        os.close(fd)
    return time.perf_counter() - start, cpu, peak


def paired(program, floor, runs, env):
    """Median wall and CPU of each side and the median of the pairs' wall ratios. The
    floor is a command, or a function of env that runs one and returns what spawn()
    does."""
    run_program = lambda e: spawn(program, e)
    run_floor = floor if callable(floor) else lambda e: spawn(floor, e)
    for run in (run_program, run_floor):  # warm the page cache
        run(env)
    walls, cpus, floor_walls, floor_cpus, ratios, cpu_ratios = [], [], [], [], [], []
    for k in range(runs):
        order = [(run_program, walls, cpus), (run_floor, floor_walls, floor_cpus)]
        if k % 2:
            order.reverse()
        for run, w, c in order:
            wall, cpu, _ = run(env)
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
                                      for line in out.splitlines() if "wall_ms=" in line])
        # The editor as a user has it after opening every dialog once: the dialogs it
        # keeps ready, their windows and backing stores included.
        digits = "".join(digit for _, digit in keys)
        peaks = []
        for _ in range(3):
            out = subprocess.run([harness, digits, "--"] + editor, env=xenv, cwd=folder,
                                 check=True, capture_output=True, text=True).stdout
            peaks.append(int(out.split("peak_kib=")[1].split()[0]))

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
        # Shown for information, without a goal: what a user meets is the whole
        # process, in the rows of qorv below.
        for op, what, floor, name, goal in (
                ("Create", "create", "Memcmp", "memcmp", None),
                ("CopyAndApply", "apply (copy + patch)", "Memcpy", "memcpy", None)):
            ops, floors = times["BM_%s/%s" % (op, size)], times["BM_%s/%s" % (floor, size)]
            ratio = statistics.median(t / f for t, f in zip(ops, floors))
            table.add("IPS %s in memory, %s, 1%% changed (CPU)" % (what, label),
                      duration(median["BM_%s/%s" % (op, size)]),
                      "%s %s" % (name, duration(median["BM_%s/%s" % (floor, size)])), ratio, goal,
                      "information")


def play(table, bindir, env, folder, runs):
    # The Play window on the tests' cartridge. CPU time: each figure is one thread's
    # work, and the machine may be busy; the wall time is shown beside it.
    program = os.path.join(bindir, "bench_gui_play")
    cpu, wall, errors = {}, {}, set()
    for _ in range(runs):
        out = subprocess.run([program, "--benchmark_format=json", "--benchmark_min_time=0.2"],
                             check=True, capture_output=True, text=True, cwd=folder,
                             env=env).stdout
        for b in json.loads(out)["benchmarks"]:
            if b.get("error_occurred"):
                errors.add(b.get("error_message", "failed"))
                continue
            scale = {"ns": 1e-6, "us": 1e-3, "ms": 1.0}[b["time_unit"]]
            cpu.setdefault(b["name"], []).append(b["cpu_time"] * scale)
            wall.setdefault(b["name"], []).append(b["real_time"] * scale)
    if errors or "BM_HostFrame" not in cpu:
        table.add("Play: one frame of the host", "—", "—", 0, None,
                  "not run: %s" % ", ".join(sorted(errors)))
        return
    med = statistics.median
    ratio = med(h / c for h, c in zip(cpu["BM_HostFrame"], cpu["BM_CoreRun"]))
    table.add("Play: one frame of the host (run + conversion + paint at 2×) (CPU)",
              duration(med(cpu["BM_HostFrame"])),
              "retro_run alone %s" % duration(med(cpu["BM_CoreRun"])), ratio, 1.25,
              "wall %s vs %s" % (duration(med(wall["BM_HostFrame"])),
                                 duration(med(wall["BM_CoreRun"]))))
    reload = med(cpu["BM_HotReload"])
    table.add("Play: hot reload, document change to the first frame with the new bytes (CPU)",
              "%.1f ms" % reload, "frame %.1f ms" % FRAME_MS, reload / FRAME_MS, 4.0,
              "wall %.1f ms" % med(wall["BM_HotReload"]))


def qorv(table, bindir, env, folder, runs):
    qorv = os.path.join(bindir, "qorv")
    cmp, cp = shutil.which("cmp"), shutil.which("cp")

    def read(path):
        with open(path, "rb") as f:
            return f.read()

    def ips_cases(name, size, changes, seed, ext, label):
        """Create and apply of one pair of files. cmp stops at the first difference:
        its floor compares two equal files to the end. Each floor writes what qorv
        writes, the patch or the patched copy, and has it synced."""
        base, edited = write_pair(folder, name, size, changes, seed, ext)
        same = os.path.join(folder, name + "-same" + ext)
        shutil.copyfile(base, same)
        patch = os.path.join(folder, name + ".ips")
        subprocess.run([qorv, "ips", "create", base, edited, "-o", patch], check=True)
        patch_bytes = read(patch)
        floor_patch, copy = (os.path.join(folder, name + s) for s in ("-floor.ips", "-copy" + ext))
        return [
            ("qorv ips create, " + label,
             [qorv, "ips", "create", base, edited, "-o", os.path.join(folder, name + "-out.ips")],
             lambda e: synced([cmp, "-s", base, same], e, floor_patch, patch_bytes),
             "cmp -s, patch written", 1.5),
            ("qorv ips apply, " + label,
             [qorv, "ips", "apply", patch, base, "-o", os.path.join(folder, name + "-out" + ext)],
             lambda e: synced([cp, base, copy], e, copy), "cp + sync", 1.5),
        ]

    small_base = os.path.join(folder, "small-base.nes")
    small_ips = ips_cases("small", 40976, 200, 1, ".nes", "40,976-byte images, 200 bytes changed")
    small_edited = os.path.join(folder, "small-edited.nes")
    cases = [("qorv --version", [qorv, "--version"],
              [cmp, "-s", small_base, os.path.join(folder, "small-same.nes")], "cmp -s", 1.5)]
    cases += small_ips
    # What an image changes, in parameters: against the cost of starting qorv at all. A
    # random image differs from the game in nearly every parameter, a zero image too.
    zero = os.path.join(folder, "zero.nes")
    with open(zero, "wb") as f:
        f.write(bytes(40976))
    version = [qorv, "--version"]
    cases += [
        ("qorv changes, 40,976-byte random image", [qorv, "changes", small_base], version,
         "qorv --version", 1.2),
        ("qorv changes, 40,976-byte zero image", [qorv, "changes", zero], version,
         "qorv --version", 1.2),
        ("qorv diff, 40,976-byte images, 200 bytes changed", [qorv, "diff", small_base,
                                                              small_edited],
         version, "qorv --version", 1.2),
        ("qorv diff, 40,976-byte zero and random images", [qorv, "diff", zero, small_base],
         version, "qorv --version", 1.2),
        ("qorv dump --json, 40,976-byte random image", [qorv, "dump", "--json", small_base],
         version, "qorv --version", 1.5),
    ]
    cases += ips_cases("big", 1 << 24, (1 << 24) // 100, 2, ".bin", "16 MiB, 1% changed")
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
        play(table, bindir, env, folder, 3 if quick else 7)
        # Beside the build folder, on its file system.
        files = tempfile.mkdtemp(prefix="qv-bench-", dir=os.path.dirname(bindir))
        try:
            qorv(table, bindir, env, files, 7 if quick else 31)
        finally:
            shutil.rmtree(files, ignore_errors=True)
    finally:
        shutil.rmtree(folder, ignore_errors=True)
    print()
    table.print()


if __name__ == "__main__":
    main()
