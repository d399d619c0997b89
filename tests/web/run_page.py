#!/usr/bin/python3
"""Runs a test page in a headless Chromium of its own and carries out the page's
requests for real input through the DevTools protocol (over --remote-debugging-pipe):
mouse and keys through the browser's input pipeline, screenshots, the accessibility
tree, emulated zoom and colour schemes, and an axe-core audit. Exits with the number
of failures the page reports, or 99 if it never reports."""

import argparse
import base64
import functools
import http.server
import importlib.machinery
import importlib.util
import json
import os
import subprocess
import sys
import tempfile
import threading
import time


def _serve_web():
    """tools/serve-web, whose handler serves the site with the types a browser insists on."""
    path = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "tools", "serve-web")
    loader = importlib.machinery.SourceFileLoader("serve_web", path)
    module = importlib.util.module_from_spec(importlib.util.spec_from_loader("serve_web", loader))
    loader.exec_module(module)
    return module


class Quiet(_serve_web().Handler):
    def log_message(self, *args):  # a test page asks for a favicon it has not got
        pass


class Browser:
    def __init__(self, chromium, profile):
        read_here, write_there = os.pipe()
        read_there, write_here = os.pipe()
        self.process = subprocess.Popen(
            [chromium, "--headless", "--no-sandbox", "--disable-gpu", "--no-first-run", "--disable-background-networking",
             "--disable-component-update", "--disable-sync", "--disable-extensions", "--hide-scrollbars",
             "--font-render-hinting=none", "--disable-features=WebUIOmniboxPopup,WebUIOmniboxAimPopup",
             # Two screens side by side, the second at 1.25 times the first's scale.
             "--screen-info={0,0 1600x1200}{1600,0 2000x1500 devicePixelRatio=1.25}", "--remote-debugging-pipe", f"--user-data-dir={profile}", "about:blank"],
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
        try:
            self.process.wait(timeout=30)
        except subprocess.TimeoutExpired:
            self.process.kill()
            self.process.wait()

    def event(self):
        return self.events.pop(0) if self.events else self.message()


KEYS = {"ArrowDown": 40, "ArrowUp": 38, "ArrowLeft": 37, "ArrowRight": 39, "Enter": 13, "Escape": 27, "Tab": 9,
        "Home": 36, "End": 35, "F4": 115, "F10": 121, "Backspace": 8, " ": 32, "a": 65}
CODES = {" ": "Space", "a": "KeyA"}


class Host:
    def __init__(self, browser, axe, program, target=None, scale=1.0):
        self.b = browser
        self.axe = axe
        self.program = program
        self.target = target
        self.scale = scale

    def viewport(self, width=480, height=360, scale=None):
        self.b.send("Emulation.setDeviceMetricsOverride", width=width, height=height,
                    deviceScaleFactor=self.scale if scale is None else scale, mobile=False)

    def screen(self, scale):
        """Moves the browser's window onto the screen of that scale, as onto another
        monitor: the test's own scale is emulated only on the first."""
        window = self.b.send("Browser.getWindowForTarget", session=False, targetId=self.target)["windowId"]
        if scale != 1:
            self.b.send("Emulation.clearDeviceMetricsOverride")
        self.b.send("Browser.setWindowBounds", session=False, windowId=window, bounds={"left": 10 if scale == 1 else 1610, "top": 10})
        if scale == 1:
            self.viewport()

    def open_program(self, setup=lambda tab: None):
        """Opens the program in a tab of its own, set up first as setup(tab) says; returns
        the tab's target and session."""
        target = self.b.send("Target.createTarget", session=False, url="about:blank")["targetId"]
        tab = self.b.send("Target.attachToTarget", session=False, targetId=target, flatten=True)["sessionId"]
        self.b.send("Page.enable", session=tab)
        setup(tab)
        self.b.send("Page.navigate", session=tab, url=self.program)
        return target, tab

    def started(self, tab):
        """Whether the program's window opened in the tab, within 30 s."""
        deadline = time.monotonic() + 30
        while time.monotonic() < deadline:
            try:
                if self.b.send("Runtime.evaluate", session=tab, returnByValue=True, expression=(
                        "document.documentElement.classList.contains('vaskelo-started')"))["result"].get("value"):
                    return True
            except RuntimeError:  # between two documents
                pass
            time.sleep(0.05)
        return False

    def offline(self):
        """Visits the program once, until its service worker has taken the page, then opens
        it again with the network off; says whether it started again."""
        b = self.b
        target, tab = self.open_program()
        if not self.started(tab):
            return {"started": False, "error": "the program did not start in its tab"}
        b.send("Runtime.evaluate", session=tab, awaitPromise=True, expression=(
            "Promise.race([navigator.serviceWorker.ready.then(() => new Promise((kept) => navigator.serviceWorker.controller"
            " ? kept() : navigator.serviceWorker.addEventListener('controllerchange', kept))),"
            " new Promise((late) => setTimeout(late, 30000))])"))
        b.send("Network.enable", session=tab)
        b.send("Network.emulateNetworkConditions", session=tab, offline=True, latency=0, downloadThroughput=-1,
               uploadThroughput=-1)
        b.send("Runtime.evaluate", session=tab, expression="document.documentElement.className = ''")
        b.send("Page.reload", session=tab)
        again = self.started(tab)
        b.send("Target.closeTarget", session=False, targetId=target)
        return {"started": again}

    def broken(self, how):
        """Opens the program in a tab of its own with one thing wrong: no WebAssembly, scripts
        off, or vaskelo.js or vaskelo.wasm missing or damaged. Gives what the page then says,
        and whether a window stands in it."""
        b = self.b

        def setup(tab):
            # Past the service worker an earlier visit left, which would answer from its cache.
            b.send("Network.enable", session=tab)
            b.send("Network.setBypassServiceWorker", session=tab, bypass=True)
            if how == "no WebAssembly":
                b.send("Page.addScriptToEvaluateOnNewDocument", session=tab, source="delete globalThis.WebAssembly")
            elif how == "scripts off":
                b.send("Emulation.setScriptExecutionDisabled", session=tab, value=True)
            else:
                b.send("Fetch.enable", session=tab, patterns=[{"urlPattern": "*/" + how.split()[0]}])
        target, tab = self.open_program(setup)
        said, deadline = "", time.monotonic() + 30
        while not said and time.monotonic() < deadline:
            for event in [e for e in b.events if e.get("method") == "Fetch.requestPaused" and e.get("sessionId") == tab]:
                b.events.remove(event)
                body = base64.b64encode(b"not what it should be").decode() if how.endswith("damaged") else ""
                b.send("Fetch.fulfillRequest", session=tab, requestId=event["params"]["requestId"], body=body,
                       responseCode=200 if body else 404, responseHeaders=[{"name": "Content-Type", "value": "application/wasm"}])
            said = b.send("Runtime.evaluate", session=tab, returnByValue=True, expression=(
                "document.querySelector('.vaskelo-failed')?.textContent ?? ''"))["result"].get("value", "")
            time.sleep(0.05)
        window = b.send("Runtime.evaluate", session=tab, returnByValue=True, expression=(
            "!!document.querySelector('.vaskelo-window')"))["result"].get("value", False)
        b.send("Target.closeTarget", session=False, targetId=target)
        return {"said": said, "window": window}

    def close_tab(self):
        """Opens the program in a tab of its own and closes it as a user does; says whether
        it closed, and whether the page asked anything first."""
        b = self.b
        target, tab = self.open_program()
        if not self.started(tab):
            return {"closed": False, "question": False, "error": "the program did not start in its tab"}
        b.send("Page.close", session=tab)
        deadline = time.monotonic() + 30  # its own, whatever the start took
        while any(t["targetId"] == target for t in b.send("Target.getTargets", session=False)["targetInfos"]):
            if time.monotonic() > deadline:
                break
            time.sleep(0.05)
        question = any(e.get("method") == "Page.javascriptDialogOpening" and e.get("sessionId") == tab for e in b.events)
        closed = not any(t["targetId"] == target for t in b.send("Target.getTargets", session=False)["targetInfos"])
        return {"closed": closed, "question": question}

    def node(self, selector):
        root = self.b.send("DOM.getDocument", depth=0)["root"]["nodeId"]
        return self.b.send("DOM.querySelector", nodeId=root, selector=selector)["nodeId"]

    def handle(self, request):
        op = request["op"]
        b = self.b
        if op == "mouse":
            x, y = request["x"], request["y"]
            b.send("Input.dispatchMouseEvent", type="mouseMoved", x=x, y=y)
            b.send("Input.dispatchMouseEvent", type="mousePressed", x=x, y=y, button="left", clickCount=1)
            b.send("Input.dispatchMouseEvent", type="mouseReleased", x=x, y=y, button="left", clickCount=1)
            return {}
        if op == "key":
            key = request["key"]
            params = {"key": key, "code": CODES.get(key, key), "windowsVirtualKeyCode": KEYS.get(key, 0),
                      "modifiers": request.get("modifiers", 0)}
            if key == "Enter":
                params["text"] = "\r"
            if key == " ":
                params["text"] = " "
            if request.get("commands"):
                params["commands"] = request["commands"]
            b.send("Input.dispatchKeyEvent", type="keyDown" if "text" in params else "rawKeyDown", **params)
            b.send("Input.dispatchKeyEvent", type="keyUp", **{k: v for k, v in params.items() if k not in ("text", "commands")})
            return {}
        if op == "type":
            text = request["text"]
            if len(text) > 64:
                b.send("Input.insertText", text=text)
            else:
                for letter in text:
                    b.send("Input.dispatchKeyEvent", type="keyDown", text=letter, unmodifiedText=letter, key=letter)
                    b.send("Input.dispatchKeyEvent", type="keyUp", key=letter)
            return {}
        if op == "closeTab":
            return self.close_tab()
        if op == "offline":
            return self.offline()
        if op == "broken":
            return self.broken(request["how"])
        if op == "shot":
            return {"png": b.send("Page.captureScreenshot", format="png", fromSurface=True)["data"]}
        if op == "ax":
            tree = b.send("Accessibility.getPartialAXTree", nodeId=self.node(request["selector"]), fetchRelatives=True)["nodes"]
            target = self.b.send("DOM.describeNode", nodeId=self.node(request["selector"]))["node"]["backendNodeId"]
            me = next((n for n in tree if n.get("backendDOMNodeId") == target), {})
            value = lambda n, k: str(n.get(k, {}).get("value", "")) if isinstance(n.get(k), dict) else ""
            children = [value(n, "name") for n in tree if n.get("parentId") == me.get("nodeId")]
            live = next((p["value"]["value"] for p in me.get("properties", []) if p["name"] == "live"), "")
            return {"name": value(me, "name"), "description": value(me, "description"), "value": value(me, "value"),
                    "role": value(me, "role"), "text": "".join(children), "live": live}
        if op == "media":
            features = [{"name": "prefers-color-scheme", "value": request["scheme"]},
                        {"name": "forced-colors", "value": "active" if request["forced"] else "none"}]
            b.send("Emulation.setEmulatedMedia", media="", features=features)
            return {}
        if op == "viewport":
            self.viewport(request["width"], request["height"], request["scale"])
            return {}
        if op == "screen":
            self.screen(request["scale"])
            return {}
        if op == "audit":
            if not self.axe:
                return {"violations": "axe-core is not installed"}
            b.send("Runtime.evaluate", expression=self.axe)
            found = b.send("Runtime.evaluate", awaitPromise=True, returnByValue=True, expression=(
                "axe.run(document, {resultTypes: ['violations']}).then(r => r.violations.map(v => v.id + ': ' + "
                "v.help + ' (' + v.nodes.map(n => n.target.join(' ')).join(', ') + ')').join('\\n'))"))
            return {"violations": found["result"].get("value", "")}
        raise ValueError(f"unknown request {op}")


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--root", required=True, help="the folder served as the site")
    parser.add_argument("--page", required=True, help="the test page's path under the root")
    parser.add_argument("--query", default="", help="the page's query string")
    parser.add_argument("--program", default="site/index.html", help="the program's page under the root")
    parser.add_argument("--scale", type=float, default=1.0)
    parser.add_argument("--axe", default="", help="axe.min.js")
    parser.add_argument("--chromium", default="/usr/bin/chromium")
    args = parser.parse_args()

    server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), functools.partial(Quiet, directory=args.root))
    threading.Thread(target=server.serve_forever, daemon=True).start()
    axe = open(args.axe, encoding="utf-8").read() if args.axe and os.path.exists(args.axe) else ""  # else the audit fails
    with tempfile.TemporaryDirectory(prefix="vaskelo-chromium-", ignore_cleanup_errors=True) as profile:
        browser = Browser(args.chromium, profile)
        failures = 99
        try:
            target = browser.send("Target.createTarget", url="about:blank")["targetId"]
            browser.session = browser.send("Target.attachToTarget", targetId=target, flatten=True)["sessionId"]
            for domain in ("Page", "Runtime", "DOM", "Accessibility"):
                browser.send(f"{domain}.enable")
            browser.send("Runtime.addBinding", name="vaskeloHost")
            port = server.server_address[1]
            host = Host(browser, axe, f"http://127.0.0.1:{port}/{args.program}", target, args.scale)
            host.viewport()
            browser.send("Emulation.setFocusEmulationEnabled", enabled=True)
            browser.send("Page.navigate", url=f"http://127.0.0.1:{port}/{args.page}?{args.query}")
            while True:
                event = browser.event()
                method = event.get("method")
                params = event.get("params", {})
                if method == "Runtime.consoleAPICalled":
                    print(" ".join(str(a.get("value", a.get("description", ""))) for a in params["args"]), flush=True)
                elif method == "Runtime.exceptionThrown":
                    print("page error:", params["exceptionDetails"].get("exception", {}).get("description",
                          params["exceptionDetails"]["text"]), flush=True)
                    break
                elif method == "Runtime.bindingCalled" and params["name"] == "vaskeloHost":
                    request = json.loads(params["payload"])
                    if request["op"] == "done":
                        failures = request["failures"]
                        break
                    try:
                        reply = host.handle(request)
                    except Exception as error:  # the page hears of it and fails the step
                        reply = {"error": str(error)}
                    browser.send("Runtime.evaluate", expression=f"vaskeloHostReply({json.dumps(json.dumps(reply))})")
        finally:
            browser.close()
            server.shutdown()
    print(f"{failures} failure(s)" if failures != 99 else "the page never said it was done")
    sys.exit(min(failures, 99))


if __name__ == "__main__":
    main()
