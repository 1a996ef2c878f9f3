"""scripts/mutate: makes mutants by rule, runs the suite against each in build-mutants/, reports."""
import argparse
import fcntl
import hashlib
import json
import os
import sys
import time
from dataclasses import dataclass

from . import changes, equivalent, sample, shell
from .model import Edit, apply_edits, make_mutant, unique
from .plan import Planner
from .scratch import Scratch

CXX_FOLDERS = ("src/", "docs/")
CXX_ENDINGS = (".cpp", ".h")
SHELL_FOLDERS = ("install/",)
EQUIVALENT = "tests/mutants/equivalent.txt"
HERE = os.path.dirname(os.path.abspath(__file__))


def parse_arguments(argv):
    parser = argparse.ArgumentParser(
        prog="scripts/mutate",
        description="Mutants made by rule over the lines changed since BASE, each built and tested in "
        "build-mutants/. Exits 1 when a mutant survives that tests/mutants/equivalent.txt does not list.",
    )
    parser.add_argument("--base", default="main",
                        help="count lines changed since the branch left this revision (default main); "
                        "empty: every line")
    parser.add_argument("--mutants", default="", help="run a sample of this many (default: all)")
    parser.add_argument("--seed", default="", help="the sample's seed (default 1)")
    parser.add_argument("--list", action="store_true", help="list the mutants (after sampling) and stop")
    parser.add_argument("--again", metavar="REPORT",
                        help="run again just the mutants a report names (its survivors, say), on every line")
    parser.add_argument("files", nargs="*", help="only these files (paths from the repository's top)")
    args = parser.parse_args(argv)
    if args.mutants.strip() and not args.mutants.strip().isdigit():
        parser.error("--mutants takes a number")
    args.count = int(args.mutants) if args.mutants.strip() else None
    if args.again and (args.files or args.count is not None):
        parser.error("--again runs the mutants its report names: it takes no FILE and no --mutants")
    args.seed = args.seed.strip() or "1"
    return args


def say(text=""):
    print(text, flush=True)


# --- the scratch build ------------------------------------------------------------------------------


def prepare(scratch, log):
    """The copy brought up to date and configured: its files, or None when it does not configure."""
    files = scratch.sync()
    if not scratch.configure(log):
        say(f"mutate: the tree does not configure; see {log}")
        return None
    return files


def executables(scratch):
    """{source: the program it is built into}, for the programs other than Tolvik's own libraries."""
    with open(os.path.join(scratch.build_dir, "compile_commands.json")) as f:
        entries = json.load(f)
    found = {}
    for entry in entries:
        parts = entry.get("output", "").split("/")
        target = next((p[: -len(".dir")] for p in parts if p.endswith(".dir")), None)
        relative = os.path.relpath(os.path.realpath(entry["file"]), os.path.realpath(scratch.tree))
        if target and not target.startswith("tolvik"):
            found[relative] = target
    return found


# --- finding the mutants ----------------------------------------------------------------------------


class Generator:
    """The mutants of each file on its chosen lines; C++ files are read once and kept in a cache."""

    def __init__(self, scratch, changed):
        self.scratch = scratch
        self.changed = changed
        self.cache_path = os.path.join(scratch.work, "mutants-cache.json")
        self.cache = self.load_cache()
        self.reader = None
        self.rules_digest = self.digest_of_rules()

    def load_cache(self):
        try:
            with open(self.cache_path) as f:
                return json.load(f)
        except (OSError, ValueError):
            return {}

    def save_cache(self):
        with open(self.cache_path, "w") as f:
            json.dump(self.cache, f)

    @staticmethod
    def digest_of_rules():
        digest = hashlib.sha1()
        for name in ("cxx.py", "model.py"):
            with open(os.path.join(HERE, name), "rb") as f:
                digest.update(f.read())
        return digest.hexdigest()

    def cxx_reader(self):
        if self.reader is None:
            from . import cxx  # libclang only when a C++ file is read

            self.reader = cxx.Reader(self.scratch.tree, self.scratch.build_dir)
        return self.reader

    def candidates(self, files, wanted):
        chosen = []
        for relative in files:
            if wanted and relative not in wanted:
                continue
            if self.changed is not None and not self.changed.get(relative):
                continue
            if self.kind(relative):
                chosen.append(relative)
        return chosen

    def kind(self, relative):
        if relative.startswith(CXX_FOLDERS) and relative.endswith(CXX_ENDINGS):
            return "c++" if self.cxx_reader().is_built(relative) else None
        if relative.startswith(SHELL_FOLDERS) and shell.is_shell(self.scratch.read(relative) or b""):
            return "shell"
        return None

    def mutants_of(self, relative):
        content = self.scratch.read(relative)
        if self.kind(relative) == "shell":
            found = shell.mutants(relative, content)
        else:
            found = self.cxx_mutants(relative, content)
        lines = changes.lines_of(self.changed, relative)
        on_lines = [m for m in found if any(line in lines for line in m.lines)]
        return list(unique(on_lines, {relative: content}))

    def cxx_mutants(self, relative, content):
        from . import cxx

        reader = self.cxx_reader()
        path = os.path.realpath(os.path.join(self.scratch.tree, relative))
        flags = repr(reader.arguments(path)).encode()
        key = hashlib.sha1(content + flags + self.rules_digest.encode()).hexdigest()
        kept = self.cache.get(relative)
        if kept and kept["key"] == key:
            return [make_mutant(relative, rule, content, [Edit(s, e, bytes.fromhex(t)) for s, e, t in edits])
                    for rule, edits in kept["mutants"]]
        try:
            found = reader.mutants(relative)
        except cxx.ParseError as error:
            say(f"mutate: {error}; its mutants are left out")
            return []
        self.cache[relative] = {
            "key": key,
            "mutants": [[m.rule, [[e.start, e.end, e.text.hex()] for e in m.edits]] for m in found],
        }
        return found


