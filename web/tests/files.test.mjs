// What the page hands to the user as files: "Salvar" writes the column file that the command line
// (and so the desktop) reads back to the same column and the same results, and the chart window's
// three files hold the curve of the verification.
import assert from "node:assert/strict";
import { existsSync, mkdtempSync, readFileSync, writeFileSync } from "node:fs";
import { tmpdir } from "node:os";
import { join } from "node:path";
import { after, before, test } from "node:test";
import { calculate, nativeJson, openBrowser, openExample, openPage, root } from "./browser.mjs";

let session;
before(async () => {
  session = await openBrowser();
});
after(async () => {
  await session?.close();
});

async function downloads(page) {
  const dir = mkdtempSync(join(tmpdir(), "tarvelo-web-downloads-"));
  const client = await page.createCDPSession();
  await client.send("Browser.setDownloadBehavior", { behavior: "allow", downloadPath: dir });
  return async (button, name) => {
    await page.click(button);
    const path = join(dir, name);
    for (let i = 0; i < 800 && !existsSync(path); i++) await new Promise((r) => setTimeout(r, 25));
    await new Promise((r) => setTimeout(r, 50));
    return readFileSync(path);
  };
}

test("a saved column opens unchanged and gives the same results; the chart's files hold the curve", async () => {
  const page = await openPage(session);
  const save = await downloads(page);
  const file = "poligonal-L.json";
  await openExample(page, file);
  const saved = (await save("#saveButton", file)).toString("utf8");

  // Opened again, the saved file is saved with the very same bytes.
  const dir = mkdtempSync(join(tmpdir(), "tarvelo-web-saved-"));
  writeFileSync(join(dir, "salvo.json"), saved);
  await (await page.$("#openInput")).uploadFile(join(dir, "salvo.json"));
  await page.waitForFunction(() => document.getElementById("fileName").textContent === "salvo.json");
  assert.equal((await save("#saveButton", "salvo.json")).toString("utf8"), saved);

  // The command line reads it to the original column's results.
  for (const command of ["verify", "design"]) {
    const { file: _a, ...original } = nativeJson(command, join(root, "examples", file));
    const { file: _b, ...again } = nativeJson(command, join(dir, "salvo.json"));
    assert.deepEqual(again, original, command);
  }

  await calculate(page, () => page.click("#verifyButton"));
  const verify = nativeJson("verify", join(root, "examples", file));
  const csv = (await save("#savePointsButton", "curva-carga-flecha.csv")).toString("utf8").trimEnd().split("\n");
  assert.equal(csv[0], "Flecha no centro (mm),Força normal (kN)");
  // The browser's sine and powers may differ from glibc's in the last bit (see tests/wasm/).
  const points = csv.slice(1).map((l) => l.split(",").map(Number));
  const expected = verify.curve.slice(0, verify.reachedStep);
  assert.equal(points.length, expected.length);
  points.flat().forEach((v, i) => {
    const n = expected.flat()[i];
    assert.ok(Math.abs(v - n) <= 1e-9 * Math.max(Math.abs(v), Math.abs(n)), `point ${i}: ${v} against ${n}`);
  });
  const svg = (await save("#saveSvgButton", "curva-carga-flecha.svg")).toString("utf8");
  assert.match(svg, /^<svg [^>]*xmlns="http:\/\/www.w3.org\/2000\/svg"/);
  assert.ok(svg.includes("Curva Carga-flecha"));
  const png = await save("#savePngButton", "curva-carga-flecha.png");
  assert.equal(png.subarray(1, 4).toString("latin1"), "PNG");
  assert.ok(png.length > 10_000, "a picture, not an empty canvas");
  assert.deepEqual(page.errors, []);
});
