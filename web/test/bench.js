// Measures the page, not a test, in Chromium, Firefox and WebKit: what a first
// visit transfers (each file gzipped, as a web server would send it), and
// the time from navigation to first paint and to ready, beside an empty page
// served the same way, each run with an empty cache and no service worker;
// then the size of the page as one file. The page is also timed as Chrome
// before 114 plays it, whose refusal to compile the quiz on the page's own
// thread sends it to the background. The ratio of ready times is taken
// visit by visit (the page's, then the empty page's) and given as the
// median, smallest and largest; with BENCH_SUMMARY set to a file, each
// engine's ratio is added to it for the table that closes `make bench`.
//
//   node bench.js [RUNS]
import { appendFileSync, cpSync, existsSync, mkdtempSync, readFileSync, rmSync, statSync, writeFileSync } from "node:fs";
import { tmpdir } from "node:os";
import { join } from "node:path";
import { gzipSync } from "node:zlib";
import { chromium } from "playwright-core";
import puppeteer from "puppeteer-core";
import { chromiumFlags, engines as testedEngines } from "./engines.js";
import { playAsTheFloor } from "./floor.js";
import { pageDir, serve, singleFile } from "./harness.js";

const runs = Number(process.argv[2] ?? 31);
const emptyDir = mkdtempSync(join(tmpdir(), "tsifrolet-empty-"));
writeFileSync(join(emptyDir, "index.html"), '<!doctype html><html lang="ru"><title>-</title><p>-</p>');

const median = (values) => [...values].sort((a, b) => a - b)[Math.floor(values.length / 2)];
const spread = (values) => ({ median: median(values), min: Math.min(...values), max: Math.max(...values) });
const gzipped = (file) => gzipSync(readFileSync(file), { level: 9 }).length;

// Run inside the page: the first paint, and the time the page was ready (the
// quiz can be played; the empty page has loaded), with every file it asked for.
const timings = async () => {
  // WebKit reports the first contentful paint alone, where it reports one.
  const paint = await new Promise((resolve) => {
    if (!PerformanceObserver.supportedEntryTypes.includes("paint")) resolve(NaN);
    new PerformanceObserver((list) => resolve(list.getEntries()[0].startTime)).observe({ type: "paint", buffered: true });
  });
  const quiz = document.getElementById("Form1");
  if (quiz)
    await new Promise((resolve) => {
      new PerformanceObserver((list) => list.getEntriesByName("ready").length && resolve()).observe({ type: "mark", buffered: true });
    });
  else if (document.readyState !== "complete") await new Promise((r) => addEventListener("load", r));
  // The load event's end is written once its handlers have run.
  await new Promise((r) => setTimeout(r));
  const ready = quiz
    ? performance.getEntriesByName("ready")[0].startTime
    : performance.getEntriesByType("navigation")[0].loadEventEnd;
  const files = [location.href, ...performance.getEntriesByType("resource").map((entry) => entry.name)];
  // Where the time to ready goes: the navigation's own marks, each phase
  // from the one before. The quiz's script runs as the parser reaches it, at
  // the end of the page, so its ready comes before the parser's own end.
  const navigation = performance.getEntriesByType("navigation")[0];
  const marks = [
    ["request to first byte", navigation.responseStart],
    ["rest of the HTML", navigation.responseEnd],
    ["parsed and run, ready", ready],
  ];
  const phases = marks.map(([name, at], i) => [name, at - (i ? marks[i - 1][1] : 0)]);
  return { firstPaint: paint, ready, files, phases };
};

// The bytes of a first visit: each file the page asked for, from the folder
// it was served from (a browser also asks for a favicon the empty page lacks).
function transferred(files, folder) {
  const names = files
    .map((file) => decodeURIComponent(new URL(file).pathname.slice(1)) || "index.html")
    .filter((name) => existsSync(join(folder, name)));
  return { files: names.length, bytes: names.reduce((sum, name) => sum + gzipped(join(folder, name)), 0) };
}

