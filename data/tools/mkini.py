#!/usr/bin/env python3
"""Builds the checked-in INI files of the installation from their UTF-8 sources.

    mkini.py            write every INI file whose source changed
    mkini.py --check    only report files that are out of date or invalid

Sources live under data/text/ and are plain INI text in UTF-8:
    text/langs/<Name>.txt   ->  langs/<Name>.ini         (a language file)
    text/themes/<Name>.txt  ->  themes/<Name>/plist.ini  (a theme description)
The programs read these files through the wide profile functions, so they are
written as UTF-16 little-endian with the FF FE mark and CR LF line ends.
Language files must translate exactly the English texts listed in
text/keys.txt, and nothing else besides "Native Name".
"""
import pathlib
import sys

DATA = pathlib.Path(__file__).resolve().parent.parent
TEXT = DATA / "text"


def encode(text):
    """Source text (any line ends) -> bytes of the installed INI file."""
    lines = text.replace("\r\n", "\n").replace("\r", "\n").split("\n")
    if lines and lines[-1] == "":
        lines.pop()
    return b"\xff\xfe" + "".join(line + "\r\n" for line in lines).encode("utf-16-le")


def parse(text):
    """INI text -> {section (upper case): [(key, value), ...]} in file order.

    Follows the profile functions: blanks around names and values do not
    count, ";" starts a comment line, a key ends at the first "=".
    """
    sections, current = {}, None
    for line in text.splitlines():
        line = line.strip()
        if not line or line.startswith(";"):
            continue
        if line.startswith("[") and line.endswith("]"):
            current = sections.setdefault(line[1:-1].strip().upper(), [])
        elif current is not None:
            key, _, value = line.partition("=")
            current.append((key.strip(), value.strip()))
    return sections


def english_keys():
    """The keys of text/keys.txt, in order ("#" lines are comments)."""
    text = (TEXT / "keys.txt").read_text(encoding="utf-8")
    return [line.strip() for line in text.splitlines()
            if line.strip() and not line.lstrip().startswith("#")]


def key_problems(keys):
    """Keys that the translation lookup could never find."""
    problems, seen = [], set()
    for key in keys:
        if "=" in key:
            problems.append(f"key {key!r} holds '=' and cannot be looked up")
        if key.endswith("..."):
            problems.append(f"key {key!r} ends with '...', which the lookup strips")
        if key != key.strip() or key[:1] in (";", "["):
            problems.append(f"key {key!r} starts or ends in a way an INI line cannot keep")
        if key.casefold() in seen:
            problems.append(f"key {key!r} is given twice (keys match without regard to case)")
        seen.add(key.casefold())
    return problems


def language_problems(sections, keys):
    problems = []
    entries = sections.get("DICT", [])
    problems += key_problems([k for k, _ in entries])
    names = {k for k, _ in entries}
    for key in keys:
        if key not in names:
            problems.append(f"no translation of {key!r}")
    for key in sorted(names - set(keys) - {"Native Name"}):
        problems.append(f"translation of {key!r}, which the programs never show")
    for key, value in entries:
        if not value:
            problems.append(f"empty translation of {key!r}")
    native = dict(entries).get("Native Name", "")
    if len(native) < 4:
        problems.append("Native Name is missing or shorter than 4 characters")
    translator = dict(sections.get("TRANSLATOR", []))
    for key in ("Ver", "Author", "www", "email"):
        if not translator.get(key):
            problems.append(f"[Translator] {key} is missing")
    if not translator.get("www", "").startswith("https://"):
        problems.append("[Translator] www is not an https:// address")
    if "@" not in translator.get("email", ""):
        problems.append("[Translator] email is not a mail address")
    return problems


def theme_problems(sections, folder):
    author = dict(sections.get("AUTHOR", []))
    problems = [f"[AUTHOR] {key} is missing" for key in ("NAME", "VER", "THEME_NAME", "COPYRIGHT")
                if not author.get(key)]
    if author.get("THEME_NAME") != folder:
        problems.append(f"THEME_NAME {author.get('THEME_NAME')!r} is not the folder name {folder!r}")
    return problems


def sources():
    """(source, target, kind, name) for every INI file of the installation."""
    for src in sorted((TEXT / "langs").glob("*.txt")):
        yield src, DATA / "langs" / (src.stem + ".ini"), "language", src.stem
    for src in sorted((TEXT / "themes").glob("*.txt")):
        yield src, DATA / "themes" / src.stem / "plist.ini", "theme", src.stem


def problems_of(src, kind, name, keys):
    sections = parse(src.read_text(encoding="utf-8"))
    if kind == "language":
        return language_problems(sections, keys)
    return theme_problems(sections, name)


def main(argv):
    check = argv == ["--check"]
    if argv and not check:
        sys.exit(__doc__)
    keys = english_keys()
    failed = [f"text/keys.txt: {p}" for p in key_problems(keys)]
    for src, target, kind, name in sources():
        rel = src.relative_to(DATA)
        found = problems_of(src, kind, name, keys)
        failed += [f"{rel}: {p}" for p in found]
        data = encode(src.read_text(encoding="utf-8"))
        current = target.read_bytes() if target.exists() else None
        if current == data:
            continue
        if check or found:
            failed.append(f"{target.relative_to(DATA)}: out of date with {rel}")
        else:
            target.parent.mkdir(parents=True, exist_ok=True)
            target.write_bytes(data)
            print(f"wrote {target.relative_to(DATA)}")
    for line in failed:
        print(line, file=sys.stderr)
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
