#!/usr/bin/python3
"""Measures the web page: what it loads before its first frame, compressed as a web
server sends it; the time from navigation to the window's first frame in headless
Chromium against a bare page of the same size with static controls, the two taking
turns; and the time of a pick and of the calculation in the page. Prints figures and
never passes or fails on them.

    bench/web/bench_page.py [--site build/web/site] [--runs 25]
"""

import argparse
import functools
import gzip
import http.server
import os
import statistics
import sys
import tempfile
import threading

sys.path.insert(0, os.path.join(os.path.dirname(__file__), "..", "..", "tests", "web"))
import run_page  # noqa: E402  the test runner's browser over DevTools pipes

# Everything the page asks for before its first frame; the manifest's icons and the
# service worker come after it.
FIRST_FRAME = ["index.html", "vaskelo.css", "start.js", "vaskelo.js", "vaskelo.wasm",
               "fonts/VaskeloSans-Regular.woff2", "fonts/VaskeloSans-Bold.woff2", "icons/vaskelo-32.png"]

# Resolves when the window has been painted once: the frame after the one in which it showed.
FIRST_FRAME_SCRIPT = """new Promise((resolve) => {
  const shown = () => requestAnimationFrame(() => requestAnimationFrame(() => resolve(performance.now())));
  const wait = () => document.querySelector(%s) ? shown() : requestAnimationFrame(wait);
  wait();
})"""


def sizes(site):
    print("Loaded before the first frame (gzip -9, as a web server sends it):")
    total = 0
    for name in FIRST_FRAME:
        path = os.path.join(site, name)
        raw = open(path, "rb").read() if os.path.exists(path) else b""
        packed = len(gzip.compress(raw, 9, mtime=0)) if name.endswith((".html", ".css", ".js", ".wasm")) else len(raw)
        total += packed
        print(f"  {name:40} {len(raw):8} bytes, sent {packed:8} bytes{'' if raw else '  (missing)'}")
    print(f"  {'all':40} {'':8}        sent {total:8} bytes = {total / 1024:.1f} KiB (target: at most 150 KiB)")


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--site", default="build/web/site")
    parser.add_argument("--runs", type=int, default=25)
    args = parser.parse_args()
    site = os.path.abspath(args.site)
    sizes(site)

    with tempfile.TemporaryDirectory(prefix="vaskelo-bench-") as bare_dir:
        server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), functools.partial(run_page.Quiet, directory=site))
        threading.Thread(target=server.serve_forever, daemon=True).start()
        port = server.server_address[1]
        with tempfile.TemporaryDirectory(prefix="vaskelo-chromium-") as profile:
            b = run_page.Browser("/usr/bin/chromium", profile)
            target = b.send("Target.createTarget", url="about:blank")["targetId"]
            b.session = b.send("Target.attachToTarget", targetId=target, flatten=True)["sessionId"]
            b.send("Page.enable")
            b.send("Network.enable")
            b.send("Network.setCacheDisabled", cacheDisabled=True)  # every start as a first visit
            b.send("Emulation.setDeviceMetricsOverride", width=480, height=360, deviceScaleFactor=1, mobile=False)

            def evaluate(expression):
                return b.send("Runtime.evaluate", expression=expression, awaitPromise=True, returnByValue=True)["result"]["value"]

            def first_frame(url, selector):
                b.send("Page.navigate", url=url)
                return evaluate(FIRST_FRAME_SCRIPT % repr(selector))

            # The bare page: the window as the program drew it, as static HTML with the
            # same style sheet and fonts, and no script.
            first_frame(f"http://127.0.0.1:{port}/index.html", ".vaskelo-client")
            markup = evaluate("document.querySelector('.vaskelo-window').outerHTML")
            with open(os.path.join(site, "bench-bare.html"), "w", encoding="utf-8") as bare:
                bare.write('<!DOCTYPE html><html lang="tr"><head><meta charset="utf-8"><title>Vaskelo</title>'
                           '<link rel="stylesheet" href="vaskelo.css"></head><body><main>' + markup + "</main></body></html>")
            try:
                times = {"vaskelo": [], "bare": []}
                for _ in range(args.runs):
                    times["vaskelo"].append(first_frame(f"http://127.0.0.1:{port}/index.html", ".vaskelo-client"))
                    times["bare"].append(first_frame(f"http://127.0.0.1:{port}/bench-bare.html", ".vaskelo-client"))
            finally:
                os.remove(os.path.join(site, "bench-bare.html"))
            program = statistics.median(times["vaskelo"])
            bare_page = statistics.median(times["bare"])
            print(f"Navigation to first frame, median of {args.runs} each, taking turns:")
            print(f"  Vaskelo    {program:7.1f} ms")
            print(f"  bare page  {bare_page:7.1f} ms")
            print(f"  ratio      {program / bare_page:7.2f} (target: at most 1.3)")

            # A pick and a calculation, timed in the page over many (the page's clock is coarse).
            first_frame(f"http://127.0.0.1:{port}/index.html", ".vaskelo-client")
            pick = evaluate("""(() => { const f = document.querySelector('[data-control=Cr1] input'); const s = performance.now();
              for (let i = 0; i < 2000; ++i) f.dispatchEvent(new KeyboardEvent('keydown', {key: i % 20 < 10 ? 'ArrowDown' : 'ArrowUp', bubbles: true}));
              return (performance.now() - s) / 2000; })()""")
            calculate = evaluate("""(() => { const c = document.querySelector('[data-control=CommDH]'); const s = performance.now();
              for (let i = 0; i < 2000; ++i) c.click();
              return (performance.now() - s) / 2000; })()""")
            print(f"A pick (arrow key on band 1's list), mean of 2,000: {pick * 1000:.0f} µs")
            print(f"The calculation (a click on the button), mean of 2,000: {calculate * 1000:.0f} µs")
            b.process.kill()
        server.shutdown()


if __name__ == "__main__":
    main()
