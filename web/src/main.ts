// The page: the column's fields, the live section drawing, VERIFICAR and DIMENSIONAR through
// the worker, the results, the chart, the report and the files. Every rule, message and number
// comes from the core; this file only puts them on the screen.
import { Cancelled, Runner, runAsking } from "./bridge.js";
import { mountCases, type CasesView } from "./cases.js";
import { chartGeometry, chartPoints, chartSvg, kChartHeight, kChartWidth, nearestPoint, pointText, pointsCsv, svgToPng, type Point } from "./chart.js";
import type { ColumnFile, Core, EnvelopeOutcome, FieldInfo, ReportInput, RunJson, RunKind, RunOutcome, SectionConstants } from "./core-api.js";
import {
  contourCsv,
  contourPointText,
  curvePointText,
  envelopeGeometry,
  envelopeSvg,
  envelopeView,
  interactionCsv,
  interactionGeometry,
  interactionSvg,
  interactionView,
  kEnvelopeSize,
  nearestContourPoint,
  nearestCurvePoint,
  type EnvelopeView,
  type InteractionView,
} from "./envelope-chart.js";
import { presentBox, warn } from "./dialogs.js";
import { sectionSvg } from "./drawing.js";
import { download, fetchExample, listExamples, saveName } from "./files.js";
import { mountGrid, type GridView } from "./grid.js";
import { filterTyped } from "./keys.js";
import { loadsPictureSvg } from "./loads-picture.js";
import { describeProgress, readProgressLine, type Progress } from "./progress.js";
import { reportHtml } from "./report.js";
import { ColumnState, requestedRows, storeColumn, storedColumn } from "./state.js";
import { loadCore } from "./wasm-core.js";

const kBusyDelay = 120; // ms

const $ = <T extends HTMLElement = HTMLElement>(id: string) => document.getElementById(id) as T;

// What the last runs left on the screen, for the chart and the report.
interface Results {
  S: string;
  required: string;
  minimum: string;
  section: SectionConstants | null;
  curve: Point[] | null; // the last run was a completed verification: its (governing) curve
  topFree: boolean;
  // A verification of several cases: each completed case's curve, and the one on the chart.
  cases: { name: string; points: Point[] }[];
  shown: number;
}

const kNoResults: Readonly<Results> = { S: "", required: "", minimum: "", section: null, curve: null, topFree: false, cases: [], shown: 0 };

// The envelope of the last completed run: the column and the run it belongs to, and the case
// drawn in its two views.
interface Envelope {
  kind: RunKind;
  text: string;
  names: string[];
  view: EnvelopeView | null;
  curve: InteractionView | null;
}

// The envelope's views: the Mx–My contour and the N–M curve.
type EnvelopeTab = "contour" | "curve";

class Page {
  private fields = new Map<string, FieldInfo>();
  private grids: GridView[] = [];
  private casesView!: CasesView;
  private envelope: Envelope | null = null;
  private envelopeRequest = 0;
  private envelopeMarker = -1;
  private envelopeTab: EnvelopeTab = "contour";
  private envelopeMessage = "";
  private completedRun: "verify" | "design" | undefined;
  private results: Results = { ...kNoResults };
  private running = false;
  private drawTimer = 0;
  private busyTimer = 0;
  private marker = -1;

  // The envelope has a worker of its own, started with the first envelope, so that it never
  // delays VERIFICAR or DIMENSIONAR; a new run ends an envelope still being computed.
  private envelopeRunner: Runner | null = null;

  constructor(
    private readonly core: Core,
    private readonly state: ColumnState,
    private readonly runner: Runner,
    private readonly makeWorker: () => Worker,
  ) {}

  mount(): void {
    for (const f of this.core.fieldTable()) this.fields.set(f.widget, f);
    this.mountFields();
    this.mountChoices();
    this.grids = [
      mountGrid($<HTMLTableElement>("vertexTable"), "vertices", "Vértice", this.state, (g, n, s, t) => this.pasted(g, n, s, t)),
      mountGrid($<HTMLTableElement>("barTable"), "bars", "Barra", this.state, (g, n, s, t) => this.pasted(g, n, s, t)),
    ];
    $("loadsPicture").innerHTML = loadsPictureSvg();
    const loads = [...this.fields.values()].filter((f) => f.perCase);
    this.casesView = mountCases(this.core, this.state, loads, () => {
      for (const f of loads) $<HTMLInputElement>(f.widget).value = this.state.text(f);
    });
    this.mountButtons();
    // Kept while the core reads it: a name being retyped (blank or taken for a moment) does not
    // replace the column kept before it.
    this.state.onChange(() => {
      if ("column" in this.core.readColumnFile(this.state.fileText(), this.state.fileName)) storeColumn(localStorage, this.state);
      this.scheduleDrawing();
    });
    this.showColumn();
  }

