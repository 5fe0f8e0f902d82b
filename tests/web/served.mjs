// The page embedded and installed. "#embed" (with a program too) shows the diagram
// alone, fitted to the frame, here an iframe's 640 x 460. Served by a web server on
// 127.0.0.1 (started here), the page names its web app manifest (name "Procesor",
// the program's icon) and a service worker, which keeps it working after the server
// has gone and the network is off; opened from disk it asks for neither.
//   node served.mjs procesor.html
import { mkdtempSync, readFileSync, rmSync } from "node:fs";
import { createServer } from "node:http";
import { tmpdir } from "node:os";
import { basename, dirname, join } from "node:path";
import puppeteer from "puppeteer-core";
import { check, chromium, withPage } from "./support.mjs";

const [htmlPath] = process.argv.slice(2);

// Embedded: nothing but the diagram, as large as the frame allows, no scrolling.
await withPage(htmlPath, async (s) => {
  const page = s.page;
  const seen = await page.evaluate(() => ({
    diagram: document.getElementById("diagram").getBoundingClientRect().width,
    tools: document.getElementById("tools").getBoundingClientRect().width,
    link: document.getElementById("about").getBoundingClientRect().width,
    scroll: [document.documentElement.scrollWidth, document.documentElement.scrollHeight],
    hash: location.hash,
  }));
  check(seen.diagram === 640, `embedded in 640x460 the diagram is ${seen.diagram} wide`);
  check(seen.tools === 0 && seen.link === 0, "embedded, the buttons or the link show");
  check(seen.scroll[0] <= 640 && seen.scroll[1] <= 460, `embedded, the page scrolls: ${seen.scroll}`);
  // (A program refused would have left the address.)
  check(seen.hash === "#embed&program=0001.0101.1110", `embedded, the address became ${seen.hash}`);
}, { hash: "#embed&program=0001.0101.1110", width: 640, height: 460 });

// Opened from disk: no manifest, no worker.
await withPage(htmlPath, async (s) => {
  const asks = await s.page.evaluate(async () => [
    document.querySelector("link[rel=manifest]") !== null,
    (await navigator.serviceWorker?.getRegistrations?.().catch(() => []))?.length > 0]);
  check(!asks[0] && !asks[1], `opened from disk the page asks for ${asks}`);
});

// Served: the files of the web build's folder, nothing else.
const folder = dirname(htmlPath);
const types = { ".html": "text/html; charset=utf-8", ".js": "text/javascript",
                ".webmanifest": "application/manifest+json", ".svg": "image/svg+xml" };
const served = [];
const server = createServer((request, answer) => {
  const name = new URL(request.url, "http://127.0.0.1").pathname.slice(1);
  served.push(name);
  const type = types[name.slice(name.lastIndexOf("."))];
  if (!["procesor.html", "manifest.webmanifest", "service-worker.js", "procesor.svg"].includes(name)) {
    answer.writeHead(404).end();
    return;
  }
  answer.writeHead(200, { "Content-Type": type }).end(readFileSync(join(folder, name)));
});
await new Promise((done) => server.listen(0, "127.0.0.1", done));
const url = `http://127.0.0.1:${server.address().port}/${basename(htmlPath)}`;
const profile = mkdtempSync(join(tmpdir(), "procesor-served-"));
const browser = await puppeteer.launch({
  executablePath: chromium, headless: true,
  args: ["--headless", "--no-sandbox", "--disable-gpu", "--no-first-run", "--disable-background-networking",
         "--disable-component-update", "--disable-sync", `--user-data-dir=${profile}`],
});
try {
  const page = await browser.newPage();
  const problems = [];
  page.on("console", (msg) => problems.push(`console ${msg.type()}: ${msg.text()}`));
  page.on("pageerror", (error) => problems.push(`page error: ${error.message}`));
  const ready = () => page.waitForFunction(() => document.documentElement.dataset.ready === "1", { timeout: 10000 });
  await page.goto(url, { waitUntil: "load" });
  await ready();
  const manifest = await page.evaluate(async () => {
    const link = document.querySelector("link[rel=manifest]");
    return link ? (await fetch(link.href)).json() : null;
  });
  check(manifest?.name === "Procesor", `the manifest is ${JSON.stringify(manifest)}`);
  const icon = manifest?.icons?.[0]?.src;
  check(icon === "procesor.svg" &&
        readFileSync(join(folder, icon), "utf-8") === readFileSync(new URL("../../assets/procesor.svg", import.meta.url), "utf-8"),
        `the manifest's icon is ${icon}, not the program's`);
  const controlled = await page.evaluate(async () => {
    await navigator.serviceWorker.ready;
    if (!navigator.serviceWorker.controller)
      await new Promise((done) => navigator.serviceWorker.addEventListener("controllerchange", done));
    return navigator.serviceWorker.controller?.scriptURL ?? null;
  });
  check(controlled?.endsWith("/service-worker.js"), `no service worker looks after the page: ${controlled}`);

  // The server gone and the network off: a reload still starts the simulator.
  await new Promise((done) => server.close(done));
  server.closeAllConnections?.();
  await page.setOfflineMode(true);
  await page.reload({ waitUntil: "load" });
  await ready().catch(() => {});
  const after = await page.evaluate(() => [document.documentElement.dataset.ready, location.hash]);
  check(after[0] === "1", `offline, the reloaded page did not start: ${after}`);
  for (const p of problems) check(false, p);
} finally {
  await browser.close();
  server.close();
  rmSync(profile, { recursive: true, force: true });
}
