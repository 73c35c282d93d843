// What a learner must see and hear, read from the description every front
// end's tests share (tests/support/learner_sees.tsv).
import { readFileSync } from "node:fs";
import { dirname, join } from "node:path";
import { fileURLToPath } from "node:url";

const table = join(dirname(fileURLToPath(import.meta.url)), "..", "..", "tests", "support", "learner_sees.tsv");

export const learner = Object.fromEntries(
  readFileSync(table, "utf8")
    .split("\n")
    .filter((line) => /^[a-z]/.test(line))
    .map((line) => line.split("\t")),
);

// A phrase with the numbers on show in place of {first}, {second}, {errors}.
export function said(key, { first = 0, second = 0, errors = 0 } = {}) {
  return learner[key].replaceAll("{first}", first).replaceAll("{second}", second).replaceAll("{errors}", errors);
}

export function closingText(errors) {
  if (errors === 0) return learner["closing.none"];
  return errors <= Number(learner["closing.few.most"]) ? learner["closing.few"] : learner["closing.many"];
}
