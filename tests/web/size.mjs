// The page is one file that a school can mail or put on a USB stick: everything in
// it, under 500 KB.
//   node size.mjs procesor.html
import { statSync } from "node:fs";
import { check } from "./support.mjs";

const [htmlPath] = process.argv.slice(2);
const bytes = statSync(htmlPath).size;
check(bytes < 500 * 1024, `procesor.html has ${bytes} bytes, more than 500 KB`);
console.log(`procesor.html: ${bytes} bytes`);
