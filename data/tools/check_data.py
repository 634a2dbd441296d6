#!/usr/bin/env python3
"""Checks the installation data: the INI sources and, when given, what the
build laid out.

    check_data.py [--dist DIST_DIR] [--art ART_DIR]

Without arguments only the sources under data/ are checked.  Prints one line
per fault and exits with 1 when there is any.
"""
import pathlib
import struct
import sys

sys.dont_write_bytecode = True  # keep the source tree clean
sys.path.insert(0, str(pathlib.Path(__file__).resolve().parent))
import mkini  # noqa: E402

DATA = mkini.DATA
STAMPLET_SIZES = {14, 16, 32, 48, 50, 256}
ICON_SIZES = {16, 32, 48, 256}
MAINICON_SIZES = {16, 32, 48, 128, 256}
TOOLBAR_ICONS = ("library", "themes", "About", "Language", "options")
MAGENTA = (255, 0, 255)

# The manager's built-in pictures: file, sizes (icons) or (width, height, keyed).
ART = [
    ("mainicon.ico", MAINICON_SIZES),
    *[(f"page{n}.ico", ICON_SIZES) for n in range(1, 6)],
    ("web16.ico", ICON_SIZES),
    ("mail16.ico", ICON_SIZES),
    ("invalid.bmp", (10, 10, True)),
    ("invalid_sel.bmp", (10, 10, True)),
    ("sort_asc.bmp", (14, 14, True)),
    ("sort_desc.bmp", (14, 14, True)),
    ("curlang.bmp", (14, 14, True)),
    ("active.bmp", (26, 21, False)),
    ("unactive.bmp", (26, 21, False)),
]

# Faults the source checks must catch: (what, problems found, expected text).
SOURCE_CHECK_CASES = [
    ("key with '='", lambda: mkini.key_problems(["a=b"]), "holds '='"),
    ("key with ellipsis", lambda: mkini.key_problems(["Get more ..."]), "ends with '...'"),
    ("keys differing in case", lambda: mkini.key_problems(["Note", "NOTE"]), "given twice"),
    ("missing translation",
     lambda: mkini.language_problems(mkini.parse("[Dict]\nNative Name=Test\nA=a"), ["A", "B"]),
     "no translation of 'B'"),
    ("empty translation",
     lambda: mkini.language_problems(mkini.parse("[Dict]\nNative Name=Test\nA="), ["A"]),
     "empty translation of 'A'"),
    ("short native name",
     lambda: mkini.language_problems(mkini.parse("[Dict]\nNative Name=Xy\nA=a"), ["A"]),
     "shorter than 4"),
    ("theme name other than folder",
     lambda: mkini.theme_problems(mkini.parse("[AUTHOR]\nTHEME_NAME=Other"), "Zadovu"),
     "not the folder name"),
]


def read_ico(path):
    """-> {size: (is_png, image bytes)} of an icon file."""
    data = path.read_bytes()
    reserved, kind, count = struct.unpack_from("<HHH", data)
    if reserved != 0 or kind != 1 or count == 0:
        raise ValueError("not an icon file")
    images = {}
    for i in range(count):
        w, h, _, _, _, _, length, offset = struct.unpack_from("<BBBBHHII", data, 6 + 16 * i)
        w, h = w or 256, h or 256
        if w != h:
            raise ValueError(f"image {w}x{h} is not square")
        image = data[offset:offset + length]
        if len(image) != length:
            raise ValueError(f"image {w}x{h} runs past the end of the file")
        images[w] = (image[:8] == b"\x89PNG\r\n\x1a\n", image)
    return images


def ico_pixels(image, size):
    """RGBA rows, top first, of a 32-bit bitmap image of an icon."""
    _, w, h, _, bpp = struct.unpack_from("<IiiHH", image)
    if (w, h, bpp) != (size, 2 * size, 32):
        raise ValueError(f"{size} px image is {w}x{h // 2} at {bpp} bits, not 32-bit")
    rows = []
    for y in range(size):
        start = 40 + (size - 1 - y) * size * 4
        line = image[start:start + size * 4]
        rows.append([(line[x + 2], line[x + 1], line[x], line[x + 3]) for x in range(0, size * 4, 4)])
    return rows


def ico_faults(path, sizes):
    try:
        images = read_ico(path)
        if set(images) != sizes:
            return [f"sizes {sorted(images)}, expected {sorted(sizes)}"]
        for size, (is_png, image) in images.items():
            if is_png != (size >= 256):
                return [f"{size} px image stored as {'PNG' if is_png else 'bitmap'}"]
            if not is_png:
                ico_pixels(image, size)
    except (ValueError, struct.error) as e:
        return [str(e)]
    return []


def read_bmp(path):
    """-> (width, height, bits, rows of RGB, top first)."""
    data = path.read_bytes()
    if data[:2] != b"BM":
        raise ValueError("not a bitmap file")
    offset, = struct.unpack_from("<I", data, 10)
    _, w, h, _, bpp = struct.unpack_from("<IiiHH", data, 14)
    if bpp != 24:
        return w, h, bpp, []
    stride = (w * 3 + 3) & ~3
    rows = []
    for y in range(abs(h)):
        start = offset + (abs(h) - 1 - y if h > 0 else y) * stride
        rows.append([(data[i + 2], data[i + 1], data[i]) for i in range(start, start + w * 3, 3)])
    return w, abs(h), bpp, rows


