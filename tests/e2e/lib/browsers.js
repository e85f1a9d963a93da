// The two real browsers the tests drive, behind one small interface:
//   launch() -> { name, newPage(), chooseTitle(page, v), typeAlias(page, s),
//                 clickForPopup(page, selector, timeoutMs), close() }
// Pages are the driver's own page objects; the scenarios use only goto, url, title,
// evaluate, isClosed, on('popup') and close, which both drivers have.
// Both browsers keep their popup blockers on: the drivers turn them off by default, so
// that default is undone here.

import { mkdtemp, rm } from 'node:fs/promises';
import { tmpdir } from 'node:os';
import path from 'node:path';

export const CHROMIUM = process.env.VANTRO_CHROMIUM || '/usr/bin/chromium';
export const FIREFOX = process.env.VANTRO_FIREFOX || '/usr/bin/firefox-esr';

const CHROMIUM_ARGS = [
  '--no-sandbox',
  '--disable-gpu',
  '--disable-background-networking',
  '--disable-component-update',
  '--no-first-run',
];

function withTimeout(promise, ms, what) {
  let timer;
  const timeout = new Promise((_, reject) => {
    timer = setTimeout(() => reject(new Error(`${what}: nothing within ${ms} ms`)), ms);
  });
  return Promise.race([promise, timeout]).finally(() => clearTimeout(timer));
}

export async function launchChromium() {
  const { chromium } = await import('playwright-core');
  const userDataDir = await mkdtemp(path.join(tmpdir(), 'vantro-chromium-'));
  let context;
  try {
    context = await withTimeout(
      chromium.launchPersistentContext(userDataDir, {
        executablePath: CHROMIUM,
        headless: true,
        args: CHROMIUM_ARGS,
        ignoreDefaultArgs: ['--disable-popup-blocking'],
        timeout: 30000,
      }),
      40000,
      'launching Chromium',
    );
  } catch (err) {
    await rm(userDataDir, { recursive: true, force: true });
    throw err;
  }
  return {
    name: 'chromium',
    async newPage() {
      const existing = context.pages().find((p) => p.url() === 'about:blank');
      return existing || context.newPage();
    },
    async chooseTitle(page, value) {
      await page.selectOption('#sex', value);
    },
    async typeAlias(page, text) {
      await page.locator('#alias').pressSequentially(text);
    },
    async clickForPopup(page, selector, timeoutMs) {
      const popup = withTimeout(page.waitForEvent('popup'), timeoutMs, `a popup after clicking ${selector}`);
      popup.catch(() => {});
      await page.click(selector);
      return popup;
    },
    async close() {
      try {
        await withTimeout(context.close(), 15000, 'closing Chromium');
      } finally {
        await rm(userDataDir, { recursive: true, force: true });
      }
    },
  };
}

export function launchFirefox({ headless = true } = {}) {
  return launchWithPuppeteer('firefox', {
    browser: 'firefox',
    protocol: 'webDriverBiDi',
    executablePath: FIREFOX,
    headless,
    extraPrefsFirefox: {
      'dom.disable_open_during_load': true,
    },
  });
}

// Chromium as an ordinary user runs it: headed, and with hidden windows throttled. Puppeteer,
// unlike Playwright, does not tell every page that it is focused and visible.
export function launchChromiumHeaded() {
  return launchWithPuppeteer('chromium', {
    browser: 'chrome',
    executablePath: CHROMIUM,
    headless: false,
    args: CHROMIUM_ARGS,
    ignoreDefaultArgs: [
      '--disable-popup-blocking',
      '--disable-background-timer-throttling',
      '--disable-backgrounding-occluded-windows',
      '--disable-renderer-backgrounding',
    ],
  });
}

async function launchWithPuppeteer(name, options) {
  const { default: puppeteer } = await import('puppeteer-core');
  const userDataDir = await mkdtemp(path.join(tmpdir(), `vantro-${name}-`));
  let browser;
  try {
    browser = await withTimeout(puppeteer.launch({ ...options, userDataDir, timeout: 30000 }), 40000, `launching ${name}`);
  } catch (err) {
    await rm(userDataDir, { recursive: true, force: true });
    throw err;
  }
  return {
    name,
    async newPage() {
      const pages = await browser.pages();
      return pages.find((p) => p.url() === 'about:blank') || browser.newPage();
    },
    async chooseTitle(page, value) {
      await page.select('#sex', value);
    },
    async typeAlias(page, text) {
      await page.type('#alias', text);
    },
    async clickForPopup(page, selector, timeoutMs) {
      const popup = new Promise((resolve) => page.once('popup', resolve));
      await page.click(selector);
      return withTimeout(popup, timeoutMs, `a popup after clicking ${selector}`);
    },
    async close() {
      const proc = browser.process();
      try {
        await withTimeout(browser.close(), 15000, `closing ${name}`);
      } catch (err) {
        if (proc && proc.exitCode === null) proc.kill('SIGKILL');
        throw err;
      } finally {
        await rm(userDataDir, { recursive: true, force: true });
      }
    },
  };
}
