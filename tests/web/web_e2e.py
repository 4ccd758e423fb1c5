"""The browser build end to end in headless Chromium: a game played, quit through the dialog and its score kept
across a reload; mute and the HUD kept across a reload; the web app manifest and the service worker; both demos replayed to their recorded end;
frames and pace against the in-memory layer's; the frame's size on a large screen; a game played by touch alone
on a phone held upright and sideways; a new version replacing the kept one with the scores untouched; the game
offline; the page's weight and how soon the logo shows.

usage: web_e2e.py SITE_DIR REFERENCE_DIR DEMOS_DIR ARTIFACTS_DIR
"""
import functools
import gzip
import http.server
import json
import os
import shutil
import sys
import tempfile
import threading
import time

import cdp

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "e2e"))
from frame_checksum import checksum  # noqa: E402

KB = 1024
MAX_WEIGHT = 2 * KB * KB  # bytes, gzip-compressed
MAX_LOGO_MS = 1500
MAX_PACE_ERROR = 0.02
# Frames of a replay compared pixel for pixel: the logo, the menu's first frame and one in play.
REPLAY_FRAME = 400
# A stretch of play: at least this many frames shown at one steady rate by the in-memory layer's clock.
MIN_STRETCH = 60


failures = []


def check(ok, what):
    print(("ok   " if ok else "FAIL ") + what)
    if not ok:
        failures.append(what)


def serve(site):
    handler = functools.partial(QuietHandler, directory=site)
    server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), handler)
    threading.Thread(target=server.serve_forever, daemon=True).start()
    return server, "http://127.0.0.1:%d/" % server.server_address[1]


class QuietHandler(http.server.SimpleHTTPRequestHandler):
    extensions_map = {**http.server.SimpleHTTPRequestHandler.extensions_map,
                      ".wasm": "application/wasm", ".webmanifest": "application/manifest+json"}

    def log_message(self, *args):
        pass


def read_reference(path):
    frames = []
    for line in open(path):
        value, time_ns = line.split()
        frames.append((int(value), int(time_ns)))
    return frames


def table(browser):
    return browser.evaluate("Array.from(new Int32Array(Module.FS.readFile('/play/SCORE.DAT').slice(16, 36).buffer))")


def weight(site):
    total = 0
    for folder, _, names in os.walk(site):
        if os.path.relpath(folder, site).startswith("demos"):
            continue
        for name in names:
            with open(os.path.join(folder, name), "rb") as f:
                total += len(gzip.compress(f.read(), 9))
    return total


def play_and_keep_score(browser, url, reference, artifacts):
    browser.call("Network.enable")
    browser.navigate(url)
    logo_ms = browser.wait_for("coilrun.logoAt", 30, "the logo")
    browser.evaluate("1")  # the events so far
    failed = ["%s %d" % (e["params"]["response"]["url"], e["params"]["response"]["status"]) for e in browser.events
              if e.get("method") == "Network.responseReceived" and e["params"]["response"]["status"] >= 400]
    check(not failed, "a first visit asks for nothing that is not there %s" % failed)
    browser.call("Network.disable")
    check(table(browser) == [0] * 5, "a first visit starts with an empty table")
    logo = checksum(browser.evaluate("coilrun.frame()"))
    check(logo == reference[0][0], "the logo matches the in-memory layer's pixel for pixel")
    browser.screenshot(os.path.join(artifacts, "web-logo.png"))
    browser.press("Space")
    # The menu draws itself every 50 ms: once the fade is over, its frame stands still.
    known = {value for value, _ in reference}
    menu = browser.wait_for("(f => f && coilrun.flips > 40 && f)(coilrun.frame())", 30, "the menu")
    check(checksum(menu) in known, "the menu matches the in-memory layer's pixel for pixel")
    browser.screenshot(os.path.join(artifacts, "web-menu.png"))
    # A listener after the game's sees whether the game kept each key from the browser.
    browser.evaluate("coilrun.kept = {}; addEventListener('keydown', e => { coilrun.kept[e.code] = e.defaultPrevented; })")
    browser.press("Enter")  # PLAY
    time.sleep(1.0)
    browser.press("Space")  # past the stage's intro
    time.sleep(1.5)
    for key in ("ArrowLeft", "ArrowUp", "ArrowDown", "Space"):
        browser.press(key, hold=0.2)
    kept = browser.evaluate("coilrun.kept")
    check(all(kept.get(key) for key in ("ArrowLeft", "ArrowUp", "ArrowDown", "Space")),
          "arrows and space never scroll the page: %s" % kept)
    browser.screenshot(os.path.join(artifacts, "web-play.png"))
    browser.press("Escape")  # the pause dialog, quit marked first
    time.sleep(0.5)
    browser.screenshot(os.path.join(artifacts, "web-pause.png"))
    browser.press("Enter")
    browser.wait_for("coilrun.scoreSaves >= 1", 30, "the score stored")
    time.sleep(1.0)
    browser.screenshot(os.path.join(artifacts, "web-high-scores.png"))
    kept = table(browser)
    check(kept[0] > 0 and kept[1:] == [0] * 4, "the game's score %d is first in the table" % kept[0])
    check(browser.evaluate("coilrun.effectsStarted") > 0, "effects play once a key has started the audio")
    browser.call("Page.reload")
    reload_ms = browser.wait_for("coilrun.logoAt", 30, "the logo after a reload")
    check(table(browser) == kept, "the table is kept across a reload")
    return logo_ms, reload_ms


