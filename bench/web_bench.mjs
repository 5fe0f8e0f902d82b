// Figures of the web page (not a test): the file's size, headless Chromium from
// navigation to the first drawn frame (median of 7 fresh browsers), clock pulses
// per second of the handlers and the headless picture's figures as WebAssembly
// under Node.js, and one pulse with its repaint in the page.
//   scripts/web && npm ci --prefix tests/web && node bench/web_bench.mjs
import { execFileSync } from "node:child_process";
import { statSync } from "node:fs";
import { dirname, join } from "node:path";
import { fileURLToPath } from "node:url";
import { withPage } from "../tests/web/support.mjs";

const root = join(dirname(fileURLToPath(import.meta.url)), "..");
const html = join(root, "build-web", "procesor.html");
const median = (xs) => [...xs].sort((a, b) => a - b)[Math.floor(xs.length / 2)];

console.log(`file: ${html}, ${(statSync(html).size / 1024).toFixed(1)} KiB`);

const firstFrame = [], firstPaint = [];
for (let run = 0; run < 7; ++run) {
  await withPage(html, async (s) => {
    const t = await s.page.evaluate(() => ({
      mark: performance.getEntriesByName("procesor-first-frame")[0].startTime,
      paint: performance.getEntriesByName("first-contentful-paint")[0]?.startTime ?? NaN,
    }));
    firstFrame.push(t.mark);
    firstPaint.push(t.paint);
  });
}
console.log(`navigation to the first frame drawn on the canvas: median ${median(firstFrame).toFixed(1)} ms ` +
            `(runs ${firstFrame.map((x) => x.toFixed(0)).join(", ")}); first contentful paint ` +
            `${median(firstPaint).toFixed(1)} ms`);

// The handlers alone, as WebAssembly under Node.js.
const env = { ...process.env, NODE_PATH: "/usr/share/nodejs" };
for (const bench of ["bench_pulse", "bench_render"]) {
  execFileSync("cmake", ["--build", join(root, "build-web"), "--target", bench], { env, stdio: "ignore" });
  // Node.js 18 and later run this emscripten's output only without its own fetch().
  const script = join(root, "build-web", "bench", `${bench}.js`);
  process.stdout.write(`WebAssembly under Node.js, ${bench}: ` +
                       execFileSync("node", ["--no-experimental-fetch", script], { env }));
}

// One pulse with its repaint in the page: a click on "ručně" as the pointer gives
// it (handler, picture, copy onto the canvas), then the release by Timer5, each
// timed on its own.
await withPage(html, async (s) => {
  const t = await s.page.evaluate(() => {
    const click = (x, y) => window.procesorPage.click(x, y);
    click(859, 132); // provoz
    // The page's clock reads in steps of 0.1 ms: time many and divide.
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
  console.log(`in the page: one pulse with its repaint ${(t.pulse * 1000).toFixed(0)} µs, ` +
              `its release ${(t.release * 1000).toFixed(0)} µs (means of 1000; ${t.pulses} pulses)`);
}, { hash: "#manual-timers" });

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
