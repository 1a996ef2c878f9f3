"""The mutant maker's own tests: /usr/bin/python3 -m unittest discover -s scripts/mutation -t scripts"""
import os
import subprocess
import tempfile
import textwrap
import unittest

from mutation import changes, equivalent, run, sample, shell
from mutation.scratch import Scratch
from mutation.model import Edit, apply_edits, make_mutant, unique
from mutation.plan import Planner


def shell_mutants(script):
    content = textwrap.dedent(script).encode()
    return {(m.rule, m.after) for m in shell.mutants("install/x", content)}


class ModelTest(unittest.TestCase):
    def test_names_the_whole_lines_before_and_after(self):
        content = b"int a;\n  if (x <  y)\n    go();\n"
        at = content.index(b"<")
        mutant = make_mutant("src/a.cpp", "relational", content, [Edit(at, at + 1, b"<=")])
        self.assertEqual((mutant.line, mutant.before, mutant.after), (2, "if (x < y)", "if (x <= y)"))
        self.assertEqual(mutant.key, "src/a.cpp:relational:if (x < y) → if (x <= y)")
        self.assertEqual(mutant.describe(), "src/a.cpp:2  relational  if (x < y) → if (x <= y)")

    def test_edits_over_lines_name_them_all(self):
        content = b"f(a,\n  b);\nnext();\n"
        edits = [Edit(2, 3, b"b"), Edit(7, 8, b"a")]
        mutant = make_mutant("src/a.cpp", "arguments-swapped", content, edits)
        self.assertEqual((mutant.line, mutant.last_line, list(mutant.lines)), (1, 2, [1, 2]))
        self.assertEqual((mutant.before, mutant.after), ("f(a, b);", "f(b, a);"))
        self.assertEqual(apply_edits(content, edits), b"f(b,\n  a);\nnext();\n")

    def test_unique_drops_no_ops_and_repeats(self):
        content = b"x = 1;\n"
        same = make_mutant("a", "constant", content, [Edit(4, 5, b"1")])
        two = make_mutant("a", "constant", content, [Edit(4, 5, b"2")])
        again = make_mutant("a", "other", content, [Edit(4, 5, b"2")])
        self.assertEqual(list(unique([same, two, again], {"a": content})), [two])


class ShellTest(unittest.TestCase):
    def test_redirections(self):
        found = shell_mutants("""\
            echo hi >&2
            cmd > /dev/null 2>&1
            echo "a > b" # c > d
            x=$((a > b))
            cat <<EOF
            x > y
            EOF
            """)
        self.assertEqual(
            {after for rule, after in found if rule == "redirection-removed"},
            {"echo hi", "cmd 2>&1", "cmd > /dev/null"},
        )

    def test_quotes_unless_nothing_is_split_there(self):
        found = shell_mutants("""\
            cp "$a" "$b/c" 'lit'
            x="$y"
            case "$z" in *) ;; esac
            echo "plain"
            """)
        self.assertEqual(
            {after for rule, after in found if rule == "unquoted"},
            {"cp $a \"$b/c\" 'lit'", "cp \"$a\" $b/c 'lit'"},
        )

    def test_and_or_set_and_trap(self):
        found = shell_mutants("""\
            set -eu
            set -o pipefail
            set -- "$@"
            a && b || c
            trap 'rm -f "$t"' EXIT
            echo "trap x && y"
            """)
        self.assertTrue({("set-option-removed", "set -u"), ("set-option-removed", "set -e"),
                         ("set-option-removed", ":"), ("trap-removed", ":")} <= found)
        self.assertEqual({after for rule, after in found if rule == "and-or"}, {"a || b || c", "a && b && c"})
        self.assertEqual(len([1 for rule, _ in found if rule == "set-option-removed"]), 3)

    def test_only_shell_scripts(self):
        self.assertTrue(shell.is_shell(b"#!/bin/sh\n"))
        self.assertTrue(shell.is_shell(b"#!/usr/bin/env bash\n"))
        self.assertFalse(shell.is_shell(b"<svg>\n"))


class ChangesTest(unittest.TestCase):
    def test_lines_added_or_changed_as_numbered_now(self):
        diff = textwrap.dedent("""\
            diff --git a/src/a.cpp b/src/a.cpp
            --- a/src/a.cpp
            +++ b/src/a.cpp
            @@ -3 +3 @@
            -old
            +new
            @@ -10,2 +10,0 @@
            -gone
            -gone
            @@ -20,0 +19,3 @@
            +one
            +two
            +three
            diff --git a/gone.cpp b/gone.cpp
            --- a/gone.cpp
            +++ /dev/null
            """)
        self.assertEqual(changes.parse_diff(diff), {"src/a.cpp": {3, 19, 20, 21}})

    def test_empty_base_means_every_line(self):
        self.assertIsNone(changes.changed_lines("/nonexistent", ""))
        self.assertIn(12345, changes.lines_of(None, "src/a.cpp"))
        self.assertNotIn(4, changes.lines_of({"src/a.cpp": {3}}, "src/a.cpp"))


