// The oldest browsers the page plays in, played by today's: what they lack
// is taken away before the page's own script runs, by a script written into
// a copy of the page at the top of its head, so that it runs first in every
// engine and in the page as one file alike.
import { readFileSync, writeFileSync } from "node:fs";
import { join } from "node:path";

// Run in the page, given what to take away. Chrome before 114 refuses to
// compile a module of more than 4 KB on the page's own thread; Safari before
// 15.4 and Firefox before 98 have no showModal(); Safari before 14 has no
// BigInt, and before 15 no setBigUint64; none of them has
// Uint8Array.fromBase64.
export function takeAway(lacking) {
  if (lacking.includes("compile")) {
    const { Module } = WebAssembly;
    WebAssembly.Module = function (bytes) {
      if (bytes.byteLength > 4096)
        throw new RangeError("WebAssembly.Compile is disallowed on the main thread, if the buffer size is larger than 4KB. Use WebAssembly.compile, or compile on a worker thread.");
      return new Module(bytes);
    };
    WebAssembly.Module.prototype = Module.prototype;
  }
  if (lacking.includes("showModal")) delete HTMLDialogElement.prototype.showModal;
  if (lacking.includes("BigInt")) {
    delete window.BigInt;
    delete DataView.prototype.setBigUint64;
  }
  if (lacking.includes("fromBase64")) delete Uint8Array.fromBase64;
}

export const floorLacks = ["compile", "showModal", "BigInt", "fromBase64"];

// The page's two files in `folder` rewritten to take away what the floor
// lacks, or only some of it, first.
export function playAsTheFloor(folder, lacking = floorLacks) {
  const script = `<script>(${takeAway})(${JSON.stringify(lacking)});</script>`;
  for (const file of ["index.html", "tsifrolet.html"]) {
    const path = join(folder, file);
    const page = readFileSync(path, "utf8");
    if (!page.includes("<head>")) throw new Error(`${path} has no <head>`);
    writeFileSync(path, page.replace("<head>", `<head>${script}`));
  }
}
