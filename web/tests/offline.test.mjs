// The page without a network, its update to a new version, and the storage of the
// learner's record.
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import { fileURLToPath } from 'node:url';
import { test, expect } from '@playwright/test';
import { serve } from '../driver/replay.mjs';

const site = process.env.QUILLORY_SITE
  || path.resolve(path.dirname(fileURLToPath(import.meta.url)), '../../build-web/site');

// Each first visit caches the whole site, core included: slow on a busy machine.
test.describe.configure({ timeout: 120_000 });

async function withServer(root, body) {
  const server = await serve(root);
  try {
    await body(`http://127.0.0.1:${server.address().port}/`);
  } finally {
    server.close();
  }
}

// Resolves once the service worker has cached the site and is in charge.
const ready = (page) => page.evaluate(async () => {
  await navigator.serviceWorker.ready;
  if (!navigator.serviceWorker.controller) {
    await new Promise((resolve) => navigator.serviceWorker.addEventListener('controllerchange', resolve));
  }
});

test('a second visit works offline: menu, a lesson, its pictures, every file', async ({ page, context }) => {
  await withServer(site, async (origin) => {
    const elsewhere = [];
    context.on('request', (request) => {
      if (!request.url().startsWith(origin)) elsewhere.push(request.url());
    });
    await page.goto(`${origin}index.html`);
    await ready(page);
    // Installable as an app, but for the private window every test context is.
    const cdp = await context.newCDPSession(page);
    const { installabilityErrors } = await cdp.send('Page.getInstallabilityErrors');
    expect(installabilityErrors.map((e) => e.errorId).filter((id) => id !== 'in-incognito')).toEqual([]);

    await context.setOffline(true);
    await page.reload();
    const screen = page.locator('.window:not([hidden])');
    await expect(screen.locator('h1')).toHaveText(' Quillory');
    await page.keyboard.press('Enter');
    await expect(screen.locator('h1')).toHaveText('Quilloryメニュー');
    await screen.locator('[data-name="C2"]').click();
    await expect(screen.locator('h1')).toHaveText('＜１＞５文型 Part 1');
    const picture = screen.locator('img.picture:not([hidden])').first();
    await expect(picture).toHaveAttribute('src', /pictures\/.+\.svg$/);
    await expect.poll(() => picture.evaluate((img) => img.naturalWidth)).toBeGreaterThan(0);

    // Pictures not yet shown, the manifest and the icons it names are there too.
    expect(await page.evaluate(async () => {
      const manifest = await (await fetch('manifest.webmanifest')).json();
      const files = ['pictures/over.svg', 'pictures/mon0.svg', 'storage.js', ...manifest.icons.map((i) => i.src)];
      const ok = await Promise.all(files.map((file) => fetch(file).then((r) => r.ok, () => false)));
      return [files.filter((_, i) => !ok[i]), manifest.start_url, manifest.scope];
    })).toEqual([[], './', './']);
    // No update notice for the first version.
    await expect(page.locator('#update-notice')).toHaveCount(0);
    expect(elsewhere).toEqual([]);
  });
});

