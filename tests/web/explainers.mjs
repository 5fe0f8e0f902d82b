// The explainers in the page, opened from disk with the network off:
// - each of the 33 clickable elements of the diagram opens the right explainer (the
//   companion table below), wherever its scene is built in, and nothing otherwise;
// - several are open at once, a second click brings one to the front instead of
//   opening it again, Escape closes the front one, the close button closes its own;
// - the window is moved by its title bar;
// - the automatic clock runs on while one is open;
// - every reference frame of tests/frames/explain/ reached in the page's window by
//   clicks and keys, pixel for pixel, and at a device pixel ratio of 2 each pixel
//   drawn as 2 x 2 device pixels (those scenes on their own machine, as the desktop's
//   programs started alone);
// - opened from the diagram, six explainers follow the worked example pulse by pulse
//   and show tests/frames/follow/ at its pulses; a step in one ends its following
//   (the next pulse leaves it as it was), its switch takes the machine up again; a
//   mode change and "nulování" reach it; Tab leaves a window the mouse opened.
//   node explainers.mjs procesor.html tests/frames/explain
import { existsSync } from "node:fs";
import { join } from "node:path";
import { readPng } from "./png.mjs";
import { kSceneSteps, readSteps } from "./steps.mjs";
import { check, compareRgba, withPage } from "./support.mjs";

const [htmlPath, framesDir] = process.argv.slice(2);

// The companion table: element, a client pixel on it, the command of its explainer.
const kImage = 0, kLabel = 1;
const kElements = [[kImage, 9, 20, 175, "vondrel"]];
for (let n = 14; n <= 29; ++n) {
  const row = (n - 14) % 8;
  kElements.push([kLabel, n, n < 22 ? 45 : 193, 38 + 16 * row, "vondrel"]);
}
kElements.push([kLabel, 13, 17, 38, "vondrel"], [kLabel, 30, 17, 70, "vondrel"],
               [kLabel, 31, 17, 134, "vondrel"], [kLabel, 32, 167, 54, "vondrel"],
               [kLabel, 33, 165, 102, "vondrel"], [kLabel, 34, 167, 150, "vondrel"]);
for (const [n, y] of [[2, 208], [203, 248], [63, 288], [71, 488], [1, 624]])
  kElements.push([kImage, n, 324, y + 16, "plimo"]);
kElements.push([kImage, 3, 580, 84, "sarvek"], [kImage, 4, 580, 277, "sarvek"],
               [kImage, 65, 580, 581, "quobin"], [kImage, 62, 580, 517, "tamrelA"],
               [kImage, 7, 580, 645, "tamrelB"]);
check(kElements.length === 33, `${kElements.length} elements in the table`);

const kProvoz = [859, 132], kStartStop = [855, 320];
const kKeys = { tab: "Tab", space: " ", enter: "Enter", left: "ArrowLeft",
                right: "ArrowRight", up: "ArrowUp", down: "ArrowDown" };

const openList = (s) => s.page.evaluate(() => window.procesorExplainers.list());
const windowCount = (s) => s.page.evaluate(() => document.querySelectorAll(".explainer").length);

async function closeAll(s) {
  for (let i = 0; i < 10 && (await windowCount(s)) > 0; ++i) await s.page.keyboard.press("Escape");
}

// The canvas of the open explainer `command`: its place on the page and its pixels.
async function explainerCanvas(s, command) {
  return s.page.evaluate((c) => {
    const canvas = document.querySelector(`.explainer[data-command="${c}"] canvas`);
    const r = canvas.getBoundingClientRect();
    const bytes = canvas.getContext("2d").getImageData(0, 0, canvas.width, canvas.height).data;
    let text = "";
    for (let i = 0; i < bytes.length; i += 0x8000)
      text += String.fromCharCode.apply(null, bytes.subarray(i, i + 0x8000));
    return { x: r.left, y: r.top, width: r.width, height: r.height, w: canvas.width,
             h: canvas.height, pixels: btoa(text) };
  }, command);
}

// The scene on its own machine, not following the diagram's (as the desktop's program
// started alone), for the frames of tests/frames/explain/.
const openAlone = (s, [kind, n]) =>
  s.page.evaluate((k, m) => window.procesorExplainers.openFor(k, m, true), kind, n);