# --- running them -----------------------------------------------------------------------------------


@dataclass
class Outcome:
    mutant: object
    verdict: str  # "build", "test" or "survived"
    test: str
    seconds: float


def run_mutant(mutant, scratch, planner, targets, log):
    """Applies the mutant in the copy, builds and tests it test by test, and always takes it back."""
    original = scratch.read(mutant.path)
    scratch.write(mutant.path, apply_edits(original, mutant.edits))
    try:
        return verdict_of(mutant, scratch, planner, targets, log)
    finally:
        scratch.write(mutant.path, original)


def verdict_of(mutant, scratch, planner, targets, log):
    is_cxx = mutant.path.endswith(CXX_ENDINGS)
    own_object = scratch.object_of(mutant.path) if is_cxx else None
    if own_object and not scratch.build(log, own_object):
        return "build", ""
    for test in planner.order(mutant.path):
        if not scratch.build(log, test if test in targets else None):
            return "build", ""
        if not scratch.test(test, planner.timeout(test), log):
            planner.killed(mutant.path, test)
            return "test", test
    # A header's mutant is compiled only where a test needs it: a survivor must build everywhere.
    if is_cxx and not own_object and not scratch.build(log):
        return "build", ""
    return "survived", ""


def describe_outcome(outcome, listed):
    if outcome.verdict == "build":
        what = "killed (build)"
    elif outcome.verdict == "test":
        what = f"killed by {outcome.test}"
    else:
        what = "equivalent" if outcome.mutant.key in listed else "SURVIVED"
    return f"{what:32} {outcome.mutant.describe()}  [{outcome.seconds:.1f} s]"


def run_all(chosen, scratch, planner, listed):
    targets = scratch.targets()
    outcomes = []
    for number, mutant in enumerate(chosen, 1):
        log = os.path.join(scratch.logs, f"{number:04}.log")
        write_diff(mutant, scratch, log)
        start = time.monotonic()
        verdict, test = run_mutant(mutant, scratch, planner, targets, log)
        outcome = Outcome(mutant, verdict, test, time.monotonic() - start)
        outcomes.append(outcome)
        say(f"[{number}/{len(chosen)}] {describe_outcome(outcome, listed)}")
    return outcomes


def write_diff(mutant, scratch, log):
    import difflib

    original = scratch.read(mutant.path)
    mutated = apply_edits(original, mutant.edits)
    diff = difflib.unified_diff(original.decode("utf-8", "replace").splitlines(True),
                                mutated.decode("utf-8", "replace").splitlines(True),
                                "a/" + mutant.path, "b/" + mutant.path, n=1)
    with open(log, "w") as f:
        f.write(f"{mutant.describe()}\n{''.join(diff)}\n")


# --- the report -------------------------------------------------------------------------------------


