// The conformance cases through the page's engine (the .wasm the page loads):
// each gives exactly the stored results and exactly what `abrivo-cli -f json`
// gives on the same headline, article and length.
//
// Usage: node conformance_test.mjs PAGE_DIR CONFORMANCE_JSONL ABRIVO_CLI
import assert from "node:assert/strict";
import { execFileSync } from "node:child_process";
import { mkdtempSync, readFileSync, rmSync, writeFileSync } from "node:fs";
import { tmpdir } from "node:os";
import { join } from "node:path";
import { comparable, loadEngine } from "./common.mjs";

const [pageDir, casesPath, cli] = process.argv.slice(2);
const engine = await loadEngine(pageDir);
const work = mkdtempSync(join(tmpdir(), "abrivo-web-"));

// The stored results hold table cells as texts.
function stored(expected) {
  return {
    summary: expected.summary,
    status: expected.status,
    keywordLine: expected.keywords,
    terms: expected.terms.map(([term, weight]) => [term, Number(weight)]),
    sentences: expected.sentences.map(([t, rank, pos]) => [t, Number(rank), Number(pos)]),
  };
}

function cliResult(input) {
  const title = join(work, "title.txt");
  const article = join(work, "article.txt");
  writeFileSync(title, input.title);
  writeFileSync(article, input.content);
  const out = execFileSync(cli, ["-f", "json", "-l", String(input.length), "--title-file", title,
                                 article], { encoding: "utf8", maxBuffer: 1 << 28 });
  return JSON.parse(out);
}

let cases = 0;
const failures = [];
try {
  for (const line of readFileSync(casesPath, "utf8").split("\n")) {
    if (!line.trim()) continue;
    const input = JSON.parse(line);
    const result = engine.summarise(input.title, input.content, input.length);
    ++cases;
    if (result.error) {
      failures.push(`${input.id}: ${result.message}`);
      continue;
    }
    const page = comparable(result);
    const language = result.language;
    for (const [source, want] of [["stored", stored(input.expected)],
                                  ["abrivo-cli", comparable(cliResult(input))]]) {
      const field = Object.keys(want).find(
          (f) => JSON.stringify(page[f]) !== JSON.stringify(want[f]));
      if (field)
        failures.push(`${input.id}: ${field} differs from ${source}\n  page: ` +
                      `${JSON.stringify(page[field]).slice(0, 300)}\n  ${source}: ` +
                      `${JSON.stringify(want[field]).slice(0, 300)}`);
    }
    if (language !== input.expected.language)
      failures.push(`${input.id}: language ${language}, stored ${input.expected.language}`);
  }
} finally {
  rmSync(work, { recursive: true, force: true });
}
assert.deepEqual(failures, [], failures.slice(0, 10).join("\n"));
assert.equal(cases, 100, "the fixture holds 100 cases");
console.log(`conformance: ${cases} cases through the wasm engine equal the stored results ` +
            `and abrivo-cli -f json`);
