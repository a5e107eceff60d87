// What each kind of field lets through as it is typed, as the desktop's key filters do: a comma
// becomes the decimal point, and anything else outside the kind's characters is dropped. The
// filter kind of each field comes from the core's field table.
import type { KeyFilter } from "./core-api.js";

const kAllowed: Record<KeyFilter, string> = {
  decimal: ".0123456789",
  signedDecimal: "-.0123456789",
  digit: "0123456789",
};

// The typed or pasted text as the field accepts it ("" when nothing passes).
export function filterTyped(kind: KeyFilter, typed: string): string {
  let accepted = "";
  for (const ch of typed) {
    const c = ch === "," && kind !== "digit" ? "." : ch;
    if (kAllowed[kind].includes(c)) accepted += c;
  }
  return accepted;
}
