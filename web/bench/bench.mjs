// A speed check of the built site in the same headless Chromium as the tests, run by
// hand (not a timed test). Prints:
//  - start: the page ready to click its start button, against a bare page showing
//    one Japanese label (both from the same local server, no cache), as a ratio;
//  - click: a click's new state in the DOM and laid out, over the first walk commands;
//  - size: the site's code and data (everything but the pictures).
//   node web/bench/bench.mjs [--site DIR] [--runs N]
import { cpSync, mkdtempSync, readdirSync, readFileSync, rmSync, statSync, writeFileSync } from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import { fileURLToPath } from 'node:url';
import { spawn } from 'node:child_process';
import { launch } from '../driver/replay.mjs';

const here = path.dirname(fileURLToPath(import.meta.url));
const args = process.argv.slice(2);
const option = (name, fallback) => {
  const i = args.indexOf(`--${name}`);
  return i >= 0 && i + 1 < args.length ? args[i + 1] : fallback;
};
const site = path.resolve(option('site', path.join(here, '../../build-web/site')));
const runs = Number(option('runs', 15));
const limits = { ratio: 1.5, frameMs: 16, bytes: 1.5 * 1024 * 1024 };

// A copy of the site with the bare page beside it, so both come from one server.
const dir = mkdtempSync(path.join(os.tmpdir(), 'quillory-bench-'));
cpSync(site, dir, { recursive: true });
writeFileSync(path.join(dir, 'bare.html'), `<!doctype html>
<html lang="ja"><head><meta charset="utf-8"><title>Quillory</title>
<meta name="viewport" content="width=device-width, initial-scale=1"></head>
<body style="font-family: 'Noto Sans CJK JP', sans-serif"><p id="label">英文法を学ぼう</p></body></html>
`);

// The time from navigation to the first frame drawn after `selector` appeared.
const watch = (selector) => {
  window.__ready = new Promise((resolve) => {
    const seen = () => {
      if (!document.querySelector(selector)) return false;
      requestAnimationFrame(() => resolve(performance.now()));
      return true;
    };
    const observer = new MutationObserver(() => { if (seen()) observer.disconnect(); });
    observer.observe(document, { childList: true, subtree: true, attributes: true });
  });
};

function median(values) {
  const sorted = [...values].sort((a, b) => a - b);
  return sorted[Math.floor(sorted.length / 2)];
}
function percentile(values, p) {
  const sorted = [...values].sort((a, b) => a - b);
  return sorted[Math.min(sorted.length - 1, Math.floor(sorted.length * p))];
}

