// The page around the game: loads the data files and the score table, draws the frames the game presents,
// plays its effects, reads gamepads, keeps the frame 4:3 with crisp pixels, and switches to full screen.
'use strict';

const kAssetNames = [
  'BG00.DAT', 'BG01.DAT', 'BG02.DAT', 'BG03.DAT', 'BG04.DAT', 'BG05.DAT', 'DATA.DAT', 'DATA2.DAT',
  'ENEMY01.DAT', 'ENEMY02.DAT', 'LOGO.DAT', 'MENU.DAT', 'STAGE00.DAT', 'STAGE01.DAT', 'STAGE02.DAT',
  'STAGE03.DAT', 'STAGE04.DAT', 'STAGE05.DAT', 'CLEAR.WAV', 'DIE.WAV', 'EAT.WAV', 'MENU1.WAV', 'MENU2.WAV',
  'MENU3.WAV'];
const kScoreFile = 'SCORE.DAT';
// The settings: a file of the game's at this name, kept by the page in the browser's local storage.
const kSettingsFile = '/settings.ini';
const kSettingsKey = 'coilrun-settings';
const kScoreFileSize = 1036;
const kPlayFolder = '/play';
const kEffectRate = 11025;

const params = new URLSearchParams(location.search);
const canvas = document.getElementById('screen');
const context2d = canvas.getContext('2d', { alpha: false });
const statusLine = document.getElementById('status');

// What the page shows the tests: the lines the game printed, its exit status, the frames presented so far
// and when, the score tables stored, and the frames numbered in `capture` (from 1, comma-separated).
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
  const db = await openScoreStore();
  return new Promise((resolve, reject) => {
    const request = db.transaction('files').objectStore('files').get(kScoreFile);
    request.onsuccess = () => resolve(request.result ? new Uint8Array(request.result) : null);
    request.onerror = () => reject(request.error);
  });
}

async function storeScores(bytes) {
  const db = await openScoreStore();
  return new Promise((resolve, reject) => {
    const transaction = db.transaction('files', 'readwrite');
    transaction.objectStore('files').put(bytes.slice().buffer, kScoreFile);
    transaction.oncomplete = () => resolve();
    transaction.onerror = transaction.onabort = () => reject(transaction.error);
  });
}

