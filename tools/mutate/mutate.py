#!/usr/bin/env python3
"""Mutation score of the native test suite.

Each mutation of mutations.txt plants one fault in a copy of the tree, builds the native preset
and runs ctest: a failing (or hanging) suite caught the fault, a passing one let it survive, and
a mutant that does not compile is an invalid entry of the list. The worktree is only read: the
copy and its build directory live under --work (default build/mutate, which git ignores).
"""
import argparse
import collections
import os
import re
import shutil
import signal
import subprocess
import sys
import time
from pathlib import Path

ROOT = Path(__file__).resolve().parents[2]
DEFAULT_LIST = Path(__file__).resolve().with_name("mutations.txt")
FIELDS = ("file", "fault", "find", "replace")


class Mutation:
    def __init__(self, ident, fields, line):
        self.id, self.line = ident, line
        self.file, self.fault = fields["file"], fields["fault"]
        # A snippet is one line of the list; \n stands for a line break, \\ for a backslash.
        self.find, self.replace = (decode(fields[k]) for k in ("find", "replace"))
        parts = Path(self.file).parts
        self.layer = parts[1] if len(parts) > 2 and parts[0] == "src" else "?"


def decode(value):
    return re.sub(r"\\(.)", lambda m: "\n" if m.group(1) == "n" else m.group(1), value)


def parse_list(path):
    """Stanzas: a line [id], then the lines 'file: ', 'fault: ', 'find: ', 'replace: '."""
    stanzas, errors = [], []
    for number, text in enumerate(path.read_text(encoding="utf-8").splitlines(), 1):
        if not text.strip() or text.startswith("#"):
            continue
        header = re.fullmatch(r"\[([a-z0-9-]+)\]", text.strip())
        key, sep, value = text.partition(": ")
        if header:
            stanzas.append((header.group(1), {}, number))
        elif stanzas and sep and key in FIELDS and key not in stanzas[-1][1]:
            stanzas[-1][1][key] = value
        else:
            errors.append(f"{path.name}:{number}: not a field of a mutation: {text!r}")
    uses = collections.Counter(ident for ident, _, _ in stanzas)
    for ident, fields, line in stanzas:
        missing = [k for k in FIELDS if k not in fields]
        if missing:
            errors.append(f"{path.name}:{line}: [{ident}] lacks {', '.join(missing)}")
        if uses[ident] > 1:
            errors.append(f"{path.name}:{line}: id {ident} is used twice")
    return ([] if errors else [Mutation(*s) for s in stanzas]), errors


def anchor_problem(m, tree):
    """Why the mutation cannot be applied to this tree, or None."""
    if m.layer == "?" or ".." in Path(m.file).parts:
        return "not a file under src/"
    path = tree / m.file
    if not path.is_file():
        return "file missing"
    if m.find == m.replace:
        return "replacement equals the snippet"
    count = path.read_text(encoding="utf-8").count(m.find)
    return None if count == 1 else f"snippet found {count} times"


def source_files():
    """The files the tree is made of: tracked ones and new ones git does not ignore."""
    out = subprocess.run(["git", "ls-files", "-z", "--cached", "--others", "--exclude-standard"],
                         cwd=ROOT, check=True, capture_output=True).stdout
    return {p for p in out.decode().split("\0") if p and (ROOT / p).is_file()}


def sync_copy(tree):
    """Makes the copy equal to the worktree, rewriting only files that differ, so that the build
    directory stays valid and only changed files recompile. It also repairs a copy left mutated by
    a run that was killed."""
    files = source_files()
    for rel in files:
        src, dst = ROOT / rel, tree / rel
        if not dst.is_file() or dst.read_bytes() != src.read_bytes():
            dst.parent.mkdir(parents=True, exist_ok=True)
            shutil.copyfile(src, dst)  # a fresh mtime: ninja sees the change
            shutil.copymode(src, dst)
    for dirpath, dirnames, filenames in os.walk(tree):
        if Path(dirpath) == tree:
            dirnames[:] = [d for d in dirnames if d != "build"]
        for name in filenames:
            path = Path(dirpath) / name
            if path.relative_to(tree).as_posix() not in files:
                path.unlink()


