// SPDX-License-Identifier: MIT
// A picked folder whose level lies in a folder below it, beside a level
// file of the same name: the level converts to zurconv's bytes, written
// beside its sources in the worker's memory, and the level file shows what
// zurlev info shows of it.
const {test, expect} = require('@playwright/test');
const fs = require('fs');
const os = require('os');
const path = require('path');
const h = require('./helpers');

test('a level in a folder below the picked one converts to zurconv\'s bytes beside its level file', async ({page}) => {
  const parent = fs.mkdtempSync(path.join(os.tmpdir(), 'zur-folders-'));
  const deep = path.join(parent, 'levels', 'deep');
  fs.mkdirSync(deep, {recursive: true});
  for (const suffix of ['.txt', '.tga', '.jpg', 'p.jpg']) {
    fs.copyFileSync(path.join(h.examples, 'jungle' + suffix), path.join(deep, 'jungle' + suffix));
  }
  const native = h.nativeLevel(deep, 'jungle', 'yes');
  expect(native.bytes).not.toBeNull();
  fs.writeFileSync(path.join(deep, 'jungle.lev'), native.bytes);

  await h.open(page);
  await page.setInputFiles('#folder', path.join(parent, 'levels'));
  const info = page.locator('[data-level-file="levels/deep/jungle.lev"] [data-info]');
  expect(JSON.parse(await info.innerText())).toEqual({...h.nativeInfo(deep, 'jungle.lev')[0], file: 'levels/deep/jungle.lev'});
  const inPage = await h.convertInPage(page, 'levels/deep/jungle', 'yes');
  expect(inPage?.equals(native.bytes)).toBe(true);
});
