// SPDX-License-Identifier: MIT
// The engine worker's reader of the dropped files (read-ahead.js): reads the
// blocks asked for, several at once, into their slots of the shared memory.
import {fillSlot, readBlock} from './read-ahead.js';

let slots = null;  // {data, state, blockBytes}: the shared memory

onmessage = async ({data}) => {
  if (data.slots) {
    slots = data.slots;
    postMessage('ready');
    return;
  }
  fillSlot(slots, data, await readBlock(slots, data));
};
