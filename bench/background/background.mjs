// Does a minimized control window keep its user? A headed Chromium (under Xvfb) logs on at the
// default settings, its control window is minimized, and a push is made every two minutes for
// ten minutes: each must reach the main window, and the user must still be there at the end.
import { createRequire } from 'node:module';
import { mkdtemp, rm } from 'node:fs/promises';
import { tmpdir } from 'node:os';
import path from 'node:path';
import { CHROMIUM } from '../../tests/e2e/lib/browsers.js';
import { sleep, waitUntil } from '../../tests/e2e/lib/scenarios.js';
import { TestHost } from '../../tests/e2e/lib/testhost.js';

const require = createRequire(new URL('../../tests/e2e/package.json', import.meta.url));
const { chromium } = require('playwright-core');
const MINUTES = Number(process.env.MINUTES || 10);
const INSTANT = process.env.INSTANT || '1';

const host = await TestHost.start({ refresh: 5, delay: 5, args: ['--instant-delivery', INSTANT] });
const profile = await mkdtemp(path.join(tmpdir(), 'vantro-background-'));
const context = await chromium.launchPersistentContext(profile, {
  executablePath: CHROMIUM,
  headless: false,
  args: ['--no-sandbox', '--no-first-run'],
  // Playwright's own defaults keep background windows at full speed; a real browser does not.
  ignoreDefaultArgs: [
    '--disable-popup-blocking',
    '--disable-background-timer-throttling',
    '--disable-backgrounding-occluded-windows',
    '--disable-renderer-backgrounding',
  ],
});
try {
  const page = context.pages()[0] || (await context.newPage());
  await page.goto(`${host.url}/`);
  await page.selectOption('#sex', 'Mr');
  await page.locator('#alias').pressSequentially('Background');
  const popupPromise = page.waitForEvent('popup');
  await page.click('#submit');
  const popup = await popupPromise;
  await waitUntil(() => page.url() === `${host.url}/welcome.htm`, { timeoutMs: 15000, what: 'the welcome page' });
  const cdp = await context.newCDPSession(popup);
  const { windowId } = await cdp.send('Browser.getWindowForTarget');
  await cdp.send('Browser.setWindowBounds', { windowId, bounds: { windowState: 'minimized' } });
  await sleep(2000);
  const state = await popup.evaluate(() => document.visibilityState);
  console.log(`control window minimized, visibilityState ${state}, instant delivery ${INSTANT}`);
  const pushes = [];
  for (let minute = 2; minute <= MINUTES; minute += 2) {
    await sleep(120000);
    const url = `${host.url}/page1.htm?minute=${minute}`;
    const start = Date.now();
    await host.ok(`push-all ${url}`);
    let ms;
    try {
      await waitUntil(() => page.url() === url, { timeoutMs: 60000, what: 'push', interval: 20 });
      ms = Date.now() - start;
    } catch {
      ms = 'not followed within 60 s';
    }
    const users = (await host.users()).length;
    const visibility = await popup.evaluate(() => document.visibilityState).catch(() => 'unknown');
    pushes.push({ minute, ms, users });
    console.log(`minute ${minute}: push followed in ${ms} ms, users ${users}, control window ${visibility}`);
  }
} finally {
  await context.close();
  await rm(profile, { recursive: true, force: true });
  await host.stop();
}
