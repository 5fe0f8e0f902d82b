// A speed text that is not a whole number: "start/stop" shows exactly one error box
// with the exact text, nothing changes behind it, and it closes by OK, Enter or
// Escape; no pulse and no changed look afterwards. Then Up and Down in the speed
// field step it like the arrows. Clicks for companion programs change nothing. An
// error that comes while the box is open (a bad program written into the address)
// waits for it to close and then has a box of its own.
//   node error_box.mjs procesor.html
import { check, compareRgba, withPage } from "./support.mjs";

const [htmlPath] = process.argv.slice(2);
const kProvoz = [859, 132], kStartStop = [855, 320];
const sleep = (ms) => new Promise((done) => setTimeout(done, ms));

await withPage(htmlPath, async (s) => {
  const page = s.page;
  check(await page.title() === "Procesor", `the page's title is "${await page.title()}"`);
  await s.click(...kProvoz);
  await page.click("#Edit17", { clickCount: 3 });
  await page.keyboard.type("abc");
  check(await page.$eval("#Edit17", (e) => e.value) === "abc", "the speed field does not take abc");
  const before = await s.canvasPixels();
  const pulses = await s.pulses();

  const box = async () => page.evaluate(() => ({
    open: document.querySelectorAll("dialog[open]").length,
    text: document.querySelector("dialog[open] #error-text")?.textContent,
    title: document.querySelector("dialog[open] #error-title")?.textContent,
  }));
  // The speed field's text scrolls as the field takes and loses the focus (the
  // picture draws it where the field has it): the field is left out.
  const withoutField = (rgba) => {
    for (let y = 312; y < 333; ++y) rgba.fill(0, 4 * (y * 1024 + 954), 4 * (y * 1024 + 977));
    return rgba;
  };
  const unchanged = async (when) => {
    const diff = compareRgba(withoutField(await s.canvasPixels()), withoutField(before), 1024);
    check(diff.count === 0, `${when}: ${diff.count} pixels changed, ${diff.first.join(", ")}`);
    check(await s.pulses() === pulses, `${when}: a clock pulse was taken`);
  };

  for (const close of ["Enter", "Escape", "OK"]) {
    await s.click(...kStartStop);
    let b = await box();
    check(b.open === 1, `${close}: ${b.open} error boxes open`);
    check(b.text === "'abc' is not a valid integer value", `${close}: the box says "${b.text}"`);
    check(b.title === "Procesor", `${close}: the box's title is "${b.title}"`);
    // The box is modal: a second click on "start/stop" does not reach the diagram.
    await s.click(...kStartStop);
    await sleep(1000); // longer than the clock's 900 ms
    b = await box();
    check(b.open === 1, `${close}: ${b.open} error boxes open after a second click`);
    await unchanged(`${close}, box open`);
    if (close === "OK") await page.click("#error-box .buttons button");
    else await page.keyboard.press(close);
    check((await box()).open === 0, `${close} does not close the box`);
    await sleep(1000);
    await unchanged(`${close}, box closed`);
  }

  // Blocks, gates and listing lines name companion programs, which the browser
  // does not have: the clicks change nothing (and the page prints nothing).
  for (const [x, y] of [[600, 80], [324, 224], [100, 54], [20, 38], [150, 100]]) await s.click(x, y);
  await unchanged("clicks on a block, a gate and listing lines");

  // Up and Down in the speed field: one step each, within 1..7.
  await page.click("#Edit17", { clickCount: 3 });
  await page.keyboard.type("6");
  const speed = async () => page.$eval("#Edit17", (e) => e.value);
  await page.keyboard.press("ArrowUp");
  check(await speed() === "7", `Up from 6 gives ${await speed()}`);
  await page.keyboard.press("ArrowUp");
  check(await speed() === "7", `Up from 7 gives ${await speed()}`);
  await page.keyboard.press("ArrowDown");
  check(await speed() === "6", `Down from 7 gives ${await speed()}`);

  // A second error while the box is open: not lost, not a second box over the first.
  await page.click("#Edit17", { clickCount: 3 });
  await page.keyboard.type("x");
  await s.click(...kStartStop);
  await page.evaluate(() => { location.hash = "program=0001.0102"; });
  await sleep(300);
  let b = await box();
  check(b.open === 1 && b.text === "'x' is not a valid integer value", `first box: ${JSON.stringify(b)}`);
  await page.keyboard.press("Enter");
  await sleep(300);
  b = await box();
  check(b.open === 1 && /Program nebyl načten|jen v režimu programování/.test(b.text),
        `the second error after the first box: ${JSON.stringify(b)}`);
  await page.keyboard.press("Enter");
  check((await box()).open === 0, "a third box opened");
});
