// The three browser engines the page is tested in, behind one small interface,
// so that one list of cases runs in each:
//
// - Chromium (Debian's), driven by playwright-core;
// - Firefox ESR (Debian's), driven by puppeteer-core over WebDriver BiDi;
// - WebKit (Debian's WebKitGTK), its MiniBrowser driven by WebKitWebDriver
//   on a private X server (tests/support/x_server.sh), through plain W3C
//   WebDriver calls.
//
// engine.open({ width, height, touch }) gives a Tab: a fresh page with a
// viewport of exactly that size, on which a case loads a page, reads it by
// script, and presses, taps and types with the engine's own input events.
// Every console error, uncaught exception and failed load on it is kept in
// tab.errors.
import { spawn } from "node:child_process";
import { mkdtempSync, rmSync } from "node:fs";
import { createServer } from "node:net";
import { tmpdir } from "node:os";
import { dirname, join } from "node:path";
import { fileURLToPath } from "node:url";
import { chromium as playwrightChromium } from "playwright-core";
import puppeteer from "puppeteer-core";
import { crop, decodePng, encodePng } from "./png.js";

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

// A function and its arguments as one expression for the page to evaluate.
const call = (fn, args) => `(${fn})(...${JSON.stringify(args)})`;

// What every engine's tab does alike, on top of its own few primitives:
// evaluate(expression), pointer(x, y, touch), keys(list), and screenshot(),
// a PNG of the viewport.
class Tab {
  errors = [];

  run(fn, ...args) {
    return this.evaluate(call(fn, args));
  }

  async waitFor(fn, ...args) {
    for (const start = Date.now(); Date.now() - start < 10000; ) {
      const value = await this.run(fn, ...args).catch(() => undefined);
      if (value) return value;
      await new Promise((resolve) => setTimeout(resolve, 20));
    }
    throw new Error(`timed out waiting for ${fn}`);
  }

  // The centre of a control as drawn.
  async centre(id) {
    return this.run((id) => {
      const box = document.getElementById(id).getBoundingClientRect();
      return [box.x + box.width / 2, box.y + box.height / 2];
    }, id);
  }

  async click(id) {
    const [x, y] = await this.centre(id);
    await this.pointer(x, y, false);
  }

  async tap(id) {
    const [x, y] = await this.centre(id);
    await this.pointer(x, y, true);
  }

  tapAt(x, y) {
    return this.pointer(x, y, true);
  }

  type(text) {
    return this.keys([...text]);
  }

  // "Enter", "Escape", "Tab" or "Space".
  press(key) {
    return this.keys([key]);
  }

  // The colours on screen, of the viewport or of one element: cut from the
  // viewport, as WebKit's pictures of one element come out black.
  async pixels(id) {
    const image = decodePng(await this.screenshot());
    if (!id) return image;
    const box = await this.run((id) => {
      const { x, y, width, height } = document.getElementById(id).getBoundingClientRect();
      return { x: Math.round(x), y: Math.round(y), width: Math.round(width), height: Math.round(height) };
    }, id);
    return crop(image, box);
  }
}

// A page driven by playwright or puppeteer, whose pages read alike.
class DrivenTab extends Tab {
  constructor(context, page, keyNames = {}) {
    super();
    this.context = context;
    this.keyNames = keyNames;
    this.watch(page);
  }
  watch(page) {
    this.page = page;
    page.on("console", (message) => message.type() === "error" && this.errors.push(message.text()));
    page.on("pageerror", (error) => this.errors.push(String(error)));
    page.on("requestfailed", (request) => this.errors.push(`${request.url()}: ${request.failure()?.errorText}`));
  }
  async goto(url) {
    await this.page.goto(url);
  }
  // The page closed, and opened again in a new tab of the same browser.
  async reopen(url) {
    const page = await this.context.newPage();
    await this.page.close();
    this.watch(page);
    await this.resize(this.size.width, this.size.height);
    await this.goto(url);
  }
  async reload() {
    await this.page.reload();
  }
  evaluate(expression) {
    return this.page.evaluate(expression);
  }
  pointer(x, y, touch) {
    return touch ? this.page.touchscreen.tap(x, y) : this.page.mouse.click(x, y);
  }
  async keys(list) {
    for (const key of list) await this.page.keyboard.press(this.keyNames[key] ?? key);
  }
  async screenshot() {
    return Buffer.from(await this.page.screenshot());
  }
}

// ---------------------------------------------------------------- Chromium

