// The user's road through a live session, the same in every browser: log on through the
// logon page, get the control window, follow pushes, be logged off; and a user whose
// control window is closed being timed out.

import assert from 'node:assert/strict';
import { existsSync } from 'node:fs';
import { writeFile } from 'node:fs/promises';
import path from 'node:path';
import { TestHost } from './testhost.js';

export const REFRESH = 1;
export const DELAY = 1;
const ADDR = '127.0.0.1';
// A push must reach the main window within one refresh, one download delay and some slack.
const PUSH_BOUND_MS = (REFRESH + DELAY + 2) * 1000;

export const sleep = (ms) => new Promise((resolve) => setTimeout(resolve, ms));

// Polls fn until it returns a truthy value; errors inside fn (a page mid-navigation) count
// as "not yet". Fails with what and the last value seen.
export async function waitUntil(fn, { timeoutMs, what, interval = 100 }) {
  const deadline = Date.now() + timeoutMs;
  let last;
  for (;;) {
    try {
      last = await fn();
      if (last) return last;
    } catch (err) {
      last = `error: ${err.message.split('\n')[0]}`;
    }
    if (Date.now() >= deadline) assert.fail(`${what}: not within ${timeoutMs} ms (last seen: ${JSON.stringify(last)})`);
    await sleep(interval);
  }
}

// Waits until the page shows url with the given title; returns the milliseconds waited.
async function waitForPage(page, url, title, timeoutMs, what) {
  const start = Date.now();
  await waitUntil(
    async () => {
      const u = page.url();
      if (u !== url) return false;
      const t = await page.title();
      return t === title ? true : false;
    },
    { timeoutMs, what: `${what} (${url}, "${title}"; page is at ${page.url()})` },
  );
  return Date.now() - start;
}

function escapeRe(s) {
  return s.replace(/[.*+?^${}()|[\]\\]/g, '\\$&');
}

export function exactLine(text) {
  return new RegExp(`^${escapeRe(text)}$`);
}

// Reads the control window once its document is parsed. A held poll keeps the window
// navigating most of the time; Chromium runs a read only once the held answer commits, maybe
// before its body is parsed, or loses it: a read is tried again at once, over a few holds.
const CONTROL_READ_MS = (4 * REFRESH * 3 + 2) * 1000;
function whenParsed(page, part) {
  return page.evaluate(
    (wanted) =>
      new Promise((resolve) => {
        const read = () => resolve(wanted === 'title' ? document.title : document.body ? document.body.innerText : '');
        if (document.readyState === 'loading') document.addEventListener('DOMContentLoaded', read);
        else read();
      }),
    part,
  );
}

const bodyText = (page) => whenParsed(page, 'body');

// Runs body(host, browser) with a fresh host and browser, and always ends both.
export async function withSession(launch, body) {
  const host = await TestHost.start({ refresh: REFRESH, delay: DELAY });
  let browser;
  let failure;
  try {
    browser = await launch();
    await body(host, browser);
  } catch (err) {
    failure = err;
  }
  let status;
  try {
    if (browser) await browser.close();
  } catch (err) {
    failure = failure || err;
  } finally {
    status = await host.stop();
  }
  if (failure) throw failure;
  assert.deepEqual({ code: status.code, signal: status.signal }, { code: 0, signal: null }, 'the host exits 0 when its input closes');
}

// A page that opens a window while it loads, with no click behind it, must be refused:
// otherwise the logon tests below would prove nothing about popup blockers.
export async function popupBlockerIsOn(launch) {
  await withSession(launch, async (host, browser) => {
    await writeFile(
      path.join(host.root, 'probe.htm'),
      '<html><head><title>probe</title><script>\n' +
        'var w = window.open("page1.htm", "probe", "width=100,height=100");\n' +
        'document.title = w ? "opened" : "blocked";\n' +
        '</script></head><body>probe</body></html>\n',
    );
    const page = await browser.newPage();
    let popups = 0;
    page.on('popup', () => popups++);
    await page.goto(`${host.url}/probe.htm`);
    await waitUntil(async () => ['opened', 'blocked'].includes(await page.title()), { timeoutMs: 5000, what: 'the probe page runs its script' });
    await sleep(1000);
    assert.equal(await page.title(), 'blocked', `${browser.name} let a page open a window on load: its popup blocker is off`);
    assert.equal(popups, 0, 'no popup appeared');
  });
}

