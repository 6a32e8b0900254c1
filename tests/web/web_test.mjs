// The browser build in headless Chromium against the stored references:
// frame hashes with and without keys and the sound, served and from the
// one-file page opened from the disk; the scaled picture; a paced run's frame rate, start screen, pause
// while hidden, full speed, end screen and restart; the on-screen controls
// on a phone and a tablet; refused parameters and browsers; the benchmark page.
// Usage: node web_test.mjs REFERENCE_DIR WEB_DIR [--benchmark RELEASE_CAPTURE]
// --benchmark instead times every part's drawing in the page and in
// RELEASE_CAPTURE --benchmark, side by side.
import { execFileSync } from 'node:child_process';
import fs from 'node:fs';
import http from 'node:http';
import os from 'node:os';
import path from 'node:path';
import { pathToFileURL } from 'node:url';
import puppeteer, { KnownDevices } from 'puppeteer-core';

const [referenceDir, webDir] = process.argv.slice(2, 4).map(p => path.resolve(p));
const benchmarkAt = process.argv.indexOf('--benchmark');
const releaseCapture = benchmarkAt > 0 ? path.resolve(process.argv[benchmarkAt + 1]) : null;
const scratch = fs.mkdtempSync(path.join(os.tmpdir(), 'kelp-web-'));
const side = 256;
const phone = 'iPhone 13';  // 390 x 844 CSS pixels, 3 device pixels to one
const sleep = ms => new Promise(resolve => setTimeout(resolve, ms));
let failures = 0;
let passes = 0;

function check(ok, what, detail = '') {
  console.log(`${ok ? 'ok' : 'not ok'} - ${what}${detail ? ` (${detail})` : ''}`);
  if (ok) passes += 1;
  else failures += 1;
}

// The folder as any static host serves it, plus the two headers that give
// the page microsecond timers for its drawing statistics.
function serve(dir) {
  const types = { '.html': 'text/html', '.js': 'text/javascript', '.wasm': 'application/wasm' };
  const server = http.createServer((request, response) => {
    const name = new URL(request.url, 'http://host').pathname.replace(/\/$/, '/index.html');
    fs.readFile(path.join(dir, path.normalize(name)), (error, body) => {
      response.writeHead(error ? 404 : 200, {
        'Content-Type': types[path.extname(name)] || 'application/octet-stream',
        'Cross-Origin-Opener-Policy': 'same-origin',
        'Cross-Origin-Embedder-Policy': 'require-corp',
      });
      response.end(error ? undefined : body);
    });
  });
  return new Promise(resolve => server.listen(0, '127.0.0.1', () => resolve(server)));
}

// The lines of a file of references: the name, then the SHA-256 digest.
function readReferences(file) {
  return fs.readFileSync(path.join(referenceDir, file), 'utf8').split('\n')
    .filter(line => line && !line.startsWith('#'))
    .map(line => ({ name: line.slice(0, line.lastIndexOf(' ')), sha256: line.slice(line.lastIndexOf(' ') + 1) }));
}

// frame N [keys LIST] [(note)]
function frameReferences() {
  return readReferences('frames.txt').map(reference => {
    const [, frame, keys] = reference.name.match(/^frame (\d+)(?: keys (\S+))?/);
    return { ...reference, frame: +frame, keys };
  });
}

const valuesPerFrame = 882;  // 44100 a second, 50 frames a second

async function runExact(browser, base, frame, keys, device) {
  const page = await browser.newPage();
  if (device) await page.emulate(KnownDevices[device]);
  else await page.setViewport({ width: 1000, height: 900 });
  await page.goto(`${base}?frames=${frame}${keys ? `&keys=${keys}` : ''}`);
  await page.waitForFunction(() => document.getElementById('frame-sha256').textContent, { timeout: 120000 });
  return page;
}

// The plain frames up to 4500 and every keyed run; with frame 600 the sound
// of the frames before it, the screenshot on a phone and the one-file page.
async function checkFrames(browser, base) {
  const sound = readReferences('sound.txt').find(reference => reference.name.startsWith('sound frames 0-599'));
  const plain = [1, 600, 1800, 3000, 4500];
  const cases = frameReferences().filter(reference => reference.keys || plain.includes(reference.frame));
  check(cases.length === plain.length + 3 && sound, 'references of the frames and sound checked here');
  for (const reference of cases) {
    const { frame, keys } = reference;
    const page = await runExact(browser, base, frame, keys, frame === 600 ? phone : undefined);
    await checkHash(page, reference);
    if (frame === 600 && sound) await checkSound(page, 600, sound);
    if (frame === 600) await checkScreenshot(page);
    await page.close();
    if (frame === 600 && sound) await checkOneFile(browser, reference, sound);
  }
}

