// WebKitGTK, Safari's engine, spoken to over plain W3C WebDriver: Debian's
// WebKitWebDriver starts its MiniBrowser in a private virtual display (Xvfb) and
// takes HTTP commands from here. The page object answers the part of puppeteer's
// Page that the tests use (evaluate, $eval, click, focus, title, keyboard, mouse,
// screenshot, waitForFunction, setViewport, touchscreen.tap), so every test runs
// unchanged in all three engines.
//
// What plain WebDriver cannot do, and what stands in for it:
// - a device pixel ratio: the display's own, set by GDK_SCALE before MiniBrowser
//   starts (a real ratio of 2, as on a dense screen, not an emulation); whole
//   ratios only, as GTK 3 has no fractional scale (supportsScale in support.mjs);
// - the console: WebDriver has no log, and MiniBrowser under automation writes
//   none; a script installed as soon as the page has loaded records console calls,
//   uncaught errors and rejected promises from then on;
// - switching the network off: every browser request goes to a proxy here that
//   answers none and records each one;
// - a tap: WebKitGTK's automation gives a touch pointer as the mouse (the page
//   sees pointerType "mouse").
import { spawn } from "node:child_process";
import { existsSync } from "node:fs";
import { createServer } from "node:http";
import { readPng, writePng } from "./png.mjs";

export const webKitDriver = process.env.WEBKIT_WEBDRIVER || "/usr/bin/WebKitWebDriver";
export const miniBrowser = process.env.WEBKIT_MINIBROWSER ||
    ["/usr/lib/x86_64-linux-gnu", "/usr/lib/aarch64-linux-gnu", "/usr/lib", "/usr/libexec"]
        .map((dir) => `${dir}/webkit2gtk-4.1/MiniBrowser`).find((path) => existsSync(path)) ||
    "/usr/lib/x86_64-linux-gnu/webkit2gtk-4.1/MiniBrowser";

const sleep = (ms) => new Promise((done) => setTimeout(done, ms));

// WebDriver's codes for the keys puppeteer names.
const kKeys = {
  Backspace: "\uE003", Tab: "\uE004", Enter: "\uE007", Shift: "\uE008", Control: "\uE009",
  Alt: "\uE00A", Escape: "\uE00C", " ": " ", Space: " ", PageUp: "\uE00E", PageDown: "\uE00F",
  End: "\uE010", Home: "\uE011", ArrowLeft: "\uE012", ArrowUp: "\uE013", ArrowRight: "\uE014",
  ArrowDown: "\uE015", Insert: "\uE016", Delete: "\uE017", Meta: "\uE03D",
  F1: "\uE031", F2: "\uE032", F3: "\uE033", F4: "\uE034", F5: "\uE035", F6: "\uE036",
  F7: "\uE037", F8: "\uE038", F9: "\uE039", F10: "\uE03A", F11: "\uE03B", F12: "\uE03C",
};
function keyCode(key) {
  if (kKeys[key] !== undefined) return kKeys[key];
  if ([...key].length === 1) return key;
  throw new Error(`no WebDriver code for the key "${key}"`);
}

// Records console calls and uncaught errors in the page from the moment it runs.
const kConsoleHook = `
  if (!window.__procesorConsole) {
    const seen = window.__procesorConsole = [];
    const text = (args) => args.map((a) => {
      try { return typeof a === "string" ? a : a instanceof Error ? a.message : JSON.stringify(a); }
      catch { return String(a); }
    }).join(" ");
    for (const type of ["log", "info", "warn", "error", "debug", "trace", "dir", "table", "count", "time", "timeEnd"]) {
      const original = console[type];
      console[type] = function (...args) { seen.push("console " + type + ": " + text(args)); return original.apply(this, args); };
    }
    const assert = console.assert;
    console.assert = function (ok, ...args) { if (!ok) seen.push("console assert: " + text(args)); return assert.call(this, ok, ...args); };
    addEventListener("error", (e) => seen.push("page error: " + e.message));
    addEventListener("unhandledrejection", (e) => seen.push("page error: " + (e.reason && e.reason.message || e.reason)));
  }`;

