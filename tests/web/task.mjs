// A task in the page: by the link "#task=" (with "#task=…&program=…" both at once), a
// refused one's error in Czech and its part of the address taken out, dropped and
// pasted as text; its pane right of the diagram, fitted with it, "Zkontrolovat" by
// the keyboard gives ✓ and the result code in the live region; predictions by the
// keyboard alone, the verdict said after the pulse.
//   node task.mjs procesor.html
import { closeError, dropText, errorText, paste } from "./program_support.mjs";
import { check, withPage } from "./support.mjs";

const [htmlPath] = process.argv.slice(2);
const kTask = "název: Pět a pět\nzadání: Sečtěte 5 + 5 a zastavte.\nočekávám: zastaveno\n" +
              "očekávám: A = 10\n";
const kSolution = "0001.0101.1011.0101.1110";
const kPredict = 6; // the command "Předpovídat"
const link = (text) => "#manual-timers&task=" + encodeURIComponent(text);
const report = (page) => page.evaluate(() => document.getElementById("report").textContent);
const focused = (page) => page.evaluate(() => document.activeElement?.id ?? "");
const panesShown = (page) => page.evaluate(() => {
  const c = document.getElementById("panes");
  return c.hidden ? 0 : c.width;
});
// The green of ✓ in the pane's picture.
const greenPixels = (page) => page.evaluate(() => {
  const c = document.getElementById("panes");
  const d = c.getContext("2d").getImageData(0, 0, c.width, c.height).data;
  let n = 0;
  for (let i = 0; i < d.length; i += 4) n += d[i] === 0 && d[i + 1] === 0x80 && d[i + 2] === 0;
  return n;
});
const options = { width: 1400, height: 800 };

// The link with the program: the pane, then Tab from the diagram's last stop into it.
await withPage(htmlPath, async (s) => {
  const page = s.page;
  check(await panesShown(page) === 240, `the task pane is ${await panesShown(page)} wide`);
  check((await report(page)).startsWith("Úloha „Pět a pět“"), `the live region says ${await report(page)}`);
  // Fitted with the diagram: beside it, the whole inside the window.
  const [diagramRight, paneLeft, paneRight] = await page.evaluate(() => [
    document.getElementById("diagram").getBoundingClientRect().right,
    document.getElementById("panes").getBoundingClientRect().left,
    document.getElementById("panes").getBoundingClientRect().right]);
  check(Math.abs(diagramRight - paneLeft) < 1 && paneRight <= 1400,
        `the diagram ends at ${diagramRight}, the pane spans ${paneLeft}..${paneRight}`);
  const right = await page.evaluate(() => document.getElementById("tools").getBoundingClientRect().left);
  check(right >= 1024 + 240, `the strip's buttons at ${right}, over the pane`);
  // The diagram's last stop is "Registr B" (Image7), after the explainers' elements.
  await page.focus("#Image7");
  await s.press("Tab");
  check(await focused(page) === "pane-0", `Tab from the diagram's last stop reached ${await focused(page)}`);
  const name = await page.evaluate(() => document.activeElement.getAttribute("aria-label"));
  check(name === "Zkontrolovat", `the button is named ${name}`);
  await s.press("Enter");
  const said = await report(page);
  check(/^Úloha splněna\. Kód řešení: [2-9A-HJKMNP-Z]{16}\.$/.test(said), `after Zkontrolovat: ${said}`);
  check(await greenPixels(page) > 10, "no ✓ drawn in the pane");
  await s.press("Tab");
  await s.press(" ");
  check(await panesShown(page) === 0, "Zavřít úlohu left the pane");
  check(await report(page) === "Úloha zavřena.", `after closing: ${await report(page)}`);
}, { hash: link(kTask) + "&program=" + kSolution, ...options });

// A refused task: the error box names the line and position, the address loses it.
await withPage(htmlPath, async (s) => {
  const text = await errorText(s.page);
  check(text !== null && text.includes("na 2. řádku, 11. pozici"), `the error box says ${text}`);
  await closeError(s.page);
  check(await panesShown(s.page) === 0, "a refused task opened its pane");
  const hash = await s.page.evaluate(() => location.hash);
  check(hash === "#manual-timers", `the address became ${hash}`);
}, { hash: link("název: x\nočekávám: Q = 1\n"), ...options });

// Dropped and pasted as text; then predictions by the keyboard.
await withPage(htmlPath, async (s) => {
  const page = s.page;
  await dropText(page, kTask);
  check(await panesShown(page) === 240, "a dropped task opened no pane");
  await page.evaluate(() => document.activeElement?.blur());
  await paste(page, kTask.replace("Pět a pět", "Znovu"));
  check((await report(page)).startsWith("Úloha „Znovu“"), `after the paste: ${await report(page)}`);
  await paste(page, kSolution.replaceAll(".", " "));

  await s.click(859, 132); // provoz
  await page.evaluate((c) => window.procesorPage.command(c), kPredict);
  await page.focus("#Panel1");
  await s.press("Enter");
  check(await s.pulses() === 0, "ručně pulsed before the prediction");
  check(await focused(page) === "pane-10", `the prediction pane has not the focus: ${await focused(page)}`);
  check((await report(page)).startsWith("Předpovězte"), `asked: ${await report(page)}`);
  await s.press("Enter"); // bus 0, nothing changes: the first pulse counts IR on
  check(await s.pulses() === 1, `${await s.pulses()} pulses after Ověřit`);
  const verdict = await report(page);
  check(/^(Správně|Špatně): .*správně [01] z 1/.test(verdict), `the verdict: ${verdict}`);
  check(await focused(page) === "Panel1", `the focus went to ${await focused(page)}`);
}, { hash: "#manual-timers", ...options });
