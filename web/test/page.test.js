// The web page in Chromium, Firefox and WebKit: one list of cases, run in
// each engine. The page is played by clicks, taps and typing as a child
// would, on a laptop's screen and a phone's, served and opened from disk; the
// verdict's colour is read from the screen.
import assert from "node:assert/strict";
import { pathToFileURL } from "node:url";
import { after, before, describe, test } from "node:test";
import { engines, webkitNarrowest } from "./engines.js";
import { copyFileSync, cpSync, appendFileSync, readdirSync, statSync, utimesSync } from "node:fs";
import { join } from "node:path";
import { rebuilt, servedCopy, singleFile } from "./harness.js";
import { closingText, learner, said } from "./learner.js";
import { playAsTheFloor } from "./floor.js";

let copy;
let server;
before(async () => {
  copy = servedCopy();
  server = await copy.serve();
});
after(() => {
  server?.stop();
  copy?.remove();
});

const phone = { width: 390, height: 844, touch: true };
// A phone's viewport once its keypad is up, taking half the screen.
const phoneWithKeypad = { width: 390, height: 420 };

// A fresh page, ready to play; every console error or uncaught exception on
// it fails the test that opened it, when the test is over or the page is
// done with (WebKit can have only one page open).
async function openPage(t, engine, { url = server.url, width = 523, height = 324, touch, runFirst, autofocus = true } = {}) {
  const tab = await engine.open({ width, height, touch });
  let open = true;
  tab.done = async () => {
    if (!open) return;
    open = false;
    await tab.close();
    assert.deepEqual(tab.errors, [], "console errors");
  };
  t.after(() => tab.done());
  if (runFirst) await tab.runFirst(runFirst);
  await tab.goto(url);
  await tab.waitFor(() => document.documentElement.dataset.ready);
  // The answer field takes the focus as the page is first drawn.
  if (autofocus) await tab.waitFor(() => document.activeElement?.id === "Text1");
  return tab;
}

// What the learner sees and hears, read in one go.
const shown = (tab) =>
  tab.run(() => {
    const text = (id) => document.querySelector(`#${id} .text`).textContent;
    return {
      first: text("Label1"),
      second: text("Label2"),
      verdict: text("Label5"),
      number: text("Label9"),
      errors: text("Label10"),
      focused: document.activeElement?.id,
      announced: document.getElementById("announcer").textContent,
      about: document.getElementById("Text1-about").textContent,
    };
  });

const factorsOf = ({ first, second }) => ({ first: Number(first), second: Number(second) });
const productOf = (now) => Number(now.first) * Number(now.second);

// Typed where the caret is: after any click or tap on a button, in the field.
async function answer(tab, typed) {
  assert.equal((await shown(tab)).focused, "Text1", "the caret is in the field");
  await tab.type(typed);
}

// Pixels of the verdict that are clearly red, and clearly black.
async function verdictInk(tab) {
  const { colours } = await tab.pixels("Label5");
  const red = colours.filter(([r, g, b]) => r > 170 && g < 90 && b < 90).length;
  const black = colours.filter(([r, g, b]) => r < 60 && g < 60 && b < 60).length;
  return { red, black };
}

// Plays problems up to 20 with clicks or taps, leaving the field empty for
// the first `empty` problems (each costs an error) and answering the rest right.
async function playToTheEnd(tab, empty, press = "click") {
  for (let n = Number((await shown(tab)).number || 0); n < 20; ) {
    await tab[press]("Command2");
    const now = await shown(tab);
    n = Number(now.number);
    if (n > empty) await answer(tab, String(productOf(now)));
  }
  await tab[press]("Command2");
}

async function closingMessage(tab) {
  await tab.waitFor(() => document.getElementById("message").open);
  return tab.run(() => {
    const dialog = document.getElementById("message");
    const box = dialog.getBoundingClientRect();
    return {
      modal: dialog.matches(":modal"),
      title: document.getElementById("message-title").textContent,
      text: document.getElementById("message-text").textContent,
      buttons: [...dialog.querySelectorAll("button")].map((button) => button.textContent),
      icon: dialog.querySelector("svg.question").getBoundingClientRect().width > 0,
      inSight: box.left >= 0 && box.top >= 0 && box.right <= innerWidth && box.bottom <= innerHeight,
    };
  });
}

// The page reloaded and ready, as a learner's next visit.
async function visit(tab) {
  await tab.reload();
  await tab.waitFor(() => document.documentElement.dataset.ready);
}