const engines = {
  async chromium() {
    const browser = await chromium.launch({ executablePath: process.env.CHROMIUM ?? "/usr/bin/chromium", args: chromiumFlags });
    return {
      version: `Chromium ${browser.version()}`,
      async visit(url) {
        const context = await browser.newContext({ viewport: { width: 523, height: 324 }, serviceWorkers: "block" });
        const page = await context.newPage();
        await page.goto(url);
        const result = await page.evaluate(timings);
        await context.close();
        return result;
      },
      close: () => browser.close(),
    };
  },
  async firefox() {
    const browser = await puppeteer.launch({
      browser: "firefox",
      executablePath: process.env.FIREFOX ?? "/usr/bin/firefox-esr",
      headless: true,
      extraPrefsFirefox: { "dom.serviceWorkers.enabled": false },
    });
    return {
      version: `Firefox ${(await browser.version()).replace(/^firefox\//, "")}`,
      async visit(url) {
        const context = await browser.createBrowserContext();
        const page = await context.newPage();
        await page.setViewport({ width: 523, height: 324 });
        await page.goto(url);
        const result = await page.evaluate(timings);
        await context.close();
        return result;
      },
      close: () => browser.close(),
    };
  },
  // Through WebKitWebDriver, a MiniBrowser started for each visit, so that
  // each has an empty cache; the driver waits for the page to load.
  async webkit() {
    const webkit = testedEngines.find((engine) => engine.name === "webkit");
    await webkit.start();
    return {
      get version() {
        return webkit.version;
      },
      async visit(url) {
        const tab = await webkit.open({ width: 523, height: 324 });
        await tab.goto(url);
        const result = await tab.run(timings);
        await tab.close();
        return result;
      },
      close: () => webkit.stop(),
    };
  },
};

const backgroundDir = mkdtempSync(join(tmpdir(), "tsifrolet-background-"));
cpSync(pageDir, backgroundDir, { recursive: true });
playAsTheFloor(backgroundDir, ["compile"]);

const pageServer = await serve();
const emptyServer = await serve(emptyDir);
const backgroundServer = await serve(backgroundDir);
try {
  for (const start of Object.values(engines)) {
    const engine = await start();
    try {
      const results = { page: [], empty: [] };
      const background = [];
      for (let i = 0; i < runs; ++i) {
        results.page.push(await engine.visit(pageServer.url));
        results.empty.push(await engine.visit(emptyServer.url));
        background.push(await engine.visit(backgroundServer.url));
      }
      console.log(`${engine.version}:`);
      for (const [what, list] of Object.entries(results)) {
        const { files, bytes } = transferred(list[0].files, what === "page" ? pageDir : emptyDir);
        const paint = median(list.map((r) => r.firstPaint));
        const ready = median(list.map((r) => r.ready));
        console.log(
          `  ${what.padEnd(5)}: ${files} files, ${bytes} bytes gzip; ` +
            `first paint ${paint.toFixed(1)} ms, ready ${ready.toFixed(1)} ms (median of ${runs})`,
        );
      }
      const late = median(background.map((r) => r.ready));
      const cost = late - median(results.page.map((r) => r.ready));
      console.log(`  compiled in the background, as before Chrome 114: ready ${late.toFixed(1)} ms, ${cost.toFixed(1)} ms later`);
      console.log(`  phases, ms, medians: ${results.page[0].phases.map(([name], p) => {
        const of = (what) => median(results[what].map((r) => r.phases[p][1])).toFixed(1);
        return `${name} ${of("page")} (empty ${of("empty")})`;
      }).join("; ")}`);
      const ratio = spread(results.page.map((r, i) => r.ready / results.empty[i].ready));
      const [m, lo, hi] = [ratio.median, ratio.min, ratio.max].map((x) => x.toFixed(2));
      console.log(`  ready: ${m}x the empty page (${lo}-${hi}; target 1.5x); transferred: target under 150 KB`);
      const engineName = engine.version.split(" ")[0];
      if (process.env.BENCH_SUMMARY) appendFileSync(process.env.BENCH_SUMMARY, `page, ${engineName}\tready\t${m}\t${lo}\t${hi}\t1.5\n`);
    } finally {
      await engine.close();
    }
  }
  console.log(
    `The page as one file: ${statSync(singleFile).size} bytes, ${gzipped(singleFile)} gzip (${singleFile})`,
  );
} finally {
  pageServer.stop();
  emptyServer.stop();
  backgroundServer.stop();
  rmSync(emptyDir, { recursive: true, force: true });
  rmSync(backgroundDir, { recursive: true, force: true });
}
