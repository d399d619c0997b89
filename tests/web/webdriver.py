"""WebKitGTK's MiniBrowser through WebKitWebDriver (classic WebDriver over HTTP), on an
X screen of its own: MiniBrowser has no headless mode. WebDriver cannot define a
function in the page before the page's scripts run, so the page's requests wait in
the queue watch.js keeps, and each next_request() takes one with an async script."""

import glob
import json
import os
import re
import signal
import subprocess
import time
import urllib.error
import urllib.request

from engine import Engine

HERE = os.path.dirname(os.path.abspath(__file__))
# libwebkit2gtk-4.1-0 brings it, in the architecture's own folder.
MINIBROWSER = next(iter(sorted(glob.glob("/usr/lib/*/webkit2gtk-4.1/MiniBrowser"))), "MiniBrowser")
SCREEN = (1280, 1024)  # Xvfb's pointer starts in its middle, and nothing moves it
# WebDriver's code points for the keys the suite presses, and for the modifiers by bit.
KEYS = {"ArrowDown": "\ue015", "ArrowUp": "\ue013", "ArrowLeft": "\ue012", "ArrowRight": "\ue014", "Enter": "\ue007",
        "Escape": "\ue00c", "Tab": "\ue004", "Home": "\ue011", "End": "\ue010", "Backspace": "\ue003",
        "Delete": "\ue017", "PageUp": "\ue00e", "PageDown": "\ue00f", **{f"F{n}": chr(0xE030 + n) for n in range(1, 13)}}
MODIFIERS = {1: "\ue00a", 2: "\ue009", 4: "\ue03d", 8: "\ue008"}
# Answers the page's last request and takes its next, or none within a few seconds so
# that what the page printed meanwhile is shown; with its faults, in one round trip. The
# queue is made here too, should this run before watch.js.
NEXT = """const [answer, done] = arguments;
const requests = (globalThis.vaskeloRequests ??= []);
globalThis.vaskeloHost ??= (text) => { requests.push(text); globalThis.vaskeloWake?.(); };
const give = () => {
    globalThis.vaskeloWake = null;
    clearTimeout(timer);
    done({request: requests.shift() ?? null, output: (globalThis.vaskeloOutput ?? []).splice(0),
          faults: (globalThis.vaskeloFaults ?? []).splice(0)});
};
const timer = setTimeout(give, 3000);
globalThis.vaskeloWake = give;
if (answer !== null) vaskeloHostReply(answer);
if (requests.length) give();"""


def _descendants(pid):
    found = [pid]
    try:
        for task in os.listdir(f"/proc/{pid}/task"):
            for child in open(f"/proc/{pid}/task/{task}/children").read().split():
                found += _descendants(int(child))
    except OSError:  # it ended meanwhile
        pass
    return found


def _name(pid):
    try:
        return open(f"/proc/{pid}/comm").read().strip()
    except OSError:
        return ""


def _listening_port(pid):
    """The port a process under pid listens on, as the OS chose it; None while there is none."""
    sockets = set()
    for each in _descendants(pid):
        try:
            for fd in os.listdir(f"/proc/{each}/fd"):
                found = re.fullmatch(r"socket:\[(\d+)\]", os.readlink(f"/proc/{each}/fd/{fd}"))
                if found:
                    sockets.add(found.group(1))
        except OSError:  # it ended meanwhile
            continue
    for line in open("/proc/net/tcp").read().splitlines()[1:]:
        fields = line.split()
        if fields[3] == "0A" and fields[9] in sockets:
            return int(fields[1].split(":")[1], 16)
    return None


