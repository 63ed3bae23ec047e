// SPDX-License-Identifier: MIT
// The browser's read floor, run as a worker of the page (web_bench.test.js
// serves it beside the site): the File posted is read front to back in
// blocks of the page's read-ahead, one read at a time, as `cat file >
// /dev/null` reads natively. Answers {ms, bytes}.
import {kBlockBytes} from './read-ahead.js';

onmessage = async ({data: file}) => {
  const start = performance.now();
  let bytes = 0;
  for (let at = 0; at < file.size; at += kBlockBytes) {
    bytes += (await file.slice(at, at + kBlockBytes).arrayBuffer()).byteLength;
  }
  postMessage({ms: performance.now() - start, bytes});
};
