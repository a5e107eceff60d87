// The browser page's calls agree with the module's own (which tests/wasm/core.test.mjs holds to
// the native command line): the same JSON text for every run, the questions answered as the page
// answers them, the same column-file bytes, and a section for every column that can be drawn.
//   node --test tests/wasm/   (after scripts/build wasm)
import { test } from "node:test";
import assert from "node:assert/strict";
import { readFileSync, readdirSync } from "node:fs";
import { join } from "node:path";
import { fileURLToPath } from "node:url";

const root = fileURLToPath(new URL("../..", import.meta.url));
const wasmDir = process.env.TARVELO_WASM_DIR ?? join(root, "build/wasm");
const { default: createTarveloCore } = await import(join(wasmDir, "tarvelo-core.js"));
const core = await createTarveloCore({ wasmBinary: readFileSync(join(wasmDir, "tarvelo-core.wasm")) });

const columns = ["examples", "tests/data/reference"].flatMap((dir) =>
  readdirSync(join(root, dir))
    .filter((f) => f.endsWith(".json") && !f.endsWith(".expected.json"))
    .map((f) => join(root, dir, f)),
);
const pageRun = (kind, text, answers = []) => {
  const outcome = JSON.parse(core.pageRun(kind, text, JSON.stringify(answers), undefined));
  return { ...outcome, result: JSON.parse(outcome.json) };
};

test("a page run carries the module's JSON text, its boxes and its result fields", () => {
  for (const file of columns) {
    const text = readFileSync(file, "utf8");
    for (const kind of ["verify", "design"]) {
      const name = `${file.split("/").pop()} ${kind}`;
      const outcome = pageRun(kind, text);
      assert.equal(outcome.json, core[kind](text, ""), name);
      assert.deepEqual(outcome.boxes.map((b) => b.text), outcome.result.messages, name);
      if (kind === "verify") assert.equal(outcome.fields.S, outcome.result.S, name);
      else assert.equal(outcome.fields.required ?? "", outcome.result.requiredSteelArea, name);
    }
  }
});

test("a question beyond the page's answers ends the run; an answer No goes on", () => {
  const text = readFileSync(columns[0], "utf8").replace(/"creepCoefficient": "[^"]*"/, '"creepCoefficient": "9"');
  const asked = pageRun("verify", text);
  assert.deepEqual(asked.boxes.map((b) => [b.question, b.answer]), [[true, true]]);
  assert.equal(asked.result.status, "ended");
  assert.equal(asked.focus, "creepField");
  const goOn = pageRun("verify", text, [false]);
  assert.equal(goOn.json, core.verify(text, ""), "No is the module's default answer");
  assert.equal(goOn.result.status, "completed");
});

test("column files: the module's bytes, and texts longer than their fields refused", () => {
  for (const file of columns) {
    const text = readFileSync(file, "utf8");
    const page = JSON.parse(core.pageReadColumnFile(text, "x.json"));
    assert.equal(page.text, core.formatColumnFile(core.readColumnFile(text, "x.json").fields), file);
  }
  const long = readFileSync(columns[0], "utf8").replace(/"fck": "[^"]*"/, '"fck": "300"');
  assert.deepEqual(JSON.parse(core.pageReadColumnFile(long, "x.json")), {
    error: 'O valor "300" do campo "fck (MPa)=" tem mais de 2 caracteres.',
  });
});

test("every column that runs can be drawn: a closed outline and all its bars", () => {
  let drawn = 0;
  for (const file of columns) {
    const text = readFileSync(file, "utf8");
    const section = JSON.parse(core.pageSection(text));
    if (pageRun("verify", text).result.status !== "completed") continue;
    assert.deepEqual(section.messages, [], file);
    const { outline, bars } = section;
    assert.ok(outline.length >= 4, file);
    assert.deepEqual(outline.at(-1), outline[0], file);
    assert.equal(bars.length, Number(JSON.parse(text).main.barCount), file);
    drawn += 1;
  }
  assert.ok(drawn >= 10);
});
