// SPDX-License-Identifier: MIT
// Times the page's check and conversion of the level in ZUR_BENCH_LEVEL
// (the terrain level bench/web_bench.sh makes), in headless Chromium.
const {test} = require('@playwright/test');
const fs = require('fs');
const path = require('path');

const folder = process.env.ZUR_BENCH_LEVEL;

test('check and convert in the page', async ({page}) => {
  test.setTimeout(300000);
  await page.goto('/');
  await page.waitForFunction(() => window.crossOriginIsolated);
  const files = fs.readdirSync(folder).map((name) => path.join(folder, name));
  for (let run = 1; run <= 3; ++run) {
    await page.reload();
    await page.waitForFunction(() => window.crossOriginIsolated);
    let start = Date.now();
    await page.setInputFiles('#sources', files);
    const shown = page.locator('[data-level="terrain"]');
    await shown.locator('li').first().waitFor({timeout: 120000});
    const checked = Date.now() - start;
    start = Date.now();
    await shown.getByRole('button', {name: 'Convert'}).click();
    await shown.locator('a[download="terrain.lev"]').waitFor({timeout: 120000});
    console.log(`run ${run}: page check ${checked} ms, page conversion ${Date.now() - start} ms`);
  }
});
