#!/usr/bin/python3
"""Runs a test page in a headless browser of its own (--engine: Chromium through the
DevTools protocol, cdp.py; Firefox through WebDriver BiDi, bidi.py; WebKit through
WebDriver, webdriver.py) and carries out the page's requests: mouse and keys through
the browser's input pipeline, screenshots, the accessibility tree, zoom and colour
schemes, and an axe-core audit. Exits with the number of failures the page reports,
or 99 if it never reports or the page faults (an uncaught exception, a console error,
a blocked resource)."""

import argparse
import functools
import http.server
import importlib
import importlib.machinery
import importlib.util
import json
import os
import sys
import tempfile
import threading

from cdp import Browser  # noqa: F401  bench/web drives Chromium through it too


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


ENGINES = {"chromium": ("cdp", "Chromium"), "firefox": ("bidi", "Firefox"), "webkit": ("webdriver", "WebKit")}


class Host:
    """Carries out the page's requests through the engine; an op the engine cannot do is
    answered {"unsupported": why}, and the page checks the nearest thing it can."""

    def __init__(self, engine, axe, program, scale=1.0, phone=None):
        self.e = engine
        self.axe = axe
        self.program = program
        self.scale = scale
        self.phone = phone

    def viewport(self):
        """The test's own: a desktop browser's usual viewport, or a phone's touch screen."""
        if self.phone:
            return self.e.phone(*self.phone, self.scale)
        return self.e.viewport(480, 360, self.scale)

    def handle(self, request):
        op = request["op"]
        e = self.e
        done = True
        if op == "mouse":
            e.click(request["x"], request["y"])
        elif op in ("tap", "swipe"):
            done = (e.tap if op == "tap" else e.swipe)(request["x"], request["y"])
        elif op == "key":
            if request.get("commands") == ["selectAll"]:
                e.select_all()
            else:
                e.key(request["key"], request.get("modifiers", 0))
        elif op == "type":
            e.type(request["text"])
        elif op == "shot":
            return {"png": e.screenshot()}
        elif op == "ax":
            return e.accessible(request["selector"]) or {"unsupported": f"{e.name} gives no accessibility tree"}
        elif op == "media":
            done = e.media(request["scheme"], request["forced"])
        elif op == "viewport":
            done = e.viewport(request["width"], request["height"], request["scale"])
        elif op == "screen":
            # The test's own scale is emulated only on the first screen.
            done = e.screen(request["scale"]) and (request["scale"] != 1 or self.viewport())
        elif op in ("offline", "broken", "closeTab"):
            found = {"offline": lambda: e.offline(self.program), "broken": lambda: e.broken(self.program, request["how"]),
                     "closeTab": lambda: e.close_tab(self.program)}[op]()
            return found if found is not None else {"unsupported": f"{e.name}: no tab of its own is driven"}
        elif op == "audit":
            if not self.axe:
                return {"violations": "axe-core is not installed"}
            e.evaluate(self.axe + "\n;0")
            return {"violations": e.evaluate(
                "axe.run(document, {resultTypes: ['violations']}).then(r => r.violations.map(v => v.id + ': ' + "
                "v.help + ' (' + v.nodes.map(n => n.target.join(' ')).join(', ') + ')').join('\\n'))")}
        else:
            raise ValueError(f"unknown request {op}")
        return {} if done else {"unsupported": f"{e.name} cannot do {op} {json.dumps(request)}"}


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--root", required=True, help="the folder served as the site")
    parser.add_argument("--page", required=True, help="the test page's path under the root")
    parser.add_argument("--query", default="", help="the page's query string")
    parser.add_argument("--program", default="site/index.html", help="the program's page under the root")
    parser.add_argument("--scale", type=float, default=1.0)
    parser.add_argument("--phone", help="WIDTHxHEIGHT: a phone's touch screen of that many CSS pixels, at --scale")
    parser.add_argument("--axe", default="", help="axe.min.js")
    parser.add_argument("--engine", choices=ENGINES, default="chromium")
    parser.add_argument("--browser", help="the browser's program, if not the engine's usual one")
    args = parser.parse_args()

    module, kind = ENGINES[args.engine]
    engine_class = getattr(importlib.import_module(module), kind)
    server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), functools.partial(Quiet, directory=args.root))
    threading.Thread(target=server.serve_forever, daemon=True).start()
    axe = open(args.axe, encoding="utf-8").read() if args.axe and os.path.exists(args.axe) else ""  # else the audit fails
    failures, faults = 99, []
    with tempfile.TemporaryDirectory(prefix=f"vaskelo-{args.engine}-", ignore_cleanup_errors=True) as profile:
        try:
            engine = engine_class(args.browser, profile)
        except FileNotFoundError as missing:
            sys.exit(f"{args.engine} is not installed here ({missing.filename}); tools/deps.sh installs it")
        try:
            port = server.server_address[1]
            phone = tuple(map(int, args.phone.split("x"))) if args.phone else None
            host = Host(engine, axe, f"http://127.0.0.1:{port}/{args.program}", args.scale, phone)
            if not host.viewport() and phone:
                sys.exit(f"{args.engine} cannot be a phone's touch screen here")
            query = args.query
            # The random run's length, where the test run sets it as for the desktop suites.
            if os.environ.get("VASKELO_MODEL_ACTIONS") and "actions=" not in query:
                query += ("&" if query else "") + "actions=" + os.environ["VASKELO_MODEL_ACTIONS"]
            engine.open(f"http://127.0.0.1:{port}/{args.page}?{query}")
            while not faults:
                request = engine.next_request()
                faults = engine.faults()
                if faults or request is None:
                    break
                if request["op"] == "done":
                    failures = request["failures"]
                    break
                try:
                    reply = host.handle(request)
                except Exception as error:  # the page hears of it and fails the step
                    reply = {"error": f"{type(error).__name__}: {error}"}
                engine.reply(reply)
        finally:
            engine.close()
            server.shutdown()
    for fault in faults:
        print("page fault:", fault, flush=True)
    print(f"{failures} failure(s)" if failures != 99 else "the page never said it was done")
    sys.exit(min(failures, 99) if not faults else 99)


if __name__ == "__main__":
    main()
