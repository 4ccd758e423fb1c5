// The page around the game: loads the data files that the data folder's manifest names and the score
// table, draws the frames the game presents at the largest size the screen allows, plays its effects, reads
// gamepads and touch controls as keys, switches to full screen, and has a service worker keep it for offline
// play.
'use strict';

const kDataFolder = 'data/';
const kDataManifest = kDataFolder + 'files.json';
// The settings: a file of the game's at this name, kept by the page in the browser's local storage.
const kSettingsFile = '/settings.ini';
const kSettingsKey = 'coilrun-settings';
const kPlayFolder = '/play';
const kEffectRate = 11025;
// The key that a tap on the frame holds: one that only the screens waiting for any key take.
const kTapKey = 'Space';
// The room the touch controls need at least: beside the frame in landscape, below it in portrait.
const kMinPadWidth = 150;
const kMinPadHeight = 220;

const params = new URLSearchParams(location.search);
const canvas = document.getElementById('screen');
const context2d = canvas.getContext('2d', { alpha: false });
const statusLines = [document.getElementById('status'), document.getElementById('touch-status')];
// The frame at its own size, which the canvas shows enlarged.
const frameCanvas = document.createElement('canvas');
frameCanvas.width = canvas.width;
frameCanvas.height = canvas.height;
let frameContext = null;

function setStatus(text) {
  for (const line of statusLines) line.textContent = text;
}

// What the page shows the tests: the lines the game printed, its exit status, the frames presented so far
// and when, the score tables stored, the frames numbered in `capture` (from 1, comma-separated), and while
// `keepLastTwo` is set the last two frames presented.
const coilrun = {
  lines: [], exitStatus: null, flips: 0, scoreSaves: 0, settingsSaves: 0, soundLevel: null, effectsStarted: 0, logoAt: null, startedAt: null, flipTimes: [],
  capture: (params.get('capture') || '').split(',').filter(n => n).map(Number), captured: {},
  frame() { return framePixels ? Array.from(framePixels()) : null; },
};
window.coilrun = coilrun;

let framePixels = null;
let frameImage = null;

function say(line) {
  coilrun.lines.push(line);
  console.log(line);
}

// ---- The score table in IndexedDB: one record, replaced whole by one put, so that a reload finds either
// the old table or the new one, never a part of each.
function openScoreStore() {
  return new Promise((resolve, reject) => {
    const request = indexedDB.open('coilrun', 1);
    request.onupgradeneeded = () => request.result.createObjectStore('files');
    request.onsuccess = () => resolve(request.result);
    request.onerror = () => reject(request.error);
  });
}

async function readStoredScores() {
  const [db, manifest] = await Promise.all([openScoreStore(), dataManifest]);
  return new Promise((resolve, reject) => {
    const request = db.transaction('files').objectStore('files').get(manifest.scores.name);
    request.onsuccess = () => resolve(request.result ? new Uint8Array(request.result) : null);
    request.onerror = () => reject(request.error);
  });
}

async function storeScores(name, bytes) {
  const db = await openScoreStore();
  return new Promise((resolve, reject) => {
    const transaction = db.transaction('files', 'readwrite');
    transaction.objectStore('files').put(bytes.slice().buffer, name);
    transaction.oncomplete = () => resolve();
    transaction.onerror = transaction.onabort = () => reject(transaction.error);
  });
}

// The game stores its table when it flushes the score file, and waits until the table is stored: 0, or 1 with
// the browser's reason written for the game.
async function storeFile(namePointer, pointer, size, reasonPointer, room) {
  const name = Module.UTF8ToString(namePointer);
  try {
    if (name === kSettingsFile) {
      localStorage.setItem(kSettingsKey, new TextDecoder().decode(Module.HEAPU8.slice(pointer, pointer + size)));
      coilrun.settingsSaves++;
      return 0;
    }
    if (name !== (await dataManifest).scores.name) throw new Error('the page keeps no file named ' + name);
    await storeScores(name, Module.HEAPU8.slice(pointer, pointer + size));
    coilrun.scoreSaves++;
    return 0;
  } catch (e) {
    Module.stringToUTF8(String(e && e.message ? e.message : e), reasonPointer, room);
    return 1;
  }
}

