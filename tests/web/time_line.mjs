// The time line in the page: the worked example walked to its halt, then Ctrl+Z back
// entry by entry through the very reference frames to the start and Ctrl+Y forward
// again, and the same by the strip's buttons "Zpět" and "Vpřed" (their names,
// tooltips and disabled states checked on the way); "Časový diagram" opened by its
// button and by F8, a click on a column and its keys moving the machine, the log of
// transfers with its halt line said aloud, the table and the picture saved, Ctrl+S
// saving the diagram; a reload bringing the work back (Ctrl+Z working after it), a
// new link and "nulování" of a new lesson starting afresh.
//   node time_line.mjs procesor.html tests/frames
import { join } from "node:path";
import { readPng } from "./png.mjs";
import { kDiagramSteps, readSteps } from "./steps.mjs";
import { check, compareRgba, withPage } from "./support.mjs";

const [htmlPath, framesDir] = process.argv.slice(2);
const allSteps = readSteps(join(framesDir, "scenario.txt"), kDiagramSteps);
const kProgram = allSteps.find(({ verb }) => verb === "program").word.split(" ");
const steps = allSteps.slice(0, allSteps.findIndex(({ verb, word }) => verb === "frame" && word === "pulse-34") + 1);
const png = (name) => readPng(join(framesDir, `${name}.png`)).rgba;
const kButtons = { "step-back": ["Zpět", "Zpět (Ctrl+Z)"], "step-forward": ["Vpřed", "Vpřed (Ctrl+Y)"],
                   "timing-diagram": ["Časový diagram", "Časový diagram (F8)"],
                   predict: ["Předpovídat", "Předpovídat"] };
const kHaltEnd = "„provoz“ spustí program znovu od začátku, „programování“ vrátí k jeho zadávání.";

const timeLine = (s) => s.evaluate(() => window.procesorPage.timeLine());
const disabled = (s) => s.evaluate(() => [document.getElementById("step-back").disabled,
                                          document.getElementById("step-forward").disabled]);
async function sameFrame(s, name, what) {
  const diff = compareRgba(await s.canvasPixels(), png(name), 1024);
  return check(diff.count === 0, `${what}: frame ${name}: ${diff.count} pixels differ, ${diff.first.join(", ")}`);
}
async function atRest(s) {
  return s.evaluate(() => [1, 2, 3, 4, 5].every((n) => !window.procesorPage.running(n)));
}
// What the page's links would download: each click on an <a download> kept, not followed.
async function catchDownloads(s) {
  await s.evaluate(() => {
    window.downloads = [];
    HTMLAnchorElement.prototype.click = function () {
      window.downloads.push([this.download, this.href]);
    };
  });
}
async function lastDownload(s) {
  await s.page.waitForFunction(() => window.downloads.length > 0, { timeout: 5000 });
  const [name, href] = await s.evaluate(() => window.downloads.pop());
  return [name, href.slice(0, href.indexOf(",")), Buffer.from(href.slice(href.indexOf(",") + 1), "base64")];
}
const pngSize = (bytes) => [bytes.readUInt32BE(16), bytes.readUInt32BE(20)];
// A reload as the student makes one, the address given another "#" if `hash`; the
// page ready again. (WebKit's WebDriver hears the page's console only on pages it
// opened itself: there the page is left and opened again in the same tab.)
async function reload(s, hash = null) {
  if (s.engine === "webkit") {
    const [url, now] = await s.evaluate(() => [location.href.split("#")[0], location.hash]);
    await s.page.goto("about:blank");
    await s.page.goto(url + (hash ?? now));
  } else {
    await s.evaluate((h) => {
      window.beforeReload = true;
      if (h !== null) history.replaceState(null, "", location.pathname + h); // a link of another program
      setTimeout(() => location.reload(), 0);
    }, hash);
  }
  await s.page.waitForFunction(() => !window.beforeReload && document.documentElement.dataset.ready === "1",
                               { timeout: 20000 });
}

