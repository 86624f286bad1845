// Loading the built engine in node, and reading abrivo-cli's JSON in either
// of its shapes, for the node tests of the page's engine.
import { createRequire } from "node:module";
import { readFileSync } from "node:fs";
import { join, resolve } from "node:path";

export async function loadEngine(dir) {
  const pageDir = resolve(dir);
  const require = createRequire(import.meta.url);
  const createAbrivo = require(join(pageDir, "abrivo.js"));
  // Handing over the bytes keeps the glue from fetching the .wasm.
  const module = await createAbrivo({ wasmBinary: readFileSync(join(pageDir, "abrivo.wasm")) });
  const decode = module.cwrap("abrivo_web_decode_hex", "string", ["string", "number"]);
  return {
    module,
    summarise: (title, article, length) => module.summarise(title, article, length, false),
    encodeHex: module.cwrap("abrivo_web_encode_hex", "string", ["string"]),
    decodeHex: (hex, lenient = false) => decode(hex, lenient ? 1 : 0),
  };
}

// The fields both front ends must agree on, from the page's result or from
// abrivo-cli's JSON (rows of strings or typed objects).
export function comparable(result) {
  const keywordLine = result.keywordLine ?? result.keyword_line ??
                      (typeof result.keywords === "string" ? result.keywords : undefined);
  const row = (r, names) => (Array.isArray(r) ? r : names.map((n) => r[n]));
  return {
    summary: result.summary,
    status: result.status,
    keywordLine,
    terms: result.terms.map((r) => {
      const [term, weight] = row(r, ["term", "weight"]);
      return [term, Number(weight)];
    }),
    sentences: result.sentences.map((r) => {
      const [text, rank, position] = row(r, ["text", "rank", "position"]);
      return [text, Number(rank), Number(position)];
    }),
  };
}
