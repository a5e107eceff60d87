// Shared by the browser tests: the site served on a free port and Debian's chromium driven
// headless by puppeteer-core (no browser download), with a fresh profile every time.
import { mkdtempSync, rmSync } from "node:fs";
import { tmpdir } from "node:os";
import { join } from "node:path";
import { fileURLToPath } from "node:url";
import puppeteer from "puppeteer-core";
import { serveSite } from "../serve.mjs";

export const root = fileURLToPath(new URL("../..", import.meta.url));
export const site = process.env.TARVELO_WEB_DIR ?? join(root, "build/web");
export const cli = process.env.TARVELO_CLI ?? join(root, "build/release/src/tarvelo-cli");
const chromium = process.env.CHROMIUM ?? "/usr/bin/chromium";

export async function openBrowser() {
  const server = await serveSite(site);
  const profile = mkdtempSync(join(tmpdir(), "tarvelo-chromium-"));
  const browser = await puppeteer.launch({
    executablePath: chromium,
    headless: true,
    args: [
      "--no-sandbox",
      "--disable-gpu",
      "--no-first-run",
      "--disable-background-networking",
      "--disable-component-update",
      "--disable-sync",
      `--user-data-dir=${profile}`,
    ],
  });
  const url = `http://127.0.0.1:${server.address().port}/`;
  return {
    browser,
    url,
    async close() {
      await browser.close();
      server.close();
      rmSync(profile, { recursive: true, force: true });
    },
  };
}

// A page of the site at the given size, ready when the core has loaded and the form is filled.
export async function openPage(session, { width = 1280, height = 800 } = {}) {
  const page = await session.browser.newPage();
  await page.setViewport({ width, height });
  const errors = [];
  page.on("pageerror", (e) => errors.push(e.message));
  page.on("console", (m) => {
    if (m.type() === "error") errors.push(m.text());
  });
  await page.goto(session.url);
  await page.waitForFunction(() => document.body.dataset.ready !== undefined);
  page.errors = errors;
  return page;
}
