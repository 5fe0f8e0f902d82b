// The page is one file that a school can mail or put on a USB stick: everything in
// it, under 420 KB, since a browser reads the whole file before the first frame
// (Chromium about 2 ms a 100 KB); all of it ASCII (the Czech texts as escapes),
// which it reads faster than text that must be decoded.
//   node size.mjs procesor.html
import { readFileSync } from "node:fs";
import { check } from "./support.mjs";

const [htmlPath] = process.argv.slice(2);
const page = readFileSync(htmlPath);
const bytes = page.length;
check(bytes < 420 * 1024, `procesor.html has ${bytes} bytes, more than 420 KB`);
const beyond = page.findIndex((b) => b > 0x7f);
check(beyond < 0, `procesor.html has a byte beyond ASCII at ${beyond}: ` +
                  JSON.stringify(page.subarray(Math.max(0, beyond - 30), beyond + 10).toString("latin1")));
console.log(`procesor.html: ${bytes} bytes`);