// The site from a server process of its own, as a real server would be.
const server = spawn(process.execPath, ['--input-type=module', '-e',
  `import { serve } from ${JSON.stringify(path.join(here, '../driver/replay.mjs'))};
   const s = await serve(${JSON.stringify(dir)}); console.log(s.address().port);`],
{ stdio: ['ignore', 'pipe', 'inherit'] });
const port = await new Promise((resolve) => server.stdout.once('data', (d) => resolve(String(d).trim())));
const base = `http://127.0.0.1:${port}`;
const browser = await launch();
try {
  async function load(url, selector) {
    const context = await browser.newContext({ viewport: { width: 1280, height: 800 }, locale: 'ja-JP' });
    const page = await context.newPage();
    await page.addInitScript(watch, selector);
    await page.goto(url);
    const ms = await page.evaluate(() => window.__ready);
    const parts = await page.evaluate(() => Object.fromEntries(performance.getEntriesByType('resource')
      .map((e) => [e.name.split('/').pop(), Math.round(e.responseEnd)])));
    // The page's clicks go to the core from when it has started.
    if (url.includes('index.html')) {
      await page.waitForFunction(() => !document.getElementById('stage').hasAttribute('aria-busy'), null, { polling: 1 });
      parts.core = Math.round(await page.evaluate(() => performance.now()));
    }
    await context.close();
    phases.push(parts);
    return ms;
  }
  const bare = [];
  const app = [];
  const phases = [];
  await load(`${base}/bare.html`, '#label'); // warms the browser itself
  for (let i = 0; i < runs; i++) {
    bare.push(await load(`${base}/bare.html`, '#label'));
    app.push(await load(`${base}/index.html`, '.window:not([hidden]) button.live:not([hidden])'));
  }
  const ratio = median(app) / median(bare);
  console.log(`start:  ready to click ${median(app).toFixed(1)} ms, bare page ${median(bare).toFixed(1)} ms`
    + ` (medians of ${runs}): ratio ${ratio.toFixed(2)}x  (target <= ${limits.ratio}x)`);
  const loaded = (file) => median(phases.filter((p) => file in p).map((p) => p[file]));
  console.log(`        the title is drawn from the build's state; the page's files loaded by: quillory.js`
    + ` ${loaded('quillory.js')} ms, quillory.wasm ${loaded('quillory.wasm')} ms; the core started by`
    + ` ${loaded('core')} ms (clicks before that wait for it)`);

  // Clicks and keys of the recorded walk, each timed in the page from the event to
  // its state in the DOM with layout done.
  const context = await browser.newContext({ viewport: { width: 1280, height: 800 }, locale: 'ja-JP' });
  const page = await context.newPage();
  await page.goto(`${base}/index.html?today=2026-01-15`);
  // As a learner would: the title shown, the page done preparing the menu.
  await page.waitForSelector('#stage[data-prepared]');
  const commands = readFileSync(path.join(here, '../../tests/walk/commands.txt'), 'utf8')
    .split('\n').filter((l) => /^(click|key) /.test(l)).slice(0, 1500);
  const times = await page.evaluate((list) => {
    const out = [];
    const codes = { Return: 'Enter', Escape: 'Escape' };
    for (const line of list) {
      const [command, name] = line.split(' ');
      const box = document.querySelector('.window:not([hidden])');
      if (!box) break;
      const start = performance.now();
      if (command === 'click') {
        const element = [...box.querySelectorAll('.screen > .control')].find((e) => e.dataset.name === name);
        if (!element || element.hidden) continue;
        element.click();
      } else {
        const key = codes[name] ?? name.toLowerCase();
        document.dispatchEvent(new KeyboardEvent('keydown', { key, bubbles: true }));
      }
      void document.body.offsetHeight; // style and layout of the new state
      out.push([performance.now() - start, line]);
    }
    return out;
  }, commands);
  await context.close();
  const [worst, worstLine] = times.reduce((a, b) => (b[0] > a[0] ? b : a));
  const ms = times.map(([t]) => t);
  console.log(`click:  state in the DOM and laid out: median ${median(ms).toFixed(2)} ms,`
    + ` 95% ${percentile(ms, 0.95).toFixed(2)} ms, worst ${worst.toFixed(2)} ms (${worstLine});`
    + ` ${ms.filter((t) => t > limits.frameMs).length} of ${ms.length} clicks and keys over one frame (${limits.frameMs} ms)`);
} finally {
  await browser.close();
  server.kill();
  rmSync(dir, { recursive: true, force: true });
}

// Code and data: every file of the site outside pictures/.
let bytes = 0;
const files = [];
(function walk(folder) {
  for (const entry of readdirSync(folder, { withFileTypes: true })) {
    const file = path.join(folder, entry.name);
    if (entry.isDirectory()) {
      if (path.relative(site, file) !== 'pictures') walk(file);
    } else {
      bytes += statSync(file).size;
      files.push(`${path.relative(site, file)} ${statSync(file).size}`);
    }
  }
})(site);
console.log(`size:   code and data ${bytes} bytes = ${(bytes / 1024 / 1024).toFixed(2)} MiB`
  + `  (target <= 1.5 MiB; ${files.join(', ')})`);
