// The page on a tablet (touch emulated, ratio 2, landscape and portrait): laid out
// as wide as the screen (a viewport), the diagram as large as fits, pinch zoom left
// to the browser, a finger held on a control holding it pushed in as the mouse does,
// and a tap working it.
//   node touch.mjs procesor.html
import { check, withPage } from "./support.mjs";

const [htmlPath] = process.argv.slice(2);
const kSwitch = [922, 146], kSwitchBox = { x: 912, y: 134, width: 20, height: 24 };

function area(rgba, { x, y, width, height }) {
  const out = [];
  for (let row = y; row < y + height; ++row)
    out.push(...rgba.subarray(4 * (row * 1024 + x), 4 * (row * 1024 + x + width)));
  return Buffer.from(out).toString("base64");
}

// The switch as the mouse leaves it: at rest, held down, let go over it.
const mouse = {};
await withPage(htmlPath, async (s) => {
  mouse.rest = area(await s.canvasPixels(), kSwitchBox);
  await s.page.mouse.move(kSwitch[0] + 0.5, kSwitch[1] + 0.5);
  await s.page.mouse.down();
  mouse.held = area(await s.canvasPixels(), kSwitchBox);
  await s.page.mouse.up();
  mouse.toggled = area(await s.canvasPixels(), kSwitchBox);
}, { hash: "#manual-timers", width: 1100, height: 760 });
check(new Set(Object.values(mouse)).size === 3, "the mouse does not hold and toggle the switch");

// The device width of the diagram, by the rule (room less the 26 pixels' strip and
// the 16 of the link's line, the largest size in proportion or a whole factor near it).
for (const { what, width, height, device } of [
  { what: "landscape 1280x800", width: 1280, height: 800, device: 2048 },
  { what: "portrait 800x1280", width: 800, height: 1280, device: 1548 },
]) {
  const viewport = { width, height, deviceScaleFactor: 2, isMobile: true, hasTouch: true };
  await withPage(htmlPath, async (s) => {
    const page = s.page;
    const laidOut = await page.evaluate(() => [innerWidth, document.documentElement.clientWidth]);
    check(laidOut[0] === width, `${what}: the page is laid out ${laidOut.join("/")} CSS pixels wide`);
    const meta = await page.$eval("meta[name=viewport]", (m) => m.content);
    check(!/user-scalable\s*=\s*(no|0)|maximum-scale/.test(meta), `${what}: the viewport "${meta}" stops zooming`);
    const touchAction = await page.$eval("#diagram", (c) => getComputedStyle(c).touchAction);
    check(touchAction.includes("pinch-zoom") || touchAction === "auto" || touchAction === "manipulation",
          `${what}: two fingers cannot zoom over the diagram (touch-action ${touchAction})`);
    const shown = await page.$eval("#diagram", (c) => c.getBoundingClientRect().width * devicePixelRatio);
    check(Math.abs(shown - device) < 0.5, `${what}: the diagram is ${shown} device pixels wide, not ${device}`);

    // A finger held on a data switch holds it in; let go over it, it toggles.
    const k = shown / 2 / 1024;
    const at = kSwitch.map((v) => (v + 0.5) * k);
    const touch = await page.touchscreen.touchStart(...at);
    await new Promise((done) => setTimeout(done, 700)); // as long as a finger rests
    const during = await s.canvasPixels();
    check(area(during, kSwitchBox) === mouse.held,
          `${what}: a finger held on the switch does not hold it in`);
    await touch.end();
    await page.evaluate(() => new Promise((done) => requestAnimationFrame(() => setTimeout(done))));
    const after = await s.canvasPixels();
    check(area(after, kSwitchBox) === mouse.toggled,
          `${what}: the switch let go under the finger did not toggle`);
    // A tap toggles it back.
    await page.touchscreen.tap(...at);
    await page.evaluate(() => new Promise((done) => requestAnimationFrame(() => setTimeout(done))));
    check(area(await s.canvasPixels(), kSwitchBox) === mouse.rest,
          `${what}: a tap did not toggle the switch back`);
  }, { hash: "#manual-timers", width, height, before: (page) => page.setViewport(viewport) });
}
