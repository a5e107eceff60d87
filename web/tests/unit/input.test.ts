// What the page itself does to typed and pasted text before the core sees it.
import assert from "node:assert/strict";
import { test } from "node:test";
import { filterTyped } from "../../src/keys.js";
import { parsePastedCases, parsePastedRows, pasteInto } from "../../src/paste.js";
import type { GridRow } from "../../src/core-api.js";

test("pasted spreadsheet blocks become the texts of the table's rows", () => {
  const cases: [string, string, GridRow[], number][] = [
    ["tab-separated, decimal comma", "0\t0\r\n60,5\t0\r\n60,5\t20,25\r\n", [["0", "0"], ["60.5", "0"], ["60.5", "20.25"]], 0],
    ["heading and blank lines skipped", "x\ty\n\n1\t2\n", [["1", "2"]], 1],
    ["the table's own layout (number, x, y)", "1\t4\t4\n2\t-4\t4", [["4", "4"], ["-4", "4"]], 0],
    ["typed by hand with semicolons or blanks", "1;2\n3 4\n", [["1", "2"], ["3", "4"]], 0],
    ["texts kept as typed, exponent included", " 1.50 \t 2E1 ", [["1.50", "2E1"]], 0],
    ["one value or a word is not a pair", "5\nabc\tdef\n1\t2\t3\t4", [], 3],
  ];
  for (const [name, text, rows, skipped] of cases) {
    assert.deepEqual(parsePastedRows(text), { rows, skipped }, name);
  }
});

test("a paste overwrites from the focused row and grows the table up to its limit", () => {
  const rows: GridRow[] = [["1", "1"], ["2", "2"], ["3", "3"]];
  assert.deepEqual(pasteInto(rows, 1, [["a", "b"]], 299), [["1", "1"], ["a", "b"], ["3", "3"]]);
  assert.deepEqual(pasteInto(rows, 2, [["a", "b"], ["c", "d"]], 299), [["1", "1"], ["2", "2"], ["a", "b"], ["c", "d"]]);
  assert.equal(pasteInto(rows, 2, [["a", "b"], ["c", "d"]], 3), null);
  assert.deepEqual(rows[1], ["2", "2"], "the table itself is left alone");
});

test("each field kind lets its characters through and turns a comma into the point", () => {
  const cases: [Parameters<typeof filterTyped>[0], string, string][] = [
    ["decimal", "12,5", "12.5"],
    ["decimal", "-3a/", "3"],
    ["signedDecimal", "-0,25", "-0.25"],
    ["signedDecimal", "+1e3", "13"],
    ["digit", "1,5-", "15"],
  ];
  for (const [kind, typed, accepted] of cases) assert.equal(filterTyped(kind, typed), accepted, `${kind} ${typed}`);
});

test("load cases pasted from a spreadsheet: name and loads, decimal comma, heading skipped, short rows blank", () => {
  const text = "nome\tFd\tMxd_t\nVento +x\t1050\t3200,5\nMín\t980\n\nP3\tabc\n";
  assert.deepEqual(parsePastedCases(text, ["Fd", "Mxd_t"]), {
    cases: [{ name: "Vento +x", Fd: "1050", Mxd_t: "3200.5" }, { name: "Mín", Fd: "980", Mxd_t: "" }],
    skipped: 2,
  });
  const blank = () => ({ name: "", Fd: "" });
  assert.deepEqual(pasteInto([{ name: "1", Fd: "5" }], 2, [{ name: "x", Fd: "1" }], 99, blank), [{ name: "1", Fd: "5" }, blank(), { name: "x", Fd: "1" }]);
});
