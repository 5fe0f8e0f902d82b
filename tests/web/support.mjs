// Opens the web page straight from disk with the network switched off in one of
// three browser engines, and fails the test on anything written to the console:
// Debian's Chromium and Firefox ESR driven by puppeteer-core (over the DevTools
// protocol and WebDriver BiDi), and WebKitGTK driven over plain WebDriver
// (webdriver.mjs). PROCESOR_ENGINE picks the engine: chromium (the default),
// firefox or webkit. Every test runs unchanged in each.
import { mkdtempSync, rmSync } from "node:fs";
import { tmpdir } from "node:os";
import { join, resolve } from "node:path";
import { pathToFileURL } from "node:url";
import puppeteer from "puppeteer-core";
import { readPng } from "./png.mjs";
import { launchWebKit } from "./webdriver.mjs";

export const chromium = process.env.CHROMIUM || "/usr/bin/chromium";
export const firefox = process.env.FIREFOX || "/usr/bin/firefox-esr";
export const engines = ["chromium", "firefox", "webkit"];
export const engine = process.env.PROCESOR_ENGINE || "chromium";
if (!engines.includes(engine))
  throw new Error(`PROCESOR_ENGINE is "${engine}", not one of ${engines.join(", ")}`);

// Whether the engine can show the page at device pixel ratio `scale`: WebKitGTK
// only at whole ratios (its display's scale), the others at any.
export function supportsScale(scale, which = engine) {
  return which !== "webkit" || Number.isInteger(scale);
}

export function fail(message) {
  console.error(`FAIL: ${message}`);
  process.exitCode = 1;
}

export function check(ok, message) {
  if (!ok) fail(message);
  return ok;
}

// Starts Chromium or Firefox with its profile in `profile`.
function launch(which, profile) {
  return which === "firefox"
      ? puppeteer.launch({
          browser: "firefox", protocol: "webDriverBiDi", executablePath: firefox, headless: true,
          userDataDir: profile,
          extraPrefsFirefox: { "network.captive-portal-service.enabled": false,
                               "network.connectivity-service.enabled": false },
        })
      : puppeteer.launch({
          executablePath: chromium,
          headless: true,
          args: ["--headless", "--no-sandbox", "--disable-gpu", "--disable-quic", "--no-first-run",
                 "--disable-background-networking", "--disable-component-update", "--disable-sync",
                 `--user-data-dir=${profile}`],
        });
}

// The browsers keepingBrowsers() holds open, by engine: { browser, profile }.
let kept = null;

// Runs body() with one browser of each engine kept open for the withPage calls in it,
// each page in a browser context of its own (no storage, cookies or permissions from
// the page before, as in a fresh profile): a browser start saved per page. WebKit,
// over plain WebDriver, starts afresh for each page all the same.
export async function keepingBrowsers(body) {
  if (kept) return body();
  kept = new Map();
  try {
    return await body();
  } finally {
    for (const { browser, profile } of kept.values()) {
      await browser.close().catch(() => {});
      rmSync(profile, { recursive: true, force: true });
    }
    kept = null;
  }
}