class ChromiumTab extends DrivenTab {
  constructor(context, page) {
    super(context, page, { " ": "Space" });
  }
  // Chromium lets a closed page's service worker go a moment later, and
  // hands over to a worker waiting behind it a moment after that; a page
  // opened before then is still the old worker's. Both are waited for, as
  // the workers themselves see them.
  async reopen(url) {
    const origin = new URL(url).origin;
    const held = () =>
      Promise.all(
        this.context
          .serviceWorkers()
          .filter((worker) => worker.url().startsWith(origin))
          .map((worker) =>
            worker
              .evaluate(() => clients.matchAll().then((list) => list.length > 0 || registration.waiting !== null))
              .catch(() => false),
          ),
      ).then((answers) => answers.includes(true));
    const page = await this.context.newPage();
    await this.page.close();
    for (const start = Date.now(); Date.now() - start < 5000 && (await held()); )
      await new Promise((resolve) => setTimeout(resolve, 20));
    this.watch(page);
    await this.resize(this.size.width, this.size.height);
    await this.goto(url);
  }
  runFirst(fn) {
    return this.page.addInitScript(fn);
  }
  resize(width, height) {
    this.size = { width, height };
    return this.page.setViewportSize({ width, height });
  }
  close() {
    return this.page.close();
  }
}

// A browser with a profile of its own for the tabs with a mouse, and one
// for those with a touch screen, each kept for all its tabs: a private
// window could not be installed as an app, and a browser started for each
// tab would cost seconds.
const chromium = {
  name: "chromium",
  canRunFirst: true,
  browsers: new Map(),
  start() {},
  async browserFor(touch) {
    if (!this.browsers.has(touch)) {
      const profile = mkdtempSync(join(tmpdir(), "tsifrolet-chromium-"));
      const context = await playwrightChromium.launchPersistentContext(profile, {
        executablePath: process.env.CHROMIUM ?? "/usr/bin/chromium",
        args: chromiumFlags,
        hasTouch: touch,
        isMobile: touch,
      });
      const cdp = await context.newCDPSession(context.pages()[0]);
      this.version = `Chromium ${(await cdp.send("Browser.getVersion")).product.replace(/^[^/]*\//, "")}`;
      this.browsers.set(touch, { context, profile });
    }
    return this.browsers.get(touch).context;
  },
  async open({ width, height, touch = false }) {
    const context = await this.browserFor(touch);
    const tab = new ChromiumTab(context, await context.newPage());
    await tab.resize(width, height);
    return tab;
  },
  async stop() {
    for (const { context, profile } of this.browsers.values()) {
      await context.close();
      rmSync(profile, { recursive: true, force: true });
    }
    this.browsers.clear();
  },
};

// ----------------------------------------------------------------- Firefox

class FirefoxTab extends DrivenTab {
  constructor(context, page) {
    super(context, page, { Space: " " });
  }
  runFirst(fn) {
    return this.page.evaluateOnNewDocument(fn);
  }
  resize(width, height) {
    this.size = { width, height };
    return this.page.setViewport({ width, height, hasTouch: this.touch });
  }
  close() {
    return this.context.close();
  }
}

const firefox = {
  name: "firefox",
  canRunFirst: true,
  async start() {
    this.browser = await puppeteer.launch({
      browser: "firefox",
      executablePath: process.env.FIREFOX ?? "/usr/bin/firefox-esr",
      headless: true,
      protocol: "webDriverBiDi",
    });
    this.version = `Firefox ${(await this.browser.version()).replace(/^firefox\//, "")}`;
  },
  async open({ width, height, touch = false }) {
    const context = await this.browser.createBrowserContext();
    const page = await context.newPage();
    const tab = new FirefoxTab(context, page);
    tab.touch = touch;
    await tab.resize(width, height);
    return tab;
  },
  stop() {
    return this.browser?.close();
  },
};

// ------------------------------------------------------------------ WebKit

const freePort = () =>
  new Promise((resolve, reject) => {
    const server = createServer();
    server.on("error", reject);
    server.listen(0, "127.0.0.1", () => {
      const { port } = server.address();
      server.close(() => resolve(port));
    });
  });

const webdriverKeys = { Enter: "\uE007", Escape: "\uE00C", Tab: "\uE004", Space: " " };

// MiniBrowser's window is never narrower than this; a narrower viewport is
// an iframe of that size in a page of the same origin.
export const webkitNarrowest = 447;