async function checkHash(page, reference, where = '') {
  const hash = await page.$eval('#frame-sha256', element => element.textContent);
  check(hash === reference.sha256, `${where}${reference.name}`, hash === reference.sha256 ? '' : `got ${hash}`);
}

// kelp4090.html opened from the disk, with no server to fetch from: at most
// 2 MB, and the frame and the sound of the served page.
async function checkOneFile(browser, frame, sound) {
  const file = path.join(webDir, 'kelp4090.html');
  const bytes = fs.statSync(file).size;
  check(bytes <= 2e6, 'kelp4090.html at most 2 MB', `${bytes} bytes`);
  const page = await runExact(browser, pathToFileURL(file).href, frame.frame);
  const where = 'kelp4090.html from the disk: ';
  await checkHash(page, frame, where);
  await checkSound(page, frame.frame, sound, where);
  await page.close();
}

async function checkSound(page, frames, reference, where = '') {
  const digest = await page.evaluate(async count => {
    const module = kelp.module;
    if (module._web_sound_count() < count) return `only ${module._web_sound_count()} values`;
    const bytes = new Uint8Array(module.HEAP16.buffer, module._web_sound_values(), 2 * count).slice();
    const hash = new Uint8Array(await crypto.subtle.digest('SHA-256', bytes));
    return Array.from(hash, byte => byte.toString(16).padStart(2, '0')).join('');
  }, frames * valuesPerFrame);
  check(digest === reference.sha256, `${where}${reference.name}`, digest === reference.sha256 ? '' : `got ${digest}`);
}

// On a phone of 3 device pixels to one CSS pixel, each picture pixel a 4 x 4
// square of device pixels of its colour: the largest whole scale that fits.
async function checkScreenshot(page) {
  const pixels = await page.$eval('canvas', canvas => {
    const rgba = canvas.getContext('2d').getImageData(0, 0, canvas.width, canvas.height).data;
    return Array.from({ length: rgba.length / 4 }, (_, i) => rgba[4 * i] << 16 | rgba[4 * i + 1] << 8 | rgba[4 * i + 2]);
  });
  const [box, ratio] = await page.evaluate(() => [document.getElementById('screen').getBoundingClientRect().toJSON(),
                                                  devicePixelRatio]);
  const scale = Math.round(box.width * ratio) / side;
  const [left, top] = [Math.round(box.left * ratio), Math.round(box.top * ratio)];
  const png = path.join(scratch, 'page.png');
  await page.screenshot({ path: png });
  const width = Number(execFileSync('identify', ['-format', '%w', png]));
  const rgb = execFileSync('convert', [png, '-depth', '8', 'rgb:-'], { maxBuffer: 1 << 24 });
  let wrong = 0;
  for (let y = 0; y < side * scale; ++y) {
    for (let x = 0; x < side * scale; ++x) {
      const at = 3 * ((top + y) * width + left + x);
      const shown = rgb[at] << 16 | rgb[at + 1] << 8 | rgb[at + 2];
      if (shown !== pixels[Math.floor(y / scale) * side + Math.floor(x / scale)]) wrong += 1;
    }
  }
  check(scale === 4 && wrong === 0, `${phone}: every pixel a 4 x 4 square`, `scale ${scale}, ${wrong} device pixels differ`);
}

const frames = page => page.evaluate(() => [kelp.module._web_frames(), performance.now()]);

