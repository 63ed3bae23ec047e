// SPDX-License-Identifier: MIT
// The smaller copies of map layers (reduce-worker.js makes them), made
// when first asked for and kept until their layer is released.
let worker = null;
let lastId = 0;
const waiting = new Map();  // id -> resolve
const pyramids = new Map();  // bitmap -> {levels (null while made), callbacks: to call once made}

function ask(bitmap, colour = null) {
  if (!worker) {
    worker = new Worker('reduce-worker.js');
    worker.addEventListener('message', ({data}) => {
      waiting.get(data.id)?.(data);
      waiting.delete(data.id);
    });
  }
  const id = ++lastId;
  return createImageBitmap(bitmap).then((copy) => new Promise((resolve) => {
    waiting.set(id, resolve);
    worker.postMessage({id, bitmap: copy, colour}, [copy]);
  }));
}

// The copy of `bitmap` halved `times` times (the bitmap itself for 0, the
// smallest made for more than were made), or null while it is made;
// `ready` is called once it is.
export function reduced(bitmap, times, ready) {
  if (times <= 0) return bitmap;
  let pyramid = pyramids.get(bitmap);
  if (!pyramid) {
    pyramid = {levels: null, callbacks: new Set()};
    ask(bitmap).then(({levels}) => {
      if (pyramids.get(bitmap) !== pyramid) levels.forEach((level) => level.close());
      else pyramid.levels = levels;
      for (const callback of pyramid.callbacks) callback();
    });
    pyramids.set(bitmap, pyramid);
  }
  if (!pyramid.levels) {
    pyramid.callbacks.add(ready);
    return null;
  }
  return pyramid.levels[Math.min(times, pyramid.levels.length) - 1] ?? bitmap;
}

// A bitmap whose pixels of `colour` ([r, g, b], or 'opaque' for every
// opaque one) are kept and the rest veiled, made from `bitmap`; its smaller copies come with it.
export async function highlighted(bitmap, colour) {
  const {base, levels} = await ask(bitmap, colour);
  pyramids.set(base, {levels});
  return base;
}

// Closes `bitmap` and its smaller copies.
export function release(bitmap) {
  if (!bitmap) return;
  const pyramid = pyramids.get(bitmap);
  pyramids.delete(bitmap);
  pyramid?.levels?.forEach((level) => level.close());
  bitmap.close();
}
