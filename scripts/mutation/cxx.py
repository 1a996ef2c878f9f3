"""C++ mutants, found in the syntax tree that libclang reads with the build's own compile commands.

Only code the compiler sees is mutated: the walk follows the tree, so lines of #include, #define and
inactive #if branches, comments and string literals are never touched. Every edit is checked against
the file's own tokens, so a node that comes out of a macro is left alone.
"""
import bisect
import glob
import json
import os
import re
import shlex
import subprocess

import clang.cindex as ci

from .model import Edit, make_mutant

K = ci.CursorKind
T = ci.TypeKind

ARITHMETIC = {
    T.BOOL, T.CHAR_U, T.UCHAR, T.CHAR16, T.CHAR32, T.USHORT, T.UINT, T.ULONG, T.ULONGLONG, T.UINT128,
    T.CHAR_S, T.SCHAR, T.WCHAR, T.SHORT, T.INT, T.LONG, T.LONGLONG, T.INT128, T.FLOAT, T.DOUBLE,
    T.LONGDOUBLE, T.ENUM,
}
# Classes whose + and - both exist, so that one can stand for the other.
GEOMETRY = re.compile(r"^(const )?Q(Point|Size|Margins)F?$")
FUNCTIONS = {K.FUNCTION_DECL, K.CXX_METHOD, K.FUNCTION_TEMPLATE, K.CONVERSION_FUNCTION}
CONDITIONS = {K.IF_STMT, K.WHILE_STMT, K.DO_STMT, K.FOR_STMT, K.CONDITIONAL_OPERATOR}
WRAPPERS = {K.UNEXPOSED_EXPR, K.PAREN_EXPR}
# What `return {};` would give anyway.
DEFAULT_VALUE = re.compile(r"^(\{\}|false|true|0|0u|0\.0|nullptr|std::nullopt|[\w:]+(<.*>)?(\(\)|\{\}))$")

RELATIONAL = {"<": "<=", "<=": "<", ">": ">=", ">=": ">"}
EQUALITY = {"==": "!=", "!=": "=="}
LOGICAL = {"&&": "||", "||": "&&"}
ADDITIVE = {"+": "-", "-": "+", "+=": "-=", "-=": "+="}


class Tokens:
    """The file's tokens in order, looked up by byte offset."""

    def __init__(self, tu, path):
        extent = tu.get_extent(path, (0, os.path.getsize(path)))
        self.items = [
            (t.extent.start.offset, t.extent.end.offset, t.spelling, t.kind)
            for t in tu.get_tokens(extent=extent)
            if t.kind != ci.TokenKind.COMMENT
        ]
        self.starts = [item[0] for item in self.items]

    def at(self, offset):
        """The token that starts exactly at offset, or None."""
        i = bisect.bisect_left(self.starts, offset)
        return self.items[i] if i < len(self.items) and self.starts[i] == offset else None

    def after(self, offset):
        """The first token that starts at or after offset, or None."""
        i = bisect.bisect_left(self.starts, offset)
        return self.items[i] if i < len(self.items) else None

    def before(self, offset):
        """The last token that ends at or before offset, or None."""
        i = bisect.bisect_left(self.starts, offset) - 1
        while i >= 0 and self.items[i][1] > offset:
            i -= 1
        return self.items[i] if i >= 0 else None

    def ends_at(self, offset):
        i = bisect.bisect_left(self.starts, offset) - 1
        return i >= 0 and self.items[i][1] == offset


