// The worked example in the page, step by step from the shared step list: every
// reference frame, reached by clicks at the diagram's pixels and by timer ticks,
// must equal the canvas pixel for pixel. With a way in, the walk starts at the
// program step, the program brought in as text: in the page's address ("link"),
// as a dropped file ("drop") or pasted on the diagram ("paste").
//   node frames.mjs procesor.html tests/frames [link|drop|paste]
import { join } from "node:path";
import { readPng } from "./png.mjs";
import { copied, dropFile, errorText, paste } from "./program_support.mjs";
import { kDiagramSteps, readSteps } from "./steps.mjs";
import { check, compareRgba, sameAsCanvas, withPage } from "./support.mjs";

const [htmlPath, framesDir, way] = process.argv.slice(2);
let steps = readSteps(join(framesDir, "scenario.txt"), kDiagramSteps);
const words = steps.find(({ verb }) => verb === "program")?.word.split(" ") ?? [];
if (way) {
  check(words.length > 0, "no program step in scenario.txt");
  steps = steps.slice(steps.findIndex(({ verb }) => verb === "program"));
}
const hash = "#manual-timers" + (way === "link" ? "&program=" + words.join(".") : "");

let frames = 0, equal = 0;
await withPage(htmlPath, async (s) => {
  // The keys on the diagram, not in the speed field, as after a click on the diagram.
  await s.page.evaluate(() => document.activeElement?.blur());
  if (way === "drop") await dropFile(s.page, "lekce.txt", "# LDA 5; MOV; ADD; HLT\r\n" + words.join(" "));
  else if (way === "paste") await paste(s.page, words.join("\n"));
  else check(!way || way === "link", `unknown way in "${way}"`);
  const error = await errorText(s.page);
  check(error === null, `${way}: the error box says ${error}`);
  for (const one of steps) {
    try {
      await step(s, one);
    } catch (error) {
      throw new Error(`scenario.txt:${one.line}, "${one.verb}", after ${frames} frames: ${error.message}`);
    }
  }
}, { hash });

async function step(s, { verb, x, y, number, word }) {
  if (verb === "click") await s.click(x, y);
  else if (verb === "down") await s.down(x, y);
  else if (verb === "up") await s.up(x, y);
  else if (verb === "tick") await s.tick(number);
  else if (verb === "program") {
    const text = await copied(s.page);
    check(text === word, `Ctrl+C at the program step copies "${text}"`);
  }
  else if (verb === "frame") {
    const expected = readPng(join(framesDir, `${word}.png`));
    const actual = await s.canvasPixels();
    check(expected.width === 1024 && expected.height === 715,
          `${word}.png is ${expected.width} x ${expected.height}`);
    const diff = compareRgba(actual, expected.rgba, expected.width);
    if (check(diff.count === 0, `frame ${word}: ${diff.count} pixels differ, ${diff.first.join(", ")}`))
      ++equal;
    // The page's own speed field over it: the same pixels, or hidden with the picture's.
    await sameAsCanvas(s, { x: 954, y: 312, width: 23, height: 21 }, 1,
                       `frame ${word}, the speed field`);
    ++frames;
  }
}
check(frames > 0, "no frames in scenario.txt");
console.log(`${equal} of ${frames} frames equal${way ? `, the program brought in by ${way}` : ""}`);
