// A presentation script in the real console, off screen: a Chromium user and a Firefox user
// (the second one through a forwarder, so that the console sees another address) log on, the
// operator prepares a three-entry script and presses Push Next three times. Both main windows
// follow the entries in order, and each push is listed "Pushing" and then "Sent".
import assert from 'node:assert/strict';
import { describe, it } from 'node:test';
import { launchChromium, launchFirefox } from '../lib/browsers.js';
import { logOnToConsole } from '../lib/console.js';
import { startForwarder } from '../lib/forward.js';
import { exactLine, waitUntil } from '../lib/scenarios.js';
import { TestHost } from '../lib/testhost.js';

const REFRESH = 1;
const DELAY = 1;
const PUSH_BOUND_MS = (REFRESH + DELAY + 3) * 1000;
const ENTRIES = [
  ['page1.htm', 'Getting started'],
  ['page2.htm', 'How it works'],
  ['page3.htm', 'Questions'],
];

describe('presentation script with chromium and firefox', { timeout: 240000 }, () => {
  it('moves both users through the entries with Push Next', { timeout: 200000 }, async () => {
    const host = await TestHost.start({ refresh: REFRESH, delay: DELAY, startTimeoutMs: 20000 });
    const forwarder = await startForwarder(host.port, '127.0.0.2');
    const browsers = [];
    try {
      assert.equal(await host.ok('operator-open'), 'ok');
      browsers.push(await launchChromium(), await launchFirefox());
      const [chromium, firefox] = browsers;
      const pages = [await chromium.newPage(), await firefox.newPage()];
      await logOnToConsole(host, chromium, pages[0], { alias: 'Ann Lee' });
      await logOnToConsole(host, firefox, pages[1], { title: 'Ms', alias: 'Bo Kim', url: forwarder.url, addr: '127.0.0.2' });
      assert.equal(await host.ok('users'), 'ok 2', 'two users, one per source address');

      assert.equal(await host.ok('script-new'), 'ok');
      for (const [name, title] of ENTRIES) assert.equal(await host.ok(`script-add ${host.url}/${name} ${title}`), 'ok');
      for (const [name] of ENTRIES) {
        const url = `${host.url}/${name}`;
        const since = host.mark();
        assert.equal(await host.ok('script-next'), 'ok');
        const pushing = await host.waitForLine(exactLine(`activity All Clients\t${url}\tPushing`), { since, timeoutMs: 3000, what: `the "Pushing" row of ${name}` });
        await waitUntil(() => pages.every((page) => page.url() === url), { timeoutMs: PUSH_BOUND_MS, what: `both main windows show ${name} (at ${pages.map((page) => page.url())})` });
        const sent = await host.waitForLine(exactLine(`row All Clients\t${url}\tSent`), { since, timeoutMs: PUSH_BOUND_MS, what: `the "Sent" mark of ${name}` });
        assert.ok(pushing.index < sent.index, 'the row is "Pushing" before it is "Sent"');
      }
    } finally {
      for (const browser of browsers) await browser.close();
      await forwarder.close();
      const status = await host.stop();
      assert.deepEqual({ code: status.code, signal: status.signal }, { code: 0, signal: null }, 'the console exits 0 when its input closes');
    }
  });
});
