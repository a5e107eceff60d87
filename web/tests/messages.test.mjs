// The core's messages on the page: a file it cannot read, a column that breaks an input rule and
// a question of the rules, each with the command line's text, the desktop's choices and focus.
import assert from "node:assert/strict";
import { mkdtempSync, writeFileSync } from "node:fs";
import { tmpdir } from "node:os";
import { join } from "node:path";
import { after, before, test } from "node:test";
import { calculate, nativeJson, openBrowser, openExample, openPage, pageColumnFile, retype, root, slowColumn, text } from "./browser.mjs";

let session;
let page;
const dir = mkdtempSync(join(tmpdir(), "tarvelo-web-messages-"));
before(async () => {
  session = await openBrowser();
  page = await openPage(session);
  await openExample(page, "retangular-esbelto-biaxial.json");
});
after(async () => {
  await session?.close();
});

test("a file the core refuses shows its message and leaves the column alone", async () => {
  const files = [
    ["sintaxe.json", '{"format": "tarvelo-column",\n "version": 1,,}'],
    ["tipo.json", '{"format": "tarvelo-column", "version": 1, "main": {"fck": [30]}}'],
    ["longo.json", '{"format": "tarvelo-column", "version": 1, "main": {"fck": "300"}}'],
    ["outro.json", '{"format": "planilha", "version": 1}'],
  ];
  for (const [name, content] of files) {
    writeFileSync(join(dir, name), content);
    const input = await page.$("#openInput");
    await input.uploadFile(join(dir, name));
    await page.waitForSelector("#messageBox[open]");
    const shown = await text(page, "messageText");
    const native = nativeJson("verify", join(dir, name));
    const reason = native.status === "error" ? native.error : 'tem mais de 2 caracteres';
    assert.ok(shown.startsWith(`Não foi possível ler o arquivo "${name}".`), shown);
    assert.ok(shown.includes(reason), `${name}: "${shown}" holds "${reason}"`);
    await page.keyboard.press("Enter");
    await page.waitForFunction(() => document.querySelector("#messageBox[open]") === null);
    assert.equal(await text(page, "fckField"), "30", `${name}: column unchanged`);
    assert.equal(await text(page, "fileName"), "retangular-esbelto-biaxial.json");
  }
});

test("input rules end the run with the core's message and focus the field the desktop would", async () => {
  // A rectangle with three bars: a warning that ends the run, the focus on the bar count.
  await retype(page, "barCountField", "3");
  const boxes = await calculate(page, () => page.click("#verifyButton"));
  const native = nativeJson("verify", await pageColumnFile(page, dir, "tres-barras.json"));
  assert.equal(native.status, "ended");
  assert.deepEqual(boxes.map((b) => [b.text, b.question, b.focused]), native.messages.map((m) => [m, false, "okButton"]));
  assert.equal(await page.evaluate(() => document.activeElement.id), "barCountField");
  await retype(page, "barCountField", "8");

  // fyk of no standard steel: a question. "Não" goes on to the command line's S ...
  await retype(page, "fykField", "400");
  const goOn = await calculate(page, () => page.click("#verifyButton"), [false]);
  const asked = nativeJson("verify", await pageColumnFile(page, dir, "fyk-400.json"));
  assert.deepEqual(goOn.map((b) => [b.text, b.question, b.focused]), asked.messages.map((m) => [m, true, "yesButton"]));
  assert.equal(await text(page, "safetyField"), asked.S);
  assert.notEqual(asked.S.trim(), "");
  // ... and "Sim" ends the run and puts the focus on fyk to change it.
  const stop = await calculate(page, () => page.click("#verifyButton"), [true]);
  assert.equal(stop.length, 1);
  assert.equal((await text(page, "safetyField")).trim(), "");
  assert.equal(await page.evaluate(() => document.activeElement.id), "fykField");
  assert.deepEqual(page.errors, []);
});

test("Cancelar ends a run at once and the next run works", async () => {
  await (await page.$("#openInput")).uploadFile(slowColumn(dir));
  await page.waitForFunction(() => document.getElementById("fileName").textContent === "circulo-299.json");
  await page.click("#designButton");
  await page.waitForFunction(() => !document.getElementById("progressBox").hidden, { polling: 10 });
  assert.equal(await page.evaluate(() => document.activeElement.id), "cancelButton");
  await page.keyboard.press("Enter");
  await page.waitForFunction(() => document.getElementById("progressBox").hidden);
  assert.equal((await text(page, "requiredField")).trim(), "");
  await openExample(page, "circular-macico.json");
  await calculate(page, () => page.click("#verifyButton"));
  assert.equal(await text(page, "safetyField"), nativeJson("verify", join(root, "examples", "circular-macico.json")).S);
});
