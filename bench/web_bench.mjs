// Figures of the web page (not a test), in each browser engine named on the
// command line (chromium, firefox, webkit; all three when none is named): the
// file's size; per engine the time from navigation to the first drawn frame beside
// the same time for a floor page that only fills a canvas of the diagram's size
// (bench/floor_page.html; medians of 7 fresh browsers each, page and floor
// interleaved), the reference frames that the page reaches equal
// by clicks (tests/web/frames.mjs), the automatic clock at speed 7
// (tests/web/clock.mjs) and one pulse with its repaint in the page; then clock
// pulses per second of the handlers and the headless picture's figures as
// WebAssembly under Node.js.
//   scripts/web && npm ci --prefix tests/web && node bench/web_bench.mjs [--first-frame] [--page=FILE]
//                                                                      [--settle=MS] [--runs=N] [engine...]
import { execFileSync, spawnSync } from "node:child_process";
import { statSync } from "node:fs";
import { dirname, join, resolve } from "node:path";
import { fileURLToPath } from "node:url";
import { engines, withPage } from "../tests/web/support.mjs";

const root = join(dirname(fileURLToPath(import.meta.url)), "..");
const median = (xs) => [...xs].sort((a, b) => a - b)[Math.floor(xs.length / 2)];
const args = process.argv.slice(2);
// --first-frame: only the first frame beside the floor, nothing else; --page=FILE:
// another build of the page (to weigh a change against the last).
const firstFrameOnly = args.includes("--first-frame");
// The value of --NAME=VALUE, or undefined.
const option = (name) => args.find((a) => a.startsWith(`--${name}=`))?.slice(name.length + 3);
const pageArg = option("page");
// --settle=MS: each fresh browser left MS milliseconds before the page is opened, as
// a browser already running when a file is opened (a fresh one spends its first
// second starting its own pages, on the cores the page needs too).
const settle = Number(option("settle") ?? 0);
if (!(settle >= 0)) throw new Error(`--settle takes milliseconds, not "${option("settle")}"`);
// --runs=N: N fresh browsers each for the page and the floor instead of 7 (a fresh
// browser's own start moves single runs by tens of milliseconds on two cores).
const runCount = Number(option("runs") ?? 7);
if (!(Number.isInteger(runCount) && runCount >= 1)) throw new Error(`--runs takes a count, not "${option("runs")}"`);
const html = pageArg !== undefined ? resolve(pageArg) : join(root, "build-web", "procesor.html");
const named = args.filter((a) => !a.startsWith("--"));
for (const a of args)
  if (a.startsWith("--") && a !== "--first-frame" && !/^--(page|settle|runs)=/.test(a))
    throw new Error(`no option "${a}"`);
const chosen = named.length ? named : engines;
for (const name of chosen)
  if (!engines.includes(name)) throw new Error(`no browser engine "${name}" (${engines.join(", ")})`);

console.log(`file: ${html}, ${(statSync(html).size / 1024).toFixed(1)} KiB`);

// A browser test's own figures: its output, or why it failed.
function testFigures(which, test, ...args) {
  const run = spawnSync(process.execPath, [join(root, "tests", "web", `${test}.mjs`), html, ...args],
                        { env: { ...process.env, PROCESOR_ENGINE: which }, encoding: "utf8" });
  const failures = run.stderr.split("\n").filter((line) => line.startsWith("FAIL")).length;
  return run.stdout.trim() + (run.status ? ` (failed: ${failures || run.status} failures)` : "");
}

