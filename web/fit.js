// Scales the window as one to fit the screen, before the page is first
// painted and again whenever the viewport changes (a tablet turned round).
"use strict";
(function () {
  const root = document.documentElement;
  const form = document.getElementById("Form1");
  function fit() {
    const scale = Math.min(window.innerWidth / form.offsetWidth, window.innerHeight / form.offsetHeight);
    root.style.setProperty("--scale", String(scale > 0 ? scale : 1));
  }
  fit();
  window.addEventListener("resize", fit);
})();