// ---- Loading: every data file and the stored score table into the game's working folder before it starts.
async function fetchBytes(url) {
  const response = await fetch(url);
  if (!response.ok) throw new Error(url + ': ' + response.status + ' ' + response.statusText);
  return new Uint8Array(await response.arrayBuffer());
}

// A file of the data folder, which must have the size that the manifest gives: a file cut short on its way
// is named, rather than found broken by the game.
async function fetchDataFile(file) {
  const bytes = await fetchBytes(kDataFolder + file.name);
  if (bytes.length !== file.size) {
    throw new Error(kDataFolder + file.name + ': ' + bytes.length + ' bytes, the manifest says ' + file.size);
  }
  return bytes;
}

// The manifest, then the files it names, are asked for at once, while the program itself loads.
const dataManifest = fetchBytes(kDataManifest).then(bytes => JSON.parse(new TextDecoder().decode(bytes)));
const dataFiles = dataManifest.then(manifest => manifest.files.map(file => {
  const fetching = fetchDataFile(file);
  fetching.catch(() => {});
  return { name: file.name, fetching };
}));
dataFiles.catch(() => {});
// A replay plays a recorded game on an empty table of its own.
const storedScores = params.get('replay') ? Promise.resolve(null) : readStoredScores();
storedScores.catch(() => {});

async function loadFiles() {
  FS.mkdir(kPlayFolder);
  FS.chdir(kPlayFolder);
  const manifest = await dataManifest;
  const files = (await dataFiles).map(file => file.fetching.then(bytes => FS.writeFile(file.name, bytes)));
  const replay = params.get('replay');
  if (replay) files.push(fetchBytes(replay).then(bytes => FS.writeFile('/replay.rec', bytes)));
  let scores = null;
  try {
    scores = await storedScores;
  } catch (e) {
    say('coilrun: scores are not kept in this browser: ' + e);
  }
  // A first visit starts with an empty table.
  FS.writeFile(manifest.scores.name, scores || new Uint8Array(manifest.scores.size));
  // A replay plays with the default settings, as it does on an empty table.
  const settings = params.get('replay') ? null : storedSettings();
  if (settings !== null) FS.writeFile(kSettingsFile, settings);
  await Promise.all(files);
}

// The stored settings, with the HUD as the page's address asks (?hud=1 or ?hud=0): a page has no settings
// file to edit, so the address switches the HUD, and the choice is kept as the game keeps its own.
function storedSettings() {
  let text = null;
  try {
    text = localStorage.getItem(kSettingsKey);
  } catch (e) {
    say('coilrun: settings are not kept in this browser: ' + e);
  }
  const hud = params.get('hud');
  if (hud !== '0' && hud !== '1') return text;
  const line = 'hud = ' + (hud === '1' ? 'yes' : 'no');
  text = text === null ? '' : text;
  text = /^[ \t]*hud[ \t]*=.*$/m.test(text) ? text.replace(/^[ \t]*hud[ \t]*=.*$/m, line)
                                            : text + '\n[display]\n' + line + '\n';
  try {
    localStorage.setItem(kSettingsKey, text);
  } catch (e) {
    say('coilrun: settings are not kept in this browser: ' + e);
  }
  return text;
}

function gameArguments() {
  const args = [];
  if (params.get('replay')) {
    args.push('--replay', '/replay.rec');
    if (params.get('timedemo') === '1') args.push('--timedemo');
  }
  return args;
}

// ---- The frame: 640x480 5-6-5 pixels widened to 8 bits a channel (a channel's top bits repeat into its
// low bits, so white stays full white), drawn into the canvas.
const widen5 = v => (v << 3) | (v >> 2);
const widen6 = v => (v << 2) | (v >> 4);
const rgbaOf565 = new Uint32Array(65536);
for (let p = 0; p < 65536; p++) {
  rgbaOf565[p] = (0xFF000000 | (widen5(p & 0x1F) << 16) | (widen6((p >> 5) & 0x3F) << 8) | widen5(p >> 11)) >>> 0;
}

