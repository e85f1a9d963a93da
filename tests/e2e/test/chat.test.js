// The chat, with the real console off screen, in Chromium and Firefox with popup blockers on:
// two users, each through a forwarder from its own loopback address. The operator writes to the
// first one alone; that user's control window offers the chat, whose page opens from a click.
// The user's answer, markup and all, shows as text in the operator's chat window and marks the
// user unread in the users window without taking the operator away from the window in front. A
// message to everybody reaches both users, and the log holds one line a message. Then a late
// joiner: a user who logs on after a push to everybody lands on that page.
import assert from 'node:assert/strict';
import { readFile } from 'node:fs/promises';
import path from 'node:path';
import { describe, it } from 'node:test';
import { launchChromium, launchFirefox } from '../lib/browsers.js';
import { logOnToConsole } from '../lib/console.js';
import { startForwarder } from '../lib/forward.js';
import { exactLine, waitUntil } from '../lib/scenarios.js';
import { TestHost } from '../lib/testhost.js';

const ANN = '127.0.0.2';
const BO = '127.0.0.3';
const MARKUP = '<script>document.title="owned"</script><b>bold</b>';

// The lines of a chat page as its user reads them, without their times.
const pageLines = (chat) =>
  chat.evaluate(() => [...document.querySelectorAll('#log .message')].map((line) => line.textContent.replace(/^\[[\d:]+\] /, '')));

// The lines of the operator's chat window, without their times.
async function windowLines(host, key) {
  const [, ...lines] = (await host.ok(`chat-lines ${key}`)).split(' | ');
  return lines.map((line) => line.replace(/^\[[\d:]+\] /, ''));
}

async function openChatFromControlWindow(browser, control, what) {
  await waitUntil(async () => (await control.evaluate(() => document.links.length)) === 1, { timeoutMs: 5000, what: `${what}: the control window offers the chat` });
  return browser.clickForPopup(control, 'a', 5000);
}

async function send(chat, text) {
  await chat.focus('#text');
  await chat.keyboard.type(text);
  await chat.keyboard.press('Enter');
}

async function withTwoUsers(launch, body) {
  const host = await TestHost.start({ refresh: 1, delay: 1, startTimeoutMs: 20000 });
  const forwarders = [await startForwarder(host.port, ANN), await startForwarder(host.port, BO)];
  const browsers = [];
  let status;
  try {
    browsers.push(await launch(), await launch());
    await body(host, forwarders, browsers);
  } finally {
    for (const browser of browsers) await browser.close();
    for (const forwarder of forwarders) await forwarder.close();
    status = await host.stop();
  }
  assert.deepEqual({ code: status.code, signal: status.signal }, { code: 0, signal: null }, 'the console exits 0 when its input closes');
}