const colourDistance = (a, b) => a.reduce((sum, value, i) => sum + Math.abs(value - b[i]), 0);

// Which build the page is: the mark its style sheet sets, and the mean
// colour of the kitten's picture once it is drawn over the form's green.
async function buildShown(tab) {
  const mark = await tab.run(() => getComputedStyle(document.documentElement).getPropertyValue("--build").trim());
  const green = [0, 192, 0];
  for (let tries = 0; ; ++tries) {
    const { colours } = await tab.pixels("Image3");
    const picture = [0, 1, 2].map((k) => Math.round(colours.reduce((sum, c) => sum + c[k], 0) / colours.length));
    if (colourDistance(picture, green) > 60) return { mark, picture };
    if (tries === 50) throw new Error(`the picture is not drawn: ${picture}`);
  }
}

// The worker keeps the visits after the one that registers it.
async function untilServiceWorkerControls(tab) {
  await tab.run(() => navigator.serviceWorker.ready.then(() => true));
  await visit(tab);
  await tab.waitFor(() => navigator.serviceWorker.controller !== null);
}

// The bytes of a file beside the page, as the page is given it now.
const fileSize = (tab, name) => tab.run((name) => fetch(name).then((r) => r.arrayBuffer()).then((bytes) => bytes.byteLength), name);

// The form's box on screen, and the viewport's.
const formBox = (tab) =>
  tab.run(() => {
    const { x, y, width, height } = document.getElementById("Form1").getBoundingClientRect();
    return { x, y, width, height, viewport: [innerWidth, innerHeight] };
  });

// Once the viewport is this size, the form fills it one way: run in the page.
const formFits = ({ width, height }) => {
  const box = document.getElementById("Form1").getBoundingClientRect();
  const fills = Math.abs(box.width - width) < 0.5 || Math.abs(box.height - height) < 0.5;
  const centred = Math.abs(box.x * 2 + box.width - width) < 1 && Math.abs(box.y * 2 + box.height - height) < 1;
  return innerWidth === width && innerHeight === height && fills && centred;
};

// It fits the viewport, fills it one way, is centred both ways and keeps the
// window's proportions.
async function assertFitsAsOne(tab) {
  const box = await formBox(tab);
  const [width, height] = box.viewport;
  const label = `${width}x${height}: ${JSON.stringify(box)}`;
  assert.ok(box.width <= width + 0.5 && box.height <= height + 0.5, `fits, ${label}`);
  assert.ok(Math.abs(box.width - width) < 0.5 || Math.abs(box.height - height) < 0.5, `fills, ${label}`);
  assert.ok(Math.abs(box.x * 2 + box.width - width) < 1 && Math.abs(box.y * 2 + box.height - height) < 1, `centred, ${label}`);
  assert.ok(Math.abs(box.width / box.height - 523 / 324) < 0.005, `keeps 523:324, ${label}`);
}

// Where a finger presses each control, measured by the engine's own hit
// testing from the centre of what is drawn out to the area's edges, to a
// sixteenth of a pixel; and whether the whole rectangle between those edges
// presses it, so that it neither has holes nor reaches into another's. A
// tap on a label for the control reaches the control.
const measureHitAreas = (ids) =>
  ids.map((id) => {
    const drawn = document.getElementById(id).getBoundingClientRect();
    const hits = (x, y) => {
      const hit = document.elementFromPoint(x, y);
      return hit?.id === id || hit?.htmlFor === id;
    };
    const cx = drawn.x + drawn.width / 2;
    const cy = drawn.y + drawn.height / 2;
    const edge = (inside, outside, at) => {
      if (at(outside)) return outside;
      while (Math.abs(outside - inside) > 1 / 16) {
        const middle = (inside + outside) / 2;
        if (at(middle)) inside = middle;
        else outside = middle;
      }
      return inside;
    };
    const left = edge(cx, 0, (x) => hits(x, cy));
    const right = edge(cx, innerWidth - 1, (x) => hits(x, cy));
    const top = edge(cy, 0, (y) => hits(cx, y));
    const bottom = edge(cy, innerHeight - 1, (y) => hits(cx, y));
    let whole = true;
    for (let x = left; x <= right; x += 1) for (let y = top; y <= bottom; y += 1) whole &&= hits(x, y);
    const holdsDrawn = left <= drawn.left + 1 && right >= drawn.right - 1 && top <= drawn.top + 1 && bottom >= drawn.bottom - 1;
    return { id, left, top, width: right - left, height: bottom - top, whole, holdsDrawn };
  });

