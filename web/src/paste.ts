// Rows pasted from a spreadsheet into the vertex or bar table. A spreadsheet copies a block as
// lines of tab-separated cells; the cells stay texts (the core reads the numbers), only the
// decimal comma of a Brazilian spreadsheet becomes the point the fields take, as typing a comma
// into a field does.
import type { GridRow } from "./core-api.js";

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

export function parsePastedRows(text: string): PastedRows {
  const rows: GridRow[] = [];
  let skipped = 0;
  for (const line of text.replace(/^\uFEFF/, "").split(/\r\n|\n|\r/)) {
    if (line.trim() === "") continue;
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

// The table after pasting `pasted` from row `at` on (0-based): rows below are overwritten and
// the table grows as needed, up to `limit` rows. Returns null when the paste would not fit.
export function pasteInto(
  rows: readonly GridRow[],
  at: number,
  pasted: readonly GridRow[],
  limit: number,
): GridRow[] | null {
  if (at + pasted.length > limit) return null;
  const result = rows.map((r) => [r[0], r[1]] as GridRow);
  while (result.length < at) result.push(["", ""]);
  pasted.forEach((row, i) => {
    result[at + i] = [row[0], row[1]];
  });
  return result;
}
