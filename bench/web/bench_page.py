#!/usr/bin/python3
"""Measures the web page: what it loads before its first frame, compressed as a web
server sends it; the time from navigation to the window's first frame in headless
Chromium against a bare page of the same size with static controls, the two taking
turns, and to the moment the program has taken the window over; the time of a pick
and of the calculation in the page; and with --lighthouse N, the medians of N runs of
Lighthouse's mobile audit. Prints figures and never passes or fails on them.

    bench/web/bench_page.py [--site build/web/site] [--runs 25] [--server nginx|python]
                            [--lighthouse N]

The pages are served by nginx where it is installed (Debian's nginx-light), as a
static web host serves them; Python's own server answers one request at a time per
thread, slowly enough beside a busy browser on two cores to cost a page of seven
files more than a page of three.
"""

import argparse
import contextlib
import functools
import gzip
import http.server
import json
import os
import socket
import statistics
import subprocess
import sys
import tempfile
import threading
import time

sys.path.insert(0, os.path.join(os.path.dirname(__file__), "..", "..", "tests", "web"))
import run_page  # noqa: E402  the test runner's browser over DevTools pipes

# Everything the page asks for before its first frame; the manifest's icons and the
# service worker come after it.
FIRST_FRAME = ["index.html", "vaskelo.css", "start.js", "vaskelo.js", "vaskelo.wasm",
               "fonts/VaskeloSans-Regular.woff2", "fonts/VaskeloSans-Bold.woff2", "icons/vaskelo-32.png"]

# Run in every new document before its own scripts, so that no frame goes unseen:
# resolves when the window's client area has been painted once. A frame's callbacks
# run before it is drawn, so the first frame to find the window in the page draws it,
# and the next frame's callback tells that it is done; every page is timed so.
# The same for the frame that first shows the window the program has taken over. The
# browser's own paint timing gives the first frame with text or an image in it, where no
# script running after that frame can delay the figure.
FIRST_FRAME_SCRIPT = """window.vaskeloFirstFrame = new Promise((resolve) => {
  const frame = () => requestAnimationFrame(() => document.querySelector(".vaskelo-client")
    ? requestAnimationFrame(() => resolve(performance.now())) : frame());
  frame();
});
window.vaskeloContentfulPaint = new Promise((resolve) => new PerformanceObserver((list, observer) => {
  const paint = list.getEntriesByName("first-contentful-paint")[0];
  if (paint) {
    observer.disconnect();
    resolve(paint.startTime);
  }
}).observe({ type: "paint", buffered: true }));
window.vaskeloTakenOver = new Promise((resolve) => {
  const frame = () => requestAnimationFrame(() => document.documentElement.classList.contains("vaskelo-started")
    ? requestAnimationFrame(() => resolve(performance.now())) : frame());
  frame();
});"""


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


NGINX = "/usr/sbin/nginx"
NGINX_CONF = """daemon off; worker_processes 1; pid {dir}/nginx.pid; error_log {dir}/error.log;
events {{ worker_connections 64; }}
http {{
  types {{ text/html html; text/css css; text/javascript js; application/wasm wasm; font/woff2 woff2;
           image/png png; application/manifest+json webmanifest; }}
  access_log off; sendfile on; tcp_nopush on; keepalive_timeout 30;
  gzip on; gzip_comp_level 9; gzip_types text/css text/javascript application/wasm application/manifest+json;
  client_body_temp_path {dir}; proxy_temp_path {dir}; fastcgi_temp_path {dir}; uwsgi_temp_path {dir}; scgi_temp_path {dir};
  server {{ listen 127.0.0.1:{port}; root {site}; }}
}}
"""


