// A student with the keyboard and a screen reader: Tab visits the speed field, the
// four data switches, the instruction box, the two arrows and the seven panels in
// that order; each control shows the dotted focus frame while it has the focus (and
// the picture is as at rest again when it goes), and Enter or Space works it like a
// click. The canvas has a name, every control a Czech name, and after each pulse the
// live region says what changed. Then the rows of tests/screen/keys.txt, which the
// desktop window and the headless screen walk too; and a program pasted with Ctrl+V
// right after the page opens, the focus in the speed field, comes in as the program.
//   node keyboard.mjs procesor.html
import { readFileSync } from "node:fs";
import { check, compareRgba, withPage } from "./support.mjs";

const [htmlPath] = process.argv.slice(2);
// After the panels, the elements that open an explainer, in the companion table's order.
const kExplained = ["Image9", ...[...Array(16).keys()].map((i) => "Label" + (14 + i)), "Label13",
                    "Label30", "Label31", "Label32", "Label33", "Label34", "Image2", "Image203",
                    "Image63", "Image71", "Image1", "Image3", "Image4", "Image65", "Image62", "Image7"];
const kOrder = ["Edit17", "Button8", "Button9", "Button10", "Button11", "Memo1", "UpDown1-up",
                "UpDown1-down", "Panel6", "Panel7", "Panel1", "Panel2", "Panel3", "Panel4", "Panel5",
                ...kExplained];
const kPanels = { Panel6: [819, 96, 81, 25], Panel7: [819, 120, 81, 25], Panel1: [819, 272, 73, 25],
                  Panel2: [819, 308, 73, 25], Panel3: [408, 328, 81, 25], Panel4: [408, 360, 81, 25],
                  Panel5: [408, 392, 81, 25] };
const kLime = "#00ff00";

await withPage(htmlPath, async (s) => {
  const page = s.page;
  const rest = await s.canvasPixels();
  const focused = () => page.evaluate(() => document.activeElement.id);
  const changedIn = async ([x, y, w, h]) => {
    const now = await s.canvasPixels();
    let n = 0;
    for (let j = y; j < y + h; ++j)
      for (let i = x; i < x + w; ++i)
        for (let c = 0; c < 3; ++c) if (now[4 * (j * 1024 + i) + c] !== rest[4 * (j * 1024 + i) + c]) { ++n; break; }
    return n;
  };

  check(await focused() === "Edit17", "the speed field does not have the focus at start");
  const visited = ["Edit17"];
  for (let i = 1; i < kOrder.length; ++i) {
    await page.keyboard.press("Tab");
    visited.push(await focused());
    const panel = kPanels[visited[i]];
    // The dotted frame 3 pixels in: half of its edge's pixels.
    if (panel) {
      const dots = await changedIn(panel);
      const edge = 2 * (panel[2] - 6) + 2 * (panel[3] - 6) - 4;
      check(Math.abs(dots - edge / 2) <= 1, `${visited[i]} with the focus: ${dots} pixels changed, not ${edge / 2}`);
    }
    if (visited[i] === "UpDown1-up")
      check(await changedIn([977, 312, 16, 10]) === 16, "the up arrow shows no focus frame");
  }
  check(visited.join(",") === kOrder.join(","), `Tab visits ${visited.join(", ")}`);
  await page.keyboard.press("Tab"); // out of the page's controls
  const diff = compareRgba(await s.canvasPixels(), rest, 1024);
  check(diff.count === 0, `with the focus gone ${diff.count} pixels differ from the start, ${diff.first.join(", ")}`);

  // Names for the screen reader.
  check(await page.$eval("#diagram", (e) => e.getAttribute("aria-label")) === "Blokové schéma procesoru",
        "the canvas has no name");
  const names = await page.evaluate(() => Object.fromEntries(
    [...document.querySelectorAll(".control-key")].map((k) => [k.id, k.getAttribute("aria-label")])));
  check(names.Panel7 === "provoz" && names.Panel6 === "programování, vybráno" &&
        names.Panel2 === "start/stop, nyní nedostupné" && names.Button8 === "datový přepínač bitu 3: 0" &&
        names["UpDown1-up"] === "rychlost o jednu výš" && names.Image9 === "Řadič a mikroprogram" &&
        names.Image71 === "Hradlo AND – zápisové impulzy: hradlo zápisu do A" &&
        names.Label34 === "Řadič a mikroprogram: instrukce HLT",
        `the controls are named ${JSON.stringify(names)}`);

  // "provoz" by Enter, a switch by Space, "ručně" by Space: one pulse, said aloud.
  await page.focus("#Panel7");
  await page.keyboard.press("Enter");
  check(await s.pixel(823, 124) === kLime, "Enter on \"provoz\" does not select the run mode");
  const now = await page.evaluate(() => [document.getElementById("Panel7").getAttribute("aria-label"),
                                          document.getElementById("Panel2").getAttribute("aria-label")]);
  check(now[0] === "provoz, vybráno" && now[1] === "start/stop", `in the run mode the panels are named ${now}`);
  await page.focus("#Button11");
  await page.keyboard.press(" ");
  check((await page.$eval("#Button11", (e) => e.getAttribute("aria-label"))).endsWith(": 1"),
        "Space on Button11 does not set it to 1");
  const pulses = await s.pulses();
  await page.focus("#Panel1");
  await page.keyboard.down(" ");
  await page.keyboard.up(" ");
  check(await s.pulses() === pulses + 1, "Space on \"ručně\" does not give one pulse");
  const said = await page.$eval("#report", (e) => [e.textContent, e.getAttribute("aria-live")]);
  check(said[0] === "Fáze Φ1. Řádek mikroprogramu 0001: RAM/R-IR/W. Na sběrnici je 0." && said[1] === "polite",
        `after the pulse the live region says ${JSON.stringify(said)}`);
  // The up arrow by Enter: the speed field from 4 to 5.
  await page.focus("#UpDown1-up");
  await page.keyboard.press("Enter");
  check(await page.$eval("#Edit17", (e) => e.value) === "5", "Enter on the up arrow does not step the speed");
}, { hash: "#manual-timers" });

