// SPDX-License-Identifier: MIT
// A level's problem list: its errors before its warnings, and the count
// that ends the level in zurconv --check.
const {test, expect} = require('@playwright/test');
const {spawnSync} = require('child_process');
const h = require('./helpers');

test('broken\'s problems list its errors first, each kind in the check\'s order, then zurconv --check\'s count', async ({page}) => {
  await h.open(page);
  await h.pick(page, h.sources(h.examples, ['broken']));
  const shown = page.locator('[data-level="broken"]');
  await shown.locator('li').first().waitFor();
  const items = await shown.locator('[data-problem]').evaluateAll((found) => found.map((item) => [item.dataset.severity, item.textContent]));
  const lines = spawnSync(h.zurconv, ['--check', 'broken'], {cwd: h.examples, encoding: 'utf8'}).stdout.trimEnd().split('\n');
  const count = lines.pop();
  expect(count).toBe('broken: 4 errors, 19 warnings');
  const severities = items.map(([severity]) => severity);
  expect(severities).toEqual([...Array(4).fill('error'), ...Array(19).fill('warning')]);
  // Within each severity the check's order, and zurconv --check's words.
  const ofSeverity = (severity) => lines.filter((line) => line.includes(`: ${severity}: `));
  expect(items.map(([, text]) => text)).toEqual([...ofSeverity('error'), ...ofSeverity('warning')]);
  await expect(shown.locator('.count')).toHaveText(count);
});