function openDisplay(width, height) {
  frameCanvas.width = width;
  frameCanvas.height = height;
  frameContext = frameCanvas.getContext('2d', { alpha: false });
  frameImage = frameContext.createImageData(width, height);
  layOut();
}

// A flip hands over the frame; the game has the canvas drawn from it at its next wait, where the drawing's
// cost hides inside the wait. Until the next flip the frame stays as it was.
function present(pointer, width, height) {
  const count = width * height;
  framePixels = () => Module.HEAPU16.subarray(pointer >> 1, (pointer >> 1) + count);
  coilrun.flips++;
  coilrun.flipTimes.push(performance.now());
  if (coilrun.capture.includes(coilrun.flips)) coilrun.captured[coilrun.flips] = Array.from(framePixels());
  if (coilrun.keepLastTwo) coilrun.lastTwo = [coilrun.lastTwo[1], Array.from(framePixels())];
}

function drawFrame() {
  const pixels = framePixels();
  const out = new Uint32Array(frameImage.data.buffer);
  for (let i = 0; i < pixels.length; i++) out[i] = rgbaOf565[pixels[i]];
  showFrame();
  if (coilrun.logoAt === null) coilrun.logoAt = performance.now();
}

// The frame into the canvas, enlarged by the canvas's whole factor with nearest sampling; the browser
// scales the canvas by the rest with linear filtering.
function showFrame() {
  if (!frameImage) return;
  if (canvas.width === frameImage.width) {
    context2d.putImageData(frameImage, 0, 0);
    return;
  }
  frameContext.putImageData(frameImage, 0, 0);
  context2d.imageSmoothingEnabled = false;
  context2d.drawImage(frameCanvas, 0, 0, canvas.width, canvas.height);
}

// ---- The layout. The frame keeps its 4:3 shape and is as large as the window allows: by the largest
// whole factor of its size in device pixels that fits, with crisp pixels, and by the rest (up or down)
// smoothly. Where the device has touch, the controls take the room beside the frame in landscape and
// below it in portrait; nothing ever lies over the frame, and the page never scrolls.
const pads = [document.getElementById('pad-left'), document.getElementById('pad-right')];

function hasTouch() {
  return navigator.maxTouchPoints > 0 || matchMedia('(any-pointer: coarse)').matches;
}

function place(element, x, y, width, height) {
  element.style.left = x + 'px';
  element.style.top = y + 'px';
  element.style.width = width + 'px';
  element.style.height = height + 'px';
}

// The part of the screen that nothing covers (a phone's notch, rounded corners, the home bar), in CSS pixels.
function safeArea() {
  const insets = getComputedStyle(document.getElementById('insets'));
  const left = parseFloat(insets.paddingLeft) || 0;
  const top = parseFloat(insets.paddingTop) || 0;
  return {
    left, top,
    width: document.documentElement.clientWidth - left - (parseFloat(insets.paddingRight) || 0),
    height: document.documentElement.clientHeight - top - (parseFloat(insets.paddingBottom) || 0),
  };
}

function layOut() {
  const touch = hasTouch();
  document.body.classList.toggle('touch', touch);
  document.body.classList.toggle('standalone', matchMedia('(display-mode: standalone), (display-mode: fullscreen)').matches);
  document.body.classList.toggle('no-full-screen', !document.fullscreenEnabled);
  const frameWidth = frameCanvas.width;
  const frameHeight = frameCanvas.height;
  const view = safeArea();
  const portrait = view.height > view.width;
  let roomWidth = view.width;
  let roomHeight = view.height;
  if (touch && portrait) roomHeight = Math.max(view.height - kMinPadHeight, view.height / 2);
  if (touch && !portrait) roomWidth = Math.max(view.width - 2 * kMinPadWidth, view.width / 2);
  const scale = Math.min(roomWidth / frameWidth, roomHeight / frameHeight);
  const width = Math.floor(frameWidth * scale);
  const height = Math.floor(frameHeight * scale);
  const x = view.left + Math.floor((view.width - width) / 2);
  const y = view.top + (touch && portrait ? 0 : Math.floor((view.height - height) / 2));
  place(canvas, x, y, width, height);
  if (touch && portrait) {
    const half = Math.floor(view.width / 2);
    place(pads[0], view.left, y + height, half, view.top + view.height - y - height);
    place(pads[1], view.left + half, y + height, view.width - half, view.top + view.height - y - height);
  } else if (touch) {
    place(pads[0], view.left, view.top, x - view.left, view.height);
    place(pads[1], x + width, view.top, view.left + view.width - x - width, view.height);
  }
  const ratio = window.devicePixelRatio || 1;
  const whole = Math.max(1, Math.floor(Math.min(width * ratio / frameWidth, height * ratio / frameHeight)));
  if (canvas.width !== frameWidth * whole || canvas.height !== frameHeight * whole) {
    canvas.width = frameWidth * whole;
    canvas.height = frameHeight * whole;
    showFrame();
  }
}
addEventListener('resize', layOut);
if (window.visualViewport) visualViewport.addEventListener('resize', layOut);
layOut();

