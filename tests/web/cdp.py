"""A headless Chromium driven over its DevTools protocol: start, evaluate, navigate, press keys, touch the screen,
emulate a phone or a screen size, screenshot."""
import base64
import json
import os
import shutil
import subprocess
import tempfile
import time
import urllib.request

import websocket

# Flags for a machine without a display or a network: no sandbox as root, no GPU, no calls home.
CHROMIUM_FLAGS = [
    "--headless=new", "--no-sandbox", "--disable-gpu", "--disable-quic", "--no-first-run",
    "--disable-background-networking", "--disable-component-update", "--disable-sync",
    "--window-size=800,600",
]

# Key names as the browser's KeyboardEvent.code and key give them, with their Windows key codes.
KEYS = {
    "Space": (" ", 32), "Enter": ("Enter", 13), "Escape": ("Escape", 27), "ArrowUp": ("ArrowUp", 38),
    "ArrowDown": ("ArrowDown", 40), "ArrowLeft": ("ArrowLeft", 37), "ArrowRight": ("ArrowRight", 39),
}


class Browser:
    def __init__(self, chromium="/usr/bin/chromium"):
        self.profile = tempfile.mkdtemp(prefix="coilrun-chromium.")
        self.process = subprocess.Popen(
            [chromium, *CHROMIUM_FLAGS, "--remote-debugging-port=0", "--user-data-dir=" + self.profile,
             "about:blank"], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        port_file = os.path.join(self.profile, "DevToolsActivePort")
        deadline = time.time() + 30
        while not os.path.exists(port_file) or os.path.getsize(port_file) == 0:
            if time.time() > deadline or self.process.poll() is not None:
                raise RuntimeError("chromium did not start")
            time.sleep(0.05)
        port = open(port_file).read().split()[0]
        pages = json.load(urllib.request.urlopen("http://127.0.0.1:%s/json" % port))
        page = next(p for p in pages if p["type"] == "page")
        self.socket = websocket.create_connection(page["webSocketDebuggerUrl"], timeout=60)
        self.next_id = 0
        self.events = []
        self.call("Page.enable")
        self.call("Runtime.enable")

    def call(self, method, **params):
        self.next_id += 1
        self.socket.send(json.dumps({"id": self.next_id, "method": method, "params": params}))
        while True:
            message = json.loads(self.socket.recv())
            if message.get("id") == self.next_id:
                if "error" in message:
                    raise RuntimeError("%s: %s" % (method, message["error"]))
                return message.get("result", {})
            self.events.append(message)

    def evaluate(self, expression):
        result = self.call("Runtime.evaluate", expression=expression, returnByValue=True, awaitPromise=True)
        if "exceptionDetails" in result:
            raise RuntimeError("%s: %s" % (expression, result["exceptionDetails"]))
        return result["result"].get("value")

    def wait_for(self, expression, timeout=30, what=None):
        deadline = time.time() + timeout
        while time.time() < deadline:
            try:
                value = self.evaluate(expression)
            except RuntimeError:  # the page is not there yet
                value = None
            if value:
                return value
            time.sleep(0.05)
        raise TimeoutError("waited %d s for %s" % (timeout, what or expression))

    def navigate(self, url):
        self.events.clear()
        self.call("Page.navigate", url=url)

    def press(self, code, hold=0.12):
        key, windows_code = KEYS[code]
        common = {"code": code, "key": key, "windowsVirtualKeyCode": windows_code}
        self.call("Input.dispatchKeyEvent", type="keyDown", **common)
        time.sleep(hold)
        self.call("Input.dispatchKeyEvent", type="keyUp", **common)

    def emulate(self, width, height, scale=1, mobile=False, touch=False):
        """A viewport of width x height CSS pixels at `scale` device pixels each; a phone (mobile) honours the
        page's viewport settings, and with touch the page sees a touch screen of five points."""
        self.call("Emulation.setDeviceMetricsOverride", width=width, height=height, deviceScaleFactor=scale,
                  mobile=mobile, screenWidth=width, screenHeight=height)
        self.call("Emulation.setTouchEmulationEnabled", enabled=touch, maxTouchPoints=5 if touch else 1)

    def touch(self, points):
        """The fingers on the screen from now on, as {id: (x, y)}: new ids go down, missing ones are lifted."""
        touching = [{"x": x, "y": y, "id": i, "radiusX": 4, "radiusY": 4, "force": 1} for i, (x, y) in points.items()]
        before = getattr(self, "fingers", {})
        if touching:
            kind = "touchStart" if set(points) - set(before) else "touchMove"
            self.call("Input.dispatchTouchEvent", type=kind, touchPoints=touching)
        else:
            self.call("Input.dispatchTouchEvent", type="touchEnd", touchPoints=[])
        self.fingers = dict(points)

    def tap(self, x, y, hold=0.1):
        self.touch({0: (x, y)})
        time.sleep(hold)
        self.touch({})

    def screenshot(self, path):
        data = self.call("Page.captureScreenshot", format="png")["data"]
        with open(path, "wb") as out:
            out.write(base64.b64decode(data))

    def close(self):
        try:
            self.call("Browser.close")
        except Exception:
            pass
        try:
            self.process.wait(timeout=10)
        except subprocess.TimeoutExpired:
            self.process.kill()
        shutil.rmtree(self.profile, ignore_errors=True)