// Opens "/", fills the logon form and submits it with a real click. Returns the control
// window once it shows the user's control page and the main window shows the welcome page.
export async function logOn(host, browser, page, { title, alias, expectedName }) {
  await page.goto(`${host.url}/`);
  assert.equal(await page.title(), 'Vantro - Log on', '"/" serves the logon page');
  const since = host.mark();
  await browser.chooseTitle(page, title);
  await browser.typeAlias(page, alias);
  const popup = await browser.clickForPopup(page, '#submit', 5000).catch((err) => {
    assert.fail(`no control window opened after clicking "Log on" (${err.message})`);
  });
  const controlUrl = `${host.url}/VS${ADDR}.htm`;
  await waitUntil(() => popup.url() === controlUrl, { timeoutMs: 5000, what: `the control window loads ${controlUrl}` });
  await waitForPage(page, `${host.url}/welcome.htm`, 'Vantro - Welcome', 6000, 'the first control page sends the main window to the welcome page');
  await host.waitForLine(exactLine(`user-added ${expectedName}\t${ADDR}`), { since, timeoutMs: 2000, what: 'the new user' });
  await host.waitForLine(exactLine(`activity ${ADDR}\t/welcome.htm\tSent`), { since, timeoutMs: 2000, what: 'the logon activity row' });
  assert.deepEqual(await host.users(), [{ key: ADDR, name: expectedName }], 'the user table holds the new user under its name');
  assert.ok(existsSync(path.join(host.root, `VF${ADDR}.htm`)), 'the greeting page file exists');
  assert.ok(existsSync(path.join(host.root, `VS${ADDR}.htm`)), 'the control page file exists');
  return popup;
}

// Sends a push command and checks that the main window follows within the bound, that the
// activity row says "Pushing" and then "Sent", and that the control page turns idle again.
async function pushAndFollow(host, page, popup, { command, label, pushed, url, title }) {
  const since = host.mark();
  const start = Date.now();
  await host.ok(command);
  const pushing = await host.waitForLine(exactLine(`activity ${label}\t${pushed}\tPushing`), { since, timeoutMs: 2000, what: `the "Pushing" row of ${command}` });
  await waitForPage(page, url, title, PUSH_BOUND_MS, `"${command}" reaches the main window`);
  const elapsed = Date.now() - start;
  const sent = await host.waitForLine(exactLine(`sent ${pushed}`), { since, timeoutMs: Math.max(500, PUSH_BOUND_MS - elapsed), what: `the "Sent" mark of ${command}` });
  assert.ok(pushing.index < sent.index, 'the row is "Pushing" before it is "Sent"');
  await waitUntil(async () => (await bodyText(popup)).includes('Active...'), { timeoutMs: CONTROL_READ_MS, what: 'the control window shows the idle control page after the push', interval: 5 });
  return elapsed;
}

