#!/usr/bin/env python3
"""Sizes of the patches qorv ips create writes, for five kinds of change, beside the
size of one plain record per run of changed bytes. Every patch is applied twice, by
qorv and by a reader written here from the format alone, and both results must equal
the edited file.

    bench/patch_sizes.py BUILD/bin
"""
import os
import random
import subprocess
import sys
import tempfile

EOF_OFFSET = 0x454F46


def runs_of(base, edited):
    """The runs of changed bytes, as (start, end)."""
    out, i, n = [], 0, len(base)
    while i < n:
        if base[i] != edited[i]:
            j = i
            while j < n and base[j] != edited[j]:
                j += 1
            out.append((i, j))
            i = j
        else:
            i += 1
    return out


def one_record_per_run(base, edited):
    """Header, a 5-byte head and the bytes for each run (split at 65,535), trailer."""
    size = 5 + 3
    for start, end in runs_of(base, edited):
        length = end - start
        size += 5 * -(-length // 0xFFFF) + length
        if start == EOF_OFFSET:
            size += 1  # a record may not start there: it starts a byte earlier
    return size


def apply(patch, base):
    """Applies an IPS patch to a copy of base, from the format alone."""
    assert patch[:5] == b"PATCH"
    out, i = bytearray(base), 5
    while patch[i:i + 3] != b"EOF":
        offset = int.from_bytes(patch[i:i + 3], "big")
        length = int.from_bytes(patch[i + 3:i + 5], "big")
        i += 5
        if length:
            data = patch[i:i + length]
            i += length
        else:
            data = bytes([patch[i + 2]]) * int.from_bytes(patch[i:i + 2], "big")
            i += 3
        if offset + len(data) > len(out):
            out.extend(bytes(offset + len(data) - len(out)))
        out[offset:offset + len(data)] = data
    assert i + 3 == len(patch), "bytes after EOF"
    return bytes(out)


def cases():
    rng = random.Random(28)

    def rand(n):
        return bytearray(rng.getrandbits(8) for _ in range(n)) if n < 1 << 20 \
            else bytearray(rng.randbytes(n))

    def changed(b):
        return (b + 1 + rng.randrange(255)) & 0xFF

    # The edited image of a test: three bytes of a 40,976-byte image.
    base = rand(40976)
    edited = bytearray(base)
    for at in (0x05A2, 0x30B8, 0x4464):
        edited[at] = changed(edited[at])
    yield "40,976-byte image, 3 bytes changed", base, edited

    # 16 MiB, 1% changed in 1,600 runs of 1-200 bytes.
    size = 1 << 24
    base = rand(size)
    edited = bytearray(base)
    for start in sorted(rng.sample(range(0, size - 200, 200), 1600)):
        for at in range(start, start + rng.randint(1, 200)):
            edited[at] = changed(edited[at])
    yield "16 MiB, 1,600 runs of 1-200 bytes", base, edited

    # 100,000 scattered single bytes in 16 MiB.
    edited = bytearray(base)
    for at in rng.sample(range(size), 100000):
        edited[at] = changed(edited[at])
    yield "16 MiB, 100,000 scattered bytes", base, edited

    # 1 MiB with half its bytes changed at random.
    size = 1 << 20
    base = rand(size)
    edited = bytearray(base)
    for at in range(size):
        if rng.getrandbits(1):
            edited[at] = changed(edited[at])
    yield "1 MiB, half its bytes changed", base, edited

    # 1 MiB holding 300 long runs of one value each.
    edited = bytearray(base)
    for start in sorted(rng.sample(range(0, size - 3000, 3000), 300)):
        value = rng.getrandbits(8)
        for at in range(start, start + rng.randint(100, 3000)):
            edited[at] = value
    yield "1 MiB, 300 runs of one value", base, edited


def main():
    if len(sys.argv) < 2:
        sys.exit(__doc__)
    qorv = os.path.join(os.path.abspath(sys.argv[1]), "qorv")
    rows = []
    with tempfile.TemporaryDirectory(prefix="qv-patch-") as folder:
        for what, base, edited in cases():
            paths = [os.path.join(folder, n) for n in ("base.bin", "edited.bin", "p.ips",
                                                       "out.bin")]
            for path, data in zip(paths, (base, edited)):
                with open(path, "wb") as f:
                    f.write(data)
            subprocess.run([qorv, "ips", "create", paths[0], paths[1], "-o", paths[2]],
                           check=True)
            subprocess.run([qorv, "ips", "apply", paths[2], paths[0], "-o", paths[3]],
                           check=True)
            with open(paths[2], "rb") as f:
                patch = f.read()
            with open(paths[3], "rb") as f:
                exact = f.read() == edited and apply(patch, base) == edited
            plain = one_record_per_run(base, edited)
            rows.append((what, len(runs_of(base, edited)), len(patch), plain, exact))
    print("| Case | Runs | Patch | One record per run | Ratio | Applies exactly |")
    print("|---|---|---|---|---|---|")
    for what, runs, size, plain, exact in rows:
        print("| %s | %s | %s | %s | %.3f | %s |" % (what, format(runs, ","), format(size, ","),
                                                     format(plain, ","), size / plain,
                                                     "yes" if exact else "NO"))
    if not all(r[4] for r in rows):
        sys.exit("a patch did not apply exactly")


if __name__ == "__main__":
    main()
