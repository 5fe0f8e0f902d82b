// The browser harness itself, in each engine: a console message, an uncaught
// error and a request to the network in the page each reach the test as a failure
// (WebKit's console and network are watched by webdriver.mjs's own means).
//   node harness.mjs procesor.html
import { check, engine, withPage } from "./support.mjs";

const [htmlPath] = process.argv.slice(2);
const seen = [];
await withPage(htmlPath, async (s) => {
  await s.evaluate(() => {
    console.info("planted note");
    setTimeout(() => { throw new Error("planted error"); }, 0);
    new Image().src = "http://example.invalid/planted.png";
  });
  await new Promise((done) => setTimeout(done, 1000));
}, { report: (problem) => seen.push(problem) });
const has = (pattern) => seen.some((problem) => pattern.test(problem));
check(has(/console info: planted note/), `${engine}: the console message is not seen (${seen.join("; ")})`);
check(has(/page error: .*(planted error|Script error)/), `${engine}: the uncaught error is not seen`);
check(has(/network for https?:\/\/example\.invalid\/planted\.png/), `${engine}: the request is not seen`);
