// The operator window in the real console, off screen: Chromium logs on, the operator browses
// three content pages and a framed page, and the user's main window follows each page within
// the poll interval; after the framed page the user holds the last address pushed, and the
// activity rows carry the pages' titles. Prints the console's memory and the follow delays.
import assert from 'node:assert/strict';
import { writeFile } from 'node:fs/promises';
import path from 'node:path';
import { describe, it } from 'node:test';
import { launchChromium } from '../lib/browsers.js';
import { logOnToConsole } from '../lib/console.js';
import { TestHost } from '../lib/testhost.js';
import { waitUntil, sleep } from '../lib/scenarios.js';

const REFRESH = 1;
const DELAY = 1;
// One refresh period, one download delay and the slack of a page load.
const FOLLOW_BOUND_MS = (REFRESH + DELAY + 2) * 1000;

const TITLES = {
  'page1.htm': 'Vantro sample - Getting started',
  'page2.htm': 'Vantro sample - How it works',
  'page3.htm': 'Vantro sample - Questions',
};

async function writeFramedPages(root) {
  await writeFile(path.join(root, 'framed.htm'), '<html><head><title>Framed</title></head><frameset cols="50%,50%"><frame name="left" src="left.htm"><frame name="right" src="right.htm"></frameset></html>');
  await writeFile(path.join(root, 'left.htm'), '<html><head><title>Left</title></head><body>Left</body></html>');
  await writeFile(path.join(root, 'right.htm'), '<html><head><title>Right</title></head><body>Right</body></html>');
}

describe('operator window with chromium', { timeout: 180000 }, () => {
  it('is followed page by page, frames end on the last push, rows get titles', { timeout: 150000 }, async () => {
    const host = await TestHost.start({ refresh: REFRESH, delay: DELAY, startTimeoutMs: 20000 });
    let browser;
    try {
      await writeFramedPages(host.root);
      assert.equal(await host.ok('operator-open'), 'ok');
      browser = await launchChromium();
      const page = await browser.newPage();
      await logOnToConsole(host, browser, page);

      const delays = [];
      for (const [name, title] of Object.entries(TITLES)) {
        const url = `${host.url}/${name}`;
        const start = Date.now();
        await host.ok(`operator-navigate ${url}`);
        await waitUntil(() => page.url() === url, { timeoutMs: FOLLOW_BOUND_MS, what: `the user follows to ${name}` });
        delays.push(Date.now() - start);
        // As an operator would, let the page finish loading (its title names the row) before going on:
        // a page left within moments of its push may never report a title.
        await waitUntil(async () => (await host.ok(`title ${url}`)) === `ok ${title}`, { timeoutMs: 4000, what: `the title of ${name}'s row` });
      }

      await host.ok(`operator-navigate ${host.url}/framed.htm`);
      const last = `${host.url}/right.htm`;
      await waitUntil(() => page.url() === last, { timeoutMs: FOLLOW_BOUND_MS, what: 'the user holds the last frame pushed' });
      // Two more polls later the user is still there: nothing older is delivered after it.
      await sleep(2 * REFRESH * 1000 + 500);
      assert.equal(page.url(), last);

      const rss = await host.ok('rss');
      console.log(`# console RSS with the operator window open: ${rss.slice(3)} kB`);
      console.log(`# operator navigation to user navigation: ${delays.join(', ')} ms`);
    } finally {
      if (browser) await browser.close();
      const status = await host.stop();
      assert.deepEqual({ code: status.code, signal: status.signal }, { code: 0, signal: null }, 'the console exits 0 when its input closes');
    }
  });
});