class Context:
    def __init__(self, path, content, tokens, macros):
        self.path = path
        self.content = content
        self.tokens = tokens
        self.macros = macros  # (start, end) of each macro's use in the file, its arguments included

        self.macro_starts = [m[0] for m in macros]

    def in_macro(self, start, end):
        i = bisect.bisect_right(self.macro_starts, start) - 1
        return i >= 0 and end <= self.macros[i][1]

    def cuts_macro(self, edit):
        """Whether an edit changes part of a macro's use and not the whole of it."""
        if edit.start == edit.end:
            return self.in_macro(edit.start, edit.end)
        first = max(bisect.bisect_right(self.macro_starts, edit.start) - 1, 0)
        last = bisect.bisect_left(self.macro_starts, edit.end)
        return any(
            edit.start < m_end and m_start < edit.end and not (edit.start <= m_start and m_end <= edit.end)
            for m_start, m_end in self.macros[first:last]
        )

    def text(self, cursor):
        return self.content[cursor.extent.start.offset : cursor.extent.end.offset].decode("utf-8", "replace")

    def whole_tokens(self, cursor):
        """Whether cursor's extent is a run of this file's tokens, as it is unless a macro made it."""
        start, end = cursor.extent.start, cursor.extent.end
        return (
            start.file is not None
            and start.file.name == self.path
            and end.file is not None
            and end.file.name == self.path
            and start.offset < end.offset
            and self.tokens.at(start.offset) is not None
            and self.tokens.ends_at(end.offset)
        )


def children(cursor):
    return list(cursor.get_children())


def is_operator(cursor):
    return cursor.spelling.startswith("operator")


def innermost(cursor):
    """cursor with the implicit conversions and parentheses around it taken away."""
    while cursor.kind in WRAPPERS or (cursor.kind == K.CALL_EXPR and not is_operator(cursor)):
        inner = children(cursor)
        if len(inner) != 1 or inner[0].kind == K.TYPE_REF:
            break
        cursor = inner[0]
    return cursor


def canonical(cursor):
    return cursor.type.get_canonical()


def swap(token, replacement):
    return [Edit(token[0], token[1], replacement.encode())]


# --- binary operators -------------------------------------------------------------------------------


def operator_token(cursor, ctx):
    """The operator of a binary expression, built in or overloaded, with its two operands."""
    parts = children(cursor)
    if cursor.kind in (K.BINARY_OPERATOR, K.COMPOUND_ASSIGNMENT_OPERATOR) and len(parts) == 2:
        lhs, rhs = parts
        token = ctx.tokens.after(lhs.extent.end.offset)
    elif cursor.kind == K.CALL_EXPR and is_operator(cursor) and len(parts) == 3:
        lhs, callee, rhs = parts
        token = ctx.tokens.at(callee.extent.start.offset)
    else:
        return None
    if token is None or not (lhs.extent.end.offset <= token[0] and token[1] <= rhs.extent.start.offset):
        return None
    if not ctx.whole_tokens(lhs) or not ctx.whole_tokens(rhs):
        return None
    return token, lhs, rhs


def is_builtin(cursor):
    return cursor.kind != K.CALL_EXPR


def arithmetic_operands(lhs, rhs):
    left, right = canonical(lhs).kind, canonical(rhs).kind
    return left in ARITHMETIC and right in ARITHMETIC or left == T.POINTER and right in ARITHMETIC - {T.BOOL}


def geometry_operands(lhs, rhs):
    return all(GEOMETRY.match(innermost(side).type.get_canonical().spelling or "") for side in (lhs, rhs))


def binary_rules(cursor, ctx):
    found = operator_token(cursor, ctx)
    if found is None:
        return
    token, lhs, rhs = found
    op = token[2]
    builtin = is_builtin(cursor)
    if op in EQUALITY:
        yield "equality", swap(token, EQUALITY[op])
    elif op in RELATIONAL and builtin:
        yield "relational", swap(token, RELATIONAL[op])
    elif op in LOGICAL and builtin:
        yield "logical", swap(token, LOGICAL[op])
    elif op in ADDITIVE:
        if (builtin and arithmetic_operands(lhs, rhs)) or (not builtin and geometry_operands(lhs, rhs)):
            yield "additive", swap(token, ADDITIVE[op])


# --- unary, literals -------------------------------------------------------------------------------