  // --- Fields ----------------------------------------------------------------------------------

  private mountFields(): void {
    for (const field of this.fields.values()) {
      const input = $<HTMLInputElement>(field.widget);
      input.maxLength = field.maxLength;
      input.autocomplete = "off";
      input.inputMode = field.filter === "digit" ? "numeric" : "decimal";
      input.addEventListener("beforeinput", (event) => {
        if (event.data === null || (event.inputType !== "insertText" && event.inputType !== "insertFromPaste")) return;
        const accepted = filterTyped(field.filter, event.data);
        if (accepted === event.data) return;
        event.preventDefault();
        const room = field.maxLength - input.value.length + ((input.selectionEnd ?? 0) - (input.selectionStart ?? 0));
        const text = accepted.slice(0, Math.max(0, room));
        if (text !== "") input.setRangeText(text, input.selectionStart ?? 0, input.selectionEnd ?? 0, "end");
        input.dispatchEvent(new Event("input"));
      });
      input.addEventListener("input", () => {
        this.state.setText(field, input.value);
        if (field.perCase) this.casesView.render();
        if (field.widget === "vertexCountField" || field.widget === "barCountField") {
          const n = requestedRows(input.value);
          if (n !== null) this.state.resize(field.widget === "vertexCountField" ? "vertices" : "bars", n);
          this.renderGrids();
        }
      });
    }
    const title = $<HTMLInputElement>("titleField");
    title.addEventListener("input", () => this.state.setTitle(title.value));
  }

  private mountChoices(): void {
    for (const name of ["sectionType", "baseSupport", "topSupport"] as const) {
      for (const radio of document.querySelectorAll<HTMLInputElement>(`input[name="${name}"]`)) {
        radio.addEventListener("change", () => {
          if (!radio.checked) return;
          this.state.setChoice(name, radio.value);
          if (name === "sectionType") this.showKind();
        });
      }
    }
  }

  private showKind(): void {
    const kind = this.state.choice("sectionType");
    for (const el of document.querySelectorAll<HTMLElement>("[data-kinds]")) {
      el.hidden = !(el.dataset.kinds ?? "").split(" ").includes(kind);
    }
  }

  private renderGrids(): void {
    for (const g of this.grids) g.render();
  }

  // Puts the whole column on the screen (after opening a file, an example or a reload).
  private showColumn(): void {
    for (const field of this.fields.values()) $<HTMLInputElement>(field.widget).value = this.state.text(field);
    $<HTMLInputElement>("titleField").value = this.state.column.title;
    for (const name of ["sectionType", "baseSupport", "topSupport"] as const) {
      const value = this.state.choice(name);
      for (const radio of document.querySelectorAll<HTMLInputElement>(`input[name="${name}"]`)) {
        radio.checked = radio.value === value;
      }
    }
    this.showKind();
    this.renderGrids();
    this.casesView.render();
    $("fileName").textContent = this.state.fileName;
    document.title = this.state.fileName === "" ? "TARVELO" : `TARVELO - ${this.state.fileName}`;
    this.drawSection();
  }

  private pasted(grid: string, rows: number, skipped: number, tooMany: boolean): void {
    if (tooMany) {
      void warn(`A colagem tem ${rows} pares de coordenadas e não cabe na tabela (no máximo 299 linhas).`);
      return;
    }
    // The count field follows the table, as after reading coordinates from a file.
    const count = grid === "vertices" ? "vertexCountField" : "barCountField";
    const field = this.fields.get(count);
    if (field !== undefined) {
      const n = String(this.state.rows(grid === "vertices" ? "vertices" : "bars").length);
      this.state.setText(field, n);
      $<HTMLInputElement>(count).value = n;
    }
    this.renderGrids();
    if (skipped > 0) {
      $("sectionMessage").textContent = `${rows} linha(s) coladas; ${skipped} linha(s) sem um par de números foram ignoradas.`;
    }
  }

  // --- The live drawing ------------------------------------------------------------------------

  private scheduleDrawing(): void {
    clearTimeout(this.drawTimer);
    this.drawTimer = window.setTimeout(() => this.drawSection(), 120);
  }

