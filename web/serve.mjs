// A static file server for the site in build/web/, with the types a module script and a
// WebAssembly file need. `node web/serve.mjs build/web 8080`; the browser tests start it on a
// free port through serveSite().
import { createServer } from "node:http";
import { readFile } from "node:fs/promises";
import { extname, join, normalize, resolve, sep } from "node:path";
import { pathToFileURL } from "node:url";

const kTypes = {
  ".html": "text/html; charset=utf-8",
  ".js": "text/javascript; charset=utf-8",
  ".mjs": "text/javascript; charset=utf-8",
  ".css": "text/css; charset=utf-8",
  ".json": "application/json; charset=utf-8",
  ".wasm": "application/wasm",
  ".map": "application/json; charset=utf-8",
  ".png": "image/png",
  ".svg": "image/svg+xml",
};

export function serveSite(dir, port = 0, host = "127.0.0.1") {
  const root = resolve(dir);
  const server = createServer(async (request, response) => {
    const path = decodeURIComponent(new URL(request.url ?? "/", "http://localhost").pathname);
    const file = normalize(join(root, path.endsWith("/") ? `${path}index.html` : path));
    if (file !== root && !file.startsWith(root + sep)) {
      response.writeHead(403).end();
      return;
    }
    try {
      const body = await readFile(file);
      response.writeHead(200, {
        "Content-Type": kTypes[extname(file)] ?? "application/octet-stream",
        "Cache-Control": "no-cache",
      });
      response.end(body);
    } catch {
      response.writeHead(404, { "Content-Type": "text/plain; charset=utf-8" }).end("não encontrado");
    }
  });
  return new Promise((done) => server.listen(port, host, () => done(server)));
}

if (import.meta.url === pathToFileURL(process.argv[1]).href) {
  const [dir = "build/web", port = "8080"] = process.argv.slice(2);
  const server = await serveSite(dir, Number(port));
  console.log(`TARVELO: http://127.0.0.1:${server.address().port}/`);
}
