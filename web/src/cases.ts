// The load cases of the column: the selector whose case the load fields show, "Nova",
// "Duplicar", "Excluir", "Importar…" (read by the core's spreadsheet reader), the minimum-moment
// check box, and the table of every case, typed through the fields' own filters or pasted from
// a spreadsheet (tab-separated, decimal comma).
import type { Core, FieldInfo, LoadCase } from "./core-api.js";
import { warn } from "./dialogs.js";
import { filterTyped } from "./keys.js";
import { parsePastedCases, pasteInto } from "./paste.js";
import { kMaxCases, type ColumnState } from "./state.js";

const kMaxNameLength = 30;

export interface CasesView {
  render(): void;
}

const $ = <T extends HTMLElement = HTMLElement>(id: string) => document.getElementById(id) as T;

function escapeHtml(text: string): string {
  return text.replace(/[&<>"]/g, (c) => ({ "&": "&amp;", "<": "&lt;", ">": "&gt;", '"': "&quot;" })[c] ?? c);
}

// `loads`: the nine per-case fields in the order of the loads window. `selected` tells the page
// that the fields must show another case.
export function mountCases(core: Core, state: ColumnState, loads: readonly FieldInfo[], selected: () => void): CasesView {
  const select = $<HTMLSelectElement>("caseSelect");
  const table = $<HTMLTableElement>("caseTable");
  const minimum = $<HTMLInputElement>("minimumMomentsCheck");
  const keys = loads.map((f) => f.key);
  const heading = (f: FieldInfo) => f.caption.replace(/\s*=\s*$/, "");
  table.innerHTML =
    `<thead><tr><th scope="col">#</th><th scope="col">Nome</th>` +
    loads.map((f) => `<th scope="col">${escapeHtml(heading(f))}</th>`).join("") +
    `</tr></thead><tbody></tbody>`;
  const body = table.tBodies[0];
  const blank = (): LoadCase => Object.fromEntries([["name", ""], ...keys.map((k) => [k, ""])]) as LoadCase;

  const choose = (index: number) => {
    if (index === state.selected) return;
    state.selectCase(index);
    selected();
    render();
  };

  function render(): void {
    const cases = state.cases();
    select.innerHTML = cases.map((c, i) => `<option value="${i}">${escapeHtml(c.name)}</option>`).join("");
    select.value = String(state.selected);
    $<HTMLButtonElement>("deleteCaseButton").disabled = cases.length <= 1;
    for (const id of ["newCaseButton", "duplicateCaseButton"]) $<HTMLButtonElement>(id).disabled = cases.length >= kMaxCases;
    minimum.checked = state.minimumMoments();
    if (body.rows.length !== cases.length) {
      body.innerHTML = cases
        .map(
          (_, i) =>
            `<tr><th scope="row">${i + 1}</th>` +
            [["name", "Nome", kMaxNameLength], ...loads.map((f) => [f.key, heading(f), f.maxLength])]
              .map(
                ([key, label, length]) =>
                  `<td><input data-row="${i}" data-key="${key}" maxlength="${length}" autocomplete="off" aria-label="Combinação ${i + 1}, ${escapeHtml(String(label))}"></td>`,
              )
              .join("") +
            `</tr>`,
        )
        .join("");
    }
    cases.forEach((c, i) => {
      body.rows[i].classList.toggle("selected", i === state.selected);
      for (const input of body.rows[i].querySelectorAll<HTMLInputElement>("input")) {
        const text = c[input.dataset.key ?? ""] ?? "";
        if (input.value !== text) input.value = text;
      }
    });
  }

  select.addEventListener("change", () => choose(Number(select.value)));
  $("newCaseButton").addEventListener("click", () => {
    if (state.addCase(false)) selected();
    render();
  });
  $("duplicateCaseButton").addEventListener("click", () => {
    if (state.addCase(true)) selected();
    render();
  });
  $("deleteCaseButton").addEventListener("click", () => {
    if (state.removeCase()) selected();
    render();
  });
  minimum.addEventListener("change", () => state.setMinimumMoments(minimum.checked));

  const importInput = $<HTMLInputElement>("importCasesInput");
  $("importCasesButton").addEventListener("click", () => importInput.click());
  importInput.addEventListener("change", async () => {
    const file = importInput.files?.[0];
    importInput.value = "";
    if (file === undefined) return;
    const read = core.readLoadCases(await file.text(), file.name);
    if ("error" in read) {
      await warn(`Não foi possível importar as combinações.\n\n${read.error}\n\nAs combinações não foram alteradas.`);
    } else {
      state.setCases(read.cases);
      state.selectCase(0);
      selected();
      render();
    }
    $("importCasesButton").focus();
  });

  // The table: each cell through its field's filter; the focused row is the selected case.
  body.addEventListener("beforeinput", (event) => {
    const e = event as InputEvent;
    const input = e.target as HTMLInputElement;
    const field = loads.find((f) => f.key === input.dataset.key);
    if (field === undefined || e.inputType !== "insertText" || e.data === null) return;
    const accepted = filterTyped(field.filter, e.data);
    if (accepted === e.data) return;
    e.preventDefault();
    if (accepted !== "") input.setRangeText(accepted, input.selectionStart ?? 0, input.selectionEnd ?? 0, "end");
    input.dispatchEvent(new Event("input", { bubbles: true }));
  });
  body.addEventListener("input", (event) => {
    const input = event.target as HTMLInputElement;
    const row = Number(input.dataset.row);
    state.setCaseText(row, input.dataset.key ?? "", input.value);
    if (row === state.selected) selected();
    if (input.dataset.key === "name") {
      const option = select.options[row];
      if (option !== undefined) option.textContent = input.value;
    }
  });
  body.addEventListener("focusin", (event) => choose(Number((event.target as HTMLInputElement).dataset.row)));
  body.addEventListener("keydown", (event) => {
    const input = event.target as HTMLInputElement;
    const move = event.key === "ArrowDown" || event.key === "Enter" ? 1 : event.key === "ArrowUp" ? -1 : 0;
    if (move === 0) return;
    const next = body.querySelector<HTMLInputElement>(`input[data-row="${Number(input.dataset.row) + move}"][data-key="${input.dataset.key}"]`);
    if (next !== null) {
      event.preventDefault();
      next.focus();
      next.select();
    }
  });
  body.addEventListener("paste", (event) => {
    const text = event.clipboardData?.getData("text/plain") ?? "";
    if (!/[\t\n]/.test(text.trim())) return; // one value into one cell
    event.preventDefault();
    const { cases, skipped } = parsePastedCases(text, keys);
    const at = Number((event.target as HTMLInputElement).dataset.row ?? 0);
    const merged = pasteInto(state.cases(), at, cases, kMaxCases, blank);
    if (merged === null) {
      void warn(`A colagem tem ${cases.length} combinações e não cabe na tabela (no máximo ${kMaxCases}).`);
      return;
    }
    state.setCases(merged);
    selected();
    render();
    $("caseMessage").textContent =
      skipped > 0 ? `${cases.length} combinação(ões) coladas; ${skipped} linha(s) sem números foram ignoradas.` : "";
  });
  render();
  return { render };
}