// WebKit's driver keeps no console log, so errors are caught from the first
// script run on each page: what goes wrong before it leaves the page unready.
const catchErrors = () => {
  if (window.seenErrors) return;
  window.seenErrors = [];
  const error = console.error.bind(console);
  console.error = (...args) => {
    window.seenErrors.push(args.join(" "));
    error(...args);
  };
  addEventListener("error", (event) => window.seenErrors.push(event.message ?? `failed to load ${event.target.src ?? event.target.href}`), true);
  addEventListener("unhandledrejection", (event) => window.seenErrors.push(String(event.reason)));
};

class WebKitTab extends Tab {
  constructor(driver, session, { width, height }) {
    super();
    this.driver = driver;
    this.session = session;
    this.size = { width, height };
  }
  command(method, path, body) {
    return this.driver.command(method, `/session/${this.session}${path}`, body);
  }
  get framed() {
    return this.size.width < webkitNarrowest;
  }
  async goto(url) {
    await this.keepErrors();
    if (!this.framed) {
      await this.command("POST", "/url", { url });
    } else {
      await this.command("POST", "/frame/parent", {});
      await this.command("POST", "/url", { url: new URL("frame.html", url).href });
      await this.evaluate(call((url) => (document.querySelector("iframe").src = url), [url]));
      await this.resize(this.size.width, this.size.height);
      await this.waitFor(() => location.href !== "about:blank" && document.readyState === "complete");
    }
    await this.evaluate(call(catchErrors, []));
  }
  // The page closed, and opened again in a new window of the same browser.
  async reopen(url) {
    if (this.framed) throw new Error("a framed page is not reopened");
    await this.keepErrors();
    const { handle } = await this.command("POST", "/window/new", { type: "tab" });
    await this.command("DELETE", "/window");
    await this.command("POST", "/window", { handle });
    await this.resize(this.size.width, this.size.height);
    await this.goto(url);
  }
  async reload() {
    if (this.framed) throw new Error("a framed page is not reloaded");
    await this.keepErrors();
    await this.command("POST", "/refresh", {});
    await this.evaluate(call(catchErrors, []));
  }
  async keepErrors() {
    const seen = await this.evaluate("window.seenErrors ?? []").catch(() => []);
    this.errors.push(...seen);
  }
  async evaluate(expression) {
    return this.command("POST", "/execute/sync", { script: `return ${expression};`, args: [] });
  }
  async pointer(x, y, touch) {
    const type = "pointer";
    const actions = [
      { type: "pointerMove", x: Math.round(x), y: Math.round(y), origin: "viewport" },
      { type: "pointerDown", button: 0 },
      { type: "pointerUp", button: 0 },
    ];
    await this.command("POST", "/actions", {
      actions: [{ type, id: touch ? "finger" : "mouse", parameters: { pointerType: touch ? "touch" : "mouse" }, actions }],
    });
  }
  async keys(list) {
    const actions = list.flatMap((key) => {
      const value = webdriverKeys[key] ?? key;
      return [{ type: "keyDown", value }, { type: "keyUp", value }];
    });
    await this.command("POST", "/actions", { actions: [{ type: "key", id: "keyboard", actions }] });
  }
  async resize(width, height) {
    this.size = { width, height };
    if (!this.framed) return this.fitWindow(width, height);
    await this.command("POST", "/frame/parent", {});
    await this.fitWindow(webkitNarrowest, height);
    await this.evaluate(
      call((w, h) => Object.assign(document.querySelector("iframe").style, { width: `${w}px`, height: `${h}px` }), [width, height]),
    );
    const frame = await this.command("POST", "/element", { using: "css selector", value: "iframe" });
    await this.command("POST", "/frame", { id: frame });
  }
  // The top-level viewport made exactly this size; the window's frame takes
  // room of its own, measured as it goes. The driver can answer before the
  // window has taken its new size, and the frame's own parts can be laid out
  // a moment after the window: each measure waits for the sizes to hold
  // still for 50 ms, and what was measured is told if it never fits.
  async fitWindow(width, height) {
    const seen = [];
    for (let tries = 0; tries < 5; ++tries) {
      const [innerWidth, innerHeight, outerWidth, outerHeight] = await this.steadySizes();
      seen.push(`${innerWidth}x${innerHeight} in ${outerWidth}x${outerHeight}`);
      if (innerWidth === width && innerHeight === height) return;
      await this.command("POST", "/window/rect", {
        width: width + outerWidth - innerWidth,
        height: height + outerHeight - innerHeight,
      });
    }
    throw new Error(`WebKit's viewport cannot be ${width}x${height}; it measured ${seen.join(", then ")}`);
  }
  // The viewport's and the window's sizes once they read the same twice,
  // 50 ms apart. Just after a navigation they can read as nought, or the
  // inner ones as larger than the window, for a moment.
  steadySizes() {
    return this.waitFor(
      () =>
        new Promise((answer) => {
          const read = () => [innerWidth, innerHeight, outerWidth, outerHeight];
          const before = read();
          setTimeout(() => {
            const after = read();
            const valid = after.every((size) => size > 0) && after[2] >= after[0] && after[3] >= after[1];
            answer(valid && after.every((size, i) => size === before[i]) && after);
          }, 50);
        }),
    );
  }
  // The window's viewport; a framed page's is the iframe in its top-left
  // corner, cut from it. WebKit's picture is of the last frame it drew, so a
  // change made just now is drawn first.
  async screenshot() {
    await this.run(() => new Promise((drawn) => requestAnimationFrame(() => requestAnimationFrame(drawn))));
    const png = Buffer.from(await this.command("GET", "/screenshot"), "base64");
    if (!this.framed) return png;
    return encodePng(crop(decodePng(png), { x: 0, y: 0, ...this.size }));
  }
  async close() {
    await this.keepErrors();
    await this.command("DELETE", "");
  }
}

