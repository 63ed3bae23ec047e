// SPDX-License-Identifier: MIT
// A conversion told in full: every message zurconv prints for a level, in
// its order and exact words, each question with the answer it took.
const {test, expect} = require('@playwright/test');
const fs = require('fs');
const os = require('os');
const path = require('path');
const {spawnSync} = require('child_process');
const h = require('./helpers');

// broken: illegal colours, config warnings and missing keywords. hinted:
// broken's config and pictures with a map all explosive (code 5) but one
// illegal pixel, which becomes air: the air and explosive hints follow the
// statistics.
function levelFolder() {
  const folder = fs.mkdtempSync(path.join(os.tmpdir(), 'zur-told-'));
  for (const file of h.sources(h.examples, ['broken'])) {
    fs.copyFileSync(file, path.join(folder, path.basename(file)));
    fs.copyFileSync(file, path.join(folder, path.basename(file).replace('broken', 'hinted')));
  }
  const map = fs.readFileSync(path.join(folder, 'hinted.tga'));
  const start = 18 + map[0];
  for (let at = start; at < map.length; at += 3) map.set([0, 0, 160], at);  // blue, green, red
  map.set([60, 60, 60], start);
  fs.writeFileSync(path.join(folder, 'hinted.tga'), map);
  return folder;
}

// A message as zurconv prints it: a question on one line with the answer
// it took, any other message followed by an empty line.
function printed({text, answer}) {
  return answer ? `${text} [y/N] ${answer === 'yes' ? 'y' : 'n'}\n` : `${text}\n\n`;
}

for (const level of ['broken', 'hinted']) {
  test(`the page tells every message zurconv -y -s prints for ${level}, word for word`, async ({page}) => {
    const folder = levelFolder();
    await h.open(page);
    await h.pick(page, h.sources(folder, [level]));
    expect(await h.convertInPage(page, level, 'yes')).not.toBeNull();
    const native = spawnSync(h.zurconv, ['-y', '-s', level], {cwd: folder, encoding: 'utf8'});
    const told = await page.locator(`[data-level="${level}"] [data-message]`).evaluateAll((messages) =>
      messages.map((message) => ({text: message.textContent, answer: message.dataset.answer})));
    // zurconv's output cut where the page's messages end, one piece each.
    let at = 0;
    const pieces = told.map((message) => native.stdout.slice(at, at += printed(message).length));
    expect(told.map(printed)).toEqual(pieces);
    expect(native.stdout.slice(at)).toBe('');
    const shown = told.map(({text}) => text).join('\n');
    for (const part of ['Illegal color', 'You had illegal colors', 'Attribute map info:', 'These parameters were NOT found']) {
      expect(shown).toContain(part);
    }
    if (level === 'hinted') for (const hint of ['Only less than one percent', 'EXPLOSIVE']) expect(shown).toContain(hint);
  });
}
