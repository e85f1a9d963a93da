// Debian's Firefox ESR, driven by puppeteer-core over WebDriver BiDi, against the real test host.
import { describe, it } from 'node:test';
import { launchFirefox } from '../lib/browsers.js';
import { closedControlWindowTimesOut, logonPushLogoff, popupBlockerIsOn } from '../lib/scenarios.js';

describe('firefox', { timeout: 150000 }, () => {
  it('keeps its popup blocker on', { timeout: 30000 }, async () => {
    await popupBlockerIsOn(launchFirefox);
  });

  it('logs on, follows pushes and is logged off', { timeout: 60000 }, async (t) => {
    const timings = await logonPushLogoff(launchFirefox, { title: 'Ms', alias: 'Eva Maria', expectedName: 'Ms. Eva Maria' });
    t.diagnostic(`push and logoff times (ms): ${JSON.stringify(timings)}`);
  });

  it('times out a user whose control window is closed', { timeout: 60000 }, async (t) => {
    const timings = await closedControlWindowTimesOut(launchFirefox, { title: 'Mr', alias: 'Jo', expectedName: 'Mr. Jo' });
    t.diagnostic(`removed ${timings.removedAfterClose} ms after the control window closed`);
  });
});
