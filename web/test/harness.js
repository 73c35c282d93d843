// What the browser tests and measurements share: the page's server, and the
// page served from a copy of build/web with one page of the tests' own beside
// it, frame.html, which shows the page in an iframe of any size (WebKit's
// window cannot be made as narrow as a phone).
import { spawn } from "node:child_process";
import { cpSync, mkdtempSync, rmSync, writeFileSync } from "node:fs";
import { tmpdir } from "node:os";
import { join, dirname } from "node:path";
import { fileURLToPath } from "node:url";

const root = join(dirname(fileURLToPath(import.meta.url)), "..", "..");
export const pageDir = process.env.TSIFROLET_WEB_DIR ?? join(root, "build", "web");
export const singleFile = join(pageDir, "tsifrolet.html");

// Starts web/serve.py on a free port; resolves to { url, stop }.
export function serve(folder = pageDir) {
  const server = spawn("python3", [join(root, "web", "serve.py"), folder, "0"], {
    stdio: ["ignore", "pipe", "inherit"],
  });
  // Not left behind when a run ends early.
  process.on("exit", () => server.kill());
  return new Promise((resolve, reject) => {
    server.on("error", reject);
    server.stdout.on("data", (chunk) => {
      const found = /http:\/\/127\.0\.0\.1:\d+\//.exec(String(chunk));
      if (found) resolve({ url: found[0], stop: () => server.kill() });
    });
  });
}

const frame = `<!doctype html>
<html lang="ru"><meta charset="utf-8"><title>frame</title>
<style>html, body { margin: 0; overflow: hidden } iframe { display: block; border: 0 }</style>
<iframe title="page"></iframe></html>
`;

// The page's folder copied with frame.html beside it; resolves to
// { serve(), remove() }, serve() starting one more server of the copy.
export function servedCopy() {
  const folder = mkdtempSync(join(tmpdir(), "tsifrolet-page-"));
  cpSync(pageDir, folder, { recursive: true });
  writeFileSync(join(folder, "frame.html"), frame);
  return { serve: () => serve(folder), remove: () => rmSync(folder, { recursive: true, force: true }) };
}
