// The page's GB18030 conversions against glibc's: every BMP character and a
// sample of supplementary ones (the table tests/web/glibc_gb18030.py writes).
// The page builds its tables from TextDecoder("gb18030"), which differs from
// glibc in seven two-byte codes; exactly the characters of those codes may
// differ, and each of them must round-trip in the page.
//
// Usage: node encoder_test.mjs PAGE_DIR GLIBC_TABLE
import assert from "node:assert/strict";
import { readFileSync } from "node:fs";
import { loadEngine } from "./common.mjs";

const [pageDir, tablePath] = process.argv.slice(2);
const engine = await loadEngine(pageDir);

// Character -> [glibc's bytes, the page's bytes] where they differ.
const expectedDifferences = new Map([
  [0xe5e5, ["A3A0", "-"]],  // A3A0 decodes to U+3000 in the page, which A1A1 encodes
  [0xe816, ["-", "FE51"]],  // FE51..FE91: glibc decodes them to supplementary characters,
  [0xe817, ["-", "FE52"]],  // the page to private-use ones
  [0xe818, ["-", "FE53"]],
  [0xe831, ["-", "FE6C"]],
  [0xe83b, ["-", "FE76"]],
  [0xe855, ["-", "FE91"]],
  [0x20087, ["FE51", "95329031"]],
  [0x20089, ["FE52", "95329033"]],
  [0x200cc, ["FE53", "95329730"]],
  [0x215d7, ["FE6C", "9536B937"]],
  [0x2298f, ["FE76", "9630BA35"]],
  [0x241fe, ["FE91", "9635B630"]],
]);

let compared = 0;
let bmp = 0;
const failures = [];
const seen = new Set();
for (const line of readFileSync(tablePath, "utf8").trim().split("\n")) {
  const [hexPoint, glibc] = line.split(" ");
  const point = parseInt(hexPoint, 16);
  if (point === 0) continue;  // a C string cannot carry U+0000; the engine drops it anyway
  const char = String.fromCodePoint(point);
  const page = engine.encodeHex(char);
  ++compared;
  if (point < 0x10000) ++bmp;
  const expected = expectedDifferences.get(point);
  if (expected) {
    seen.add(point);
    if (glibc !== expected[0] || page !== expected[1])
      failures.push(`U+${hexPoint}: glibc ${glibc}, page ${page}; expected ${expected}`);
  } else if (page !== glibc) {
    failures.push(`U+${hexPoint}: glibc ${glibc}, page ${page}`);
  }
  // Whatever the page encodes, its decoder gives back.
  if (page !== "-" && engine.decodeHex(page) !== char)
    failures.push(`U+${hexPoint}: ${page} decodes to ${engine.decodeHex(page)}`);
}
assert.deepEqual(failures, [], failures.slice(0, 20).join("\n"));
assert.equal(seen.size, expectedDifferences.size, "the table holds every differing character");
assert.equal(bmp, 0x10000 - 0x800 - 1, "every BMP character outside the surrogates was compared");

// The decoder rejects what glibc rejects at the byte level: lone lead bytes,
// 0x80 and 0xFF, bad trails, and four-byte codes beyond U+10FFFF.
for (const hex of ["81", "80", "FF", "817F", "81FF", "8130", "813081", "8130FF30", "E3329A36"])
  assert.equal(engine.decodeHex(hex), "-", `${hex} must not decode`);
for (const [hex, text] of [["41", "A"], ["A1A1", "\u3000"], ["8431A439", "\uFFFF"],
                           ["90308130", "\u{10000}"], ["E3329A35", "\u{10FFFF}"]])
  assert.equal(engine.decodeHex(hex), text, `${hex} decodes to ${JSON.stringify(text)}`);

// Lenient decoding, as the boundary reads results back, replaces each byte
// that does not start a whole code and goes on with the next byte, as the
// iconv build does.
for (const [hex, text] of [["D6D081", "中\uFFFD"], ["817F41", "\uFFFD\u007FA"], ["813041", "\uFFFD0A"],
                           ["80D6D0", "\uFFFD中"], ["FF", "\uFFFD"], ["81308130", "\u0080"],
                           ["813081", "\uFFFD0\uFFFD"], ["E3329A36", "\uFFFD2\uFFFD6"]])
  assert.equal(engine.decodeHex(hex, true), text, `${hex} read leniently`);

// U+E5E5 has no code in the page: a text holding it is refused by name.
const refused = engine.summarise("标题", "正文\uE5E5。", 0);
assert.equal(refused.error, "invalid-text");
assert.equal(refused.message, "正文中的字符U+E5E5在浏览器的GB18030中没有编码");

// A lone surrogate has no UTF-8 form: refused, never replaced.
assert.equal(engine.summarise("标题\uD800", "正文。", 0).error, "invalid-text");

console.log(`encoder: ${compared} characters (${bmp} BMP) equal glibc's GB18030 except the ` +
            `${expectedDifferences.size} of the seven differing codes`);
