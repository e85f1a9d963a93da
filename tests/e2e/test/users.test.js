// The real console, off screen: a Chromium user logs on and shows under "Users" in the
// navigation tree and in the users window; logging it off from the users window removes its
// row and tree child at once, closes its control window, and drops it from the user table once
// the logoff page has been delivered.
import assert from 'node:assert/strict';
import { describe, it } from 'node:test';
import { launchChromium } from '../lib/browsers.js';
import { ADDR, logOnToConsole } from '../lib/console.js';
import { exactLine, waitUntil } from '../lib/scenarios.js';
import { TestHost } from '../lib/testhost.js';

describe('users window with chromium', { timeout: 120000 }, () => {
  it('shows the user in the tree and the users window, and logs it off from there', { timeout: 90000 }, async () => {
    const host = await TestHost.start({ refresh: 1, delay: 1, startTimeoutMs: 20000 });
    let browser;
    try {
      browser = await launchChromium();
      const page = await browser.newPage();
      const popup = await logOnToConsole(host, browser, page, { title: 'Ms', alias: 'Ann Lee' });

      assert.equal(await host.ok('tree-users'), 'ok\tMs. Ann Lee');
      assert.equal(await host.ok('users-window'), `ok | Ms. Ann Lee\t${ADDR}\tConnected`);

      const logoffSince = host.mark();
      assert.equal(await host.ok(`logoff-window ${ADDR}`), 'ok', 'the row goes at once');
      assert.equal(await host.ok('tree-users'), 'ok', 'the tree child goes at once');
      await host.waitForLine(exactLine(`activity ${ADDR}\t/logoff.htm\tPushing`), { since: logoffSince, timeoutMs: 2000, what: 'the logoff row' });
      await waitUntil(() => page.url() === `${host.url}/logoff.htm`, { timeoutMs: 6000, what: 'the logoff page reaches the main window' });
      await waitUntil(() => popup.isClosed(), { timeoutMs: 4000, what: 'the logoff page closes the control window' });
      await host.waitForLine(exactLine(`row ${ADDR}\t/logoff.htm\tSent`), { since: logoffSince, timeoutMs: 4000, what: 'the logoff page delivered' });
      await waitUntil(async () => (await host.ok('users')) === 'ok 0', { timeoutMs: 3000, what: 'the user table is empty after the logoff', interval: 200 });
    } finally {
      if (browser) await browser.close();
      const status = await host.stop();
      assert.deepEqual({ code: status.code, signal: status.signal }, { code: 0, signal: null }, 'the console exits 0 when its input closes');
    }
  });
});