class FakeMutant:
    def __init__(self, path, rule, line):
        self.path, self.rule, self.line, self.edits = path, rule, line, ()


class SampleTest(unittest.TestCase):
    def setUp(self):
        self.files = {
            f"f{i}": [FakeMutant(f"f{i}", rule, n) for rule in ("a", "b") for n in range(5)] for i in range(4)
        }
        self.read = []

    def mutants_of(self, path):
        self.read.append(path)
        return self.files[path]

    def names(self, chosen):
        return [(m.path, m.rule, m.line) for m in chosen]

    def test_repeatable_and_seeded(self):
        first = self.names(sample.sample(self.files, self.mutants_of, 6, "1"))
        self.assertEqual(first, self.names(sample.sample(self.files, self.mutants_of, 6, "1")))
        self.assertNotEqual(first, self.names(sample.sample(self.files, self.mutants_of, 6, "2")))

    def test_over_files_then_rules(self):
        chosen = sample.sample(self.files, self.mutants_of, 8, "1")
        self.assertEqual(sorted(m.path for m in chosen[:4]), ["f0", "f1", "f2", "f3"])
        for path in self.files:
            self.assertEqual(sorted(m.rule for m in chosen if m.path == path), ["a", "b"])

    def test_reads_only_the_files_it_needs(self):
        self.assertEqual(len(sample.sample(self.files, self.mutants_of, 2, "1")), 2)
        self.assertEqual(len(self.read), 2)

    def test_all_when_no_count(self):
        self.assertEqual(len(sample.sample(self.files, self.mutants_of, None, "1")), 40)


class EquivalentTest(unittest.TestCase):
    def test_entries_with_reasons(self):
        text = "# header\n\nsrc/a.cpp:relational:if (x < y) → if (x <= y)  # x never equals y\n"
        self.assertEqual(equivalent.parse(text),
                         {"src/a.cpp:relational:if (x < y) → if (x <= y)": "x never equals y"})

    def test_a_report_names_what_it_did_not_kill(self):
        lines = ["[4/200] SURVIVED   docs/a.cpp:116  return-default  return x; → return {};  [33.3 s]\r\n",
                 "[5/200] killed by tst_a   docs/a.cpp:117  boolean  a = true; → a = false;  [3.0 s]\n",
                 "  src/b.h:3  constant  int n = 0; → int n = 1;  # never read\n",
                 "  docs/a.cpp:116  return-default  return x; → return {};\n", "made 4: killed 3\n"]
        self.assertEqual(equivalent.reported(lines), [("docs/a.cpp:return-default:return x; → return {};", 116),
                                                      ("src/b.h:constant:int n = 0; → int n = 1;", 3)])

    def test_an_entry_without_a_reason_is_refused(self):
        with self.assertRaises(ValueError):
            equivalent.parse("src/a.cpp:relational:a → b\n")


class AgainTest(unittest.TestCase):
    def test_each_named_mutant_is_the_one_nearest_its_line(self):
        with tempfile.TemporaryDirectory() as work:
            scratch = Scratch(work, work)
            os.makedirs(os.path.join(scratch.tree, "install"))
            with open(os.path.join(scratch.tree, "install", "go"), "w") as f:
                f.write("#!/bin/sh\ncd a || exit 1\necho\ncd a || exit 1\n")
            with open(os.path.join(work, "report"), "w") as f:
                f.write("[2/9] SURVIVED  install/go:4  and-or  cd a || exit 1 → cd a && exit 1  [1.0 s]\n"
                        "[3/9] SURVIVED  install/gone:1  and-or  x || y → x && y  [1.0 s]\n")
            chosen = run.again(scratch, ["install/go"], os.path.join(work, "report"))
            self.assertEqual([(m.path, m.line, m.rule) for m in chosen], [("install/go", 4, "and-or")])

