// Plays an input script (the headless runner's format: "N KEY..." lines)
// into the game's page in headless Chromium, frame by frame in the page's
// step mode, by trusted key events through the DevTools protocol, and
// compares the canvas at chosen frames with the runner's pictures of the
// same script (raw RGB files, 384 x 480). The runner's trace of the script
// gives each frame's end on the virtual clock: the page is let run to the
// end of frame f - 1 and stops in frame f's wait, frame f on its canvas,
// where the keys of frame f + 1 go in.
//
//   node drive_page.js BROWSER URL PROFILE SCRIPT TRACE OUT FRAME=RUNNER.rgb...
//
// With --pacing for SCRIPT (and a page in real time, no step mode), it
// measures instead: when the first frame was shown after the page's load
// began, then after SECONDS (TRACE's place) on the title, whose fish move in
// every frame, the frames shown in the last 20 s and their mean period.
// With --loading it prints what the page says under its canvas once loaded.
//
// OUT gets the page's screenshot at each chosen frame (OUT-FRAME.png). One
// line per frame compared: the pixels that differ, then "same" or "DIFFERENT".
// Exit status 1 when any frame differs or the page cannot be driven.
'use strict';
const {spawn} = require('child_process');
const fs = require('fs');
const path = require('path');
const http = require('http');
const WebSocket = require('ws');

const [browserPath, url, profile, scriptPath, tracePath, out, ...shotArgs] = process.argv.slice(2);
const PictureW = 384, PictureH = 480;
const TimeLimitMs = 120000;
let browserExited = false;
let browserPort = null;

// SDL's scancode names as the scripts write them, and the page's key codes.
const Codes = {
  Left: 'ArrowLeft', Right: 'ArrowRight', Up: 'ArrowUp', Down: 'ArrowDown', Return: 'Enter', Enter: 'Enter',
  Escape: 'Escape', Backspace: 'Backspace', Space: 'Space', F1: 'F1', F2: 'F2',
};
function codeOf(name) {
  if (Codes[name]) return Codes[name];
  if (/^[A-Z]$/.test(name)) return 'Key' + name;
  if (/^[0-9]$/.test(name)) return 'Digit' + name;
  throw new Error('no key code for ' + name);
}
// Windows virtual key codes, which Chromium wants beside the code.
const KeyCodes = {ArrowLeft: 37, ArrowUp: 38, ArrowRight: 39, ArrowDown: 40, Enter: 13, Escape: 27, Backspace: 8,
                  Space: 32, F1: 112, F2: 113};
function keyCodeOf(code) {
  if (KeyCodes[code]) return KeyCodes[code];
  if (code.startsWith('Key')) return code.charCodeAt(3);
  if (code.startsWith('Digit')) return code.charCodeAt(5);
  return 0;
}

// The pad's buttons by SDL's names, as the browser's standard mapping numbers them.
const PadButtons = {a: 0, b: 1, x: 2, y: 3, leftshoulder: 4, rightshoulder: 5, back: 8, start: 9, leftstick: 10,
                    rightstick: 11, dpup: 12, dpdown: 13, dpleft: 14, dpright: 15, guide: 16};