// ---- Sound: one effect at a time. Browsers start audio only after a gesture, and making the audio context
// takes long enough to delay the logo: it is made at the player's first key or click, and an effect asked
// for before then starts as soon as it is made.
let audio = null;
let effectSamples = null;  // the effect as 8-bit samples, until the audio context exists
let effectBuffer = null;
let effect = null;  // the playing source and its gain
let pendingPlay = null;  // the loop flag of a play asked for before the audio context existed
let soundGain = 1;  // the game's volume, 0 while muted

function setLevel(volume, muted) {
  soundGain = muted ? 0 : volume / 100;
  coilrun.soundLevel = { volume, muted };
  if (effect && effect.playing) effect.gain.gain.value = soundGain;
}

// A note after the game's name in the page's title, for about three seconds.
let titleNoteTimer = null;
function titleNote(title, note) {
  document.title = title + ' - ' + note;
  clearTimeout(titleNoteTimer);
  titleNoteTimer = setTimeout(() => { document.title = title; }, 3000);
}

function openAudio() {
  // A browser without audio plays silently, as the desktop game does without a sound card.
  return true;
}

function startAudio() {
  if (audio) {
    if (audio.state === 'suspended') audio.resume();
    return;
  }
  const AudioContextClass = window.AudioContext || window.webkitAudioContext;
  if (!AudioContextClass) return;
  try {
    audio = new AudioContextClass();
  } catch (e) {
    return;
  }
  if (effectSamples) makeEffectBuffer();
  if (pendingPlay !== null) playEffect(pendingPlay);
  pendingPlay = null;
}
addEventListener('keydown', startAudio, true);
addEventListener('pointerdown', startAudio, true);
// A touch counts as a gesture only once the finger is lifted.
addEventListener('touchend', startAudio, true);

function makeEffectBuffer() {
  effectBuffer = audio.createBuffer(1, effectSamples.length, kEffectRate);
  const channel = effectBuffer.getChannelData(0);
  for (let i = 0; i < effectSamples.length; i++) channel[i] = (effectSamples[i] - 128) / 128;
}

function setEffect(pointer, size) {
  effectSamples = Module.HEAPU8.slice(pointer, pointer + size);
  if (audio) makeEffectBuffer();
}

function playEffect(loop) {
  if (!audio) {
    if (effectSamples) pendingPlay = loop;
    return;
  }
  if (!effectBuffer) return;
  // A sound already playing goes on; one that has ended starts again from its beginning.
  if (effect && effect.playing) {
    effect.source.loop = loop;
    return;
  }
  const source = audio.createBufferSource();
  const gain = audio.createGain();
  source.buffer = effectBuffer;
  source.loop = loop;
  gain.gain.value = soundGain;
  source.connect(gain).connect(audio.destination);
  const playing = { source, gain, playing: true };
  source.onended = () => { playing.playing = false; };
  source.start();
  effect = playing;
  coilrun.effectsStarted++;
}

// Stops the effect with a glide of a few milliseconds to silence instead of a click.
function stopEffect() {
  if (effect && effect.playing) {
    const now = audio.currentTime;
    effect.gain.gain.setValueAtTime(soundGain, now);
    effect.gain.gain.linearRampToValueAtTime(0, now + 0.003);
    effect.source.stop(now + 0.004);
  }
  effect = null;
  effectBuffer = null;
  effectSamples = null;
  pendingPlay = null;
}

