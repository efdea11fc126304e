// Drives the page in headless Chromium and speaks the replay protocol: one command
// a line on standard input, one JSON state line each, read back from the page.
//   node web/driver/replay.mjs [--site DIR] [--today YYYY-MM-DD] [--record DIR]
import { createReadStream, mkdirSync, readFileSync, statSync, writeFileSync } from 'node:fs';
import http from 'node:http';
import path from 'node:path';
import readline from 'node:readline';
import { fileURLToPath } from 'node:url';
import { chromium } from 'playwright-core';

const here = path.dirname(fileURLToPath(import.meta.url));

function options(argv) {
  const result = { site: path.resolve(here, '../../build-web/site'), today: '', record: '' };
  for (let i = 0; i < argv.length; i++) {
    const name = argv[i].replace(/^--/, '');
    if (!(name in result) || i + 1 >= argv.length) {
      process.stderr.write(`usage: quillory-web-replay [--site DIR] [--today YYYY-MM-DD] [--record DIR]\n`);
      process.exit(2);
    }
    result[name] = argv[++i];
  }
  if (result.today && !/^\d{4}-\d{2}-\d{2}$/.test(result.today)) {
    process.stderr.write(`--today wants YYYY-MM-DD, not ${result.today}\n`);
    process.exit(2);
  }
  return result;
}

const types = {
  '.html': 'text/html; charset=utf-8', '.js': 'text/javascript; charset=utf-8',
  '.mjs': 'text/javascript; charset=utf-8', '.css': 'text/css; charset=utf-8',
  '.wasm': 'application/wasm', '.svg': 'image/svg+xml', '.json': 'application/json',
  '.png': 'image/png',
};

// A static server for the site on a free localhost port.
export function serve(site, port = 0) {
  const server = http.createServer((request, response) => {
    const url = new URL(request.url, 'http://localhost/');
    let file = path.join(site, decodeURIComponent(url.pathname));
    if (!file.startsWith(site)) file = site;
    try {
      if (statSync(file).isDirectory()) file = path.join(file, 'index.html');
      statSync(file);
    } catch {
      response.writeHead(404).end();
      return;
    }
    response.writeHead(200, {
      'Content-Type': types[path.extname(file)] ?? 'application/octet-stream',
      'Cache-Control': 'no-store',
    });
    createReadStream(file).pipe(response);
  });
  return new Promise((resolve, reject) => {
    server.once('error', reject);
    server.listen(port, '127.0.0.1', () => resolve(server));
  });
}

export const launchArgs = ['--headless', '--no-sandbox', '--disable-gpu', '--disable-quic',
  '--no-first-run', '--disable-background-networking', '--disable-component-update', '--disable-sync'];

export function launch() {
  return chromium.launch({
    executablePath: process.env.QUILLORY_CHROMIUM || '/usr/bin/chromium',
    args: launchArgs,
  });
}

// The browser keeps a site's storage by its origin, port included: a profile
// folder is served on the same port each time, the one written in it.
function keptPort(folder) {
  mkdirSync(folder, { recursive: true });
  const file = path.join(folder, 'quillory-port');
  try {
    const port = Number(readFileSync(file, 'utf8'));
    if (port > 0 && port < 65536) return port;
  } catch {
    // a new folder
  }
  let hash = 0;
  for (const c of folder) hash = (hash * 31 + c.charCodeAt(0)) >>> 0;
  const port = 20000 + (hash % 20000);
  writeFileSync(file, String(port));
  return port;
}

// A browser whose profile lives in `folder`, kept after it closes.
export function launchKeeping(folder, settings) {
  return chromium.launchPersistentContext(folder, {
    executablePath: process.env.QUILLORY_CHROMIUM || '/usr/bin/chromium',
    args: launchArgs,
    ...settings,
  });
}

