#!/usr/bin/env bash
# Mutation check of the core tests: puts a fixed, seeded sample of small faults into the core's
# sources (a comparison flipped, an operator swapped, a constant off by one, a statement removed),
# one at a time, rebuilds incrementally, runs the core tests and counts the faults they catch.
# The faults go into a copy of the tree under build/mutants, so the working tree is never touched.
#
#   scripts/mutants.sh [--count N] [--seed S] [--timeout SECONDS] [--list] [--by-test]
#
# --list prints the sample without building. --by-test also names, for each caught mutant, the
# tests that failed (to see which tests carry their weight). Each result line is written to
# build/mutants/results.txt as well; survivors are marked SURVIVED.
set -euo pipefail
cd "$(dirname "$0")/.."
exec python3 - "$@" <<'PY'
import argparse, hashlib, os, re, shutil, subprocess, sys, time

ap = argparse.ArgumentParser(prog="mutants.sh")
ap.add_argument("--count", type=int, default=100)
ap.add_argument("--seed", default="15")
ap.add_argument("--timeout", type=int, default=60)
ap.add_argument("--list", action="store_true")
ap.add_argument("--by-test", action="store_true")
args = ap.parse_args()

ROOT = os.getcwd()
WORK = os.path.join(ROOT, "build", "mutants")
TREE = os.path.join(WORK, "tree")
BUILD = os.path.join(WORK, "build")
FOLDERS = ["src/settings", "src/render", "src/effects"]

# --- candidate sites -------------------------------------------------------------------------

def code_mask(line, in_block):
    """Marks the characters of a line that are code (not comment, string or char literal)."""
    mask = [False] * len(line)
    i = 0
    while i < len(line):
        if in_block:
            end = line.find("*/", i)
            if end < 0:
                return mask, True
            i, in_block = end + 2, False
            continue
        if line.startswith("//", i):
            break
        if line.startswith("/*", i):
            in_block = True
            i += 2
            continue
        c = line[i]
        if c in "\"'":
            j = i + 1
            while j < len(line) and line[j] != c:
                j += 2 if line[j] == "\\" else 1
            i = j + 1
            continue
        mask[i] = True
        i += 1
    return mask, in_block

SWAPS = {  # operator swapped
    " + ": " - ", " - ": " + ", " * ": " / ", " / ": " * ", " && ": " || ", " || ": " && ",
    " += ": " -= ", " -= ": " += ",
}
FLIPS = {  # comparison flipped (negated)
    " < ": " >= ", " >= ": " < ", " > ": " <= ", " <= ": " > ", " == ": " != ", " != ": " == ",
}
INT = re.compile(r"(?<![\w.'])\d+(?![\w.'])")
LVALUE_STMT = re.compile(r"^\s*[A-Za-z_]\w*(?:(?:\.|->|::)[A-Za-z_]\w*|\[[^\]]*\])*\s*"
                         r"(?:[-+*/|&^]?=(?!=)|\+\+|--)")
CALL_STMT = re.compile(r"^\s*[A-Za-z_][\w.:>\-\[\]]*\(.*\);\s*$")

def candidates(path):
    text = open(path).read().split("\n")
    out, in_block, prev_end = [], False, ";"
    for n, line in enumerate(text):
        mask, in_block_after = code_mask(line, in_block)
        stripped = line.strip()
        code = "".join(ch if m else " " for ch, m in zip(line, mask)).rstrip()
        in_block = in_block_after
        if not code.strip() or stripped.startswith("#") or "static_assert" in code:
            continue
        def add(kind, col, old, new):
            out.append((kind, n, col, old, new))
        for table, kind in ((SWAPS, "swap"), (FLIPS, "flip")):
            for op, rep in table.items():
                start = 0
                while (col := code.find(op, start)) >= 0:
                    if all(mask[col:col + len(op)]):
                        add(kind, col, op, rep)
                    start = col + 1
        for m in INT.finditer(code):
            if all(mask[m.start():m.end()]):
                add("const", m.start(), m.group(), str(int(m.group()) + 1))
        starts_statement = prev_end[-1:] in (";", "{", "}", ")", ":")
        if starts_statement and code.rstrip().endswith(";") and not code.lstrip().startswith("return") \
                and (LVALUE_STMT.match(code) or CALL_STMT.match(code)):
            body = line[len(line) - len(line.lstrip()):]
            add("remove", len(line) - len(body), body, ";")
        prev_end = code.rstrip() or prev_end
    return text, out

def key(path, line, kind, col, old):
    # Keyed by the line's text, not its number, so that edits elsewhere keep the sample stable.
    h = hashlib.sha1(f"{args.seed}|{path}|{line.strip()}|{kind}|{col - (len(line) - len(line.lstrip()))}|{old}".encode())
    return h.hexdigest()

sites = {"swap": [], "flip": [], "const": [], "remove": []}
files = sorted(os.path.join(d, f) for d in FOLDERS for f in os.listdir(d) if f.endswith(".cpp"))
for path in files:
    text, cands = candidates(path)
    for kind, n, col, old, new in cands:
        sites[kind].append((key(path, text[n], kind, col, old), path, n, col, old, new))