let available = new Set();

// Each element opens its own explainer, alone, where there is a scene for it.
await withPage(htmlPath, async (s) => {
  for (const [kind, n, x, y, command] of kElements) {
    const has = await s.page.evaluate((k, m) => window.procesorExplainers.hasScene(k, m), kind, n);
    if (has) available.add(command);
    await s.click(x, y);
    const list = await openList(s);
    const what = `${kind === kImage ? "Image" : "Label"}${n}`;
    check(JSON.stringify(list) === JSON.stringify(has ? [command] : []),
          `${what} opened [${list}], expected ${has ? command : "nothing"}`);
    if (has) {
      const title = await s.page.$eval(".explainer .title-bar span", (e) => e.textContent);
      check(title.length > 0, `${what}: the window has no title`);
    }
    await closeAll(s);
    check((await windowCount(s)) === 0, `${what}: Escape left a window open`);
  }
  console.log(`33 elements clicked; explainers built in: ${[...available].join(", ") || "none"}`);
  check(available.has("tamrelA") && available.has("tamrelB"), "registers A and B are not built in");

  // Several at once; a second click brings one to the front; Escape closes the front one.
  await s.click(580, 517);
  await s.click(580, 645);
  const listed = async () => JSON.stringify(await openList(s));
  check((await listed()) === '["tamrelA","tamrelB"]', "A then B are not both open");
  await s.click(580, 517);
  check((await listed()) === '["tamrelB","tamrelA"]', "A did not come to the front");
  check((await windowCount(s)) === 2, "a second click opened another window");
  await s.page.keyboard.press("Escape");
  check(JSON.stringify(await openList(s)) === '["tamrelB"]', "Escape did not close the front one");

  // Moved by its title bar.
  const before = await s.page.$eval(".explainer", (e) => [e.offsetLeft, e.offsetTop]);
  const bar = await s.page.$eval(".explainer .title-bar", (e) => {
    const r = e.getBoundingClientRect();
    return [r.left + 30, r.top + 9];
  });
  await s.page.mouse.move(...bar);
  await s.page.mouse.down();
  await s.page.mouse.move(bar[0] + 57, bar[1] + 31, { steps: 4 });
  await s.page.mouse.up();
  const after = await s.page.$eval(".explainer", (e) => [e.offsetLeft, e.offsetTop]);
  check(after[0] - before[0] === 57 && after[1] - before[1] === 31,
        `the title bar moved the window by ${after[0] - before[0]}, ${after[1] - before[1]}`);
  await s.page.click(".explainer .close");
  check((await windowCount(s)) === 0, "the close button did not close the window");

  // The clock runs on behind an open explainer.
  await s.click(...kProvoz);
  await s.click(...kStartStop);
  await s.click(580, 517);
  const first = await s.pulses();
  await new Promise((done) => setTimeout(done, 2300));
  const pulses = (await s.pulses()) - first;
  check(pulses >= 2, `only ${pulses} pulses in 2.3 s with an explainer open`);
  check((await windowCount(s)) === 1, "the explainer closed while the clock ran");

  // The reference frames, reached in the page's window.
  let frames = 0;
  for (const command of available) {
    const dir = join(framesDir, command);
    if (!existsSync(join(dir, "steps.txt"))) {
      check(false, `${command}: no reference frames`);
      continue;
    }
    await closeAll(s);
    const steps = readSteps(join(dir, "steps.txt"), kSceneSteps);
    // Opened on the element the steps name, else on the first one of its explainer.
    let element = kElements.find((e) => e[4] === command);
    if (steps[0].verb === "open") {
      const kind = steps[0].word === "Label" ? kLabel : kImage;
      element = kElements.find((e) => e[0] === kind && e[1] === steps[0].number);
      steps.shift();
    }
    await openAlone(s, element);
    const c = await explainerCanvas(s, command);
    const at = (x, y) => [c.x + (+x + 0.5) * c.width / c.w, c.y + (+y + 0.5) * c.height / c.h];
    for (const { verb, x, y, word } of steps) {
      if (verb === "click") {
        await s.page.mouse.move(...at(x, y));
        await s.page.mouse.down();
        await s.page.mouse.up();
      } else if (verb === "down" || verb === "up" || verb === "move") {
        await s.page.mouse.move(...at(x, y));
        if (verb === "down") await s.page.mouse.down();
        if (verb === "up") await s.page.mouse.up();
      } else if (verb === "key") {
        if (word === "backtab") {
          await s.page.keyboard.down("Shift");
          await s.page.keyboard.press("Tab");
          await s.page.keyboard.up("Shift");
        } else await s.page.keyboard.press(kKeys[word]);
      } else if (verb === "frame") {
        const expected = readPng(join(dir, `${word}.png`));
        const shown = await explainerCanvas(s, command);
        const pixels = Buffer.from(shown.pixels, "base64");
        const diff = compareRgba(pixels, expected.rgba, expected.width);
        check(shown.w === expected.width && shown.h === expected.height && diff.count === 0,
              `${command} frame ${word}: ${diff.count} pixels differ, ${diff.first.join(", ")}`);
        ++frames;
      }
    }
  }
  console.log(`${frames} explainer frames compared`);
  check(frames > 0, "no explainer frames compared");
});

