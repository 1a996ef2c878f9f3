"""Shell mutants, found in a copy of the script whose quoted text, comments and arithmetic are masked.

The mask keeps every byte's offset, so what a pattern finds in it is where the edit goes in the script,
and no pattern ever matches inside a string or a comment.
"""
import re

from .model import Edit, make_mutant

SHEBANG = re.compile(rb"^#!\s*/(usr/)?bin/(env\s+)?(sh|bash|dash)\b")
# Where a command begins: what may stand before its first word.
COMMAND_START = rb"(?:^|(?<=[;&|{(\n])|(?<=\bthen)|(?<=\bdo)|(?<=\belse))[ \t]*"
REDIRECTION = re.compile(rb"(?<![^\s;&|(){}])[0-9]*(?:>>|>&|>\||<&|<>|>|<(?!<))[ \t]*[^\s;&|()<>]+")
AND_OR = re.compile(rb"&&|\|\|")
SET = re.compile(
    COMMAND_START + rb"(set((?:[ \t]+[-+](?:o[ \t]+\w+|[a-zA-Z]+))+))(?=[ \t]*(?:$|[;&|\n)]))", re.M
)
OPTION = re.compile(rb"[ \t]+([-+])(o[ \t]+\w+|[a-zA-Z]+)")
TRAP = re.compile(COMMAND_START + rb"(trap\b[^;&|\n]*)", re.M)
ASSIGNMENT = re.compile(rb"(?:^|[\s;&|(])\w+=[^\s]*$")
CASE_WORD = re.compile(rb"\bcase[ \t]+$")


def is_shell(content):
    return SHEBANG.match(content) is not None


class Masker:
    """Walks a script once, masking what no rule may touch and noting each double-quoted word."""

    def __init__(self, content):
        self.text = content
        self.mask = bytearray(content)
        self.quotes = []  # (start, end) of "..." that holds an expansion
        self.pos = 0

    def run(self):
        self.command(end=None)
        return bytes(self.mask), self.quotes

    def blank(self, start, end):
        for i in range(start, end):
            self.mask[i] = ord("_")

    def peek(self, n=1):
        return self.text[self.pos : self.pos + n]

    def command(self, end):
        """Command text up to the byte end (or the script's end), with nesting of $( ) counted."""
        depth = 0
        while self.pos < len(self.text):
            c = self.peek()
            if c == end and depth == 0:
                return
            if c == b"(":
                depth += 1
            elif c == b")":
                depth -= 1
            if not self.special():
                self.pos += 1

    def special(self):
        """Handles what starts at pos when it is a quote, comment, escape or expansion; else False."""
        c, start = self.peek(), self.pos
        if c == b"\\":
            self.pos += 2
            self.blank(start, min(self.pos, len(self.text)))
        elif c == b"'":
            self.single_quoted()
        elif c == b'"':
            self.double_quoted()
        elif c == b"#" and (start == 0 or self.text[start - 1 : start] in b" \t\n;&|("):
            end = self.text.find(b"\n", start)
            self.pos = len(self.text) if end < 0 else end
            self.blank(start, self.pos)
        elif self.peek(3) == b"$((":
            self.arithmetic()
        elif self.peek(2) == b"$(":
            self.pos += 2
            self.command(end=b")")
            self.pos += 1
        elif self.peek(2) == b"${":
            self.braced()
        elif c == b"`":
            end = self.text.find(b"`", start + 1)
            self.pos = len(self.text) if end < 0 else end + 1
        elif self.peek(2) == b"<<" and self.peek(3) != b"<<<":
            self.here_document()
        else:
            return False
        return True

    def single_quoted(self):
        start = self.pos
        end = self.text.find(b"'", start + 1)
        self.pos = len(self.text) if end < 0 else end + 1
        self.blank(start + 1, self.pos - 1)

    def double_quoted(self):
        start = self.pos
        self.pos += 1
        expands = False
        while self.pos < len(self.text) and self.peek() != b'"':
            if self.peek() == b"$" or self.peek() == b"`":
                expands = True
            if self.peek() in (b"$", b"`", b"\\"):
                inner = self.pos
                self.special() or self.step()
                self.blank(inner, self.pos)
            else:
                self.blank(self.pos, self.pos + 1)
                self.pos += 1
        self.pos += 1
        if expands:
            self.quotes.append((start, self.pos))

    def step(self):
        self.pos += 1

    def arithmetic(self):
        start, depth = self.pos, 0
        while self.pos < len(self.text):
            c = self.peek()
            depth += c == b"("
            depth -= c == b")"
            self.pos += 1
            if depth == 0 and c == b")":
                break
        self.blank(start + 3, self.pos - 2)

    def braced(self):
        start = self.pos
        self.pos += 2
        while self.pos < len(self.text) and self.peek() != b"}":
            if not self.special():
                self.pos += 1
        self.pos += 1
        self.blank(start + 2, self.pos - 1)

    def here_document(self):
        match = re.compile(rb"<<-?[ \t]*['\"]?(\w+)['\"]?").match(self.text, self.pos)
        if match is None:
            self.pos += 2
            return
        body = self.text.find(b"\n", match.end())
        body = len(self.text) if body < 0 else body + 1
        end = re.compile(rb"^[ \t]*" + re.escape(match.group(1)) + rb"$", re.M).search(self.text, body)
        finish = len(self.text) if end is None else end.end()
        self.blank(body, finish)
        # The rest of the line that opened the document is still commands.
        self.pos = match.end()
        rest_end = body
        while self.pos < rest_end - 1:
            if not self.special():
                self.pos += 1
        self.pos = finish


