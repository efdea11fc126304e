// The page around the core: the conversation's history, reading aloud, a picture
// that does not load, a window that changes size, and a browser without WebAssembly.
import path from 'node:path';
import { fileURLToPath } from 'node:url';
import { test, expect } from '@playwright/test';
import { serve } from '../driver/replay.mjs';

const site = process.env.QUILLORY_SITE
  || path.resolve(path.dirname(fileURLToPath(import.meta.url)), '../../build-web/site');
let server;
test.beforeAll(async () => { server = await serve(site); });
test.afterAll(() => server.close());

const url = () => `http://127.0.0.1:${server.address().port}/index.html`;
const screenOf = (page) => page.locator('.window:not([hidden])');

// From the title to the first lesson.
async function toFirstLesson(page) {
  const screen = screenOf(page);
  await expect(screen.locator('h1')).toHaveText(' Quillory');
  await page.keyboard.press('Enter');
  await screen.locator('[data-name="C2"]').click();
  await expect(screen.locator('h1')).toHaveText('＜１＞５文型 Part 1');
}

// On to the first lesson's screen with the answer to its first question.
async function toFirstAnswer(page) {
  const screen = screenOf(page);
  await toFirstLesson(page);
  for (let i = 0; i < 3; i++) await page.keyboard.press('Enter');
  await page.keyboard.press('3');
  await expect(screen.locator('[data-name="T1"]')).toContainText('答えは This is a pen.');
}

// Every visible text box shows its whole text (or scrolls), as the desktop's would.
async function textBoxes(page) {
  return screenOf(page).locator('.text:not([hidden])').evaluateAll((boxes) => boxes.map((box) => {
    const lines = [...box.children];
    const style = getComputedStyle(box);
    const needed = lines.length ? lines.at(-1).offsetTop + lines.at(-1).offsetHeight - lines[0].offsetTop
      + parseFloat(style.paddingTop) + parseFloat(style.paddingBottom) : 0;
    return { fits: needed <= box.clientHeight + 1, scrolls: style.overflowY !== 'hidden', text: box.textContent };
  }));
}

test('history and reading aloud', async ({ page }) => {
  // A speech engine that only takes notes, with a Japanese voice listed first.
  await page.addInitScript(() => {
    const said = [];
    window.said = said;
    const voices = [{ name: 'Kyoko', lang: 'ja-JP' }, { name: 'Daniel', lang: 'en-GB' }];
    window.SpeechSynthesisUtterance = class { constructor(text) { this.text = text; this.lang = ''; this.voice = null; } };
    Object.defineProperty(window, 'speechSynthesis', {
      configurable: true,
      value: {
        speaking: false,
        getVoices: () => voices,
        speak(utterance) {
          said.push({ text: utterance.text, lang: utterance.lang, voice: utterance.voice?.name });
          this.speaking = true;
        },
        cancel() { this.speaking = false; said.push('cancel'); },
      },
    });
  });
  await page.goto(url());
  await toFirstAnswer(page);
  const said = () => page.evaluate(() => window.said.filter((s) => s !== 'cancel'));

  await page.keyboard.press('r');
  await expect.poll(said).toEqual([{ text: 'This is a pen.', lang: 'en-GB', voice: 'Daniel' }]);
  // R again while it speaks stops it; the screen stays.
  await page.keyboard.press('r');
  expect(await page.evaluate(() => window.said.at(-1))).toBe('cancel');
  expect(await page.evaluate(() => speechSynthesis.speaking)).toBe(false);

  // H: what was said so far, oldest first, the current text last; Esc goes back.
  await page.keyboard.press('h');
  const history = page.getByRole('dialog');
  await expect(history.locator('h2')).toHaveText('会話の履歴');
  const entries = history.locator('dd');
  await expect(entries.first()).toHaveText('私は、森岡　ハナです。よろしくね。では授業を始めましょう。');
  await expect(entries.last()).toContainText('答えは This is a pen.');
  expect(await history.locator('dt').count()).toBe(await entries.count());
  // Keys go to the history while it is open, not to the lesson.
  const before = await screenOf(page).locator('[data-name="T1"]').textContent();
  await page.keyboard.press('Enter');
  await expect(history).toBeVisible();
  await page.keyboard.press('Escape');
  await expect(history).toHaveCount(0);
  await expect(screenOf(page).locator('[data-name="T1"]')).toHaveText(before);
  await page.keyboard.press('Enter');
  await expect(screenOf(page).locator('[data-name="T1"]')).not.toHaveText(before);
});

test.describe(() => {
  // Requests a service worker answers from its cache never reach page.route.
  test.use({ serviceWorkers: 'block' });
  test('a picture that does not load keeps its named frame', async ({ page }) => {
    await page.route('**/pictures/gal1.svg', (route) => route.abort());
    await page.goto(url());
    const screen = screenOf(page);
    await toFirstLesson(page);
    const picture = screen.locator('[data-name="Picture1"]');
    await expect(picture).toHaveClass(/missing/);
    await expect(picture).toBeVisible();
    await expect(picture).toHaveAttribute('alt', 'gal1.bmp');
    await expect(page.getByRole('img', { name: '絵（表示できません）' })).toHaveAttribute(
      'aria-description', '絵のファイル gal1.bmp を表示できません。');
    const frame = await picture.evaluate((e) => [e.offsetWidth, e.offsetHeight]);
    expect(frame).toEqual([3135 / 15, 2295 / 15]);
    // The lesson goes on, and an enlarged view of nothing is not offered.
    await picture.click();
    await expect(page.getByRole('dialog')).toHaveCount(0);
    await page.keyboard.press('Enter');
    await expect(screen.locator('[data-name="T1"]')).toHaveText('森岡先生、よろしくお願いします。');
  });
});

test('from a phone to a desktop, every text box fits', async ({ page }) => {
  await page.setViewportSize({ width: 390, height: 844 });
  await page.goto(url());
  await toFirstAnswer(page);
  const seen = [];
  for (let i = 0; i < 4; i++) {
    for (const box of await textBoxes(page)) {
      expect(box.fits || box.scrolls, box.text).toBe(true);
      seen.push(box.text);
    }
    await page.keyboard.press('Enter');
  }
  expect(new Set(seen).size).toBeGreaterThan(1);
  for (const [width, height] of [[768, 1024], [1024, 768], [1280, 800], [1920, 1080]]) {
    await page.setViewportSize({ width, height });
    const boxes = await textBoxes(page);
    expect(boxes.length).toBe(1);
    for (const box of boxes) expect(box.fits, `${width}x${height}: ${box.text}`).toBe(true);
    // The design size comes back, scaled as a whole into the window.
    const size = await screenOf(page).locator('[data-name="T1"]').evaluate((e) => [e.offsetWidth, e.offsetHeight]);
    expect(size).toEqual([6495 / 15, 1695 / 15]);
    const rect = await screenOf(page).boundingBox();
    expect(rect.x).toBeGreaterThanOrEqual(0);
    expect(rect.x + rect.width).toBeLessThanOrEqual(width + 1);
    expect(rect.y + rect.height).toBeLessThanOrEqual(height + 1);
  }
});

test('a browser without WebAssembly is told so in Japanese', async ({ page }) => {
  const errors = [];
  page.on('pageerror', (error) => errors.push(error.message));
  await page.addInitScript(() => { delete window.WebAssembly; });
  await page.goto(url());
  await expect(page.locator('#message')).toHaveText(/^このブラウザーでは Quillory を使えません。/);
  await expect(page.locator('#message')).toBeVisible();
  await expect(page.locator('.window')).toHaveCount(0);
  expect(errors).toEqual([]);
});
