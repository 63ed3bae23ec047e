// SPDX-License-Identifier: MIT
// A conversion told in full: every message zurconv prints for a level, in
// its order and words, each question with the answer it took.
const {test, expect} = require('@playwright/test');
const fs = require('fs');
const os = require('os');
const path = require('path');
const {spawnSync} = require('child_process');
const h = require('./helpers');

// zurconv's output as lines that are not empty, its own lines naming the
// level left out; a question's line ends in the answer it took.
function nativeLines(level) {
  const folder = fs.mkdtempSync(path.join(os.tmpdir(), 'zur-told-'));
  for (const file of h.sources(h.examples, [level])) fs.copyFileSync(file, path.join(folder, path.basename(file)));
  // One file for both streams keeps their order.
  const output = path.join(folder, 'output');
  const into = fs.openSync(output, 'w');
  spawnSync(h.zurconv, ['--yes', '--stats', level], {cwd: folder, stdio: ['ignore', into, into]});
  fs.closeSync(into);
  return fs.readFileSync(output, 'utf8').split('\n')
    .filter((line) => line !== '' && !line.startsWith(`zurconv: ${level}:`))
    .map((line) => line.replace(/ \[y\/N\] ([yn])$/, (_, answer) => ` <answered ${answer === 'y' ? 'yes' : 'no'}>`));
}

test('the page tells every message zurconv prints for broken, answering yes', async ({page}) => {
  await h.open(page);
  await h.pick(page, h.sources(h.examples, ['broken']));
  expect(await h.convertInPage(page, 'broken', 'yes')).not.toBeNull();
  const told = await page.locator('[data-level="broken"] [data-message]').evaluateAll((messages) => messages.flatMap((message) => {
    const lines = message.textContent.split('\n');
    if (message.dataset.answer) lines[lines.length - 1] += ` <answered ${message.dataset.answer}>`;
    return lines.filter((line) => line !== '');
  }));
  const native = nativeLines('broken');
  expect(native.some((line) => line.startsWith('Conversion succesfully completed'))).toBe(true);
  expect(told).toEqual(native);
});