class WebKit(Engine):
    name = "webkit"

    def __init__(self, binary, profile):
        self.binary = binary or MINIBROWSER
        self.profile = profile
        self.seen = []
        self.answer = None
        self.process = None
        self.scale = None
        self.inner = None  # the window's size less its viewport's

    def _start(self, scale):
        """Starts the driver on an X screen of its own; the browser's scale is GDK's, fixed
        for its life, so it starts at the first viewport the host asks for."""
        self.scale = scale
        env = dict(os.environ, GDK_SCALE=str(int(scale)), GDK_BACKEND="x11", NO_AT_BRIDGE="1",
                   **{f"XDG_{kind}_HOME": os.path.join(self.profile, kind.lower()) for kind in ("CONFIG", "CACHE", "DATA")})
        # The X screen's settings daemon switches GTK's theme, and with it the page's
        # colour scheme, while the browser runs.
        self.settings = os.path.join(self.profile, "xsettings")
        # What the driver and the browser say, shown when the page stops answering.
        self.log = os.path.join(self.profile, "webkit.log")
        self.theme("Adwaita")
        with open(self.log, "wb") as log:
            self.process = subprocess.Popen([os.path.join(HERE, "..", "..", "tools", "with-display"),
                                             "--screen", f"{SCREEN[0]}x{SCREEN[1]}x24", "sh", "-c",
                                             'xsettingsd -c "$0" 2>/dev/null & exec WebKitWebDriver -p 0', self.settings],
                                            env=env, stdout=subprocess.DEVNULL, stderr=log)
        deadline = time.monotonic() + 60
        port = None
        while time.monotonic() < deadline and self.process.poll() is None:
            port = port or _listening_port(self.process.pid)
            if port:
                self.base = f"http://127.0.0.1:{port}"
                try:
                    if self.call("GET", "/status").get("ready"):
                        break
                except (OSError, RuntimeError):
                    pass
            time.sleep(0.05)
        else:
            raise RuntimeError("WebKitWebDriver did not start")
        capabilities = {"webkitgtk:browserOptions": {"binary": self.binary, "args": ["--automation"]},
                        "timeouts": {"script": 600000, "pageLoad": 120000}}
        self.session = "/session/" + self.call("POST", "/session", {"capabilities": {"alwaysMatch": capabilities}})["sessionId"]

    def call(self, method, path, body=None):
        request = urllib.request.Request(self.base + path, method=method, headers={"Content-Type": "application/json"},
                                         data=None if body is None else json.dumps(body).encode())
        try:
            with urllib.request.urlopen(request, timeout=900) as answer:
                return json.loads(answer.read())["value"]
        except urllib.error.HTTPError as error:
            value = json.loads(error.read() or b"{}").get("value", {})
            raise RuntimeError(f"{method} {path.split('/')[-1]}: {value.get('error')} {value.get('message', '')}".rstrip())

    def send(self, method, path, body=None):
        return self.call(method, self.session + path, body)

    def script(self, body, *args, wait=False):
        return self.send("POST", "/execute/async" if wait else "/execute/sync", {"script": body, "args": list(args)})

    def open(self, url):
        if self.process is None:
            self._start(1)
        self.send("POST", "/url", {"url": url})

    def next_request(self):
        while True:
            try:
                found = self.script(NEXT, self.answer, wait=True)
            except RuntimeError as error:  # the page went, or hangs
                said = open(self.log, errors="replace").read().splitlines()[-12:]
                self.seen.append(f"the page stopped answering: {error}" + "".join("\n  webkit: " + line for line in said))
                return None
            self.answer = None
            for line in found["output"]:
                print(line, flush=True)
            self.seen += found["faults"]
            if found["request"] is not None or self.seen:
                return json.loads(found["request"]) if found["request"] is not None else None

    def reply(self, reply):
        self.answer = json.dumps(reply)  # given with the wait for the next request

    def faults(self):
        seen, self.seen = self.seen, []
        return seen

    def actions(self, *sources):
        self.send("POST", "/actions", {"actions": list(sources)})

    def click(self, x, y):
        # WebDriver's pointer moves to whole CSS pixels.
        at = {"type": "pointerMove", "x": int(x), "y": int(y), "origin": "viewport"}
        self.actions({"type": "pointer", "id": "mouse", "parameters": {"pointerType": "mouse"},
                      "actions": [at, {"type": "pointerDown", "button": 0}, {"type": "pointerUp", "button": 0}]})

    def key(self, key, modifiers):
        held = [code for bit, code in MODIFIERS.items() if modifiers & bit]
        value = KEYS.get(key, key)
        self.actions({"type": "key", "id": "keyboard", "actions": [{"type": "keyDown", "value": v} for v in held + [value]]
                      + [{"type": "keyUp", "value": v} for v in [value] + held[::-1]]})

    def type(self, text):
        if len(text) > 64:
            # WebKit types a long text a key at a time, for minutes: it goes in as an input
            # method gives it, in one piece, as Chromium's insertText does.
            self.script("document.execCommand('insertText', false, arguments[0])", text)
            return
        self.actions({"type": "key", "id": "keyboard",
                      "actions": [{"type": kind, "value": letter} for letter in text for kind in ("keyDown", "keyUp")]})

    def screenshot(self):
        # WebKit's snapshot paints what was last rendered: the page renders first, as
        # before a frame that Chromium's screenshot waits for.
        self.script("requestAnimationFrame(() => requestAnimationFrame(arguments[0]))", wait=True)
        return self.send("GET", "/screenshot")

    def evaluate(self, expression):
        # An expression's faults come back as a value; only one that does not parse as an
        # expression fails the script, and then runs as statements, for their effect.
        try:
            found = self.script("const done = arguments[0]; const failed = (error) => done({vaskeloError: String(error?.stack ?? error)});"
                                "try { Promise.resolve((\n" + expression + "\n)).then(done, failed); } catch (error) { failed(error); }",
                                wait=True)
        except RuntimeError as error:
            if "javascript error" not in str(error):
                raise
            self.script(expression)
            return None
        if isinstance(found, dict) and "vaskeloError" in found:
            raise RuntimeError(found["vaskeloError"])
        return found

    def accessible(self, selector):
        element = next(iter(self.send("POST", "/element", {"using": "css selector", "value": selector}).values()))
        return {"name": self.send("GET", f"/element/{element}/computedlabel"),
                "role": self.send("GET", f"/element/{element}/computedrole"),
                "unsupported": "WebKit's WebDriver reads back only an element's role and name"}

    def viewport(self, width, height, scale):
        if self.process is None:
            self._start(scale if scale == int(scale) else 1)
        if self.inner is None:
            self.send("POST", "/window/rect", {"width": 800, "height": 600})
            inner = self.script("return [innerWidth, innerHeight]")
            self.inner = (800 - inner[0], 600 - inner[1])
        # The X screen has no window manager: its keyboard goes to the window under its
        # pointer, which stays at the screen's middle (in device pixels).
        self.send("POST", "/window/rect", {"x": SCREEN[0] // 2 // self.scale - 20, "y": SCREEN[1] // 2 // self.scale - 20,
                                           "width": width + self.inner[0], "height": height + self.inner[1]})
        self.script("""const done = arguments[0];
            if (document.hasFocus()) return done();
            const timer = setTimeout(done, 10000);
            addEventListener('focus', () => { clearTimeout(timer); done(); }, {once: true});""", wait=True)
        # GDK scales by whole numbers only, and only from the browser's start.
        return self.script("return [innerWidth, innerHeight]") == [width, height] and scale == self.scale

    def theme(self, name):
        with open(self.settings, "w") as settings:
            settings.write(f'Net/ThemeName "{name}"\n')
        for pid in _descendants(self.process.pid) if self.process else []:
            if _name(pid) == "xsettingsd":
                os.kill(pid, signal.SIGHUP)

    def media(self, scheme, forced):
        # WebKit has no forced colours; its scheme is GTK's theme's.
        if forced:
            return False
        self.theme("Adwaita-dark" if scheme == "dark" else "Adwaita")
        return self.script("""const [dark, done] = arguments;
            const query = matchMedia('(prefers-color-scheme: dark)');
            const timer = setTimeout(() => done(false), 10000);
            if (query.matches === dark) done(true);
            else query.addEventListener('change', () => { clearTimeout(timer); done(query.matches === dark); });""",
                           scheme == "dark", wait=True)

    def close(self):
        if self.process is None:
            return
        try:
            self.send("DELETE", "")
        except (OSError, RuntimeError):
            pass
        # The driver first, then the X screen with-display started for it goes with it.
        started = _descendants(self.process.pid)
        for pid in started:
            if _name(pid) == "WebKitWebDriver":
                os.kill(pid, signal.SIGTERM)
        # The browser's helpers end on their own once it has gone; none outlives the run.
        deadline = time.monotonic() + 30
        while any(_name(pid) for pid in started[1:]) and time.monotonic() < deadline:
            time.sleep(0.05)
        for pid in started[1:]:
            if _name(pid):
                os.kill(pid, signal.SIGKILL)
        self.process.wait()