test('a new version: fetched in the background, offered, and taken without losing the record',
  async ({ page }) => {
    // Two copies of the site on one origin; the first is updated, the other left alone.
    const root = fs.mkdtempSync(path.join(os.tmpdir(), 'quillory-site-'));
    const copy = path.join(root, 'one');
    fs.cpSync(site, copy, { recursive: true });
    fs.cpSync(site, path.join(root, 'two'), { recursive: true });
    // A new version of the site as the build would write it: other contents, another hash.
    const publish = (version) => {
      const index = path.join(copy, 'index.html');
      fs.writeFileSync(index, fs.readFileSync(index, 'utf8')
        .replace(/(<meta name="build" content="[^"]*">)?<\/head>/, `<meta name="build" content="${version}"></head>`));
      const sw = path.join(copy, 'sw.js');
      fs.writeFileSync(sw, fs.readFileSync(sw, 'utf8').replace(/const VERSION = '[^']*'/, `const VERSION = '${version}'`));
    };
    const build = page.locator('meta[name="build"]');
    const caches = () => page.evaluate(async () => (await caches.keys()).filter((key) => key.includes('/one/'))
      .map((key) => key.split(' ').pop()));
    const update = () => page.evaluate(async () => (await navigator.serviceWorker.getRegistration()).update());
    try {
      await withServer(root, async (server) => {
        await page.goto(`${server}two/index.html`);
        await ready(page);
        const origin = `${server}one/`;
        await page.goto(`${origin}index.html`);
        await ready(page);
        expect(await page.evaluate(async () => (await openRecordStorage()).save('record text 1'))).toBe(true);

        // The notice's button takes the new version now.
        publish('second');
        await update();
        const notice = page.locator('#update-notice');
        await expect(notice).toContainText('新しい版を用意しました。');
        await expect(build).toHaveCount(0); // still the old page until asked
        await Promise.all([page.waitForEvent('load'), notice.getByRole('button', { name: '今すぐ更新' }).click()]);
        await expect(build).toHaveAttribute('content', 'second');
        await expect(page.locator('#update-notice')).toHaveCount(0);
        await expect.poll(caches).toEqual(['second']);

        // Or the next reload does.
        publish('third');
        await update();
        await expect(notice).toBeVisible();
        await page.reload();
        await expect(build).toHaveAttribute('content', 'third');
        await expect.poll(caches).toEqual(['third']);

        expect(await page.evaluate(async () => (await openRecordStorage()).load())).toBe('record text 1');
        expect(await page.evaluate(async () => (await caches.keys()).filter((key) => key.includes('/two/')).length))
          .toBe(1);
      });
    } finally {
      fs.rmSync(root, { recursive: true, force: true });
    }
  });

test('the record storage: in order, across a reload, text set aside, a full disk told once, refusals',
  async ({ browser }) => {
    const context = await browser.newContext({ serviceWorkers: 'block' });
    // self.fullDisk makes writes fail as on a full disk; ?refuse=HOW refuses storage.
    await context.addInitScript(() => {
      const put = IDBObjectStore.prototype.put;
      IDBObjectStore.prototype.put = function (...args) {
        if (self.fullDisk) throw new DOMException('The disk is full.', 'QuotaExceededError');
        return put.apply(this, args);
      };
      const get = IDBObjectStore.prototype.get;
      IDBObjectStore.prototype.get = function (...args) {
        if (self.readFails) throw new DOMException('The file is damaged.', 'UnknownError');
        return get.apply(this, args);
      };
      const how = new URLSearchParams(location.search).get('refuse');
      if (how === 'missing') Object.defineProperty(self, 'indexedDB', { get: () => undefined });
      if (how === 'throws') IDBFactory.prototype.open = () => { throw new DOMException('no', 'SecurityError'); };
      if (how === 'error') {
        IDBFactory.prototype.open = () => {
          const request = {};
          setTimeout(() => request.onerror?.({ preventDefault() {} }));
          return request;
        };
      }
      if (how === 'hangs') IDBFactory.prototype.open = () => ({}); // blocked by another tab, say
      self.fullDisk = how === 'full';
    });
    const page = await context.newPage();
    await withServer(site, async (origin) => {
      await page.goto(`${origin}index.html`);
      expect(await page.evaluate(async () => {
        const storage = await openRecordStorage();
        const before = await storage.load();
        const texts = Array.from({ length: 20 }, (_, i) => `record ${i}\n${'x'.repeat(i * 1000)}`);
        const saved = await Promise.all(texts.map((text) => storage.save(text)));
        return [before, saved.every(Boolean), (await storage.load()).split('\n')[0]];
      })).toEqual([null, true, 'record 19']);

      await page.reload();
      expect(await page.evaluate(async () => {
        const errors = [];
        const storage = await openRecordStorage({ onSaveError: (error) => errors.push(error.name) });
        const loaded = (await storage.load()).split('\n')[0];
        const unreadable = 'not a record: \u0000\u{1F600} 途中で切れた';
        const keys = [await storage.keepAside(unreadable), await storage.keepAside(unreadable)];
        const raw = (key) => new Promise((resolve) => {
          indexedDB.open('quillory').onsuccess = (event) => {
            const request = event.target.result.transaction('record').objectStore('record').get(key);
            request.onsuccess = () => resolve(request.result);
          };
        });
        const aside = [keys[0] !== keys[1], ...keys.map((key) => /^record-unreadable-\d{4}-\d\d-\d\dT/.test(key))];
        for (const key of keys) aside.push((await raw(key)) === unreadable);
        self.fullDisk = true;
        const full = [...await Promise.all([storage.save('lost 1'), storage.save('lost 2')]), await storage.save('3')];
        self.fullDisk = false;
        const freed = await storage.save('record after the disk was freed');
        // A record that cannot be read is never written over by a fresh one.
        self.readFails = true;
        const unread = [await storage.load().then(() => 'read', (e) => e.name), await storage.save('fresh start')];
        self.readFails = false;
        return { loaded, aside, full, freed, errors, unread, final: await storage.load() };
      })).toEqual({
        loaded: 'record 19', aside: [true, true, true, true, true], full: [false, false, false], freed: true,
        errors: ['QuotaExceededError', 'Error'], unread: ['UnknownError', false], final: 'record after the disk was freed',
      });

      for (const how of ['missing', 'throws', 'error', 'hangs', 'full']) {
        await page.goto(`${origin}index.html?refuse=${how}`);
        const [storage, ms] = await page.evaluate(async () => {
          const start = performance.now();
          return [await openRecordStorage(), performance.now() - start];
        });
        expect(storage, how).toBeNull();
        expect(ms, how).toBeLessThan(3000);
      }
    });
    await context.close();
  });