  private drawSection(): void {
    const outcome = this.core.section(this.state.fileText());
    const polygonal = this.state.choice("sectionType") === "Polygonal";
    $("sectionDrawing").innerHTML = sectionSvg(outcome, { numberVertices: polygonal });
    $("sectionMessage").textContent = outcome.messages.join(" ");
  }

  // --- Runs ------------------------------------------------------------------------------------

  private mountButtons(): void {
    $("verifyButton").addEventListener("click", () => void this.run("verify"));
    $("designButton").addEventListener("click", () => void this.run("design"));
    $("cancelButton").addEventListener("click", () => this.runner.cancel());
    $("openButton").addEventListener("click", () => $<HTMLInputElement>("openInput").click());
    $<HTMLInputElement>("openInput").addEventListener("change", () => void this.openPicked());
    $("saveButton").addEventListener("click", () => this.save());
    $("newButton").addEventListener("click", () => void this.newColumn());
    $<HTMLSelectElement>("exampleSelect").addEventListener("change", () => void this.openExample());
    $("reportButton").addEventListener("click", () => this.openReport());
    $("printButton").addEventListener("click", () => window.print());
    $("closeReportButton").addEventListener("click", () => this.closeReport());
    $("reportEnvelopeCheck").addEventListener("change", () => this.showReport());
    $("report").addEventListener("keydown", (event) => {
      if (event.key === "Escape") this.closeReport();
    });
    $("savePngButton").addEventListener("click", () => void this.saveChartPng());
    $("saveSvgButton").addEventListener("click", () => this.saveChartSvg());
    $("savePointsButton").addEventListener("click", () => this.savePoints());
    this.mountChartPointer();
    $<HTMLSelectElement>("envelopeCaseSelect").addEventListener("change", (e) =>
      void this.requestEnvelope(Number((e.target as HTMLSelectElement).value)),
    );
    $("envelopePngButton").addEventListener("click", () => void this.saveEnvelopePng());
    $("envelopeSvgButton").addEventListener("click", () => this.saveEnvelopeSvg());
    $("envelopePointsButton").addEventListener("click", () => this.saveEnvelopePoints());
    this.mountEnvelopePointer();
  }

  // While a run goes on the column cannot change and only "Cancelar" answers. A run shorter than
  // the delay is over before the page changes at all, which spares a flicker (and the page's
  // layout work) on every quick verification.
  private setRunning(running: boolean): void {
    this.running = running;
    clearTimeout(this.busyTimer);
    if (running) this.busyTimer = window.setTimeout(() => this.showBusy(true), kBusyDelay);
    else this.showBusy(false);
  }

  private showBusy(busy: boolean): void {
    for (const el of document.querySelectorAll<HTMLElement>(".columns > .panel:not(:last-child), .topbar, .panel fieldset, .chart, .cases-panel")) {
      if (el.inert !== busy) el.inert = busy;
    }
    const box = $("progressBox");
    if (box.hidden === busy) box.hidden = !busy;
    if (busy) $("cancelButton").focus();
  }

  private async run(kind: RunKind): Promise<void> {
    if (this.running) return;
    const text = this.state.fileText();
    const topFree = this.state.choice("topSupport") === "Free";
    if (this.envelopeRunner?.busy) this.envelopeRunner.cancel();
    this.setRunning(true);
    const started = performance.now();
    let progress: Progress = { trial: 0, step: 0 };
    const bar = $<HTMLProgressElement>("progressBar");
    const label = $("progressText");
    label.textContent = kind === "verify" ? "VERIFICAR: calculando…" : "DIMENSIONAR: calculando…";
    bar.value = 0;
    const onProgress = (line: string) => {
      progress = readProgressLine(line, progress);
      bar.value = progress.step;
      label.textContent = describeProgress(progress);
    };
    let outcome: RunOutcome;
    try {
      outcome = await runAsking(
        (answers) => this.runner.run(kind, text, answers, onProgress),
        async (box) => {
          clearTimeout(this.busyTimer);
          this.showBusy(false);
          const answer = await presentBox(box);
          this.busyTimer = window.setTimeout(() => this.showBusy(true), kBusyDelay);
          return answer;
        },
      );
    } catch (e) {
      this.setRunning(false);
      if (!(e instanceof Cancelled)) await warn(`O cálculo não pôde ser feito.\n\n${e instanceof Error ? e.message : String(e)}`);
      $(kind === "verify" ? "verifyButton" : "designButton").focus();
      this.finished(started);
      return;
    }
    this.setRunning(false);
    this.showOutcome(kind, outcome, topFree);
    this.finished(started);
  }

