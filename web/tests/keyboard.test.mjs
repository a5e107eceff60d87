// A column typed from scratch with the keyboard alone (comma as decimal separator, bars pasted
// from a spreadsheet), verified with Enter, gives the command line's S for the same column; a
// reload gives back everything typed.
import assert from "node:assert/strict";
import { mkdtempSync } from "node:fs";
import { tmpdir } from "node:os";
import { join } from "node:path";
import { after, before, test } from "node:test";
import { calculate, nativeJson, openBrowser, openPage, pageColumnFile, retype, tabTo, text } from "./browser.mjs";

let session;
before(async () => {
  session = await openBrowser();
});
after(async () => {
  await session?.close();
});

test("a column typed with the keyboard alone verifies to the native S and survives a reload", async () => {
  const page = await openPage(session);
  // Every control says what it is.
  const unlabelled = await page.$$eval("input, select, output, button", (all) =>
    all.filter((e) => e.type !== "file" && (e.labels?.length ?? 0) === 0 && !e.getAttribute("aria-label") && e.textContent.trim() === "").map((e) => e.id || e.outerHTML),
  );
  assert.deepEqual(unlabelled, []);
  // In the page's order, so that Tab alone moves from one to the next.
  const typed = [
    ["titleField", "Pilar P7, térreo", "Pilar P7, térreo"],
    ["fckField", "25", "25"],
    ["gamacField", "1,4", "1.4"],
    ["heightField", "380", "380"],
    ["fdField", "900", "900"],
    ["mxdTopField", "-1500,5", "-1500.5"],
    ["mydBaseField", "700", "700"],
    ["barCountField", "4", "4"],
    ["rectHxField", "25", "25"],
    ["rectHyField", "45", "45"],
  ];
  for (const [id, keys, shown] of typed) {
    await retype(page, id, keys);
    assert.equal(await text(page, id), shown, id);
  }
  // The bar table follows the dimensions; its cells take the decimal comma too.
  const bars = [["4", "4"], ["21", "4"], ["4", "41"], ["21", "41.5"]];
  for (const cell of bars.flat()) {
    await page.keyboard.press("Tab");
    await page.keyboard.type(cell.replace(".", ","));
  }
  await retype(page, "steelAreaField", "8a,0");
  assert.equal(await text(page, "steelAreaField"), "8.0");
  await tabTo(page, "verifyButton");
  const boxes = await calculate(page, () => page.keyboard.press("Enter"));
  const native = nativeJson("verify", await pageColumnFile(page, mkdtempSync(join(tmpdir(), "tarvelo-web-kb-")), "digitado.json"));
  assert.equal(native.status, "completed", JSON.stringify(native.messages));
  assert.equal(await text(page, "safetyField"), native.S);
  assert.deepEqual(boxes.map((b) => b.text), native.messages);

  await page.reload();
  await page.waitForFunction(() => document.body.dataset.ready === "true");
  for (const [id, , shown] of typed) assert.equal(await text(page, id), shown, `${id} after reload`);
  const cells = await page.$$eval("#barTable input", (all) => all.map((i) => i.value));
  assert.deepEqual(cells, bars.flat());

  // Without a network the page still opens, from the copies kept by its service worker.
  await page.waitForFunction(() => navigator.serviceWorker.controller !== null);
  await page.setOfflineMode(true);
  await page.reload();
  await page.waitForFunction(() => document.body.dataset.ready !== undefined);
  assert.equal(await page.evaluate(() => document.body.dataset.ready), "true");
  assert.equal(await text(page, "titleField"), "Pilar P7, térreo");
  await page.setOfflineMode(false);
  assert.deepEqual(page.errors, []);
});

test("rows pasted from a spreadsheet fill the vertex table and its count", async () => {
  const page = await openPage(session);
  // A column of its own, whatever an earlier test left stored: four bars inside the rectangle.
  await page.evaluate(() => localStorage.clear());
  await page.reload();
  await page.waitForFunction(() => document.body.dataset.ready === "true");
  await page.click('input[name="sectionType"][value="Polygonal"]');
  await retype(page, "barCountField", "4");
  const bars = ["5", "5", "55", "5", "55", "15", "5", "15"];
  for (const [k, value] of bars.entries()) {
    await page.focus(`#barTable input[data-row="${k >> 1}"][data-column="${k & 1}"]`);
    await page.keyboard.type(value);
  }
  await retype(page, "vertexCountField", "1");
  await page.focus('#vertexTable input[data-row="0"][data-column="0"]');
  await page.evaluate(() => {
    const data = new DataTransfer();
    data.setData("text/plain", "x\ty\r\n0\t0\r\n60,5\t0\r\n60,5\t20\r\n0\t20\r\n");
    document.activeElement.dispatchEvent(new ClipboardEvent("paste", { clipboardData: data, bubbles: true, cancelable: true }));
  });
  assert.equal(await text(page, "vertexCountField"), "4");
  const cells = await page.$$eval("#vertexTable input", (all) => all.map((i) => i.value));
  assert.deepEqual(cells, ["0", "0", "60.5", "0", "60.5", "20", "0", "20"]);
  // The drawing follows: the core's outline of four vertices, numbered.
  await page.waitForFunction(() => document.querySelectorAll("#sectionDrawing text").length >= 4);
});
