// The page: the window's controls, the engine in a worker (worker.js).
import { samples } from "./samples.mjs";
import { decodeTextFile, firstLine } from "./textfile.mjs";

const $ = (id) => document.getElementById(id);
const title = $("标题框");
const article = $("内容框");
const length = $("组合框1");
const output = $("编辑框1");
const status = $("标签2");
const keywords = $("keywords");

// What the tests and the measuring script read: the state of the engine
// ("loading", "ready", "running"), the numbers of workers and runs started
// and of results shown, and the times of the last run.
const state = { engine: "loading", workers: 0, runs: 0, results: 0, lastRun: null };
window.abrivo = state;

let worker = null;
let runStart = 0;

function setEngineState(value) {
  state.engine = value;
  document.body.dataset.engine = value;
}

function startWorker() {
  worker = new Worker("worker.js");
  ++state.workers;
  setEngineState("loading");
  worker.onmessage = ({ data }) => {
    if (data.type === "ready") {
      if (state.engine === "loading") setEngineState("ready");
    } else if (data.type === "progress") {
      status.textContent = data.text;
    } else if (data.type === "result") {
      ++state.results;
      showResult(data.result);
      state.lastRun = { engineMs: data.ms, totalMs: performance.now() - runStart };
      setEngineState("ready");
    }
  };
  const pair = samples[0];
  worker.postMessage({ type: "warm-up", title: pair.title, article: pair.article, runs: 3 });
  // An engine that failed is not used again: a fresh one takes its place.
  worker.onerror = (event) => {
    status.textContent = "引擎出错：" + (event.message || "");
    worker.terminate();
    startWorker();
  };
}

function showResult(result) {
  if (result.error) {
    status.textContent = result.message;
    return;
  }
  output.value = result.summary;
  status.textContent = result.status;
  keywords.textContent = result.keywordLine;
}

function runSummary() {
  // A press during a run is ignored, as in the window.
  if (state.engine === "running") return;
  output.value = "";
  keywords.textContent = "";
  runStart = performance.now();
  ++state.runs;
  setEngineState("running");
  worker.postMessage({
    type: "run",
    title: title.value,
    article: article.value,
    length: length.selectedIndex,
  });
}

function clearAll() {
  // 清空 during a run stops it: the worker is ended and a fresh one started.
  if (state.engine === "running") {
    worker.terminate();
    startWorker();
  }
  article.value = "";
  output.value = "";
  title.value = "";
  status.textContent = "";
  keywords.textContent = "";
}

function loadSample(n) {
  const pair = samples[n - 1];
  title.value = pair.title;
  article.value = pair.article;
  output.value = "";
}

async function openFile(file, target) {
  const decoded = decodeTextFile(new Uint8Array(await file.arrayBuffer()));
  if (decoded.error) {
    status.textContent = file.name + "：" + decoded.error;
    return;
  }
  if (target === title) title.value = firstLine(decoded.text);
  else article.value = decoded.text;
}

// Dropping a file on the headline box loads its first line; anywhere else,
// the whole file goes into the article box.
function acceptDrops() {
  let depth = 0;
  document.addEventListener("dragenter", (e) => {
    if (!e.dataTransfer.types.includes("Files")) return;
    ++depth;
    document.body.classList.add("dragging");
  });
  document.addEventListener("dragleave", () => {
    if (depth > 0 && --depth === 0) document.body.classList.remove("dragging");
  });
  document.addEventListener("dragover", (e) => {
    if (e.dataTransfer.types.includes("Files")) e.preventDefault();
  });
  document.addEventListener("drop", (e) => {
    depth = 0;
    document.body.classList.remove("dragging");
    const file = e.dataTransfer.files[0];
    if (!file) return;
    e.preventDefault();
    openFile(file, e.target === title ? title : article);
  });
}

$("摘要").addEventListener("click", runSummary);
$("按钮1").addEventListener("click", clearAll);
$("按钮2").addEventListener("click", () => loadSample(2));
$("按钮3").addEventListener("click", () => loadSample(3));
$("file").addEventListener("change", (e) => {
  if (e.target.files[0]) openFile(e.target.files[0], article);
  e.target.value = "";
});
acceptDrops();
loadSample(1);
startWorker();
// Served over http(s), the page keeps its files for use without the server.
if ("serviceWorker" in navigator) navigator.serviceWorker.register("sw.js").catch(() => {});