  // The run count and the time of the last run (click to results, boxes included) are kept on
  // the page for anyone who measures or watches it.
  private finished(started: number): void {
    document.body.dataset.runMs = (performance.now() - started).toFixed(1);
    document.body.dataset.coreMs = this.runner.lastCoreMs.toFixed(1);
    document.body.dataset.runs = String(Number(document.body.dataset.runs ?? "0") + 1);
  }

  private showOutcome(kind: RunKind, outcome: RunOutcome, topFree: boolean): void {
    // The report repeats a completed run for what it adds; a run of several cases also when a
    // case ended (its message is in the report), but not when the column's own checks ended it.
    const r = outcome.result;
    this.completedRun = r.status === "completed" || (r.cases?.length ?? 0) > 0 ? kind : undefined;
    const f = outcome.fields;
    if (f.S !== undefined) this.results.S = f.S;
    if (f.required !== undefined) this.results.required = f.required;
    if (f.minimum !== undefined) this.results.minimum = f.minimum;
    if (f.totalSteelArea !== undefined) {
      const field = this.fields.get("steelAreaField");
      if (field !== undefined) {
        this.state.setText(field, f.totalSteelArea);
        $<HTMLInputElement>("steelAreaField").value = f.totalSteelArea;
      }
    }
    $("safetyField").textContent = this.results.S;
    $("requiredField").textContent = this.results.required;
    $("minimumField").textContent = this.results.minimum;
    if (outcome.result.section) this.results.section = outcome.result.section;
    // A run of several cases draws its governing case (the desktop's result of the run) even when
    // another case ended.
    const completedVerification = kind === "verify" && (r.status === "completed" || (r.governing ?? null) !== null);
    this.results.curve = completedVerification ? chartPoints(r.curve ?? [], r.reachedStep ?? 0) : null;
    this.results.topFree = topFree;
    this.results.cases = completedVerification ? (outcome.caseCurves ?? []).map((c) => ({ name: c.name, points: chartPoints(c.curve, c.reachedStep) })) : [];
    this.results.shown = Math.max(0, outcome.governingCurve ?? 0);
    this.showChartCases();
    this.drawChart();
    this.showCaseResults(kind, r, outcome.governingLabel);
    this.envelope = null;
    this.drawEnvelope();
    // A run of several cases has an envelope when one case completed: the governing one's.
    if (r.status === "completed" || (r.governing ?? null) !== null) this.startEnvelope(kind);
    // A column the core cannot read (a case name left blank or repeated in the table).
    if (r.status === "error" && r.error !== undefined) void warn(`O cálculo não pôde ser feito.\n\n${unnamed(r.error)}`);
    if (outcome.focus !== "") this.focusWidget(outcome.focus);
    else if (completedVerification) $("chart").focus();
    else $(kind === "verify" ? "verifyButton" : "designButton").focus();
  }

  // The control the desktop would focus: a field by its widget name, or the group that stands
  // for the desktop's "Dados da seção" and "Carregamento" buttons.
  private focusWidget(widget: string): void {
    let target: HTMLElement | null = document.getElementById(widget);
    if (widget === "sectionData") {
      target = [...document.querySelectorAll<HTMLInputElement>("#sectionGroup input:not([type=radio])")].find(
        (el) => el.offsetParent !== null && el.id !== "vertexCountField" && el.id !== "barCountField",
      ) ?? $("sectionGroup");
    } else if (widget === "loads") {
      target = $("heightField");
    }
    target?.focus();
    if (target instanceof HTMLInputElement) target.select();
  }

  // --- Load cases' results ---------------------------------------------------------------------

