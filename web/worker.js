// The engine's thread: runs the engine for the page so that the page stays
// responsive. Messages in: {type: "warm-up", title, article, runs} and
// {type: "run", title, article, length}. Messages out: {type: "ready"} after
// the warm-up, {type: "progress", text} during a run, and {type: "result",
// result, ms} with the Summary as the engine gives it (or {error, message})
// and the run's time in milliseconds.
importScripts("abrivo.js");

// The engine, ready once a first run has built the GB18030 tables from
// TextDecoder("gb18030").
const engine = createAbrivo().then((module) => {
  module.summarise("", "", 0, false);
  return module;
});

onmessage = async ({ data }) => {
  const module = await engine;
  if (data.type === "warm-up") {
    // Runs on the default texts, so that the engine's code is compiled to
    // full speed before the user's first run; then the page may start.
    for (let i = 0; i < data.runs; ++i) module.summarise(data.title, data.article, 0, false);
    postMessage({ type: "ready" });
  } else if (data.type === "run") {
    // Progress goes out at most every 15 ms, as the window repaints it: a
    // short run shows none, a long one a steady count.
    const start = performance.now();
    let posted = start;
    module.onProgress = (text) => {
      const now = performance.now();
      if (now - posted < 15) return;
      posted = now;
      postMessage({ type: "progress", text });
    };
    const result = module.summarise(data.title, data.article, data.length, true);
    postMessage({ type: "result", result, ms: performance.now() - start });
  }
};