// The state of the visible screen, read from the page's DOM at scale 1.
function readPage() {
  const twips = (px) => Math.round(px * 15);
  const colour = (css) => (css.match(/\d+/g) || [0, 0, 0]).slice(0, 3).map(Number);
  const box = document.querySelector('.window:not([hidden])');
  if (!box) return document.getElementById('message').hidden ? { error: 'the page shows nothing' } : { ended: true };
  const screen = box.querySelector('.screen');
  const scale = box.getBoundingClientRect().width / box.offsetWidth || 1;
  const origin = screen.getBoundingClientRect();
  const state = {
    ended: false,
    screen: box.dataset.screen,
    caption: box.querySelector('h1').textContent,
    width: twips(origin.width / scale),
    height: twips(origin.height / scale),
    background: colour(getComputedStyle(screen).backgroundColor),
    step: box.dataset.step === undefined ? null : Number(box.dataset.step),
    created: [...document.querySelectorAll('.window')].map((w) => w.dataset.screen),
    controls: [],
  };
  for (const element of screen.querySelectorAll(':scope > .control')) {
    const kind = element.tagName === 'BUTTON' ? 'button' : element.tagName === 'IMG' ? 'picture'
      : element.classList.contains('text') ? 'text' : 'label';
    // Fields in the order the desktop driver prints them.
    const control = { name: element.dataset.name, kind };
    if (kind === 'button') control.caption = element.textContent;
    if (kind === 'text') {
      control.text = element.textContent.replace(/\n/g, '\r\n');
      control.scrollbar = element.classList.contains('scroll');
      control.fits = element.hidden || element.scrollHeight <= element.clientHeight;
    }
    if (kind === 'label') {
      control.text = element.textContent;
      control.background = colour(getComputedStyle(element).backgroundColor);
    }
    if (kind === 'picture') {
      control.file = element.dataset.file || null;
      control.loaded = !!control.file && element.complete && element.naturalWidth > 0;
      control.accessibleDescription = element.getAttribute('aria-description') ?? '';
    }
    if (element.hidden) {
      const style = element.style;
      for (const side of ['left', 'top', 'width', 'height']) control[side] = twips(parseFloat(style[side]) || 0);
    } else {
      const rect = element.getBoundingClientRect();
      control.left = twips((rect.left - origin.left) / scale);
      control.top = twips((rect.top - origin.top) / scale);
      control.width = twips(rect.width / scale);
      control.height = twips(rect.height / scale);
    }
    control.visible = !element.hidden;
    // The name the page sets holds for hidden controls too; others come from the tree.
    control.accessibleName = element.getAttribute('aria-label');
    if (kind === 'button') control.live = element.classList.contains('live');
    if ('addition' in element.dataset) control.addition = true;
    if (element.dataset.progress) control.progress = JSON.parse(element.dataset.progress);
    if (element.dataset.due !== undefined) control.due = Number(element.dataset.due);
    state.controls.push(control);
  }
  return state;
}

// Pictures still loading are waited for, so `loaded` is settled.
async function settle(page) {
  await page.evaluate(() => Promise.all([...document.querySelectorAll('.window:not([hidden]) img[src]')]
    .map((img) => (img.complete ? null : img.decode().catch(() => null)))));
}

class Driver {
  constructor(page, url) {
    this.page = page;
    this.url = url;
    this.cdp = null;
    // Files the page saved and hands back when asked to open one, as a person
    // would pick the file they downloaded last.
    this.download = Promise.resolve(null);
    page.on('download', (download) => {
      this.download = download.path().then((file) => ({ name: download.suggestedFilename(), buffer: readFileSync(file) }))
        .catch(() => null);
    });
    page.on('filechooser', async (chooser) => {
      const saved = await this.download;
      await chooser.setFiles(saved ? { name: saved.name, mimeType: 'text/plain', buffer: saved.buffer } : []);
      // Picking nothing is closing the dialog.
      if (!saved) await page.evaluate(() => document.querySelector('input[type=file]')?.dispatchEvent(new Event('cancel')));
    });
  }

  async open() {
    await this.page.goto(this.url);
    await this.page.waitForFunction(() => document.querySelector('.window:not([hidden])')
      || !document.getElementById('message').hidden && !document.getElementById('stage').hasAttribute('aria-busy'));
    this.cdp = await this.page.context().newCDPSession(this.page);
  }

  // Accessible names and descriptions from the browser's accessibility tree.
  async accessible(state) {
    const { root } = await this.cdp.send('DOM.getDocument', { depth: 0 });
    const { nodeIds } = await this.cdp.send('DOM.querySelectorAll',
      { nodeId: root.nodeId, selector: '.window:not([hidden]) .screen > .control' });
    await Promise.all(nodeIds.map(async (nodeId, i) => {
      const control = state.controls[i];
      if (!control) return;
      const { nodes } = await this.cdp.send('Accessibility.getPartialAXTree', { nodeId, fetchRelatives: false });
      const node = nodes[0] || {};
      if (control.accessibleName === null) control.accessibleName = node.name?.value ?? '';
    }));
  }

