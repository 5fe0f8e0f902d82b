// A program as text in the page: every bad input from every way in (the page's
// address, a dropped file, dropped text, Ctrl+V on the diagram) opens one error box
// that says what is wrong and changes nothing, in run mode too with the clock
// running; Ctrl+C copies the program in RAM; the address follows the program as
// the student edits it, so that a link copied from it opens the same program.
//   node program.mjs procesor.html
import { readFileSync } from "node:fs";
import { dirname, join } from "node:path";
import { fileURLToPath } from "node:url";
import { readPng } from "./png.mjs";
import { closeError, copied, dropFile, dropText, errorText, paste } from "./program_support.mjs";
import { check, compareRgba, withPage } from "./support.mjs";

const [htmlPath] = process.argv.slice(2);
const here = dirname(fileURLToPath(import.meta.url));
const startup = readPng(join(here, "..", "frames", "startup.png"));
const kExample = "0001 0101 1011 0101 1110";
const kProvoz = [859, 132], kProgramovani = [859, 108], kStartStop = [855, 320];
const kWrite = [448, 372], kStep = [448, 340], kClear = [448, 404], kButton11 = [970, 146];
const hashOf = (page) => page.evaluate(() => location.hash);
const blur = (page) => page.evaluate(() => document.activeElement?.blur());

// Each attempt: one error box saying `says`, and nothing changed behind it.
async function refused(s, what, attempt, says) {
  const before = await s.canvasPixels();
  const program = await copied(s.page);
  const hash = await hashOf(s.page);
  await attempt();
  const text = await errorText(s.page);
  check(text !== null && text.includes(says), `${what}: the error box says ${JSON.stringify(text)}`);
  const boxes = await s.page.evaluate(() => document.querySelectorAll("dialog[open]").length);
  check(boxes === 1, `${what}: ${boxes} error boxes`);
  await closeError(s.page);
  const diff = compareRgba(await s.canvasPixels(), before, 1024);
  check(diff.count === 0, `${what}: ${diff.count} pixels changed, ${diff.first.join(", ")}`);
  check(await copied(s.page) === program, `${what}: RAM changed`);
  check(await hashOf(s.page) === hash, `${what}: the address changed to ${await hashOf(s.page)}`);
}

// Bad programs in the address: the box at once, RAM empty, the program taken out of
// the address, so that a reload starts afresh.
for (const [link, says] of [
  ["0001.0102", "Program nebyl načten: 2. slovo „0102“ na 1. řádku, 6. pozici"],
  ["0001.".repeat(17), "RAM má jen 16 slov, ale text jich má víc: 17. slovo „0001“"],
  ["", "text neobsahuje žádné slovo programu"],
  ["0001%20x", "2. slovo „x“ na 1. řádku, 6. pozici"],
]) {
  await withPage(htmlPath, async (s) => {
    const text = await errorText(s.page);
    check(text !== null && text.includes(says), `link "${link}": the error box says ${JSON.stringify(text)}`);
    await closeError(s.page);
    const diff = compareRgba(await s.canvasPixels(), startup.rgba, 1024);
    check(diff.count === 0, `link "${link}": ${diff.count} pixels differ from the start-up frame`);
    check(await hashOf(s.page) === "#manual-timers",
          `link "${link}": the address became ${await hashOf(s.page)}`);
    // (WebKit's WebDriver loses the harness's console hook on a reload.)
    if (s.engine === "webkit") return;
    await s.page.evaluate(() => setTimeout(() => location.reload())).catch(() => {});
    await s.page.waitForFunction(() => document.documentElement.dataset.ready === "1" &&
                                 performance.getEntriesByType("navigation")[0]?.type === "reload",
                                 { timeout: 10000 });
    check(await errorText(s.page) === null, `link "${link}": a reload shows the error again`);
  }, { hash: `#manual-timers&program=${link}` });
}

