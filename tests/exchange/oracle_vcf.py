#!/usr/bin/python3
"""Reads a vCard file with vobject, an independent reader, and prints each
card as a canonical listing for the contact export test to compare.
Exit status 3 when vobject is not installed."""
import sys

try:
    import vobject
except ImportError:
    sys.exit(3)


def text(value):
    if isinstance(value, (list, tuple)):
        value = ",".join(value)
    return str(value).replace("\\", "\\\\").replace("\r\n", "\\n").replace("\n", "\\n")


def types(line):
    found = []
    for value in line.params.get("TYPE", []):
        found.extend(part.strip().upper() for part in value.split(","))
    return ",".join(sorted(found))


def main(path):
    with open(path, encoding="utf-8", newline="") as handle:
        data = handle.read()
    for card in vobject.readComponents(data):
        out = []
        c = card.contents
        for line in c.get("uid", []):
            out.append("UID:" + text(line.value))
        for line in c.get("n", []):
            n = line.value
            out.append("N:" + "|".join(text(getattr(n, part)) for part in
                                       ("family", "given", "additional", "prefix", "suffix")))
        for line in c.get("fn", []):
            out.append("FN:" + text(line.value))
        for line in c.get("org", []):
            out.append("ORG:" + "|".join(text(part) for part in line.value))
        for line in c.get("adr", []):
            a = line.value
            out.append("ADR:" + types(line) + ":" + "|".join(text(getattr(a, part)) for part in
                       ("box", "extended", "street", "city", "region", "code", "country")))
        for name in ("tel", "email"):
            for line in c.get(name, []):
                out.append(name.upper() + ":" + types(line) + ":" + text(line.value))
        for line in c.get("bday", []):
            out.append("BDAY:" + text(line.value))
        for line in c.get("categories", []):
            out.append("CATEGORIES:" + text(line.value))
        print("\n".join(out))
        print("--")


if __name__ == "__main__":
    main(sys.argv[1])