// At a device pixel ratio of 2 every scene pixel is 2 x 2 device pixels on screen.
await withPage(htmlPath, async (s) => {
  await openAlone(s, [kImage, 62]);
  const c = await explainerCanvas(s, "tamrelA");
  const expected = readPng(join(framesDir, "tamrelA", "start.png"));
  check(c.width === expected.width && c.height === expected.height,
        `at ratio 2 the canvas takes ${c.width} x ${c.height} page pixels`);
  await s.page.evaluate(() => document.activeElement?.blur());
  const shot = readPng(Buffer.from(await s.page.screenshot({
    clip: { x: c.x, y: c.y, width: c.width, height: c.height }, type: "png" })));
  let differ = 0;
  for (let y = 0; y < shot.height; ++y)
    for (let x = 0; x < shot.width; ++x) {
      const a = 4 * (y * shot.width + x);
      const b = 4 * ((y >> 1) * expected.width + (x >> 1));
      if (shot.rgba[a] !== expected.rgba[b] || shot.rgba[a + 1] !== expected.rgba[b + 1] ||
          shot.rgba[a + 2] !== expected.rgba[b + 2]) ++differ;
    }
  check(shot.width === 2 * expected.width, `the screenshot is ${shot.width} wide`);
  check(differ === 0, `at ratio 2, ${differ} device pixels differ from the frame grown 2 x 2`);
}, { scale: 2 });

// Following the worked example: opened in run mode before the first pulse, each on its
// element, every window shows the frame of tests/frames/follow/ at its pulses.
const kFollowDir = join(framesDir, "..", "follow");
const kFollowers = [["vondrel", kLabel, 17, [7, 26, 34]], ["sarvek", kImage, 3, [14]],
                    ["quobin", kImage, 65, [25]], ["tamrelA", kImage, 62, [26]],
                    ["tamrelB", kImage, 7, [17]], ["plimo", kImage, 71, [8]]];
