// SPDX-License-Identifier: MIT
// A dropped level file unpacked straight into a folder: the files zurlev
// unpack writes, and a file already there replaced only when Yes is
// answered. The folder is the origin's own, handed to the page as the
// folder picker would hand the one picked.
const {test, expect} = require('@playwright/test');
const {execFileSync} = require('child_process');
const fs = require('fs');
const os = require('os');
const path = require('path');
const h = require('./helpers');

function folderContents(page) {
  return page.evaluate(async () => {
    const out = await (await navigator.storage.getDirectory()).getDirectoryHandle('out');
    const contents = {};
    for await (const [name, handle] of out.entries()) {
      const bytes = new Uint8Array(await (await handle.getFile()).arrayBuffer());
      contents[name] = btoa(Array.from(bytes, (byte) => String.fromCharCode(byte)).join(''));
    }
    return contents;
  });
}

test('a level file unpacks into a folder as zurlev unpack does, replacing files there only when asked', async ({page}) => {
  const folder = fs.mkdtempSync(path.join(os.tmpdir(), 'zur-unpack-'));
  fs.writeFileSync(path.join(folder, 'jungle.lev'), h.nativeLevel(h.examples, 'jungle', 'yes').bytes);
  fs.mkdirSync(path.join(folder, 'native'));
  execFileSync(h.zurlev, ['unpack', '-o', 'native', 'jungle.lev'], {cwd: folder});
  const native = Object.fromEntries(fs.readdirSync(path.join(folder, 'native')).map((name) =>
    [name, fs.readFileSync(path.join(folder, 'native', name)).toString('base64')]));

  await h.open(page);
  await page.evaluate(() => {
    window.showDirectoryPicker = async () =>
      (await navigator.storage.getDirectory()).getDirectoryHandle('out', {create: true});
  });
  await h.pick(page, [path.join(folder, 'jungle.lev')]);
  const shown = page.locator('[data-level-file="jungle.lev"]');
  const unpackInto = shown.getByRole('button', {name: 'Unpack into a folder…'});
  await unpackInto.click();
  await expect(shown.getByRole('status')).toContainText('Written into out');
  expect(await folderContents(page)).toEqual(native);

  // A file there already: No leaves the folder as it is, Yes replaces it.
  await page.evaluate(async () => {
    const out = await (await navigator.storage.getDirectory()).getDirectoryHandle('out');
    const writable = await (await out.getFileHandle('jungle.txt')).createWritable();
    await writable.write('edited');
    await writable.close();
  });
  const edited = await folderContents(page);
  for (const [answer, told, expected] of [['No', 'Nothing written into out', edited], ['Yes', 'Written into out', native]]) {
    await unpackInto.click();
    const asked = page.locator('dialog[open]');
    await expect(asked).toContainText('out holds jungle.txt, jungle.tga, jungle.jpg, junglep.jpg already.');
    await asked.getByRole('button', {name: answer}).click();
    await expect(shown.getByRole('status')).toContainText(told);
    expect(await folderContents(page)).toEqual(expected);
  }
});