// Paced at scale 1: the screenshot above covers the scaling, and a small
// page leaves the browser's own drawing less to compete for.
async function checkPaced(browser, base) {
  const page = await browser.newPage();
  await page.setViewport({ width: 600, height: 360 });
  // Every frame reaches the canvas through one putImageData: note its time.
  await page.evaluateOnNewDocument(() => {
    const put = CanvasRenderingContext2D.prototype.putImageData;
    CanvasRenderingContext2D.prototype.putImageData = function (...args) {
      window.kelp?.frameTimes?.push(performance.now());
      return put.apply(this, args);
    };
  });
  await page.goto(base);
  await page.waitForFunction(() => kelp.firstFrameMs !== null, { timeout: 30000 });
  const firstMs = await page.evaluate(() => kelp.firstFrameMs);
  const prompt = await page.$eval('#message', element => element.textContent);
  check(prompt === 'Click or press a key to start', 'first frame and start prompt', `after ${firstMs.toFixed(0)} ms`);
  await page.mouse.click(300, 150);
  await page.waitForFunction(() => kelp.module._web_frames() >= 100, { timeout: 60000 });
  // The median gap between frames: a browser starved by a busy machine
  // stretches a few frames, which the frame clock does not win back, but
  // it does not move the median. Never faster than 50 frames per second.
  const times = await page.evaluate(() => new Promise(resolve => {
    kelp.frameTimes = [];
    const done = () => (kelp.frameTimes.length > 250 ? resolve(kelp.frameTimes) : setTimeout(done, 100));
    done();
  }));
  const gaps = times.slice(1).map((time, i) => time - times[i]).sort((a, b) => a - b);
  const median = gaps[gaps.length >> 1];
  const rate = (times.length - 1) / (times.at(-1) - times[0]) * 1000;
  check(Math.abs(median - 20) <= 1 && rate <= 50.5, '50 frames per second',
        `median gap ${median.toFixed(2)} ms, ${rate.toFixed(2)} frames a second`);
  const soundAhead = await page.evaluate(() => kelp.module.soundNext - kelp.module.audioContext.currentTime);
  check(soundAhead > 0, 'sound scheduled ahead of the audio clock', `${soundAhead.toFixed(3)} s`);
  await checkHidden(page);
  await checkFullSpeed(page);
  // Held until it acted: a press and its release within one frame is lost, as in SDL.
  await page.keyboard.down('Escape');
  await page.waitForFunction(() => document.getElementById('message').textContent.startsWith('The end'),
                             { timeout: 60000 });
  await page.keyboard.up('Escape');
  await page.evaluate(() => { window.firstRun = kelp.module; });
  await page.mouse.click(300, 150);
  await page.waitForFunction(() => kelp.module !== window.firstRun && kelp.module._web_frames() > 10);
  check(true, 'ESC ends with the end screen and a click runs the demo again');
  await page.close();
}

// The page hidden as a browser hides a background tab, and shown again;
// returns when, on the page's clock.
function setHidden(page, hidden) {
  return page.evaluate(value => {
    Object.defineProperty(document, 'hidden', { configurable: true, get: () => value });
    Object.defineProperty(document, 'visibilityState', { configurable: true, get: () => (value ? 'hidden' : 'visible') });
    document.dispatchEvent(new Event('visibilitychange'));
    return performance.now();
  }, hidden);
}

// Hidden for a second, neither frames, sound nor the demo's time go on;
// shown, they go on together, at 50 frames per second without catching up.
async function checkHidden(page) {
  const state = () => page.evaluate(() => ({
    frames: kelp.module._web_frames(), audio: kelp.module.audioContext.currentTime, ms: performance.now(),
    demoMs: kelp.module._web_demo_ms(),
  }));
  const before = await state();
  await setHidden(page, true);
  await page.waitForFunction(() => kelp.module.wakeShown && kelp.module.audioContext.state === 'suspended');
  const held = await state();
  await sleep(1000);
  const still = await state();
  check(still.frames === held.frames && still.audio === held.audio && still.demoMs === held.demoMs,
        'hidden: no frames, no sound and no time for a second',
        `${still.frames - held.frames} frames, ${(still.audio - held.audio).toFixed(3)} s of sound, ` +
        `${still.demoMs - held.demoMs} ms`);
  const shownMs = await setHidden(page, false);
  await page.waitForFunction(count => kelp.module._web_frames() >= count, {}, still.frames + 50);
  const after = await state();
  // The demo's time goes on from where it stood, not from where real time is.
  const resumed = after.demoMs - still.demoMs - (after.ms - shownMs);
  check(after.ms - shownMs >= 900 && Math.abs(resumed) < 5, 'shown again: 50 frames take a second, none caught up',
        `${(after.ms - shownMs).toFixed(0)} ms, demo time off by ${resumed.toFixed(1)} ms`);
  // The demo's time, not its frame count: a starved browser drops frames
  // natively too, and the picture follows the demo's time.
  const picture = (after.demoMs - before.demoMs) / 1000;
  const sound = after.audio - before.audio;
  check(Math.abs(picture - sound) < 0.2, 'music in step with the picture across the pause',
        `${picture.toFixed(2)} s of the demo, ${sound.toFixed(2)} s of sound`);
}

// The full-speed control clicked with the mouse: 500 frames well within the
// 10 s they take paced, the page answering meanwhile; clicked again, paced.
async function checkFullSpeed(page) {
  await page.click('[data-key="9"]');
  const [start, startMs] = await frames(page);
  await page.waitForFunction(count => kelp.module._web_frames() >= count, { timeout: 60000 }, start + 500);
  const [, endMs] = await frames(page);
  await page.click('[data-key="9"]');
  check(endMs - startMs < 5000, 'full speed clicked: 500 frames in less than 5 s', `${(endMs - startMs).toFixed(0)} ms`);
}