const kRucne = [855, 284], kProgramovani = [859, 108], kKrokovani = [448, 340], kNulovani = [448, 404];
await withPage(htmlPath, async (s) => {
  const pixels = async (command) => Buffer.from((await explainerCanvas(s, command)).pixels, "base64");
  const pulse = async () => {
    await s.click(...kRucne);
    await s.tick(5);
  };
  // Opened as a click on each element opens it; the windows, over the diagram, let the
  // clicks on the diagram through.
  const openOn = (kind, n) =>
    s.page.evaluate((k, m) => window.procesorExplainers.openFor(k, m), kind, n);
  const through = (command, on) => s.page.evaluate((c, o) => {
    for (const e of document.querySelectorAll(".explainer"))
      if (c === "" || e.dataset.command === c) e.style.pointerEvents = o ? "" : "none";
  }, command, on);
  await s.click(...kProvoz);
  for (const [, kind, n] of kFollowers) await openOn(kind, n);
  await through("", false);
  check(JSON.stringify(await openList(s)) === JSON.stringify(kFollowers.map((f) => f[0])),
        `the followers opened ${await openList(s)}`);
  let compared = 0;
  for (let at = 1; at <= 34; ++at) {
    await pulse();
    for (const [command, , , pulses] of kFollowers) {
      if (!pulses.includes(at)) continue;
      const expected = readPng(join(kFollowDir, `${command}-p${at}.png`));
      const shown = await explainerCanvas(s, command);
      const diff = compareRgba(Buffer.from(shown.pixels, "base64"), expected.rgba, expected.width);
      check(shown.w === expected.width && diff.count === 0,
            `${command} at pulse ${at}: ${diff.count} pixels differ, ${diff.first.join(", ")}`);
      ++compared;
    }
  }
  check(compared === 8, `${compared} follow frames compared`);

  // A step in vondrel's window (Enter on its first control) ends its following: the
  // simulator's next pulse leaves it as it was; its switch takes the machine up again.
  await s.click(...kProvoz); // the program from its start
  await pulse();
  const sceneAt = async (command, x, y) => {
    const c = await explainerCanvas(s, command);
    await s.page.mouse.click(c.x + (x + 0.5) * c.width / c.w, c.y + (y + 0.5) * c.height / c.h);
  };
  const followed = await pixels("sarvek");
  await s.page.focus('.explainer[data-command="vondrel"]');
  await s.press("Enter");
  const own = await pixels("vondrel");
  await pulse();
  check(compareRgba(await pixels("vondrel"), own, 780).count === 0,
        "after a step in vondrel's window the simulator's pulse still reached it");
  check(compareRgba(await pixels("sarvek"), followed, 780).count > 0,
        "the pulse did not reach sarvek, which follows");
  await openOn(kLabel, 17); // to the front
  await through("vondrel", true);
  await sceneAt("vondrel", 530, 512); // "sledovat simulátor"
  await through("vondrel", false);
  const taken = await pixels("vondrel");
  check(compareRgba(taken, own, 780).count > 0, "the switch did not take the simulator's machine up");
  await pulse();
  check(compareRgba(await pixels("vondrel"), taken, 780).count > 0,
        "vondrel, following again, did not take the simulator's next pulse");

  // "programování" and "nulování" reach the windows too.
  const all = async () => Promise.all(kFollowers.map(([command]) => pixels(command)));
  const changed = (a, b) => a.filter((p, i) => compareRgba(p, b[i], 780).count > 0).length;
  const running = await all();
  await s.click(...kProgramovani);
  const programming = await all();
  check(changed(programming, running) === kFollowers.length,
        `the mode change reached ${changed(programming, running)} of the windows`);
  await s.click(...kKrokovani); // PČ on to address 1
  await s.tick(2);
  const written = await all();
  await s.click(...kNulovani); // PČ back to 0, RAM blank
  await s.tick(4);
  check(changed(await all(), written) > 0, "\"nulování\" reached no window");

  // Tab past the last control of a window the mouse opened leaves it, to the diagram's
  // stop after the element that opened it (the adder, Image65, opened by a click).
  await s.page.focus('.explainer[data-command="quobin"]');
  let presses = 0;
  const active = () => s.page.evaluate(() => document.activeElement.id ||
                                         document.activeElement.className);
  while ((await active()).startsWith("explainer") && presses < 40) {
    await s.press("Tab");
    ++presses;
  }
  const after65 = await active();
  check(after65 !== "" && !after65.startsWith("explainer") && presses < 40,
        `Tab did not leave quobin's window: the focus is on ${after65}`);
  await s.page.focus('.explainer[data-command="quobin"]');
  presses = 0;
  while ((await active()).startsWith("explainer") && presses < 40) {
    await s.keyDown("Shift");
    await s.press("Tab");
    await s.keyUp("Shift");
    ++presses;
  }
  check(await active() === "Image65", `Shift+Tab out of quobin's window reaches ${await active()}`);
  await s.press("Tab");
  check(await active() === after65, `Tab from the adder reaches ${await active()}, not ${after65}`);
}, { hash: "#manual-timers&program=0001.0101.1011.0101.1110" });
