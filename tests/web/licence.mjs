// The licences travel with the page: a notice in a comment at its top, and a link
// "Licence" outside the diagram that shows the full texts of the program's and the
// fonts' licences over the window until "Zpět" hides them, the diagram unchanged.
//   node licence.mjs procesor.html
import { readFileSync } from "node:fs";
import { check, compareRgba, withPage } from "./support.mjs";

const [htmlPath] = process.argv.slice(2);

const head = readFileSync(htmlPath, "utf-8").slice(0, 4000);
const notice = head.slice(head.indexOf("<!--"), head.indexOf("-->")).replace(/\s+/g, " ");
// (Its character set first, where a browser looks for it: in the first 1024 bytes.)
check(/^<!DOCTYPE html>\n<html[^>]*>\n<head>\n<meta charset="utf-8">\n<!--/.test(head),
      "the page does not open with its character set and its notice");
for (const words of ["GPL-3.0-or-later", "GNU General Public License", "Wine project",
                     "GNU Lesser General Public License, version 2.1", "Liberation Serif Bold",
                     "SIL Open Font License, Version 1.1"])
  check(notice.includes(words), `the notice at the top does not name ${words}`);

await withPage(htmlPath, async (s) => {
  const page = s.page;
  const shown = () => page.$eval("#licence", (e) => e.getBoundingClientRect().height > 0);
  check(!(await shown()), "the licence texts show before the link is followed");
  const link = await page.$eval("#about a", (a) => {
    const r = a.getBoundingClientRect();
    return { text: a.textContent, left: r.left, top: r.top, right: r.right, bottom: r.bottom };
  });
  check(link.text === "Licence", `the link says "${link.text}"`);
  const canvas = await page.$eval("#diagram", (c) => {
    const r = c.getBoundingClientRect();
    return { left: r.left, top: r.top, right: r.right, bottom: r.bottom };
  });
  check(link.top >= canvas.bottom || link.left >= canvas.right,
        `the link lies on the diagram: ${JSON.stringify(link)}`);

  const before = await s.canvasPixels();
  await page.click("#about a");
  check(await shown(), "the link does not show the licence texts");
  const text = await page.$eval("#licence-text", (e) => e.textContent);
  for (const title of ["GNU GENERAL PUBLIC LICENSE\n                       Version 3, 29 June 2007",
                       "GNU LESSER GENERAL PUBLIC LICENSE\n                       Version 2.1",
                       "SIL OPEN FONT LICENSE Version 1.1", "Wine project authors",
                       "Reserved Font Name Liberation"])
    check(text.includes(title), `the licence texts lack ${title.split("\n")[0]}`);
  const scrolls = await page.$eval("#licence", (e) => e.scrollHeight > e.clientHeight &&
                                                      getComputedStyle(e).overflowY === "auto");
  check(scrolls, "the licence texts cannot be scrolled through");
  const diff = compareRgba(await s.canvasPixels(), before, 1024);
  check(diff.count === 0, `the diagram changed under the link: ${diff.count} pixels`);

  await page.click("#licence a[href='#']");
  check(!(await shown()), "\"Zpět\" does not hide the licence texts");
});