  // "Combinação crítica: k — nome" and a row per case as the run's JSON gives them.
  private showCaseResults(kind: RunKind, r: RunJson, label: string): void {
    $("governingLabel").textContent = label;
    const box = $("caseResultsBox");
    box.hidden = r.cases === undefined;
    if (r.cases === undefined) return;
    const cell = (text: string) => {
      const td = document.createElement("td");
      td.textContent = text;
      return td;
    };
    const table = $<HTMLTableElement>("caseResults");
    const headings =
      kind === "verify"
        ? ["Combinação", "S", "Etapa", "Convergência", "Mensagem"]
        : ["Combinação", "Armadura calculada (cm2)", "Armadura mínima (cm2)", "Mensagem"];
    table.innerHTML = `<thead><tr>${headings.map((h) => `<th scope="col">${h}</th>`).join("")}</tr></thead><tbody></tbody>`;
    for (const c of r.cases) {
      const row = document.createElement("tr");
      row.classList.toggle("governing", c.name === r.governing);
      row.classList.toggle("generated", c.generated === true);
      const values =
        kind === "verify"
          ? [c.S ?? "", c.reachedStep == null ? "" : String(c.reachedStep), c.notConverged ? "não convergiu" : ""]
          : [c.requiredSteelArea ?? "", c.minimumSteelArea ?? ""];
      row.append(cell(c.name), ...values.map(cell), cell(c.messages.join(" ")));
      table.tBodies[0].append(row);
    }
  }

  // --- Envelope chart --------------------------------------------------------------------------

  // After a completed run: the envelope, in the worker while the page goes on, of the case of
  // greatest utilisation (or of the one case); the selector then draws any other.
  private startEnvelope(kind: RunKind): void {
    const names = this.state.cases().map((c) => c.name);
    this.envelope = { kind, text: this.state.fileText(), names, view: null, curve: null };
    const select = $<HTMLSelectElement>("envelopeCaseSelect");
    select.innerHTML = names.map((_, i) => `<option value="${i}"></option>`).join("");
    names.forEach((n, i) => (select.options[i].textContent = n));
    select.closest(".row")?.toggleAttribute("hidden", names.length < 2);
    // The case of greatest utilisation first, as the desktop's envelope window opens.
    void this.requestEnvelope(-1);
  }

  private async requestEnvelope(caseIndex: number): Promise<void> {
    const envelope = this.envelope;
    if (envelope === null) return;
    const request = ++this.envelopeRequest;
    let outcome: EnvelopeOutcome;
    try {
      this.envelopeRunner ??= new Runner(this.makeWorker);
      outcome = await this.envelopeRunner.envelope(envelope.kind, envelope.text, caseIndex);
    } catch {
      return; // cancelled with a run, or the worker failed: the chart stays away
    }
    if (request !== this.envelopeRequest || this.envelope !== envelope) return;
    $<HTMLSelectElement>("envelopeCaseSelect").value = String(outcome.shown);
    envelope.view = envelopeView(outcome, 0);
    envelope.curve = interactionView(outcome, 0);
    this.drawEnvelope(outcome);
  }

  // The chart, or for a case whose run ended the messages that ended it; the figure stays while
  // the run's envelope does, so another case can be chosen.
  private drawEnvelope(outcome?: EnvelopeOutcome): void {
    const view = this.envelope?.view ?? null;
    $("envelopeFigure").hidden = outcome === undefined;
    const messages = outcome?.result.messages ?? [];
    this.envelopeMessage =
      view === null && outcome !== undefined ? `Envoltória indisponível para esta combinação. ${messages.join(" ")}` : messages.join(" ");
    this.showEnvelopeTab();
    document.body.dataset.envelopes = String(Number(document.body.dataset.envelopes ?? "0") + (view === null ? 0 : 1));
  }

  // The view chosen by its tab; its buttons save that view.
  private showEnvelopeTab(): void {
    const contour = this.envelopeTab === "contour";
    for (const [id, selected] of [["envelopeContourTab", contour], ["envelopeCurveTab", !contour]] as const) {
      $(id).setAttribute("aria-selected", String(selected));
      $(id).tabIndex = selected ? 0 : -1;
    }
    const chart = $("envelopeChart");
    chart.setAttribute("aria-labelledby", contour ? "envelopeContourTab" : "envelopeCurveTab");
    chart.innerHTML = this.envelopeSvgText();
    $("envelopeValue").textContent = this.envelopeMessage;
    const none = chart.innerHTML === "";
    for (const id of ["envelopePngButton", "envelopeSvgButton", "envelopePointsButton"]) $<HTMLButtonElement>(id).disabled = none;
    this.envelopeMarker = -1;
  }

  private envelopeSvgText(): string {
    const view = this.envelope?.view ?? null;
    const curve = this.envelope?.curve ?? null;
    if (this.envelopeTab === "contour") return view === null ? "" : envelopeSvg(view);
    return curve === null ? "" : interactionSvg(curve);
  }

