// SPDX-License-Identifier: MIT
// The engine worker's reader of the dropped files (web/site/worker.js): a
// browser reads a file fastest with several large reads under way at once,
// which only asynchronous reads allow, so the reads run here while the
// engine waits for their blocks. A block is read into its slot of the
// shared memory; then the slot's state is set to the request's ticket, or
// to its negative when the file could not be read in full.
let slots = null;  // {data, state, blockBytes}: the shared memory

onmessage = async ({data}) => {
  if (data.slots) {
    slots = data.slots;
    postMessage('ready');
    return;
  }
  const {file, block, slot, ticket} = data;
  const start = block * slots.blockBytes;
  const wanted = Math.min(slots.blockBytes, file.size - start);
  let done = -ticket;
  try {
    const bytes = new Uint8Array(await file.slice(start, start + wanted).arrayBuffer());
    if (bytes.length === wanted) {
      new Uint8Array(slots.data, slot * slots.blockBytes, wanted).set(bytes);
      done = ticket;
    }
  } catch {
    // The file changed or went away since it was dropped: the read fails.
  }
  Atomics.store(slots.state, slot, done);
  Atomics.notify(slots.state, slot);
};