def run(cmd, cwd, timeout):
    """Runs cmd in its own process group, killed whole on timeout or interruption.
    Returns (exit code or None on timeout, output)."""
    proc = subprocess.Popen(cmd, cwd=cwd, stdout=subprocess.PIPE, stderr=subprocess.STDOUT,
                            start_new_session=True)
    try:
        out, _ = proc.communicate(timeout=timeout)
        return proc.returncode, out.decode(errors="replace")
    except BaseException as e:
        try:
            os.killpg(proc.pid, signal.SIGKILL)
        except ProcessLookupError:
            pass
        out, _ = proc.communicate()
        if isinstance(e, subprocess.TimeoutExpired):
            return None, out.decode(errors="replace")
        raise


def build(tree, jobs, configure=False):
    if configure:
        # With ccache a file put back after its mutant, and every mutant of a second run (before
        # and after a change of the tests), compiles from the cache.
        launcher = "ccache" if shutil.which("ccache") else ""
        code, out = run(["cmake", "--preset", "native", f"-DCMAKE_CXX_COMPILER_LAUNCHER={launcher}"],
                        tree, 600)
        if code != 0:
            return False, out
    code, out = run(["cmake", "--build", "--preset", "native", "-j", str(jobs)], tree, 3600)
    return code == 0, out


def test(tree, args):
    """Runs ctest. Returns (outcome, failed tests); outcome is pass, fail or timeout."""
    cmd = ["ctest", "--preset", "native", "-j", str(args.jobs), "--timeout", str(args.timeout)]
    if args.tests:
        cmd += ["-R", args.tests]
    code, out = run(cmd, tree, args.timeout + 60)
    if code is None:
        return "timeout", ["(the whole run)"]
    failed = re.findall(r"^\s*\d+ - (\S+).*\(([^()]*)\)\s*$",
                        out.split("The following tests FAILED:")[-1], re.M)
    if code == 0:
        if not re.search(r"tests passed, 0 tests failed out of [1-9]", out):
            sys.exit("mutate: ctest ran no test; check --tests\n" + out[-2000:])
        return "pass", []
    if any("Timeout" in why for _, why in failed):
        return "timeout", [name for name, why in failed if "Timeout" in why]
    return "fail", [name for name, _ in failed] or ["(ctest failed: " + out.strip()[-200:] + ")"]


def commit():
    out = subprocess.run(["git", "describe", "--always", "--dirty=+changes"], cwd=ROOT,
                         capture_output=True)
    return out.stdout.decode().strip()


def select(mutations, args):
    by_id = {m.id: m for m in mutations}
    if any(i not in by_id for i in args.ids):
        sys.exit(f"mutate: no mutation {', '.join(i for i in args.ids if i not in by_id)}")
    layers = {layer for value in args.layer for layer in value.split(",")}
    chosen = [by_id[i] for i in args.ids] or mutations
    return [m for m in chosen if not layers or m.layer in layers] or sys.exit("mutate: none chosen")


