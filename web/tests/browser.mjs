// Shared by the browser tests: the site served on a free port and Debian's chromium driven
// headless by puppeteer-core (no browser download), with a fresh profile every time.
import { mkdtempSync, readFileSync, rmSync, writeFileSync } from "node:fs";
import { tmpdir } from "node:os";
import { spawnSync } from "node:child_process";
import { basename, dirname, join } from "node:path";
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

// The native command line's JSON for a column file (run from the file's folder, so that file
// names in messages read the same as the page's).
export function native(args, cwd = root) {
  const { stdout } = spawnSync(cli, args, { encoding: "utf8", cwd });
  return stdout;
}
export function nativeJson(command, file) {
  return JSON.parse(native([command, "--json", basename(file)], dirname(file)));
}

export async function openExample(page, file) {
  await page.select("#exampleSelect", file);
  await page.waitForFunction((f) => document.getElementById("fileName").textContent === f, {}, file);
}

// Presses a calculation button (or the key that does) and answers the boxes the run shows:
// questions in the order of `answers` ("Sim" for true), warnings with OK. Returns the boxes.
export async function calculate(page, press, answers = []) {
  const before = Number(await page.evaluate(() => document.body.dataset.runs ?? "0"));
  await press();
  const boxes = [];
  for (;;) {
    const handle = await page.waitForFunction(
      (n) => {
        if (Number(document.body.dataset.runs ?? "0") > n) return "done";
        return document.querySelector("#messageBox[open]") !== null ? "box" : false;
      },
      { timeout: 300_000, polling: 50 },
      before,
    );
    if ((await handle.jsonValue()) === "done") return boxes;
    const box = await page.evaluate(() => ({
      title: document.getElementById("messageTitle").textContent,
      text: document.getElementById("messageText").textContent,
      question: document.getElementById("messageBox").dataset.kind === "question",
      focused: document.activeElement?.id,
    }));
    boxes.push(box);
    if (box.question) await page.click(answers.shift() ? "#yesButton" : "#noButton");
    else await page.click("#okButton");
    await page.waitForFunction(() => document.querySelector("#messageBox[open]") === null);
  }
}

export const text = (page, id) => page.$eval(`#${id}`, (e) => ("value" in e && e.tagName === "INPUT" ? e.value : e.textContent));

// The column the page holds, as the browser keeps it, written where the command line can run it.
export async function pageColumnFile(page, dir, name) {
  const stored = await page.evaluate(() => localStorage.getItem("tarvelo.coluna"));
  const path = join(dir, name);
  writeFileSync(path, JSON.stringify(JSON.parse(stored).column));
  return path;
}

// Moves the focus with Tab (Shift+Tab when `back`) until it reaches the element `id`.
export async function tabTo(page, id, back = false) {
  for (let i = 0; i < 120; i++) {
    if ((await page.evaluate(() => document.activeElement?.id ?? "")) === id) return;
    if (back) await page.keyboard.down("Shift");
    await page.keyboard.press("Tab");
    if (back) await page.keyboard.up("Shift");
  }
  throw new Error(`${id} is not reachable with the keyboard`);
}

// Replaces a field's text by typing, as a user does: select all, then the keys.
export async function retype(page, id, keys) {
  await tabTo(page, id);
  await page.keyboard.down("Control");
  await page.keyboard.press("KeyA");
  await page.keyboard.up("Control");
  await page.keyboard.press("Backspace");
  if (keys !== "") await page.keyboard.type(keys);
}

// A column slow enough to watch and cancel: the solid-circle example as a polygon of 299
// vertices with 40 bars. Returns the file's path.
export function slowColumn(dir) {
  const column = JSON.parse(readFileSync(join(root, "examples", "circular-macico.json"), "utf8"));
  const ring = (n, r) =>
    Array.from({ length: n }, (_, i) => [
      String(+(r * Math.cos((2 * Math.PI * i) / n)).toFixed(3)),
      String(+(r * Math.sin((2 * Math.PI * i) / n)).toFixed(3)),
    ]);
  column.title = "Seção circular de 299 vértices";
  column.main = { ...column.main, sectionType: "Polygonal", vertexCount: "299", barCount: "40" };
  column.section = { vertices: ring(299, 20), bars: ring(40, 16) };
  const path = join(dir, "circulo-299.json");
  writeFileSync(path, JSON.stringify(column));
  return path;
}