def keep_mute_and_hud(browser, url):
    """Mute (F8 in the game) and the HUD (the page's address, ?hud=1) are stored in the page's storage and
    kept when the page is opened again at its plain address."""
    cdp.KEYS.setdefault("F8", ("F8", 119))
    browser.navigate(url + "?hud=1")
    browser.wait_for("coilrun.logoAt", 30, "the logo")
    check(not browser.evaluate("coilrun.soundLevel.muted"), "a first visit plays its sound")
    browser.press("F8")
    browser.wait_for("coilrun.soundLevel.muted", 10, "F8 muting the sound")
    check(browser.evaluate("document.title").endswith(" - sound off"), "F8 is told in the page's title")
    browser.press("Space")  # the logo ends, and what changed on it is stored
    browser.wait_for("coilrun.settingsSaves >= 1", 30, "the settings stored")
    browser.navigate(url)
    browser.wait_for("coilrun.logoAt", 30, "the logo at the plain address")
    stored = browser.evaluate("localStorage.getItem('coilrun-settings')") or ""
    kept = "\nhud = yes\n" in stored and "\nmute = yes\n" in stored
    check(kept, "mute and the HUD are stored" + ("" if kept else ": %r" % stored))
    check(browser.evaluate("coilrun.soundLevel.muted"), "the sound is still muted after a reload")
    # The tests after this one play with the default settings.
    browser.evaluate("localStorage.removeItem('coilrun-settings')")


def installable(browser, url):
    """The web app manifest parses, with its icons; the favicon is there; after a reload a service worker
    controls the page and keeps every file of the site."""
    browser.navigate(url)
    browser.wait_for("coilrun.logoAt", 30, "the logo")
    manifest = browser.call("Page.getAppManifest")
    check(not manifest.get("errors"), "the web app manifest parses %s" % manifest.get("errors"))
    data = json.loads(manifest.get("data") or "{}")
    check(data.get("display") == "fullscreen" and data.get("orientation") == "landscape" and data.get("name"),
          "the manifest names the game, full screen and landscape")
    sizes = browser.evaluate("""Promise.all(%s.map(async icon => {
        const picture = new Image();
        picture.src = icon.src;
        await picture.decode();
        return picture.naturalWidth + 'x' + picture.naturalHeight + (icon.sizes === 'any' ? '' : '=' + icon.sizes); }))"""
                             % json.dumps(data.get("icons", [])))
    check(all("=" not in size or size.split("=")[0] == size.split("=")[1] for size in sizes)
          and any(size.startswith("512x512") for size in sizes), "the manifest's icons are as large as it says: %s" % sizes)
    favicon = browser.evaluate("fetch('favicon.ico').then(r => r.ok && r.headers.get('content-type'))")
    check(bool(favicon) and "html" not in favicon, "the favicon is there (%s)" % favicon)
    browser.wait_for("navigator.serviceWorker.ready.then(r => !!r.active)", 60, "the service worker")
    browser.call("Page.reload")
    browser.wait_for("coilrun.logoAt", 30, "the logo after a reload")
    check(browser.evaluate("!!navigator.serviceWorker.controller"), "a service worker controls the page after a reload")
    kept = browser.evaluate("caches.keys().then(names => Promise.all(names.map(n => caches.open(n).then(c => c.keys()))))"
                            ".then(lists => lists.map(list => list.length))")
    files = len(browser.evaluate("fetch('data/files.json').then(r => r.json()).then(m => m.files)"))
    check(len(kept) == 1 and kept[0] > files, "one version of the site is kept: %s files, %d of them data" % (kept, files))


def frame_rect(browser):
    return browser.evaluate("(r => [r.left, r.top, r.width, r.height])(document.getElementById('screen').getBoundingClientRect())")


