"""tests/mutants/equivalent.txt: survivors known to change nothing a user or caller could observe."""

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