  // The point `index` of the curve drawn (taken round the curve), marked, and its values.
  private showEnvelopePoint(index: number): void {
    const view = this.envelope?.view ?? null;
    const curve = this.envelope?.curve ?? null;
    const svg = $("envelopeChart").querySelector("svg");
    if (svg === null) return;
    let at: Point;
    if (this.envelopeTab === "contour" && view !== null) {
      const n = view.contour.length;
      this.envelopeMarker = ((index % n) + n) % n;
      at = envelopeGeometry(view).toScreen(view.contour[this.envelopeMarker].at);
      $("envelopeValue").textContent = contourPointText(view, this.envelopeMarker);
    } else if (this.envelopeTab === "curve" && curve !== null) {
      const n = curve.outline.length;
      this.envelopeMarker = ((index % n) + n) % n;
      at = interactionGeometry(curve).toScreen(curve.outline[this.envelopeMarker]);
      $("envelopeValue").textContent = curvePointText(curve, this.envelopeMarker);
    } else {
      return;
    }
    const g = svg.querySelector(".marker") as SVGGElement;
    g.setAttribute("visibility", "visible");
    g.setAttribute("transform", `translate(${at[0]} ${at[1]})`);
  }

  private mountEnvelopePointer(): void {
    const chart = $("envelopeChart");
    chart.addEventListener("pointermove", (event) => {
      const svg = chart.querySelector("svg");
      const view = this.envelope?.view ?? null;
      const curve = this.envelope?.curve ?? null;
      if (svg === null) return;
      const box = svg.getBoundingClientRect();
      const scale = kEnvelopeSize / box.width;
      const at: Point = [(event.clientX - box.left) * scale, (event.clientY - box.top) * scale];
      if (this.envelopeTab === "contour" && view !== null) this.showEnvelopePoint(nearestContourPoint(view, at));
      else if (this.envelopeTab === "curve" && curve !== null) this.showEnvelopePoint(nearestCurvePoint(curve, at));
    });
    chart.addEventListener("keydown", (event) => {
      const step = event.key === "ArrowRight" || event.key === "ArrowUp" ? 1 : event.key === "ArrowLeft" || event.key === "ArrowDown" ? -1 : 0;
      if (step === 0 || chart.querySelector("svg") === null) return;
      event.preventDefault();
      this.showEnvelopePoint((this.envelopeMarker < 0 ? 0 : this.envelopeMarker) + step);
    });
    // The tabs: a click, or the arrow keys between them.
    const tabs: [string, EnvelopeTab][] = [
      ["envelopeContourTab", "contour"],
      ["envelopeCurveTab", "curve"],
    ];
    for (const [id, tab] of tabs) {
      $(id).addEventListener("click", () => {
        this.envelopeTab = tab;
        this.showEnvelopeTab();
      });
      $(id).addEventListener("keydown", (event) => {
        if (event.key !== "ArrowLeft" && event.key !== "ArrowRight") return;
        event.preventDefault();
        const other = tabs.find(([, t]) => t !== tab);
        if (other === undefined) return;
        this.envelopeTab = other[1];
        this.showEnvelopeTab();
        $(other[0]).focus();
      });
    }
  }

  // The files of the view shown: its picture and its points.
  private envelopeFileName(extension: string): string {
    return `${this.envelopeTab === "contour" ? "envoltoria-resistente" : "curva-n-m"}.${extension}`;
  }

  private saveEnvelopeSvg(): void {
    const svg = this.envelopeSvgText();
    if (svg !== "") download(this.envelopeFileName("svg"), svg, "image/svg+xml");
  }

  private async saveEnvelopePng(): Promise<void> {
    const svg = this.envelopeSvgText();
    if (svg === "") return;
    const height = Number($("envelopeChart").querySelector("svg")?.getAttribute("height") ?? kEnvelopeSize);
    const blob = await svgToPng(svg, 2 * kEnvelopeSize, 2 * height);
    if (blob !== null) download(this.envelopeFileName("png"), blob, "image/png");
  }

  private saveEnvelopePoints(): void {
    const view = this.envelope?.view ?? null;
    const curve = this.envelope?.curve ?? null;
    const text = this.envelopeTab === "contour" ? (view === null ? "" : contourCsv(view)) : curve === null ? "" : interactionCsv(curve);
    if (text !== "") download(this.envelopeFileName("csv"), text, "text/csv");
  }

  // --- Chart -----------------------------------------------------------------------------------

