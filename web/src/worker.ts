// The worker that runs VERIFICAR and DIMENSIONAR, and the envelope after them, so the page
// stays responsive during an analysis. It holds its own core; "Cancelar" ends the worker and
// the page starts a fresh one.
import type { Core, EnvelopeOutcome, RunKind, RunOutcome } from "./core-api.js";
import { loadCore } from "./wasm-core.js";

export type ToWorker =
  | { id: number; task: "run"; kind: RunKind; text: string; answers: boolean[] }
  | { id: number; task: "envelope"; kind: RunKind; text: string; caseIndex: number };
export type FromWorker =
  | { type: "progress"; id: number; line: string }
  | { type: "done"; id: number; outcome: RunOutcome | EnvelopeOutcome; ms: number }
  | { type: "failed"; id: number; message: string };

// A design prints thousands of progress lines; the page needs only the latest few per frame.
const kProgressInterval = 40; // ms

// Loaded at once, so that the first run does not wait for the module.
const core: Promise<Core> = loadCore();
core.catch(() => undefined); // reported to the page with the first run

self.onmessage = async (event: MessageEvent<ToWorker>) => {
  const task = event.data;
  const { id, kind, text } = task;
  const post = (message: FromWorker) => (self as unknown as Worker).postMessage(message);
  try {
    const c = await core;
    let last = 0;
    const started = performance.now();
    if (task.task === "envelope") {
      post({ type: "done", id, outcome: c.envelope(text, kind, task.caseIndex), ms: performance.now() - started });
      return;
    }
    const outcome = c.run(kind, text, task.answers, (line) => {
      const now = performance.now();
      if (now - last < kProgressInterval && !line.includes("Iteração")) return;
      last = now;
      post({ type: "progress", id, line });
    });
    post({ type: "done", id, outcome, ms: performance.now() - started });
  } catch (e) {
    post({ type: "failed", id, message: e instanceof Error ? e.message : String(e) });
  }
};
