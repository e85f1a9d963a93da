// Honest delivery in Chromium and Firefox: the main window visits a page sent with
// Cross-Origin-Opener-Policy from a second loopback server, which cuts the control window off
// from it. The next push is reported "Not delivered" and the user's main window as lost; the
// control window's link opens the page again from a click (popup blocker on), and the push after
// that is "Sent" and moves the window the link opened.
import assert from 'node:assert/strict';
import http from 'node:http';
import { describe, it } from 'node:test';
import { launchChromium, launchFirefox } from '../lib/browsers.js';
import { exactLine, logOn, waitUntil, withSession } from '../lib/scenarios.js';

const ADDR = '127.0.0.1';

async function startIsolatedServer() {
  const server = http.createServer((request, response) => {
    response.writeHead(200, { 'Content-Type': 'text/html', 'Cross-Origin-Opener-Policy': 'same-origin' });
    response.end('<html><head><title>isolated</title></head><body>isolated</body></html>');
  });
  await new Promise((resolve) => server.listen(0, '127.0.0.1', resolve));
  return { url: `http://127.0.0.1:${server.address().port}/isolated.htm`, close: () => new Promise((resolve) => server.close(resolve)) };
}

for (const [name, launch] of [['chromium', launchChromium], ['firefox', launchFirefox]]) describe(`delivery with ${name}`, { timeout: 120000 }, () => {
  it('reports a push its main window cannot take and follows again after the link', { timeout: 90000 }, async () => {
    const isolated = await startIsolatedServer();
    try {
      await withSession(launch, async (host, browser) => {
        const page = await browser.newPage();
        const popup = await logOn(host, browser, page, { title: 'Mr', alias: 'Ann', expectedName: 'Mr. Ann' });

        let since = host.mark();
        await host.ok(`push-all ${isolated.url}`);
        await waitUntil(() => page.url() === isolated.url, { timeoutMs: 5000, what: 'the main window shows the isolated page' });
        await host.waitForLine(exactLine(`sent ${isolated.url}`), { since, timeoutMs: 3000, what: 'the isolated page sent' });

        since = host.mark();
        const lost = `${host.url}/page1.htm`;
        await host.ok(`push-all ${lost}`);
        await host.waitForLine(exactLine(`not-delivered ${ADDR}\t${lost}`), { since, timeoutMs: 5000, what: 'the push reported not delivered' });
        await host.waitForLine(exactLine(`user-state Mr. Ann\t${ADDR}\t3`), { since, timeoutMs: 2000, what: 'the main window shown as lost' });
        assert.equal(page.url(), isolated.url, 'the cut-off main window did not move');

        since = host.mark();
        await waitUntil(async () => (await popup.evaluate(() => document.links.length)) === 1, { timeoutMs: 5000, what: 'the control window shows the link' });
        const reopened = await browser.clickForPopup(popup, 'a', 5000);
        await waitUntil(() => reopened.url() === lost, { timeoutMs: 5000, what: 'the link opens the page that was not delivered' });
        await host.waitForLine(exactLine(`user-state Mr. Ann\t${ADDR}\t1`), { since, timeoutMs: 5000, what: 'the user shown connected again' });

        since = host.mark();
        const next = `${host.url}/page2.htm`;
        await host.ok(`push-all ${next}`);
        await waitUntil(() => reopened.url() === next, { timeoutMs: 5000, what: 'the next push moves the reopened window' });
        await host.waitForLine(exactLine(`sent ${next}`), { since, timeoutMs: 3000, what: 'the next push sent' });
      });
    } finally {
      await isolated.close();
    }
  });
});