class PlanTest(unittest.TestCase):
    def test_nearest_tests_first_then_quickest(self):
        with tempfile.TemporaryDirectory() as tree:
            for folder, name, text in (("files", "tst_files", ""), ("layout", "tst_layout", ""),
                                       ("app", "tst_app", '#include "core/Hints.h"\n'),
                                       ("install", "tst_install", 'copy("run-TolW.sh")\n')):
                os.makedirs(os.path.join(tree, "tests", folder))
                with open(os.path.join(tree, "tests", folder, name + ".cpp"), "w") as f:
                    f.write(text)
            durations = {"tst_files": 9.0, "tst_layout": 1.0, "tst_app": 5.0, "tst_install": 2.0}
            planner = Planner(tree, durations, {})
            self.assertEqual(planner.order("src/files/Reader.cpp"),
                             ["tst_files", "tst_layout", "tst_install", "tst_app"])
            self.assertEqual(planner.order("src/core/Hints.cpp")[0], "tst_app")
            self.assertEqual(planner.order("install/run-TolW.sh")[0], "tst_install")
            planner.killed("src/files/Reader.cpp", "tst_app")
            self.assertEqual(planner.order("src/files/Reader.cpp")[:2], ["tst_app", "tst_files"])
            self.assertEqual(planner.order("src/files/Writer.cpp")[:2], ["tst_app", "tst_files"])
            planner.killed("src/files/Writer.cpp", "tst_layout")
            self.assertEqual(planner.order("src/files/Reader.cpp")[:2], ["tst_app", "tst_files"])
            self.assertEqual(planner.order("src/files/Other.cpp")[:2], ["tst_layout", "tst_files"])


CXX_SAMPLE = """\
#include <array>
#include <optional>
#define LESS(a, b) ((a) < (b))
struct P { int x; };
int f(int a, int b) { return a + b; }
const int& ref(const int& v) { return v; }
std::optional<int> maybe();
void sink(int, int);
bool g(int a, int b, const char* s) {
    // a < b in a comment
    std::array<int, 3> table{};
    if (a < b && !s)
        return true;
    sink(a, b);
    auto lambda = [a] { return a; };
    if (!maybe())
        return LESS(a, b);
#if 0
    if (a == b) return false;
#endif
    return s[0] == '<' || table[1] != 2;
}
#define GETTER int get() const { return LESS(7 + 1, 9) ? 1 : 0; }
struct Q { GETTER };
"""


class ScratchTest(unittest.TestCase):
    def test_copies_only_what_changed_and_drops_what_is_gone(self):
        with tempfile.TemporaryDirectory() as repo:
            def write(name, text):
                with open(os.path.join(repo, name), "w") as f:
                    f.write(text)

            write("kept.cpp", "int a;\n")
            write("changed.cpp", "int b;\n")
            write("gone.cpp", "int c;\n")
            write(".gitignore", "build-mutants/\n")
            subprocess.run(["git", "-C", repo, "init", "-q"], check=True)
            subprocess.run(["git", "-C", repo, "add", "."], check=True)
            scratch = Scratch(repo, os.path.join(repo, "build-mutants"))
            scratch.sync()
            kept = os.path.join(scratch.tree, "kept.cpp")
            os.utime(kept, ns=(1, 1))
            write("changed.cpp", "int b = 1;\n")
            write("new.cpp", "int d;\n")
            os.remove(os.path.join(repo, "gone.cpp"))
            scratch.sync()
            self.assertEqual(os.stat(kept).st_mtime_ns, 1)
            self.assertEqual(scratch.read("changed.cpp"), b"int b = 1;\n")
            self.assertEqual(scratch.read("new.cpp"), b"int d;\n")
            self.assertIsNone(scratch.read("gone.cpp"))


class FakeScratch:
    """Builds fail for the targets in broken; tests fail when the file holds the text in caught."""

    def __init__(self, broken=(), caught=None):
        self.files = {"src/a.cpp": b"x = 1;\n"}
        self.broken, self.caught = set(broken), caught
        self.steps = []

    def read(self, path):
        return self.files[path]

    def write(self, path, content):
        self.files[path] = content

    def object_of(self, path):
        return "a.o"

    def build(self, log, target=None):
        self.steps.append(("build", target))
        return target not in self.broken

    def test(self, name, timeout, log):
        self.steps.append(("test", name))
        return self.caught is None or self.caught not in self.files["src/a.cpp"] or name != "tst_b"


class FakePlanner:
    def __init__(self):
        self.killers = {}

    def order(self, path):
        return ["tst_a", "tst_b"]

    def timeout(self, test):
        return 30

    def killed(self, path, test):
        self.killers[path] = test


