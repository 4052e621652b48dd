// The calculator form: the engine keeps the catalogue and the trees' check rules, a Web Worker
// searches, and the page shows the solutions. ?catalogue=URL&request=URL&autorun=1 runs a request
// file's search and puts the tool's report text into #report.
'use strict';

const $ = (id) => document.getElementById(id);
const params = new URLSearchParams(location.search);
const state = {
  engine: null,
  calc: null,
  catalogue: null,
  solutions: [],
  columns: [],
  index: 0,
  selectedRow: 0,
  worker: null,
  stopFlag: null,
};

function showMessage(text) {
  $('message-text').textContent = text;
  if (!$('message-dialog').open) $('message-dialog').showModal();
}

function finish(stateName, report) {
  $('report').textContent = report;
  document.body.dataset.state = stateName;
}

// --- the three request trees -------------------------------------------------------------

function countField(item) {
  const field = document.createElement('input');
  field.type = 'text';
  field.value = item.count;
  field.setAttribute('aria-label', item.name);
  field.dataset.id = item.id;
  field.addEventListener('change', () => {
    const message = state.calc.setCount(item.id, field.value);
    if (message) {
      showMessage(message);
      field.focus();
      field.select();
      return;
    }
    // The field shows the count as the engine read it ("+5," is 5); the rest stays as it is.
    const trees = JSON.parse(state.calc.trees());
    const read = [...trees.io, ...trees.terminals].find((entry) => entry.id === item.id);
    if (read) field.value = read.count;
  });
  return field;
}

function checkBox(item, onToggle) {
  const box = document.createElement('input');
  box.type = 'checkbox';
  box.checked = item.checked;
  box.dataset.id = item.id;
  box.addEventListener('change', () => onToggle(box.checked));
  return box;
}

function treeItem(item, content) {
  const li = document.createElement('li');
  const label = document.createElement('label');
  label.append(...content);
  li.append(label);
  return li;
}

function renderTrees() {
  const trees = JSON.parse(state.calc.trees());
  const io = $('io-tree');
  io.replaceChildren(...trees.io.map((item) =>
    treeItem(item, [countField(item), item.name])));
  $('terminal-tree').replaceChildren(...trees.terminals.map((item) =>
    treeItem(item, [checkBox(item, (on) => state.calc.setTerminalChecked(item.id, on)),
      countField(item), item.name])));
  const selection = (on, id) => { state.calc.setSelectionChecked(id, on); renderTrees(); };
  $('series-tree').replaceChildren(...trees.series.map((series) => {
    const li = treeItem(series, [checkBox(series, (on) => selection(on, series.id)), series.text]);
    const devices = document.createElement('ul');
    devices.replaceChildren(...(series.children || []).map((device) =>
      treeItem(device, [checkBox(device, (on) => selection(on, device.id)), device.text])));
    li.append(devices);
    return li;
  }));
}

// --- solutions -----------------------------------------------------------------------------

function renderSolution() {
  const count = state.solutions.length;
  const head = $('result-table').tHead;
  head.replaceChildren();
  if (state.columns.length) {
    const row = head.insertRow();
    for (const column of state.columns) {
      const th = document.createElement('th');
      th.textContent = column.heading;
      row.append(th);
    }
  }
  const body = $('result-table').tBodies[0];
  body.replaceChildren();
  const solution = state.solutions[state.index];
  if (solution) {
    solution.rows.forEach((row, i) => {
      const tr = body.insertRow();
      tr.className = row.colour + (i === state.selectedRow ? ' selected' : '');
      row.cells.forEach((text, c) => {
        const td = tr.insertCell();
        td.textContent = text;
        td.className = state.columns[c] ? state.columns[c].align : '';
      });
      tr.addEventListener('click', () => { state.selectedRow = i; renderSolution(); });
      tr.addEventListener('dblclick', () => { state.selectedRow = i; showDetails(); });
    });
  }
  const running = state.worker !== null;
  $('caption').textContent = count > 0 ? `Řešení ${state.index + 1} z ${count}` : '';
  $('number').value = String(count < 1 ? 1 : state.index + 1);
  $('first').disabled = running || state.index <= 0;
  $('previous').disabled = running || state.index <= 0;
  $('next').disabled = running || state.index >= count - 1;
  $('last').disabled = running || state.index >= count - 1;
  $('number').disabled = running || count <= 1;
  $('details').disabled = running || !selectedText();
  $('copy').disabled = running || !selectedText();
  $('run').disabled = running;
  $('stop').disabled = !running;
}

function goTo(index) {
  if (state.worker || index < 0 || index >= state.solutions.length) return;
  state.index = index;
  state.selectedRow = 0;
  renderSolution();
}

function selectedText() {
  const solution = state.solutions[state.index];
  const row = solution && solution.rows[state.selectedRow];
  return row ? row.text : '';
}

function showDetails() {
  if (!selectedText()) return;
  $('detail-text').textContent = selectedText();
  $('detail-dialog').showModal();
}

