#!/usr/bin/python3
"""tumble's web page in headless Chromium, against tumble-sim.

Serves the built page (build/web/) with the test's scripts beside it, drives
Chromium over its DevTools protocol and checks that:
  - a replayed script, named in the address or dropped onto the page, ends
    with the hash tumble-sim prints for it;
  - the canvas shows tumble-sim's frame of the same script, pixel for pixel
    outside the heads-up text (its "fps" and "replay" lines exist only in the
    window);
  - Space drops a box at the mouse and the left button drags it, and the
    session the page downloads replays in tumble-sim to the page's hash;
  - F12 offers the frame as a PNG download.
With --figures it also measures the frames a second of a few crowds.

usage: web_test.py PAGE_DIR TUMBLE_SIM [--screenshot PNG] [--figures]
"""

import argparse
import base64
import functools
import http.server
import json
import os
import shutil
import struct
import subprocess
import sys
import tempfile
import threading
import time
import urllib.request
import zlib

import websocket  # Debian: python3-websocket

HERE = os.path.dirname(os.path.abspath(__file__))
WIDTH, HEIGHT = 640, 480
# The heads-up lines at the top left ("fps : N", "e : N", "replay"): the
# window's own, or with numbers only the window has.
TEXT_BLOCK = (0, 0, 160, 64)  # left, top, right, bottom (exclusive)


class Browser:
    """One headless Chromium and a DevTools connection to its page."""

    def __init__(self):
        self.profile = tempfile.mkdtemp(prefix="tumble-chromium-")
        self.process = subprocess.Popen(
            ["chromium", "--headless", "--no-sandbox", "--disable-gpu", "--disable-quic",
             "--no-first-run", "--disable-background-networking", "--disable-component-update",
             "--disable-sync", "--disable-background-timer-throttling",
             "--disable-renderer-backgrounding", "--disable-dev-shm-usage", "--window-size=800,720",
             f"--user-data-dir={self.profile}", "--remote-debugging-port=0", "about:blank"],
            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        port = self._debugging_port()
        targets = json.load(urllib.request.urlopen(f"http://127.0.0.1:{port}/json/list"))
        page = next(t for t in targets if t["type"] == "page")
        self.socket = websocket.create_connection(page["webSocketDebuggerUrl"], timeout=60)
        self.next_id = 0
        self.console = []
        self.send("Runtime.enable")
        self.send("Page.enable")

    def _debugging_port(self):
        port_file = os.path.join(self.profile, "DevToolsActivePort")
        deadline = time.monotonic() + 30
        while time.monotonic() < deadline:
            if os.path.exists(port_file):
                with open(port_file) as lines:
                    first = lines.readline().strip()
                if first:
                    return int(first)
            time.sleep(0.1)
        raise RuntimeError("chromium did not open its debugging port")

    def send(self, method, **params):
        self.next_id += 1
        self.socket.send(json.dumps({"id": self.next_id, "method": method, "params": params}))
        while True:
            message = json.loads(self.socket.recv())
            if message.get("method") == "Runtime.consoleAPICalled":
                self.console.append(" ".join(str(a.get("value", "")) for a in
                                             message["params"]["args"]))
            if message.get("id") == self.next_id:
                if "error" in message:
                    raise RuntimeError(f"{method}: {message['error']}")
                return message["result"]

    def evaluate(self, expression):
        result = self.send("Runtime.evaluate", expression=expression, returnByValue=True,
                           awaitPromise=True)
        if "exceptionDetails" in result:
            raise RuntimeError(f"{expression}: {result['exceptionDetails']}")
        return result["result"].get("value")

    def wait_for(self, expression, seconds=60):
        deadline = time.monotonic() + seconds
        while time.monotonic() < deadline:
            try:
                value = self.evaluate(expression)
            except RuntimeError:  # the page is between two documents
                value = None
            if value:
                return value
            time.sleep(0.1)
        raise AssertionError(f"waited {seconds} s for {expression}; console: {self.console[-5:]}")

    def open(self, url):
        self.console = []
        self.send("Page.navigate", url=url)
        self.wait_for("typeof Module !== 'undefined' && Module.calledRun === true")

    def close(self):
        self.socket.close()
        self.process.terminate()
        self.process.wait()
        shutil.rmtree(self.profile, ignore_errors=True)


def serve(directory):
    """A local HTTP server for `directory` on a free port, in a thread."""
    handler = functools.partial(QuietHandler, directory=directory)
    server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), handler)
    threading.Thread(target=server.serve_forever, daemon=True).start()
    return server


