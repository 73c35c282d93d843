// The web page in Debian's Chromium: played by clicks and typing as a child
// would, with the verdict's colour read from the screen.
import assert from "node:assert/strict";
import { after, before, test } from "node:test";
import { decodePng } from "./png.js";
import { launch, serve } from "./harness.js";
import { closingText, learner, said } from "./learner.js";

let server;
let browser;
before(async () => {
  server = await serve();
  browser = await launch();
});
after(async () => {
  await browser?.close();
  server?.stop();
});

// A fresh page, ready to play; every console error or uncaught exception on
// it fails the test that opened it. An init script runs before the page's own.
async function openPage(t, { initScript } = {}) {
  const page = await browser.context.newPage();
  if (initScript) await page.addInitScript(initScript);
  const errors = [];
  page.on("console", (message) => message.type() === "error" && errors.push(message.text()));
  page.on("pageerror", (error) => errors.push(String(error)));
  page.on("requestfailed", (request) => errors.push(`${request.url()}: ${request.failure()?.errorText}`));
  await page.goto(server.url);
  await page.waitForSelector("html[data-ready]");
  // The answer field takes the focus as the page is first drawn.
  await page.evaluate(() => new Promise(requestAnimationFrame));
  t.after(async () => {
    await page.close();
    assert.deepEqual(errors, [], "console errors");
  });
  return page;
}

const text = (page, id) => page.textContent(`#${id} .text`);
const number = async (page, id) => Number(await text(page, id));

// Typed where the caret is: after any click on a button, in the answer field.
async function answer(page, typed) {
  assert.equal(await page.evaluate(() => document.activeElement.id), "Text1", "the caret is in the field");
  await page.keyboard.type(typed);
}

async function product(page) {
  return (await number(page, "Label1")) * (await number(page, "Label2"));
}

async function factors(page) {
  return { first: await number(page, "Label1"), second: await number(page, "Label2") };
}

const announced = (page) => page.textContent("#announcer");

// Pixels of the verdict that are clearly red, and clearly black.
async function verdictInk(page) {
  const { colours } = decodePng(await page.locator("#Label5").screenshot());
  const red = colours.filter(([r, g, b]) => r > 170 && g < 90 && b < 90).length;
  const black = colours.filter(([r, g, b]) => r < 60 && g < 60 && b < 60).length;
  return { red, black };
}

// Plays problems up to 20, leaving the field empty for the first `empty`
// problems (each costs an error) and answering the rest right.
async function playToTheEnd(page, empty) {
  for (let n = Number((await text(page, "Label9")) || 0); n < 20; ) {
    await page.click("#Command2");
    n = await number(page, "Label9");
    if (n > empty) await answer(page, String(await product(page)));
  }
  await page.click("#Command2");
}

async function closingMessage(page) {
  const dialog = page.locator("#message");
  await dialog.waitFor({ state: "visible" });
  return {
    modal: await dialog.evaluate((d) => d.matches(":modal")),
    title: await page.textContent("#message-title"),
    text: await page.textContent("#message-text"),
    buttons: await dialog.locator("button").allTextContents(),
    icon: await dialog.locator("svg.question").isVisible(),
  };
}