const kRows = readFileSync(new URL("../screen/keys.txt", import.meta.url), "utf8").split("\n")
  .map((text, i) => [i + 1, text.trim().split(/\s+/)])
  .filter(([, words]) => words[0] !== "" && !words[0].startsWith("#"));
const kKeyNames = { Tab: "Tab", Space: " ", Enter: "Enter", Up: "ArrowUp", Down: "ArrowDown" };

await withPage(htmlPath, async (s) => {
  const page = s.page;
  const ours = ["Edit17", "Memo1", ...kOrder];
  for (const [line, [key, focus, ...did]] of kRows) {
    const at = `keys.txt:${line}`;
    const pulses = await s.pulses();
    if (key === "BackTab") {
      await s.keyDown("Shift");
      await s.press("Tab");
      await s.keyUp("Shift");
    } else if (key !== "-") {
      await s.press(kKeyNames[key]);
    }
    // An explainer opened by the keyboard has the focus in its window.
    const started = did.filter((e) => e.startsWith("start=")).map((e) => e.slice(6));
    const active = await page.evaluate(() => document.activeElement.id ||
                                       document.activeElement.className);
    const shown = ours.includes(active) ? active : started.length ? active : "none";
    check(shown === (started.length ? "explainer front" : focus), `${at}: the focus on ${active}, not ${focus}`);
    for (const effect of did) {
      if (effect.startsWith("speed="))
        check(await page.$eval("#Edit17", (e) => e.value) === effect.slice(6), `${at}: ${effect}`);
      else if (effect === "run")
        check(await s.pixel(823, 124) === kLime, `${at}: not in "provoz"`);
      else if (effect.startsWith("Button")) {
        const [id, bit] = effect.split("=");
        check((await page.$eval("#" + id, (e) => e.getAttribute("aria-label"))).endsWith(": " + bit),
              `${at}: ${effect}`);
      } else check(effect === "pulse" || effect.startsWith("start="), `${at}: unknown effect ${effect}`);
    }
    check(await s.pulses() === pulses + (did.includes("pulse") ? 1 : 0), `${at}: pulses`);
    // Its window, which Escape closes, the focus back on the element.
    const windows = await page.evaluate(() => window.procesorExplainers.list());
    check(windows.join() === started.join(), `${at}: explainers open ${windows}, not ${started}`);
    if (started.length) {
      await s.press("Escape");
      check(await page.evaluate(() => document.activeElement.id) === focus, `${at}: Escape leaves the focus elsewhere`);
    }
  }
}, { hash: "#manual-timers" });

// The README's Ctrl+V right after opening: the words come in as the program, the speed
// field keeps its text; a number pasted there is the field's.
await withPage(htmlPath, async (s) => {
  const page = s.page;
  const paste = (text) => page.evaluate((t) => {
    const data = new DataTransfer();
    data.setData("text/plain", t);
    const event = new ClipboardEvent("paste", { bubbles: true, cancelable: true });
    Object.defineProperty(event, "clipboardData", { value: data }); // Firefox reads it there
    const taken = !document.activeElement.dispatchEvent(event);
    return [taken, location.hash];
  }, text);
  check(await page.evaluate(() => document.activeElement.id) === "Edit17", "the speed field has no focus");
  const [taken, hash] = await paste("0001 0101 1011 0101 1110");
  check(taken && hash.endsWith("program=0001.0101.1011.0101.1110"), `the program did not come in: ${hash}`);
  check(await page.$eval("#Edit17", (e) => e.value) === "4", "the speed field did not keep its text");
  const [numberTaken] = await paste("6");
  check(!numberTaken, "a number pasted into the speed field was kept from it");
});
