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


def main():
    ap = argparse.ArgumentParser(description=__doc__)
    for part in ("page", "style", "module", "font", "icon", "out"):
        ap.add_argument("--" + part, required=True)
    ap.add_argument("--licence", action="append", required=True)
    # The page's own scripts, each written where index.html names it by its file name.
    ap.add_argument("--script", action="append", required=True)
    a = ap.parse_args()

    font = base64.b64encode(pathlib.Path(a.font).read_bytes()).decode("ascii")
    style = pathlib.Path(a.style).read_text(encoding="utf-8")
    style = style.replace("url(procesor-sans.ttf)", "url(data:font/ttf;base64," + font + ")")
    page = pathlib.Path(a.page).read_text(encoding="utf-8")
    icon = base64.b64encode(pathlib.Path(a.icon).read_bytes()).decode("ascii")
    parts = {
        '<link rel="icon" href="procesor.svg">':
            '<link rel="icon" href="data:image/svg+xml;base64,' + icon + '">',
        '<link rel="stylesheet" href="style.css">': "<style>\n" + style + "</style>",
        '<script src="procesor_web.js"></script>': "<script>\n" + module_text(a.module) + "</script>",
        '<pre id="licence-text" lang="en"></pre>': '<pre id="licence-text" lang="en">' + "\n\n".join(
            html.escape(pathlib.Path(f).read_text(encoding="utf-8")) for f in a.licence) + "</pre>",
    }
    for script in a.script:
        tag = f'<script src="{pathlib.Path(script).name}"></script>'
        parts[tag] = "<script>\n" + script_text(script) + "</script>"
    for tag, inline in parts.items():
        if page.count(tag) != 1:
            raise SystemExit(f"web_page.py: {a.page} must hold {tag} exactly once")
        page = page.replace(tag, inline)
    out = pathlib.Path(a.out)
    out.write_text(page, encoding="utf-8")
    print(f"{out}: {out.stat().st_size} bytes")


if __name__ == "__main__":
    main()
