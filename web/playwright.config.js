// SPDX-License-Identifier: MIT
// The page's tests: Debian's Chromium, headless, against the built site
// served as scripts/web.sh serves it.
const {defineConfig} = require('@playwright/test');
const path = require('path');

const site = process.env.ZUR_WEB_SITE || path.join(__dirname, '..', 'build', 'web', 'site');
const port = Number(process.env.ZUR_WEB_PORT || 8181);

module.exports = defineConfig({
  testDir: 'tests',
  timeout: 60000,
  workers: 1,
  reporter: 'line',
  use: {
    baseURL: `http://localhost:${port}/`,
    browserName: 'chromium',
    acceptDownloads: true,
    launchOptions: {executablePath: process.env.ZUR_CHROMIUM || '/usr/bin/chromium'},
  },
  webServer: {
    command: `python3 ${path.join(__dirname, 'serve.py')} ${site} ${port}`,
    url: `http://localhost:${port}/`,
    reuseExistingServer: false,
    stdout: 'ignore',
    stderr: 'ignore',
  },
});
