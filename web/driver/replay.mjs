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

// Scroll bars as a learner's browser shows them (headless hides them by default),
// so that a text box with one wraps its text as narrow as on the desktop.
export const ignoreDefaultArgs = ['--hide-scrollbars'];

export function launch() {
  return chromium.launch({
    executablePath: process.env.QUILLORY_CHROMIUM || '/usr/bin/chromium',
    args: launchArgs,
    ignoreDefaultArgs,
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
  const port = 20000 + (hash % 12000); // below the ports the system hands out itself
  writeFileSync(file, String(port));
  return port;
}

// The site on `port`, waiting a little while another process still holds it.
async function serveOn(site, port) {
  for (let attempt = 1; ; attempt++) {
    try {
      return await serve(site, port);
    } catch (error) {
      if (error.code !== 'EADDRINUSE' || attempt === 10) {
        throw new Error(`cannot serve the site on port ${port}: ${error.message}`);
      }
      await new Promise((resolve) => setTimeout(resolve, 300));
    }
  }
}

// A browser whose profile lives in `folder`, kept after it closes.
export function launchKeeping(folder, settings) {
  return chromium.launchPersistentContext(folder, {
    executablePath: process.env.QUILLORY_CHROMIUM || '/usr/bin/chromium',
    args: launchArgs,
    ignoreDefaultArgs,
    ...settings,
  });
}

// The state of the visible screen, read from the page's DOM at scale 1, once the
// pictures it shows have loaded or failed (so that `loaded` is settled). Beside it,
// for the next click, where each control is in the window (`targets`, not printed),
// and whether pictures or a file had to be waited for (`waited`).
async function readPage() {
  // A file being read into the record: its outcome is what the state shows.
  let reading = false;
  for (let i = 0; i < 500 && 'fileOpen' in document.documentElement.dataset; i++) {
    reading = true;
    await new Promise((resolve) => setTimeout(resolve, 10));
  }
  const loading = [...document.querySelectorAll('.window:not([hidden]) img[src]')].filter((img) => !img.complete);
  await Promise.all(loading.map((img) => img.decode().catch(() => null)));
  const twips = (px) => Math.round(px * 15);
  const colour = (css) => (css.match(/\d+/g) || [0, 0, 0]).slice(0, 3).map(Number);
  // The height the text needs, margins included, unrounded (scrollHeight rounds).
  const textHeight = (element) => {
    const first = element.firstElementChild;
    const last = element.lastElementChild;
    const style = getComputedStyle(element);
    const margins = parseFloat(style.paddingTop) + parseFloat(style.paddingBottom);
    if (!first) return margins;
    return (last.getBoundingClientRect().bottom - first.getBoundingClientRect().top) / scale + margins;
  };
  const box = document.querySelector('.window:not([hidden])');
  if (!box) {
    const shown = !document.getElementById('message').hidden;
    return { state: shown ? { ended: true } : { error: 'the page shows nothing' }, targets: null, waited: false };
  }
  const screen = box.querySelector('.screen');
  const scale = box.getBoundingClientRect().width / box.offsetWidth || 1;
  const origin = screen.getBoundingClientRect();
  const targets = {};
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
      control.fits = element.hidden || textHeight(element) <= element.clientHeight + 0.01;
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
      targets[control.name] = { x: rect.left + rect.width / 2, y: rect.top + rect.height / 2 };
    }
    control.visible = !element.hidden;
    // Visible controls' names come from the accessibility tree (see accessible()).
    control.accessibleName = element.getAttribute('aria-label');
    if (kind === 'button') control.live = element.classList.contains('live');
    if ('addition' in element.dataset) control.addition = true;
    if (element.dataset.progress) control.progress = JSON.parse(element.dataset.progress);
    if (element.dataset.due !== undefined) control.due = Number(element.dataset.due);
    state.controls.push(control);
  }
  return { state, targets, waited: reading || loading.length > 0 };
}

class Driver {
  constructor(page, url) {
    this.page = page;
    this.url = url;
    this.cdp = null;
    this.root = null; // the document's node in the DOM domain
    this.screen = null; // the visible screen's name (null: ended) and its controls' centres
    this.targets = null;
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
    // The title shows before the core has started; the page is ready when it has.
    await this.page.waitForFunction(() => !document.getElementById('stage').hasAttribute('aria-busy'));
    this.cdp ??= await this.page.context().newCDPSession(this.page);
    this.root = (await this.cdp.send('DOM.getDocument', { depth: 0 })).root.nodeId;
    this.backend = new Map(); // DOM node -> its backend node, for the controls seen so far
    return this.state();
  }

