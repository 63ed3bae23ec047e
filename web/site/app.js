// SPDX-License-Identifier: MIT
// The page: files in, levels listed and checked at once, conversions run
// in the engine's worker, the question asked in a dialog, results shown.
const worker = new Worker('worker.js');
const handshake = new Int32Array(new SharedArrayBuffer(8));
worker.postMessage({handshake: handshake.buffer});

const pending = new Map();  // request id -> {resolve, reject, prompt}
let nextId = 0;

function request(name, argument, prompt = () => {}) {
  const id = ++nextId;
  worker.postMessage({id, request: name, argument});
  return new Promise((resolve, reject) => pending.set(id, {resolve, reject, prompt}));
}

worker.onmessage = ({data}) => {
  const waiting = pending.get(data.id);
  if (!waiting) return;
  if (data.kind === 'done' || data.kind === 'failed') {
    pending.delete(data.id);
    if (data.kind === 'done') waiting.resolve(data.answer);
    else waiting.reject(new Error(data.error));
    return;
  }
  waiting.prompt(data);
};

function answer(yes) {
  Atomics.store(handshake, 1, yes ? 1 : 0);
  Atomics.store(handshake, 0, 1);
  Atomics.notify(handshake, 0);
}

const question = document.getElementById('question');
function ask(text) {
  document.getElementById('question-text').textContent = text;
  question.returnValue = '';
  question.showModal();
  question.addEventListener('close', () => answer(question.returnValue === 'yes'), {once: true});
}

function element(tag, attributes = {}, text = '') {
  const made = document.createElement(tag);
  for (const [name, value] of Object.entries(attributes)) made.setAttribute(name, value);
  if (text) made.textContent = text;
  return made;
}

const levelsShown = document.getElementById('levels');
const levelViews = new Map();  // level name -> its check's map view

function levelElement(level) {
  let shown = levelsShown.querySelector(`[data-level="${CSS.escape(level)}"]`);
  if (shown) return shown;
  shown = element('article', {'data-level': level, 'aria-label': level});
  const heading = element('h2', {}, level);
  const convert = element('button', {type: 'button'}, 'Convert');
  convert.addEventListener('click', () => convertLevel(level));
  const show = element('button', {type: 'button'}, 'Show map');
  show.addEventListener('click', () => showMap(level));
  shown.append(heading, element('p', {class: 'actions'}), element('ul', {class: 'problems'}),
               element('div', {class: 'messages'}));
  shown.querySelector('.actions').append(convert, ' ', show);
  levelsShown.append(shown);
  return shown;
}

function field(value) {
  return value === null || value === undefined ? '' : String(value);
}

async function checkLevel(level) {
  const shown = levelElement(level);
  const {report, view} = await request('check', level);
  const checked = report.levels[0];
  const list = shown.querySelector('.problems');
  list.replaceChildren();
  for (const problem of checked.problems) {
    const item = element('li', {
      'data-problem': '', 'data-code': problem.code, 'data-severity': problem.severity,
      'data-file': field(problem.file), 'data-line': field(problem.line),
      'data-x': field(problem.x), 'data-y': field(problem.y), tabindex: '0',
    });
    const place = problem.line !== null ? `:${problem.line}` : '';
    item.textContent = `${problem.file}${place}: ${problem.severity}: ${problem.message} [${problem.code}]`;
    if (problem.x !== null) {
      item.addEventListener('click', () => showMap(level, problem));
      item.addEventListener('keydown', (event) => { if (event.key === 'Enter') showMap(level, problem); });
    }
    list.append(item);
  }
  if (checked.problems.length === 0) list.append(element('li', {}, 'No problems found.'));
  levelViews.set(level, {view, problems: checked.problems});
}

const convertAll = document.getElementById('convert-all');
const checkAgain = document.getElementById('check-again');
const summary = document.getElementById('summary');
let levels = [];

async function addFiles(files) {
  if (files.length === 0) return;
  const dropped = files.filter(({path}) => !/\.lev$/i.test(path));
  const levelFiles = files.filter(({path}) => /\.lev$/i.test(path));
  levels = await request('add', files);
  for (const level of levels) await checkLevel(level);
  for (const {path} of levelFiles) await showLevelFile(path);
  convertAll.disabled = checkAgain.disabled = levels.length === 0;
  summary.textContent = `${levels.length} level${levels.length === 1 ? '' : 's'} found among ${dropped.length} files.`;
}

// Converts the levels as one batch: each level's messages and its level
// file shown in its element, the batch's failure summary under the list.
async function convertLevels(names) {
  const shownMessages = new Map();
  for (const level of names) {
    const messages = levelElement(level).querySelector('.messages');
    messages.replaceChildren();
    delete levelElement(level).dataset.converted;
    shownMessages.set(level, messages);
  }
  summary.replaceChildren();
  const {files} = await request('convert', names, (prompt) => {
    if (prompt.kind === 'message') shownMessages.get(prompt.level).append(element('p', {'data-message': ''}, prompt.text));
    if (prompt.kind === 'batch') summary.append(element('p', {'data-message': ''}, prompt.text));
    if (prompt.kind === 'question') ask(prompt.text);
  });
  for (const [level, file] of Object.entries(files)) {
    const name = level.split('/').pop() + '.lev';
    const link = element('a', {download: name, href: URL.createObjectURL(file)}, `Download ${name}`);
    shownMessages.get(level).append(link);
  }
  // Tests wait for this: every message and link of the batch is shown.
  for (const level of names) levelElement(level).dataset.converted = level in files ? 'yes' : 'no';
}

function convertLevel(level) {
  return convertLevels([level]);
}

