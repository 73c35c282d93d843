// What the browser tests and measurements share: the page's server, and the
// page served from a copy of build/web with one page of the tests' own beside
// it, frame.html, which shows the page in an iframe of any size (WebKit's
// window cannot be made as narrow as a phone).
import { spawn, spawnSync } from "node:child_process";
import { cpSync, mkdtempSync, rmSync, writeFileSync } from "node:fs";
import { tmpdir } from "node:os";
import { join, dirname } from "node:path";
import { fileURLToPath } from "node:url";

const root = join(dirname(fileURLToPath(import.meta.url)), "..", "..");
export const pageDir = process.env.TSIFROLET_WEB_DIR ?? join(root, "build", "web");
export const singleFile = join(pageDir, "tsifrolet.html");

// Starts web/serve.py on a free port, or on this one; resolves to
// { url, port, stop }.
export function serve(folder = pageDir, port = 0) {
  const server = spawn("python3", [join(root, "web", "serve.py"), folder, String(port)], {
    stdio: ["ignore", "pipe", "inherit"],
  });
  // Not left behind when a run ends early.
  process.on("exit", () => server.kill());
  return new Promise((resolve, reject) => {
    server.on("error", reject);
    server.stdout.on("data", (chunk) => {
      const found = /http:\/\/127\.0\.0\.1:(\d+)\//.exec(String(chunk));
      if (found) resolve({ url: found[0], port: Number(found[1]), stop: () => server.kill() });
    });
  });
}

const frame = `<!doctype html>
<html lang="ru"><meta charset="utf-8"><title>frame</title>
<style>html, body { margin: 0; overflow: hidden } iframe { display: block; border: 0 }</style>
<iframe title="page"></iframe></html>
`;

// The page's folder copied with frame.html beside it; gives
// { folder, serve(port), remove() }, serve() starting one more server of the copy.
export function servedCopy(from = pageDir) {
  const folder = mkdtempSync(join(tmpdir(), "tsifrolet-page-"));
  cpSync(from, folder, { recursive: true });
  writeFileSync(join(folder, "frame.html"), frame);
  return { folder, serve: (port) => serve(folder, port), remove: () => rmSync(folder, { recursive: true, force: true }) };
}

// Another build of the page, written by the page builder of the WebAssembly
// build from copies of the page's sources and pictures, which `change` is
// given to alter first: { web, assets }. Gives { folder, remove() }.
export function rebuilt(change) {
  const wasmBuild = process.env.TSIFROLET_WASM_BUILD ?? join(root, "build", "wasm");
  const scratch = mkdtempSync(join(tmpdir(), "tsifrolet-build-"));
  const web = join(scratch, "web");
  const assets = join(scratch, "assets");
  const folder = join(scratch, "page");
  for (const file of ["index.html.in", "page.css", "app.js", "sw.js.in"]) cpSync(join(root, "web", file), join(web, file));
  cpSync(join(root, "assets"), assets, { recursive: true });
  change({ web, assets });
  const builder = join(wasmBuild, "host", "web", "page_builder");
  const args = [web, assets, join(wasmBuild, "web", "fonts"), join(wasmBuild, "web", "quiz.wasm"), folder];
  const { status } = spawnSync(builder, args, { stdio: "inherit" });
  if (status !== 0) throw new Error(`${builder} failed`);
  return { folder, remove: () => rmSync(scratch, { recursive: true, force: true }) };
}
