"""Headless Firefox through WebDriver BiDi, its built-in remote agent, over a WebSocket.
Prefs, the accessibility tree and the colour schemes are reached from the browser's own
window (started with system access), as BiDi has no commands for them."""

import base64
import json
import os
import re
import socket
import subprocess
import threading
import time

from engine import Engine, end

# WebDriver's code points for the keys the page presses.
KEYS = {"ArrowDown": "\ue015", "ArrowUp": "\ue013", "ArrowLeft": "\ue012", "ArrowRight": "\ue014", "Enter": "\ue006",
        "Escape": "\ue00c", "Tab": "\ue004", "Home": "\ue011", "End": "\ue010", "F4": "\ue034", "F10": "\ue03a",
        "Backspace": "\ue003"}
MODIFIERS = ((1, "\ue00a"), (2, "\ue009"), (4, "\ue03d"), (8, "\ue008"))  # Alt, Control, Meta, Shift

# A profile of its own that starts at once, never phones home and lets a headless
# window keep the focus.
PREFS = {
    "focusmanager.testmode": True, "remote.active-protocols": 1, "browser.shell.checkDefaultBrowser": False,
    "browser.startup.page": 0, "browser.startup.homepage_override.mstone": "ignore", "startup.homepage_welcome_url": "",
    "browser.aboutwelcome.enabled": False, "datareporting.policy.dataSubmissionEnabled": False,
    "datareporting.healthreport.uploadEnabled": False, "toolkit.telemetry.reportingpolicy.firstRun": False,
    "app.update.disabledForTesting": True, "app.update.auto": False, "extensions.update.enabled": False,
    "browser.safebrowsing.malware.enabled": False, "browser.safebrowsing.phishing.enabled": False,
    "browser.safebrowsing.downloads.enabled": False, "network.captive-portal-service.enabled": False,
    "network.connectivity-service.enabled": False, "browser.newtabpage.enabled": False, "browser.tabs.warnOnClose": False,
    "layout.css.prefers-color-scheme.content-override": 1, "ui.systemUsesDarkTheme": 0,
}


class WebSocket:
    """Just enough of RFC 6455 for one client: text messages, pings, close."""

    def __init__(self, url):
        host, port, path = re.match(r"ws://([^:/]+):(\d+)(/.*)?", url).groups()
        self.sock = socket.create_connection((host, int(port)))
        key = base64.b64encode(os.urandom(16)).decode()
        self.sock.sendall((f"GET {path or '/'} HTTP/1.1\r\nHost: {host}:{port}\r\nUpgrade: websocket\r\n"
                           f"Connection: Upgrade\r\nSec-WebSocket-Key: {key}\r\nSec-WebSocket-Version: 13\r\n\r\n").encode())
        self.buffer = b""
        while b"\r\n\r\n" not in self.buffer:
            self.buffer += self.read_some()
        head, self.buffer = self.buffer.split(b"\r\n\r\n", 1)
        if b" 101 " not in head.split(b"\r\n")[0]:
            raise ConnectionError(f"no WebSocket at {url}: {head.decode(errors='replace')}")

    def read_some(self):
        chunk = self.sock.recv(1 << 20)
        if not chunk:
            raise EOFError("Firefox ended")
        return chunk

    def take(self, n):
        while len(self.buffer) < n:
            self.buffer += self.read_some()
        taken, self.buffer = self.buffer[:n], self.buffer[n:]
        return taken

    def frame(self, opcode, payload):
        size = len(payload)
        head = bytes([0x80 | opcode]) + (bytes([0x80 | size]) if size < 126 else bytes([0xFE]) + size.to_bytes(2, "big")
                                          if size < 1 << 16 else bytes([0xFF]) + size.to_bytes(8, "big"))
        mask = os.urandom(4)
        self.sock.sendall(head + mask + bytes(b ^ mask[i % 4] for i, b in enumerate(payload)))

    def send(self, text):
        self.frame(1, text.encode())

    def receive(self):
        message = b""
        while True:
            first, second = self.take(2)
            size = second & 0x7F
            if size >= 126:
                size = int.from_bytes(self.take(2 if size == 126 else 8), "big")
            payload = self.take(size)  # a server's frames are not masked
            opcode = first & 0x0F
            if opcode == 8:
                raise EOFError("Firefox closed the connection")
            if opcode == 9:
                self.frame(10, payload)
            elif opcode in (0, 1):
                message += payload
                if first & 0x80:
                    return message.decode()


