// SPDX-License-Identifier: MIT
// Dropped sources whose names differ only in letter case: a dropped config
// file names its level's sources, as a typed one does for zurconv, and no
// other level's file is taken for them.
const {test, expect} = require('@playwright/test');
const {spawnSync} = require('child_process');
const fs = require('fs');
const os = require('os');
const path = require('path');
const h = require('./helpers');

test('a dropped config file takes its own sources, not those of a name differing in letter case', async ({page}) => {
  const folder = fs.mkdtempSync(path.join(os.tmpdir(), 'zur-twins-'));
  for (const suffix of ['.txt', '.tga', '.jpg', 'p.jpg']) {
    fs.copyFileSync(path.join(h.examples, 'jungle' + suffix), path.join(folder, 'jungle' + suffix));
  }
  fs.copyFileSync(path.join(h.examples, 'broken.txt'), path.join(folder, 'JUNGLE.txt'));
  fs.copyFileSync(path.join(h.examples, 'broken.tga'), path.join(folder, 'JUNGLE.tga'));

  const native = (level, ...options) => spawnSync(h.zurconv, [...options, level], {cwd: folder, encoding: 'utf8'});
  // Named by its config file, each level is made of its own sources.
  expect(native('jungle.txt', '--no').status).toBe(0);
  const jungle = fs.readFileSync(path.join(folder, 'jungle.lev'));
  fs.rmSync(path.join(folder, 'jungle.lev'));
  // Named by its prefix alone, it is two levels' sources at once.
  const ambiguous = native('jungle', '--no');
  expect(ambiguous.status).toBe(1);
  expect(ambiguous.stderr).toContain('JUNGLE.txt and jungle.txt both match: rename one');

  await h.open(page);
  await h.pick(page, fs.readdirSync(folder).map((name) => path.join(folder, name)));
  const inPage = await h.convertInPage(page, 'jungle', 'no');
  expect(inPage && inPage.equals(jungle)).toBe(true);

  const shown = page.locator('[data-level="JUNGLE"]');
  await shown.locator('li').first().waitFor();
  const codes = await shown.locator('[data-problem]').evaluateAll((items) => items.map((item) => item.dataset.file));
  const expected = JSON.parse(native('JUNGLE.txt', '--check', '--json').stdout).levels[0].problems;
  expect(codes).toEqual(h.errorsFirst(expected).map((p) => p.file));
});