  // The curve on the chart: the chosen case's of a run of several cases, or the run's own.
  private shownCurve(): { name: string; points: Point[] | null } {
    const c = this.results.cases[this.results.shown];
    return c === undefined ? { name: "", points: this.results.curve } : c;
  }

  // The case selector of a verification of several cases: every completed case, the governing
  // one chosen, as the desktop's chart window opens.
  private showChartCases(): void {
    const select = $<HTMLSelectElement>("chartCaseSelect");
    const cases = this.results.cases;
    select.innerHTML = cases.map((_, i) => `<option value="${i}"></option>`).join("");
    cases.forEach((c, i) => (select.options[i].textContent = c.name));
    select.value = String(this.results.shown);
    select.closest(".row")?.toggleAttribute("hidden", cases.length === 0);
  }

  private drawChart(): void {
    const { points } = this.shownCurve();
    const has = points !== null && points.length >= 2;
    $("chart").innerHTML = has ? this.chartSvgText() : "";
    $("chartValue").textContent = points !== null && !has ? "Impossível plotar o gráfico. Número de pontos insuficiente." : "";
    for (const id of ["savePngButton", "saveSvgButton", "savePointsButton"]) $<HTMLButtonElement>(id).disabled = !has;
    this.marker = -1;
  }

  private showPoint(index: number): void {
    const { points } = this.shownCurve();
    const svg = $("chart").querySelector("svg");
    if (points === null || svg === null) return;
    this.marker = Math.max(0, Math.min(points.length - 1, index));
    const p = points[this.marker];
    const [x, y] = chartGeometry(points).toScreen(p);
    const g = svg.querySelector(".marker") as SVGGElement;
    g.setAttribute("visibility", "visible");
    g.setAttribute("transform", `translate(${x} ${y})`);
    $("chartValue").textContent = pointText(p, this.results.topFree);
  }

  private mountChartPointer(): void {
    const chart = $("chart");
    chart.addEventListener("pointermove", (event) => {
      const svg = chart.querySelector("svg");
      const { points } = this.shownCurve();
      if (svg === null || points === null) return;
      const box = svg.getBoundingClientRect();
      const at: Point = [((event.clientX - box.left) / box.width) * kChartWidth, ((event.clientY - box.top) / box.height) * kChartHeight];
      this.showPoint(nearestPoint(points, at));
    });
    chart.addEventListener("keydown", (event) => {
      const { points } = this.shownCurve();
      if (points === null) return;
      const step = event.key === "ArrowRight" || event.key === "ArrowUp" ? 1 : event.key === "ArrowLeft" || event.key === "ArrowDown" ? -1 : 0;
      const jump = event.key === "Home" ? -points.length : event.key === "End" ? points.length : 0;
      if (step === 0 && jump === 0) return;
      event.preventDefault();
      this.showPoint((this.marker < 0 ? 0 : this.marker) + step + jump);
    });
    $<HTMLSelectElement>("chartCaseSelect").addEventListener("change", (e) => {
      this.results.shown = Number((e.target as HTMLSelectElement).value);
      this.drawChart();
    });
  }

  private chartSvgText(): string {
    const { name, points } = this.shownCurve();
    return points === null ? "" : chartSvg(points, this.results.topFree, name);
  }

  private saveChartSvg(): void {
    download("curva-carga-flecha.svg", this.chartSvgText(), "image/svg+xml");
  }

  private async saveChartPng(): Promise<void> {
    const blob = await svgToPng(this.chartSvgText(), 1280, 880);
    if (blob !== null) download("curva-carga-flecha.png", blob, "image/png");
  }

  private savePoints(): void {
    const { points } = this.shownCurve();
    if (points === null) return;
    download("curva-carga-flecha.csv", pointsCsv(points, this.results.topFree), "text/csv");
  }

  // --- Report ----------------------------------------------------------------------------------

  private openReport(): void {
    this.showReport();
    document.body.classList.add("showing-report");
    $("report").hidden = false;
    $("printButton").focus();
  }

  // The sheets of the column on the screen, with the chart of the governing curve (as the
  // desktop prints it) and, when "Incluir envoltória resistente" is ticked, the envelope's sheet.
  private showReport(): void {
    const box = $<HTMLInputElement>("reportEnvelopeCheck");
    // Without a completed run there is no envelope; otherwise the last choice stays.
    box.disabled = this.envelope === null;
    if (box.disabled) box.checked = false;
    const curve = this.results.curve;
    const input: ReportInput = {
      results: { S: this.results.S, required: this.results.required, minimum: this.results.minimum },
      section: this.results.section,
      chart: curve !== null && curve.length >= 2,
      command: this.completedRun,
      envelope: box.checked,
    };
    const pages = this.core.report(this.state.fileText(), input);
    $("reportPages").innerHTML = reportHtml(pages, curve !== null && input.chart ? chartSvg(curve, this.results.topFree) : null);
  }

