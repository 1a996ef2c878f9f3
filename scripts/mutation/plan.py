"""The order a mutant's tests run in: the tests nearest the mutated file first, then the quickest."""
import glob
import math
import os
import re

INCLUDE = re.compile(r'^\s*#\s*include\s*"([^"]+)"', re.M)


def test_sources(tree, names):
    """{test: the text of its own tst_*.cpp}, for the tests whose source is found."""
    sources = {}
    for name in names:
        found = glob.glob(os.path.join(tree, "tests", "**", name + ".cpp"), recursive=True)
        if found:
            with open(found[0], encoding="utf-8", errors="replace") as f:
                sources[name] = (os.path.relpath(found[0], tree), f.read())
    return sources


def folder(relative):
    """src/files/Blanks.cpp and tests/files/tst_inputfile.cpp are both of the folder files."""
    parts = relative.split("/")
    return parts[1] if len(parts) > 2 else None


def includes_file(text, relative):
    stem = os.path.splitext(os.path.basename(relative))[0]
    for included in INCLUDE.findall(text):
        if os.path.splitext(os.path.basename(included))[0] == stem and relative.startswith("src/"):
            return True
    return False


def mentions(text, words):
    return any(re.search(r"(?<![\w.-])" + re.escape(w) + r"(?![\w-])", text, re.I) for w in words)


class Planner:
    def __init__(self, tree, durations, executables):
        """durations: {test: seconds} from a whole run; executables: {source: its program's target}."""
        self.durations = durations
        self.sources = test_sources(tree, durations)
        self.executables = executables
        self.killers = {}  # the test that last killed a mutant of each file

    def related(self, relative, test):
        if test not in self.sources:
            return False
        source, text = self.sources[test]
        if folder(relative) and folder(relative) == folder(source) and relative.startswith("src/"):
            return True
        names = [os.path.basename(relative)]
        if relative in self.executables:
            names.append(self.executables[relative])
        return includes_file(text, relative) or mentions(text, names)

    def order(self, relative):
        by_time = sorted(self.durations, key=lambda t: (self.durations[t], t))
        near = [t for t in by_time if self.related(relative, t)]
        rest = [t for t in by_time if t not in near]
        # The test that caught the last mutant of this file, or else of its folder, is the likeliest.
        first = [self.killers[k] for k in (relative, os.path.dirname(relative)) if k in self.killers][:1]
        return first + [t for t in near + rest if t not in first]

    def timeout(self, test):
        """Long enough for a slow run, short enough that a mutant that loops does not hold things up."""
        return max(30, math.ceil(3 * self.durations.get(test, 10) + 10))

    def killed(self, relative, test):
        self.killers[relative] = test
        self.killers[os.path.dirname(relative)] = test