class QuietHandler(http.server.SimpleHTTPRequestHandler):
    def log_message(self, *args):
        pass


def run_sim(sim, script, folder):
    result = subprocess.run([sim, "--no-times"], input=script, text=True, capture_output=True,
                            cwd=folder, check=True)
    return result.stdout


def read_png(data):
    """The pixels of an 8-bit, non-interlaced RGB or RGBA PNG as (r, g, b) rows."""
    assert data[:8] == b"\x89PNG\r\n\x1a\n", "not a PNG"
    position, idat, header = 8, b"", None
    while position < len(data):
        length, kind = struct.unpack(">I4s", data[position:position + 8])
        chunk = data[position + 8:position + 8 + length]
        position += 12 + length
        if kind == b"IHDR":
            header = struct.unpack(">IIBBBBB", chunk)
        elif kind == b"IDAT":
            idat += chunk
    width, height, depth, colour, _, _, interlace = header
    assert depth == 8 and colour in (2, 6) and interlace == 0, f"unsupported PNG {header}"
    channels = 3 if colour == 2 else 4
    stride = width * channels
    raw = zlib.decompress(idat)
    rows, previous = [], bytearray(stride)
    for y in range(height):
        kind = raw[y * (stride + 1)]
        line = bytearray(raw[y * (stride + 1) + 1:(y + 1) * (stride + 1)])
        for x in range(stride):
            left = line[x - channels] if x >= channels else 0
            up = previous[x]
            corner = previous[x - channels] if x >= channels else 0
            if kind == 1:
                line[x] = (line[x] + left) & 0xFF
            elif kind == 2:
                line[x] = (line[x] + up) & 0xFF
            elif kind == 3:
                line[x] = (line[x] + (left + up) // 2) & 0xFF
            elif kind == 4:
                p = left + up - corner
                pa, pb, pc = abs(p - left), abs(p - up), abs(p - corner)
                nearest = left if pa <= pb and pa <= pc else up if pb <= pc else corner
                line[x] = (line[x] + nearest) & 0xFF
        rows.append([tuple(line[x:x + 3]) for x in range(0, stride, channels)])
        previous = line
    return rows


def differing_pixels(a, b, outside=TEXT_BLOCK):
    """Pixels that differ, leaving out the rectangle `outside`."""
    left, top, right, bottom = outside
    count = 0
    for y in range(HEIGHT):
        for x in range(WIDTH):
            if left <= x < right and top <= y < bottom:
                continue
            count += a[y][x] != b[y][x]
    return count


def check_replay_hash(browser, base, sim, folder, name):
    with open(os.path.join(folder, name)) as script:
        expected = run_sim(sim, script.read() + "hash\n", folder).split()[-1]
    browser.open(f"{base}/index.html?replay={name}")
    shown = browser.wait_for(
        "/^[0-9a-f]{16}$/.test(document.getElementById('hash').textContent) && "
        "document.getElementById('hash').textContent")
    assert any(expected in line for line in browser.console), "the console has no hash"
    assert shown == expected, f"{name}: the page's hash {shown}, tumble-sim's {expected}"
    print(f"ok   replay {name}: hash {shown} as tumble-sim's")


def check_drop(browser, base, sim, folder, name):
    """A recording dropped onto the picture replays as ?replay= does."""
    with open(os.path.join(folder, name)) as script:
        text = script.read()
    expected = run_sim(sim, text + "hash\n", folder).split()[-1]
    browser.open(f"{base}/index.html")
    browser.evaluate(
        "(() => { const files = new DataTransfer();"
        f" files.items.add(new File([{json.dumps(text)}], 'dropped.script'));"
        " document.getElementById('screen').dispatchEvent(new DragEvent('drop',"
        " {dataTransfer: files, bubbles: true, cancelable: true})); })()")
    browser.wait_for("location.search === '?dropped'")
    shown = browser.wait_for(
        "typeof Module !== 'undefined' && Module.calledRun === true &&"
        " /^[0-9a-f]{16}$/.test(document.getElementById('hash').textContent) &&"
        " document.getElementById('hash').textContent")
    assert shown == expected, f"dropped {name}: the page's hash {shown}, tumble-sim's {expected}"
    print(f"ok   dropped {name}: hash {shown} as tumble-sim's")


def canvas_png(browser):
    url = browser.evaluate("Module.canvas.toDataURL('image/png')")
    return base64.b64decode(url.split(",", 1)[1])


def check_frame(browser, base, sim, folder, name, screenshot):
    """The script ends with `shot web-frame.png`; the page's copy goes on
    idling, so that the canvas holds still on the frame tumble-sim pictures."""
    with open(os.path.join(folder, name)) as script:
        text = script.read()
    run_sim(sim, text.replace("shot web-frame.png", "shot sim-frame.png"), folder)
    with open(os.path.join(folder, "sim-frame.png"), "rb") as png:
        expected = read_png(png.read())
    held = "held-" + name
    with open(os.path.join(folder, held), "w") as script:
        script.write(text + "idle 1000000\n")
    browser.open(f"{base}/index.html?replay={held}")
    browser.wait_for("FS.analyzePath('web-frame.png').exists")
    time.sleep(0.2)  # a few idle frames
    shown = read_png(canvas_png(browser))
    own = read_png(bytes(browser.evaluate("Array.from(FS.readFile('web-frame.png'))")))
    canvas_diff = differing_pixels(shown, expected)
    own_diff = differing_pixels(own, expected)
    assert canvas_diff == 0, f"{name}: {canvas_diff} pixels of the canvas differ from tumble-sim's"
    assert own_diff == 0, f"{name}: {own_diff} pixels of the page's shot differ from tumble-sim's"
    whole = differing_pixels(shown, expected, outside=(0, 0, 0, 0))
    print(f"ok   frame {name}: the canvas is tumble-sim's frame outside the heads-up text "
          f"({whole} pixels differ inside it)")
    if screenshot:
        # The page as it plays, the click-to-start notice gone.
        browser.evaluate("document.getElementById('start') && "
                         "document.getElementById('start').remove()")
        shot = browser.send("Page.captureScreenshot", format="png",
                            clip={"x": 0, "y": 0, "width": 672, "height": 560, "scale": 1})
        with open(screenshot, "wb") as out:
            out.write(base64.b64decode(shot["data"]))
        print(f"     page screenshot: {screenshot}")


def press_key(browser, key, code, key_code):
    for kind in ("rawKeyDown", "keyUp"):
        browser.send("Input.dispatchKeyEvent", type=kind, key=key, code=code,
                     windowsVirtualKeyCode=key_code, nativeVirtualKeyCode=key_code)
        time.sleep(0.05)


def mouse(browser, kind, x, y, button="none"):
    browser.send("Input.dispatchMouseEvent", type=kind, x=x, y=y, button=button,
                 buttons=1 if kind == "mouseMoved" and button == "left" else 0, clickCount=1)
    time.sleep(0.02)


def glide(browser, start, end, button="none"):
    for step in range(1, 11):
        mouse(browser, "mouseMoved", start[0] + (end[0] - start[0]) * step / 10,
              start[1] + (end[1] - start[1]) * step / 10, button)


def check_input(browser, base, sim, folder):
    """Space and a drag in the page, and its session replayed by tumble-sim."""
    browser.open(f"{base}/index.html")
    origin = browser.evaluate(
        "(() => { const r = Module.canvas.getBoundingClientRect(); return [r.left, r.top]; })()")
    start = browser.evaluate(
        "(() => { const r = document.getElementById('start').getBoundingClientRect();"
        " return [r.left + r.width / 2, r.top + r.height / 2]; })()")
    mouse(browser, "mousePressed", *start, "left")
    mouse(browser, "mouseReleased", *start, "left")
    browser.wait_for("document.pointerLockElement === Module.canvas", seconds=10)
    corner = (origin[0] + 20, origin[1] + 20)
    mouse(browser, "mouseMoved", *corner)
    drop = (origin[0] + 220, origin[1] + 200)
    glide(browser, corner, drop)
    time.sleep(0.2)
    press_key(browser, " ", "Space", 32)
    time.sleep(0.3)
    mouse(browser, "mousePressed", *drop, "left")
    time.sleep(0.1)
    glide(browser, drop, (drop[0] + 150, drop[1] + 60), "left")
    time.sleep(0.1)
    mouse(browser, "mouseReleased", drop[0] + 150, drop[1] + 60, "left")
    time.sleep(0.3)
    press_key(browser, "p", "KeyP", 80)
    time.sleep(0.3)
    path = browser.evaluate("Module.ccall('tumble_flush_session', 'string', [], [])")
    session = browser.evaluate(f"FS.readFile({json.dumps(path)}, {{encoding: 'utf8'}})")
    page_hash = browser.evaluate("Module.ccall('tumble_hash', 'string', [], [])")
    commands = [line.split()[0] for line in session.splitlines()
                if line and not line.startswith("#")]
    for wanted in ("mouse", "box", "grab", "release"):
        assert wanted in commands, f"the session has no {wanted}:\n{session}"
    sim_hash = run_sim(sim, session + "hash\n", folder).split()[-1]
    assert sim_hash == page_hash, f"the page's hash {page_hash}, its session's {sim_hash}"
    print(f"ok   a click held the mouse, Space dropped a box, the mouse dragged it; "
          f"the session replays to {page_hash}")

    # F12 offers the frame as a download: the page's download() records it here.
    browser.evaluate("window.download = (name, bytes) => {"
                     " window.downloaded = [name, bytes.length]; }")
    press_key(browser, "F12", "F12", 123)
    name, size = browser.wait_for("window.downloaded", seconds=10)
    assert name.startswith("tumble-") and name.endswith(".png") and size > 1000, name
    print(f"ok   F12 offered {name} ({size} bytes)")

    # Escape frees the mouse and leaves the program running.
    press_key(browser, "Escape", "Escape", 27)
    passes = browser.evaluate(
        "new Promise(done => { let passes = 0; const runIter = Browser.mainLoop.runIter;"
        " Browser.mainLoop.runIter = function (pass) { passes++; runIter.call(this, pass); };"
        " setTimeout(() => done(passes), 500); })")
    assert passes > 0, "the program stopped after Escape"
    print(f"ok   after Escape the program runs on ({passes} passes in half a second)")


def frames_per_second(browser, base, name, seconds=5):
    """Animation frames a second, and the milliseconds the program's pass
    takes in each (timed around emscripten's main-loop call)."""
    browser.open(f"{base}/index.html?replay={name}")
    browser.wait_for("/^[0-9a-f]{16}$/.test(document.getElementById('hash').textContent)")
    return browser.evaluate(
        "new Promise(done => {"
        " let busy = 0, passes = 0; const runIter = Browser.mainLoop.runIter;"
        " Browser.mainLoop.runIter = function (pass) { const t = performance.now();"
        " runIter.call(this, pass); busy += performance.now() - t; passes++; };"
        " let frames = 0; const start = performance.now();"
        " const count = now => { frames++; if (now - start < %d) requestAnimationFrame(count);"
        " else done([frames * 1000 / (now - start), busy / passes]); };"
        " requestAnimationFrame(count); })" % (seconds * 1000))


def crowd(boxes, lights, soft):
    lines = ["mouse 320 240"]
    for i in range(boxes):
        lines.append(f"box {40 + (i % 12) * 48} {40 + (i // 12) * 46}")
    for i in range(lights - 1):
        lines.append(f"light {100 + i * 200} 120")
    if soft:
        lines.append("soft on")
    lines.append("step 1")
    return "\n".join(lines) + "\n"


def report_figures(browser, base, folder):
    for name, boxes, lights, soft in (("crowd-1-hard", 100, 1, False),
                                       ("crowd-4-hard", 100, 4, False),
                                       ("crowd-4-soft", 100, 4, True)):
        with open(os.path.join(folder, name + ".script"), "w") as script:
            script.write(crowd(boxes, lights, soft))
        fps, milliseconds = frames_per_second(browser, base, name + ".script")
        print(f"     {boxes} boxes, {lights} light(s), {'soft' if soft else 'hard'}: "
              f"{fps:.1f} frames a second, {milliseconds:.1f} ms a pass")


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("page")
    parser.add_argument("sim")
    parser.add_argument("--screenshot")
    parser.add_argument("--figures", action="store_true")
    args = parser.parse_args()
    folder = tempfile.mkdtemp(prefix="tumble-web-")
    for name in ("index.html", "tumble.js", "tumble.wasm"):
        shutil.copy(os.path.join(args.page, name), folder)
    for name in os.listdir(HERE):
        if name.endswith(".script"):
            shutil.copy(os.path.join(HERE, name), folder)
    sim = os.path.abspath(args.sim)
    server = serve(folder)
    base = f"http://127.0.0.1:{server.server_address[1]}"
    browser = Browser()
    try:
        for name in sorted(os.listdir(HERE)):
            if name.startswith("replay-") and name.endswith(".script"):
                check_replay_hash(browser, base, sim, folder, name)
        check_drop(browser, base, sim, folder, "replay-crowd.script")
        check_frame(browser, base, sim, folder, "frame.script", args.screenshot)
        check_input(browser, base, sim, folder)
        if args.figures:
            report_figures(browser, base, folder)
    finally:
        browser.close()
        server.shutdown()
        shutil.rmtree(folder, ignore_errors=True)
    return 0


if __name__ == "__main__":
    sys.exit(main())
