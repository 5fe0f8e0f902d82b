#!/usr/bin/env python3
"""Writes the web page as one self-contained file: index.html with the style sheet,
the square-pixel font and the icon (as data: URLs), the WebAssembly module's script
and the page's own script written into it, so that it runs from disk without a
network."""
import argparse
import base64
import pathlib


def script_text(path):
    # A script element ends at the first "</script", wherever it stands.
    return pathlib.Path(path).read_text(encoding="utf-8").replace("</script", "<\\/script")


def main():
    ap = argparse.ArgumentParser(description=__doc__)
    for part in ("page", "style", "script", "explainers", "module", "font", "icon", "out"):
        ap.add_argument("--" + part, required=True)
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
        '<script src="procesor_web.js"></script>': "<script>\n" + script_text(a.module) + "</script>",
        '<script src="procesor.js"></script>': "<script>\n" + script_text(a.script) + "</script>",
        '<script src="explainers.js"></script>':
            "<script>\n" + script_text(a.explainers) + "</script>",
    }
    for tag, inline in parts.items():
        if page.count(tag) != 1:
            raise SystemExit(f"web_page.py: {a.page} must hold {tag} exactly once")
        page = page.replace(tag, inline)
    out = pathlib.Path(a.out)
    out.write_text(page, encoding="utf-8")
    print(f"{out}: {out.stat().st_size} bytes")


if __name__ == "__main__":
    main()