def in_condition(stack):
    """Whether the expression on top of stack is read as a condition, where a class converts to bool."""
    for parent in reversed(stack):
        if parent.kind in WRAPPERS:
            continue
        if parent.kind in CONDITIONS or parent.kind == K.UNARY_OPERATOR:
            return True
        return parent.kind == K.BINARY_OPERATOR
    return False


def not_rules(cursor, stack, ctx):
    token = ctx.tokens.at(cursor.extent.start.offset)
    parts = children(cursor)
    if token is None or token[2] != "!" or len(parts) != 1 or not ctx.whole_tokens(parts[0]):
        return
    if canonical(innermost(parts[0])).kind == T.RECORD and not in_condition(stack):
        return
    yield "not-dropped", [Edit(token[0], token[1], b"")]


INTEGER = re.compile(r"^(0[xX][0-9a-fA-F']+|0[bB][01']+|0[0-7']*|[1-9][0-9']*)([uUlLzZ]*)$")


def shifted_integer(text, delta):
    """The literal text with delta added to its value, in its own base and with its own suffix."""
    match = INTEGER.match(text)
    if match is None:
        return None
    digits, suffix = match.group(1).replace("'", ""), match.group(2)
    if digits[:2] in ("0x", "0X"):
        base, prefix = 16, digits[:2]
    elif digits[:2] in ("0b", "0B"):
        base, prefix = 2, digits[:2]
    elif len(digits) > 1 and digits[0] == "0":
        base, prefix = 8, "0"
    else:
        base, prefix = 10, ""
    value = int(digits[len(prefix) :] or "0", base) + delta
    if value < 0:
        return "-1" + suffix if base == 10 else None
    body = {16: "%x", 8: "%o", 2: "{:b}", 10: "%d"}[base]
    body = body.format(value) if base == 2 else body % value
    if base == 16 and digits[2:].upper() == digits[2:]:
        body = body.upper()
    return prefix + body + suffix


def in_template_arguments(token, ctx, stack):
    """A literal that is a template's argument (std::array<int, 3>) is left alone: it may not compile."""
    previous = ctx.tokens.before(token[0])
    if previous is None or previous[2] not in ("<", ","):
        return False
    owner = next((c for c in reversed(stack) if c.kind not in WRAPPERS), None)
    names = (K.DECL_REF_EXPR, K.MEMBER_REF_EXPR)
    return owner is None or owner.kind in names or not owner.kind.is_expression()


def constant_rules(cursor, stack, ctx):
    token = ctx.tokens.at(cursor.extent.start.offset)
    if token is None or token[3] != ci.TokenKind.LITERAL or token[1] != cursor.extent.end.offset:
        return
    if in_template_arguments(token, ctx, stack):
        return
    previous = ctx.tokens.before(token[0])
    for delta in (1, -1):
        text = shifted_integer(token[2], delta)
        if text is None:
            continue
        if text.startswith("-") and previous is not None and previous[2] in ("-", "+"):
            text = f"({text})"
        yield "constant", swap(token, text)


def boolean_rules(cursor, ctx):
    token = ctx.tokens.at(cursor.extent.start.offset)
    if token is not None and token[2] in ("true", "false"):
        yield "boolean", swap(token, "false" if token[2] == "true" else "true")


# --- statements -------------------------------------------------------------------------------------


def call_statement_rules(compound, ctx):
    """Each call that is a statement of its own in the block, removed with its semicolon."""
    for statement in children(compound):
        if innermost(statement).kind != K.CALL_EXPR and statement.kind != K.CALL_EXPR:
            continue
        if not ctx.whole_tokens(statement):
            continue
        semicolon = ctx.tokens.after(statement.extent.end.offset)
        if semicolon is None or semicolon[2] != ";" or semicolon[0] != statement.extent.end.offset:
            continue
        start = statement.extent.start.offset
        previous = ctx.tokens.before(start)
        if previous is not None and previous[2] in ("emit", "Q_EMIT"):
            start = previous[0]
        yield "call-removed", [Edit(start, semicolon[1], b"")]