def bmp_faults(path, width, height, keyed):
    try:
        w, h, bpp, rows = read_bmp(path)
    except (ValueError, struct.error) as e:
        return [str(e)]
    if (w, h, bpp) != (width, height, 24):
        return [f"{w}x{h} at {bpp} bits, expected {width}x{height} at 24"]
    pixels = [p for row in rows for p in row]
    faults = []
    if keyed and rows[0][0] != MAGENTA:
        faults.append("transparent corner is not magenta")
    if keyed and all(p == MAGENTA for p in pixels):
        faults.append("holds nothing but the transparent colour")
    if not keyed and MAGENTA in pixels:
        faults.append("opaque picture holds the transparent colour")
    return faults


def distinct_faults(theme, icons):
    """The ten stamplets of a theme must differ visibly at 14 pixels."""
    faults, pictures = [], {}
    for n, path in icons.items():
        try:
            pictures[n] = [p for row in ico_pixels(read_ico(path)[14][1], 14) for p in row]
        except (KeyError, ValueError, struct.error):
            return []  # already reported as a fault of the file
    for n, pixels in pictures.items():
        covered = sum(1 for p in pixels if p[3] >= 128)
        if covered < len(pixels) // 4:
            faults.append(f"themes/{theme}/{n}.ico: only {covered} of 196 pixels drawn at 14 px")
    for a in pictures:
        for b in pictures:
            if a < b:
                diff = sum(abs(x - y) for p, q in zip(pictures[a], pictures[b]) for x, y in zip(p, q))
                if diff / (196 * 4) < 12:
                    faults.append(f"themes/{theme}: {a}.ico and {b}.ico look alike at 14 px")
    return faults


def expected_dist():
    """{relative path: sizes of an icon, or None for a file copied from data/}."""
    files = {"icons/reset.ico": STAMPLET_SIZES, "langs/uk.ico": ICON_SIZES}
    files.update({f"icons/{n}.ico": STAMPLET_SIZES for n in range(1, 11)})
    for src, target, kind, name in mkini.sources():
        if kind == "theme":
            files.update({f"themes/{name}/{n}.ico": STAMPLET_SIZES for n in range(1, 11)})
            files[f"themes/{name}/plist.ini"] = None
        else:
            files[f"langs/{name}.ico"] = ICON_SIZES
            files[f"langs/{name}.ini"] = None
    for folder in sorted(p for p in (DATA / "toolbar").iterdir() if p.is_dir()):
        files.update({f"toolbar/{folder.name}/{icon}.ico": ICON_SIZES for icon in TOOLBAR_ICONS})
    return files


# The programs that the build copies beside the data, once each is built.
PROGRAM_FILES = {"Stamptab.dll", "StampletsManager.exe", "stampletsmenu.dll", "ric.exe"}


def dist_faults(dist):
    expected = expected_dist()
    present = {p.relative_to(dist).as_posix() for p in dist.rglob("*") if p.is_file()}
    present -= PROGRAM_FILES
    faults = [f"{rel}: missing" for rel in sorted(set(expected) - present)]
    faults += [f"{rel}: not part of the installation" for rel in sorted(present - set(expected))]
    for rel in sorted(set(expected) & present):
        if expected[rel] is None:
            if (dist / rel).read_bytes() != (DATA / rel).read_bytes():
                faults.append(f"{rel}: differs from data/{rel}")
        else:
            faults += [f"{rel}: {f}" for f in ico_faults(dist / rel, expected[rel])]
    for n in range(1, 11):
        current, default = dist / f"icons/{n}.ico", dist / f"themes/Zadovu/{n}.ico"
        if current.exists() and default.exists() and current.read_bytes() != default.read_bytes():
            faults.append(f"icons/{n}.ico: not a copy of themes/Zadovu/{n}.ico")
    for theme in sorted(p.name for p in (dist / "themes").iterdir() if p.is_dir()):
        faults += distinct_faults(theme, {n: dist / f"themes/{theme}/{n}.ico" for n in range(1, 11)})
    return faults


def art_faults(art):
    faults = []
    for name, form in ART:
        path = art / name
        if not path.exists():
            faults.append(f"art/{name}: missing")
        elif isinstance(form, set):
            faults += [f"art/{name}: {f}" for f in ico_faults(path, form)]
        else:
            faults += [f"art/{name}: {f}" for f in bmp_faults(path, *form)]
    return faults


def main(argv):
    options = dict(zip(argv[::2], argv[1::2]))
    if len(argv) % 2 or set(options) - {"--dist", "--art"}:
        sys.exit(__doc__)
    faults = []
    for what, run, text in SOURCE_CHECK_CASES:
        if not any(text in p for p in run()):
            faults.append(f"source check misses a fault: {what}")
    if mkini.main(["--check"]):
        faults.append("INI sources: see above")
    if "--dist" in options:
        faults += dist_faults(pathlib.Path(options["--dist"]))
    if "--art" in options:
        faults += art_faults(pathlib.Path(options["--art"]))
    for fault in faults:
        print(fault)
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
