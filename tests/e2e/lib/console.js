// The real console, off screen, in place of the test host: it speaks the same line protocol and
// has commands of its own. Importing this module points TestHost.start at it.
import path from 'node:path';
import { hostBinary } from './testhost.js';
import { exactLine, waitUntil } from './scenarios.js';

process.env.VANTRO_TESTHOST =
  process.env.VANTRO_CONSOLEHOST || path.join(path.dirname(hostBinary()), 'vantro-consolehost');

export const ADDR = '127.0.0.1';

// Logs on through the sample form with a real click and waits for the welcome row "Sent" and
// the welcome page in the main window. A user that comes in through a forwarder gives its url
// and the source address the console sees. Returns the control window.
export async function logOnToConsole(host, browser, page, { title = 'Mr', alias = 'Ann Lee', url = host.url, addr = ADDR } = {}) {
  await page.goto(`${url}/`);
  const since = host.mark();
  await browser.chooseTitle(page, title);
  await browser.typeAlias(page, alias);
  const popup = await browser.clickForPopup(page, '#submit', 5000);
  await host.waitForLine(exactLine(`activity ${addr}\t/welcome.htm\tSent`), { since, timeoutMs: 5000, what: 'the welcome row, sent' });
  await waitUntil(() => page.url() === `${url}/welcome.htm`, { timeoutMs: 6000, what: 'the main window shows the welcome page' });
  return popup;
}