// A free TCP port on the loopback interface.
async function freePort() {
  const server = createServer();
  await new Promise((done) => server.listen(0, "127.0.0.1", done));
  const { port } = server.address();
  await new Promise((done) => server.close(done));
  return port;
}

// Xvfb on a display number of its own choosing; resolves to ":N".
function startXvfb() {
  const xvfb = spawn("Xvfb", ["-displayfd", "3", "-screen", "0", "3840x2400x24", "-nolisten", "tcp"],
                     { stdio: ["ignore", "ignore", "pipe", "pipe"] });
  let errors = "";
  xvfb.stderr.on("data", (d) => { errors += d; });
  const display = new Promise((resolve, reject) => {
    let out = "";
    xvfb.stdio[3].on("data", (d) => {
      out += d;
      if (out.includes("\n")) resolve(`:${out.trim()}`);
    });
    xvfb.on("error", (e) => reject(new Error(`Xvfb: ${e.message} (run scripts/deps --test)`)));
    xvfb.on("exit", (code) => reject(new Error(`Xvfb ended (${code}): ${errors.slice(-300)}`)));
  });
  return { process: xvfb, display };
}

// A proxy that answers no request and records every one.
async function startNetworkTrap(requests) {
  const trap = createServer((request, response) => {
    requests.push(request.url);
    response.destroy();
  });
  trap.on("connect", (request, socket) => {
    requests.push(`https://${request.url}`);
    socket.destroy();
  });
  await new Promise((done) => trap.listen(0, "127.0.0.1", done));
  return trap;
}

// The display and driver of every open browser, ended also when the test ends early.
const children = new Set();
process.on("exit", () => {
  for (const child of children) child.kill();
});
for (const [signal, number] of [["SIGHUP", 1], ["SIGINT", 2], ["SIGTERM", 15]])
  process.once(signal, () => process.exit(128 + number));

export async function launchWebKit({ scale = 1 } = {}) {
  if (!Number.isInteger(scale) || scale < 1)
    throw new Error(`WebKitGTK takes its pixel ratio from GDK_SCALE, a whole number, not ${scale}`);
  for (const [path, what] of [[webKitDriver, "WebKitWebDriver"], [miniBrowser, "MiniBrowser"]])
    if (!existsSync(path)) throw new Error(`${what} (${path}) is missing: run scripts/deps --test`);
  const requests = [];
  const xvfb = startXvfb();
  children.add(xvfb.process);
  const trap = await startNetworkTrap(requests);
  const port = await freePort();
  let driver;
  const browser = {
    requests,
    async close() {
      if (this.session) await this.session.command("DELETE", "").catch(() => {});
      for (const child of [driver, xvfb.process]) {
        child?.kill();
        children.delete(child);
      }
      trap.close();
    },
  };
  try {
    const display = await xvfb.display;
    driver = spawn(webKitDriver, [`--port=${port}`], {
      stdio: ["ignore", "ignore", "pipe"],
      env: { ...process.env, DISPLAY: display, GDK_BACKEND: "x11", GDK_SCALE: String(scale),
             WAYLAND_DISPLAY: "" },
    });
    children.add(driver);
    let driverErrors = "";
    driver.stderr.on("data", (d) => { driverErrors = (driverErrors + d).slice(-2000); });
    const base = `http://127.0.0.1:${port}`;
    for (let tries = 0; ; ++tries) {
      try {
        await fetch(`${base}/status`);
        break;
      } catch {
        if (tries > 200 || driver.exitCode !== null)
          throw new Error(`WebKitWebDriver does not answer: ${driverErrors}`);
        await sleep(25);
      }
    }
    const proxy = `http://127.0.0.1:${trap.address().port}`;
    const created = await request(base, "POST", "/session", {
      capabilities: { alwaysMatch: { "webkitgtk:browserOptions": {
        binary: miniBrowser, args: ["--automation", `--proxy=${proxy}`, "--ignore-host="] },
        // Long enough for a test that watches the clock inside one script.
        timeouts: { script: 300000 } } },
    });
    browser.session = new Session(`${base}/session/${created.sessionId}`);
    return { browser, page: new Page(browser.session, scale) };
  } catch (error) {
    await browser.close();
    throw error;
  }
}

