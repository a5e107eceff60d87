// The browser core against the native command line: for every example and reference column the
// module's verify and design give the very JSON text of `tarvelo-cli verify|design --json`, a bad
// file gives the same error, questions and progress reach the page, and a column file read and
// written again keeps its bytes.
//   node --test tests/wasm/   (after scripts/build wasm and scripts/build release)
import { test } from "node:test";
import assert from "node:assert/strict";
import { execFileSync, spawnSync } from "node:child_process";
import { mkdtempSync, readFileSync, readdirSync, writeFileSync } from "node:fs";
import { tmpdir } from "node:os";
import { join } from "node:path";
import { fileURLToPath } from "node:url";

const root = fileURLToPath(new URL("../..", import.meta.url));
const wasmDir = process.env.TARVELO_WASM_DIR ?? join(root, "build/wasm");
const cli = process.env.TARVELO_CLI ?? join(root, "build/release/src/tarvelo-cli");

const { default: createTarveloCore } = await import(join(wasmDir, "tarvelo-core.js"));
const core = await createTarveloCore({
  wasmBinary: readFileSync(join(wasmDir, "tarvelo-core.wasm")),
});

function columnFiles(dir) {
  return readdirSync(dir)
    .filter((f) => f.endsWith(".json") && !f.endsWith(".expected.json"))
    .map((f) => join(dir, f));
}
const columns = [
  ...columnFiles(join(root, "examples")),
  ...columnFiles(join(root, "tests/data/reference")),
];

// The CLI's stdout whatever its exit status (1: ended by a message, 2: file error).
function native(args) {
  return spawnSync(cli, args, { encoding: "utf8" }).stdout;
}

test("verify and design give the native JSON text", async (t) => {
  assert.ok(columns.length >= 12);
  for (const file of columns) {
    const text = readFileSync(file, "utf8");
    for (const command of ["verify", "design"]) {
      const name = `${file.split("/").pop()} ${command}`;
      const wasm = core[command](text, file) + "\n";
      const cli = native([command, "--json", file]);
      await t.test(name, () => assert.equal(wasm, cli));
    }
  }
});

test("a bad file gives the native error", () => {
  const dir = mkdtempSync(join(tmpdir(), "tarvelo-wasm-"));
  const good = readFileSync(columns[0], "utf8");
  const bad = [
    ["syntax.json", good.slice(0, 200)],
    ["format.json", good.replace('"tarvelo-column"', '"outro"')],
    ["type.json", good.replace(/"title": "[^"]*"/, '"title": [1]')],
    ["empty.json", ""],
  ];
  for (const [name, text] of bad) {
    const file = join(dir, name);
    writeFileSync(file, text);
    const line = native(["verify", "--json", file]);
    assert.equal(JSON.parse(line).status, "error", name);
    assert.equal(core.verify(text, file) + "\n", line, name);
    assert.equal(core.readColumnFile(text, file).error, JSON.parse(line).error, name);
  }
});

test("questions are answered by the page and progress reaches it", () => {
  const dir = mkdtempSync(join(tmpdir(), "tarvelo-wasm-"));
  const file = join(dir, "creep.json");
  const text = readFileSync(columns[0], "utf8").replace(/"creepCoefficient": "[^"]*"/,
                                                        '"creepCoefficient": "9"');
  writeFileSync(file, text);
  const asked = [];
  core.setQuestionListener((title, message) => {
    asked.push(message);
    return true;
  });
  try {
    // Yes stops the run, as --stop-on-question does.
    assert.equal(core.verify(text, file) + "\n",
                 native(["verify", "--json", "--stop-on-question", file]));
    assert.equal(asked.length, 1);
  } finally {
    core.setQuestionListener(null);
  }
  const lines = [];
  core.setProgressListener((line) => lines.push(line));
  try {
    const result = JSON.parse(core.verify(readFileSync(columns[0], "utf8"), columns[0]));
    assert.equal(lines.at(-1), `  Etapa de carga =  ${result.reachedStep}`);
  } finally {
    core.setProgressListener(null);
  }
});

test("a column file read and formatted keeps its bytes", () => {
  for (const file of columns) {
    const text = readFileSync(file, "utf8");
    const { fields, error } = core.readColumnFile(text, file);
    assert.equal(error, undefined);
    const written = core.formatColumnFile(fields);
    assert.deepEqual(core.readColumnFile(written, file).fields, fields, file);
    assert.equal(core.formatColumnFile(core.readColumnFile(written, file).fields), written, file);
  }
  // What a page may hold: numbers, missing entries and no object at all.
  const { fields } = core.readColumnFile(core.formatColumnFile({ fckField: 25, bars: [[1, 2], 3] }));
  assert.equal(fields.fckField, "25");
  assert.deepEqual(fields.bars, [["1", "2"], ["", ""]]);
  assert.equal(core.formatColumnFile(null), core.formatColumnFile({}));
});
