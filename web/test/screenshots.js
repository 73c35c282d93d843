// Photographs of the page mid-quiz at the window's own size, on a landscape
// laptop and on a portrait tablet, into build/web-screenshots.
import { mkdirSync } from "node:fs";
import { join } from "node:path";
import { launch, serve, pageDir } from "./harness.js";

const outDir = join(pageDir, "..", "web-screenshots");
mkdirSync(outDir, { recursive: true });
const server = await serve();
const browser = await launch();
try {
  for (const [width, height] of [[523, 324], [1280, 800], [800, 1280]]) {
    const page = await browser.context.newPage();
    await page.setViewportSize({ width, height });
    await page.goto(server.url);
    await page.waitForSelector("html[data-ready]");
    await page.click("#Command2");
    await page.fill("#Text1", "12");
    await page.click("#Command3");
    await page.click("#Command2");
    await page.click("#Text1");
    await page.keyboard.type("7");
    const file = join(outDir, `page-${width}x${height}.png`);
    await page.screenshot({ path: file });
    console.log(file);
    await page.close();
  }
} finally {
  await browser.close();
  server.stop();
}
