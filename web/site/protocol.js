// SPDX-License-Identifier: MIT
// What the page (bridge.js) and the engine's worker (worker.js) say to each
// other. The page sends {id, request, argument}; the worker answers it with
// any number of prompts ({id, kind, ...}: a message, the batch's failure, a
// question, the progress of a level) and then one `done` {answer} or
// `failed` {error}. The messages of one request come in the order sent.

export const Request = Object.freeze({
  add: 'add',  // [{path, file}] -> {levels, others}: the level names, the files of none
  remove: 'remove',  // [path] -> {levels, others}
  // level -> {report, count, view, legend}: view {width, height, step,
  // attributes, problems} (two ImageBitmaps) or null; legend {codes: [34
  // pixel counts by code], illegal} or null
  check: 'check',
  convert: 'convert',  // [level] -> {failed, files}
  info: 'info',  // path of a level file -> zurlev info's document
  unpack: 'unpack',  // path of a level file -> {written, differences, error, files}
  picture: 'picture',  // path of a level file -> {marks, view}: view {width, height, step, image}
  // {level, x, y} -> {x, y, colour, code, group, illegal, nearest, marker: {kind, bytes}} or null
  inspect: 'inspect',
  places: 'places',  // {level, colour} -> {places: [{x, y}], more} (at most 10000) or null
  // level -> {name, file, repaired, text, error, view}: view {width, height,
  // step, after, changed} (two ImageBitmaps); file and view null on an error
  repair: 'repair',
  palette: 'palette',  // () -> {codes: [{code, colour, group}], markers: [{kind, blue, shown}]}
  compose: 'compose',  // {kind, bytes} -> the marker colour or null
  decompose: 'decompose',  // colour -> {kind, bytes} or null
});

export const Kind = Object.freeze({
  done: 'done',
  failed: 'failed',
  message: 'message',  // {level, text, icon}
  answered: 'answered',  // {level, text, yes}: a question and the answer it took
  batch: 'batch',  // {text}: the batch's failure summary
  question: 'question',  // {level, text}: answered through the handshake
  progress: 'progress',  // {level, position}: 0 to 100
});

// The illegal colour question blocks the engine inside its call, so its
// answer cannot come as a message: the page writes it into shared memory,
// where the waiting worker reads it. Word 0 turns 1 once word 1 holds the
// answer (1 for yes).
const kAnswered = 0;
const kAnswer = 1;

export function newHandshake() {
  return new Int32Array(new SharedArrayBuffer(2 * Int32Array.BYTES_PER_ELEMENT));
}

// The page's first message: the handshake, before any request.
export function handshakeMessage(handshake) {
  return {handshake: handshake.buffer};
}

// The handshake a message carries, or null for a request.
export function handshakeOf(message) {
  return message.handshake ? new Int32Array(message.handshake) : null;
}

// The worker's side: `post` sends the question; blocks until the answer.
export function waitForAnswer(handshake, post) {
  Atomics.store(handshake, kAnswered, 0);
  post();
  Atomics.wait(handshake, kAnswered, 0);
  return Atomics.load(handshake, kAnswer) === 1;
}

// The page's side.
export function giveAnswer(handshake, yes) {
  Atomics.store(handshake, kAnswer, yes ? 1 : 0);
  Atomics.store(handshake, kAnswered, 1);
  Atomics.notify(handshake, kAnswered);
}