@contextlib.contextmanager
def serving(site, kind):
    """Serves the folder on a free port of 127.0.0.1 and yields the port."""
    if kind == "nginx":
        with socket.socket() as probe:
            probe.bind(("127.0.0.1", 0))
            port = probe.getsockname()[1]
        with tempfile.TemporaryDirectory(prefix="vaskelo-nginx-") as folder:
            conf = os.path.join(folder, "nginx.conf")
            with open(conf, "w", encoding="utf-8") as out:
                out.write(NGINX_CONF.format(dir=folder, port=port, site=site))
            server = subprocess.Popen([NGINX, "-c", conf, "-p", folder], stderr=subprocess.DEVNULL)
            try:
                deadline = time.monotonic() + 30
                while True:  # until it takes connections
                    try:
                        socket.create_connection(("127.0.0.1", port), timeout=1).close()
                        break
                    except OSError:
                        if server.poll() is not None or time.monotonic() > deadline:
                            raise RuntimeError("nginx did not start")
                        time.sleep(0.05)
                yield port
            finally:
                server.terminate()
                server.wait()
        return
    server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), functools.partial(run_page.Quiet, directory=site))
    threading.Thread(target=server.serve_forever, daemon=True).start()
    try:
        yield server.server_address[1]
    finally:
        server.shutdown()


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--site", default="build/web/site")
    parser.add_argument("--runs", type=int, default=25)
    parser.add_argument("--server", choices=["nginx", "python"], default="nginx" if os.path.exists(NGINX) else "python")
    parser.add_argument("--lighthouse", type=int, default=0, help="runs of Lighthouse's mobile audit, after the rest")
    args = parser.parse_args()
    site = os.path.abspath(args.site)
    sizes(site)

    print(f"Served by {args.server}.")
    with serving(site, args.server) as port:
        with tempfile.TemporaryDirectory(prefix="vaskelo-chromium-", ignore_cleanup_errors=True) as profile:
            b = run_page.Browser("/usr/bin/chromium", profile)
            target = b.send("Target.createTarget", url="about:blank")["targetId"]
            b.session = b.send("Target.attachToTarget", targetId=target, flatten=True)["sessionId"]
            b.send("Page.enable")
            b.send("Network.enable")
            # Every start as a first visit: nothing from the HTTP cache, nor from the
            # page's service worker, which would otherwise answer from the second start on.
            b.send("Network.setCacheDisabled", cacheDisabled=True)
            b.send("Network.setBypassServiceWorker", bypass=True)
            b.send("Emulation.setDeviceMetricsOverride", width=480, height=360, deviceScaleFactor=1, mobile=False)

            def evaluate(expression):
                return b.send("Runtime.evaluate", expression=expression, awaitPromise=True, returnByValue=True)["result"]["value"]

            b.send("Page.addScriptToEvaluateOnNewDocument", source=FIRST_FRAME_SCRIPT)

            def first_frame(url):
                # Asked of the new document only once it has replaced the old one.
                loader = b.send("Page.navigate", url=url)["loaderId"]
                while True:
                    event = b.event()
                    if event.get("method") == "Page.frameNavigated" and event["params"]["frame"].get("loaderId") == loader:
                        break
                return evaluate("Promise.all([window.vaskeloFirstFrame, window.vaskeloContentfulPaint])")

            # The bare page: the window as the program drew it, as static HTML with the
            # same style sheet and fonts, and no script.
            first_frame(f"http://127.0.0.1:{port}/index.html")
            evaluate("window.vaskeloTakenOver")
            markup = evaluate("document.querySelector('.vaskelo-window').outerHTML")
            made = {"bench-bare.html": '<!DOCTYPE html><html lang="tr"><head><meta charset="utf-8"><title>Vaskelo</title>'
                    '<link rel="stylesheet" href="vaskelo.css"></head><body><main>' + markup + "</main></body></html>"}
            for name, text in made.items():
                with open(os.path.join(site, name), "w", encoding="utf-8") as out:
                    out.write(text)
            pages = {"Vaskelo": "index.html", "bare page": "bench-bare.html"}
            try:
                times = {name: [] for name in pages}
                ready = []
                for _ in range(args.runs):
                    for name, file in pages.items():
                        times[name].append(first_frame(f"http://127.0.0.1:{port}/{file}"))
                        if file == "index.html":
                            ready.append(evaluate("window.vaskeloTakenOver"))
            finally:
                for name in made:
                    os.remove(os.path.join(site, name))
            print(f"Navigation to first frame, median of {args.runs} each, taking turns:")
            for which, title in enumerate(("the next frame's callback", "first contentful paint")):
                median = {name: statistics.median(run[which] for run in runs) for name, runs in times.items()}
                print(f" by {title}:")
                for name in pages:
                    print(f"  {name:11}{median[name]:7.1f} ms  {median[name] / median['bare page']:5.2f} × the bare page")
            print(f"  Vaskelo's window taken over by the program, ready for input: {statistics.median(ready):.1f} ms")
            print("  (target: Vaskelo at most 1.1 × the bare page)")

            # A pick and a calculation, timed in the page over many (the page's clock is coarse).
            first_frame(f"http://127.0.0.1:{port}/index.html")
            evaluate("window.vaskeloTakenOver")
            pick = evaluate("""(() => { const f = document.querySelector('[data-control=Cr1] input'); const s = performance.now();
              for (let i = 0; i < 2000; ++i) f.dispatchEvent(new KeyboardEvent('keydown', {key: i % 20 < 10 ? 'ArrowDown' : 'ArrowUp', bubbles: true}));
              return (performance.now() - s) / 2000; })()""")
            calculate = evaluate("""(() => { const c = document.querySelector('[data-control=CommDH]'); const s = performance.now();
              for (let i = 0; i < 2000; ++i) c.click();
              return (performance.now() - s) / 2000; })()""")
            print(f"A pick (arrow key on band 1's list), mean of 2,000: {pick * 1000:.0f} µs")
            print(f"The calculation (a click on the button), mean of 2,000: {calculate * 1000:.0f} µs")
            b.close()
    if args.lighthouse:
        lighthouse(site, args.lighthouse)


