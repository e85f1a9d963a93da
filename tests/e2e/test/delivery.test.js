// Honest delivery in Chromium and Firefox, with the real console off screen: the main window
// visits a page sent with Cross-Origin-Opener-Policy from a second loopback server, which cuts
// the control window off from it. The next push is "Not delivered" in the activity list and the
// log, and the users window shows the main window lost; the control window's link opens the page
// again from a click (popup blocker on), and the push after that is "Sent" and moves the window
// the link opened.
import assert from 'node:assert/strict';
import { readFile } from 'node:fs/promises';
import http from 'node:http';
import path from 'node:path';
import { describe, it } from 'node:test';
import { launchChromium, launchFirefox } from '../lib/browsers.js';
import { ADDR, logOnToConsole } from '../lib/console.js';
import { waitUntil } from '../lib/scenarios.js';
import { TestHost } from '../lib/testhost.js';

const NAME = 'Mr. Ann Lee';

// A new row for the user, or the push's own row changed.
function rowLine(client, url, status) {
  return (line) => line === `activity ${client}\t${url}\t${status}` || line === `row ${client}\t${url}\t${status}`;
}

async function usersWindowShows(host, status) {
  await waitUntil(async () => (await host.ok('users-window')) === `ok | ${NAME}\t${ADDR}\t${status}`, {
    timeoutMs: 5000,
    what: `the users window showing "${status}"`,
    interval: 100,
  });
}

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
    const host = await TestHost.start({ refresh: 1, delay: 1, startTimeoutMs: 20000 });
    let browser;
    let status;
    try {
      browser = await launch();
      const page = await browser.newPage();
      const popup = await logOnToConsole(host, browser, page, { title: 'Mr', alias: 'Ann Lee' });
      await usersWindowShows(host, 'Connected');

      let since = host.mark();
      await host.ok(`push-all ${isolated.url}`);
      await waitUntil(() => page.url() === isolated.url, { timeoutMs: 5000, what: 'the main window shows the isolated page' });
      await host.waitForLine(rowLine('All Clients', isolated.url, 'Sent'), { since, timeoutMs: 3000, what: 'the isolated page sent' });

      since = host.mark();
      const lost = `${host.url}/page1.htm`;
      await host.ok(`push-all ${lost}`);
      await host.waitForLine(rowLine(ADDR, lost, 'Not delivered'), { since, timeoutMs: 5000, what: 'the push listed "Not delivered"' });
      await usersWindowShows(host, 'Main window lost');
      assert.equal(page.url(), isolated.url, 'the cut-off main window did not move');
      const log = await readFile(path.join(host.root, 'Vantro.log'), 'latin1');
      assert.ok(log.includes(`User = ${ADDR}, Not delivered = ${lost}\r\n`), `the log records the failed push:\n${log}`);

      await waitUntil(async () => (await popup.evaluate(() => document.links.length)) === 1, { timeoutMs: 5000, what: 'the control window shows the link' });
      const reopened = await browser.clickForPopup(popup, 'a', 5000);
      await waitUntil(() => reopened.url() === lost, { timeoutMs: 5000, what: 'the link opens the page that was not delivered' });
      await usersWindowShows(host, 'Connected');

      since = host.mark();
      const next = `${host.url}/page2.htm`;
      await host.ok(`push-all ${next}`);
      await waitUntil(() => reopened.url() === next, { timeoutMs: 5000, what: 'the next push moves the reopened window' });
      await host.waitForLine(rowLine('All Clients', next, 'Sent'), { since, timeoutMs: 3000, what: 'the next push sent' });
    } finally {
      if (browser) await browser.close();
      status = await host.stop();
      await isolated.close();
    }
    assert.deepEqual({ code: status.code, signal: status.signal }, { code: 0, signal: null }, 'the console exits 0 when its input closes');
  });
});
