// The page's side of the worker: sends a run, passes its progress on, and hands back the
// outcome. The questions of the input rules are asked here, between runs: the worker answers
// an unexpected question "Sim" (which ends the run, as the desktop's Yes does); when the user
// says "Não", the run is repeated with that answer given, and goes on past it. A run is
// deterministic, so the repeated run is the run the desktop would have made.
import type { EnvelopeOutcome, MessageBox, RunKind, RunOutcome } from "./core-api.js";
import type { FromWorker, ToWorker } from "./worker.js";

export class Cancelled extends Error {
  constructor() {
    super("Cancelado");
  }
}

interface Pending {
  resolve: (o: RunOutcome | EnvelopeOutcome) => void;
  reject: (e: Error) => void;
  progress: (line: string) => void;
}

export class Runner {
  private worker!: Worker;
  private nextId = 1;
  private pending = new Map<number, Pending>();
  // The time the core took for the last run inside the worker, without the round trip.
  lastCoreMs = 0;

  constructor(private readonly makeWorker: () => Worker) {
    this.start();
  }

  private start(): void {
    this.worker = this.makeWorker();
    this.worker.onmessage = (event: MessageEvent<FromWorker>) => {
      const m = event.data;
      const p = this.pending.get(m.id);
      if (p === undefined) return;
      if (m.type === "progress") {
        p.progress(m.line);
        return;
      }
      this.pending.delete(m.id);
      if (m.type === "done") {
        if ("boxes" in m.outcome) this.lastCoreMs = m.ms;
        p.resolve(m.outcome);
      }
      else p.reject(new Error(m.message));
    };
    this.worker.onerror = (event) => {
      event.preventDefault();
      this.failAll(new Error(event.message || "o núcleo de cálculo não pôde ser carregado"));
    };
  }

  private failAll(error: Error): void {
    const all = [...this.pending.values()];
    this.pending.clear();
    for (const p of all) p.reject(error);
  }

  private send(message: ToWorker, progress: (line: string) => void): Promise<RunOutcome | EnvelopeOutcome> {
    return new Promise((resolve, reject) => {
      this.pending.set(message.id, { resolve, reject, progress });
      this.worker.postMessage(message);
    });
  }

  run(
    kind: RunKind,
    text: string,
    answers: boolean[],
    progress: (line: string) => void,
  ): Promise<RunOutcome> {
    return this.send({ id: this.nextId++, task: "run", kind, text, answers }, progress) as Promise<RunOutcome>;
  }

  envelope(kind: RunKind, text: string, caseIndex: number): Promise<EnvelopeOutcome> {
    const message: ToWorker = { id: this.nextId++, task: "envelope", kind, text, caseIndex };
    return this.send(message, () => undefined) as Promise<EnvelopeOutcome>;
  }

  get busy(): boolean {
    return this.pending.size > 0;
  }

  // Ends the analysis under way: the worker is ended and a fresh one takes its place.
  cancel(): void {
    this.worker.terminate();
    this.failAll(new Cancelled());
    this.start();
  }
}

// Runs until every question the run asks has been answered by the user, showing each box once,
// in the order the desktop shows them. `present` shows a box and resolves with the answer
// (true for a warning's OK).
export async function runAsking(
  exec: (answers: boolean[]) => Promise<RunOutcome>,
  present: (box: MessageBox) => Promise<boolean>,
): Promise<RunOutcome> {
  const answers: boolean[] = [];
  let shown = 0;
  for (;;) {
    const outcome = await exec(answers);
    let asked = 0;
    let open: number | null = null;
    for (let i = 0; i < outcome.boxes.length; i++) {
      if (!outcome.boxes[i].question) continue;
      if (asked === answers.length) {
        open = i;
        break;
      }
      asked += 1;
    }
    const last = open ?? outcome.boxes.length;
    for (; shown < last; shown++) await present(outcome.boxes[shown]);
    if (open === null) return outcome;
    const yes = await present(outcome.boxes[open]);
    shown += 1;
    if (yes) {
      // The run already ended with this Yes, as the desktop's run does.
      for (; shown < outcome.boxes.length; shown++) await present(outcome.boxes[shown]);
      return outcome;
    }
    answers.push(false);
  }
}