convertAll.addEventListener('click', () => convertLevels(levels));
checkAgain.addEventListener('click', async () => { for (const level of levels) await checkLevel(level); });

async function showLevelFile(path) {
  const [document_] = await request('info', path);
  const shown = element('article', {'data-level-file': path, 'aria-label': path});
  shown.append(element('h2', {}, path), element('pre', {'data-info': ''}, JSON.stringify(document_, null, 2)));
  const unpack = element('button', {type: 'button'}, 'Unpack');
  unpack.addEventListener('click', async () => {
    const answer = await request('unpack', path);
    const list = element('ul');
    if (answer.error) list.append(element('li', {'data-message': ''}, answer.error));
    for (const {name, file} of answer.files) {
      const item = element('li');
      item.append(element('a', {download: name, href: URL.createObjectURL(file)}, name));
      list.append(item);
    }
    shown.append(list);
  });
  shown.append(unpack);
  document.getElementById('level-files').append(shown);
}

// Map view: the check's picture, zoomed and panned, a pin per placed problem.
const map = document.getElementById('map');
const canvas = document.getElementById('map-view');
const context = canvas.getContext('2d');
let current = null;  // {bitmap, width, height, step, problems, scale, x, y}

async function showMap(level, problem) {
  const entry = levelViews.get(level);
  if (!entry || !entry.view) return;
  const {view, problems} = entry;
  if (!current || current.level !== level) {
    current = {level, bitmap: await createImageBitmap(view.image), width: view.width,
               height: view.height, problems, x: 0, y: 0, scale: 1};
    fit();
  }
  map.hidden = false;
  document.getElementById('map-level').textContent = level;
  if (problem) {
    current.scale = Math.max(current.scale, 4);
    current.x = problem.x - canvas.width / 2 / current.scale;
    current.y = problem.y - canvas.height / 2 / current.scale;
  }
  draw();
  canvas.focus();
}

function fit() {
  current.scale = Math.min(canvas.width / current.width, canvas.height / current.height);
  current.x = current.y = 0;
}

function draw() {
  const {bitmap, width, height, scale, x, y} = current;
  context.imageSmoothingEnabled = false;
  context.clearRect(0, 0, canvas.width, canvas.height);
  context.drawImage(bitmap, -x * scale, -y * scale, width * scale, height * scale);
  context.strokeStyle = '#00e5ff';
  context.lineWidth = 2;
  for (const problem of current.problems) {
    if (problem.x === null) continue;
    const px = (problem.x - x) * scale, py = (problem.y - y) * scale;
    context.beginPath();
    context.arc(px, py, 6, 0, 2 * Math.PI);
    context.stroke();
  }
}

function zoom(factor) {
  const cx = current.x + canvas.width / 2 / current.scale, cy = current.y + canvas.height / 2 / current.scale;
  current.scale *= factor;
  current.x = cx - canvas.width / 2 / current.scale;
  current.y = cy - canvas.height / 2 / current.scale;
  draw();
}

document.getElementById('zoom-in').addEventListener('click', () => zoom(2));
document.getElementById('zoom-out').addEventListener('click', () => zoom(0.5));
document.getElementById('zoom-fit').addEventListener('click', () => { fit(); draw(); });
canvas.addEventListener('wheel', (event) => { event.preventDefault(); zoom(event.deltaY < 0 ? 1.25 : 0.8); });
canvas.addEventListener('keydown', (event) => {
  const step = 64 / current.scale;
  const moves = {ArrowLeft: [-step, 0], ArrowRight: [step, 0], ArrowUp: [0, -step], ArrowDown: [0, step]};
  if (moves[event.key]) {
    current.x += moves[event.key][0];
    current.y += moves[event.key][1];
    draw();
    event.preventDefault();
  } else if (event.key === '+') zoom(2);
  else if (event.key === '-') zoom(0.5);
});
let dragFrom = null;
canvas.addEventListener('pointerdown', (event) => { dragFrom = [event.offsetX, event.offsetY]; });
canvas.addEventListener('pointerup', () => { dragFrom = null; });
canvas.addEventListener('pointermove', (event) => {
  if (!dragFrom) return;
  current.x -= (event.offsetX - dragFrom[0]) / current.scale;
  current.y -= (event.offsetY - dragFrom[1]) / current.scale;
  dragFrom = [event.offsetX, event.offsetY];
  draw();
});

// Files in: picked, a picked folder, or dropped (folders walked).
function picked(input) {
  return [...input.files].map((file) => ({path: file.webkitRelativePath || file.name, file}));
}
document.getElementById('sources').addEventListener('change', (event) => addFiles(picked(event.target)));
document.getElementById('folder').addEventListener('change', (event) => addFiles(picked(event.target)));

async function entries(entry, into) {
  if (entry.isFile) {
    const file = await new Promise((resolve, reject) => entry.file(resolve, reject));
    into.push({path: entry.fullPath.replace(/^\//, ''), file});
    return;
  }
  const reader = entry.createReader();
  for (;;) {
    const batch = await new Promise((resolve, reject) => reader.readEntries(resolve, reject));
    if (batch.length === 0) return;
    for (const child of batch) await entries(child, into);
  }
}
document.addEventListener('dragover', (event) => event.preventDefault());
document.addEventListener('drop', async (event) => {
  event.preventDefault();
  const files = [];
  for (const item of [...event.dataTransfer.items].map((it) => it.webkitGetAsEntry())) {
    if (item) await entries(item, files);
  }
  addFiles(files);
});

if ('serviceWorker' in navigator) navigator.serviceWorker.register('sw.js');
