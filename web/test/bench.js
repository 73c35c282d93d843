// Measures the page, not a test: what it transfers (each response gzipped,
// as a web server would send it) and the time from navigation to first paint
// and to ready, beside an empty page served the same way, in headless
// Chromium with an empty cache each run.
//
//   node bench.js [RUNS]
import { mkdtempSync, rmSync, writeFileSync } from "node:fs";
import { tmpdir } from "node:os";
import { join } from "node:path";
import { gzipSync } from "node:zlib";
import { chromium } from "playwright-core";
import { chromiumFlags, serve } from "./harness.js";

const runs = Number(process.argv[2] ?? 15);
const emptyDir = mkdtempSync(join(tmpdir(), "tsifrolet-empty-"));
writeFileSync(join(emptyDir, "index.html"), '<!doctype html><html lang="ru"><title>-</title><p>-</p>');

const median = (values) => [...values].sort((a, b) => a - b)[Math.floor(values.length / 2)];

async function measure(browser, url, readyScript) {
  const context = await browser.newContext({ viewport: { width: 523, height: 324 }, serviceWorkers: "block" });
  const page = await context.newPage();
  const bodies = [];
  page.on("response", async (response) => {
    try {
      bodies.push({ url: response.url(), body: await response.body() });
    } catch {
      // a response without a body
    }
  });
  await page.goto(url);
  const times = await page.evaluate(readyScript);
  await page.waitForTimeout(50);
  await context.close();
  const bytes = bodies.reduce((sum, { body }) => sum + gzipSync(body, { level: 9 }).length, 0);
  return { ...times, bytes, files: bodies.length };
}

// Run inside the page: both wait for the first paint to be recorded; the page
// is ready when its quiz can be played, the empty page when it has loaded.
const pageReady = async () => {
  const paint = await new Promise((resolve) =>
    new PerformanceObserver((list) => resolve(list.getEntries()[0].startTime)).observe({ type: "paint", buffered: true }),
  );
  while (!document.documentElement.dataset.ready) await new Promise((r) => setTimeout(r, 5));
  return { firstPaint: paint, ready: performance.getEntriesByName("ready")[0].startTime };
};
const emptyReady = async () => {
  const paint = await new Promise((resolve) =>
    new PerformanceObserver((list) => resolve(list.getEntries()[0].startTime)).observe({ type: "paint", buffered: true }),
  );
  if (document.readyState !== "complete") await new Promise((r) => addEventListener("load", r));
  await new Promise((r) => setTimeout(r));
  return { firstPaint: paint, ready: performance.getEntriesByType("navigation")[0].loadEventEnd };
};

const pageServer = await serve();
const emptyServer = await serve(emptyDir);
const browser = await chromium.launch({ executablePath: process.env.CHROMIUM ?? "/usr/bin/chromium", args: chromiumFlags });
try {
  const results = { page: [], empty: [] };
  for (let i = 0; i < runs; ++i) {
    results.page.push(await measure(browser, pageServer.url, pageReady));
    results.empty.push(await measure(browser, emptyServer.url, emptyReady));
  }
  for (const [name, list] of Object.entries(results)) {
    const paint = median(list.map((r) => r.firstPaint));
    const ready = median(list.map((r) => r.ready));
    console.log(
      `${name.padEnd(5)}: ${list[0].files} files, ${list[0].bytes} bytes gzip; ` +
        `first paint ${paint.toFixed(1)} ms, ready ${ready.toFixed(1)} ms (median of ${runs})`,
    );
  }
  const ratio = median(results.page.map((r) => r.ready)) / median(results.empty.map((r) => r.ready));
  console.log(`ready: ${ratio.toFixed(2)}x the empty page (target 1.5x); transferred: target under 150 KB`);
} finally {
  await browser.close();
  pageServer.stop();
  emptyServer.stop();
  rmSync(emptyDir, { recursive: true, force: true });
}
