// The page on the screens schools have: a maximised browser on 1366 x 768 and
// 1280 x 800 at 100, 125 and 150 % shows the whole diagram without scrolling, and a
// projector's 1920 x 960 gets it at least 90 % as tall as the window. Where a whole
// number of device pixels per pixel comes within a tenth of the largest size that
// fits, every pixel of the page is a square of that many device pixels, the fields'
// texts included (the picture draws them); at other sizes the page shows exactly the
// picture the module makes at that size (its even lines are held headless, in
// test_scaling). Clicks land on the elements and the fields lie on their frames at
// every size; "1:1" shows one device pixel per pixel and goes back with a click at
// the same place.
//   node fit.mjs procesor.html
import { check, keepingBrowsers, withPage } from "./support.mjs";
import { readPng } from "./png.mjs";

const [htmlPath] = process.argv.slice(2);
const kWidth = 1024, kHeight = 715;
const kEdit17Inside = { x: 956, y: 314, width: 19, height: 17 };
const kProvoz = [823, 124], kLime = "#00ff00"; // a pixel of the face of "provoz"

// Inner sizes of a maximised browser (taskbar and browser bars taken off) in CSS
// pixels, and the device pixel ratio; then windows large enough to grow the picture.
// `device`: the picture's width in device pixels, by the rule (the largest size in
// proportion in the window less the strip of buttons, 26 pixels, and the line of the
// link under it, 16, or a whole factor within a tenth of that size).
const cases = [
  { what: "1366x768 at 100 %", width: 1366, height: 648, scale: 1, device: 905 },
  { what: "1366x768 at 125 %", width: 1093, height: 511, scale: 1.25, device: 885 },
  { what: "1366x768 at 150 %", width: 911, height: 410, scale: 1.5, device: 846 },
  { what: "1280x800 at 100 %", width: 1280, height: 680, scale: 1, device: 950 },
  { what: "1280x800 at 125 %", width: 1024, height: 540, scale: 1.25, device: 938 },
  { what: "1280x800 at 150 %", width: 853, height: 433, scale: 1.5, device: 895 },
  { what: "a large window at 125 %", width: 1100, height: 760, scale: 1.25, device: 1331 },
  { what: "a large window at 150 %", width: 1100, height: 760, scale: 1.5, device: 1598 },
  { what: "a projector, 1920x960", width: 1920, height: 960, scale: 1, device: 1351, tall: 960 },
  { what: "a window just larger", width: 1100, height: 740, scale: 1, grow: 1 },
  { what: "a very large window", width: 2200, height: 1600, scale: 1, grow: 2 },
];

// The picture as the page should show it, in device pixels: the canvas with each
// pixel grown `grow` times, or the smaller picture the module made. The page gives
// the source's pixels (in slices, as btoa takes no more at once); the growing is
// done here.
async function expectedPicture(page, grow) {
  const { sw, sh, grown, base64 } = await page.evaluate(() => {
    const view = document.getElementById("view");
    const source = view.hidden ? document.getElementById("diagram") : view;
    const data = source.getContext("2d").getImageData(0, 0, source.width, source.height).data;
    let s = "";
    for (let i = 0; i < data.length; i += 0x8000)
      s += String.fromCharCode.apply(null, data.subarray(i, i + 0x8000));
    return { sw: source.width, sh: source.height, grown: view.hidden, base64: btoa(s) };
  });
  const data = Buffer.from(base64, "base64");
  const k = grown ? grow : 1;
  const w = sw * k, h = sh * k;
  const rgb = Buffer.alloc(3 * w * h);
  for (let y = 0, b = 0; y < h; ++y) {
    const row = 4 * Math.floor(y / k) * sw;
    for (let x = 0; x < w; ++x, b += 3) {
      const at = row + 4 * Math.floor(x / k);
      rgb[b] = data[at];
      rgb[b + 1] = data[at + 1];
      rgb[b + 2] = data[at + 2];
    }
  }
  return { w, h, rgb };
}

