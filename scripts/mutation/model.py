"""A mutant: a few byte edits to one file, and how the report names it."""
import hashlib
from dataclasses import dataclass, field


@dataclass(frozen=True, order=True)
class Edit:
    start: int  # byte offsets into the file
    end: int
    text: bytes


@dataclass
class Mutant:
    path: str  # relative to the repository
    rule: str
    edits: tuple
    line: int
    last_line: int
    before: str
    after: str
    lines: range = field(init=False)

    def __post_init__(self):
        self.lines = range(self.line, self.last_line + 1)

    @property
    def key(self):
        """What tests/mutants/equivalent.txt lists: no line number, so an entry outlives edits elsewhere."""
        return f"{self.path}:{self.rule}:{self.before} → {self.after}"

    def describe(self):
        return f"{self.path}:{self.line}  {self.rule}  {self.before} → {self.after}"


def apply_edits(content, edits):
    for edit in sorted(edits, reverse=True):
        content = content[: edit.start] + edit.text + content[edit.end :]
    return content


def normalise(text):
    """Blanks run together, so that the text keys an entry whatever the indentation."""
    return " ".join(text.decode("utf-8", "replace").split())


def make_mutant(path, rule, content, edits):
    """The mutant of content by edits, named by the whole lines they touch before and after."""
    edits = tuple(sorted(edits))
    start = min(edit.start for edit in edits)
    end = max(edit.end for edit in edits)
    first = content.rfind(b"\n", 0, start) + 1
    last = content.find(b"\n", end)
    last = len(content) if last < 0 else last
    shifted = [Edit(e.start - first, e.end - first, e.text) for e in edits]
    span = content[first:last]
    line = content.count(b"\n", 0, start) + 1
    return Mutant(
        path=path,
        rule=rule,
        edits=edits,
        line=line,
        last_line=line + span.count(b"\n"),
        before=normalise(span),
        after=normalise(apply_edits(span, shifted)) or "(removed)",
    )


def unique(mutants, contents):
    """Drops mutants that change nothing or that make the same file as an earlier one."""
    seen = set()
    for mutant in mutants:
        original = contents[mutant.path]
        result = apply_edits(original, mutant.edits)
        digest = (mutant.path, hashlib.sha1(result).digest())
        if result == original or digest in seen:
            continue
        seen.add(digest)
        yield mutant
