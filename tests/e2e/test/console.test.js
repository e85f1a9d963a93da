// The real console, off screen, runs a session through New Session; Debian's Chromium logs
// on and follows a push from the console, and the console's activity list shows both rows
// turning "Sent". The console host prints the list's rows as they appear and change.
import assert from 'node:assert/strict';
import { describe, it } from 'node:test';
import { launchChromium } from '../lib/browsers.js';
import { ADDR, logOnToConsole } from '../lib/console.js';
import { exactLine, waitUntil } from '../lib/scenarios.js';
import { TestHost } from '../lib/testhost.js';

describe('console with chromium', { timeout: 120000 }, () => {
  it('lists the welcome row and a push from the console as "Sent"', { timeout: 90000 }, async () => {
    const host = await TestHost.start({ refresh: 1, delay: 1, startTimeoutMs: 20000 });
    let browser;
    try {
      browser = await launchChromium();
      const page = await browser.newPage();
      const popup = await logOnToConsole(host, browser, page, { title: 'Mr', alias: 'Ann Lee' });
      assert.equal(await host.ok('users'), 'ok 1');

      const pushed = `${host.url}/page1.htm`;
      const pushSince = host.mark();
      await host.ok(`push-all ${pushed}`);
      const pushing = await host.waitForLine(exactLine(`activity All Clients\t${pushed}\tPushing`), { since: pushSince, timeoutMs: 2000, what: 'the "Pushing" row' });
      await waitUntil(() => page.url() === pushed, { timeoutMs: 6000, what: 'the push reaches Chromium' });
      const sent = await host.waitForLine(exactLine(`row All Clients\t${pushed}\tSent`), { since: pushSince, timeoutMs: 4000, what: 'the row turning "Sent"' });
      assert.ok(pushing.index < sent.index, 'the row is "Pushing" before it is "Sent"');
      assert.ok(!popup.isClosed(), 'the control window stays open');
    } finally {
      if (browser) await browser.close();
      const status = await host.stop();
      assert.deepEqual({ code: status.code, signal: status.signal }, { code: 0, signal: null }, 'the console exits 0 when its input closes');
    }
  });
});