  // The visible controls' DOM nodes and the whole accessibility tree.
  accessibilityTree() {
    return Promise.all([
      this.cdp.send('DOM.querySelectorAll',
        { nodeId: this.root, selector: '.window:not([hidden]) .screen > .control:not([hidden])' }),
      this.cdp.send('Accessibility.getFullAXTree', {}),
    ]);
  }

  // Accessible names and descriptions of the visible controls from the browser's
  // accessibility tree, matched to the controls by their DOM nodes. Hidden controls
  // are not in the tree: they keep the name and description the page gives them.
  async accessible(state, [{ nodeIds }, { nodes }]) {
    const unknown = nodeIds.filter((id) => !this.backend.has(id));
    const described = await Promise.all(unknown.map((nodeId) => this.cdp.send('DOM.describeNode', { nodeId })));
    unknown.forEach((id, i) => this.backend.set(id, described[i].node.backendNodeId));
    const byBackend = new Map(nodes.filter((n) => n.backendDOMNodeId).map((n) => [n.backendDOMNodeId, n]));
    const visible = state.controls.filter((c) => c.visible);
    nodeIds.forEach((nodeId, i) => {
      const control = visible[i];
      if (!control) return;
      const node = byBackend.get(this.backend.get(nodeId)) ?? {};
      control.accessibleName = node.name?.value ?? '';
      if ('accessibleDescription' in control) control.accessibleDescription = node.description?.value ?? '';
    });
    for (const control of state.controls) control.accessibleName ??= '';
  }

  // The page and its accessibility tree are read at once; when pictures were still
  // loading, the tree is read again after them.
  async state() {
    let [{ state, targets, waited }, tree] = await Promise.all([this.page.evaluate(readPage), this.accessibilityTree()]);
    this.screen = state.ended || state.error ? null : state.screen;
    this.targets = targets;
    if (!this.screen) return state;
    if (waited) tree = await this.accessibilityTree();
    await this.accessible(state, tree);
    return state;
  }

  async click(name) {
    if (!this.screen) return { error: 'no screen is visible: the program has ended' };
    if (!(name in this.targets)) {
      const exists = await this.page.evaluate((wanted) => [...document.querySelectorAll(
        '.window:not([hidden]) .screen > .control')].some((e) => e.dataset.name === wanted), name);
      return { error: exists ? `${name} on ${this.screen} is hidden` : `${this.screen} has no control ${name}` };
    }
    // A press and a release on the control's centre, where the last state found it
    // (the pointer needs no path there).
    const at = { ...this.targets[name], button: 'left', clickCount: 1 };
    await this.cdp.send('Input.dispatchMouseEvent', { type: 'mousePressed', ...at });
    await this.cdp.send('Input.dispatchMouseEvent', { type: 'mouseReleased', ...at });
    return this.state();
  }

  async key(name) {
    const key = keyName(name);
    if (!key) return { error: `unknown key: ${name}` };
    if (!this.screen) return { error: 'no screen is visible: the program has ended' };
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
        return this.open();
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
  const server = await serveOn(path.resolve(opts.site), opts.record ? keptPort(path.resolve(opts.record)) : 0);
  // With --record, the browser's profile folder keeps the record across runs.
  const settings = { viewport: { width: 1280, height: 800 }, locale: 'ja-JP', acceptDownloads: true };
  const browser = opts.record ? null : await launch();
  const context = opts.record ? await launchKeeping(path.resolve(opts.record), settings)
    : await browser.newContext(settings);
  let status = 0;
  let page = null;
  try {
    page = context.pages()[0] ?? await context.newPage();
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
    // What the record saved lands before the browser closes.
    await page?.evaluate(() => self.quilloryRecordSaved?.()).catch(() => {});
    await context.close();
    await browser?.close();
    server.close();
  }
  process.exit(status);
}

if (process.argv[1] && path.resolve(process.argv[1]) === fileURLToPath(import.meta.url)) {
  main().catch((error) => {
    process.stderr.write(`quillory-web-replay: ${error.message || error}\n`);
    process.exit(1);
  });
}
