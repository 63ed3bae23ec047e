// SPDX-License-Identifier: MIT
// Asking the engine's worker as a pointer or a field moves: one request at
// a time, and of those wanted meanwhile only the last is asked, so that a
// moving pointer never queues a request per move.

// `ask(argument)`: a promise of the answer; `show(answer, argument)` is
// called with the answer to the latest argument only (`answer` undefined
// when the request failed). Returns `want(argument)`.
export function latest(ask, show) {
  let busy = false;
  let wanted = null;
  return async function want(argument) {
    wanted = {argument};
    if (busy) return;
    busy = true;
    while (wanted) {
      const asked = wanted.argument;
      wanted = null;
      let answer;
      try {
        answer = await ask(asked);
      } catch {
        answer = undefined;
      }
      if (!wanted) show(answer, asked);
    }
    busy = false;
  };
}
