"""Which lines of which files changed since a base revision, as numbered in the files now."""
import re
import subprocess

HUNK = re.compile(r"^@@ -\d+(?:,\d+)? \+(\d+)(?:,(\d+))? @@")


class Everything:
    """Stands for every line of a file, or of every file."""

    def __contains__(self, line):
        return True


EVERYTHING = Everything()


def git(repo, *arguments):
    return subprocess.run(["git", "-C", repo, *arguments], capture_output=True, text=True, check=True).stdout


def parse_diff(text):
    """{path: set of line numbers} of the lines a unified diff (-U0) adds or changes."""
    changed, path = {}, None
    for line in text.splitlines():
        if line.startswith("+++ "):
            target = line[4:]
            path = target[2:] if target.startswith("b/") else None
            if path is not None:
                changed.setdefault(path, set())
        elif path is not None:
            hunk = HUNK.match(line)
            if hunk:
                start, count = int(hunk.group(1)), int(hunk.group(2) or "1")
                changed[path].update(range(start, start + count))
    return changed


def changed_lines(repo, base):
    """The lines changed since base: committed since the branch left it, staged, unstaged, and new files.

    An empty base means every line. The result maps a path to something that holds its changed lines.
    """
    if not base:
        return None
    try:
        fork = git(repo, "merge-base", base, "HEAD").strip()
    except subprocess.CalledProcessError as error:
        raise SystemExit(f"mutate: no common history with {base}: {error.stderr.strip()}") from error
    diff = git(repo, "diff", "-U0", "--no-color", "--no-ext-diff", fork, "--")
    changed = parse_diff(diff)
    for path in git(repo, "ls-files", "-o", "--exclude-standard").splitlines():
        changed[path] = EVERYTHING
    return changed


def lines_of(changed, path):
    if changed is None:
        return EVERYTHING
    return changed.get(path, set())