// With `keepFocus` a field keeps the focus and its selection (no caret is drawn then).
// Device pixels in the rectangles `over` ([left, top, right, bottom]) are not compared.
async function samePixels(s, grow, what, keepFocus = false, over = []) {
  if (!keepFocus) await s.page.evaluate(() => document.activeElement?.blur());
  await s.page.evaluate(() => new Promise((done) => requestAnimationFrame(() => setTimeout(done))));
  const shot = readPng(Buffer.from(await s.page.screenshot({ type: "png" })));
  const { w, h, rgb } = await expectedPicture(s.page, grow);
  // Inside the scroll bars, if any.
  const [seenW, seenH] = await s.page.evaluate(() => [
    Math.floor(document.documentElement.clientWidth * devicePixelRatio),
    Math.floor(document.documentElement.clientHeight * devicePixelRatio)]);
  const expected = rgb;
  let differ = 0, first = "";
  // As much as the window shows (at 1:1 the page may scroll).
  for (let y = 0; y < Math.min(h, seenH); ++y)
    for (let x = 0; x < Math.min(w, seenW); ++x) {
      const a = 4 * (y * shot.width + x), b = 3 * (y * w + x);
      if (over.some(([l, t, r, bottom]) => x >= l && x < r && y >= t && y < bottom)) continue;
      if (shot.rgba[a] !== expected[b] || shot.rgba[a + 1] !== expected[b + 1] ||
          shot.rgba[a + 2] !== expected[b + 2])
        if (!differ++) first = ` first at device pixel (${x},${y})`;
    }
  check(differ === 0, `${what}: ${differ} of ${w}x${h} device pixels differ from the picture,${first}`);
  return { w, h };
}

