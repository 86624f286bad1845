"""Headless Chromium driven over its DevTools protocol, and the page served
on the loopback interface: the pieces the browser test and the measuring
script share. Nothing here talks to anything but 127.0.0.1."""
import json
import os
import re
import shutil
import socket
import subprocess
import tempfile
import time
import urllib.request

import websocket

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
CHROMIUM = os.environ.get("ABRIVO_CHROMIUM", "/usr/bin/chromium")


def free_port():
    with socket.socket() as s:
        s.bind(("127.0.0.1", 0))
        return s.getsockname()[1]


def wait_until(check, what, timeout=30.0):
    end = time.monotonic() + timeout
    while time.monotonic() < end:
        value = check()
        if value:
            return value
        time.sleep(0.02)
    raise TimeoutError(f"timed out waiting for {what}")


class Server:
    """tools/serve-web.sh on a free port, stopped by close()."""

    def __init__(self):
        self.port = free_port()
        self.url = f"http://127.0.0.1:{self.port}/"
        self.log = tempfile.TemporaryFile(mode="w+")
        self.process = subprocess.Popen(
            ["bash", os.path.join(ROOT, "tools/serve-web.sh"), str(self.port)],
            stdout=subprocess.DEVNULL, stderr=self.log)
        wait_until(self._answers, "the page server")

    def _answers(self):
        try:
            with urllib.request.urlopen(self.url, timeout=1) as r:
                return r.status == 200
        except OSError:
            return False

    def served(self):
        """The paths the server answered with 200 so far."""
        self.log.seek(0)
        return re.findall(r'"GET (\S+) HTTP/[\d.]+" 200 ', self.log.read())

    def close(self):
        if self.process.poll() is None:
            self.process.terminate()
            self.process.wait(timeout=10)


class Browser:
    """One headless Chromium with one page; events are kept in self.events."""

    def __init__(self, width=800, height=620):
        self.profile = tempfile.mkdtemp(prefix="abrivo-chromium-")
        self.process = subprocess.Popen(
            [CHROMIUM, "--headless=new", "--no-sandbox", "--disable-gpu",
             "--remote-debugging-address=127.0.0.1", "--remote-debugging-port=0",
             "--no-first-run", "--no-default-browser-check", "--disable-extensions",
             "--disable-background-networking", "--disable-component-update",
             "--disable-sync", "--metrics-recording-only", "--mute-audio", "--no-pings",
             "--disable-domain-reliability", "--disable-client-side-phishing-detection",
             "--proxy-server=direct://", "--proxy-bypass-list=*",
             f"--user-data-dir={self.profile}", f"--window-size={width},{height}",
             "about:blank"],
            stdout=subprocess.DEVNULL, stderr=subprocess.PIPE, text=True)
        port = None
        for line in self.process.stderr:
            match = re.search(r"DevTools listening on ws://127\.0\.0\.1:(\d+)/", line)
            if match:
                port = match.group(1)
                break
        if port is None:
            raise RuntimeError("chromium did not start its DevTools server")
        with urllib.request.urlopen(f"http://127.0.0.1:{port}/json/list") as r:
            pages = [t for t in json.load(r) if t["type"] == "page"]
        self.ws = websocket.create_connection(pages[0]["webSocketDebuggerUrl"], timeout=60,
                                              suppress_origin=True)
        self.next_id = 0
        self.events = []
        for domain in ("Page", "Runtime", "Network"):
            self.send(f"{domain}.enable")
        self.send("Emulation.setDeviceMetricsOverride", width=width, height=height,
                  deviceScaleFactor=1, mobile=False)

    def send(self, method, **params):
        self.next_id += 1
        self.ws.send(json.dumps({"id": self.next_id, "method": method, "params": params}))
        while True:
            message = json.loads(self.ws.recv())
            if message.get("id") == self.next_id:
                if "error" in message:
                    raise RuntimeError(f"{method}: {message['error']}")
                return message.get("result", {})
            if "method" in message:
                self.events.append(message)

    def evaluate(self, expression):
        result = self.send("Runtime.evaluate", expression=expression, awaitPromise=True,
                           returnByValue=True)
        if "exceptionDetails" in result:
            raise RuntimeError(f"{expression}: {result['exceptionDetails']}")
        return result["result"].get("value")

    def open(self, url):
        self.send("Page.navigate", url=url)
        wait_until(lambda: self.evaluate("window.abrivo && window.abrivo.engine === 'ready'"),
                   "the page and its engine")

    def centre(self, element_id):
        box = self.evaluate(
            f"(() => {{ const r = document.getElementById({json.dumps(element_id)})"
            ".getBoundingClientRect(); return [r.x + r.width / 2, r.y + r.height / 2]; })()")
        return box

    def click(self, element_id):
        x, y = self.centre(element_id)
        for kind in ("mousePressed", "mouseReleased"):
            self.send("Input.dispatchMouseEvent", type=kind, x=x, y=y, button="left",
                      clickCount=1)

    def drop(self, element_id, path):
        """Drags a file from outside the browser and drops it on an element."""
        x, y = self.centre(element_id)
        data = {"items": [], "files": [path], "dragOperationsMask": 1}
        for kind in ("dragEnter", "dragOver", "drop"):
            self.send("Input.dispatchDragEvent", type=kind, x=x, y=y, data=data)

    def key(self, key, code, key_code):
        for kind in ("rawKeyDown", "keyUp"):
            self.send("Input.dispatchKeyEvent", type=kind, key=key, code=code,
                      windowsVirtualKeyCode=key_code)

    def type_into(self, element_id, text):
        """Clicks into a box, selects what it holds and types text over it."""
        self.click(element_id)
        self.evaluate(f"document.getElementById({json.dumps(element_id)}).select()")
        self.send("Input.insertText", text=text)

    def screenshot(self, path):
        import base64
        # Two animation frames: whatever the page changed last is painted.
        self.evaluate("new Promise(r => requestAnimationFrame(() => requestAnimationFrame(r)))")
        data = self.send("Page.captureScreenshot", format="png")["data"]
        with open(path, "wb") as f:
            f.write(base64.b64decode(data))

    def close(self):
        try:
            self.ws.close()
        finally:
            self.process.terminate()
            try:
                self.process.wait(timeout=10)
            except subprocess.TimeoutExpired:
                self.process.kill()
                self.process.wait()
            shutil.rmtree(self.profile, ignore_errors=True)
