// An explainer by the keyboard alone, on the laptops a school has (1366 x 768 at 125 %
// and 150 %, a maximised browser): Tab reaches a gate, Enter opens its window, which
// fits on the screen with its foot, shrunk with the diagram; a step in it is said by
// the live region; Tab and Shift+Tab go on out of it to the diagram's stops after and
// at the gate. Then the full-screen view: the diagram alone, fitted to the screen.
//   node explainer_keys.mjs procesor.html
import { check, withPage } from "./support.mjs";

const [htmlPath] = process.argv.slice(2);
const active = (page) => page.evaluate(() => document.activeElement.id ||
                                       document.activeElement.className);

for (const { what, width, height, scale } of [
  { what: "1366x768 at 125 %", width: 1093, height: 511, scale: 1.25 },
  { what: "1366x768 at 150 %", width: 911, height: 410, scale: 1.5 },
]) {
  await withPage(htmlPath, async (s) => {
    const page = s.page;
    // From "nulování", the last panel, Tab on to the second gate (zápis do PČ).
    await page.focus("#Panel5");
    let tabs = 0;
    while (await active(page) !== "Image203" && tabs < 40) {
      await s.press("Tab");
      ++tabs;
    }
    check(tabs === 25, `${what}: the gate zápisu do PČ is ${tabs} stops after "nulování", not 25`);
    await s.press("Enter");
    check((await page.evaluate(() => window.procesorExplainers.list())).join() === "plimo",
          `${what}: Enter on the gate opens no plimo window`);
    check((await active(page)).startsWith("explainer"), `${what}: the window has no focus`);

    // On the screen whole, its foot too, at the diagram's scale (or smaller).
    const box = await page.evaluate(() => {
      const r = document.querySelector(".explainer").getBoundingClientRect();
      const c = document.querySelector(".explainer canvas").getBoundingClientRect();
      const stage = document.getElementById("stage").getBoundingClientRect();
      return { left: r.left, top: r.top, right: r.right, bottom: r.bottom, canvas: c.width,
               scale: stage.width / 1024, innerWidth, innerHeight };
    });
    check(box.left >= 0 && box.top >= 0 && box.right <= box.innerWidth && box.bottom <= box.innerHeight,
          `${what}: the window is not on the screen whole: ${JSON.stringify(box)}`);
    check(Math.abs(box.canvas - 780 * box.scale) <= 0.08 * 780 * box.scale,
          `${what}: the scene is ${box.canvas} CSS pixels wide beside a diagram at ${box.scale}`);

    // A step in the window is said aloud.
    const before = await page.$eval("#report", (e) => e.textContent);
    await s.press("Enter");
    const said = await page.$eval("#report", (e) => e.textContent);
    check(said !== "" && said !== before && !said.startsWith("Fáze"),
          `${what}: after a step in the window the live region says ${JSON.stringify(said)}`);

    // Tab goes on out of the window, to the stop after the gate; Shift+Tab from inside
    // it back to the gate.
    let presses = 0;
    while ((await active(page)).startsWith("explainer") && presses < 30) {
      await s.press("Tab");
      ++presses;
    }
    check(await active(page) === "Image63", `${what}: Tab out of the window reaches ${await active(page)}`);
    await page.focus(".explainer");
    presses = 0;
    while ((await active(page)).startsWith("explainer") && presses < 30) {
      await s.keyDown("Shift");
      await s.press("Tab");
      await s.keyUp("Shift");
      ++presses;
    }
    check(await active(page) === "Image203", `${what}: Shift+Tab out of the window reaches ${await active(page)}`);
    check((await page.evaluate(() => window.procesorExplainers.list())).join() === "plimo",
          `${what}: leaving the window closed it`);
    await page.focus(".explainer");
    await s.press("Escape");
    check((await page.evaluate(() => window.procesorExplainers.list())).length === 0,
          `${what}: Escape does not close the window`);
    check(await active(page) === "Image203", `${what}: after Escape the focus is not back on the gate`);

    // Five more windows, one after the other: every one on the screen whole.
    for (const id of ["Image9", "Image3", "Image65", "Image62", "Image7"]) {
      await page.focus("#" + id);
      await s.press("Enter");
    }
    const boxes = await page.evaluate(() => [...document.querySelectorAll(".explainer")].map((e) => {
      const r = e.getBoundingClientRect();
      return [r.left, r.top, r.right, r.bottom];
    }));
    check(boxes.length === 5 && boxes.every(([l, t, r, b]) => l >= 0 && t >= 0 && r <= width && b <= height),
          `${what}: windows off the screen: ${JSON.stringify(boxes)}`);
  }, { hash: "#manual-timers", width, height, scale });
}

// The projector: F11 shows the diagram alone, fitted to the whole 1920 x 1080 screen
// (at least 90 % of its height), centred; F11 again and the strip is back; the
// full-screen button goes in too, and Escape back.
await withPage(htmlPath, async (s) => {
  const page = s.page;
  const view = () => page.evaluate(() => {
    const r = document.getElementById("stage").getBoundingClientRect();
    const tools = document.getElementById("tools");
    return { projector: document.documentElement.classList.contains("projector"),
             tools: tools.offsetParent !== null, width: r.width, height: r.height,
             left: r.left, top: r.top, innerWidth, innerHeight };
  });
  const normal = await view();
  check(!normal.projector && normal.tools, `at start the strip is not shown: ${JSON.stringify(normal)}`);
  await page.focus("#Panel6");
  for (const [into, out] of [["F11", "F11"], ["button", "Escape"]]) {
    if (into === "F11") await s.press("F11");
    else await page.click("#full-screen");
    const p = await view();
    check(p.projector && !p.tools && p.height >= 0.9 * p.innerHeight && p.width <= p.innerWidth &&
          Math.abs(p.left + p.width / 2 - p.innerWidth / 2) <= 1 &&
          Math.abs(p.top + p.height / 2 - p.innerHeight / 2) <= 1,
          `${into}: the projector's view is ${JSON.stringify(p)}`);
    await s.press(out);
    const back = await view();
    check(!back.projector && back.tools && back.height === normal.height,
          `${out}: the view is not back as it was: ${JSON.stringify(back)}`);
  }
}, { width: 1920, height: 1080, scale: 1 });