def plain(value):
    """A BiDi remote value as JSON data."""
    kind = value.get("type")
    if kind in ("string", "number", "boolean"):
        return value["value"]
    if kind == "array":
        return [plain(v) for v in value.get("value", [])]
    if kind == "object":
        return {k if isinstance(k, str) else plain(k): plain(v) for k, v in value.get("value", [])}
    return None


# In the browser's window: what its accessibility tree has for the element of that id in
# the test tab. The tree reaches the browser's process a moment after the page changed;
# the caller waits for the page's next frames first.
ACCESSIBLE = """async (id) => {
  const service = Cc["@mozilla.org/accessibilityService;1"].getService(Ci.nsIAccessibilityService);
  const find = (node) => {
    if (!node || node.id === id) return node;
    for (let child = node.firstChild; child; child = child.nextSibling) {
      const found = find(child);
      if (found) return found;
    }
    return null;
  };
  for (let tries = 0; tries < 200; ++tries) {
    const me = find(service.getAccessibleFor(gBrowser.selectedBrowser));
    if (me) {
      const texts = [];
      for (let child = me.firstChild; child; child = child.nextSibling) texts.push(child.name ?? "");
      let live = "";
      try { live = me.attributes.getStringProperty("live"); } catch {}
      return {name: me.name ?? "", description: me.description ?? "", value: me.value ?? "",
              role: service.getStringRole(me.role), text: texts.join(""), live};
    }
    await new Promise((later) => setTimeout(later, 50));
  }
  return null;
}"""