// The game stores its table when it flushes SCORE.DAT, and waits until the table is stored: 0, or 1 with
// the browser's reason written for the game.
async function storeFile(namePointer, pointer, size, reasonPointer, room) {
  const name = Module.UTF8ToString(namePointer);
  try {
    if (name === kSettingsFile) {
      localStorage.setItem(kSettingsKey, new TextDecoder().decode(Module.HEAPU8.slice(pointer, pointer + size)));
      coilrun.settingsSaves++;
      return 0;
    }
    if (name !== kScoreFile) throw new Error('the page keeps no file named ' + name);
    await storeScores(Module.HEAPU8.slice(pointer, pointer + size));
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

// The files are asked for at once, while the program itself loads.
const fileFetches = new Map(kAssetNames.map(name => [name, fetchBytes('data/' + name)]));
fileFetches.forEach(fetching => fetching.catch(() => {}));
// A replay plays a recorded game on an empty table of its own.
const storedScores = params.get('replay') ? Promise.resolve(null) : readStoredScores();
storedScores.catch(() => {});

async function loadFiles() {
  FS.mkdir(kPlayFolder);
  FS.chdir(kPlayFolder);
  const files = kAssetNames.map(name => fileFetches.get(name).then(bytes => FS.writeFile(name, bytes)));
  const replay = params.get('replay');
  if (replay) files.push(fetchBytes(replay).then(bytes => FS.writeFile('/replay.rec', bytes)));
  let scores = null;
  try {
    scores = await storedScores;
  } catch (e) {
    say('coilrun: scores are not kept in this browser: ' + e);
  }
  // A first visit starts with an empty table.
  FS.writeFile(kScoreFile, scores || new Uint8Array(kScoreFileSize));
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
  canvas.width = width;
  canvas.height = height;
  frameImage = context2d.createImageData(width, height);
  context2d.fillStyle = '#000';
  context2d.fillRect(0, 0, width, height);
  fitCanvas();
}

// A flip hands over the frame; the game has the canvas drawn from it at its next wait, where the drawing's
// cost hides inside the wait. Until the next flip the frame stays as it was.
function present(pointer, width, height) {
  const count = width * height;
  framePixels = () => Module.HEAPU16.subarray(pointer >> 1, (pointer >> 1) + count);
  coilrun.flips++;
  coilrun.flipTimes.push(performance.now());
  if (coilrun.capture.includes(coilrun.flips)) coilrun.captured[coilrun.flips] = Array.from(framePixels());
}

function drawFrame() {
  const pixels = framePixels();
  const out = new Uint32Array(frameImage.data.buffer);
  for (let i = 0; i < pixels.length; i++) out[i] = rgbaOf565[pixels[i]];
  context2d.putImageData(frameImage, 0, 0);
  if (coilrun.logoAt === null) coilrun.logoAt = performance.now();
}

// The largest whole multiple of the frame's size in device pixels that fits the window, or, in a window
// smaller than the frame, the frame shrunk to fit; always 4:3 and centred on black.
function fitCanvas() {
  const ratio = window.devicePixelRatio || 1;
  const room = Math.min(innerWidth * ratio / canvas.width, innerHeight * ratio / canvas.height);
  const scale = room >= 1 ? Math.floor(room) : room;
  const width = canvas.width * scale / ratio;
  const height = canvas.height * scale / ratio;
  canvas.style.width = width + 'px';
  canvas.style.height = height + 'px';
  canvas.style.left = Math.floor((innerWidth - width) / 2) + 'px';
  canvas.style.top = Math.floor((innerHeight - height) / 2) + 'px';
}
addEventListener('resize', fitCanvas);

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

// ---- Gamepads in the standard layout: the D-pad and left stick are the arrows, A and Start are Return,
// B and Back are Esc.
const kKeyEscape = 0x01, kKeyReturn = 0x1C, kKeyUp = 0xC8, kKeyLeft = 0xCB, kKeyRight = 0xCD, kKeyDown = 0xD0;
const kKeyHeld = 0x80;
const kStickLean = 0.5;

function readGamepads(state) {
  if (!navigator.getGamepads) return;
  for (const pad of navigator.getGamepads()) {
    if (!pad) continue;
    const pressed = i => pad.buttons[i] !== undefined && pad.buttons[i].pressed;
    const x = pad.axes[0] || 0;
    const y = pad.axes[1] || 0;
    const hold = (held, code) => { if (held) Module.HEAPU8[state + code] = kKeyHeld; };
    hold(pressed(12) || y < -kStickLean, kKeyUp);
    hold(pressed(13) || y > kStickLean, kKeyDown);
    hold(pressed(14) || x < -kStickLean, kKeyLeft);
    hold(pressed(15) || x > kStickLean, kKeyRight);
    hold(pressed(0) || pressed(9), kKeyReturn);
    hold(pressed(1) || pressed(8), kKeyEscape);
  }
}

// ---- Full screen on F11, Alt+Enter or the button. In full screen the page keeps Esc for the game's
// dialog where the browser allows it (holding Esc still leaves full screen).
function toggleFullScreen() {
  if (document.fullscreenElement) {
    document.exitFullscreen();
  } else {
    document.documentElement.requestFullscreen().then(() => {
      if (navigator.keyboard && navigator.keyboard.lock) navigator.keyboard.lock(['Escape']);
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
document.addEventListener('fullscreenchange', fitCanvas);

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
      statusLine.textContent = 'Cannot load the game: ' + error.message;
      say('coilrun: ' + error.message);
    });
  }],
  onRuntimeInitialized: () => {
    statusLine.textContent = '';
    canvas.focus();
    coilrun.startedAt = performance.now();
    Module.callMain(gameArguments());
  },
  onExit: status => {
    coilrun.exitStatus = status;
    statusLine.textContent = 'The game has ended. Reload the page to play again.';
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
  coilrunReadGamepads: readGamepads,
  coilrunDecodeBitmap: decodeBitmap,
  coilrunStoreFile: storeFile,
  coilrunSleep: sleep,
  coilrunNextTurn: nextTurn,
};
