// The WebAssembly module seen through the page's Core interface. The module speaks the core's
// own formats (column-file texts, the command line's JSON, the report's lines) as JSON texts;
// this file only parses them, so the numbers, messages and bytes are the core's.
import type {
  CasesRead,
  ColumnFile,
  Core,
  EnvelopeOutcome,
  FieldInfo,
  ReadResult,
  ReportInput,
  ReportPage,
  RunKind,
  RunOutcome,
  SectionOutcome,
} from "./core-api.js";

// The embind functions of tarvelo-core.js that the page calls; each answers with one JSON text.
export interface TarveloModule {
  fieldTable(): string;
  pageReadColumnFile(text: string, name: string): string;
  pageRun(kind: string, text: string, answers: string, progress: (line: string) => void): string;
  pageSection(text: string): string;
  pageReport(text: string, input: string): string;
  pageReadLoadCases(text: string, name: string): string;
  pageEnvelope(text: string, options: string): string;
}

// An envelope as the module gives it: the command line's JSON as text, and what the page adds.
type RawEnvelope = Omit<EnvelopeOutcome, "result"> & { json: string };

function envelopeOutcome(raw: RawEnvelope): EnvelopeOutcome {
  const { json, ...rest } = raw;
  return { ...rest, result: JSON.parse(json) } as EnvelopeOutcome;
}

const kEmptyFile = '{"format": "tarvelo-column", "version": 1}';

export function adaptModule(m: TarveloModule): Core {
  // The core's own bytes of a column file, or its message.
  const read = (text: string, name: string): { text: string } | { error: string } =>
    JSON.parse(m.pageReadColumnFile(text, name)) as { text: string } | { error: string };
  const column = (text: string, name: string): ReadResult => {
    const r = read(text, name);
    return "error" in r ? r : { column: JSON.parse(r.text) as ColumnFile };
  };
  const bytes = (text: string): string => {
    const r = read(text, "");
    if ("error" in r) throw new Error(r.error);
    return r.text;
  };
  return {
    fieldTable: () => JSON.parse(m.fieldTable()) as FieldInfo[],
    newColumn: () => JSON.parse(bytes(kEmptyFile)) as ColumnFile,
    readColumnFile: column,
    formatColumnFile: (c: ColumnFile) => bytes(JSON.stringify(c)),
    run: (kind: RunKind, text: string, answers: boolean[], progress: (line: string) => void) => {
      const outcome = JSON.parse(m.pageRun(kind, text, JSON.stringify(answers), progress)) as Omit<
        RunOutcome,
        "result"
      > & { json: string };
      const { json, ...rest } = outcome;
      return { ...rest, result: JSON.parse(json) } as RunOutcome;
    },
    section: (text: string) => JSON.parse(m.pageSection(text)) as SectionOutcome,
    report: (text: string, input: ReportInput) =>
      (JSON.parse(m.pageReport(text, JSON.stringify(input))) as (ReportPage & { envelope?: RawEnvelope })[]).map((page) =>
        page.envelope === undefined ? page : { ...page, envelope: envelopeOutcome(page.envelope) },
      ),
    readLoadCases: (text: string, name: string) => JSON.parse(m.pageReadLoadCases(text, name)) as CasesRead,
    envelope: (text: string, source: RunKind, caseIndex: number) =>
      envelopeOutcome(JSON.parse(m.pageEnvelope(text, JSON.stringify({ source, case: caseIndex }))) as RawEnvelope),
  };
}

// Loads tarvelo-core.js and its .wasm from beside the page's scripts.
export async function loadCore(): Promise<Core> {
  const url = new URL("./tarvelo-core.js", import.meta.url).href;
  const { default: create } = (await import(url)) as {
    default: () => Promise<TarveloModule>;
  };
  return adaptModule(await create());
}
