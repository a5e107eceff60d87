// Every example through the page: VERIFICAR and DIMENSIONAR in the browser's worker give the S
// and the steel areas of the native command line, and the printed report holds its heading,
// materials and results, line for line the command line's report.
import assert from "node:assert/strict";
import { execFileSync } from "node:child_process";
import { mkdtempSync, readdirSync, readFileSync } from "node:fs";
import { tmpdir } from "node:os";
import { after, before, test } from "node:test";
import { join } from "node:path";
import { calculate, native, nativeJson, openBrowser, openExample, openPage, root, text } from "./browser.mjs";

const examples = readdirSync(join(root, "examples")).filter((f) => f.endsWith(".json")).sort();
let session;
before(async () => {
  session = await openBrowser();
});
after(async () => {
  await session?.close();
});

test("each example verifies and designs to the native S and steel areas", async () => {
  const page = await openPage(session);
  for (const file of examples) {
    const path = join(root, "examples", file);
    await openExample(page, file);
    const verifyBoxes = await calculate(page, () => page.click("#verifyButton"));
    const verify = nativeJson("verify", path);
    assert.equal(await text(page, "safetyField"), verify.S, `${file}: S`);
    assert.deepEqual(verifyBoxes.map((b) => b.text), verify.messages, `${file}: verify messages`);
    // The chart holds the curve's points.
    assert.equal(await page.$$eval("#chart svg path", (p) => p.length), 1, `${file}: chart`);

    const designBoxes = await calculate(page, () => page.click("#designButton"));
    const design = nativeJson("design", path);
    assert.equal(await text(page, "requiredField"), design.requiredSteelArea, `${file}: calculated steel`);
    assert.equal(await text(page, "minimumField"), design.minimumSteelArea, `${file}: minimum steel`);
    assert.deepEqual(designBoxes.map((b) => b.text), design.messages, `${file}: design messages`);
  }
  assert.deepEqual(page.errors, []);
  await page.close();
});

test("the report prints to PDF with the native report's lines", async () => {
  const file = "retangular-esbelto-biaxial.json";
  const page = await openPage(session);
  await openExample(page, file);
  await calculate(page, () => page.click("#verifyButton"));
  await page.click("#reportButton");
  await page.waitForSelector("#report:not([hidden]) .sheet");

  // The sheets on the screen: the command line's text report, page by page.
  const sheets = await page.$$eval("#reportPages .sheet", (all) =>
    all
      .filter((s) => s.querySelector(".report-chart") === null)
      .map((s) => [...s.querySelectorAll(".line")].map((l) => l.textContent)),
  );
  const dir = mkdtempSync(join(tmpdir(), "tarvelo-web-report-"));
  native(["report", join(root, "examples", file), "--txt", join(dir, "r.txt")]);
  const nativePages = readFileSync(join(dir, "r.txt"), "utf8")
    .split("\f")
    .map((p) => p.split("\n").slice(2, -1));
  assert.deepEqual(sheets, nativePages);
  assert.equal(await page.$$eval("#reportPages .report-chart svg", (c) => c.length), 1, "chart page");

  const pdf = join(dir, "relatorio.pdf");
  await page.pdf({ path: pdf, format: "A4", printBackground: true });
  const printed = execFileSync("pdftotext", ["-layout", pdf, "-"], { encoding: "utf8" });
  for (const line of [
    "RELATÓRIO DE CÁLCULO - TARVELO",
    "Propriedades dos materiais:",
    "Concreto: fck=",
    "Coeficiente de segurança",
    "Curva Carga-flecha",
  ]) {
    assert.ok(printed.includes(line), `PDF holds "${line}"`);
  }
  const pages = printed.split("\f").filter((p) => p.trim() !== "").length;
  assert.equal(pages, sheets.length + 1, "one PDF page per sheet, chart included");
  await page.close();
});
