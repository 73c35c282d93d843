// The page as built, read against the oldest browsers it plays in: its
// scripts by eslint-plugin-compat, its styles by stylelint's
// no-unsupported-browser-features (doiuse), both from the browser data that
// package-lock.json pins. What the page checks for before it uses it is
// marked where it is used, with the reason.
//
//   node lint.js [PAGE_DIR]
import { readFileSync } from "node:fs";
import { join } from "node:path";
import { ESLint } from "eslint";
import compat from "eslint-plugin-compat";
import stylelint from "stylelint";
import { pageDir } from "./harness.js";

const floor = JSON.parse(readFileSync(new URL("package.json", import.meta.url))).browserslist;

// The bodies of each <script> and <style> in a page.
function inlined(html, element) {
  return [...html.matchAll(new RegExp(`<${element}>([\\s\\S]*?)</${element}>`, "g"))].map((found) => found[1]);
}

async function lintScript(code, name) {
  const eslint = new ESLint({
    overrideConfigFile: true,
    overrideConfig: [
      {
        plugins: { compat },
        // Safari 12.1 parses no newer syntax: no ?. and no ??.
        languageOptions: { ecmaVersion: 2018, sourceType: "script" },
        settings: { browsers: floor },
        rules: { "compat/compat": "error" },
      },
    ],
  });
  const [result] = await eslint.lintText(code, { filePath: `${name.replace(/\W+/g, "-")}.js` });
  return result.messages.map((m) => `${name}:${m.line}:${m.column}: ${m.message}`);
}

async function lintStyle(code, name) {
  const { results } = await stylelint.lint({
    code,
    codeFilename: name,
    config: {
      plugins: ["stylelint-no-unsupported-browser-features"],
      rules: {
        // Partly supported, to caniuse, is how an older form of the same
        // feature reads (min() without clamp(), overflow without clip): the
        // page uses the older form.
        "plugin/no-unsupported-browser-features": [true, { browsers: floor, ignorePartialSupport: true }],
        // Newer than the floor, and unknown to caniuse's data.
        "property-disallowed-list": ["inset", "translate", "scale", "rotate"],
        "selector-pseudo-element-disallowed-list": ["backdrop"],
      },
    },
  });
  return results.flatMap((r) => r.warnings.map((w) => `${name}:${w.line}:${w.column}: ${w.text}`));
}

const folder = process.argv[2] ?? pageDir;
const page = readFileSync(join(folder, "index.html"), "utf8");
const problems = [
  ...(await Promise.all(inlined(page, "script").map((code, i) => lintScript(code, `index.html, script ${i + 1}`)))).flat(),
  ...(await lintScript(readFileSync(join(folder, "sw.js"), "utf8"), "sw.js")),
  ...(await Promise.all(inlined(page, "style").map((code) => lintStyle(code, "index.html, style")))).flat(),
];
for (const problem of problems) console.error(problem);
if (problems.length) process.exit(1);
console.log(`The page's scripts and styles run in ${floor.join(", ")}`);
