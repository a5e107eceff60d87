// A core for the page's unit tests: it keeps the interface's contract (texts in, texts out,
// questions answered in order and "Sim" beyond the answers given) without any engineering.
import type { ColumnFile, Core, FieldInfo, MessageBox, ReadResult, RunKind, RunOutcome } from "../../src/core-api.js";

export interface ScriptedRule {
  text: string;
  question: boolean;
}

export const kFakeFields: FieldInfo[] = [
  { widget: "fckField", group: "main", key: "fck", caption: "fck (MPa)=", maxLength: 2, filter: "decimal", perCase: false },
  { widget: "barCountField", group: "main", key: "barCount", caption: "Número de barras de aço=", maxLength: 3, filter: "digit", perCase: false },
  { widget: "circleCoverField", group: "section.CircularSolid", key: "cover", caption: "d'", maxLength: 6, filter: "decimal", perCase: false },
  { widget: "mxdTopField", group: "loads", key: "Mxd_t", caption: "Mxd,t (kN cm) =", maxLength: 8, filter: "signedDecimal", perCase: true },
];

export const kFakeCaseKeys = ["Mxd_t"];

export function freshColumn(): ColumnFile {
  return {
    format: "tarvelo-column",
    version: 1,
    title: "",
    main: { fck: "20", barCount: "", sectionType: "RectangularSolid" },
    section: { CircularSolid: { cover: "" }, vertices: [], bars: [] },
    loads: { Mxd_t: "", baseSupport: "Pinned", topSupport: "Pinned" },
  };
}

export class FakeCore implements Core {
  runs = 0;
  constructor(private readonly rules: ScriptedRule[] = []) {}

  fieldTable(): FieldInfo[] {
    return kFakeFields;
  }
  newColumn(): ColumnFile {
    return freshColumn();
  }
  readColumnFile(text: string, name: string): ReadResult {
    try {
      const column = JSON.parse(text) as ColumnFile;
      if (column.format !== "tarvelo-column") return { error: `${name}: format: não é um arquivo de pilar` };
      return { column };
    } catch {
      return { error: `${name}: linha 1, coluna 1: JSON inválido` };
    }
  }
  formatColumnFile(column: ColumnFile): string {
    return JSON.stringify(column, null, 1) + "\n";
  }
  // Each rule shows its box in order; a question answered "Sim" ends the run.
  run(kind: RunKind, _text: string, answers: boolean[], progress: (line: string) => void): RunOutcome {
    this.runs += 1;
    const boxes: MessageBox[] = [];
    let asked = 0;
    for (const rule of this.rules) {
      const answer = rule.question ? (answers[asked++] ?? true) : false;
      boxes.push({ title: "TARVELO", text: rule.text, question: rule.question, answer });
      if (rule.question && answer) {
        return { result: { file: "", command: kind, status: "ended" }, boxes, focus: "fckField", governingLabel: "", fields: {} };
      }
    }
    progress("  Etapa de carga =  1");
    return {
      result: { file: "", command: kind, status: "completed", S: "1.5", reachedStep: 75, curve: [[0, 0]] },
      boxes,
      focus: "",
      governingLabel: "",
      fields: { S: "1.5" },
    };
  }
  section(): ReturnType<Core["section"]> {
    return { outline: [[0, 0], [20, 0], [20, 40], [0, 40], [0, 0]], bars: [], messages: [], focus: "" };
  }
  readLoadCases(): ReturnType<Core["readLoadCases"]> {
    return { error: "sem leitor de planilhas" };
  }
  envelope(): ReturnType<Core["envelope"]> {
    throw new Error("sem envoltória");
  }
  report(): ReturnType<Core["report"]> {
    return [{ number: 1, lines: [{ text: "TARVELO", bold: true }], chart: false }];
  }
}