async function request(base, method, path, body) {
  const response = await fetch(base + path, {
    method, headers: { "content-type": "application/json; charset=utf-8" },
    body: body === undefined ? undefined : JSON.stringify(body),
  });
  const answer = await response.json();
  if (answer.value?.error)
    throw new Error(`WebDriver ${method} ${path}: ${answer.value.error}: ${answer.value.message}`);
  return answer.value;
}

class Session {
  constructor(url) { this.url = url; }
  command(method, path, body) { return request(this.url, method, path, body); }
}

// The part of puppeteer's Page that the tests use.
class Page {
  constructor(session, scale) {
    this.session = session;
    this.scale = scale;
    const page = this;
    this.mouse = {
      position: [0, 0],
      async move(x, y) {
        this.position = [Math.floor(x), Math.floor(y)];
        await page.#pointer([{ type: "pointerMove", x: this.position[0], y: this.position[1],
                               origin: "viewport", duration: 0 }]);
      },
      async down({ button = "left" } = {}) {
        await page.#pointer([{ type: "pointerDown", button: kButtons[button] }]);
      },
      async up({ button = "left" } = {}) {
        await page.#pointer([{ type: "pointerUp", button: kButtons[button] }]);
      },
      async click(x, y, { clickCount = 1, count = clickCount, button = "left" } = {}) {
        await page.#clicks(x, y, count, kButtons[button]);
      },
    };
    this.touchscreen = {
      async tap(x, y) {
        await page.session.command("POST", "/actions", { actions: [
          { type: "pointer", id: "finger", parameters: { pointerType: "touch" }, actions: [
            { type: "pointerMove", x: Math.floor(x), y: Math.floor(y), origin: "viewport", duration: 0 },
            { type: "pointerDown", button: 0 }, { type: "pointerUp", button: 0 }] }] });
      },
    };
    this.keyboard = {
      down: (key) => page.#keys([{ type: "keyDown", value: keyCode(key) }]),
      up: (key) => page.#keys([{ type: "keyUp", value: keyCode(key) }]),
      press: (key) => page.#keys([{ type: "keyDown", value: keyCode(key) },
                                  { type: "keyUp", value: keyCode(key) }]),
      type: (text) => page.#keys([...text].flatMap((c) => [{ type: "keyDown", value: c },
                                                           { type: "keyUp", value: c }])),
    };
  }

  async #pointer(actions) {
    await this.session.command("POST", "/actions", { actions: [
      { type: "pointer", id: "mouse", parameters: { pointerType: "mouse" }, actions }] });
  }
  async #keys(actions) {
    await this.session.command("POST", "/actions", { actions: [{ type: "key", id: "keyboard", actions }] });
  }
  async #clicks(x, y, count, button) {
    this.mouse.position = [Math.floor(x), Math.floor(y)];
    const one = [{ type: "pointerDown", button }, { type: "pointerUp", button }];
    await this.#pointer([{ type: "pointerMove", x: this.mouse.position[0], y: this.mouse.position[1],
                           origin: "viewport", duration: 0 },
                         ...Array.from({ length: count }, () => one).flat()]);
  }

  async goto(url) {
    await this.session.command("POST", "/url", { url });
    await this.#run(kConsoleHook, []);
  }

  // Runs fn(...args) in the page and gives its (awaited) result, as puppeteer does.
  async evaluate(fn, ...args) {
    return this.#run(`return (${fn}).apply(null, args);`, args);
  }
  async $eval(selector, fn, ...args) {
    return this.#run(`const element = document.querySelector(args[0]);
                      if (!element) throw new Error("no element matches " + args[0]);
                      return (${fn})(element, ...args.slice(1));`, [selector, ...args]);
  }
  // Runs `body` (which sees `args`) as an async function in the page.
  async #run(body, args) {
    const answer = await this.session.command("POST", "/execute/async", {
      script: `const args = arguments[0], done = arguments[arguments.length - 1];
               (async () => { ${body} })().then((value) => done({ value }),
                                                (e) => done({ error: String(e && e.stack || e) }));`,
      args: [args],
    });
    if (answer?.error !== undefined) throw new Error(`in the page: ${answer.error}`);
    return answer?.value;
  }
  async title() {
    return this.session.command("GET", "/title");
  }
  async #centre(selector) {
    const rect = await this.evaluate((s) => {
      const element = document.querySelector(s);
      if (!element) return null;
      element.scrollIntoView({ block: "nearest", inline: "nearest" });
      const r = element.getBoundingClientRect();
      return [r.x + r.width / 2, r.y + r.height / 2];
    }, selector);
    if (!rect) throw new Error(`no element matches ${selector}`);
    return rect;
  }
  async click(selector, { clickCount = 1, count = clickCount, button = "left" } = {}) {
    const [x, y] = await this.#centre(selector);
    await this.#clicks(x, y, count, kButtons[button]);
  }
  async focus(selector) {
    await this.evaluate((s) => document.querySelector(s).focus(), selector);
  }
  async waitForFunction(fn, { timeout = 30000, polling = 50 } = {}, ...args) {
    const end = performance.now() + timeout;
    for (;;) {
      const value = await this.evaluate(fn, ...args);
      if (value) return value;
      if (performance.now() > end) throw new Error(`waitForFunction timed out after ${timeout} ms`);
      await sleep(polling);
    }
  }
  // A PNG of the viewport, or of `clip` in CSS pixels, at the display's ratio.
  async screenshot({ clip } = {}) {
    // As puppeteer does: the picture after the page's latest changes are painted.
    await this.evaluate(() => new Promise((done) => requestAnimationFrame(() => requestAnimationFrame(done))));
    const png = Buffer.from(await this.session.command("GET", "/screenshot"), "base64");
    if (!clip) return png;
    const whole = readPng(png);
    const [x0, y0] = [Math.round(clip.x * this.scale), Math.round(clip.y * this.scale)];
    const [w, h] = [Math.round(clip.width * this.scale), Math.round(clip.height * this.scale)];
    const rgba = Buffer.alloc(w * h * 4);
    for (let y = 0; y < h; ++y)
      whole.rgba.copy(rgba, y * w * 4, 4 * ((y0 + y) * whole.width + x0),
                      4 * ((y0 + y) * whole.width + x0 + w));
    return writePng({ width: w, height: h, rgba });
  }
  // Sets the window so that the viewport is width x height CSS pixels.
  async setViewport({ width, height, deviceScaleFactor = this.scale }) {
    if (deviceScaleFactor !== this.scale)
      throw new Error("WebKitGTK takes its pixel ratio from the display: open a new page with that scale");
    const sizes = () => this.evaluate(() => [innerWidth, innerHeight, outerWidth, outerHeight]);
    for (let tries = 0; tries < 3; ++tries) {
      const [innerW, innerH, outerW, outerH] = await sizes();
      if (innerW === width && innerH === height) return;
      await this.session.command("POST", "/window/rect",
                                 { width: width + outerW - innerW, height: height + outerH - innerH });
      // The window manager's answer comes later than the command's.
      for (let wait = 0; wait < 40; ++wait) {
        const [w, h] = await sizes();
        if (w === width && h === height) return;
        await sleep(25);
      }
    }
    throw new Error(`the viewport does not become ${width} x ${height}`);
  }
  // What the page wrote to its console since it loaded.
  async consoleMessages() {
    return this.evaluate(() => window.__procesorConsole ?? ["the console hook is gone"]);
  }
}

const kButtons = { left: 0, middle: 1, right: 2 };