// Starts the engine (or, within keepingBrowsers, a new context of the kept one);
// gives { browser, page, problems, requests, close } with page a puppeteer Page or
// webdriver.mjs's page, which answers the same calls.
async function open(which, { scale, width, height, profile }) {
  const problems = [], requests = [];
  if (which === "webkit") {
    const { browser, page } = await launchWebKit({ scale });
    try {
      await page.setViewport({ width, height });
    } catch (error) {
      await browser.close();
      throw error;
    }
    return { browser, page, problems, requests: browser.requests, close: () => browser.close() };
  }
  let browser, close;
  if (kept) {
    if (!kept.has(which)) {
      const own = mkdtempSync(join(tmpdir(), `procesor-${which}-`));
      kept.set(which, { browser: await launch(which, own), profile: own });
    }
    const context = await kept.get(which).browser.createBrowserContext();
    browser = context;
    close = () => context.close();
  } else {
    browser = await launch(which, profile);
    close = () => browser.close();
  }
  try {
    const page = await browser.newPage();
    // Puppeteer over BiDi counts clicks by `count` only; tests may give `clickCount`.
    const click = page.click.bind(page);
    page.click = (selector, options = {}) =>
      click(selector, { ...options, count: options.count ?? options.clickCount ?? 1 });
    await page.setViewport({ width, height, deviceScaleFactor: scale });
    // The page writes nothing to the console: no errors, no warnings, no notes.
    page.on("console", (msg) => problems.push(`console ${msg.type()}: ${msg.text()}`));
    page.on("pageerror", (error) => problems.push(`page error: ${error.message}`));
    // No network: every request that is not the file itself fails.
    await page.setOfflineMode(true);
    await page.setRequestInterception(true);
    page.on("request", (request) => {
      const url = request.url();
      if (url.startsWith("file:") || url.startsWith("data:")) request.continue();
      else {
        requests.push(url);
        request.abort("internetdisconnected");
      }
    });
    return { browser, page, problems, requests, close };
  } catch (error) {
    await close();
    throw error;
  }
}

// Runs body(session) against a fresh browser and page; `hash` picks "#manual-timers",
// `scale` the device pixel ratio, `width` x `height` (or `viewport`) the viewport in
// CSS pixels, `engine` the browser engine when not the one PROCESOR_ENGINE names.
// `before(page)` runs before the page loads (not in WebKit, whose WebDriver cannot),
// and `ready` is what the page sets when it has started ("1"; "0" when it cannot run;
// null: wait for nothing, as with JavaScript off). Console messages and network
// requests fail the test (or go to `report` when given).
export async function withPage(htmlPath, body, { hash = "", scale = 1, width = 1100, height = 760,
                                                 viewport = null, before = null, ready = "1",
                                                 engine: which = engine, report = fail } = {}) {
  if (!engines.includes(which)) throw new Error(`no browser engine "${which}"`);
  if (viewport) ({ width = width, height = height } = viewport);
  if (before && which === "webkit") throw new Error("WebKit's WebDriver runs no script before a page loads");
  const profile = mkdtempSync(join(tmpdir(), `procesor-${which}-`));
  let opened;
  try {
    opened = await open(which, { scale, width, height, profile });
    const url = pathToFileURL(resolve(htmlPath)).href + hash;
    const started = performance.now();
    if (before) await before(opened.page);
    await opened.page.goto(url, { waitUntil: "load" });
    if (ready !== null)
      await opened.page.waitForFunction((r) => document.documentElement.dataset.ready === r,
                                        { timeout: 10000 }, ready);
    const session = new Session(opened.page, performance.now() - started, which);
    try {
      await body(session);
    } finally {
      if (which === "webkit") {
        opened.problems.push(...await opened.page.consoleMessages()
                                 .catch((error) => [`the console is out of reach: ${error.message}`]));
      }
    }
  } finally {
    await opened?.close();
    rmSync(profile, { recursive: true, force: true });
  }
  for (const p of opened.problems) report(`${which}: ${p}`);
  for (const r of opened.requests) report(`${which}: the page asked the network for ${r}`);
}

export class Session {
  constructor(page, loadMs, which = engine) {
    this.page = page;
    this.loadMs = loadMs;
    this.engine = which;
  }

  // Clicks and the button at client pixels of the diagram (the canvas is at 0,0).
  async click(x, y) {
    await this.page.mouse.click(x + 0.5, y + 0.5);
  }
  async down(x, y) {
    await this.page.mouse.move(x + 0.5, y + 0.5);
    await this.page.mouse.down();
  }
  async up(x, y) {
    await this.page.mouse.move(x + 0.5, y + 0.5);
    await this.page.mouse.up();
  }
  async tick(n) {
    await this.page.evaluate((timer) => window.procesorPage.tick(timer), n);
  }
  async pulses() {
    return this.page.evaluate(() => window.procesorPage.pulses());
  }

