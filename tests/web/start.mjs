// The start picture, shown before the module has started where the picture is sharp
// (a whole number of device pixels per pixel): at ratio 1 and 2 it is exactly the
// module's first frame, pixel for pixel, with the canvas in the same place and no
// text laid out yet, then the fields and the buttons where the module leaves them, and
// it is on the screen (a frame has begun) before the module starts. At 1.25, with a program in the address and with work kept across a reload,
// nothing is shown before the module's own first frame.
//   node start.mjs procesor.html
import { check, withPage } from "./support.mjs";

const [htmlPath] = process.argv.slice(2);

// Before the page: at each of the page's marks, the canvas and the layout as they
// stand then, and the time of the frame that begins after the first frame.
const watch = (page) => page.evaluateOnNewDocument(() => {
  window.startSeen = {};
  const mark = performance.mark.bind(performance);
  const places = () => Object.fromEntries(["diagram", "Edit17", "Memo1", "tools", "stage"].map((id) => {
    const r = document.getElementById(id).getBoundingClientRect();
    // (The strip of buttons grows as the module adds the time line's.)
    return [id, [r.left, r.top, ...(id === "tools" ? [] : [r.width, r.height])].join(",")];
  }));
  performance.mark = (name, ...rest) => {
    const c = document.getElementById("diagram");
    window.startSeen[name] = { at: performance.now(), places: places(), size: [c.width, c.height],
                               pixels: c.toDataURL("image/png"),
                               typing: !document.getElementById("Memo1").readOnly };
    if (name === "procesor-first-frame")
      requestAnimationFrame(() => { window.startSeen.frame = performance.now(); });
    return mark(name, ...rest);
  };
});

const seen = (s) => s.evaluate(() => window.startSeen);

// (Without the browser's own base64 decoder, as in older browsers, at ratio 2.)
const withoutDecoder = (page) => page.evaluateOnNewDocument(() => { delete Uint8Array.fromBase64; });
async function sharp(scale, reload, older = false) {
  await withPage(htmlPath, async (s) => {
    const t = await seen(s);
    const early = t["procesor-first-frame"], started = t["procesor-module-start"];
    const module = t["procesor-module-frame"];
    check(early && started && module, `ratio ${scale}: the marks are ${Object.keys(t).join(", ")}`);
    check(early.at < started.at && t.frame !== undefined && t.frame <= started.at,
          `ratio ${scale}: the module started at ${started.at} ms, before the frame after the start ` +
          `picture (${early.at} ms, frame ${t.frame})`);
    check(early.pixels === module.pixels,
          `ratio ${scale}: the start picture is not the module's first frame`);
    // The start picture comes with the canvas alone (no text laid out yet); the fields
    // and the buttons follow before the module starts, where the module leaves them.
    for (const id of ["Edit17", "Memo1", "tools"]) {
      check(/^0,0(,0,0)?$/.test(early.places[id]), `ratio ${scale}: #${id} is laid out with the start picture`);
      check(!/^0,0(,0,0)?$/.test(module.places[id]), `ratio ${scale}: #${id} is not shown with the module`);
    }
    for (const id of Object.keys(module.places)) {
      const before = ["diagram", "stage"].includes(id) ? early : started;
      check(before.places[id] === module.places[id],
            `ratio ${scale}: #${id} lies at ${before.places[id]} before the module started, ` +
            `at ${module.places[id]} in the module's first frame`);
    }
    // Typed before the module keeps the fields' text, a word would be lost.
    check(!early.typing && (await s.evaluate(() => !Memo1.readOnly && !Edit17.readOnly)),
          `ratio ${scale}: the fields take typing ${early.typing ? "before" : "not even after"} the module starts`);
    check(await s.evaluate(() => performance.getEntriesByName("procesor-first-frame").length) === 1,
          `ratio ${scale}: "procesor-first-frame" marked more than once`);

    // Work kept across a reload: the reload's first picture is the module's.
    if (!reload) return;
    await s.click(922, 146); // the data switch furthest left (kept on pagehide)
    await s.page.reload({ waitUntil: "load" });
    await s.page.waitForFunction(() => document.documentElement.dataset.ready === "1");
    const again = await seen(s);
    check(again["procesor-module-start"].at < again["procesor-first-frame"].at,
          `ratio ${scale}: with work kept, the start picture is shown before the module`);
    // Opened anew in the same tab (its address typed again): the start picture may come
    // first, the work kept comes back with the module all the same.
    const url = s.page.url();
    await s.page.goto("about:blank");
    await s.page.goto(url, { waitUntil: "load" });
    await s.page.waitForFunction(() => document.documentElement.dataset.ready === "1");
    const anew = await seen(s);
    check(anew["procesor-module-frame"].pixels === again["procesor-module-frame"].pixels,
          `ratio ${scale}: the work kept is not back when the page is opened anew in its tab`);
  }, { scale, before: async (page) => {
    await watch(page);
    if (older) await withoutDecoder(page);
  } });
}

await sharp(1, true);
await sharp(2, false, true);

// Not sharp, or another first picture: nothing on the canvas before the module.
for (const [what, options] of [
  ["at 1.25", { scale: 1.25, viewport: { width: 1093, height: 511 } }],
  ["with a program in the address", { hash: "#program=0001.0101.1110" }],
]) {
  await withPage(htmlPath, async (s) => {
    const t = await seen(s);
    const started = t["procesor-module-start"];
    check(started && started.size.join("x") === "300x150",
          `${what}: the canvas is ${started?.size.join("x")} before the module starts`);
    check(started.at < t["procesor-first-frame"].at, `${what}: the first frame comes before the module`);
  }, { ...options, before: watch });
}
console.log("the start picture: as the module's first frame at 1 and 2, none at 1.25, with a link or work " +
            "kept across a reload; work kept back when the page is opened anew in its tab");