await withPage(htmlPath, async (s) => {
  const page = s.page;
  // A link with blanks and commas, as a teacher may write it, and the address edited.
  check(await copied(page) === null, "the page took the keys from the speed field at start");
  await blur(page);
  check(await copied(page) === "0001 0101 1110", `the link's program copies as "${await copied(page)}"`);
  await page.evaluate(() => { location.hash = "#manual-timers&program=1110.1111"; });
  await page.waitForFunction(() => true);
  await page.evaluate(() => new Promise((done) => setTimeout(done, 50)));
  check(await copied(page) === "1110 1111", `the edited address gives "${await copied(page)}"`);

  // The address follows the edits: a word written by clicks, a paste, "nulování".
  await s.click(...kStep);
  await s.tick(2);
  await s.click(...kStep);
  await s.tick(2);
  await s.click(...kButton11);
  await s.click(...kWrite); // 0001 at address 2
  await s.tick(3);
  check(await hashOf(page) === "#manual-timers&program=1110.1111.0001",
        `after a write the address is ${await hashOf(page)}`);
  await paste(page, kExample + "  # LDA 5; MOV; ADD; HLT");
  check(await hashOf(page) === "#manual-timers&program=0001.0101.1011.0101.1110",
        `after a paste the address is ${await hashOf(page)}`);
  const link = await page.evaluate(() => location.href);
  await s.click(...kClear);
  await s.tick(4);
  check(await hashOf(page) === "#manual-timers", `after "nulování" the address is ${await hashOf(page)}`);
  check(await copied(page) === null, "Ctrl+C with RAM empty copies something");
  // The link copied from the address bar opens the same program.
  await page.goto(link, { waitUntil: "load" });
  await page.waitForFunction(() => document.documentElement.dataset.ready === "1");
  await blur(page);
  check(await copied(page) === kExample, `the copied link opens "${await copied(page)}"`);

  // Every bad input by a drop or a paste, in programming mode at address 3.
  for (let n = 0; n < 3; ++n) {
    await s.click(...kStep);
    await s.tick(2);
  }
  await s.click(...kButton11);
  await refused(s, "dropped file, bad word", () => dropFile(page, "lekce.txt", "0001\n  0101 1O11"),
                "Program ze souboru „lekce.txt“ nebyl načten: 3. slovo „1O11“ na 2. řádku, 8. pozici");
  await refused(s, "dropped file, 17 words", () => dropFile(page, "lekce.txt", "1111\n".repeat(17)),
                "17. slovo „1111“ je na 17. řádku, 1. pozici");
  await refused(s, "dropped file, not UTF-8", () => dropFile(page, "latin2.txt", [0x23, 0x20, 0xE8, 0x0A, 0x30]),
                "text není v kódování UTF-8 (chybný bajt je na 1. řádku, 3. pozici)");
  await refused(s, "dropped file, too large", () => dropFile(page, "velky.txt", " ".repeat(65536) + "1110"),
                "„velky.txt“ nebyl načten: soubor je příliš velký");
  await refused(s, "dropped file, empty", () => dropFile(page, "prazdny.txt", ""),
                "žádné slovo programu");
  await refused(s, "dropped file, unreadable", async () => {
    await page.evaluate(() => {
      const data = new DataTransfer();
      data.items.add(new File(["1110"], "pryc.txt"));
      const gone = data.files[0];
      Object.defineProperty(gone, "slice", { value: () => ({
        arrayBuffer: () => Promise.reject(new DOMException("gone", "NotReadableError")) }) });
      const event = new DragEvent("drop", { bubbles: true, cancelable: true });
      Object.defineProperty(event, "dataTransfer", { value: { types: ["Files"], files: [gone] } });
      document.getElementById("diagram").dispatchEvent(event);
    });
    await page.evaluate(() => new Promise((done) => setTimeout(done, 50)));
  }, "Program ze souboru „pryc.txt“ nebyl načten: soubor nelze přečíst.");
  await refused(s, "dropped text, bad word", () => dropText(page, "1110 LDA"), "2. slovo „LDA“");
  await refused(s, "paste, bad word", () => paste(page, "0001, 0101, 01"),
                "Program nebyl načten: 3. slovo „01“ na 1. řádku, 13. pozici");
  await refused(s, "paste, nothing", () => paste(page, ""), "žádné slovo programu");
  await refused(s, "paste, too long", () => paste(page, "0001 ".repeat(20000)), "text je příliš dlouhý");

  // In the speed field Ctrl+V and Ctrl+C are the field's.
  await page.focus("#Edit17");
  await paste(page, "1110");
  check(await errorText(page) === null, "a paste in the speed field opened the error box");
  check(await copied(page) === null, "Ctrl+C in the speed field copied the program");
  // A click on the diagram takes the keys from the field.
  await s.click(950, 230); // the window's colour: no element there
  check(await page.evaluate(() => document.activeElement === document.body),
        "a click on the diagram left the focus in the speed field");
  check(await copied(page) === kExample, "after a click on the diagram Ctrl+C does not copy the program");

  // Run mode with the clock running: nothing comes in, the clock runs on.
  await s.click(...kProvoz);
  await s.click(...kStartStop);
  await s.tick(1);
  const starts = await page.evaluate(() => window.procesorPage.running(1));
  check(starts, "the automatic clock does not run");
  for (const [what, attempt] of [
    ["paste", () => paste(page, "1110")],
    ["dropped file", () => dropFile(page, "dobry.txt", "1110\n")],
    ["dropped text", () => dropText(page, "1110")],
  ]) {
    const pulses = await s.pulses();
    await refused(s, `run mode, ${what}`, attempt,
                  "jen v režimu programování. Stiskněte „programování“ a zkuste to znovu.");
    check(await page.evaluate(() => window.procesorPage.running(1)), `run mode, ${what}: the clock stopped`);
    check(await s.pulses() === pulses, `run mode, ${what}: a pulse was taken`);
    // The page's clock moved on to the clock's next tick ("ručně" lets go first).
    await page.evaluate(() => {
      const p = window.procesorPage, before = p.pulses();
      for (let i = 0; i < 4 && p.pulses() === before && p.nextWake() >= 0; ++i) p.advance(p.nextWake());
    });
    check(await s.pulses() === pulses + 1, `run mode, ${what}: the clock does not tick on`);
  }
  await s.click(...kProgramovani);
  check(await copied(page) === kExample, "RAM changed in run mode");
}, { hash: "#manual-timers&program=0001%200101,1110" });