// The script as the keys held and the pad (null: none) of each frame
// (frames counted from 1). A pad line holds from the next frame on.
// The files picked in the open-file dialog, in order ("pick PATH").
const picks = [];
function readScript(text) {
  const frames = [];
  let pad = null;
  for (const raw of text.split('\n')) {
    const line = raw.replace(/#.*/, '').trim();
    if (line === '') continue;
    const words = line.split(/\s+/);
    if (words[0] === 'pad') {
      pad = words.slice(1).map((name) => {
        if (!(name in PadButtons)) throw new Error('no such pad button: ' + raw);
        return PadButtons[name];
      });
      continue;
    }
    if (words[0] === 'pick') {
      picks.push(line.slice(4).trim());
      continue;
    }
    if (words[0] === 'joy' && words[1] === 'none') {
      pad = null;
      continue;
    }
    const count = parseInt(words[0], 10);
    if (!(count >= 0)) throw new Error('bad script line: ' + raw);
    const keys = words.slice(1).map(codeOf);
    for (let i = 0; i < count; ++i) frames.push({keys, pad});
  }
  return frames;
}

// The page's pads: navigator.getGamepads gives the pad the test holds.
const PadStub = `(function () {
  var held = null;
  window.tessmarSetPad = function (buttons) { held = buttons; };
  navigator.getGamepads = function () {
    if (held === null) return [];
    var buttons = [];
    for (var i = 0; i < 17; ++i) buttons.push({pressed: held.indexOf(i) >= 0, value: held.indexOf(i) >= 0 ? 1 : 0});
    return [{id: 'test pad', index: 0, connected: true, mapping: 'standard', axes: [0, 0, 0, 0],
             buttons: buttons, timestamp: performance.now()}];
  };
})();`;

function get(address) {
  return new Promise((resolve, reject) => {
    http.get(address, (response) => {
      let body = '';
      response.on('data', (d) => (body += d));
      response.on('end', () => resolve(body));
    }).on('error', reject);
  });
}

async function closeBrowser(port) {
  const version = JSON.parse(await get('http://127.0.0.1:' + port + '/json/version'));
  const socket = new WebSocket(version.webSocketDebuggerUrl, {perMessageDeflate: false});
  await new Promise((resolve, reject) => { socket.on('open', resolve); socket.on('error', reject); });
  socket.send(JSON.stringify({id: 1, method: 'Browser.close'}));
}

function sleep(ms) { return new Promise((r) => setTimeout(r, ms)); }

async function waitFor(what, check) {
  const start = Date.now();
  for (;;) {
    if (browserExited) throw new Error('the browser ended while waiting for ' + what);
    const value = await check();
    if (value) return value;
    if (Date.now() - start > TimeLimitMs) throw new Error('timed out waiting for ' + what);
    await sleep(20);
  }
}

async function main() {
  const pacing = scriptPath === '--pacing';
  const measuring = pacing || scriptPath === '--loading';
  const frames = measuring ? [] : readScript(fs.readFileSync(scriptPath, 'utf8'));
  // ends[f]: the virtual clock at the end of frame f (ends[0] = 0, the start).
  const ends = [0];
  for (const line of measuring ? [] : fs.readFileSync(tracePath, 'utf8').split('\n')) {
    const m = /^\{"frame":(\d+),"Ticks":(\d+)/.exec(line);
    if (m) ends[parseInt(m[1], 10)] = parseInt(m[2], 10);
  }
  const shots = new Map();
  for (const a of shotArgs) {
    const [frame, file] = a.split('=');
    shots.set(parseInt(frame, 10), file);
  }
  const portFile = path.join(profile, 'DevToolsActivePort');
  fs.rmSync(portFile, {force: true});
  // Chromium's sandbox refuses root (CI's containers): only there it goes.
  const sandbox = process.getuid && process.getuid() === 0 ? ['--no-sandbox'] : [];
  const browser = spawn(browserPath, [...sandbox, '--remote-debugging-port=0', '--remote-debugging-address=127.0.0.1',
    '--user-data-dir=' + profile, '--window-size=800,1000', '--no-first-run', '--mute-audio',
    '--autoplay-policy=no-user-gesture-required', 'about:blank'], {stdio: ['ignore', 'ignore', 'pipe'], detached: true});
  let browserLog = '';
  browser.stderr.on('data', (d) => (browserLog += d));
  const exited = new Promise((r) => browser.once('exit', () => { browserExited = true; r(); }));
  let socket = null;
  try {
    const port = browserPort = await waitFor('the browser', () => fs.existsSync(portFile) &&
      fs.readFileSync(portFile, 'utf8').split('\n')[0]);
    const pages = JSON.parse(await waitFor('the page list', () => get('http://127.0.0.1:' + port + '/json/list')));
    const page = pages.find((p) => p.type === 'page');
    socket = new WebSocket(page.webSocketDebuggerUrl, {perMessageDeflate: false});
    await new Promise((resolve, reject) => { socket.on('open', resolve); socket.on('error', reject); });
    let nextId = 1;
    const waiting = new Map();
    socket.on('message', (data) => {
      const message = JSON.parse(data);
      // The page's file picker opened (EDIT GAME): the script's next pick goes in.
      if (message.method === 'Page.fileChooserOpened') {
        const file = picks.shift();
        if (file === undefined) {
          console.log('the page opened its file picker with no pick left in the script: DIFFERENT');
          process.exitCode = 1;
          return;
        }
        send('DOM.setFileInputFiles', {files: [file], backendNodeId: message.params.backendNodeId}).catch((e) => {
          console.log('the pick could not be given to the page: ' + e.message);
          process.exitCode = 1;
        });
        return;
      }
      if (message.id && waiting.has(message.id)) {
        const {resolve, reject} = waiting.get(message.id);
        waiting.delete(message.id);
        if (message.error) reject(new Error(JSON.stringify(message.error)));
        else resolve(message.result);
      }
    });
    const send = (method, params = {}) => new Promise((resolve, reject) => {
      const id = nextId++;
      waiting.set(id, {resolve, reject});
      socket.send(JSON.stringify({id, method, params}));
    });
    const evaluate = async (expression) => {
      const r = await send('Runtime.evaluate', {expression, returnByValue: true, awaitPromise: true});
      if (r.exceptionDetails) throw new Error(expression + ': ' + JSON.stringify(r.exceptionDetails));
      return r.result.value;
    };
    await send('Page.enable');
    await send('Runtime.enable');
    await send('Page.setInterceptFileChooserDialog', {enabled: true});
    await send('Page.addScriptToEvaluateOnNewDocument', {source: PadStub});
    // DRIVE_PAGE_BEFORE: script run in the page before its own (a browser
    // without something, stubbed).
    if (process.env.DRIVE_PAGE_BEFORE)
      await send('Page.addScriptToEvaluateOnNewDocument', {source: process.env.DRIVE_PAGE_BEFORE});
    await send('Page.navigate', {url});
    const key = async (type, code) => {
      await send('Input.dispatchKeyEvent', {type, code, key: code, windowsVirtualKeyCode: keyCodeOf(code),
                                            nativeVirtualKeyCode: keyCodeOf(code)});
    };
    // --loading for SCRIPT: what the page says where the game cannot start.
    if (scriptPath === '--loading') {
      await waitFor('the page', () => evaluate('document.readyState === "complete"'));
      console.log('page says: ' + await evaluate('(document.getElementById("loading") || {}).textContent'));
      return;
    }
    if (pacing) {
      await waitFor('the first frame', () => evaluate('typeof Tessmar === "object" && Tessmar.firstFrameMs >= 0'));
      const first = await evaluate('Tessmar.firstFrameMs');
      // DRIVE_PAGE_PRESS=CODE: that key tapped once the title is up (Z: score attack).
      if (process.env.DRIVE_PAGE_PRESS) {
        await sleep(500);
        await key('rawKeyDown', process.env.DRIVE_PAGE_PRESS);
        await sleep(100);
        await key('keyUp', process.env.DRIVE_PAGE_PRESS);
      }
      const seconds = parseFloat(tracePath);
      await sleep(seconds * 1000);
      const MeasuredMs = 20000;
      const from = await evaluate('performance.now()') - MeasuredMs;
      const p = await evaluate('Tessmar.pacing(' + from + ')');
      const shot = await send('Page.captureScreenshot', {format: 'png'});
      fs.writeFileSync(out + '.png', Buffer.from(shot.data, 'base64'));
      console.log('first frame ' + first.toFixed(0) + ' ms after the page began to load; ' + p.frames +
                  ' frames in the last ' + MeasuredMs / 1000 + ' s, mean period ' +
                  p.meanPeriodMs.toFixed(3) + ' ms (' + (1000 / p.meanPeriodMs).toFixed(2) + ' frames a second)');
      console.log('sounds and tunes decoded: ' + await evaluate('Tessmar.buffers.filter(Boolean).length + " of " + ' +
                  'Tessmar.buffers.length') + '; page notes: ' + (await evaluate('Tessmar.notes.join(" | ")') || 'none'));
      if (process.env.DRIVE_PAGE_EVAL) console.log(JSON.stringify(await evaluate(process.env.DRIVE_PAGE_EVAL)));
      return;
    }
    // The page shows frame 1 and waits in it for more time.
    await waitFor('the first frame', () => evaluate('typeof Tessmar === "object" && Tessmar.blocked'));
    let failed = false;
    // Frame n on the canvas: the page stopped in its wait, at the end of frame n - 1.
    const runTo = async (n) => {
      if (ends[n - 1] === undefined) throw new Error('the trace has no frame ' + (n - 1));
      const at = ends[n - 1];
      await evaluate('tessmarGrant(' + at + ')');
      await waitFor('frame ' + n, () => evaluate('Tessmar.blocked && Tessmar.clock === ' + at));
    };
    let held = [], heldPad = null;
    // Frame f's keys and pad go in while the page waits after frame f - 1;
    // between changes the page runs on its own.
    const last = Math.min(Math.max(frames.length, ...shots.keys()), ends.length - 1);
    for (let f = 1; f <= last; ++f) {
      const want = f <= frames.length ? frames[f - 1] : {keys: [], pad: heldPad};
      const padChanged = JSON.stringify(want.pad) !== JSON.stringify(heldPad);
      if (want.keys.join() !== held.join() || padChanged) {
        if (f === 1) throw new Error('the script holds keys in frame 1, before the page can be reached');
        await runTo(f - 1);
        for (const code of held) if (!want.keys.includes(code)) await key('keyUp', code);
        for (const code of want.keys) if (!held.includes(code)) await key('rawKeyDown', code);
        if (padChanged) await evaluate('tessmarSetPad(' + JSON.stringify(want.pad) + ')');
        held = want.keys;
        heldPad = want.pad;
      }
      if (!shots.has(f)) continue;
      await runTo(f);
      const picture = await evaluate('tessmarPicture()');
      failed = compare(f, ends[f - 1], picture, shots.get(f)) || failed;
      const shot = await send('Page.captureScreenshot', {format: 'png'});
      fs.writeFileSync(out + '-' + f + '.png', Buffer.from(shot.data, 'base64'));
    }
    await runTo(last);
    if (process.env.DRIVE_PAGE_EVAL) console.log(JSON.stringify(await evaluate(process.env.DRIVE_PAGE_EVAL)));
    const notes = await evaluate('Tessmar.notes.join(" | ")');
    if (notes) console.log('page notes: ' + notes);
    // Storage is written back after the last frame's files.
    // DRIVE_PAGE_PUT=PATH=FILE: FILE's bytes into the page's PATH, kept for
    // the next run on the profile (a damaged file on the browser's storage).
    if (process.env.DRIVE_PAGE_PUT) {
      const [where, file] = process.env.DRIVE_PAGE_PUT.split('=');
      const bytes = JSON.stringify([...fs.readFileSync(file)]);
      const folder = JSON.stringify(where.replace(/\/[^/]*$/, ''));
      await evaluate('FS.mkdirTree(' + folder + '); FS.writeFile(' + JSON.stringify(where) + ', new Uint8Array(' + bytes + '))');
    }
    await evaluate('Tessmar.syncOut()');
    await waitFor('the files to be stored', () => evaluate('!Tessmar.syncBusy()'));
    if (picks.length > 0) {
      console.log('the page did not open its file picker for ' + picks.join(', ') + ': DIFFERENT');
      failed = true;
    }
    if (failed) process.exitCode = 1;
  } finally {
    if (socket) socket.close();
    // Closed through the protocol, the browser writes its profile (the
    // page's IndexedDB) out before it ends; killed, it might not.
    if (browserPort) await closeBrowser(browserPort).catch(() => {});
    const killer = setTimeout(() => { try { process.kill(-browser.pid, 'SIGKILL'); } catch (e) {} }, 10000);
    await exited;
    clearTimeout(killer);
    if (process.exitCode) process.stderr.write(browserLog.split('\n').slice(-20).join('\n'));
  }
}

// The canvas holds the picture at a whole scale: every block of scale x
// scale canvas pixels must be the runner's pixel.
function compare(frame, clock, picture, runnerFile) {
  const expected = fs.readFileSync(runnerFile);
  const scale = picture.width / PictureW;
  const rgba = Buffer.from(picture.rgba, 'base64');
  let differ = 0;
  if (!Number.isInteger(scale) || picture.height !== PictureH * scale) {
    console.log('frame ' + frame + ': canvas ' + picture.width + 'x' + picture.height + ' is no whole scale: DIFFERENT');
    return true;
  }
  for (let y = 0; y < PictureH * scale; ++y)
    for (let x = 0; x < PictureW * scale; ++x) {
      const e = (Math.floor(y / scale) * PictureW + Math.floor(x / scale)) * 3;
      const c = (y * picture.width + x) * 4;
      if (rgba[c] !== expected[e] || rgba[c + 1] !== expected[e + 1] || rgba[c + 2] !== expected[e + 2]) ++differ;
    }
  const total = picture.width * picture.height;
  console.log('frame ' + frame + ' (clock ' + clock + ' ms, scale ' + scale + '): ' + differ + ' of ' + total +
              ' canvas pixels differ: ' + (differ === 0 ? 'same' : 'DIFFERENT'));
  return differ !== 0;
}

main().catch((e) => {
  console.error('drive_page: ' + e.message);
  process.exitCode = 1;
});