test("a whole quiz by clicks and typing", async (t) => {
  const page = await openPage(t);
  assert.equal(await page.evaluate(() => document.activeElement.id), "Text1", "focus starts in the answer field");
  assert.equal(await page.isHidden("#credit"), true);

  await page.click("#Command2");
  assert.equal(await text(page, "Label9"), "1");
  const credit = await page.locator("#credit").boundingBox();
  assert.deepEqual([credit.x.toFixed(2), credit.y.toFixed(2)], ["383.33", "303.33"], "credit line at (5750, 4550) twips");
  assert.equal(await page.textContent("#credit"), "Цифролёт, с любовью");
  assert.equal(await announced(page), said("said.problem", await factors(page)));
  assert.equal(await page.textContent("#Text1-about"), said("said.problem", await factors(page)));

  await answer(page, String(await product(page)));
  await page.click("#Command3");
  assert.equal(await text(page, "Label5"), learner["verdict.right"]);
  assert.equal(await announced(page), said("said.right"));
  let ink = await verdictInk(page);
  assert.ok(ink.black > 20 && ink.red === 0, `"Верно" in black: ${JSON.stringify(ink)}`);

  await page.click("#Command2");
  assert.equal(await text(page, "Label5"), "", "a new problem clears the verdict");
  await answer(page, String((await product(page)) + 1));
  await page.click("#Command3");
  assert.equal(await announced(page), said("said.wrong", { errors: 1 }));
  await page.click("#Command3");
  assert.equal(await text(page, "Label5"), learner["verdict.wrong"]);
  assert.equal(await text(page, "Label10"), "1", "a problem is checked once only");
  ink = await verdictInk(page);
  assert.ok(ink.red > 20 && ink.black === 0, `"Ошибка" in red: ${JSON.stringify(ink)}`);

  // Enter presses nothing; a typed answer left unchecked costs nothing.
  await page.click("#Command2");
  await answer(page, String(await product(page)));
  await page.keyboard.press("Enter");
  assert.equal(await text(page, "Label5"), "");
  await page.click("#Command2");
  assert.equal(await text(page, "Label10"), "1");

  // An empty field costs an error when the next problem is asked for.
  await page.click("#Command2");
  assert.equal(await text(page, "Label10"), "2");
  assert.equal(await text(page, "Label9"), "5");
  assert.equal(await announced(page), said("said.problem.after.penalty", { ...(await factors(page)), errors: 2 }));

  await playToTheEnd(page, 0);
  assert.deepEqual(await closingMessage(page), {
    modal: true,
    title: learner["closing.title"],
    text: closingText(2),
    buttons: [learner["closing.ok"]],
    icon: true,
  });
  await page.click("#message-ok");
  assert.equal(await page.isVisible("#message"), false);
  assert.equal(await page.evaluate(() => document.activeElement.id), "Text1", "the caret is back in the field");
  await page.click("#Command2");
  assert.equal((await closingMessage(page)).title, learner["closing.title"], "each later click shows it again");
  await page.click("#message-ok");
});

test("the three closing texts", async (t) => {
  const most = Number(learner["closing.few.most"]);
  for (const errors of [0, most, most + 1]) {
    const page = await openPage(t);
    await playToTheEnd(page, errors);
    assert.equal(await number(page, "Label10"), errors);
    assert.equal((await closingMessage(page)).text, closingText(errors));
  }
});

test("Tab goes field, Пример, Да, Выход; Enter and Escape press no button", async (t) => {
  const page = await openPage(t);
  const order = [];
  for (let i = 0; i < 4; ++i) {
    order.push(await page.evaluate(() => document.activeElement.textContent || document.activeElement.id));
    await page.keyboard.press("Tab");
  }
  assert.deepEqual(order, ["Text1", "Пример", "Да", "Выход"]);

  await page.focus("#Command2");
  for (const key of ["Enter", "Escape"]) {
    await page.keyboard.press(key);
    assert.equal(await text(page, "Label9"), "", `${key} on a button`);
  }
  await page.keyboard.press("Space");
  assert.equal(await text(page, "Label9"), "1", "the space bar presses it");
  assert.equal(await page.evaluate(() => document.activeElement.id), "Text1", "and the caret goes to the field");
  assert.equal(await page.textContent("#Text1-about"), said("said.problem", await factors(page)));
});

test("Выход ends the quiz on the page", async (t) => {
  const page = await openPage(t);
  await page.click("#Command2");
  await page.click("#Command4");
  assert.equal(await page.isVisible("#ended"), true);
  for (const id of ["Text1", "Command2", "Command3", "Command4"])
    assert.equal(await page.isDisabled(`#${id}`), true, id);
  assert.equal(await announced(page), said("said.ended"));
});

