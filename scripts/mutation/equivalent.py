"""tests/mutants/equivalent.txt: survivors known to change nothing a user or caller could observe."""

import re

REASON = "  # "


def parse(text):
    """{key: reason} of each entry line; blank lines and lines starting with # are left out."""
    entries = {}
    for number, line in enumerate(text.splitlines(), 1):
        if not line.strip() or line.lstrip().startswith("#"):
            continue
        key, found, reason = line.partition(REASON)
        if not found or not reason.strip():
            raise ValueError(f"equivalent.txt:{number}: an entry needs its reason after '{REASON.strip()}'")
        entries[key.strip()] = reason.strip()
    return entries


def load(path):
    try:
        with open(path, encoding="utf-8") as f:
            return parse(f.read())
    except FileNotFoundError:
        return {}


REPORTED = re.compile(r"(?P<path>[^\s:]+):(?P<line>\d+)  (?P<rule>\S+)  (?P<change>.+?)"
                      r"(?:  \[[\d.]+ s\]|  # .*)?$")
KILLED = re.compile(r"^\[\d+/\d+\] killed")


def reported(lines):
    """(key, line) of each mutant a report names as it prints them ("path:line  rule  before → after",
    after any verdict and before any time or reason), once each; the killed ones are passed over, so
    that a whole saved report names just what it did not kill."""
    found = []
    for text in lines:
        text = text.rstrip("\r\n")
        match = REPORTED.search(text)
        if match and not KILLED.match(text):
            item = (f"{match['path']}:{match['rule']}:{match['change']}", int(match["line"]))
            if item not in found:
                found.append(item)
    return found
