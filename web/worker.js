// The engine's thread: runs abrivo_web_summarise for the page so that the page
// stays responsive. Messages in: {type: "run", title, article, length}.
// Messages out: {type: "ready"}, {type: "progress", text} while a run goes
// on, and {type: "result", result, ms} with the Summary as the engine gives
// it and the run's time in milliseconds.
importScripts("abrivo.js");

const engine = createAbrivo().then((module) => {
  const summarise = module.cwrap("abrivo_web_summarise", "string",
                                 ["string", "string", "number", "number"]);
  // The first run builds the GB18030 tables from TextDecoder("gb18030") and
  // lets the engine's code be compiled before the user's first run.
  summarise("", "", 0, 0);
  module.onProgress = (text) => postMessage({ type: "progress", text });
  postMessage({ type: "ready" });
  return summarise;
});

onmessage = async ({ data }) => {
  if (data.type !== "run") return;
  const summarise = await engine;
  // A lone surrogate has no UTF-8 form; the engine is never handed a
  // replacement in its place.
  if (!data.title.isWellFormed() || !data.article.isWellFormed()) {
    const message = "文本含有无效的UTF-16代理字符";
    postMessage({ type: "result", result: { error: "invalid-text", message }, ms: 0 });
    return;
  }
  const start = performance.now();
  const json = summarise(data.title, data.article, data.length, 1);
  const ms = performance.now() - start;
  postMessage({ type: "result", result: JSON.parse(json), ms });
};
