#!/usr/bin/env python3
"""Writes the web page as one self-contained file: index.html with the style sheet,
the square-pixel font and the icon (as data: URLs), the WebAssembly module's script
and the page's own script written into it, so that it runs from disk without a
network; and the full texts of the licences (--licence, one file each) at its end."""
import argparse
import base64
import gzip
import html
import pathlib
import re
import struct
import zlib


def script_text(path):
    # A script element ends at the first "</script", wherever it stands.
    return pathlib.Path(path).read_text(encoding="utf-8").replace("</script", "<\\/script")


def module_text(path):
    """The module's script with its WebAssembly taken out of the script and put beside
    it gzipped (a third of the bytes): procesorWasmGzip, base64, which the page's
    script unpacks with the browser's own DecompressionStream."""
    module = script_text(path)
    prefix = 'wasmBinaryFile="data:application/octet-stream;base64,'
    start = module.find(prefix)
    if start < 0 or module.count(prefix) != 1:
        raise SystemExit(f"web_page.py: {path} must hold its WebAssembly once, as a data URL")
    start += len(prefix)
    end = module.index('"', start)
    wasm = base64.b64decode(module[start:end])
    packed = base64.b64encode(gzip.compress(wasm, compresslevel=9, mtime=0)).decode("ascii")
    return 'const procesorWasmGzip = "' + packed + '";\n' + module[:start] + module[end:]


def woff(path):
    """A TrueType font as WOFF 1.0: each table packed with zlib where that makes it
    smaller, the font a quarter of its size; every browser unpacks it as it loads it."""
    font = pathlib.Path(path).read_bytes()
    flavour, count = struct.unpack(">IH", font[:6])
    tables = []
    for i in range(count):
        tag, checksum, offset, length = struct.unpack(">4sIII", font[12 + 16 * i:28 + 16 * i])
        data = font[offset:offset + length]
        if len(data) != length:
            raise SystemExit(f"web_page.py: {path} has a table {tag!r} beyond its end")
        packed = zlib.compress(data, 9)
        tables.append((tag, checksum, length, packed if len(packed) < length else data))
    tables.sort()
    pad = lambda n: (n + 3) & ~3
    at = 44 + 20 * count
    directory, body = b"", b""
    for tag, checksum, length, data in tables:
        directory += struct.pack(">4sIIII", tag, at + len(body), len(data), length, checksum)
        body += data + bytes(pad(len(data)) - len(data))
    sfnt_size = 12 + 16 * count + sum(pad(length) for _, _, length, _ in tables)
    header = struct.pack(">4sIIHHIHHIIIII", b"wOFF", flavour, at + len(body), count, 0, sfnt_size,
                         1, 0, 0, 0, 0, 0, 0)
    return header + directory + body


def ascii_only(page):
    """The page with every character beyond ASCII written as an escape that means the
    same where it stands: in a script \\u and its UTF-16 units, in the style sheet a
    CSS escape, elsewhere a character reference. A browser takes an ASCII page in as
    bytes; text with a single other character it decodes and parses as 16-bit
    characters, a few milliseconds more before the first frame."""
    def in_script(c):
        units = c.encode("utf-16-be")
        return "".join(f"\\u{units[i]:02x}{units[i + 1]:02x}" for i in range(0, len(units), 2))
    forms = {"script": in_script, "style": lambda c: f"\\{ord(c):x} ", "": lambda c: f"&#x{ord(c):x};"}
    def escaped(text, where):
        return re.sub(r"[^\x00-\x7f]", lambda m: forms[where](m[0]), text)
    out, at = [], 0
    for element in re.finditer(r"<(script|style)\b[^>]*>(.*?)</\1>", page, re.S):
        out.append(escaped(page[at:element.start(2)], ""))
        out.append(escaped(element[2], element[1]))
        at = element.end(2)
    out.append(escaped(page[at:], ""))
    return "".join(out)


def indexed_picture(path):
    """The start picture (an 8-bit RGB PNG file, each row unfiltered) as the page's first
    script unpacks it at once: its colours as 32-bit words (the bytes R, G, B, A), and
    per pixel, row by row, the number of its colour in a byte, packed with raw DEFLATE
    (a copy of earlier pixels then unpacks as one copy of their colours); its width
    and height."""
    data = pathlib.Path(path).read_bytes()
    if data[:8] != b"\x89PNG\r\n\x1a\n":
        raise SystemExit(f"web_page.py: {path} is no PNG file")
    at, header, packed = 8, None, b""
    while at < len(data):
        length, kind = struct.unpack(">I4s", data[at:at + 8])
        body = data[at + 8:at + 8 + length]
        if kind == b"IHDR":
            header = body
        elif kind == b"IDAT":
            packed += body
        at += 12 + length
    width, height, depth, colour = struct.unpack(">IIBB", header[:10])
    if depth != 8 or colour != 2:
        raise SystemExit(f"web_page.py: {path} is not 8-bit RGB")
    raw = zlib.decompress(packed)
    stride = 1 + 3 * width
    colours, numbers = {}, bytearray()
    for y in range(height):
        row = raw[y * stride:(y + 1) * stride]
        if row[0] != 0:
            raise SystemExit(f"web_page.py: {path} has filtered rows")
        for x in range(1, stride, 3):
            numbers.append(colours.setdefault(row[x:x + 3], len(colours)))
    if len(colours) > 256:
        raise SystemExit(f"web_page.py: {path} has {len(colours)} colours, more than 256")
    palette = [r | g << 8 | b << 16 | 0xff << 24 for r, g, b in colours]
    deflate = zlib.compressobj(9, zlib.DEFLATED, -15, 9)
    return palette, deflate.compress(bytes(numbers)) + deflate.flush(), width, height


