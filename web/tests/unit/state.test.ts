// The column on the page: texts kept exactly, tables sized by their counts, and the browser's
// storage giving back the very column that was on the screen.
import assert from "node:assert/strict";
import { test } from "node:test";
import { ColumnState, freeCaseName, requestedRows, storeColumn, storedColumn } from "../../src/state.js";
import { FakeCore, kFakeCaseKeys, kFakeFields } from "./fake-core.js";

class MemoryStorage {
  items = new Map<string, string>();
  getItem(k: string) {
    return this.items.get(k) ?? null;
  }
  setItem(k: string, v: string) {
    this.items.set(k, v);
  }
}

test("every field's text, the tables and the choices survive storage and a new page", () => {
  const core = new FakeCore();
  const state = new ColumnState(core.newColumn(), "pilar 1.json", kFakeCaseKeys);
  const storage = new MemoryStorage() as unknown as Storage;
  let changes = 0;
  state.onChange(() => {
    changes += 1;
    storeColumn(storage, state);
  });
  const typed = ["25.", "007", ".5", "-0"];
  kFakeFields.forEach((f, i) => state.setText(f, typed[i]));
  state.setChoice("sectionType", "Polygonal");
  state.setChoice("topSupport", "Free");
  state.setTitle("Pilar P1 — térreo");
  state.setCell("bars", 2, 1, "4.0");
  assert.equal(changes, kFakeFields.length + 4);

  const kept = storedColumn(storage);
  assert.ok(kept !== null);
  const read = core.readColumnFile(kept.text, kept.fileName);
  assert.ok("column" in read);
  const again = new ColumnState(read.column, kept.fileName, kFakeCaseKeys);
  assert.deepEqual(kFakeFields.map((f) => again.text(f)), typed);
  assert.equal(again.choice("sectionType"), "Polygonal");
  assert.equal(again.choice("topSupport"), "Free");
  assert.equal(again.column.title, "Pilar P1 — térreo");
  assert.deepEqual(again.rows("bars"), [["", ""], ["", ""], ["", "4.0"]]);
  assert.equal(again.fileName, "pilar 1.json");
  assert.equal(storedColumn(new MemoryStorage() as unknown as Storage), null);
});

test("a count resizes its table, and a count typed over another loses no row", () => {
  const state = new ColumnState(new FakeCore().newColumn());
  state.setRows("vertices", [["0", "0"], ["60", "0"], ["60", "20"]]);
  state.resize("vertices", 5);
  assert.deepEqual(state.rows("vertices"), [["0", "0"], ["60", "0"], ["60", "20"], ["", ""], ["", ""]]);
  state.resize("vertices", 2);
  assert.deepEqual(state.rows("vertices"), [["0", "0"], ["60", "0"]]);
  state.resize("vertices", 0);
  state.resize("vertices", 4);
  assert.deepEqual(state.rows("vertices"), [["0", "0"], ["60", "0"], ["60", "20"], ["", ""]]);
  state.replace(new FakeCore().newColumn(), "");
  state.resize("vertices", 1);
  assert.deepEqual(state.rows("vertices"), [["", ""]], "a new column starts without spare rows");
  const counts: [string, number | null][] = [["6", 6], ["0", 0], ["299", 299], ["999", 299], ["", null], ["6.", null]];
  for (const [text, rows] of counts) assert.equal(requestedRows(text), rows, text);
});

test("load cases: a one-case column becomes case \"1\", and Nova, Duplicar, Excluir keep the names apart", () => {
  const state = new ColumnState(new FakeCore().newColumn(), "", kFakeCaseKeys);
  const mxd = kFakeFields[3];
  assert.deepEqual(state.column.loads.cases, [{ name: "1", Mxd_t: "" }]);
  assert.equal(state.column.loads.Mxd_t, undefined, "the loads live in the case only");
  state.setText(mxd, "150");
  state.addCase(true);
  state.setText(mxd, "-80");
  state.addCase(false);
  state.selectCase(0);
  assert.ok(state.removeCase());
  assert.deepEqual(state.cases(), [{ name: "2", Mxd_t: "-80" }, { name: "3", Mxd_t: "" }]);
  assert.equal(state.text(mxd), "-80", "the fields show the case that takes the removed one's place");
  state.removeCase();
  assert.equal(state.removeCase(), false, "a column keeps one case");
  assert.equal(freeCaseName([{ name: "2" }, { name: "3" }]), "4");
});
