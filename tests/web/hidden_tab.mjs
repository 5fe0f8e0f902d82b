// A hidden tab: the browser holds the page's timers back (here entirely, the worst
// case) while its clock runs on. Shown again, the page must be where it would be
// had it stayed visible, in one repaint: the same pulses in the same order, held
// here against the same page whose clock is moved by hand from tick to tick.
//   node hidden_tab.mjs procesor.html
import { check, withPage } from "./support.mjs";

const [htmlPath] = process.argv.slice(2);
const kSwitches = [[970, 146], [954, 146], [938, 146], [922, 146]]; // bit 0 .. bit 3
const kWrite = [448, 372], kStep = [448, 340], kRun = [859, 132], kStartStop = [855, 320],
      kUpArrow = [985, 316];
// LDA 1; MOV; ADD; JMP 3: A counts up by one, round and round.
const kProgram = [0b0001, 1, 0b1011, 0b0101, 0b1000, 3];
const kMinute = 60000, kDay = 86400000;

// The program entered word by word, then run mode at speed 7; `settle` lets the
// buttons' releases come before run mode.
async function prepare(s, settle) {
  let switches = 0;
  for (const word of kProgram) {
    for (let bit = 0; bit < 4; ++bit)
      if (((word ^ switches) >> bit) & 1) await s.click(...kSwitches[bit]);
    switches = word;
    await s.click(...kWrite);
    await s.click(...kStep);
  }
  await settle();
  await s.click(...kRun);
  for (let i = 0; i < 3; ++i) await s.click(...kUpArrow);
  await s.click(...kStartStop);
  return s.page.evaluate(() => window.procesorPage.now());
}

// The pulses, the module's time and the canvas, read in one go.
const kState = () => {
  const c = document.getElementById("diagram");
  const bytes = c.getContext("2d").getImageData(0, 0, c.width, c.height).data;
  let sum = 0;
  for (let i = 0; i < bytes.length; ++i) sum = (sum * 31 + bytes[i]) >>> 0;
  return { pulses: window.procesorPage.pulses(), now: window.procesorPage.now(), picture: sum };
};

// Before the page's scripts: a clock that can be moved on, a visibility that the
// test switches, timers held back while hidden, and a count of the tasks that drew
// on the canvas.
function hideable() {
  const realNow = performance.now.bind(performance);
  const realSetTimeout = window.setTimeout.bind(window);
  let skew = 0, hidden = false, drawing = false;
  const held = [];
  performance.now = () => realNow() + skew;
  Object.defineProperty(document, "hidden", { get: () => hidden });
  Object.defineProperty(document, "visibilityState", { get: () => (hidden ? "hidden" : "visible") });
  window.setTimeout = (fn, ms, ...args) =>
    realSetTimeout(function due() { if (hidden) held.push(due); else fn(...args); }, ms);
  const put = CanvasRenderingContext2D.prototype.putImageData;
  CanvasRenderingContext2D.prototype.putImageData = function (...args) {
    if (!drawing) {
      drawing = true;
      ++window.hiddenTab.repaints;
      queueMicrotask(() => { drawing = false; });
    }
    return put.apply(this, args);
  };
  const visibility = (h) => {
    hidden = h;
    document.dispatchEvent(new Event("visibilitychange"));
  };
  window.hiddenTab = {
    repaints: 0,
    hide: () => visibility(true),
    // Shown again `ms` later than the real clock says; the held timers then fire.
    show(ms) {
      skew += ms;
      visibility(false);
      for (const f of held.splice(0)) realSetTimeout(f, 0);
    },
  };
}

const sleep = (ms) => new Promise((done) => setTimeout(done, ms));

let hidden = null;
await withPage(htmlPath, async (s) => {
  const started = await prepare(s, () => sleep(700));
  await sleep(1000); // a few pulses while visible
  await s.page.evaluate(() => window.hiddenTab.hide());
  const whileHidden = await s.pulses();
  await sleep(1000);
  check(await s.pulses() === whileHidden, "the page ticked while its timers were held back");
  const shown = (ms) => s.page.evaluate((later, state) => {
    const repaints = window.hiddenTab.repaints;
    const from = performance.now() + later;
    window.hiddenTab.show(later);
    const got = new Function(`return (${state})()`)();
    return { ...got, repaints: window.hiddenTab.repaints - repaints, from, to: performance.now() };
  }, ms, kState.toString());
  // As many pulses as 300 ms steps fit between the start and the moment shown.
  const onTime = (got) => {
    const low = Math.floor((got.from - started) / 300), high = Math.floor((got.to - started) / 300);
    return check(got.pulses >= low && got.pulses <= high,
                 `${got.pulses} pulses when shown again, ${low} expected`);
  };
  hidden = await shown(kMinute);
  hidden.elapsed = hidden.now - started;
  console.log(`hidden for a minute: ${hidden.pulses} pulses in ${hidden.elapsed} ms, ` +
              `${hidden.repaints} repaint(s) when shown`);
  check(hidden.repaints === 1, `${hidden.repaints} repaints when shown again, not one`);
  onTime(hidden);

  // A day hidden: caught up at once, one pulse per 300 ms all the same.
  await s.page.evaluate(() => window.hiddenTab.hide());
  const day = await shown(kDay);
  console.log(`hidden for a day: ${day.pulses} pulses`);
  onTime(day);
  // (none when the day ends on the very picture it began with)
  check(day.repaints <= 1, `${day.repaints} repaints after a day, not one`);
}, { before: (page) => page.evaluateOnNewDocument(hideable) });

// The same steps on a clock moved by hand to every due tick: where the machine is
// after the same time, had the page stayed visible.
await withPage(htmlPath, async (s) => {
  const started = await prepare(s, () => s.page.evaluate(() => window.procesorPage.advance(1000)));
  const visible = await s.page.evaluate((until, state) => {
    const page = window.procesorPage;
    for (let next = page.nextWake(); next >= 0 && next <= until; next = page.nextWake())
      page.advance(next);
    page.advance(until);
    return new Function(`return (${state})()`)();
  }, started + hidden.elapsed, kState.toString());
  check(visible.pulses === hidden.pulses,
        `${hidden.pulses} pulses after the hidden minute, ${visible.pulses} had the page stayed visible`);
  check(visible.picture === hidden.picture, "the picture differs from the page that stayed visible");
}, { hash: "#manual-timers" });
