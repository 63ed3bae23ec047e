// SPDX-License-Identifier: MIT
// The page's side of the engine's worker: each request a promise of its
// answer, its prompts handed to a listener as they come, the illegal colour
// question put to `ask` and its answer sent back through the handshake. The
// worker runs one request at a time, in the order asked. An error the
// worker does not catch stops it: every request pending or asked after
// that fails with it.
import {Kind, Request, giveAnswer, handshakeMessage, newHandshake} from './protocol.js';

export class EngineBridge {
  // `worker`: a Worker running worker.js (or a stand-in with postMessage,
  // terminate and the message and error events); `ask(text)`: a promise
  // of true for yes.
  constructor(worker, ask) {
    this.worker = worker;
    this.ask = ask;
    this.pending = new Map();  // request id -> {resolve, reject, listener}
    this.lastId = 0;
    this.stopped = null;  // the error that stopped the worker
    this.handshake = newHandshake();
    worker.postMessage(handshakeMessage(this.handshake));
    worker.addEventListener('message', ({data}) => this.received(data));
    worker.addEventListener('error', (event) => this.stop(event));
    worker.addEventListener('messageerror', (event) => this.stop(event));
  }

  // Takes in files, each {path, file}: {levels, others}, the level names found
  // among them all and the files that belong to none.
  add(files) { return this.request(Request.add, files); }
  remove(paths) { return this.request(Request.remove, paths); }
  check(level) { return this.request(Request.check, level); }
  // `listener` gets the batch's messages and progress, each {kind, level, ...}.
  convert(levels, listener) { return this.request(Request.convert, levels, listener); }
  info(path) { return this.request(Request.info, path); }
  unpack(path) { return this.request(Request.unpack, path); }
  picture(path) { return this.request(Request.picture, path); }
  // The workbench's look-ups (protocol.js says what each answers).
  inspect(level, x, y) { return this.request(Request.inspect, {level, x, y}); }
  places(level, colour) { return this.request(Request.places, {level, colour}); }
  repair(level) { return this.request(Request.repair, level); }
  palette() { return this.request(Request.palette, null); }
  compose(kind, bytes) { return this.request(Request.compose, {kind, bytes}); }
  decompose(colour) { return this.request(Request.decompose, colour); }

  request(name, argument, listener = () => {}) {
    if (this.stopped) return Promise.reject(this.stopped);
    const id = ++this.lastId;
    this.worker.postMessage({id, request: name, argument});
    return new Promise((resolve, reject) => this.pending.set(id, {resolve, reject, listener}));
  }

  received(data) {
    const waiting = this.pending.get(data.id);
    if (!waiting) return;
    switch (data.kind) {
      case Kind.done:
        this.pending.delete(data.id);
        waiting.resolve(data.answer);
        break;
      case Kind.failed:
        this.pending.delete(data.id);
        waiting.reject(new Error(data.error));
        break;
      case Kind.question:
        // A failed dialog must not leave the engine waiting: it answers no.
        Promise.resolve().then(() => this.ask(data.text, data.level)).catch(() => false)
          .then((yes) => giveAnswer(this.handshake, yes));
        break;
      default:
        waiting.listener(data);
    }
  }

  stop(event) {
    this.stopped = new Error(`The engine's worker stopped: ${event.message || event.type}`);
    this.worker.terminate();
    for (const {reject} of this.pending.values()) reject(this.stopped);
    this.pending.clear();
  }
}
