#!/usr/bin/python3
"""Measures the page in headless Chromium, served from 127.0.0.1: the total
download after gzip (each file the page loads, compressed with gzip -9), and
the time to summarise sample two after load, in the worker (the engine call)
and from the press of 开始摘要 to the summary on screen: the first run and
the fastest and median of 19 more, with the load average, since other work
on the machine slows single runs. Prints a report."""
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
        # What the page, its worker and its service worker fetched, from the
        # server's log.
        wait_until(lambda: browser.evaluate(
            "navigator.serviceWorker.ready.then(r => !!r.active)"), "the service worker")
        served = server.served()
        sizes = []
        for name in sorted({urllib.parse.unquote(p).lstrip("/") or "index.html" for p in served}):
            with open(os.path.join(PAGE, name), "rb") as f:
                data = f.read()
            sizes.append((name, len(data), len(gzip.compress(data, 9))))
        first = summarise_sample_two(browser)
        later = [summarise_sample_two(browser) for _ in range(19)]
    finally:
        if browser:
            browser.close()
        server.close()

    print("Files the page loads (bytes, gzip -9):")
    for name, raw, packed in sizes:
        print(f"  {name:14} {raw:8} {packed:8}")
    total = sum(p for _, _, p in sizes)
    print(f"  {'total':14} {sum(r for _, r, _ in sizes):8} {total:8}  ({total / 1024:.0f} KB)")
    print(f"  {len(served)} requests answered for {len(sizes)} files")
    print("Sample two (例文二) in Chromium after load, ms: engine in the worker / press to screen")
    print(f"  first run:               {first['engineMs']:5.1f} / {first['totalMs']:5.1f}")
    for what, pick in (("fastest", min), ("median", statistics.median)):
        print(f"  {what} of the next 19: {pick(r['engineMs'] for r in later):5.1f} / "
              f"{pick(r['totalMs'] for r in later):5.1f}")
    print("Load average of this machine: " + " ".join(f"{x:.1f}" for x in os.getloadavg()))


if __name__ == "__main__":
    main()
