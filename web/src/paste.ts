// Rows pasted from a spreadsheet into the vertex or bar table. A spreadsheet copies a block as
// lines of tab-separated cells; the cells stay texts (the core reads the numbers), only the
// decimal comma of a Brazilian spreadsheet becomes the point the fields take, as typing a comma
// into a field does.
import type { GridRow, LoadCase } from "./core-api.js";

export interface PastedRows {
  rows: GridRow[];
  skipped: number; // lines that were not a pair of numbers (headings, notes)
}

// A cell that can be a coordinate: signs, digits, separators and an exponent only.
const kNumberLike = /^[+-]?[0-9.,]*([eE][+-]?[0-9]*)?$/;

function cellText(cell: string): string {
  return cell.trim().replace(/,/g, ".");
}

// Two cells are x and y; three are the table's own layout (number, x, y), as copied back out of
// a table or a spreadsheet laid out like it.
function pairOf(cells: string[]): GridRow | null {
  const filled = cells.map((c) => c.trim());
  while (filled.length > 0 && filled[filled.length - 1] === "") filled.pop();
  const pair = filled.length === 2 ? filled : filled.length === 3 ? filled.slice(1) : null;
  if (pair === null) return null;
  if (pair.some((c) => c === "" || !kNumberLike.test(c) || !/[0-9]/.test(c))) return null;
  return [cellText(pair[0]), cellText(pair[1])];
}

function pastedLines(text: string): string[] {
  return text
    .replace(/^\uFEFF/, "")
    .split(/\r\n|\n|\r/)
    .filter((line) => line.trim() !== "");
}

export function parsePastedRows(text: string): PastedRows {
  const rows: GridRow[] = [];
  let skipped = 0;
  for (const line of pastedLines(text)) {
    // Without a tab, a line typed by hand: "x;y" or "x y".
    const cells = line.includes("\t") ? line.split("\t") : line.trim().split(/\s*;\s*|\s+/);
    const pair = pairOf(cells);
    if (pair === null) {
      skipped += 1;
    } else {
      rows.push(pair);
    }
  }
  return { rows, skipped };
}

// Rows of the load-case table: the name, then the loads in `keys` order, tab-separated (or ";"
// when typed by hand). Missing cells at the end stay blank; a line whose loads are not numbers
// (a heading) is skipped.
export interface PastedCases {
  cases: LoadCase[];
  skipped: number;
}

export function parsePastedCases(text: string, keys: readonly string[]): PastedCases {
  const cases: LoadCase[] = [];
  let skipped = 0;
  for (const line of pastedLines(text)) {
    const cells = (line.includes("\t") ? line.split("\t") : line.split(";")).map((c) => c.trim());
    const loads = cells.slice(1);
    if (loads.length > keys.length || loads.some((c) => c !== "" && (!kNumberLike.test(c) || !/[0-9]/.test(c)))) {
      skipped += 1;
      continue;
    }
    const c: LoadCase = { name: cells[0] };
    keys.forEach((key, i) => (c[key] = cellText(loads[i] ?? "")));
    cases.push(c);
  }
  return { cases, skipped };
}

// The table after pasting `pasted` from row `at` on (0-based): rows below are overwritten and
// the table grows with `blank` rows as needed, up to `limit` rows. Returns null when the paste
// would not fit.
export function pasteInto<Row>(
  rows: readonly Row[],
  at: number,
  pasted: readonly Row[],
  limit: number,
  blank: () => Row = () => ["", ""] as Row,
): Row[] | null {
  if (at + pasted.length > limit) return null;
  const copy = (r: Row) => (Array.isArray(r) ? [...r] : { ...r }) as Row;
  const result = rows.map(copy);
  while (result.length < at) result.push(blank());
  pasted.forEach((row, i) => {
    result[at + i] = copy(row);
  });
  return result;
}