def apply_one(m, tree, args):
    """Plants the fault, builds and tests, and always puts the file back."""
    path = tree / m.file
    original = path.read_bytes()
    start = time.monotonic()
    try:
        path.write_bytes(original.decode("utf-8").replace(m.find, m.replace, 1).encode("utf-8"))
        built, out = build(tree, args.jobs)
        if not built:
            errors = [l for l in out.splitlines() if "error:" in l]
            return "invalid", (errors or ["build failed"])[0].strip()[:200], [], time.monotonic() - start
        outcome, failed = test(tree, args)
    finally:
        path.write_bytes(original)
    detail = f"{len(failed)} failed: {' '.join(failed[:3])}" + (" ..." if len(failed) > 3 else "")
    result = {"pass": "survived", "fail": "caught", "timeout": "caught-timeout"}[outcome]
    return result, ("" if outcome == "pass" else detail), failed, time.monotonic() - start


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("ids", nargs="*", help="mutations to run (default: all)")
    parser.add_argument("--list", action="store_true", help="list the mutations, check anchors")
    parser.add_argument("--layer", action="append", default=[], help="only these layers (a,b)")
    parser.add_argument("--tests", help="ctest -R regex: run only these tests")
    parser.add_argument("--timeout", type=int, default=300, help="seconds of ctest per mutant")
    parser.add_argument("-j", "--jobs", type=int, default=2)
    parser.add_argument("--mutations", type=Path, default=DEFAULT_LIST)
    parser.add_argument("--work", type=Path, default=ROOT / "build/mutate")
    parser.add_argument("--out", type=Path, help="result TSV (default WORK/results.tsv)")
    args = parser.parse_args()
    for sig in (signal.SIGINT, signal.SIGTERM, signal.SIGHUP):  # each puts the file back
        signal.signal(sig, signal.default_int_handler)

    mutations, errors = parse_list(args.mutations)
    if errors:
        sys.exit("\n".join(errors))
    chosen = select(mutations, args)
    problems = [(m, anchor_problem(m, ROOT)) for m in chosen]
    if args.list:
        for m, problem in problems:
            print(f"{m.id:30} {m.layer:12} {m.file:44} {m.fault}")
            if problem:
                print(f"{'':30} ^ {problem}")
        counts = sorted(collections.Counter(m.layer for m in chosen).items())
        print(", ".join(f"{layer} {n}" for layer, n in counts), f"= {len(chosen)}")
    bad = [f"{args.mutations.name}:{m.line}: [{m.id}] {m.file}: {p}" for m, p in problems if p]
    if bad:
        sys.exit("mutate: stale mutation list, nothing was run\n" + "\n".join(bad))
    if args.list:
        return

    tree = args.work.resolve() / "tree"
    out_path = args.out or args.work / "results.tsv"
    tree.mkdir(parents=True, exist_ok=True)
    print(f"mutate: copying the tree to {tree}", flush=True)
    sync_copy(tree)
    start = time.monotonic()
    built, out = build(tree, args.jobs, configure=True)
    if not built:
        sys.exit("mutate: the clean tree does not build\n" + out[-3000:])
    outcome, failed = test(tree, args)
    if outcome != "pass":
        sys.exit(f"mutate: the clean tree fails its tests ({' '.join(failed)}): no score")
    print(f"mutate: clean tree built and passed in {time.monotonic() - start:.0f}s", flush=True)

    rows, every, totals, version = [], [], collections.Counter(), commit()
    out_path.parent.mkdir(parents=True, exist_ok=True)
    for m in chosen:
        result, detail, failed, seconds = apply_one(m, tree, args)
        totals[result] += 1
        rows.append(f"{m.id}\t{m.layer}\t{result}\t{detail}\n")
        every.append(f"{m.id}\t{' '.join(failed)}\n")
        print(f"{m.id:30} {m.layer:12} {result:15} {seconds:6.1f}s  {detail}", flush=True)
        caught = totals["caught"] + totals["caught-timeout"]
        score = (f"{caught} caught, {totals['survived']} survived, {totals['invalid']} invalid "
                 f"of {len(rows)}")
        # Rewritten after every mutant, so that an interrupted run keeps what it measured.
        partial = "" if len(rows) == len(chosen) else f" (partial: {len(chosen)} chosen)"
        out_path.write_text(f"# mutate {version} tests={args.tests or 'all'} | {score}{partial}\n"
                            + "".join(rows), encoding="utf-8")
        # Every failed test of each mutant: which tests are a fault's only catchers.
        out_path.with_suffix(".failed.tsv").write_text("".join(every), encoding="utf-8")
    print(f"results in {out_path}; {totals['caught-timeout']} of the caught hung (timeout)")
    print(score)
    sys.exit(1 if totals["invalid"] else 0)


if __name__ == "__main__":
    try:
        main()
    except KeyboardInterrupt:
        sys.exit("mutate: interrupted; the copy's files were put back")
