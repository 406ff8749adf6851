"""Checks a report page: well-formed, self-contained, with its charts and tables.

Prints the count of each element it looks for; exits non-zero on a fault.
"""
import sys
from html.parser import HTMLParser

VOID = {"meta", "br", "img", "link", "input", "hr", "rect", "line", "polyline", "path"}


class Page(HTMLParser):
    def __init__(self):
        super().__init__()
        self.open, self.counts, self.faults = [], {}, []

    def handle_starttag(self, tag, attrs):
        self.counts[tag] = self.counts.get(tag, 0) + 1
        if tag == "script":
            self.faults.append("a script")
        for name, value in attrs:
            if name in ("href", "src") or (value or "").startswith(("http:", "https:", "//")):
                if name != "xmlns":
                    self.faults.append(f"a reference elsewhere: {name}={value}")
        if tag not in VOID:
            self.open.append(tag)

    def handle_startendtag(self, tag, attrs):
        self.counts[tag] = self.counts.get(tag, 0) + 1

    def handle_endtag(self, tag):
        if tag in VOID:
            return
        if not self.open or self.open[-1] != tag:
            self.faults.append(f"</{tag}> closes {self.open[-1] if self.open else 'nothing'}")
        else:
            self.open.pop()


page = Page()
with open(sys.argv[1], encoding="utf-8") as f:
    page.feed(f.read())
page.close()
if page.open:
    page.faults.append(f"left open: {page.open}")
for tag in ("svg", "table", "rect", "polyline"):
    print(tag, page.counts.get(tag, 0))
    if not page.counts.get(tag):
        page.faults.append(f"no <{tag}>")
for fault in page.faults:
    print("fault:", fault)
sys.exit(1 if page.faults else 0)