  private closeReport(): void {
    document.body.classList.remove("showing-report");
    $("report").hidden = true;
    $("reportButton").focus();
  }

  // --- Files -----------------------------------------------------------------------------------

  // A column read by the core replaces the one on the screen; the results belong to the old one.
  private apply(column: ColumnFile, fileName: string): void {
    this.state.replace(column, fileName);
    this.results = { ...kNoResults };
    this.completedRun = undefined;
    $("safetyField").textContent = "";
    $("requiredField").textContent = "";
    $("minimumField").textContent = "";
    $("governingLabel").textContent = "";
    $("caseResultsBox").hidden = true;
    this.showChartCases();
    this.envelope = null;
    this.drawEnvelope();
    this.drawChart();
    this.showColumn();
  }

  private async openText(text: string, name: string): Promise<boolean> {
    const read = this.core.readColumnFile(text, name);
    if ("error" in read) {
      await warn(`Não foi possível ler o arquivo "${name}".\n\n${read.error}\n\nOs dados não foram alterados.`);
      return false;
    }
    this.apply(read.column, name);
    return true;
  }

  private async openPicked(): Promise<void> {
    const input = $<HTMLInputElement>("openInput");
    const file = input.files?.[0];
    input.value = "";
    if (file === undefined) return;
    await this.openText(await file.text(), file.name);
    $("openButton").focus();
  }

  private async openExample(): Promise<void> {
    const select = $<HTMLSelectElement>("exampleSelect");
    const file = select.value;
    if (file === "") return;
    try {
      await this.openText(await fetchExample(file), file);
    } catch (e) {
      await warn(e instanceof Error ? e.message : String(e));
    }
    select.value = "";
  }

  private async newColumn(): Promise<void> {
    const yes = await presentBox({ title: "TARVELO", text: "Começar um pilar novo? Os dados na tela serão apagados.", question: true, answer: false });
    if (yes) this.apply(this.core.newColumn(), "");
    $("newButton").focus();
  }

  private save(): void {
    let bytes: string;
    try {
      bytes = this.core.formatColumnFile(this.state.column);
    } catch (e) {
      void warn(`O pilar não pôde ser salvo.\n\n${unnamed(e instanceof Error ? e.message : String(e))}`);
      return;
    }
    download(saveName(this.state.fileName), bytes, "application/json");
  }
}

// The core names the file a message is about; the column on the page has no file name there.
function unnamed(message: string): string {
  return message.replace(/^: /, "");
}

async function fillExamples(): Promise<void> {
  const select = $<HTMLSelectElement>("exampleSelect");
  for (const example of await listExamples()) {
    const option = document.createElement("option");
    option.value = example.file;
    option.textContent = example.title === "" ? example.file : example.title;
    select.append(option);
  }
}

// The column kept by the last visit, if the core still reads it; a fresh column otherwise.
function startingColumn(core: Core): ColumnState {
  const caseKeys = core
    .fieldTable()
    .filter((f) => f.perCase)
    .map((f) => f.key);
  const kept = storedColumn(localStorage);
  if (kept !== null) {
    const read = core.readColumnFile(kept.text, kept.fileName);
    if ("column" in read) return new ColumnState(read.column, kept.fileName, caseKeys);
  }
  return new ColumnState(core.newColumn(), "", caseKeys);
}

async function start(): Promise<void> {
  // Offline use: the service worker keeps a copy of every file of the site.
  navigator.serviceWorker?.register("sw.js").catch(() => undefined);
  const examples = fillExamples();
  const core = await loadCore();
  const makeWorker = () => new Worker(new URL("./worker.js", import.meta.url), { type: "module" });
  const page = new Page(core, startingColumn(core), new Runner(makeWorker), makeWorker);
  page.mount();
  await examples.catch(() => undefined);
  document.body.dataset.readyMs = performance.now().toFixed(0);
  document.body.dataset.ready = "true";
}

void start().catch((e: unknown) => {
  document.body.dataset.ready = "failed";
  void warn(`O núcleo de cálculo não pôde ser carregado.\n\n${e instanceof Error ? e.message : String(e)}`);
});