// One browser for all the sizes, each page in a context of its own.
await keepingBrowsers(async () => {
  for (const c of cases) {
    await withPage(htmlPath, async (s) => {
      const page = s.page;
      await page.evaluate(() => document.fonts.ready);
      const layout = await page.evaluate(() => {
        const r = document.getElementById("diagram").getBoundingClientRect();
        const tools = [...document.querySelectorAll("#tools button")]
          .map((b) => b.getBoundingClientRect());
        return {
          canvas: [r.left, r.top, r.width, r.height], tools: tools.map((t) => [t.right, t.bottom]),
          scroll: [document.documentElement.scrollWidth, document.documentElement.scrollHeight],
          inner: [innerWidth, innerHeight],
        };
      });
      const [left, top, width, height] = layout.canvas;
      const [innerW, innerH] = layout.inner;
      check(left === 0 && top === 0 && left + width <= innerW && top + height <= innerH,
            `${c.what}: the picture lies at ${layout.canvas.join(",")} in a ${innerW}x${innerH} window`);
      check(layout.scroll[0] <= innerW && layout.scroll[1] <= innerH,
            `${c.what}: the page scrolls, ${layout.scroll.join("x")} in ${innerW}x${innerH}`);
      check(layout.tools.length === 6 && layout.tools.every(([r, b]) => r <= innerW && b <= innerH),
            `${c.what}: the strip's buttons (full screen, 1:1, the time line's) lie outside the window`);
      const device = width * c.scale, wide = c.grow ? kWidth * c.grow : c.device;
      check(Math.abs(device - wide) < 0.5, `${c.what}: the picture is ${device} device pixels wide, not ${wide}`);
      if (c.tall) check(height * c.scale >= 0.9 * c.tall,
                        `${c.what}: the picture is ${height * c.scale} of ${c.tall} device pixels tall`);

      await samePixels(s, c.grow ?? 1, `${c.what}, at rest`);

      // The speed field over its frame, and a digit typed into it drawn by the picture.
      const k = width / kWidth;
      const field = await page.$eval("#Edit17", (e) => {
        const r = e.getBoundingClientRect();
        return [r.left, r.top, r.width, r.height];
      });
      const want = [kEdit17Inside.x * k, kEdit17Inside.y * k, kEdit17Inside.width * k,
                    kEdit17Inside.height * k];
      check(field.every((v, i) => Math.abs(v - want[i]) < 0.02),
            `${c.what}: the speed field lies at ${field.join(",")}, not ${want.join(",")}`);
      await page.focus("#Edit17");
      await page.keyboard.press("End");
      await page.keyboard.press("Backspace");
      await page.keyboard.type("6");
      await samePixels(s, c.grow ?? 1, `${c.what}, 6 typed into the speed field`);
      // Selected text, white on dark blue, is the picture's too: in the speed field and
      // over two lines of the instruction box.
      await page.focus("#Edit17");
      await page.keyboard.down("Shift");
      await page.keyboard.press("Home");
      await page.keyboard.up("Shift");
      await samePixels(s, c.grow ?? 1, `${c.what}, the speed field's text selected`, true);
      check(await s.pixel(959, 316) === "#0a246a", `${c.what}: the picture shows no selection in the speed field`);
      await page.focus("#Memo1");
      await page.keyboard.down("Control");
      await page.keyboard.press("Home");
      await page.keyboard.up("Control");
      await page.keyboard.press("ArrowRight");
      await page.keyboard.down("Shift");
      for (const key of ["ArrowDown", "ArrowDown", "ArrowRight", "ArrowRight"]) await page.keyboard.press(key);
      await page.keyboard.up("Shift");
      const selected = await page.$eval("#Memo1", (e) => e.value.slice(e.selectionStart, e.selectionEnd));
      check(selected.split("\n").length === 3, `${c.what}: ${JSON.stringify(selected)} selected in Memo1`);
      await samePixels(s, c.grow ?? 1, `${c.what}, lines of the instruction box selected`, true);
      check(await s.pixel(874, 441) === "#0a246a", `${c.what}: the picture shows no selection in Memo1`);

      // A click on "provoz" in screen pixels selects the run mode.
      await page.mouse.click((kProvoz[0] + 0.5) * k, (kProvoz[1] + 0.5) * k);
      check(await s.pixel(...kProvoz) === kLime, `${c.what}: a click on "provoz" did not select it`);

      // 1:1: one device pixel per pixel, the page may scroll; and back by a click at the
      // same place.
      const button = await page.$eval("#one-to-one", (b) => {
        const r = b.getBoundingClientRect();
        return [r.left + r.width / 2, r.top + r.height / 2];
      });
      await page.mouse.click(...button);
      const actual = await page.$eval("#diagram", (e) => e.getBoundingClientRect().width);
      check(Math.abs(actual * c.scale - kWidth) < 0.5, `${c.what}: 1:1 shows ${actual * c.scale} device pixels`);
      // The two buttons stay where they were, over the picture if it is wider now.
      const buttons = await page.$$eval("#tools button", (all) => all.map((b) => {
        const r = b.getBoundingClientRect();
        return [r.left, r.top, r.right, r.bottom].map((v, i) => (i < 2 ? Math.floor(v * devicePixelRatio) - 1
                                                                     : Math.ceil(v * devicePixelRatio) + 1));
      }));
      if (!c.grow) await samePixels(s, 1, `${c.what}, 1:1`, false, buttons);
      const tools = await page.$$eval("#tools button", (all) => all.map((b) => {
        const r = b.getBoundingClientRect();
        return r.right <= innerWidth && r.bottom <= innerHeight && r.left >= 0;
      }));
      check(tools.every(Boolean), `${c.what}: at 1:1 the buttons lie outside the window`);
      const under = await page.evaluate(([x, y]) => document.elementFromPoint(x, y)?.id, button);
      check(under === "one-to-one", `${c.what}: at 1:1 the place of "1:1" holds ${under}`);
      await page.mouse.click(...button);
      const back = await page.$eval("#diagram", (e) => e.getBoundingClientRect().width);
      check(back === width, `${c.what}: after 1:1 again the picture is ${back} wide, not ${width}`);
    }, { scale: c.scale, viewport: { width: c.width, height: c.height } });
  }

  // The window made larger and smaller again (and the full screen): the picture follows.
  await withPage(htmlPath, async (s) => {
    const page = s.page;
    const deviceWidth = () => page.$eval("#diagram", (e) => e.getBoundingClientRect().width * devicePixelRatio);
    const small = await deviceWidth();
    await page.setViewport({ width: 2200, height: 1600, deviceScaleFactor: 1 });
    await page.waitForFunction(() => document.getElementById("diagram").getBoundingClientRect().width === 2048,
                               { timeout: 2000 }).catch(() => {});
    check(await deviceWidth() === 2048, `the window made larger: the picture is ${await deviceWidth()} wide, not 2048`);
    await samePixels(s, 2, "the window made larger");
    await page.setViewport({ width: 1093, height: 511, deviceScaleFactor: 1.25 });
    await page.waitForFunction((w) => document.getElementById("diagram").getBoundingClientRect().width * devicePixelRatio === w,
                               { timeout: 2000 }, small).catch(() => {});
    check(await deviceWidth() === small, `the window back at 1093x511: the picture is ${await deviceWidth()}, not ${small}`);
    await samePixels(s, 1, "the window back at 1093x511");

    await page.click("#full-screen");
    await page.waitForFunction(() => document.fullscreenElement !== null &&
                               document.getElementById("full-screen").getAttribute("aria-pressed") === "true",
                               { timeout: 2000 }).catch(() => {});
    const on = await page.evaluate(() => [document.fullscreenElement === document.documentElement,
                                          document.getElementById("full-screen").getAttribute("aria-pressed")]);
    check(on[0] && on[1] === "true", `the full-screen button gives ${JSON.stringify(on)}`);
    // The projector's view shows the diagram alone: Escape goes back.
    await s.press("Escape");
    await page.waitForFunction(() => document.fullscreenElement === null &&
                               document.getElementById("full-screen").getAttribute("aria-pressed") === "false",
                               { timeout: 2000 }).catch(() => {});
    const off = await page.evaluate(() => [document.fullscreenElement,
                                           document.getElementById("full-screen").getAttribute("aria-pressed")]);
    check(off[0] === null && off[1] === "false", `Escape from the full screen gives ${JSON.stringify(off)}`);
  }, { scale: 1.25, viewport: { width: 1093, height: 511 } });
});
