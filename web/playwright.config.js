// SPDX-License-Identifier: MIT
// The page's tests: Debian's Chromium, headless, against the built site
// served as scripts/web.sh serves it.
const {defineConfig} = require('@playwright/test');
const path = require('path');

const site = process.env.ZUR_WEB_SITE || path.join(__dirname, '..', 'build', 'web', 'site');
const port = Number(process.env.ZUR_WEB_PORT || 8181);
// The same site from a host that sends no headers of its own.
process.env.ZUR_WEB_PLAIN_URL = `http://localhost:${port + 1}/`;

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
  webServer: [{
    command: `python3 ${path.join(__dirname, 'serve.py')} ${site} ${port}`,
    url: `http://localhost:${port}/`,
    reuseExistingServer: false,
    stdout: 'ignore',
    stderr: 'ignore',
  }, {
    command: `python3 -m http.server ${port + 1} --bind 127.0.0.1 --directory ${site}`,
    url: process.env.ZUR_WEB_PLAIN_URL,
    reuseExistingServer: false,
    stdout: 'ignore',
    stderr: 'ignore',
  }],
});
