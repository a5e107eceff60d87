// The core as the page sees it. Every input rule, number reading, message, file format and
// report line comes from the core (the C++ procedures compiled to WebAssembly); the page shows
// texts and sends texts back. The page is written against this interface only, so a fake core
// drives its unit tests and the bridge is the one place that knows the WebAssembly module.

export type RunKind = "verify" | "design";

// One pair of a vertex or bar table, as typed.
export type GridRow = [string, string];

// A column file as an object: every field as the text typed, grouped as in the file.
export interface ColumnFile {
  format: string;
  version: number;
  title: string;
  main: Record<string, string>; // includes "sectionType"
  section: {
    [kind: string]: Record<string, string> | GridRow[];
  } & { vertices: GridRow[]; bars: GridRow[] };
  loads: LoadsGroup;
}

// One load case: its name and the nine loads, keyed as in the file ("Fd", "Hxd_t", …).
export type LoadCase = Record<string, string> & { name: string };

// "loads": the height and the supports, and either the nine loads of the one case (a version 1
// file) or "cases" (version 2). The page keeps every column in the second form; the core writes
// a column of one case named "1" as version 1 again.
export interface LoadsGroup {
  [key: string]: string | boolean | LoadCase[] | undefined;
  cases?: LoadCase[];
  minimumMoments?: boolean;
}

export type KeyFilter = "decimal" | "signedDecimal" | "digit";

// One input field of the column, from the core's field table.
export interface FieldInfo {
  widget: string; // the element id on the page, e.g. "fckField"
  group: string; // "main", "section.CircularSolid", "loads"
  key: string; // key inside the group
  caption: string;
  maxLength: number;
  filter: KeyFilter;
  perCase: boolean; // one of the nine loads that each load case holds
}

// A box the run showed: a warning, or a question with the answer it was given.
export interface MessageBox {
  title: string;
  text: string;
  question: boolean;
  answer: boolean;
}

// The object `tarvelo-cli verify|design --json` prints for one file.
export interface RunJson {
  file: string;
  command: RunKind;
  status: "completed" | "ended" | "error";
  messages?: string[];
  error?: string;
  S?: string;
  reachedStep?: number | null;
  notConverged?: boolean | null;
  curve?: [number, number][];
  requiredSteelArea?: string;
  minimumSteelArea?: string;
  trials?: number;
  section?: SectionConstants | null;
  // A run of several load cases: each case in order and the name of the governing one.
  cases?: CaseResult[];
  governing?: string | null;
}

export interface CaseResult {
  name: string;
  status: "completed" | "ended";
  messages: string[];
  S?: string;
  reachedStep?: number | null;
  notConverged?: boolean | null;
  requiredSteelArea?: string;
  minimumSteelArea?: string;
  generated?: boolean; // a minimum-moment case
}

export interface SectionConstants {
  area: number;
  inertiaX: number;
  inertiaY: number;
  slendernessX: number;
  slendernessY: number;
}

// The result fields of the window as a run left them (a field the run did not touch is
// absent). The design empties "Área total de aço".
export interface ResultTexts {
  totalSteelArea?: string;
  S?: string;
  required?: string;
  minimum?: string;
}

export interface RunOutcome {
  result: RunJson;
  boxes: MessageBox[];
  focus: string; // the widget the desktop would focus after the run, or ""
  governingLabel: string; // "Combinação crítica: 3 — Vento +x", or ""
  fields: ResultTexts;
  // A verification of several cases: every completed case's curve ("3 — Vento +x", the rows
  // its analysis wrote) and the governing one's index among them.
  caseCurves?: CaseCurve[];
  governingCurve?: number;
}

export interface CaseCurve {
  name: string;
  reachedStep: number;
  curve: [number, number][];
}

// `tarvelo-cli envelope --json`, with every load case of the column.
export interface EnvelopeJson {
  status: "completed" | "ended" | "error";
  messages?: string[];
  error?: string;
  axial: number | null;
  squash: number | null;
  tension: number | null;
  contour: { angle: number; Mx: number | null; My: number | null }[];
  cases: {
    name: string;
    Nd: number;
    utilisation: number | null;
    criticalMoment: [number, number] | null;
    minimumEnvelopeInside: boolean;
    note: string | null;
  }[];
}

// The N–M curve of a case along the direction of its critical moment (angle, degrees from +Mx
// towards +My): [N, M_Rd] from Nt to N0 along it and along the opposite direction (null where
// the direction misses the envelope), and the case's [Md, Nd] when it reached the design loads.
export interface InteractionCurve {
  angle: number;
  points: [number, number | null][];
  opposite: [number, number | null][];
  point: [number, number] | null;
}

// The envelope and, per case, its first-order end moments and its minimum-moment ellipse's
// semi-axes (kNcm); the N–M curve of the case drawn and its index among the column's cases.
export interface EnvelopeOutcome {
  result: EnvelopeJson;
  shown: number;
  cases: { top: [number, number]; base: [number, number]; ellipse: [number, number] }[];
  curve: InteractionCurve | null;
}

export type CasesRead = { cases: LoadCase[] } | { error: string };

// The section as the calculation sees it, or the core's messages when it cannot be built.
export interface SectionOutcome {
  outline: [number, number][]; // closed polygon (last point repeats the first); empty on failure
  bars: [number, number][];
  messages: string[];
  focus: string;
}

export interface ReportLine {
  text: string;
  bold: boolean;
}

// One printed sheet: its number and lines; a chart sheet holds the load-deflection chart; the
// envelope's sheet holds the Mx–My drawing of its governing case above its table's lines.
export interface ReportPage {
  number: number;
  lines: ReportLine[];
  chart: boolean;
  envelope?: EnvelopeOutcome;
}

// What the report is built from besides the column: the result fields and the section
// constants of the last run.
export interface ReportInput {
  results: { S: string; required: string; minimum: string };
  section: SectionConstants | null;
  chart: boolean;
  // The last run when it completed: its report adds the refined value and the conclusion.
  command?: "verify" | "design";
  // "Incluir envoltória resistente", after a completed run.
  envelope?: boolean;
}

export type ReadResult = { column: ColumnFile } | { error: string };

// The core in one thread; every call is synchronous.
export interface Core {
  fieldTable(): FieldInfo[];
  // A fresh column: every field with the windows' default text.
  newColumn(): ColumnFile;
  readColumnFile(text: string, name: string): ReadResult;
  // The desktop's bytes for a column.
  formatColumnFile(column: ColumnFile): string;
  // VERIFICAR or DIMENSIONAR. Questions take `answers` in order; a question beyond them is
  // answered "Sim", which ends the run as the desktop's Yes does.
  run(
    kind: RunKind,
    text: string,
    answers: boolean[],
    progress: (line: string) => void,
  ): RunOutcome;
  // "Ver seção" without boxes: the geometry, or the messages that refuse it.
  section(text: string): SectionOutcome;
  report(text: string, input: ReportInput): ReportPage[];
  // "Importar…": the load cases of a CSV or text file, or the message naming the bad line.
  readLoadCases(text: string, name: string): CasesRead;
  // The envelope after a completed run, with the verified or the designed steel, of the load
  // case `caseIndex` (0-based; -1: the case of greatest utilisation): the contour at its Fd with
  // its design points.
  envelope(text: string, source: RunKind, caseIndex: number): EnvelopeOutcome;
}