for (const [name, launch] of [['chromium', launchChromium], ['firefox', launchFirefox]]) describe(`chat with ${name}`, { timeout: 180000 }, () => {
  it('talks with one user, hears back as text, and writes to everybody', { timeout: 150000 }, async () => {
    await withTwoUsers(launch, async (host, forwarders, browsers) => {
      const pages = [await browsers[0].newPage(), await browsers[1].newPage()];
      const controls = [
        await logOnToConsole(host, browsers[0], pages[0], { alias: 'Ann Lee', url: forwarders[0].url, addr: ANN }),
        await logOnToConsole(host, browsers[1], pages[1], { title: 'Ms', alias: 'Bo Kim', url: forwarders[1].url, addr: BO }),
      ];

      assert.equal(await host.ok(`chat-open ${ANN}`), `ok Chat - Mr. Ann Lee (${ANN})`);
      await host.ok('chat-send Hello Ann');
      const annChat = await openChatFromControlWindow(browsers[0], controls[0], 'Ann');
      await waitUntil(async () => (await pageLines(annChat)).join('|') === 'Operator: Hello Ann', { timeoutMs: 5000, what: "Ann's chat page shows the message" });
      assert.equal(await controls[1].evaluate(() => document.links.length), 0, "Bo's control window offers nothing");

      assert.equal(await host.ok('chat-all'), 'ok Chat - All Clients');
      await send(annChat, MARKUP);
      await waitUntil(async () => (await windowLines(host, ANN)).join('|') === `Operator: Hello Ann|Mr. Ann Lee: ${MARKUP}`, { timeoutMs: 5000, what: "the answer in the operator's window" });
      assert.equal(await host.ok('active-window'), 'ok Chat - All Clients', 'the answer took no focus');
      assert.equal(await host.ok('users-window'), `ok | Mr. Ann Lee\t${ANN}\tConnected\tUnread | Ms. Bo Kim\t${BO}\tConnected`);
      await waitUntil(async () => (await pageLines(annChat)).includes(`Mr. Ann Lee: ${MARKUP}`), { timeoutMs: 5000, what: "the answer on Ann's page" });
      assert.equal(await annChat.evaluate(() => document.querySelectorAll('#log script, #log b').length), 0, 'no markup on the page');
      assert.equal(await annChat.title(), 'Vantro Chat', 'no script ran');

      assert.equal(await host.ok('chat-all'), 'ok Chat - All Clients', 'back to the chat with everybody');
      await host.ok('chat-send To everybody');
      await waitUntil(async () => (await pageLines(annChat)).includes('Operator: To everybody'), { timeoutMs: 5000, what: 'the message to everybody reaches Ann' });
      const boChat = await openChatFromControlWindow(browsers[1], controls[1], 'Bo');
      await waitUntil(async () => (await pageLines(boChat)).join('|') === 'Operator: To everybody', { timeoutMs: 5000, what: "Bo's page shows only the message to everybody" });
      assert.deepEqual(await windowLines(host, 'all'), ['Operator: To everybody']);

      assert.equal(await host.ok(`chat-open ${ANN}`), `ok Chat - Mr. Ann Lee (${ANN})`);
      assert.equal(await host.ok('users-window'), `ok | Mr. Ann Lee\t${ANN}\tConnected | Ms. Bo Kim\t${BO}\tConnected`, 'opening the chat clears the mark');
      const log = await readFile(path.join(host.root, 'Vantro.log'), 'latin1');
      for (const line of [`User = Operator to ${ANN}, Chat = Hello Ann`, `User = ${ANN}, Chat = ${MARKUP}`, 'User = Operator to All Clients, Chat = To everybody']) {
        assert.ok(log.includes(`${line}\r\n`), `the log holds "${line}":\n${log}`);
      }
    });
  });
});

describe('late joiner with chromium', { timeout: 120000 }, () => {
  it('brings a user who logs on later to the page pushed to everybody', { timeout: 90000 }, async () => {
    await withTwoUsers(launchChromium, async (host, forwarders, browsers) => {
      const pages = [await browsers[0].newPage(), await browsers[1].newPage()];
      await logOnToConsole(host, browsers[0], pages[0], { alias: 'Ann Lee', url: forwarders[0].url, addr: ANN });
      await host.ok('push-all /page2.htm');
      await waitUntil(() => pages[0].url() === `${forwarders[0].url}/page2.htm`, { timeoutMs: 5000, what: 'the first user on page 2' });

      const since = host.mark();
      await pages[1].goto(`${forwarders[1].url}/`);
      await browsers[1].chooseTitle(pages[1], 'Ms');
      await browsers[1].typeAlias(pages[1], 'Bo Kim');
      await browsers[1].clickForPopup(pages[1], '#submit', 5000);
      const welcome = await host.waitForLine(exactLine(`activity ${BO}\t/welcome.htm\tSent`), { since, timeoutMs: 5000, what: 'the welcome row' });
      await host.waitForLine(exactLine(`activity ${BO}\t/page2.htm\tPushing`), { since: welcome.index, timeoutMs: 8000, what: "the late joiner's own push row" });
      await waitUntil(() => pages[1].url() === `${forwarders[1].url}/page2.htm`, { timeoutMs: 8000, what: `the late joiner on page 2 (at ${pages[1].url()})` });
    });
  });
});
