// The eleventh user: ten users log on, each through a forwarder from its own loopback address,
// and a Chromium user coming from a twelfth address gets the busy page in its main window. The
// user table keeps its ten.
import assert from 'node:assert/strict';
import { describe, it } from 'node:test';
import { launchChromium } from '../lib/browsers.js';
import { startForwarder } from '../lib/forward.js';
import { waitUntil } from '../lib/scenarios.js';
import { TestHost } from '../lib/testhost.js';

const MAX_USERS = 10;

describe('the busy page', { timeout: 120000 }, () => {
  it('is what the eleventh user gets', { timeout: 100000 }, async () => {
    // The longest refresh: nobody is dropped for not polling while the test runs.
    const host = await TestHost.start({ refresh: 9, delay: 1 });
    const forwarders = [];
    let browser;
    try {
      for (let n = 2; n < 2 + MAX_USERS; ++n) {
        const forwarder = await startForwarder(host.port, `127.0.0.${n}`);
        forwarders.push(forwarder);
        const reply = await fetch(`${forwarder.url}/?sex=Mr&alias=User${n}&C=1`);
        assert.equal(reply.status, 200, `user ${n} logs on`);
        await reply.arrayBuffer();
      }
      assert.equal((await host.users()).length, MAX_USERS);

      const eleventh = await startForwarder(host.port, '127.0.0.12');
      forwarders.push(eleventh);
      browser = await launchChromium();
      const page = await browser.newPage();
      await page.goto(`${eleventh.url}/`);
      await browser.chooseTitle(page, 'Ms');
      await browser.typeAlias(page, 'Eve');
      await browser.clickForPopup(page, '#submit', 5000);
      await waitUntil(async () => (await page.title()) === 'Vantro - Busy', { timeoutMs: 6000, what: `the busy page in the main window (at ${page.url()})` });
      assert.match(await page.evaluate(() => document.body.innerText), /Sorry, the presentation is full/);
      const users = await host.users();
      assert.equal(users.length, MAX_USERS, 'the user table keeps its ten');
      assert.ok(!users.some((user) => user.key === '127.0.0.12'), 'the eleventh is not among them');
    } finally {
      if (browser) await browser.close();
      for (const forwarder of forwarders) await forwarder.close();
      const status = await host.stop();
      assert.deepEqual({ code: status.code, signal: status.signal }, { code: 0, signal: null });
    }
  });
});
