// What the browser tests and measurements share: the page's server and
// Debian's Chromium, started fresh, with nothing of its own going out.
import { spawn } from "node:child_process";
import { mkdtempSync, rmSync } from "node:fs";
import { tmpdir } from "node:os";
import { join, dirname } from "node:path";
import { fileURLToPath } from "node:url";
import { chromium } from "playwright-core";

const root = join(dirname(fileURLToPath(import.meta.url)), "..", "..");
export const pageDir = process.env.TSIFROLET_WEB_DIR ?? join(root, "build", "web");

// Starts web/serve.py on a free port; resolves to { url, stop }.
export function serve(folder = pageDir) {
  const server = spawn("python3", [join(root, "web", "serve.py"), folder, "0"], {
    stdio: ["ignore", "pipe", "inherit"],
  });
  return new Promise((resolve, reject) => {
    server.on("error", reject);
    server.stdout.on("data", (chunk) => {
      const found = /http:\/\/127\.0\.0\.1:\d+\//.exec(String(chunk));
      if (found) resolve({ url: found[0], stop: () => server.kill() });
    });
  });
}

export const chromiumFlags = [
  "--headless",
  "--no-sandbox",
  "--disable-gpu",
  "--disable-quic",
  "--no-first-run",
  "--disable-background-networking",
  "--disable-component-update",
  "--disable-sync",
];

// A persistent context in a fresh profile folder, so that the service worker
// is kept between reloads; resolves to { context, close }.
export async function launch(options = {}) {
  const profile = mkdtempSync(join(tmpdir(), "tsifrolet-chromium-"));
  const context = await chromium.launchPersistentContext(profile, {
    executablePath: process.env.CHROMIUM ?? "/usr/bin/chromium",
    headless: true,
    args: chromiumFlags,
    viewport: { width: 523, height: 324 },
    ...options,
  });
  return {
    context,
    close: async () => {
      await context.close();
      rmSync(profile, { recursive: true, force: true });
    },
  };
}