const webkit = {
  name: "webkit",
  canRunFirst: false,
  // The driver on an X server of its own, big enough for a 1280x1280
  // viewport; the helper ends the server when the driver ends. The helper,
  // the server and the driver's browsers are one process group, ended as one.
  async start() {
    const port = await freePort();
    const xServer = join(dirname(fileURLToPath(import.meta.url)), "..", "..", "tests", "support", "x_server.sh");
    const driver = process.env.WEBKIT_WEBDRIVER ?? "WebKitWebDriver";
    this.process = spawn(xServer, ["1600x1600", "96", "--", driver, `--port=${port}`], { stdio: "ignore", detached: true });
    const group = -this.process.pid;
    this.end = () => {
      try {
        process.kill(group);
      } catch {
        // Already ended.
      }
    };
    process.on("exit", this.end);
    this.base = `http://127.0.0.1:${port}`;
    await this.waitUntilUp();
  },
  async waitUntilUp() {
    for (const start = Date.now(); Date.now() - start < 10000; ) {
      if (await fetch(`${this.base}/status`).then((r) => r.ok, () => false)) return;
      await new Promise((resolve) => setTimeout(resolve, 50));
    }
    throw new Error("WebKitWebDriver did not start");
  },
  async command(method, path, body, signal) {
    const response = await fetch(this.base + path, {
      method,
      headers: { "content-type": "application/json" },
      body: body && JSON.stringify(body),
      signal,
    });
    const { value } = await response.json();
    if (value?.error) throw new Error(`WebDriver ${method} ${path}: ${value.error}: ${value.message}`);
    return value;
  },
  // One session at a time: each tab is a session of its own.
  // Now and then MiniBrowser starts but never answers the driver, and the
  // session would hang until the HTTP client's five-minute limit: a session
  // that has not begun within 30 s is taken as a launch that failed, and the
  // driver and its browser are started afresh, once.
  async open(size) {
    try {
      return await this.openSession(size);
    } catch (error) {
      if (error.name !== "TimeoutError") throw error;
      this.end();
      await this.start();
      return this.openSession(size);
    }
  },
  async openSession(size) {
    const { sessionId, capabilities } = await this.command("POST", "/session", {
      capabilities: {
        alwaysMatch: {
          "webkitgtk:browserOptions": {
            binary: process.env.MINIBROWSER ?? "/usr/lib/x86_64-linux-gnu/webkit2gtk-4.1/MiniBrowser",
            args: ["--automation"],
          },
        },
      },
    }, AbortSignal.timeout(30000));
    this.version = `WebKitGTK ${capabilities.browserVersion}`;
    const tab = new WebKitTab(this, sessionId, size);
    // The driver holds one session at a time: one that could not be made
    // ready is ended here, or every later test would be refused.
    if (!tab.framed) await tab.resize(size.width, size.height).catch(async (error) => {
      await tab.command("DELETE", "").catch(() => {});
      throw error;
    });
    return tab;
  },
  async stop() {
    this.end?.();
  },
};

export const engines = [chromium, firefox, webkit].filter(
  (engine) => !process.env.ENGINES || process.env.ENGINES.split(",").includes(engine.name),
);
