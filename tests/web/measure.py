#!/usr/bin/python3
"""Measures the page in headless Chromium, served from 127.0.0.1: the total
download after gzip (each file the page loads, compressed with gzip -9), and
the time to summarise sample two after load, in the worker (the engine call)
and from the press of 开始摘要 to the summary on screen. Prints a report."""
import gzip
import os
import statistics
import sys
import urllib.parse

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from cdp import ROOT, Browser, Server, wait_until  # noqa: E402

PAGE = os.path.join(ROOT, "build", "web", "page")


def summarise_sample_two(browser):
    browser.click("按钮2")
    runs = browser.evaluate("window.abrivo.runs")
    browser.click("摘要")
    wait_until(lambda: browser.evaluate(f"window.abrivo.runs > {runs} && "
                                        "window.abrivo.engine === 'ready'"), "the summary")
    return browser.evaluate("window.abrivo.lastRun")


def main():
    server = Server()
    browser = None
    try:
        browser = Browser()
        browser.open(server.url)
        # What the page and its worker fetched, from the server's log.
        sizes = []
        for path in sorted(set(server.served())):
            name = urllib.parse.unquote(path).lstrip("/") or "index.html"
            with open(os.path.join(PAGE, name), "rb") as f:
                data = f.read()
            sizes.append((name, len(data), len(gzip.compress(data, 9))))
        first = summarise_sample_two(browser)
        later = [summarise_sample_two(browser) for _ in range(9)]
    finally:
        if browser:
            browser.close()
        server.close()

    print("Files the page loads (bytes, gzip -9):")
    for name, raw, packed in sizes:
        print(f"  {name:14} {raw:8} {packed:8}")
    total = sum(p for _, _, p in sizes)
    print(f"  {'total':14} {sum(r for _, r, _ in sizes):8} {total:8}  ({total / 1024:.0f} KB)")
    print("Sample two (例文二) in Chromium after load, ms: engine in the worker / press to screen")
    print(f"  first run:             {first['engineMs']:.1f} / {first['totalMs']:.1f}")
    print(f"  median of the next 9:  {statistics.median(r['engineMs'] for r in later):.1f} / "
          f"{statistics.median(r['totalMs'] for r in later):.1f}")


if __name__ == "__main__":
    main()
