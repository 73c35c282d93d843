// The page's side of the quiz's display operations, linked into the quiz's
// module: each one turns the quiz's UTF-8 bytes into a string and hands it to
// the view object the page gave the module (Module["view"], see app.js).
mergeInto(LibraryManager.library, {
  page_show_first_factor: function (text, length) {
    Module["view"].showFirstFactor(UTF8ToString(text, length));
  },
  page_show_second_factor: function (text, length) {
    Module["view"].showSecondFactor(UTF8ToString(text, length));
  },
  page_answer_length: function () {
    return lengthBytesUTF8(Module["view"].answerText());
  },
  page_copy_answer: function (buffer, size) {
    stringToUTF8(Module["view"].answerText(), buffer, size);
  },
  page_clear_answer: function () {
    Module["view"].clearAnswer();
  },
  page_show_verdict: function (text, length, colour) {
    Module["view"].showVerdict(UTF8ToString(text, length), colour < 0 ? null : colour);
  },
  page_show_problem_number: function (text, length) {
    Module["view"].showProblemNumber(UTF8ToString(text, length));
  },
  page_show_error_count: function (text, length) {
    Module["view"].showErrorCount(UTF8ToString(text, length));
  },
  page_show_message: function (text, textLength, title, titleLength) {
    Module["view"].showMessage(UTF8ToString(text, textLength), UTF8ToString(title, titleLength));
  },
  page_draw_credit_line: function (xTwips, yTwips) {
    Module["view"].drawCreditLine(xTwips, yTwips);
  },
});
