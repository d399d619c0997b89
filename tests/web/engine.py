"""What run_page.py asks of a browser, whatever protocol drives it. Each protocol has a
module beside this one (cdp.py, bidi.py, webdriver.py) with an Engine of its own; the
host picks one by --engine and carries out the page's requests through it."""

import subprocess
import time


class Engine:
    name = ""

    def __init__(self, binary, profile):
        """Starts the browser (binary, or the engine's usual one when None), headless where
        it can, with profile as its own profile folder, and readies the test tab."""
        raise NotImplementedError

    def open(self, url):
        """The test tab navigates to url; the page can then call vaskeloHost."""
        raise NotImplementedError

    def next_request(self):
        """Blocks until the page calls vaskeloHost(json), and returns the parsed request;
        meanwhile prints what the page logs. May return None early when the page faulted:
        the host then reads faults()."""
        raise NotImplementedError

    def reply(self, reply):
        """Calls vaskeloHostReply(JSON of reply) in the page."""
        raise NotImplementedError

    def click(self, x, y):
        """Left button down and up at (x, y), CSS px of the viewport, through the
        browser's own input pipeline."""
        raise NotImplementedError

    def key(self, key, modifiers):
        """Presses and releases a key (a DOM key name: "ArrowDown", "F4", "a", " ") with
        modifiers held: 1 Alt, 2 Ctrl, 4 Meta, 8 Shift."""
        raise NotImplementedError

    def type(self, text):
        """Text as typed on a keyboard into the focused field."""
        raise NotImplementedError

    def select_all(self):
        """Ctrl+A in the focused field."""
        self.key("a", 2)

    def screenshot(self):
        """The viewport as a base64 PNG, in device pixels."""
        raise NotImplementedError

    def evaluate(self, expression):
        """A JS expression's value in the page, awaited if a promise, as JSON data."""
        raise NotImplementedError

    def accessible(self, selector):
        """{name, description, value, role, text, live} of the element as the browser's
        accessibility tree has them; None where the engine offers no such read-back."""
        return None

    def media(self, scheme, forced):
        """Emulates prefers-color-scheme (light, dark) and forced-colors; False if it cannot."""
        return False

    def viewport(self, width, height, scale):
        """Sets the CSS viewport and devicePixelRatio; False if it cannot do that scale."""
        return False

    def phone(self, width, height, scale):
        """Becomes a phone: that viewport and devicePixelRatio, a touch screen as the
        primary pointer; False if it cannot."""
        return False

    def tap(self, x, y):
        """A finger's tap at (x, y), CSS px of the viewport; False if the engine has no touch."""
        return False

    def swipe(self, x, y):
        """A finger put down at (x, y) and drawn 40 px up before it lifts."""
        return False

    def screen(self, scale):
        """Moves the window onto a screen of that scale; False if it cannot."""
        return False

    def faults(self):
        """Page faults seen since the last call: uncaught exceptions, console errors, CSP
        violations, with what watch.js recorded in the page."""
        seen, self.seen = getattr(self, "seen", []), []
        try:
            seen += self.evaluate("(globalThis.vaskeloFaults ?? []).splice(0)") or []
        except Exception as error:  # a page that cannot be asked is a fault in itself
            seen.append(f"the page could not be asked for its faults: {error}")
        return seen

    def close(self):
        """Ends the browser and everything it started."""
        raise NotImplementedError

    # Each opens the program at url in a tab of its own; None where the engine cannot.
    # They share these, over in_tab: an expression's value in one of those tabs.
    CONTROLLED = ("Promise.race([navigator.serviceWorker.ready.then(() => new Promise((kept) => navigator.serviceWorker.controller"
                  " ? kept() : navigator.serviceWorker.addEventListener('controllerchange', kept))),"
                  " new Promise((late) => setTimeout(late, 30000))])")  # until its service worker serves the page

    # Whether a window shows in the tab: the page carries a still one, hidden without scripts.
    WINDOW_SHOWN = "[...document.querySelectorAll('.vaskelo-window')].some((w) => w.checkVisibility())"

    def in_tab(self, tab, expression):
        raise NotImplementedError

    def started(self, tab):
        """Whether the program's window opened in the tab, within 30 s, taking the place of
        the still one the page carries."""
        deadline = time.monotonic() + 30
        while time.monotonic() < deadline:
            try:
                # Started, and in place of the still window the page carried: one window, live.
                if self.in_tab(tab, "document.documentElement.classList.contains('vaskelo-started')"
                                    " && document.querySelectorAll('.vaskelo-window:not(.vaskelo-still)').length === 1"
                                    " && !document.querySelector('.vaskelo-still')"):
                    return True
            except RuntimeError:  # between two documents
                pass
            time.sleep(0.05)
        return False

    def offline(self, url):
        """After one visit, opens it again with the network off: {started}."""
        return None

    def broken(self, url, how):
        """Opens it with one thing wrong (no WebAssembly, scripts off, a file missing or
        damaged): {said, window}."""
        return None

    def close_tab(self, url):
        """Closes its tab as a user does: {closed, question}."""
        return None


def end(process):
    """Waits up to 30 s for a browser asked to close to end by itself, then kills it."""
    try:
        process.wait(timeout=30)
    except subprocess.TimeoutExpired:
        process.kill()
        process.wait()