// ---- The page's buttons, held as keys by the browser's names of them; the game tells the page its code
// for each name when it makes the keyboard.
const keyCodes = new Map();
let keyHeldByte = 0;

function learnKey(name, code, heldByte) {
  keyCodes.set(name, code);
  keyHeldByte = heldByte;
}

function readButtons(state) {
  const hold = name => {
    const code = keyCodes.get(name);
    if (code !== undefined) Module.HEAPU8[state + code] = keyHeldByte;
  };
  readGamepads(hold);
  readTouches(hold);
}

// Gamepads in the standard layout: the D-pad and left stick are the arrows, A and Start are Return, B and
// Back are Esc.
const kStickLean = 0.5;

function readGamepads(hold) {
  if (!navigator.getGamepads) return;
  for (const pad of navigator.getGamepads()) {
    if (!pad) continue;
    const pressed = i => pad.buttons[i] !== undefined && pad.buttons[i].pressed;
    const x = pad.axes[0] || 0;
    const y = pad.axes[1] || 0;
    if (pressed(12) || y < -kStickLean) hold('ArrowUp');
    if (pressed(13) || y > kStickLean) hold('ArrowDown');
    if (pressed(14) || x < -kStickLean) hold('ArrowLeft');
    if (pressed(15) || x > kStickLean) hold('ArrowRight');
    if (pressed(0) || pressed(9)) hold('Enter');
    if (pressed(1) || pressed(8)) hold('Escape');
  }
}

// ---- Touch: each finger holds the key of the control under it (sliding from one control to another
// changes the key), and a finger on the frame holds the tap key. A touch that starts and ends between two
// reads of the keyboard is still seen by the next read. The page takes every touch for itself: no
// scrolling, no zoom, no context menu, no selection.
const touchKeys = new Map();  // the key each finger on the page holds, by the touch's identifier
const tapped = new Set();  // keys touched since the last read

function keyUnder(touch) {
  const element = document.elementFromPoint(touch.clientX, touch.clientY);
  if (element === canvas) return kTapKey;
  const control = element && element.closest('[data-key]');
  return control ? control.dataset.key : null;
}

function showHeldControls() {
  const held = new Set(touchKeys.values());
  for (const control of document.querySelectorAll('[data-key]')) {
    control.classList.toggle('held', held.has(control.dataset.key));
  }
}

function noteTouches(event) {
  if (!document.body.classList.contains('touch')) layOut();
  for (const touch of event.changedTouches) {
    if (event.type === 'touchend' || event.type === 'touchcancel') {
      touchKeys.delete(touch.identifier);
      continue;
    }
    const key = keyUnder(touch);
    if (key && touchKeys.get(touch.identifier) !== key) tapped.add(key);
    touchKeys.set(touch.identifier, key);
  }
  showHeldControls();
}

function readTouches(hold) {
  for (const key of touchKeys.values()) if (key) hold(key);
  for (const key of tapped) hold(key);
  tapped.clear();
}

for (const type of ['touchstart', 'touchmove', 'touchend', 'touchcancel']) {
  document.addEventListener(type, event => {
    const action = event.target.closest && event.target.closest('[data-action]');
    if (action && type === 'touchend') toggleFullScreen();
    if (event.cancelable) event.preventDefault();
    noteTouches(event);
  }, { passive: false });
}
document.addEventListener('contextmenu', event => event.preventDefault());

// ---- Full screen on F11, Alt+Enter or the button. In full screen the page keeps Esc for the game's
// dialog where the browser allows it (holding Esc still leaves full screen), and a phone turns sideways
// where the browser lets the page lock the screen's orientation.
function toggleFullScreen() {
  if (document.fullscreenElement) {
    document.exitFullscreen();
  } else {
    document.documentElement.requestFullscreen().then(() => {
      if (navigator.keyboard && navigator.keyboard.lock) navigator.keyboard.lock(['Escape']);
      if (hasTouch() && screen.orientation && screen.orientation.lock) screen.orientation.lock('landscape').catch(() => {});
    }, () => {});
  }
}
document.getElementById('full').addEventListener('click', () => { toggleFullScreen(); canvas.focus(); });
addEventListener('keydown', event => {
  if (event.code === 'F11' || (event.altKey && (event.code === 'Enter' || event.code === 'NumpadEnter'))) {
    event.preventDefault();
    if (!event.repeat) toggleFullScreen();
  }
}, true);
document.addEventListener('fullscreenchange', layOut);

