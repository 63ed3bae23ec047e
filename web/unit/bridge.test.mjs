// SPDX-License-Identifier: MIT
// The bridge over a stand-in worker: answers to the right request, prompts
// to the right listener, the question's answer through the handshake to an
// engine side blocked on it in a thread of its own, and a stopped worker
// failing every request.
import assert from 'node:assert/strict';
import {test} from 'node:test';
import {Worker} from 'node:worker_threads';
import {EngineBridge} from '../site/bridge.js';
import {Kind, Request, handshakeOf} from '../site/protocol.js';

// Takes the bridge's messages; `answer` plays the worker's.
class StandIn extends EventTarget {
  constructor() {
    super();
    this.posted = [];
    this.terminated = false;
  }
  postMessage(message) { this.posted.push(message); }
  terminate() { this.terminated = true; }
  answer(data) { this.dispatchEvent(Object.assign(new Event('message'), {data})); }
  fail(message) { this.dispatchEvent(Object.assign(new Event('error'), {message})); }
  requests() { return this.posted.filter((message) => message.request); }
}

test('each answer settles its own request, and prompts reach its own listener', async () => {
  const worker = new StandIn();
  const bridge = new EngineBridge(worker, async () => true);
  const heard = [];
  const converted = bridge.convert(['jungle'], (prompt) => heard.push(prompt));
  const checked = bridge.check('broken');
  const [convert, check] = worker.requests();
  assert.deepEqual([convert.request, convert.argument, check.request, check.argument],
                   [Request.convert, ['jungle'], Request.check, 'broken']);
  worker.answer({id: check.id, kind: Kind.message, level: 'broken', text: 'not mine'});
  worker.answer({id: convert.id, kind: Kind.progress, level: 'jungle', position: 40});
  worker.answer({id: check.id, kind: Kind.failed, error: 'Error: no such level'});
  worker.answer({id: convert.id, kind: Kind.done, answer: {failed: []}});
  await assert.rejects(checked, /no such level/);
  assert.deepEqual(await converted, {failed: []});
  assert.deepEqual(heard, [{id: convert.id, kind: Kind.progress, level: 'jungle', position: 40}]);
});

// The engine's side of two questions, blocked in a thread as the worker is
// in the engine's call: the answers it got.
function engineSide(worker) {
  const handshake = handshakeOf(worker.posted[0]);
  assert.ok(handshake, 'the handshake comes first');
  const thread = new Worker(`
    const {parentPort, workerData} = require('node:worker_threads');
    import(workerData.protocol).then(({waitForAnswer}) => {
      const answers = [];
      for (const text of ['first?', 'second?']) {
        answers.push(waitForAnswer(workerData.handshake, () => parentPort.postMessage(text)));
      }
      parentPort.postMessage(answers);
    });`, {eval: true, workerData: {handshake, protocol: new URL('../site/protocol.js', import.meta.url).href}});
  return new Promise((resolve, reject) => {
    thread.on('error', reject);
    thread.on('message', (message) => {
      if (Array.isArray(message)) resolve(message);
      else worker.answer({id: worker.requests()[0].id, kind: Kind.question, level: 'broken', text: message});
    });
  }).finally(() => thread.terminate());
}

test('each question is put to ask, and its answer, not the one before, reaches the waiting engine', {timeout: 20000}, async () => {
  const worker = new StandIn();
  const asked = [];
  const bridge = new EngineBridge(worker, async (text) => {
    asked.push(text);
    return text === 'first?';
  });
  bridge.convert(['broken']);
  assert.deepEqual(await engineSide(worker), [true, false]);
  assert.deepEqual(asked, ['first?', 'second?']);
});

test('a dialog that fails answers no', {timeout: 20000}, async () => {
  const worker = new StandIn();
  const bridge = new EngineBridge(worker, () => {
    throw new Error('no dialog');
  });
  bridge.convert(['broken']);
  assert.deepEqual(await engineSide(worker), [false, false]);
});

test('a worker that stops fails the requests pending and those asked after', async () => {
  const worker = new StandIn();
  const bridge = new EngineBridge(worker, async () => true);
  const pending = [bridge.add([]), bridge.info('jungle.lev')];
  worker.fail('RuntimeError: unreachable');
  for (const request of pending) await assert.rejects(request, /stopped: RuntimeError: unreachable/);
  assert.ok(worker.terminated);
  const posted = worker.posted.length;
  await assert.rejects(bridge.picture('jungle.lev'), /stopped/);
  assert.equal(worker.posted.length, posted);
});
