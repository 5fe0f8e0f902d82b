// The steps that reach the reference frames, read as the native tests read them
// (tests/support/frames/Steps.h, the one grammar of tests/frames/scenario.txt and
// tests/frames/explain/COMMAND/steps.txt). One step a line; blank lines and lines
// starting with "#" are skipped:
//   open Image N | open Label N   (first step only) the element an explainer opens on
//   click X Y | down X Y | move X Y | up X Y
//   key tab|backtab|space|enter|left|right|up|down
//   tick N                         one tick of TimerN (1..5), if it runs
//   frame NAME                     the picture now equals NAME.png (each name once)
//   program WORD...                RAM now holds this program (once)
import { readFileSync } from "node:fs";

// The kinds of step each walk takes.
export const kDiagramSteps = ["click", "down", "up", "tick", "frame", "program"];
export const kSceneSteps = ["open", "click", "down", "move", "up", "key", "frame"];
const kKeys = ["tab", "backtab", "space", "enter", "left", "right", "up", "down"];
const kInteger = /^[+-]?\d+$/;

// Every step of the file as { verb, x, y, number, word, line }; throws, naming the
// file and line, on a line that is not understood or a step the walk does not take.
export function readSteps(path, kinds) {
  const steps = [];
  const lines = readFileSync(path, "utf8").split("\n");
  for (const [index, text] of lines.entries()) {
    const words = text.trim().split(/\s+/).filter(Boolean);
    if (words.length === 0 || words[0].startsWith("#")) continue;
    const [verb, ...args] = words;
    const step = { verb, x: 0, y: 0, number: 0, word: "", line: index + 1 };
    const some = (what, word) => steps.some((o) => o.verb === what && (word === undefined || o.word === word));
    let ok = false;
    if (verb === "open") {
      ok = steps.length === 0 && args.length === 2 && (args[0] === "Image" || args[0] === "Label") &&
           /^\d+$/.test(args[1]);
      [step.word, step.number] = [args[0], +args[1]];
    } else if (["click", "down", "move", "up"].includes(verb)) {
      ok = args.length === 2 && kInteger.test(args[0]) && kInteger.test(args[1]);
      [step.x, step.y] = [+args[0], +args[1]];
    } else if (verb === "key") {
      ok = args.length === 1 && kKeys.includes(args[0]);
      step.word = args[0];
    } else if (verb === "tick") {
      ok = args.length === 1 && /^[1-5]$/.test(args[0]);
      step.number = +args[0];
    } else if (verb === "frame") {
      ok = args.length === 1 && /^[A-Za-z0-9-]+$/.test(args[0]) && !some("frame", args[0]);
      step.word = args[0];
    } else if (verb === "program") {
      ok = args.length > 0 && !some("program");
      step.word = args.join(" ");
    }
    if (!ok) throw new Error(`${path}:${index + 1}: not understood: ${text}`);
    if (!kinds.includes(verb)) throw new Error(`${path}:${index + 1}: no "${verb}" step here`);
    steps.push(step);
  }
  if (steps.length === 0) throw new Error(`${path}: no steps`);
  return steps;
}
