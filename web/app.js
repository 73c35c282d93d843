// The page's side of the quiz: carries out the quiz's display operations and
// its presenter's primitives on the controls written from the layout table,
// and gives the quiz the commands of the three buttons. The quiz and its
// presenter run in WebAssembly, the same C++ as in the window: what is said,
// where the caret goes and which keys do nothing is decided there.

const $ = (id) => document.getElementById(id);
const textOf = (label) => label.querySelector(".text");

const answer = $("Text1");
const buttons = [$("Command2"), $("Command3"), $("Command4")];
const dialog = $("message");
const show = (id, text) => (textOf($(id)).textContent = text);

// The quiz's colours are 0x00BBGGRR words.
function cssColour(word) {
  const hex = (n) => n.toString(16).padStart(2, "0");
  return "#" + hex(word & 0xff) + hex((word >> 8) & 0xff) + hex((word >> 16) & 0xff);
}

// The rules written on the buttons: keys that must not press them, and
// whether a click may take the focus from the answer field.
for (const button of buttons) {
  const deadKeys = button.dataset.deadKeys.split(",");
  button.addEventListener("keydown", (event) => deadKeys.includes(event.key) && event.preventDefault());
  if ("clickLeavesFocus" in button.dataset) button.addEventListener("mousedown", (event) => event.preventDefault());
}

// The quiz's WebAssembly, written into the page as base64 when the page is
// put together. It is small enough to compile there and then, with no fetch
// and no waiting on the browser's compiler threads. The browser's own base64
// decoder takes a tenth of a millisecond; decoding letter by letter through
// atob takes some milliseconds and leaves garbage to collect.
const wasmBase64 = "@QUIZ_WASM@";
const wasmBinary = Uint8Array.fromBase64
  ? Uint8Array.fromBase64(wasmBase64)
  : Uint8Array.from(atob(wasmBase64), (c) => c.charCodeAt(0));

// The view's and the presenter's operations as the module imports them:
// texts are UTF-8 bytes in its memory, given by pointer and length. The
// memory's buffer is looked up on every call, as it is replaced whenever the
// memory grows. What to say, and where the caret goes, the module decides.
let memory;
const bytes = (pointer, length) => new Uint8Array(memory.buffer, pointer, length);
const utf8 = new TextDecoder();
const textAt = (pointer, length) => utf8.decode(bytes(pointer, length));
// The module asks for the answer's length, then for its bytes: encoded once.
const utf8Encoder = new TextEncoder();
let answerBytes = new Uint8Array();
const page = {
  page_show_first_factor: (text, length) => show("Label1", textAt(text, length)),
  page_show_second_factor: (text, length) => show("Label2", textAt(text, length)),
  page_answer_length: () => (answerBytes = utf8Encoder.encode(answer.value)).length,
  page_copy_answer: (buffer, length) => bytes(buffer, length).set(answerBytes.subarray(0, length)),
  page_clear_answer: () => (answer.value = ""),
  page_show_verdict(text, length, colour) {
    if (colour >= 0) $("Label5").style.color = cssColour(colour);
    show("Label5", textAt(text, length));
  },
  page_show_problem_number: (text, length) => show("Label9", textAt(text, length)),
  page_show_error_count: (text, length) => show("Label10", textAt(text, length)),
  page_show_message(text, textLength, title, titleLength) {
    $("message-title").textContent = textAt(title, titleLength);
    $("message-text").textContent = textAt(text, textLength);
    dialog.showModal();
    $("message-ok").focus();
  },
  page_draw_credit_line(xTwips, yTwips) {
    const twipsPerPixel = Number($("Form1").dataset.twipsPerPixel);
    const credit = $("credit");
    credit.style.left = `${xTwips / twipsPerPixel}px`;
    credit.style.top = `${yTwips / twipsPerPixel}px`;
    credit.hidden = false;
  },
  page_announce: (text, length) => ($("announcer").textContent = textAt(text, length)),
  page_describe_answer: (text, length) => ($("Text1-about").textContent = textAt(text, length)),
  page_answer_has_focus: () => document.activeElement === answer,
  page_focus_answer: () => answer.focus(),
  // A page cannot close a tab it did not open, so the quiz ends in place:
  // the controls go dead and a new quiz is offered.
  page_end_in_place() {
    for (const control of [answer, ...buttons]) control.disabled = true;
    $("ended").hidden = false;
    $("restart").focus();
  },
};
// What the C library asks of the system: the time, which seeds the quiz's
// random numbers (nanoseconds, whichever clock is asked for), and an exit,
// which it calls only when it cannot go on, as when memory runs out.
const system = {
  clock_time_get(clock, precision, result) {
    const nanoseconds = BigInt(Math.round((performance.timeOrigin + performance.now()) * 1e6));
    new DataView(memory.buffer).setBigUint64(result, nanoseconds, true);
    return 0;
  },
  proc_exit(code) {
    throw new Error(`The quiz stopped (exit code ${code}).`);
  },
};
const { exports: quiz } = new WebAssembly.Instance(new WebAssembly.Module(wasmBinary), {
  page,
  env: { emscripten_notify_memory_growth() {} },
  wasi_snapshot_preview1: system,
});
memory = quiz.memory;
quiz._initialize();
$("Command2").addEventListener("click", () => quiz.quiz_next_example());
$("Command3").addEventListener("click", () => quiz.quiz_check_answer());
$("Command4").addEventListener("click", () => quiz.quiz_exit());
dialog.addEventListener("close", () => quiz.quiz_message_closed());
$("message-ok").addEventListener("click", () => dialog.close());
$("restart").addEventListener("click", () => location.reload());

// Keeping the page for offline use can wait until it has loaded: registering
// the service worker costs more than a millisecond that the quiz need not wait.
// Only the served page has a worker, and only a page that came over the
// network can have one: the page saved as one file has everything already.
// A browser may still refuse (a private window may); the quiz plays on.
const worker = document.documentElement.dataset.serviceWorker;
if (worker && "serviceWorker" in navigator && location.protocol.startsWith("http"))
  addEventListener("load", () => navigator.serviceWorker.register(worker).catch(() => {}));

document.documentElement.dataset.ready = "true";
performance.mark("ready");