def redirection_mutants(mask):
    for match in REDIRECTION.finditer(mask):
        start = match.start()
        while start > 0 and mask[start - 1 : start] in b" \t":
            start -= 1
        yield "redirection-removed", [Edit(start, match.end(), b"")]


def quote_mutants(mask, quotes):
    for start, end in quotes:
        line_start = mask.rfind(b"\n", 0, start) + 1
        head = mask[line_start:start]
        # In an assignment or a case word the shell splits nothing: unquoted, it would read the same.
        if ASSIGNMENT.search(head) or CASE_WORD.search(head):
            continue
        yield "unquoted", [Edit(start, start + 1, b""), Edit(end - 1, end, b"")]


def and_or_mutants(mask):
    for match in AND_OR.finditer(mask):
        other = b"||" if match.group() == b"&&" else b"&&"
        yield "and-or", [Edit(match.start(), match.end(), other)]


def set_mutants(mask):
    """Each option of a set command taken away: a letter of a group, an -o NAME, or the command."""
    for match in SET.finditer(mask):
        options = list(OPTION.finditer(mask, match.start(2), match.end(2)))
        for option in options:
            word = option.group(2)
            if len(word) > 1 and not re.match(rb"o[ \t]", word):
                for at in range(option.start(2), option.end(2)):
                    yield "set-option-removed", [Edit(at, at + 1, b"")]
            elif len(options) > 1:
                yield "set-option-removed", [Edit(option.start(), option.end(), b"")]
            else:
                yield "set-option-removed", [Edit(match.start(1), match.end(1), b":")]


def trap_mutants(mask):
    for match in TRAP.finditer(mask):
        end = match.end(1)
        while end > match.start(1) and mask[end - 1 : end] in b" \t":
            end -= 1
        yield "trap-removed", [Edit(match.start(1), end, b":")]


def mutants(path, content):
    mask, quotes = Masker(content).run()
    found = [
        *redirection_mutants(mask),
        *quote_mutants(mask, quotes),
        *and_or_mutants(mask),
        *set_mutants(mask),
        *trap_mutants(mask),
    ]
    return [make_mutant(path, rule, content, edits) for rule, edits in found]