// A phone: taps play the quiz with the caret kept in the field, so the
// keypad, once up, stays up; and with the keypad taking half the screen the
// problem and the field are still in sight.
test("on a phone, taps keep the caret in the field and the keypad hides nothing", async () => {
  const phone = await launch({ viewport: { width: 390, height: 844 }, isMobile: true, hasTouch: true });
  try {
    const page = await phone.context.newPage();
    await page.goto(server.url);
    await page.waitForSelector("html[data-ready]");
    await page.tap("#Text1");
    for (let n = 1; n <= 3; ++n) {
      await page.tap("#Command2");
      await answer(page, String(await product(page)));
      await page.tap("#Command3");
      assert.equal(await text(page, "Label5"), learner["verdict.right"]);
    }
    await page.setViewportSize({ width: 390, height: 420 });
    await page.evaluate(() => new Promise(requestAnimationFrame));
    for (const id of ["Label1", "Label2", "Text1"]) {
      const box = await page.locator(`#${id}`).boundingBox();
      const inSight = box.x >= 0 && box.y >= 0 && box.x + box.width <= 390 && box.y + box.height <= 420;
      assert.ok(inSight, `${id} in sight: ${JSON.stringify(box)}`);
    }
  } finally {
    await phone.close();
  }
});

async function untilServiceWorkerControls(page) {
  await page.evaluate(() => navigator.serviceWorker.ready);
  await page.waitForFunction(() => navigator.serviceWorker.controller !== null);
}

test("after one visit the page plays offline", async (t) => {
  const page = await openPage(t);
  await untilServiceWorkerControls(page);
  await browser.context.setOffline(true);
  t.after(() => browser.context.setOffline(false));
  await page.reload();
  await page.waitForSelector("html[data-ready]");
  await page.click("#Command2");
  assert.equal(await text(page, "Label9"), "1");
  assert.equal(await page.evaluate(() => document.fonts.check("700 16px 'Liberation Sans Page'")), true);
});

test("the page can be installed as an app", async (t) => {
  const page = await openPage(t);
  await untilServiceWorkerControls(page);
  const cdp = await page.context().newCDPSession(page);
  const { errors, manifest } = await cdp.send("Page.getAppManifest");
  assert.deepEqual(errors, [], "the manifest parses");
  assert.equal(manifest.name, "Цифролёт");
  assert.equal(manifest.display, "kStandalone");
  assert.equal(manifest.startUrl, server.url);
  assert.ok(
    manifest.icons.some((icon) => icon.type === "image/svg+xml" && icon.sizes === "0x0"),
    `an icon for any size: ${JSON.stringify(manifest.icons)}`,
  );
  // Chromium's own verdict: icons fetched, start page and scope, and so on.
  assert.deepEqual((await cdp.send("Page.getInstallabilityErrors")).installabilityErrors, []);
});

// The form's box on screen: it fits the viewport, fills it one way, and keeps
// the window's proportions.
async function assertFitsAsOne(page, width, height) {
  const box = await page.locator("#Form1").boundingBox();
  const label = `${width}x${height}: ${JSON.stringify(box)}`;
  assert.ok(box.width <= width + 0.5 && box.height <= height + 0.5, `fits, ${label}`);
  assert.ok(Math.abs(box.width - width) < 0.5 || Math.abs(box.height - height) < 0.5, `fills, ${label}`);
  assert.ok(Math.abs(box.width / box.height - 523 / 324) < 0.005, `keeps 523:324, ${label}`);
}

test("the window scales as one by style sheet, and by script where CSS cannot divide lengths", async (t) => {
  const noLengthDivision = () => {
    CSS.supports = () => false;
  };
  for (const initScript of [undefined, noLengthDivision]) {
    const page = await openPage(t, { initScript });
    const scaledByScript = await page.evaluate(() => document.documentElement.style.getPropertyValue("--scale") !== "");
    assert.equal(scaledByScript, initScript !== undefined);
    // Turned round, as a tablet is: the script fits the page again.
    for (const [width, height] of [[1280, 800], [800, 1280]]) {
      await page.setViewportSize({ width, height });
      await page.waitForFunction(([w, h]) => innerWidth === w && innerHeight === h, [width, height]);
      // The resize event comes in the next frame, before its animation frames.
      await page.evaluate(() => new Promise(requestAnimationFrame));
      await assertFitsAsOne(page, width, height);
    }
  }
});
