// Reading a dropped or opened .txt file as the window does: a byte order
// mark first (UTF-8, UTF-16 LE or BE), then strict UTF-8, then strict
// GB18030. Used by the page and by tests/web/textfile_test.mjs.

export const kMaxFileBytes = 512 * 1024 * 1024;

const boms = [
  { bytes: [0xef, 0xbb, 0xbf], encoding: "utf-8" },
  { bytes: [0xff, 0xfe], encoding: "utf-16le" },
  { bytes: [0xfe, 0xff], encoding: "utf-16be" },
];

function strict(encoding, bytes) {
  try {
    return new TextDecoder(encoding, { fatal: true, ignoreBOM: true }).decode(bytes);
  } catch {
    return null;
  }
}

// The text of a file's bytes: { text, encoding } or { error } with the reason
// to show.
export function decodeTextFile(bytes) {
  if (bytes.length > kMaxFileBytes) return { error: "文件大于512MB" };
  let text = null;
  let encoding = null;
  const bom = boms.find((b) => b.bytes.every((x, i) => bytes[i] === x));
  if (bom) {
    encoding = bom.encoding;
    text = strict(encoding, bytes.subarray(bom.bytes.length));
  } else {
    for (encoding of ["utf-8", "gb18030"]) {
      text = strict(encoding, bytes);
      if (text !== null) break;
    }
  }
  if (text === null) return { error: "文件不是UTF-8、UTF-16或GB18030文本" };
  if (text.includes("\0")) return { error: "文件含有NUL字符，不是文本" };
  return { text, encoding };
}

// The headline a file gives: its first line.
export function firstLine(text) {
  return text.split(/\r\n|\r|\n/, 1)[0];
}