export async function logonPushLogoff(launch, { title, alias, expectedName }) {
  const timings = {};
  await withSession(launch, async (host, browser) => {
    const page = await browser.newPage();
    const popup = await logOn(host, browser, page, { title, alias, expectedName });
    assert.ok(!popup.isClosed(), 'the control window is open');
    await waitUntil(async () => (await whenParsed(popup, 'title')) === 'Vantro! Control', {
      timeoutMs: CONTROL_READ_MS,
      what: 'the control window shows the control page',
      interval: 5,
    });

    timings.push1 = await pushAndFollow(host, page, popup, {
      command: `push-url-all 127.0.0.1:${host.port}/page1.htm`,
      label: 'All Clients',
      pushed: `${host.url}/page1.htm`,
      url: `${host.url}/page1.htm`,
      title: 'Vantro sample - Getting started',
    });
    timings.push2 = await pushAndFollow(host, page, popup, {
      command: `push-url-all ${host.url}/page2.htm`,
      label: 'All Clients',
      pushed: `${host.url}/page2.htm`,
      url: `${host.url}/page2.htm`,
      title: 'Vantro sample - How it works',
    });
    timings.push3 = await pushAndFollow(host, page, popup, {
      command: `push-user ${ADDR} /page3.htm`,
      label: ADDR,
      pushed: '/page3.htm',
      url: `${host.url}/page3.htm`,
      title: 'Vantro sample - Questions',
    });

    const since = host.mark();
    const start = Date.now();
    await host.ok(`logoff ${ADDR}`);
    await host.waitForLine(exactLine(`activity ${ADDR}\t/logoff.htm\tPushing`), { since, timeoutMs: 2000, what: 'the logoff activity row' });
    await waitForPage(page, `${host.url}/logoff.htm`, 'Vantro - Logged off', PUSH_BOUND_MS, 'the logoff reaches the main window');
    await waitUntil(() => popup.isClosed(), { timeoutMs: 3000, what: 'the logoff page closes the control window' });
    timings.logoff = Date.now() - start;
    await host.waitForLine(exactLine(`sent /logoff.htm`), { since, timeoutMs: 3000, what: 'the logoff page marked sent' });
    await host.waitForLine(exactLine(`user-removed ${expectedName}\t${ADDR}`), { since, timeoutMs: 3000, what: 'the logged-off user removed' });
    await waitUntil(async () => (await host.users()).length === 0, { timeoutMs: 3000, what: 'the user table is empty after the logoff', interval: 200 });
    assert.ok(!existsSync(path.join(host.root, `VS${ADDR}.htm`)), 'the control page file is deleted');
    assert.ok(!existsSync(path.join(host.root, `VF${ADDR}.htm`)), 'the greeting page file is deleted');
  });
  return timings;
}

export async function closedControlWindowTimesOut(launch, { title, alias, expectedName }) {
  const timings = {};
  await withSession(launch, async (host, browser) => {
    const page = await browser.newPage();
    const popup = await logOn(host, browser, page, { title, alias, expectedName });

    // While the control window polls, the user stays well past seven refresh periods.
    const since = host.mark();
    await sleep(REFRESH * 7000 + 1500);
    assert.deepEqual(await host.users(), [{ key: ADDR, name: expectedName }], 'a polling user is kept');
    assert.ok(host.noLine(/^user-removed /, since), 'no user was removed while polling');

    await popup.close();
    const closedAt = Date.now();
    // The last poll was at most about one refresh period ago, so four seconds on the user
    // is still well inside its seven periods.
    await sleep(4000);
    assert.deepEqual(await host.users(), [{ key: ADDR, name: expectedName }], 'the user is not timed out early');
    assert.ok(host.noLine(/^user-removed /, since), 'no user was removed early');

    // Each "users" command wakes the host, whose idle sweep then finds the user timed out.
    await waitUntil(async () => (await host.users()).length === 0, {
      timeoutMs: REFRESH * 7000 + 5000,
      what: 'the user whose control window is closed is timed out',
      interval: 250,
    });
    timings.removedAfterClose = Date.now() - closedAt;
    await host.waitForLine(exactLine(`activity ${ADDR}\tUSER TIMED OUT\tPushing`), { since, timeoutMs: 1000, what: 'the time-out activity row' });
    await host.waitForLine(exactLine(`user-removed ${expectedName}\t${ADDR}`), { since, timeoutMs: 1000, what: 'the timed-out user removed' });
    assert.ok(!existsSync(path.join(host.root, `VS${ADDR}.htm`)), 'the control page file is deleted');
    assert.equal(page.url(), `${host.url}/welcome.htm`, 'the main window is left where it was');
  });
  return timings;
}