class VerdictTest(unittest.TestCase):
    def setUp(self):
        self.mutant = make_mutant("src/a.cpp", "constant", b"x = 1;\n", [Edit(4, 5, b"2")])
        self.planner = FakePlanner()

    def verdict(self, scratch):
        result = run.run_mutant(self.mutant, scratch, self.planner, {"tst_a", "tst_b"}, os.devnull)
        self.assertEqual(scratch.files["src/a.cpp"], b"x = 1;\n")
        return result

    def test_a_mutant_that_does_not_compile_is_killed_by_the_build(self):
        scratch = FakeScratch(broken={"a.o"})
        self.assertEqual(self.verdict(scratch), ("build", ""))
        self.assertEqual(scratch.steps, [("build", "a.o")])

    def test_the_first_failing_test_kills_and_the_rest_do_not_run(self):
        scratch = FakeScratch(caught=b"x = 2")
        self.assertEqual(self.verdict(scratch), ("test", "tst_b"))
        self.assertEqual(scratch.steps, [("build", "a.o"), ("build", "tst_a"), ("test", "tst_a"),
                                         ("build", "tst_b"), ("test", "tst_b")])
        self.assertEqual(self.planner.killers, {"src/a.cpp": "tst_b"})

    def test_a_mutant_every_test_passes_survives(self):
        self.assertEqual(self.verdict(FakeScratch()), ("survived", ""))

    def test_the_file_is_put_back_whatever_happens(self):
        scratch = FakeScratch()
        scratch.test = lambda *args: (_ for _ in ()).throw(KeyboardInterrupt)
        with self.assertRaises(KeyboardInterrupt):
            run.run_mutant(self.mutant, scratch, self.planner, {"tst_a"}, os.devnull)
        self.assertEqual(scratch.files["src/a.cpp"], b"x = 1;\n")


class CxxTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        try:
            from mutation import cxx
        except ImportError as error:  # the tool itself installs python3-clang
            raise unittest.SkipTest(f"libclang's bindings: {error}")
        cls.cxx = cxx
        with tempfile.TemporaryDirectory() as folder:
            path = os.path.join(folder, "sample.cpp")
            with open(path, "w") as f:
                f.write(CXX_SAMPLE)
            resource = cxx.resource_dir()
            extra = ["-resource-dir", resource] if resource else []
            tu = cxx.ci.Index.create().parse(path, args=["-std=c++20", "-x", "c++"] + extra,
                                             options=cxx.PARSE_OPTIONS)
            cls.mutants = list(cxx.mutants_of_unit(tu, path, "src/sample.cpp"))

    def found(self, rule):
        return {(m.line, m.after) for m in self.mutants if m.rule == rule}

    def test_operators(self):
        self.assertEqual(self.found("relational"), {(12, "if (a <= b && !s)")})
        self.assertEqual(self.found("logical"), {(12, "if (a < b || !s)"),
                                                 (21, "return s[0] == '<' && table[1] != 2;")})
        self.assertEqual(self.found("equality"), {(21, "return s[0] != '<' || table[1] != 2;"),
                                                  (21, "return s[0] == '<' || table[1] == 2;")})
        self.assertEqual(self.found("additive"), {(5, "int f(int a, int b) { return a - b; }")})

    def test_not_dropped_where_it_still_compiles(self):
        self.assertEqual(self.found("not-dropped"), {(12, "if (a < b && s)"), (16, "if (maybe())")})

    def test_constants_and_booleans(self):
        self.assertEqual(self.found("constant"), {
            (21, "return s[1] == '<' || table[1] != 2;"), (21, "return s[-1] == '<' || table[1] != 2;"),
            (21, "return s[0] == '<' || table[2] != 2;"), (21, "return s[0] == '<' || table[0] != 2;"),
            (21, "return s[0] == '<' || table[1] != 3;"), (21, "return s[0] == '<' || table[1] != 1;")})
        self.assertEqual(self.found("boolean"), {(13, "return false;")})

    def test_statements(self):
        self.assertEqual(self.found("call-removed"), {(14, "(removed)")})
        self.assertEqual({line for line, _ in self.found("return-default")}, {5, 17, 21})
        self.assertEqual(self.found("arguments-swapped"), {(14, "sink(b, a);")})

    def test_nothing_inside_a_macro(self):
        inside = [m for m in self.mutants if m.line in (3, 17, 23, 24) and m.rule != "return-default"]
        self.assertEqual(inside, [])
        self.assertEqual([m for m in self.mutants if m.line == 24], [])

    def test_integers_keep_base_and_suffix(self):
        shifted = self.cxx.shifted_integer
        self.assertEqual([shifted("0x1F", 1), shifted("10u", -1), shifted("0", -1), shifted("017", 1)],
                         ["0x20", "9u", "-1", "020"])
        self.assertIsNone(shifted("0x0", -1))


if __name__ == "__main__":
    unittest.main()
