// Figures for docs/performance.md: the time until the page is interactive on first use (a fresh
// browser profile, nothing cached) and a verification of the slender-rectangle example through
// the worker (click to results) against the native command line (process start included).
//   node web/tests/measure.mjs   (after scripts/web --build-only and scripts/build release)
import { spawnSync } from "node:child_process";
import { join } from "node:path";
import { calculate, cli, openBrowser, openExample, openPage, root } from "./browser.mjs";

const median = (xs) => [...xs].sort((a, b) => a - b)[Math.floor(xs.length / 2)];
const fastest = (xs) => Math.min(...xs);
const summary = (xs) => `median ${median(xs).toFixed(1)}, fastest ${fastest(xs).toFixed(1)} (${xs.length} runs)`;
const file = "retangular-esbelto-biaxial.json";
const runs = Number(process.env.RUNS ?? 7);

const ready = [];
for (let i = 0; i < 3; i++) {
  const session = await openBrowser();
  const page = await openPage(session);
  ready.push(Number(await page.evaluate(() => document.body.dataset.readyMs)));
  await session.close();
}

const session = await openBrowser();
const page = await openPage(session);
await openExample(page, file);
const worker = [];
const inside = [];
for (let i = 0; i < runs; i++) {
  await calculate(page, () => page.click("#verifyButton"));
  worker.push(Number(await page.evaluate(() => document.body.dataset.runMs)));
  inside.push(Number(await page.evaluate(() => document.body.dataset.coreMs)));
}
await session.close();

// The native time of one verification without the process start: one process verifying the
// file once, against one verifying it 21 times.
const path = join(root, "examples", file);
const wall = (copies) => {
  const t = process.hrtime.bigint();
  spawnSync(cli, ["verify", ...Array(copies).fill(path)]);
  return Number(process.hrtime.bigint() - t) / 1e6;
};
const native = [];
for (let i = 0; i < runs; i++) native.push((wall(21) - wall(1)) / 20);

// The first runs compile the module's hot code; the figures are from the runs after them.
const warm = (xs) => xs.slice(2);
console.log(`interactive (ms, fresh profile): ${ready.join(", ")}; median ${median(ready)}`);
console.log(`verify ${file} through the worker, click to results (ms): ${summary(warm(worker))}`);
console.log(`  the core inside the worker (ms): ${summary(warm(inside))}`);
console.log(`verify ${file} native, per run in one process (ms): ${summary(native)}`);
console.log(`ratio worker / native: median ${(median(warm(worker)) / median(native)).toFixed(2)}, fastest ${(fastest(warm(worker)) / fastest(native)).toFixed(2)}`);