const inputs = ["Text1", "Command2", "Command3", "Command4"];

// A finger's area: whole, around what is drawn, at least 44x44 where
// measured on a phone 390 pixels wide.
function assertFingerSized(area) {
  assert.ok(area.whole && area.holdsDrawn, `${area.id}: ${JSON.stringify(area)}`);
  assert.ok(area.width >= 44 - 1 / 2 && area.height >= 44 - 1 / 2, `${area.id} at least 44x44: ${JSON.stringify(area)}`);
}
const sizeOf = (area) => `${area.id} ${area.width.toFixed(1)}x${area.height.toFixed(1)}`;

const cases = [
  {
    name: "a whole quiz by clicks and typing",
    async run(t, engine) {
      const tab = await openPage(t, engine);
      let now = await shown(tab);
      assert.equal(now.focused, "Text1", "focus starts in the answer field");
      assert.equal(await tab.run(() => document.getElementById("credit").hidden), true);

      await tab.click("Command2");
      now = await shown(tab);
      assert.equal(now.number, "1");
      const credit = await tab.run(() => {
        const box = document.getElementById("credit").getBoundingClientRect();
        const form = document.getElementById("Form1").getBoundingClientRect();
        return { x: box.x - form.x, y: box.y - form.y, text: document.getElementById("credit").textContent };
      });
      assert.deepEqual([credit.x.toFixed(1), credit.y.toFixed(1)], ["383.3", "303.3"], "credit line at (5750, 4550) twips");
      assert.equal(credit.text, "Цифролёт, с любовью");
      assert.equal(now.announced, said("said.problem", factorsOf(now)));
      assert.equal(now.about, said("said.problem", factorsOf(now)));

      await answer(tab, String(productOf(now)));
      await tab.click("Command3");
      now = await shown(tab);
      assert.equal(now.verdict, learner["verdict.right"]);
      assert.equal(now.announced, said("said.right"));
      let ink = await verdictInk(tab);
      assert.ok(ink.black > 20 && ink.red === 0, `"Верно" in black: ${JSON.stringify(ink)}`);

      await tab.click("Command2");
      now = await shown(tab);
      assert.equal(now.verdict, "", "a new problem clears the verdict");
      await answer(tab, String(productOf(now) + 1));
      await tab.click("Command3");
      assert.equal((await shown(tab)).announced, said("said.wrong", { errors: 1 }));
      await tab.click("Command3");
      now = await shown(tab);
      assert.equal(now.verdict, learner["verdict.wrong"]);
      assert.equal(now.errors, "1", "a problem is checked once only");
      ink = await verdictInk(tab);
      assert.ok(ink.red > 20 && ink.black === 0, `"Ошибка" in red: ${JSON.stringify(ink)}`);

      // Enter presses nothing; a typed answer left unchecked costs nothing.
      await tab.click("Command2");
      await answer(tab, String(productOf(await shown(tab))));
      await tab.press("Enter");
      assert.equal((await shown(tab)).verdict, "");
      await tab.click("Command2");
      assert.equal((await shown(tab)).errors, "1");

      // An empty field costs an error when the next problem is asked for.
      await tab.click("Command2");
      now = await shown(tab);
      assert.equal(now.errors, "2");
      assert.equal(now.number, "5");
      assert.equal(now.announced, said("said.problem.after.penalty", { ...factorsOf(now), errors: 2 }));

      await playToTheEnd(tab, 0);
      const closing = await closingMessage(tab);
      assert.deepEqual(closing, {
        modal: true,
        title: learner["closing.title"],
        text: closingText(2),
        buttons: [learner["closing.ok"]],
        icon: true,
        inSight: true,
      });
      await tab.click("message-ok");
      assert.equal(await tab.run(() => document.getElementById("message").open), false);
      assert.equal((await shown(tab)).focused, "Text1", "the caret is back in the field");
      await tab.click("Command2");
      assert.equal((await closingMessage(tab)).title, learner["closing.title"], "each later click shows it again");
      await tab.click("message-ok");
    },
  },
  {
    name: "the three closing texts",
    async run(t, engine) {
      const most = Number(learner["closing.few.most"]);
      for (const errors of [0, most, most + 1]) {
        const tab = await openPage(t, engine);
        await playToTheEnd(tab, errors);
        assert.equal(Number((await shown(tab)).errors), errors);
        assert.equal((await closingMessage(tab)).text, closingText(errors));
        await tab.done();
      }
    },
  },
  {
    name: "Tab goes field, Пример, Да, Выход; Enter and Escape press no button",
    async run(t, engine) {
      const tab = await openPage(t, engine);
      // Three presses: a fourth would leave the page for the browser's own
      // controls, which keep the keys from then on.
      const focused = () => tab.run(() => document.activeElement.textContent || document.activeElement.id);
      const order = [await focused()];
      for (let i = 0; i < 3; ++i) {
        await tab.press("Tab");
        order.push(await focused());
      }
      assert.deepEqual(order, ["Text1", "Пример", "Да", "Выход"]);

      // A button may be pressed a moment after the key goes up, so the space
      // bar's press is waited for: had Enter or Escape pressed it too, this
      // would be a later problem than the first.
      await tab.run(() => document.getElementById("Command2").focus());
      for (const key of ["Enter", "Escape", "Space"]) await tab.press(key);
      await tab.waitFor(() => document.querySelector("#Label9 .text").textContent);
      const now = await shown(tab);
      assert.equal(now.number, "1", "the space bar presses it, Enter and Escape do not");
      assert.equal(now.focused, "Text1", "and the caret goes to the field");
      assert.equal(now.about, said("said.problem", factorsOf(now)));
    },
  },
  {
    // The rule the window draws it by too: 2 pixels wide, 2 inside the
    // button's edge, in the buttons' black.
    name: "the button Tab brings the focus to wears a solid dark frame just inside its edge",
    async run(t, engine) {
      const tab = await openPage(t, engine);
      await tab.press("Tab");
      assert.equal((await shown(tab)).focused, "Command2");
      // WebKit's window on its own X server never has the system's focus, so
      // nothing there matches :focus.
      if (!(await tab.run(() => document.hasFocus()))) return t.skip("the window does not have the focus");
      const { width, colours } = await tab.pixels();
      const box = await tab.run(() => {
        const { left, top, right, bottom } = document.getElementById("Command2").getBoundingClientRect();
        return { left, top, right, bottom };
      });
      const [x0, y0, x1, y1] = [box.left, box.top, box.right - 1, box.bottom - 1].map(Math.round);
      const black = ([r, g, b]) => r < 40 && g < 40 && b < 40;
      const at = (x, y) => colours[y * width + x];
      const [cx, cy] = [Math.round((x0 + x1) / 2), Math.round((y0 + y1) / 2)];
      const row = [];
      for (let from = 0; from <= 4; ++from)
        row.push([at(x0 + from, cy), at(x1 - from, cy), at(cx, y0 + from), at(cx, y1 - from)].every(black));
      assert.deepEqual(row, [false, false, true, true, false], "from each edge: the edge, a gap, the mark, the face");
    },
  },
  {
    name: "Выход ends the quiz on the page",
    async run(t, engine) {
      const tab = await openPage(t, engine);
      await tab.click("Command2");
      await tab.click("Command4");
      const ended = await tab.run(() => ({
        shown: !document.getElementById("ended").hidden,
        disabled: ["Text1", "Command2", "Command3", "Command4"].filter((id) => document.getElementById(id).disabled),
      }));
      assert.deepEqual(ended, { shown: true, disabled: ["Text1", "Command2", "Command3", "Command4"] });
      assert.equal((await shown(tab)).announced, said("said.ended"));
    },
  },
  {
    // Taps play a whole quiz with the caret kept in the field, so that the
    // keypad, once up, stays up; and with the keypad taking half the screen
    // the problem, the field and the counts are still in sight.
    name: "on a phone, taps play a whole quiz, the caret stays in the field and the keypad hides nothing",
    async run(t, engine) {
      const tab = await openPage(t, engine, phone);
      await tab.tap("Text1");
      for (let n = 1; n <= 3; ++n) {
        await tab.tap("Command2");
        await answer(tab, String(productOf(await shown(tab))));
        await tab.tap("Command3");
        assert.equal((await shown(tab)).verdict, learner["verdict.right"]);
      }
      await tab.resize(phoneWithKeypad.width, phoneWithKeypad.height);
      await tab.waitFor(formFits, phoneWithKeypad);
      const boxes = await tab.run(() =>
        ["Label1", "Label2", "Text1", "Label9", "Label10"].map((id) => {
          const { x, y, right, bottom } = document.getElementById(id).getBoundingClientRect();
          return { id, inSight: x >= 0 && y >= 0 && right <= innerWidth && bottom <= innerHeight };
        }),
      );
      for (const { id, inSight } of boxes) assert.ok(inSight, `${id} in sight`);
      // The keypad goes down for the closing box, whose «ОК» a finger
      // presses from its area's corner.
      await tab.resize(phone.width, phone.height);
      await tab.waitFor(formFits, phone);
      await playToTheEnd(tab, 0, "tap");
      const closing = await closingMessage(tab);
      assert.equal(closing.text, closingText(0));
      assert.ok(closing.inSight, "the closing message in sight");
      const [ok] = await tab.run(measureHitAreas, ["message-ok"]);
      t.diagnostic(`${engine.name} at 390 px: ${sizeOf(ok)}`);
      assertFingerSized(ok);
      await tab.tapAt(ok.left + ok.width - 2, ok.top + ok.height - 2);
      assert.equal(await tab.run(() => document.getElementById("message").open), false);
      assert.equal((await shown(tab)).focused, "Text1");
    },
  },
  {
    // On a phone «ОК» is drawn smaller than a finger and answers a square
    // round it; on a screen twice the window's size it is drawn larger than
    // one and answers where it is drawn. Either way a press on the box's
    // text, or between it and «ОК», is not one of «ОК».
    name: "«ОК» answers a fingertip's square where it is drawn smaller, and never over the box's text, at 390x844 and 1046x648",
    async run(t, engine) {
      for (const [size, press] of [[phone, "tap"], [{ width: 1046, height: 648 }, "click"]]) {
        const tab = await openPage(t, engine, size);
        await playToTheEnd(tab, 20, press);
        await closingMessage(tab);
        const [ok] = await tab.run(measureHitAreas, ["message-ok"]);
        const drawn = await tab.run(() => {
          const { top, height } = document.getElementById("message-ok").getBoundingClientRect();
          return { top, height, textBottom: document.getElementById("message-text").getBoundingClientRect().bottom };
        });
        t.diagnostic(`${engine.name} at ${size.width}x${size.height}: ${sizeOf(ok)}, from ${ok.top.toFixed(1)}, the text to ${drawn.textBottom.toFixed(1)}`);
        assertFingerSized(ok);
        assert.ok(ok.top >= drawn.textBottom, `below the text: ${JSON.stringify({ ok, drawn })}`);
        // An engine may hit-test a scaled box on whole pixels of its own,
        // rounded out: up to one of the form's pixels more on each side
        // (WebKitGTK 2.54), far less than a finger's square.
        const formPixel = size.width / 523;
        if (drawn.height >= 44) assert.ok(ok.height <= drawn.height + 2 * formPixel + 0.5, `no larger than drawn: ${JSON.stringify({ ok, drawn })}`);
        const [x] = await tab.centre("message-ok");
        // On the text's last line, and halfway from it to where «ОК» answers.
        for (const y of [drawn.textBottom - 2, (drawn.textBottom + ok.top) / 2]) {
          // By mouse: a tap is moved to the nearest button by the browser itself.
          await tab.pointer(x, y, false);
          assert.equal(await tab.run(() => document.getElementById("message").open), true, `a press at ${y.toFixed(1)} leaves it open`);
        }
        await tab[press]("message-ok");
        assert.equal(await tab.run(() => document.getElementById("message").open), false);
        await tab.done();
      }
    },
  },
  {
    name: "on a phone, a finger's area around each button and the field presses it, and none reaches into another's",
    async run(t, engine) {
      const tab = await openPage(t, engine, phone);
      const areas = await tab.run(measureHitAreas, inputs);
      t.diagnostic(`${engine.name} at 390 px: ${areas.map(sizeOf).join(", ")}`);
      for (const area of areas) assertFingerSized(area);
      // Real taps near the areas' far edges: «Пример» over the verdict's
      // label, «Да» over the empty green above it, the field from its corner,
      // «Выход» below itself.
      const at = Object.fromEntries(areas.map((a) => [a.id, a]));
      const inside = 2;
      await tab.tapAt(at.Command2.left + at.Command2.width / 2, at.Command2.top + inside);
      const now = await shown(tab);
      assert.equal(now.number, "1");
      await tab.run(() => document.activeElement.blur());
      await tab.tapAt(at.Text1.left + inside, at.Text1.top + at.Text1.height - inside);
      assert.equal((await shown(tab)).focused, "Text1");
      await tab.type(String(productOf(now)));
      await tab.tapAt(at.Command3.left + inside, at.Command3.top + inside);
      assert.equal((await shown(tab)).verdict, learner["verdict.right"]);
      await tab.tapAt(at.Command4.left + at.Command4.width - inside, at.Command4.top + at.Command4.height - inside);
      assert.equal(await tab.run(() => !document.getElementById("ended").hidden), true);
      // «Новый опрос» on the end panel, tapped at its area's corner.
      const [restart] = await tab.run(measureHitAreas, ["restart"]);
      t.diagnostic(`${engine.name} at 390 px: ${sizeOf(restart)}`);
      assertFingerSized(restart);
      await tab.tapAt(restart.left + inside, restart.top + restart.height - inside);
      await tab.waitFor(() => document.documentElement.dataset.ready && document.getElementById("ended").hidden);
    },
  },
  {
    // A screen reader draws its box round the focused element: that is the
    // field's input, which must be the field as drawn, read from the screen
    // by where its edge leaves the form's green, inward from just outside it.
    name: "the answer field's own box is the field as drawn",
    async run(t, engine) {
      for (const size of [{ width: 523, height: 324 }, phone]) {
        const tab = await openPage(t, engine, size);
        const box = await tab.run(() => {
          const { left, top, right, bottom } = document.getElementById("Text1").getBoundingClientRect();
          return { left, top, right, bottom };
        });
        const { width, colours } = await tab.pixels();
        const at = (x, y) => colours[Math.round(y) * width + Math.round(x)];
        const [cx, cy] = [(box.left + box.right) / 2, (box.top + box.bottom) / 2];
        // The first pixel from `from` towards the field unlike the form there.
        const edge = (from, step, along) => {
          const outside = along(from);
          for (let p = from; Math.abs(p - from) < 12; p += step) if (colourDistance(along(p), outside) > 24) return p;
          return NaN;
        };
        const drawn = {
          left: edge(Math.floor(box.left) - 6, 1, (x) => at(x, cy)),
          top: edge(Math.floor(box.top) - 6, 1, (y) => at(cx, y)),
          right: edge(Math.ceil(box.right) + 5, -1, (x) => at(x, cy)) + 1,
          bottom: edge(Math.ceil(box.bottom) + 5, -1, (y) => at(cx, y)) + 1,
        };
        const rect = (r) => `${(r.right - r.left).toFixed(1)}x${(r.bottom - r.top).toFixed(1)} at (${r.left.toFixed(1)}, ${r.top.toFixed(1)})`;
        t.diagnostic(`${engine.name} ${size.width}x${size.height}: the field's box ${rect(box)}, drawn ${rect(drawn)}`);
        for (const side of ["left", "top", "right", "bottom"])
          assert.ok(Math.abs(box[side] - drawn[side]) <= 1, `${side}: box ${JSON.stringify(box)}, drawn ${JSON.stringify(drawn)}`);
        if (size.width === 523)
          assert.deepEqual(drawn, { left: 336, top: 112, right: 385, bottom: 145 }, "drawn as the table has it: 735x495 twips at (5040, 1680)");
        await tab.done();
      }
    },
  },
  {
    name: "the window fits and stays centred from 320x480 up, portrait and landscape, and turns round with the screen",
    async run(t, engine) {
      for (const [width, height] of [[320, 480], [390, 844], [844, 390], [523, 324]]) {
        const tab = await openPage(t, engine, { width, height });
        await assertFitsAsOne(tab);
        await tab.done();
      }
      // Where the style sheet cannot divide lengths, the page's script
      // scales the window; forced here where an engine can run a script first.
      const forced = () => {
        CSS.supports = () => false;
      };
      for (const runFirst of [undefined, forced]) {
        if (runFirst && !engine.canRunFirst) continue;
        const tab = await openPage(t, engine, { width: 1280, height: 800, runFirst });
        const byScript = await tab.run(() => document.documentElement.style.getPropertyValue("--scale") !== "");
        const canDivide = await tab.run(() => CSS.supports("scale", "calc(1px / 1px)"));
        assert.equal(byScript, !canDivide);
        for (const [width, height] of [[800, 1280], [1280, 800]]) {
          await tab.resize(width, height);
          // Where the script scales the window, it does so on the resize
          // event, which comes in a frame after the viewport has changed.
          await tab.waitFor(formFits, { width, height });
          await assertFitsAsOne(tab);
        }
        await tab.done();
      }
    },
  },
  {
    // A worker that finds a new build during a visit fills the new build's
    // cache whole, and waits: the page open then, and as often as it is
    // reloaded, is the old build, whole, down to a file it asks for later;
    // once closed, it opens as the new build. Each build is told apart by a
    // mark in its style sheet, inside the page, and by a picture, a file
    // beside it.
    name: "a new build reaches the learner whole once the old page is closed, never mixed with it, and plays offline",
    async run(t, engine) {
      const old = servedCopy(copy.folder);
      const next = rebuilt(({ web, assets }) => {
        appendFileSync(join(web, "page.css"), ':root { --build: "next" }\n');
        for (const suffix of ["", "@2x"]) copyFileSync(join(assets, `cat_yarn${suffix}.jpg`), join(assets, `kitten_duckling${suffix}.jpg`));
      });
      t.after(() => [old, next].forEach((build) => build.remove()));
      let server = await old.serve();
      t.after(() => server.stop());
      const { port } = server;

      const tab = await openPage(t, engine, { url: server.url });
      await untilServiceWorkerControls(tab);
      const picture = "kitten_duckling.jpg";
      const oldPicture = await fileSize(tab, picture);
      const oldLooks = await buildShown(tab);
      assert.equal(oldLooks.mark, "", "the first build");

      // Offline, it plays, in its own font.
      server.stop();
      await visit(tab);
      await tab.click("Command2");
      assert.equal((await shown(tab)).number, "1");
      assert.equal(await tab.run(() => document.fonts.check("700 16px 'Tsifrolet Sans'")), true);

      // The next build, served where the first was; its files written after the first's.
      const later = statSync(join(old.folder, "index.html")).mtime.getTime() / 1000 + 2;
      for (const file of readdirSync(next.folder)) utimesSync(join(next.folder, file), later, later);
      cpSync(next.folder, old.folder, { recursive: true, preserveTimestamps: true });
      server = await old.serve(port);

      await visit(tab);
      await tab.click("Command2");
      await tab.waitFor(() => navigator.serviceWorker.getRegistration().then((r) => Boolean(r?.waiting)));
      assert.deepEqual(await buildShown(tab), oldLooks, "the visit that finds the new build is the old build, whole");
      assert.equal(await fileSize(tab, picture), oldPicture, "a file asked for once the new build has arrived is the old build's");
      await visit(tab);
      assert.deepEqual(await buildShown(tab), oldLooks, "reloaded, still the old build, whole");

      await tab.reopen(server.url);
      await tab.waitFor(() => document.documentElement.dataset.ready);
      const nextLooks = await buildShown(tab);
      t.diagnostic(`${engine.name}: ${JSON.stringify(oldLooks)} then ${JSON.stringify(nextLooks)}`);
      assert.equal(nextLooks.mark, '"next"', "opened again, the new build's page");
      assert.ok(colourDistance(nextLooks.picture, oldLooks.picture) > 40, "with the new build's picture");
      assert.notEqual(await fileSize(tab, picture), oldPicture, "and its files");
      assert.equal((await tab.run(() => caches.keys())).length, 1, "the old build's files dropped");

      server.stop();
      await visit(tab);
      assert.deepEqual(await buildShown(tab), nextLooks, "offline, the new build, whole");
      await tab.click("Command2");
      assert.equal((await shown(tab)).number, "1");
    },
  },
  {
    name: "the page as one file plays from disk and looks as the served page does",
    async run(t, engine) {
      const size = { width: 523, height: 324 };
      const looks = [];
      for (const url of [server.url, pathToFileURL(singleFile).href]) {
        const tab = await openPage(t, engine, { ...size, url });
        // The caret blinks.
        await tab.run(() => document.head.append(Object.assign(document.createElement("style"), { textContent: "* { caret-color: transparent !important }" })));
        await tab.run(() => document.fonts.ready.then(() => new Promise(requestAnimationFrame)));
        looks.push(await tab.pixels());
        if (url !== server.url) {
          assert.equal(await tab.run(() => document.fonts.check("700 16px 'Tsifrolet Sans'")), true, "its font");
          await tab.click("Command2");
          await answer(tab, String(productOf(await shown(tab))));
          await tab.click("Command3");
          assert.equal((await shown(tab)).verdict, learner["verdict.right"]);
        }
        await tab.done();
      }
      const [served, file] = looks;
      assert.equal(file.colours.length, served.colours.length);
      const differing = served.colours.filter((c, i) => c.some((v, k) => v !== file.colours[i][k])).length;
      assert.equal(differing, 0, "pixels that differ");
    },
  },
  {
    // What Chrome 109, Firefox ESR 115 and Safari 12.1 lack, taken away
    // before the page's script runs: the page plays on, and its closing box
    // is still modal, «ОК» focused, with its title and text for a screen reader.
    name: "with only what the oldest browsers have, a whole quiz and its closing box, on a phone and a desktop, served and as one file",
    async run(t, engine) {
      const floor = servedCopy(copy.folder);
      playAsTheFloor(floor.folder);
      const floorServer = await floor.serve();
      t.after(() => [floorServer.stop(), floor.remove()]);
      const ways = [
        { url: floorServer.url, size: phone, press: "tap" },
        { url: floorServer.url, size: { width: 523, height: 324 }, press: "click" },
        { url: pathToFileURL(join(floor.folder, "tsifrolet.html")).href, size: phone, press: "tap" },
        { url: pathToFileURL(join(floor.folder, "tsifrolet.html")).href, size: { width: 523, height: 324 }, press: "click" },
      ];
      for (const { url, size, press } of ways) {
        const way = `${url.startsWith("file:") ? "one file" : "served"} at ${size.width}x${size.height}`;
        // WebKit's page as narrow as a phone is a frame, and a file in it is
        // of another origin than the page around it, where no browser lets
        // a field take the focus by itself.
        const autofocus = !(engine.name === "webkit" && size.width < webkitNarrowest && url.startsWith("file:"));
        const tab = await openPage(t, engine, { ...size, url, autofocus });
        const lacking = await tab.run(() => [typeof BigInt, typeof HTMLDialogElement.prototype.showModal, typeof Uint8Array.fromBase64]);
        assert.deepEqual(lacking, ["undefined", "undefined", "undefined"], `${way}: taken away`);
        await playToTheEnd(tab, 18, press);
        const closing = await closingMessage(tab);
        assert.equal(closing.text, closingText(18), way);
        assert.ok(closing.inSight, `${way}: in sight`);
        const box = () =>
          tab.run(() => {
            const dialog = document.getElementById("message");
            const named = (attribute) => document.getElementById(dialog.getAttribute(attribute))?.textContent;
            return {
              open: dialog.open,
              focused: document.activeElement?.id,
              role: dialog.getAttribute("role"),
              modal: dialog.getAttribute("aria-modal"),
              name: named("aria-labelledby"),
              description: named("aria-describedby"),
              windowHidden: document.getElementById("stage").getAttribute("aria-hidden"),
              problem: document.querySelector("#Label9 .text").textContent,
            };
          });
        const expected = {
          open: true,
          focused: "message-ok",
          role: "dialog",
          modal: "true",
          name: learner["closing.title"],
          description: closingText(18),
          windowHidden: "true",
          problem: "20",
        };
        assert.deepEqual(await box(), expected, `${way}: opened`);
        // Nothing behind it can be pressed, or keep the focus, by Tab or otherwise.
        await tab[press]("Command4");
        await tab.press("Tab");
        await tab.run(() => document.getElementById("Command2").focus());
        assert.deepEqual(await box(), expected, `${way}: after a press of «Выход» behind it, a Tab and a focus()`);
        // Closed by «ОК» on a phone, by Escape at a desktop, as the browser's own closes.
        if (press === "tap") await tab.tap("message-ok");
        else await tab.press("Escape");
        const after = await box();
        assert.deepEqual([after.open, after.focused, after.windowHidden], [false, "Text1", null], `${way}: closed`);
        await tab.done();
      }
    },
  },
  {
    name: "the page can be installed as an app",
    only: "chromium",
    why: "only Chromium says whether a page can be installed",
    async run(t, engine) {
      const tab = await openPage(t, engine);
      await tab.run(() => navigator.serviceWorker.ready.then(() => true));
      const cdp = await tab.context.newCDPSession(tab.page);
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
    },
  },
];

for (const engine of engines) {
  describe(engine.name, () => {
    before(() => engine.start());
    after(() => engine.stop());
    test("the engine and its version", async (t) => {
      await (await engine.open({ width: 523, height: 324 })).close();
      t.diagnostic(engine.version);
    });
    for (const { name, only, why, run } of cases) {
      test(name, { skip: only && only !== engine.name ? why : false }, (t) => run(t, engine));
    }
  });
}