await withPage(htmlPath, async (s) => {
  const page = s.page;
  // The strip: names exactly the texts, the shortcut in the tooltip, nothing to go to.
  const shown = await s.evaluate((ids) => ids.map((id) => {
    const b = document.getElementById(id);
    return [b.getAttribute("aria-label"), b.title];
  }), Object.keys(kButtons));
  check(JSON.stringify(shown) === JSON.stringify(Object.values(kButtons)), `the strip shows ${JSON.stringify(shown)}`);
  check(await s.evaluate(() => document.getElementById("predict").getAttribute("aria-pressed")) === "false",
        "\"Předpovídat\" is not a toggle that is off");
  check(JSON.stringify(await disabled(s)) === "[true,true]", "\"Zpět\" or \"Vpřed\" enabled at the start");

  // The worked example to its halt, the frame seen at rest at each position kept.
  const frameAt = new Map();
  for (const { verb, x, y, number, word } of steps) {
    if (verb === "click") await s.click(x, y);
    else if (verb === "down") await s.down(x, y);
    else if (verb === "up") await s.up(x, y);
    else if (verb === "tick") await s.tick(number);
    else if (verb === "frame" && await atRest(s)) {
      const at = (await timeLine(s))[1];
      if (!frameAt.has(at)) frameAt.set(at, word); // not a control held on the same state
    }
  }
  const [first, end] = await timeLine(s);
  check(frameAt.get(first) === "startup" && frameAt.get(end) === "pulse-34" && frameAt.size >= 38,
        `frames at rest: ${[...frameAt.values()].join(" ")}`);
  check(JSON.stringify(await disabled(s)) === "[false,true]", "at the halt \"Zpět\" is off or \"Vpřed\" on");

  // Back and forth by the keys, then by the buttons: every frame on the way.
  const walk = async (back, how) => {
    let seen = 0;
    for (;;) {
      const before = (await timeLine(s))[1];
      if (how === "keys") await s.evaluate(() => document.activeElement?.blur());
      if (how === "keys" && back) {
        await s.keyDown("Control");
        await s.press("z");
        await s.keyUp("Control");
      } else if (how === "keys") {
        await s.keyDown("Control");
        await s.press("y");
        await s.keyUp("Control");
      } else {
        const id = back ? "step-back" : "step-forward";
        if (await s.evaluate((i) => document.getElementById(i).disabled, id)) break;
        await page.click("#" + id);
      }
      const at = (await timeLine(s))[1];
      if (at === before) break;
      if (!check(at === before + (back ? -1 : 1), `${how}: from ${before} to ${at}`)) break;
      if (frameAt.has(at)) {
        await sameFrame(s, frameAt.get(at), `${how} ${back ? "back" : "forward"} at ${at}`);
        ++seen;
      }
    }
    return seen;
  };
  for (const how of ["keys", "buttons"]) {
    check(await walk(true, how) === frameAt.size - 1, `${how}: not every frame on the way back`);
    check((await timeLine(s))[1] === first, `${how}: not back at the start`);
    check(JSON.stringify(await disabled(s)) === "[true,false]", `${how}: at the start the buttons are ${await disabled(s)}`);
    check(await walk(false, how) === frameAt.size - 1, `${how}: not every frame on the way forward`);
    check((await timeLine(s))[1] === end, `${how}: not at the halt again`);
  }

  // "Časový diagram" by its button: a window of the page, the log under it.
  await page.click("#timing-diagram");
  await page.waitForFunction(() => document.querySelector(".explainer.timing") !== null, { timeout: 5000 });
  const win = await s.evaluate(() => {
    const w = document.querySelector(".explainer.timing");
    return [w.getAttribute("aria-label"), w.querySelector(".title-bar span").textContent,
            document.activeElement === w, w.querySelector("textarea").readOnly,
            w.querySelector("textarea").value, [...w.querySelectorAll(".buttons button")].map((b) => b.textContent)];
  });
  check(win[0] === "Časový diagram" && win[1] === "Časový diagram" && win[2] && win[3],
        `the timing window: ${JSON.stringify(win.slice(0, 4))}`);
  const log = win[4].trim().split("\n");
  check(log[1] === "1. mikrokrok, řádek 0001 (NOP): RAM → sběrnice → IR; IR = 1" && log.at(-1).endsWith(kHaltEnd),
        `the log of transfers: ${JSON.stringify(log.slice(0, 2))} … ${log.at(-1)}`);
  check(JSON.stringify(win[5]) === '["Uložit tabulku (CSV)","Uložit obrázek (PNG)"]', `its buttons ${win[5]}`);

  // A click on the third pulse's column (its middle, on the Φ1 row): the machine as that
  // pulse left it; Home and Enter the first pulse, End and Enter the last.
  const columnX = (column) => 96 + 24 * column + 12;
  const clickTiming = async (x, y) => {
    const r = await s.evaluate(() => {
      const b = document.querySelector(".explainer.timing canvas").getBoundingClientRect();
      return [b.left, b.top, b.width / 960];
    });
    await page.mouse.click(r[0] + x * r[2], r[1] + y * r[2]);
  };
  await clickTiming(columnX(2), 48);
  await sameFrame(s, "pulse-03", "a click on the third column");
  for (const [key, frame] of [["Home", "pulse-01"], ["End", "pulse-34"]]) {
    await s.press(key);
    await s.press("Enter");
    await sameFrame(s, frame, `${key} and Enter in the timing window`);
  }
  // The exports: the table as CSV (a header, one row a pulse), the picture as PNG.
  await catchDownloads(s);
  await page.click(".explainer.timing .buttons button:first-child");
  const [csvName, csvType, csv] = await lastDownload(s);
  const rows = csv.toString("utf8").trim().split("\n").map((r) => r.split(","));
  const col = (name) => rows[0].indexOf(name);
  check(csvName === "casovy-diagram.csv" && csvType.includes("text/csv") && rows.length === 35,
        `the CSV: ${csvName}, ${csvType}, ${rows.length} rows`);
  // After the third microstep's Φ2 pulse (pulse 8): A = 5 from the bus, PC 1, IR 3.
  check(rows[8][col("takt")] === "8" && rows[8][col("A")] === "5" && rows[8][col("sběrnice")] === "5" &&
        rows[8][col("PČ")] === "1" && rows[8][col("IR")] === "3" && rows[8][col("Φ2")] === "1",
        `the CSV's row of pulse 8: ${rows[8]} under ${rows[0]}`);
  await page.click(".explainer.timing .buttons button:last-child");
  const [pngName, , pngBytes] = await lastDownload(s);
  check(pngName === "casovy-diagram.png" && pngSize(pngBytes).join("x") === "960x420",
        `the timing PNG: ${pngName}, ${pngSize(pngBytes)}`);
  await s.keyDown("Control");
  await s.press("s");
  await s.keyUp("Control");
  const [pictureName, , picture] = await lastDownload(s);
  check(pictureName === "procesor.png" && pngSize(picture).join("x") === "1024x715",
        `Ctrl+S: ${pictureName}, ${pngSize(picture)}`);
  // Escape closes it; F8 opens it again.
  await s.evaluate(() => document.querySelector(".explainer.timing").focus());
  await s.press("Escape");
  check(await s.evaluate(() => document.querySelector(".explainer.timing") === null), "Escape leaves the window open");
  await s.evaluate(() => document.activeElement?.blur());
  await s.press("F8");
  check(await s.evaluate(() => document.activeElement?.matches(".explainer.timing")),
        `F8 opens no timing window: ${await s.evaluate(() => [document.activeElement?.outerHTML.slice(0, 80), document.querySelectorAll(".explainer").length])}`);

  // A reload: the speed, the mode and the time line come back; Ctrl+Z works on.
  await s.press("Escape");
  await page.click("#step-back");
  await s.evaluate(() => document.getElementById("UpDown1-up").click());
  const speed = await s.evaluate(() => document.getElementById("Edit17").value);
  check(speed === "5", `the up arrow made the speed ${speed}`);
  const kept = await timeLine(s);
  const beforeReload = await s.canvasPixels();
  await reload(s);
  check(JSON.stringify(await timeLine(s)) === JSON.stringify(kept), `after a reload the time line is ${await timeLine(s)}, not ${kept}`);
  check(await s.evaluate(() => document.getElementById("Edit17").value) === speed, "the speed is lost by a reload");
  const diff = compareRgba(await s.canvasPixels(), beforeReload, 1024);
  check(diff.count === 0, `after a reload ${diff.count} pixels differ, ${diff.first.join(", ")}`);
  await s.evaluate(() => document.activeElement?.blur());
  await s.keyDown("Control");
  await s.press("z");
  await s.keyUp("Control");
  await sameFrame(s, "pulse-32", "Ctrl+Z after a reload");
  // The window open, "ručně" twice by PageDown: the halt's line said aloud.
  await s.press("F8");
  await s.evaluate(() => document.activeElement?.blur());
  for (let i = 0; i < 2; ++i) {
    await s.press("PageDown");
    await s.tick(5);
  }
  await sameFrame(s, "pulse-34", "PageDown twice after Ctrl+Z");
  const said = await s.evaluate(() => document.getElementById("report").textContent);
  check(said.endsWith(kHaltEnd), `at the halt the live region says ${said}`);
  check((await s.evaluate(() => document.querySelector(".explainer.timing textarea").value)).trim().endsWith(kHaltEnd),
        "the log in the window does not end with the halt");
}, { hash: "#manual-timers" });

// A new link starts afresh; so does "nulování" of a new lesson.
await withPage(htmlPath, async (s) => {
  await s.click(859, 132); // provoz
  await s.click(855, 284);
  await s.tick(5);
  const link = `#manual-timers&program=${kProgram.slice(0, 2).join(".")}`;
  await reload(s, link);
  const [first, at] = await timeLine(s);
  check(at - first === 1, `a new link kept ${at - first} entries of the old lesson`);
  await s.click(448, 404); // nulování
  await s.tick(4);
  await reload(s);
  check(JSON.stringify(await disabled(s)) === "[true,true]", "after nulování of a new lesson a reload brings it back");
  check(!(await s.evaluate(() => location.hash)).includes("program="), "RAM came back after nulování");
}, { hash: "#manual-timers" });
