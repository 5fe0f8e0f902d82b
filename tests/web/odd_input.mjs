// Input that is no speed, and browsers that cannot run the page. A NUL pasted into
// the speed field stays in it, the box quotes the whole text with the NUL readable,
// and the clock does not start; a text of 10,000 characters is cut short in the
// middle and the box stays small. Without WebAssembly, and without JavaScript, the
// page says so in Czech, and nothing is written to the console.
//   node odd_input.mjs procesor.html
import { check, engine, withPage } from "./support.mjs";

const [htmlPath] = process.argv.slice(2);
const kProvoz = [859, 132], kStartStop = [855, 320];
const kTail = "' is not a valid integer value";

// The speed field's text as pasted: the browser's own input event.
async function paste(page, text) {
  await page.$eval("#Edit17", (e, t) => {
    e.focus();
    e.value = t;
    e.dispatchEvent(new InputEvent("input", { inputType: "insertFromPaste", bubbles: true }));
  }, text);
}

async function boxAfterStartStop(s) {
  await s.click(...kStartStop);
  const box = await s.page.evaluate(() => {
    const d = document.querySelector("dialog[open]");
    return d && { text: d.querySelector("#error-text").textContent,
                  width: d.getBoundingClientRect().width,
                  icon: d.querySelector(".icon").getBoundingClientRect().width };
  });
  await s.page.keyboard.press("Escape");
  return box;
}

await withPage(htmlPath, async (s) => {
  const page = s.page;
  await s.click(...kProvoz);
  await paste(page, "7\u00008");
  check(await page.$eval("#Edit17", (e) => e.value) === "7\u00008",
        "the speed field lost the text after the NUL");
  for (let i = 0; i < 2; ++i) {
    const box = await boxAfterStartStop(s);
    check(box?.text === "'7\u24008" + kTail, `start/stop ${i + 1}: the box says ${JSON.stringify(box?.text)}`);
  }
  check(!(await page.evaluate(() => window.procesorPage.running(1))), "the clock runs with 7\\0 8");
  check(await page.$eval("#Edit17", (e) => e.value) === "7\u00008", "the box changed the field");

  // 10,000 characters: 19 from the start, "…", 20 from the end.
  const long = "1" + "x".repeat(9998) + "9";
  await paste(page, long);
  const box = await boxAfterStartStop(s);
  check(box?.text === "'1" + "x".repeat(18) + "\u2026" + "x".repeat(19) + "9" + kTail,
        `the box for 10,000 characters says ${JSON.stringify(box?.text?.slice(0, 80))}…`);
  check(box && box.width < 500 && box.icon === 32,
        `the box for 10,000 characters is ${box?.width} px wide, its icon ${box?.icon}`);
  check(await page.$eval("#Edit17", (e) => e.value.length) === 10000, "the field lost the long text");
});

// Without WebAssembly: a message, no picture, nothing in the console.
const message = async (page, selector) => page.evaluate((sel) => {
  const e = document.querySelector(sel);
  return e && e.getBoundingClientRect().height > 0 ? e.textContent.replace(/\s+/g, " ").trim() : "";
}, selector);
await withPage(htmlPath, async (s) => {
  const said = await message(s.page, "#cannot-run");
  check(said.startsWith("Procesor potřebuje WebAssembly"), `without WebAssembly the page says "${said}"`);
  check(await s.page.$eval("#stage", (e) => e.getBoundingClientRect().height) === 0,
        "without WebAssembly the diagram's place is still shown");
}, { before: (page) => page.evaluateOnNewDocument(() => { delete window.WebAssembly; }), ready: "0" });

// WebAssembly there but refusing to compile the module.
await withPage(htmlPath, async (s) => {
  const said = await message(s.page, "#cannot-run");
  check(said.startsWith("Procesor potřebuje WebAssembly"), `with a failing WebAssembly the page says "${said}"`);
}, {
  before: (page) => page.evaluateOnNewDocument(() => {
    const refuse = () => Promise.reject(new WebAssembly.CompileError("refused"));
    WebAssembly.instantiate = refuse;
    WebAssembly.instantiateStreaming = refuse;
    WebAssembly.compile = refuse;
  }),
  ready: "0",
});

// Without JavaScript. Firefox's WebDriver BiDi (as puppeteer drives it) cannot switch
// scripts off; the <noscript> text is the same markup in every engine.
if (engine === "chromium") await withPage(htmlPath, async (s) => {
  const said = await s.page.evaluate(() => document.body.innerText.replace(/\s+/g, " ").trim());
  check(said.startsWith("Procesor potřebuje JavaScript"), `without JavaScript the page says "${said}"`);
}, { before: (page) => page.setJavaScriptEnabled(false), ready: null });