// The layout on `device`: the picture at the largest whole scale of device
// pixels that fits, every control at least 44 CSS pixels, inside the
// viewport and off the picture.
async function checkLayout(page, device, scale) {
  await page.emulate(KnownDevices[device]);
  await page.evaluate(() => new Promise(requestAnimationFrame));
  const layout = await page.evaluate(() => {
    const rect = element => element.getBoundingClientRect().toJSON();
    return { picture: rect(document.getElementById('screen')), ratio: devicePixelRatio, width: innerWidth,
             height: innerHeight, controls: Array.from(document.querySelectorAll('#controls button'), rect) };
  });
  const { picture, ratio, width, height, controls } = layout;
  const inside = box => box.left >= 0 && box.top >= 0 && box.right <= width && box.bottom <= height;
  const apart = box => box.right <= picture.left || box.left >= picture.right || box.bottom <= picture.top ||
                       box.top >= picture.bottom;
  // Layout keeps 1/64 CSS pixel: 1024 device pixels at a ratio of 3 are 341.33.
  const shown = Math.round(picture.width * ratio) / side;
  check(shown === scale && picture.height === picture.width && inside(picture), `${device}: picture at scale ${scale}`,
        `scale ${shown}`);
  const wrong = controls.filter(box => box.width < 44 || box.height < 44 || !inside(box) || !apart(box));
  check(controls.length === 7 && wrong.length === 0, `${device}: 7 controls of 44 px or more, on screen, off the picture`,
        JSON.stringify(wrong));
}

const runningPart = page => page.evaluate(() => kelp.module.UTF8ToString(kelp.module._web_running_part()));

// Taps on a phone: the first starts the demo, then every control acts once
// as its key, the scroll controls as the running part takes A and S.
async function checkTouch(browser, base) {
  const page = await browser.newPage();
  await page.emulate(KnownDevices['iPad Pro 11 landscape']);
  await page.goto(base);
  await page.waitForFunction(() => kelp.firstFrameMs !== null, { timeout: 30000 });
  await checkLayout(page, 'iPad Pro 11 landscape', 6);
  await checkLayout(page, phone, 4);
  await page.tap('#message');
  await page.waitForFunction(() => kelp.module._web_frames() > 1);
  // An export's first call replaces its lazy wrapper, so call it once first.
  await page.evaluate(() => {
    kelp.module._web_tap(-1);
    const tap = kelp.module._web_tap;
    kelp.taps = [];
    kelp.module._web_tap = symbol => { kelp.taps.push(symbol); tap(symbol); };
  });
  const untilPart = name => page.waitForFunction(
    part => kelp.module.UTF8ToString(kelp.module._web_running_part()) === part, {}, name);
  await page.tap('[data-scroll=faster]');
  await page.tap('[data-key=space]');
  await untilPart('bubbles');
  const switched = await page.evaluate(() => kelp.module._web_frames());
  await page.waitForFunction(count => kelp.module._web_frames() >= count, {}, switched + 25);
  check(await runningPart(page) === 'bubbles', 'a tap on next part moves on one part');
  // Paced, the taps queued here act one after another long before the part
  // ends. Full speed comes last: it runs through whole parts at once.
  for (const control of ['[data-key="8"]', '[data-key=space]', '[data-key=space]']) {
    await page.tap(control);
  }
  await untilPart('hearts');
  for (const control of ['[data-scroll=faster]', '[data-scroll=slower]', '[data-key="9"]', '[data-key=esc]']) {
    await page.tap(control);
  }
  await page.waitForFunction(() => document.getElementById('message').textContent.startsWith('The end'));
  const taps = await page.evaluate(() => kelp.taps);
  check(taps.join() === '97,32,56,32,32,115,97,57,27', 'taps: each control its key, then the end screen',
        taps.join());
  await page.close();
}

