// The first lesson in the browser: opened from the menu, walked with keys through
// its first question.
import path from 'node:path';
import { fileURLToPath } from 'node:url';
import { test, expect } from '@playwright/test';
import { serve } from '../driver/replay.mjs';

const site = process.env.QUILLORY_SITE
  || path.resolve(path.dirname(fileURLToPath(import.meta.url)), '../../build-web/site');
let server;
test.beforeAll(async () => { server = await serve(site); });
test.afterAll(() => server.close());

test('first lesson, first question with keys', async ({ page }) => {
  await page.goto(`http://127.0.0.1:${server.address().port}/index.html`);
  const screen = page.locator('.window:not([hidden])');
  const text = screen.locator('[data-name="T1"]');
  const live = () => screen.locator('button.live:not([hidden])').evaluateAll((all) => all.map((b) => b.dataset.name));

  await expect(screen.locator('h1')).toHaveText(' Quillory');
  await page.keyboard.press('Enter');
  await expect(screen.locator('h1')).toHaveText('Quilloryメニュー');
  await screen.locator('[data-name="C2"]').click();
  await expect(screen.locator('h1')).toHaveText('＜１＞５文型 Part 1');
  await expect(text).toHaveText('私は、森岡　ハナです。よろしくね。では授業を始めましょう。');
  await expect(text).toHaveAttribute('aria-live', 'polite');
  expect(await live()).toEqual(['Command1', 'Command3']);

  await page.keyboard.press('Enter');
  await expect(text).toHaveText('森岡先生、よろしくお願いします。');
  expect(await live()).toEqual(['Command2', 'Command3']);

  await page.keyboard.press('Enter');
  await expect(text).toContainText('<これはペンです。>');
  await page.keyboard.press('Enter');
  await expect(text).toContainText('1  This is a pen.');
  expect(await live()).toEqual(['Command3', 'Command4', 'Command5', 'Command6']);
  await expect(screen.locator('[data-name="Command4"]')).toHaveText('１');

  await page.keyboard.press('3');
  await expect(text).toContainText('答えは This is a pen.');
  await expect(screen.locator('[data-name="Command4"]')).toBeVisible();
  expect(await live()).toEqual(['Command1', 'Command3']);
  expect(await text.evaluate((e) => e.scrollHeight <= e.clientHeight)).toBe(true);

  // A long text: the marker until Page Down has shown its end.
  const more = screen.locator('button.more');
  await expect(more).toBeHidden();
  await page.keyboard.press('Enter');
  await page.keyboard.press('Enter');
  await expect(text).toContainText('いくら英語が不得意でも');
  await expect(more).toHaveText('▼ 続き');
  await page.keyboard.press('PageDown');
  await page.keyboard.press('PageDown');
  await expect(more).toBeHidden();

  // A phone in portrait: one column, buttons a thumb can hit.
  await page.setViewportSize({ width: 390, height: 844 });
  const button = await screen.locator('[data-name="Command1"]').boundingBox();
  expect(Math.min(button.width, button.height)).toBeGreaterThanOrEqual(44);
  expect(await text.evaluate((e) => parseFloat(getComputedStyle(e).fontSize))).toBeGreaterThanOrEqual(16);
});