def report(outcomes, listed, setup_seconds):
    by_build = [o for o in outcomes if o.verdict == "build"]
    by_test = [o for o in outcomes if o.verdict == "test"]
    left = [o for o in outcomes if o.verdict == "survived"]
    known = [o for o in left if o.mutant.key in listed]
    survivors = [o for o in left if o.mutant.key not in listed]
    total = sum(o.seconds for o in outcomes)
    say()
    say(f"made {len(outcomes)}: killed {len(by_build) + len(by_test)} (by the build {len(by_build)}, "
        f"by a test {len(by_test)}), survived {len(survivors)}, equivalent {len(known)}")
    if outcomes:
        say(f"time per mutant: mean {total / len(outcomes):.1f} s, total {total:.0f} s "
            f"(and {setup_seconds:.0f} s to read the files, build the copy and run the whole suite once)")
    if survivors:
        say("survivors:")
        for o in survivors:
            say(f"  {o.mutant.describe()}")
        say(f"one that no user or caller could tell apart goes into {EQUIVALENT}, with the reason:")
        for o in survivors:
            say(f"  {o.mutant.key}  # ...")
    if known:
        say(f"equivalent (listed in {EQUIVALENT}):")
        for o in known:
            say(f"  {o.mutant.describe()}  # {listed[o.mutant.key]}")
    return 1 if survivors else 0


def check_clean(scratch, outcomes):
    """Every mutated file of the copy is back to the working tree's text."""
    for path in {o.mutant.path for o in outcomes}:
        with open(os.path.join(scratch.repo, path), "rb") as f:
            if scratch.read(path) != f.read():
                say(f"mutate: {path} in {scratch.tree} differs from the working tree")
                return False
    return True


def choose(scratch, files, args):
    if args.again:
        return again(scratch, files, args.again)
    changed = changes.changed_lines(scratch.repo, args.base)
    generator = Generator(scratch, changed)
    files = generator.candidates(files, set(args.files))
    where = f"the lines changed since {args.base}" if args.base else "every line"
    say(f"mutate: {where}: {len(files)} files; seed {args.seed}")
    chosen = sample.sample(files, generator.mutants_of, args.count, args.seed)
    generator.save_cache()
    # Mutants of one file run one after another: the file is then compiled once per mutant, not twice.
    return sorted(chosen, key=lambda m: (m.path, m.line))


def again(scratch, files, report):
    """The mutants the report names that the files still have, each the one of its key nearest the line
    the report gives; those the files no longer have are told."""
    try:
        with open(report, encoding="utf-8") as f:
            named = equivalent.reported(f)
    except OSError as error:
        raise SystemExit(f"mutate: cannot read {report}: {error.strerror}") from error
    say(f"mutate: {len(named)} mutants named in {report}")
    if not named:
        return []
    generator = Generator(scratch, None)
    by_key = {}
    for relative in generator.candidates(files, {key.split(":", 1)[0] for key, _ in named}):
        for mutant in generator.mutants_of(relative):
            by_key.setdefault(mutant.key, []).append(mutant)
    generator.save_cache()
    chosen = []
    for key, line in named:
        if key not in by_key:
            say(f"mutate: no longer made: {key}")
            continue
        nearest = min(by_key[key], key=lambda m: abs(m.line - line))
        if nearest not in chosen:
            chosen.append(nearest)
    return sorted(chosen, key=lambda m: (m.path, m.line))


def main(argv=None):
    args = parse_arguments(argv)
    repo = os.path.dirname(os.path.dirname(HERE))
    scratch = Scratch(repo, os.path.join(repo, "build-mutants"))
    os.makedirs(scratch.tree, exist_ok=True)
    lock = open(os.path.join(scratch.work, "mutate.lock"), "w")
    try:
        fcntl.flock(lock, fcntl.LOCK_EX | fcntl.LOCK_NB)
    except BlockingIOError:
        say("mutate: another run is using build-mutants/")
        return 2
    scratch.clear_logs()
    setup_log = os.path.join(scratch.logs, "setup.log")
    start = time.monotonic()
    files = prepare(scratch, setup_log)
    if files is None:
        return 2
    try:
        listed = equivalent.load(os.path.join(repo, EQUIVALENT))
    except ValueError as error:
        say(f"mutate: {error}")
        return 2
    chosen = choose(scratch, files, args)
    if args.list:
        for mutant in chosen:
            say(mutant.describe())
        return 0
    if not chosen:
        say("mutate: no mutants on those lines")
        return 0
    if not scratch.build(setup_log):
        say(f"mutate: the tree does not build; see {setup_log}")
        return 2
    durations = scratch.baseline(setup_log, os.cpu_count() or 2)
    if durations is None:
        say(f"mutate: the suite fails without a mutant; see {setup_log}")
        return 2
    planner = Planner(scratch.tree, durations, executables(scratch))
    setup_seconds = time.monotonic() - start
    say(f"mutate: {len(chosen)} mutants; logs in {scratch.logs}")
    try:
        outcomes = run_all(chosen, scratch, planner, listed)
    except KeyboardInterrupt:
        say("mutate: stopped; the mutated file is back as it was")
        return 130
    status = report(outcomes, listed, setup_seconds)
    return status if check_clean(scratch, outcomes) else 2


if __name__ == "__main__":
    sys.exit(main())
