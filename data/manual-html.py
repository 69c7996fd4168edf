#!/usr/bin/python3
"""Writes the user manual as one HTML page with its pictures: manual-html.py MANUAL.md OUTDIR VERSION.

Uses python3-markdown (Debian's package), with tables, fenced code and a table of contents.
The pictures the manual names (manual/NAME.png beside it) are copied beside the page.
"""
import html
import pathlib
import re
import shutil
import sys

import markdown

PAGE = """<!DOCTYPE html>
<html lang="en">
<head>
<meta charset="utf-8">
<meta name="viewport" content="width=device-width, initial-scale=1">
<title>{title}</title>
<style>
body {{ font-family: "Noto Sans", "Noto Sans CJK SC", sans-serif; max-width: 60em;
       margin: 0 auto; padding: 1em 2em; line-height: 1.5; color: #1f2a44; }}
h1, h2, h3 {{ color: #00659e; }}
img {{ max-width: 100%; border: 1px solid #ccc; }}
table {{ border-collapse: collapse; }}
th, td {{ border: 1px solid #ccc; padding: 0.2em 0.6em; vertical-align: top; }}
code, pre {{ background: #f2f4f7; }}
pre {{ padding: 0.5em; overflow-x: auto; }}
.toc {{ background: #f7f9fb; border: 1px solid #dde; padding: 0.5em 1em; }}
footer {{ margin-top: 3em; font-size: smaller; color: #667; }}
</style>
</head>
<body>
{body}
<footer>Korvane Controller {version}</footer>
</body>
</html>
"""


def main():
    if len(sys.argv) != 4:
        sys.exit("usage: manual-html.py MANUAL.md OUTDIR VERSION")
    source = pathlib.Path(sys.argv[1])
    out = pathlib.Path(sys.argv[2])
    version = sys.argv[3]
    text = source.read_text(encoding="utf-8")
    title_match = re.search(r"^# (.+)$", text, re.MULTILINE)
    title = title_match.group(1) if title_match else "Korvane Controller"
    body = markdown.markdown(text, extensions=["tables", "fenced_code", "toc"],
                             extension_configs={"toc": {"toc_depth": "2-3"}})
    out.mkdir(parents=True, exist_ok=True)
    for picture in sorted(set(re.findall(r'src="manual/([^"/]+\.png)"', body))):
        found = source.parent / "manual" / picture
        if not found.is_file():
            sys.exit(f"manual-html.py: {found} is missing")
        shutil.copyfile(found, out / picture)
    body = body.replace('src="manual/', 'src="')
    page = PAGE.format(title=html.escape(title), body=body, version=html.escape(version))
    (out / "index.html").write_text(page, encoding="utf-8")


if __name__ == "__main__":
    main()