// Navigation to the first frame: the page's mark "procesor-first-frame" (the picture
// put on the canvas), the start of the next frame after it (work done at once after
// the mark holds it back) and the first contentful paint, in fresh browsers, the
// page and the floor in turn.
const floor = join(root, "bench", "floor_page.html");
const frameAfterMark = (page) => page.evaluateOnNewDocument(() => {
  const mark = performance.mark.bind(performance);
  performance.mark = (name, ...rest) => {
    if (name === "procesor-first-frame")
      requestAnimationFrame(() => { window.procesorFrameAfterMark = performance.now(); });
    return mark(name, ...rest);
  };
});
async function firstFrame(file, which) {
  let t;
  await withPage(file, async (s) => {
    // (WebKit's WebDriver runs no script before the page: no next frame there.)
    if (which !== "webkit") await s.page.waitForFunction(() => window.procesorFrameAfterMark !== undefined);
    t = await s.evaluate(() => ({
      mark: performance.getEntriesByName("procesor-first-frame")[0].startTime,
      frame: window.procesorFrameAfterMark ?? NaN,
      paint: performance.getEntriesByName("first-contentful-paint")[0]?.startTime ?? NaN,
    }));
  }, { engine: which, before: which === "webkit" ? null : async (page) => {
    await frameAfterMark(page);
    await new Promise((resolve) => setTimeout(resolve, settle));
  } });
  return t;
}
const ms = (x) => (Number.isNaN(x) ? "-" : x.toFixed(1));
for (const which of chosen) {
  const runs = { page: [], floor: [] };
  for (let run = 0; run < runCount; ++run) {
    runs.page.push(await firstFrame(html, which));
    runs.floor.push(await firstFrame(floor, which));
  }
  const figures = {};
  for (const [what, list] of Object.entries(runs)) {
    figures[what] = Object.fromEntries(["mark", "frame", "paint"].map((k) => [k, median(list.map((t) => t[k]))]));
    console.log(`${which}: ${what}: navigation to the first frame drawn on the canvas: median ` +
                `${ms(figures[what].mark)} ms (runs ${list.map((t) => t.mark.toFixed(0)).join(", ")}); ` +
                `the next frame begins ${ms(figures[what].frame)} ms; first contentful paint ` +
                `${ms(figures[what].paint)} ms`);
  }
  console.log(`${which}: the page's first frame ${(figures.page.mark / figures.floor.mark).toFixed(2)}x ` +
              `the floor's, the next frame ${(figures.page.frame / figures.floor.frame).toFixed(2)}x`);
  if (firstFrameOnly) continue;
  console.log(`${which}: reference frames reached by clicks: ${testFigures(which, "frames", join(root, "tests", "frames"))}`);
  console.log(`${which}: the clock at speed 7: ${testFigures(which, "clock")}`);

  // One pulse with its repaint in the page: a click on "ručně" as the pointer gives
  // it (handler, picture, copy onto the canvas), then the release by Timer5, each
  // timed on its own.
  await withPage(html, async (s) => {
    const t = await s.evaluate(() => {
      const click = (x, y) => window.procesorPage.click(x, y);
      click(859, 132); // provoz
      // The page's clock reads in coarse steps: time many and divide.
      const n = 1000;
      let pulse = 0, release = 0;
      for (let i = 0; i < n; ++i) {
        let t0 = performance.now();
        click(855, 284);
        pulse += performance.now() - t0;
        t0 = performance.now();
        window.procesorPage.tick(5);
        release += performance.now() - t0;
      }
      return { pulse: pulse / n, release: release / n, pulses: window.procesorPage.pulses() };
    });
    console.log(`${which}: in the page, one pulse with its repaint ${(t.pulse * 1000).toFixed(0)} µs, ` +
                `its release ${(t.release * 1000).toFixed(0)} µs (means of 1000; ${t.pulses} pulses)`);
  }, { hash: "#manual-timers", engine: which });
}

if (firstFrameOnly) process.exit(process.exitCode ?? 0);

// The handlers alone, as WebAssembly under Node.js.
const env = { ...process.env, NODE_PATH: "/usr/share/nodejs" };
for (const bench of ["bench_pulse", "bench_render"]) {
  execFileSync("cmake", ["--build", join(root, "build-web"), "--target", bench], { env, stdio: "ignore" });
  // Node.js 18 and later run this emscripten's output only without its own fetch().
  const script = join(root, "build-web", "bench", `${bench}.js`);
  process.stdout.write(`WebAssembly under Node.js, ${bench}: ` +
                       execFileSync("node", ["--no-experimental-fetch", script], { env }));
}

// An explainer opened in the page by a click on register A's block: the scene made,
// its window put into the page and its first picture copied onto its canvas, until
// the browser has laid it out; then closed by Escape.
await withPage(html, async (s) => {
  const times = await s.page.evaluate(async () => {
    const result = [];
    for (let i = 0; i < 20; ++i) {
      const t0 = performance.now();
      window.procesorPage.click(580, 517);
      document.querySelector(".explainer").getBoundingClientRect();
      result.push(performance.now() - t0);
      document.activeElement.dispatchEvent(new KeyboardEvent("keydown", { key: "Escape",
                                                                           bubbles: true }));
    }
    return result;
  });
  times.sort((a, b) => a - b);
  console.log(`an explainer opened in the page: median ${times[10].toFixed(1)} ms, ` +
              `slowest ${times[19].toFixed(1)} ms (20 openings of register A)`);
});
