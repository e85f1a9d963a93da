// Push latency with a real Chromium user: the time from the push command to the user's main
// window showing the pushed page, over pushes made at random moments, with instant delivery
// on and off against the same build, side by side.
import { launchChromium } from '../../tests/e2e/lib/browsers.js';
import { logOn, sleep, waitUntil } from '../../tests/e2e/lib/scenarios.js';
import { TestHost } from '../../tests/e2e/lib/testhost.js';

const PUSHES = Number(process.env.PUSHES || 20);
const REFRESH = Number(process.env.REFRESH || 5);
const DELAY = Number(process.env.DELAY || 5);
const PAGES = ['page1.htm', 'page2.htm', 'page3.htm'];

function percentile(sorted, p) {
  return sorted[Math.min(sorted.length - 1, Math.ceil((p / 100) * sorted.length) - 1)];
}

async function measure(instant) {
  const host = await TestHost.start({ refresh: REFRESH, delay: DELAY, args: ['--instant-delivery', instant ? '1' : '0'] });
  const browser = await launchChromium();
  const times = [];
  try {
    const page = await browser.newPage();
    await logOn(host, browser, page, { title: 'Mr', alias: 'Bench', expectedName: 'Mr. Bench' });
    for (let i = 0; i < PUSHES; i++) {
      // A moment anywhere in the control window's cycle.
      await sleep(2000 + Math.random() * (REFRESH + DELAY) * 1000);
      const url = `${host.url}/${PAGES[i % PAGES.length]}?push=${i}`;
      const start = performance.now();
      await host.ok(`push-all ${url}`);
      await waitUntil(() => page.url() === url, { timeoutMs: (REFRESH * 6 + DELAY + 10) * 1000, what: `push ${i}`, interval: 5 });
      times.push(performance.now() - start);
    }
  } finally {
    await browser.close();
    await host.stop();
  }
  return times.sort((a, b) => a - b);
}

const rows = [];
for (const instant of [true, false]) {
  const times = await measure(instant);
  rows.push([instant ? 'on' : 'off', percentile(times, 50), percentile(times, 90), times[times.length - 1]]);
}
console.log(`push to main-window navigation, ${PUSHES} pushes each, refresh ${REFRESH} s, delay ${DELAY} s`);
console.log('instant delivery | p50 ms | p90 ms | max ms');
for (const [mode, p50, p90, max] of rows) console.log(`${mode.padEnd(16)} | ${p50.toFixed(0).padStart(6)} | ${p90.toFixed(0).padStart(6)} | ${max.toFixed(0).padStart(6)}`);
