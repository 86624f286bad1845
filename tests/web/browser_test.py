#!/usr/bin/python3
"""The page in headless Chromium, served from 127.0.0.1: typed headlines and
articles at a picked length give the summary, status line and keywords that
abrivo-cli gives; the page opens with the default texts, reads a GB18030
file, ignores a second start during a run and cancels a run on 清空; its
layout fits a phone's width. Writes docs/web.png.

Usage: browser_test.py ABRIVO_CLI"""
import json
import os
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from cdp import ROOT, Browser, Server, wait_until  # noqa: E402

CLI = sys.argv[1]


def sample(n, part):
    with open(os.path.join(ROOT, "samples", f"{n}-{part}.txt"), encoding="utf-8") as f:
        return f.read()


def cli_result(title, article, length):
    with tempfile.TemporaryDirectory() as work:
        paths = []
        for name, text in (("title", title), ("article", article)):
            paths.append(os.path.join(work, name + ".txt"))
            with open(paths[-1], "w", encoding="utf-8") as f:
                f.write(text)
        out = subprocess.run([CLI, "-f", "json", "-l", str(length), "--title-file", paths[0],
                              paths[1]], check=True, capture_output=True, text=True).stdout
    result = json.loads(out)
    line = result.get("keywordLine", result.get("keyword_line", result["keywords"]))
    return result["summary"], result["status"], line


def shown(browser):
    return browser.evaluate(
        "[document.getElementById('编辑框1').value, document.getElementById('标签2').textContent,"
        " document.getElementById('keywords').textContent]")


def run_typed(browser, title, article, length):
    """Types both texts, picks the length with the keyboard, presses start."""
    browser.type_into("标题框", title)
    browser.type_into("内容框", article)
    assert browser.evaluate("document.getElementById('标题框').value") == title
    assert browser.evaluate("document.getElementById('内容框').value") == article
    browser.click("组合框1")
    browser.key("Escape", "Escape", 27)  # close the list the click opened, keep the focus
    browser.evaluate("document.getElementById('组合框1').focus()")
    for _ in range(3):
        browser.key("ArrowUp", "ArrowUp", 38)
    for _ in range(length):
        browser.key("ArrowDown", "ArrowDown", 40)
    assert browser.evaluate("document.getElementById('组合框1').selectedIndex") == length
    runs = browser.evaluate("window.abrivo.runs")
    browser.click("摘要")
    wait_until(lambda: browser.evaluate(f"window.abrivo.runs > {runs} && "
                                        "window.abrivo.engine === 'ready'"), "the summary")
    return tuple(shown(browser))


def check(what, got, want):
    if got != want:
        raise AssertionError(f"{what}:\n  page: {got!r}\n  want: {want!r}")


