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


REPORTED = re.compile(r"(?P<path>[^\s:]+):\d+  (?P<rule>\S+)  (?P<change>.+?)(?:  \[[\d.]+ s\])?$")


def reported(lines):
    """The keys of the mutants a report names, one a line as it prints them ("path:line  rule  before →
    after", after any verdict and before any time); lines that name none are passed over."""
    keys = []
    for line in lines:
        found = REPORTED.search(line.rstrip("\n"))
        if found:
            keys.append(f"{found['path']}:{found['rule']}:{found['change']}")
    return keys