def big_screen(browser, url, artifacts):
    """At 1280x720 the frame is 960x720: enlarged by the whole factor 1, then smoothly by the rest; at
    1920x1440 by the whole factor 3 alone."""
    browser.emulate(1280, 720)
    browser.navigate(url)
    browser.wait_for("coilrun.logoAt", 30, "the logo at 1280x720")
    rect = frame_rect(browser)
    canvas = browser.evaluate("[document.getElementById('screen').width, document.getElementById('screen').height]")
    check(rect[2:] == [960, 720] and canvas == [640, 480],
          "at 1280x720 the frame is %dx%d from %dx%d crisp pixels" % (rect[2], rect[3], canvas[0], canvas[1]))
    browser.screenshot(os.path.join(artifacts, "web-1280x720.png"))
    browser.emulate(1920, 1440)
    time.sleep(0.3)
    rect = frame_rect(browser)
    canvas = browser.evaluate("document.getElementById('screen').width")
    check(rect[2:] == [1920, 1440] and canvas == 1920, "at 1920x1440 the frame is %dx%d, all of it crisp (%d)"
          % (rect[2], rect[3], canvas))


def wait_still(browser, what, timeout=30, still=0.7):
    """Waits until the game presents nothing for `still` seconds: a screen waiting for a key."""
    deadline = time.time() + timeout
    last = browser.evaluate("coilrun.flips")
    since = time.time()
    while time.time() < deadline:
        time.sleep(0.1)
        flips = browser.evaluate("coilrun.flips")
        if flips != last:
            last, since = flips, time.time()
        elif time.time() - since >= still:
            return
    raise TimeoutError("waited %d s for %s" % (timeout, what))


def controls(browser):
    """The middle of each touch control, by the key it holds."""
    return browser.evaluate("""Object.fromEntries(Array.from(document.querySelectorAll('[data-key]'), c =>
        (r => [c.dataset.key, [r.left + r.width / 2, r.top + r.height / 2]])(c.getBoundingClientRect())))""")


def check_layout(browser, name, expected):
    view = browser.evaluate("[innerWidth, innerHeight, document.documentElement.scrollWidth,"
                            " document.documentElement.scrollHeight, visualViewport.scale]")
    check(view[2:4] == view[0:2], "%s: the page is as large as the screen, no larger %s" % (name, view))
    rect = frame_rect(browser)
    crisp = browser.evaluate("[document.getElementById('screen').width, document.getElementById('screen').height]")
    check(rect[2:] == expected, "%s: the frame is %dx%d, from %dx%d crisp pixels" % (name, rect[2], rect[3], *crisp))
    boxes = browser.evaluate("Array.from(document.querySelectorAll('.key'), c =>"
                             " (r => [r.left, r.top, r.right, r.bottom])(c.getBoundingClientRect())).filter(b => b[2] > b[0])")
    inside = all(0 <= b[0] and 0 <= b[1] and b[2] <= view[0] and b[3] <= view[1] for b in boxes)
    apart = all(b[2] <= rect[0] or b[0] >= rect[0] + rect[2] or b[3] <= rect[1] or b[1] >= rect[1] + rect[3]
                for b in boxes)
    check(len(boxes) >= 6 and inside and apart,
          "%s: %d controls, all on the screen and none over the frame" % (name, len(boxes)))
    return rect