async function copyReport() {
  if (!selectedText()) return;
  try {
    await navigator.clipboard.writeText(selectedText());
    $('status').textContent = 'Zkopírováno do schránky.';
  } catch {
    showMessage('Schránku nelze použít; text je v okně Detaily řešení.');
  }
}

// --- the search ----------------------------------------------------------------------------

function runSearch(request, level) {
  if (state.worker || !state.catalogue) return;
  state.worker = new Worker('search_worker.js');
  // Shared memory reaches the busy worker only in a cross-origin isolated page.
  state.stopFlag = window.crossOriginIsolated ? new SharedArrayBuffer(4) : null;
  state.solutions = [];
  state.index = 0;
  $('status').textContent = '';
  document.body.dataset.state = 'running';
  renderSolution();
  state.worker.onmessage = (event) => {
    if (event.data.status !== undefined) {
      $('status').textContent = event.data.status;
      return;
    }
    const result = event.data.result;
    endWorker();
    state.solutions = result.solutions;
    state.columns = result.columns || [];
    state.index = 0;
    state.selectedRow = 0;
    $('status').textContent = result.messages && result.messages.length
      ? `${result.messages.join(' ')} (${(result.milliseconds / 1000).toFixed(2)} s)` : '';
    document.body.dataset.searchMs = String(Math.round(result.milliseconds));
    renderSolution();
    finish(result.state, result.report);
    if (result.state === 'error') showMessage(result.report);
  };
  state.worker.onerror = (event) => {
    endWorker();
    renderSolution();
    finish('error', `Hledání selhalo: ${event.message}`);
    showMessage($('report').textContent);
  };
  state.worker.postMessage({ catalogue: state.catalogue, request, level,
    stopFlag: state.stopFlag });
}

function endWorker() {
  if (state.worker) state.worker.terminate();
  state.worker = null;
  state.stopFlag = null;
}

function stopSearch() {
  if (!state.worker) return;
  if (state.stopFlag) {
    Atomics.store(new Int32Array(state.stopFlag), 0, 1);
    return;
  }
  // Without shared memory the worker cannot hear the stop: it is ended, and with it its work.
  endWorker();
  $('status').textContent = 'Hledání bylo ukončeno bez výsledku.';
  renderSolution();
  finish('done', '');
}

// --- catalogue -----------------------------------------------------------------------------

function useCatalogue(bytes, name) {
  const error = state.calc.load(new Uint8Array(bytes));
  if (error) return error;
  state.catalogue = bytes;
  state.solutions = [];
  state.index = 0;
  $('catalogue-name').textContent = name;
  renderTrees();
  renderSolution();
  return '';
}

async function fetchBytes(url) {
  const response = await fetch(url);
  if (!response.ok) throw new Error(`${url}: ${response.status} ${response.statusText}`);
  return response.arrayBuffer();
}

async function start() {
  state.engine = await createPinsumEngine();
  state.calc = new state.engine.Calculator();
  const catalogueUrl = params.get('catalogue') || 'iodb.pp';
  try {
    const error = useCatalogue(await fetchBytes(catalogueUrl), catalogueUrl);
    if (error) throw new Error(error);
  } catch (e) {
    finish('error', e.message.startsWith('Soubor') ? e.message
      : `Soubor nelze načíst:\n${e.message}`);
    showMessage($('report').textContent);
    return;
  }
  document.body.dataset.state = 'ready';
  if (params.get('request') && params.get('autorun') === '1') {
    let request;
    try {
      request = new TextDecoder().decode(await fetchBytes(params.get('request')));
    } catch (e) {
      finish('error', `Soubor nelze načíst:\n${e.message}`);
      return;
    }
    runSearch(request, -1);
  }
}

$('open-catalogue').addEventListener('change', async (event) => {
  const file = event.target.files[0];
  event.target.value = '';
  if (!file || state.worker) return;
  const error = useCatalogue(await file.arrayBuffer(), file.name);
  if (error) showMessage(error);
});
$('run').addEventListener('click', () => {
  const level = Number($('level').value);
  runSearch(state.calc.request(level), level);
});
$('stop').addEventListener('click', stopSearch);
$('clear').addEventListener('click', () => {
  if (state.worker) return;
  state.calc.clearCounts();
  state.solutions = [];
  renderTrees();
  renderSolution();
});
$('first').addEventListener('click', () => goTo(0));
$('previous').addEventListener('click', () => goTo(state.index - 1));
$('next').addEventListener('click', () => goTo(state.index + 1));
$('last').addEventListener('click', () => goTo(state.solutions.length - 1));
$('number').addEventListener('change', () => {
  const n = Number($('number').value.trim());
  if (!Number.isInteger(n) || n < 1 || n > state.solutions.length) {
    showMessage(`Zadejte celé číslo od 1 do ${state.solutions.length}.`);
    return;
  }
  goTo(n - 1);
});
$('details').addEventListener('click', showDetails);
$('copy').addEventListener('click', copyReport);
start();
