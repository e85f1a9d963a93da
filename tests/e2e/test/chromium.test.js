// Debian's Chromium, driven by playwright-core, against the real test host.
import { describe, it } from 'node:test';
import { launchChromium } from '../lib/browsers.js';
import { closedControlWindowTimesOut, logonPushLogoff, popupBlockerIsOn } from '../lib/scenarios.js';

describe('chromium', { timeout: 150000 }, () => {
  it('keeps its popup blocker on', { timeout: 30000 }, async () => {
    await popupBlockerIsOn(launchChromium);
  });

  it('logs on, follows pushes and is logged off', { timeout: 60000 }, async (t) => {
    const timings = await logonPushLogoff(launchChromium, { title: 'Mr', alias: 'Ann Lee', expectedName: 'Mr. Ann Lee' });
    t.diagnostic(`push and logoff times (ms): ${JSON.stringify(timings)}`);
  });

  it('times out a user whose control window is closed', { timeout: 60000 }, async (t) => {
    const timings = await closedControlWindowTimesOut(launchChromium, { title: 'Ms', alias: 'Bo', expectedName: 'Ms. Bo' });
    t.diagnostic(`removed ${timings.removedAfterClose} ms after the control window closed`);
  });
});
