// The column on the page: the column-file object with every field as the text typed, so that
// "Salvar", the runs and the browser's storage all see exactly what is on the screen.
import type { ColumnFile, FieldInfo, GridRow, LoadCase } from "./core-api.js";

export type Grid = "vertices" | "bars";

export const kMaxGridRows = 299;
export const kMaxCases = 99;
const kStorageKey = "tarvelo.coluna";

export interface Stored {
  column: ColumnFile;
  fileName: string;
}

// The object of a group path: "main", "loads" or "section.<Kind>".
function groupOf(column: ColumnFile, group: string): Record<string, string> {
  if (group === "main") return column.main;
  if (group === "loads") return column.loads as Record<string, string>;
  const kind = group.startsWith("section.") ? group.slice("section.".length) : "";
  const object = column.section[kind];
  if (object === undefined || Array.isArray(object)) throw new Error(`grupo desconhecido: ${group}`);
  return object;
}

// The column with its loads as a list of cases: a version 1 column's nine loads (`caseKeys`)
// become its one case, named "1" as the core reads it. The core writes such a column as
// version 1 again, so a file opened and saved keeps its bytes.
export function withCases(column: ColumnFile, caseKeys: readonly string[]): ColumnFile {
  if (caseKeys.length === 0 || column.loads.cases !== undefined) return column;
  const loads = { ...column.loads };
  const first: LoadCase = { name: "1" };
  for (const key of caseKeys) {
    first[key] = String(loads[key] ?? "");
    delete loads[key];
  }
  return { ...column, version: 2, loads: { ...loads, cases: [first] } };
}

// A name no case has yet: "1", "2", … as the desktop numbers new cases.
export function freeCaseName(cases: readonly LoadCase[]): string {
  let n = cases.length + 1;
  while (cases.some((c) => c.name === String(n))) n += 1;
  return String(n);
}

export class ColumnState {
  private listeners: (() => void)[] = [];
  // Rows a smaller count took off the end of a table, given back if the count grows again, so
  // that typing "12" over "8" (through "1") loses nothing.
  private spare: Record<Grid, GridRow[]> = { vertices: [], bars: [] };
  // The load case whose loads the fields show.
  selected = 0;

  constructor(
    public column: ColumnFile,
    public fileName = "",
    private readonly caseKeys: readonly string[] = [],
  ) {
    this.column = withCases(column, caseKeys);
  }

  onChange(listener: () => void): void {
    this.listeners.push(listener);
  }

  private changed(): void {
    for (const l of this.listeners) l();
  }

  text(field: FieldInfo): string {
    if (field.perCase) return this.cases()[this.selected]?.[field.key] ?? "";
    return groupOf(this.column, field.group)[field.key] ?? "";
  }

  setText(field: FieldInfo, text: string): void {
    if (field.perCase) {
      this.setCaseText(this.selected, field.key, text);
      return;
    }
    groupOf(this.column, field.group)[field.key] = text;
    this.changed();
  }

  // --- Load cases: "Nova", "Duplicar", "Excluir", the table and "Importar…" --------------------

  cases(): LoadCase[] {
    return this.column.loads.cases ?? [];
  }

  selectCase(index: number): void {
    this.selected = Math.max(0, Math.min(this.cases().length - 1, index));
  }

  // The case's name or one of its loads, as typed in the table.
  setCaseText(index: number, key: string, text: string): void {
    const c = this.cases()[index];
    if (c === undefined) return;
    c[key] = text;
    this.changed();
  }

  // A blank case ("Nova") or a copy of the selected one ("Duplicar"), after the last; it
  // becomes the selected case. False when the column already has the most cases.
  addCase(copy: boolean): boolean {
    const cases = this.cases();
    if (cases.length >= kMaxCases) return false;
    const added: LoadCase = { name: freeCaseName(cases) };
    for (const key of this.caseKeys) added[key] = copy ? (cases[this.selected]?.[key] ?? "") : "";
    cases.push(added);
    this.selected = cases.length - 1;
    this.changed();
    return true;
  }

  // "Excluir": a column keeps at least one case.
  removeCase(): boolean {
    const cases = this.cases();
    if (cases.length <= 1) return false;
    cases.splice(this.selected, 1);
    this.selected = Math.min(this.selected, cases.length - 1);
    this.changed();
    return true;
  }

  // The cases of a paste or an import.
  setCases(cases: LoadCase[]): void {
    if (cases.length === 0) return;
    this.column.loads.cases = cases.slice(0, kMaxCases);
    this.selectCase(this.selected);
    this.changed();
  }

  minimumMoments(): boolean {
    return this.column.loads.minimumMoments === true;
  }

  setMinimumMoments(on: boolean): void {
    if (on) this.column.loads.minimumMoments = true;
    else delete this.column.loads.minimumMoments;
    this.changed();
  }

  // The section kind, the supports and the title: the choices that are not typed fields.
  choice(name: "sectionType" | "baseSupport" | "topSupport"): string {
    return name === "sectionType" ? this.column.main.sectionType : String(this.column.loads[name] ?? "");
  }

  setChoice(name: "sectionType" | "baseSupport" | "topSupport", value: string): void {
    if (name === "sectionType") this.column.main.sectionType = value;
    else this.column.loads[name] = value;
    this.changed();
  }

  setTitle(title: string): void {
    this.column.title = title;
    this.changed();
  }

  rows(grid: Grid): GridRow[] {
    return this.column.section[grid];
  }

  setRows(grid: Grid, rows: GridRow[]): void {
    this.column.section[grid] = rows.slice(0, kMaxGridRows);
    this.spare[grid] = [];
    this.changed();
  }

  setCell(grid: Grid, row: number, column: 0 | 1, text: string): void {
    const rows = this.column.section[grid];
    while (rows.length <= row) rows.push(["", ""]);
    rows[row][column] = text;
    this.changed();
  }

  // The table with `count` rows: the rows that remain keep their texts; new rows are the ones
  // a smaller count took off, then empty ones.
  resize(grid: Grid, count: number): void {
    const n = Math.max(0, Math.min(kMaxGridRows, count));
    const all = [...this.column.section[grid], ...this.spare[grid]];
    while (all.length < n) all.push(["", ""]);
    this.column.section[grid] = all.slice(0, n);
    this.spare[grid] = all.slice(n);
    this.changed();
  }

  replace(column: ColumnFile, fileName: string): void {
    this.column = withCases(column, this.caseKeys);
    this.fileName = fileName;
    this.selected = 0;
    this.spare = { vertices: [], bars: [] };
    this.changed();
  }

  // The column as a column file's text, for the core.
  fileText(): string {
    return JSON.stringify(this.column);
  }
}

// The row count a count field asks for: its digits, or none while it holds anything else.
export function requestedRows(countText: string): number | null {
  return /^\d{1,3}$/.test(countText) ? Math.min(Number(countText), kMaxGridRows) : null;
}

export function storeColumn(storage: Storage, state: ColumnState): void {
  const stored: Stored = { column: state.column, fileName: state.fileName };
  try {
    storage.setItem(kStorageKey, JSON.stringify(stored));
  } catch {
    // A full or disabled storage only loses the convenience of keeping the column.
  }
}

// The column kept by the last visit, as the column file's text and its file name.
export function storedColumn(storage: Storage): { text: string; fileName: string } | null {
  const raw = storage.getItem(kStorageKey);
  if (raw === null) return null;
  try {
    const stored = JSON.parse(raw) as Stored;
    return { text: JSON.stringify(stored.column), fileName: String(stored.fileName ?? "") };
  } catch {
    return null;
  }
}
