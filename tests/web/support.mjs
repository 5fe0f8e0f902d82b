// Opens the web page in Debian's headless Chromium, straight from disk with the
// network switched off, and fails the test on anything written to the console.
import { mkdtempSync, rmSync } from "node:fs";
import { tmpdir } from "node:os";
import { join, resolve } from "node:path";
import { pathToFileURL } from "node:url";
import puppeteer from "puppeteer-core";
import { readPng } from "./png.mjs";

export const chromium = process.env.CHROMIUM || "/usr/bin/chromium";

export function fail(message) {
  console.error(`FAIL: ${message}`);
  process.exitCode = 1;
}

export function check(ok, message) {
  if (!ok) fail(message);
  return ok;
}

// Runs body(session) against a fresh browser and page; `hash` picks "#manual-timers",
// `init` is a function run in the page before its own scripts.
export async function withPage(htmlPath, body, { hash = "", scale = 1, init = null } = {}) {
  const profile = mkdtempSync(join(tmpdir(), "procesor-chromium-"));
  const browser = await puppeteer.launch({
    executablePath: chromium,
    headless: true,
    args: ["--headless", "--no-sandbox", "--disable-gpu", "--disable-quic", "--no-first-run",
           "--disable-background-networking", "--disable-component-update", "--disable-sync",
           `--user-data-dir=${profile}`],
  });
  const problems = [];
  const requests = [];
  try {
    const page = await browser.newPage();
    await page.setViewport({ width: 1100, height: 760, deviceScaleFactor: scale });
    if (init) await page.evaluateOnNewDocument(init);
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
    const url = pathToFileURL(resolve(htmlPath)).href + hash;
    const started = performance.now();
    await page.goto(url, { waitUntil: "load" });
    await page.waitForFunction(() => document.documentElement.dataset.ready === "1",
                               { timeout: 10000 });
    const session = new Session(page, performance.now() - started);
    await body(session);
  } finally {
    await browser.close();
    rmSync(profile, { recursive: true, force: true });
  }
  for (const p of problems) fail(p);
  for (const r of requests) fail(`the page asked the network for ${r}`);
}

export class Session {
  constructor(page, loadMs) {
    this.page = page;
    this.loadMs = loadMs;
  }

  // Clicks and the button at client pixels of the diagram (the canvas is at 0,0).
  async click(x, y) {
    await this.page.mouse.move(x + 0.5, y + 0.5);
    await this.page.mouse.down();
    await this.page.mouse.up();
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

  // The canvas's pixels as RGBA bytes.
  async canvasPixels() {
    const base64 = await this.page.evaluate(() => {
      const c = document.getElementById("diagram");
      const bytes = c.getContext("2d").getImageData(0, 0, c.width, c.height).data;
      let s = "";
      for (let i = 0; i < bytes.length; i += 0x8000)
        s += String.fromCharCode.apply(null, bytes.subarray(i, i + 0x8000));
      return btoa(s);
    });
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
  await s.page.evaluate(() => document.activeElement?.blur());
  const shot = readPng(Buffer.from(await s.page.screenshot({ clip: area, type: "png" })));
  const canvas = await s.canvasPixels();
  let differ = 0, first = "";
  for (let y = 0; y < shot.height; ++y) {
    for (let x = 0; x < shot.width; ++x) {
      const cx = area.x + Math.floor(x / scale), cy = area.y + Math.floor(y / scale);
      const a = 4 * (y * shot.width + x), b = 4 * (cy * 1024 + cx);
      if (shot.rgba[a] !== canvas[b] || shot.rgba[a + 1] !== canvas[b + 1] ||
          shot.rgba[a + 2] !== canvas[b + 2]) {
        if (!differ++) first = ` first at (${cx},${cy})`;
      }
    }
  }
  check(shot.width === area.width * scale, `${what}: the screenshot is ${shot.width} wide`);
  check(differ === 0, `${what} at ratio ${scale}: ${differ} screen pixels differ from the picture,${first}`);
}