def main():
    server = Server()
    browser = None
    try:
        browser = Browser(width=760, height=600)
        browser.open(server.url)

        # Opens with the default headline and article.
        check("default headline", browser.evaluate("document.getElementById('标题框').value"),
              sample(1, "title"))
        check("default article", browser.evaluate("document.getElementById('内容框').value"),
              sample(1, "article"))

        own_title = "岚港储能产业：增速回落后的人才之问"
        cases = [
            ("Chinese", own_title, sample(2, "article"), 1),
            ("English", sample(3, "title"), sample(3, "article"), 2),
            ("Chinese, default pair", sample(1, "title"), sample(1, "article"), 0),
        ]
        for what, title, article, length in cases:
            got = run_typed(browser, title, article, length)
            check(f"{what} at length {length}", got, cli_result(title, article, length))
            if what == "Chinese":
                browser.evaluate("(() => { const a = document.getElementById('内容框');"
                                 " a.setSelectionRange(0, 0); a.blur(); a.scrollTop = 0; })()")
                browser.screenshot(os.path.join(ROOT, "docs", "web.png"))

        # Files: a GB18030 one through the file input and a UTF-16 one dropped
        # on the article box land there whole; dropped on the headline box,
        # a file gives its first line.
        text = "储能产业的人才短板。\n𠂆字也在。"
        with tempfile.TemporaryDirectory() as work:
            gb_file = os.path.join(work, "gb.txt")
            utf16_file = os.path.join(work, "utf16.txt")
            with open(gb_file, "wb") as f:
                f.write(text.encode("gb18030"))
            with open(utf16_file, "wb") as f:
                f.write(b"\xff\xfe" + ("潮汐电站\r\n" + text).encode("utf-16-le"))
            node = browser.send("DOM.querySelector",
                                nodeId=browser.send("DOM.getDocument")["root"]["nodeId"],
                                selector="#file")["nodeId"]
            browser.send("DOM.setFileInputFiles", nodeId=node, files=[gb_file])
            wait_until(lambda: browser.evaluate("document.getElementById('内容框').value") == text,
                       "the GB18030 file's text in the article box")
            for target, want in (("标题框", "潮汐电站"), ("内容框", "潮汐电站\r\n" + text)):
                browser.drop(target, utf16_file)
                wait_until(lambda: browser.evaluate(
                    f"document.getElementById('{target}').value") == want.replace("\r\n", "\n"),
                    f"the dropped file's text in {target}")

        # A long run: progress reaches the status line, a second start is
        # ignored, and 清空 cancels the run.
        browser.evaluate(
            "(() => { const a = document.getElementById('内容框');"
            f" a.value = {json.dumps(sample(2, 'article'))}.repeat(600);"
            " window.statusSeen = [];"
            " new MutationObserver(() => window.statusSeen.push("
            "   document.getElementById('标签2').textContent))"
            "   .observe(document.getElementById('标签2'), {childList: true}); })()")
        runs, results = browser.evaluate("[window.abrivo.runs, window.abrivo.results]")
        browser.click("摘要")
        browser.click("摘要")
        check("runs started by two presses", browser.evaluate("window.abrivo.runs"), runs + 1)
        wait_until(lambda: browser.evaluate("window.abrivo.engine === 'ready'"), "the long run")
        check("results of two presses", browser.evaluate("window.abrivo.results"), results + 1)
        seen = browser.evaluate("window.statusSeen")
        assert any(t.endswith("%") for t in seen), f"no progress text in {seen}"
        browser.click("摘要")
        check("engine before 清空", browser.evaluate("window.abrivo.engine"), "running")
        browser.click("按钮1")
        check("engines started", browser.evaluate("window.abrivo.workers"), 2)
        wait_until(lambda: browser.evaluate("window.abrivo.engine === 'ready'"),
                   "a fresh engine")
        time.sleep(1)  # longer than the run: a result of the cancelled run would show by now
        check("results after 清空", browser.evaluate("window.abrivo.results"), results + 1)
        check("boxes after 清空", shown(browser), ["", "", ""])
        got = run_typed(browser, sample(3, "title"), sample(3, "article"), 0)
        check("a run after 清空", got, cli_result(sample(3, "title"), sample(3, "article"), 0))

        # A phone's screen: nothing wider than the screen, boxes full width.
        browser.send("Emulation.setDeviceMetricsOverride", width=390, height=844,
                     deviceScaleFactor=2, mobile=True)
        layout = browser.evaluate(
            "(() => { const w = document.documentElement.clientWidth;"
            " const ids = ['标题框','按钮1','组合框1','摘要','内容框','编辑框1','按钮2','按钮3','标签2'];"
            " const r = id => document.getElementById(id).getBoundingClientRect();"
            " return {width: w, scroll: document.documentElement.scrollWidth,"
            "   outside: ids.filter(id => r(id).right > w + 0.5 || r(id).left < 0),"
            "   box: r('内容框').width}; })()")
        check("phone layout: page width", layout["scroll"], layout["width"])
        check("phone layout: controls outside the screen", layout["outside"], [])
        assert layout["box"] > 0.9 * layout["width"], layout
        # Without the server the page opens from its stored files and works.
        browser.send("Emulation.clearDeviceMetricsOverride")
        wait_until(lambda: browser.evaluate(
            "navigator.serviceWorker.ready.then(r => !!r.active)"), "the page's service worker")
        server.close()
        browser.evaluate("window.before = true")
        browser.send("Page.reload")
        wait_until(lambda: browser.evaluate(
            "!window.before && window.abrivo && window.abrivo.engine === 'ready'"),
            "the page without its server")
        got = run_typed(browser, own_title, sample(2, "article"), 3)
        check("a run without the server", got, cli_result(own_title, sample(2, "article"), 3))
        # The page itself asked for nothing beyond its own server.
        urls = {e["params"]["request"]["url"] for e in browser.events
                if e["method"] == "Network.requestWillBeSent"}
        outside = sorted(u for u in urls if not u.startswith((server.url, "data:", "blob:")))
        check("requests beyond the page's server", outside, [])
        print("browser: every run in Chromium equals abrivo-cli; defaults, files opened and "
              "dropped, progress, ignored second start, cancel, phone layout and use without "
              "the server checked")
    finally:
        if browser:
            browser.close()
        server.close()


if __name__ == "__main__":
    main()
