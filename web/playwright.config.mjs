// Browser tests of the page, on Debian's Chromium (no browser download).
import { defineConfig } from '@playwright/test';
import { ignoreDefaultArgs, launchArgs } from './driver/replay.mjs';

export default defineConfig({
  testDir: 'tests',
  testMatch: '*.test.mjs',
  workers: 1,
  reporter: 'line',
  use: {
    browserName: 'chromium',
    viewport: { width: 1280, height: 800 },
    locale: 'ja-JP',
    launchOptions: { executablePath: process.env.QUILLORY_CHROMIUM || '/usr/bin/chromium', args: launchArgs,
      ignoreDefaultArgs },
  },
});