class Firefox(Engine):
    name = "firefox"

    def __init__(self, binary, profile):
        with open(os.path.join(profile, "user.js"), "w", encoding="utf-8") as prefs:
            prefs.writelines(f"user_pref({json.dumps(k)}, {json.dumps(v)});\n" for k, v in PREFS.items())
        self.process = subprocess.Popen(
            [binary or "/usr/bin/firefox-esr", "--headless", "--no-remote", "--profile", profile, "--remote-debugging-port=0",
             "--remote-allow-system-access", "about:blank"],
            stdout=subprocess.DEVNULL, stderr=subprocess.PIPE, text=True, errors="replace")
        said = []
        for line in self.process.stderr:
            said.append(line)
            found = re.search(r"WebDriver BiDi listening on (ws://\S+)", line)
            if found:
                break
        else:
            self.process.wait()
            raise RuntimeError("Firefox did not start its remote agent:\n" + "".join(said[-20:]))
        threading.Thread(target=lambda: [None for _ in self.process.stderr], daemon=True).start()
        self.ws = WebSocket(found.group(1) + "/session")
        self.next_id = 0
        self.events = []
        self.seen = []
        self.send("session.new", capabilities={})
        self.context = self.send("browsingContext.getTree", maxDepth=0)["contexts"][0]["context"]
        self.window = self.send("browsingContext.getTree", maxDepth=0, **{"moz:scope": "chrome"})["contexts"][0]["context"]
        # A headless window is never made the active one by a desktop; it is told to take
        # the focus itself, and focusmanager.testmode lets it keep it.
        self.call("window.focus(); gBrowser.selectedBrowser.focus()", self.window)
        self.send("session.subscribe", events=["script.message", "log.entryAdded"], contexts=[self.context])
        self.send("session.subscribe", events=["browsingContext.userPromptOpened", "network.beforeRequestSent"])
        self.send("script.addPreloadScript", contexts=[self.context], arguments=[{"type": "channel", "value": {"channel": "vaskelo"}}],
                  functionDeclaration="(channel) => { globalThis.vaskeloHost = (text) => channel(text); }")

    def send(self, method, **params):
        self.next_id += 1
        self.ws.send(json.dumps({"id": self.next_id, "method": method, "params": params}))
        while True:
            message = json.loads(self.ws.receive())
            if message.get("id") == self.next_id:
                if message.get("type") == "error":
                    raise RuntimeError(f"{method}: {message['error']}: {message.get('message', '')}")
                return message["result"]
            self.events.append(message)

    def call(self, expression, context=None, wait=True):
        found = self.send("script.evaluate", expression=expression, target={"context": context or self.context},
                          awaitPromise=wait, resultOwnership="none")
        if found["type"] == "exception":
            details = found["exceptionDetails"]
            raise RuntimeError(details.get("text") or json.dumps(details["exception"]))
        return plain(found["result"])

    def open(self, url):
        self.send("browsingContext.navigate", context=self.context, url=url, wait="none")

    def next_request(self):
        while True:
            event = self.events.pop(0) if self.events else json.loads(self.ws.receive())
            params = event.get("params", {})
            if event.get("method") == "script.message" and params["channel"] == "vaskelo":
                return json.loads(params["data"]["value"])
            if event.get("method") == "log.entryAdded":
                print(params.get("text"), flush=True)
                if params["level"] == "error":
                    self.seen.append(f"{params['type']}: {params.get('text')}" +
                                     "".join(f"\n  at {f.get('url')}:{f.get('lineNumber')}"
                                             for f in params.get("stackTrace", {}).get("callFrames", [])[:3]))
                    return None

    def reply(self, reply):
        self.call(f"vaskeloHostReply({json.dumps(json.dumps(reply))})", wait=False)

    def actions(self, *sources):
        self.send("input.performActions", context=self.context, actions=list(sources))

    def click(self, x, y):
        self.actions({"type": "pointer", "id": "mouse", "parameters": {"pointerType": "mouse"}, "actions": [
            {"type": "pointerMove", "x": x, "y": y, "origin": "viewport"},
            {"type": "pointerDown", "button": 0}, {"type": "pointerUp", "button": 0}]})

    def key(self, key, modifiers):
        held = [code for bit, code in MODIFIERS if modifiers & bit]
        code = KEYS.get(key, key)
        self.actions({"type": "key", "id": "keyboard", "actions": [{"type": "keyDown", "value": c} for c in held + [code]] +
                      [{"type": "keyUp", "value": c} for c in [code] + held[::-1]]})

    def type(self, text):
        if len(text) > 64:
            # As a paste or an input method puts it in at once; a key for each would take minutes.
            self.call(f"document.execCommand('insertText', false, {json.dumps(text)})")
            return
        self.actions({"type": "key", "id": "keyboard", "actions": [
            {"type": kind, "value": letter} for letter in text for kind in ("keyDown", "keyUp")]})

    def screenshot(self):
        return self.send("browsingContext.captureScreenshot", context=self.context, origin="viewport")["data"]

    def evaluate(self, expression):
        return self.call(expression)

    def accessible(self, selector):
        if not selector.startswith("#"):
            return None
        self.call("new Promise((drawn) => requestAnimationFrame(() => requestAnimationFrame(drawn)))")
        found = self.send("script.callFunction", functionDeclaration=ACCESSIBLE, awaitPromise=True, resultOwnership="none",
                          target={"context": self.window}, arguments=[{"type": "string", "value": selector[1:]}])
        if found["type"] == "exception":
            raise RuntimeError(json.dumps(found["exceptionDetails"]))
        return plain(found["result"]) or {"name": "", "description": "", "value": "", "role": "", "text": "", "live": ""}

    def media(self, scheme, forced):
        # Firefox's own settings for the pages' scheme and for "use my colours", which
        # the pages see at once as the media features' change.
        self.call(f"""Services.prefs.setIntPref("layout.css.prefers-color-scheme.content-override", {0 if scheme == "dark" else 1});
                   Services.prefs.setIntPref("browser.display.document_color_use", {2 if forced else 0});""", self.window)
        return True

    def viewport(self, width, height, scale):
        self.send("browsingContext.setViewport", context=self.context, viewport={"width": width, "height": height},
                  devicePixelRatio=scale)
        return True

    def phone(self, width, height, scale):
        # Firefox's own settings for a touch screen as the main pointer, and touch events.
        self.call("""Services.prefs.setIntPref("ui.primaryPointerCapabilities", 1);
                     Services.prefs.setIntPref("dom.w3c_touch_events.enabled", 1);""", self.window)
        return self.viewport(width, height, scale)

    def finger(self, *moves):
        self.actions({"type": "pointer", "id": "finger", "parameters": {"pointerType": "touch"}, "actions": list(moves)})

    def tap(self, x, y):
        self.finger({"type": "pointerMove", "x": round(x), "y": round(y), "origin": "viewport"},
                    {"type": "pointerDown", "button": 0}, {"type": "pointerUp", "button": 0})
        return True

    def swipe(self, x, y):
        self.finger({"type": "pointerMove", "x": round(x), "y": round(y), "origin": "viewport"}, {"type": "pointerDown", "button": 0},
                    *[{"type": "pointerMove", "x": round(x), "y": round(y) - 10 * step, "origin": "viewport", "duration": 100}
                      for step in range(1, 5)],
                    {"type": "pause", "duration": 300}, {"type": "pointerUp", "button": 0})
        return True

    def screen(self, scale):
        # No second screen in headless Firefox; the page sees a move onto one as the
        # change of devicePixelRatio (and of the resolution media feature) it makes.
        self.send("browsingContext.setViewport", context=self.context, devicePixelRatio=scale)
        return True

    def program_tab(self, url, setup=lambda tab: None):
        """Opens the program in a tab of its own behind the test's, set up first as setup(tab) says."""
        tab = self.send("browsingContext.create", type="tab", background=True)["context"]
        setup(tab)
        self.send("browsingContext.navigate", context=tab, url=url, wait="none")
        return tab

    def in_tab(self, tab, expression):
        return self.call(expression, tab)

    def offline(self, url):
        tab = self.program_tab(url)
        if not self.started(tab):
            return {"started": False, "error": "the program did not start in its tab"}
        self.call(self.CONTROLLED, tab)
        self.send("emulation.setNetworkConditions", networkConditions={"type": "offline"}, contexts=[tab])
        self.call("document.documentElement.className = ''", tab)
        self.send("browsingContext.reload", context=tab, wait="none")
        again = self.started(tab)
        self.send("browsingContext.close", context=tab)
        return {"started": again}

    def broken(self, url, how):
        # Past the service worker an earlier visit left, which would answer from its cache.
        self.call("navigator.serviceWorker.getRegistrations().then((all) => Promise.all(all.map((r) => r.unregister())))")

        def setup(tab):
            if how == "no WebAssembly":
                self.send("script.addPreloadScript", contexts=[tab], functionDeclaration="() => { delete globalThis.WebAssembly; }")
            elif how == "scripts off":  # the tab just made is the last one
                self.call("gBrowser.tabs.at(-1).linkedBrowser.browsingContext.allowJavascript = false", self.window)
            else:
                self.send("network.addIntercept", contexts=[tab], phases=["beforeRequestSent"],
                          urlPatterns=[{"type": "string", "pattern": url.rsplit("/", 1)[0] + "/" + how.split()[0]}])
        tab = self.program_tab(url, setup)
        said, deadline = "", time.monotonic() + 30
        while not said and time.monotonic() < deadline:
            for event in [e for e in self.events if e.get("method") == "network.beforeRequestSent" and e["params"]["isBlocked"]]:
                self.events.remove(event)
                body = b"not what it should be" if how.endswith("damaged") else b""
                self.send("network.provideResponse", request=event["params"]["request"]["request"],
                          statusCode=200 if body else 404, body={"type": "base64", "value": base64.b64encode(body).decode()},
                          headers=[{"name": "Content-Type", "value": {"type": "string", "value": "application/wasm"}}])
            said = self.call("document.querySelector('.vaskelo-failed')?.textContent ?? ''", tab) or ""
            time.sleep(0.05)
        window = self.call(self.WINDOW_SHOWN, tab)
        self.send("browsingContext.close", context=tab)
        return {"said": said, "window": window}

    def close_tab(self, url):
        tab = self.program_tab(url)
        if not self.started(tab):
            return {"closed": False, "question": False, "error": "the program did not start in its tab"}
        self.send("browsingContext.close", context=tab, promptUnload=True)
        question = any(e.get("method") == "browsingContext.userPromptOpened" and e["params"]["context"] == tab for e in self.events)
        closed = all(c["context"] != tab for c in self.send("browsingContext.getTree", maxDepth=0)["contexts"])
        return {"closed": closed, "question": question}

    def close(self):
        try:
            self.send("browser.close")
        except (EOFError, OSError, RuntimeError):
            pass
        end(self.process)
        self.ws.sock.close()