// Bad parameters, and browsers without WebAssembly or Web Audio: one
// sentence on the page, and no program started.
async function checkRefusals(browser, base) {
  const cases = [
    { query: '?frames=12x', text: "frames: '12x' is not a frame number" },
    { query: '?frames=10&keys=5:up', text: "keys: '5:up' is not FRAME:KEY (KEY: space, esc or one character)" },
    { missing: 'WebAssembly', text: 'This browser cannot play KELP4090: it has no WebAssembly.' },
    { missing: 'AudioContext', text: 'This browser cannot play KELP4090: it has no Web Audio.' },
  ];
  for (const { query = '', missing, text } of cases) {
    const page = await browser.newPage();
    await page.evaluateOnNewDocument(name => {
      if (name) delete window[name];
      // Counts the programs the page starts.
      let factory;
      Object.defineProperty(window, 'createKelp4090', {
        configurable: true,
        set: value => { factory = value; },
        get: () => (...args) => { window.programsStarted = (window.programsStarted || 0) + 1; return factory(...args); },
      });
    }, missing);
    await page.goto(base + query);
    const [shown, started] = await page.evaluate(() => [document.getElementById('message').textContent,
                                                        window.programsStarted || 0]);
    check(shown === text && started === 0, `refused: ${query || `no ${missing}`}`, `'${shown}', ${started} started`);
    await page.close();
  }
}

// The page's benchmark: the five parts, each drawn as many frames as it runs.
async function checkBenchmarkPage(browser, base) {
  const rows = await pageBenchmark(browser, base);
  const counts = ['tiles', 'bubbles', 'spirals', 'hearts', 'bobs'].map(name => rows.get(name)?.[0]);
  check(counts.join() === '1001,1001,1251,1001,801', 'benchmark page: every part timed', counts.join());
}

// The rows of a --benchmark table by part: frames, median, worst, frames/s.
function benchmarkRows(text) {
  const rows = new Map();
  for (const line of text.split('\n')) {
    const [name, ...figures] = line.trim().split(/\s+/);
    if (figures.length === 4 && figures.every(figure => /^[\d.]+$/.test(figure))) rows.set(name, figures.map(Number));
  }
  return rows;
}

async function pageBenchmark(browser, base) {
  const page = await browser.newPage();
  await page.goto(`${base}?benchmark`);
  await page.waitForFunction(() => kelp.benchmarkDone, { timeout: 120000 });
  const text = await page.$eval('#benchmark', element => element.textContent);
  await page.close();
  return benchmarkRows(text);
}

// The same loop natively and in the page, in turns, three times each; per
// part the least median and the least mean (from frames/s) of each side.
// The page's clock counts in steps of 5 µs.
async function compareDrawing(browser, base) {
  const native = [];
  const browsed = [];
  for (let round = 0; round < 3; ++round) {
    native.push(benchmarkRows(execFileSync(releaseCapture, ['--benchmark'], { encoding: 'utf8' })));
    browsed.push(await pageBenchmark(browser, base));
  }
  const least = (runs, name, pick) => Math.min(...runs.map(rows => pick(rows.get(name))));
  const median = row => row[1];
  const mean = row => 1e6 / row[3];
  console.log(`# load average ${fs.readFileSync('/proc/loadavg', 'utf8').split(' ').slice(0, 3).join(' ')}`);
  console.log('# part      median µs: native browser ratio    mean µs: native browser ratio');
  for (const name of native[0].keys()) {
    if (name === 'present' || !browsed[0].has(name)) continue;
    const figures = [median, mean].flatMap(pick => {
      const [here, there] = [least(native, name, pick), least(browsed, name, pick)];
      return [here.toFixed(1), there.toFixed(1), (there / here).toFixed(2)];
    });
    console.log(`# ${name.padEnd(8)} ${figures.slice(0, 3).map(f => f.padStart(8)).join('')}` +
                `        ${figures.slice(3).map(f => f.padStart(8)).join('')}`);
  }
}

const server = await serve(webDir);
const base = `http://127.0.0.1:${server.address().port}/`;
const browser = await puppeteer.launch({
  executablePath: '/usr/bin/chromium',
  userDataDir: path.join(scratch, 'profile'),
  args: ['--headless=new', '--no-sandbox', '--disable-gpu', '--no-first-run', '--disable-background-networking',
         '--disable-component-update', '--disable-sync', '--autoplay-policy=no-user-gesture-required'],
});
try {
  if (releaseCapture) {
    await compareDrawing(browser, base);
  } else {
    await checkFrames(browser, base);
    await checkPaced(browser, base);
    await checkTouch(browser, base);
    await checkRefusals(browser, base);
    await checkBenchmarkPage(browser, base);
  }
} catch (error) {
  check(false, 'browser run', error.message);
} finally {
  await browser.close();
  server.close();
  fs.rmSync(scratch, { recursive: true, force: true });
}
console.log(`browser: ${passes} passed, ${failures} failed`);
process.exit(failures ? 1 : 0);
