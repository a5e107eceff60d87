// Pictures of the page for the documentation: docs/screens/web-*.png.
//   node web/tests/screens.mjs   (after scripts/web --build-only)
import { mkdtempSync, writeFileSync } from "node:fs";
import { tmpdir } from "node:os";
import { join } from "node:path";
import { calculate, openBrowser, openExample, openPage, retype, root, slowColumn } from "./browser.mjs";

const out = (name) => join(root, "docs", "screens", `web-${name}.png`);
const session = await openBrowser();
try {
  const page = await openPage(session, { width: 1280, height: 800 });
  await openExample(page, "retangular-esbelto-biaxial.json");
  await calculate(page, () => page.click("#verifyButton"));
  await page.hover("#chart svg");
  await page.mouse.move(...(await page.$eval("#chart svg", (s) => {
    const b = s.getBoundingClientRect();
    return [b.left + b.width * 0.6, b.top + b.height * 0.4];
  })));
  await page.screenshot({ path: out("main") });

  // The progress bar while a design of a slow column runs.
  const slow = slowColumn(mkdtempSync(join(tmpdir(), "tarvelo-web-screens-")));
  await (await page.$("#openInput")).uploadFile(slow);
  await page.waitForFunction(() => document.getElementById("fileName").textContent === "circulo-299.json");
  await page.click("#designButton");
  const panel = await page.$eval(".columns > .panel:last-child", (e) => {
    const b = e.getBoundingClientRect();
    return { x: b.left, y: b.top, width: b.width, height: 360 };
  });
  // A picture with the bar well under way: taken again if a new trial had just begun.
  for (let i = 0; i < 20; i++) {
    await page.waitForFunction(() => Number(document.getElementById("progressBar").value) > 20, { polling: 10, timeout: 120_000 });
    const picture = await page.screenshot({ clip: panel });
    if (Number(await page.$eval("#progressBar", (b) => b.value)) > 20) {
      writeFileSync(out("progress"), picture);
      break;
    }
  }
  await page.waitForFunction(() => document.getElementById("progressBox").hidden, { timeout: 300_000 });

  await openExample(page, "poligonal-L.json");
  const section = await page.$(".columns > .panel:nth-child(2)");
  await section.screenshot({ path: out("section-polygonal") });

  await retype(page, "fykField", "400");
  await page.click("#verifyButton");
  await page.waitForSelector("#messageBox[open]");
  await page.screenshot({ path: out("question") });
  await page.click("#yesButton");

  await openExample(page, "circular-vazado.json");
  await calculate(page, () => page.click("#verifyButton"));
  await page.click("#reportButton");
  await page.waitForSelector("#report:not([hidden]) .sheet");
  await page.screenshot({ path: out("report") });
  await page.close();

  const tablet = await openPage(session, { width: 820, height: 1180 });
  await openExample(tablet, "circular-macico.json");
  await calculate(tablet, () => tablet.click("#verifyButton"));
  await tablet.evaluate(() => window.scrollTo(0, 0));
  await tablet.screenshot({ path: out("tablet") });
  await tablet.close();

  // A column of several load cases after VERIFICAR: the cases, the governing one, the results
  // per case; then the envelope chart's two views with the value under the pointer.
  const cases = await openPage(session, { width: 1280, height: 800 });
  await openExample(cases, "combinacoes-retangular.json");
  await calculate(cases, () => cases.click("#verifyButton"));
  await cases.waitForSelector("#envelopeChart svg");
  await cases.screenshot({ path: out("cases"), fullPage: true });
  const envelope = await cases.$("#envelopeFigure");
  await envelope.scrollIntoView();
  await cases.mouse.move(...(await cases.$eval("#envelopeChart svg", (s) => {
    const b = s.getBoundingClientRect();
    return [b.left + b.width * 0.72, b.top + b.height * 0.2];
  })));
  await envelope.screenshot({ path: out("envelope") });
  // Its N–M view: the curve along the critical moment with the case's point.
  await cases.click("#envelopeCurveTab");
  await cases.mouse.move(...(await cases.$eval("#envelopeChart svg", (s) => {
    const b = s.getBoundingClientRect();
    return [b.left + b.width * 0.75, b.top + b.height * 0.35];
  })));
  await envelope.screenshot({ path: out("envelope-nm") });
  await cases.close();
} finally {
  await session.close();
}