// ---- Bitmaps: the browser's own decoder reads the game's bitmap files; the game gets 0x00RRGGBB pixels
// in a block it frees, or 0 for a file the browser cannot read.
async function decodeBitmap(pointer, size, widthOut, heightOut) {
  let rgba;
  let width;
  let height;
  try {
    const file = new Blob([Module.HEAPU8.slice(pointer, pointer + size)], { type: 'image/bmp' });
    const picture = await createImageBitmap(file, { colorSpaceConversion: 'none', premultiplyAlpha: 'none' });
    width = picture.width;
    height = picture.height;
    const scratch = document.createElement('canvas');
    scratch.width = width;
    scratch.height = height;
    const drawing = scratch.getContext('2d', { willReadFrequently: true });
    drawing.drawImage(picture, 0, 0);
    picture.close();
    rgba = drawing.getImageData(0, 0, width, height).data;
  } catch (e) {
    return 0;
  }
  const out = Module._malloc(width * height * 4);
  if (!out) return 0;
  const pixels = Module.HEAPU32.subarray(out >> 2, (out >> 2) + width * height);
  for (let i = 0; i < width * height; i++) {
    pixels[i] = (rgba[4 * i] << 16) | (rgba[4 * i + 1] << 8) | rgba[4 * i + 2];
  }
  Module.HEAP32[widthOut >> 2] = width;
  Module.HEAP32[heightOut >> 2] = height;
  return out;
}

// ---- Waits: a timer, and a turn of the browser's own that takes no timer (browsers hold a timer set from
// within a timer to at least 4 ms): a message posted to the page's own channel.
const turnChannel = new MessageChannel();
const turnWaiters = [];
turnChannel.port1.onmessage = () => turnWaiters.shift()();

function nextTurn() {
  return new Promise(resolve => {
    turnWaiters.push(resolve);
    turnChannel.port2.postMessage(0);
  });
}

function sleep(milliseconds) {
  return new Promise(resolve => setTimeout(resolve, milliseconds));
}

// ---- The game.
var Module = {
  canvas,
  noInitialRun: true,
  print: say,
  printErr: say,
  preRun: [() => {
    Module.addRunDependency('coilrun-files');
    loadFiles().then(() => Module.removeRunDependency('coilrun-files'), error => {
      setStatus('Cannot load the game: ' + error.message);
      say('coilrun: ' + error.message);
    });
  }],
  onRuntimeInitialized: () => {
    setStatus('');
    canvas.focus();
    coilrun.startedAt = performance.now();
    Module.callMain(gameArguments());
  },
  onExit: status => {
    coilrun.exitStatus = status;
    setStatus('The game has ended. Reload the page to play again.');
  },
  coilrunOpenDisplay: openDisplay,
  coilrunPresent: present,
  coilrunDraw: drawFrame,
  coilrunOpenAudio: openAudio,
  coilrunSetEffect: setEffect,
  coilrunPlayEffect: playEffect,
  coilrunStopEffect: stopEffect,
  coilrunSetLevel: setLevel,
  coilrunTitleNote: titleNote,
  coilrunLearnKey: learnKey,
  coilrunReadButtons: readButtons,
  coilrunDecodeBitmap: decodeBitmap,
  coilrunStoreFile: storeFile,
  coilrunSleep: sleep,
  coilrunNextTurn: nextTurn,
};

// ---- Offline: a service worker keeps the page, the program, the data and the demos, so that after one
// visit the game starts without the network. It is registered once the page has loaded, never delaying
// the game's start; the score table stays in IndexedDB, which it never touches.
if ('serviceWorker' in navigator) {
  addEventListener('load', () => {
    navigator.serviceWorker.register('coilrun-sw.js').catch(error => {
      say('coilrun: the page is not kept for offline play: ' + error.message);
    });
  });
}
