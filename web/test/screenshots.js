// Photographs of the page mid-quiz in Chromium, Firefox and WebKit, on a
// small and a common phone held upright, a phone turned round, and a tablet
// both ways, into build/web-screenshots/ENGINE-WIDTHxHEIGHT.png.
import { mkdirSync, writeFileSync } from "node:fs";
import { join } from "node:path";
import { engines } from "./engines.js";
import { pageDir, servedCopy } from "./harness.js";

const sizes = [[320, 480], [390, 844], [844, 390], [800, 1280], [1280, 800]];
const outDir = join(pageDir, "..", "web-screenshots");
mkdirSync(outDir, { recursive: true });
const copy = servedCopy();
const server = await copy.serve();
try {
  for (const engine of engines) {
    await engine.start();
    try {
      for (const [width, height] of sizes) {
        const tab = await engine.open({ width, height });
        await tab.goto(server.url);
        await tab.waitFor(() => document.documentElement.dataset.ready);
        await tab.click("Command2");
        await tab.type("12");
        await tab.click("Command3");
        await tab.click("Command2");
        await tab.type("7");
        await tab.run(() => document.fonts.ready.then(() => new Promise(requestAnimationFrame)));
        const file = join(outDir, `${engine.name}-${width}x${height}.png`);
        writeFileSync(file, await tab.screenshot());
        console.log(file);
        await tab.close();
      }
    } finally {
      await engine.stop();
    }
  }
} finally {
  server.stop();
  copy.remove();
}