def changed_box(before, after):
    """The bounding box (left, top, right, bottom) of the pixels that differ between two frames."""
    changed = [i for i in range(len(after)) if before[i] != after[i]]
    if not changed:
        return None
    xs = [i % 640 for i in changed]
    ys = [i // 640 for i in changed]
    return min(xs), min(ys), max(xs) + 1, max(ys) + 1


def phone(browser, url, name, width, height, expected, turned, artifacts):
    """A game by touch alone: the logo, the menu, stage 1's intro, a turn, a death and its banner, the next
    attempt, the pause button, and two fingers at once (Right held, OK tapped) going on; then a pinch, a
    double tap and a long press, which neither zoom, select nor open a menu; then the phone turned, which
    lays the page out afresh (`turned`: the frame's size then)."""
    shot = lambda what: browser.screenshot(os.path.join(artifacts, "web-%s-%s.png" % (name, what)))
    browser.emulate(width, height, scale=3, mobile=True, touch=True)
    browser.navigate(url)
    browser.wait_for("coilrun.logoAt", 30, name + ": the logo")
    wait_still(browser, name + ": the logo's wait")
    rect = check_layout(browser, name, expected)
    keys = controls(browser)
    frame = (rect[0] + rect[2] / 2, rect[1] + rect[3] / 2)
    shot("logo")
    saves = browser.evaluate("coilrun.scoreSaves")
    browser.tap(*frame)
    flips = browser.evaluate("coilrun.flips")
    browser.wait_for("coilrun.flips > %d" % (flips + 40), 30, name + ": the menu")
    shot("menu")
    browser.tap(*keys["Enter"])  # PLAY
    wait_still(browser, name + ": stage 1's intro")
    browser.tap(*frame)
    time.sleep(2.0)  # the fade, then play
    browser.touch({0: keys["ArrowLeft"]})
    time.sleep(0.3)
    shot("play")
    browser.touch({})
    browser.evaluate("coilrun.keepLastTwo = true; coilrun.lastTwo = [null, null]")
    wait_still(browser, name + ": the death banner", timeout=30, still=1.0)
    before, after = browser.evaluate("coilrun.lastTwo")
    box = before and changed_box(before, after)
    check(box is not None and box[2] - box[0] < 600 and box[3] - box[1] < 200,
          "%s: the snake dies and a banner shows over the frame it died in %s" % (name, box))
    shot("banner")
    browser.evaluate("coilrun.keepLastTwo = false")
    browser.tap(*frame)
    wait_still(browser, name + ": the next attempt's intro")
    browser.tap(*frame)
    time.sleep(2.0)
    browser.tap(*keys["Escape"])
    time.sleep(0.5)
    shot("pause")
    paused = browser.evaluate("coilrun.frame()")
    time.sleep(0.3)
    check(browser.evaluate("coilrun.frame()") == paused, name + ": the pause button holds the game")
    browser.touch({0: keys["ArrowRight"]})  # go on
    time.sleep(0.2)
    browser.touch({0: keys["ArrowRight"], 1: keys["Enter"]})
    time.sleep(0.1)
    browser.touch({0: keys["ArrowRight"]})
    time.sleep(0.1)
    browser.touch({})
    moving = browser.evaluate("coilrun.frame()")
    time.sleep(0.15)
    check(browser.evaluate("coilrun.frame()") != moving and browser.evaluate("coilrun.scoreSaves") == saves,
          name + ": Right held and OK tapped together go on with the game")
    browser.evaluate("addEventListener('contextmenu', e => { coilrun.menuShown = !e.defaultPrevented; })")
    browser.call("Input.synthesizePinchGesture", x=frame[0], y=frame[1], scaleFactor=2.5,
                 gestureSourceType="touch")
    for hold in (0.05, 0.05, 1.2):  # Up, which play ignores
        browser.tap(*keys["ArrowUp"], hold=hold)
        time.sleep(0.05)
    check(browser.evaluate("[visualViewport.scale, !!coilrun.menuShown, getSelection().toString()]") == [1, False, ""],
          name + ": a pinch, a double tap and a long press neither zoom, open a menu nor select")
    browser.emulate(height, width, scale=3, mobile=True, touch=True)
    time.sleep(0.5)
    check_layout(browser, name + " turned", turned)
    browser.screenshot(os.path.join(artifacts, "web-%s-turned.png" % name))
    return rect


def update(browser, url, served):
    """A new version of the site replaces the kept one on the next visit, and the score table stays."""
    table_before = table(browser)
    worker = os.path.join(served, "coilrun-sw.js")
    text = open(worker).read()
    version = text.split("'")[1]
    open(worker, "w").write(text.replace(version, version + "-next", 1))
    with open(os.path.join(served, "coilrun-page.js"), "a") as page:
        page.write("\ncoilrun.version = 'next';\n")
    browser.navigate(url)
    browser.wait_for("coilrun.logoAt", 30, "the logo")
    names = browser.wait_for("caches.keys().then(n => n.length == 1 && n[0].endsWith('-next') && n)", 60,
                             "the new version kept")
    browser.call("Page.reload")
    browser.wait_for("coilrun.logoAt", 30, "the logo of the new version")
    check(browser.evaluate("coilrun.version") == "next", "the next visit runs the new version, kept as %s" % names)
    check(table(browser) == table_before, "the score table stays through the update: %s" % table_before)


def offline(browser, url, server, demo, demos_dir, reference):
    """With the server gone and the network off, the kept page starts and a demo replays to its end."""
    server.shutdown()
    server.server_close()
    browser.call("Network.enable")
    browser.call("Network.emulateNetworkConditions", offline=True, latency=0, downloadThroughput=-1,
                 uploadThroughput=-1)
    browser.navigate(url)
    browser.wait_for("coilrun.logoAt", 30, "the logo offline")
    check(checksum(browser.evaluate("coilrun.frame()")) == reference[0][0], "offline: the logo shows")
    replay(browser, url, demo, demos_dir, reference)


def replay(browser, url, demo, demos_dir, reference):
    frames = "1,%d,%d" % (2, REPLAY_FRAME)
    browser.navigate("%s?replay=demos/%s.rec&timedemo=1&capture=%s" % (url, demo, frames))
    browser.wait_for("coilrun.exitStatus !== null", 120, "the replay of " + demo)
    lines = browser.evaluate("coilrun.lines")
    print("\n".join("     " + line for line in lines))
    ended = [line for line in lines if line.startswith(("final:", "table:"))]
    expected = open(os.path.join(demos_dir, demo + ".expected")).read().split("\n")
    check(ended == [line for line in expected if line], demo + ": the replay ends as its recording did")
    check(browser.evaluate("coilrun.flips") == len(reference), demo + ": %d frames, as in the in-memory layer" % len(reference))
    captured = browser.evaluate("coilrun.captured")
    for number in frames.split(","):
        same = checksum(captured.get(number, [])) == reference[int(number) - 1][0]
        check(same, "%s: frame %s matches the in-memory layer's pixel for pixel" % (demo, number))


def pace(browser, url, demo, reference):
    """The replay at its own speed: each stretch of play at one rate keeps that rate within 2%."""
    browser.navigate("%s?replay=demos/%s.rec" % (url, demo))
    browser.wait_for("coilrun.exitStatus !== null", 180, "the replay of " + demo + " at its own speed")
    shown = browser.evaluate("coilrun.flipTimes")
    check(len(shown) == len(reference), demo + ": every frame shown at its own speed")
    times = [t for _, t in reference]
    start = 0
    while start < len(times) - 1:
        step = times[start + 1] - times[start]
        end = start + 1
        while end + 1 < len(times) and times[end + 1] - times[end] == step:
            end += 1
        if end - start >= MIN_STRETCH and len(shown) > end:
            # The rate the frames keep is that of their median period: a frame held up because another
            # program had the processor (this machine's load is printed) says nothing of the game's pace.
            model = 1e9 / step
            gaps = sorted(shown[i + 1] - shown[i] for i in range(start, end))
            measured = 1e3 / gaps[len(gaps) // 2]
            error = abs(measured - model) / model
            check(error <= MAX_PACE_ERROR,
                  "%s: frames %d-%d at %.2f Hz, the model %.2f Hz (%.2f%% off; %.2f Hz on average, load %.1f)"
                  % (demo, start + 1, end + 1, measured, model, 100 * error,
                     1e3 * len(gaps) / (shown[end] - shown[start]), os.getloadavg()[0]))
        start = end
    total_model = (times[-1] - times[0]) / 1e9
    total = (shown[-1] - shown[0]) / 1e3 if len(shown) > 1 else 0
    print("     the whole replay: %.2f s, the model %.2f s" % (total, total_model))


def main():
    site, reference_dir, demos_dir, artifacts = sys.argv[1:5]
    os.makedirs(artifacts, exist_ok=True)
    demos = sorted(name[:-4] for name in os.listdir(os.path.join(site, "demos")) if name.endswith(".rec"))
    references = {demo: read_reference(os.path.join(reference_dir, demo + ".frames")) for demo in demos}
    # A copy is served, which the update test changes.
    served = os.path.join(tempfile.mkdtemp(prefix="coilrun-site."), "web")
    shutil.copytree(site, served)
    server, url = serve(served)
    browser = cdp.Browser()
    try:
        logo_ms, reload_ms = play_and_keep_score(browser, url, references[demos[0]], artifacts)
        keep_mute_and_hud(browser, url)
        installable(browser, url)
        for demo in demos:
            replay(browser, url, demo, demos_dir, references[demo])
        pace(browser, url, demos[0], references[demos[0]])
        big_screen(browser, url, artifacts)
        phone(browser, url, "portrait", 390, 844, [390, 292], [520, 390], artifacts)
        phone(browser, url, "landscape", 844, 390, [520, 390], [390, 292], artifacts)
        browser.emulate(800, 600)
        update(browser, url, served)
        offline(browser, url, server, demos[0], demos_dir, references[demos[0]])
    finally:
        browser.close()
        server.shutdown()
        shutil.rmtree(os.path.dirname(served), ignore_errors=True)
    check(min(logo_ms, reload_ms) <= MAX_LOGO_MS,
          "the logo is drawn %.0f ms after navigation (%.0f ms after a reload)" % (logo_ms, reload_ms))
    total = weight(site)
    check(total <= MAX_WEIGHT, "the page loads %.0f KB gzip-compressed" % (total / KB))
    print("web end-to-end: %s" % ("FAIL (%d)" % len(failures) if failures else "PASS"))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