  async state() {
    await this.page.waitForFunction(() => !('fileOpen' in document.documentElement.dataset), null, { timeout: 5000 });
    await settle(this.page);
    const state = await this.page.evaluate(readPage);
    if (!state.ended && !state.error) await this.accessible(state);
    return state;
  }

  async click(name) {
    const found = await this.page.evaluate((wanted) => {
      const box = document.querySelector('.window:not([hidden])');
      if (!box) return { error: 'no screen is visible: the program has ended' };
      const element = [...box.querySelectorAll('.screen > .control')].find((e) => e.dataset.name === wanted);
      if (!element) return { error: `${box.dataset.screen} has no control ${wanted}` };
      if (element.hidden) return { error: `${wanted} on ${box.dataset.screen} is hidden` };
      const rect = element.getBoundingClientRect();
      return { x: rect.left + rect.width / 2, y: rect.top + rect.height / 2 };
    }, name);
    if (found.error) return found;
    await this.page.mouse.click(found.x, found.y);
    return this.state();
  }

  async key(name) {
    const key = keyName(name);
    if (!key) return { error: `unknown key: ${name}` };
    const visible = await this.page.evaluate(() => !!document.querySelector('.window:not([hidden])'));
    if (!visible) return { error: 'no screen is visible: the program has ended' };
    await this.page.keyboard.press(key);
    return this.state();
  }

  async run(line) {
    const [command, argument, extra] = line.trim().split(/\s+/);
    if (extra !== undefined) return { error: `too many words: ${line.trim()}` };
    switch (command) {
      case 'click': return argument ? this.click(argument) : { error: 'click needs the name of a control' };
      case 'key': return argument ? this.key(argument) : { error: 'key needs the name of a key' };
      case 'dump': return argument ? { error: 'dump takes no argument' } : this.state();
      case 'restart':
        if (argument) return { error: 'restart takes no argument' };
        // The record is the learner's: what it saved lands before the reload.
        await this.page.evaluate(() => self.quilloryRecordSaved?.());
        await this.open();
        return this.state();
      default: return { error: `unknown command: ${command}` };
    }
  }
}

// A key name as the desktop driver takes it, as the browser names it.
const namedKeys = {
  Return: 'Enter', Enter: 'Enter', Escape: 'Escape', Space: ' ', Tab: 'Tab', Backspace: 'Backspace',
  Up: 'ArrowUp', Down: 'ArrowDown', Left: 'ArrowLeft', Right: 'ArrowRight', Home: 'Home', End: 'End',
  PageUp: 'PageUp', PageDown: 'PageDown',
};
function keyName(name) {
  if (/^[0-9]$/.test(name)) return name;
  if (/^[A-Z]$/.test(name)) return name.toLowerCase();
  if (/^F([1-9]|1[0-2])$/.test(name)) return name;
  return namedKeys[name];
}

async function main() {
  const opts = options(process.argv.slice(2));
  const server = await serve(path.resolve(opts.site), opts.record ? keptPort(path.resolve(opts.record)) : 0);
  // With --record, the browser's profile folder keeps the record across runs.
  const settings = { viewport: { width: 1280, height: 800 }, locale: 'ja-JP', acceptDownloads: true };
  const browser = opts.record ? null : await launch();
  const context = opts.record ? await launchKeeping(path.resolve(opts.record), settings)
    : await browser.newContext(settings);
  let status = 0;
  try {
    const page = context.pages()[0] ?? await context.newPage();
    const query = opts.today ? `?today=${opts.today}` : '';
    const driver = new Driver(page, `http://127.0.0.1:${server.address().port}/index.html${query}`);
    await driver.open();
    const input = readline.createInterface({ input: process.stdin, crlfDelay: Infinity });
    for await (const line of input) {
      if (!line.trim() || line.trimStart().startsWith('#')) continue;
      let result;
      try {
        result = await driver.run(line);
      } catch (error) {
        result = { error: String(error.message || error).split('\n')[0] };
      }
      const text = JSON.stringify(result);
      if (!process.stdout.write(text + '\n')) await new Promise((r) => process.stdout.once('drain', r));
    }
  } catch (error) {
    process.stderr.write(`quillory-web-replay: ${error.message || error}\n`);
    status = 1;
  } finally {
    await context.close();
    await browser?.close();
    server.close();
  }
  process.exit(status);
}

if (process.argv[1] && path.resolve(process.argv[1]) === fileURLToPath(import.meta.url)) main();
