// The page's side of the quiz: carries out the quiz's display operations on
// the controls written from the layout table (the quiz's module calls the
// view's methods through page_view.js), and gives the quiz the commands of
// the three buttons. The quiz itself runs in WebAssembly, as in the window.
import createQuizModule from "./quiz.mjs";

const $ = (id) => document.getElementById(id);
const textOf = (label) => label.querySelector(".text");

const form = $("Form1");
const answer = $("Text1");
const nextButton = $("Command2");
const checkButton = $("Command3");
const exitButton = $("Command4");
const announcer = $("announcer");
const dialog = $("message");

// The quiz's colours are 0x00BBGGRR words.
function cssColour(word) {
  const hex = (n) => n.toString(16).padStart(2, "0");
  return "#" + hex(word & 0xff) + hex((word >> 8) & 0xff) + hex((word >> 16) & 0xff);
}

function announce(text) {
  announcer.textContent = text;
}

const view = {
  showFirstFactor(text) {
    textOf($("Label1")).textContent = text;
  },
  showSecondFactor(text) {
    textOf($("Label2")).textContent = text;
  },
  answerText() {
    return answer.value;
  },
  clearAnswer() {
    answer.value = "";
  },
  showVerdict(text, colour) {
    const verdict = $("Label5");
    if (colour !== null) verdict.style.color = cssColour(colour);
    textOf(verdict).textContent = text;
    if (text) announce(text);
  },
  showProblemNumber(text) {
    textOf($("Label9")).textContent = text;
    const first = textOf($("Label1")).textContent;
    const second = textOf($("Label2")).textContent;
    announce(`Пример ${text}: ${first} ${textOf($("Label3")).textContent} ${second}`);
  },
  showErrorCount(text) {
    textOf($("Label10")).textContent = text;
  },
  showMessage(text, title) {
    $("message-title").textContent = title;
    $("message-text").textContent = text;
    const before = document.activeElement;
    dialog.addEventListener("close", () => before?.focus(), { once: true });
    dialog.showModal();
    $("message-ok").focus();
  },
  drawCreditLine(xTwips, yTwips) {
    const twipsPerPixel = Number(form.dataset.twipsPerPixel);
    const credit = $("credit");
    credit.style.left = `${xTwips / twipsPerPixel}px`;
    credit.style.top = `${yTwips / twipsPerPixel}px`;
    credit.hidden = false;
  },
};

$("message-ok").addEventListener("click", () => dialog.close());

// Neither Enter nor Escape presses a button behind the learner's back: a
// focused button answers to the space bar only, as in the window.
for (const button of [nextButton, checkButton, exitButton]) {
  button.addEventListener("keydown", (event) => {
    if (event.key === "Enter") event.preventDefault();
  });
}

// A page cannot close a tab it did not open, so "Выход" ends the quiz in
// place: the controls go dead and the page says that the quiz is over.
function endQuiz() {
  for (const control of [answer, nextButton, checkButton, exitButton]) control.disabled = true;
  $("ended").hidden = false;
  announce("Опрос окончен");
  $("restart").focus();
}
$("restart").addEventListener("click", () => location.reload());

// The quiz's WebAssembly, written into the page as base64 when the page is
// put together. It is small enough to compile there and then, with no fetch
// and no waiting on the browser's compiler threads. The browser's own base64
// decoder takes a tenth of a millisecond; decoding letter by letter through
// atob takes some milliseconds and leaves garbage to collect.
const wasmBase64 = "@QUIZ_WASM@";
const wasmBinary = Uint8Array.fromBase64
  ? Uint8Array.fromBase64(wasmBase64)
  : Uint8Array.from(atob(wasmBase64), (c) => c.charCodeAt(0));
const quiz = await createQuizModule({
  view,
  instantiateWasm(imports, receiveInstance) {
    const instance = new WebAssembly.Instance(new WebAssembly.Module(wasmBinary), imports);
    receiveInstance(instance);
    return instance.exports;
  },
});
nextButton.addEventListener("click", () => quiz._quiz_next_example());
checkButton.addEventListener("click", () => quiz._quiz_check_answer());
exitButton.addEventListener("click", endQuiz);

if ("serviceWorker" in navigator) navigator.serviceWorker.register("sw.js");

document.documentElement.dataset.ready = "true";
performance.mark("ready");
