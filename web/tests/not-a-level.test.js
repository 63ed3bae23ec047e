// SPDX-License-Identifier: MIT
// A dropped file named as a level file that is none: its verdict first,
// the first problem zurlev info finds, and nothing to unpack.
const {test, expect} = require('@playwright/test');
const {spawnSync} = require('child_process');
const fs = require('fs');
const os = require('os');
const path = require('path');
const h = require('./helpers');

test('bytes named .lev are told not to be a level file, first, and offer no unpacking', async ({page}) => {
  const folder = fs.mkdtempSync(path.join(os.tmpdir(), 'zur-noise-'));
  // Noise that is the same on every run, longer than a level file's header.
  const noise = Buffer.from(Array.from({length: 3000}, (_, at) => (at * 7919 + 13) % 251));
  fs.writeFileSync(path.join(folder, 'noise.lev'), noise);
  fs.writeFileSync(path.join(folder, 'jungle.lev'), h.nativeLevel(h.examples, 'jungle', 'yes').bytes);
  await h.open(page);
  await h.pick(page, [path.join(folder, 'noise.lev'), path.join(folder, 'jungle.lev')]);

  // zurlev fails on it, and prints its document all the same.
  const [native] = JSON.parse(spawnSync(h.zurlev, ['info', '--json', 'noise.lev'], {cwd: folder, encoding: 'utf8'}).stdout);
  expect(native.sound).toBe(false);
  const shown = page.locator('[data-level-file="noise.lev"]');
  await expect(shown.locator('[data-verdict]')).toHaveText(`Not a level file: ${native.problems[0].text}.`);
  // At the top: right under the file's name.
  expect(await shown.locator('h2 + *').getAttribute('data-verdict')).toBe('');
  await expect(shown.getByRole('button', {name: /Unpack/})).toHaveCount(0);

  // A sound level file beside it: no verdict, and its sources to unpack.
  const sound = page.locator('[data-level-file="jungle.lev"]');
  await expect(sound.getByRole('button', {name: 'Unpack', exact: true})).toHaveCount(1);
  await expect(sound.locator('[data-verdict]')).toBeHidden();
});
