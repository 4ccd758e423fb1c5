"""The browser build end to end in headless Chromium: a game played, quit through the dialog and its score kept
across a reload; mute and the HUD kept across a reload; both demos replayed to their recorded end; frames and pace against the in-memory layer's;
the page's weight and how soon the logo shows.

usage: web_e2e.py SITE_DIR REFERENCE_DIR DEMOS_DIR ARTIFACTS_DIR
"""
import functools
import gzip
import http.server
import os
import sys
import threading
import time

import cdp

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


def checksum(pixels):
    """The in-memory layer's frame checksum: FNV-1a steps over four pixels at a time as one little-endian
    64-bit word, then over each pixel left over."""
    h = 1469598103934665603
    mask = (1 << 64) - 1
    whole = len(pixels) - len(pixels) % 4
    for i in range(0, whole, 4):
        word = pixels[i] | (pixels[i + 1] << 16) | (pixels[i + 2] << 32) | (pixels[i + 3] << 48)
        h = ((h ^ word) * 1099511628211) & mask
    for p in pixels[whole:]:
        h = ((h ^ p) * 1099511628211) & mask
    return h


def serve(site):
    handler = functools.partial(QuietHandler, directory=site)
    server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), handler)
    threading.Thread(target=server.serve_forever, daemon=True).start()
    return server, "http://127.0.0.1:%d/" % server.server_address[1]


class QuietHandler(http.server.SimpleHTTPRequestHandler):
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
    browser.navigate(url)
    logo_ms = browser.wait_for("coilrun.logoAt", 30, "the logo")
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
    server, url = serve(site)
    browser = cdp.Browser()
    try:
        logo_ms, reload_ms = play_and_keep_score(browser, url, references[demos[0]], artifacts)
        keep_mute_and_hud(browser, url)
        for demo in demos:
            replay(browser, url, demo, demos_dir, references[demo])
        pace(browser, url, demos[0], references[demos[0]])
    finally:
        browser.close()
        server.shutdown()
    check(min(logo_ms, reload_ms) <= MAX_LOGO_MS,
          "the logo is drawn %.0f ms after navigation (%.0f ms after a reload)" % (logo_ms, reload_ms))
    total = weight(site)
    check(total <= MAX_WEIGHT, "the page loads %.0f KB gzip-compressed" % (total / KB))
    print("web end-to-end: %s" % ("FAIL (%d)" % len(failures) if failures else "PASS"))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
