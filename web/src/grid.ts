// The vertex and bar tables: a numbered row per pair, x and y typed through the signed decimal
// filter, and paste from a spreadsheet at the cell that has the focus.
import type { GridRow } from "./core-api.js";
import { filterTyped } from "./keys.js";
import { parsePastedRows, pasteInto } from "./paste.js";
import { kMaxGridRows, type ColumnState, type Grid } from "./state.js";

const kCellLength = 9;

export interface GridView {
  render(): void;
}

export function mountGrid(
  table: HTMLTableElement,
  grid: Grid,
  heading: string,
  state: ColumnState,
  pasted: (grid: Grid, rows: number, skipped: number, tooMany: boolean) => void,
): GridView {
  table.innerHTML = `<thead><tr><th scope="col">${heading}</th><th scope="col">x</th><th scope="col">y</th></tr></thead><tbody></tbody>`;
  const body = table.tBodies[0];

  const cell = (row: number, column: 0 | 1): HTMLInputElement | null =>
    body.querySelector(`input[data-row="${row}"][data-column="${column}"]`);

  const render = () => {
    const rows = state.rows(grid);
    if (body.rows.length !== rows.length) {
      body.innerHTML = rows
        .map(
          (_, i) =>
            `<tr><th scope="row">${i + 1}</th>` +
            [0, 1]
              .map(
                (c) =>
                  `<td><input data-row="${i}" data-column="${c}" maxlength="${kCellLength}" autocomplete="off" aria-label="${heading} ${i + 1}, ${c === 0 ? "x" : "y"}"></td>`,
              )
              .join("") +
            `</tr>`,
        )
        .join("");
    }
    rows.forEach((r: GridRow, i) => {
      for (const c of [0, 1] as const) {
        const input = cell(i, c);
        if (input !== null && input.value !== r[c]) input.value = r[c];
      }
    });
  };

  body.addEventListener("beforeinput", (event) => {
    const e = event as InputEvent;
    if (e.inputType !== "insertText" || e.data === null) return;
    const accepted = filterTyped("signedDecimal", e.data);
    if (accepted === e.data) return;
    e.preventDefault();
    const input = e.target as HTMLInputElement;
    if (accepted !== "") input.setRangeText(accepted, input.selectionStart ?? 0, input.selectionEnd ?? 0, "end");
    input.dispatchEvent(new Event("input", { bubbles: true }));
  });
  body.addEventListener("input", (event) => {
    const input = event.target as HTMLInputElement;
    state.setCell(grid, Number(input.dataset.row), Number(input.dataset.column) as 0 | 1, input.value);
  });
  body.addEventListener("keydown", (event) => {
    const input = event.target as HTMLInputElement;
    if (!(input instanceof HTMLInputElement)) return;
    const row = Number(input.dataset.row);
    const column = Number(input.dataset.column) as 0 | 1;
    const move = event.key === "ArrowDown" || event.key === "Enter" ? 1 : event.key === "ArrowUp" ? -1 : 0;
    if (move === 0) return;
    const next = cell(row + move, column);
    if (next !== null) {
      event.preventDefault();
      next.focus();
      next.select();
    }
  });
  body.addEventListener("paste", (event) => {
    const text = event.clipboardData?.getData("text/plain") ?? "";
    // A single value typed into one cell is an ordinary paste.
    if (!/[\t\n;]/.test(text.trim()) && !/\S\s+\S/.test(text.trim())) return;
    event.preventDefault();
    const input = event.target as HTMLInputElement;
    const { rows, skipped } = parsePastedRows(text);
    const merged = pasteInto(state.rows(grid), Number(input.dataset.row ?? 0), rows, kMaxGridRows);
    if (merged === null) {
      pasted(grid, rows.length, skipped, true);
      return;
    }
    state.setRows(grid, merged);
    pasted(grid, rows.length, skipped, false);
  });
  render();
  return { render };
}