LIGHTHOUSE = os.path.expanduser("~/.cache/vaskelo/lighthouse-12.2.3/node_modules/lighthouse/cli/index.js")


def lighthouse(site, runs):
    """Lighthouse's default mobile audit (a mid-range phone, slow 4G and a 4 times slower
    CPU, all simulated) of the site served by nginx, compressed; the medians of `runs`."""
    if not os.path.exists(LIGHTHOUSE) or not os.path.exists(NGINX):
        sys.exit(f"--lighthouse needs nginx and {LIGHTHOUSE}: npm install lighthouse@12.2.3 into that folder")
    scores = {}
    with serving(site, "nginx") as port, tempfile.TemporaryDirectory(prefix="vaskelo-lighthouse-") as folder:
        for run in range(runs):
            report = os.path.join(folder, f"{run}.json")
            subprocess.run(["node", LIGHTHOUSE, f"http://127.0.0.1:{port}/", "--quiet", "--output=json",
                            f"--output-path={report}", "--chrome-path=/usr/bin/chromium",
                            "--chrome-flags=--headless=new --no-sandbox --disable-gpu",
                            "--only-categories=performance,accessibility,best-practices,seo"], check=True)
            found = json.load(open(report, encoding="utf-8"))
            for name, category in found["categories"].items():
                scores.setdefault(category["title"], []).append(category["score"])
            for audit in ("first-contentful-paint", "largest-contentful-paint", "total-blocking-time",
                          "cumulative-layout-shift", "speed-index"):
                scores.setdefault(found["audits"][audit]["title"], []).append(found["audits"][audit]["numericValue"])
            failed = [a["id"] for a in found["audits"].values() if a.get("score") is not None and a["score"] < 1
                      and a.get("scoreDisplayMode") == "binary"]
            print(f"  run {run + 1}: audits not passed: {', '.join(failed) or 'none'}")
            if os.environ.get("VASKELO_LIGHTHOUSE_DETAILS"):
                for name in failed:
                    print(json.dumps(found["audits"][name].get("details", {}).get("items", []))[:1500])
    print(f"Lighthouse 12.2.3, mobile, median of {runs}:")
    for name, values in scores.items():
        print(f"  {name:28} {statistics.median(values):8.2f}   ({min(values):.2f} to {max(values):.2f})")


if __name__ == "__main__":
    main()
