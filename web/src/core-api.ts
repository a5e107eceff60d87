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
  loads: Record<string, string>; // includes "baseSupport" and "topSupport"
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
  fields: ResultTexts;
}

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

// One printed sheet: its number and lines; a chart sheet holds the load-deflection chart.
export interface ReportPage {
  number: number;
  lines: ReportLine[];
  chart: boolean;
}

// What the report is built from besides the column: the result fields and the section
// constants of the last run.
export interface ReportInput {
  results: { S: string; required: string; minimum: string };
  section: SectionConstants | null;
  chart: boolean;
  // The last run when it completed: its report adds the refined value and the conclusion.
  command?: "verify" | "design";
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
}