  // Runs fn(...args) in the page (fn sees only its arguments) and gives its result.
  async evaluate(fn, ...args) {
    return this.page.evaluate(fn, ...args);
  }
  // Keys by their names ("Enter", "Escape", "Tab", "ArrowUp", "Shift", " ", "a").
  async press(key) {
    await this.page.keyboard.press(key);
  }
  async keyDown(key) {
    await this.page.keyboard.down(key);
  }
  async keyUp(key) {
    await this.page.keyboard.up(key);
  }
  async type(text) {
    await this.page.keyboard.type(text);
  }
  // Clicks the element that `selector` names at its centre (three clicks select a word).
  async clickElement(selector, clickCount = 1) {
    await this.page.click(selector, { clickCount });
  }
  // The screen's pixels of `area` (CSS pixels), { width, height, rgba } in device pixels.
  async screenshot(area) {
    return readPng(Buffer.from(await this.page.screenshot({ clip: area, type: "png" })));
  }

  // The canvas's pixels as RGBA bytes: as a PNG from the page, which every engine
  // gives several times faster than the same bytes from getImageData().
  async canvasPixels() {
    const url = await this.page.evaluate(() => document.getElementById("diagram").toDataURL("image/png"));
    return readPng(Buffer.from(url.slice(url.indexOf(",") + 1), "base64")).rgba;
  }
  // The RGBA bytes of `area` of the canvas, row by row.
  async canvasArea(area) {
    const base64 = await this.page.evaluate(({ x, y, width, height }) => {
      const c = document.getElementById("diagram");
      const bytes = c.getContext("2d").getImageData(x, y, width, height).data;
      let s = "";
      for (let i = 0; i < bytes.length; i += 0x8000)
        s += String.fromCharCode.apply(null, bytes.subarray(i, i + 0x8000));
      return btoa(s);
    }, area);
    return Buffer.from(base64, "base64");
  }

  // One pixel of the canvas as "#rrggbb".
  async pixel(x, y) {
    return this.page.evaluate((px, py) => {
      const d = document.getElementById("diagram").getContext("2d").getImageData(px, py, 1, 1).data;
      return "#" + [d[0], d[1], d[2]].map((v) => v.toString(16).padStart(2, "0")).join("");
    }, x, y);
  }
}

// The first few pixels in which two RGBA pictures differ, and how many differ.
export function compareRgba(actual, expected, width) {
  let count = 0;
  const first = [];
  for (let i = 0; i < expected.length; i += 4) {
    if (actual[i] !== expected[i] || actual[i + 1] !== expected[i + 1] ||
        actual[i + 2] !== expected[i + 2]) {
      if (first.length < 5) {
        const p = i / 4;
        const hex = (b, at) => [b[at], b[at + 1], b[at + 2]]
                                   .map((v) => v.toString(16).padStart(2, "0")).join("");
        first.push(`(${p % width},${Math.floor(p / width)}) #${hex(actual, i)} not #${hex(expected, i)}`);
      }
      ++count;
    }
  }
  return { count, first };
}

// Compares a screenshot of `area` (taken at `scale`) with the canvas's pixels there.
export async function sameAsCanvas(s, area, scale, what) {
  await s.evaluate(() => document.activeElement?.blur());
  const shot = await s.screenshot(area);
  const canvas = await s.canvasArea(area);
  let differ = 0, first = "";
  for (let y = 0; y < shot.height; ++y) {
    for (let x = 0; x < shot.width; ++x) {
      const cx = Math.floor(x / scale), cy = Math.floor(y / scale);
      const a = 4 * (y * shot.width + x), b = 4 * (cy * area.width + cx);
      if (shot.rgba[a] !== canvas[b] || shot.rgba[a + 1] !== canvas[b + 1] ||
          shot.rgba[a + 2] !== canvas[b + 2]) {
        if (!differ++) first = ` first at (${area.x + cx},${area.y + cy})`;
      }
    }
  }
  check(shot.width === area.width * scale, `${what}: the screenshot is ${shot.width} wide`);
  check(differ === 0, `${what} at ratio ${scale}: ${differ} screen pixels differ from the picture,${first}`);
}