def enclosing_function(stack):
    for cursor in reversed(stack):
        if cursor.kind == K.LAMBDA_EXPR:
            return None
        if cursor.kind in FUNCTIONS:
            return cursor
        if cursor.kind in (K.CONSTRUCTOR, K.DESTRUCTOR):
            return None
    return None


def deduced_return(function, ctx):
    """Whether the return type is auto without a trailing type: there `return {};` cannot compile."""
    start = function.extent.start.offset
    name = function.location.offset
    head = ctx.content[start:name].decode("utf-8", "replace")
    if not re.search(r"\bauto\b", head):
        return False
    body = next((c for c in children(function) if c.kind == K.COMPOUND_STMT), None)
    end = body.extent.start.offset if body else function.extent.end.offset
    return "->" not in ctx.content[name:end].decode("utf-8", "replace")


def return_rules(cursor, stack, ctx):
    parts = children(cursor)
    function = enclosing_function(stack)
    if len(parts) != 1 or function is None or not ctx.whole_tokens(parts[0]):
        return
    kind = function.result_type.get_canonical().kind
    if kind in (T.VOID, T.LVALUEREFERENCE, T.RVALUEREFERENCE, T.INVALID) or deduced_return(function, ctx):
        return
    value = parts[0]
    if DEFAULT_VALUE.match("".join(ctx.text(value).split())):
        return
    yield "return-default", [Edit(value.extent.start.offset, value.extent.end.offset, b"{}")]


def same_type(a, b):
    def plain(cursor):
        return canonical(cursor).spelling.replace("const ", "").replace("volatile ", "")

    return plain(a) == plain(b)


def argument_rules(cursor, ctx):
    """Adjacent arguments of the same type, swapped."""
    if is_operator(cursor):
        return
    arguments = list(cursor.get_arguments())
    for a, b in zip(arguments, arguments[1:]):
        if not (ctx.whole_tokens(a) and ctx.whole_tokens(b)) or a.extent.end.offset > b.extent.start.offset:
            continue
        left, right = ctx.text(a), ctx.text(b)
        if left == right or not same_type(a, b):
            continue
        yield "arguments-swapped", [
            Edit(a.extent.start.offset, a.extent.end.offset, right.encode()),
            Edit(b.extent.start.offset, b.extent.end.offset, left.encode()),
        ]


# --- the walk ---------------------------------------------------------------------------------------


def rules_for(cursor, stack, ctx):
    kind = cursor.kind
    if kind in (K.BINARY_OPERATOR, K.COMPOUND_ASSIGNMENT_OPERATOR):
        yield from binary_rules(cursor, ctx)
    elif kind == K.CALL_EXPR:
        yield from binary_rules(cursor, ctx)
        yield from argument_rules(cursor, ctx)
    elif kind == K.UNARY_OPERATOR:
        yield from not_rules(cursor, stack, ctx)
    elif kind == K.INTEGER_LITERAL:
        yield from constant_rules(cursor, stack, ctx)
    elif kind == K.CXX_BOOL_LITERAL_EXPR:
        yield from boolean_rules(cursor, ctx)
    elif kind == K.COMPOUND_STMT:
        yield from call_statement_rules(cursor, ctx)
    elif kind == K.RETURN_STMT:
        yield from return_rules(cursor, stack, ctx)


def walk(cursor, stack, path):
    """The cursors of path under cursor, each with its ancestors."""
    stack.append(cursor)
    for child in cursor.get_children():
        location = child.location
        if location.file is None or location.file.name != path:
            continue
        yield child, stack
        yield from walk(child, stack, path)
    stack.pop()


def macro_uses(tu, path):
    return sorted(
        (c.extent.start.offset, c.extent.end.offset)
        for c in tu.cursor.get_children()
        if c.kind == K.MACRO_INSTANTIATION and c.location.file is not None and c.location.file.name == path
    )


