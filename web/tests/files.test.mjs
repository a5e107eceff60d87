// What the page hands to the user as files: "Salvar" writes the column file that the command line
// (and so the desktop) reads back to the same column and the same results, and the chart window's
// three files hold the curve of the verification.
import assert from "node:assert/strict";
import { existsSync, mkdtempSync, readFileSync, writeFileSync } from "node:fs";
import { tmpdir } from "node:os";
import { join } from "node:path";
import { after, before, test } from "node:test";
import { calculate, native, nativeJson, openBrowser, openExample, openPage, root } from "./browser.mjs";

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

test("a column of several load cases: the command line's governing case and S, its envelope, and its file kept", async () => {
  const page = await openPage(session);
  const save = await downloads(page);
  const file = "combinacoes-retangular.json";
  const path = join(root, "examples", file);
  await openExample(page, file);
  const dir = mkdtempSync(join(tmpdir(), "tarvelo-web-cases-"));
  writeFileSync(join(dir, file), await save("#saveButton", file));
  const { file: _a, ...verify } = nativeJson("verify", path);
  const { file: _b, ...again } = nativeJson("verify", join(dir, file));
  assert.deepEqual(again, verify, "the saved file keeps every case");

  await calculate(page, () => page.click("#verifyButton"));
  const k = verify.cases.findIndex((c) => c.name === verify.governing) + 1;
  assert.equal(await page.$eval("#safetyField", (e) => e.textContent), verify.S);
  assert.equal(await page.$eval("#governingLabel", (e) => e.textContent), `Combinação crítica: ${k} — ${verify.governing}`);
  const rows = await page.$$eval("#caseResults tbody tr", (all) => all.map((r) => [...r.cells].slice(0, 3).map((c) => c.textContent)));
  assert.deepEqual(rows, verify.cases.map((c) => [c.name, c.S, String(c.reachedStep)]));

  // The envelope of the governing case: the contour at its Fd, as the command line gives it.
  await page.waitForSelector("#envelopeChart svg");
  const Fd = JSON.parse(readFileSync(path, "utf8")).loads.cases[k - 1].Fd;
  const contour = JSON.parse(native(["envelope", "--json", "--axial", Fd, path])).contour.filter((r) => r.Mx !== null);
  const csv = (await save("#envelopePointsButton", "envoltoria-resistente.csv")).toString("utf8").trimEnd().split("\n");
  assert.equal(csv.length - 1, contour.length);
  csv.slice(1).forEach((line, i) => {
    const [angle, Mx, My] = line.split(",").map(Number);
    assert.equal(angle, contour[i].angle);
    for (const [v, n] of [[Mx, contour[i].Mx], [My, contour[i].My]]) assert.ok(Math.abs(v - n) <= 1e-9 * Math.max(1, Math.abs(n)), `ray ${angle}°: ${v} against ${n}`);
  });

  // The report lists every case and its result, line for line the command line's.
  await page.click("#reportButton");
  await page.waitForSelector("#report:not([hidden]) .sheet");
  const sheets = await page.$$eval("#reportPages .sheet", (all) =>
    all.filter((s) => s.querySelector(".report-chart") === null).map((s) => [...s.querySelectorAll(".line")].map((l) => l.textContent)),
  );
  native(["report", path, "--txt", join(dir, "r.txt")]);
  assert.deepEqual(sheets, readFileSync(join(dir, "r.txt"), "utf8").split("\f").map((p) => p.split("\n").slice(2, -1)));
  await page.click("#closeReportButton");

  // A case added, then a reload: the browser's storage keeps every case.
  await page.click("#duplicateCaseButton");
  await page.reload();
  await page.waitForFunction(() => document.body.dataset.ready !== undefined);
  assert.equal(await page.$$eval("#caseTable tbody tr", (r) => r.length), verify.cases.length + 1);
  assert.deepEqual(page.errors, []);
});

test("several load cases: each case's curve, the N–M view along the critical moment, and the envelope in the report", async () => {
  const page = await openPage(session);
  const save = await downloads(page);
  const path = join(root, "examples", "combinacoes-retangular.json");
  await openExample(page, "combinacoes-retangular.json");
  await calculate(page, () => page.click("#verifyButton"));
  const verify = nativeJson("verify", path);
  // The chart's selector: each case's curve has the rows its own analysis reached.
  await page.select("#chartCaseSelect", "3");
  assert.equal((await save("#savePointsButton", "curva-carga-flecha.csv")).toString("utf8").trimEnd().split("\n").length - 1, verify.cases[3].reachedStep);

  // N–M of the governing case: from Nt to N0 along its critical moment, with its (Nd, Md).
  await page.waitForSelector("#envelopeChart svg");
  await page.click("#envelopeCurveTab");
  await page.waitForSelector("#envelopeChart svg .design-point");
  const env = JSON.parse(native(["envelope", "--json", path]));
  const k = verify.cases.findIndex((c) => c.name === verify.governing);
  const [Mx, My] = env.cases[k].criticalMoment;
  const [head, ...rows] = (await save("#envelopePointsButton", "curva-n-m.csv")).toString("utf8").trimEnd().split("\n");
  const near = (a, b) => Math.abs(a - b) <= 1e-9 * Math.max(1, Math.abs(b));
  assert.ok(near(Number(head.match(/direção (\S+) graus/)[1]), (Math.atan2(My, Mx) * 180) / Math.PI), head);
  assert.ok(near(Number(rows[0].split(",")[0]), env.tension) && near(Number(rows.at(-1).split(",")[0]), env.squash));

  // The report with the envelope: the command line's table of every case closes it.
  await page.click("#reportButton");
  await page.click("#reportEnvelopeCheck");
  await page.waitForSelector(".report-envelope svg");
  const lines = await page.$$eval("#reportPages .sheet:last-child .line", (all) => all.map((l) => l.textContent));
  const dir = mkdtempSync(join(tmpdir(), "tarvelo-web-envelope-"));
  native(["report", path, "--txt", join(dir, "r.txt"), "--envelope"]);
  assert.equal(lines[0], "Envoltória resistente:");
  assert.ok(readFileSync(join(dir, "r.txt"), "utf8").trimEnd().endsWith(lines.join("\n").trimEnd()));
  assert.ok(verify.cases.every((c) => lines.some((l) => l.includes(c.name))));
  assert.deepEqual(page.errors, []);
});
