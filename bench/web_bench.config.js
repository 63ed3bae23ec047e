// SPDX-License-Identifier: MIT
// The browser benchmark's Playwright set-up: the site served as the tests
// serve it, Debian's Chromium headless. No service worker, so that the
// floor's worker is served beside the site (web_bench.test.js); the page's
// memory measured at once instead of at the next garbage collection.
const base = require('../web/playwright.config.js');

module.exports = {
  ...base,
  testDir: __dirname,
  testMatch: 'web_bench.test.js',
  reporter: 'list',
  use: {
    ...base.use,
    serviceWorkers: 'block',
    launchOptions: {...base.use.launchOptions, args: ['--enable-blink-features=ForceEagerMeasureMemory']},
  },
};
