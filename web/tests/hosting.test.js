// SPDX-License-Identifier: MIT
// The site from a static host that sends none of the headers the page
// needs: after one reload of the first visit, the service worker's
// headers isolate it, and the question works.
const {test, expect} = require('@playwright/test');
const h = require('./helpers');

test('from a host that sends no isolation headers the page reloads once, isolated, and converts', async ({page}) => {
  const loads = [];
  page.on('load', () => loads.push(page.url()));
  await page.goto(process.env.ZUR_WEB_PLAIN_URL);
  await expect.poll(() => page.evaluate(() => window.crossOriginIsolated).catch(() => false)).toBe(true);
  // The isolated document can answer before its own load event.
  await page.waitForLoadState('load');
  expect(loads.length).toBe(2);
  await h.pick(page, h.sources(h.examples, ['jungle']));
  const inPage = await h.convertInPage(page, 'jungle', 'yes');
  expect(inPage.equals(h.nativeLevel(h.examples, 'jungle', 'yes').bytes)).toBe(true);
});
