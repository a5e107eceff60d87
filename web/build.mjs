// Builds the static site into build/web/: the page's bundled modules, its HTML and CSS, the
// core's tarvelo-core.js and .wasm, and the example columns with their list. With --tests,
// bundles the unit tests into build/web-tests/ for node's test runner instead.
import { build } from "esbuild";
import { copyFileSync, existsSync, mkdirSync, readdirSync, readFileSync, rmSync, writeFileSync } from "node:fs";
import { dirname, join, resolve } from "node:path";
import { fileURLToPath } from "node:url";

const here = dirname(fileURLToPath(import.meta.url));
const root = resolve(here, "..");
const args = process.argv.slice(2);
const option = (name, fallback) => {
  const i = args.indexOf(name);
  return i >= 0 ? resolve(args[i + 1]) : fallback;
};

if (args.includes("--tests")) {
  const out = option("--out", join(root, "build", "web-tests"));
  rmSync(out, { recursive: true, force: true });
  const dir = join(here, "tests", "unit");
  const entries = readdirSync(dir).filter((f) => f.endsWith(".test.ts")).map((f) => join(dir, f));
  await build({
    entryPoints: entries,
    outdir: out,
    outExtension: { ".js": ".mjs" },
    bundle: true,
    format: "esm",
    platform: "node",
    target: "node18",
    logLevel: "warning",
  });
  process.exit(0);
}

const out = option("--out", join(root, "build", "web"));
const coreDir = option("--core", join(root, "build", "wasm"));
mkdirSync(out, { recursive: true });

await build({
  entryPoints: { main: join(here, "src", "main.ts"), worker: join(here, "src", "worker.ts") },
  outdir: out,
  bundle: true,
  format: "esm",
  target: "es2022",
  minify: true,
  sourcemap: true,
  logLevel: "warning",
});
for (const file of ["index.html", "style.css", "sw.js"]) copyFileSync(join(here, file), join(out, file));

for (const file of ["tarvelo-core.js", "tarvelo-core.wasm"]) {
  const from = join(coreDir, file);
  if (!existsSync(from)) {
    console.error(`web: ${from} is missing; build the core first (scripts/build wasm)`);
    process.exit(1);
  }
  copyFileSync(from, join(out, file));
}

// The examples one click away: the files themselves and their titles for the list.
const examples = join(root, "examples");
const target = join(out, "examples");
rmSync(target, { recursive: true, force: true });
mkdirSync(target);
const list = [];
for (const file of readdirSync(examples).filter((f) => f.endsWith(".json")).sort()) {
  copyFileSync(join(examples, file), join(target, file));
  const { title = "" } = JSON.parse(readFileSync(join(examples, file), "utf8"));
  list.push({ file, title });
}
writeFileSync(join(target, "index.json"), JSON.stringify(list, null, 1) + "\n");
