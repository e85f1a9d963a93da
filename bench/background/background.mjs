// Does a minimized control window keep its user? A headed browser (under Xvfb, with a window
// manager) logs on at the default settings, its control window is minimized through the
// window manager, and a push is made every two minutes: each must reach the main window, and
// the user must still be there at the end.
import { execFileSync } from 'node:child_process';
import { launchChromiumHeaded, launchFirefox } from '../../tests/e2e/lib/browsers.js';
import { logOn, sleep, waitUntil } from '../../tests/e2e/lib/scenarios.js';
import { TestHost } from '../../tests/e2e/lib/testhost.js';

const BROWSER = process.env.BROWSER || 'chromium';
const MINUTES = Number(process.env.MINUTES || 10);
const INSTANT = process.env.INSTANT || '1';

// The window manager iconifies the window as a click on its minimize button would.
function minimize(title) {
  execFileSync('xdotool', ['search', '--sync', '--onlyvisible', '--name', title, 'windowminimize']);
}

const host = await TestHost.start({ refresh: 5, delay: 5, args: ['--instant-delivery', INSTANT] });
const browser = BROWSER === 'firefox' ? await launchFirefox({ headless: false }) : await launchChromiumHeaded();
try {
  const page = await browser.newPage();
  const popup = await logOn(host, browser, page, { title: 'Mr', alias: 'Background', expectedName: 'Mr. Background' });
  minimize('Vantro! Control');
  await sleep(2000);
  // A window whose poll is held may run the read only once the next page is in, or lose it.
  const visibility = () =>
    waitUntil(() => popup.evaluate(() => document.visibilityState), { timeoutMs: 45000, what: 'visibilityState', interval: 20 }).catch(() => 'unknown');
  console.log(`${BROWSER}: control window minimized, visibilityState ${await visibility()}, instant delivery ${INSTANT}`);
  for (let minute = 2; minute <= MINUTES; minute += 2) {
    await sleep(120000);
    const url = `${host.url}/page1.htm?minute=${minute}`;
    const start = Date.now();
    await host.ok(`push-all ${url}`);
    let ms;
    try {
      await waitUntil(() => page.url() === url, { timeoutMs: 60000, what: 'push', interval: 20 });
      ms = Date.now() - start;
    } catch {
      ms = 'not followed within 60 s';
    }
    const users = (await host.users()).length;
    console.log(`minute ${minute}: push followed in ${ms} ms, users ${users}, control window ${await visibility()}`);
  }
} finally {
  await browser.close();
  await host.stop();
}