def mutants_of_unit(tu, path, relative):
    """The mutants of the file path, read as tu (parsed with its macro uses recorded)."""
    with open(path, "rb") as f:
        content = f.read()
    ctx = Context(path, content, Tokens(tu, path), macro_uses(tu, path))
    for cursor, stack in walk(tu.cursor, [], path):
        # What a macro wrote (Q_OBJECT's functions, say) is not in the file to be changed.
        if ctx.in_macro(cursor.extent.start.offset, cursor.extent.end.offset):
            continue
        for rule, edits in rules_for(cursor, stack, ctx):
            if not any(ctx.cuts_macro(e) for e in edits):
                yield make_mutant(relative, rule, content, edits)


PARSE_OPTIONS = ci.TranslationUnit.PARSE_DETAILED_PROCESSING_RECORD


# --- reading the files --------------------------------------------------------------------------------


def libclang_major():
    named = re.search(r"clang-(\d+)", ci.conf.get_filename())
    if named:
        return named.group(1)
    version = ci.conf.lib.clang_getClangVersion
    version.restype = ci._CXString
    version.errcheck = ci._CXString.from_result
    said = re.search(r"version (\d+)", version())
    return said.group(1) if said else ""


def resource_dir():
    """The builtin headers of the libclang in use; libclang finds them itself when laid out as usual."""
    major = libclang_major()
    for program in (f"clang-{major}", "clang"):
        try:
            found = subprocess.run([program, "-print-resource-dir"], capture_output=True, text=True,
                                   check=True)
        except (OSError, subprocess.CalledProcessError):
            continue
        directory = found.stdout.strip()
        if f"/{major}" in directory and os.path.isdir(os.path.join(directory, "include")):
            return directory
    candidates = sorted(glob.glob(f"/usr/lib/llvm-{major}/lib/clang/*/include/stddef.h"))
    return os.path.dirname(os.path.dirname(candidates[-1])) if candidates else None


def compile_arguments(entry):
    """The compiler's arguments less the compiler, the output and the source file."""
    words = entry.get("arguments") or shlex.split(entry["command"])
    kept, skip = [], False
    for word in words[1:]:
        if skip:
            skip = False
        elif word in ("-o", "-c"):
            skip = True
        elif word != entry["file"]:
            kept.append(word)
    return kept


class Reader:
    """Reads the scratch tree's C++ files with the flags the build compiles them with."""

    def __init__(self, tree, build):
        self.tree = tree
        with open(os.path.join(build, "compile_commands.json")) as f:
            entries = json.load(f)
        self.commands = {os.path.realpath(e["file"]): compile_arguments(e) for e in entries}
        self.index = ci.Index.create()
        extra = resource_dir()
        self.extra = ["-resource-dir", extra] if extra else []

    def arguments(self, path):
        """A source's own command; a header borrows that of a source beside it (or in its library)."""
        if path in self.commands:
            return self.commands[path]
        stem, folder = os.path.splitext(path)[0], os.path.dirname(path)
        if os.path.exists(stem + ".cpp") and stem + ".cpp" not in self.commands:
            return None  # the header of a source this system does not build
        beside = sorted(p for p in self.commands if p.startswith(folder + "/"))
        for candidate in [stem + ".cpp"] + beside:
            if candidate in self.commands:
                return ["-x", "c++-header"] + self.commands[candidate]
        return None

    def is_built(self, relative):
        return self.arguments(os.path.realpath(os.path.join(self.tree, relative))) is not None

    def mutants(self, relative):
        path = os.path.realpath(os.path.join(self.tree, relative))
        arguments = self.arguments(path)
        tu = self.index.parse(path, args=arguments + self.extra + ["-Wno-everything"], options=PARSE_OPTIONS)
        errors = [d for d in tu.diagnostics if d.severity >= ci.Diagnostic.Error]
        if errors:
            raise ParseError(f"{relative}: {errors[0]}")
        return list(mutants_of_unit(tu, path, relative))


class ParseError(Exception):
    pass
