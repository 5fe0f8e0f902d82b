// Fails, saying what to do, when puppeteer-core or one of the three browser
// engines (with the virtual display that WebKitGTK needs) is missing.
import { existsSync } from "node:fs";
import { delimiter, join } from "node:path";

for (const name of ["puppeteer-core", "axe-core"]) {
  try {
    await import(name);
  } catch {
    console.error(`${name} is missing: run npm ci --prefix tests/web`);
    process.exitCode = 1;
  }
}
const { chromium, firefox } = await import("./support.mjs").catch(() => ({}));
const { webKitDriver, miniBrowser } = await import("./webdriver.mjs");
const xvfb = (process.env.PATH || "").split(delimiter).map((dir) => join(dir, "Xvfb"))
                 .find((path) => existsSync(path)) || "Xvfb";
for (const path of [chromium || "/usr/bin/chromium", firefox || "/usr/bin/firefox-esr",
                    webKitDriver, miniBrowser, xvfb]) {
  if (!existsSync(path)) {
    console.error(`${path} is missing: run scripts/deps --test`);
    process.exitCode = 1;
  }
}
