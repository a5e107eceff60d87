// Questions asked between runs, the progress bar and the chart's numbers.
import assert from "node:assert/strict";
import { test } from "node:test";
import { runAsking } from "../../src/bridge.js";
import { axisRange, chartPoints, pointsCsv, roundTicks } from "../../src/chart.js";
import type { MessageBox } from "../../src/core-api.js";
import { describeProgress, readProgressLine } from "../../src/progress.js";
import { FakeCore, type ScriptedRule } from "./fake-core.js";

test("every box is shown once, in order, and each answer is the one the run goes on with", async () => {
  const w1 = { text: "aviso 1", question: false };
  const q1 = { text: "pergunta 1", question: true };
  const w2 = { text: "aviso 2", question: false };
  const q2 = { text: "pergunta 2", question: true };
  const cases: { rules: ScriptedRule[]; replies: boolean[]; status: string; runs: number }[] = [
    { rules: [w1, w2], replies: [], status: "completed", runs: 1 },
    { rules: [w1, q1, w2, q2], replies: [false, false], status: "completed", runs: 3 },
    { rules: [w1, q1, w2, q2], replies: [false, true], status: "ended", runs: 2 },
    { rules: [q1, w2, q2], replies: [true], status: "ended", runs: 1 },
  ];
  for (const c of cases) {
    const core = new FakeCore(c.rules);
    const shown: MessageBox[] = [];
    const replies = [...c.replies];
    const outcome = await runAsking(
      async (answers) => core.run("verify", "", answers, () => undefined),
      async (box) => {
        shown.push(box);
        return box.question ? (replies.shift() as boolean) : true;
      },
    );
    const name = c.rules.map((r) => r.text).join(", ") + ` / ${c.replies}`;
    assert.equal(outcome.result.status, c.status, name);
    assert.equal(core.runs, c.runs, name);
    assert.equal(replies.length, 0, `${name}: every question asked`);
    assert.deepEqual(shown.map((b) => b.text), outcome.boxes.map((b) => b.text), name);
    assert.deepEqual(outcome.boxes.filter((b) => b.question).map((b) => b.answer), c.replies, name);
  }
});

test("progress lines move the bar through the trials and load steps", () => {
  let p = { trial: 0, step: 0 };
  for (const line of ["  Iteração =  3", "  Etapa de carga =  120", "ruído"]) p = readProgressLine(line, p);
  assert.deepEqual(p, { trial: 3, step: 120 });
  assert.equal(describeProgress(p), "Iteração 3 · Etapa de carga 120 de 500");
  assert.deepEqual(readProgressLine("  Iteração =  4", p), { trial: 4, step: 0 });
});

test("chart axes hold every point on round values, and the points file holds the drawn rows", () => {
  const spans: [number, number][] = [[0, 36.7], [0, 1234], [-2.5, 0.004], [7, 7], [0, 0]];
  for (const [lo, hi] of spans) {
    const r = axisRange(lo, hi);
    assert.ok(r.min <= lo && r.max >= hi && r.max > r.min, `${lo}..${hi}`);
    const { values } = roundTicks(r);
    assert.ok(values.length >= 3 && values.length <= 12, `${lo}..${hi}: ${values}`);
    assert.ok(values.every((v) => v >= r.min - 1e-9 && v <= r.max + 1e-9), `${lo}..${hi}`);
  }
  const curve: [number, number][] = Array.from({ length: 501 }, (_, i) => [i / 10, 3 * i]);
  assert.equal(chartPoints(curve, 500).length, 500);
  assert.equal(chartPoints(curve.slice(0, 67), 67).length, 67);
  assert.equal(
    pointsCsv([[0, 0], [0.07101128978087988, 36]], true),
    "Flecha no topo (mm),Força normal (kN)\n0,0\n0.07101128978087988,36\n",
  );
});
