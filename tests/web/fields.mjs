// The page's own pixels: the speed field and the instruction box, real editable
// fields, show exactly the glyph pixels that the picture has under them, and on a
// screen of device pixel ratio 2 every pixel of the page grows to 2 x 2, never
// smoothed. A screenshot of the page is compared with the canvas's pixels. The
// keyboard as on the desktop: the speed field has the focus at start, Tab takes it
// to the data switches, which show the dotted focus frame and toggle by the space bar.
//   node fields.mjs procesor.html
import { check, sameAsCanvas, withPage } from "./support.mjs";

const [htmlPath] = process.argv.slice(2);
const kEdit17 = { x: 954, y: 312, width: 23, height: 21 };
const kMemo1 = { x: 864, y: 424, width: 129, height: 217 };
const kWhole = { x: 0, y: 0, width: 1024, height: 715 };

for (const scale of [1, 2]) {
  await withPage(htmlPath, async (s) => {
    await s.page.evaluate(() => document.fonts.ready);
    await sameAsCanvas(s, kEdit17, scale, "the speed field");
    await sameAsCanvas(s, kMemo1, scale, "the instruction box");
    // A typed digit, and one stepped with the arrow key.
    await s.page.click("#Edit17", { clickCount: 3 });
    await s.page.keyboard.type("6");
    await sameAsCanvas(s, kEdit17, scale, "the speed field with 6 typed");
    await s.page.focus("#Edit17");
    await s.page.keyboard.press("ArrowUp");
    await sameAsCanvas(s, kEdit17, scale, "the speed field stepped to 7");
    if (scale === 2) await sameAsCanvas(s, kWhole, scale, "the whole page");
  }, { scale });
}

const kButton8 = { x: 916, y: 139, width: 13, height: 15 };
await withPage(htmlPath, async (s) => {
  const page = s.page;
  check(await page.evaluate(() => document.activeElement.id) === "Edit17",
        "the speed field does not have the focus at start");
  const region = async (r) => {
    const all = await s.canvasPixels();
    const out = [];
    for (let y = r.y; y < r.y + r.height; ++y)
      out.push(all.subarray(4 * (y * 1024 + r.x), 4 * (y * 1024 + r.x + r.width)).toString("hex"));
    return out.join("/");
  };
  const plain = await region(kButton8);
  const top = kButton8.y + 2, xs = [];
  for (let x = kButton8.x + 2; x < kButton8.x + kButton8.width - 2; ++x) xs.push(x);
  const topRow = async () => Promise.all(xs.map((x) => s.pixel(x, top)));
  const before = await topRow();
  await page.keyboard.press("Tab");
  check(await page.evaluate(() => document.activeElement.id) === "Button8", "Tab does not reach Button8");
  // The dotted frame 2 pixels inside the switch: every other pixel of its top row.
  const dots = await topRow();
  const changed = dots.filter((d, i) => d !== before[i]).length;
  check(changed >= xs.length / 2 - 1 && changed <= xs.length / 2 + 1,
        `the focus frame's top row is ${dots.join(" ")}`);
  await page.keyboard.down(" ");
  const held = await region(kButton8);
  await page.keyboard.up(" ");
  const toggled = await region(kButton8);
  check(held !== toggled && toggled !== plain, "the space bar does not push and toggle Button8");
  await page.keyboard.down(" ");
  await page.keyboard.up(" ");
  await page.keyboard.down("Shift");
  await page.keyboard.press("Tab");
  await page.keyboard.up("Shift");
  check(await page.evaluate(() => document.activeElement.id) === "Edit17", "Shift+Tab does not go back");
  check(await region(kButton8) === plain, "Button8 does not look as at start after two toggles and the focus gone");
});
