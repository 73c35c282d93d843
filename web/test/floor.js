// The oldest browsers the page plays in, played by today's: what they lack
// is taken away before the page's own script runs, by a script written into
// a copy of the page at the top of its head, so that it runs first in every
// engine and in the page as one file alike.
import { readFileSync, writeFileSync } from "node:fs";
import { join } from "node:path";

// Run in the page. Chrome before 114 refuses to compile or instantiate a
// module of more than 4 KB on the page's own thread; Safari before 15.4 and
// Firefox before 98 have no showModal(); Safari before 15 has no BigInt;
// none of them has Uint8Array.fromBase64.
export function takeAway() {
  const { Module } = WebAssembly;
  WebAssembly.Module = function (bytes) {
    if (bytes.byteLength > 4096)
      throw new RangeError("WebAssembly.Compile is disallowed on the main thread, if the buffer size is larger than 4KB. Use WebAssembly.compile, or compile on a worker thread.");
    return new Module(bytes);
  };
  WebAssembly.Module.prototype = Module.prototype;
  delete HTMLDialogElement.prototype.showModal;
  delete window.BigInt;
  delete DataView.prototype.setBigUint64;
  delete Uint8Array.fromBase64;
}

const script = `<script>(${takeAway})();</script>`;

// The page's two files in `folder` rewritten to run takeAway() first.
export function playAsTheFloor(folder) {
  for (const file of ["index.html", "tsifrolet.html"]) {
    const path = join(folder, file);
    const page = readFileSync(path, "utf8");
    if (!page.includes("<head>")) throw new Error(`${path} has no <head>`);
    writeFileSync(path, page.replace("<head>", `<head>${script}`));
  }
}
