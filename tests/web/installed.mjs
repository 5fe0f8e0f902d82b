// Fails, saying what to do, when puppeteer-core or Chromium is missing.
import { existsSync } from "node:fs";

try {
  await import("puppeteer-core");
} catch {
  console.error("puppeteer-core is missing: run npm ci --prefix tests/web");
  process.exitCode = 1;
}
const chromium = process.env.CHROMIUM || "/usr/bin/chromium";
if (!existsSync(chromium)) {
  console.error(`${chromium} is missing: run scripts/deps --test`);
  process.exitCode = 1;
}
