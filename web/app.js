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
const ok = $("message-ok");
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

// The closing box is modal: nothing else on the page can be clicked, tapped
// or reached by Tab while it is open, and «ОК» has the focus. Where the
// browser has no showModal() (Safari before 15.4, Firefox before 98) the page
// does that itself: a shade over the window takes the clicks, the window is
// hidden from screen readers, which read the box by its role and names as
// they would the browser's own, and the focus is brought back to «ОК»
// wherever else it goes. Escape closes it, as it closes the browser's own.
const shade = $("shade");
const closingBox = {
  native: typeof dialog.showModal === "function",
  closed() {},
  get isOpen() {
    return dialog.hasAttribute("open");
  },
  open() {
    if (this.native) dialog.showModal();
    else {
      dialog.setAttribute("open", "");
      shade.hidden = false;
      $("stage").setAttribute("aria-hidden", "true");
    }
    ok.focus();
  },
  close() {
    if (this.native) return dialog.close();
    if (!this.isOpen) return;
    dialog.removeAttribute("open");
    shade.hidden = true;
    $("stage").removeAttribute("aria-hidden");
    this.closed();
  },
};
dialog.addEventListener("close", () => closingBox.closed());
if (!closingBox.native) {
  document.addEventListener("focusin", (event) => closingBox.isOpen && event.target !== ok && ok.focus());
  dialog.addEventListener("keydown", (event) => event.key === "Escape" && closingBox.close());
}

// The quiz's WebAssembly, written into the page as base64 when the page is
// put together. The browser's own base64 decoder takes a tenth of a
// millisecond; decoding letter by letter through atob, which older browsers
// have alone, takes some milliseconds and leaves garbage to collect.
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
    closingBox.open();
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
  // Seeds the quiz's random numbers: the wall clock, to the fraction of a
  // millisecond the page's own clock adds.
  page_milliseconds_now: () => Date.now() + (performance.now() % 1),
  // A page cannot close a tab it did not open, so the quiz ends in place:
  // the controls go dead and a new quiz is offered.
  page_end_in_place() {
    for (const control of [answer, ...buttons]) control.disabled = true;
    $("ended").hidden = false;
    $("restart").focus();
  },
};

// What the C library asks of the system: an exit, which it calls only when
// it cannot go on, as when memory runs out.
const system = {
  proc_exit(code) {
    throw new Error(`The quiz stopped (exit code ${code}).`);
  },
};
const imports = { page, env: { emscripten_notify_memory_growth() {} }, wasi_snapshot_preview1: system };

function play(instance) {
  const quiz = instance.exports;
  memory = quiz.memory;
  quiz._initialize();
  $("Command2").addEventListener("click", () => quiz.quiz_next_example());
  $("Command3").addEventListener("click", () => quiz.quiz_check_answer());
  $("Command4").addEventListener("click", () => quiz.quiz_exit());
  closingBox.closed = () => quiz.quiz_message_closed();
  document.documentElement.dataset.ready = "true";
  performance.mark("ready");
}

// Compiled there and then, with no waiting on the browser's compiler
// threads, where the browser allows it; Chrome before 114 refuses to compile
// a module of more than 4 KB on the page's own thread, and there the quiz is
// compiled in the background and starts a few milliseconds later.
let instance;
try {
  instance = new WebAssembly.Instance(new WebAssembly.Module(wasmBinary), imports);
} catch (error) {
  if (!(error instanceof RangeError)) throw error;
}
if (instance) play(instance);
else WebAssembly.instantiate(wasmBinary, imports).then((result) => play(result.instance));
ok.addEventListener("click", () => closingBox.close());
$("restart").addEventListener("click", () => location.reload());

// Keeping the page for offline use can wait until it has loaded: registering
// the service worker costs more than a millisecond that the quiz need not wait.
// Only the served page has a worker, and only a page that came over the
// network can have one: the page saved as one file has everything already.
// A browser may still refuse (a private window may); the quiz plays on.
const worker = document.documentElement.dataset.serviceWorker;
if (worker && "serviceWorker" in navigator && location.protocol.startsWith("http"))
  addEventListener("load", () => navigator.serviceWorker.register(worker).catch(() => {}));
