// The worker that runs VERIFICAR and DIMENSIONAR, so the page stays responsive during an
// analysis. It holds its own core; "Cancelar" ends the worker and the page starts a fresh one.
import type { Core, RunKind } from "./core-api.js";
import { loadCore } from "./wasm-core.js";

export type ToWorker = { id: number; kind: RunKind; text: string; answers: boolean[] };
export type FromWorker =
  | { type: "progress"; id: number; line: string }
  | { type: "done"; id: number; outcome: ReturnType<Core["run"]>; ms: number }
  | { type: "failed"; id: number; message: string };

// A design prints thousands of progress lines; the page needs only the latest few per frame.
const kProgressInterval = 40; // ms

// Loaded at once, so that the first run does not wait for the module.
const core: Promise<Core> = loadCore();
core.catch(() => undefined); // reported to the page with the first run

self.onmessage = async (event: MessageEvent<ToWorker>) => {
  const { id, kind, text, answers } = event.data;
  const post = (message: FromWorker) => (self as unknown as Worker).postMessage(message);
  try {
    const c = await core;
    let last = 0;
    const started = performance.now();
    const outcome = c.run(kind, text, answers, (line) => {
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
