// The calculator form: the engine keeps the catalogue and the trees' check rules, a Web Worker
// searches, and the page shows the solutions. ?catalogue=URL&request=URL puts a request file into
// the form; &autorun=1 also runs its search and puts the tool's report text into #report.
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
  help: null,
  signalList: null,
};

// offerMap shows the question whether to read a map file for the signal list's types.
function showMessage(text, offerMap = false) {
  $('message-text').textContent = text;
  $('signal-map').hidden = !offerMap;
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
  li.dataset.id = item.id;
  if (item.help) {
    li.dataset.help = '1';
    const button = document.createElement('button');
    button.type = 'button';
    button.className = 'help';
    button.title = 'Nápověda (F5)';
    button.textContent = '?';
    button.addEventListener('click', () => showHelp(li));
    li.append(button);
  }
  return li;
}

function renderTrees() {
  hideHelp();
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

// --- help tool-tips ------------------------------------------------------------------------
// The engine lays the help out and pages it, measuring through measureText below, and hands back
// what it drew; the page replays that on the #help-tip canvas. state.help.record keeps what was
// drawn last, for tests.

const kPaper = '#ffffe1';
const kInk = '#000000';
const kGreyInk = '#808080';
const measureContext = document.createElement('canvas').getContext('2d');

function fontPixels(font) {
  return parseFloat(/([\d.]+)px/.exec(font)[1]);
}

function ascentOf(metrics, font) {
  return metrics.fontBoundingBoxAscent !== undefined ? metrics.fontBoundingBoxAscent
    : fontPixels(font) * 0.905;
}

// The engine asks for the extent of each word in the font it will be drawn in.
function measureText(font, text) {
  measureContext.font = font;
  const metrics = measureContext.measureText(text);
  const height = metrics.fontBoundingBoxAscent !== undefined
    ? metrics.fontBoundingBoxAscent + metrics.fontBoundingBoxDescent : fontPixels(font) * 1.15;
  return [Math.ceil(metrics.width), Math.ceil(height)];
}

function showHelp(li) {
  hideHelp();
  if (!li || !li.dataset.help) return;
  const label = li.querySelector('label').getBoundingClientRect();
  // The engine places the client area; the canvas's border of a pixel goes round it.
  placeHelp(state.help.tip.show(state.calc, Number(li.dataset.id), Math.round(label.right + 8),
    Math.round(label.top), window.innerWidth - 2, window.innerHeight - 2, measureText));
}

// The help of the selected result row's device with its modules, beside the row's first cell.
function showRowHelp() {
  hideHelp();
  const row = selectedRow();
  const cell = $('result-table').querySelector('tbody tr.selected td');
  if (!row || !row.equipment || !cell) return;
  const rect = cell.getBoundingClientRect();
  placeHelp(state.help.tip.showEquipment(state.calc, JSON.stringify(row.equipment),
    Math.round(rect.right + 8), Math.round(rect.top), window.innerWidth - 2,
    window.innerHeight - 2, measureText));
}

function placeHelp(placement) {
  if (!placement) return;
  state.help.placement = JSON.parse(placement);
  const canvas = $('help-tip');
  canvas.style.left = `${state.help.placement.x}px`;
  canvas.style.top = `${state.help.placement.y}px`;
  canvas.hidden = false;
  drawHelp();
}

function hideHelp() {
  if (!state.help) return;
  state.help.tip.hide();
  state.help.generation += 1;
  $('help-tip').hidden = true;
}

function frameRect(context, rect, colour) {
  context.strokeStyle = colour;
  context.lineWidth = 1;
  context.strokeRect(rect.left + 0.5, rect.top + 0.5, rect.right - rect.left - 1,
    rect.bottom - rect.top - 1);
}

// Grey as the engine greys colours: red, green and blue weighted 30, 59 and 11 per cent.
function greyed(bitmap, width, height) {
  const scratch = document.createElement('canvas');
  scratch.width = width;
  scratch.height = height;
  const context = scratch.getContext('2d');
  context.drawImage(bitmap, 0, 0, width, height);
  const image = context.getImageData(0, 0, width, height);
  const p = image.data;
  for (let i = 0; i < p.length; i += 4) {
    p[i] = p[i + 1] = p[i + 2] = Math.floor(p[i] * 30 / 100) + Math.floor(p[i + 1] * 59 / 100)
      + Math.floor(p[i + 2] * 11 / 100);
  }
  context.putImageData(image, 0, 0);
  return scratch;
}

function drawArrowButton(context, rect, up, active) {
  const ink = active ? kInk : kGreyInk;
  frameRect(context, rect, ink);
  const cx = (rect.left + rect.right) / 2;
  const cy = (rect.top + rect.bottom) / 2;
  const half = (rect.right - rect.left) / 4;
  context.fillStyle = ink;
  context.beginPath();
  context.moveTo(cx - half, up ? cy + half / 2 : cy - half / 2);
  context.lineTo(cx + half, up ? cy + half / 2 : cy - half / 2);
  context.lineTo(cx, up ? cy - half / 2 - 1 : cy + half / 2 + 1);
  context.fill();
}

function drawPicture(context, operation, jpeg, generation, entry) {
  const width = operation.right - operation.left;
  const height = operation.bottom - operation.top;
  return createImageBitmap(new Blob([jpeg], { type: 'image/jpeg' })).then((bitmap) => {
    if (generation !== state.help.generation) return;
    const source = operation.grey ? greyed(bitmap, width, height) : bitmap;
    context.drawImage(source, operation.left, operation.top, width, height);
    frameRect(context, operation, operation.colour);
    Object.assign(entry, { drawn: true, width: bitmap.width, height: bitmap.height });
  }, () => { entry.failed = true; });
}

function drawHelp() {
  const page = JSON.parse(state.help.tip.draw(measureText));
  const { width, height } = state.help.placement;
  const canvas = $('help-tip');
  const scale = window.devicePixelRatio || 1;
  canvas.width = Math.round(width * scale);
  canvas.height = Math.round(height * scale);
  canvas.style.width = `${width}px`;
  canvas.style.height = `${height}px`;
  const context = canvas.getContext('2d');
  context.setTransform(scale, 0, 0, scale, 0, 0);
  context.fillStyle = kPaper;
  context.fillRect(0, 0, width, height);
  if (page.barY !== undefined) {
    context.fillStyle = kInk;
    context.fillRect(0, page.barY, width, 1);
    drawArrowButton(context, page.previous, true, page.page > 0);
    drawArrowButton(context, page.next, false, page.page < page.lastPage);
  }
  const generation = ++state.help.generation;
  const record = { width, height, page: page.page, lastPage: page.lastPage, texts: [],
    frames: [], pictures: [], done: false };
  const pending = [];
  context.textBaseline = 'alphabetic';
  for (const operation of page.operations) {
    if (operation.kind === 'text') {
      context.font = operation.font;
      context.fillStyle = operation.colour;
      const metrics = context.measureText(operation.text);
      const baseline = operation.y + ascentOf(metrics, operation.font);
      context.fillText(operation.text, operation.x, baseline);
      if (operation.underline) {
        context.fillRect(operation.x, Math.round(baseline) + 1, metrics.width, 1);
      }
      record.texts.push({ x: operation.x, y: operation.y, text: operation.text,
        font: operation.font,
        inkRight: operation.x + context.measureText(operation.text.trimEnd()).width });
    } else if (operation.kind === 'frame') {
      frameRect(context, operation, operation.colour);
      record.frames.push(operation);
    } else if (operation.kind === 'picture') {
      // The bytes are copied at once: the engine's memory may move on its next call.
      const jpeg = state.help.tip.picture(operation.picture).slice();
      const entry = { left: operation.left, top: operation.top, right: operation.right,
        bottom: operation.bottom, bytes: jpeg.length, drawn: false };
      record.pictures.push(entry);
      pending.push(drawPicture(context, operation, jpeg, generation, entry));
    }
  }
  state.help.record = record;
  Promise.all(pending).then(() => { record.done = true; });
}

function helpAnswer(answer) {
  if (answer === 'redraw') drawHelp();
  else if (answer === 'hide') hideHelp();
  return answer !== '';
}

function setUpHelp() {
  state.help = { tip: new state.engine.HelpTip(), placement: null, generation: 0, record: null };
  const canvas = $('help-tip');
  const at = (event) => [Math.round(event.offsetX), Math.round(event.offsetY)];
  canvas.addEventListener('pointerdown', (event) => {
    event.preventDefault();
    helpAnswer(state.help.tip.mouse(true, ...at(event)));
  });
  // A touch has no hover: only a mouse's leaving hides the tool-tip.
  canvas.addEventListener('pointermove', (event) => {
    if (event.pointerType === 'mouse') helpAnswer(state.help.tip.mouse(false, ...at(event)));
  });
  canvas.addEventListener('pointerleave', (event) => {
    if (event.pointerType === 'mouse') helpAnswer(state.help.tip.mouse(false, -1000, -1000));
  });
  canvas.addEventListener('wheel', (event) => {
    event.preventDefault();
    if (event.deltaY !== 0) helpAnswer(state.help.tip.wheel(event.deltaY < 0 ? 120 : -120));
  }, { passive: false });
  document.addEventListener('pointerdown', (event) => {
    if (!canvas.contains(event.target) && !event.target.closest('button.help, #row-help')) {
      hideHelp();
    }
  });
  document.addEventListener('keydown', (event) => {
    if (state.help.tip.isVisible()) {
      if (event.key === 'Escape') {
        hideHelp();
        event.preventDefault();
        return;
      }
      if (helpAnswer(state.help.tip.key(event.key))) event.preventDefault();
      return;
    }
    // F5 asks for the help of the tree item or result row that has the focus, as in the
    // desktop's form.
    if (event.key !== 'F5' || !event.target.closest) return;
    const li = event.target.closest('.tree li');
    if (li) {
      event.preventDefault();
      showHelp(li);
    } else if (event.target.closest('.table-box')) {
      event.preventDefault();
      showRowHelp();
    }
  });
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
  $('row-help').disabled = running || !(selectedRow() && selectedRow().equipment);
  $('run').disabled = running;
  $('stop').disabled = !running;
}

function goTo(index) {
  if (state.worker || index < 0 || index >= state.solutions.length) return;
  state.index = index;
  state.selectedRow = 0;
  renderSolution();
}

function selectedRow() {
  const solution = state.solutions[state.index];
  return solution && solution.rows[state.selectedRow];
}

function selectedText() {
  const row = selectedRow();
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
  hideHelp();
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

// --- signal lists --------------------------------------------------------------------------
// "Načíst seznam signálů…": the engine reads the list (XLSX or CSV) and sets the counts from it,
// as the desktop does; the page says what the list held besides the signals counted and offers a
// map file for its types that are no IO kind, with which the same list is read again.

// The message lists this many of the types; a list may have thousands.
const kTypesShown = 10;

// A text of the list as the engine quotes one: its first 60 characters, control characters as
// escapes.
function quoted(text) {
  const characters = [...text];
  const shown = characters.slice(0, 60).join('').replace(/[\x00-\x1f\x7f]/g,
    (c) => `\\x${c.charCodeAt(0).toString(16).padStart(2, '0')}`);
  return `'${shown}${characters.length > 60 ? '...' : ''}'`;
}

function rowsText(rows) {
  let numbers = rows.rows.join(', ');
  if (rows.count > rows.rows.length) numbers += ` a dalších ${rows.count - rows.rows.length}`;
  return `${rows.count === 1 ? 'řádek' : 'řádky'} ${numbers}`;
}

function signalListMessage(answer, fileName) {
  const lines = [answer.sheet
    ? `Počty požadovaných IO jsou načteny ze seznamu signálů "${fileName}", list ` +
      `"${answer.sheet}" (signálů: ${answer.signals}).`
    : `Počty požadovaných IO jsou načteny ze seznamu signálů "${fileName}" ` +
      `(signálů: ${answer.signals}).`];
  if (answer.unmapped.length > 0) {
    lines.push('', 'Tyto typy signálů nejsou IO body databáze a nebyly započteny:');
    for (const type of answer.unmapped.slice(0, kTypesShown)) {
      const hints = type.hints.length > 0 ? `; podobné názvy: ${type.hints.map(quoted).join(', ')}`
        : '';
      lines.push(`${quoted(type.type)}: ${rowsText(type)}${hints}`);
    }
    if (answer.unmapped.length > kTypesShown)
      lines.push(`… a dalších typů: ${answer.unmapped.length - kTypesShown}`);
  }
  if (answer.withoutType.count > 0 || answer.leftOut.count > 0) lines.push('');
  if (answer.withoutType.count > 0)
    lines.push(`Vynechané řádky bez typu: ${rowsText(answer.withoutType)}`);
  if (answer.leftOut.count > 0)
    lines.push(`Vynechané řádky podle přiřazení typů: ${rowsText(answer.leftOut)}`);
  return lines.join('\n');
}

// A list or map that cannot be read leaves the form as it was.
function readSignalList(map, mapName) {
  const list = state.signalList;
  const answer = JSON.parse(state.calc.loadSignalList(list.bytes, list.name, map, mapName));
  if (answer.error) {
    showMessage(`Soubor nelze načíst:\n${answer.error}`);
    return;
  }
  renderTrees();
  showMessage(signalListMessage(answer, list.name), answer.unmapped.length > 0);
}

async function fetchBytes(url) {
  const response = await fetch(url);
  if (!response.ok) throw new Error(`${url}: ${response.status} ${response.statusText}`);
  return response.arrayBuffer();
}

async function start() {
  state.engine = await createPinsumEngine();
  pinsumXlsx.engine = state.engine;
  state.calc = new state.engine.Calculator();
  setUpHelp();
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
  if (params.get('request')) {
    let request;
    try {
      request = new TextDecoder().decode(await fetchBytes(params.get('request')));
    } catch (e) {
      finish('error', `Soubor nelze načíst:\n${e.message}`);
      return;
    }
    const autorun = params.get('autorun') === '1';
    showRequest(request, !autorun);
    document.body.dataset.state = 'ready';
    if (autorun) runSearch(request, -1);
    return;
  }
  document.body.dataset.state = 'ready';
}

// The form shows the request file's counts, terminals, series and level. A request that does
// not fit the catalogue leaves the form as it was; the search started by autorun reports it.
function showRequest(request, tell) {
  const error = state.calc.applyRequest(request.normalize('NFC'));
  if (error) {
    if (tell) showMessage(error);
    return;
  }
  renderTrees();
  const level = JSON.parse(request).level;
  if (Number.isInteger(level) && level >= 0 && level <= 6) $('level').value = String(level);
}

$('open-catalogue').addEventListener('change', async (event) => {
  const file = event.target.files[0];
  event.target.value = '';
  if (!file || state.worker) return;
  const error = useCatalogue(await file.arrayBuffer(), file.name);
  if (error) showMessage(error);
});
$('open-signals').addEventListener('change', async (event) => {
  const file = event.target.files[0];
  event.target.value = '';
  if (!file || state.worker || !state.catalogue) return;
  state.signalList = { bytes: new Uint8Array(await file.arrayBuffer()), name: file.name };
  readSignalList('', '');
});
$('open-signal-map').addEventListener('change', async (event) => {
  const file = event.target.files[0];
  event.target.value = '';
  if (!file || state.worker || !state.signalList) return;
  const map = new Uint8Array(await file.arrayBuffer());
  $('message-dialog').close();
  readSignalList(map, file.name);
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
$('row-help').addEventListener('click', showRowHelp);
start();
