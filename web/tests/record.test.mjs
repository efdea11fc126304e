// The learner's record in the browser: kept across reloads, moved out and in as a
// file, and the page going on when storage is refused or what it holds is damaged.
import path from 'node:path';
import { fileURLToPath } from 'node:url';
import { test, expect } from '@playwright/test';
import { serve } from '../driver/replay.mjs';

const site = process.env.QUILLORY_SITE
  || path.resolve(path.dirname(fileURLToPath(import.meta.url)), '../../build-web/site');
let server;
test.beforeAll(async () => { server = await serve(site); });
test.afterAll(() => server.close());

const url = () => `http://127.0.0.1:${server.address().port}/index.html?today=2026-01-15`;
const screen = (page) => page.locator('.window:not([hidden])');
const control = (page, name) => screen(page).locator(`[data-name="${name}"]`);

async function menu(page) {
  await page.goto(url());
  await expect(screen(page).locator('h1')).toHaveText(' Quillory');
  await page.keyboard.press('Enter');
  await expect(screen(page).locator('h1')).toHaveText('Quilloryメニュー');
}

// The first lesson's first question answered wrong, then back to the menu.
async function missFirstQuestion(page) {
  await control(page, 'C2').click();
  for (let i = 0; i < 3; i++) await page.keyboard.press('Enter');
  await page.keyboard.press('2');
  await page.keyboard.press('Escape');
  await expect(screen(page).locator('h1')).toHaveText(' Quillory');
  await page.keyboard.press('Enter');
}

const saved = (page) => page.evaluate(() => self.quilloryRecordSaved());

test('the record across a reload, and out and back in as a file', async ({ page }) => {
  await menu(page);
  await missFirstQuestion(page);
  await expect(control(page, 'Review')).toHaveAttribute('data-due', '1');
  await saved(page);

  await menu(page);
  await expect(control(page, 'Review')).toHaveAttribute('data-due', '1');
  await expect(control(page, 'C2')).toHaveAttribute('data-progress', /"firstTryAsked":1/);
  await expect(control(page, 'Notice')).toBeHidden();

  await control(page, 'Review').click();
  await control(page, 'Record').click();
  const row = control(page, 'State1');
  await expect(row).toHaveText('4/26');
  const [download] = await Promise.all([page.waitForEvent('download'), control(page, 'Export').click()]);
  expect(download.suggestedFilename()).toBe('quillory-record-2026-01-15.txt');
  await expect(control(page, 'Message')).toHaveText('記録を書き出しました。');

  await control(page, 'Clear').click();
  await control(page, 'Yes').click();
  await expect(row).toHaveText('未学習');

  // Files that are not records change nothing.
  const pick = async (buffer) => {
    const [chooser] = await Promise.all([page.waitForEvent('filechooser'), control(page, 'Import').click()]);
    await chooser.setFiles({ name: 'record.txt', mimeType: 'text/plain', buffer: Buffer.from(buffer) });
  };
  await pick('my notes');
  await expect(control(page, 'Message')).toHaveText('このファイルは Quillory の記録ではありません。何も変えていません。');
  await pick('quillory-record 99\nend\t0\n');
  await expect(control(page, 'Message')).toContainText('新しい版の Quillory の記録です');
  await expect(row).toHaveText('未学習');

  const [chooser] = await Promise.all([page.waitForEvent('filechooser'), control(page, 'Import').click()]);
  await chooser.setFiles(await download.path());
  await expect(control(page, 'Message')).toHaveText('記録を読み込みました。');
  await expect(row).toHaveText('4/26');

  // What was read in is what the next visit finds.
  await saved(page);
  await menu(page);
  await expect(control(page, 'Review')).toHaveAttribute('data-due', '1');
});

test('storage refused: the page goes on and the menu says so once', async ({ page }) => {
  await page.addInitScript(() => {
    Object.defineProperty(self, 'indexedDB', { get() { throw new DOMException('blocked', 'SecurityError'); } });
  });
  await menu(page);
  await expect(control(page, 'Notice')).toHaveText('このブラウザーでは記録を保存できないため、記録せずに続けます。');
  await missFirstQuestion(page);
  await expect(control(page, 'Review')).toHaveAttribute('data-due', '1');
  await expect(control(page, 'Notice')).toBeHidden();
});

test('damaged stored data is kept aside and a fresh record starts', async ({ page }) => {
  await menu(page);
  const keep = (text) => page.evaluate((value) => new Promise((resolve, reject) => {
    const open = indexedDB.open('quillory');
    open.onsuccess = () => {
      const transaction = open.result.transaction('record', 'readwrite');
      transaction.objectStore('record').put(value, 'record');
      transaction.oncomplete = () => { open.result.close(); resolve(); };
      transaction.onerror = () => reject(transaction.error);
    };
  }), text);
  await keep('quillory-record 1\nscreen\tForm3\tmany\n');

  await menu(page);
  await expect(control(page, 'Notice')).toContainText('保存されていた記録を読めませんでした');
  await expect(control(page, 'Review')).toHaveAttribute('data-due', '0');
  const aside = await page.evaluate(() => new Promise((resolve) => {
    const open = indexedDB.open('quillory');
    open.onsuccess = () => {
      const all = open.result.transaction('record').objectStore('record').getAllKeys();
      all.onsuccess = async () => {
        const key = all.result.find((k) => String(k).startsWith('record-unreadable-'));
        const get = open.result.transaction('record').objectStore('record').get(key);
        get.onsuccess = () => resolve(get.result);
      };
    };
  }));
  expect(aside).toBe('quillory-record 1\nscreen\tForm3\tmany\n');
});

test('the web driver keeps the record in its profile folder across processes', async () => {
  const { spawnSync } = await import('node:child_process');
  const { mkdtempSync, rmSync } = await import('node:fs');
  const os = await import('node:os');
  const driver = path.resolve(path.dirname(fileURLToPath(import.meta.url)), '../driver/replay.mjs');
  const profile = mkdtempSync(path.join(os.tmpdir(), 'quillory-profile-'));
  const run = (commands) => {
    const done = spawnSync(process.execPath, [driver, '--site', site, '--record', profile, '--today', '2026-01-15'],
      { input: commands.join('\n') + '\n', encoding: 'utf8', timeout: 60000 });
    expect(done.status, done.stderr).toBe(0);
    return done.stdout.trim().split('\n').map((line) => JSON.parse(line));
  };
  const named = (state, name) => state.controls.find((c) => c.name === name);
  try {
    run(['key Return', 'click C2', 'key Return', 'key Return', 'key Return', 'key 2']);
    const [menu, review, answered] = run(['key Return', 'click Review', 'key 2']);
    expect(named(menu, 'Review').due).toBe(1);
    expect(named(menu, 'C2').progress.firstTryAsked).toBe(1);
    expect(named(review, 'T1').text).toContain('This is a pen.');
    expect(answered.screen).toBe('Review');
    const [again] = run(['key Return']);
    expect(named(again, 'Review').due).toBe(1); // missed again: due at once
  } finally {
    rmSync(profile, { recursive: true, force: true });
  }
});
