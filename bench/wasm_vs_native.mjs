// The WebAssembly core against the native build on the same columns: the slender-rectangle
// example verified and designed, and a 50 cm circle drawn with 299 vertices verified.
//   node bench/wasm_vs_native.mjs   (after scripts/build wasm and scripts/build release)
// Native: one tarvelo-cli process computing the file N+1 times less one computing it once,
// divided by N, so the process start does not count. Wasm: the module's verify/design in this
// process. Each figure is the median of several rounds.
import { spawnSync } from "node:child_process";
import { mkdtempSync, readFileSync, writeFileSync } from "node:fs";
import { tmpdir } from "node:os";
import { join } from "node:path";
import { performance } from "node:perf_hooks";
import { fileURLToPath } from "node:url";

const root = fileURLToPath(new URL("..", import.meta.url));
const wasmDir = process.env.TARVELO_WASM_DIR ?? join(root, "build/wasm");
const cli = process.env.TARVELO_CLI ?? join(root, "build/release/src/tarvelo-cli");
const rounds = Number(process.env.ROUNDS ?? 7);

const { default: createTarveloCore } = await import(join(wasmDir, "tarvelo-core.js"));
const core = await createTarveloCore({
  wasmBinary: readFileSync(join(wasmDir, "tarvelo-core.wasm")),
});

// A circle of 50 cm as the 299-vertex polygon (the input limit) with 16 bars on a 21 cm ring,
// 5 m, pinned at both ends, axial force with biaxial end moments.
function circle299() {
  const ring = (r, n) =>
    Array.from({ length: n }, (_, i) => {
      const a = (2 * Math.PI * i) / n;
      return [(r * Math.cos(a)).toFixed(6), (r * Math.sin(a)).toFixed(6)];
    });
  return JSON.stringify({
    format: "tarvelo-column", version: 1, title: "Circulo 50 com 299 vertices",
    main: { fck: "25", creepCoefficient: "2.5", fyk: "500", Es: "200", Gamac: "1.4",
            Gamas: "1.15", sectionType: "Polygonal", vertexCount: "299", barCount: "16",
            totalSteelArea: "24" },
    section: { vertices: ring(25, 299), bars: ring(21, 16) },
    loads: { L: "500", Fd: "2000", Mxd_t: "2000", Myd_t: "1000", Mxd_b: "2000",
             baseSupport: "Pinned", topSupport: "Pinned" },
  });
}

const dir = mkdtempSync(join(tmpdir(), "tarvelo-bench-"));
const circleFile = join(dir, "circulo-299.json");
writeFileSync(circleFile, circle299());
const slender = join(root, "examples/retangular-esbelto-biaxial.json");

const median = (xs) => [...xs].sort((a, b) => a - b)[Math.floor(xs.length / 2)];

function nativeMs(command, file, extra) {
  const run = (copies) => {
    const start = performance.now();
    const r = spawnSync(cli, [command, ...Array(copies).fill(file)], { encoding: "utf8" });
    if (r.status !== 0) throw new Error(`${cli} ${command} ${file}: ${r.stderr}`);
    return performance.now() - start;
  };
  const samples = [];
  for (let i = 0; i < rounds; ++i) samples.push((run(extra + 1) - run(1)) / extra);
  return median(samples);
}

function wasmMs(command, file, repeats) {
  const text = readFileSync(file, "utf8");
  const expected = spawnSync(cli, [command, "--json", file], { encoding: "utf8" }).stdout;
  // The same work on both sides: the same steps, trials and results (the curve's last digits may
  // differ with the math library, see tests/wasm/core.test.mjs).
  const outcome = (json) => {
    const { S, reachedStep, requiredSteelArea, minimumSteelArea, trials } = JSON.parse(json);
    return JSON.stringify([S, reachedStep, requiredSteelArea, minimumSteelArea, trials]);
  };
  if (outcome(core[command](text, file)) !== outcome(expected)) {
    throw new Error(`${file}: not the native outcome`);
  }
  const samples = [];
  for (let i = 0; i < rounds; ++i) {
    const start = performance.now();
    for (let k = 0; k < repeats; ++k) core[command](text, file);
    samples.push((performance.now() - start) / repeats);
  }
  return median(samples);
}

const cases = [
  ["retangular-esbelto-biaxial verify", "verify", slender, 20],
  ["retangular-esbelto-biaxial design", "design", slender, 3],
  ["circle 299 vertices verify", "verify", circleFile, 2],
];
console.log("| Run | Native (ms) | Wasm (ms) | Wasm / native |");
console.log("|---|---|---|---|");
for (const [name, command, file, repeats] of cases) {
  const n = nativeMs(command, file, repeats);
  const w = wasmMs(command, file, repeats);
  console.log(`| ${name} | ${n.toFixed(1)} | ${w.toFixed(1)} | ${(w / n).toFixed(2)} |`);
}
const wasmBytes = readFileSync(join(wasmDir, "tarvelo-core.wasm")).length;
console.log(`\ntarvelo-core.wasm: ${(wasmBytes / 1024).toFixed(0)} kB`);
