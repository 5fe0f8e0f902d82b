// The worked example in the page, step by step from the shared step list: every
// reference frame, reached by clicks at the diagram's pixels and by timer ticks,
// must equal the canvas pixel for pixel.
//   node frames.mjs procesor.html tests/frames
import { readFileSync } from "node:fs";
import { join } from "node:path";
import { readPng } from "./png.mjs";
import { check, compareRgba, sameAsCanvas, withPage } from "./support.mjs";

const [htmlPath, framesDir] = process.argv.slice(2);
const steps = readFileSync(join(framesDir, "scenario.txt"), "utf8")
                  .split("\n").map((line) => line.replace(/#.*/, "").trim()).filter(Boolean)
                  .map((line) => line.split(/\s+/));

let frames = 0, equal = 0;
await withPage(htmlPath, async (s) => {
  for (const [n, [verb, ...args]] of steps.entries()) {
    try {
      await step(s, verb, args);
    } catch (error) {
      throw new Error(`step ${n + 1}, "${verb} ${args.join(" ")}", after ${frames} frames: ${error.message}`);
    }
  }
}, { hash: "#manual-timers" });

async function step(s, verb, args) {
  if (verb === "click") await s.click(+args[0], +args[1]);
  else if (verb === "down") await s.down(+args[0], +args[1]);
  else if (verb === "up") await s.up(+args[0], +args[1]);
  else if (verb === "tick") await s.tick(+args[0]);
  else if (verb === "frame") {
    const expected = readPng(join(framesDir, `${args[0]}.png`));
    const actual = await s.canvasPixels();
    check(expected.width === 1024 && expected.height === 715,
          `${args[0]}.png is ${expected.width} x ${expected.height}`);
    const diff = compareRgba(actual, expected.rgba, expected.width);
    if (check(diff.count === 0, `frame ${args[0]}: ${diff.count} pixels differ, ${diff.first.join(", ")}`))
      ++equal;
    // The page's own speed field over it: the same pixels, or hidden with the picture's.
    await sameAsCanvas(s, { x: 954, y: 312, width: 23, height: 21 }, 1,
                       `frame ${args[0]}, the speed field`);
    ++frames;
  } else throw new Error(`scenario.txt: unknown step "${verb}"`);
}
check(frames > 0, "no frames in scenario.txt");
console.log(`${equal} of ${frames} frames equal`);
