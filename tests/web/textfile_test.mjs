// Reading a file's bytes as the page does: byte order mark, then strict
// UTF-8, then strict GB18030; anything else, and NUL bytes, refused.
//
// Usage: node textfile_test.mjs WEB_DIR
import assert from "node:assert/strict";
import { join, resolve } from "node:path";
import { pathToFileURL } from "node:url";

const { decodeTextFile, firstLine } =
  await import(pathToFileURL(join(resolve(process.argv[2]), "textfile.mjs")));

const text = "储能产业\r\nTidal power 𠂆€";
const utf8 = [...new TextEncoder().encode(text)];
const utf16le = [...text].flatMap((c) => {
  const units = [];
  for (let i = 0; i < c.length; ++i) units.push(c.charCodeAt(i) & 0xff, c.charCodeAt(i) >> 8);
  return units;
});
const utf16be = utf16le.map((_, i) => utf16le[i ^ 1]);
// 储能产业 in GB18030, then "\r\nTidal power ", U+20086 and €.
const gb = [0xb4, 0xa2, 0xc4, 0xdc, 0xb2, 0xfa, 0xd2, 0xb5,
            ...new TextEncoder().encode("\r\nTidal power "),
            0x95, 0x32, 0x90, 0x30, 0xa2, 0xe3];

const cases = [
  // [what, bytes, text or null for refused, encoding]
  ["UTF-8", utf8, text, "utf-8"],
  ["UTF-8 with its mark", [0xef, 0xbb, 0xbf, ...utf8], text, "utf-8"],
  ["UTF-16 LE with its mark", [0xff, 0xfe, ...utf16le], text, "utf-16le"],
  ["UTF-16 BE with its mark", [0xfe, 0xff, ...utf16be], text, "utf-16be"],
  ["GB18030", gb, text, "gb18030"],
  ["GBK only", [0xd6, 0xd0, 0xce, 0xc4], "中文", "gb18030"],
  ["UTF-8 mark on GB18030 bytes", [0xef, 0xbb, 0xbf, ...gb], null],
  ["cut GB18030 code", [...gb, 0x81], null],
  ["neither", [0x81, 0x20, 0xff], null],
  ["NUL byte", [...utf8, 0], null],
  ["empty", [], "", "utf-8"],
];
for (const [what, bytes, want, encoding] of cases) {
  const got = decodeTextFile(new Uint8Array(bytes));
  if (want === null) {
    assert.ok(got.error, `${what}: refused`);
  } else {
    assert.equal(got.text, want, what);
    assert.equal(got.encoding, encoding, what);
  }
}
for (const [input, line] of [["a\r\nb", "a"], ["a\rb", "a"], ["a\nb", "a"], ["ab", "ab"], ["", ""]])
  assert.equal(firstLine(input), line);
console.log(`textfile: ${cases.length} encodings read or refused as the window does`);
