"""Headless Chromium through its DevTools protocol, over --remote-debugging-pipe."""

import base64
import json
import os
import subprocess
import time

from engine import Engine, end

KEYS = {"ArrowDown": 40, "ArrowUp": 38, "ArrowLeft": 37, "ArrowRight": 39, "Enter": 13, "Escape": 27, "Tab": 9,
        "Home": 36, "End": 35, "F4": 115, "F10": 121, "Backspace": 8, " ": 32, "a": 65}
CODES = {" ": "Space", "a": "KeyA"}


class Browser:
    """Chromium with its DevTools protocol on a pipe; the benchmark drives it too."""

    def __init__(self, binary, profile, scale=1.0):
        read_here, write_there = os.pipe()
        read_there, write_here = os.pipe()
        self.process = subprocess.Popen(
            [binary or "/usr/bin/chromium", "--headless", "--no-sandbox", "--disable-gpu", "--no-first-run",
             "--disable-background-networking", "--disable-component-update", "--disable-sync", "--disable-extensions",
             "--hide-scrollbars", "--font-render-hinting=none", "--disable-features=WebUIOmniboxPopup,WebUIOmniboxAimPopup",
             # Two screens side by side, the first at `scale`, the second at 1.25.
             f"--screen-info={{0,0 1600x1200 devicePixelRatio={scale}}}{{1600,0 2000x1500 devicePixelRatio=1.25}}",
             "--remote-debugging-pipe",
             f"--user-data-dir={profile}", "about:blank"],
            pass_fds=(3, 4), preexec_fn=lambda: (os.dup2(read_there, 3), os.dup2(write_there, 4)),
            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        os.close(read_there)
        os.close(write_there)
        self.out = os.fdopen(write_here, "wb")
        self.into = os.fdopen(read_here, "rb")
        self.buffer = b""
        self.next_id = 0
        self.events = []
        self.session = None

    def event(self):
        return self.events.pop(0) if self.events else self.message()

    def message(self):
        while b"\0" not in self.buffer:
            chunk = os.read(self.into.fileno(), 1 << 20)
            if not chunk:
                raise EOFError("Chromium ended")
            self.buffer += chunk
        line, self.buffer = self.buffer.split(b"\0", 1)
        return json.loads(line)

    def send(self, method, session=True, **params):
        self.next_id += 1
        request = {"id": self.next_id, "method": method, "params": params}
        if isinstance(session, str):
            request["sessionId"] = session
        elif session and self.session:
            request["sessionId"] = self.session
        self.out.write(json.dumps(request).encode() + b"\0")
        self.out.flush()
        while True:
            reply = self.message()
            if reply.get("id") == self.next_id:
                if "error" in reply:
                    raise RuntimeError(f"{method}: {reply['error']}")
                return reply["result"]
            self.events.append(reply)

    def close(self):
        """Ends the browser as its own Browser.close does, so that no process of it still
        writes to the profile folder when that goes."""
        try:
            self.send("Browser.close", session=False)
        except (EOFError, OSError):
            pass
        end(self.process)


class Chromium(Browser, Engine):
    name = "chromium"

    def __init__(self, binary, profile, scale=1.0):
        super().__init__(binary, profile, scale)
        self.started_with = (binary, profile, scale)
        self.seen = []
        self.watched = set()  # the program's own tabs whose faults count
        self.target = self.send("Target.createTarget", url="about:blank")["targetId"]
        self.session = self.send("Target.attachToTarget", targetId=self.target, flatten=True)["sessionId"]
        for domain in ("Page", "Runtime", "DOM", "Accessibility", "Log"):
            self.send(f"{domain}.enable")
        self.send("Runtime.addBinding", name="vaskeloHost")
        self.send("Emulation.setFocusEmulationEnabled", enabled=True)

    def open(self, url):
        self.send("Page.navigate", url=url)

    def next_request(self):
        while True:
            event = self.event()
            method = event.get("method")
            params = event.get("params", {})
            if event.get("sessionId") != self.session and event.get("sessionId") not in self.watched:
                continue
            if method == "Runtime.consoleAPICalled":
                text = " ".join(str(a.get("value", a.get("description", ""))) for a in params["args"])
                print(text, flush=True)
                if params["type"] == "error":
                    self.seen.append(f"console.error: {text}")
            elif method == "Runtime.exceptionThrown":
                details = params["exceptionDetails"]
                self.seen.append("uncaught: " + details.get("exception", {}).get("description", details["text"]))
            elif method == "Log.entryAdded" and params["entry"]["level"] == "error":
                self.seen.append(f"{params['entry']['source']}: {params['entry']['text']} {params['entry'].get('url', '')}".rstrip())
            elif method == "Runtime.bindingCalled" and params["name"] == "vaskeloHost" and event.get("sessionId") == self.session:
                return json.loads(params["payload"])
            if self.seen:
                return None

    def reply(self, reply):
        self.send("Runtime.evaluate", expression=f"vaskeloHostReply({json.dumps(json.dumps(reply))})")

    def click(self, x, y):
        self.send("Input.dispatchMouseEvent", type="mouseMoved", x=x, y=y)
        self.send("Input.dispatchMouseEvent", type="mousePressed", x=x, y=y, button="left", clickCount=1)
        self.send("Input.dispatchMouseEvent", type="mouseReleased", x=x, y=y, button="left", clickCount=1)

    def key(self, key, modifiers, commands=None):
        params = {"key": key, "code": CODES.get(key, key), "windowsVirtualKeyCode": KEYS.get(key, 0), "modifiers": modifiers}
        if key == "Enter":
            params["text"] = "\r"
        if key == " ":
            params["text"] = " "
        if commands:
            params["commands"] = commands
        self.send("Input.dispatchKeyEvent", type="keyDown" if "text" in params else "rawKeyDown", **params)
        self.send("Input.dispatchKeyEvent", type="keyUp", **{k: v for k, v in params.items() if k not in ("text", "commands")})

    def select_all(self):
        # Chromium's headless input does not bind the editing shortcuts itself.
        self.key("a", 2, ["selectAll"])

    def type(self, text):
        if len(text) > 64:
            self.send("Input.insertText", text=text)
            return
        for letter in text:
            self.send("Input.dispatchKeyEvent", type="keyDown", text=letter, unmodifiedText=letter, key=letter)
            self.send("Input.dispatchKeyEvent", type="keyUp", key=letter)

    def screenshot(self):
        return self.send("Page.captureScreenshot", format="png", fromSurface=True)["data"]

    def evaluate(self, expression):
        found = self.send("Runtime.evaluate", awaitPromise=True, returnByValue=True, expression=expression)
        if "exceptionDetails" in found:
            raise RuntimeError(found["exceptionDetails"].get("exception", {}).get("description", "an exception"))
        return found["result"].get("value")

    def node(self, selector):
        root = self.send("DOM.getDocument", depth=0)["root"]["nodeId"]
        return self.send("DOM.querySelector", nodeId=root, selector=selector)["nodeId"]

    def accessible(self, selector):
        tree = self.send("Accessibility.getPartialAXTree", nodeId=self.node(selector), fetchRelatives=True)["nodes"]
        target = self.send("DOM.describeNode", nodeId=self.node(selector))["node"]["backendNodeId"]
        me = next((n for n in tree if n.get("backendDOMNodeId") == target), {})
        value = lambda n, k: str(n.get(k, {}).get("value", "")) if isinstance(n.get(k), dict) else ""
        children = [value(n, "name") for n in tree if n.get("parentId") == me.get("nodeId")]
        live = next((p["value"]["value"] for p in me.get("properties", []) if p["name"] == "live"), "")
        return {"name": value(me, "name"), "description": value(me, "description"), "value": value(me, "value"),
                "role": value(me, "role"), "text": "".join(children), "live": live}

    def media(self, scheme, forced):
        features = [{"name": "prefers-color-scheme", "value": scheme},
                    {"name": "forced-colors", "value": "active" if forced else "none"}]
        self.send("Emulation.setEmulatedMedia", media="", features=features)
        return True

    def viewport(self, width, height, scale):
        self.send("Emulation.setDeviceMetricsOverride", width=width, height=height, deviceScaleFactor=scale, mobile=False)
        return True

    def phone(self, width, height, scale):
        # A screen of the phone's own scale rather than an emulated one: Chromium lays out
        # in device pixels only at a screen's real scale, as a phone does.
        binary, profile, screen = self.started_with
        if scale != screen:
            self.close()
            self.__init__(binary, profile, scale)
        self.send("Emulation.setDeviceMetricsOverride", width=width, height=height, deviceScaleFactor=0, mobile=True)
        self.send("Emulation.setTouchEmulationEnabled", enabled=True, maxTouchPoints=5)
        return True

    def tap(self, x, y):
        self.send("Input.dispatchTouchEvent", type="touchStart", touchPoints=[{"x": x, "y": y}])
        self.send("Input.dispatchTouchEvent", type="touchEnd", touchPoints=[])
        return True

    def swipe(self, x, y):
        # Drawn over half a second and held still at the end, so that it flings nothing: a
        # list still scrolling by itself would take the next tap as the one that stops it.
        start = time.time()
        points = [(0, 0)] + [(0.1 * step, -10 * step) for step in range(1, 5)] + [(0.5, -40)]
        for when, dy in points:
            self.send("Input.dispatchTouchEvent", type="touchMove" if when else "touchStart",
                      touchPoints=[{"x": x, "y": y + dy}], timestamp=start + when)
        self.send("Input.dispatchTouchEvent", type="touchEnd", touchPoints=[], timestamp=start + 0.55)
        return True

    def screen(self, scale):
        """Moves the browser's window onto the screen of that scale, as onto another
        monitor; the emulated metrics are dropped there, for the screen's own."""
        window = self.send("Browser.getWindowForTarget", session=False, targetId=self.target)["windowId"]
        if scale != 1:
            self.send("Emulation.clearDeviceMetricsOverride")
        self.send("Browser.setWindowBounds", session=False, windowId=window, bounds={"left": 10 if scale == 1 else 1610, "top": 10})
        return True

    def open_program(self, url, setup=None):
        """Opens the program in a tab of its own, set up first as setup(tab) says; returns
        the tab's target and session. The program's own page faults as the test page does,
        unless it is set up to be broken."""
        target = self.send("Target.createTarget", session=False, url="about:blank")["targetId"]
        tab = self.send("Target.attachToTarget", session=False, targetId=target, flatten=True)["sessionId"]
        self.send("Page.enable", session=tab)
        if setup:
            setup(tab)
        else:
            self.watched.add(tab)
            self.send("Runtime.enable", session=tab)
            self.send("Log.enable", session=tab)
        self.send("Page.navigate", session=tab, url=url)
        return target, tab

    def in_tab(self, tab, expression):
        return self.send("Runtime.evaluate", session=tab, returnByValue=True, awaitPromise=True,
                         expression=expression)["result"].get("value")

    def offline(self, url):
        target, tab = self.open_program(url)
        if not self.started(tab):
            return {"started": False, "error": "the program did not start in its tab"}
        self.in_tab(tab, self.CONTROLLED)
        self.send("Network.enable", session=tab)
        self.send("Network.emulateNetworkConditions", session=tab, offline=True, latency=0, downloadThroughput=-1,
                  uploadThroughput=-1)
        self.send("Runtime.evaluate", session=tab, expression="document.documentElement.className = ''")
        self.send("Page.reload", session=tab)
        again = self.started(tab)
        self.send("Target.closeTarget", session=False, targetId=target)
        return {"started": again}

    def broken(self, url, how):
        def setup(tab):
            # Past the service worker an earlier visit left, which would answer from its cache.
            self.send("Network.enable", session=tab)
            self.send("Network.setBypassServiceWorker", session=tab, bypass=True)
            if how == "no WebAssembly":
                self.send("Page.addScriptToEvaluateOnNewDocument", session=tab, source="delete globalThis.WebAssembly")
            elif how == "scripts off":
                self.send("Emulation.setScriptExecutionDisabled", session=tab, value=True)
            else:
                self.send("Fetch.enable", session=tab, patterns=[{"urlPattern": "*/" + how.split()[0]}])
        target, tab = self.open_program(url, setup)
        said, deadline = "", time.monotonic() + 30
        while not said and time.monotonic() < deadline:
            for event in [e for e in self.events if e.get("method") == "Fetch.requestPaused" and e.get("sessionId") == tab]:
                self.events.remove(event)
                body = base64.b64encode(b"not what it should be").decode() if how.endswith("damaged") else ""
                self.send("Fetch.fulfillRequest", session=tab, requestId=event["params"]["requestId"], body=body,
                          responseCode=200 if body else 404, responseHeaders=[{"name": "Content-Type", "value": "application/wasm"}])
            said = self.send("Runtime.evaluate", session=tab, returnByValue=True, expression=(
                "document.querySelector('.vaskelo-failed')?.textContent ?? ''"))["result"].get("value", "")
            time.sleep(0.05)
        window = self.send("Runtime.evaluate", session=tab, returnByValue=True, expression=self.WINDOW_SHOWN)["result"].get("value", False)
        self.send("Target.closeTarget", session=False, targetId=target)
        return {"said": said, "window": window}

    def close_tab(self, url):
        target, tab = self.open_program(url)
        if not self.started(tab):
            return {"closed": False, "question": False, "error": "the program did not start in its tab"}
        self.send("Page.close", session=tab)
        deadline = time.monotonic() + 30  # its own, whatever the start took
        while any(t["targetId"] == target for t in self.send("Target.getTargets", session=False)["targetInfos"]):
            if time.monotonic() > deadline:
                break
            time.sleep(0.05)
        question = any(e.get("method") == "Page.javascriptDialogOpening" and e.get("sessionId") == tab for e in self.events)
        closed = not any(t["targetId"] == target for t in self.send("Target.getTargets", session=False)["targetInfos"])
        return {"closed": closed, "question": question}
