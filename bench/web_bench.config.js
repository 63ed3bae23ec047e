// SPDX-License-Identifier: MIT
// The browser benchmark's Playwright set-up: the site served as the tests
// serve it, Debian's Chromium headless.
const base = require('../web/playwright.config.js');

module.exports = {...base, testDir: __dirname, testMatch: 'web_bench.test.js', reporter: 'list'};