def start_data(picture, places, module):
    """What the page's first script (start.js) needs to show the start picture before
    the simulator's module has started: the picture's colours and packed pixels, the
    places of the fields and the diagram's size, and the module of its own that knows
    the rule for the picture's size and unpacks the picture."""
    palette, packed, width, height = indexed_picture(picture)
    numbers = [int(n) for n in pathlib.Path(places).read_text(encoding="ascii").split(",")]
    if numbers[12:14] != [width, height]:
        raise SystemExit(f"web_page.py: {picture} is {width}x{height}, not the diagram's size")
    wasm = base64.b64encode(pathlib.Path(module).read_bytes()).decode("ascii")
    return ("const procesorStartPicture = {\n"
            f"  palette: [{', '.join(map(str, palette))}],\n"
            f'  pixels: "{base64.b64encode(packed).decode("ascii")}",\n'
            f"  places: [{', '.join(map(str, numbers))}],\n"
            f'  module: "{wasm}",\n'
            "};\n")


def main():
    ap = argparse.ArgumentParser(description=__doc__)
    for part in ("page", "style", "module", "font", "icon", "out", "start-picture", "start-places",
                 "start-module"):
        ap.add_argument("--" + part, required=True)
    ap.add_argument("--licence", action="append", required=True)
    # The page's own scripts, each written where index.html names it by its file name.
    ap.add_argument("--script", action="append", required=True)
    a = ap.parse_args()

    font = base64.b64encode(woff(a.font)).decode("ascii")
    style = pathlib.Path(a.style).read_text(encoding="utf-8")
    if style.count('url(procesor-sans.ttf) format("truetype")') != 1:
        raise SystemExit(f"web_page.py: {a.style} must name procesor-sans.ttf once")
    style = style.replace('url(procesor-sans.ttf) format("truetype")',
                          'url(data:font/woff;base64,' + font + ') format("woff")')
    page = pathlib.Path(a.page).read_text(encoding="utf-8")
    icon = base64.b64encode(pathlib.Path(a.icon).read_bytes()).decode("ascii")
    parts = {
        '<link rel="icon" href="procesor.svg">':
            '<link rel="icon" href="data:image/svg+xml;base64,' + icon + '">',
        '<link rel="stylesheet" href="style.css">': "<style>\n" + style + "</style>",
        # Not run where it stands: the page runs it (procesor.js) once the start picture
        # is on the screen, so that reading it does not hold the first frame back.
        '<script src="procesor_web.js"></script>':
            '<script type="text/plain" id="procesor-module">\n' + module_text(a.module) + "</script>",
        '<pre id="licence-text" lang="en"></pre>': '<pre id="licence-text" lang="en">' + "\n\n".join(
            html.escape(pathlib.Path(f).read_text(encoding="utf-8")) for f in a.licence) + "</pre>",
    }
    scripts = {}
    for script in a.script:
        text = script_text(script)
        if pathlib.Path(script).name == "start.js":
            text = start_data(a.start_picture, a.start_places, a.start_module) + text
        scripts[f'<script src="{pathlib.Path(script).name}"></script>'] = text
    for tag in [*parts, *scripts]:
        if page.count(tag) != 1:
            raise SystemExit(f"web_page.py: {a.page} must hold {tag} exactly once")
    # Scripts that follow one another go in as one: each script element costs the
    # browser's parser a pause and a restart (in Firefox a round trip to its thread).
    # All are strict from their first line, so the one made of them is too.
    tags = "|".join(map(re.escape, scripts))
    page = re.sub(f"(?:(?:{tags})\n)+", lambda run: "<script>\n" + "".join(
        scripts[tag] if scripts[tag].endswith("\n") else scripts[tag] + "\n"
        for tag in re.findall(tags, run[0])) + "</script>\n", page)
    for tag, inline in parts.items():
        page = page.replace(tag, inline)
    out = pathlib.Path(a.out)
    out.write_text(ascii_only(page), encoding="ascii")
    print(f"{out}: {out.stat().st_size} bytes")


if __name__ == "__main__":
    main()
