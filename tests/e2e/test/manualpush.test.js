// Manual Push in the real console, off screen: two Chromium users of the same name, each coming
// in through a forwarder from its own loopback address, and a push to the second user alone.
// Only the second user's main window moves; the first stays on the welcome page.
import assert from 'node:assert/strict';
import { describe, it } from 'node:test';
import { launchChromium } from '../lib/browsers.js';
import { logOnToConsole } from '../lib/console.js';
import { startForwarder } from '../lib/forward.js';
import { exactLine, sleep, waitUntil } from '../lib/scenarios.js';
import { TestHost } from '../lib/testhost.js';

const REFRESH = 1;
const DELAY = 1;
const PUSH_BOUND_MS = (REFRESH + DELAY + 3) * 1000;

describe('manual push with two chromium users', { timeout: 180000 }, () => {
  it('moves only the chosen user', { timeout: 150000 }, async () => {
    const host = await TestHost.start({ refresh: REFRESH, delay: DELAY, startTimeoutMs: 20000 });
    const forwarders = [await startForwarder(host.port, '127.0.0.2'), await startForwarder(host.port, '127.0.0.3')];
    const browsers = [];
    try {
      browsers.push(await launchChromium(), await launchChromium());
      const pages = [await browsers[0].newPage(), await browsers[1].newPage()];
      await logOnToConsole(host, browsers[0], pages[0], { alias: 'Ann Lee', url: forwarders[0].url, addr: '127.0.0.2' });
      await logOnToConsole(host, browsers[1], pages[1], { alias: 'Ann Lee', url: forwarders[1].url, addr: '127.0.0.3' });
      const names = (await host.ok('tree-users')).split('\t').slice(1);
      assert.deepEqual(names, ['Mr. Ann Lee', 'Mr. Ann Lee'], 'two namesakes in the tree');

      const url = `${forwarders[1].url}/page2.htm`;
      const since = host.mark();
      assert.equal(await host.ok(`manual-push ${url} 127.0.0.3`), 'ok');
      await host.waitForLine(exactLine(`activity 127.0.0.3\t${url}\tPushing`), { since, timeoutMs: 3000, what: 'the push row of the second user' });
      await waitUntil(() => pages[1].url() === url, { timeoutMs: PUSH_BOUND_MS, what: `the second main window shows page2 (at ${pages[1].url()})` });
      await host.waitForLine(exactLine(`row 127.0.0.3\t${url}\tSent`), { since, timeoutMs: PUSH_BOUND_MS, what: 'the push delivered' });
      // The first user's control window polls on; a push to it would have arrived by now.
      await sleep(PUSH_BOUND_MS);
      assert.equal(pages[0].url(), `${forwarders[0].url}/welcome.htm`, 'the first user stays on the welcome page');
      assert.ok(host.noLine(/^activity 127\.0\.0\.2\t/, since), 'nothing was pushed to the first user');
    } finally {
      for (const browser of browsers) await browser.close();
      for (const forwarder of forwarders) await forwarder.close();
      const status = await host.stop();
      assert.deepEqual({ code: status.code, signal: status.signal }, { code: 0, signal: null }, 'the console exits 0 when its input closes');
    }
  });
});
