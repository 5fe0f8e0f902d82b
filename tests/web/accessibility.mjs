// The page checked by axe-core against WCAG 2.1 A and AA: no violation in the start
// state, with an explainer's window open, with the timing diagram's window open, and
// with the licences shown.
//   node accessibility.mjs procesor.html
import { readFileSync } from "node:fs";
import { createRequire } from "node:module";
import { check, withPage } from "./support.mjs";

const [htmlPath] = process.argv.slice(2);
const axeSource = readFileSync(createRequire(import.meta.url).resolve("axe-core/axe.min.js"), "utf-8");
const kIR = [580, 84]; // a click here opens IR's explainer

async function violations(s, what) {
  const found = await s.page.evaluate(async (source) => {
    if (!window.axe) new Function(source)();
    const result = await window.axe.run(document, {
      runOnly: { type: "tag", values: ["wcag2a", "wcag2aa", "wcag21a", "wcag21aa"] },
      resultTypes: ["violations"],
    });
    return result.violations.map((v) => `${v.id} (${v.impact}): ${v.nodes.map((n) => n.target.join(" ")).join(", ")}`);
  }, axeSource);
  check(found.length === 0, `${what}: ${found.length} violations\n  ${found.join("\n  ")}`);
}

// The states a student meets: each opened from the start by `reach(session)`. A
// state of another part of the page (its task pane, for one) is added here.
const states = [
  { what: "the start", reach: async () => {} },
  { what: "an explainer open", reach: async (s) => {
    await s.click(...kIR);
    await s.page.waitForSelector(".explainer", { timeout: 5000 });
  } },
  { what: "the timing diagram open", reach: async (s) => {
    await s.click(859, 132); // provoz, and two pulses for the log
    for (let i = 0; i < 2; ++i) {
      await s.click(855, 284);
      await s.tick(5);
    }
    await s.page.click("#timing-diagram");
    await s.page.waitForSelector(".explainer.timing", { timeout: 5000 });
  } },
  { what: "the licences shown", reach: async (s) => {
    await s.page.click("#about a");
  } },
  { what: "a task pane open and checked", reach: async (s) => {
    await s.page.evaluate(() => {
      location.hash = "task=" + encodeURIComponent("název: Úloha\nzadání: A.\nočekávám: A = 1\n");
      location.reload();
    }).catch(() => {});
    await s.page.waitForFunction(() => document.documentElement.dataset.ready === "1" &&
                                 !document.getElementById("panes").hidden, { timeout: 10000 });
    await s.page.focus("#pane-0");
    await s.page.keyboard.press("Enter");
  } },
];

for (const { what, reach } of states) {
  await withPage(htmlPath, async (s) => {
    await reach(s);
    await violations(s, what);
  }, { hash: "#manual-timers" });
}
