// The run's progress lines ("  Iteração =  3", "  Etapa de carga =  120") as a position for the
// progress bar: the design trial and the load step of the analysis under way.
export const kLoadSteps = 500;

export interface Progress {
  trial: number; // 0 for a verification
  step: number;
}

export function readProgressLine(line: string, previous: Progress): Progress {
  const match = /^\s*(Iteração|Etapa de carga)\s*=\s*(\d+)\s*$/.exec(line);
  if (match === null) return previous;
  const value = Number(match[2]);
  return match[1] === "Iteração" ? { trial: value, step: 0 } : { ...previous, step: value };
}

export function describeProgress(p: Progress): string {
  const step = `Etapa de carga ${p.step} de ${kLoadSteps}`;
  return p.trial > 0 ? `Iteração ${p.trial} · ${step}` : step;
}
