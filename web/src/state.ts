// The column on the page: the column-file object with every field as the text typed, so that
// "Salvar", the runs and the browser's storage all see exactly what is on the screen.
import type { ColumnFile, FieldInfo, GridRow } from "./core-api.js";

export type Grid = "vertices" | "bars";

export const kMaxGridRows = 299;
const kStorageKey = "tarvelo.coluna";

export interface Stored {
  column: ColumnFile;
  fileName: string;
}

// The object of a group path: "main", "loads" or "section.<Kind>".
function groupOf(column: ColumnFile, group: string): Record<string, string> {
  if (group === "main") return column.main;
  if (group === "loads") return column.loads;
  const kind = group.startsWith("section.") ? group.slice("section.".length) : "";
  const object = column.section[kind];
  if (object === undefined || Array.isArray(object)) throw new Error(`grupo desconhecido: ${group}`);
  return object;
}

export class ColumnState {
  private listeners: (() => void)[] = [];
  // Rows a smaller count took off the end of a table, given back if the count grows again, so
  // that typing "12" over "8" (through "1") loses nothing.
  private spare: Record<Grid, GridRow[]> = { vertices: [], bars: [] };

  constructor(
    public column: ColumnFile,
    public fileName = "",
  ) {}

  onChange(listener: () => void): void {
    this.listeners.push(listener);
  }

  private changed(): void {
    for (const l of this.listeners) l();
  }

  text(field: FieldInfo): string {
    return groupOf(this.column, field.group)[field.key] ?? "";
  }

  setText(field: FieldInfo, text: string): void {
    groupOf(this.column, field.group)[field.key] = text;
    this.changed();
  }

  // The section kind, the supports and the title: the choices that are not typed fields.
  choice(name: "sectionType" | "baseSupport" | "topSupport"): string {
    return name === "sectionType" ? this.column.main.sectionType : this.column.loads[name];
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
    this.column = column;
    this.fileName = fileName;
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