per_kind = args.count // len(sites)
sample = []
for i, kind in enumerate(sites):
    take = per_kind + (1 if i < args.count % len(sites) else 0)
    sample += [(kind,) + s for s in sorted(sites[kind])[:take]]
sample.sort(key=lambda s: (s[2], s[3], s[4]))

def describe(s):
    kind, _, path, n, col, old, new = s
    return f"{path}:{n + 1}:{col + 1}  {kind:6}  {old.strip()!r} -> {new.strip()!r}"

if args.list:
    for s in sample:
        print(describe(s))
    print(f"{len(sample)} mutants from {sum(map(len, sites.values()))} sites in {len(files)} files")
    sys.exit(0)

# --- a private copy of the tree, synchronised by content so that ninja rebuilds only changes ----

def sync(src, dst):
    wanted = set()
    for base, _, names in os.walk(src):
        for name in names:
            s = os.path.join(base, name)
            d = os.path.join(dst, os.path.relpath(s, src))
            wanted.add(d)
            if not os.path.exists(d) or open(s, "rb").read() != open(d, "rb").read():
                os.makedirs(os.path.dirname(d), exist_ok=True)
                shutil.copyfile(s, d)
    for base, _, names in os.walk(dst):
        for name in names:
            if os.path.join(base, name) not in wanted:
                os.remove(os.path.join(base, name))

os.makedirs(TREE, exist_ok=True)
for part in ("src", "tests", "cmake", "sounds"):
    sync(os.path.join(ROOT, part), os.path.join(TREE, part))
if open("CMakeLists.txt").read() != (open(os.path.join(TREE, "CMakeLists.txt")).read()
                                     if os.path.exists(os.path.join(TREE, "CMakeLists.txt")) else ""):
    shutil.copyfile("CMakeLists.txt", os.path.join(TREE, "CMakeLists.txt"))

env = dict(os.environ)
if shutil.which("ccache"):
    env.setdefault("CMAKE_CXX_COMPILER_LAUNCHER", "ccache")
if not os.path.exists(os.path.join(BUILD, "build.ninja")):
    subprocess.run(["cmake", "-S", TREE, "-B", BUILD, "-G", "Ninja", "-DCMAKE_BUILD_TYPE=Release",
                    "-DQSRN_BUILD_APP=OFF"], check=True, env=env, stdout=subprocess.DEVNULL)
TESTS = os.path.join(BUILD, "tests", "quasarine_core_tests")

def build():
    return subprocess.run(["ninja", "-C", BUILD, "-j2", "quasarine_core_tests"], env=env,
                          stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL).returncode == 0

REPORT = os.path.join(WORK, "failures.json")

def tests_pass():
    """True when the core tests pass; the failing tests' names go to `failed`."""
    global failed
    failed = []
    command = [TESTS] + ([f"--gtest_output=json:{REPORT}"] if args.by_test else [])
    if os.path.exists(REPORT):
        os.remove(REPORT)
    try:
        ok = subprocess.run(command, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                            timeout=args.timeout).returncode == 0
    except subprocess.TimeoutExpired:
        failed = ["(timeout)"]
        return False
    if not ok and args.by_test:
        import json
        try:
            for suite in json.load(open(REPORT))["testsuites"]:
                failed += [f"{suite['name']}.{t['name']}" for t in suite["testsuite"] if t.get("failures")]
        except (OSError, ValueError, KeyError):
            failed = ["(crash)"]
    return ok

if not build() or not tests_pass():
    sys.exit("mutants.sh: the unchanged core does not build or its tests fail")

caught = compiled = 0
started = time.time()
with open(os.path.join(WORK, "results.txt"), "w") as log:
    for s in sample:
        kind, _, path, n, col, old, new = s
        target = os.path.join(TREE, path)
        original = open(target).read()
        lines = original.split("\n")
        lines[n] = lines[n][:col] + new + lines[n][col + len(old):]
        open(target, "w").write("\n".join(lines))
        try:
            if not build():
                verdict = "no-build"
            else:
                compiled += 1
                verdict = "SURVIVED" if tests_pass() else "caught"
                caught += verdict == "caught"
        finally:
            open(target, "w").write(original)
        line = f"{verdict:8}  {describe(s)}"
        if args.by_test and verdict == "caught":
            line += "  <- " + " ".join(failed or ["(crash)"])
        print(line, flush=True)
        log.write(line + "\n")
        log.flush()  # the file can be followed while the run goes on
    build()

pct = 100.0 * caught / compiled if compiled else 0.0
summary = (f"caught {caught} of {compiled} compiled mutants ({pct:.1f} %); "
           f"{len(sample) - compiled} did not compile; {len(sample)} in all; "
           f"{time.time() - started:.0f} s")
print(summary)
with open(os.path.join(WORK, "results.txt"), "a") as log:
    log.write(summary + "\n")
PY
